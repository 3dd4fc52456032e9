// Building the topology of a mesh.
//
// 1. Vertices are welded with a hash table keyed on their exact float
//    coordinates (-0 folded onto +0; a NaN vertex never matches). Walking the
//    vertices in index order numbers the groups by first appearance.
// 2. Every side of every valid face whose ends fall on two different
//    topology vertices is bucketed by its smaller topology vertex (a counting
//    sort), and each bucket is sorted by (larger vertex, face, side). Runs of
//    equal vertex pairs are the edges, already in lexicographic order, and
//    the sides of a run list the faces on that edge in ascending order.
// All lists of the result point into three shared pools.
#include "opennurbs_mesh.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>

namespace
{
struct WeldSlot
{
  ON__UINT32 k[3];
  ON__INT32 id; // -1: empty
};

inline ON__UINT32 KeyBits(float f)
{
  ON__UINT32 u;
  std::memcpy(&u, &f, sizeof(u));
  return (u == 0x80000000u) ? 0u : u; // -0 == +0
}

inline ON__UINT64 HashKey(const ON__UINT32 k[3])
{
  ON__UINT64 h = ((ON__UINT64)k[0] << 32 | k[1]) * 0x9E3779B97F4A7C15ull;
  h ^= (ON__UINT64)k[2] * 0xC2B2AE3D27D4EB4Full;
  h ^= h >> 29;
  h *= 0xBF58476D1CE4E5B9ull;
  h ^= h >> 32;
  return h;
}

// Fills map[0..n) with group ids numbered by first appearance and returns the
// number of groups.
int WeldVertices(const ON_3fPoint* V, int n, int* map)
{
  const size_t table_size = (size_t)n + (size_t)n / 2 + 16;
  std::unique_ptr<WeldSlot[]> table(new WeldSlot[table_size]);
  std::memset((void*)table.get(), 0xFF, table_size * sizeof(WeldSlot));
  std::unique_ptr<ON__UINT32[]> home(new ON__UINT32[(size_t)n]);

  for (int i = 0; i < n; i++)
  {
    ON__UINT32 k[3] = {KeyBits(V[i].x), KeyBits(V[i].y), KeyBits(V[i].z)};
    // Map the hash onto [0, table_size) without a division.
    home[i] = (ON__UINT32)(((HashKey(k) >> 32) * (ON__UINT64)table_size) >> 32);
  }

  const int lookahead = 16;
  int count = 0;
  for (int i = 0; i < n; i++)
  {
    if (i + lookahead < n)
      __builtin_prefetch(&table[home[i + lookahead]]);
    const ON_3fPoint& p = V[i];
    if (std::isnan(p.x) || std::isnan(p.y) || std::isnan(p.z))
    {
      map[i] = count++; // NaN is equal to nothing
      continue;
    }
    const ON__UINT32 k0 = KeyBits(p.x), k1 = KeyBits(p.y), k2 = KeyBits(p.z);
    size_t s = home[i];
    for (;;)
    {
      WeldSlot& slot = table[s];
      if (slot.id < 0)
      {
        slot.k[0] = k0;
        slot.k[1] = k1;
        slot.k[2] = k2;
        slot.id = count;
        map[i] = count++;
        break;
      }
      if (slot.k[0] == k0 && slot.k[1] == k1 && slot.k[2] == k2)
      {
        map[i] = slot.id;
        break;
      }
      if (++s == table_size)
        s = 0;
    }
  }
  return count;
}

// A side of a face on its way to becoming part of an edge, packed so that
// sorting the keys orders the sides by (larger vertex, face, corner):
// bits 32..63 the larger topology vertex, then the face, the corner j of the
// side (it runs from corner (j+3)%4 to corner j) and whether it runs from the
// larger vertex to the smaller.
inline ON__UINT64 SideKey(int hi, ON__UINT32 fi, int j, int rev)
{
  return ((ON__UINT64)(ON__UINT32)hi << 32) | ((ON__UINT64)fi << 3) | ((ON__UINT64)j << 1) |
         (ON__UINT64)rev;
}

void SortBucket(ON__UINT64* a, size_t n)
{
  if (n < 24)
  {
    for (size_t i = 1; i < n; i++)
    {
      const ON__UINT64 x = a[i];
      size_t j = i;
      for (; j > 0 && a[j - 1] > x; j--)
        a[j] = a[j - 1];
      a[j] = x;
    }
  }
  else
  {
    std::sort(a, a + n);
  }
}
} // namespace

void ON_MeshTopology::Destroy()
{
  m_mesh = nullptr;
  m_topv_map.Destroy();
  m_topv.Destroy();
  m_tope.Destroy();
  m_topf.Destroy();
  m_vi_pool.Destroy();
  m_topei_pool.Destroy();
  m_topfi_pool.Destroy();
}

bool ON_MeshTopology::Create(const ON_Mesh& mesh)
{
  Destroy();
  m_mesh = &mesh;
  const int vcount = mesh.m_V.Count();
  const int fcount = mesh.m_F.Count();
  // Faces are packed into 29 bits of a sort key.
  if (vcount <= 0 || fcount < 0 || fcount > (INT_MAX >> 2))
    return false;
  const ON_3fPoint* V = mesh.m_V.Array();
  const ON_MeshFace* F = mesh.m_F.Array();

  // Vertices.
  m_topv_map.SetCapacity((size_t)vcount);
  m_topv_map.SetCount(vcount);
  int* map = m_topv_map.Array();
  const int tvcount = WeldVertices(V, vcount, map);

  m_topv.SetCapacity((size_t)tvcount);
  m_topv.SetCount(tvcount);
  ON_MeshTopologyVertex* topv = m_topv.Array();
  m_vi_pool.SetCapacity((size_t)vcount);
  m_vi_pool.SetCount(vcount);
  int* vi_pool = m_vi_pool.Array();
  {
    // topv is zero-filled; m_tope_count doubles as a fill cursor here.
    for (int i = 0; i < vcount; i++)
      topv[map[i]].m_v_count++;
    int offset = 0;
    for (int t = 0; t < tvcount; t++)
    {
      topv[t].m_vi = vi_pool + offset;
      offset += topv[t].m_v_count;
    }
    for (int i = 0; i < vcount; i++)
    {
      ON_MeshTopologyVertex& v = topv[map[i]];
      vi_pool[(v.m_vi - vi_pool) + v.m_tope_count++] = i;
    }
    for (int t = 0; t < tvcount; t++)
      topv[t].m_tope_count = 0;
  }
  if (tvcount < 2 || fcount == 0)
    return true;

  // Sides of the valid faces, bucketed by their smaller topology vertex.
  std::unique_ptr<size_t[]> bucket(new size_t[(size_t)tvcount + 1]);
  std::fill(bucket.get(), bucket.get() + tvcount + 1, (size_t)0);
  for (int fi = 0; fi < fcount; fi++)
  {
    const ON_MeshFace& f = F[fi];
    if (!f.IsValid(vcount))
      continue;
    const int t[4] = {map[f.vi[0]], map[f.vi[1]], map[f.vi[2]], map[f.vi[3]]};
    for (int j = 0; j < 4; j++)
    {
      const int a = t[(j + 3) & 3], b = t[j];
      if (a != b)
        bucket[(a < b ? a : b) + 1]++;
    }
  }
  for (int t = 0; t < tvcount; t++)
    bucket[t + 1] += bucket[t];
  const size_t side_count = bucket[tvcount];
  if (side_count == 0)
    return true;

  std::unique_ptr<ON__UINT64[]> sides(new ON__UINT64[side_count]);
  {
    std::unique_ptr<size_t[]> cursor(new size_t[(size_t)tvcount]);
    std::memcpy(cursor.get(), bucket.get(), (size_t)tvcount * sizeof(size_t));
    for (int fi = 0; fi < fcount; fi++)
    {
      const ON_MeshFace& f = F[fi];
      if (!f.IsValid(vcount))
        continue;
      const int t[4] = {map[f.vi[0]], map[f.vi[1]], map[f.vi[2]], map[f.vi[3]]};
      for (int j = 0; j < 4; j++)
      {
        const int a = t[(j + 3) & 3], b = t[j];
        if (a < b)
          sides[cursor[a]++] = SideKey(b, (ON__UINT32)fi, j, 0);
        else if (b < a)
          sides[cursor[b]++] = SideKey(a, (ON__UINT32)fi, j, 1);
      }
    }
  }

  // Sort each bucket and count the edges.
  size_t edge_count = 0;
  for (int t = 0; t < tvcount; t++)
  {
    ON__UINT64* a = sides.get() + bucket[t];
    const size_t n = bucket[t + 1] - bucket[t];
    if (n == 0)
      continue;
    SortBucket(a, n);
    edge_count++;
    for (size_t i = 1; i < n; i++)
      if ((a[i] >> 32) != (a[i - 1] >> 32))
        edge_count++;
  }

  // Edges, the faces on them, and the faces' edges (stored as edge + 1 for
  // now, so that 0 marks a side that gave no edge).
  m_tope.SetCapacity(edge_count);
  m_tope.SetCount((int)edge_count);
  m_topfi_pool.SetCapacity(side_count);
  m_topfi_pool.SetCount((int)side_count);
  m_topf.SetCapacity((size_t)fcount);
  m_topf.SetCount(fcount);
  ON_MeshTopologyEdge* tope = m_tope.Array();
  int* topfi_pool = m_topfi_pool.Array();
  ON_MeshTopologyFace* topf = m_topf.Array();
  {
    int e = -1;
    for (int t = 0; t < tvcount; t++)
    {
      int current_hi = -1;
      for (size_t p = bucket[t]; p < bucket[t + 1]; p++)
      {
        const ON__UINT64 key = sides[p];
        const int hi = (int)(key >> 32);
        const int fi = (int)((key >> 3) & 0x1FFFFFFF);
        const int j = (int)((key >> 1) & 3);
        if (hi != current_hi)
        {
          current_hi = hi;
          ON_MeshTopologyEdge& edge = tope[++e];
          edge.m_topvi[0] = t;
          edge.m_topvi[1] = hi;
          edge.m_topf_count = 0;
          edge.m_topfi = topfi_pool + p;
        }
        tope[e].m_topf_count++;
        topfi_pool[p] = fi;
        topf[fi].m_topei[j] = e + 1;
        topf[fi].m_reve[j] = (char)(key & 1);
      }
    }
  }
  sides.reset();
  bucket.reset();

  // Keep the face records of faces whose sides gave 3 (triangle) or 4 (quad)
  // distinct edges; every other face gets all zeros.
  for (int fi = 0; fi < fcount; fi++)
  {
    ON_MeshTopologyFace& f = topf[fi];
    int* ei = f.m_topei;
    int distinct = 0;
    for (int j = 0; j < 4; j++)
    {
      if (ei[j] == 0)
        continue;
      bool repeat = false;
      for (int k = 0; k < j; k++)
        repeat = repeat || (ei[k] == ei[j]);
      if (!repeat)
        distinct++;
    }
    const bool triangle = F[fi].vi[2] == F[fi].vi[3];
    if ((triangle && distinct == 3 && ei[3] == 0) || (!triangle && distinct == 4))
    {
      ei[0]--;
      ei[1]--;
      ei[2]--;
      if (triangle)
      {
        ei[3] = ei[2];
        f.m_reve[3] = 0;
      }
      else
      {
        ei[3]--;
      }
    }
    else
    {
      std::memset((void*)&f, 0, sizeof(f));
    }
  }

  // The edges at each vertex, in ascending edge order.
  m_topei_pool.SetCapacity(2 * edge_count);
  m_topei_pool.SetCount((int)(2 * edge_count));
  int* topei_pool = m_topei_pool.Array();
  for (size_t e = 0; e < edge_count; e++)
  {
    topv[tope[e].m_topvi[0]].m_tope_count++;
    topv[tope[e].m_topvi[1]].m_tope_count++;
  }
  {
    int offset = 0;
    for (int t = 0; t < tvcount; t++)
    {
      topv[t].m_topei = (topv[t].m_tope_count > 0) ? topei_pool + offset : nullptr;
      offset += topv[t].m_tope_count;
      topv[t].m_tope_count = 0;
    }
  }
  for (size_t e = 0; e < edge_count; e++)
  {
    for (int k = 0; k < 2; k++)
    {
      ON_MeshTopologyVertex& v = topv[tope[e].m_topvi[k]];
      topei_pool[(v.m_topei - topei_pool) + v.m_tope_count++] = (int)e;
    }
  }
  return true;
}

bool ON_MeshTopology::IsValid() const
{
  if (m_mesh == nullptr)
    return false;
  const int vcount = m_mesh->m_V.Count();
  const int fcount = m_mesh->m_F.Count();
  const int tvcount = m_topv.Count();
  const int ecount = m_tope.Count();
  if (vcount <= 0 || tvcount <= 0 || tvcount > vcount || m_topv_map.Count() != vcount)
    return false;
  if (m_topf.Count() != 0 && m_topf.Count() != fcount)
    return false;
  if (m_topf.Count() == 0 && ecount != 0)
    return false;

  int listed = 0;
  for (int t = 0; t < tvcount; t++)
  {
    const ON_MeshTopologyVertex& v = m_topv[t];
    if (v.m_v_count < 1 || v.m_vi == nullptr || v.m_tope_count < 0)
      return false;
    for (int k = 0; k < v.m_v_count; k++)
    {
      const int vi = v.m_vi[k];
      if (vi < 0 || vi >= vcount || m_topv_map[vi] != t || (k > 0 && vi <= v.m_vi[k - 1]))
        return false;
    }
    listed += v.m_v_count;
    if (v.m_tope_count > 0 && v.m_topei == nullptr)
      return false;
    for (int k = 0; k < v.m_tope_count; k++)
    {
      const int ei = v.m_topei[k];
      if (ei < 0 || ei >= ecount || (k > 0 && ei <= v.m_topei[k - 1]))
        return false;
      if (m_tope[ei].m_topvi[0] != t && m_tope[ei].m_topvi[1] != t)
        return false;
    }
  }
  if (listed != vcount)
    return false;

  for (int e = 0; e < ecount; e++)
  {
    const ON_MeshTopologyEdge& edge = m_tope[e];
    if (edge.m_topvi[0] < 0 || edge.m_topvi[0] >= edge.m_topvi[1] || edge.m_topvi[1] >= tvcount)
      return false;
    if (e > 0)
    {
      const ON_MeshTopologyEdge& prev = m_tope[e - 1];
      if (prev.m_topvi[0] > edge.m_topvi[0] ||
          (prev.m_topvi[0] == edge.m_topvi[0] && prev.m_topvi[1] >= edge.m_topvi[1]))
        return false;
    }
    if (edge.m_topf_count < 1 || edge.m_topfi == nullptr)
      return false;
    for (int k = 0; k < edge.m_topf_count; k++)
    {
      const int fi = edge.m_topfi[k];
      if (fi < 0 || fi >= fcount || (k > 0 && fi < edge.m_topfi[k - 1]))
        return false;
    }
  }

  // Every edge of a kept face joins the right corners in the right direction.
  const ON_MeshFace* F = m_mesh->m_F.Array();
  for (int fi = 0; fi < m_topf.Count(); fi++)
  {
    const ON_MeshTopologyFace& f = m_topf[fi];
    if (!f.IsValid())
      continue;
    if (!F[fi].IsValid(vcount))
      return false;
    const int sides = F[fi].IsTriangle() ? 3 : 4;
    for (int j = 0; j < sides; j++)
    {
      const int ei = f.m_topei[j];
      if (ei < 0 || ei >= ecount)
        return false;
      const int from = m_topv_map[F[fi].vi[(j + 3) & 3]];
      const int to = m_topv_map[F[fi].vi[j]];
      const ON_MeshTopologyEdge& edge = m_tope[ei];
      const int r = f.m_reve[j] ? 1 : 0;
      if (edge.m_topvi[r] != from || edge.m_topvi[1 - r] != to)
        return false;
    }
  }
  return true;
}
