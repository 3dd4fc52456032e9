// Points along a curve entity (utilities group).
#include "CurvePoints.h"

namespace {

void AppendPointAt(AcDbCurve* curve, double param, AcArray<AcGePoint3d>& points)
{
    AcGePoint3d point(0.0, 0.0, 0.0);
    curve->getPointAtParam(param, point);
    points.append(point);
}

}  // namespace

int GetCurvePoints(AcDbCurve* curve, double step, AcArray<AcGePoint3d>& points)
{
    double start = 0.0;
    double end = 0.0;
    double length = 0.0;
    curve->getStartParam(start);
    curve->getEndParam(end);
    curve->getDistAtParam(end, length);

    if (step > 0.0) {
        const double increment = step / length * (end - start);
        for (double p = start; end > p;) {
            AppendPointAt(curve, p, points);
            const double next = p + increment;
            // An increment that does not move p (not a number, or lost in
            // p's precision) would never reach the end.
            if (!(next > p))
                break;
            p = next;
        }
    } else if (end > start) {
        // A step that does not move forward: the start point alone.
        AppendPointAt(curve, start, points);
    }
    AppendPointAt(curve, end, points);
    return 1;
}
