// The geometric extents of the entity classes.
#include "dbSubD.h"
#include "dbents.h"

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
