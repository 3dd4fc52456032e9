// Lines, planes, polylines.
#include "opennurbs_line.h"
#include "opennurbs_plane.h"
#include "opennurbs_polyline.h"
#include "opennurbs_xform.h"

#include <cmath>

// ---------------------------------------------------------------------------
// ON_Line

ON_Line::ON_Line() : from(0.0, 0.0, 0.0), to(0.0, 0.0, 0.0) {}

ON_Line::ON_Line(const ON_3dPoint& f, const ON_3dPoint& t) : from(f), to(t) {}

bool ON_Line::Create(const ON_3dPoint& f, const ON_3dPoint& t)
{
  from = f;
  to = t;
  return IsValid();
}

bool ON_Line::IsValid() const
{
  return from.IsValid() && to.IsValid() && from != to;
}

double ON_Line::Length() const
{
  return from.DistanceTo(to);
}

ON_3dVector ON_Line::Direction() const
{
  return to - from;
}

ON_3dVector ON_Line::Tangent() const
{
  ON_3dVector v = Direction();
  v.Unitize();
  return v;
}

ON_3dPoint ON_Line::PointAt(double t) const
{
  const double s = 1.0 - t;
  return ON_3dPoint((from.x == to.x) ? from.x : s * from.x + t * to.x,
                    (from.y == to.y) ? from.y : s * from.y + t * to.y,
                    (from.z == to.z) ? from.z : s * from.z + t * to.z);
}

bool ON_Line::ClosestPointTo(const ON_3dPoint& point, double* t) const
{
  if (!t)
    return false;
  const ON_3dVector d = Direction();
  const double dd = d * d;
  if (!(dd > 0.0))
  {
    // Every point of a zero-length line is its start.
    *t = 0.0;
    return true;
  }
  // Measured from the nearer end, which keeps t precise near either end.
  if ((point - from) * (point - from) <= (point - to) * (point - to))
    *t = ((point - from) * d) / dd;
  else
    *t = 1.0 + ((point - to) * d) / dd;
  return true;
}

ON_3dPoint ON_Line::ClosestPointTo(const ON_3dPoint& point) const
{
  double t = 0.0;
  ClosestPointTo(point, &t);
  return PointAt(t);
}

double ON_Line::DistanceTo(const ON_3dPoint& point) const
{
  return ClosestPointTo(point).DistanceTo(point);
}

bool ON_Line::Transform(const ON_Xform& xform)
{
  from = xform * from;
  to = xform * to;
  return true;
}

void ON_Line::Reverse()
{
  const ON_3dPoint p = from;
  from = to;
  to = p;
}

// ---------------------------------------------------------------------------
// ON_PlaneEquation, ON_Plane

bool ON_PlaneEquation::Create(const ON_3dPoint& point, const ON_3dVector& normal)
{
  ON_3dVector n = normal;
  if (!point.IsValid() || !n.Unitize())
    return false;
  x = n.x;
  y = n.y;
  z = n.z;
  d = -(n.x * point.x + n.y * point.y + n.z * point.z);
  return true;
}

bool ON_PlaneEquation::IsValid() const
{
  return ON_IS_VALID(x) && ON_IS_VALID(y) && ON_IS_VALID(z) && ON_IS_VALID(d) && (x != 0.0 || y != 0.0 || z != 0.0);
}

double ON_PlaneEquation::ValueAt(const ON_3dPoint& p) const
{
  return x * p.x + y * p.y + z * p.z + d;
}

namespace
{
// The world plane whose normal is axis `normal` (0 x, 1 y, 2 z) with the other
// two axes in cyclic order, built from literal values only: these constants
// must not depend on the order in which other constants are initialised.
constexpr ON_Plane WorldPlane(int normal)
{
  ON_Plane p;
  const ON_3dVector axis[3] = {ON_3dVector(1.0, 0.0, 0.0), ON_3dVector(0.0, 1.0, 0.0), ON_3dVector(0.0, 0.0, 1.0)};
  p.xaxis = axis[(normal + 1) % 3];
  p.yaxis = axis[(normal + 2) % 3];
  p.zaxis = axis[normal];
  // The offset as UpdateEquation computes it for the origin: -(n . 0) = -0.
  p.plane_equation = ON_PlaneEquation(p.zaxis.x, p.zaxis.y, p.zaxis.z, -0.0);
  return p;
}
}  // namespace

const ON_Plane ON_Plane::World_xy = WorldPlane(2);
const ON_Plane ON_Plane::World_yz = WorldPlane(0);
const ON_Plane ON_Plane::World_zx = WorldPlane(1);
const ON_Plane ON_xy_plane = WorldPlane(2);
const ON_Plane ON_yz_plane = WorldPlane(0);
const ON_Plane ON_zx_plane = WorldPlane(1);

ON_Plane::ON_Plane(const ON_3dPoint& o, const ON_3dVector& normal) : ON_Plane()
{
  CreateFromNormal(o, normal);
}

ON_Plane::ON_Plane(const ON_3dPoint& o, const ON_3dVector& x_dir, const ON_3dVector& y_dir) : ON_Plane()
{
  CreateFromFrame(o, x_dir, y_dir);
}

ON_Plane::ON_Plane(const ON_3dPoint& o, const ON_3dPoint& x_point, const ON_3dPoint& plane_point) : ON_Plane()
{
  CreateFromPoints(o, x_point, plane_point);
}

bool ON_Plane::CreateFromNormal(const ON_3dPoint& o, const ON_3dVector& normal)
{
  origin = o;
  zaxis = normal;
  bool rc = zaxis.Unitize();
  if (rc)
  {
    xaxis.PerpendicularTo(zaxis);
    xaxis.Unitize();
    yaxis = ON_CrossProduct(zaxis, xaxis);
    yaxis.Unitize();
  }
  else
  {
    xaxis = yaxis = zaxis = ON_3dVector::ZeroVector;
  }
  UpdateEquation();
  return rc;
}

bool ON_Plane::CreateFromFrame(const ON_3dPoint& o, const ON_3dVector& x_dir, const ON_3dVector& y_dir)
{
  origin = o;
  xaxis = x_dir;
  xaxis.Unitize();
  yaxis = y_dir - xaxis * ON_DotProduct(y_dir, xaxis);
  yaxis.Unitize();
  zaxis = ON_CrossProduct(xaxis, yaxis);
  const bool rc = zaxis.Unitize();
  UpdateEquation();
  return rc && IsValid();
}

bool ON_Plane::CreateFromPoints(const ON_3dPoint& o, const ON_3dPoint& x_point, const ON_3dPoint& plane_point)
{
  return CreateFromFrame(o, x_point - o, plane_point - o);
}

namespace
{
// X, Y, Z valid, none shorter than ON_SQRT_EPSILON, and pairwise
// perpendicular: normalised dot products within ON_SQRT_EPSILON, or, when
// some is larger but all are below 2^-16, every normalised triple product
// within ON_SQRT_EPSILON of 1 in magnitude.
bool IsOrthogonalFrame(const ON_3dVector& X, const ON_3dVector& Y, const ON_3dVector& Z)
{
  const ON_3dPoint px(X), py(Y), pz(Z);
  if (!px.IsValid() || !py.IsValid() || !pz.IsValid())
    return false;
  double lx = X.Length(), ly = Y.Length(), lz = Z.Length();
  if (lx <= ON_SQRT_EPSILON || ly <= ON_SQRT_EPSILON || lz <= ON_SQRT_EPSILON)
    return false;
  lx = 1.0 / lx;
  ly = 1.0 / ly;
  lz = 1.0 / lz;
  const double xy = std::fabs((X * Y) * lx * ly);
  const double yz = std::fabs((Y * Z) * ly * lz);
  const double zx = std::fabs((Z * X) * lz * lx);
  if (xy <= ON_SQRT_EPSILON && yz <= ON_SQRT_EPSILON && zx <= ON_SQRT_EPSILON)
    return true;
  const double loose = 1.0 / 65536.0;
  if (xy >= loose || yz >= loose || zx >= loose)
    return false;
  const auto unit_volume =
      [](const ON_3dVector& a, const ON_3dVector& b, const ON_3dVector& c, double la, double lb, double lc)
  {
    const double t = std::fabs((ON_CrossProduct(a, b) * (la * lb)) * c * lc);
    return std::fabs(t - 1.0) <= ON_SQRT_EPSILON;
  };
  return unit_volume(X, Y, Z, lx, ly, lz) && unit_volume(Y, Z, X, ly, lz, lx) && unit_volume(Z, X, Y, lz, lx, ly);
}

bool IsRightHandFrame(const ON_3dVector& X, const ON_3dVector& Y, const ON_3dVector& Z)
{
  if (!IsOrthogonalFrame(X, Y, Z))
    return false;
  if (std::fabs(X.Length() - 1.0) > ON_SQRT_EPSILON || std::fabs(Y.Length() - 1.0) > ON_SQRT_EPSILON ||
      std::fabs(Z.Length() - 1.0) > ON_SQRT_EPSILON)
    return false;
  return ON_CrossProduct(X, Y) * Z > ON_SQRT_EPSILON;
}
}  // namespace

bool ON_Plane::IsValid() const
{
  const ON_PlaneEquation& e = plane_equation;
  if (!ON_IS_VALID(e.x) || !ON_IS_VALID(e.y) || !ON_IS_VALID(e.z) || !ON_IS_VALID(e.d))
    return false;
  // The origin on the plane of the equation: within ON_ZERO_TOLERANCE, or,
  // far from the world origin, within ten ulps of its size.
  const double off = e.ValueAt(origin);
  if (std::isnan(off))
    return false;
  if (std::fabs(off) > ON_ZERO_TOLERANCE)
  {
    const double size =
        std::fmax(std::fabs(origin.x), std::fmax(std::fabs(origin.y), std::fabs(origin.z))) + std::fabs(e.d);
    if (!(size > 1000.0) || !origin.IsValid() || std::fabs(off) > size * 10.0 * ON_EPSILON)
      return false;
  }
  if (!IsRightHandFrame(xaxis, yaxis, zaxis))
    return false;
  ON_3dVector n(e.x, e.y, e.z);
  if (!n.Unitize())
    return false;
  return std::fabs(n * zaxis - 1.0) <= ON_SQRT_EPSILON;
}

void ON_Plane::SetOrigin(const ON_3dPoint& o)
{
  origin = o;
  UpdateEquation();
}

ON_3dPoint ON_Plane::PointAt(double s, double t) const
{
  return origin + xaxis * s + yaxis * t;
}

ON_3dPoint ON_Plane::PointAt(double s, double t, double c) const
{
  return origin + xaxis * s + yaxis * t + zaxis * c;
}

bool ON_Plane::ClosestPointTo(const ON_3dPoint& p, double* s, double* t) const
{
  const ON_3dVector v = p - origin;
  if (s)
    *s = v * xaxis;
  if (t)
    *t = v * yaxis;
  return true;
}

ON_3dPoint ON_Plane::ClosestPointTo(const ON_3dPoint& p) const
{
  double s = 0.0, t = 0.0;
  ClosestPointTo(p, &s, &t);
  return PointAt(s, t);
}

double ON_Plane::DistanceTo(const ON_3dPoint& p) const
{
  return (p - origin) * zaxis;
}

bool ON_Plane::UpdateEquation()
{
  plane_equation.x = zaxis.x;
  plane_equation.y = zaxis.y;
  plane_equation.z = zaxis.z;
  plane_equation.d = -(zaxis.x * origin.x + zaxis.y * origin.y + zaxis.z * origin.z);
  return plane_equation.IsValid();
}

bool ON_Plane::Flip()
{
  const ON_3dVector v = xaxis;
  xaxis = yaxis;
  yaxis = v;
  zaxis = -zaxis;
  UpdateEquation();
  return true;
}

bool ON_Plane::Transform(const ON_Xform& xform)
{
  // The identity leaves the plane exactly as it is.
  if (xform.IsIdentity())
    return IsValid();
  const ON_3dPoint o = xform * origin;
  // An affine transform maps the axes as vectors, which keeps their
  // precision; a projective one maps points beside the origin.
  const bool affine = xform.m_xform[3][0] == 0.0 && xform.m_xform[3][1] == 0.0 && xform.m_xform[3][2] == 0.0 &&
      xform.m_xform[3][3] == 1.0;
  const ON_3dVector x = affine ? xform * xaxis : (xform * (origin + xaxis)) - o;
  const ON_3dVector y = affine ? xform * yaxis : (xform * (origin + yaxis)) - o;
  return CreateFromFrame(o, x, y);
}

// ---------------------------------------------------------------------------
// ON_Polyline

namespace
{
bool Alike(const ON_3dPoint& a, const ON_3dPoint& b, double tolerance)
{
  if (tolerance > 0.0)
    return a.DistanceTo(b) <= tolerance;
  return a.x == b.x && a.y == b.y && a.z == b.z;
}
}  // namespace

ON_Polyline::ON_Polyline(const ON_3dPointArray& points) : ON_3dPointArray(points) {}

ON_Polyline& ON_Polyline::operator=(const ON_3dPointArray& points)
{
  ON_3dPointArray::operator=(points);
  return *this;
}

bool ON_Polyline::IsValid(double tolerance) const
{
  const int n = Count();
  if (n < 2)
    return false;
  for (int i = 0; i < n; i++)
    if (!(*this)[i].IsValid())
      return false;
  for (int i = 1; i < n; i++)
    if (Alike((*this)[i - 1], (*this)[i], tolerance))
      return false;
  if (n < 4 && Alike((*this)[0], (*this)[n - 1], tolerance))
    return false;
  return true;
}

bool ON_Polyline::IsClosed(double tolerance) const
{
  const int last = Count() - 1;
  if (last < 3)
    return false;
  const ON_3dPoint& a = (*this)[0];
  const ON_3dPoint& b = (*this)[last];
  if (!Alike(a, b, tolerance))
    return false;
  for (int i = 1; i < last; i++)
  {
    if (!Alike((*this)[i], a, tolerance) && !Alike((*this)[i], b, tolerance))
      return true;
  }
  return false;
}

double ON_Polyline::Length() const
{
  double d = 0.0;
  for (int i = 1; i < Count(); i++)
    d += (*this)[i - 1].DistanceTo((*this)[i]);
  return d;
}

ON_Line ON_Polyline::Segment(int i) const
{
  if (i < 0 || i >= SegmentCount())
    return ON_Line();
  return ON_Line((*this)[i], (*this)[i + 1]);
}

ON_3dVector ON_Polyline::SegmentDirection(int i) const
{
  if (i < 0 || i >= SegmentCount())
    return ON_3dVector::ZeroVector;
  return (*this)[i + 1] - (*this)[i];
}

ON_3dPoint ON_Polyline::PointAt(double t) const
{
  const int n = Count();
  if (n < 1)
    return ON_3dPoint::UnsetPoint;
  if (n == 1)
    return (*this)[0];
  // Before the start the first segment goes on; from the last point on, the
  // last point.
  if (!(t < n - 1.0))
    return (*this)[n - 1];
  const int i = (t < 0.0) ? 0 : (int)std::floor(t);
  return ON_Line((*this)[i], (*this)[i + 1]).PointAt(t - i);
}

bool ON_Polyline::ClosestPointTo(const ON_3dPoint& p, double* t) const
{
  const int n = SegmentCount();
  if (n < 1)
    return false;
  double best = HUGE_VAL, bt = 0.0;
  for (int i = 0; i < n; i++)
  {
    const ON_Line l = Segment(i);
    double s = 0.0;
    if (!l.ClosestPointTo(p, &s))
      s = 0.0;
    s = s < 0.0 ? 0.0 : (s > 1.0 ? 1.0 : s);
    const double d = l.PointAt(s).DistanceTo(p);
    if (d < best)
    {
      best = d;
      bt = i + s;
    }
  }
  if (t)
    *t = bt;
  return true;
}
