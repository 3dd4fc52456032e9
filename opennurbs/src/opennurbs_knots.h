// B-spline basis evaluation shared by curves and surfaces.
#pragma once

#include <vector>

namespace ON_KnotDetail
{
// The span s in [order-2, cv_count-2] of a knot vector without end knots
// with knot[s] < knot[s+1] that holds t (from below when side < 0).
int FindSpan(int order, int cv_count, const double* knot, double t, int side);

// ders[k*order + j], k = 0..der_count, j = 0..order-1: the k-th derivative of
// the basis function of control point s-order+2+j at t.
void BasisDerivatives(int order, const double* knot, int span, double t, int der_count, std::vector<double>& ders);
}  // namespace ON_KnotDetail
