// AcDbPolyline: the lightweight polyline. Its vertices are 2D points in the
// plane of its normal at its elevation; each segment starts at a vertex and
// is straight or, with a bulge, a circular arc (bulge = tan of a quarter of
// the included angle, negative for clockwise). Parameter i lies at vertex i.
#pragma once

#include "dbcurve.h"
#include "gearc3d.h"
#include "gelnsg3d.h"
#include "gepnt2d.h"
#include "gepnt3d.h"

class AcDbPolyline : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDbPolyline);

    AcDbPolyline();
    // Room for num vertices; there are none yet.
    explicit AcDbPolyline(unsigned int num);
    ~AcDbPolyline() override;

    enum SegType { kLine = 0, kArc = 1, kCoincident = 2, kPoint = 3, kEmpty = 4 };

    // Inserts the vertex before index; an index at or past the end appends.
    // A negative width takes the constant width (0 when there is none).
    Acad::ErrorStatus addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge = 0., double startWidth = -1.,
                                  double endWidth = -1.);
    Acad::ErrorStatus removeVertexAt(unsigned int index);
    unsigned int numVerts() const;
    void setClosed(Adesk::Boolean closed);
    Adesk::Boolean closed() const { return mClosed; }

    // Index checks: an index past the last vertex gives eInvalidIndex.
    Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint3d& pt) const;  // world coordinates
    Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint2d& pt) const;  // the polyline's plane
    Acad::ErrorStatus setPointAt(unsigned int index, const AcGePoint2d& pt);
    Acad::ErrorStatus getBulgeAt(unsigned int index, double& bulge) const;
    Acad::ErrorStatus setBulgeAt(unsigned int index, double bulge);
    Acad::ErrorStatus getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const;
    Acad::ErrorStatus setWidthsAt(unsigned int index, double startWidth, double endWidth);

    // The segment that starts at the vertex: kEmpty with no vertices, for an
    // index past the last vertex and for the last vertex of an open polyline;
    // kPoint when there is one vertex; kCoincident when the segment's ends
    // coincide; else kArc (non-zero bulge) or kLine.
    SegType segType(unsigned int index) const;
    // The segment in world coordinates. An index where no segment starts gives
    // eInvalidIndex; a segment of the other kind gives eNotApplicable (a
    // coincident segment is a line of length 0).
    Acad::ErrorStatus getLineSegAt(unsigned int index, AcGeLineSeg3d& ln) const;
    // The arc runs counter-clockwise about its normal from the segment's start
    // to its end: the polyline's normal for a positive bulge, its reverse for
    // a negative one; its reference vector points at the start.
    Acad::ErrorStatus getArcSegAt(unsigned int index, AcGeCircArc3d& arc) const;
    Adesk::Boolean isOnlyLines() const;

    double elevation() const { return mElevation; }
    void setElevation(double elev);
    AcGeVector3d normal() const { return mNormal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    double thickness() const { return mThickness; }
    Acad::ErrorStatus setThickness(double thickness);
    // The width of every segment; eNotApplicable when the widths differ.
    Acad::ErrorStatus getConstantWidth(double& width) const;
    Acad::ErrorStatus setConstantWidth(double width);

    Adesk::Boolean isClosed() const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

protected:
    bool standinPath(standin::CurvePath& path) const override;

private:
    struct Vertex {
        AcGePoint2d point;
        double bulge;
        double startWidth;
        double endWidth;
    };
    AcArray<Vertex> mVertices;
    AcGeVector3d mNormal{0.0, 0.0, 1.0};
    double mElevation = 0.0;
    double mThickness = 0.0;
    bool mClosed = false;
};
