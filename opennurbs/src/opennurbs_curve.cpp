// The curve base, line, arc, polyline and poly curves.
#include "opennurbs_arccurve.h"
#include "opennurbs_curve.h"
#include "opennurbs_linecurve.h"
#include "opennurbs_nurbscurve.h"
#include "opennurbs_polycurve.h"
#include "opennurbs_polylinecurve.h"
#include "opennurbs_xform.h"

#include <cmath>
#include <vector>

// ---------------------------------------------------------------------------
// ON_Curve

ON_VIRTUAL_OBJECT_IMPLEMENT(ON_Curve, ON_Geometry, "4ED7D4D7-E947-11d3-BFE5-0010830122F0")

ON_Curve::~ON_Curve() = default;

ON::object_type ON_Curve::ObjectType() const
{
  return ON::curve_object;
}

ON_Curve* ON_Curve::DuplicateCurve() const
{
  return ON_Curve::Cast(DuplicateObject());
}

ON_Interval ON_Curve::Domain() const
{
  return ON_Interval();
}

bool ON_Curve::SetDomain(double, double)
{
  return false;
}

bool ON_Curve::SetDomain(ON_Interval domain)
{
  return SetDomain(domain[0], domain[1]);
}

bool ON_Curve::ChangeDimension(int desired_dimension)
{
  return desired_dimension == Dimension();
}

bool ON_Curve::Evaluate(double, int, int, double*, int, int*) const
{
  return false;
}

namespace
{
// Evaluates point and derivatives into 3-D vectors (missing coordinates 0).
bool EvalAll(const ON_Curve& c, double t, int der_count, ON_3dVector* out, int side)
{
  const int dim = c.Dimension();
  if (dim < 1)
    return false;
  std::vector<double> v((size_t)(der_count + 1) * dim, 0.0);
  if (!c.Evaluate(t, der_count, dim, v.data(), side, nullptr))
    return false;
  for (int k = 0; k <= der_count; k++)
  {
    out[k] = ON_3dVector::ZeroVector;
    for (int i = 0; i < dim && i < 3; i++)
      out[k][i] = v[(size_t)k * dim + i];
  }
  return true;
}
} // namespace

ON_3dPoint ON_Curve::PointAt(double t) const
{
  ON_3dPoint p = ON_3dPoint::UnsetPoint;
  EvPoint(t, p);
  return p;
}

ON_3dPoint ON_Curve::PointAtStart() const
{
  return PointAt(Domain()[0]);
}

ON_3dPoint ON_Curve::PointAtEnd() const
{
  return PointAt(Domain()[1]);
}

ON_3dVector ON_Curve::DerivativeAt(double t) const
{
  ON_3dPoint p;
  ON_3dVector d = ON_3dVector::ZeroVector;
  Ev1Der(t, p, d);
  return d;
}

ON_3dVector ON_Curve::TangentAt(double t) const
{
  ON_3dVector d = DerivativeAt(t);
  d.Unitize();
  return d;
}

bool ON_Curve::EvPoint(double t, ON_3dPoint& point, int side, int*) const
{
  ON_3dVector v[1];
  if (!EvalAll(*this, t, 0, v, side))
    return false;
  point = ON_3dPoint(v[0]);
  return true;
}

bool ON_Curve::Ev1Der(double t, ON_3dPoint& point, ON_3dVector& d1, int side, int*) const
{
  ON_3dVector v[2];
  if (!EvalAll(*this, t, 1, v, side))
    return false;
  point = ON_3dPoint(v[0]);
  d1 = v[1];
  return true;
}

bool ON_Curve::Ev2Der(double t, ON_3dPoint& point, ON_3dVector& d1, ON_3dVector& d2, int side, int*) const
{
  ON_3dVector v[3];
  if (!EvalAll(*this, t, 2, v, side))
    return false;
  point = ON_3dPoint(v[0]);
  d1 = v[1];
  d2 = v[2];
  return true;
}

bool ON_Curve::IsClosed() const
{
  const ON_Interval d = Domain();
  if (!d.IsIncreasing())
    return false;
  const ON_3dPoint p0 = PointAt(d[0]);
  const ON_3dPoint p1 = PointAt(d[1]);
  if (!p0.IsValid() || !ON_PointsAreCoincident(3, false, &p0.x, &p1.x))
    return false;
  const ON_3dPoint a = PointAt(d.ParameterAt(1.0 / 3.0));
  const ON_3dPoint b = PointAt(d.ParameterAt(2.0 / 3.0));
  return !ON_PointsAreCoincident(3, false, &a.x, &p0.x) || !ON_PointsAreCoincident(3, false, &b.x, &p0.x);
}

bool ON_Curve::IsPeriodic() const
{
  return false;
}

bool ON_Curve::Reverse()
{
  return false;
}

bool ON_Curve::Trim(const ON_Interval&)
{
  return false;
}

bool ON_Curve::ChangeClosedCurveSeam(double)
{
  return false;
}

bool ON_Curve::Split(double t, ON_Curve*& left_side, ON_Curve*& right_side) const
{
  const ON_Interval d = Domain();
  if (!d.Includes(t, true))
    return false;
  ON_Curve* l = DuplicateCurve();
  ON_Curve* r = DuplicateCurve();
  if (!l || !r || !l->Trim(ON_Interval(d[0], t)) || !r->Trim(ON_Interval(t, d[1])))
  {
    delete l;
    delete r;
    return false;
  }
  left_side = l;
  right_side = r;
  return true;
}

bool ON_Curve::GetLength(double* length, double, const ON_Interval* sub_domain) const
{
  ON_NurbsCurve n;
  if (!GetNurbForm(n))
    return false;
  if (sub_domain)
  {
    // The NURBS form may be parameterised otherwise; only whole curves.
    const ON_Interval d = Domain();
    if (*sub_domain != d)
      return false;
  }
  return n.GetLength(length);
}

int ON_Curve::GetNurbForm(ON_NurbsCurve&, double, const ON_Interval*) const
{
  return 0;
}

int ON_Curve::HasNurbForm() const
{
  return 0;
}

ON_NurbsCurve* ON_Curve::NurbsCurve(ON_NurbsCurve* nurbs_curve, double tolerance, const ON_Interval* subdomain) const
{
  ON_NurbsCurve* n = nurbs_curve ? nurbs_curve : new ON_NurbsCurve();
  if (!GetNurbForm(*n, tolerance, subdomain))
  {
    if (!nurbs_curve)
      delete n;
    return nullptr;
  }
  return n;
}

namespace
{
void WriteVec(double* v, int dim, const ON_3dVector& a)
{
  for (int i = 0; i < dim; i++)
    v[i] = (i < 3) ? a[i] : 0.0;
}
} // namespace

// ---------------------------------------------------------------------------
// ON_LineCurve

ON_OBJECT_IMPLEMENT(ON_LineCurve, ON_Curve, "4ED7D4DB-E947-11d3-BFE5-0010830122F0")

ON_LineCurve::ON_LineCurve() : m_t(0.0, 1.0), m_dim(3) {}

ON_LineCurve::ON_LineCurve(const ON_3dPoint& from, const ON_3dPoint& to) : ON_LineCurve(ON_Line(from, to)) {}

ON_LineCurve::ON_LineCurve(const ON_Line& line) : m_line(line), m_dim(3)
{
  const double len = line.Length();
  m_t.Set(0.0, len > ON_ZERO_TOLERANCE ? len : 1.0);
}

ON_LineCurve::ON_LineCurve(const ON_Line& line, double t0, double t1) : m_line(line), m_t(t0, t1), m_dim(3) {}

ON_LineCurve::~ON_LineCurve() = default;

ON_LineCurve& ON_LineCurve::operator=(const ON_Line& line)
{
  *this = ON_LineCurve(line);
  return *this;
}

bool ON_LineCurve::IsValid(ON_TextLog*) const
{
  return m_t.IsIncreasing() && m_line.IsValid() && m_dim >= 2;
}

int ON_LineCurve::Dimension() const
{
  return m_dim;
}

bool ON_LineCurve::ChangeDimension(int d)
{
  if (d < 2 || d > 3)
    return false;
  if (d == 2)
    m_line.from.z = m_line.to.z = 0.0;
  m_dim = d;
  return true;
}

ON_BoundingBox ON_LineCurve::BoundingBox() const
{
  ON_BoundingBox b;
  b.Set(m_line.from, false);
  b.Set(m_line.to, true);
  return b;
}

bool ON_LineCurve::Transform(const ON_Xform& xform)
{
  return m_line.Transform(xform);
}

ON_Interval ON_LineCurve::Domain() const
{
  return m_t;
}

bool ON_LineCurve::SetDomain(double t0, double t1)
{
  if (!(t0 < t1))
    return false;
  m_t.Set(t0, t1);
  return true;
}

bool ON_LineCurve::Evaluate(double t, int der_count, int v_stride, double* v, int, int*) const
{
  const double len = m_t.Length();
  if (!(len != 0.0) || !v)
    return false;
  WriteVec(v, m_dim, ON_3dVector(m_line.PointAt(m_t.NormalizedParameterAt(t))));
  for (int k = 1; k <= der_count; k++)
    WriteVec(v + k * v_stride, m_dim, (k == 1) ? m_line.Direction() / len : ON_3dVector::ZeroVector);
  return true;
}

bool ON_LineCurve::IsClosed() const
{
  return false;
}

bool ON_LineCurve::Reverse()
{
  m_line.Reverse();
  m_t.Reverse();
  return true;
}

bool ON_LineCurve::Trim(const ON_Interval& domain)
{
  if (!domain.IsIncreasing())
    return false;
  const ON_3dPoint a = m_line.PointAt(m_t.NormalizedParameterAt(domain[0]));
  const ON_3dPoint b = m_line.PointAt(m_t.NormalizedParameterAt(domain[1]));
  m_line = ON_Line(a, b);
  m_t = domain;
  return true;
}

bool ON_LineCurve::Split(double t, ON_Curve*& left_side, ON_Curve*& right_side) const
{
  return ON_Curve::Split(t, left_side, right_side);
}

bool ON_LineCurve::GetLength(double* length, double, const ON_Interval* sub_domain) const
{
  if (!length)
    return false;
  double f = 1.0;
  if (sub_domain && m_t.Length() != 0.0)
    f = std::fabs(sub_domain->Length() / m_t.Length());
  *length = m_line.Length() * f;
  return true;
}

int ON_LineCurve::GetNurbForm(ON_NurbsCurve& n, double, const ON_Interval* subdomain) const
{
  if (!n.Create(m_dim, false, 2, 2))
    return 0;
  n.SetCV(0, m_line.from);
  n.SetCV(1, m_line.to);
  n.m_knot[0] = m_t[0];
  n.m_knot[1] = m_t[1];
  if (subdomain && !n.Trim(*subdomain))
    return 0;
  return 1;
}

int ON_LineCurve::HasNurbForm() const
{
  return 1;
}

unsigned int ON_LineCurve::SizeOf() const
{
  return (unsigned int)sizeof(*this);
}

// ---------------------------------------------------------------------------
// ON_ArcCurve

ON_OBJECT_IMPLEMENT(ON_ArcCurve, ON_Curve, "CF33BE2A-09B4-11d4-BFFB-0010830122F0")

namespace
{
ON_Interval ArcLengthDomain(const ON_Arc& arc)
{
  const double len = arc.Length();
  return (len > 0.0) ? ON_Interval(0.0, len) : ON_Interval(0.0, 1.0);
}
} // namespace

ON_ArcCurve::ON_ArcCurve() : m_t(0.0, 2.0 * ON_PI), m_dim(3) {}

ON_ArcCurve::ON_ArcCurve(const ON_Arc& arc) : m_arc(arc), m_t(ArcLengthDomain(arc)), m_dim(3) {}

ON_ArcCurve::ON_ArcCurve(const ON_Arc& arc, double t0, double t1) : m_arc(arc), m_t(t0, t1), m_dim(3) {}

ON_ArcCurve::ON_ArcCurve(const ON_Circle& circle) : m_dim(3)
{
  m_arc = circle;
  m_t = ArcLengthDomain(m_arc);
}

ON_ArcCurve::ON_ArcCurve(const ON_Circle& circle, double t0, double t1) : m_t(t0, t1), m_dim(3)
{
  m_arc = circle;
}

ON_ArcCurve::~ON_ArcCurve() = default;

ON_ArcCurve& ON_ArcCurve::operator=(const ON_Arc& arc)
{
  m_arc = arc;
  m_t = ArcLengthDomain(arc);
  return *this;
}

ON_ArcCurve& ON_ArcCurve::operator=(const ON_Circle& circle)
{
  m_arc = circle;
  m_t = ArcLengthDomain(m_arc);
  return *this;
}

bool ON_ArcCurve::IsValid(ON_TextLog*) const
{
  return m_t.IsIncreasing() && m_arc.IsValid() && m_dim >= 2;
}

int ON_ArcCurve::Dimension() const
{
  return m_dim;
}

bool ON_ArcCurve::ChangeDimension(int d)
{
  if (d < 2 || d > 3)
    return false;
  m_dim = d;
  return true;
}

ON_BoundingBox ON_ArcCurve::BoundingBox() const
{
  ON_NurbsCurve n;
  if (!GetNurbForm(n))
    return ON_BoundingBox();
  return n.BoundingBox();
}

bool ON_ArcCurve::Transform(const ON_Xform& xform)
{
  return m_arc.Transform(xform);
}

ON_Interval ON_ArcCurve::Domain() const
{
  return m_t;
}

bool ON_ArcCurve::SetDomain(double t0, double t1)
{
  if (!(t0 < t1))
    return false;
  m_t.Set(t0, t1);
  return true;
}

bool ON_ArcCurve::Evaluate(double t, int der_count, int v_stride, double* v, int, int*) const
{
  const double len = m_t.Length();
  if (!(len != 0.0) || !v)
    return false;
  const ON_Interval ad = m_arc.Domain();
  const double a = ad.ParameterAt(m_t.NormalizedParameterAt(t));
  const double k = ad.Length() / len;
  WriteVec(v, m_dim, ON_3dVector(m_arc.PointAt(a)));
  double f = 1.0;
  for (int d = 1; d <= der_count; d++)
  {
    f *= k;
    WriteVec(v + d * v_stride, m_dim, m_arc.DerivativeAt(d, a) * f);
  }
  return true;
}

bool ON_ArcCurve::IsClosed() const
{
  return m_arc.IsCircle();
}

bool ON_ArcCurve::Reverse()
{
  m_arc.Reverse();
  m_t.Reverse();
  return true;
}

bool ON_ArcCurve::Trim(const ON_Interval& domain)
{
  if (!domain.IsIncreasing())
    return false;
  const ON_Interval ad = m_arc.Domain();
  const ON_Interval nd(ad.ParameterAt(m_t.NormalizedParameterAt(domain[0])),
                       ad.ParameterAt(m_t.NormalizedParameterAt(domain[1])));
  if (!m_arc.Trim(nd))
    return false;
  m_t = domain;
  return true;
}

bool ON_ArcCurve::ChangeClosedCurveSeam(double t)
{
  if (!IsClosed())
    return false;
  const ON_Interval ad = m_arc.Domain();
  const double a = ad.ParameterAt(m_t.NormalizedParameterAt(t));
  const double len = m_t.Length();
  if (!m_arc.SetAngleIntervalRadians(ON_Interval(a, a + ad.Length())))
    return false;
  m_t.Set(t, t + len);
  return true;
}

bool ON_ArcCurve::Split(double t, ON_Curve*& left_side, ON_Curve*& right_side) const
{
  return ON_Curve::Split(t, left_side, right_side);
}

bool ON_ArcCurve::GetLength(double* length, double, const ON_Interval* sub_domain) const
{
  if (!length)
    return false;
  double f = 1.0;
  if (sub_domain && m_t.Length() != 0.0)
    f = std::fabs(sub_domain->Length() / m_t.Length());
  *length = m_arc.Length() * f;
  return true;
}

int ON_ArcCurve::GetNurbForm(ON_NurbsCurve& n, double, const ON_Interval* subdomain) const
{
  if (!m_arc.GetNurbForm(n))
    return 0;
  const ON_Interval ad = m_arc.Domain();
  const int kc = n.KnotCount();
  for (int i = 0; i < kc; i++)
    n.m_knot[i] = m_t.ParameterAt(ad.NormalizedParameterAt(n.m_knot[i]));
  n.m_knot[0] = n.m_knot[1] = m_t[0];
  n.m_knot[kc - 1] = n.m_knot[kc - 2] = m_t[1];
  if (m_dim != 3)
    n.ChangeDimension(m_dim);
  if (subdomain && !n.Trim(*subdomain))
    return 0;
  return 2;
}

int ON_ArcCurve::HasNurbForm() const
{
  return 2;
}

unsigned int ON_ArcCurve::SizeOf() const
{
  return (unsigned int)sizeof(*this);
}

bool ON_ArcCurve::IsCircle() const
{
  return m_arc.IsCircle();
}

double ON_ArcCurve::Radius() const
{
  return m_arc.Radius();
}

double ON_ArcCurve::AngleRadians() const
{
  return m_arc.AngleRadians();
}

double ON_ArcCurve::AngleDegrees() const
{
  return m_arc.AngleDegrees();
}

// ---------------------------------------------------------------------------
// ON_PolylineCurve

ON_OBJECT_IMPLEMENT(ON_PolylineCurve, ON_Curve, "4ED7D4E6-E947-11d3-BFE5-0010830122F0")

namespace
{
void DefaultParameters(int n, ON_SimpleArray<double>& t)
{
  t.Empty();
  t.Reserve((size_t)(n > 0 ? n : 0));
  for (int i = 0; i < n; i++)
    t.Append((double)i);
}
} // namespace

ON_PolylineCurve::ON_PolylineCurve() : m_dim(3) {}

ON_PolylineCurve::ON_PolylineCurve(const ON_3dPointArray& points) : m_pline(points), m_dim(3)
{
  DefaultParameters(m_pline.Count(), m_t);
}

ON_PolylineCurve::ON_PolylineCurve(const ON_3dPointArray& points, const ON_SimpleArray<double>& t)
  : m_pline(points), m_dim(3)
{
  bool ok = (t.Count() == points.Count());
  for (int i = 1; ok && i < t.Count(); i++)
    ok = t[i - 1] < t[i];
  if (ok)
    m_t = t;
  else
    DefaultParameters(m_pline.Count(), m_t);
}

ON_PolylineCurve::~ON_PolylineCurve() = default;

ON_PolylineCurve& ON_PolylineCurve::operator=(const ON_3dPointArray& points)
{
  m_pline = points;
  DefaultParameters(m_pline.Count(), m_t);
  return *this;
}

bool ON_PolylineCurve::IsValid(ON_TextLog*) const
{
  if (!m_pline.IsValid() || m_t.Count() != m_pline.Count() || m_dim < 2)
    return false;
  for (int i = 1; i < m_t.Count(); i++)
    if (!(m_t[i - 1] < m_t[i]))
      return false;
  return true;
}

int ON_PolylineCurve::Dimension() const
{
  return m_dim;
}

bool ON_PolylineCurve::ChangeDimension(int d)
{
  if (d < 2 || d > 3)
    return false;
  if (d == 2)
    for (int i = 0; i < m_pline.Count(); i++)
      m_pline[i].z = 0.0;
  m_dim = d;
  return true;
}

ON_BoundingBox ON_PolylineCurve::BoundingBox() const
{
  ON_BoundingBox b;
  for (int i = 0; i < m_pline.Count(); i++)
    b.Set(m_pline[i], i > 0);
  return b;
}

bool ON_PolylineCurve::Transform(const ON_Xform& xform)
{
  for (int i = 0; i < m_pline.Count(); i++)
    m_pline[i] = xform * m_pline[i];
  return true;
}

ON_Interval ON_PolylineCurve::Domain() const
{
  if (m_t.Count() < 1)
    return ON_Interval();
  return ON_Interval(m_t[0], m_t[m_t.Count() - 1]);
}

bool ON_PolylineCurve::SetDomain(double t0, double t1)
{
  const ON_Interval d = Domain();
  if (!(t0 < t1) || !d.IsIncreasing())
    return false;
  for (int i = 0; i < m_t.Count(); i++)
    m_t[i] = ON_Interval(t0, t1).ParameterAt(d.NormalizedParameterAt(m_t[i]));
  m_t[0] = t0;
  m_t[m_t.Count() - 1] = t1;
  return true;
}

bool ON_PolylineCurve::Evaluate(double t, int der_count, int v_stride, double* v, int side, int*) const
{
  const int n = m_pline.Count();
  if (n < 2 || m_t.Count() != n || !v)
    return false;
  int i = 0;
  while (i < n - 2 && (side < 0 ? t > m_t[i + 1] : t >= m_t[i + 1]))
    i++;
  const double dt = m_t[i + 1] - m_t[i];
  if (!(dt > 0.0))
    return false;
  const ON_Line seg(m_pline[i], m_pline[i + 1]);
  WriteVec(v, m_dim, ON_3dVector(seg.PointAt((t - m_t[i]) / dt)));
  for (int k = 1; k <= der_count; k++)
    WriteVec(v + k * v_stride, m_dim, (k == 1) ? seg.Direction() / dt : ON_3dVector::ZeroVector);
  return true;
}

bool ON_PolylineCurve::IsClosed() const
{
  return m_pline.IsClosed(0.0);
}

bool ON_PolylineCurve::Reverse()
{
  const int n = m_pline.Count();
  for (int i = 0, j = n - 1; i < j; i++, j--)
  {
    const ON_3dPoint p = m_pline[i];
    m_pline[i] = m_pline[j];
    m_pline[j] = p;
  }
  const int m = m_t.Count();
  for (int i = 0, j = m - 1; i < j; i++, j--)
  {
    const double a = m_t[i];
    m_t[i] = m_t[j];
    m_t[j] = a;
  }
  for (int i = 0; i < m; i++)
    m_t[i] = -m_t[i];
  return true;
}

bool ON_PolylineCurve::GetLength(double* length, double, const ON_Interval* sub_domain) const
{
  if (!length)
    return false;
  if (!sub_domain)
  {
    *length = m_pline.Length();
    return true;
  }
  double sum = 0.0;
  const double a = sub_domain->Min(), b = sub_domain->Max();
  for (int i = 0; i + 1 < m_t.Count() && i + 1 < m_pline.Count(); i++)
  {
    const double lo = (a > m_t[i]) ? a : m_t[i];
    const double hi = (b < m_t[i + 1]) ? b : m_t[i + 1];
    if (hi > lo)
      sum += m_pline[i].DistanceTo(m_pline[i + 1]) * (hi - lo) / (m_t[i + 1] - m_t[i]);
  }
  *length = sum;
  return true;
}

int ON_PolylineCurve::GetNurbForm(ON_NurbsCurve& n, double, const ON_Interval* subdomain) const
{
  const int count = m_pline.Count();
  if (count < 2 || m_t.Count() != count || !n.Create(m_dim, false, 2, count))
    return 0;
  for (int i = 0; i < count; i++)
  {
    n.SetCV(i, m_pline[i]);
    n.m_knot[i] = m_t[i];
  }
  if (subdomain && !n.Trim(*subdomain))
    return 0;
  return 1;
}

int ON_PolylineCurve::HasNurbForm() const
{
  return 1;
}

unsigned int ON_PolylineCurve::SizeOf() const
{
  return (unsigned int)(sizeof(*this) + m_pline.Capacity() * sizeof(ON_3dPoint) + m_t.Capacity() * sizeof(double));
}

ON_3dPoint ON_PolylineCurve::Point(int i) const
{
  return (i >= 0 && i < m_pline.Count()) ? m_pline[i] : ON_3dPoint::UnsetPoint;
}

bool ON_PolylineCurve::SetPoint(int i, const ON_3dPoint& point)
{
  if (i < 0 || i >= m_pline.Count())
    return false;
  m_pline[i] = point;
  return true;
}

double ON_PolylineCurve::ParameterAt(int i) const
{
  return (i >= 0 && i < m_t.Count()) ? m_t[i] : ON_UNSET_VALUE;
}

// ---------------------------------------------------------------------------
// ON_PolyCurve

ON_OBJECT_IMPLEMENT(ON_PolyCurve, ON_Curve, "4ED7D4E0-E947-11d3-BFE5-0010830122F0")

ON_PolyCurve::ON_PolyCurve() = default;

ON_PolyCurve::ON_PolyCurve(int capacity)
{
  if (capacity > 0)
  {
    m_segment.Reserve((size_t)capacity);
    m_t.Reserve((size_t)capacity + 1);
  }
}

ON_PolyCurve::ON_PolyCurve(const ON_PolyCurve& src) : ON_Curve(src)
{
  *this = src;
}

ON_PolyCurve& ON_PolyCurve::operator=(const ON_PolyCurve& src)
{
  if (this == &src)
    return *this;
  ON_Curve::operator=(src);
  Destroy();
  m_segment.Reserve((size_t)src.m_segment.Count());
  for (int i = 0; i < src.m_segment.Count(); i++)
    m_segment.Append(src.m_segment[i] ? src.m_segment[i]->DuplicateCurve() : nullptr);
  m_t = src.m_t;
  return *this;
}

ON_PolyCurve::~ON_PolyCurve()
{
  Destroy();
}

void ON_PolyCurve::Destroy()
{
  for (int i = 0; i < m_segment.Count(); i++)
    delete m_segment[i];
  m_segment.Destroy();
  m_t.Destroy();
}

bool ON_PolyCurve::Append(ON_Curve* c)
{
  if (!c || c == this)
    return false;
  for (int i = 0; i < m_segment.Count(); i++)
    if (m_segment[i] == c)
      return false;
  const ON_Interval d = c->Domain();
  if (!d.IsIncreasing())
    return false;
  if (m_segment.Count() > 0 && c->Dimension() != Dimension())
    c->ChangeDimension(Dimension());
  if (m_t.Count() == 0)
  {
    m_t.Append(d[0]);
    m_t.Append(d[1]);
  }
  else
  {
    const double last = m_t[m_t.Count() - 1];
    m_t.Append(last + d.Length());
  }
  m_segment.Append(c);
  return true;
}

bool ON_PolyCurve::Prepend(ON_Curve* c)
{
  if (!c || c == this)
    return false;
  for (int i = 0; i < m_segment.Count(); i++)
    if (m_segment[i] == c)
      return false;
  const ON_Interval d = c->Domain();
  if (!d.IsIncreasing())
    return false;
  if (m_segment.Count() > 0 && c->Dimension() != Dimension())
    c->ChangeDimension(Dimension());
  if (m_t.Count() == 0)
  {
    m_t.Append(d[0]);
    m_t.Append(d[1]);
  }
  else
  {
    m_t.Insert(0, m_t[0] - d.Length());
  }
  m_segment.Insert(0, c);
  return true;
}

ON_Curve* ON_PolyCurve::SegmentCurve(int i) const
{
  return (i >= 0 && i < m_segment.Count()) ? m_segment[i] : nullptr;
}

bool ON_PolyCurve::SegmentParameters(ON_SimpleArray<double>& p) const
{
  p = m_t;
  return m_t.Count() > 0;
}

ON_Interval ON_PolyCurve::SegmentDomain(int i) const
{
  if (i < 0 || i + 1 >= m_t.Count())
    return ON_Interval();
  return ON_Interval(m_t[i], m_t[i + 1]);
}

int ON_PolyCurve::SegmentIndex(double t) const
{
  const int n = m_segment.Count();
  if (n < 1 || m_t.Count() != n + 1 || !(t >= m_t[0] && t <= m_t[n]))
    return -1;
  int i = 0;
  while (i < n - 1 && t >= m_t[i + 1])
    i++;
  return i;
}

ON_Curve* ON_PolyCurve::HarvestLastSegment()
{
  const int n = m_segment.Count();
  if (n < 1)
    return nullptr;
  ON_Curve* c = m_segment[n - 1];
  m_segment.Remove(n - 1);
  m_t.Remove(m_t.Count() - 1);
  if (n == 1)
    m_t.Empty();
  return c;
}

bool ON_PolyCurve::IsValid(ON_TextLog* log) const
{
  const int n = m_segment.Count();
  if (n < 1 || m_t.Count() != n + 1)
    return false;
  for (int i = 0; i < n; i++)
  {
    if (!m_segment[i] || !m_segment[i]->IsValid(log) || !(m_t[i] < m_t[i + 1]))
      return false;
  }
  return true;
}

int ON_PolyCurve::Dimension() const
{
  return (m_segment.Count() > 0 && m_segment[0]) ? m_segment[0]->Dimension() : 0;
}

bool ON_PolyCurve::ChangeDimension(int d)
{
  bool rc = m_segment.Count() > 0;
  for (int i = 0; i < m_segment.Count(); i++)
    if (!m_segment[i] || !m_segment[i]->ChangeDimension(d))
      rc = false;
  return rc;
}

ON_BoundingBox ON_PolyCurve::BoundingBox() const
{
  ON_BoundingBox b;
  for (int i = 0; i < m_segment.Count(); i++)
    if (m_segment[i])
      b.Union(m_segment[i]->BoundingBox());
  return b;
}

bool ON_PolyCurve::Transform(const ON_Xform& xform)
{
  bool rc = true;
  for (int i = 0; i < m_segment.Count(); i++)
    if (!m_segment[i] || !m_segment[i]->Transform(xform))
      rc = false;
  return rc;
}

ON_Interval ON_PolyCurve::Domain() const
{
  if (m_t.Count() < 2)
    return ON_Interval();
  return ON_Interval(m_t[0], m_t[m_t.Count() - 1]);
}

bool ON_PolyCurve::SetDomain(double t0, double t1)
{
  const ON_Interval d = Domain();
  if (!(t0 < t1) || !d.IsIncreasing())
    return false;
  const ON_Interval nd(t0, t1);
  for (int i = 0; i < m_t.Count(); i++)
    m_t[i] = nd.ParameterAt(d.NormalizedParameterAt(m_t[i]));
  m_t[0] = t0;
  m_t[m_t.Count() - 1] = t1;
  return true;
}

bool ON_PolyCurve::Evaluate(double t, int der_count, int v_stride, double* v, int side, int* hint) const
{
  const int n = m_segment.Count();
  if (n < 1 || m_t.Count() != n + 1 || !v)
    return false;
  int i = 0;
  while (i < n - 1 && (side < 0 ? t > m_t[i + 1] : t >= m_t[i + 1]))
    i++;
  const ON_Curve* c = m_segment[i];
  if (!c)
    return false;
  const ON_Interval sd = c->Domain();
  const ON_Interval pd(m_t[i], m_t[i + 1]);
  const double k = sd.Length() / pd.Length();
  if (!c->Evaluate(sd.ParameterAt(pd.NormalizedParameterAt(t)), der_count, v_stride, v, side, hint))
    return false;
  const int dim = Dimension();
  double f = 1.0;
  for (int d = 1; d <= der_count; d++)
  {
    f *= k;
    for (int j = 0; j < dim; j++)
      v[d * v_stride + j] *= f;
  }
  return true;
}

bool ON_PolyCurve::IsClosed() const
{
  return m_segment.Count() > 0 && ON_Curve::IsClosed();
}

bool ON_PolyCurve::Reverse()
{
  const int n = m_segment.Count();
  if (n < 1)
    return false;
  for (int i = 0; i < n; i++)
    if (m_segment[i])
      m_segment[i]->Reverse();
  for (int i = 0, j = n - 1; i < j; i++, j--)
  {
    ON_Curve* c = m_segment[i];
    m_segment[i] = m_segment[j];
    m_segment[j] = c;
  }
  const int m = m_t.Count();
  for (int i = 0, j = m - 1; i < j; i++, j--)
  {
    const double a = m_t[i];
    m_t[i] = m_t[j];
    m_t[j] = a;
  }
  for (int i = 0; i < m; i++)
    m_t[i] = -m_t[i];
  return true;
}

bool ON_PolyCurve::GetLength(double* length, double tol, const ON_Interval* sub_domain) const
{
  if (!length || m_segment.Count() < 1)
    return false;
  double sum = 0.0;
  for (int i = 0; i < m_segment.Count(); i++)
  {
    double l = 0.0;
    if (!m_segment[i])
      return false;
    if (sub_domain)
    {
      const double lo = (sub_domain->Min() > m_t[i]) ? sub_domain->Min() : m_t[i];
      const double hi = (sub_domain->Max() < m_t[i + 1]) ? sub_domain->Max() : m_t[i + 1];
      if (!(hi > lo))
        continue;
      const ON_Interval sd = m_segment[i]->Domain();
      const ON_Interval pd(m_t[i], m_t[i + 1]);
      const ON_Interval part(sd.ParameterAt(pd.NormalizedParameterAt(lo)), sd.ParameterAt(pd.NormalizedParameterAt(hi)));
      if (!m_segment[i]->GetLength(&l, tol, &part))
        return false;
    }
    else if (!m_segment[i]->GetLength(&l, tol))
    {
      return false;
    }
    sum += l;
  }
  *length = sum;
  return true;
}

unsigned int ON_PolyCurve::SizeOf() const
{
  unsigned int s = (unsigned int)sizeof(*this);
  for (int i = 0; i < m_segment.Count(); i++)
    if (m_segment[i])
      s += m_segment[i]->SizeOf();
  return s;
}
