// Knot vectors, basis evaluation and control points: what NURBS curves and
// surfaces share.
#pragma once

#include "opennurbs_point.h"

#include <vector>

namespace ON_KnotDetail
{
// The span s in [order-2, cv_count-2] of a knot vector without end knots
// with knot[s] < knot[s+1] that holds t (from below when side < 0).
int FindSpan(int order, int cv_count, const double* knot, double t, int side);

// ders[k*order + j], k = 0..der_count, j = 0..order-1: the k-th derivative of
// the basis function of control point s-order+2+j at t.
void BasisDerivatives(int order, const double* knot, int span, double t, int der_count, std::vector<double>& ders);

// The domain [knot[order-2], knot[cv_count-1]], or an unset interval when
// there is no valid knot vector.
inline ON_Interval Domain(int order, int cv_count, const double* knot)
{
  if (order < 2 || cv_count < order || !knot)
    return ON_Interval();
  return ON_Interval(knot[order - 2], knot[cv_count - 1]);
}

// Knots order-2 ... cv_count-1 become 0, delta, 2 delta, ... and both ends
// are clamped; false (and nothing changed) for a bad delta or knot vector.
inline bool MakeClampedUniform(int order, int cv_count, double* knot, double delta)
{
  if (!(delta > 0.0) || order < 2 || cv_count < order || !knot)
    return false;
  const int knot_count = order + cv_count - 2;
  for (int i = order - 2, k = 0; i < cv_count; i++, k++)
    knot[i] = k * delta;
  for (int i = 0; i < order - 2; i++)
    knot[i] = knot[order - 2];
  for (int i = cv_count; i < knot_count; i++)
    knot[i] = knot[cv_count - 1];
  return true;
}
}  // namespace ON_KnotDetail

// One control point of dim coordinates, followed by its weight when the
// curve or surface is rational.
namespace ON_CVDetail
{
// Coordinates past 3 are 0; a rational point gets weight 1.
inline void SetPoint(double* cv, int dim, bool is_rat, const ON_3dPoint& p)
{
  for (int c = 0; c < dim; c++)
    cv[c] = (c < 3) ? p[c] : 0.0;
  if (is_rat)
    cv[dim] = 1.0;
}

// A rational point takes p as it is; a non-rational one takes its Euclidean
// point, and false (nothing changed) when p has a zero weight.
inline bool SetPoint(double* cv, int dim, bool is_rat, const ON_4dPoint& p)
{
  if (is_rat)
  {
    for (int c = 0; c < dim; c++)
      cv[c] = (c < 3) ? p[c] : 0.0;
    cv[dim] = p.w;
    return true;
  }
  if (p.w == 0.0)
    return false;
  for (int c = 0; c < dim; c++)
    cv[c] = (c < 3) ? p[c] / p.w : 0.0;
  return true;
}

// The Euclidean point; false for a zero weight.
inline bool GetPoint(const double* cv, int dim, bool is_rat, ON_3dPoint& p)
{
  const double w = is_rat ? cv[dim] : 1.0;
  if (w == 0.0)
    return false;
  const double f = is_rat ? 1.0 / w : 1.0;
  p.x = cv[0] * f;
  p.y = (dim > 1) ? cv[1] * f : 0.0;
  p.z = (dim > 2) ? cv[2] * f : 0.0;
  return true;
}

// The homogeneous point; a non-rational point has weight 1.
inline void GetPoint(const double* cv, int dim, bool is_rat, ON_4dPoint& p)
{
  p.x = cv[0];
  p.y = (dim > 1) ? cv[1] : 0.0;
  p.z = (dim > 2) ? cv[2] : 0.0;
  p.w = is_rat ? cv[dim] : 1.0;
}
}  // namespace ON_CVDetail
