// Polyface building (utilities group).
#include "PolyfaceBuilding.h"

#include "NewObject.h"

Acad::ErrorStatus Append3dPolylineVertex(AcDb3dPolyline* polyline, const AcGePoint3d& position)
{
    // A vertex that the append refused belongs to no database and is deleted.
    NewObject<AcDb3dPolylineVertex> vertex(new AcDb3dPolylineVertex(position));
    return vertex.appended(polyline->appendVertex(vertex.get()));
}

Acad::ErrorStatus AppendPolyFaceVertex(AcDbPolyFaceMesh* polyFaceMesh, const AcGePoint3d& position)
{
    NewObject<AcDbPolyFaceMeshVertex> vertex(new AcDbPolyFaceMeshVertex(position));
    return vertex.appended(polyFaceMesh->appendVertex(vertex.get()));
}

Acad::ErrorStatus AppendFaceRecord(AcDbPolyFaceMesh* polyFaceMesh, Adesk::Int16 index0, Adesk::Int16 index1,
                                   Adesk::Int16 index2, Adesk::Int16 index3)
{
    NewObject<AcDbFaceRecord> record(new AcDbFaceRecord(index0, index1, index2, index3));
    return record.appended(polyFaceMesh->appendFaceRecord(record.get()));
}

namespace {

// The largest vertex number a face record's 16-bit index can name.
const long kMaxFaceRecordVertex = 32767;

void AppendQuad(AcDbPolyFaceMesh* polyFaceMesh, int a, int b, int c, int d)
{
    AppendFaceRecord(polyFaceMesh, static_cast<Adesk::Int16>(a), static_cast<Adesk::Int16>(b),
                     static_cast<Adesk::Int16>(c), static_cast<Adesk::Int16>(d));
}

}  // namespace

int PolygonMeshToPolyFace(AcDbPolygonMesh* polygonMesh, AcDbPolyFaceMesh* polyFaceMesh)
{
    const int m = polygonMesh->mSize();
    const int n = polygonMesh->nSize();
    const bool closedM = polygonMesh->isMClosed() == 1;
    const bool closedN = polygonMesh->isNClosed() == 1;
    // Records of a larger grid would name vertices past what a 16-bit index
    // holds: the indices would wrap. Such a grid is refused untouched.
    const int cells = m > 0 && n > 0 ? m * n : 0;
    if (static_cast<long>(m) * n > kMaxFaceRecordVertex)
        return 0;

    AcDbObjectIterator* it = polygonMesh->vertexIterator();
    if (it) {
        for (it->start(); !it->done(); it->step(false, true)) {
            AcDbPolygonMeshVertex* vertex = NULL;
            if (acdbOpenObject(vertex, it->objectId(), AcDb::kForRead) != Acad::eOk || !vertex)
                continue;
            AppendPolyFaceVertex(polyFaceMesh, vertex->position());
            vertex->close();
        }
        delete it;
    }

    for (int i = 0; i < cells; ++i) {
        const int r = i / n;
        const int c = i % n;
        if (c < n - 1 && r < m - 1)
            AppendQuad(polyFaceMesh, i + 1, i + 2, i + n + 2, i + n + 1);
        else if (c == n - 1 && r < m - 1 && closedN)
            AppendQuad(polyFaceMesh, i + 1, i - n + 2, i + 2, i + n + 1);
        else if (r == m - 1 && c < n - 1 && closedM)
            AppendQuad(polyFaceMesh, i + 1, i + 2, c + 2, c + 1);
    }
    if (cells > 0 && closedN && closedM)
        AppendQuad(polyFaceMesh, n, m * n, (m - 1) * n + 1, 1);
    return 1;
}
