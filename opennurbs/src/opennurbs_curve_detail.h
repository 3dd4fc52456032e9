// Helpers the curve classes share for writing evaluation results.
#pragma once

#include "opennurbs_point.h"

#include <cmath>

namespace ON_CurveDetail
{
// Writes the first dim coordinates of a into v (coordinates past 3 are 0).
inline void WriteVec(double* v, int dim, const ON_3dVector& a)
{
  for (int i = 0; i < dim; i++)
    v[i] = (i < 3) ? a[i] : 0.0;
}

// The length of a curve of constant speed over a part of its domain: its
// whole length in proportion (the whole length without a part, or on an
// empty domain).
inline double LengthOver(double whole, const ON_Interval& domain, const ON_Interval* sub_domain)
{
  if (sub_domain && domain.Length() != 0.0)
    return whole * std::fabs(sub_domain->Length() / domain.Length());
  return whole;
}
}  // namespace ON_CurveDetail
