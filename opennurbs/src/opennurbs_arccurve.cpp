// An arc or circle as a curve.
#include "opennurbs_arccurve.h"
#include "opennurbs_curve_detail.h"
#include "opennurbs_nurbscurve.h"
#include "opennurbs_xform.h"

#include <cmath>

ON_OBJECT_IMPLEMENT(ON_ArcCurve, ON_Curve, "CF33BE2A-09B4-11d4-BFFB-0010830122F0")

namespace
{
ON_Interval ArcLengthDomain(const ON_Arc& arc)
{
  const double len = arc.Length();
  return (len > 0.0) ? ON_Interval(0.0, len) : ON_Interval(0.0, 1.0);
}
}  // namespace

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

namespace
{
// ON_PI is not pi, so sin and cos leave a residue of a few 1e-16 at the
// multiples of a quarter turn. These are the largest residues over the
// angles of the first two turns either way (multiples of ON_PI up to 4 for
// the sine, odd multiples of ON_PI/2 up to 4.5 for the cosine); a value no
// larger is taken as an exact zero.
struct QuarterTurnResidues
{
  double sine = 0.0;
  double cosine = 0.0;
  QuarterTurnResidues()
  {
    for (int k = 1; k <= 4; k++)
    {
      sine = std::fmax(sine, std::fabs(std::sin(k * ON_PI)));
      cosine = std::fmax(cosine, std::fabs(std::cos((k - 0.5) * ON_PI)));
    }
    cosine = std::fmax(cosine, std::fabs(std::cos(4.5 * ON_PI)));
  }
};

// cos(a), sin(a), exact at the quarter turns: the one that is within its
// residue of zero becomes 0 and the other +-1, so that a full circle ends
// exactly where it starts and a half circle on the x axis ends on it.
void SnappedCosSin(double a, double& c, double& s)
{
  static const QuarterTurnResidues residue;
  c = std::cos(a);
  s = std::sin(a);
  if (std::fabs(c) <= residue.cosine)
  {
    c = 0.0;
    s = (s < 0.0) ? -1.0 : 1.0;
  }
  else if (std::fabs(s) <= residue.sine)
  {
    s = 0.0;
    c = (c < 0.0) ? -1.0 : 1.0;
  }
}
}  // namespace

bool ON_ArcCurve::Evaluate(double t, int der_count, int v_stride, double* v, int, int*) const
{
  if (!(m_t[0] < m_t[1]) || !v)
    return false;
  const ON_Interval ad = m_arc.Domain();
  const double a = ad.ParameterAt(m_t.NormalizedParameterAt(t));
  const double k = ad.Length() / m_t.Length();
  double c = 0.0, s = 0.0;
  SnappedCosSin(a, c, s);
  c *= m_arc.radius;
  s *= m_arc.radius;
  const ON_Plane& plane = m_arc.plane;
  ON_CurveDetail::WriteVec(v, m_dim, ON_3dVector(plane.origin + plane.xaxis * c + plane.yaxis * s));
  double f = 1.0;
  for (int d = 1; d <= der_count; d++)
  {
    // Each derivative turns (c, s) a quarter turn forward.
    f *= k;
    const double turned = c;
    c = -s;
    s = turned;
    ON_CurveDetail::WriteVec(v + d * v_stride, m_dim, (plane.xaxis * c + plane.yaxis * s) * f);
  }
  return true;
}

bool ON_ArcCurve::IsClosed() const
{
  return m_arc.IsCircle();
}

bool ON_ArcCurve::IsPeriodic() const
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
  *length = ON_CurveDetail::LengthOver(m_arc.Length(), m_t, sub_domain);
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
