// Planes: an origin and a right-handed frame of unit axes.
#pragma once

#include "opennurbs_point.h"

class ON_Xform;

// a*x + b*y + c*z + d = 0, with (x, y, z) the unit normal.
class ON_CLASS ON_PlaneEquation
{
public:
  constexpr ON_PlaneEquation() : x(0.0), y(0.0), z(0.0), d(0.0) {}
  constexpr ON_PlaneEquation(double xx, double yy, double zz, double dd) : x(xx), y(yy), z(zz), d(dd) {}

  // From a point on the plane and a normal, which is unitized.
  bool Create(const ON_3dPoint& point, const ON_3dVector& normal);
  bool IsValid() const;
  // Signed distance for a unit normal.
  double ValueAt(const ON_3dPoint& point) const;

  double x, y, z, d;
};

class ON_CLASS ON_Plane
{
public:
  // The world XY plane at the origin.
  constexpr ON_Plane()
      : origin(0.0, 0.0, 0.0), xaxis(1.0, 0.0, 0.0), yaxis(0.0, 1.0, 0.0), zaxis(0.0, 0.0, 1.0),
        plane_equation(0.0, 0.0, 1.0, 0.0)
  {
  }
  // CreateFromNormal.
  ON_Plane(const ON_3dPoint& origin, const ON_3dVector& normal);
  // CreateFromFrame.
  ON_Plane(const ON_3dPoint& origin, const ON_3dVector& x_dir, const ON_3dVector& y_dir);
  // CreateFromPoints.
  ON_Plane(const ON_3dPoint& origin, const ON_3dPoint& x_point, const ON_3dPoint& plane_point);

  // The world planes. They and ON_xy_plane, ON_yz_plane and ON_zx_plane are
  // constant-initialised, so they hold their values before any code runs.
  static const ON_Plane World_xy;
  static const ON_Plane World_yz;
  static const ON_Plane World_zx;

  // zaxis = the unitized normal, xaxis = the unitized
  // ON_3dVector::PerpendicularTo(zaxis), yaxis = zaxis x xaxis. False, with
  // zero axes, for a zero or invalid normal.
  bool CreateFromNormal(const ON_3dPoint& origin, const ON_3dVector& normal);
  // xaxis = x_dir unitized, yaxis = the part of y_dir perpendicular to it,
  // unitized, zaxis = xaxis x yaxis. False when the two are parallel or zero.
  bool CreateFromFrame(const ON_3dPoint& origin, const ON_3dVector& x_dir, const ON_3dVector& y_dir);
  // The x axis towards x_point, the plane through plane_point.
  bool CreateFromPoints(const ON_3dPoint& origin, const ON_3dPoint& x_point, const ON_3dPoint& plane_point);

  // Valid origin, unit and mutually perpendicular axes forming a right-handed
  // frame, and an equation that matches them.
  bool IsValid() const;

  const ON_3dPoint& Origin() const
  {
    return origin;
  }
  const ON_3dVector& Xaxis() const
  {
    return xaxis;
  }
  const ON_3dVector& Yaxis() const
  {
    return yaxis;
  }
  const ON_3dVector& Zaxis() const
  {
    return zaxis;
  }
  const ON_3dVector& Normal() const
  {
    return zaxis;
  }
  void SetOrigin(const ON_3dPoint& origin_point);

  // origin + s*xaxis + t*yaxis (+ c*zaxis).
  ON_3dPoint PointAt(double s, double t) const;
  ON_3dPoint PointAt(double s, double t, double c) const;
  // The plane coordinates of the projection of point.
  bool ClosestPointTo(const ON_3dPoint& point, double* s, double* t) const;
  ON_3dPoint ClosestPointTo(const ON_3dPoint& point) const;
  // Signed distance from the plane along zaxis.
  double DistanceTo(const ON_3dPoint& point) const;

  // Recomputes plane_equation from origin and zaxis.
  bool UpdateEquation();
  // Swaps xaxis and yaxis and reverses zaxis.
  bool Flip();
  bool Transform(const ON_Xform& xform);

  ON_3dPoint origin;
  ON_3dVector xaxis;
  ON_3dVector yaxis;
  ON_3dVector zaxis;
  ON_PlaneEquation plane_equation;
};

extern ON_EXTERN_DECL const ON_Plane ON_xy_plane;
extern ON_EXTERN_DECL const ON_Plane ON_yz_plane;
extern ON_EXTERN_DECL const ON_Plane ON_zx_plane;
