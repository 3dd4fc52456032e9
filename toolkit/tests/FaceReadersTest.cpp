// Reading 3D faces, 2D solids, polyface and polygon meshes and block
// references into openNURBS geometry, and writing a mesh into a polyface.
#include <algorithm>

#include <gtest/gtest.h>

#include "EntityPlacement.h"
#include "FaceReaders.h"
#include "MeshTest.h"

namespace {

class FaceReaders : public MeshTest {
protected:
    // A mesh of the given vertices and faces (a triangle repeats its third index).
    static ON_Mesh mesh(const std::vector<ON_3dPoint>& vertices, const std::vector<Record>& faces)
    {
        ON_Mesh m;
        for (size_t i = 0; i < vertices.size(); ++i)
            m.SetVertex(static_cast<int>(i), vertices[i]);
        for (size_t f = 0; f < faces.size(); ++f)
            m.SetQuad(static_cast<int>(f), faces[f][0], faces[f][1], faces[f][2], faces[f][3]);
        return m;
    }

    // A mesh the readers must not touch on failure.
    static ON_Mesh marker() { return mesh(pts({{9, 9, 9}, {8, 9, 9}, {9, 8, 9}}), {{0, 1, 2, 2}}); }
};

// ---- ReadFace and ReadSolid -----------------------------------------------

TEST_F(FaceReaders, FaceAndSolidCornersByTheTriangleRule)
{
    const AcGePoint3d p0(0, 0, 0), p1(4, 0, 0), p2(4, 3, 0), p3(0, 3, 0);
    // Within the default tolerance of corner 2 counts as corner 2.
    const AcGePoint3d near2(4, 3, 1e-11);
    const struct {
        const char* name;
        AcGePoint3d c3;
        std::vector<ON_3dPoint> face, solid;
    } cases[] = {
        {"quad", p3, pts({{0, 0, 0}, {4, 0, 0}, {4, 3, 0}, {0, 3, 0}}),
         pts({{0, 0, 0}, {4, 0, 0}, {0, 3, 0}, {4, 3, 0}})},
        {"triangle", p2, pts({{0, 0, 0}, {4, 0, 0}, {4, 3, 0}}), pts({{0, 0, 0}, {4, 0, 0}, {4, 3, 0}})},
        {"near triangle", near2, pts({{0, 0, 0}, {4, 0, 0}, {4, 3, 0}}), pts({{0, 0, 0}, {4, 0, 0}, {4, 3, 0}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AcDbFace face(p0, p1, p2, c.c3);
        ON_Mesh faceMesh = marker();
        EXPECT_EQ(ReadFace(&face, faceMesh), 1);
        EXPECT_EQ(facePoints(faceMesh), std::vector<std::vector<ON_3dPoint>>{c.face});

        AcDbSolid solid(p0, p1, p2, c.c3);
        ON_Mesh solidMesh = marker();
        EXPECT_EQ(ReadSolid(&solid, solidMesh), 1);
        EXPECT_EQ(facePoints(solidMesh), std::vector<std::vector<ON_3dPoint>>{c.solid});
    }
}

// ---- FillPolyFaceMesh -----------------------------------------------------

TEST_F(FaceReaders, FillPolyFaceMeshWritesVerticesThenRecords)
{
    const ON_Mesh m = mesh(pts({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0.5}}), {{0, 1, 2, 2}, {0, 1, 2, 3}});
    const AcDbObjectId id = addPolyFace();
    AcDbPolyFaceMesh* polyface = openForWrite<AcDbPolyFaceMesh>(id);
    Acad::ErrorStatus status = Acad::eInvalidInput;
    EXPECT_EQ(FillPolyFaceMesh(m, polyface, status), 1);
    polyface->close();
    EXPECT_EQ(status, Acad::eOk);
    EXPECT_EQ(conversionText(), L"");

    const PolyFace read = readPolyFace(id);
    EXPECT_EQ(read.vertices,
              (std::vector<AcGePoint3d>{AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0),
                                        AcGePoint3d(0, 1, 0.5)}));
    EXPECT_EQ(read.records, (std::vector<Record>{{1, 2, 3, 0}, {1, 2, 3, 4}}));
}

TEST_F(FaceReaders, FillPolyFaceMeshStopsAtTheFirstFailingAppend)
{
    const ON_Mesh m = mesh(pts({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}), {{0, 1, 2, 2}});
    // A polyface mesh in no database refuses the first vertex.
    AcDbPolyFaceMesh* loose = new AcDbPolyFaceMesh();
    Acad::ErrorStatus status = Acad::eOk;
    EXPECT_EQ(FillPolyFaceMesh(m, loose, status), 0);
    EXPECT_EQ(status, Acad::eNoDatabase);
    EXPECT_EQ(conversionText(), L"No Database");
    delete loose;

    // A face naming a vertex the mesh does not hold fails at its record,
    // after all vertices; the short form gives the same result.
    const ON_Mesh bad = mesh(pts({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}), {{0, 1, 2, 2}, {0, 1, 5, 5}});
    const AcDbObjectId id = addPolyFace();
    AcDbPolyFaceMesh* polyface = openForWrite<AcDbPolyFaceMesh>(id);
    EXPECT_EQ(FillPolyFaceMesh(bad, polyface), 0);
    polyface->close();
    EXPECT_EQ(conversionText(), L"Invalid Mesh Vertex Index");
    const PolyFace read = readPolyFace(id);
    EXPECT_EQ(read.vertices.size(), 3u);
    EXPECT_EQ(read.records, (std::vector<Record>{{1, 2, 3, 0}}));

    // A failing record in the middle ends the writing there: the good face
    // after it is not written.
    const ON_Mesh middle =
        mesh(pts({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}), {{0, 1, 2, 2}, {0, 1, 7, 7}, {0, 2, 3, 3}});
    const AcDbObjectId second = addPolyFace();
    polyface = openForWrite<AcDbPolyFaceMesh>(second);
    Acad::ErrorStatus status2 = Acad::eOk;
    EXPECT_EQ(FillPolyFaceMesh(middle, polyface, status2), 0);
    polyface->close();
    EXPECT_EQ(status2, Acad::eInvalidMeshVertexIndex);
    EXPECT_EQ(readPolyFace(second).records, (std::vector<Record>{{1, 2, 3, 0}}));
}

TEST_F(FaceReaders, FillPolyFaceMeshRefusesMoreVerticesThanARecordNames)
{
    for (const int count : {32767, 32768}) {
        SCOPED_TRACE(count);
        ON_Mesh m;
        for (int i = 0; i < count; ++i)
            m.SetVertex(i, ON_3dPoint(i, i % 7, 0));
        m.SetTriangle(0, count - 3, count - 2, count - 1);
        const AcDbObjectId id = addPolyFace();
        AcDbPolyFaceMesh* polyface = openForWrite<AcDbPolyFaceMesh>(id);
        Acad::ErrorStatus status = Acad::eOk;
        const int result = FillPolyFaceMesh(m, polyface, status);
        polyface->close();
        const PolyFace read = readPolyFace(id);
        if (count == 32767) {
            EXPECT_EQ(result, 1);
            EXPECT_EQ(read.records, (std::vector<Record>{{32765, 32766, 32767, 0}}));
        } else {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(status, Acad::eTooManyVertices);
            EXPECT_EQ(conversionText(), L"Too Many Vertices");
            EXPECT_TRUE(read.vertices.empty());
            EXPECT_TRUE(read.records.empty());
        }
    }
}

// ---- ReadPolyFaceMesh -----------------------------------------------------

TEST_F(FaceReaders, PolyFaceRecordsBecomeFacesWhateverTheirEdgeSigns)
{
    const AcDbObjectId id = addPolyFace(
        {AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0), AcGePoint3d(0, 1, 0), AcGePoint3d(5, 5, 5)},
        {{1, -2, 3, 0}, {-1, 2, 3, -4}});
    AcDbPolyFaceMesh* polyface = openForRead<AcDbPolyFaceMesh>(id);
    ON_Mesh out;
    EXPECT_EQ(ReadPolyFaceMesh(polyface, out), 1);
    polyface->close();
    // The unused fifth vertex is culled.
    EXPECT_EQ(out.VertexCount(), 4);
    EXPECT_EQ(facePoints(out),
              (std::vector<std::vector<ON_3dPoint>>{pts({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}),
                                                    pts({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}})}));
    EXPECT_TRUE(out.IsValid());
}

TEST_F(FaceReaders, ADegenerateFaceAmongGoodOnesIsCulled)
{
    const AcDbObjectId id =
        addPolyFace({AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0), AcGePoint3d(0, 1, 0)},
                    {{1, 2, 3, 0}, {2, 2, 3, 0}, {1, 3, 4, 0}});
    AcDbPolyFaceMesh* polyface = openForRead<AcDbPolyFaceMesh>(id);
    ON_Mesh out;
    EXPECT_EQ(ReadPolyFaceMesh(polyface, out), 1);
    polyface->close();
    EXPECT_EQ(facePoints(out),
              (std::vector<std::vector<ON_3dPoint>>{pts({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}),
                                                    pts({{0, 0, 0}, {1, 1, 0}, {0, 1, 0}})}));
}

TEST_F(FaceReaders, InvalidPolyFaceMeshesLeaveTheCallersMesh)
{
    const struct {
        const char* name;
        std::vector<Record> records;
    } cases[] = {
        {"no face records", {}},
        {"only a degenerate face", {{1, 1, 2, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CToolkitConversion::SetLastErrorText(CString());
        const AcDbObjectId id =
            addPolyFace({AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0)}, c.records);
        AcDbPolyFaceMesh* polyface = openForRead<AcDbPolyFaceMesh>(id);
        ON_Mesh out = marker();
        EXPECT_EQ(ReadPolyFaceMesh(polyface, out), 0);
        polyface->close();
        EXPECT_EQ(conversionText(), L"Invalid mesh");
        EXPECT_EQ(facePoints(out), facePoints(marker()));
    }
}

// ---- ReadPolygonMesh ------------------------------------------------------

TEST_F(FaceReaders, PolygonMeshCellsOpenAndClosed)
{
    {
        const AcDbObjectId id = addPolygonMesh(2, 2, false, false);
        AcDbPolygonMesh* grid = openForRead<AcDbPolygonMesh>(id);
        ON_Mesh out;
        EXPECT_EQ(ReadPolygonMesh(grid, out), 1);
        grid->close();
        // Slots (0, 1, 3, 2).
        EXPECT_EQ(facePoints(out),
                  std::vector<std::vector<ON_3dPoint>>{pts({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}})});
    }
    {
        const AcDbObjectId id = addPolygonMesh(3, 4, true, true);
        AcDbPolygonMesh* grid = openForRead<AcDbPolygonMesh>(id);
        ON_Mesh out;
        EXPECT_EQ(ReadPolygonMesh(grid, out), 1);
        grid->close();
        const auto faces = facePoints(out);
        ASSERT_EQ(faces.size(), 12u);
        // The corner cell through the slots (3, 11, 8, 0) comes last.
        EXPECT_EQ(faces.back(), pts({{3, 0, 0}, {3, 2, 0}, {0, 2, 0}, {0, 0, 0}}));
        // The closing cell of row 0 in N: slots (3, 0, 4, 7).
        EXPECT_EQ(faces[3], pts({{3, 0, 0}, {0, 0, 0}, {0, 1, 0}, {3, 1, 0}}));
    }
    // Closed one way only: the closing cells run as the inner ones do.
    const struct {
        const char* name;
        bool closedM, closedN;
        size_t count, index;
        std::vector<ON_3dPoint> closing;
    } oneWay[] = {
        // Slots (3, 0, 4, 7) and, for the last row, (8, 9, 1, 0).
        {"closed in N", false, true, 8, 3, pts({{3, 0, 0}, {0, 0, 0}, {0, 1, 0}, {3, 1, 0}})},
        {"closed in M", true, false, 9, 6, pts({{0, 2, 0}, {1, 2, 0}, {1, 0, 0}, {0, 0, 0}})},
    };
    for (const auto& c : oneWay) {
        SCOPED_TRACE(c.name);
        const AcDbObjectId id = addPolygonMesh(3, 4, c.closedM, c.closedN);
        AcDbPolygonMesh* grid = openForRead<AcDbPolygonMesh>(id);
        ON_Mesh out;
        EXPECT_EQ(ReadPolygonMesh(grid, out), 1);
        grid->close();
        const auto faces = facePoints(out);
        ASSERT_EQ(faces.size(), c.count);
        EXPECT_EQ(faces[c.index], c.closing);
    }
}

TEST_F(FaceReaders, PolygonMeshSlotsTheIteratorMissesStayAtTheOrigin)
{
    // An erased vertex leaves the iterator short of M x N; the grid keeps its
    // size and the missing last slot stays at the origin.
    const AcDbObjectId id = addPolygonMesh(2, 3, false, false);
    {
        AcDbPolygonMesh* grid = openForRead<AcDbPolygonMesh>(id);
        AcDbObjectIterator* it = grid->vertexIterator();
        std::vector<AcDbObjectId> vertices;
        for (it->start(); !it->done(); it->step())
            vertices.push_back(it->objectId());
        delete it;
        grid->close();
        ASSERT_EQ(vertices.size(), 6u);
        erase(vertices[5]);
    }
    AcDbPolygonMesh* grid = openForRead<AcDbPolygonMesh>(id);
    ON_Mesh out;
    EXPECT_EQ(ReadPolygonMesh(grid, out), 1);
    grid->close();
    const auto faces = facePoints(out);
    ASSERT_EQ(faces.size(), 2u);
    EXPECT_EQ(faces[0], pts({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}));
    // The second cell (slots 1, 2, 5, 4) has its missing slot at the origin;
    // the clean-up may cut the twisted quad down to a triangle.
    const auto& second = faces[1];
    EXPECT_NE(std::find(second.begin(), second.end(), ON_3dPoint(0, 0, 0)), second.end());
    for (const ON_3dPoint& p : second)
        EXPECT_TRUE(p == ON_3dPoint(0, 0, 0) || p == ON_3dPoint(1, 0, 0) || p == ON_3dPoint(2, 0, 0) ||
                    p == ON_3dPoint(1, 1, 0));
}

// ---- ReadBlockReference ---------------------------------------------------

TEST_F(FaceReaders, PolygonMeshVerticesPastTheGridAreNotRead)
{
    // Six vertices for a grid of 2 x 2: only the first four are slots.
    AcGePoint3dArray points;
    for (const auto& p : {AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(0, 1, 0), AcGePoint3d(1, 1, 0),
                          AcGePoint3d(7, 7, 7), AcGePoint3d(8, 8, 8)})
        points.append(p);
    const AcDbObjectId id = add(new AcDbPolygonMesh(AcDb::kSimpleMesh, 2, 2, points, false, false));
    AcDbPolygonMesh* grid = openForRead<AcDbPolygonMesh>(id);
    ON_Mesh out;
    EXPECT_EQ(ReadPolygonMesh(grid, out), 1);
    grid->close();
    EXPECT_EQ(facePoints(out), std::vector<std::vector<ON_3dPoint>>{pts({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}})});
}

TEST_F(FaceReaders, SolidSurfacesRunThroughTheOutlineCorners)
{
    const struct {
        const char* name;
        AcGePoint3d c2, c3;
        ON_3dPoint far, last;  // the patch's corners (u1, v1) and (u0, v1)
    } cases[] = {
        // Corner order 0, 1, 3, 2: the far corner of the patch is the
        // solid's corner 3, not corner 2 as a bow tie would have it.
        {"four corners", AcGePoint3d(0, 3, 0), AcGePoint3d(4, 3, 0), ON_3dPoint(4, 3, 0), ON_3dPoint(0, 3, 0)},
        // Corner 3 within the default tolerance of corner 2: the triangle
        // of corners 0, 1, 2, whose far side closes on corner 2 itself.
        {"three corners", AcGePoint3d(4, 3, 0), AcGePoint3d(4, 3, 1e-11), ON_3dPoint(4, 3, 0), ON_3dPoint(4, 3, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AcDbSolid solid(AcGePoint3d(0, 0, 0), AcGePoint3d(4, 0, 0), c.c2, c.c3);
        ON_NurbsSurface surface;
        EXPECT_NE(ReadSolid(&solid, surface), 0);
        ASSERT_TRUE(surface.IsValid());
        const ON_Interval u = surface.Domain(0), v = surface.Domain(1);
        EXPECT_EQ(surface.PointAt(u[0], v[0]), ON_3dPoint(0, 0, 0));
        EXPECT_EQ(surface.PointAt(u[1], v[0]), ON_3dPoint(4, 0, 0));
        EXPECT_EQ(surface.PointAt(u[1], v[1]), c.far);
        EXPECT_EQ(surface.PointAt(u[0], v[1]), c.last);
    }
}

TEST_F(FaceReaders, BlockReferenceFindsTheFirstDefinitionOfItsName)
{
    const AcDbObjectId block = addBlock(L"Door");
    AcDbBlockReference reference(AcGePoint3d(10, 20, 0), block);

    ON_ClassArray<ON_InstanceDefinition> definitions;
    ON_UUID first = ON_nil_uuid, second = ON_nil_uuid, other = ON_nil_uuid;
    first.Data1 = 1;
    second.Data1 = 2;
    other.Data1 = 3;
    const struct {
        const wchar_t* name;
        ON_UUID id;
    } defs[] = {{L"door", other}, {L"Door", first}, {L"Door", second}};
    for (const auto& d : defs) {
        ON_InstanceDefinition& def = definitions.AppendNew();
        def.SetName(d.name);
        def.SetUuid(d.id);
    }

    ON_InstanceRef instance;
    EXPECT_EQ(ReadBlockReference(&reference, instance, definitions), 1);
    EXPECT_EQ(ON_UuidCompare(instance.m_instance_definition_uuid, first), 0);
    EXPECT_EQ(instance.m_xform.m_xform[0][3], 10.0);
    EXPECT_EQ(instance.m_xform.m_xform[1][3], 20.0);
    EXPECT_EQ(instance.m_xform.m_xform[3][3], 1.0);

    // No definition: the transform is still written, the id kept.
    ON_InstanceRef none;
    none.m_instance_definition_uuid = other;
    AcDbBlockReference moved(AcGePoint3d(1, 2, 3), block);
    EXPECT_EQ(ReadBlockReference(&moved, none, ON_ClassArray<ON_InstanceDefinition>()), 0);
    EXPECT_EQ(none.m_xform.m_xform[2][3], 3.0);
    EXPECT_EQ(ON_UuidCompare(none.m_instance_definition_uuid, other), 0);

    // A reference whose block is no block table record has no name: nothing
    // is written, although a definition of every name is at hand.
    AcDbBlockReference nameless(AcGePoint3d(4, 5, 6), addLine());
    ON_InstanceRef untouched;
    untouched.m_xform.m_xform[0][3] = 7.0;
    untouched.m_instance_definition_uuid = other;
    EXPECT_EQ(ReadBlockReference(&nameless, untouched, definitions), 0);
    EXPECT_EQ(untouched.m_xform.m_xform[0][3], 7.0);
    EXPECT_EQ(untouched.m_xform.m_xform[1][3], 0.0);
    EXPECT_EQ(ON_UuidCompare(untouched.m_instance_definition_uuid, other), 0);
}

// The instance transform is the host's block transform: the block's base
// point lands on the reference's position, scaled and turned about its normal.
TEST_F(FaceReaders, BlockReferenceTransformCarriesBasePointScaleRotationAndNormal)
{
    const AcDbObjectId block = addBlock(L"Door", AcGePoint3d(1, 2, 3));
    AcDbBlockReference reference(AcGePoint3d(10, 20, 30), block);
    ASSERT_EQ(reference.setScaleFactors(AcGeScale3d(2, 3, 4)), Acad::eOk);
    ASSERT_EQ(reference.setRotation(0.5), Acad::eOk);
    ASSERT_EQ(reference.setNormal(AcGeVector3d(1, 0, 0)), Acad::eOk);
    ON_ClassArray<ON_InstanceDefinition> definitions;
    definitions.AppendNew().SetName(L"Door");

    ON_InstanceRef instance;
    EXPECT_EQ(ReadBlockReference(&reference, instance, definitions), 1);
    const AcGeMatrix3d m = reference.blockTransform();
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(instance.m_xform.m_xform[r][c], m.entry[r][c]) << r << c;
    const ON_3dPoint base = instance.m_xform * ON_3dPoint(1, 2, 3);
    EXPECT_NEAR(base.x, 10, 1e-12);
    EXPECT_NEAR(base.y, 20, 1e-12);
    EXPECT_NEAR(base.z, 30, 1e-12);
    // Block z runs along the normal, four times as long.
    const ON_3dPoint up = instance.m_xform * ON_3dPoint(1, 2, 4);
    EXPECT_NEAR(up.x, 14, 1e-12);
    EXPECT_NEAR(up.y, 20, 1e-12);
    EXPECT_NEAR(up.z, 30, 1e-12);
}

// ---- ReadEntityMesh and PickEntityMesh ------------------------------------

TEST_F(FaceReaders, ReadEntityMeshChoosesByExactClassName)
{
    AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
    ON_Mesh out = marker();
    EXPECT_EQ(ReadEntityMesh(&line, out), 0);
    EXPECT_EQ(conversionText(), L"Entity is not a 3D Face, 2D Solid, PolyFace Mesh or Polygon Mesh");
    EXPECT_EQ(facePoints(out), facePoints(marker()));

    AcDbSolid solid(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(0, 1, 0), AcGePoint3d(1, 1, 0));
    EXPECT_EQ(ReadEntityMesh(&solid, out), 1);
    EXPECT_EQ(facePoints(out), std::vector<std::vector<ON_3dPoint>>{pts({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}})});
}

TEST_F(FaceReaders, PickEntityMeshReadsThePickedFace)
{
    const AcDbObjectId face = addFace(0, 20);
    user().type(handleOf(face));
    ON_Mesh out;
    AcDbObjectId picked;
    EXPECT_EQ(PickEntityMesh(L"Pick a mesh:", 1, out, picked), 1);
    EXPECT_EQ(picked, face);
    EXPECT_EQ(out.FaceCount(), 1);
    EXPECT_TRUE(standin::isHighlighted(face));
}

TEST_F(FaceReaders, PolygonMeshesAreReadAndPickedButSolidsAreNotPicked)
{
    const AcDbObjectId grid = addPolygonMesh(2, 3, false, false);
    AcDbPolygonMesh* polygon = openForRead<AcDbPolygonMesh>(grid);
    ON_Mesh read;
    EXPECT_EQ(ReadEntityMesh(polygon, read), 1);
    polygon->close();
    EXPECT_EQ(read.FaceCount(), 2);

    // The pick takes the polygon mesh; a 2D solid, though readable, is
    // refused and asked for again until the user gives up.
    const AcDbObjectId solid =
        add(new AcDbSolid(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(0, 1, 0), AcGePoint3d(1, 1, 0)));
    user().type(handleOf(grid));
    ON_Mesh picked;
    AcDbObjectId id;
    EXPECT_EQ(PickEntityMesh(L"Pick a mesh:", 0, picked, id), 1);
    EXPECT_EQ(id, grid);
    EXPECT_EQ(facePoints(picked), facePoints(read));

    user().type(handleOf(solid)).escape();
    ON_Mesh none = marker();
    EXPECT_EQ(PickEntityMesh(L"Pick a mesh:", 0, none), 0);
    EXPECT_EQ(facePoints(none), facePoints(marker()));
}

TEST_F(FaceReaders, CancelledPickEntityMeshCopiesTheReason)
{
    user().escape();
    ON_Mesh out = marker();
    EXPECT_EQ(PickEntityMesh(L"", 0, out), 0);
    EXPECT_EQ(conversionText(), L"Object selection cancelled");
    EXPECT_EQ(utilitiesText(), L"Object selection cancelled");
    EXPECT_EQ(facePoints(out), facePoints(marker()));
}

}  // namespace
