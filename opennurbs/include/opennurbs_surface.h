// The base of parametric surfaces.
#pragma once

#include "opennurbs_geometry.h"

class ON_NurbsSurface;

class ON_CLASS ON_Surface : public ON_Geometry
{
  ON_OBJECT_DECLARE(ON_Surface);

public:
  ON_Surface() = default;
  ON_Surface(const ON_Surface&) = default;
  ON_Surface& operator=(const ON_Surface&) = default;
  ~ON_Surface() override;

  ON::object_type ObjectType() const override;
  ON_Surface* DuplicateSurface() const;

  // dir 0 is the first (s) parameter, dir 1 the second (t).
  virtual ON_Interval Domain(int dir) const;
  virtual bool SetDomain(int dir, double t0, double t1);
  // The point at (s, t) and, with der_count 1, the s and t derivatives,
  // each v_stride doubles apart in v.
  virtual bool Evaluate(double s, double t, int der_count, int v_stride, double* v, int quadrant = 0,
                        int* hint = nullptr) const;
  ON_3dPoint PointAt(double s, double t) const;
  virtual bool IsClosed(int dir) const;
  virtual bool IsPeriodic(int dir) const;
  // 0 none, 1 exact, 2 exact with another parameterisation.
  virtual int GetNurbForm(ON_NurbsSurface& nurbs_surface, double tolerance = 0.0) const;
  virtual int HasNurbForm() const;
};
