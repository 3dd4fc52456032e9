// Extents: the geometric extents of an entity (none for AcDbEntity itself;
// the face, line, point and subdivision mesh give their own), and the extents
// of model space for the host's ZOOM Extents.
#include <algorithm>

#include "DbInternal.h"
#include "dbSubD.h"
#include "dbents.h"
#include "dbextents.h"
#include "dbmain.h"
#include "standin/AcDbStandin.h"

Acad::ErrorStatus AcDbEntity::getGeomExtents(AcDbExtents&) const
{
    return Acad::eInvalidExtents;
}

Acad::ErrorStatus AcDbFace::getGeomExtents(AcDbExtents& extents) const
{
    AcDbExtents box;
    for (const AcGePoint3d& corner : mCorners)
        box.addPoint(corner);
    extents = box;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getGeomExtents(AcDbExtents& extents) const
{
    AcDbExtents box;
    box.addPoint(mStart);
    box.addPoint(mEnd);
    // A line with thickness is drawn as a band along its normal.
    if (mThickness != 0.0) {
        const AcGeVector3d rise = mNormal * mThickness;
        box.addPoint(mStart + rise);
        box.addPoint(mEnd + rise);
    }
    extents = box;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::getGeomExtents(AcDbExtents& extents) const
{
    AcDbExtents box;
    box.addPoint(mPosition);
    if (mThickness != 0.0)
        box.addPoint(mPosition + mNormal * mThickness);
    extents = box;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::getGeomExtents(AcDbExtents& extents) const
{
    if (mVertices.isEmpty())
        return Acad::eInvalidExtents;
    AcDbExtents box;
    for (const AcGePoint3d& vertex : mVertices)
        box.addPoint(vertex);
    extents = box;
    return Acad::eOk;
}

// ---- model space

using Impl = AcDbDatabase::Impl;

namespace {

struct Box {
    double min[3] = {0, 0, 0};
    double max[3] = {0, 0, 0};
    bool empty = true;

    void add(const AcGePoint3d& p)
    {
        const double c[3] = {p.x, p.y, p.z};
        for (int k = 0; k < 3; ++k) {
            min[k] = empty ? c[k] : std::min(min[k], c[k]);
            max[k] = empty ? c[k] : std::max(max[k], c[k]);
        }
        empty = false;
    }
};

// Every entity class gives its own extents; one that has none (a ray, an
// empty entity) adds nothing.
void addEntity(const AcDbEntity* e, Box& box)
{
    AcDbExtents extents;
    if (e->getGeomExtents(extents) != Acad::eOk)
        return;
    box.add(extents.minPoint());
    box.add(extents.maxPoint());
}

}  // namespace

namespace standin {

bool modelSpaceExtents(const AcDbDatabase* db, double min[3], double max[3])
{
    if (db == nullptr)
        return false;
    const Impl& d = *db->impl();
    if (d.modelSpace == nullptr || d.modelSpace->mpObject == nullptr)
        return false;
    Box box;
    for (const AcDbStub* s : Impl::entitiesOf(static_cast<const AcDbBlockTableRecord*>(d.modelSpace->mpObject)))
        if (s->mpObject != nullptr && !s->mpObject->isErased())
            addEntity(static_cast<const AcDbEntity*>(s->mpObject), box);
    if (box.empty)
        return false;
    for (int k = 0; k < 3; ++k) {
        min[k] = box.min[k];
        max[k] = box.max[k];
    }
    return true;
}

}  // namespace standin
