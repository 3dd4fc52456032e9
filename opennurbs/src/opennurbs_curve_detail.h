// Helpers the curve classes share: evaluation results, lengths and the
// parameter lists of polylines and chains.
#pragma once

#include "opennurbs_array.h"
#include "opennurbs_point.h"

#include <algorithm>
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

// The domain of a curve whose parameters at its breaks are t, in increasing
// order: [first, last], or an unset interval with fewer than two.
inline ON_Interval ParameterDomain(const ON_SimpleArray<double>& t)
{
  if (t.Count() < 2)
    return ON_Interval();
  return ON_Interval(t[0], t[t.Count() - 1]);
}

// Maps the parameters t linearly onto [t0, t1], the ends exactly; false
// (nothing changed) unless t0 < t1 and t has an increasing domain.
inline bool SetParameterDomain(ON_SimpleArray<double>& t, double t0, double t1)
{
  const ON_Interval d = ParameterDomain(t);
  if (!(t0 < t1) || !d.IsIncreasing())
    return false;
  const ON_Interval nd(t0, t1);
  for (int i = 0; i < t.Count(); i++)
    t[i] = nd.ParameterAt(d.NormalizedParameterAt(t[i]));
  t[0] = t0;
  t[t.Count() - 1] = t1;
  return true;
}

// The parameters of the reversed curve: in reverse order, negated.
inline void ReverseParameters(ON_SimpleArray<double>& t)
{
  std::reverse(t.Array(), t.Array() + t.Count());
  for (int i = 0; i < t.Count(); i++)
    t[i] = -t[i];
}
}  // namespace ON_CurveDetail
