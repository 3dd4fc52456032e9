// Non-uniform rational B-spline surfaces: a grid of cv_count[0] x
// cv_count[1] control points, knot vectors of order + cv_count - 2 knots in
// each direction.
#pragma once

#include "opennurbs_surface.h"

class ON_CLASS ON_NurbsSurface : public ON_Surface
{
  ON_OBJECT_DECLARE(ON_NurbsSurface);

public:
  // Empty.
  ON_NurbsSurface();
  ON_NurbsSurface(int dimension, bool bIsRational, int order0, int order1, int cv_count0, int cv_count1);
  ON_NurbsSurface(const ON_NurbsSurface& src);
  ON_NurbsSurface& operator=(const ON_NurbsSurface& src);
  ~ON_NurbsSurface() override;

  // Sets the sizes and makes room; knots and control points are zero until
  // set. False, with nothing changed, for dimension < 1, an order below 2
  // or fewer control points than the order in either direction.
  bool Create(int dimension, bool bIsRational, int order0, int order1, int cv_count0, int cv_count1);
  void Destroy();
  void Initialize();

  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  int Dimension() const override;
  ON_BoundingBox BoundingBox() const override;
  bool Transform(const ON_Xform& xform) override;
  ON_Interval Domain(int dir) const override;
  bool SetDomain(int dir, double t0, double t1) override;
  bool Evaluate(double s, double t, int der_count, int v_stride, double* v, int quadrant = 0,
                int* hint = nullptr) const override;
  bool IsClosed(int dir) const override;
  int GetNurbForm(ON_NurbsSurface& nurbs_surface, double tolerance = 0.0) const override;
  int HasNurbForm() const override;
  unsigned int SizeOf() const override;

  int Order(int dir) const
  {
    return m_order[dir ? 1 : 0];
  }
  int Degree(int dir) const
  {
    return m_order[dir ? 1 : 0] >= 2 ? m_order[dir ? 1 : 0] - 1 : 0;
  }
  int CVCount(int dir) const
  {
    return m_cv_count[dir ? 1 : 0];
  }
  // Control points in all.
  int CVCount() const
  {
    return m_cv_count[0] * m_cv_count[1];
  }
  int CVSize() const
  {
    return (m_dim > 0) ? (m_is_rat ? m_dim + 1 : m_dim) : 0;
  }
  int KnotCount(int dir) const
  {
    return m_order[dir ? 1 : 0] + m_cv_count[dir ? 1 : 0] - 2;
  }
  bool IsRational() const
  {
    return m_is_rat != 0;
  }

  // Null when out of range.
  double* CV(int i, int j) const;
  double Weight(int i, int j) const;
  // A positive weight makes a non-rational surface rational; otherwise only
  // a weight of 1 is taken.
  bool SetWeight(int i, int j, double weight);
  // Every control point gets weight 1.
  bool MakeRational();
  bool SetCV(int i, int j, const ON_3dPoint& point);
  bool SetCV(int i, int j, const ON_4dPoint& point);
  bool GetCV(int i, int j, ON_3dPoint& point) const;
  bool GetCV(int i, int j, ON_4dPoint& point) const;

  // False, with nothing changed, out of range.
  bool SetKnot(int dir, int knot_index, double knot_value);
  // No range test.
  double Knot(int dir, int knot_index) const
  {
    return m_knot[dir ? 1 : 0][knot_index];
  }
  const double* Knot(int dir) const
  {
    return m_knot[dir ? 1 : 0];
  }
  bool MakeClampedUniformKnotVector(int dir, double delta = 1.0);

  int m_dim;
  int m_is_rat;
  int m_order[2];
  int m_cv_count[2];
  int m_knot_capacity[2];
  double* m_knot[2];
  int m_cv_stride[2];
  int m_cv_capacity;
  double* m_cv;
};
