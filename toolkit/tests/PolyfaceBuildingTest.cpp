// Building polyface meshes and 3D polylines vertex by vertex, and copying a
// polygon mesh into a polyface mesh.
#include <gtest/gtest.h>

#include "MeshTest.h"
#include "PolyfaceBuilding.h"

namespace {

class PolyfaceBuilding : public MeshTest {
protected:
    // PolygonMeshToPolyFace from the polygon mesh grid into the polyface mesh
    // target, both opened for it and closed after.
    static int convert(const AcDbObjectId& grid, const AcDbObjectId& target)
    {
        AcDbPolygonMesh* polygon = openForRead<AcDbPolygonMesh>(grid);
        AcDbPolyFaceMesh* polyface = openForWrite<AcDbPolyFaceMesh>(target);
        const int result = PolygonMeshToPolyFace(polygon, polyface);
        polyface->close();
        polygon->close();
        return result;
    }
};

TEST_F(PolyfaceBuilding, AppendersAddAClosedSubentityAndPassTheStatusOn)
{
    const AcDbObjectId id = addPolyFace();
    AcDbPolyFaceMesh* mesh = openForWrite<AcDbPolyFaceMesh>(id);
    EXPECT_EQ(AppendPolyFaceVertex(mesh, AcGePoint3d(1, 2, 3)), Acad::eOk);
    EXPECT_EQ(AppendPolyFaceVertex(mesh, AcGePoint3d(4, 5, 6)), Acad::eOk);
    EXPECT_EQ(AppendPolyFaceVertex(mesh, AcGePoint3d(7, 8, 9)), Acad::eOk);
    // Stored unchanged: a triangle's zero and an invisible edge's sign.
    EXPECT_EQ(AppendFaceRecord(mesh, 1, -2, 3, 0), Acad::eOk);
    // The host refuses a vertex after a face record and an index past the
    // vertices; the status comes back unchanged.
    EXPECT_EQ(AppendPolyFaceVertex(mesh, AcGePoint3d(0, 0, 0)), Acad::eVertexAfterFace);
    EXPECT_EQ(AppendFaceRecord(mesh, 1, 2, 4, 0), Acad::eInvalidMeshVertexIndex);
    mesh->close();

    const PolyFace read = readPolyFace(id);
    EXPECT_EQ(read.vertices,
              (std::vector<AcGePoint3d>{AcGePoint3d(1, 2, 3), AcGePoint3d(4, 5, 6), AcGePoint3d(7, 8, 9)}));
    EXPECT_EQ(read.records, (std::vector<Record>{{1, -2, 3, 0}}));
}

TEST_F(PolyfaceBuilding, AppendToAMeshInNoDatabaseFailsAndLeaksNothing)
{
    AcDbPolyFaceMesh* mesh = new AcDbPolyFaceMesh();
    EXPECT_NE(AppendPolyFaceVertex(mesh, AcGePoint3d(1, 2, 3)), Acad::eOk);
    EXPECT_NE(AppendFaceRecord(mesh, 1, 2, 3, 0), Acad::eOk);
    delete mesh;
}

TEST_F(PolyfaceBuilding, Append3dPolylineVertexAddsThePosition)
{
    const AcDbObjectId id = add(new AcDb3dPolyline());
    AcDb3dPolyline* polyline = openForWrite<AcDb3dPolyline>(id);
    EXPECT_EQ(Append3dPolylineVertex(polyline, AcGePoint3d(1, 2, 3)), Acad::eOk);
    EXPECT_EQ(Append3dPolylineVertex(polyline, AcGePoint3d(-1, 0, 5)), Acad::eOk);
    std::vector<AcGePoint3d> positions;
    AcDbObjectIterator* it = polyline->vertexIterator();
    for (it->start(); !it->done(); it->step()) {
        AcDb3dPolylineVertex* vertex = openForRead<AcDb3dPolylineVertex>(it->objectId());
        positions.push_back(vertex->position());
        vertex->close();
    }
    delete it;
    polyline->close();
    EXPECT_EQ(positions, (std::vector<AcGePoint3d>{AcGePoint3d(1, 2, 3), AcGePoint3d(-1, 0, 5)}));
}

// The records of the grids of 2 x 2 and 3 x 4 vertices, open and closed.
TEST_F(PolyfaceBuilding, PolygonMeshToPolyFaceGivesOneQuadPerCell)
{
    const struct {
        int m, n;
        bool closedM, closedN;
        std::vector<Record> records;
    } cases[] = {
        {2, 2, false, false, {{1, 2, 4, 3}}},
        {3, 4, false, false, {{1, 2, 6, 5}, {2, 3, 7, 6}, {3, 4, 8, 7}, {5, 6, 10, 9}, {6, 7, 11, 10}, {7, 8, 12, 11}}},
        {3,
         4,
         false,
         true,
         {{1, 2, 6, 5},
          {2, 3, 7, 6},
          {3, 4, 8, 7},
          {4, 1, 5, 8},
          {5, 6, 10, 9},
          {6, 7, 11, 10},
          {7, 8, 12, 11},
          {8, 5, 9, 12}}},
        {3,
         4,
         true,
         false,
         {{1, 2, 6, 5},
          {2, 3, 7, 6},
          {3, 4, 8, 7},
          {5, 6, 10, 9},
          {6, 7, 11, 10},
          {7, 8, 12, 11},
          {9, 10, 2, 1},
          {10, 11, 3, 2},
          {11, 12, 4, 3}}},
        {3,
         4,
         true,
         true,
         {{1, 2, 6, 5},
          {2, 3, 7, 6},
          {3, 4, 8, 7},
          {4, 1, 5, 8},
          {5, 6, 10, 9},
          {6, 7, 11, 10},
          {7, 8, 12, 11},
          {8, 5, 9, 12},
          {9, 10, 2, 1},
          {10, 11, 3, 2},
          {11, 12, 4, 3},
          {4, 12, 9, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.m << "x" << c.n << " closedM " << c.closedM << " closedN " << c.closedN);
        const AcDbObjectId grid = addPolygonMesh(c.m, c.n, c.closedM, c.closedN);
        const AcDbObjectId target = addPolyFace();
        EXPECT_EQ(convert(grid, target), 1);

        const PolyFace read = readPolyFace(target);
        ASSERT_EQ(read.vertices.size(), static_cast<size_t>(c.m * c.n));
        // Grid vertex (r, c) is polyface vertex r*N + c + 1.
        for (int i = 0; i < c.m * c.n; ++i)
            EXPECT_EQ(read.vertices[i], AcGePoint3d(i % c.n, i / c.n, 0));
        EXPECT_EQ(read.records, c.records);
    }
}

TEST_F(PolyfaceBuilding, PolygonMeshToPolyFaceSkipsErasedVertices)
{
    const AcDbObjectId grid = addPolygonMesh(2, 3, false, false);
    {
        AcDbPolygonMesh* polygon = openForRead<AcDbPolygonMesh>(grid);
        AcDbObjectIterator* it = polygon->vertexIterator();
        it->start();
        const AcDbObjectId first = it->objectId();
        delete it;
        polygon->close();
        erase(first);
    }
    const AcDbObjectId target = addPolyFace();
    EXPECT_EQ(convert(grid, target), 1);
    const PolyFace read = readPolyFace(target);
    EXPECT_EQ(read.vertices.size(), 5u);
    EXPECT_EQ(read.vertices.front(), AcGePoint3d(1, 0, 0));
}

// A face record's 16-bit index names at most vertex 32767: a grid of up to
// that many vertices copies whole, a larger one is refused untouched.
TEST_F(PolyfaceBuilding, PolygonMeshToPolyFaceRefusesGridsPastTheRecordIndices)
{
    const struct {
        int m, n;
        int result;
    } cases[] = {
        {7, 4681, 1},   // 32767 vertices: the corner record names the last
        {2, 16384, 0},  // 32768
        {182, 182, 0},  // 33124
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.m << "x" << c.n);
        freshDatabase();
        const AcDbObjectId grid = addPolygonMesh(c.m, c.n, true, true);
        const AcDbObjectId target = addPolyFace();
        EXPECT_EQ(convert(grid, target), c.result);

        const PolyFace read = readPolyFace(target);
        if (c.result == 0) {
            EXPECT_TRUE(read.vertices.empty());
            EXPECT_TRUE(read.records.empty());
            continue;
        }
        ASSERT_EQ(read.vertices.size(), static_cast<size_t>(c.m * c.n));
        // Closed both ways: one quad per grid vertex, anchored at (r, col),
        // through (r, col + 1), (r + 1, col + 1) and (r + 1, col), wrapping;
        // the cell of the last vertex is the corner record, which comes last
        // and starts at its corner (0, N - 1).
        const auto vertex = [&](int r, int col) { return (r % c.m) * c.n + (col % c.n) + 1; };
        std::vector<Record> expected;
        for (int r = 0; r < c.m; ++r)
            for (int col = 0; col < c.n; ++col)
                if (r < c.m - 1 || col < c.n - 1)
                    expected.push_back(
                        {vertex(r, col), vertex(r, col + 1), vertex(r + 1, col + 1), vertex(r + 1, col)});
        expected.push_back({vertex(0, c.n - 1), vertex(c.m - 1, c.n - 1), vertex(c.m - 1, 0), vertex(0, 0)});
        ASSERT_EQ(read.records.size(), expected.size());
        EXPECT_EQ(read.records, expected);
        EXPECT_EQ(read.records.back(), (Record{c.n, 32767, 32767 - c.n + 1, 1}));
    }
}

}  // namespace
