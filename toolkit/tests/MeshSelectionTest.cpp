// Selecting mesh-like entities and reading each into a mesh.
#include <gtest/gtest.h>

#include "MeshSelection.h"
#include "MeshTest.h"

namespace {

class MeshSelection : public MeshTest {
protected:
    static AcDbObjectId addSquarePolyFace(double x)
    {
        return addPolyFace(
            {AcGePoint3d(x, 0, 0), AcGePoint3d(x + 1, 0, 0), AcGePoint3d(x + 1, 1, 0), AcGePoint3d(x, 1, 0)},
            {{1, 2, 3, 4}});
    }
    // A polyface mesh whose only face is degenerate, so it reads as invalid.
    static AcDbObjectId addInvalidPolyFace()
    {
        return addPolyFace({AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0)}, {{1, 1, 2, 0}});
    }
    static ON_ClassArray<ON_Mesh> heldMeshes(int count)
    {
        ON_ClassArray<ON_Mesh> meshes;
        for (int i = 0; i < count; ++i)
            meshes.AppendNew();
        return meshes;
    }
};

TEST_F(MeshSelection, ReadsTheSelectedMeshesInSelectionOrder)
{
    const AcDbObjectId first = addSquarePolyFace(0);
    const AcDbObjectId second = addSquarePolyFace(5);
    const AcDbObjectId line = addLine();
    user().type(handles({second, first, line})).type(L"");

    ON_ClassArray<ON_Mesh> meshes = heldMeshes(3);
    AcArray<AcDbObjectId> ids;
    EXPECT_EQ(SelectEntityMeshes(L"Select meshes: ", 1, meshes, ids), 1);
    ASSERT_EQ(meshes.Count(), 2);
    EXPECT_EQ(meshes[0].m_V[0].x, 5.0f);
    EXPECT_EQ(meshes[1].m_V[0].x, 0.0f);
    EXPECT_EQ(ids.length(), 2);
    EXPECT_EQ(commandLine(), L"1 object(s) were filtered out\n");
    // Highlights stay on.
    EXPECT_TRUE(standin::isHighlighted(first));
    EXPECT_TRUE(standin::isHighlighted(second));
}

// The three mesh classes are selected; a 2D solid, though readable, is not.
TEST_F(MeshSelection, PolygonMeshesAreSelectedAndSolidsFilteredOut)
{
    const AcDbObjectId grid = addPolygonMesh(2, 3, false, false);
    const AcDbObjectId solid =
        add(new AcDbSolid(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(0, 1, 0), AcGePoint3d(1, 1, 0)));
    const AcDbObjectId face = addFace(7, 7);
    user().type(handles({solid, grid, face})).type(L"");
    ON_ClassArray<ON_Mesh> meshes;
    AcArray<AcDbObjectId> ids;
    EXPECT_EQ(SelectEntityMeshes(L"Select meshes: ", 0, meshes, ids), 1);
    ASSERT_EQ(meshes.Count(), 2);
    EXPECT_EQ(meshes[0].FaceCount(), 2);
    EXPECT_EQ(meshes[1].m_V[0].x, 7.0f);
    ASSERT_EQ(ids.length(), 2);
    EXPECT_EQ(ids[0], grid);
    EXPECT_EQ(commandLine(), L"1 object(s) were filtered out\n");
}

TEST_F(MeshSelection, EarlierIdsAreReadFirst)
{
    const AcDbObjectId earlier = addFace(7, 7);
    const AcDbObjectId selected = addSquarePolyFace(0);
    user().type(handles({selected})).type(L"");
    ON_ClassArray<ON_Mesh> meshes;
    AcArray<AcDbObjectId> ids;
    ids.append(earlier);
    EXPECT_EQ(SelectEntityMeshes(L"", 0, meshes, ids), 1);
    ASSERT_EQ(meshes.Count(), 2);
    EXPECT_EQ(meshes[0].FaceCount(), 1);
    EXPECT_EQ(meshes[0].m_V[0].x, 7.0f);
    EXPECT_EQ(meshes[1].m_V[0].x, 0.0f);
}

TEST_F(MeshSelection, NothingReadGivesAnEmptyListAndItsText)
{
    const AcDbObjectId invalid = addInvalidPolyFace();
    user().type(handles({invalid})).type(L"");
    ON_ClassArray<ON_Mesh> meshes = heldMeshes(2);
    EXPECT_EQ(SelectEntityMeshes(L"Select meshes: ", 0, meshes), 0);
    EXPECT_EQ(meshes.Count(), 0);
    EXPECT_EQ(conversionText(), L"Meshes not selected");
}

TEST_F(MeshSelection, SomeReadKeepsTheLastReadersText)
{
    const AcDbObjectId invalid = addInvalidPolyFace();
    const AcDbObjectId face = addFace();
    user().type(handles({face, invalid})).type(L"");
    ON_ClassArray<ON_Mesh> meshes;
    EXPECT_EQ(SelectEntityMeshes(L"Select meshes: ", 0, meshes), 1);
    EXPECT_EQ(meshes.Count(), 1);
    EXPECT_EQ(conversionText(), L"Invalid mesh");
}

TEST_F(MeshSelection, AFailedSelectionKeepsTheMeshesAndCopiesTheReason)
{
    const AcDbObjectId line = addLine();
    const struct {
        const char* name;
        bool cancel;
        const wchar_t* text;
    } cases[] = {
        {"cancelled", true, L"No entities selected"},
        {"nothing of the classes", false, L"No valid objects selected"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.cancel)
            user().escape();
        else
            user().type(handles({line})).type(L"");
        ON_ClassArray<ON_Mesh> meshes = heldMeshes(2);
        EXPECT_EQ(SelectEntityMeshes(L"Select meshes: ", 0, meshes), 0);
        EXPECT_EQ(meshes.Count(), 2);
        EXPECT_EQ(conversionText(), c.text);
        EXPECT_EQ(utilitiesText(), c.text);
    }
}

TEST_F(MeshSelection, AnErasedIdIsSkipped)
{
    const AcDbObjectId gone = addFace();
    erase(gone);
    const AcDbObjectId face = addFace(3, 3);
    user().type(handles({face})).type(L"");
    ON_ClassArray<ON_Mesh> meshes;
    AcArray<AcDbObjectId> ids;
    ids.append(gone);
    EXPECT_EQ(SelectEntityMeshes(L"Select meshes: ", 0, meshes, ids), 1);
    ASSERT_EQ(meshes.Count(), 1);
    EXPECT_EQ(meshes[0].m_V[0].x, 3.0f);
}

}  // namespace
