// Circles: a plane (origin = centre) and a radius.
#pragma once

#include "opennurbs_plane.h"

class ON_NurbsCurve;
class ON_Xform;

class ON_CLASS ON_Circle
{
public:
  // The unit circle in the world XY plane.
  ON_Circle();
  ON_Circle(const ON_Plane& plane, double radius);
  // Parallel to the world XY plane.
  ON_Circle(const ON_3dPoint& center, double radius);
  // The plane moved to center.
  ON_Circle(const ON_Plane& plane, const ON_3dPoint& center, double radius);
  // Through three points, starting at P: the x axis points from the centre
  // to P and the normal follows the turn P, Q, R.
  ON_Circle(const ON_3dPoint& P, const ON_3dPoint& Q, const ON_3dPoint& R);

  bool Create(const ON_Plane& plane, double radius);
  bool Create(const ON_3dPoint& center, double radius);
  bool Create(const ON_Plane& plane, const ON_3dPoint& center, double radius);
  // False for coincident or collinear points; the radius is then 0.
  bool Create(const ON_3dPoint& P, const ON_3dPoint& Q, const ON_3dPoint& R);

  // A valid plane and a positive radius.
  bool IsValid() const;

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
  double Radius() const
  {
    return radius;
  }
  double Diameter() const
  {
    return 2.0 * radius;
  }
  double Circumference() const;

  // origin + r*cos(t)*xaxis + r*sin(t)*yaxis.
  ON_3dPoint PointAt(double t) const;
  // The d-th derivative at angle t.
  ON_3dVector DerivativeAt(int d, double t) const;
  ON_3dVector TangentAt(double t) const;
  // The angle of the closest point, in [0, 2pi); 0 for the centre itself.
  bool ClosestPointTo(const ON_3dPoint& point, double* t) const;
  ON_3dPoint ClosestPointTo(const ON_3dPoint& point) const;

  bool Transform(const ON_Xform& xform);
  bool Translate(const ON_3dVector& delta);
  // Reverses the direction: the y and z axes change sign.
  bool Reverse();

  // The closed rational quadratic form of nine control points; 2 on
  // success, 0 for an invalid circle.
  int GetNurbForm(ON_NurbsCurve& nurbs_curve) const;

  ON_Plane plane;
  double radius;
};
