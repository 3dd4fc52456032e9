// The surface base and NURBS surfaces.
#include "opennurbs_knots.h"
#include "opennurbs_nurbssurface.h"
#include "opennurbs_surface.h"
#include "opennurbs_xform.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

using namespace ON_KnotDetail;

ON_VIRTUAL_OBJECT_IMPLEMENT(ON_Surface, ON_Geometry, "4ED7D4E1-E947-11d3-BFE5-0010830122F0")

ON_Surface::~ON_Surface() = default;

ON::object_type ON_Surface::ObjectType() const
{
  return ON::surface_object;
}

ON_Surface* ON_Surface::DuplicateSurface() const
{
  return ON_Surface::Cast(DuplicateObject());
}

ON_Interval ON_Surface::Domain(int) const
{
  return ON_Interval();
}

bool ON_Surface::SetDomain(int, double, double)
{
  return false;
}

bool ON_Surface::Evaluate(double, double, int, int, double*, int, int*) const
{
  return false;
}

ON_3dPoint ON_Surface::PointAt(double s, double t) const
{
  const int dim = Dimension();
  if (dim < 1)
    return ON_3dPoint::UnsetPoint;
  std::vector<double> v((size_t)dim, 0.0);
  if (!Evaluate(s, t, 0, dim, v.data()))
    return ON_3dPoint::UnsetPoint;
  return ON_3dPoint(v[0], dim > 1 ? v[1] : 0.0, dim > 2 ? v[2] : 0.0);
}

bool ON_Surface::IsClosed(int) const
{
  return false;
}

bool ON_Surface::IsPeriodic(int) const
{
  return false;
}

int ON_Surface::GetNurbForm(ON_NurbsSurface&, double) const
{
  return 0;
}

int ON_Surface::HasNurbForm() const
{
  return 0;
}

// ---------------------------------------------------------------------------

ON_OBJECT_IMPLEMENT(ON_NurbsSurface, ON_Surface, "4ED7D4DE-E947-11d3-BFE5-0010830122F0")

ON_NurbsSurface::ON_NurbsSurface()
{
  Initialize();
}

ON_NurbsSurface::ON_NurbsSurface(int dimension, bool bIsRational, int order0, int order1, int cv_count0, int cv_count1)
{
  Initialize();
  Create(dimension, bIsRational, order0, order1, cv_count0, cv_count1);
}

ON_NurbsSurface::ON_NurbsSurface(const ON_NurbsSurface& src) : ON_Surface(src)
{
  Initialize();
  *this = src;
}

ON_NurbsSurface& ON_NurbsSurface::operator=(const ON_NurbsSurface& src)
{
  if (this == &src)
    return *this;
  ON_Surface::operator=(src);
  Destroy();
  if (src.m_cv && src.m_knot[0] && src.m_knot[1] &&
      Create(src.m_dim, src.m_is_rat != 0, src.m_order[0], src.m_order[1], src.m_cv_count[0], src.m_cv_count[1]))
  {
    for (int d = 0; d < 2; d++)
      std::memcpy(m_knot[d], src.m_knot[d], (size_t)KnotCount(d) * sizeof(double));
    for (int i = 0; i < m_cv_count[0]; i++)
      for (int j = 0; j < m_cv_count[1]; j++)
        std::memcpy(CV(i, j), src.CV(i, j), (size_t)CVSize() * sizeof(double));
  }
  return *this;
}

ON_NurbsSurface::~ON_NurbsSurface()
{
  Destroy();
}

void ON_NurbsSurface::Initialize()
{
  m_dim = 0;
  m_is_rat = 0;
  m_order[0] = m_order[1] = 0;
  m_cv_count[0] = m_cv_count[1] = 0;
  m_knot_capacity[0] = m_knot_capacity[1] = 0;
  m_knot[0] = m_knot[1] = nullptr;
  m_cv_stride[0] = m_cv_stride[1] = 0;
  m_cv_capacity = 0;
  m_cv = nullptr;
}

void ON_NurbsSurface::Destroy()
{
  std::free(m_knot[0]);
  std::free(m_knot[1]);
  std::free(m_cv);
  Initialize();
}

bool ON_NurbsSurface::Create(int dimension, bool bIsRational, int order0, int order1, int cv_count0, int cv_count1)
{
  if (dimension < 1 || order0 < 2 || order1 < 2 || cv_count0 < order0 || cv_count1 < order1)
    return false;
  const int size = dimension + (bIsRational ? 1 : 0);
  const int kc0 = order0 + cv_count0 - 2, kc1 = order1 + cv_count1 - 2;
  const int cvc = size * cv_count0 * cv_count1;
  double* k0 = (double*)std::calloc((size_t)kc0, sizeof(double));
  double* k1 = (double*)std::calloc((size_t)kc1, sizeof(double));
  double* cv = (double*)std::calloc((size_t)cvc, sizeof(double));
  if (!k0 || !k1 || !cv)
  {
    std::free(k0);
    std::free(k1);
    std::free(cv);
    throw std::bad_alloc();
  }
  Destroy();
  m_dim = dimension;
  m_is_rat = bIsRational ? 1 : 0;
  m_order[0] = order0;
  m_order[1] = order1;
  m_cv_count[0] = cv_count0;
  m_cv_count[1] = cv_count1;
  m_knot[0] = k0;
  m_knot[1] = k1;
  m_knot_capacity[0] = kc0;
  m_knot_capacity[1] = kc1;
  m_cv = cv;
  m_cv_capacity = cvc;
  m_cv_stride[1] = size;
  m_cv_stride[0] = size * cv_count1;
  return true;
}

bool ON_NurbsSurface::IsValid(ON_TextLog*) const
{
  if (m_dim < 1 || !m_cv || !m_knot[0] || !m_knot[1])
    return false;
  for (int d = 0; d < 2; d++)
  {
    const int o = m_order[d], n = m_cv_count[d], kc = KnotCount(d);
    const double* k = m_knot[d];
    if (o < 2 || n < o)
      return false;
    for (int i = 1; i < kc; i++)
      if (!(k[i] >= k[i - 1]))
        return false;
    for (int i = 0; i + o - 1 < kc; i++)
      if (!(k[i] < k[i + o - 1]))
        return false;
    if (!(k[o - 2] < k[o - 1]) || !(k[n - 2] < k[n - 1]))
      return false;
  }
  for (int i = 0; i < m_cv_count[0]; i++)
    for (int j = 0; j < m_cv_count[1]; j++)
    {
      const double* cv = CV(i, j);
      for (int c = 0; c < CVSize(); c++)
        if (!ON_IS_VALID(cv[c]))
          return false;
    }
  return true;
}

int ON_NurbsSurface::Dimension() const
{
  return m_dim;
}

ON_BoundingBox ON_NurbsSurface::BoundingBox() const
{
  ON_BoundingBox b;
  bool first = true;
  for (int i = 0; i < m_cv_count[0]; i++)
    for (int j = 0; j < m_cv_count[1]; j++)
    {
      ON_3dPoint p;
      if (GetCV(i, j, p))
      {
        b.Set(p, !first);
        first = false;
      }
    }
  return b;
}

bool ON_NurbsSurface::Transform(const ON_Xform& xform)
{
  if (!m_cv)
    return false;
  for (int i = 0; i < m_cv_count[0]; i++)
    for (int j = 0; j < m_cv_count[1]; j++)
    {
      ON_4dPoint p;
      GetCV(i, j, p);
      p = xform * p;
      SetCV(i, j, p);
    }
  return true;
}

ON_Interval ON_NurbsSurface::Domain(int dir) const
{
  const int d = dir ? 1 : 0;
  return ON_KnotDetail::Domain(m_order[d], m_cv_count[d], m_knot[d]);
}

bool ON_NurbsSurface::SetDomain(int dir, double t0, double t1)
{
  const int d = dir ? 1 : 0;
  const ON_Interval old = Domain(d);
  if (!(t0 < t1) || !old.IsIncreasing())
    return false;
  const ON_Interval nd(t0, t1);
  const double k0 = old[0], k1 = old[1];
  for (int i = 0; i < KnotCount(d); i++)
  {
    double& k = m_knot[d][i];
    k = (k == k0) ? t0 : ((k == k1) ? t1 : nd.ParameterAt(old.NormalizedParameterAt(k)));
  }
  return true;
}

bool ON_NurbsSurface::Evaluate(double s, double t, int der_count, int v_stride, double* v, int, int*) const
{
  if (!v || !m_cv || !m_knot[0] || !m_knot[1] || der_count < 0 || der_count > 1)
    return false;
  const int span0 = FindSpan(m_order[0], m_cv_count[0], m_knot[0], s, 0);
  const int span1 = FindSpan(m_order[1], m_cv_count[1], m_knot[1], t, 0);
  if (!(m_knot[0][span0] < m_knot[0][span0 + 1]) || !(m_knot[1][span1] < m_knot[1][span1 + 1]))
    return false;
  std::vector<double> b0, b1;
  BasisDerivatives(m_order[0], m_knot[0], span0, s, der_count, b0);
  BasisDerivatives(m_order[1], m_knot[1], span1, t, der_count, b1);
  const int first0 = span0 - m_order[0] + 2, first1 = span1 - m_order[1] + 2;
  const int size = CVSize();
  // h[0] value, h[1] d/ds, h[2] d/dt, homogeneous.
  std::vector<double> h(3 * (size_t)size, 0.0);
  for (int i = 0; i < m_order[0]; i++)
    for (int j = 0; j < m_order[1]; j++)
    {
      const double* cv = CV(first0 + i, first1 + j);
      const double n = b0[i] * b1[j];
      const double ns = der_count ? b0[(size_t)m_order[0] + i] * b1[j] : 0.0;
      const double nt = der_count ? b0[i] * b1[(size_t)m_order[1] + j] : 0.0;
      for (int c = 0; c < size; c++)
      {
        h[c] += n * cv[c];
        h[(size_t)size + c] += ns * cv[c];
        h[2 * (size_t)size + c] += nt * cv[c];
      }
    }
  const double w = m_is_rat ? h[m_dim] : 1.0;
  if (w == 0.0)
    return false;
  for (int c = 0; c < m_dim; c++)
  {
    const double p = h[c] / w;
    v[c] = p;
    if (der_count)
    {
      const double ws = m_is_rat ? h[(size_t)size + m_dim] : 0.0;
      const double wt = m_is_rat ? h[2 * (size_t)size + m_dim] : 0.0;
      v[v_stride + c] = (h[(size_t)size + c] - ws * p) / w;
      v[2 * v_stride + c] = (h[2 * (size_t)size + c] - wt * p) / w;
    }
  }
  return true;
}

bool ON_NurbsSurface::IsClosed(int dir) const
{
  const int d = dir ? 1 : 0;
  const ON_Interval dom0 = Domain(0), dom1 = Domain(1);
  if (!dom0.IsIncreasing() || !dom1.IsIncreasing())
    return false;
  const ON_Interval& other = d ? dom0 : dom1;
  const ON_Interval& mine = d ? dom1 : dom0;
  for (int k = 0; k <= 4; k++)
  {
    const double u = other.ParameterAt(k / 4.0);
    const ON_3dPoint a = d ? PointAt(u, mine[0]) : PointAt(mine[0], u);
    const ON_3dPoint b = d ? PointAt(u, mine[1]) : PointAt(mine[1], u);
    if (!ON_PointsAreCoincident(3, false, &a.x, &b.x))
      return false;
  }
  return true;
}

int ON_NurbsSurface::GetNurbForm(ON_NurbsSurface& n, double) const
{
  if (&n != this)
    n = *this;
  return 1;
}

int ON_NurbsSurface::HasNurbForm() const
{
  return 1;
}

unsigned int ON_NurbsSurface::SizeOf() const
{
  return (unsigned int)(sizeof(*this) +
                        (size_t)(m_knot_capacity[0] + m_knot_capacity[1] + m_cv_capacity) * sizeof(double));
}

double* ON_NurbsSurface::CV(int i, int j) const
{
  if (!m_cv || i < 0 || j < 0 || i >= m_cv_count[0] || j >= m_cv_count[1])
    return nullptr;
  return m_cv + (size_t)i * m_cv_stride[0] + (size_t)j * m_cv_stride[1];
}

double ON_NurbsSurface::Weight(int i, int j) const
{
  const double* cv = CV(i, j);
  return (cv && m_is_rat) ? cv[m_dim] : 1.0;
}

bool ON_NurbsSurface::MakeRational()
{
  if (m_is_rat)
    return true;
  const int count = CVCount();
  if (m_dim < 1 || count < 1 || !m_cv)
    return false;
  const int size = m_dim + 1;
  double* cv = (double*)std::calloc((size_t)size * count, sizeof(double));
  if (!cv)
    throw std::bad_alloc();
  for (int i = 0; i < m_cv_count[0]; i++)
    for (int j = 0; j < m_cv_count[1]; j++)
    {
      const double* old_cv = CV(i, j);
      double* new_cv = cv + ((size_t)i * m_cv_count[1] + j) * size;
      for (int c = 0; c < m_dim; c++)
        new_cv[c] = old_cv[c];
      new_cv[m_dim] = 1.0;
    }
  std::free(m_cv);
  m_cv = cv;
  m_cv_capacity = size * count;
  m_cv_stride[1] = size;
  m_cv_stride[0] = size * m_cv_count[1];
  m_is_rat = 1;
  return true;
}

bool ON_NurbsSurface::SetWeight(int i, int j, double weight)
{
  if (!CV(i, j))
    return false;
  // A positive weight, 1 included, makes a non-rational surface rational.
  if (!m_is_rat && weight > 0.0 && weight < ON_UNSET_POSITIVE_VALUE)
    MakeRational();
  if (!m_is_rat)
    return weight == 1.0;
  CV(i, j)[m_dim] = weight;
  return true;
}

bool ON_NurbsSurface::SetCV(int i, int j, const ON_3dPoint& p)
{
  double* cv = CV(i, j);
  if (!cv)
    return false;
  ON_CVDetail::SetPoint(cv, m_dim, m_is_rat != 0, p);
  return true;
}

bool ON_NurbsSurface::SetCV(int i, int j, const ON_4dPoint& p)
{
  double* cv = CV(i, j);
  return cv && ON_CVDetail::SetPoint(cv, m_dim, m_is_rat != 0, p);
}

bool ON_NurbsSurface::GetCV(int i, int j, ON_3dPoint& p) const
{
  const double* cv = CV(i, j);
  return cv && ON_CVDetail::GetPoint(cv, m_dim, m_is_rat != 0, p);
}

bool ON_NurbsSurface::GetCV(int i, int j, ON_4dPoint& p) const
{
  const double* cv = CV(i, j);
  if (!cv)
    return false;
  ON_CVDetail::GetPoint(cv, m_dim, m_is_rat != 0, p);
  return true;
}

bool ON_NurbsSurface::SetKnot(int dir, int knot_index, double knot_value)
{
  const int d = dir ? 1 : 0;
  if (!m_knot[d] || knot_index < 0 || knot_index >= KnotCount(d))
    return false;
  m_knot[d][knot_index] = knot_value;
  return true;
}

bool ON_NurbsSurface::MakeClampedUniformKnotVector(int dir, double delta)
{
  const int d = dir ? 1 : 0;
  return MakeClampedUniform(m_order[d], m_cv_count[d], m_knot[d], delta);
}
