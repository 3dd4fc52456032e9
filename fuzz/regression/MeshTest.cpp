// Meshes no valid model gives: indices outside the vertex list, in bulk.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <limits>
#include <vector>

#include "common/FuzzSupport.h"
#include "mesh/MeshHarness.h"
#include "standin/AcDbStandin.h"

namespace {

// A million faces over a grid of 51 by 51 vertices, every seventh of them
// with one corner outside the vertex list (negative, one past the end, or
// the largest index there is), triangles and quads alternating.
ON_Mesh MillionFacesPartlyOutOfRange(int& badFaces)
{
    const int side = 51;
    ON_Mesh mesh;
    mesh.m_V.SetCapacity(static_cast<size_t>(side * side));
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            mesh.m_V.Append(ON_3fPoint(static_cast<float>(x), static_cast<float>(y), 0.0f));
    const int vertexCount = mesh.m_V.Count();
    const int outside[] = {-1, vertexCount, INT_MAX, INT_MIN};
    const int faceCount = 1000000;
    mesh.m_F.SetCapacity(faceCount);
    badFaces = 0;
    for (int i = 0; i < faceCount; ++i) {
        const int cell = i % ((side - 1) * (side - 1));
        const int x = cell % (side - 1), y = cell / (side - 1);
        const int a = y * side + x, b = a + 1, c = a + side + 1, d = a + side;
        ON_MeshFace f;
        f.vi[0] = a;
        f.vi[1] = b;
        f.vi[2] = c;
        f.vi[3] = i % 2 ? d : c;
        if (i % 7 == 3) {
            f.vi[(i / 7) % 4] = outside[(i / 7) % 4];
            ++badFaces;
        }
        mesh.m_F.Append(f);
    }
    return mesh;
}

TEST(MeshTest, AMillionFacesPartlyOutOfRangeAreWrittenWithoutTheBadOnes)
{
    standin::newWorkingDatabase();
    int bad = 0;
    const ON_Mesh mesh = MillionFacesPartlyOutOfRange(bad);
    ASSERT_GT(bad, 100000);
    // Every writer: the faces that refer past the vertex list are left out,
    // nothing is read outside it, and nothing stays open.
    EXPECT_EQ(kvfuzz::WriteAllModes(mesh, CString(), true), "");
    standin::discardWorkingDatabase();
}

TEST(MeshTest, DegenerateMeshesAreWrittenAsTheyAre)
{
    struct Case {
        const char* what;
        std::vector<ON_3fPoint> vertices;
        std::vector<std::array<int, 4>> faces;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {"no vertices, faces into nothing", {}, {{0, 0, 0, 0}, {0, 1, 2, 2}}},
        {"vertices, no faces", {ON_3fPoint(0, 0, 0), ON_3fPoint(1, 1, 1)}, {}},
        {"all corners one vertex", {ON_3fPoint(1, 2, 3)}, {{0, 0, 0, 0}}},
        {"NaN and infinite corners",
         {ON_3fPoint(nan, 0, 0), ON_3fPoint(inf, -inf, 0), ON_3fPoint(3e38f, -3e38f, 1), ON_3fPoint(nan, nan, nan)},
         {{0, 1, 2, 2}, {1, 2, 3, 0}, {3, 3, 2, 1}}},
        {"every index wrong", {ON_3fPoint(0, 0, 0)}, {{-1, 0, 0, 0}, {0, 1, 0, 0}, {INT_MIN, INT_MAX, 0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        standin::newWorkingDatabase();
        ON_Mesh mesh;
        mesh.m_V.SetCapacity(c.vertices.size());
        for (const ON_3fPoint& p : c.vertices)
            mesh.m_V.Append(p);
        for (const auto& f : c.faces) {
            ON_MeshFace face;
            for (int k = 0; k < 4; ++k)
                face.vi[k] = f[static_cast<size_t>(k)];
            mesh.m_F.Append(face);
        }
        EXPECT_EQ(kvfuzz::WriteAllModes(mesh, CString(), true), "");
        EXPECT_EQ(kvfuzz::WriteAllModes(mesh, CString(L"Hostile"), true), "");
    }
    standin::discardWorkingDatabase();
}

}  // namespace
