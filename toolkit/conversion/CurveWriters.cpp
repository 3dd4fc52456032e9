// Curve writers (conversion group).
#include "CurveWriters.h"

#include "GeometryConversion.h"
#include "NewObject.h"
#include "PolyfaceBuilding.h"
#include "ToolkitConversion.h"
#include "VrnGeo.h"
#include "acarray.h"
#include "gedblar.h"
#include "gept3dar.h"

namespace {

const wchar_t kSplineFailure[] = L"Enable to create Spline";

void PlacePoint(const ON_3dPoint& point, const CString& layerName, const AcCmColor& entityColor)
{
    PlaceNew(new AcDbPoint(OnPointToAcGe(point)), layerName, entityColor);
}

void PlaceCircle(const ON_Circle& circle, const CString& layerName, const AcCmColor& entityColor)
{
    NewObject<AcDbCircle> entity(new AcDbCircle);
    SetAcDbCircle(circle, entity.get());
    Place(entity, layerName, entityColor);
}

void Place3dPolyline(const ON_Polyline& polyline, const CString& layerName, const AcCmColor& entityColor)
{
    NewObject<AcDb3dPolyline> entity(new AcDb3dPolyline);
    SetAcDb3dPolyline(polyline, entity.get());
    Place(entity, layerName, entityColor);
}

// A curve the host can take as spline data: order 2 or more, at least as
// many control points as the order, and no weight of 0.
bool IsSplineData(const ON_NurbsCurve& curve)
{
    if (curve.Order() < 2 || curve.CVCount() < curve.Order())
        return false;
    for (int i = 0; i < curve.CVCount(); ++i) {
        if (curve.Weight(i) == 0.0)
            return false;
    }
    return true;
}

}  // namespace

int WritePoint(const ON_3dPoint& point, const CString& layerName, const AcCmColor& entityColor)
{
    PlacePoint(point, layerName, entityColor);
    return 1;
}

int WritePoints(const ON_3dPointArray& points, const CString& layerName, const AcCmColor& entityColor)
{
    for (int i = 0; i < points.Count(); ++i)
        PlacePoint(points[i], layerName, entityColor);
    return 1;
}

int WriteLine(const ON_Line& line, const CString& layerName, const AcCmColor& entityColor)
{
    PlaceNew(new AcDbLine(OnPointToAcGe(line.from), OnPointToAcGe(line.to)), layerName, entityColor);
    return 1;
}

int WriteLine(const ON_3dPoint& from, const ON_3dPoint& to, const CString& layerName, const AcCmColor& entityColor)
{
    return WriteLine(ON_Line(from, to), layerName, entityColor);
}

int WriteLines(const ON_SimpleArray<ON_Line>& lines, const CString& layerName, const AcCmColor& entityColor)
{
    for (int i = 0; i < lines.Count(); ++i)
        WriteLine(lines[i], layerName, entityColor);
    return 1;
}

int WriteCircle(const ON_Circle& circle, const CString& layerName, const AcCmColor& entityColor)
{
    PlaceCircle(circle, layerName, entityColor);
    return 1;
}

int WriteCircles(const ON_SimpleArray<ON_Circle>& circles, const CString& layerName, const AcCmColor& entityColor)
{
    for (int i = 0; i < circles.Count(); ++i)
        PlaceCircle(circles[i], layerName, entityColor);
    return 1;
}

int WriteArc(const ON_Arc& arc, const CString& layerName, const AcCmColor& entityColor)
{
    if (arc.IsCircle())
        return WriteCircle(static_cast<const ON_Circle&>(arc), layerName, entityColor);
    NewObject<AcDbArc> entity(new AcDbArc);
    SetAcDbArc(arc, entity.get());
    Place(entity, layerName, entityColor);
    return 1;
}

int WriteArcs(const ON_SimpleArray<ON_Arc>& arcs, const CString& layerName, const AcCmColor& entityColor)
{
    for (int i = 0; i < arcs.Count(); ++i)
        WriteArc(arcs[i], layerName, entityColor);
    return 1;
}

int SetAcDb3dPolyline(const ON_Polyline& polyline, AcDb3dPolyline* entity)
{
    const bool closed = polyline.IsClosed(0.0);
    ON_3dPointArray points(polyline);
    if (closed)
        points.Remove(points.Count() - 1);
    for (int i = 0; i < points.Count(); ++i)
        Append3dPolylineVertex(entity, OnPointToAcGe(points[i]));
    if (closed)
        entity->makeClosed();
    return 1;
}

int Write3dPolyline(const ON_Polyline& polyline, const CString& layerName, const AcCmColor& entityColor)
{
    Place3dPolyline(polyline, layerName, entityColor);
    return 1;
}

int Write3dPolylines(const ON_ClassArray<ON_Polyline>& polylines, const CString& layerName,
                     const AcCmColor& entityColor)
{
    for (int i = 0; i < polylines.Count(); ++i)
        Place3dPolyline(polylines[i], layerName, entityColor);
    return 1;
}

int SetAcDbSpline(const ON_NurbsCurve& curve, AcDbSpline* entity)
{
    if (!IsSplineData(curve)) {
        CToolkitConversion::SetLastErrorText(kSplineFailure);
        return 0;
    }

    // A periodic curve repeats its first `degree` CVs after the others; the
    // host takes it as one loop: the distinct CVs and the knots that bound
    // their spans, from the start of the domain to its end.
    const bool periodic = curve.IsPeriodic();
    const int cvCount = periodic ? curve.CVCount() - curve.Degree() : curve.CVCount();
    AcGePoint3dArray controlPoints;
    AcGeDoubleArray weights;
    for (int i = 0; i < cvCount; ++i) {
        ON_3dPoint p(0.0, 0.0, 0.0);
        curve.GetCV(i, p);
        controlPoints.append(OnPointToAcGe(p));
        weights.append(curve.Weight(i));
    }

    const int knotCount = curve.KnotCount();
    AcGeDoubleArray knots;
    if (periodic) {
        for (int j = 0; j <= cvCount; ++j)
            knots.append(curve.Knot(curve.Degree() - 1 + j));
    } else {
        knots.append(curve.Knot(0));
        for (int j = 0; j < knotCount; ++j)
            knots.append(curve.Knot(j));
        knots.append(curve.Knot(knotCount - 1));
    }

    // A refusal leaves the entity's earlier data in place, so a spline that
    // held a curve before is not null then: the status tells.
    const Acad::ErrorStatus es =
        entity->setNurbsData(curve.Degree(), curve.IsRational() ? Adesk::kTrue : Adesk::kFalse,
                             curve.IsClosed() ? Adesk::kTrue : Adesk::kFalse, periodic ? Adesk::kTrue : Adesk::kFalse,
                             controlPoints, knots, weights, 0.0, 0.0);
    if (es != Acad::eOk || entity->isNull()) {
        CToolkitConversion::SetLastErrorText(kSplineFailure);
        return 0;
    }
    return 1;
}

int WriteCurve(const ON_NurbsCurve& curve, const CString& layerName, const AcCmColor& entityColor)
{
    ON_Line line;
    ON_Circle circle;
    ON_Arc arc;
    ON_Polyline polyline;
    const ON_Curve* tested = &curve;
    if (VrnCurve::IsLine(tested, line) == 1)
        return WriteLine(line, layerName, entityColor);
    if (VrnCurve::IsCircle(tested, circle) == 1) {
        PlaceCircle(circle, layerName, entityColor);
        return 1;
    }
    if (VrnCurve::IsArc(tested, arc) == 1)
        return WriteArc(arc, layerName, entityColor);
    if (VrnCurve::IsPolyline(tested, polyline) == 1)
        return Write3dPolyline(polyline, layerName, entityColor);

    NewObject<AcDbSpline> spline(new AcDbSpline);
    SetAcDbSpline(curve, spline.get());
    Place(spline, layerName, entityColor);
    return 1;
}

int WriteCurves(const ON_ClassArray<ON_NurbsCurve>& curves, const CString& layerName, const AcCmColor& entityColor)
{
    for (int i = 0; i < curves.Count(); ++i)
        WriteCurve(curves[i], layerName, entityColor);
    return 1;
}

int WriteFitSpline(const ON_3dPointArray& fitPoints, const CString& layerName, const AcCmColor& entityColor)
{
    AcGePoint3dArray points;
    for (int i = 0; i < fitPoints.Count(); ++i)
        points.append(OnPointToAcGe(fitPoints[i]));
    PlaceNew(new AcDbSpline(points, 4, 0.0), layerName, entityColor);
    return 1;
}
