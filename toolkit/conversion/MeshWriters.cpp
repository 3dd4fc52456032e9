// Mesh writers (conversion group).
#include "MeshWriters.h"

#include <climits>

#include "GeometryConversion.h"
#include "NewObject.h"
#include "dbents.h"

namespace {

// True when every corner of the face indexes the vertex list.
bool HasValidIndices(const ON_MeshFace& face, int vertexCount)
{
    for (int k = 0; k < 4; ++k) {
        if (face.vi[k] < 0 || face.vi[k] >= vertexCount)
            return false;
    }
    return true;
}

// The position of a topology vertex: the point of its first mesh vertex.
AcGePoint3d TopologyVertexPosition(const ON_Mesh& mesh, const ON_MeshTopology& topology, int v)
{
    return OnPointToAcGe(mesh.m_V[topology.m_topv[v].m_vi[0]]);
}

}  // namespace

int MeshToFaces(const ON_Mesh& mesh, const CString& layerName, const AcCmColor& entityColor)
{
    for (int i = 0; i < mesh.m_F.Count(); ++i) {
        const ON_MeshFace& f = mesh.m_F[i];
        if (!HasValidIndices(f, mesh.m_V.Count()))
            continue;
        NewObject<AcDbFace> face(new AcDbFace);
        for (int k = 0; k < 4; ++k)
            face->setVertexAt(static_cast<Adesk::UInt16>(k), OnPointToAcGe(mesh.m_V[f.vi[k]]));
        Place(face, layerName, entityColor);
    }
    return 1;
}

int MeshToLines(const ON_Mesh& mesh, const CString& layerName, const AcCmColor& entityColor)
{
    const ON_MeshTopology& topology = mesh.Topology();
    for (int i = 0; i < topology.m_tope.Count(); ++i) {
        const ON_MeshTopologyEdge& edge = topology.m_tope[i];
        const AcGePoint3d start = TopologyVertexPosition(mesh, topology, edge.m_topvi[0]);
        const AcGePoint3d end = TopologyVertexPosition(mesh, topology, edge.m_topvi[1]);
        PlaceNew(new AcDbLine(start, end), layerName, entityColor);
    }
    return 1;
}

int MeshToPoints(const ON_Mesh& mesh, const CString& layerName, const AcCmColor& entityColor)
{
    const ON_MeshTopology& topology = mesh.Topology();
    for (int i = 0; i < topology.m_topv.Count(); ++i)
        PlaceNew(new AcDbPoint(TopologyVertexPosition(mesh, topology, i)), layerName, entityColor);
    return 1;
}

int MeshToSubDMesh(const ON_Mesh& mesh, const CString& layerName, const AcCmColor& entityColor)
{
    NewObject<AcDbSubDMesh> subDMesh(new AcDbSubDMesh);
    FillSubDMesh(mesh, subDMesh.get());
    Place(subDMesh, layerName, entityColor);
    return 1;
}

int MeshToSubDMesh(const ON_Mesh& mesh, BOOL warning, const CString& layerName, const AcCmColor& entityColor)
{
    return MeshToSubDMesh(mesh, layerName, entityColor);
}

int FillSubDMesh(const ON_Mesh& mesh, AcDbSubDMesh* subDMesh)
{
    const int vertexCount = mesh.m_V.Count();
    AcGePoint3dArray vertices;
    vertices.setPhysicalLength(vertexCount);
    for (int i = 0; i < vertexCount; ++i)
        vertices.append(OnPointToAcGe(mesh.m_V[i]));

    const int faceCount = mesh.m_F.Count();
    AcArray<Adesk::Int32> faces;
    if (faceCount <= INT_MAX / 5)
        faces.setPhysicalLength(faceCount * 5);
    for (int i = 0; i < faceCount; ++i) {
        const ON_MeshFace& f = mesh.m_F[i];
        if (!HasValidIndices(f, vertexCount))
            continue;
        const bool triangle = f.vi[3] == f.vi[2];
        faces.append(triangle ? 3 : 4);
        faces.append(f.vi[0]);
        faces.append(f.vi[1]);
        faces.append(f.vi[2]);
        if (!triangle)
            faces.append(f.vi[3]);
    }

    subDMesh->setSubDMesh(vertices, faces, 0);
    return 1;
}

int MeshToFaces(const ON_ClassArray<ON_Mesh>& meshes, const CString& layerName, const AcCmColor& entityColor)
{
    for (int i = 0; i < meshes.Count(); ++i)
        MeshToFaces(meshes[i], layerName, entityColor);
    return 1;
}

int MeshToLines(const ON_ClassArray<ON_Mesh>& meshes, const CString& layerName, const AcCmColor& entityColor)
{
    for (int i = 0; i < meshes.Count(); ++i)
        MeshToLines(meshes[i], layerName, entityColor);
    return 1;
}

int MeshToPoints(const ON_ClassArray<ON_Mesh>& meshes, const CString& layerName, const AcCmColor& entityColor)
{
    for (int i = 0; i < meshes.Count(); ++i)
        MeshToPoints(meshes[i], layerName, entityColor);
    return 1;
}

int MeshToSubDMesh(const ON_ClassArray<ON_Mesh>& meshes, BOOL warning, const CString& layerName,
                   const AcCmColor& entityColor)
{
    for (int i = 0; i < meshes.Count(); ++i)
        MeshToSubDMesh(meshes[i], layerName, entityColor);
    return 1;
}
