// Polyface building (utilities group).
#include "PolyfaceBuilding.h"

namespace {

// A subentity that its owner took is closed; one that the append refused
// belongs to no database and nobody else would free it, so it is deleted.
void CloseOrDelete(AcDbObject* subentity, Acad::ErrorStatus appended)
{
    if (appended == Acad::eOk || subentity->database())
        subentity->close();
    else
        delete subentity;
}

} // namespace

Acad::ErrorStatus Append3dPolylineVertex(AcDb3dPolyline* polyline, const AcGePoint3d& position)
{
    AcDb3dPolylineVertex* vertex = new AcDb3dPolylineVertex(position);
    Acad::ErrorStatus es = polyline->appendVertex(vertex);
    CloseOrDelete(vertex, es);
    return es;
}

Acad::ErrorStatus AppendPolyFaceVertex(AcDbPolyFaceMesh* polyFaceMesh, const AcGePoint3d& position)
{
    AcDbPolyFaceMeshVertex* vertex = new AcDbPolyFaceMeshVertex(position);
    Acad::ErrorStatus es = polyFaceMesh->appendVertex(vertex);
    CloseOrDelete(vertex, es);
    return es;
}

Acad::ErrorStatus AppendFaceRecord(AcDbPolyFaceMesh* polyFaceMesh, Adesk::Int16 index0,
                                   Adesk::Int16 index1, Adesk::Int16 index2, Adesk::Int16 index3)
{
    AcDbFaceRecord* record = new AcDbFaceRecord(index0, index1, index2, index3);
    Acad::ErrorStatus es = polyFaceMesh->appendFaceRecord(record);
    CloseOrDelete(record, es);
    return es;
}

namespace {

void AppendQuad(AcDbPolyFaceMesh* polyFaceMesh, int a, int b, int c, int d)
{
    AppendFaceRecord(polyFaceMesh, static_cast<Adesk::Int16>(a), static_cast<Adesk::Int16>(b),
                     static_cast<Adesk::Int16>(c), static_cast<Adesk::Int16>(d));
}

} // namespace

int PolygonMeshToPolyFace(AcDbPolygonMesh* polygonMesh, AcDbPolyFaceMesh* polyFaceMesh)
{
    const int m = polygonMesh->mSize();
    const int n = polygonMesh->nSize();
    const bool closedM = polygonMesh->isMClosed() == 1;
    const bool closedN = polygonMesh->isNClosed() == 1;

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

    for (int i = 0; i < m * n; ++i) {
        const int r = i / n;
        const int c = i % n;
        if (c < n - 1 && r < m - 1)
            AppendQuad(polyFaceMesh, i + 1, i + 2, i + n + 2, i + n + 1);
        else if (c == n - 1 && r < m - 1 && closedN)
            AppendQuad(polyFaceMesh, i + 1, i - n + 2, i + 2, i + n + 1);
        else if (r == m - 1 && c < n - 1 && closedM)
            AppendQuad(polyFaceMesh, i + 1, i + 2, c + 2, c + 1);
    }
    if (closedN && closedM)
        AppendQuad(polyFaceMesh, n, m * n, (m - 1) * n + 1, 1);
    return 1;
}
