// A polyline as a curve: parameter m_t[i] at point i.
#pragma once

#include "opennurbs_curve.h"
#include "opennurbs_polyline.h"

class ON_CLASS ON_PolylineCurve : public ON_Curve
{
  ON_OBJECT_DECLARE(ON_PolylineCurve);

public:
  ON_PolylineCurve();
  // Parameters 0, 1, ..., n-1.
  ON_PolylineCurve(const ON_3dPointArray& points);
  // The parameters are taken only when they are as many as the points and
  // strictly increasing; otherwise 0, 1, ..., n-1.
  ON_PolylineCurve(const ON_3dPointArray& points, const ON_SimpleArray<double>& t);
  ON_PolylineCurve(const ON_PolylineCurve&) = default;
  ON_PolylineCurve& operator=(const ON_PolylineCurve&) = default;
  ~ON_PolylineCurve() override;

  // The points with parameters 0, 1, ..., n-1.
  ON_PolylineCurve& operator=(const ON_3dPointArray& points);

  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  int Dimension() const override;
  bool ChangeDimension(int desired_dimension) override;
  ON_BoundingBox BoundingBox() const override;
  bool Transform(const ON_Xform& xform) override;
  ON_Interval Domain() const override;
  bool SetDomain(double t0, double t1) override;
  bool Evaluate(double t, int der_count, int v_stride, double* v, int side = 0, int* hint = nullptr) const override;
  // ON_Polyline::IsClosed(0) of the points.
  bool IsClosed() const override;
  bool Reverse() override;
  bool GetLength(double* length, double fractional_tolerance = 1.0e-8,
                 const ON_Interval* sub_domain = nullptr) const override;
  int GetNurbForm(ON_NurbsCurve& nurbs_curve, double tolerance = 0.0,
                  const ON_Interval* subdomain = nullptr) const override;
  int HasNurbForm() const override;
  unsigned int SizeOf() const override;

  int PointCount() const
  {
    return m_pline.PointCount();
  }
  ON_3dPoint Point(int i) const;
  bool SetPoint(int i, const ON_3dPoint& point);
  double ParameterAt(int i) const;

  ON_Polyline m_pline;
  ON_SimpleArray<double> m_t;
  int m_dim;
};
