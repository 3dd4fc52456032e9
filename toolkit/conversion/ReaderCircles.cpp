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

// The arc on circle from start to end, counter-clockwise about its normal.
// The sweep is the angle from the start direction to the end direction taken
// at once, not the difference of the two points' angles: a small sweep is
// then not lost to the rounding of those angles (which would make it a whole
// turn). Equal points, or points on one ray from the centre, give the full
// circle.
ON_Arc ArcOnCircle(const ON_Circle& circle, const ON_3dPoint& start, const ON_3dPoint& end)
{
    const ON_Plane& plane = circle.plane;
    const ON_3dVector s = start - plane.origin;
    const ON_3dVector e = end - plane.origin;
    const double sx = s * plane.xaxis, sy = s * plane.yaxis;
    const double ex = e * plane.xaxis, ey = e * plane.yaxis;
    const double t0 = AngleInPlane(circle, start);
    double sweep = std::atan2(sx * ey - sy * ex, sx * ex + sy * ey);
    if (!(sweep > 0.0))
        sweep += 2.0 * ON_PI;
    return ON_Arc(circle, ON_Interval(t0, t0 + sweep));
}
