// Mesh writers: subdivision meshes, 3D faces, lines and points in model space.
#include "ToolkitTest.h"

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <tuple>

#include "EntityPlacement.h"
#include "MeshWriters.h"
#include "dbSubD.h"
#include "dbents.h"

namespace {

using Point = std::array<double, 3>;
using Segment = std::pair<Point, Point>;

Point P(const AcGePoint3d& p)
{
    return {p.x, p.y, p.z};
}

struct V {
    float x, y, z;
};
struct F {
    int a, b, c, d;
};

ON_Mesh MakeMesh(std::initializer_list<V> vertices, std::initializer_list<F> faces)
{
    ON_Mesh mesh;
    for (const V& v : vertices)
        mesh.m_V.Append(ON_3fPoint(v.x, v.y, v.z));
    for (const F& f : faces) {
        ON_MeshFace face;
        face.vi[0] = f.a;
        face.vi[1] = f.b;
        face.vi[2] = f.c;
        face.vi[3] = f.d;
        mesh.m_F.Append(face);
    }
    return mesh;
}

// What the writers left in model space, entity by entity.
struct Drawing {
    std::vector<std::array<Point, 4>> faces;
    std::vector<Segment> lines;
    std::vector<Point> points;
    std::vector<std::pair<std::vector<Point>, std::vector<int>>> subDMeshes;  // vertices, faces
    std::vector<AcDbObjectId> layers;
    std::vector<AcCmColor> colors;
    int others = 0;
};

Drawing ReadDrawing()
{
    Drawing d;
    for (const AcDbObjectId& id : ToolkitTest::modelSpaceIds()) {
        AcDbEntity* e = nullptr;
        if (acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk) {
            ADD_FAILURE() << "model space entity cannot be opened";
            continue;
        }
        d.layers.push_back(e->layerId());
        d.colors.push_back(e->color());
        if (AcDbFace* face = AcDbFace::cast(e)) {
            std::array<Point, 4> corners{};
            for (Adesk::UInt16 k = 0; k < 4; ++k) {
                AcGePoint3d p;
                face->getVertexAt(k, p);
                corners[k] = P(p);
            }
            d.faces.push_back(corners);
        } else if (AcDbLine* line = AcDbLine::cast(e)) {
            d.lines.emplace_back(P(line->startPoint()), P(line->endPoint()));
        } else if (AcDbPoint* point = AcDbPoint::cast(e)) {
            d.points.push_back(P(point->position()));
        } else if (AcDbSubDMesh* mesh = AcDbSubDMesh::cast(e)) {
            AcGePoint3dArray vertices;
            AcArray<Adesk::Int32> faceList;
            mesh->getVertices(vertices);
            mesh->getFaceArray(faceList);
            std::vector<Point> vs;
            for (int i = 0; i < vertices.length(); ++i)
                vs.push_back(P(vertices[i]));
            std::vector<int> fs(faceList.asArrayPtr(), faceList.asArrayPtr() + faceList.length());
            d.subDMeshes.emplace_back(vs, fs);
        } else {
            ++d.others;
        }
        e->close();
    }
    return d;
}

// Lines without regard to their direction, sorted.
std::vector<Segment> Undirected(std::vector<Segment> lines)
{
    for (Segment& s : lines) {
        if (s.second < s.first)
            std::swap(s.first, s.second);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::vector<Point> Sorted(std::vector<Point> points)
{
    std::sort(points.begin(), points.end());
    return points;
}

// The meshes of the cases below.
ON_Mesh Triangle()
{
    return MakeMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2, 2}});
}
ON_Mesh Quad()
{
    return MakeMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2, 3}});
}
// Two triangles over a shared edge, stored with six vertices of which two
// pairs coincide.
ON_Mesh SharedEdgeOverSixVertices()
{
    return MakeMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2, 2}, {3, 4, 5, 5}});
}
ON_Mesh UnusedVertex()
{
    return MakeMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 5, 5}}, {{0, 1, 2, 2}});
}
// Equal first two indices: written as a face, but no edge of the topology.
ON_Mesh InvalidFace()
{
    return MakeMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}, {{0, 0, 2, 3}});
}
ON_Mesh Empty()
{
    return ON_Mesh();
}
// Indices outside the vertex list: those faces are skipped.
ON_Mesh OutOfRange()
{
    return MakeMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}},
                    {{0, 1, 2, 2}, {0, 1, 7, 7}, {-1, 1, 2, 3}, {1, 3, 2, 4}, {1, 3, 2, 2}});
}

struct WriterCase {
    const char* name;
    ON_Mesh (*make)();
    size_t faces, lines, points;
    std::vector<int> faceList;
};

const WriterCase kCases[] = {
    {"one triangle", Triangle, 1, 3, 3, {3, 0, 1, 2}},
    {"one quad", Quad, 1, 4, 4, {4, 0, 1, 2, 3}},
    {"shared edge over six vertices", SharedEdgeOverSixVertices, 2, 5, 4, {3, 0, 1, 2, 3, 3, 4, 5}},
    {"unused vertex", UnusedVertex, 1, 3, 4, {3, 0, 1, 2}},
    {"invalid face", InvalidFace, 1, 0, 4, {4, 0, 0, 2, 3}},
    {"empty mesh", Empty, 0, 0, 0, {}},
    {"indices outside the vertex list", OutOfRange, 2, 5, 4, {3, 0, 1, 2, 3, 1, 3, 2}},
};

std::vector<Point> MeshVertices(const ON_Mesh& mesh)
{
    std::vector<Point> points;
    for (int i = 0; i < mesh.m_V.Count(); ++i)
        points.push_back({mesh.m_V[i].x, mesh.m_V[i].y, mesh.m_V[i].z});
    return points;
}

std::vector<Point> DistinctPositions(const ON_Mesh& mesh)
{
    std::vector<Point> points = Sorted(MeshVertices(mesh));
    points.erase(std::unique(points.begin(), points.end()), points.end());
    return points;
}

// The distinct edges of the faces that openNURBS counts as valid.
std::vector<Segment> ExpectedLines(const ON_Mesh& mesh)
{
    const std::vector<Point> v = MeshVertices(mesh);
    const int n = static_cast<int>(v.size());
    std::vector<Segment> lines;
    for (int i = 0; i < mesh.m_F.Count(); ++i) {
        const int* vi = mesh.m_F[i].vi;
        bool inRange = true;
        for (int k = 0; k < 4; ++k)
            inRange = inRange && vi[k] >= 0 && vi[k] < n;
        if (!inRange || vi[0] == vi[1] || vi[1] == vi[2] || vi[0] == vi[2] ||
            (vi[3] != vi[2] && (vi[3] == vi[0] || vi[3] == vi[1])))
            continue;
        for (int k = 0; k < 4; ++k) {
            const Point a = v[vi[k]], b = v[vi[(k + 1) % 4]];
            if (a != b)
                lines.emplace_back(a, b);
        }
    }
    lines = Undirected(lines);
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}

// The lines the topology lists, in its order, each from the position of the
// edge's first topology vertex to that of its second.
std::vector<Segment> TopologyLines(const ON_Mesh& mesh)
{
    const ON_MeshTopology& top = mesh.Topology();
    std::vector<Segment> lines;
    auto at = [&](int topv) {
        const ON_3fPoint& q = mesh.m_V[top.m_topv[topv].m_vi[0]];
        return Point{q.x, q.y, q.z};
    };
    for (int i = 0; i < top.m_tope.Count(); ++i)
        lines.emplace_back(at(top.m_tope[i].m_topvi[0]), at(top.m_tope[i].m_topvi[1]));
    return lines;
}

// The positions of the topology vertices, in the topology's order.
std::vector<Point> TopologyPoints(const ON_Mesh& mesh)
{
    const ON_MeshTopology& top = mesh.Topology();
    std::vector<Point> points;
    for (int i = 0; i < top.m_topv.Count(); ++i) {
        const ON_3fPoint& q = mesh.m_V[top.m_topv[i].m_vi[0]];
        points.push_back({q.x, q.y, q.z});
    }
    return points;
}

}  // namespace

using MeshWritersTest = ToolkitTest;

TEST_F(MeshWritersTest, FacesFromEveryFaceWithinTheVertexList)
{
    for (const WriterCase& c : kCases) {
        SCOPED_TRACE(c.name);
        freshDatabase();
        const ON_Mesh mesh = c.make();
        EXPECT_EQ(MeshToFaces(mesh, L"", AcCmColor()), 1);
        const Drawing d = ReadDrawing();
        ASSERT_EQ(d.faces.size(), c.faces);
        EXPECT_EQ(d.others + d.lines.size() + d.points.size() + d.subDMeshes.size(), 0u);
        // Corner k is the mesh vertex vi[k]; a triangle repeats its third.
        const std::vector<Point> v = MeshVertices(mesh);
        size_t written = 0;
        for (int i = 0; i < mesh.m_F.Count(); ++i) {
            const int* vi = mesh.m_F[i].vi;
            if (std::any_of(vi, vi + 4, [&](int k) { return k < 0 || k >= int(v.size()); }))
                continue;
            ASSERT_LT(written, d.faces.size());
            for (int k = 0; k < 4; ++k)
                EXPECT_EQ(d.faces[written][k], v[vi[k]]) << "face " << i << " corner " << k;
            ++written;
        }
        EXPECT_EQ(written, c.faces);
    }
}

TEST_F(MeshWritersTest, LinesFromTheDistinctEdges)
{
    for (const WriterCase& c : kCases) {
        SCOPED_TRACE(c.name);
        freshDatabase();
        const ON_Mesh mesh = c.make();
        EXPECT_EQ(MeshToLines(mesh, L"", AcCmColor()), 1);
        const Drawing d = ReadDrawing();
        EXPECT_EQ(d.lines.size(), c.lines);
        EXPECT_EQ(d.others + d.faces.size() + d.points.size() + d.subDMeshes.size(), 0u);
        EXPECT_EQ(Undirected(d.lines), ExpectedLines(mesh));
        // In the topology's order and direction.
        EXPECT_EQ(d.lines, TopologyLines(mesh));
    }
}

TEST_F(MeshWritersTest, LinesOfAQuadRunInTopologyOrderFromTheLowerTopologyVertex)
{
    MeshToLines(Quad(), L"", AcCmColor());
    const Point a{0, 0, 0}, b{1, 0, 0}, c{1, 1, 0}, e{0, 1, 0};
    EXPECT_EQ(ReadDrawing().lines, (std::vector<Segment>{{a, b}, {a, e}, {b, c}, {c, e}}));
}

TEST_F(MeshWritersTest, PointsFromTheDistinctPositions)
{
    for (const WriterCase& c : kCases) {
        SCOPED_TRACE(c.name);
        freshDatabase();
        const ON_Mesh mesh = c.make();
        EXPECT_EQ(MeshToPoints(mesh, L"", AcCmColor()), 1);
        const Drawing d = ReadDrawing();
        EXPECT_EQ(d.points.size(), c.points);
        EXPECT_EQ(d.others + d.faces.size() + d.lines.size() + d.subDMeshes.size(), 0u);
        EXPECT_EQ(Sorted(d.points), DistinctPositions(mesh));
        EXPECT_EQ(d.points, TopologyPoints(mesh)) << "in topology order";
    }
}

TEST_F(MeshWritersTest, OneSubdivisionMeshPerMesh)
{
    for (const WriterCase& c : kCases) {
        for (BOOL warning : {FALSE, TRUE}) {
            SCOPED_TRACE(testing::Message() << c.name << (warning ? ", warning" : ""));
            freshDatabase();
            const ON_Mesh mesh = c.make();
            EXPECT_EQ(MeshToSubDMesh(mesh, warning, L"", AcCmColor()), 1);
            const Drawing d = ReadDrawing();
            ASSERT_EQ(d.subDMeshes.size(), 1u);
            EXPECT_EQ(d.others + d.faces.size() + d.lines.size() + d.points.size(), 0u);
            // The empty mesh may be refused by the host; the entity is
            // placed all the same.
            if (c.faceList.empty())
                continue;
            EXPECT_EQ(d.subDMeshes[0].first, MeshVertices(mesh)) << "every vertex, in order";
            EXPECT_EQ(d.subDMeshes[0].second, c.faceList);
        }
    }
}

TEST_F(MeshWritersTest, FillSubDMeshAtLevelZero)
{
    const ON_Mesh mesh = SharedEdgeOverSixVertices();
    AcDbSubDMesh subD;
    EXPECT_EQ(FillSubDMesh(mesh, &subD), 1);
    AcGePoint3dArray vertices;
    AcArray<Adesk::Int32> faces;
    Adesk::Int32 level = -1;
    ASSERT_EQ(subD.getVertices(vertices), Acad::eOk);
    ASSERT_EQ(subD.getFaceArray(faces), Acad::eOk);
    ASSERT_EQ(subD.subDLevel(level), Acad::eOk);
    EXPECT_EQ(level, 0);
    ASSERT_EQ(vertices.length(), 6) << "coinciding vertices are not merged";
    EXPECT_EQ(P(vertices[3]), (Point{1, 0, 0}));
    EXPECT_EQ(std::vector<int>(faces.asArrayPtr(), faces.asArrayPtr() + faces.length()),
              (std::vector<int>{3, 0, 1, 2, 3, 3, 4, 5}));
}

TEST_F(MeshWritersTest, CoordinatesAreWidenedUnchanged)
{
    const float x = 0.1f, y = -123456.7f, z = 3.0e7f;
    const ON_Mesh mesh = MakeMesh({{x, y, z}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2, 2}});
    MeshToPoints(mesh, L"", AcCmColor());
    MeshToFaces(mesh, L"", AcCmColor());
    const Drawing d = ReadDrawing();
    const Point expected{double(x), double(y), double(z)};
    ASSERT_EQ(d.points.size(), 3u);
    EXPECT_EQ(d.points[0], expected);
    ASSERT_EQ(d.faces.size(), 1u);
    EXPECT_EQ(d.faces[0][0], expected);
}

TEST_F(MeshWritersTest, LayerAndColourOnEveryEntity)
{
    using Writer = std::function<int(const ON_Mesh&, const CString&, const AcCmColor&)>;
    const std::pair<const char*, Writer> writers[] = {
        {"faces", [](const ON_Mesh& m, const CString& l, const AcCmColor& c) { return MeshToFaces(m, l, c); }},
        {"lines", [](const ON_Mesh& m, const CString& l, const AcCmColor& c) { return MeshToLines(m, l, c); }},
        {"points", [](const ON_Mesh& m, const CString& l, const AcCmColor& c) { return MeshToPoints(m, l, c); }},
        {"subdivision mesh",
         [](const ON_Mesh& m, const CString& l, const AcCmColor& c) { return MeshToSubDMesh(m, l, c); }},
    };
    for (const auto& [name, write] : writers) {
        SCOPED_TRACE(name);
        freshDatabase();
        AcCmColor color;
        color.setRGB(200, 100, 50);
        EXPECT_EQ(write(SharedEdgeOverSixVertices(), L"Imported", color), 1);
        const AcDbObjectId layer = GetLayerId(L"Imported", FALSE);
        ASSERT_FALSE(layer.isNull()) << "the first entity creates the layer";
        const Drawing d = ReadDrawing();
        ASSERT_FALSE(d.layers.empty());
        for (size_t i = 0; i < d.layers.size(); ++i) {
            EXPECT_EQ(d.layers[i], layer);
            EXPECT_TRUE(d.colors[i] == color);
        }
    }
}

TEST_F(MeshWritersTest, RefusedLayerNamePlacesNothing)
{
    // Every entity is refused; each is disposed of (the leak checker and the
    // open-object check see to that) and the writers still return 1.
    const ON_Mesh mesh = Quad();
    EXPECT_EQ(MeshToFaces(mesh, L"bad<layer", AcCmColor()), 1);
    EXPECT_EQ(MeshToLines(mesh, L"bad<layer", AcCmColor()), 1);
    EXPECT_EQ(MeshToPoints(mesh, L"bad<layer", AcCmColor()), 1);
    EXPECT_EQ(MeshToSubDMesh(mesh, FALSE, L"bad<layer", AcCmColor()), 1);
    EXPECT_TRUE(modelSpaceIds().empty());
}

TEST_F(MeshWritersTest, ArrayFormsWriteEveryMeshInOrder)
{
    ON_ClassArray<ON_Mesh> meshes;
    meshes.Append(Triangle());
    meshes.Append(Quad());
    meshes.Append(SharedEdgeOverSixVertices());

    EXPECT_EQ(MeshToFaces(meshes, L"", AcCmColor()), 1);
    EXPECT_EQ(ReadDrawing().faces.size(), 4u);
    freshDatabase();
    EXPECT_EQ(MeshToLines(meshes, L"", AcCmColor()), 1);
    EXPECT_EQ(ReadDrawing().lines.size(), 3u + 4u + 5u);
    freshDatabase();
    EXPECT_EQ(MeshToPoints(meshes, L"", AcCmColor()), 1);
    EXPECT_EQ(ReadDrawing().points.size(), 3u + 4u + 4u);
    freshDatabase();
    EXPECT_EQ(MeshToSubDMesh(meshes, TRUE, L"", AcCmColor()), 1);
    const Drawing d = ReadDrawing();
    ASSERT_EQ(d.subDMeshes.size(), 3u);
    EXPECT_EQ(d.subDMeshes[0].second, (std::vector<int>{3, 0, 1, 2}));
    EXPECT_EQ(d.subDMeshes[1].second, (std::vector<int>{4, 0, 1, 2, 3}));
    EXPECT_EQ(d.subDMeshes[2].first.size(), 6u);

    const ON_ClassArray<ON_Mesh> none;
    freshDatabase();
    EXPECT_EQ(MeshToFaces(none, L"", AcCmColor()), 1);
    EXPECT_EQ(MeshToLines(none, L"", AcCmColor()), 1);
    EXPECT_EQ(MeshToPoints(none, L"", AcCmColor()), 1);
    EXPECT_EQ(MeshToSubDMesh(none, FALSE, L"", AcCmColor()), 1);
    EXPECT_TRUE(modelSpaceIds().empty());
}
