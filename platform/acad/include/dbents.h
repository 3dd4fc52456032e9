// The simple entities: AcDbFace (3D face), AcDbLine, AcDbPoint; the meshes and the others of standin/dbents_meshes.h.
#pragma once

#include "dbcurve.h"
#include "dbmain.h"
#include "gepnt3d.h"
#include "gevec3d.h"

class AcDbFace : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbFace);

    // Four corners at the origin, all edges visible.
    AcDbFace();
    AcDbFace(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2, const AcGePoint3d& pt3,
             Adesk::Boolean e0vis = true, Adesk::Boolean e1vis = true, Adesk::Boolean e2vis = true,
             Adesk::Boolean e3vis = true);
    // A triangle: the fourth corner repeats the third.
    AcDbFace(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2, Adesk::Boolean e0vis = true,
             Adesk::Boolean e1vis = true, Adesk::Boolean e2vis = true, Adesk::Boolean e3vis = true);
    ~AcDbFace() override;

    // Corner 0..3; another index gives eInvalidIndex.
    Acad::ErrorStatus getVertexAt(Adesk::UInt16 index, AcGePoint3d& point) const;
    Acad::ErrorStatus setVertexAt(Adesk::UInt16 index, const AcGePoint3d& point);
    Acad::ErrorStatus makeEdgeInvisibleAt(Adesk::UInt16 index);
    Acad::ErrorStatus makeEdgeVisibleAt(Adesk::UInt16 index);
    Acad::ErrorStatus isEdgeVisibleAt(Adesk::UInt16 index, Adesk::Boolean& visible) const;

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;

private:
    AcGePoint3d mCorners[4];
    Adesk::UInt8 mInvisibleEdges = 0;
};

class AcDbLine : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDbLine);

    AcDbLine();
    AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end);
    ~AcDbLine() override;

    AcGePoint3d startPoint() const { return mStart; }
    Acad::ErrorStatus setStartPoint(const AcGePoint3d& point);
    AcGePoint3d endPoint() const { return mEnd; }
    Acad::ErrorStatus setEndPoint(const AcGePoint3d& point);
    AcGeVector3d normal() const { return mNormal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    double thickness() const { return mThickness; }
    Acad::ErrorStatus setThickness(double thickness);

    Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;
    Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;

protected:
    // Parameters 0 to the length: the distance from the start point.
    bool standinPath(standin::CurvePath& path) const override;

private:
    AcGePoint3d mStart;
    AcGePoint3d mEnd;
    AcGeVector3d mNormal{0.0, 0.0, 1.0};
    double mThickness = 0.0;
};

class AcDbPoint : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbPoint);

    AcDbPoint();
    explicit AcDbPoint(const AcGePoint3d& position);
    ~AcDbPoint() override;

    AcGePoint3d position() const { return mPosition; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& position);
    AcGeVector3d normal() const { return mNormal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    double thickness() const { return mThickness; }
    Acad::ErrorStatus setThickness(double thickness);

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;

private:
    AcGePoint3d mPosition;
    AcGeVector3d mNormal{0.0, 0.0, 1.0};
    double mThickness = 0.0;
};

// The circle, arc, ray, construction line and the 2D and 3D polylines with
// their vertices, which the host keeps in this header too.
#include "standin/dbents_curves.h"

// Meshes, 2D solids, block references and text.
#include "standin/dbents_meshes.h"
