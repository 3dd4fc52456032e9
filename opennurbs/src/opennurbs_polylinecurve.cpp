// A polyline as a curve.
#include "opennurbs_polylinecurve.h"
#include "opennurbs_curve_detail.h"
#include "opennurbs_nurbscurve.h"
#include "opennurbs_xform.h"

#include <algorithm>

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
}  // namespace

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
  return ON_CurveDetail::ParameterDomain(m_t);
}

bool ON_PolylineCurve::SetDomain(double t0, double t1)
{
  return ON_CurveDetail::SetParameterDomain(m_t, t0, t1);
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
  ON_CurveDetail::WriteVec(v, m_dim, ON_3dVector(seg.PointAt((t - m_t[i]) / dt)));
  for (int k = 1; k <= der_count; k++)
    ON_CurveDetail::WriteVec(v + k * v_stride, m_dim, (k == 1) ? seg.Direction() / dt : ON_3dVector::ZeroVector);
  return true;
}

bool ON_PolylineCurve::IsClosed() const
{
  return m_pline.IsClosed(0.0);
}

bool ON_PolylineCurve::Reverse()
{
  std::reverse(m_pline.Array(), m_pline.Array() + m_pline.Count());
  ON_CurveDetail::ReverseParameters(m_t);
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
