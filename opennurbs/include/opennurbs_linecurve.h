// A line segment as a curve.
#pragma once

#include "opennurbs_curve.h"
#include "opennurbs_line.h"

class ON_CLASS ON_LineCurve : public ON_Curve
{
  ON_OBJECT_DECLARE(ON_LineCurve);

public:
  // Both ends at the origin, domain [0, 1].
  ON_LineCurve();
  // Domain [0, length], or [0, 1] for a length <= ON_ZERO_TOLERANCE.
  ON_LineCurve(const ON_3dPoint& from, const ON_3dPoint& to);
  explicit ON_LineCurve(const ON_Line& line);
  ON_LineCurve(const ON_Line& line, double t0, double t1);
  ON_LineCurve(const ON_LineCurve&) = default;
  ON_LineCurve& operator=(const ON_LineCurve&) = default;
  ~ON_LineCurve() override;

  // The line with domain [0, length] (or [0, 1]).
  ON_LineCurve& operator=(const ON_Line& line);

  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  int Dimension() const override;
  bool ChangeDimension(int desired_dimension) override;
  ON_BoundingBox BoundingBox() const override;
  bool Transform(const ON_Xform& xform) override;
  ON_Interval Domain() const override;
  bool SetDomain(double t0, double t1) override;
  bool Evaluate(double t, int der_count, int v_stride, double* v, int side = 0, int* hint = nullptr) const override;
  bool IsClosed() const override;
  bool Reverse() override;
  bool Trim(const ON_Interval& domain) override;
  bool Split(double t, ON_Curve*& left_side, ON_Curve*& right_side) const override;
  bool GetLength(double* length, double fractional_tolerance = 1.0e-8,
                 const ON_Interval* sub_domain = nullptr) const override;
  int GetNurbForm(ON_NurbsCurve& nurbs_curve, double tolerance = 0.0,
                  const ON_Interval* subdomain = nullptr) const override;
  int HasNurbForm() const override;
  unsigned int SizeOf() const override;

  ON_Line m_line;
  ON_Interval m_t;
  int m_dim;
};
