// Polygon meshes of triangles and quads, and their topology.
#pragma once

#include "opennurbs_array.h"
#include "opennurbs_defines.h"
#include "opennurbs_geometry.h"
#include "opennurbs_point.h"

class ON_Mesh;

// One mesh face: four indices into the mesh's vertex list. A triangle
// repeats its third index in the fourth place (vi[2] == vi[3]).
// There is no initialising constructor: a default-constructed face holds
// whatever the memory held.
class ON_CLASS ON_MeshFace
{
public:
  int vi[4];

  // All four indices -1.
  static const ON_MeshFace UnsetMeshFace;

  bool IsTriangle() const
  {
    return vi[2] == vi[3];
  }
  bool IsQuad() const
  {
    return vi[2] != vi[3];
  }

  // True when every index lies in [0, mesh_vertex_count), the first three
  // are distinct and the fourth repeats the third or differs from the
  // first two.
  bool IsValid(int mesh_vertex_count) const;
  // As above; negative indices count as huge.
  bool IsValid(unsigned int mesh_vertex_count) const;
  // In addition, the corners (three, or four for a quad) must lie at
  // pairwise distinct positions; -0 equals +0, NaN equals nothing.
  bool IsValid(int mesh_vertex_count, const ON_3fPoint* V) const;
  bool IsValid(int mesh_vertex_count, const ON_3dPoint* V) const;

  // Keeps the in-range indices that differ from every index kept before
  // them; with three kept the face becomes a triangle. Fails, leaving the
  // face untouched, when fewer than three are kept.
  bool Repair(int mesh_vertex_count);
  // As above, also dropping corners at invalid points or at the position
  // of a corner already kept.
  bool Repair(int mesh_vertex_count, const ON_3fPoint* V);
};

// A topology vertex: the mesh vertices that share one position.
struct ON_CLASS ON_MeshTopologyVertex
{
  // Edges that touch this vertex, in ascending edge index.
  int m_tope_count;
  const int* m_topei;
  // Mesh vertices at this position, in ascending vertex index (at least one).
  int m_v_count;
  const int* m_vi;
};

// A topology edge between two distinct topology vertices.
struct ON_CLASS ON_MeshTopologyEdge
{
  // m_topvi[0] < m_topvi[1].
  int m_topvi[2];
  // Faces with a side on this edge, in ascending face index; a face is
  // listed once for every one of its sides on the edge.
  int m_topf_count;
  const int* m_topfi;
};

// The edges of one mesh face. m_topei[j] is the edge of the side that runs
// from corner (j+3)%4 to corner j; m_reve[j] is 1 when that side runs from
// the edge's m_topvi[1] to its m_topvi[0]. A triangle repeats m_topei[2] in
// m_topei[3]. A face whose sides do not give three (triangle) or four (quad)
// distinct edges has all entries 0.
struct ON_CLASS ON_MeshTopologyFace
{
  int m_topei[4];
  char m_reve[4];

  bool IsValid() const
  {
    return m_topei[0] != m_topei[1];
  }
  bool IsTriangle() const
  {
    return IsValid() && m_topei[2] == m_topei[3];
  }
  bool IsQuad() const
  {
    return IsValid() && m_topei[2] != m_topei[3];
  }
};

// Vertex, edge and face adjacency of a mesh. Built by ON_Mesh::Topology().
class ON_CLASS ON_MeshTopology
{
public:
  ON_MeshTopology() = default;
  ~ON_MeshTopology() = default;
  // The lists point into pools owned by the topology, so it is not copied.
  ON_MeshTopology(const ON_MeshTopology&) = delete;
  ON_MeshTopology& operator=(const ON_MeshTopology&) = delete;

  // Checks that the lists are consistent with each other and with m_mesh.
  bool IsValid() const;

  int TopVertexCount() const
  {
    return m_topv.Count();
  }
  int TopEdgeCount() const
  {
    return m_tope.Count();
  }
  int TopFaceCount() const
  {
    return m_topf.Count();
  }

  void Destroy();

  // The mesh this topology describes.
  const ON_Mesh* m_mesh = nullptr;

  // m_topv_map[vi] is the topology vertex of mesh vertex vi.
  ON_SimpleArray<int> m_topv_map;
  // Ordered by the smallest mesh vertex index of each group.
  ON_SimpleArray<ON_MeshTopologyVertex> m_topv;
  // Sorted by (m_topvi[0], m_topvi[1]).
  ON_SimpleArray<ON_MeshTopologyEdge> m_tope;
  // One record per mesh face, or none at all when there is no edge.
  ON_SimpleArray<ON_MeshTopologyFace> m_topf;

private:
  friend class ON_Mesh;
  bool Create(const ON_Mesh& mesh);

  // Shared storage behind m_topv[].m_vi, m_topv[].m_topei and m_tope[].m_topfi.
  ON_SimpleArray<int> m_vi_pool;
  ON_SimpleArray<int> m_topei_pool;
  ON_SimpleArray<int> m_topfi_pool;
};

class ON_CLASS ON_Mesh : public ON_Geometry
{
  ON_OBJECT_DECLARE(ON_Mesh);

public:
  ON_Mesh() = default;
  // Reserves room; vertex normals and texture coordinates are not kept by
  // this mesh, so the last two arguments have no effect.
  ON_Mesh(int initial_face_array_capacity, int initial_vertex_array_capacity, bool has_vertex_normals,
          bool has_texture_coordinates);
  // Copies the vertices and faces; the cached topology is not copied.
  ON_Mesh(const ON_Mesh& src);
  ON_Mesh& operator=(const ON_Mesh& src);
  ON_Mesh(ON_Mesh&& src) noexcept;
  ON_Mesh& operator=(ON_Mesh&& src) noexcept;
  ~ON_Mesh() override;

  ON::object_type ObjectType() const override;
  ON_BoundingBox BoundingBox() const override;
  bool Transform(const ON_Xform& xform) override;

  // Frees the vertices, the faces and the cached topology.
  void Destroy();
  // Drops cached information (the topology).
  void DestroyRuntimeCache(bool bDelete = true) override;

  // A valid mesh has at least one face and three vertices, no face index
  // outside the vertex list, and faces whose corners pass
  // ON_MeshFace::IsValid(vertex_count, m_V). No area test is made.
  bool IsValid(ON_TextLog* text_log = nullptr) const override;

  int VertexCount() const
  {
    return m_V.Count();
  }
  unsigned int VertexUnsignedCount() const
  {
    return m_V.UnsignedCount();
  }
  int FaceCount() const
  {
    return m_F.Count();
  }
  unsigned int FaceUnsignedCount() const
  {
    return m_F.UnsignedCount();
  }

  // Sets vertex i, or appends it when i == VertexCount(). False, with
  // nothing changed, for any other i. The double overload stores the point
  // rounded to single precision.
  bool SetVertex(int vertex_index, const ON_3dPoint& vertex_location);
  bool SetVertex(int vertex_index, const ON_3fPoint& vertex_location);

  // Sets face fi, or appends it when fi == FaceCount(); any other fi
  // changes nothing and gives false. The face is stored even when it is
  // not valid; the result is ON_MeshFace::IsValid(VertexCount()).
  bool SetTriangle(int face_index, int vertex_index0, int vertex_index1, int vertex_index2);
  bool SetQuad(int face_index, int vertex_index0, int vertex_index1, int vertex_index2, int vertex_index3);

  // Deletes the faces with an index outside the vertex list, then the
  // vertices no face uses, renumbering the rest in their order. Returns the
  // number of vertices removed. A mesh left without faces or vertices is
  // destroyed.
  int CullUnusedVertices();
  // Deletes faces that are degenerate: an index outside the vertex list,
  // corners at one place that a repair cannot remove, or no area. A quad
  // with two coincident corners becomes a triangle when it can; a quad with
  // one flat half becomes the other half. Returns the number of faces
  // deleted. A mesh left without faces is destroyed.
  int CullDegenerateFaces();
  // Culls unused vertices and frees unused capacity. Always true.
  bool Compact();

  // Built on first use and kept with the mesh. Editing m_V or m_F does not
  // refresh it: call DestroyTopology() after such edits.
  const ON_MeshTopology& Topology() const;
  bool TopologyExists() const;
  void DestroyTopology();

  ON_3fPointArray m_V;
  ON_SimpleArray<ON_MeshFace> m_F;

private:
  mutable ON_MeshTopology m_top;
};
