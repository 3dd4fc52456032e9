// Helpers the curve classes share for writing evaluation results.
#pragma once

#include "opennurbs_point.h"

namespace ON_CurveDetail
{
// Writes the first dim coordinates of a into v (coordinates past 3 are 0).
inline void WriteVec(double* v, int dim, const ON_3dVector& a)
{
  for (int i = 0; i < dim; i++)
    v[i] = (i < 3) ? a[i] : 0.0;
}
}  // namespace ON_CurveDetail
