// The base of parametric curves.
#pragma once

#include "opennurbs_geometry.h"

class ON_NurbsCurve;

class ON_CLASS ON_Curve : public ON_Geometry
{
  ON_OBJECT_DECLARE(ON_Curve);

public:
  ON_Curve() = default;
  ON_Curve(const ON_Curve&) = default;
  ON_Curve& operator=(const ON_Curve&) = default;
  ~ON_Curve() override;

  ON::object_type ObjectType() const override;
  // A new heap copy of the curve; the caller deletes it.
  ON_Curve* DuplicateCurve() const;

  virtual ON_Interval Domain() const;
  // False when the class cannot take a new domain or t0 >= t1.
  virtual bool SetDomain(double t0, double t1);
  bool SetDomain(ON_Interval domain);
  // Curves of another dimension are changed to this one where they can be.
  virtual bool ChangeDimension(int desired_dimension);

  // Values at t: the point, then der_count derivatives, each v_stride
  // doubles apart in v (Dimension() values each). side < 0 evaluates
  // from below at a knot. False outside the class's abilities.
  virtual bool Evaluate(double t, int der_count, int v_stride, double* v, int side = 0, int* hint = nullptr) const;

  ON_3dPoint PointAt(double t) const;
  ON_3dPoint PointAtStart() const;
  ON_3dPoint PointAtEnd() const;
  ON_3dVector DerivativeAt(double t) const;
  // The unit tangent, or the zero vector where the derivative vanishes.
  ON_3dVector TangentAt(double t) const;
  bool EvPoint(double t, ON_3dPoint& point, int side = 0, int* hint = nullptr) const;
  bool Ev1Der(double t, ON_3dPoint& point, ON_3dVector& first_derivative, int side = 0, int* hint = nullptr) const;
  bool Ev2Der(double t, ON_3dPoint& point, ON_3dVector& first_derivative, ON_3dVector& second_derivative, int side = 0,
              int* hint = nullptr) const;

  // Start and end at one place (within ON_ZERO_TOLERANCE or relatively),
  // and the curve is more than a point: a point at a third or at two
  // thirds of the domain lies away from the start.
  virtual bool IsClosed() const;
  virtual bool IsPeriodic() const;
  // Reverses the direction; the domain [a, b] becomes [-b, -a].
  virtual bool Reverse();
  // Keeps the part over domain, which must lie in the curve's domain.
  virtual bool Trim(const ON_Interval& domain);
  // For a closed curve: the curve starts at t instead; the domain becomes
  // [t, t + length of the old domain].
  virtual bool ChangeClosedCurveSeam(double t);
  // Two new heap curves, the parts below and above t, which must lie
  // inside the domain. The caller deletes them.
  virtual bool Split(double t, ON_Curve*& left_side, ON_Curve*& right_side) const;

  // Arc length of the curve, or of sub_domain.
  virtual bool GetLength(double* length, double fractional_tolerance = 1.0e-8,
                         const ON_Interval* sub_domain = nullptr) const;

  // The NURBS form: 0 when there is none, 1 when it has the curve's own
  // parameterisation, 2 when it traces the same points with another one.
  virtual int GetNurbForm(ON_NurbsCurve& nurbs_curve, double tolerance = 0.0,
                          const ON_Interval* subdomain = nullptr) const;
  // 0 none, 1 exact, 2 exact with another parameterisation.
  virtual int HasNurbForm() const;
  // A new heap NURBS form (or the form in nurbs_curve when given); null
  // when there is none.
  ON_NurbsCurve* NurbsCurve(ON_NurbsCurve* nurbs_curve = nullptr, double tolerance = 0.0,
                            const ON_Interval* subdomain = nullptr) const;
};
