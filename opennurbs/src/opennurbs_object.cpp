// Run-time classes, the object and geometry bases, transforms.
#include "opennurbs_geometry.h"
#include "opennurbs_object.h"
#include "opennurbs_xform.h"

#include <cmath>
#include <cstring>

ON_ClassId::ON_ClassId(const char* sClassName, const char* sBaseClassName, const ON_ClassId* pBaseClassId,
                       const char* sUUID)
    : m_sClassName(sClassName), m_sBaseClassName(sBaseClassName), m_pBaseClassId(pBaseClassId),
      m_uuid(ON_UuidFromString(sUUID))
{
}

bool ON_ClassId::IsDerivedFrom(const ON_ClassId* pPotentialParent) const
{
  if (!pPotentialParent)
    return false;
  for (const ON_ClassId* p = this; p; p = p->m_pBaseClassId)
  {
    if (p == pPotentialParent)
      return true;
    if (p->m_pBaseClassId == p)
      break;
  }
  return false;
}

const ON_ClassId ON_Object::m_ON_Object_class_rtti("ON_Object", "", nullptr, "60B5DBBD-E660-11d3-BFE4-0010830122F0");

const ON_ClassId* ON_Object::ClassId() const
{
  return &m_ON_Object_class_rtti;
}

ON_Object::~ON_Object() = default;

bool ON_Object::IsKindOf(const ON_ClassId* pClassId) const
{
  const ON_ClassId* p = ClassId();
  return p && p->IsDerivedFrom(pClassId);
}

ON_Object* ON_Object::DuplicateObject() const
{
  return nullptr;
}

bool ON_Object::IsValid(ON_TextLog*) const
{
  return true;
}

ON::object_type ON_Object::ObjectType() const
{
  return ON::unknown_object_type;
}

unsigned int ON_Object::SizeOf() const
{
  return (unsigned int)sizeof(ON_Object);
}

void ON_Object::DestroyRuntimeCache(bool) {}

// ---------------------------------------------------------------------------

ON_VIRTUAL_OBJECT_IMPLEMENT(ON_Geometry, ON_Object, "4ED7D4DA-E947-11d3-BFE5-0010830122F0")

ON_Geometry::~ON_Geometry() = default;

int ON_Geometry::Dimension() const
{
  return 3;
}

ON_BoundingBox ON_Geometry::BoundingBox() const
{
  return ON_BoundingBox();
}

bool ON_Geometry::Transform(const ON_Xform&)
{
  return false;
}

bool ON_Geometry::Translate(const ON_3dVector& v)
{
  return Transform(ON_Xform::TranslationTransformation(v));
}

bool ON_Geometry::Scale(double s)
{
  return Transform(ON_Xform::DiagonalTransformation(s));
}

bool ON_Geometry::Rotate(double angle, const ON_3dVector& axis, const ON_3dPoint& center)
{
  return Transform(ON_Xform::RotationTransformation(angle, axis, center));
}

// ---------------------------------------------------------------------------
// ON_Xform

namespace
{
ON_Xform MakeIdentity()
{
  return ON_Xform();
}
ON_Xform MakeZero()
{
  ON_Xform x;
  x.Zero();
  return x;
}
}  // namespace

const ON_Xform ON_Xform::IdentityTransformation = MakeIdentity();
const ON_Xform ON_Xform::ZeroTransformation = MakeZero();

ON_Xform::ON_Xform()
{
  Identity();
}

ON_Xform::ON_Xform(double d)
{
  Diagonal(d);
}

ON_Xform::ON_Xform(int d)
{
  Diagonal((double)d);
}

ON_Xform::ON_Xform(const double m[4][4])
{
  std::memcpy(m_xform, m, sizeof(m_xform));
}

ON_Xform::ON_Xform(const float m[4][4])
{
  for (int i = 0; i < 4; i++)
    for (int j = 0; j < 4; j++)
      m_xform[i][j] = m[i][j];
}

bool ON_Xform::operator==(const ON_Xform& o) const
{
  for (int i = 0; i < 4; i++)
    for (int j = 0; j < 4; j++)
      if (m_xform[i][j] != o.m_xform[i][j])
        return false;
  return true;
}

bool ON_Xform::operator!=(const ON_Xform& o) const
{
  return !(*this == o);
}

ON_Xform ON_Xform::operator*(const ON_Xform& rhs) const
{
  ON_Xform r;
  for (int i = 0; i < 4; i++)
    for (int j = 0; j < 4; j++)
      r.m_xform[i][j] = m_xform[i][0] * rhs.m_xform[0][j] + m_xform[i][1] * rhs.m_xform[1][j] +
          m_xform[i][2] * rhs.m_xform[2][j] + m_xform[i][3] * rhs.m_xform[3][j];
  return r;
}

ON_Xform ON_Xform::operator+(const ON_Xform& rhs) const
{
  ON_Xform r;
  for (int i = 0; i < 4; i++)
    for (int j = 0; j < 4; j++)
      r.m_xform[i][j] = m_xform[i][j] + rhs.m_xform[i][j];
  return r;
}

ON_Xform ON_Xform::operator-(const ON_Xform& rhs) const
{
  ON_Xform r;
  for (int i = 0; i < 4; i++)
    for (int j = 0; j < 4; j++)
      r.m_xform[i][j] = m_xform[i][j] - rhs.m_xform[i][j];
  return r;
}

ON_3dPoint ON_Xform::operator*(const ON_3dPoint& p) const
{
  const double x = m_xform[0][0] * p.x + m_xform[0][1] * p.y + m_xform[0][2] * p.z + m_xform[0][3];
  const double y = m_xform[1][0] * p.x + m_xform[1][1] * p.y + m_xform[1][2] * p.z + m_xform[1][3];
  const double z = m_xform[2][0] * p.x + m_xform[2][1] * p.y + m_xform[2][2] * p.z + m_xform[2][3];
  const double w = m_xform[3][0] * p.x + m_xform[3][1] * p.y + m_xform[3][2] * p.z + m_xform[3][3];
  const double s = (w != 0.0) ? 1.0 / w : 1.0;
  return ON_3dPoint(x * s, y * s, z * s);
}

ON_4dPoint ON_Xform::operator*(const ON_4dPoint& p) const
{
  double r[4];
  for (int i = 0; i < 4; i++)
    r[i] = m_xform[i][0] * p.x + m_xform[i][1] * p.y + m_xform[i][2] * p.z + m_xform[i][3] * p.w;
  return ON_4dPoint(r[0], r[1], r[2], r[3]);
}

ON_3dVector ON_Xform::operator*(const ON_3dVector& v) const
{
  return ON_3dVector(m_xform[0][0] * v.x + m_xform[0][1] * v.y + m_xform[0][2] * v.z,
                     m_xform[1][0] * v.x + m_xform[1][1] * v.y + m_xform[1][2] * v.z,
                     m_xform[2][0] * v.x + m_xform[2][1] * v.y + m_xform[2][2] * v.z);
}

bool ON_Xform::IsValid() const
{
  for (int i = 0; i < 4; i++)
    for (int j = 0; j < 4; j++)
      if (!ON_IS_VALID(m_xform[i][j]))
        return false;
  return true;
}

bool ON_Xform::IsIdentity(double tol) const
{
  for (int i = 0; i < 4; i++)
    for (int j = 0; j < 4; j++)
      if (!(std::fabs(m_xform[i][j] - (i == j ? 1.0 : 0.0)) <= tol))
        return false;
  return true;
}

bool ON_Xform::IsZero() const
{
  // Every entry but the last zero; the last may be anything but NaN.
  for (int i = 0; i < 4; i++)
    for (int j = 0; j < 4; j++)
      if (!(i == 3 && j == 3) && !(m_xform[i][j] == 0.0))
        return false;
  return !std::isnan(m_xform[3][3]);
}

void ON_Xform::Identity()
{
  Diagonal(1.0);
}

void ON_Xform::Zero()
{
  std::memset(m_xform, 0, sizeof(m_xform));
  m_xform[3][3] = 1.0;
}

void ON_Xform::Diagonal(double d)
{
  Zero();
  m_xform[0][0] = m_xform[1][1] = m_xform[2][2] = d;
}

void ON_Xform::Scale(double x, double y, double z)
{
  Zero();
  m_xform[0][0] = x;
  m_xform[1][1] = y;
  m_xform[2][2] = z;
}

void ON_Xform::Scale(const ON_3dVector& v)
{
  Scale(v.x, v.y, v.z);
}

void ON_Xform::Translation(double x, double y, double z)
{
  Identity();
  m_xform[0][3] = x;
  m_xform[1][3] = y;
  m_xform[2][3] = z;
}

void ON_Xform::Translation(const ON_3dVector& d)
{
  Translation(d.x, d.y, d.z);
}

void ON_Xform::Rotation(double angle, ON_3dVector axis, ON_3dPoint center)
{
  Rotation(std::sin(angle), std::cos(angle), axis, center);
}

namespace
{
// The sine and cosine a rotation is built from: input within ON_SQRT_EPSILON
// of a quarter turn is snapped to it, a pair that is not a unit vector is
// scaled to one (both zero: no turn), and a result within ON_EPSILON of a
// quarter turn is snapped too.
void CleanSineCosine(double& s, double& c)
{
  const auto snap_sine = [&]()
  {
    c = 0.0;
    s = (s < 0.0) ? -1.0 : 1.0;
  };
  const auto snap_cosine = [&]()
  {
    c = (c < 0.0) ? -1.0 : 1.0;
    s = 0.0;
  };
  if (std::fabs(s) >= 1.0 - ON_SQRT_EPSILON && std::fabs(c) <= ON_SQRT_EPSILON)
    return snap_sine();
  if (std::fabs(c) >= 1.0 - ON_SQRT_EPSILON && std::fabs(s) <= ON_SQRT_EPSILON)
    return snap_cosine();
  if (std::fabs(c * c + s * s - 1.0) > ON_SQRT_EPSILON)
  {
    ON_3dVector cs(c, s, 0.0);
    if (!cs.Unitize())
    {
      c = 1.0;
      s = 0.0;
      return;
    }
    c = cs.x;
    s = cs.y;
  }
  if (std::fabs(c) > 1.0 - ON_EPSILON || std::fabs(s) < ON_EPSILON)
    return snap_cosine();
  if (std::fabs(s) > 1.0 - ON_EPSILON || std::fabs(c) < ON_EPSILON)
    return snap_sine();
}
}  // namespace

void ON_Xform::Rotation(double s, double c, ON_3dVector a, ON_3dPoint p)
{
  Identity();
  CleanSineCosine(s, c);
  if (s == 0.0 && c == 1.0)
    return;
  // An axis that is not unit length is unitized; a zero axis stays zero,
  // which leaves only the cosine on the diagonal.
  if (std::fabs(a * a - 1.0) > ON_EPSILON)
    a.Unitize();
  const double t = 1.0 - c;
  const double r[3][3] = {{a.x * a.x * t + c, a.x * a.y * t - a.z * s, a.x * a.z * t + a.y * s},
                          {a.y * a.x * t + a.z * s, a.y * a.y * t + c, a.y * a.z * t - a.x * s},
                          {a.z * a.x * t - a.y * s, a.z * a.y * t + a.x * s, a.z * a.z * t + c}};
  for (int i = 0; i < 3; i++)
    for (int j = 0; j < 3; j++)
      m_xform[i][j] = r[i][j];
  // The centre stays where it is: translation (I - R) p.
  if (p.x != 0.0 || p.y != 0.0 || p.z != 0.0)
  {
    for (int i = 0; i < 3; i++)
    {
      const double rp = (r[i][0] - (i == 0 ? 1.0 : 0.0)) * p.x + (r[i][1] - (i == 1 ? 1.0 : 0.0)) * p.y +
          (r[i][2] - (i == 2 ? 1.0 : 0.0)) * p.z;
      m_xform[i][3] = -rp;
    }
  }
}

namespace
{
// Gauss-Jordan elimination with full row pivoting. Returns false for a
// singular matrix; det receives the determinant.
bool InvertMatrix(const double in[4][4], double out[4][4], double* det, double* pivot)
{
  double a[4][8];
  for (int i = 0; i < 4; i++)
    for (int j = 0; j < 4; j++)
    {
      a[i][j] = in[i][j];
      a[i][j + 4] = (i == j) ? 1.0 : 0.0;
    }
  double d = 1.0, minpivot = HUGE_VAL;
  for (int c = 0; c < 4; c++)
  {
    int best = c;
    for (int r = c + 1; r < 4; r++)
      if (std::fabs(a[r][c]) > std::fabs(a[best][c]))
        best = r;
    const double pv = a[best][c];
    if (std::fabs(pv) < minpivot)
      minpivot = std::fabs(pv);
    if (pv == 0.0)
    {
      if (det)
        *det = 0.0;
      if (pivot)
        *pivot = 0.0;
      return false;
    }
    if (best != c)
    {
      for (int j = 0; j < 8; j++)
      {
        const double t = a[c][j];
        a[c][j] = a[best][j];
        a[best][j] = t;
      }
      d = -d;
    }
    d *= pv;
    for (int j = 0; j < 8; j++)
      a[c][j] /= pv;
    for (int r = 0; r < 4; r++)
    {
      if (r == c)
        continue;
      const double f = a[r][c];
      if (f != 0.0)
        for (int j = 0; j < 8; j++)
          a[r][j] -= f * a[c][j];
    }
  }
  if (out)
    for (int i = 0; i < 4; i++)
      for (int j = 0; j < 4; j++)
        out[i][j] = a[i][j + 4];
  if (det)
    *det = d;
  if (pivot)
    *pivot = minpivot;
  return true;
}
}  // namespace

double ON_Xform::Determinant(double* pivot) const
{
  double d = 0.0;
  InvertMatrix(m_xform, nullptr, &d, pivot);
  return d;
}

bool ON_Xform::Invert(double* pivot)
{
  double out[4][4];
  if (!InvertMatrix(m_xform, out, nullptr, pivot))
    return false;
  std::memcpy(m_xform, out, sizeof(m_xform));
  return true;
}

ON_Xform ON_Xform::Inverse(double* pivot) const
{
  ON_Xform r(*this);
  r.Invert(pivot);
  return r;
}

void ON_Xform::Transpose()
{
  for (int i = 0; i < 4; i++)
    for (int j = i + 1; j < 4; j++)
    {
      const double t = m_xform[i][j];
      m_xform[i][j] = m_xform[j][i];
      m_xform[j][i] = t;
    }
}

ON_Xform ON_Xform::DiagonalTransformation(double d)
{
  return ON_Xform(d);
}

ON_Xform ON_Xform::DiagonalTransformation(double d0, double d1, double d2)
{
  ON_Xform x;
  x.Scale(d0, d1, d2);
  return x;
}

ON_Xform ON_Xform::TranslationTransformation(const ON_3dVector& d)
{
  ON_Xform x;
  x.Translation(d);
  return x;
}

ON_Xform ON_Xform::TranslationTransformation(double dx, double dy, double dz)
{
  ON_Xform x;
  x.Translation(dx, dy, dz);
  return x;
}

ON_Xform ON_Xform::ScaleTransformation(const ON_3dPoint& f, double s)
{
  ON_Xform x(s);
  x.m_xform[0][3] = f.x * (1.0 - s);
  x.m_xform[1][3] = f.y * (1.0 - s);
  x.m_xform[2][3] = f.z * (1.0 - s);
  return x;
}

ON_Xform ON_Xform::RotationTransformation(double angle, ON_3dVector axis, ON_3dPoint center)
{
  ON_Xform x;
  x.Rotation(angle, axis, center);
  return x;
}
