// Curve readers (conversion group).
#include "CurveReaders.h"

#include <algorithm>
#include <cmath>

#include "GeometryConversion.h"
#include "ReaderCircles.h"
#include "acarray.h"
#include "gedblar.h"
#include "gept3dar.h"

namespace {

// The point of the ellipse centre + cos t major + sin t minor at t, scaled
// by the factor s about the centre.
ON_3dPoint EllipsePoint(const ON_3dPoint& center, const ON_3dVector& majorAxis, const ON_3dVector& minorAxis, double t,
                        double s)
{
    return center + (std::cos(t) * s) * majorAxis + (std::sin(t) * s) * minorAxis;
}

void SetHomogeneousCV(ON_NurbsCurve& curve, int i, const ON_3dPoint& p, double w)
{
    double* cv = curve.CV(i);
    cv[0] = p.x * w;
    cv[1] = p.y * w;
    cv[2] = p.z * w;
    cv[3] = w;
}

// The exact elliptical arc from parameter start to end (start < end) as a
// rational curve of order 3 whose knots are the ellipse parameters of its
// piece ends.
void BuildEllipticalArc(const ON_3dPoint& center, const ON_3dVector& majorAxis, const ON_3dVector& minorAxis,
                        double start, double end, ON_NurbsCurve& curve)
{
    const int pieces = std::max(1, static_cast<int>(std::ceil((end - start) / (0.5 * ON_PI) - 1e-9)));
    const double h = 0.5 * (end - start) / pieces;
    const double w = std::cos(h);
    curve.Create(3, true, 3, 2 * pieces + 1);
    for (int k = 0; k <= pieces; ++k) {
        const double t = k == pieces ? end : start + 2.0 * h * k;
        curve.SetKnot(2 * k, t);
        if (2 * k + 1 < curve.KnotCount())
            curve.SetKnot(2 * k + 1, t);
        SetHomogeneousCV(curve, 2 * k, EllipsePoint(center, majorAxis, minorAxis, t, 1.0), 1.0);
        if (k < pieces)
            SetHomogeneousCV(curve, 2 * k + 1, EllipsePoint(center, majorAxis, minorAxis, t + h, 1.0 / w), w);
    }
}

}  // namespace

int ReadPoint(AcDbPoint* entity, ON_Point& point)
{
    point = ON_Point(AcGePointToOn(entity->position()));
    return 1;
}

int ReadLine(AcDbLine* entity, ON_LineCurve& curve)
{
    curve = ON_LineCurve(AcGePointToOn(entity->startPoint()), AcGePointToOn(entity->endPoint()));
    return 1;
}

int ReadRay(AcDbRay* entity, ON_LineCurve& curve)
{
    const AcGePoint3d base = entity->basePoint();
    const AcGeVector3d direction = entity->unitDir();
    curve = ON_LineCurve(AcGePointToOn(base), AcGePointToOn(base + direction));
    return 1;
}

int ReadXline(AcDbXline* entity, ON_LineCurve& curve)
{
    const AcGePoint3d base = entity->basePoint();
    const AcGeVector3d direction = entity->unitDir();
    curve = ON_LineCurve(AcGePointToOn(base + direction), AcGePointToOn(base - direction));
    return 1;
}

int ReadCircle(AcDbCircle* entity, ON_ArcCurve& curve)
{
    curve = ON_ArcCurve(ReaderCircle(entity->center(), entity->normal(), entity->radius()));
    return 1;
}

int ReadArc(AcDbArc* entity, ON_ArcCurve& curve)
{
    const ON_Circle circle = ReaderCircle(entity->center(), entity->normal(), entity->radius());
    AcGePoint3d start;
    AcGePoint3d end;
    entity->getStartPoint(start);
    entity->getEndPoint(end);
    curve = ON_ArcCurve(ArcOnCircle(circle, AcGePointToOn(start), AcGePointToOn(end)));
    return 1;
}

int ReadEllipse(AcDbEllipse* entity, ON_NurbsCurve& curve)
{
    const AcGeVector3d majorAxis = entity->majorAxis();
    const AcGeVector3d minorAxis = entity->minorAxis();
    const ON_3dPoint center = AcGePointToOn(entity->center());
    const ON_Plane plane(center, AcGeVectorToOn(majorAxis), AcGeVectorToOn(minorAxis));
    const ON_Ellipse ellipse(plane, majorAxis.length(), minorAxis.length());
    // An ellipse without a NURBS form has no arc either.
    if (ellipse.GetNurbForm(curve) == 0 || entity->isClosed() == 1)
        return 1;

    // The elliptical arc from the start parameter to the end parameter,
    // counter-clockwise, as rational quadratic pieces of at most a quarter
    // turn each; the curve's parameter is the ellipse's.
    const double turn = 2.0 * ON_PI;
    double start = std::fmod(entity->paramAtAngle(entity->startAngle()), turn);
    if (start < 0.0)
        start += turn;
    double end = std::fmod(entity->paramAtAngle(entity->endAngle()), turn);
    if (end < 0.0)
        end += turn;
    if (end <= start)
        end += turn;
    BuildEllipticalArc(center, AcGeVectorToOn(majorAxis), AcGeVectorToOn(minorAxis), start, end, curve);
    return 1;
}

namespace {

// The host reports a periodic spline as one loop: n control points and the
// n + 1 knots t0..tn of its spans. openNURBS keeps the same curve with the
// first `degree` control points repeated after the last and `degree` - 1
// more knots at each end, continued by the period tn - t0; its domain is
// then [t0, tn] as well.
void ReadPeriodicSpline(int degree, const AcGePoint3dArray& loop, const AcGeDoubleArray& knots, ON_NurbsCurve& curve)
{
    const int n = loop.length();
    const int count = n + degree;
    ON_3dPoint* points = new ON_3dPoint[count];
    for (int i = 0; i < count; ++i)
        points[i] = AcGePointToOn(loop[i % n]);
    curve.CreateClampedUniformNurbs(3, degree + 1, count, points, 1.0);
    delete[] points;

    const double period = knots[n] - knots[0];
    for (int j = 0; j < curve.KnotCount(); ++j) {
        // openNURBS knot j is knot j + 1 - degree of the endless sequence.
        const int k = j + 1 - degree;
        const int turns = k >= 0 ? k / n : -((-k + n - 1) / n);
        curve.SetKnot(j, knots[k - turns * n] + turns * period);
    }
}

}  // namespace

int ReadSpline(AcDbSpline* entity, ON_NurbsCurve& curve)
{
    int degree = 0;
    Adesk::Boolean rational = Adesk::kFalse;
    Adesk::Boolean closed = Adesk::kFalse;
    Adesk::Boolean periodic = Adesk::kFalse;
    AcGePoint3dArray controlPoints;
    AcGeDoubleArray knots;
    AcGeDoubleArray weights;
    double controlPointTolerance = 0.0;
    double knotTolerance = 0.0;
    entity->getNurbsData(degree, rational, closed, periodic, controlPoints, knots, weights, controlPointTolerance,
                         knotTolerance);

    const int count = controlPoints.length();
    if (periodic && degree >= 1 && count >= 1 && knots.length() == count + 1) {
        ReadPeriodicSpline(degree, controlPoints, knots, curve);
        return 1;
    }
    ON_3dPoint* points = new ON_3dPoint[count > 0 ? count : 1];
    for (int i = 0; i < count; ++i)
        points[i] = AcGePointToOn(controlPoints[i]);
    curve.CreateClampedUniformNurbs(3, degree + 1, count, points, 1.0);
    delete[] points;

    for (int i = 1; i + 1 < knots.length(); ++i)
        curve.SetKnot(i - 1, knots[i]);
    return 1;
}
