// Small builders shared by the mesh tests.
#pragma once

#include "opennurbs.h"

#include <limits>
#include <vector>

namespace meshtest
{
inline const float kNaNf = std::numeric_limits<float>::quiet_NaN();

// A face with the four indices as given (ON_MeshFace has no such constructor).
inline ON_MeshFace Face(int a, int b, int c, int d)
{
  ON_MeshFace f;
  f.vi[0] = a;
  f.vi[1] = b;
  f.vi[2] = c;
  f.vi[3] = d;
  return f;
}

// A mesh of exactly these vertices and faces, appended as they are.
inline ON_Mesh Build(const std::vector<ON_3fPoint>& V, const std::vector<ON_MeshFace>& F)
{
  ON_Mesh m;
  for (const ON_3fPoint& p : V)
    m.m_V.Append(p);
  for (const ON_MeshFace& f : F)
    m.m_F.Append(f);
  return m;
}
}  // namespace meshtest
