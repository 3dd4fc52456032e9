// Small value types: 2-D points, intervals, colours, boxes, strings, the
// ON enumerations helpers and point coincidence.
#include "opennurbs_bounding_box.h"
#include "opennurbs_color.h"
#include "opennurbs_defines.h"
#include "opennurbs_point.h"
#include "opennurbs_string.h"

#include <cmath>
#include <cwchar>

ON::object_color_source ON::ObjectColorSource(int i)
{
  switch (i)
  {
  case color_from_object: return color_from_object;
  case color_from_material: return color_from_material;
  case color_from_parent: return color_from_parent;
  default: return color_from_layer;
  }
}

bool ON_PointsAreCoincident(int dim, bool bRational, const double* pointA, const double* pointB)
{
  if (dim < 1 || !pointA || !pointB)
    return false;
  double wa = 1.0, wb = 1.0;
  if (bRational)
  {
    wa = pointA[dim];
    wb = pointB[dim];
    // Two points at infinity (both weights 0) compare their directions as
    // given; one at infinity meets no finite point.
    if (wa == 0.0 && wb == 0.0)
      return ON_PointsAreCoincident(dim, false, pointA, pointB);
    if (wa == 0.0 || wb == 0.0)
      return false;
  }
  for (int i = 0; i < dim; i++)
  {
    const double a = pointA[i] / wa;
    const double b = pointB[i] / wb;
    const double d = std::fabs(a - b);
    if (d <= ON_ZERO_TOLERANCE)
      continue;
    if (d <= (std::fabs(a) + std::fabs(b)) * ON_RELATIVE_TOLERANCE)
      continue;
    return false;
  }
  return true;
}

const ON_2dPoint ON_2dPoint::Origin(0.0, 0.0);
const ON_2dPoint ON_2dPoint::UnsetPoint(ON_UNSET_VALUE, ON_UNSET_VALUE);
const ON_2dVector ON_2dVector::ZeroVector(0.0, 0.0);

double ON_2dVector::Length() const
{
  return std::hypot(x, y);
}

double ON_2dPoint::DistanceTo(const ON_2dPoint& p) const
{
  return std::hypot(p.x - x, p.y - y);
}

// ---------------------------------------------------------------------------
// ON_Interval

const ON_Interval ON_Interval::EmptyInterval;

ON_Interval::ON_Interval()
{
  m_t[0] = m_t[1] = ON_UNSET_VALUE;
}

ON_Interval::ON_Interval(double t0, double t1)
{
  m_t[0] = t0;
  m_t[1] = t1;
}

bool ON_Interval::operator==(const ON_Interval& other) const
{
  return m_t[0] == other.m_t[0] && m_t[1] == other.m_t[1];
}

bool ON_Interval::operator!=(const ON_Interval& other) const
{
  return !(*this == other);
}

void ON_Interval::Set(double t0, double t1)
{
  m_t[0] = t0;
  m_t[1] = t1;
}

void ON_Interval::Destroy()
{
  m_t[0] = m_t[1] = ON_UNSET_VALUE;
}

double ON_Interval::Min() const
{
  return m_t[0] <= m_t[1] ? m_t[0] : m_t[1];
}

double ON_Interval::Max() const
{
  return m_t[0] <= m_t[1] ? m_t[1] : m_t[0];
}

double ON_Interval::Mid() const
{
  return 0.5 * (m_t[0] + m_t[1]);
}

double ON_Interval::Length() const
{
  return (ON_IS_VALID(m_t[0]) && ON_IS_VALID(m_t[1])) ? m_t[1] - m_t[0] : 0.0;
}

bool ON_Interval::IsValid() const
{
  return ON_IS_VALID(m_t[0]) && ON_IS_VALID(m_t[1]);
}

bool ON_Interval::IsIncreasing() const
{
  return IsValid() && m_t[0] < m_t[1];
}

bool ON_Interval::IsDecreasing() const
{
  return IsValid() && m_t[0] > m_t[1];
}

bool ON_Interval::IsInterval() const
{
  return IsValid() && m_t[0] != m_t[1];
}

bool ON_Interval::IsSingleton() const
{
  return IsValid() && m_t[0] == m_t[1];
}

bool ON_Interval::IsEmptyInterval() const
{
  return m_t[0] == ON_UNSET_VALUE && m_t[1] == ON_UNSET_VALUE;
}

double ON_Interval::ParameterAt(double x) const
{
  return IsValid() ? (1.0 - x) * m_t[0] + x * m_t[1] : ON_UNSET_VALUE;
}

double ON_Interval::NormalizedParameterAt(double t) const
{
  if (!ON_IS_VALID(t))
    return ON_UNSET_VALUE;
  // An empty interval gives its one value; the end gives exactly 1.
  if (m_t[0] == m_t[1])
    return m_t[0];
  return (t == m_t[1]) ? 1.0 : (t - m_t[0]) / (m_t[1] - m_t[0]);
}

bool ON_Interval::Includes(double t, bool bTestOpenInterval) const
{
  if (!IsValid() || !ON_IS_VALID(t))
    return false;
  const double a = Min(), b = Max();
  return bTestOpenInterval ? (a < t && t < b) : (a <= t && t <= b);
}

void ON_Interval::Reverse()
{
  if (!IsEmptyInterval())
  {
    const double a = m_t[0];
    m_t[0] = -m_t[1];
    m_t[1] = -a;
  }
}

void ON_Interval::Swap()
{
  const double a = m_t[0];
  m_t[0] = m_t[1];
  m_t[1] = a;
}

// ---------------------------------------------------------------------------
// ON_Color

namespace
{
unsigned int Clamp255(int c)
{
  return (unsigned int)(c < 0 ? 0 : (c > 255 ? 255 : c));
}
}  // namespace

const ON_Color ON_Color::UnsetColor(0xFFFFFFFFu);
const ON_Color ON_Color::Black(0u);
const ON_Color ON_Color::White(0x00FFFFFFu);

ON_Color::ON_Color(int red, int green, int blue)
{
  SetRGB(red, green, blue);
}

ON_Color::ON_Color(int red, int green, int blue, int alpha)
{
  SetRGBA(red, green, blue, alpha);
}

void ON_Color::SetRGB(int red, int green, int blue)
{
  SetRGBA(red, green, blue, 0);
}

void ON_Color::SetRGBA(int red, int green, int blue, int alpha)
{
  m_color = Clamp255(red) | (Clamp255(green) << 8) | (Clamp255(blue) << 16) | (Clamp255(alpha) << 24);
}

void ON_Color::SetAlpha(int alpha)
{
  m_color = (m_color & 0x00FFFFFFu) | (Clamp255(alpha) << 24);
}

// ---------------------------------------------------------------------------
// ON_BoundingBox

const ON_BoundingBox ON_BoundingBox::EmptyBoundingBox;

ON_BoundingBox::ON_BoundingBox() : m_min(1.0, 0.0, 0.0), m_max(-1.0, 0.0, 0.0) {}

ON_BoundingBox::ON_BoundingBox(const ON_3dPoint& min_pt, const ON_3dPoint& max_pt) : m_min(min_pt), m_max(max_pt) {}

bool ON_BoundingBox::IsValid() const
{
  return m_min.IsValid() && m_max.IsValid() && m_min.x <= m_max.x && m_min.y <= m_max.y && m_min.z <= m_max.z;
}

void ON_BoundingBox::Destroy()
{
  *this = EmptyBoundingBox;
}

ON_3dPoint ON_BoundingBox::Center() const
{
  return ON_3dPoint(0.5 * (m_min.x + m_max.x), 0.5 * (m_min.y + m_max.y), 0.5 * (m_min.z + m_max.z));
}

ON_3dVector ON_BoundingBox::Diagonal() const
{
  return m_max - m_min;
}

bool ON_BoundingBox::Set(const ON_3dPoint& point, int bGrowBox)
{
  if (!point.IsValid())
    return false;
  if (bGrowBox && IsValid())
  {
    for (int i = 0; i < 3; i++)
    {
      if (point[i] < m_min[i])
        m_min[i] = point[i];
      if (point[i] > m_max[i])
        m_max[i] = point[i];
    }
  }
  else
  {
    m_min = m_max = point;
  }
  return true;
}

bool ON_BoundingBox::Union(const ON_BoundingBox& other)
{
  if (!other.IsValid())
    return IsValid();
  if (!IsValid())
  {
    *this = other;
    return true;
  }
  Set(other.m_min, true);
  Set(other.m_max, true);
  return true;
}

bool ON_BoundingBox::IsPointIn(const ON_3dPoint& p, int bStrictlyIn) const
{
  if (!IsValid() || !p.IsValid())
    return false;
  for (int i = 0; i < 3; i++)
  {
    if (bStrictlyIn ? !(m_min[i] < p[i] && p[i] < m_max[i]) : !(m_min[i] <= p[i] && p[i] <= m_max[i]))
      return false;
  }
  return true;
}

// ---------------------------------------------------------------------------
// ON_wString

const ON_wString ON_wString::EmptyString;

ON_wString::ON_wString(const wchar_t* s)
{
  if (s)
    m_s = s;
}

ON_wString::ON_wString(const wchar_t* s, int length)
{
  if (s && length > 0)
    m_s.assign(s, (size_t)length);
}

ON_wString::~ON_wString() = default;

ON_wString& ON_wString::operator=(const wchar_t* s)
{
  if (s)
    m_s = s;
  else
    m_s.clear();
  return *this;
}

ON_wString& ON_wString::operator+=(const wchar_t* s)
{
  if (s)
    m_s += s;
  return *this;
}

bool ON_wString::operator==(const wchar_t* s) const
{
  return m_s == (s ? s : L"");
}

int ON_wString::Compare(const wchar_t* s) const
{
  return m_s.compare(s ? s : L"");
}

int ON_wString::CompareNoCase(const wchar_t* s) const
{
  if (!s)
    s = L"";
  const wchar_t* a = m_s.c_str();
  for (;; a++, s++)
  {
    wchar_t ca = *a, cb = *s;
    if (ca >= L'A' && ca <= L'Z')
      ca = (wchar_t)(ca - L'A' + L'a');
    if (cb >= L'A' && cb <= L'Z')
      cb = (wchar_t)(cb - L'A' + L'a');
    if (ca != cb)
      return ca < cb ? -1 : 1;
    if (ca == 0)
      return 0;
  }
}

bool ON_3dVector::PerpendicularTo(const ON_3dVector& v)
{
  int i, j, k;
  const double ax = std::fabs(v.x), ay = std::fabs(v.y), az = std::fabs(v.z);
  if (ay > ax)
  {
    if (az > ay)
    {
      i = 2;
      j = 1;
      k = 0;
    }
    else if (az >= ax)
    {
      i = 1;
      j = 2;
      k = 0;
    }
    else
    {
      i = 1;
      j = 0;
      k = 2;
    }
  }
  else if (az > ax)
  {
    i = 2;
    j = 0;
    k = 1;
  }
  else if (az > ay)
  {
    i = 0;
    j = 2;
    k = 1;
  }
  else
  {
    i = 0;
    j = 1;
    k = 2;
  }
  (*this)[i] = -v[j];
  (*this)[j] = v[i];
  (*this)[k] = 0.0;
  return v[i] != 0.0;
}
