// The geometry of a curve entity as the stand-in evaluates it: a chain of
// pieces, each over its own stretch of the entity's parameter range. The
// curve classes describe themselves this way and AcDbCurve answers the
// curve queries from it. No counterpart in the host.
#pragma once

#include <vector>

#include "gepnt3d.h"
#include "gevec3d.h"

namespace standin {

struct CurvePiece {
    enum Kind {
        kSegment,  // origin + t * axisX over t in [t0, t1]
        kEllipse,  // origin + cos t * axisX + sin t * axisY (a circle when both have one length)
        kNurbs     // the NURBS curve of degree, controls, knots, weights, over [t0, t1] of the knots
    };
    Kind kind = kSegment;
    // The piece's own parameter range and the entity parameters it covers
    // (the two are mapped linearly onto each other).
    double t0 = 0.0, t1 = 0.0;
    double p0 = 0.0, p1 = 0.0;
    AcGePoint3d origin;
    AcGeVector3d axisX, axisY;
    int degree = 0;
    std::vector<AcGePoint3d> controls;
    std::vector<double> knots;    // controls + degree + 1 values
    std::vector<double> weights;  // empty when not rational
};

struct CurvePath {
    std::vector<CurvePiece> pieces;  // in parameter order, end to end
    bool closed = false;
    bool periodic = false;
    // An unbounded start or end (a ray's end, both ends of a construction line).
    bool openStart = false, openEnd = false;
};

// A periodic spline's control data hold one period: n control points and
// n + 1 knots, the knots t0..tn bounding the n spans of the closed loop.
// unrollPeriodic turns them into the ordinary B-spline they stand for: the
// first `degree` control points (and weights, when there are any) repeated
// after the last, and `degree` knots added at each end, shifted by the
// period tn - t0. The curve then runs over [t0, tn] of the unrolled knots.
void unrollPeriodic(int degree, std::vector<AcGePoint3d>& controls, std::vector<double>& knots,
                    std::vector<double>& weights);
// The reverse: an ordinary B-spline whose last `degree` control points (and
// weights) repeat its first and whose end knots repeat its inner ones by
// one period, given back as one period. False, with nothing changed, for
// data of any other form.
bool rollPeriodic(int degree, std::vector<AcGePoint3d>& controls, std::vector<double>& knots,
                  std::vector<double>& weights);

}  // namespace standin
