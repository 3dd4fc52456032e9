#include "opennurbs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <type_traits>

#include "MeshTestSupport.h"

namespace
{
using meshtest::Build;
using meshtest::Face;
using meshtest::kNaNf;

TEST(MeshFace, IsPlainData)
{
  static_assert(sizeof(ON_MeshFace) == 16, "");
  static_assert(std::is_trivially_default_constructible<ON_MeshFace>::value, "no initialising constructor");
  for (int k = 0; k < 4; k++)
    EXPECT_EQ(ON_MeshFace::UnsetMeshFace.vi[k], -1);
}

struct FaceCase
{
  int vi[4];
  bool valid;
  bool triangle;
};

TEST(MeshFace, ValidityFollowsTheIndexRules)
{
  const FaceCase cases[] = {
      {{0, 1, 2, 2}, true, true},   {{0, 1, 2, 3}, true, false},   {{3, 2, 1, 0}, true, false},
      {{0, 0, 1, 2}, false, false}, {{0, 1, 1, 2}, false, false},  {{0, 1, 2, 0}, false, false},
      {{0, 1, 2, 1}, false, false}, {{0, 1, 0, 2}, false, false},  {{2, 2, 2, 2}, false, true},
      {{0, 1, 1, 1}, false, true},  {{0, 1, 4, 4}, false, true},   {{0, 1, 2, 4}, false, false},
      {{-1, 1, 2, 2}, false, true}, {{0, 1, 2, -1}, false, false},
  };
  for (const FaceCase& c : cases)
  {
    const ON_MeshFace f = Face(c.vi[0], c.vi[1], c.vi[2], c.vi[3]);
    SCOPED_TRACE(testing::Message() << c.vi[0] << "," << c.vi[1] << "," << c.vi[2] << "," << c.vi[3]);
    EXPECT_EQ(f.IsValid(4), c.valid);
    EXPECT_EQ(f.IsValid(4u), c.valid);
    EXPECT_EQ(f.IsTriangle(), c.triangle);
    EXPECT_EQ(f.IsQuad(), !c.triangle);
  }
  EXPECT_FALSE(Face(0, 1, 2, 2).IsValid(0));
  EXPECT_FALSE(Face(0, 1, 2, 2).IsValid(-5));
}

TEST(MeshFace, PositionalValidityComparesCornersExactly)
{
  const ON_3fPoint V[] = {
      ON_3fPoint(0, 0, 0),     ON_3fPoint(1, 0, 0),     ON_3fPoint(0, 1, 0), ON_3fPoint(-0.0f, 0.0f, -0.0f),
      ON_3fPoint(kNaNf, 0, 0), ON_3fPoint(kNaNf, 0, 0), ON_3fPoint(2, 0, 0)};
  EXPECT_TRUE(Face(0, 1, 2, 2).IsValid(7, V));
  EXPECT_FALSE(Face(0, 1, 3, 3).IsValid(7, V)) << "-0 and +0 are the same place";
  EXPECT_FALSE(Face(1, 2, 0, 3).IsValid(7, V)) << "quad corners 0 and 3 coincide";
  EXPECT_TRUE(Face(4, 5, 1, 1).IsValid(7, V)) << "NaN corners differ from everything";
  EXPECT_TRUE(Face(0, 1, 6, 6).IsValid(7, V)) << "no area test";
  EXPECT_FALSE(Face(0, 1, 9, 9).IsValid(7, V));

  const ON_3dPoint D[] = {ON_3dPoint(0, 0, 0), ON_3dPoint(1, 0, 0), ON_3dPoint(-0.0, 0, 0)};
  EXPECT_FALSE(Face(0, 1, 2, 2).IsValid(3, D));
}

TEST(MeshFace, RepairKeepsDistinctInRangeCorners)
{
  struct Case
  {
    int in[4];
    bool ok;
    int out[4];
  } cases[] = {
      {{0, 0, 1, 2}, true, {0, 1, 2, 2}},    {{0, 1, 1, 2}, true, {0, 1, 2, 2}},  {{0, 1, 2, 0}, true, {0, 1, 2, 2}},
      {{0, 1, 0, 2}, true, {0, 1, 2, 2}},    {{0, 1, 2, -1}, true, {0, 1, 2, 2}}, {{0, 1, 2, 3}, true, {0, 1, 2, 3}},
      {{-1, 1, 2, 2}, false, {-1, 1, 2, 2}}, {{2, 2, 2, 2}, false, {2, 2, 2, 2}}, {{0, 1, 1, 1}, false, {0, 1, 1, 1}},
  };
  for (const Case& c : cases)
  {
    ON_MeshFace f = Face(c.in[0], c.in[1], c.in[2], c.in[3]);
    SCOPED_TRACE(testing::Message() << c.in[0] << "," << c.in[1] << "," << c.in[2] << "," << c.in[3]);
    EXPECT_EQ(f.Repair(4), c.ok);
    for (int k = 0; k < 4; k++)
      EXPECT_EQ(f.vi[k], c.out[k]);
  }
  // With positions: corner 3 sits where corner 0 is.
  const ON_3fPoint V[] = {ON_3fPoint(0, 0, 0), ON_3fPoint(1, 0, 0), ON_3fPoint(0, 1, 0), ON_3fPoint(0, 0, 0)};
  ON_MeshFace f = Face(0, 1, 2, 3);
  EXPECT_TRUE(f.Repair(4, V));
  EXPECT_EQ(f.vi[3], 2);
}

TEST(Mesh, SetVertexSetsOrAppendsOnly)
{
  ON_Mesh m;
  EXPECT_FALSE(m.SetVertex(-1, ON_3fPoint(0, 0, 0)));
  EXPECT_FALSE(m.SetVertex(1, ON_3fPoint(0, 0, 0)));
  EXPECT_EQ(m.VertexCount(), 0);
  EXPECT_TRUE(m.SetVertex(0, ON_3fPoint(1, 2, 3)));
  EXPECT_TRUE(m.SetVertex(1, ON_3dPoint(0.1, 0.2, 0.3)));
  EXPECT_TRUE(m.SetVertex(0, ON_3fPoint(4, 5, 6)));
  EXPECT_FALSE(m.SetVertex(3, ON_3fPoint(0, 0, 0)));
  ASSERT_EQ(m.VertexCount(), 2);
  EXPECT_EQ(m.m_V[0], ON_3fPoint(4, 5, 6));
  // The double overload keeps single precision only.
  EXPECT_EQ(m.m_V[1], ON_3fPoint(0.1f, 0.2f, 0.3f));
  static_assert(std::is_same<decltype(m.m_V[0].x), float>::value, "");
}

TEST(Mesh, SetQuadStoresInvalidFacesButReportsThem)
{
  ON_Mesh m;
  for (int i = 0; i < 4; i++)
    m.SetVertex(i, ON_3fPoint((float)i, (float)(i * i), 0.0f));
  EXPECT_TRUE(m.SetTriangle(0, 0, 1, 2));
  EXPECT_TRUE(m.SetQuad(1, 0, 1, 2, 3));
  // Appends {0,1,3,7} although 7 is out of range.
  EXPECT_FALSE(m.SetQuad(2, 0, 1, 3, 7));
  ASSERT_EQ(m.FaceCount(), 3);
  EXPECT_EQ(m.m_F[2].vi[3], 7);
  // Out of sequence or negative: nothing happens.
  EXPECT_FALSE(m.SetQuad(4, 0, 1, 2, 3));
  EXPECT_FALSE(m.SetTriangle(-1, 0, 1, 2));
  EXPECT_EQ(m.FaceCount(), 3);
  // Overwrite; a triangle repeats its third index.
  EXPECT_TRUE(m.SetTriangle(1, 3, 2, 1));
  EXPECT_EQ(m.m_F[1].vi[0], 3);
  EXPECT_EQ(m.m_F[1].vi[2], 1);
  EXPECT_EQ(m.m_F[1].vi[3], 1);
  EXPECT_FALSE(m.SetTriangle(0, 1, 1, 2));
  EXPECT_EQ(m.m_F[0].vi[1], 1);
}

TEST(Mesh, IsValidNeedsFacesVerticesAndDistinctCorners)
{
  const ON_3fPoint a(0, 0, 0), b(1, 0, 0), c(0, 1, 0), d(1, 1, 0), e(2, 0, 0);
  const ON_3fPoint nan(kNaNf, 0, 0);
  struct Case
  {
    const char* what;
    ON_Mesh mesh;
    bool valid;
  } cases[] = {
      {"empty", ON_Mesh(), false},
      {"vertices only", Build({a, b, c}, {}), false},
      {"one triangle", Build({a, b, c}, {Face(0, 1, 2, 2)}), true},
      {"one quad", Build({a, b, d, c}, {Face(0, 1, 2, 3)}), true},
      {"index out of range", Build({a, b, c}, {Face(0, 1, 3, 3)}), false},
      {"negative index", Build({a, b, c}, {Face(0, 1, -2, -2)}), false},
      {"repeated index", Build({a, b, c}, {Face(0, 0, 1, 2)}), false},
      {"coincident corners", Build({a, b, a}, {Face(0, 1, 2, 2)}), false},
      {"collinear corners", Build({a, b, e}, {Face(0, 1, 2, 2)}), true},
      {"NaN corner", Build({a, b, nan}, {Face(0, 1, 2, 2)}), true},
      {"one bad face among good", Build({a, b, c, d}, {Face(0, 1, 2, 2), Face(1, 3, 3, 2)}), false},
  };
  for (const Case& k : cases)
    EXPECT_EQ(k.mesh.IsValid(), k.valid) << k.what;
  // Fewer than three vertices, even with an index-valid face list.
  ON_Mesh two = Build({a, b}, {});
  EXPECT_FALSE(two.IsValid());
}

TEST(Mesh, CopiesDoNotCarryTheTopology)
{
  ON_Mesh m = Build({ON_3fPoint(0, 0, 0), ON_3fPoint(1, 0, 0), ON_3fPoint(0, 1, 0)}, {Face(0, 1, 2, 2)});
  EXPECT_FALSE(m.TopologyExists());
  EXPECT_EQ(m.Topology().m_mesh, &m);
  EXPECT_TRUE(m.TopologyExists());

  ON_Mesh copy(m);
  EXPECT_FALSE(copy.TopologyExists());
  EXPECT_EQ(copy.VertexCount(), 3);
  EXPECT_EQ(copy.Topology().m_mesh, &copy);
  EXPECT_EQ(copy.Topology().TopEdgeCount(), 3);

  ON_Mesh assigned;
  assigned.Topology();
  assigned = m;
  EXPECT_FALSE(assigned.TopologyExists());
  EXPECT_EQ(assigned.Topology().m_mesh, &assigned);

  ON_Mesh moved(std::move(copy));
  EXPECT_FALSE(moved.TopologyExists());
  EXPECT_FALSE(copy.TopologyExists());
  EXPECT_EQ(moved.Topology().m_mesh, &moved);
  EXPECT_TRUE(m.TopologyExists()) << "the source keeps its own";
}

TEST(Mesh, TopologyCacheIsKeptUntilDestroyed)
{
  ON_Mesh m =
      Build({ON_3fPoint(0, 0, 0), ON_3fPoint(1, 0, 0), ON_3fPoint(0, 1, 0), ON_3fPoint(1, 1, 0)}, {Face(0, 1, 2, 2)});
  EXPECT_EQ(m.Topology().TopEdgeCount(), 3);
  m.SetTriangle(1, 1, 3, 2);
  EXPECT_EQ(m.Topology().TopEdgeCount(), 3) << "direct edits do not refresh the cache";
  m.DestroyTopology();
  EXPECT_FALSE(m.TopologyExists());
  EXPECT_EQ(m.Topology().TopEdgeCount(), 5);
  m.Destroy();
  EXPECT_EQ(m.VertexCount(), 0);
  EXPECT_EQ(m.FaceCount(), 0);
  EXPECT_FALSE(m.TopologyExists());
  EXPECT_EQ(m.m_V.Capacity(), 0);
}
}  // namespace
