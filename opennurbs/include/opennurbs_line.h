// Line segments.
#pragma once

#include "opennurbs_point.h"

class ON_Xform;

class ON_CLASS ON_Line
{
public:
  // Both ends at the origin.
  ON_Line();
  ON_Line(const ON_3dPoint& from, const ON_3dPoint& to);

  bool Create(const ON_3dPoint& from, const ON_3dPoint& to);
  // Both ends valid and different.
  bool IsValid() const;

  ON_3dPoint& operator[](int i)
  {
    return (i <= 0) ? from : to;
  }
  const ON_3dPoint& operator[](int i) const
  {
    return (i <= 0) ? from : to;
  }

  double Length() const;
  // to - from.
  ON_3dVector Direction() const;
  // The unit direction, or the zero vector for a point.
  ON_3dVector Tangent() const;
  // (1-t)*from + t*to.
  ON_3dPoint PointAt(double t) const;
  // The parameter of the closest point on the infinite line through from and
  // to (t may lie outside [0, 1]); 0 for a zero-length line. False only when
  // t is null.
  bool ClosestPointTo(const ON_3dPoint& point, double* t) const;
  // The closest point on the infinite line.
  ON_3dPoint ClosestPointTo(const ON_3dPoint& point) const;
  // The distance to the infinite line.
  double DistanceTo(const ON_3dPoint& point) const;
  bool Transform(const ON_Xform& xform);
  void Reverse();

  ON_3dPoint from;
  ON_3dPoint to;
};
