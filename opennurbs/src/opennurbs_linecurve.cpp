// A line segment as a curve.
#include "opennurbs_linecurve.h"
#include "opennurbs_curve_detail.h"
#include "opennurbs_nurbscurve.h"
#include "opennurbs_xform.h"

#include <cmath>

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
  // Ends closer than ON_PointsAreCoincident's tolerance make no line.
  return m_t.IsIncreasing() && m_line.IsValid() && !ON_PointsAreCoincident(3, false, &m_line.from.x, &m_line.to.x) &&
      m_dim >= 2;
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
  ON_CurveDetail::WriteVec(v, m_dim, ON_3dVector(m_line.PointAt(m_t.NormalizedParameterAt(t))));
  for (int k = 1; k <= der_count; k++)
    ON_CurveDetail::WriteVec(v + k * v_stride, m_dim, (k == 1) ? m_line.Direction() / len : ON_3dVector::ZeroVector);
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
  *length = ON_CurveDetail::LengthOver(m_line.Length(), m_t, sub_domain);
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
