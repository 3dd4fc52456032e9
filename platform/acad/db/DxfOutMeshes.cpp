// dxfOut of polyface and polygon meshes (POLYLINE with VERTEX records and
// SEQEND), 2D solids, text, block references and the ACIS-based entities.
#include <cmath>
#include <cstdio>
#include <string>

#include <dxflib/dl_attributes.h>
#include <dxflib/dl_writer_ascii.h>

#include "DxfOutInternal.h"
#include "MeshInternal.h"
#include "dbbody.h"
#include "dbregion.h"
#include "dbsol3d.h"

using namespace acdbimpl;
using Impl = AcDbDatabase::Impl;

namespace {

constexpr double kRadiansToDegrees = 57.29577951308232;

void head(DL_WriterA& dw, const char* type, const DL_Attributes& attrib, const char* subclass)
{
    dw.entity(type);
    dw.dxfString(100, "AcDbEntity");
    dw.entityAttributes(attrib);
    if (subclass != nullptr)
        dw.dxfString(100, subclass);
}

void seqEnd(DL_WriterA& dw, const DL_Attributes& attrib)
{
    dw.entity("SEQEND");
    dw.dxfString(100, "AcDbEntity");
    dw.dxfString(8, attrib.getLayer());
}

void vertexHead(DL_WriterA& dw, const DL_Attributes& attrib, const char* subclass, const AcGePoint3d& p, int flags)
{
    head(dw, "VERTEX", attrib, "AcDbVertex");
    dw.dxfString(100, subclass);
    dw.coord(10, p.x, p.y, p.z);
    dw.dxfInt(70, flags);
}

void writePolyFace(DL_WriterA& dw, const AcDbPolyFaceMesh* mesh, const DL_Attributes& attrib)
{
    auto vertices = AcDbMeshAccess::live<AcDbPolyFaceMeshVertex>(mesh);
    auto faces = AcDbMeshAccess::live<AcDbFaceRecord>(mesh);
    head(dw, "POLYLINE", attrib, "AcDbPolyFaceMesh");
    dw.dxfInt(66, 1);
    dw.coord(10, 0.0, 0.0, 0.0);
    dw.dxfInt(70, 64);
    dw.dxfInt(71, static_cast<int>(vertices.size()));
    dw.dxfInt(72, static_cast<int>(faces.size()));
    for (const AcDbPolyFaceMeshVertex* v : vertices)
        vertexHead(dw, attrib, "AcDbPolyFaceMeshVertex", v->position(), 192);
    for (const AcDbFaceRecord* f : faces) {
        head(dw, "VERTEX", attrib, "AcDbFaceRecord");
        dw.coord(10, 0.0, 0.0, 0.0);
        dw.dxfInt(70, 128);
        for (Adesk::UInt16 i = 0; i < 4; ++i) {
            Adesk::Int16 k = 0;
            f->getVertexAt(i, k);
            if (k != 0)
                dw.dxfInt(71 + i, k);
        }
    }
    seqEnd(dw, attrib);
}

void writePolygonMesh(DL_WriterA& dw, const AcDbPolygonMesh* mesh, const DL_Attributes& attrib)
{
    auto vertices = AcDbMeshAccess::live<AcDbPolygonMeshVertex>(mesh);
    head(dw, "POLYLINE", attrib, "AcDbPolygonMesh");
    dw.dxfInt(66, 1);
    dw.coord(10, 0.0, 0.0, 0.0);
    dw.dxfInt(70, 16 | (mesh->isMClosed() ? 1 : 0) | (mesh->isNClosed() ? 32 : 0));
    dw.dxfInt(71, mesh->mSize());
    dw.dxfInt(72, mesh->nSize());
    dw.dxfInt(75, mesh->polyMeshType());
    for (const AcDbPolygonMeshVertex* v : vertices)
        vertexHead(dw, attrib, "AcDbPolygonMeshVertex", v->position(), 64);
    seqEnd(dw, attrib);
}

void writeSolid(DL_WriterA& dw, const AcDbSolid* solid, const DL_Attributes& attrib)
{
    head(dw, "SOLID", attrib, "AcDbTrace");
    const AcGeVector3d n = solid->normal();
    for (Adesk::UInt16 i = 0; i < 4; ++i) {
        AcGePoint3d p;
        solid->getPointAt(i, p);
        p = toEcs(n, p);
        dw.coord(10 + i, p.x, p.y, p.z);
    }
    if (solid->thickness() != 0.0)
        dw.dxfReal(39, solid->thickness());
    dw.coord(210, n.x, n.y, n.z);
}

void writeText(DL_WriterA& dw, const AcDbText* text, const DL_Attributes& attrib)
{
    head(dw, "TEXT", attrib, "AcDbText");
    const AcGeVector3d n = text->normal();
    const AcGePoint3d p = toEcs(n, text->position());
    dw.coord(10, p.x, p.y, p.z);
    dw.dxfReal(40, text->height());
    dw.dxfString(1, dxfText(text->textStringConst()));
    dw.dxfReal(50, text->rotation() * kRadiansToDegrees);
    dw.dxfString(7, "Standard");
    dw.coord(210, n.x, n.y, n.z);
    dw.dxfString(100, "AcDbText");
}

void writeInsert(DL_WriterA& dw, const AcDbBlockReference* ref, const DL_Attributes& attrib)
{
    AcDbStub* s = checkedStub(ref->blockTableRecord());
    if (s == nullptr || s->mpObject == nullptr || !s->mpObject->isKindOf(AcDbBlockTableRecord::desc()))
        return;  // a reference to no block is not written
    auto* block = static_cast<const AcDbBlockTableRecord*>(s->mpObject);
    const AcGeVector3d normal = ref->normal();
    const AcGeScale3d scale = ref->scaleFactors();
    // The insertion point is written in the reference's own coordinates (OCS).
    const AcGePoint3d ocs = toEcs(normal, ref->position());
    head(dw, "INSERT", attrib, "AcDbBlockReference");
    dw.dxfString(2, dxfText(Impl::nameOf(block)));
    dw.coord(10, ocs.x, ocs.y, ocs.z);
    dw.dxfReal(41, scale.sx);
    dw.dxfReal(42, scale.sy);
    dw.dxfReal(43, scale.sz);
    dw.dxfReal(50, ref->rotation() * kRadiansToDegrees);
    dw.coord(210, normal.x, normal.y, normal.z);
}

// The host writes the ACIS data of these; the stand-in has none, so they
// are written without shape data.
void writeModeler(DL_WriterA& dw, const char* type, const char* subclass, const DL_Attributes& attrib)
{
    head(dw, type, attrib, "AcDbModelerGeometry");
    dw.dxfInt(70, 1);
    if (subclass != nullptr)
        dw.dxfString(100, subclass);
}

}  // namespace

bool acdbimpl::dxfOutMeshEntity(DL_WriterA& dw, const AcDbEntity* e, const DL_Attributes& attrib)
{
    if (const auto* pf = AcDbPolyFaceMesh::cast(e))
        writePolyFace(dw, pf, attrib);
    else if (const auto* pm = AcDbPolygonMesh::cast(e))
        writePolygonMesh(dw, pm, attrib);
    else if (const auto* solid = AcDbSolid::cast(e))
        writeSolid(dw, solid, attrib);
    else if (const auto* text = AcDbText::cast(e))
        writeText(dw, text, attrib);
    else if (const auto* ref = AcDbBlockReference::cast(e))
        writeInsert(dw, ref, attrib);
    else if (AcDb3dSolid::cast(e) != nullptr)
        writeModeler(dw, "3DSOLID", "AcDb3dSolid", attrib);
    else if (AcDbBody::cast(e) != nullptr)
        writeModeler(dw, "BODY", nullptr, attrib);
    else if (AcDbRegion::cast(e) != nullptr)
        writeModeler(dw, "REGION", nullptr, attrib);
    else
        return false;
    return true;
}
