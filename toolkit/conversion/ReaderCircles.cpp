// Circles and arcs of the readers (conversion group).
#include "ReaderCircles.h"

#include <cmath>

#include "GeometryConversion.h"

namespace {

// The angle of p about the circle's centre, from the plane's x axis towards
// its y axis, in [0, 2 pi).
double AngleInPlane(const ON_Circle& circle, const ON_3dPoint& p)
{
    const ON_3dVector d = p - circle.plane.origin;
    double t = std::atan2(d * circle.plane.yaxis, d * circle.plane.xaxis);
    if (t < 0.0)
        t += 2.0 * ON_PI;
    return t;
}

}  // namespace

ON_Circle ReaderCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius)
{
    const ON_3dPoint c = AcGePointToOn(center);
    const ON_Plane plane(c, AcGeVectorToOn(normal));
    return ON_Circle(plane, c, radius);
}

// The arc on circle from start to end, counter-clockwise about its normal:
// the angles of both points in the circle's plane, the end moved one turn on
// when it does not lie above the start (equal points give the full circle).
ON_Arc ArcOnCircle(const ON_Circle& circle, const ON_3dPoint& start, const ON_3dPoint& end)
{
    double t0 = AngleInPlane(circle, start);
    double t1 = AngleInPlane(circle, end);
    if (t1 <= t0)
        t1 += 2.0 * ON_PI;
    return ON_Arc(circle, ON_Interval(t0, t1));
}
