// Face, solid and mesh readers (conversion group).
#include "FaceReaders.h"

#include <cstdlib>
#include <vector>

#include <gegbl.h>

#include "ErrorStatusText.h"
#include "EntityPlacement.h"
#include "GeometryConversion.h"
#include "MeshClasses.h"
#include "PolyfaceBuilding.h"
#include "Selection.h"
#include "ToolkitConversion.h"
#include "VrnGeo.h"

namespace {

// The largest vertex number a face record's 16-bit index can name.
const int kMaxFaceRecordVertex = 32767;

bool IsTriangle(const AcGePoint3d corners[4])
{
    return corners[2].isEqualTo(corners[3], AcGeContext::gTol);
}

void ReadCorners(AcDbFace* face, AcGePoint3d corners[4])
{
    for (Adesk::UInt16 i = 0; i < 4; ++i)
        face->getVertexAt(i, corners[i]);
}

void ReadCorners(AcDbSolid* solid, AcGePoint3d corners[4])
{
    for (Adesk::UInt16 i = 0; i < 4; ++i)
        solid->getPointAt(i, corners[i]);
}

// Culls unused vertices and degenerate faces and shrinks the arrays; a valid
// result replaces the caller's mesh.
int CleanAndHandOver(ON_Mesh& local, ON_Mesh& mesh)
{
    local.CullUnusedVertices();
    local.CullDegenerateFaces();
    local.Compact();
    if (!local.IsValid()) {
        CToolkitConversion::SetLastErrorText(L"Invalid mesh");
        return 0;
    }
    mesh = local;
    return 1;
}

int IndexOf(Adesk::Int16 recordIndex)
{
    return std::abs(static_cast<int>(recordIndex)) - 1;
}

}  // namespace

int ReadFace(AcDbFace* face, ON_Mesh& mesh)
{
    AcGePoint3d c[4];
    ReadCorners(face, c);
    ON_Mesh local;
    if (IsTriangle(c))
        VrnMesh::AddTriangle(local, AcGePointToOn(c[0]), AcGePointToOn(c[1]), AcGePointToOn(c[2]));
    else
        VrnMesh::AddQuad(local, AcGePointToOn(c[0]), AcGePointToOn(c[1]), AcGePointToOn(c[2]), AcGePointToOn(c[3]));
    mesh = local;
    return 1;
}

int ReadSolid(AcDbSolid* solid, ON_NurbsSurface& surface)
{
    AcGePoint3d c[4];
    ReadCorners(solid, c);
    if (IsTriangle(c))
        return VrnNurbsSurface::CreateTriangle(surface, AcGePointToOn(c[0]), AcGePointToOn(c[1]), AcGePointToOn(c[2]));
    return VrnNurbsSurface::CreateQuad(surface, AcGePointToOn(c[0]), AcGePointToOn(c[1]), AcGePointToOn(c[3]),
                                       AcGePointToOn(c[2]));
}

int ReadSolid(AcDbSolid* solid, ON_Mesh& mesh)
{
    AcGePoint3d c[4];
    ReadCorners(solid, c);
    ON_Mesh local;
    if (IsTriangle(c))
        VrnMesh::AddTriangle(local, AcGePointToOn(c[0]), AcGePointToOn(c[1]), AcGePointToOn(c[2]));
    else
        VrnMesh::AddQuad(local, AcGePointToOn(c[0]), AcGePointToOn(c[1]), AcGePointToOn(c[3]), AcGePointToOn(c[2]));
    mesh = local;
    return 1;
}

int FillPolyFaceMesh(const ON_Mesh& mesh, AcDbPolyFaceMesh* polyFaceMesh, Acad::ErrorStatus& status)
{
    // Indices past 32767 would wrap in the 16-bit records and name the wrong
    // vertices; such a mesh is refused while the polyface mesh is untouched.
    if (mesh.VertexCount() > kMaxFaceRecordVertex) {
        status = Acad::eTooManyVertices;
        CToolkitConversion::SetLastErrorText(ErrorStatusText(status));
        return 0;
    }
    for (int i = 0; i < mesh.VertexCount(); ++i) {
        const ON_3fPoint& v = mesh.m_V[i];
        status = AppendPolyFaceVertex(polyFaceMesh, OnPointToAcGe(v));
        if (status != Acad::eOk) {
            CToolkitConversion::SetLastErrorText(ErrorStatusText(status));
            return 0;
        }
    }
    for (int j = 0; j < mesh.FaceCount(); ++j) {
        const int* vi = mesh.m_F[j].vi;
        const int fourth = vi[2] == vi[3] ? 0 : vi[3] + 1;
        status =
            AppendFaceRecord(polyFaceMesh, static_cast<Adesk::Int16>(vi[0] + 1), static_cast<Adesk::Int16>(vi[1] + 1),
                             static_cast<Adesk::Int16>(vi[2] + 1), static_cast<Adesk::Int16>(fourth));
        if (status != Acad::eOk) {
            CToolkitConversion::SetLastErrorText(ErrorStatusText(status));
            return 0;
        }
    }
    status = Acad::eOk;
    return 1;
}

int FillPolyFaceMesh(const ON_Mesh& mesh, AcDbPolyFaceMesh* polyFaceMesh)
{
    Acad::ErrorStatus status = Acad::eOk;
    return FillPolyFaceMesh(mesh, polyFaceMesh, status);
}

int ReadPolyFaceMesh(AcDbPolyFaceMesh* polyFaceMesh, ON_Mesh& mesh)
{
    const int faceCount = polyFaceMesh->numFaces();
    const int vertexCount = polyFaceMesh->numVertices();
    ON_Mesh local(faceCount, vertexCount, false, false);

    AcDbObjectIterator* it = polyFaceMesh->vertexIterator();
    if (it) {
        int k = 0;
        int j = 0;
        for (it->start(); !it->done(); it->step(false, true), ++k) {
            if (k < vertexCount) {
                AcDbPolyFaceMeshVertex* vertex = NULL;
                if (acdbOpenObject(vertex, it->objectId(), AcDb::kForRead) != Acad::eOk || !vertex)
                    continue;
                local.SetVertex(k, AcGePointToOn(vertex->position()));
                vertex->close();
            } else {
                AcDbFaceRecord* record = NULL;
                if (acdbOpenObject(record, it->objectId(), AcDb::kForRead) != Acad::eOk || !record)
                    continue;
                Adesk::Int16 index[4] = {0, 0, 0, 0};
                for (Adesk::UInt16 corner = 0; corner < 4; ++corner)
                    record->getVertexAt(corner, index[corner]);
                record->close();
                if (index[3] == 0)
                    local.SetTriangle(j, IndexOf(index[0]), IndexOf(index[1]), IndexOf(index[2]));
                else
                    local.SetQuad(j, IndexOf(index[0]), IndexOf(index[1]), IndexOf(index[2]), IndexOf(index[3]));
                ++j;
            }
        }
        delete it;
    }
    return CleanAndHandOver(local, mesh);
}

int ReadPolygonMesh(AcDbPolygonMesh* polygonMesh, ON_Mesh& mesh)
{
    ON_Mesh local;
    const int m = polygonMesh->mSize();
    const int n = polygonMesh->nSize();
    const bool closedM = polygonMesh->isMClosed() == 1;
    const bool closedN = polygonMesh->isNClosed() == 1;
    const int slots = m > 0 && n > 0 ? m * n : 0;

    // Exactly M x N slots: vertices past the grid are not stored, and slots
    // that the iterator does not reach stay at the origin.
    std::vector<ON_3dPoint> grid(static_cast<size_t>(slots), ON_3dPoint(0.0, 0.0, 0.0));
    AcDbObjectIterator* it = polygonMesh->vertexIterator();
    if (it) {
        int next = 0;
        for (it->start(); !it->done() && next < slots; it->step(false, true)) {
            AcDbPolygonMeshVertex* vertex = NULL;
            if (acdbOpenObject(vertex, it->objectId(), AcDb::kForRead) != Acad::eOk || !vertex)
                continue;
            grid[static_cast<size_t>(next++)] = AcGePointToOn(vertex->position());
            vertex->close();
        }
        delete it;
    }

    for (int d = 0; d < slots; ++d) {
        const int r = d / n;
        const int c = d % n;
        if (c < n - 1 && r < m - 1)
            VrnMesh::AddQuad(local, grid[d], grid[d + 1], grid[d + n + 1], grid[d + n]);
        else if (c == n - 1 && r < m - 1 && closedN)
            VrnMesh::AddQuad(local, grid[d], grid[d - n + 1], grid[d + 1], grid[d + n]);
        else if (r == m - 1 && c < n - 1 && closedM)
            VrnMesh::AddQuad(local, grid[d], grid[d + 1], grid[c + 1], grid[c]);
    }
    if (slots > 0 && closedN && closedM)
        VrnMesh::AddQuad(local, grid[n - 1], grid[slots - 1], grid[(m - 1) * n], grid[0]);
    grid.clear();
    return CleanAndHandOver(local, mesh);
}

int ReadBlockReference(AcDbBlockReference* blockReference, ON_InstanceRef& instanceRef,
                       const ON_ClassArray<ON_InstanceDefinition>& definitions)
{
    CString blockName;
    if (GetBlockName(blockReference->blockTableRecord(), blockName) != Acad::eOk)
        return 0;
    const AcGeMatrix3d xform = blockReference->blockTransform();
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            instanceRef.m_xform.m_xform[row][col] = xform.entry[row][col];
    for (int i = 0; i < definitions.Count(); ++i) {
        const CString name(definitions[i].Name());
        if (name == blockName) {
            instanceRef.m_instance_definition_uuid = definitions[i].Uuid();
            return 1;
        }
    }
    return 0;
}

int ReadEntityMesh(AcDbEntity* entity, ON_Mesh& mesh)
{
    const CString name(entity->isA()->name());
    if (name == L"AcDbFace")
        return ReadFace(static_cast<AcDbFace*>(entity), mesh);
    if (name == L"AcDbSolid")
        return ReadSolid(static_cast<AcDbSolid*>(entity), mesh);
    if (name == L"AcDbPolyFaceMesh")
        return ReadPolyFaceMesh(static_cast<AcDbPolyFaceMesh*>(entity), mesh);
    if (name == L"AcDbPolygonMesh")
        return ReadPolygonMesh(static_cast<AcDbPolygonMesh*>(entity), mesh);
    CToolkitConversion::SetLastErrorText(L"Entity is not a 3D Face, 2D Solid, PolyFace Mesh or Polygon Mesh");
    return 0;
}

int PickEntityMesh(const CString& prompt, int highlight, ON_Mesh& mesh, AcDbObjectId& id)
{
    CStringArray classNames;
    AddMeshClassNames(classNames);
    if (!PickEntity(prompt, highlight, classNames, id)) {
        CToolkitConversion::SetLastErrorText(CToolkitUtilities::GetLastErrorText());
        return 0;
    }
    AcDbEntity* entity = NULL;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk || !entity)
        return 0;
    const int result = ReadEntityMesh(entity, mesh);
    entity->close();
    return result;
}

int PickEntityMesh(const CString& prompt, int highlight, ON_Mesh& mesh)
{
    AcDbObjectId id;
    return PickEntityMesh(prompt, highlight, mesh, id);
}
