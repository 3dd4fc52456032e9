// Circles, arcs and ellipses, and their NURBS forms.
#include "opennurbs_arc.h"
#include "opennurbs_circle.h"
#include "opennurbs_ellipse.h"
#include "opennurbs_nurbscurve.h"
#include "opennurbs_xform.h"

#include <cmath>

namespace
{
const double kTwoPi = 2.0 * ON_PI;

// The full-circle tolerance of ON_Arc::IsCircle.
const double kCircleTolerance = 1.0e-12;

// Angle of (s, t) in [0, 2pi).
double PositiveAngle(double s, double t)
{
  if (s == 0.0 && t == 0.0)
    return 0.0;
  double a = std::atan2(t, s);
  if (a < 0.0)
  {
    a += kTwoPi;
    if (a >= kTwoPi)
      a = 0.0;
  }
  return a;
}

// The d-th derivative at angle t of the ellipse of radii r0 (along the
// plane's x axis) and r1 (along its y axis).
ON_3dVector EllipseDerivative(const ON_Plane& plane, double r0, double r1, int d, double t)
{
  const double c = std::cos(t), s = std::sin(t);
  switch (std::abs(d) % 4)
  {
  case 0:
    r0 *= c;
    r1 *= s;
    break;
  case 1:
    r0 *= -s;
    r1 *= c;
    break;
  case 2:
    r0 *= -c;
    r1 *= -s;
    break;
  default:
    r0 *= s;
    r1 *= -c;
    break;
  }
  return plane.xaxis * r0 + plane.yaxis * r1;
}

bool TransformFrame(const ON_Xform& xform, ON_Plane& plane, double r0, double r1, double& out0, double& out1)
{
  const ON_3dPoint c = xform * plane.origin;
  const ON_3dVector px = (xform * (plane.origin + plane.xaxis * r0)) - c;
  const ON_3dVector py = (xform * (plane.origin + plane.yaxis * r1)) - c;
  out0 = px.Length();
  out1 = py.Length();
  return plane.CreateFromFrame(c, px, py);
}
}  // namespace

// ---------------------------------------------------------------------------
// ON_Circle

ON_Circle::ON_Circle() : plane(ON_Plane::World_xy), radius(1.0) {}

ON_Circle::ON_Circle(const ON_Plane& p, double r) : ON_Circle()
{
  Create(p, r);
}

ON_Circle::ON_Circle(const ON_3dPoint& center, double r) : ON_Circle()
{
  Create(center, r);
}

ON_Circle::ON_Circle(const ON_Plane& p, const ON_3dPoint& center, double r) : ON_Circle()
{
  Create(p, center, r);
}

ON_Circle::ON_Circle(const ON_3dPoint& P, const ON_3dPoint& Q, const ON_3dPoint& R) : ON_Circle()
{
  Create(P, Q, R);
}

bool ON_Circle::Create(const ON_Plane& p, double r)
{
  plane = p;
  if (!plane.IsValid())
    plane.UpdateEquation();
  radius = r;
  return IsValid();
}

bool ON_Circle::Create(const ON_3dPoint& center, double r)
{
  ON_Plane p = ON_Plane::World_xy;
  p.origin = center;
  p.UpdateEquation();
  return Create(p, r);
}

bool ON_Circle::Create(const ON_Plane& p, const ON_3dPoint& center, double r)
{
  ON_Plane q = p;
  q.origin = center;
  q.UpdateEquation();
  return Create(q, r);
}

bool ON_Circle::Create(const ON_3dPoint& P, const ON_3dPoint& Q, const ON_3dPoint& R)
{
  const ON_3dVector a = P - R;
  const ON_3dVector b = Q - R;
  const ON_3dVector axb = ON_CrossProduct(a, b);
  const double d = 2.0 * (axb * axb);
  ON_3dVector n = ON_CrossProduct(Q - P, R - P);
  if (!(d > 0.0) || !std::isfinite(d) || !n.Unitize())
  {
    radius = 0.0;
    return false;
  }
  const ON_3dVector num = ON_CrossProduct(b * (a * a) - a * (b * b), axb);
  const ON_3dPoint c = R + num / d;
  ON_3dVector x = P - c;
  const double r = x.Length();
  if (!x.Unitize())
  {
    radius = 0.0;
    return false;
  }
  ON_3dVector y = ON_CrossProduct(n, x);
  y.Unitize();
  plane.origin = c;
  plane.xaxis = x;
  plane.yaxis = y;
  plane.zaxis = n;
  plane.UpdateEquation();
  radius = r;
  return IsValid();
}

bool ON_Circle::IsValid() const
{
  return ON_IS_VALID(radius) && radius > 0.0 && plane.IsValid();
}

double ON_Circle::Circumference() const
{
  return std::fabs(kTwoPi * radius);
}

ON_3dPoint ON_Circle::PointAt(double t) const
{
  return plane.PointAt(std::cos(t) * radius, std::sin(t) * radius);
}

ON_3dVector ON_Circle::DerivativeAt(int d, double t) const
{
  return EllipseDerivative(plane, radius, radius, d, t);
}

ON_3dVector ON_Circle::TangentAt(double t) const
{
  ON_3dVector v = DerivativeAt(1, t);
  v.Unitize();
  return v;
}

bool ON_Circle::ClosestPointTo(const ON_3dPoint& point, double* t) const
{
  double s = 0.0, u = 0.0;
  const bool rc = plane.ClosestPointTo(point, &s, &u);
  if (t)
    *t = PositiveAngle(s, u);
  return rc;
}

ON_3dPoint ON_Circle::ClosestPointTo(const ON_3dPoint& point) const
{
  double t = 0.0;
  ClosestPointTo(point, &t);
  return PointAt(t);
}

namespace
{
// The length of the image of a unit vector along one axis of the new plane
// (a, the component on that axis, b on the other), with b made 0 and the
// length 1 when they are within 1e-12 of it, so that near-rotations keep
// the radius. Returns r; a becomes +-1 and b relative to r.
double AxisScale(double& a, double& b)
{
  const double ztol = 1.0e-12;
  const double r = std::fabs(a);
  if (!(r > 0.0))
    return r;
  a = (a > 0.0) ? 1.0 : -1.0;
  b /= r;
  if (std::fabs(b) > ztol)
    return r;
  b = 0.0;
  return (std::fabs(1.0 - r) <= ztol) ? 1.0 : r;
}
}  // namespace

bool ON_Circle::Transform(const ON_Xform& xform)
{
  const ON_Plane before = plane;
  if (!plane.Transform(xform))
  {
    plane = before;
    return false;
  }
  // The images of the old axes in the new plane's coordinates: [a b; c d].
  const ON_3dVector u = xform * before.xaxis;
  const ON_3dVector v = xform * before.yaxis;
  double a = u * plane.xaxis, b = u * plane.yaxis;
  double c = v * plane.xaxis, d = v * plane.yaxis;
  const double r1 = (std::fabs(a) >= std::fabs(b)) ? AxisScale(a, b) : AxisScale(b, a);
  const double r2 = (std::fabs(d) >= std::fabs(c)) ? AxisScale(d, c) : AxisScale(c, d);
  double s = 0.0;
  if (b == 0.0 && c == 0.0 && std::fabs(r1 - r2) <= ON_SQRT_EPSILON * (r1 + r2))
    s = (r1 == r2) ? r1 : 0.5 * (r1 + r2);  // a similarity in the plane
  else
    s = std::sqrt(std::fabs(r1 * r2 * (a * d - b * c)));  // the scale of the area otherwise
  if (s > 0.0 && std::fabs(s - 1.0) > ON_SQRT_EPSILON)
    radius *= s;
  return true;
}

bool ON_Circle::Translate(const ON_3dVector& delta)
{
  plane.origin = plane.origin + delta;
  plane.UpdateEquation();
  return true;
}

bool ON_Circle::Reverse()
{
  plane.yaxis = -plane.yaxis;
  plane.zaxis = -plane.zaxis;
  plane.UpdateEquation();
  return true;
}

namespace
{
// Nine-point rational quadratic form of an ellipse (or circle) with radii a, b.
int EllipseNurbs(const ON_Plane& plane, double a, double b, ON_NurbsCurve& c)
{
  if (!c.Create(3, true, 3, 9))
    return 0;
  const double w = 1.0 / ON_SQRT2;
  static const int sx[9] = {1, 1, 0, -1, -1, -1, 0, 1, 1};
  static const int sy[9] = {0, 1, 1, 1, 0, -1, -1, -1, 0};
  for (int i = 0; i < 9; i++)
  {
    const ON_3dPoint p = plane.PointAt(sx[i] * a, sy[i] * b);
    if (i % 2)
      c.SetCV(i, ON_4dPoint(p.x * w, p.y * w, p.z * w, w));
    else
      c.SetCV(i, p);
  }
  const double k[10] = {0.0, 0.0, 0.5 * ON_PI, 0.5 * ON_PI, ON_PI, ON_PI, 1.5 * ON_PI, 1.5 * ON_PI, kTwoPi, kTwoPi};
  for (int i = 0; i < 10; i++)
    c.m_knot[i] = k[i];
  return 2;
}
}  // namespace

int ON_Circle::GetNurbForm(ON_NurbsCurve& nurbs_curve) const
{
  if (!IsValid())
    return 0;
  return EllipseNurbs(plane, radius, radius, nurbs_curve);
}

// ---------------------------------------------------------------------------
// ON_Arc

ON_Arc::ON_Arc() : m_angle(0.0, kTwoPi) {}

ON_Arc::ON_Arc(const ON_Circle& circle, double angle) : ON_Arc()
{
  Create(circle, angle);
}

ON_Arc::ON_Arc(const ON_Circle& circle, ON_Interval angle_interval) : ON_Arc()
{
  Create(circle, angle_interval);
}

ON_Arc::ON_Arc(const ON_Plane& p, double r, double angle) : ON_Arc()
{
  Create(p, r, angle);
}

ON_Arc::ON_Arc(const ON_3dPoint& center, double r, double angle) : ON_Arc()
{
  Create(center, r, angle);
}

ON_Arc::ON_Arc(const ON_Plane& p, const ON_3dPoint& center, double r, double angle) : ON_Arc()
{
  Create(p, center, r, angle);
}

ON_Arc::ON_Arc(const ON_3dPoint& P, const ON_3dPoint& Q, const ON_3dPoint& R) : ON_Arc()
{
  Create(P, Q, R);
}

ON_Arc& ON_Arc::operator=(const ON_Circle& circle)
{
  ON_Circle::operator=(circle);
  m_angle.Set(0.0, kTwoPi);
  return *this;
}

bool ON_Arc::Create(const ON_Circle& circle, double angle)
{
  return Create(circle, ON_Interval(0.0, angle));
}

bool ON_Arc::Create(const ON_Circle& circle, ON_Interval iv)
{
  plane = circle.plane;
  plane.UpdateEquation();
  radius = circle.radius;
  m_angle = iv;
  if (m_angle.IsDecreasing())
  {
    m_angle.Set(-iv[0], -iv[1]);
    plane.yaxis = -plane.yaxis;
    plane.zaxis = -plane.zaxis;
    plane.UpdateEquation();
    if (m_angle.Length() > kTwoPi)
      m_angle[1] = m_angle[0] + kTwoPi;
    return false;
  }
  if (m_angle.Length() > kTwoPi)
  {
    m_angle[1] = m_angle[0] + kTwoPi;
    return false;
  }
  return IsValid();
}

bool ON_Arc::Create(const ON_Plane& p, double r, double angle)
{
  return Create(ON_Circle(p, r), ON_Interval(0.0, angle));
}

bool ON_Arc::Create(const ON_3dPoint& center, double r, double angle)
{
  return Create(ON_Circle(center, r), ON_Interval(0.0, angle));
}

bool ON_Arc::Create(const ON_Plane& p, const ON_3dPoint& center, double r, double angle)
{
  return Create(ON_Circle(p, center, r), ON_Interval(0.0, angle));
}

bool ON_Arc::Create(const ON_3dPoint& P, const ON_3dPoint& Q, const ON_3dPoint& R)
{
  ON_Circle c;
  if (!c.Create(P, Q, R))
  {
    plane = c.plane;
    radius = 0.0;
    m_angle.Set(0.0, 0.0);
    return false;
  }
  double t = 0.0;
  c.ClosestPointTo(R, &t);
  return Create(c, ON_Interval(0.0, t));
}

bool ON_Arc::Create(const ON_3dPoint& P, const ON_3dVector& dir, const ON_3dPoint& Q)
{
  const ON_3dVector chord = Q - P;
  ON_3dVector n = ON_CrossProduct(dir, chord);
  if (!n.Unitize())
    return false;
  ON_3dVector m = ON_CrossProduct(n, dir);
  if (!m.Unitize())
    return false;
  const double cm = chord * m;
  if (!(std::fabs(cm) > 0.0))
    return false;
  const double r = (chord * chord) / (2.0 * cm);
  const ON_3dPoint c = P + m * r;
  ON_Circle circle;
  circle.plane.origin = c;
  circle.plane.zaxis = n;
  circle.plane.xaxis = -m;
  circle.plane.yaxis = ON_CrossProduct(n, circle.plane.xaxis);
  circle.plane.yaxis.Unitize();
  circle.plane.UpdateEquation();
  circle.radius = std::fabs(r);
  double t = 0.0;
  circle.ClosestPointTo(Q, &t);
  if (t <= ON_ZERO_TOLERANCE || t >= kTwoPi - ON_ZERO_TOLERANCE)
    return false;
  return Create(circle, ON_Interval(0.0, t));
}

bool ON_Arc::IsValid() const
{
  if (!ON_Circle::IsValid() || !m_angle.IsValid())
    return false;
  const double d = m_angle[1] - m_angle[0];
  return d > ON_ZERO_TOLERANCE && d <= kTwoPi + ON_ZERO_TOLERANCE;
}

bool ON_Arc::IsCircle() const
{
  return std::fabs(std::fabs(AngleRadians()) - kTwoPi) <= kCircleTolerance;
}

double ON_Arc::AngleRadians() const
{
  return m_angle[1] - m_angle[0];
}

double ON_Arc::AngleDegrees() const
{
  return AngleRadians() * ON_RADIANS_TO_DEGREES;
}

ON_Interval ON_Arc::Domain() const
{
  return m_angle;
}

ON_Interval ON_Arc::DomainRadians() const
{
  return m_angle;
}

ON_Interval ON_Arc::DomainDegrees() const
{
  return ON_Interval(m_angle[0] * ON_RADIANS_TO_DEGREES, m_angle[1] * ON_RADIANS_TO_DEGREES);
}

bool ON_Arc::SetAngleRadians(double a)
{
  if (a < 0.0)
  {
    a = -a;
    plane.yaxis = -plane.yaxis;
    plane.zaxis = -plane.zaxis;
    plane.UpdateEquation();
  }
  m_angle.Set(0.0, a);
  return a > 0.0 && a <= kTwoPi + ON_ZERO_TOLERANCE;
}

bool ON_Arc::SetAngleDegrees(double a)
{
  return SetAngleRadians(a * ON_DEGREES_TO_RADIANS);
}

bool ON_Arc::SetAngleIntervalRadians(ON_Interval iv)
{
  if (!iv.IsIncreasing() || !(iv.Length() < (1.0 + ON_SQRT_EPSILON) * kTwoPi))
    return false;
  m_angle = iv;
  return true;
}

bool ON_Arc::Trim(ON_Interval iv)
{
  if (!iv.IsIncreasing() || !(iv.Length() <= kTwoPi + ON_ZERO_TOLERANCE))
    return false;
  m_angle = iv;
  if (m_angle.Length() > kTwoPi)
    m_angle[1] = m_angle[0] + kTwoPi;
  return true;
}

ON_3dPoint ON_Arc::StartPoint() const
{
  return PointAt(m_angle[0]);
}

ON_3dPoint ON_Arc::MidPoint() const
{
  return PointAt(m_angle.Mid());
}

ON_3dPoint ON_Arc::EndPoint() const
{
  return PointAt(m_angle[1]);
}

double ON_Arc::Length() const
{
  return std::fabs(AngleRadians() * radius);
}

bool ON_Arc::ClosestPointTo(const ON_3dPoint& point, double* t) const
{
  double a = 0.0;
  if (!ON_Circle::ClosestPointTo(point, &a))
    return false;
  const double a0 = m_angle[0], a1 = m_angle[1];
  // Bring a into [a0, a0 + 2pi).
  a = a0 + std::fmod(std::fmod(a - a0, kTwoPi) + kTwoPi, kTwoPi);
  if (a > a1)
  {
    const double d0 = PointAt(a0).DistanceTo(point);
    const double d1 = PointAt(a1).DistanceTo(point);
    a = (d0 < d1) ? a0 : a1;
  }
  if (t)
    *t = a;
  return true;
}

ON_3dPoint ON_Arc::ClosestPointTo(const ON_3dPoint& point) const
{
  double t = m_angle[0];
  ClosestPointTo(point, &t);
  return PointAt(t);
}

bool ON_Arc::Reverse()
{
  m_angle.Reverse();
  return ON_Circle::Reverse();
}

bool ON_Arc::Transform(const ON_Xform& xform)
{
  return ON_Circle::Transform(xform);
}

namespace
{
// A value within a few ulps above a multiple of 1/128 (in magnitude) is taken
// as that multiple, so that the NURBS form of an arc with round coordinates
// has round control points.
double RoundNearEighth(double v)
{
  double whole = 0.0;
  const double frac = std::modf(v * 128.0, &whole);
  if (frac != 0.0 && std::fabs(frac) <= 1024.0 * ON_EPSILON)
    return whole / 128.0;
  return v;
}
}  // namespace

int ON_Arc::GetNurbForm(ON_NurbsCurve& c) const
{
  if (!IsValid())
    return 0;
  // One span up to a quarter turn (and a little more), two up to a half
  // turn, four beyond.
  const double quarter = (0.5 + ON_SQRT_EPSILON) * ON_PI;
  const double angle = AngleRadians();
  const int spans = (angle <= quarter) ? 1 : ((angle <= 2.0 * quarter) ? 2 : 4);
  const int cv_count = 2 * spans + 1;
  if (!c.Create(3, true, 3, cv_count))
    return 0;
  const double a0 = m_angle[0];
  const double span_angle = angle / spans;
  const double w = std::cos(0.5 * span_angle);
  const ON_3dPoint center = Center();
  const ON_3dPoint start = StartPoint();
  for (int i = 0; i < cv_count; i++)
  {
    // The end of a full circle is its start exactly.
    const ON_3dPoint p = (i == 0 || (i == cv_count - 1 && IsCircle())) ? start
        : (i == cv_count - 1)                                          ? EndPoint()
                                                                       : PointAt(a0 + (i / (2.0 * spans)) * angle);
    if (i % 2 == 0)
    {
      c.SetCV(i, p);
      continue;
    }
    // The middle point of a span, pushed out from the centre to 1/w of the
    // radius, in homogeneous form: p + (w - 1) * center with weight w.
    double h[3] = {p.x + (w - 1.0) * center.x, p.y + (w - 1.0) * center.y, p.z + (w - 1.0) * center.z};
    for (double& x : h)
    {
      const double e = x / w;
      const double r = RoundNearEighth(e);
      if (r != e)
        x = r * w;
    }
    c.SetCV(i, ON_4dPoint(h[0], h[1], h[2], w));
  }
  c.m_knot[0] = c.m_knot[1] = a0;
  for (int k = 1; k < spans; k++)
    c.m_knot[2 * k] = c.m_knot[2 * k + 1] = c.m_knot[2 * k - 2] + span_angle;
  c.m_knot[cv_count - 1] = c.m_knot[cv_count] = m_angle[1];
  return 2;
}

// ---------------------------------------------------------------------------
// ON_Ellipse

ON_Ellipse::ON_Ellipse() : plane(ON_Plane::World_xy)
{
  radius[0] = radius[1] = 0.0;
}

ON_Ellipse::ON_Ellipse(const ON_Plane& p, double rx, double ry) : ON_Ellipse()
{
  Create(p, rx, ry);
}

ON_Ellipse::ON_Ellipse(const ON_Circle& circle) : ON_Ellipse()
{
  Create(circle);
}

bool ON_Ellipse::Create(const ON_Plane& p, double rx, double ry)
{
  plane = p;
  radius[0] = rx;
  radius[1] = ry;
  return IsValid();
}

bool ON_Ellipse::Create(const ON_Circle& circle)
{
  return Create(circle.plane, circle.radius, circle.radius);
}

bool ON_Ellipse::IsValid() const
{
  return plane.IsValid() && ON_IS_VALID(radius[0]) && ON_IS_VALID(radius[1]) && radius[0] > ON_ZERO_TOLERANCE &&
      radius[1] > ON_ZERO_TOLERANCE;
}

bool ON_Ellipse::IsCircle() const
{
  const double r0 = radius[0];
  return IsValid() && std::fabs(r0 - radius[1]) <= std::fabs(r0) * ON_ZERO_TOLERANCE;
}

double ON_Ellipse::Radius(int i) const
{
  return radius[i <= 0 ? 0 : 1];
}

ON_3dPoint ON_Ellipse::PointAt(double t) const
{
  return plane.PointAt(std::cos(t) * radius[0], std::sin(t) * radius[1]);
}

ON_3dVector ON_Ellipse::DerivativeAt(int d, double t) const
{
  return EllipseDerivative(plane, radius[0], radius[1], d, t);
}

bool ON_Ellipse::Transform(const ON_Xform& xform)
{
  double r0 = 0.0, r1 = 0.0;
  const bool rc = TransformFrame(xform, plane, radius[0], radius[1], r0, r1);
  radius[0] = r0;
  radius[1] = r1;
  return rc && IsValid();
}

int ON_Ellipse::GetNurbForm(ON_NurbsCurve& nurbs_curve) const
{
  if (!IsValid())
    return 0;
  return EllipseNurbs(plane, radius[0], radius[1], nurbs_curve);
}
