// Single and double precision points and vectors.
//
// The default constructors leave the coordinates uninitialised, as plain
// structs do; the three-argument constructors are explicit, so brace lists
// do not convert. == and != compare the coordinates exactly: -0 equals +0
// and NaN equals nothing, not even itself.
#pragma once

#include "opennurbs_defines.h"

class ON_2fPoint;
class ON_2dPoint;
class ON_2dVector;
class ON_3fPoint;
class ON_4dPoint;
class ON_3fVector;
class ON_3dPoint;
class ON_3dVector;

class ON_CLASS ON_2fPoint
{
public:
  float x, y;

  ON_2fPoint() = default;
  constexpr explicit ON_2fPoint(float x, float y) : x(x), y(y) {}

  static const ON_2fPoint Origin;

  float& operator[](int i)
  {
    return (i <= 0) ? x : y;
  }
  float operator[](int i) const
  {
    return (i <= 0) ? x : y;
  }

  bool operator==(const ON_2fPoint& p) const
  {
    return x == p.x && y == p.y;
  }
  bool operator!=(const ON_2fPoint& p) const
  {
    return !(*this == p);
  }

  ON_2fPoint& operator+=(const ON_2fPoint& p)
  {
    x += p.x;
    y += p.y;
    return *this;
  }
  ON_2fPoint& operator-=(const ON_2fPoint& p)
  {
    x -= p.x;
    y -= p.y;
    return *this;
  }
  ON_2fPoint& operator*=(float s)
  {
    x *= s;
    y *= s;
    return *this;
  }
  ON_2fPoint& operator/=(float s)
  {
    x /= s;
    y /= s;
    return *this;
  }
  ON_2fPoint operator+(const ON_2fPoint& p) const
  {
    return ON_2fPoint(x + p.x, y + p.y);
  }
  ON_2fPoint operator-(const ON_2fPoint& p) const
  {
    return ON_2fPoint(x - p.x, y - p.y);
  }
  ON_2fPoint operator*(float s) const
  {
    return ON_2fPoint(x * s, y * s);
  }
  ON_2fPoint operator/(float s) const
  {
    return ON_2fPoint(x / s, y / s);
  }

  bool IsValid() const
  {
    return ON_IS_VALID_FLOAT(x) && ON_IS_VALID_FLOAT(y);
  }
  void Set(float a, float b)
  {
    x = a;
    y = b;
  }
  double DistanceTo(const ON_2fPoint& p) const;
};

class ON_CLASS ON_2dVector
{
public:
  double x, y;

  ON_2dVector() = default;
  constexpr explicit ON_2dVector(double x, double y) : x(x), y(y) {}

  static const ON_2dVector ZeroVector;

  double& operator[](int i)
  {
    return (i <= 0) ? x : y;
  }
  double operator[](int i) const
  {
    return (i <= 0) ? x : y;
  }

  bool operator==(const ON_2dVector& v) const
  {
    return x == v.x && y == v.y;
  }
  bool operator!=(const ON_2dVector& v) const
  {
    return !(*this == v);
  }

  ON_2dVector operator-() const
  {
    return ON_2dVector(-x, -y);
  }
  ON_2dVector operator+(const ON_2dVector& v) const
  {
    return ON_2dVector(x + v.x, y + v.y);
  }
  ON_2dVector operator-(const ON_2dVector& v) const
  {
    return ON_2dVector(x - v.x, y - v.y);
  }
  ON_2dVector operator*(double s) const
  {
    return ON_2dVector(x * s, y * s);
  }
  // Dot product.
  double operator*(const ON_2dVector& v) const
  {
    return x * v.x + y * v.y;
  }

  bool IsValid() const
  {
    return ON_IS_VALID(x) && ON_IS_VALID(y);
  }
  bool IsZero() const
  {
    return x == 0.0 && y == 0.0;
  }
  void Set(double a, double b)
  {
    x = a;
    y = b;
  }
  double Length() const;
};

class ON_CLASS ON_2dPoint
{
public:
  double x, y;

  ON_2dPoint() = default;
  constexpr explicit ON_2dPoint(double x, double y) : x(x), y(y) {}
  constexpr ON_2dPoint(const ON_2fPoint& p) : x(p.x), y(p.y) {}

  static const ON_2dPoint Origin;
  static const ON_2dPoint UnsetPoint;

  double& operator[](int i)
  {
    return (i <= 0) ? x : y;
  }
  double operator[](int i) const
  {
    return (i <= 0) ? x : y;
  }

  bool operator==(const ON_2dPoint& p) const
  {
    return x == p.x && y == p.y;
  }
  bool operator!=(const ON_2dPoint& p) const
  {
    return !(*this == p);
  }

  ON_2dPoint operator+(const ON_2dVector& v) const
  {
    return ON_2dPoint(x + v.x, y + v.y);
  }
  ON_2dPoint operator-(const ON_2dVector& v) const
  {
    return ON_2dPoint(x - v.x, y - v.y);
  }
  ON_2dVector operator-(const ON_2dPoint& p) const
  {
    return ON_2dVector(x - p.x, y - p.y);
  }
  ON_2dPoint operator*(double s) const
  {
    return ON_2dPoint(x * s, y * s);
  }

  bool IsValid() const
  {
    return ON_IS_VALID(x) && ON_IS_VALID(y);
  }
  void Set(double a, double b)
  {
    x = a;
    y = b;
  }
  double DistanceTo(const ON_2dPoint& p) const;
};

class ON_CLASS ON_3fVector
{
public:
  float x, y, z;

  ON_3fVector() = default;
  constexpr explicit ON_3fVector(float x, float y, float z) : x(x), y(y), z(z) {}
  explicit ON_3fVector(const ON_3fPoint& p);
  explicit ON_3fVector(const ON_3dVector& v);

  static const ON_3fVector ZeroVector;
  static const ON_3fVector XAxis;
  static const ON_3fVector YAxis;
  static const ON_3fVector ZAxis;

  float& operator[](int i)
  {
    return (i <= 0) ? x : ((i == 1) ? y : z);
  }
  float operator[](int i) const
  {
    return (i <= 0) ? x : ((i == 1) ? y : z);
  }

  bool operator==(const ON_3fVector& v) const
  {
    return x == v.x && y == v.y && z == v.z;
  }
  bool operator!=(const ON_3fVector& v) const
  {
    return !(*this == v);
  }

  ON_3fVector& operator+=(const ON_3fVector& v)
  {
    x += v.x;
    y += v.y;
    z += v.z;
    return *this;
  }
  ON_3fVector& operator-=(const ON_3fVector& v)
  {
    x -= v.x;
    y -= v.y;
    z -= v.z;
    return *this;
  }
  ON_3fVector& operator*=(float s)
  {
    x *= s;
    y *= s;
    z *= s;
    return *this;
  }
  ON_3fVector& operator/=(float s)
  {
    x /= s;
    y /= s;
    z /= s;
    return *this;
  }
  ON_3fVector operator-() const
  {
    return ON_3fVector(-x, -y, -z);
  }
  ON_3fVector operator+(const ON_3fVector& v) const
  {
    return ON_3fVector(x + v.x, y + v.y, z + v.z);
  }
  ON_3fVector operator-(const ON_3fVector& v) const
  {
    return ON_3fVector(x - v.x, y - v.y, z - v.z);
  }
  ON_3fVector operator*(float s) const
  {
    return ON_3fVector(x * s, y * s, z * s);
  }
  ON_3fVector operator/(float s) const
  {
    return ON_3fVector(x / s, y / s, z / s);
  }
  // Dot product.
  float operator*(const ON_3fVector& v) const
  {
    return x * v.x + y * v.y + z * v.z;
  }

  bool IsValid() const
  {
    return ON_IS_VALID_FLOAT(x) && ON_IS_VALID_FLOAT(y) && ON_IS_VALID_FLOAT(z);
  }
  bool IsZero() const
  {
    return x == 0.0f && y == 0.0f && z == 0.0f;
  }
  void Set(float a, float b, float c)
  {
    x = a;
    y = b;
    z = c;
  }
  double Length() const;
  double LengthSquared() const
  {
    return (double)x * x + (double)y * y + (double)z * z;
  }
  // Scales the vector to unit length. A zero or non-finite vector becomes
  // the zero vector and false is returned.
  bool Unitize();
};

class ON_CLASS ON_3fPoint
{
public:
  float x, y, z;

  ON_3fPoint() = default;
  constexpr explicit ON_3fPoint(float x, float y, float z) : x(x), y(y), z(z) {}
  // Rounds each coordinate to the nearest float.
  explicit ON_3fPoint(const ON_3dPoint& p);
  constexpr explicit ON_3fPoint(const ON_3fVector& v) : x(v.x), y(v.y), z(v.z) {}

  static const ON_3fPoint Origin;

  float& operator[](int i)
  {
    return (i <= 0) ? x : ((i == 1) ? y : z);
  }
  float operator[](int i) const
  {
    return (i <= 0) ? x : ((i == 1) ? y : z);
  }

  bool operator==(const ON_3fPoint& p) const
  {
    return x == p.x && y == p.y && z == p.z;
  }
  bool operator!=(const ON_3fPoint& p) const
  {
    return !(*this == p);
  }

  ON_3fPoint& operator+=(const ON_3fVector& v)
  {
    x += v.x;
    y += v.y;
    z += v.z;
    return *this;
  }
  ON_3fPoint& operator-=(const ON_3fVector& v)
  {
    x -= v.x;
    y -= v.y;
    z -= v.z;
    return *this;
  }
  ON_3fPoint& operator+=(const ON_3fPoint& p)
  {
    x += p.x;
    y += p.y;
    z += p.z;
    return *this;
  }
  ON_3fPoint& operator-=(const ON_3fPoint& p)
  {
    x -= p.x;
    y -= p.y;
    z -= p.z;
    return *this;
  }
  ON_3fPoint& operator*=(float s)
  {
    x *= s;
    y *= s;
    z *= s;
    return *this;
  }
  ON_3fPoint& operator/=(float s)
  {
    x /= s;
    y /= s;
    z /= s;
    return *this;
  }
  ON_3fPoint operator+(const ON_3fVector& v) const
  {
    return ON_3fPoint(x + v.x, y + v.y, z + v.z);
  }
  ON_3fPoint operator-(const ON_3fVector& v) const
  {
    return ON_3fPoint(x - v.x, y - v.y, z - v.z);
  }
  ON_3fPoint operator+(const ON_3fPoint& p) const
  {
    return ON_3fPoint(x + p.x, y + p.y, z + p.z);
  }
  ON_3fVector operator-(const ON_3fPoint& p) const
  {
    return ON_3fVector(x - p.x, y - p.y, z - p.z);
  }
  ON_3fPoint operator*(float s) const
  {
    return ON_3fPoint(x * s, y * s, z * s);
  }
  ON_3fPoint operator/(float s) const
  {
    return ON_3fPoint(x / s, y / s, z / s);
  }

  bool IsValid() const
  {
    return ON_IS_VALID_FLOAT(x) && ON_IS_VALID_FLOAT(y) && ON_IS_VALID_FLOAT(z);
  }
  void Set(float a, float b, float c)
  {
    x = a;
    y = b;
    z = c;
  }
  double DistanceTo(const ON_3fPoint& p) const;
};

class ON_CLASS ON_3dVector
{
public:
  double x, y, z;

  ON_3dVector() = default;
  constexpr explicit ON_3dVector(double x, double y, double z) : x(x), y(y), z(z) {}
  constexpr ON_3dVector(const ON_3fVector& v) : x(v.x), y(v.y), z(v.z) {}
  explicit ON_3dVector(const ON_3dPoint& p);

  static const ON_3dVector ZeroVector;
  static const ON_3dVector XAxis;
  static const ON_3dVector YAxis;
  static const ON_3dVector ZAxis;

  double& operator[](int i)
  {
    return (i <= 0) ? x : ((i == 1) ? y : z);
  }
  double operator[](int i) const
  {
    return (i <= 0) ? x : ((i == 1) ? y : z);
  }

  bool operator==(const ON_3dVector& v) const
  {
    return x == v.x && y == v.y && z == v.z;
  }
  bool operator!=(const ON_3dVector& v) const
  {
    return !(*this == v);
  }

  ON_3dVector& operator+=(const ON_3dVector& v)
  {
    x += v.x;
    y += v.y;
    z += v.z;
    return *this;
  }
  ON_3dVector& operator-=(const ON_3dVector& v)
  {
    x -= v.x;
    y -= v.y;
    z -= v.z;
    return *this;
  }
  ON_3dVector& operator*=(double s)
  {
    x *= s;
    y *= s;
    z *= s;
    return *this;
  }
  ON_3dVector& operator/=(double s)
  {
    x /= s;
    y /= s;
    z /= s;
    return *this;
  }
  ON_3dVector operator-() const
  {
    return ON_3dVector(-x, -y, -z);
  }
  ON_3dVector operator+(const ON_3dVector& v) const
  {
    return ON_3dVector(x + v.x, y + v.y, z + v.z);
  }
  ON_3dVector operator-(const ON_3dVector& v) const
  {
    return ON_3dVector(x - v.x, y - v.y, z - v.z);
  }
  ON_3dVector operator*(double s) const
  {
    return ON_3dVector(x * s, y * s, z * s);
  }
  ON_3dVector operator/(double s) const
  {
    return ON_3dVector(x / s, y / s, z / s);
  }
  // Dot product.
  double operator*(const ON_3dVector& v) const
  {
    return x * v.x + y * v.y + z * v.z;
  }

  bool IsValid() const
  {
    return ON_IS_VALID(x) && ON_IS_VALID(y) && ON_IS_VALID(z);
  }
  bool IsZero() const
  {
    return x == 0.0 && y == 0.0 && z == 0.0;
  }
  void Set(double a, double b, double c)
  {
    x = a;
    y = b;
    z = c;
  }
  // Length computed without overflow for large components.
  double Length() const;
  double LengthSquared() const
  {
    return x * x + y * y + z * z;
  }
  // Scales the vector to unit length. A zero or non-finite vector becomes
  // the zero vector and false is returned.
  bool Unitize();
  // This becomes a vector perpendicular to v, not unitized: of v's two
  // largest components i and j, this[i] = -v[j], this[j] = v[i], the third
  // 0. False when v is zero.
  bool PerpendicularTo(const ON_3dVector& v);
};

class ON_CLASS ON_3dPoint
{
public:
  double x, y, z;

  ON_3dPoint() = default;
  constexpr explicit ON_3dPoint(double x, double y, double z) : x(x), y(y), z(z) {}
  // Widening from single precision is exact.
  constexpr ON_3dPoint(const ON_3fPoint& p) : x(p.x), y(p.y), z(p.z) {}
  constexpr explicit ON_3dPoint(const ON_3dVector& v) : x(v.x), y(v.y), z(v.z) {}

  static const ON_3dPoint Origin;
  static const ON_3dPoint UnsetPoint;

  double& operator[](int i)
  {
    return (i <= 0) ? x : ((i == 1) ? y : z);
  }
  double operator[](int i) const
  {
    return (i <= 0) ? x : ((i == 1) ? y : z);
  }

  bool operator==(const ON_3dPoint& p) const
  {
    return x == p.x && y == p.y && z == p.z;
  }
  bool operator!=(const ON_3dPoint& p) const
  {
    return !(*this == p);
  }

  ON_3dPoint& operator+=(const ON_3dVector& v)
  {
    x += v.x;
    y += v.y;
    z += v.z;
    return *this;
  }
  ON_3dPoint& operator-=(const ON_3dVector& v)
  {
    x -= v.x;
    y -= v.y;
    z -= v.z;
    return *this;
  }
  ON_3dPoint& operator+=(const ON_3dPoint& p)
  {
    x += p.x;
    y += p.y;
    z += p.z;
    return *this;
  }
  ON_3dPoint& operator-=(const ON_3dPoint& p)
  {
    x -= p.x;
    y -= p.y;
    z -= p.z;
    return *this;
  }
  ON_3dPoint& operator*=(double s)
  {
    x *= s;
    y *= s;
    z *= s;
    return *this;
  }
  ON_3dPoint& operator/=(double s)
  {
    x /= s;
    y /= s;
    z /= s;
    return *this;
  }
  ON_3dPoint operator+(const ON_3dVector& v) const
  {
    return ON_3dPoint(x + v.x, y + v.y, z + v.z);
  }
  ON_3dPoint operator-(const ON_3dVector& v) const
  {
    return ON_3dPoint(x - v.x, y - v.y, z - v.z);
  }
  ON_3dPoint operator+(const ON_3dPoint& p) const
  {
    return ON_3dPoint(x + p.x, y + p.y, z + p.z);
  }
  ON_3dVector operator-(const ON_3dPoint& p) const
  {
    return ON_3dVector(x - p.x, y - p.y, z - p.z);
  }
  ON_3dPoint operator*(double s) const
  {
    return ON_3dPoint(x * s, y * s, z * s);
  }
  ON_3dPoint operator/(double s) const
  {
    return ON_3dPoint(x / s, y / s, z / s);
  }

  bool IsValid() const
  {
    return ON_IS_VALID(x) && ON_IS_VALID(y) && ON_IS_VALID(z);
  }
  void Set(double a, double b, double c)
  {
    x = a;
    y = b;
    z = c;
  }
  double DistanceTo(const ON_3dPoint& p) const;
};

// A homogeneous point: (w*x, w*y, w*z, w) for a rational control point.
class ON_CLASS ON_4dPoint
{
public:
  double x, y, z, w;

  ON_4dPoint() = default;
  constexpr explicit ON_4dPoint(double x, double y, double z, double w) : x(x), y(y), z(z), w(w) {}
  // The Euclidean point with weight 1.
  constexpr ON_4dPoint(const ON_3dPoint& p) : x(p.x), y(p.y), z(p.z), w(1.0) {}

  double& operator[](int i)
  {
    return (i <= 0) ? x : ((i == 1) ? y : ((i == 2) ? z : w));
  }
  double operator[](int i) const
  {
    return (i <= 0) ? x : ((i == 1) ? y : ((i == 2) ? z : w));
  }

  bool operator==(const ON_4dPoint& p) const
  {
    return x == p.x && y == p.y && z == p.z && w == p.w;
  }
  bool operator!=(const ON_4dPoint& p) const
  {
    return !(*this == p);
  }

  bool IsValid() const
  {
    return ON_IS_VALID(x) && ON_IS_VALID(y) && ON_IS_VALID(z) && ON_IS_VALID(w);
  }
  void Set(double a, double b, double c, double d)
  {
    x = a;
    y = b;
    z = c;
    w = d;
  }
};

// A closed interval [m_t[0], m_t[1]] of parameters. It may be decreasing.
class ON_CLASS ON_Interval
{
public:
  // Both ends unset (ON_UNSET_VALUE).
  ON_Interval();
  ON_Interval(double t0, double t1);

  static const ON_Interval EmptyInterval;

  double& operator[](int i)
  {
    return m_t[(i <= 0) ? 0 : 1];
  }
  double operator[](int i) const
  {
    return m_t[(i <= 0) ? 0 : 1];
  }

  bool operator==(const ON_Interval& other) const;
  bool operator!=(const ON_Interval& other) const;

  void Set(double t0, double t1);
  void Destroy();

  double Min() const;
  double Max() const;
  double Mid() const;
  // m_t[1] - m_t[0]; negative for a decreasing interval.
  double Length() const;

  bool IsValid() const;
  bool IsIncreasing() const;
  bool IsDecreasing() const;
  // Both ends valid and different.
  bool IsInterval() const;
  bool IsSingleton() const;
  bool IsEmptyInterval() const;

  // (1-x)*m_t[0] + x*m_t[1].
  double ParameterAt(double x) const;
  // The x with ParameterAt(x) == t (exactly 1 at m_t[1]); for an empty
  // interval its one value; ON_UNSET_VALUE for an unset or infinite t.
  double NormalizedParameterAt(double t) const;
  bool Includes(double t, bool bTestOpenInterval = false) const;

  // [a, b] becomes [-b, -a].
  void Reverse();
  // [a, b] becomes [b, a].
  void Swap();

  double m_t[2];
};

inline ON_3dPoint operator*(double s, const ON_3dPoint& p)
{
  return p * s;
}
inline ON_3dVector operator*(double s, const ON_3dVector& v)
{
  return v * s;
}
inline ON_3fPoint operator*(float s, const ON_3fPoint& p)
{
  return p * s;
}
inline ON_3fVector operator*(float s, const ON_3fVector& v)
{
  return v * s;
}

ON_DECL double ON_DotProduct(const ON_3dVector& a, const ON_3dVector& b);
ON_DECL ON_3dVector ON_CrossProduct(const ON_3dVector& a, const ON_3dVector& b);
ON_DECL float ON_DotProduct(const ON_3fVector& a, const ON_3fVector& b);
ON_DECL ON_3fVector ON_CrossProduct(const ON_3fVector& a, const ON_3fVector& b);
