// Ellipses: a plane (origin = centre) and the radii along its x and y axes.
#pragma once

#include "opennurbs_circle.h"

class ON_CLASS ON_Ellipse
{
public:
  // Zero radii: not valid.
  ON_Ellipse();
  ON_Ellipse(const ON_Plane& plane, double rx, double ry);
  explicit ON_Ellipse(const ON_Circle& circle);

  bool Create(const ON_Plane& plane, double rx, double ry);
  bool Create(const ON_Circle& circle);

  // A valid plane and positive radii.
  bool IsValid() const;
  bool IsCircle() const;

  const ON_3dPoint& Center() const
  {
    return plane.origin;
  }
  const ON_3dVector& Normal() const
  {
    return plane.zaxis;
  }
  const ON_Plane& Plane() const
  {
    return plane;
  }
  // radius[i] for i = 0 (x) or 1 (y).
  double Radius(int i) const;

  // origin + rx*cos(t)*xaxis + ry*sin(t)*yaxis.
  ON_3dPoint PointAt(double t) const;
  ON_3dVector DerivativeAt(int d, double t) const;

  bool Transform(const ON_Xform& xform);

  // The closed rational quadratic form: nine control points, weights
  // 1, 1/sqrt(2), 1, ..., knots 0, 0, pi/2, pi/2, ..., 2pi, 2pi. 2 on
  // success, 0 for an invalid ellipse.
  int GetNurbForm(ON_NurbsCurve& nurbs_curve) const;

  ON_Plane plane;
  double radius[2];
};
