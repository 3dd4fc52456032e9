// A circular arc or a whole circle as a curve.
#pragma once

#include "opennurbs_arc.h"
#include "opennurbs_curve.h"

class ON_CLASS ON_ArcCurve : public ON_Curve
{
  ON_OBJECT_DECLARE(ON_ArcCurve);

public:
  // The unit circle, domain [0, 2pi].
  ON_ArcCurve();
  // Domain [0, arc length], or [0, 1] when the length is not positive.
  explicit ON_ArcCurve(const ON_Arc& arc);
  ON_ArcCurve(const ON_Arc& arc, double t0, double t1);
  explicit ON_ArcCurve(const ON_Circle& circle);
  ON_ArcCurve(const ON_Circle& circle, double t0, double t1);
  ON_ArcCurve(const ON_ArcCurve&) = default;
  ON_ArcCurve& operator=(const ON_ArcCurve&) = default;
  ~ON_ArcCurve() override;

  // Domain [0, arc length] as for the constructors.
  ON_ArcCurve& operator=(const ON_Arc& arc);
  ON_ArcCurve& operator=(const ON_Circle& circle);

  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  int Dimension() const override;
  bool ChangeDimension(int desired_dimension) override;
  ON_BoundingBox BoundingBox() const override;
  bool Transform(const ON_Xform& xform) override;
  ON_Interval Domain() const override;
  bool SetDomain(double t0, double t1) override;
  // The domain maps linearly onto the arc's angle interval.
  bool Evaluate(double t, int der_count, int v_stride, double* v, int side = 0, int* hint = nullptr) const override;
  bool IsClosed() const override;
  // A full circle is periodic.
  bool IsPeriodic() const override;
  bool Reverse() override;
  bool Trim(const ON_Interval& domain) override;
  bool ChangeClosedCurveSeam(double t) override;
  bool Split(double t, ON_Curve*& left_side, ON_Curve*& right_side) const override;
  bool GetLength(double* length, double fractional_tolerance = 1.0e-8,
                 const ON_Interval* sub_domain = nullptr) const override;
  // The arc's form with its knots mapped onto this curve's domain.
  int GetNurbForm(ON_NurbsCurve& nurbs_curve, double tolerance = 0.0,
                  const ON_Interval* subdomain = nullptr) const override;
  int HasNurbForm() const override;
  unsigned int SizeOf() const override;

  bool IsCircle() const;
  double Radius() const;
  double AngleRadians() const;
  double AngleDegrees() const;

  ON_Arc m_arc;
  ON_Interval m_t;
  int m_dim;
};
