// Selection modes that take geometry: window, crossing, polygons, fence,
// point picks, last and previous, single selection, and the same choices
// typed at the "Select objects:" prompt.
#include <vector>

#include "acedads.h"
#include "acutads.h"
#include "dbSubD.h"

#include "EditorTest.h"

namespace {

// An entity of a class the editor knows nothing of but its extents.
class BoxOnly : public AcDbEntity {
public:
    BoxOnly(AcGePoint3d min, AcGePoint3d max) : min_(min), max_(max) {}
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override { return extents.set(min_, max_); }

private:
    AcGePoint3d min_, max_;
};

class SelectionModeTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        low_ = addLine(0, 0, 4, 0);
        high_ = addLine(0, 2, 4, 2);
        dot_ = addPoint(2, 1);
        face_ = addFace(10, 0, 2);
        auto* mesh = new AcDbSubDMesh();
        AcGePoint3dArray vertices;
        vertices.append(AcGePoint3d(20, 0, 0));
        vertices.append(AcGePoint3d(22, 0, 0));
        vertices.append(AcGePoint3d(21, 2, 0));
        AcArray<Adesk::Int32> faces;
        faces.append(3);
        faces.append(0);
        faces.append(1);
        faces.append(2);
        EXPECT_EQ(mesh->setSubDMesh(vertices, faces, 0), Acad::eOk);
        mesh_ = append(mesh);
    }

    // The ids of the set in its order (freed), or empty when the call fails.
    static std::vector<AcDbObjectId> take(int status, ads_name ss)
    {
        std::vector<AcDbObjectId> ids;
        if (status != RTNORM)
            return ids;
        long length = 0;
        acedSSLength(ss, &length);
        for (long i = 0; i < length; ++i) {
            ads_name e;
            acedSSName(ss, i, e);
            AcDbObjectId id;
            acdbGetObjectId(id, e);
            ids.push_back(id);
        }
        acedSSFree(ss);
        return ids;
    }
    static std::vector<AcDbObjectId> box(const wchar_t* mode, double x0, double y0, double x1, double y1)
    {
        ads_point a = {x0, y0, 0};
        ads_point b = {x1, y1, 0};
        ads_name ss;
        return take(acedSSGet(mode, a, b, nullptr, ss), ss);
    }
    static std::vector<AcDbObjectId> list(const wchar_t* mode, const std::vector<std::pair<double, double>>& pts)
    {
        resbuf* head = nullptr;
        resbuf* tail = nullptr;
        for (const auto& p : pts) {
            resbuf* rb = acutNewRb(RTPOINT);
            rb->resval.rpoint[0] = p.first;
            rb->resval.rpoint[1] = p.second;
            rb->resval.rpoint[2] = 0;
            (head == nullptr ? head : tail->rbnext) = rb;
            tail = rb;
        }
        ads_name ss;
        std::vector<AcDbObjectId> ids = take(acedSSGet(mode, head, nullptr, nullptr, ss), ss);
        acutRelRb(head);
        return ids;
    }
    std::vector<AcDbObjectId> typed(const wchar_t* mode = nullptr)
    {
        ads_name ss;
        return take(acedSSGet(mode, nullptr, nullptr, nullptr, ss), ss);
    }

    AcDbObjectId low_, high_, dot_, face_, mesh_;
};

using Ids = std::vector<AcDbObjectId>;

TEST_F(SelectionModeTest, WindowTakesWhatLiesWhollyInsideAndCrossingWhatTouches)
{
    struct Case {
        const wchar_t* mode;
        double x0, y0, x1, y1;
        Ids expected;
    };
    const Case cases[] = {
        {L"W", -1, -1, 5, 3, {low_, high_, dot_}},
        {L"W", -1, -1, 3, 3, {dot_}},  // the lines stick out
        {L"C", -1, -1, 3, 3, {low_, high_, dot_}},
        {L"C", 3, 0.5, 1, 1.5, {dot_}},    // between the lines; corners in any order
        {L"C", 10.5, 0.5, 11.5, 1.5, {}},  // inside the face, away from its edges
        {L"C", 11.5, 0.5, 12.5, 1.5, {face_}},
        {L"W", 19, -1, 23, 3, {mesh_}},
        {L"C", 21, -1, 21.1, 0.5, {mesh_}},  // over the mesh's bottom edge
        {L"W", -100, -100, 100, 100, {low_, high_, dot_, face_, mesh_}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(box(c.mode, c.x0, c.y0, c.x1, c.y1), c.expected)
            << standin::narrow(c.mode) << " " << c.x0 << "," << c.y0 << " " << c.x1 << "," << c.y1;
    ads_name ss;
    EXPECT_EQ(acedSSGet(L"W", nullptr, nullptr, nullptr, ss), RTERROR);
}

TEST_F(SelectionModeTest, PolygonsAndFencesComeAsPointLists)
{
    // A U-shaped polygon whose notch cuts the upper line between its ends.
    const std::vector<std::pair<double, double>> cup = {{-1, -1}, {5, -1},  {5, 3}, {3, 3},
                                                        {3, 1.5}, {1, 1.5}, {1, 3}, {-1, 3}};
    EXPECT_EQ(list(L"WP", cup), (Ids{low_, dot_}));
    EXPECT_EQ(list(L"CP", cup), (Ids{low_, high_, dot_}));
    EXPECT_EQ(list(L"F", {{2, -1}, {2, 3}}), (Ids{low_, high_, dot_}));  // through the point
    EXPECT_EQ(list(L"F", {{-5, 1}, {11, 1}, {11, 5}}), (Ids{dot_, face_}));
    EXPECT_EQ(list(L"F", {{2, -1}}), Ids());  // a fence needs two points
    EXPECT_EQ(list(L"WP", {{0, 0}, {1, 1}}), Ids());
}

TEST_F(SelectionModeTest, PointLastAndPrevious)
{
    ads_point on = {3, 0.2, 0};
    ads_name ss;
    EXPECT_EQ(take(acedSSGet(nullptr, on, nullptr, nullptr, ss), ss), (Ids{low_}));
    ads_point nothing = {7, 7, 0};
    EXPECT_EQ(acedSSGet(nullptr, nothing, nullptr, nullptr, ss), RTERROR);
    EXPECT_EQ(typed(L"L"), (Ids{mesh_}));
    EXPECT_EQ(box(L"C", -1, -1, 3, 3), (Ids{low_, high_, dot_}));
    EXPECT_EQ(typed(L"P"), (Ids{low_, high_, dot_}));
    ads_name name;
    acdbGetAdsName(name, mesh_);
    ASSERT_EQ(acdbEntDel(name), RTNORM);
    acdbGetAdsName(name, high_);
    ASSERT_EQ(acdbEntDel(name), RTNORM);
    EXPECT_EQ(typed(L"L"), (Ids{face_}));
    EXPECT_EQ(typed(L"P"), (Ids{face_}));  // "L" made the latest set
    box(L"W", -1, -1, 5, 3);
    EXPECT_EQ(typed(L"P"), (Ids{low_, dot_}));
    resbuf* lines = acutBuildList(RTDXF0, L"LINE", RTNONE);
    EXPECT_EQ(acedSSGet(L"L", nullptr, nullptr, lines, ss), RTERROR);  // the last is a face
    acutRelRb(lines);
}

TEST_F(SelectionModeTest, TypedPointsWindowsAndOptions)
{
    user()
        .type(L"3,0.3")  // picks the lower line
        .type(L"15,5")
        .type(L"9,-1")  // empty space, then to the left: crossing
        .type(L"R")
        .type(L"W")
        .type(L"-1,-1")
        .type(L"5,0.5")  // removes what lies in the window
        .type(L"");
    EXPECT_EQ(typed(), (Ids{face_}));
    EXPECT_EQ(user().prompts(),
              (std::vector<std::wstring>{L"Select objects: ", L"Select objects: ", L"Specify opposite corner: ",
                                         L"Select objects: ", L"Remove objects: ", L"Specify first corner: ",
                                         L"Specify opposite corner: ", L"Remove objects: "}));

    user()
        .type(L"-1,-1")
        .type(L"5,3")  // to the right: a window
        .type(L"cp")
        .type(L"19,-1")
        .type(L"30,30")
        .type(L"U")
        .type(L"23,-1")
        .type(L"23,3")
        .type(L"")
        .type(L"f")
        .type(L"11,-5")
        .type(L"11,5")
        .type(L"")
        .type(L"L")
        .type(L"");
    EXPECT_EQ(typed(), (Ids{low_, high_, dot_, mesh_, face_}));
}

TEST_F(SelectionModeTest, SingleSelectionEndsAtTheFirstFind)
{
    user().type(L"50,50").type(L"60,60").type(handle(face_)).type(handle(low_));
    EXPECT_EQ(typed(L":S"), (Ids{face_}));
    EXPECT_EQ(user().remaining(), 1u);
    EXPECT_EQ(typed(L":S"), (Ids{low_}));
    user().escape();
    EXPECT_EQ(typed(L":S"), Ids());

    user().type(L"nowhere").type(L"11,0.1");
    EXPECT_EQ(typed(L"."), (Ids{face_}));
    EXPECT_NE(user().output().find(L"*Invalid selection*"), std::wstring::npos);
    user().type(L"70,70");
    EXPECT_EQ(typed(L"."), Ids());
}

TEST_F(SelectionModeTest, AnEntityKnownOnlyByItsExtentsIsSelectedByItsBox)
{
    const AcDbObjectId unknown = append(new BoxOnly(AcGePoint3d(30, 0, 0), AcGePoint3d(34, 4, 0)));
    EXPECT_EQ(box(L"W", 29, -1, 35, 5), (Ids{unknown}));
    EXPECT_EQ(box(L"W", 29, -1, 33, 5), Ids());
    EXPECT_EQ(box(L"C", 31, 1, 32, 2), (Ids{unknown}));  // the box counts as filled
    ads_point inside = {32, 2, 0};
    ads_name ss;
    EXPECT_EQ(take(acedSSGet(nullptr, inside, nullptr, nullptr, ss), ss), (Ids{unknown}));
}

}  // namespace
