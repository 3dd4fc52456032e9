// Non-uniform rational B-spline curves.
//
// The knot vector holds order + cv_count - 2 knots: the two outermost knots
// that other systems carry are left out. Rational control points are kept
// homogeneously, (w*x, w*y, w*z, w).
#pragma once

#include "opennurbs_curve.h"

class ON_CLASS ON_NurbsCurve : public ON_Curve
{
  ON_OBJECT_DECLARE(ON_NurbsCurve);

public:
  // Empty: order 0, no control points, KnotCount() -2.
  ON_NurbsCurve();
  ON_NurbsCurve(int dimension, bool bIsRational, int order, int cv_count);
  ON_NurbsCurve(const ON_NurbsCurve& src);
  ON_NurbsCurve& operator=(const ON_NurbsCurve& src);
  ON_NurbsCurve(ON_NurbsCurve&& src) noexcept;
  ON_NurbsCurve& operator=(ON_NurbsCurve&& src) noexcept;
  ~ON_NurbsCurve() override;

  // Sets the sizes and makes room. Knots and control points are zero until
  // set. False, with nothing changed, for dimension < 1, order < 2 or
  // cv_count < order.
  bool Create(int dimension, bool bIsRational, int order, int cv_count);
  // Non-rational, through the points as control points, clamped uniform knots.
  bool CreateClampedUniformNurbs(int dimension, int order, int point_count, const ON_3dPoint* point,
                                 double knot_delta = 1.0);
  // Periodic: the first order-1 points are repeated at the end, the knots
  // are uniform throughout; the domain is [0, point_count*knot_delta].
  bool CreatePeriodicUniformNurbs(int dimension, int order, int point_count, const ON_3dPoint* point,
                                  double knot_delta = 1.0);
  // Frees everything; the curve is empty again.
  void Destroy();
  void Initialize();
  bool ReserveCVCapacity(int capacity);
  bool ReserveKnotCapacity(int capacity);

  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  int Dimension() const override;
  bool ChangeDimension(int desired_dimension) override;
  ON_BoundingBox BoundingBox() const override;
  bool Transform(const ON_Xform& xform) override;
  ON_Interval Domain() const override;
  bool SetDomain(double t0, double t1) override;
  bool Evaluate(double t, int der_count, int v_stride, double* v, int side = 0, int* hint = nullptr) const override;
  // Periodic, or start and end at one place (see ON_Curve::IsClosed).
  bool IsClosed() const override;
  // Periodic knots (order >= 3, the first and last order-2 knot steps
  // alike) and the first order-1 control points repeated at the end.
  bool IsPeriodic() const override;
  bool Reverse() override;
  bool Trim(const ON_Interval& domain) override;
  bool ChangeClosedCurveSeam(double t) override;
  bool Split(double t, ON_Curve*& left_side, ON_Curve*& right_side) const override;
  bool GetLength(double* length, double fractional_tolerance = 1.0e-8,
                 const ON_Interval* sub_domain = nullptr) const override;
  // A copy; 1.
  int GetNurbForm(ON_NurbsCurve& nurbs_curve, double tolerance = 0.0,
                  const ON_Interval* subdomain = nullptr) const override;
  int HasNurbForm() const override;
  unsigned int SizeOf() const override;

  int Order() const
  {
    return m_order;
  }
  // Order - 1, or 0 when the order is below 2.
  int Degree() const
  {
    return m_order >= 2 ? m_order - 1 : 0;
  }
  int CVCount() const
  {
    return m_cv_count;
  }
  // Dimension, plus 1 when rational.
  int CVSize() const
  {
    return (m_dim > 0) ? (m_is_rat ? m_dim + 1 : m_dim) : 0;
  }
  // Order + CVCount - 2.
  int KnotCount() const
  {
    return m_order + m_cv_count - 2;
  }
  bool IsRational() const
  {
    return m_is_rat != 0;
  }
  // Number of non-empty spans.
  int SpanCount() const;
  bool GetSpanVector(double* span_vector) const;

  // Raw pointer to control point i (homogeneous when rational); null when out of range.
  double* CV(int cv_index) const;
  // The weight of control point i, 1 for a non-rational curve.
  double Weight(int cv_index) const;
  bool SetWeight(int cv_index, double weight);
  // On a rational curve the weight becomes 1.
  bool SetCV(int cv_index, const ON_3dPoint& point);
  // Homogeneous values as given; a non-rational curve takes the point
  // divided by w (and fails for w = 0).
  bool SetCV(int cv_index, const ON_4dPoint& point);
  // The Euclidean point; fails for a weight of 0.
  bool GetCV(int cv_index, ON_3dPoint& point) const;
  // The homogeneous values; w = 1 for a non-rational curve.
  bool GetCV(int cv_index, ON_4dPoint& point) const;

  // False, with nothing changed, when knot_index is outside
  // [0, KnotCount()). No ordering test.
  bool SetKnot(int knot_index, double knot_value);
  // No range test.
  double Knot(int knot_index) const
  {
    return m_knot[knot_index];
  }
  const double* Knot() const
  {
    return m_knot;
  }
  // How many knots equal knot knot_index.
  int KnotMultiplicity(int knot_index) const;

  // Knots order-2 ... cv_count-1 become 0, delta, 2*delta, ... and the
  // first and last order-2 knots copy their neighbours. False for delta <= 0.
  bool MakeClampedUniformKnotVector(double delta = 1.0);
  // Knot i becomes (i - (order-2))*delta. False for delta <= 0.
  bool MakePeriodicUniformKnotVector(double delta = 1.0);
  // end 0: the start, 1: the end, 2: both.
  bool IsClamped(int end = 2) const;

  bool MakeRational();
  // Only when every weight is 1 (or the curve is not rational).
  bool MakeNonRational();
  // Inserts the knot until it appears knot_multiplicity times (at most
  // order-1) without changing the curve. False outside the open domain.
  bool InsertKnot(double knot_value, int knot_multiplicity);

  int m_dim;
  int m_is_rat;
  int m_order;
  int m_cv_count;
  int m_knot_capacity;
  double* m_knot;
  int m_cv_stride;
  int m_cv_capacity;
  double* m_cv;
};
