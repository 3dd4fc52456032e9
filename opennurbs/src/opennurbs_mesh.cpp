#include "opennurbs_mesh.h"

#include <new>

const ON_MeshFace ON_MeshFace::UnsetMeshFace = {{-1, -1, -1, -1}};

namespace
{
// Index test shared by the int and unsigned overloads: c is the vertex count
// and every index is taken as unsigned, so a negative one is out of range.
bool FaceIndicesValid(const int vi[4], unsigned int c)
{
  if ((unsigned int)vi[0] >= c || (unsigned int)vi[1] >= c || (unsigned int)vi[2] >= c ||
      (unsigned int)vi[3] >= c)
    return false;
  if (vi[0] == vi[1] || vi[1] == vi[2] || vi[2] == vi[0])
    return false;
  if (vi[2] != vi[3] && (vi[3] == vi[0] || vi[3] == vi[1]))
    return false;
  return true;
}

template <class P>
bool FaceCornersDistinct(const int vi[4], const P* V)
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
} // namespace

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

ON_Mesh::ON_Mesh(int initial_face_array_capacity, int initial_vertex_array_capacity,
                 bool has_vertex_normals, bool has_texture_coordinates)
{
  if (initial_face_array_capacity > 0)
    m_F.Reserve((size_t)initial_face_array_capacity);
  if (initial_vertex_array_capacity > 0)
    m_V.Reserve((size_t)initial_vertex_array_capacity);
}

ON_Mesh::ON_Mesh(const ON_Mesh& src) : m_V(src.m_V), m_F(src.m_F) {}

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

ON_Mesh::ON_Mesh(ON_Mesh&& src) noexcept : m_V(std::move(src.m_V)), m_F(std::move(src.m_F))
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
      return false; // m_F[] has out of range vertex indices
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
