// The curve entities that the host declares in dbents.h: AcDbCircle, AcDbArc,
// AcDbRay, AcDbXline, AcDb2dPolyline with AcDb2dVertex and AcDb3dPolyline
// with AcDb3dPolylineVertex. Included from dbents.h.
//
// Refusals: a radius of zero or less, a zero normal or direction, and values
// that are not finite give eInvalidInput and leave the entity unchanged.
// Setters need the entity open for write (eNotOpenForWrite otherwise).
#pragma once

#include "acdb.h"
#include "dbcurve.h"
#include "dbmain.h"
#include "gedblar.h"
#include "gept3dar.h"
#include "gepnt3d.h"
#include "gevec3d.h"
#include "standin/dbents_vertex.h"

namespace AcDb {
enum Poly2dType { k2dSimplePoly = 0, k2dFitCurvePoly = 1, k2dQuadSplinePoly = 2, k2dCubicSplinePoly = 3 };
enum Poly3dType { k3dSimplePoly = 0, k3dQuadSplinePoly = 1, k3dCubicSplinePoly = 2 };
enum Vertex2dType { k2dVertex = 0, k2dSplineCtlVertex = 1, k2dSplineFitVertex = 2, k2dCurveFitVertex = 3 };
enum Vertex3dType { k3dSimpleVertex = 0, k3dControlVertex = 1, k3dFitVertex = 2 };
}  // namespace AcDb

// The x axis of an entity's own coordinate system with the given normal (the
// arbitrary-axis rule): world Y x N when |N.x| and |N.y| are both below 1/64,
// else world Z x N, normalised. Stand-in helper; the host has the rule only
// inside its entities.
AcGeVector3d acdbStandinEcsXAxis(const AcGeVector3d& normal);

class AcDbCircle : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDbCircle);

    // Centre at the origin, radius 0 (no geometry until a radius is set), normal Z.
    AcDbCircle();
    AcDbCircle(const AcGePoint3d& cntr, const AcGeVector3d& nrm, double radius);
    ~AcDbCircle() override;

    AcGePoint3d center() const { return mCenter; }
    Acad::ErrorStatus setCenter(const AcGePoint3d& center);
    double radius() const { return mRadius; }
    Acad::ErrorStatus setRadius(double radius);
    // Unit normal.
    AcGeVector3d normal() const { return mNormal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    double thickness() const { return mThickness; }
    Acad::ErrorStatus setThickness(double thickness);
    double circumference() const;

    // Closed; parameters 0 to 2 pi, the angle from the entity's x axis.
    Adesk::Boolean isClosed() const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

protected:
    bool standinPath(standin::CurvePath& path) const override;

private:
    AcGePoint3d mCenter;
    AcGeVector3d mNormal{0.0, 0.0, 1.0};
    double mRadius = 0.0;
    double mThickness = 0.0;
};

// An arc runs counter-clockwise about its normal from the start angle to the
// end angle, both measured from the entity's x axis and kept in [0, 2 pi).
// Its parameters are the angles, the end one raised by 2 pi when it lies
// below the start.
class AcDbArc : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDbArc);

    AcDbArc();
    AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle);
    AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double startAngle, double endAngle);
    ~AcDbArc() override;

    AcGePoint3d center() const { return mCenter; }
    Acad::ErrorStatus setCenter(const AcGePoint3d& center);
    double radius() const { return mRadius; }
    Acad::ErrorStatus setRadius(double radius);
    double startAngle() const { return mStartAngle; }
    Acad::ErrorStatus setStartAngle(double angle);
    double endAngle() const { return mEndAngle; }
    Acad::ErrorStatus setEndAngle(double angle);
    // End angle minus start angle, in [0, 2 pi).
    double totalAngle() const;
    double length() const { return mRadius * totalAngle(); }
    AcGeVector3d normal() const { return mNormal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    double thickness() const { return mThickness; }
    Acad::ErrorStatus setThickness(double thickness);

    Adesk::Boolean isClosed() const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

protected:
    bool standinPath(standin::CurvePath& path) const override;

private:
    AcGePoint3d mCenter;
    AcGeVector3d mNormal{0.0, 0.0, 1.0};
    double mRadius = 0.0;
    double mStartAngle = 0.0;
    double mEndAngle = 0.0;
    double mThickness = 0.0;
};

// A half-infinite line from the base point along the unit direction; its
// parameter is the distance from the base point (no end parameter or point).
class AcDbRay : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDbRay);

    // Base point at the origin, direction X.
    AcDbRay();
    ~AcDbRay() override;

    AcGePoint3d basePoint() const { return mBase; }
    void setBasePoint(const AcGePoint3d& pt);
    AcGeVector3d unitDir() const { return mDir; }
    // The direction is normalised; a zero or non-finite one is ignored.
    void setUnitDir(const AcGeVector3d& vec);
    AcGePoint3d secondPoint() const { return mBase + mDir; }
    void setSecondPoint(const AcGePoint3d& pt);

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

protected:
    bool standinPath(standin::CurvePath& path) const override;

private:
    AcGePoint3d mBase;
    AcGeVector3d mDir{1.0, 0.0, 0.0};
};

// A construction line through the base point along the unit direction,
// unbounded both ways.
class AcDbXline : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDbXline);

    AcDbXline();
    ~AcDbXline() override;

    AcGePoint3d basePoint() const { return mBase; }
    void setBasePoint(const AcGePoint3d& pt);
    AcGeVector3d unitDir() const { return mDir; }
    void setUnitDir(const AcGeVector3d& vec);
    AcGePoint3d secondPoint() const { return mBase + mDir; }
    void setSecondPoint(const AcGePoint3d& pt);

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

protected:
    bool standinPath(standin::CurvePath& path) const override;

private:
    AcGePoint3d mBase;
    AcGeVector3d mDir{1.0, 0.0, 0.0};
};

// A vertex of a 2D polyline: its position in the polyline's own coordinate
// system (x and y; the polyline's elevation is its height), the bulge of the
// segment that starts here (tan of a quarter of its included angle, negative
// for clockwise) and the widths.
class AcDb2dVertex : public AcDbVertex {
public:
    ACRX_DECLARE_MEMBERS(AcDb2dVertex);

    AcDb2dVertex();
    AcDb2dVertex(const AcGePoint3d& position, double bulge = 0, double startWidth = 0, double endWidth = 0,
                 double tangent = 0, Adesk::Int32 vertexIdentifier = 0);
    ~AcDb2dVertex() override;

    AcDb::Vertex2dType vertexType() const { return mType; }
    AcGePoint3d position() const { return mPosition; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& position);
    double bulge() const { return mBulge; }
    Acad::ErrorStatus setBulge(double newVal);
    double startWidth() const { return mStartWidth; }
    Acad::ErrorStatus setStartWidth(double newVal);
    double endWidth() const { return mEndWidth; }
    Acad::ErrorStatus setEndWidth(double newVal);
    double tangent() const { return mTangent; }
    Acad::ErrorStatus setTangent(double newVal);
    Adesk::Int32 vertexIdentifier() const { return mIdentifier; }
    Acad::ErrorStatus setVertexIdentifier(Adesk::Int32 suggestedValue);

private:
    AcGePoint3d mPosition;
    double mBulge = 0.0;
    double mStartWidth = 0.0;
    double mEndWidth = 0.0;
    double mTangent = 0.0;
    Adesk::Int32 mIdentifier = 0;
    AcDb::Vertex2dType mType = AcDb::k2dVertex;
};

class AcDb3dPolylineVertex : public AcDbVertex {
public:
    ACRX_DECLARE_MEMBERS(AcDb3dPolylineVertex);

    AcDb3dPolylineVertex();
    // A simple vertex at the position (world coordinates).
    explicit AcDb3dPolylineVertex(const AcGePoint3d& position);
    ~AcDb3dPolylineVertex() override;

    AcDb::Vertex3dType vertexType() const { return mType; }
    AcGePoint3d position() const { return mPosition; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& position);

private:
    AcGePoint3d mPosition;
    AcDb::Vertex3dType mType = AcDb::k3dSimpleVertex;
};

// The old-style 2D polyline: vertices as subentities, in the plane of its
// normal at its elevation. Its parameter is i at vertex i; bulged segments are
// arcs. Only simple polylines are modelled: the curve-fit and spline types are
// kept as a value but drawn through the vertices.
class AcDb2dPolyline : public AcDbCurve, public standin::SubentityOwner {
public:
    ACRX_DECLARE_MEMBERS(AcDb2dPolyline);

    AcDb2dPolyline();
    AcDb2dPolyline(AcDb::Poly2dType type, const AcGePoint3dArray& vertices, double elevation = 0,
                   Adesk::Boolean closed = Adesk::kFalse, double defStartWidth = 0, double defEndWidth = 0,
                   const AcGeDoubleArray* bulges = nullptr);
    ~AcDb2dPolyline() override;

    AcDb::Poly2dType polyType() const { return mType; }
    Acad::ErrorStatus setPolyType(AcDb::Poly2dType type);
    Acad::ErrorStatus makeClosed();
    Acad::ErrorStatus makeOpen();
    double elevation() const { return mElevation; }
    Acad::ErrorStatus setElevation(double elevation);
    AcGeVector3d normal() const { return mNormal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    double thickness() const { return mThickness; }
    Acad::ErrorStatus setThickness(double thickness);
    double defaultStartWidth() const { return mStartWidth; }
    Acad::ErrorStatus setDefaultStartWidth(double width);
    double defaultEndWidth() const { return mEndWidth; }
    Acad::ErrorStatus setDefaultEndWidth(double width);

    // The vertex joins the polyline at its end (see AcDbVertex for residency).
    Acad::ErrorStatus appendVertex(AcDb2dVertex* vertex);
    Acad::ErrorStatus appendVertex(AcDbObjectId& newVertexId, AcDb2dVertex* vertex);
    // A new iterator over the vertices; the caller deletes it.
    AcDbObjectIterator* vertexIterator() const;
    // A vertex in world coordinates.
    AcGePoint3d vertexPosition(const AcDb2dVertex& vertex) const;

    Adesk::Boolean isClosed() const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

protected:
    bool standinPath(standin::CurvePath& path) const override;

private:
    AcGeVector3d mNormal{0.0, 0.0, 1.0};
    double mElevation = 0.0;
    double mThickness = 0.0;
    double mStartWidth = 0.0;
    double mEndWidth = 0.0;
    AcDb::Poly2dType mType = AcDb::k2dSimplePoly;
    bool mClosed = false;
};

// The 3D polyline: straight segments between its vertices (world
// coordinates); parameter i at vertex i.
class AcDb3dPolyline : public AcDbCurve, public standin::SubentityOwner {
public:
    ACRX_DECLARE_MEMBERS(AcDb3dPolyline);

    AcDb3dPolyline();
    AcDb3dPolyline(AcDb::Poly3dType type, const AcGePoint3dArray& vertices, Adesk::Boolean closed = Adesk::kFalse);
    ~AcDb3dPolyline() override;

    AcDb::Poly3dType polyType() const { return mType; }
    Acad::ErrorStatus setPolyType(AcDb::Poly3dType type);
    Acad::ErrorStatus makeClosed();
    Acad::ErrorStatus makeOpen();

    Acad::ErrorStatus appendVertex(AcDb3dPolylineVertex* vertex);
    Acad::ErrorStatus appendVertex(AcDbObjectId& newVertexId, AcDb3dPolylineVertex* vertex);
    AcDbObjectIterator* vertexIterator() const;

    Adesk::Boolean isClosed() const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

protected:
    bool standinPath(standin::CurvePath& path) const override;

private:
    AcDb::Poly3dType mType = AcDb::k3dSimplePoly;
    bool mClosed = false;
};
