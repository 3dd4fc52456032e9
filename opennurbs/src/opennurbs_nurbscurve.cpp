// NURBS curves.
#include "opennurbs_knots.h"
#include "opennurbs_nurbscurve.h"
#include "opennurbs_xform.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace ON_KnotDetail
{
int FindSpan(int order, int cv_count, const double* knot, double t, int side)
{
  const int lo = order - 2, hi = cv_count - 2;
  int s = lo;
  if (side < 0)
  {
    while (s < hi && t > knot[s + 1])
      s++;
  }
  else
  {
    while (s < hi && t >= knot[s + 1])
      s++;
  }
  // Step off empty spans.
  while (s > lo && !(knot[s] < knot[s + 1]))
    s--;
  while (s < hi && !(knot[s] < knot[s + 1]))
    s++;
  return s;
}

void BasisDerivatives(int order, const double* knot, int span, double t, int der_count, std::vector<double>& ders)
{
  // Without an order there is no basis, and nothing to size the storage by.
  if (order < 1)
  {
    ders.clear();
    return;
  }
  const int p = order - 1;
  const int n = std::min(der_count, p);
  std::vector<double> ndu((size_t)order * order, 0.0), left((size_t)order, 0.0), right((size_t)order, 0.0);
  auto NDU = [&](int i, int j) -> double& { return ndu[(size_t)i * order + j]; };
  NDU(0, 0) = 1.0;
  for (int j = 1; j <= p; j++)
  {
    left[j] = t - knot[span + 1 - j];
    right[j] = knot[span + j] - t;
    double saved = 0.0;
    for (int r = 0; r < j; r++)
    {
      NDU(j, r) = right[r + 1] + left[j - r];
      const double temp = NDU(r, j - 1) / NDU(j, r);
      NDU(r, j) = saved + right[r + 1] * temp;
      saved = left[j - r] * temp;
    }
    NDU(j, j) = saved;
  }
  ders.assign((size_t)(der_count + 1) * order, 0.0);
  for (int j = 0; j <= p; j++)
    ders[j] = NDU(j, p);
  std::vector<double> a(2 * (size_t)order, 0.0);
  for (int r = 0; r <= p; r++)
  {
    int s1 = 0, s2 = 1;
    std::fill(a.begin(), a.end(), 0.0);
    a[0] = 1.0;
    for (int k = 1; k <= n; k++)
    {
      double d = 0.0;
      const int rk = r - k, pk = p - k;
      if (r >= k)
      {
        a[s2 * order + 0] = a[s1 * order + 0] / NDU(pk + 1, rk);
        d = a[s2 * order + 0] * NDU(rk, pk);
      }
      const int j1 = (rk >= -1) ? 1 : -rk;
      const int j2 = (r - 1 <= pk) ? k - 1 : p - r;
      for (int j = j1; j <= j2; j++)
      {
        a[s2 * order + j] = (a[s1 * order + j] - a[s1 * order + j - 1]) / NDU(pk + 1, rk + j);
        d += a[s2 * order + j] * NDU(rk + j, pk);
      }
      if (r <= pk)
      {
        a[s2 * order + k] = -a[s1 * order + k - 1] / NDU(pk + 1, r);
        d += a[s2 * order + k] * NDU(r, pk);
      }
      ders[(size_t)k * order + r] = d;
      std::swap(s1, s2);
    }
  }
  double f = p;
  for (int k = 1; k <= n; k++)
  {
    for (int j = 0; j <= p; j++)
      ders[(size_t)k * order + j] *= f;
    f *= (p - k);
  }
}
}  // namespace ON_KnotDetail

using namespace ON_KnotDetail;

ON_OBJECT_IMPLEMENT(ON_NurbsCurve, ON_Curve, "4ED7D4DD-E947-11d3-BFE5-0010830122F0")

namespace
{
double* GrowArray(double* a, int old_capacity, int new_capacity)
{
  double* p = (double*)std::realloc(a, (size_t)new_capacity * sizeof(double));
  if (!p)
    throw std::bad_alloc();
  std::memset(p + old_capacity, 0, (size_t)(new_capacity - old_capacity) * sizeof(double));
  return p;
}

// What a curve is, without its knot and control point buffers.
void CopyShape(ON_NurbsCurve& dst, const ON_NurbsCurve& src)
{
  dst.m_dim = src.m_dim;
  dst.m_is_rat = src.m_is_rat;
  dst.m_order = src.m_order;
  dst.m_cv_count = src.m_cv_count;
  dst.m_cv_stride = src.m_cv_stride;
}

double Binomial(int n, int k)
{
  double r = 1.0;
  for (int i = 1; i <= k; i++)
    r = r * (n - k + i) / i;
  return r;
}
}  // namespace

ON_NurbsCurve::ON_NurbsCurve()
{
  Initialize();
}

ON_NurbsCurve::ON_NurbsCurve(int dimension, bool bIsRational, int order, int cv_count)
{
  Initialize();
  Create(dimension, bIsRational, order, cv_count);
}

ON_NurbsCurve::ON_NurbsCurve(const ON_NurbsCurve& src) : ON_Curve(src)
{
  Initialize();
  *this = src;
}

ON_NurbsCurve& ON_NurbsCurve::operator=(const ON_NurbsCurve& src)
{
  if (this == &src)
    return *this;
  ON_Curve::operator=(src);
  // A source without a valid shape leaves this curve without buffers.
  const bool valid = src.m_order >= 2 && src.m_cv_count >= src.m_order && src.m_dim >= 1;
  const int kc = valid ? src.KnotCount() : 0;
  const int cvs = valid ? src.m_cv_stride * src.m_cv_count : 0;
  if (valid)
  {
    ReserveKnotCapacity(kc);
    ReserveCVCapacity(cvs);
  }
  else
  {
    Destroy();
  }
  CopyShape(*this, src);
  if (valid && src.m_knot)
    std::memcpy(m_knot, src.m_knot, (size_t)kc * sizeof(double));
  if (valid && src.m_cv)
    std::memcpy(m_cv, src.m_cv, (size_t)cvs * sizeof(double));
  return *this;
}

ON_NurbsCurve::ON_NurbsCurve(ON_NurbsCurve&& src) noexcept : ON_Curve(src)
{
  Initialize();
  *this = std::move(src);
}

ON_NurbsCurve& ON_NurbsCurve::operator=(ON_NurbsCurve&& src) noexcept
{
  if (this != &src)
  {
    Destroy();
    CopyShape(*this, src);
    m_knot_capacity = src.m_knot_capacity;
    m_knot = src.m_knot;
    m_cv_capacity = src.m_cv_capacity;
    m_cv = src.m_cv;
    src.Initialize();
  }
  return *this;
}

ON_NurbsCurve::~ON_NurbsCurve()
{
  Destroy();
}

void ON_NurbsCurve::Initialize()
{
  m_dim = 0;
  m_is_rat = 0;
  m_order = 0;
  m_cv_count = 0;
  m_knot_capacity = 0;
  m_knot = nullptr;
  m_cv_stride = 0;
  m_cv_capacity = 0;
  m_cv = nullptr;
}

void ON_NurbsCurve::Destroy()
{
  std::free(m_knot);
  std::free(m_cv);
  Initialize();
}

bool ON_NurbsCurve::ReserveCVCapacity(int capacity)
{
  if (capacity > m_cv_capacity)
  {
    m_cv = GrowArray(m_cv, m_cv_capacity, capacity);
    m_cv_capacity = capacity;
  }
  return m_cv != nullptr || capacity <= 0;
}

bool ON_NurbsCurve::ReserveKnotCapacity(int capacity)
{
  if (capacity > m_knot_capacity)
  {
    m_knot = GrowArray(m_knot, m_knot_capacity, capacity);
    m_knot_capacity = capacity;
  }
  return m_knot != nullptr || capacity <= 0;
}

bool ON_NurbsCurve::Create(int dimension, bool bIsRational, int order, int cv_count)
{
  if (dimension < 1 || order < 2 || cv_count < order)
    return false;
  const int stride = dimension + (bIsRational ? 1 : 0);
  ReserveKnotCapacity(order + cv_count - 2);
  ReserveCVCapacity(stride * cv_count);
  m_dim = dimension;
  m_is_rat = bIsRational ? 1 : 0;
  m_order = order;
  m_cv_count = cv_count;
  m_cv_stride = stride;
  std::memset(m_knot, 0, (size_t)KnotCount() * sizeof(double));
  std::memset(m_cv, 0, (size_t)stride * cv_count * sizeof(double));
  return true;
}

bool ON_NurbsCurve::CreateClampedUniformNurbs(int dimension, int order, int point_count, const ON_3dPoint* point,
                                              double knot_delta)
{
  if (!point || !(knot_delta > 0.0) || !Create(dimension, false, order, point_count))
    return false;
  for (int i = 0; i < point_count; i++)
    SetCV(i, point[i]);
  return MakeClampedUniformKnotVector(knot_delta);
}

bool ON_NurbsCurve::CreatePeriodicUniformNurbs(int dimension, int order, int point_count, const ON_3dPoint* point,
                                               double knot_delta)
{
  if (!point || !(knot_delta > 0.0) || order < 2 || point_count < 2)
    return false;
  const int cv_count = point_count + order - 1;
  if (!Create(dimension, false, order, cv_count))
    return false;
  for (int i = 0; i < cv_count; i++)
    SetCV(i, point[i % point_count]);
  return MakePeriodicUniformKnotVector(knot_delta);
}

bool ON_NurbsCurve::IsValid(ON_TextLog*) const
{
  if (m_dim < 1 || m_order < 2 || m_cv_count < m_order || !m_knot || !m_cv)
    return false;
  if (m_cv_stride < CVSize())
    return false;
  const int kc = KnotCount();
  for (int i = 0; i < kc; i++)
    if (!ON_IS_VALID(m_knot[i]))
      return false;
  for (int i = 1; i < kc; i++)
    if (m_knot[i] < m_knot[i - 1])
      return false;
  // No knot repeated order times or more, and non-empty end spans.
  for (int i = 0; i + m_order - 1 < kc; i++)
    if (!(m_knot[i] < m_knot[i + m_order - 1]))
      return false;
  if (!(m_knot[m_order - 2] < m_knot[m_order - 1]) || !(m_knot[m_cv_count - 2] < m_knot[m_cv_count - 1]))
    return false;
  for (int i = 0; i < m_cv_count; i++)
  {
    const double* cv = CV(i);
    for (int j = 0; j < CVSize(); j++)
      if (!ON_IS_VALID(cv[j]))
        return false;
  }
  if (m_is_rat)
  {
    // The denominator must not vanish: no order consecutive zero weights,
    // and at every full-multiplicity knot (where the curve passes through
    // the control point) a non-zero weight, all of one sign.
    int zero_run = 0;
    double sign = 0.0;
    for (int i = 0; i < m_cv_count; i++)
    {
      const double w = CV(i)[m_dim];
      zero_run = (w == 0.0) ? zero_run + 1 : 0;
      if (zero_run >= m_order)
        return false;
      if (m_knot[i] != m_knot[i + m_order - 2])
        continue;
      if (w == 0.0)
        return false;
      if (sign == 0.0)
        sign = (w > 0.0) ? 1.0 : -1.0;
      else if (w * sign <= 0.0)
        return false;
    }
  }
  return true;
}

int ON_NurbsCurve::Dimension() const
{
  return m_dim;
}

bool ON_NurbsCurve::ChangeDimension(int d)
{
  if (d < 1 || m_dim < 1)
    return false;
  if (d == m_dim)
    return true;
  const int stride = d + m_is_rat;
  std::vector<double> cv((size_t)stride * m_cv_count, 0.0);
  for (int i = 0; i < m_cv_count; i++)
  {
    const double* src = CV(i);
    double* dst = &cv[(size_t)i * stride];
    for (int j = 0; j < d && j < m_dim; j++)
      dst[j] = src[j];
    if (m_is_rat)
      dst[d] = src[m_dim];
  }
  ReserveCVCapacity(stride * m_cv_count);
  std::memcpy(m_cv, cv.data(), cv.size() * sizeof(double));
  m_dim = d;
  m_cv_stride = stride;
  return true;
}

ON_BoundingBox ON_NurbsCurve::BoundingBox() const
{
  ON_BoundingBox b;
  bool first = true;
  for (int i = 0; i < m_cv_count; i++)
  {
    ON_3dPoint p;
    if (GetCV(i, p))
    {
      b.Set(p, !first);
      first = false;
    }
  }
  return b;
}

bool ON_NurbsCurve::Transform(const ON_Xform& xform)
{
  if (m_dim < 1 || !m_cv)
    return false;
  for (int i = 0; i < m_cv_count; i++)
  {
    double* cv = CV(i);
    if (m_is_rat)
    {
      ON_4dPoint p(cv[0], m_dim > 1 ? cv[1] : 0.0, m_dim > 2 ? cv[2] : 0.0, cv[m_dim]);
      p = xform * p;
      for (int j = 0; j < m_dim && j < 3; j++)
        cv[j] = p[j];
      cv[m_dim] = p.w;
    }
    else
    {
      ON_3dPoint p(cv[0], m_dim > 1 ? cv[1] : 0.0, m_dim > 2 ? cv[2] : 0.0);
      p = xform * p;
      for (int j = 0; j < m_dim && j < 3; j++)
        cv[j] = p[j];
    }
  }
  return true;
}

ON_Interval ON_NurbsCurve::Domain() const
{
  return ON_KnotDetail::Domain(m_order, m_cv_count, m_knot);
}

bool ON_NurbsCurve::SetDomain(double t0, double t1)
{
  const ON_Interval d = Domain();
  if (!(t0 < t1) || !d.IsIncreasing())
    return false;
  const ON_Interval nd(t0, t1);
  const int kc = KnotCount();
  for (int i = 0; i < kc; i++)
    m_knot[i] = nd.ParameterAt(d.NormalizedParameterAt(m_knot[i]));
  // Keep the domain ends exact.
  const double k0 = m_knot[m_order - 2], k1 = m_knot[m_cv_count - 1];
  for (int i = 0; i < kc; i++)
  {
    if (m_knot[i] == k0)
      m_knot[i] = t0;
    else if (m_knot[i] == k1)
      m_knot[i] = t1;
  }
  return true;
}

bool ON_NurbsCurve::Evaluate(double t, int der_count, int v_stride, double* v, int side, int*) const
{
  if (!v || m_order < 2 || m_cv_count < m_order || !m_knot || !m_cv || der_count < 0)
    return false;
  const int span = FindSpan(m_order, m_cv_count, m_knot, t, side);
  if (!(m_knot[span] < m_knot[span + 1]))
    return false;
  std::vector<double> ders;
  BasisDerivatives(m_order, m_knot, span, t, der_count, ders);
  const int first = span - m_order + 2;
  const int cvsize = CVSize();
  std::vector<double> h((size_t)(der_count + 1) * cvsize, 0.0);
  for (int k = 0; k <= der_count; k++)
    for (int j = 0; j < m_order; j++)
    {
      const double b = ders[(size_t)k * m_order + j];
      const double* cv = CV(first + j);
      for (int c = 0; c < cvsize; c++)
        h[(size_t)k * cvsize + c] += b * cv[c];
    }
  if (!m_is_rat)
  {
    for (int k = 0; k <= der_count; k++)
      for (int c = 0; c < m_dim; c++)
        v[k * v_stride + c] = h[(size_t)k * cvsize + c];
    return true;
  }
  const double w0 = h[m_dim];
  if (w0 == 0.0)
    return false;
  std::vector<double> out((size_t)(der_count + 1) * m_dim, 0.0);
  for (int k = 0; k <= der_count; k++)
  {
    for (int c = 0; c < m_dim; c++)
    {
      double a = h[(size_t)k * cvsize + c];
      for (int i = 1; i <= k; i++)
        a -= Binomial(k, i) * h[(size_t)i * cvsize + m_dim] * out[(size_t)(k - i) * m_dim + c];
      out[(size_t)k * m_dim + c] = a / w0;
    }
  }
  for (int k = 0; k <= der_count; k++)
    for (int c = 0; c < m_dim; c++)
      v[k * v_stride + c] = out[(size_t)k * m_dim + c];
  return true;
}

bool ON_NurbsCurve::IsClosed() const
{
  if (m_dim < 1 || m_cv_count < 4)
    return false;
  return IsPeriodic() || ON_Curve::IsClosed();
}

bool ON_NurbsCurve::IsPeriodic() const
{
  // A degree-1 curve is never periodic, and a periodic curve needs more
  // control points than it wraps: at least order + 2 up to order 4, at least
  // 2 * order - 2 beyond.
  if (m_order < 3 || !m_knot || !m_cv)
    return false;
  if (m_cv_count < ((m_order <= 4) ? m_order + 2 : 2 * m_order - 2))
    return false;
  // The first 2 * (order - 2) knot spacings repeat one period later, within a
  // tolerance relative to the larger of the first span and the domain.
  const double tol = ON_SQRT_EPSILON *
      std::fmax(std::fabs(m_knot[m_order - 1] - m_knot[m_order - 3]),
                std::fabs(m_knot[m_cv_count - 1] - m_knot[m_order - 2]));
  const int shift = m_cv_count - m_order + 1;
  for (int i = 0; i < 2 * (m_order - 2); i++)
  {
    const double first = m_knot[i + 1] - m_knot[i];
    const double later = m_knot[shift + i + 1] - m_knot[shift + i];
    if (std::fabs(first - later) > tol)
      return false;
  }
  // The last order - 1 control points repeat the first.
  for (int i = 0; i < m_order - 1; i++)
    if (!ON_PointsAreCoincident(m_dim, m_is_rat != 0, CV(i), CV(i + shift)))
      return false;
  return true;
}

bool ON_NurbsCurve::Reverse()
{
  if (m_order < 2 || m_cv_count < m_order || !m_knot || !m_cv)
    return false;
  const int kc = KnotCount();
  for (int i = 0, j = kc - 1; i <= j; i++, j--)
  {
    const double a = m_knot[i], b = m_knot[j];
    m_knot[i] = -b;
    m_knot[j] = -a;
  }
  for (int i = 0, j = m_cv_count - 1; i < j; i++, j--)
  {
    double* a = CV(i);
    double* b = CV(j);
    for (int c = 0; c < m_cv_stride; c++)
      std::swap(a[c], b[c]);
  }
  return true;
}

int ON_NurbsCurve::KnotMultiplicity(int knot_index) const
{
  const int kc = KnotCount();
  if (knot_index < 0 || knot_index >= kc || !m_knot)
    return 0;
  const double k = m_knot[knot_index];
  int i0 = knot_index, i1 = knot_index;
  while (i0 > 0 && m_knot[i0 - 1] == k)
    i0--;
  while (i1 + 1 < kc && m_knot[i1 + 1] == k)
    i1++;
  return i1 - i0 + 1;
}

bool ON_NurbsCurve::InsertKnot(double knot_value, int knot_multiplicity)
{
  const ON_Interval d = Domain();
  if (!d.IsIncreasing() || !(knot_value >= d[0] && knot_value <= d[1]) || knot_multiplicity < 1)
    return false;
  if (knot_multiplicity > m_order - 1)
    knot_multiplicity = m_order - 1;
  for (;;)
  {
    const int kc = KnotCount();
    int have = 0;
    for (int i = 0; i < kc; i++)
      if (m_knot[i] == knot_value)
        have++;
    if (have >= knot_multiplicity)
      return true;
    // Boehm insertion of one knot.
    int s = FindSpan(m_order, m_cv_count, m_knot, knot_value, 0);
    if (knot_value > m_knot[s + 1])
      return false;
    const int p = m_order - 1;
    const int stride = m_cv_stride;
    std::vector<double> q((size_t)(m_cv_count + 1) * stride, 0.0);
    const int k = s + 1;  // index of the first CV that moves in the knot-vector-with-ends numbering
    for (int i = 0; i < m_cv_count + 1; i++)
    {
      double* dst = &q[(size_t)i * stride];
      if (i <= k - p)
      {
        std::memcpy(dst, CV(i), (size_t)stride * sizeof(double));
      }
      else if (i >= k + 1)
      {
        std::memcpy(dst, CV(i - 1), (size_t)stride * sizeof(double));
      }
      else
      {
        const double a0 = m_knot[i - 1];
        const double a1 = m_knot[i + p - 1];
        const double alpha = (a1 > a0) ? (knot_value - a0) / (a1 - a0) : 0.0;
        const double* pi = CV(i);
        const double* pm = CV(i - 1);
        for (int c = 0; c < stride; c++)
          dst[c] = alpha * pi[c] + (1.0 - alpha) * pm[c];
      }
    }
    std::vector<double> knots(m_knot, m_knot + kc);
    knots.insert(knots.begin() + s + 1, knot_value);
    ReserveKnotCapacity(kc + 1);
    ReserveCVCapacity((m_cv_count + 1) * stride);
    std::memcpy(m_knot, knots.data(), knots.size() * sizeof(double));
    std::memcpy(m_cv, q.data(), q.size() * sizeof(double));
    m_cv_count++;
  }
}

bool ON_NurbsCurve::Trim(const ON_Interval& domain)
{
  const ON_Interval d = Domain();
  if (!domain.IsIncreasing() || !d.IsIncreasing())
    return false;
  const double t0 = std::max(domain[0], d[0]);
  const double t1 = std::min(domain[1], d[1]);
  if (!(t0 < t1))
    return false;
  ON_NurbsCurve c(*this);
  if (!c.InsertKnot(t0, m_order - 1) || !c.InsertKnot(t1, m_order - 1))
    return false;
  const int kc = c.KnotCount();
  int a = 0;
  while (a < kc && c.m_knot[a] != t0)
    a++;
  int b = kc - 1;
  while (b >= 0 && c.m_knot[b] != t1)
    b--;
  const int nk = b - a + 1;
  const int ncv = nk - m_order + 2;
  if (a >= kc || b < 0 || ncv < m_order || a + ncv > c.m_cv_count)
    return false;
  Create(c.m_dim, c.m_is_rat != 0, c.m_order, ncv);
  std::memcpy(m_knot, c.m_knot + a, (size_t)nk * sizeof(double));
  std::memcpy(m_cv, c.CV(a), (size_t)ncv * c.m_cv_stride * sizeof(double));
  return true;
}

bool ON_NurbsCurve::Split(double t, ON_Curve*& left_side, ON_Curve*& right_side) const
{
  return ON_Curve::Split(t, left_side, right_side);
}

namespace
{
int FloorDiv(int i, int n)
{
  return (i >= 0) ? i / n : -((-i + n - 1) / n);
}

// The knots and control points of a periodic curve continued without end:
// one period on, the knots are a period later and the control points repeat.
struct PeriodicSequence
{
  const ON_NurbsCurve& c;
  int u;          // control points in one period
  double period;  // domain length

  double Knot(int i) const
  {
    if (i >= 0 && i < c.KnotCount())
      return c.m_knot[i];
    const int q = FloorDiv(i, u);
    return c.m_knot[i - q * u] + q * period;
  }
  const double* CV(int i) const
  {
    return c.CV(i - FloorDiv(i, u) * u);
  }
};

// A periodic curve that starts at s, s inside the open domain. At a knot
// (or within the knot tolerance of one) the knots and control points are
// renumbered; elsewhere s becomes a knot of every period. False when s is
// (within the tolerance) at the domain ends: no periodic form starts there.
bool PeriodicFromSeam(const ON_NurbsCurve& src, double s, ON_NurbsCurve& out)
{
  const int order = src.m_order, n = src.m_cv_count, kc = src.KnotCount(), p = order - 1;
  const ON_Interval d = src.Domain();
  const PeriodicSequence seq{src, n - order + 1, d.Length()};
  const int a = FindSpan(order, n, src.m_knot, s, 0);
  const double ka = src.m_knot[a], kb = src.m_knot[a + 1];
  const double ktol = ON_SQRT_EPSILON * (std::fabs(ka) + std::fabs(kb) + (kb - ka));
  int at = -1;  // the span that starts at the new seam's knot
  if (s - ka <= ktol)
    at = a;
  else if (kb - s <= ktol)
    at = a + 1;
  if (at >= 0)
  {
    while (at + 1 < kc && src.m_knot[at + 1] == src.m_knot[at])
      at++;
    if (at <= order - 2 || at >= n - 1)
      return false;
    const int r = at - (order - 2);
    const double shift = s - src.m_knot[at];
    out.Create(src.m_dim, src.m_is_rat != 0, order, n);
    for (int i = 0; i < kc; i++)
      out.m_knot[i] = seq.Knot(i + r) + shift;
    out.m_knot[order - 2] = s;
    for (int i = 0; i < n; i++)
      std::memcpy(out.CV(i), seq.CV(i + r), (size_t)src.CVSize() * sizeof(double));
    return true;
  }
  // Insert s in span a of the endless sequence and in every period after
  // and before it: one period then holds u + 1 knots and control points.
  const int u1 = seq.u + 1;
  auto knot = [&](int m)
  {
    // Knot m of the new sequence, counted from s.
    const int q = FloorDiv(m, u1), mm = m - q * u1;
    return (mm == 0 ? s : seq.Knot(a + mm)) + q * seq.period;
  };
  const int cvsize = src.CVSize();
  const int first = a + 2 - u1;  // one period of new control points: first ... a + 1
  std::vector<double> q((size_t)u1 * cvsize, 0.0);
  for (int i = first; i <= a + 1; i++)
  {
    double* dst = &q[(size_t)(i - first) * cvsize];
    if (i <= a + 1 - p)
    {
      std::memcpy(dst, seq.CV(i), (size_t)cvsize * sizeof(double));
      continue;
    }
    const double k0 = seq.Knot(i - 1), k1 = seq.Knot(i + p - 1);
    const double alpha = (s - k0) / (k1 - k0);
    const double* pi = seq.CV(i);
    const double* pm = seq.CV(i - 1);
    for (int c = 0; c < cvsize; c++)
      dst[c] = alpha * pi[c] + (1.0 - alpha) * pm[c];
  }
  out.Create(src.m_dim, src.m_is_rat != 0, order, n + 1);
  for (int i = 0; i < kc + 1; i++)
    out.m_knot[i] = knot(i - (order - 2));
  // Control point i + r of the new sequence, r = a + 3 - order.
  for (int i = 0; i < n + 1; i++)
  {
    const int k = i + a + 3 - order - first;
    std::memcpy(out.CV(i), &q[(size_t)(k - FloorDiv(k, u1) * u1) * cvsize], (size_t)cvsize * sizeof(double));
  }
  return true;
}

// The same closed curve from s: the part from s to the end, then the part
// from the start to s moved one period on, joined at the old seam. False when
// s is within ON_SQRT_EPSILON of a span length of either end.
bool SplitAndRejoin(const ON_NurbsCurve& src, double s, ON_NurbsCurve& out)
{
  const ON_Interval d = src.Domain();
  const int order = src.m_order, n = src.m_cv_count;
  int s0 = order - 2, s1 = n - 2;
  while (s0 < s1 && !(src.m_knot[s0 + 1] > src.m_knot[s0]))
    s0++;
  while (s1 > s0 && !(src.m_knot[s1 + 1] > src.m_knot[s1]))
    s1--;
  if (s - d[0] <= ON_SQRT_EPSILON * (src.m_knot[s0 + 1] - src.m_knot[s0]) ||
      d[1] - s <= ON_SQRT_EPSILON * (src.m_knot[s1 + 1] - src.m_knot[s1]))
    return false;
  // Within the knot tolerance of an inner knot the curve is split at that
  // knot; only the new domain's ends take s itself.
  const double cut = s;
  {
    const int a = FindSpan(order, n, src.m_knot, s, 0);
    const double ka = src.m_knot[a], kb = src.m_knot[a + 1];
    const double ktol = ON_SQRT_EPSILON * (std::fabs(ka) + std::fabs(kb) + (kb - ka));
    if (s - ka <= ktol && ka > d[0])
      s = ka;
    else if (kb - s <= ktol && kb < d[1])
      s = kb;
  }
  ON_NurbsCurve tail(src), head(src);
  if (!tail.Trim(ON_Interval(s, d[1])) || !head.Trim(ON_Interval(d[0], s)))
    return false;
  const double period = d.Length();
  for (int i = 0; i < head.KnotCount(); i++)
    head.m_knot[i] += period;
  if (src.m_is_rat)
  {
    // Both pieces meet at one control point; give it one weight.
    const double wt = tail.Weight(tail.m_cv_count - 1);
    const double wh = head.Weight(0);
    if (wt == 0.0 || wh == 0.0)
      return false;
    const double f = wt / wh;
    for (int i = 0; i < head.m_cv_count; i++)
      for (int c = 0; c < head.m_cv_stride; c++)
        head.CV(i)[c] *= f;
  }
  const int ncv = tail.m_cv_count + head.m_cv_count - 1;
  const int tk = tail.KnotCount();
  const int hk = head.KnotCount();
  std::vector<double> knots(tail.m_knot, tail.m_knot + tk);
  knots.insert(knots.end(), head.m_knot + (order - 1), head.m_knot + hk);
  out.Create(src.m_dim, src.m_is_rat != 0, order, ncv);
  std::memcpy(out.m_knot, knots.data(), knots.size() * sizeof(double));
  std::memcpy(out.m_cv, tail.m_cv, (size_t)tail.m_cv_count * out.m_cv_stride * sizeof(double));
  std::memcpy(out.m_cv + (size_t)tail.m_cv_count * out.m_cv_stride, head.CV(1),
              (size_t)(head.m_cv_count - 1) * out.m_cv_stride * sizeof(double));
  if (cut != s)
  {
    const int kc = out.KnotCount();
    for (int i = 0; i < kc; i++)
    {
      if (out.m_knot[i] == s)
        out.m_knot[i] = cut;
      else if (out.m_knot[i] == s + period)
        out.m_knot[i] = cut + period;
    }
  }
  return true;
}
}  // namespace

bool ON_NurbsCurve::ChangeClosedCurveSeam(double t)
{
  const ON_Interval d = Domain();
  if (!IsClosed() || !d.IsIncreasing() || !std::isfinite(t))
    return false;
  if (t == d[0])
    return true;
  // A parameter outside the domain (or at its end) is the point a whole
  // number of periods round; the domain then starts at t itself.
  const double period = d.Length();
  double s = t;
  if (!(t > d[0] && t < d[1]))
  {
    s = t - std::floor((t - d[0]) / period) * period;
    if (s >= d[1])
      s -= period;
    else if (s < d[0])
      s += period;
    if (!(s >= d[0] && s < d[1]))
      return false;
  }
  // Inside the domain a periodic curve stays periodic; from a parameter
  // outside it the curve is split and rejoined like any closed curve.
  ON_NurbsCurve c;
  if (s == d[0])
    c = *this;
  else if (!(t == s && IsPeriodic() && PeriodicFromSeam(*this, s, c)) && !SplitAndRejoin(*this, s, c))
    return false;
  if (t != s)
  {
    // Far from the domain the shifted knots may run together; refuse that.
    const double shift = t - s;
    const ON_Interval cd = c.Domain();
    const int kc = c.KnotCount();
    std::vector<double> k(c.m_knot, c.m_knot + kc);
    for (int i = 0; i < kc; i++)
      k[i] = (k[i] == cd[0]) ? t : (k[i] == cd[1]) ? t + period : k[i] + shift;
    for (int i = 0; i + 1 < kc; i++)
      if ((k[i + 1] > k[i]) != (c.m_knot[i + 1] > c.m_knot[i]) || k[i + 1] < k[i])
        return false;
    std::memcpy(c.m_knot, k.data(), (size_t)kc * sizeof(double));
  }
  *this = std::move(c);
  return true;
}

bool ON_NurbsCurve::GetLength(double* length, double, const ON_Interval* sub_domain) const
{
  if (!length)
    return false;
  const ON_Interval d = Domain();
  if (!d.IsIncreasing())
    return false;
  double a = d[0], b = d[1];
  if (sub_domain)
  {
    a = std::max(a, sub_domain->Min());
    b = std::min(b, sub_domain->Max());
  }
  static const double gx[5] = {-0.9061798459386640, -0.5384693101056831, 0.0, 0.5384693101056831, 0.9061798459386640};
  static const double gw[5] = {0.2369268850561891, 0.4786286704993665, 0.5688888888888889, 0.4786286704993665,
                               0.2369268850561891};
  double sum = 0.0;
  for (int s = m_order - 2; s <= m_cv_count - 2; s++)
  {
    const double lo = std::max(a, m_knot[s]), hi = std::min(b, m_knot[s + 1]);
    if (!(hi > lo))
      continue;
    const int pieces = 16;
    for (int p = 0; p < pieces; p++)
    {
      const double p0 = lo + (hi - lo) * p / pieces, p1 = lo + (hi - lo) * (p + 1) / pieces;
      const double m = 0.5 * (p0 + p1), h = 0.5 * (p1 - p0);
      for (int g = 0; g < 5; g++)
      {
        const double t = m + h * gx[g];
        ON_3dPoint pt;
        ON_3dVector d1;
        if (!Ev1Der(t, pt, d1, (t >= m_knot[s + 1]) ? -1 : 0))
          return false;
        sum += gw[g] * h * d1.Length();
      }
    }
  }
  *length = sum;
  return true;
}

int ON_NurbsCurve::GetNurbForm(ON_NurbsCurve& n, double, const ON_Interval* subdomain) const
{
  if (&n != this)
    n = *this;
  if (subdomain && !n.Trim(*subdomain))
    return 0;
  return 1;
}

int ON_NurbsCurve::HasNurbForm() const
{
  return 1;
}

unsigned int ON_NurbsCurve::SizeOf() const
{
  return (unsigned int)(sizeof(*this) + (size_t)(m_knot_capacity + m_cv_capacity) * sizeof(double));
}

int ON_NurbsCurve::SpanCount() const
{
  if (m_order < 2 || m_cv_count < m_order || !m_knot)
    return 0;
  int n = 0;
  for (int i = m_order - 2; i < m_cv_count - 1; i++)
    if (m_knot[i] < m_knot[i + 1])
      n++;
  return n;
}

bool ON_NurbsCurve::GetSpanVector(double* s) const
{
  if (!s || SpanCount() < 1)
    return false;
  int n = 0;
  s[n++] = m_knot[m_order - 2];
  for (int i = m_order - 2; i < m_cv_count - 1; i++)
    if (m_knot[i] < m_knot[i + 1])
      s[n++] = m_knot[i + 1];
  return true;
}

double* ON_NurbsCurve::CV(int i) const
{
  return (m_cv && i >= 0 && i < m_cv_count) ? m_cv + (size_t)i * m_cv_stride : nullptr;
}

double ON_NurbsCurve::Weight(int i) const
{
  const double* cv = CV(i);
  return (m_is_rat && cv) ? cv[m_dim] : 1.0;
}

bool ON_NurbsCurve::SetWeight(int i, double w)
{
  if (!CV(i))
    return false;
  // A positive weight, 1 included, makes a non-rational curve rational.
  if (!m_is_rat && w > 0.0 && w < ON_UNSET_POSITIVE_VALUE)
    MakeRational();
  if (!m_is_rat)
    return w == 1.0;
  CV(i)[m_dim] = w;
  return true;
}

bool ON_NurbsCurve::SetCV(int i, const ON_3dPoint& p)
{
  double* cv = CV(i);
  if (!cv)
    return false;
  ON_CVDetail::SetPoint(cv, m_dim, m_is_rat != 0, p);
  return true;
}

bool ON_NurbsCurve::SetCV(int i, const ON_4dPoint& p)
{
  double* cv = CV(i);
  return cv && ON_CVDetail::SetPoint(cv, m_dim, m_is_rat != 0, p);
}

bool ON_NurbsCurve::GetCV(int i, ON_3dPoint& p) const
{
  const double* cv = CV(i);
  return cv && ON_CVDetail::GetPoint(cv, m_dim, m_is_rat != 0, p);
}

bool ON_NurbsCurve::GetCV(int i, ON_4dPoint& p) const
{
  const double* cv = CV(i);
  if (!cv)
    return false;
  ON_CVDetail::GetPoint(cv, m_dim, m_is_rat != 0, p);
  return true;
}

bool ON_NurbsCurve::SetKnot(int knot_index, double knot_value)
{
  if (!m_knot || knot_index < 0 || knot_index >= KnotCount())
    return false;
  m_knot[knot_index] = knot_value;
  return true;
}

bool ON_NurbsCurve::MakeClampedUniformKnotVector(double delta)
{
  return MakeClampedUniform(m_order, m_cv_count, m_knot, delta);
}

bool ON_NurbsCurve::MakePeriodicUniformKnotVector(double delta)
{
  if (!(delta > 0.0) || m_order < 2 || m_cv_count < m_order || !m_knot)
    return false;
  const int kc = KnotCount();
  for (int i = 0; i < kc; i++)
    m_knot[i] = (i - (m_order - 2)) * delta;
  return true;
}

bool ON_NurbsCurve::IsClamped(int end) const
{
  if (m_order < 2 || m_cv_count < m_order || !m_knot)
    return false;
  const bool start = m_knot[0] == m_knot[m_order - 2];
  const int kc = KnotCount();
  const bool stop = m_knot[m_cv_count - 1] == m_knot[kc - 1];
  return (end == 0) ? start : ((end == 1) ? stop : (start && stop));
}

bool ON_NurbsCurve::MakeRational()
{
  if (m_is_rat)
    return true;
  if (m_dim < 1 || m_cv_count < 1 || !m_cv || m_cv_stride < m_dim)
    return false;
  // A stride with room to spare keeps it: the weight goes into the padding.
  const int stride = (m_cv_stride == m_dim) ? m_dim + 1 : m_cv_stride;
  std::vector<double> cv((size_t)stride * m_cv_count, 0.0);
  for (int i = 0; i < m_cv_count; i++)
  {
    const double* old_cv = m_cv + (size_t)i * m_cv_stride;
    for (int c = 0; c < m_dim; c++)
      cv[(size_t)i * stride + c] = old_cv[c];
    cv[(size_t)i * stride + m_dim] = 1.0;
  }
  ReserveCVCapacity(stride * m_cv_count);
  std::memcpy(m_cv, cv.data(), cv.size() * sizeof(double));
  m_is_rat = 1;
  m_cv_stride = stride;
  return true;
}

bool ON_NurbsCurve::MakeNonRational()
{
  if (!m_is_rat)
    return true;
  if (m_dim < 1 || m_cv_count < 1 || !m_cv || m_cv_stride < m_dim + 1)
    return false;
  // Each control point becomes its Euclidean point (a zero weight is taken
  // as 1), packed at a stride of the dimension.
  std::vector<double> cv((size_t)m_dim * m_cv_count);
  for (int i = 0; i < m_cv_count; i++)
  {
    const double* old_cv = m_cv + (size_t)i * m_cv_stride;
    const double w = old_cv[m_dim];
    const double f = (w != 0.0) ? 1.0 / w : 1.0;
    for (int c = 0; c < m_dim; c++)
      cv[(size_t)i * m_dim + c] = f * old_cv[c];
  }
  std::memcpy(m_cv, cv.data(), cv.size() * sizeof(double));
  m_is_rat = 0;
  m_cv_stride = m_dim;
  return true;
}
