#include "opennurbs_point.h"

#include <cmath>
#include <utility>

bool ON_IsValid(double x)
{
  return ON_IS_VALID(x);
}

bool ON_IsValidFloat(float x)
{
  return ON_IS_VALID_FLOAT(x);
}

const ON_2fPoint ON_2fPoint::Origin(0.0f, 0.0f);
const ON_3fPoint ON_3fPoint::Origin(0.0f, 0.0f, 0.0f);
const ON_3fVector ON_3fVector::ZeroVector(0.0f, 0.0f, 0.0f);
const ON_3fVector ON_3fVector::XAxis(1.0f, 0.0f, 0.0f);
const ON_3fVector ON_3fVector::YAxis(0.0f, 1.0f, 0.0f);
const ON_3fVector ON_3fVector::ZAxis(0.0f, 0.0f, 1.0f);
const ON_3dPoint ON_3dPoint::Origin(0.0, 0.0, 0.0);
const ON_3dPoint ON_3dPoint::UnsetPoint(ON_UNSET_VALUE, ON_UNSET_VALUE, ON_UNSET_VALUE);
const ON_3dVector ON_3dVector::ZeroVector(0.0, 0.0, 0.0);
const ON_3dVector ON_3dVector::XAxis(1.0, 0.0, 0.0);
const ON_3dVector ON_3dVector::YAxis(0.0, 1.0, 0.0);
const ON_3dVector ON_3dVector::ZAxis(0.0, 0.0, 1.0);

namespace
{
// Length of (a, b, c) without overflow: the largest magnitude m is taken
// out of the root, m * sqrt(1 + (p/m)^2 + (q/m)^2).
double SafeLength(double a, double b, double c)
{
  double m = std::fabs(a), p = std::fabs(b), q = std::fabs(c);
  if (p > m && p >= q)
    std::swap(m, p);
  else if (q > m && q > p)
    std::swap(m, q);
  if (!(m > 0.0))
    return 0.0;
  if (!std::isfinite(m))
    return m;
  p /= m;
  q /= m;
  return m * std::sqrt(1.0 + p * p + q * q);
}
}  // namespace

ON_3fVector::ON_3fVector(const ON_3fPoint& p) : x(p.x), y(p.y), z(p.z) {}

ON_3fVector::ON_3fVector(const ON_3dVector& v) : x((float)v.x), y((float)v.y), z((float)v.z) {}

double ON_3fVector::Length() const
{
  return SafeLength(x, y, z);
}

bool ON_3fVector::Unitize()
{
  const double d = Length();
  if (std::isfinite(x) && std::isfinite(y) && std::isfinite(z) && d > 0.0 && std::isfinite(d))
  {
    x = (float)(x / d);
    y = (float)(y / d);
    z = (float)(z / d);
    return true;
  }
  x = y = z = 0.0f;
  return false;
}

ON_3fPoint::ON_3fPoint(const ON_3dPoint& p) : x((float)p.x), y((float)p.y), z((float)p.z) {}

double ON_2fPoint::DistanceTo(const ON_2fPoint& p) const
{
  return SafeLength((double)p.x - x, (double)p.y - y, 0.0);
}

double ON_3fPoint::DistanceTo(const ON_3fPoint& p) const
{
  return SafeLength((double)p.x - x, (double)p.y - y, (double)p.z - z);
}

ON_3dVector::ON_3dVector(const ON_3dPoint& p) : x(p.x), y(p.y), z(p.z) {}

double ON_3dVector::Length() const
{
  return SafeLength(x, y, z);
}

bool ON_3dVector::Unitize()
{
  const double d = Length();
  if (std::isfinite(x) && std::isfinite(y) && std::isfinite(z) && d > 0.0 && std::isfinite(d))
  {
    x /= d;
    y /= d;
    z /= d;
    return true;
  }
  x = y = z = 0.0;
  return false;
}

double ON_3dPoint::DistanceTo(const ON_3dPoint& p) const
{
  return SafeLength(p.x - x, p.y - y, p.z - z);
}

double ON_DotProduct(const ON_3dVector& a, const ON_3dVector& b)
{
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

ON_3dVector ON_CrossProduct(const ON_3dVector& a, const ON_3dVector& b)
{
  return ON_3dVector(a.y * b.z - b.y * a.z, a.z * b.x - b.z * a.x, a.x * b.y - b.x * a.y);
}

float ON_DotProduct(const ON_3fVector& a, const ON_3fVector& b)
{
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

ON_3fVector ON_CrossProduct(const ON_3fVector& a, const ON_3fVector& b)
{
  return ON_3fVector(a.y * b.z - b.y * a.z, a.z * b.x - b.z * a.x, a.x * b.y - b.x * a.y);
}
