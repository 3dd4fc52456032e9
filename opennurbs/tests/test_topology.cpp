#include "opennurbs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <random>
#include <utility>
#include <vector>

#include "MeshTestSupport.h"

namespace
{
using meshtest::Build;
using meshtest::Face;
using meshtest::kNaNf;

struct MeshCase
{
  const char* what;
  std::vector<ON_3fPoint> V;
  std::vector<ON_MeshFace> F;
  int topv;
  int tope;
  int topf;
};

const ON_3fPoint P0(0, 0, 0), P1(1, 0, 0), P2(1, 1, 0), P3(0, 1, 0);

TEST(MeshTopology, CountsOfSmallMeshes)
{
  const MeshCase cases[] = {
      {"one triangle", {P0, P1, P2}, {Face(0, 1, 2, 2)}, 3, 3, 1},
      {"one quad", {P0, P1, P2, P3}, {Face(0, 1, 2, 3)}, 4, 4, 1},
      {"two triangles over four vertices", {P0, P1, P2, P3}, {Face(0, 1, 2, 2), Face(0, 2, 3, 3)}, 4, 5, 2},
      {"two triangles over six vertices", {P0, P1, P2, P0, P2, P3}, {Face(0, 1, 2, 2), Face(3, 4, 5, 5)}, 4, 5, 2},
      {"unused vertex", {P0, P1, P2, ON_3fPoint(5, 5, 5)}, {Face(0, 1, 2, 2)}, 4, 3, 1},
      {"first two indices equal", {P0, P1, P2, P3}, {Face(0, 0, 2, 3)}, 4, 0, 0},
      {"one bad face beside a good one", {P0, P1, P2, P3}, {Face(1, 1, 2, 3), Face(0, 1, 2, 2)}, 4, 3, 2},
      {"vertices only", {P0, P1}, {}, 2, 0, 0},
      {"empty", {}, {}, 0, 0, 0},
      {"faces but no vertices", {}, {Face(0, 1, 2, 2)}, 0, 0, 0},
      {"all corners at one place", {P0, P0, P0}, {Face(0, 1, 2, 2)}, 1, 0, 0},
      {"out of range index", {P0, P1, P2}, {Face(0, 1, 3, 3)}, 3, 0, 0},
      {"negative index", {P0, P1, P2}, {Face(0, -1, 2, 2), Face(-7, 0, 1, 1)}, 3, 0, 0},
      {"huge index", {P0, P1, P2}, {Face(0, 1, 2, 0x7FFFFFFF), Face(0, 1, 2, 2)}, 3, 3, 2},
  };
  for (const MeshCase& c : cases)
  {
    SCOPED_TRACE(c.what);
    ON_Mesh m = Build(c.V, c.F);
    const ON_MeshTopology& top = m.Topology();
    EXPECT_EQ(top.TopVertexCount(), c.topv);
    EXPECT_EQ(top.TopEdgeCount(), c.tope);
    EXPECT_EQ(top.TopFaceCount(), c.topf);
    EXPECT_EQ(top.m_topv_map.Count(), (int)c.V.size());
    EXPECT_EQ(top.IsValid(), !c.V.empty());
    EXPECT_EQ(m.TopologyExists(), !c.V.empty());
  }
}

TEST(MeshTopology, VerticesInOrderOfFirstAppearance)
{
  // Positions (5,5),(4,4),(3,3),(5,5),(0,0),(4,4),(9,0).
  const float xy[][2] = {{5, 5}, {4, 4}, {3, 3}, {5, 5}, {0, 0}, {4, 4}, {9, 0}};
  ON_Mesh m;
  for (const auto& p : xy)
    m.SetVertex(m.VertexCount(), ON_3fPoint(p[0], p[1], 0.0f));
  const ON_MeshTopology& top = m.Topology();
  ASSERT_EQ(top.TopVertexCount(), 5);
  const int first[] = {0, 1, 2, 4, 6};
  for (int t = 0; t < 5; t++)
    EXPECT_EQ(top.m_topv[t].m_vi[0], first[t]);
  EXPECT_EQ(top.m_topv[0].m_v_count, 2);
  EXPECT_EQ(top.m_topv[0].m_vi[1], 3);
  EXPECT_EQ(top.m_topv[1].m_vi[1], 5);
  const int map[] = {0, 1, 2, 0, 3, 1, 4};
  for (int v = 0; v < 7; v++)
    EXPECT_EQ(top.m_topv_map[v], map[v]);
  EXPECT_EQ(top.TopEdgeCount(), 0);
  EXPECT_EQ(top.m_topv[2].m_tope_count, 0);
}

TEST(MeshTopology, SignedZerosMergeAndNaNsNever)
{
  const ON_3fPoint nan(kNaNf, 1, 1);
  ON_Mesh m =
      Build({ON_3fPoint(0, 0, 0), ON_3fPoint(-0.0f, 0, -0.0f), nan, nan, ON_3fPoint(kNaNf, kNaNf, kNaNf),
             ON_3fPoint(2e38f, 0, 0), ON_3fPoint(2e38f, 0, 0), ON_3fPoint(INFINITY, 0, 0), ON_3fPoint(INFINITY, 0, 0)},
            {});
  const ON_MeshTopology& top = m.Topology();
  const int map[] = {0, 0, 1, 2, 3, 4, 4, 5, 5};
  ASSERT_EQ(top.TopVertexCount(), 6);
  for (int v = 0; v < 9; v++)
    EXPECT_EQ(top.m_topv_map[v], map[v]) << v;
}

TEST(MeshTopology, EdgesSortedWithFacesAscendingAndDirections)
{
  // Two quads sharing the edge 1-2, given in the opposite directions.
  //   3---2---5
  //   |   |   |
  //   0---1---4
  ON_Mesh m = Build({P0, P1, P2, P3, ON_3fPoint(2, 0, 0), ON_3fPoint(2, 1, 0)}, {Face(1, 4, 5, 2), Face(0, 1, 2, 3)});
  const ON_MeshTopology& top = m.Topology();
  ASSERT_EQ(top.TopEdgeCount(), 7);
  // Every position is distinct, so topology vertex ids are the vertex indices.
  const int expected[][2] = {{0, 1}, {0, 3}, {1, 2}, {1, 4}, {2, 3}, {2, 5}, {4, 5}};
  for (int e = 0; e < 7; e++)
  {
    EXPECT_EQ(top.m_tope[e].m_topvi[0], expected[e][0]) << e;
    EXPECT_EQ(top.m_tope[e].m_topvi[1], expected[e][1]) << e;
  }
  // The shared edge 1-2 lists both faces, in ascending order.
  const ON_MeshTopologyEdge& shared = top.m_tope[2];
  ASSERT_EQ(shared.m_topf_count, 2);
  EXPECT_EQ(shared.m_topfi[0], 0);
  EXPECT_EQ(shared.m_topfi[1], 1);
  // Face 0 = 1,4,5,2: sides 2->1, 1->4, 4->5, 5->2.
  const ON_MeshTopologyFace& f0 = top.m_topf[0];
  const int e0[] = {2, 3, 6, 5};
  const char r0[] = {1, 0, 0, 1};
  // Face 1 = 0,1,2,3: sides 3->0, 0->1, 1->2, 2->3.
  const ON_MeshTopologyFace& f1 = top.m_topf[1];
  const int e1[] = {1, 0, 2, 4};
  const char r1[] = {1, 0, 0, 0};
  for (int j = 0; j < 4; j++)
  {
    EXPECT_EQ(f0.m_topei[j], e0[j]) << j;
    EXPECT_EQ(f0.m_reve[j], r0[j]) << j;
    EXPECT_EQ(f1.m_topei[j], e1[j]) << j;
    EXPECT_EQ(f1.m_reve[j], r1[j]) << j;
  }
  // Edges at a vertex, ascending.
  const ON_MeshTopologyVertex& v2 = top.m_topv[2];
  ASSERT_EQ(v2.m_tope_count, 3);
  EXPECT_EQ(v2.m_topei[0], 2);
  EXPECT_EQ(v2.m_topei[1], 4);
  EXPECT_EQ(v2.m_topei[2], 5);
  EXPECT_TRUE(top.IsValid());
}

TEST(MeshTopology, TriangleRecordRepeatsItsLastEdge)
{
  ON_Mesh m = Build({P0, P1, P2}, {Face(2, 1, 0, 0)});
  const ON_MeshTopologyFace& f = m.Topology().m_topf[0];
  // Sides 0->2, 2->1, 1->0 over edges (0,1)=0, (0,2)=1, (1,2)=2.
  EXPECT_EQ(f.m_topei[0], 1);
  EXPECT_EQ(f.m_topei[1], 2);
  EXPECT_EQ(f.m_topei[2], 0);
  EXPECT_EQ(f.m_topei[3], 0);
  EXPECT_EQ(f.m_reve[0], 0);
  EXPECT_EQ(f.m_reve[1], 1);
  EXPECT_EQ(f.m_reve[2], 1);
  EXPECT_EQ(f.m_reve[3], 0) << "left 0, not copied from m_reve[2]";
  EXPECT_TRUE(f.IsTriangle());
}

TEST(MeshTopology, FacesWithMergedCornersAreBadButKeepTheirSides)
{
  // Vertex 3 sits on vertex 0: the quad 0,1,2,3 loses a side, and the
  // triangle 1,2,4 with 4 on 1 maps one edge twice.
  ON_Mesh m = Build({P0, P1, P2, P0, P1}, {Face(0, 1, 2, 3), Face(1, 2, 4, 4), Face(2, 3, 1, 1)});
  const ON_MeshTopology& top = m.Topology();
  ASSERT_EQ(top.TopVertexCount(), 3);
  ASSERT_EQ(top.TopEdgeCount(), 3);
  for (int f = 0; f < 2; f++)
  {
    for (int j = 0; j < 4; j++)
    {
      EXPECT_EQ(top.m_topf[f].m_topei[j], 0) << f;
      EXPECT_EQ(top.m_topf[f].m_reve[j], 0) << f;
    }
  }
  EXPECT_TRUE(top.m_topf[2].IsTriangle());
  // Edge (1,2): face 0 once, face 1 twice (sides 1->2 and 2->1), face 2 once.
  const ON_MeshTopologyEdge& e = top.m_tope[2];
  ASSERT_EQ(e.m_topvi[0], 1);
  ASSERT_EQ(e.m_topvi[1], 2);
  const std::vector<int> faces(e.m_topfi, e.m_topfi + e.m_topf_count);
  EXPECT_EQ(faces, (std::vector<int>{0, 1, 1, 2}));
  EXPECT_TRUE(top.IsValid());
}

// ---------------------------------------------------------------------------
// The fast build against a slow, plain one.

struct ReferenceTopology
{
  std::vector<int> map;
  std::vector<std::vector<int>> vi;
  std::vector<std::pair<int, int>> edges;
  std::vector<std::vector<int>> edge_faces;
  std::vector<std::vector<int>> vertex_edges;
  std::vector<std::array<int, 4>> face_edges;
  std::vector<std::array<int, 4>> face_reve;
};

bool SamePlace(const ON_3fPoint& a, const ON_3fPoint& b)
{
  return a.x == b.x && a.y == b.y && a.z == b.z;
}

bool ReferenceFaceValid(const ON_MeshFace& f, int n)
{
  for (int k = 0; k < 4; k++)
    if (f.vi[k] < 0 || f.vi[k] >= n)
      return false;
  const int a = f.vi[0], b = f.vi[1], c = f.vi[2], d = f.vi[3];
  if (a == b || b == c || a == c)
    return false;
  return c == d || (d != a && d != b);
}

ReferenceTopology Reference(const ON_Mesh& m)
{
  ReferenceTopology r;
  const int n = m.VertexCount();
  for (int i = 0; i < n; i++)
  {
    int id = -1;
    for (int j = 0; j < i && id < 0; j++)
      if (SamePlace(m.m_V[i], m.m_V[j]))
        id = r.map[j];
    if (id < 0)
    {
      id = (int)r.vi.size();
      r.vi.emplace_back();
    }
    r.map.push_back(id);
    r.vi[id].push_back(i);
  }
  std::map<std::pair<int, int>, std::vector<int>> sides;
  for (int f = 0; f < m.FaceCount(); f++)
  {
    if (!ReferenceFaceValid(m.m_F[f], n))
      continue;
    for (int j = 0; j < 4; j++)
    {
      const int a = r.map[m.m_F[f].vi[(j + 3) % 4]], b = r.map[m.m_F[f].vi[j]];
      if (a != b)
        sides[{std::min(a, b), std::max(a, b)}].push_back(f);
    }
  }
  std::map<std::pair<int, int>, int> index;
  for (const auto& s : sides)
  {
    index[s.first] = (int)r.edges.size();
    r.edges.push_back(s.first);
    r.edge_faces.push_back(s.second);
  }
  r.vertex_edges.resize(r.vi.size());
  for (int e = 0; e < (int)r.edges.size(); e++)
  {
    r.vertex_edges[r.edges[e].first].push_back(e);
    r.vertex_edges[r.edges[e].second].push_back(e);
  }
  if (r.edges.empty())
    return r;
  for (int f = 0; f < m.FaceCount(); f++)
  {
    std::array<int, 4> ei{{-1, -1, -1, -1}}, rev{{0, 0, 0, 0}};
    std::vector<int> distinct;
    if (ReferenceFaceValid(m.m_F[f], n))
    {
      for (int j = 0; j < 4; j++)
      {
        const int a = r.map[m.m_F[f].vi[(j + 3) % 4]], b = r.map[m.m_F[f].vi[j]];
        if (a == b)
          continue;
        ei[j] = index[{std::min(a, b), std::max(a, b)}];
        rev[j] = a > b ? 1 : 0;
        if (std::find(distinct.begin(), distinct.end(), ei[j]) == distinct.end())
          distinct.push_back(ei[j]);
      }
    }
    const bool triangle = m.m_F[f].vi[2] == m.m_F[f].vi[3];
    if (triangle && distinct.size() == 3)
    {
      ei[3] = ei[2];
      rev[3] = 0;
    }
    else if (triangle || distinct.size() != 4)
    {
      ei = {{0, 0, 0, 0}};
      rev = {{0, 0, 0, 0}};
    }
    r.face_edges.push_back(ei);
    r.face_reve.push_back(rev);
  }
  return r;
}

void ExpectSameAsReference(const ON_Mesh& m)
{
  const ReferenceTopology r = Reference(m);
  const ON_MeshTopology& top = m.Topology();
  if (m.VertexCount() == 0)
  {
    EXPECT_EQ(top.TopVertexCount(), 0);
    return;
  }
  ASSERT_TRUE(top.IsValid());
  ASSERT_EQ(top.m_topv_map.Count(), (int)r.map.size());
  for (int i = 0; i < (int)r.map.size(); i++)
    ASSERT_EQ(top.m_topv_map[i], r.map[i]) << "vertex " << i;
  ASSERT_EQ(top.TopVertexCount(), (int)r.vi.size());
  for (int t = 0; t < (int)r.vi.size(); t++)
  {
    const ON_MeshTopologyVertex& v = top.m_topv[t];
    ASSERT_EQ(std::vector<int>(v.m_vi, v.m_vi + v.m_v_count), r.vi[t]) << "topv " << t;
    ASSERT_EQ(std::vector<int>(v.m_topei, v.m_topei + v.m_tope_count), r.vertex_edges[t]) << "topv " << t;
  }
  ASSERT_EQ(top.TopEdgeCount(), (int)r.edges.size());
  for (int e = 0; e < (int)r.edges.size(); e++)
  {
    const ON_MeshTopologyEdge& edge = top.m_tope[e];
    ASSERT_EQ(edge.m_topvi[0], r.edges[e].first) << "edge " << e;
    ASSERT_EQ(edge.m_topvi[1], r.edges[e].second) << "edge " << e;
    ASSERT_EQ(std::vector<int>(edge.m_topfi, edge.m_topfi + edge.m_topf_count), r.edge_faces[e]) << "edge " << e;
  }
  ASSERT_EQ(top.TopFaceCount(), (int)r.face_edges.size());
  for (int f = 0; f < (int)r.face_edges.size(); f++)
  {
    for (int j = 0; j < 4; j++)
    {
      ASSERT_EQ(top.m_topf[f].m_topei[j], r.face_edges[f][j]) << "face " << f << " side " << j;
      ASSERT_EQ((int)top.m_topf[f].m_reve[j], r.face_reve[f][j]) << "face " << f << " side " << j;
    }
  }
}

TEST(MeshTopology, MatchesPlainBuildOnRandomMeshes)
{
  std::mt19937 rng(4711);
  for (int round = 0; round < 400; round++)
  {
    // Few distinct coordinates, so that many vertices share a place.
    const int n = (int)(rng() % 60);
    const int places = 1 + (int)(rng() % 30);
    ON_Mesh m;
    for (int i = 0; i < n; i++)
    {
      const int p = (int)(rng() % places);
      ON_3fPoint pt((float)(p % 5), (float)((p / 5) % 3), (float)(p / 15));
      const unsigned special = rng() % 40;
      if (special == 0)
        pt.x = kNaNf;
      else if (special == 1 && pt.y == 0.0f)
        pt.y = -0.0f;
      m.m_V.Append(pt);
    }
    const int faces = (int)(rng() % 80);
    for (int f = 0; f < faces; f++)
    {
      int vi[4];
      for (int k = 0; k < 4; k++)
      {
        const unsigned kind = rng() % 50;
        vi[k] = (kind == 0) ? -1 - (int)(rng() % 3)
            : (kind == 1)   ? n + (int)(rng() % 3)
                            : (n > 0 ? (int)(rng() % n) : 0);
      }
      if (rng() % 2)
        vi[3] = vi[2];  // triangle
      m.m_F.Append(Face(vi[0], vi[1], vi[2], vi[3]));
    }
    SCOPED_TRACE(testing::Message() << "round " << round << ": " << n << " vertices, " << faces << " faces");
    ExpectSameAsReference(m);
    if (testing::Test::HasFatalFailure())
      return;
  }
}

TEST(MeshTopology, MatchesPlainBuildOnAFanAroundOneVertex)
{
  // One vertex on every face: its bucket holds far more sides than usual.
  ON_Mesh m;
  m.SetVertex(0, ON_3fPoint(0, 0, 0));
  const int spokes = 300;
  for (int i = 0; i < spokes; i++)
  {
    const double a = 2.0 * ON_PI * i / spokes;
    m.SetVertex(i + 1, ON_3dPoint(std::cos(a), std::sin(a), 0.0));
  }
  for (int i = 0; i < spokes; i++)
    m.SetTriangle(i, 0, 1 + i, 1 + (i + 1) % spokes);
  // Duplicates of some rim vertices, used by a second ring of triangles.
  for (int i = 0; i < spokes; i += 3)
  {
    const int dup = m.VertexCount();
    m.SetVertex(dup, m.m_V[1 + i]);
    m.SetTriangle(m.FaceCount(), dup, 0, 1 + (i + 2) % spokes);
  }
  ExpectSameAsReference(m);
  // The duplicates weld onto the rim, so the centre keeps one edge per spoke.
  EXPECT_EQ(m.Topology().m_topv[0].m_tope_count, spokes);
  EXPECT_EQ(m.Topology().TopEdgeCount(), 2 * spokes + spokes / 3);
}
}  // namespace
