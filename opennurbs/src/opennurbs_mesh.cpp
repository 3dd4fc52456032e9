#include "opennurbs_mesh.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <vector>

const ON_MeshFace ON_MeshFace::UnsetMeshFace = {{-1, -1, -1, -1}};

namespace
{
// Index test shared by the int and unsigned overloads: c is the vertex count
// and every index is taken as unsigned, so a negative one is out of range.
bool FaceIndicesValid(const int vi[4], unsigned int c)
{
  if ((unsigned int)vi[0] >= c || (unsigned int)vi[1] >= c || (unsigned int)vi[2] >= c || (unsigned int)vi[3] >= c)
    return false;
  if (vi[0] == vi[1] || vi[1] == vi[2] || vi[2] == vi[0])
    return false;
  if (vi[2] != vi[3] && (vi[3] == vi[0] || vi[3] == vi[1]))
    return false;
  return true;
}

template <class P> bool FaceCornersDistinct(const int vi[4], const P* V)
{
  const P& a = V[vi[0]];
  const P& b = V[vi[1]];
  const P& c = V[vi[2]];
  if (a == b || b == c || c == a)
    return false;
  if (vi[2] != vi[3])
  {
    const P& d = V[vi[3]];
    if (d == a || d == b || d == c)
      return false;
  }
  return true;
}
}  // namespace

bool ON_MeshFace::IsValid(int mesh_vertex_count) const
{
  return mesh_vertex_count > 0 && FaceIndicesValid(vi, (unsigned int)mesh_vertex_count);
}

bool ON_MeshFace::IsValid(unsigned int mesh_vertex_count) const
{
  return FaceIndicesValid(vi, mesh_vertex_count);
}

bool ON_MeshFace::IsValid(int mesh_vertex_count, const ON_3fPoint* V) const
{
  if (!IsValid(mesh_vertex_count))
    return false;
  return V == nullptr || FaceCornersDistinct(vi, V);
}

bool ON_MeshFace::IsValid(int mesh_vertex_count, const ON_3dPoint* V) const
{
  if (!IsValid(mesh_vertex_count))
    return false;
  return V == nullptr || FaceCornersDistinct(vi, V);
}

bool ON_MeshFace::Repair(int mesh_vertex_count)
{
  return Repair(mesh_vertex_count, nullptr);
}

bool ON_MeshFace::Repair(int mesh_vertex_count, const ON_3fPoint* V)
{
  int kept[4];
  int n = 0;
  for (int k = 0; k < 4; k++)
  {
    const int v = vi[k];
    if (v < 0 || v >= mesh_vertex_count)
      continue;
    if (V != nullptr && !V[v].IsValid())
      continue;
    bool seen = false;
    for (int j = 0; j < n && !seen; j++)
      seen = (kept[j] == v) || (V != nullptr && V[kept[j]] == V[v]);
    if (!seen)
      kept[n++] = v;
  }
  if (n < 3)
    return false;
  vi[0] = kept[0];
  vi[1] = kept[1];
  vi[2] = kept[2];
  vi[3] = (n == 4) ? kept[3] : kept[2];
  return true;
}

ON_Mesh::ON_Mesh(int initial_face_array_capacity, int initial_vertex_array_capacity, bool has_vertex_normals,
                 bool has_texture_coordinates)
{
  if (initial_face_array_capacity > 0)
    m_F.Reserve((size_t)initial_face_array_capacity);
  if (initial_vertex_array_capacity > 0)
    m_V.Reserve((size_t)initial_vertex_array_capacity);
}

ON_Mesh::ON_Mesh(const ON_Mesh& src) : ON_Geometry(src), m_V(src.m_V), m_F(src.m_F) {}

ON_Mesh& ON_Mesh::operator=(const ON_Mesh& src)
{
  if (this != &src)
  {
    DestroyTopology();
    m_V = src.m_V;
    m_F = src.m_F;
  }
  return *this;
}

ON_Mesh::ON_Mesh(ON_Mesh&& src) noexcept : ON_Geometry(src), m_V(std::move(src.m_V)), m_F(std::move(src.m_F))
{
  src.DestroyTopology();
}

ON_Mesh& ON_Mesh::operator=(ON_Mesh&& src) noexcept
{
  if (this != &src)
  {
    DestroyTopology();
    src.DestroyTopology();
    m_V = std::move(src.m_V);
    m_F = std::move(src.m_F);
  }
  return *this;
}

ON_Mesh::~ON_Mesh() = default;

void ON_Mesh::Destroy()
{
  DestroyTopology();
  m_V.Destroy();
  m_F.Destroy();
}

void ON_Mesh::DestroyRuntimeCache(bool bDelete)
{
  DestroyTopology();
}

bool ON_Mesh::IsValid(ON_TextLog* text_log) const
{
  const int vcount = m_V.Count();
  const int fcount = m_F.Count();
  const ON_MeshFace* F = m_F.Array();
  for (int fi = 0; fi < fcount; fi++)
  {
    const int* vi = F[fi].vi;
    if ((unsigned int)vi[0] >= (unsigned int)vcount || (unsigned int)vi[1] >= (unsigned int)vcount ||
        (unsigned int)vi[2] >= (unsigned int)vcount || (unsigned int)vi[3] >= (unsigned int)vcount)
      return false;  // m_F[] has out of range vertex indices
  }
  if (fcount < 1 || vcount < 3)
    return false;
  const ON_3fPoint* V = m_V.Array();
  for (int fi = 0; fi < fcount; fi++)
  {
    if (!F[fi].IsValid(vcount, V))
      return false;
  }
  return true;
}

bool ON_Mesh::SetVertex(int vertex_index, const ON_3dPoint& vertex_location)
{
  return SetVertex(vertex_index, ON_3fPoint(vertex_location));
}

bool ON_Mesh::SetVertex(int vertex_index, const ON_3fPoint& vertex_location)
{
  const int vcount = m_V.Count();
  if (vertex_index < 0 || vertex_index > vcount)
    return false;
  if (vertex_index == vcount)
    m_V.Append(vertex_location);
  else
    m_V[vertex_index] = vertex_location;
  return true;
}

bool ON_Mesh::SetTriangle(int face_index, int a, int b, int c)
{
  return SetQuad(face_index, a, b, c, c);
}

bool ON_Mesh::SetQuad(int face_index, int a, int b, int c, int d)
{
  const int fcount = m_F.Count();
  if (face_index < 0 || face_index > fcount)
    return false;
  ON_MeshFace f;
  f.vi[0] = a;
  f.vi[1] = b;
  f.vi[2] = c;
  f.vi[3] = d;
  if (face_index == fcount)
    m_F.Append(f);
  else
    m_F[face_index] = f;
  return f.IsValid(m_V.Count());
}

const ON_MeshTopology& ON_Mesh::Topology() const
{
  if (!TopologyExists())
  {
    try
    {
      m_top.Create(*this);
    }
    catch (const std::bad_alloc&)
    {
      // Out of memory: no topology rather than a partial one.
      m_top.Destroy();
      m_top.m_mesh = this;
    }
  }
  return m_top;
}

bool ON_Mesh::TopologyExists() const
{
  return m_top.m_mesh == this && m_top.m_topv.Count() > 0;
}

void ON_Mesh::DestroyTopology()
{
  m_top.Destroy();
}

namespace
{
// Drops the faces whose keep[] entry is false, keeping the order.
int RemoveFaces(ON_SimpleArray<ON_MeshFace>& F, const std::vector<char>& keep)
{
  const int fcount = F.Count();
  int n = 0;
  for (int fi = 0; fi < fcount; fi++)
    if (keep[(size_t)fi])
      F[n++] = F[fi];
  F.SetCount(n);
  return fcount - n;
}

inline ON__UINT32 LocationBits(float f)
{
  ON__UINT32 u;
  std::memcpy(&u, &f, sizeof(u));
  return (u == 0x80000000u) ? 0u : u;  // -0 == +0
}

// Location ids: vertices at exactly the same valid place share an id;
// invalid points (NaN, infinite or in the unset range) all get -1.
std::vector<int> LocationIds(const ON_3fPoint* V, int n)
{
  std::vector<int> order;
  order.reserve((size_t)n);
  for (int i = 0; i < n; i++)
    if (V[i].IsValid())
      order.push_back(i);
  auto key = [V](int i) {
    return std::array<ON__UINT32, 3>{{LocationBits(V[i].x), LocationBits(V[i].y), LocationBits(V[i].z)}};
  };
  std::sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
  std::vector<int> id((size_t)n, -1);
  int next = -1;
  for (size_t k = 0; k < order.size(); k++)
  {
    if (k == 0 || key(order[k]) != key(order[k - 1]))
      next++;
    id[(size_t)order[k]] = next;
  }
  return id;
}

// Length of the cross product of (b - a) and (c - a), in double precision.
double CrossLength(const ON_3fPoint& a, const ON_3fPoint& b, const ON_3fPoint& c)
{
  const ON_3dVector u = ON_3dPoint(b) - ON_3dPoint(a);
  const ON_3dVector v = ON_3dPoint(c) - ON_3dPoint(a);
  return ON_CrossProduct(u, v).Length();
}
}  // namespace

int ON_Mesh::CullUnusedVertices()
{
  const int vcount = m_V.Count();
  const int fcount = m_F.Count();
  std::vector<char> keep((size_t)fcount, 1);
  for (int fi = 0; fi < fcount; fi++)
    for (int k = 0; k < 4; k++)
      if ((unsigned int)m_F[fi].vi[k] >= (unsigned int)vcount)
        keep[(size_t)fi] = 0;
  const int faces_removed = RemoveFaces(m_F, keep);

  std::vector<int> remap((size_t)vcount, -1);
  for (int fi = 0; fi < m_F.Count(); fi++)
    for (int k = 0; k < 4; k++)
      remap[(size_t)m_F[fi].vi[k]] = 0;
  int used = 0;
  for (int vi = 0; vi < vcount; vi++)
  {
    if (remap[(size_t)vi] < 0)
      continue;
    remap[(size_t)vi] = used;
    m_V[used++] = m_V[vi];
  }
  const int removed = vcount - used;
  if (removed > 0 || faces_removed > 0)
  {
    DestroyTopology();
    m_V.SetCount(used);
    for (int fi = 0; fi < m_F.Count(); fi++)
      for (int k = 0; k < 4; k++)
        m_F[fi].vi[k] = remap[(size_t)m_F[fi].vi[k]];
  }
  if (m_F.Count() == 0 || m_V.Count() == 0)
    Destroy();
  return removed;
}

int ON_Mesh::CullDegenerateFaces()
{
  const double atol = 1e-36;
  const int vcount = m_V.Count();
  const int fcount = m_F.Count();
  const ON_3fPoint* V = m_V.Array();
  const std::vector<int> loc = LocationIds(V, vcount);
  std::vector<char> keep((size_t)fcount, 1);
  bool changed = false;

  for (int fi = 0; fi < fcount; fi++)
  {
    ON_MeshFace& f = m_F[fi];
    bool in_range = true;
    for (int k = 0; k < 4; k++)
      in_range = in_range && (unsigned int)f.vi[k] < (unsigned int)vcount;
    if (!in_range)
    {
      keep[(size_t)fi] = 0;
      continue;
    }

    // The index rules applied to the corners' places.
    ON_MeshFace places;
    for (int k = 0; k < 4; k++)
      places.vi[k] = loc[(size_t)f.vi[k]];
    const bool unset = places.vi[0] < 0 || places.vi[1] < 0 || places.vi[2] < 0 || places.vi[3] < 0;
    if (unset || !places.IsValid(vcount))
    {
      if (f.IsQuad() && (places.vi[0] == places.vi[2] || places.vi[1] == places.vi[3]))
      {
        keep[(size_t)fi] = 0;  // an "L" quad folds onto itself
        continue;
      }
      ON_MeshFace repaired = f;
      if (!repaired.Repair(vcount, V))
      {
        keep[(size_t)fi] = 0;
        continue;
      }
      f = repaired;
      changed = true;
    }

    const ON_3fPoint& p0 = V[f.vi[0]];
    const ON_3fPoint& p1 = V[f.vi[1]];
    const ON_3fPoint& p2 = V[f.vi[2]];
    if (f.IsTriangle())
    {
      if (!(CrossLength(p0, p1, p2) > atol))
        keep[(size_t)fi] = 0;
      continue;
    }
    const ON_3fPoint& p3 = V[f.vi[3]];
    const double d02 = ON_3dPoint(p0).DistanceTo(ON_3dPoint(p2));
    const double d13 = ON_3dPoint(p1).DistanceTo(ON_3dPoint(p3));
    if (!(d02 > atol) || !(d13 > atol) || !(d02 > 1e-8 * d13) || !(d13 > 1e-8 * d02))
    {
      keep[(size_t)fi] = 0;
      continue;
    }
    const int a = f.vi[0], b = f.vi[1], c = f.vi[2], d = f.vi[3];
    if (d02 <= d13)
    {
      const bool first = CrossLength(p0, p1, p2) > atol;   // (0,1,2)
      const bool second = CrossLength(p0, p2, p3) > atol;  // (0,2,3)
      if (first != second)
      {
        f = first ? ON_MeshFace{{a, b, c, c}} : ON_MeshFace{{a, c, d, d}};
        changed = true;
      }
    }
    else
    {
      const bool first = CrossLength(p1, p2, p3) > atol;   // (1,2,3)
      const bool second = CrossLength(p1, p3, p0) > atol;  // (1,3,0)
      if (first != second)
      {
        f = first ? ON_MeshFace{{b, c, d, d}} : ON_MeshFace{{a, b, d, d}};
        changed = true;
      }
    }
  }

  const int removed = RemoveFaces(m_F, keep);
  if (removed > 0 || changed)
    DestroyTopology();
  if (m_F.Count() == 0)
    Destroy();
  return removed;
}

bool ON_Mesh::Compact()
{
  CullUnusedVertices();
  m_V.Shrink();
  m_F.Shrink();
  return true;
}
