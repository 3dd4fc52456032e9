// NURBS curves made from a list of control points, for the tests of what
// reads and writes openNURBS curves.
#pragma once

#include <vector>

#include "opennurbs.h"

// A control point with its weight; a curve whose weights are all 1 is
// non-rational.
struct Cv {
    double x, y, z, w;
};

// A NURBS curve of the given order on the control points, with a clamped
// uniform knot vector unless knots are given.
inline ON_NurbsCurve Nurbs(int order, const std::vector<Cv>& cvs, const std::vector<double>& knots = {})
{
    bool rational = false;
    for (const Cv& cv : cvs)
        rational = rational || cv.w != 1.0;
    ON_NurbsCurve curve;
    curve.Create(3, rational, order, static_cast<int>(cvs.size()));
    for (int i = 0; i < static_cast<int>(cvs.size()); ++i) {
        const Cv& c = cvs[static_cast<size_t>(i)];
        if (rational) {
            double* cv = curve.CV(i);
            cv[0] = c.x * c.w;
            cv[1] = c.y * c.w;
            cv[2] = c.z * c.w;
            cv[3] = c.w;
        } else {
            curve.SetCV(i, ON_3dPoint(c.x, c.y, c.z));
        }
    }
    if (knots.empty()) {
        curve.MakeClampedUniformKnotVector(1.0);
    } else {
        for (int i = 0; i < static_cast<int>(knots.size()); ++i)
            curve.SetKnot(i, knots[static_cast<size_t>(i)]);
    }
    return curve;
}
