// The model reader on small files written by the tests: polygon splitting,
// joining of corners, face order, placements, and models without faces.

#include "VrnRavlib.h"

#include "MeshChecks.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

using namespace vrntest;

namespace {

struct P3 {
    double x, y, z;
};

P3 sub(P3 a, P3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
P3 cross(P3 a, P3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double dot(P3 a, P3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// An OBJ of one polygon (corners in order).
std::string polygonObj(const std::vector<P3>& corners)
{
    std::ostringstream obj;
    obj.precision(17);
    for (const P3& p : corners)
        obj << "v " << p.x << ' ' << p.y << ' ' << p.z << '\n';
    obj << 'f';
    for (size_t i = 0; i < corners.size(); ++i)
        obj << ' ' << i + 1;
    obj << '\n';
    return obj.str();
}

// Newell's normal: its length is twice the polygon's area.
P3 newell(const std::vector<P3>& c)
{
    P3 n{0, 0, 0};
    for (size_t i = 0; i < c.size(); ++i) {
        const P3& p = c[i];
        const P3& q = c[(i + 1) % c.size()];
        n.x += (p.y - q.y) * (p.z + q.z);
        n.y += (p.z - q.z) * (p.x + q.x);
        n.z += (p.x - q.x) * (p.y + q.y);
    }
    return n;
}

// Even-odd test of p against the polygon, both seen along the normal.
bool insidePolygon(const std::vector<P3>& c, P3 n, P3 p)
{
    auto uv = [&](P3 q) -> std::pair<double, double> {
        double ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
        if (ax >= ay && ax >= az)
            return {q.y, q.z};
        if (ay >= az)
            return {q.z, q.x};
        return {q.x, q.y};
    };
    auto [pu, pv] = uv(p);
    bool in = false;
    for (size_t i = 0; i < c.size(); ++i) {
        auto [au, av] = uv(c[i]);
        auto [bu, bv] = uv(c[(i + 1) % c.size()]);
        if ((av > pv) != (bv > pv) && pu < au + (pv - av) * (bu - au) / (bv - av))
            in = !in;
    }
    return in;
}

std::vector<P3> comb(int teeth)
{  // a concave comb: teeth pointing up from a bar
    std::vector<P3> c;
    for (int t = 0; t < teeth; ++t) {
        c.push_back({2.0 * t, 1, 0});
        c.push_back({2.0 * t, 5, 0});
        c.push_back({2.0 * t + 1, 5, 0});
        c.push_back({2.0 * t + 1, 1, 0});
    }
    c.push_back({2.0 * teeth, 1, 0});
    c.push_back({2.0 * teeth, 0, 0});
    c.push_back({0, 0, 0});
    return c;
}

std::vector<P3> tilted(std::vector<P3> c)
{  // turned out of every axis plane
    for (P3& p : c) {
        P3 q{p.x, p.y * 0.6 - p.z * 0.8, p.y * 0.8 + p.z * 0.6};
        p = {q.x * 0.8 + q.z * 0.6, q.y, -q.x * 0.6 + q.z * 0.8};
        p = {p.x + 3, p.y - 2, p.z + 7};
    }
    return c;
}

struct PolygonCase {
    const char* name;
    std::vector<P3> corners;
    int triangles;
};

std::vector<PolygonCase> polygonCases()
{
    std::vector<P3> ell = {{0, 0, 0}, {4, 0, 0}, {4, 1, 0}, {1, 1, 0}, {1, 3, 0}, {0, 3, 0}};
    std::vector<P3> star;
    for (int i = 0; i < 10; ++i) {
        double r = i % 2 ? 1.0 : 3.0, a = i * M_PI / 5;
        star.push_back({r * std::cos(a), r * std::sin(a), 0});
    }
    std::vector<P3> pentagon;
    for (int i = 0; i < 5; ++i)
        pentagon.push_back({std::cos(i * 2 * M_PI / 5), std::sin(i * 2 * M_PI / 5), 0});
    std::vector<P3> repeated = pentagon;
    repeated.insert(repeated.begin() + 2, repeated[2]);  // one corner given twice in a row
    std::vector<P3> clockwise(ell.rbegin(), ell.rend());
    // A ring with a bridge edge, like the sample: outer square, inner square
    // walked the other way, joined by one edge traversed in both directions.
    std::vector<P3> ring = {{0, 0, 0}, {6, 0, 0}, {6, 6, 0}, {3, 6, 0}, {3, 4, 0}, {4, 4, 0},
                            {4, 2, 0}, {2, 2, 0}, {2, 4, 0}, {3, 4, 0}, {3, 6, 0}, {0, 6, 0}};
    return {
        {"convex pentagon", pentagon, 3},
        {"L shape", ell, 4},
        {"L shape clockwise", clockwise, 4},
        {"star", star, 8},
        {"pentagon with a repeated corner", repeated, 3},
        {"comb", comb(12), 12 * 4 + 3 - 2},
        {"tilted comb", tilted(comb(7)), 7 * 4 + 3 - 2},
        {"tilted star", tilted(star), 8},
        {"ring with a bridge", ring, 10},
    };
}

TEST(ReaderPolygons, SplitIntoTrianglesThatCoverThePolygon)
{
    TempFolder folder;
    for (const PolygonCase& c : polygonCases()) {
        SCOPED_TRACE(c.name);
        std::string path = folder.file("polygon.obj");
        writeFile(path, polygonObj(c.corners));
        ON_ClassArray<ON_Mesh> meshes;
        ASSERT_NE(read(path, meshes), 0) << errorText();
        ASSERT_EQ(meshes.Count(), 1);
        const ON_Mesh& m = meshes[0];
        expectWellFormed(m);
        ASSERT_EQ(m.m_F.Count(), c.triangles);

        const P3 n = newell(c.corners);
        const double polygonArea = std::sqrt(dot(n, n)) / 2;
        double total = 0;
        for (int f = 0; f < m.m_F.Count(); ++f) {
            const int* vi = m.m_F[f].vi;
            ASSERT_EQ(vi[2], vi[3]);
            P3 t[3];
            for (int k = 0; k < 3; ++k)
                t[k] = {m.m_V[vi[k]].x, m.m_V[vi[k]].y, m.m_V[vi[k]].z};
            P3 tn = cross(sub(t[1], t[0]), sub(t[2], t[0]));
            EXPECT_GT(dot(tn, n), 0) << "face " << f << " turns the polygon's way";
            total += std::sqrt(dot(tn, tn)) / 2;
            P3 centre{(t[0].x + t[1].x + t[2].x) / 3, (t[0].y + t[1].y + t[2].y) / 3, (t[0].z + t[1].z + t[2].z) / 3};
            EXPECT_TRUE(insidePolygon(c.corners, n, centre)) << "face " << f;
        }
        EXPECT_NEAR(total, polygonArea, 1e-5 * polygonArea);
    }
}

// A polygon of many thousand corners is split in reasonable time and covered.
TEST(ReaderPolygons, LargeConcavePolygon)
{
    TempFolder folder;
    std::vector<P3> corners = comb(5000);
    std::string path = folder.file("comb.obj");
    writeFile(path, polygonObj(corners));
    ON_ClassArray<ON_Mesh> meshes;
    // Ear clipping of 5,000 corners takes seconds in a sanitizer build on a
    // busy machine: this test is about the result, not the reader's clock.
    ::setenv("VRN_READER_TIMEOUT", "300", 1);
    const int readOk = read(path, meshes);
    ::unsetenv("VRN_READER_TIMEOUT");
    ASSERT_NE(readOk, 0) << errorText();
    ASSERT_EQ(meshes.Count(), 1);
    EXPECT_EQ(meshes[0].m_F.Count(), static_cast<int>(corners.size()) - 2);
    double total = 0;
    for (int f = 0; f < meshes[0].m_F.Count(); ++f) {
        const int* vi = meshes[0].m_F[f].vi;
        P3 t[3];
        for (int k = 0; k < 3; ++k)
            t[k] = {meshes[0].m_V[vi[k]].x, meshes[0].m_V[vi[k]].y, meshes[0].m_V[vi[k]].z};
        P3 tn = cross(sub(t[1], t[0]), sub(t[2], t[0]));
        total += std::sqrt(dot(tn, tn)) / 2;
    }
    P3 n = newell(corners);
    EXPECT_NEAR(total, std::sqrt(dot(n, n)) / 2, 1e-6 * total);
}

TEST(ReaderFaces, OrderAndCornersAsInTheFile)
{
    TempFolder folder;
    std::string path = folder.file("mixed.obj");
    writeFile(path,
              "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 2 0 0\nv 3 1 0\nv 2 2 0\n"
              "f 1 2 3\n"
              "f 1 2 3 4\n"
              "f 2 5 6 7 3\n"
              "l 1 2 3\n"
              "p 4\n"
              "f 4 3 7\n");
    ON_ClassArray<ON_Mesh> meshes;
    ASSERT_NE(read(path, meshes), 0) << errorText();
    ASSERT_EQ(meshes.Count(), 1);
    const ON_Mesh& m = meshes[0];
    expectWellFormed(m);
    ASSERT_EQ(m.m_V.Count(), 7);
    ASSERT_EQ(m.m_F.Count(), 6);  // 1 triangle, 1 quad, 3 from the pentagon, 1 triangle
    auto at = [&](int f, int k) {
        const ON_3fPoint& p = m.m_V[m.m_F[f].vi[k]];
        return std::vector<float>{p.x, p.y, p.z};
    };
    using V = std::vector<float>;
    EXPECT_EQ(m.m_F[0].vi[2], m.m_F[0].vi[3]);
    EXPECT_EQ(at(0, 0), (V{0, 0, 0}));
    EXPECT_EQ(at(0, 1), (V{1, 0, 0}));
    EXPECT_EQ(at(0, 2), (V{1, 1, 0}));
    EXPECT_NE(m.m_F[1].vi[2], m.m_F[1].vi[3]) << "the quad stays a quad";
    EXPECT_EQ(at(1, 0), (V{0, 0, 0}));
    EXPECT_EQ(at(1, 1), (V{1, 0, 0}));
    EXPECT_EQ(at(1, 2), (V{1, 1, 0}));
    EXPECT_EQ(at(1, 3), (V{0, 1, 0}));
    for (int f = 2; f < 5; ++f)
        EXPECT_EQ(m.m_F[f].vi[2], m.m_F[f].vi[3]);
    EXPECT_EQ(at(5, 0), (V{0, 1, 0}));
    EXPECT_EQ(at(5, 1), (V{1, 1, 0}));
    EXPECT_EQ(at(5, 2), (V{2, 2, 0}));
}

TEST(ReaderFaces, EqualPositionsBecomeOneVertex)
{
    TempFolder folder;
    std::string path = folder.file("split.obj");
    // Two triangles sharing an edge, each with vertices of its own; -0 and +0
    // are the same position; a vertex that no face uses is left out.
    writeFile(path,
              "v 0 0 0\nv 1 0 0\nv 1 1 0\n"
              "v -0 -0 -0\nv 1 1 0\nv 0 1 0\n"
              "v 9 9 9\n"
              "f 1 2 3\nf 4 5 6\n");
    ON_ClassArray<ON_Mesh> meshes;
    ASSERT_NE(read(path, meshes), 0) << errorText();
    ASSERT_EQ(meshes.Count(), 1);
    expectWellFormed(meshes[0]);
    EXPECT_EQ(meshes[0].m_V.Count(), 4);
    ASSERT_EQ(meshes[0].m_F.Count(), 2);
    EXPECT_EQ(meshes[0].m_F[0].vi[0], meshes[0].m_F[1].vi[0]);
    EXPECT_EQ(meshes[0].m_F[0].vi[2], meshes[0].m_F[1].vi[1]);
}

TEST(ReaderFaces, CornersThatFallTogether)
{
    TempFolder folder;
    std::string path = folder.file("collapsed.obj");
    writeFile(path,
              "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 1 1 0\nv 0 0 0\n"
              "f 1 2 3 4\n"  // a quad with two corners at one place: a triangle
              "f 1 2 5\n"    // a triangle with two corners at one place: no face
              "f 1 2 3\n");
    ON_ClassArray<ON_Mesh> meshes;
    ASSERT_NE(read(path, meshes), 0) << errorText();
    ASSERT_EQ(meshes.Count(), 1);
    const ON_Mesh& m = meshes[0];
    expectWellFormed(m);
    EXPECT_EQ(m.m_V.Count(), 3);
    ASSERT_EQ(m.m_F.Count(), 2);
    for (int f = 0; f < 2; ++f)
        EXPECT_EQ(m.m_F[f].vi[2], m.m_F[f].vi[3]);

    // Nothing but such faces: no mesh at all.
    writeFile(path, "v 0 0 0\nv 1 0 0\nv 1 0 0\nf 1 2 3\n");
    ON_ClassArray<ON_Mesh> none;
    ASSERT_NE(read(path, none), 0) << errorText();
    EXPECT_EQ(none.Count(), 0);
}

TEST(ReaderFaces, ModelWithoutFacesGivesNoMeshAndAppendsAfterWhatIsThere)
{
    TempFolder folder;
    std::string lines = folder.file("lines.obj");
    writeFile(lines, "v 0 0 0\nv 1 0 0\nv 1 1 0\np 1 2\nl 1 2 3\n");
    std::string tri = folder.file("tri.obj");
    writeFile(tri, "v 0 0 0\nv 1 0 0\nv 1 1 0\nf 1 2 3\n");

    ON_ClassArray<ON_Mesh> meshes;
    meshes.AppendNew().m_V.Append(ON_3fPoint(5, 5, 5));
    ASSERT_NE(read(lines, meshes), 0) << errorText();
    EXPECT_EQ(meshes.Count(), 1);
    ASSERT_NE(read(tri, meshes), 0) << errorText();
    ASSERT_EQ(meshes.Count(), 2);
    EXPECT_EQ(meshes[0].m_V.Count(), 1) << "what was in the list stays";
    EXPECT_EQ(meshes[1].m_F.Count(), 1);
}

std::string base64(const std::string& bytes)
{
    static const char* k = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t n = static_cast<uint8_t>(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            n |= static_cast<uint8_t>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size())
            n |= static_cast<uint8_t>(bytes[i + 2]);
        out += k[(n >> 18) & 63];
        out += k[(n >> 12) & 63];
        out += i + 1 < bytes.size() ? k[(n >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? k[n & 63] : '=';
    }
    return out;
}

// One triangle mesh placed by two nodes: the first moved by (10, 0, 0), the
// second inside a node scaled by 2 and itself moved by (1, 0, 0), so its
// placement is scale(2) after translate(1, 0, 0).
TEST(ReaderPlacements, NodeTransformsComposeFromTheRoot)
{
    TempFolder folder;
    const float positions[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    std::string buffer(reinterpret_cast<const char*>(positions), sizeof positions);
    std::string gltf = R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0,1]}],)"
                       R"("nodes":[{"mesh":0,"translation":[10,0,0]},{"scale":[2,2,2],"children":[2]},)"
                       R"({"mesh":0,"translation":[1,0,0]}],)"
                       R"("meshes":[{"primitives":[{"attributes":{"POSITION":0}}]}],)"
                       R"("buffers":[{"byteLength":36,"uri":"data:application/octet-stream;base64,)" +
        base64(buffer) +
        R"("}],"bufferViews":[{"buffer":0,"byteLength":36}],)"
        R"("accessors":[{"bufferView":0,"componentType":5126,"count":3,"type":"VEC3",)"
        R"("min":[0,0,0],"max":[1,1,0]}]})";
    std::string path = folder.file("placed.gltf");
    writeFile(path, gltf);
    ON_ClassArray<ON_Mesh> meshes;
    ASSERT_NE(read(path, meshes), 0) << errorText();
    ASSERT_EQ(meshes.Count(), 2);
    const float want[2][3][3] = {{{10, 0, 0}, {11, 0, 0}, {10, 1, 0}}, {{2, 0, 0}, {4, 0, 0}, {2, 2, 0}}};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE("placement " + std::to_string(i));
        const ON_Mesh& m = meshes[i];
        ASSERT_EQ(m.m_F.Count(), 1);
        for (int k = 0; k < 3; ++k) {
            const ON_3fPoint& p = m.m_V[m.m_F[0].vi[k]];
            EXPECT_FLOAT_EQ(p.x, want[i][k][0]) << k;
            EXPECT_FLOAT_EQ(p.y, want[i][k][1]) << k;
            EXPECT_FLOAT_EQ(p.z, want[i][k][2]) << k;
        }
    }
}

}  // namespace
