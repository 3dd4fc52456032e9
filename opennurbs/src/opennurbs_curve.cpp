// The curve base class: evaluation through Evaluate, closure, splitting, NURBS form.
#include "opennurbs_curve.h"
#include "opennurbs_nurbscurve.h"

#include <vector>

ON_VIRTUAL_OBJECT_IMPLEMENT(ON_Curve, ON_Geometry, "4ED7D4D7-E947-11d3-BFE5-0010830122F0")

ON_Curve::~ON_Curve() = default;

ON::object_type ON_Curve::ObjectType() const
{
  return ON::curve_object;
}

ON_Curve* ON_Curve::DuplicateCurve() const
{
  return ON_Curve::Cast(DuplicateObject());
}

ON_Interval ON_Curve::Domain() const
{
  return ON_Interval();
}

bool ON_Curve::SetDomain(double, double)
{
  return false;
}

bool ON_Curve::SetDomain(ON_Interval domain)
{
  return SetDomain(domain[0], domain[1]);
}

bool ON_Curve::ChangeDimension(int desired_dimension)
{
  return desired_dimension == Dimension();
}

bool ON_Curve::Evaluate(double, int, int, double*, int, int*) const
{
  return false;
}

namespace
{
// Evaluates point and derivatives into 3-D vectors (missing coordinates 0).
bool EvalAll(const ON_Curve& c, double t, int der_count, ON_3dVector* out, int side)
{
  const int dim = c.Dimension();
  if (dim < 1)
    return false;
  std::vector<double> v((size_t)(der_count + 1) * dim, 0.0);
  if (!c.Evaluate(t, der_count, dim, v.data(), side, nullptr))
    return false;
  for (int k = 0; k <= der_count; k++)
  {
    out[k] = ON_3dVector::ZeroVector;
    for (int i = 0; i < dim && i < 3; i++)
      out[k][i] = v[(size_t)k * dim + i];
  }
  return true;
}
}  // namespace

ON_3dPoint ON_Curve::PointAt(double t) const
{
  ON_3dPoint p = ON_3dPoint::UnsetPoint;
  EvPoint(t, p);
  return p;
}

ON_3dPoint ON_Curve::PointAtStart() const
{
  return PointAt(Domain()[0]);
}

ON_3dPoint ON_Curve::PointAtEnd() const
{
  return PointAt(Domain()[1]);
}

ON_3dVector ON_Curve::DerivativeAt(double t) const
{
  ON_3dPoint p;
  ON_3dVector d = ON_3dVector::ZeroVector;
  Ev1Der(t, p, d);
  return d;
}

ON_3dVector ON_Curve::TangentAt(double t) const
{
  ON_3dVector d = DerivativeAt(t);
  d.Unitize();
  return d;
}

bool ON_Curve::EvPoint(double t, ON_3dPoint& point, int side, int*) const
{
  ON_3dVector v[1];
  if (!EvalAll(*this, t, 0, v, side))
    return false;
  point = ON_3dPoint(v[0]);
  return true;
}

bool ON_Curve::Ev1Der(double t, ON_3dPoint& point, ON_3dVector& d1, int side, int*) const
{
  ON_3dVector v[2];
  if (!EvalAll(*this, t, 1, v, side))
    return false;
  point = ON_3dPoint(v[0]);
  d1 = v[1];
  return true;
}

bool ON_Curve::Ev2Der(double t, ON_3dPoint& point, ON_3dVector& d1, ON_3dVector& d2, int side, int*) const
{
  ON_3dVector v[3];
  if (!EvalAll(*this, t, 2, v, side))
    return false;
  point = ON_3dPoint(v[0]);
  d1 = v[1];
  d2 = v[2];
  return true;
}

bool ON_Curve::IsClosed() const
{
  const ON_Interval d = Domain();
  if (!d.IsIncreasing())
    return false;
  const ON_3dPoint p0 = PointAt(d[0]);
  const ON_3dPoint p1 = PointAt(d[1]);
  if (!p0.IsValid() || !ON_PointsAreCoincident(3, false, &p0.x, &p1.x))
    return false;
  const ON_3dPoint a = PointAt(d.ParameterAt(1.0 / 3.0));
  const ON_3dPoint b = PointAt(d.ParameterAt(2.0 / 3.0));
  return !ON_PointsAreCoincident(3, false, &a.x, &p0.x) || !ON_PointsAreCoincident(3, false, &b.x, &p0.x);
}

bool ON_Curve::IsPeriodic() const
{
  return false;
}

bool ON_Curve::Reverse()
{
  return false;
}

bool ON_Curve::Trim(const ON_Interval&)
{
  return false;
}

bool ON_Curve::ChangeClosedCurveSeam(double)
{
  return false;
}

bool ON_Curve::Split(double t, ON_Curve*& left_side, ON_Curve*& right_side) const
{
  const ON_Interval d = Domain();
  if (!d.Includes(t, true))
    return false;
  ON_Curve* l = DuplicateCurve();
  ON_Curve* r = DuplicateCurve();
  if (!l || !r || !l->Trim(ON_Interval(d[0], t)) || !r->Trim(ON_Interval(t, d[1])))
  {
    delete l;
    delete r;
    return false;
  }
  left_side = l;
  right_side = r;
  return true;
}

bool ON_Curve::GetLength(double* length, double, const ON_Interval* sub_domain) const
{
  ON_NurbsCurve n;
  if (!GetNurbForm(n))
    return false;
  if (sub_domain)
  {
    // The NURBS form may be parameterised otherwise; only whole curves.
    const ON_Interval d = Domain();
    if (*sub_domain != d)
      return false;
  }
  return n.GetLength(length);
}

int ON_Curve::GetNurbForm(ON_NurbsCurve&, double, const ON_Interval*) const
{
  return 0;
}

int ON_Curve::HasNurbForm() const
{
  return 0;
}

ON_NurbsCurve* ON_Curve::NurbsCurve(ON_NurbsCurve* nurbs_curve, double tolerance, const ON_Interval* subdomain) const
{
  ON_NurbsCurve* n = nurbs_curve ? nurbs_curve : new ON_NurbsCurve();
  if (!GetNurbForm(*n, tolerance, subdomain))
  {
    if (!nurbs_curve)
      delete n;
    return nullptr;
  }
  return n;
}
