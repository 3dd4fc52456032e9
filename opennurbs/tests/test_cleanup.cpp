#include "opennurbs.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

#include "MeshTestSupport.h"

namespace
{
using meshtest::Build;
using meshtest::Face;
using meshtest::kNaNf;

TEST(MeshCleanup, CullUnusedVerticesRenumbersAndDropsBrokenFaces)
{
  ON_Mesh m =
      Build({ON_3fPoint(0, 0, 0), ON_3fPoint(9, 9, 9), ON_3fPoint(1, 0, 0), ON_3fPoint(8, 8, 8), ON_3fPoint(0, 1, 0)},
            {Face(0, 2, 4, 4), Face(0, 3, 7, 7), Face(4, 4, 2, 2)});
  m.Topology();
  EXPECT_EQ(m.CullUnusedVertices(), 2);
  EXPECT_FALSE(m.TopologyExists());
  ASSERT_EQ(m.VertexCount(), 3);
  ASSERT_EQ(m.FaceCount(), 2) << "the face with index 7 goes; the degenerate one stays";
  EXPECT_EQ(m.m_V[1], ON_3fPoint(1, 0, 0));
  EXPECT_EQ(m.m_V[2], ON_3fPoint(0, 1, 0));
  const int f0[] = {0, 1, 2, 2}, f1[] = {2, 2, 1, 1};
  for (int k = 0; k < 4; k++)
  {
    EXPECT_EQ(m.m_F[0].vi[k], f0[k]);
    EXPECT_EQ(m.m_F[1].vi[k], f1[k]);
  }
  EXPECT_EQ(m.CullUnusedVertices(), 0);

  ON_Mesh points = Build({ON_3fPoint(0, 0, 0), ON_3fPoint(1, 0, 0), ON_3fPoint(2, 0, 0), ON_3fPoint(3, 0, 0)}, {});
  EXPECT_EQ(points.CullUnusedVertices(), 4);
  EXPECT_EQ(points.VertexCount(), 0);
}

struct CullCase
{
  const char* what;
  std::vector<ON_3fPoint> V;
  ON_MeshFace face;
  bool kept;
  ON_MeshFace result;
};

TEST(MeshCleanup, CullDegenerateFacesRepairsOrDeletes)
{
  const ON_3fPoint a(0, 0, 0), b(1, 0, 0), c(1, 1, 0), d(0, 1, 0);
  const ON_3fPoint nan(kNaNf, 0, 0);
  const ON_3fPoint x2(2, 0, 0), x3(3, 0, 0);
  const ON_3fPoint thin_c(1, 1e-9f, 0), thin_d(0, 1e-9f, 0);
  const ON_3fPoint far_b(1e10f, 0, 0), far_c(2e10f, 1, 0), far_d(1e10f, 0.5f, 0);
  const CullCase cases[] = {
      {"good triangle", {a, b, c}, Face(0, 1, 2, 2), true, Face(0, 1, 2, 2)},
      {"good quad", {a, b, c, d}, Face(0, 1, 2, 3), true, Face(0, 1, 2, 3)},
      {"out of range", {a, b, c}, Face(0, 1, 50, 50), false, {}},
      {"negative index", {a, b, c}, Face(0, -1, 2, 2), false, {}},
      {"collinear triangle", {a, b, x2}, Face(0, 1, 2, 2), false, {}},
      {"tiny triangle", {a, ON_3fPoint(1e-20f, 0, 0), ON_3fPoint(0, 1e-20f, 0)}, Face(0, 1, 2, 2), false, {}},
      {"quad with repeated first index", {a, b, c, d}, Face(0, 0, 1, 2), true, Face(0, 1, 2, 2)},
      {"quad closing on its first corner", {a, b, c, d}, Face(0, 1, 2, 0), true, Face(0, 1, 2, 2)},
      {"quad with a corner on another's place", {a, b, c, a}, Face(0, 1, 2, 3), true, Face(0, 1, 2, 2)},
      {"L quad a,b,a,c", {a, b, c, d}, Face(0, 1, 0, 2), false, {}},
      {"quad with opposite corners together", {a, b, a, c}, Face(0, 1, 2, 3), false, {}},
      {"triangle with two corners together", {a, b, a}, Face(0, 1, 2, 2), false, {}},
      {"quad with a NaN corner", {a, b, c, nan}, Face(0, 1, 2, 3), true, Face(0, 1, 2, 2)},
      {"thin quad with long diagonals", {a, b, thin_c, thin_d}, Face(0, 1, 2, 3), true, Face(0, 1, 2, 3)},
      {"needle quad", {a, far_b, far_c, far_d}, Face(0, 1, 2, 3), false, {}},
      {"four collinear corners", {a, b, x2, x3}, Face(0, 1, 2, 3), true, Face(0, 1, 2, 3)},
      {"quad with one flat half", {a, x2, ON_3fPoint(2, 2, 0), b}, Face(0, 1, 2, 3), true, Face(1, 2, 3, 3)},
  };
  for (const CullCase& k : cases)
  {
    SCOPED_TRACE(k.what);
    // A good triangle beside the case keeps the mesh alive.
    std::vector<ON_3fPoint> V = k.V;
    const int base = (int)V.size();
    V.push_back(ON_3fPoint(10, 0, 0));
    V.push_back(ON_3fPoint(11, 0, 0));
    V.push_back(ON_3fPoint(10, 1, 0));
    ON_Mesh m = Build(V, {k.face, Face(base, base + 1, base + 2, base + 2)});
    EXPECT_EQ(m.CullDegenerateFaces(), k.kept ? 0 : 1);
    ASSERT_EQ(m.FaceCount(), k.kept ? 2 : 1);
    EXPECT_EQ(m.VertexCount(), base + 3) << "no vertex is removed";
    if (k.kept)
    {
      for (int j = 0; j < 4; j++)
        EXPECT_EQ(m.m_F[0].vi[j], k.result.vi[j]) << j;
    }
  }
}

TEST(MeshCleanup, NothingLeftDestroysTheMesh)
{
  ON_Mesh m =
      Build({ON_3fPoint(0, 0, 0), ON_3fPoint(1, 0, 0), ON_3fPoint(2, 0, 0)}, {Face(0, 1, 2, 2), Face(0, 0, 1, 1)});
  EXPECT_EQ(m.CullDegenerateFaces(), 2);
  EXPECT_EQ(m.FaceCount(), 0);
  EXPECT_EQ(m.VertexCount(), 0);
}

TEST(MeshCleanup, CompactShrinksAndCullsUnusedVertices)
{
  ON_Mesh m;
  for (int i = 0; i < 10; i++)
    m.SetVertex(i, ON_3fPoint((float)i, (float)(i % 3), 0.0f));
  m.SetTriangle(0, 0, 1, 2);
  EXPECT_TRUE(m.Compact());
  EXPECT_EQ(m.VertexCount(), 3);
  EXPECT_EQ(m.m_V.Capacity(), 3);
  EXPECT_EQ(m.m_F.Capacity(), 1);
}

TEST(MeshCleanup, CleanedRandomMeshesAreValid)
{
  std::mt19937 rng(99);
  int kept_meshes = 0;
  for (int round = 0; round < 300; round++)
  {
    ON_Mesh m;
    const int n = 1 + (int)(rng() % 40);
    for (int i = 0; i < n; i++)
    {
      const int p = (int)(rng() % 12);
      ON_3fPoint pt((float)(p % 4), (float)(p / 4), (float)(rng() % 2));
      if (rng() % 30 == 0)
        pt.z = kNaNf;
      m.m_V.Append(pt);
    }
    const int faces = (int)(rng() % 30);
    for (int f = 0; f < faces; f++)
    {
      int vi[4];
      for (int& v : vi)
        v = (int)(rng() % (n + 2)) - 1;
      if (rng() % 2)
        vi[3] = vi[2];
      m.m_F.Append(Face(vi[0], vi[1], vi[2], vi[3]));
    }
    m.CullUnusedVertices();
    m.CullDegenerateFaces();
    m.Compact();
    SCOPED_TRACE(testing::Message() << "round " << round);
    if (m.FaceCount() > 0)
    {
      kept_meshes++;
      EXPECT_TRUE(m.IsValid());
      EXPECT_TRUE(m.Topology().IsValid());
    }
    else
    {
      EXPECT_EQ(m.VertexCount(), 0);
    }
  }
  EXPECT_GT(kept_meshes, 50);
}
}  // namespace
