// A chain of curve segments joined end to end.
#include "opennurbs_polycurve.h"
#include "opennurbs_arccurve.h"
#include "opennurbs_curve_detail.h"
#include "opennurbs_xform.h"

#include <algorithm>
#include <cmath>

ON_OBJECT_IMPLEMENT(ON_PolyCurve, ON_Curve, "4ED7D4E0-E947-11d3-BFE5-0010830122F0")

namespace
{
// Whether `next` does not start where `prev` ends: the points differ beyond
// ON_PointsAreCoincident's tolerance and, where an arc is involved, beyond
// 1e-10 of that arc's length (and ON_ZERO_TOLERANCE).
bool HasGapBetween(const ON_Curve& prev, const ON_Curve& next)
{
  const ON_3dPoint p0 = prev.PointAtEnd();
  const ON_3dPoint p1 = next.PointAtStart();
  if (ON_PointsAreCoincident(3, false, &p0.x, &p1.x))
    return false;
  const ON_ArcCurve* arc0 = ON_ArcCurve::Cast(&prev);
  const ON_ArcCurve* arc1 = ON_ArcCurve::Cast(&next);
  if (!arc0 && !arc1)
    return true;
  double tol = ON_ZERO_TOLERANCE;
  for (const ON_ArcCurve* arc : {arc0, arc1})
    if (arc)
      tol = std::fmax(tol, arc->m_arc.radius * arc->m_arc.AngleRadians() * 1.0e-10);
  return p0.DistanceTo(p1) > tol;
}

// Adds c at the start or the end of the chain of segments whose break
// parameters are t. Refused: null, the chain itself, a segment already in
// it, a curve without an increasing domain. A later segment takes the
// chain's dimension.
bool AddSegment(const ON_PolyCurve& chain, ON_SimpleArray<ON_Curve*>& segments, ON_SimpleArray<double>& t, ON_Curve* c,
                bool at_start)
{
  if (!c || c == &chain)
    return false;
  for (int i = 0; i < segments.Count(); i++)
    if (segments[i] == c)
      return false;
  const ON_Interval d = c->Domain();
  if (!d.IsIncreasing())
    return false;
  if (segments.Count() > 0 && c->Dimension() != chain.Dimension())
    c->ChangeDimension(chain.Dimension());
  if (t.Count() == 0)
  {
    t.Append(d[0]);
    t.Append(d[1]);
  }
  else if (at_start)
  {
    t.Insert(0, t[0] - d.Length());
  }
  else
  {
    t.Append(t[t.Count() - 1] + d.Length());
  }
  if (at_start)
    segments.Insert(0, c);
  else
    segments.Append(c);
  return true;
}
}  // namespace

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
  return AddSegment(*this, m_segment, m_t, c, false);
}

bool ON_PolyCurve::Prepend(ON_Curve* c)
{
  return AddSegment(*this, m_segment, m_t, c, true);
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
  // Outside the domain, the nearer end segment.
  const int n = m_segment.Count();
  if (n < 1 || m_t.Count() != n + 1)
    return 0;
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
  const int dim = m_segment[0] ? m_segment[0]->Dimension() : 0;
  for (int i = 0; i < n; i++)
  {
    if (!m_segment[i] || !m_segment[i]->IsValid(log) || !(m_t[i] < m_t[i + 1]) || m_segment[i]->Dimension() != dim)
      return false;
    // A closed segment only as the whole curve.
    if (n > 1 && m_segment[i]->IsClosed())
      return false;
  }
  for (int i = 0; i + 1 < n; i++)
    if (HasGapBetween(*m_segment[i], *m_segment[i + 1]))
      return false;
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
  return ON_CurveDetail::ParameterDomain(m_t);
}

bool ON_PolyCurve::SetDomain(double t0, double t1)
{
  return ON_CurveDetail::SetParameterDomain(m_t, t0, t1);
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
  std::reverse(m_segment.Array(), m_segment.Array() + n);
  ON_CurveDetail::ReverseParameters(m_t);
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
      const ON_Interval part(sd.ParameterAt(pd.NormalizedParameterAt(lo)),
                             sd.ParameterAt(pd.NormalizedParameterAt(hi)));
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
