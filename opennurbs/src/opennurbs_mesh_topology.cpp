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
// All lists of the result point into three shared pools. Large blocks are
// given huge pages where the system offers them, which saves most of the
// page faults of a big mesh.
#include "opennurbs_mesh.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <memory>
#include <new>
#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

namespace
{
// Large blocks ask the kernel for huge pages: far fewer page faults when a
// big mesh's topology is built in fresh memory.
void AdviseHugePages(void* p, size_t bytes)
{
#if defined(MADV_HUGEPAGE)
  const size_t huge = (size_t)2 << 20;
  if (p == nullptr || bytes < 2 * huge)
    return;
  const uintptr_t begin = ((uintptr_t)p + huge - 1) & ~(uintptr_t)(huge - 1);
  const uintptr_t end = ((uintptr_t)p + bytes) & ~(uintptr_t)(huge - 1);
  if (end > begin)
    madvise((void*)begin, end - begin, MADV_HUGEPAGE);
#endif
}

void* AllocateBlock(size_t n, size_t size, bool zero)
{
  void* p = zero ? std::calloc(n, size) : std::malloc(n * size);
  if (p == nullptr)
    throw std::bad_alloc();
  AdviseHugePages(p, n * size);
  return p;
}

struct FreeBlock
{
  void operator()(void* p) const
  {
    std::free(p);
  }
};

struct WeldSlot
{
  ON__UINT32 k[3];
  ON__INT32 id;  // -1: empty
};

inline ON__UINT32 KeyBits(float f)
{
  ON__UINT32 u;
  std::memcpy(&u, &f, sizeof(u));
  return (u == 0x80000000u) ? 0u : u;  // -0 == +0
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

// Open-addressing table of welded positions, power-of-two sized, grown by
// doubling when it is 70% full.
class WeldTable
{
public:
  // `scratch` (of `scratch_slots` slots) is used when it is large enough.
  WeldTable(size_t expected, WeldSlot* scratch, size_t scratch_slots)
  {
    m_bits = 4;
    while (((size_t)1 << m_bits) < expected)
      m_bits++;
    if (((size_t)1 << m_bits) <= scratch_slots)
      m_slots = scratch;
    else
      m_slots = m_own = (WeldSlot*)AllocateBlock((size_t)1 << m_bits, sizeof(WeldSlot), false);
    if (m_slots == nullptr)
      throw std::bad_alloc();
    Clear();
  }
  ~WeldTable()
  {
    std::free(m_own);
  }
  static size_t InitialBytes(size_t expected)
  {
    size_t size = 16;
    while (size < expected)
      size *= 2;
    return size * sizeof(WeldSlot);
  }
  WeldTable(const WeldTable&) = delete;
  WeldTable& operator=(const WeldTable&) = delete;

  size_t Home(ON__UINT64 hash) const
  {
    return (size_t)(hash >> (64 - m_bits));
  }
  void Prefetch(ON__UINT64 hash) const
  {
    __builtin_prefetch(m_slots + Home(hash));
  }

  // The id of the position k, inserting it with id `next` when it is new.
  int Find(const ON__UINT32 k[3], ON__UINT64 hash, int next)
  {
    const size_t mask = ((size_t)1 << m_bits) - 1;
    for (size_t s = Home(hash);; s = (s + 1) & mask)
    {
      WeldSlot& slot = m_slots[s];
      if (slot.id < 0)
      {
        slot.k[0] = k[0];
        slot.k[1] = k[1];
        slot.k[2] = k[2];
        slot.id = next;
        if (++m_used * 10 > mask * 7)
          Grow();
        return next;
      }
      if (slot.k[0] == k[0] && slot.k[1] == k[1] && slot.k[2] == k[2])
        return slot.id;
    }
  }

private:
  void Clear()
  {
    std::memset((void*)m_slots, 0xFF, ((size_t)1 << m_bits) * sizeof(WeldSlot));
  }

  void Grow()
  {
    const size_t old_size = (size_t)1 << m_bits;
    WeldSlot* old = m_slots;
    WeldSlot* old_own = m_own;
    WeldSlot* grown = (WeldSlot*)AllocateBlock(2 * old_size, sizeof(WeldSlot), false);
    m_slots = m_own = grown;
    m_bits++;
    Clear();
    const size_t mask = ((size_t)1 << m_bits) - 1;
    for (size_t i = 0; i < old_size; i++)
    {
      if (old[i].id < 0)
        continue;
      size_t s = Home(HashKey(old[i].k));
      while (m_slots[s].id >= 0)
        s = (s + 1) & mask;
      m_slots[s] = old[i];
    }
    std::free(old_own);
  }

  WeldSlot* m_slots = nullptr;
  WeldSlot* m_own = nullptr;
  int m_bits = 0;
  size_t m_used = 0;
};

inline bool LoadKey(const ON_3fPoint& p, ON__UINT32 k[3])
{
  if (std::isnan(p.x) || std::isnan(p.y) || std::isnan(p.z))
    return false;
  k[0] = KeyBits(p.x);
  k[1] = KeyBits(p.y);
  k[2] = KeyBits(p.z);
  return true;
}

// Fills map[0..n) with group ids numbered by first appearance and returns the
// number of groups.
int WeldVertices(const ON_3fPoint* V, int n, int* map, void* scratch, size_t scratch_bytes)
{
  // Meshes usually share most positions between a few vertices; the table
  // starts at half the vertex count and grows when needed.
  WeldTable table((size_t)n / 2 + 16, (WeldSlot*)scratch, scratch_bytes / sizeof(WeldSlot));
  // Hashes are computed `lookahead` vertices ahead so that the table slot
  // can be fetched from memory while earlier vertices are handled.
  const int lookahead = 32;
  ON__UINT64 ring[lookahead];
  bool ring_ok[lookahead];
  for (int i = 0; i < lookahead && i < n; i++)
  {
    ON__UINT32 k[3];
    ring_ok[i] = LoadKey(V[i], k);
    ring[i] = ring_ok[i] ? HashKey(k) : 0;
    if (ring_ok[i])
      table.Prefetch(ring[i]);
  }
  int count = 0;
  for (int i = 0; i < n; i++)
  {
    const int r = i % lookahead;
    const bool ok = ring_ok[r];
    const ON__UINT64 hash = ring[r];
    if (i + lookahead < n)
    {
      ON__UINT32 k[3];
      ring_ok[r] = LoadKey(V[i + lookahead], k);
      ring[r] = ring_ok[r] ? HashKey(k) : 0;
      if (ring_ok[r])
        table.Prefetch(ring[r]);
    }
    if (!ok)
    {
      map[i] = count++;  // NaN is equal to nothing
      continue;
    }
    const ON_3fPoint& p = V[i];
    const ON__UINT32 k[3] = {KeyBits(p.x), KeyBits(p.y), KeyBits(p.z)};
    const int id = table.Find(k, hash, count);
    if (id == count)
      count++;
    map[i] = id;
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
  return ((ON__UINT64)(ON__UINT32)hi << 32) | ((ON__UINT64)fi << 3) | ((ON__UINT64)j << 1) | (ON__UINT64)rev;
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
// Gives `array` n elements of fresh memory, zero-filled only when asked.
template <class T> T* AllocateArray(ON_SimpleArray<T>& array, size_t n, bool zero)
{
  if (n == 0)
  {
    array.Destroy();
    return nullptr;
  }
  T* a = (T*)AllocateBlock(n, sizeof(T), zero);
  array.SetArray(a, (int)n, (int)n);
  return a;
}

// Calls side(fi, j, a, b) for every side j of every valid face fi: side j
// runs from topology vertex a (of corner j-1, cyclically) to b (of corner j).
template <class Side> void ForEachFaceSide(const ON_MeshFace* F, int fcount, int vcount, const int* map, Side side)
{
  for (int fi = 0; fi < fcount; fi++)
  {
    const ON_MeshFace& f = F[fi];
    if (!f.IsValid(vcount))
      continue;
    const int t[4] = {map[f.vi[0]], map[f.vi[1]], map[f.vi[2]], map[f.vi[3]]};
    for (int j = 0; j < 4; j++)
      side(fi, j, t[(j + 3) & 3], t[j]);
  }
}
}  // namespace

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
  int* map = AllocateArray(m_topv_map, (size_t)vcount, false);
  // One scratch block serves first the weld table, then the side keys, so
  // that the second phase reuses memory the first has already touched.
  const size_t scratch_bytes =
      std::max(WeldTable::InitialBytes((size_t)vcount / 2 + 16), (size_t)fcount * 4 * sizeof(ON__UINT64));
  std::unique_ptr<ON__UINT64, FreeBlock> scratch(
      (ON__UINT64*)AllocateBlock(scratch_bytes / sizeof(ON__UINT64) + 1, sizeof(ON__UINT64), false));
  const int tvcount = WeldVertices(V, vcount, map, scratch.get(), scratch_bytes);

  ON_MeshTopologyVertex* topv = AllocateArray(m_topv, (size_t)tvcount, true);
  int* vi_pool = AllocateArray(m_vi_pool, (size_t)vcount, false);
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
  // Side counts fit 32 bits: at most 4 sides per face, under 2^31 faces / 4.
  std::unique_ptr<ON__UINT32[]> bucket(new ON__UINT32[(size_t)tvcount + 1]);
  std::fill(bucket.get(), bucket.get() + tvcount + 1, (ON__UINT32)0);
  ForEachFaceSide(F, fcount, vcount, map,
                  [&](int, int, int a, int b)
                  {
                    if (a != b)
                      bucket[(a < b ? a : b) + 1]++;
                  });
  for (int t = 0; t < tvcount; t++)
    bucket[t + 1] += bucket[t];
  const size_t side_count = bucket[tvcount];
  if (side_count == 0)
    return true;

  ON__UINT64* sides = scratch.get();
  {
    std::unique_ptr<ON__UINT32[]> cursor(new ON__UINT32[(size_t)tvcount]);
    std::memcpy(cursor.get(), bucket.get(), (size_t)tvcount * sizeof(ON__UINT32));
    ForEachFaceSide(F, fcount, vcount, map,
                    [&](int fi, int j, int a, int b)
                    {
                      if (a < b)
                        sides[cursor[a]++] = SideKey(b, (ON__UINT32)fi, j, 0);
                      else if (b < a)
                        sides[cursor[b]++] = SideKey(a, (ON__UINT32)fi, j, 1);
                    });
  }

  // Sort each bucket and count the edges.
  size_t edge_count = 0;
  for (int t = 0; t < tvcount; t++)
  {
    ON__UINT64* a = sides + bucket[t];
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
  ON_MeshTopologyEdge* tope = AllocateArray(m_tope, edge_count, false);
  int* topfi_pool = AllocateArray(m_topfi_pool, side_count, false);
  ON_MeshTopologyFace* topf = AllocateArray(m_topf, (size_t)fcount, true);
  {
    int e = -1;
    for (int t = 0; t < tvcount; t++)
    {
      int current_hi = -1;
      for (ON__UINT32 p = bucket[t]; p < bucket[t + 1]; p++)
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
  scratch.reset();
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
  int* topei_pool = AllocateArray(m_topei_pool, 2 * edge_count, false);
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
