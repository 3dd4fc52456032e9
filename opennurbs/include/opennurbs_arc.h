// Circular arcs: a circle and an increasing angle interval, in radians from
// the plane's x axis.
#pragma once

#include "opennurbs_circle.h"

class ON_CLASS ON_Arc : public ON_Circle
{
public:
  // The unit circle, [0, 2pi].
  ON_Arc();
  ON_Arc(const ON_Circle& circle, double angle_in_radians);
  ON_Arc(const ON_Circle& circle, ON_Interval angle_interval_in_radians);
  ON_Arc(const ON_Plane& plane, double radius, double angle_in_radians);
  ON_Arc(const ON_3dPoint& center, double radius, double angle_in_radians);
  ON_Arc(const ON_Plane& plane, const ON_3dPoint& center, double radius, double angle_in_radians);
  // Through three points: starts at P, normal from the turn P, Q, R.
  ON_Arc(const ON_3dPoint& P, const ON_3dPoint& Q, const ON_3dPoint& R);

  // The whole circle, [0, 2pi].
  ON_Arc& operator=(const ON_Circle& circle);

  // Create(circle, [0, angle]).
  bool Create(const ON_Circle& circle, double angle_in_radians);
  // A decreasing interval [a, b] becomes [-a, -b] with the plane's y and z
  // axes reversed (same points, opposite direction) and the call gives
  // false; an interval longer than 2pi is cut to 2pi and the call gives
  // false. Otherwise the result is IsValid().
  bool Create(const ON_Circle& circle, ON_Interval angle_interval_in_radians);
  bool Create(const ON_Plane& plane, double radius, double angle_in_radians);
  bool Create(const ON_3dPoint& center, double radius, double angle_in_radians);
  bool Create(const ON_Plane& plane, const ON_3dPoint& center, double radius, double angle_in_radians);
  bool Create(const ON_3dPoint& P, const ON_3dPoint& Q, const ON_3dPoint& R);
  // Tangent to dir at P and through Q.
  bool Create(const ON_3dPoint& P, const ON_3dVector& dir, const ON_3dPoint& Q);

  // A valid circle and ON_ZERO_TOLERANCE < length <= 2pi + ON_ZERO_TOLERANCE.
  bool IsValid() const;
  // True when |AngleRadians()| is within 1e-12 of 2pi.
  bool IsCircle() const;

  double AngleRadians() const;
  double AngleDegrees() const;
  ON_Interval Domain() const;
  ON_Interval DomainRadians() const;
  ON_Interval DomainDegrees() const;
  // Sets [0, angle]; a negative angle reverses the circle.
  bool SetAngleRadians(double angle_in_radians);
  bool SetAngleDegrees(double angle_in_degrees);
  // An increasing interval no longer than (1 + ON_SQRT_EPSILON)*2pi; not clamped.
  bool SetAngleIntervalRadians(ON_Interval angle_interval_in_radians);
  // An increasing interval no longer than 2pi + ON_ZERO_TOLERANCE, clamped to 2pi.
  bool Trim(ON_Interval domain);

  ON_3dPoint StartPoint() const;
  ON_3dPoint MidPoint() const;
  ON_3dPoint EndPoint() const;
  double Length() const;
  // The angle of the closest point on the arc, within Domain().
  bool ClosestPointTo(const ON_3dPoint& point, double* t) const;
  ON_3dPoint ClosestPointTo(const ON_3dPoint& point) const;

  // Same points, opposite direction.
  bool Reverse();
  bool Transform(const ON_Xform& xform);

  // The rational quadratic form, one span per quarter turn or part of one,
  // knots in radians; 2 on success, 0 for an invalid arc.
  int GetNurbForm(ON_NurbsCurve& nurbs_curve) const;

private:
  ON_Interval m_angle;
};
