#include "opennurbs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
void ExpectNear(const ON_3dPoint& a, const ON_3dPoint& b, double tol = 1e-12)
{
  EXPECT_NEAR(a.DistanceTo(b), 0.0, tol) << "(" << a.x << "," << a.y << "," << a.z << ") vs (" << b.x << "," << b.y
                                         << "," << b.z << ")";
}

std::vector<double> Knots(const ON_NurbsCurve& c)
{
  return std::vector<double>(c.m_knot, c.m_knot + c.KnotCount());
}

TEST(NurbsCurve, EmptyCurveAndCreate)
{
  ON_NurbsCurve e;
  EXPECT_EQ(e.KnotCount(), -2);
  EXPECT_EQ(e.Order(), 0);
  EXPECT_EQ(e.Degree(), 0);
  EXPECT_FALSE(e.SetKnot(0, 1.0));
  EXPECT_FALSE(e.IsValid());
  EXPECT_FALSE(e.Domain().IsValid());

  struct Refused
  {
    int dim, order, cvs;
  };
  for (const Refused& r : {Refused{0, 2, 2}, Refused{3, 1, 2}, Refused{3, 4, 3}})
  {
    ON_NurbsCurve c;
    EXPECT_FALSE(c.Create(r.dim, false, r.order, r.cvs));
    EXPECT_EQ(c.KnotCount(), -2);
  }

  ON_NurbsCurve c;
  ASSERT_TRUE(c.Create(3, false, 4, 5));
  EXPECT_EQ(c.Order(), 4);
  EXPECT_EQ(c.Degree(), 3);
  EXPECT_EQ(c.CVCount(), 5);
  EXPECT_EQ(c.KnotCount(), 7);
  EXPECT_EQ(c.CVSize(), 3);
  EXPECT_FALSE(c.IsRational());
  // A refused Create leaves what was there.
  EXPECT_FALSE(c.Create(3, false, 6, 5));
  EXPECT_EQ(c.Order(), 4);
}

struct KnotCase
{
  int order, cvs;
  double delta;
  std::vector<double> knots;
};

TEST(NurbsCurve, ClampedUniformKnots)
{
  const KnotCase cases[] = {
      {4, 5, 1.0, {0, 0, 0, 1, 2, 2, 2}},
      {3, 6, 2.0, {0, 0, 2, 4, 6, 8, 8}},
      {2, 4, 0.5, {0, 0.5, 1, 1.5}},
      {4, 4, 1.0, {0, 0, 0, 1, 1, 1}},
  };
  for (const KnotCase& k : cases)
  {
    ON_NurbsCurve c(3, false, k.order, k.cvs);
    ASSERT_TRUE(c.MakeClampedUniformKnotVector(k.delta));
    EXPECT_EQ(Knots(c), k.knots);
    EXPECT_TRUE(c.IsClamped());
  }
  ON_NurbsCurve c(3, false, 4, 5);
  EXPECT_FALSE(c.MakeClampedUniformKnotVector(0.0));
  EXPECT_FALSE(c.MakeClampedUniformKnotVector(-1.0));
  ASSERT_TRUE(c.MakeClampedUniformKnotVector(1.0));
  EXPECT_EQ(c.Domain(), ON_Interval(0.0, 2.0));
}

TEST(NurbsCurve, SetKnotRefusesOutOfRangeAndStoresAnyValue)
{
  ON_NurbsCurve c(3, false, 4, 5);
  c.MakeClampedUniformKnotVector(1.0);
  const std::vector<double> before = Knots(c);
  EXPECT_FALSE(c.SetKnot(-1, 9.0));
  EXPECT_FALSE(c.SetKnot(7, 9.0));
  EXPECT_EQ(Knots(c), before);
  EXPECT_TRUE(c.SetKnot(6, -4.0));
  EXPECT_EQ(c.Knot(6), -4.0);
  EXPECT_FALSE(c.IsValid());
}

TEST(NurbsCurve, RationalControlPointsAreHomogeneous)
{
  ON_NurbsCurve c(3, true, 2, 2);
  EXPECT_EQ(c.CVSize(), 4);
  ASSERT_TRUE(c.SetCV(0, ON_4dPoint(2, 4, 6, 2)));
  ON_3dPoint p;
  ASSERT_TRUE(c.GetCV(0, p));
  EXPECT_EQ(p, ON_3dPoint(1, 2, 3));
  EXPECT_EQ(c.Weight(0), 2.0);
  ON_4dPoint h;
  c.GetCV(0, h);
  EXPECT_EQ(h, ON_4dPoint(2, 4, 6, 2));
  EXPECT_EQ(c.CV(0)[3], 2.0);

  // A Euclidean point forces weight 1.
  ASSERT_TRUE(c.SetCV(1, ON_3dPoint(5, 5, 5)));
  EXPECT_EQ(c.Weight(1), 1.0);
  // Weight 0 cannot be turned into a point.
  c.SetCV(1, ON_4dPoint(1, 1, 1, 0));
  EXPECT_FALSE(c.GetCV(1, p));
  EXPECT_EQ(c.CV(2), nullptr);

  ON_NurbsCurve n(3, false, 2, 2);
  EXPECT_EQ(n.Weight(0), 1.0);
  ASSERT_TRUE(n.SetCV(0, ON_4dPoint(2, 4, 6, 2)));
  n.GetCV(0, h);
  EXPECT_EQ(h, ON_4dPoint(1, 2, 3, 1));
  EXPECT_FALSE(n.SetCV(1, ON_4dPoint(1, 1, 1, 0)));
}

// A cubic Bezier: points, derivatives and knot insertion keep the shape.
TEST(NurbsCurve, EvaluationSplitTrimAndReverseKeepTheCurve)
{
  const ON_3dPoint P[4] = {ON_3dPoint(0, 0, 0), ON_3dPoint(1, 2, 0), ON_3dPoint(3, 2, 1), ON_3dPoint(4, 0, 0)};
  ON_NurbsCurve b;
  ASSERT_TRUE(b.CreateClampedUniformNurbs(3, 4, 4, P, 1.0));
  ASSERT_TRUE(b.IsValid());
  const auto bezier = [&](double t)
  {
    const double s = 1 - t;
    return ON_3dPoint(P[0] * (s * s * s) + P[1] * (3 * s * s * t) + P[2] * (3 * s * t * t) + P[3] * (t * t * t));
  };
  for (double t = 0.0; t <= 1.0; t += 0.125)
    ExpectNear(b.PointAt(t), bezier(t));
  // Derivative at 0 is 3 (P1 - P0).
  EXPECT_NEAR((b.DerivativeAt(0.0) - (P[1] - P[0]) * 3.0).Length(), 0.0, 1e-12);

  ON_NurbsCurve k(b);
  ASSERT_TRUE(k.InsertKnot(0.3, 2));
  EXPECT_EQ(k.CVCount(), 6);
  for (double t = 0.0; t <= 1.0; t += 0.1)
    ExpectNear(k.PointAt(t), bezier(t));

  ON_NurbsCurve tr(b);
  ASSERT_TRUE(tr.Trim(ON_Interval(0.25, 0.75)));
  EXPECT_EQ(tr.Domain(), ON_Interval(0.25, 0.75));
  EXPECT_EQ(tr.CVCount(), 4);
  for (double t = 0.25; t <= 0.75; t += 0.05)
    ExpectNear(tr.PointAt(t), bezier(t));

  ON_Curve* left = nullptr;
  ON_Curve* right = nullptr;
  ASSERT_TRUE(b.Split(0.5, left, right));
  ExpectNear(left->PointAtEnd(), bezier(0.5));
  ExpectNear(right->PointAtStart(), bezier(0.5));
  ExpectNear(right->PointAt(0.9), bezier(0.9));
  delete left;
  delete right;

  ON_NurbsCurve r(b);
  ASSERT_TRUE(r.Reverse());
  EXPECT_EQ(r.Domain(), ON_Interval(-1.0, 0.0));
  ExpectNear(r.PointAt(-0.2), bezier(0.2));

  double len = 0.0;
  ON_NurbsCurve line;
  const ON_3dPoint L[2] = {ON_3dPoint(0, 0, 0), ON_3dPoint(3, 4, 0)};
  line.CreateClampedUniformNurbs(3, 2, 2, L);
  ASSERT_TRUE(line.GetLength(&len));
  EXPECT_NEAR(len, 5.0, 1e-12);
}

TEST(NurbsCurve, EllipseArcCutsByTrimAndSeamChange)
{
  const ON_Ellipse e(ON_Plane(), 3.0, 2.0);
  ON_NurbsCurve n;
  ASSERT_EQ(e.GetNurbForm(n), 2);
  double len = 0.0;
  ON_ArcCurve(ON_Circle(ON_3dPoint::Origin, 3.0)).GetLength(&len);
  double circle_len = 0.0;
  ON_NurbsCurve c;
  ON_Circle(ON_3dPoint::Origin, 3.0).GetNurbForm(c);
  ASSERT_TRUE(c.GetLength(&circle_len));
  EXPECT_NEAR(circle_len, len, 1e-9);

  // The arc from 3pi/2 through 0 to pi/2.
  const double a0 = 1.5 * ON_PI, a1 = 0.5 * ON_PI + 2.0 * ON_PI;
  ON_NurbsCurve arc(n);
  ASSERT_TRUE(arc.ChangeClosedCurveSeam(a0));
  EXPECT_NEAR(arc.Domain()[0], a0, 1e-15);
  ExpectNear(arc.PointAtStart(), ON_3dPoint(0, -2, 0));
  ASSERT_TRUE(arc.Trim(ON_Interval(a0, a1)));
  ExpectNear(arc.PointAtStart(), ON_3dPoint(0, -2, 0));
  ExpectNear(arc.PointAtEnd(), ON_3dPoint(0, 2, 0));
  ExpectNear(arc.PointAt(2.0 * ON_PI), ON_3dPoint(3, 0, 0));
  EXPECT_FALSE(arc.IsClosed());
  EXPECT_TRUE(arc.IsValid());
}

TEST(NurbsCurve, PeriodicCurves)
{
  const ON_3dPoint P[4] = {ON_3dPoint(0, 0, 0), ON_3dPoint(1, 0, 0), ON_3dPoint(1, 1, 0), ON_3dPoint(0, 1, 0)};
  ON_NurbsCurve p;
  ASSERT_TRUE(p.CreatePeriodicUniformNurbs(3, 4, 4, P, 1.0));
  EXPECT_EQ(p.CVCount(), 7);
  EXPECT_EQ(p.KnotCount(), 9);
  for (int i = 0; i < 9; i++)
    EXPECT_EQ(p.Knot(i), i - 2.0);
  EXPECT_EQ(p.Domain(), ON_Interval(0.0, 4.0));
  EXPECT_TRUE(p.IsPeriodic());
  EXPECT_TRUE(p.IsClosed());
  ExpectNear(p.PointAtStart(), p.PointAtEnd());

  ON_NurbsCurve open(p);
  open.SetCV(6, ON_3dPoint(5, 5, 5));
  EXPECT_FALSE(open.IsPeriodic());
  EXPECT_FALSE(open.IsClosed());

  // Cut a piece out of the periodic curve: same points.
  ON_NurbsCurve piece(p);
  ASSERT_TRUE(piece.Trim(ON_Interval(0.0, 1.5)));
  ExpectNear(piece.PointAt(0.7), p.PointAt(0.7));
  ExpectNear(piece.PointAtStart(), p.PointAtStart());
}

TEST(NurbsCurve, CopiesAreDeepAndRationalFlagsConvert)
{
  ON_NurbsCurve a(3, false, 2, 3);
  a.MakeClampedUniformKnotVector(1.0);
  a.SetCV(0, ON_3dPoint(1, 1, 1));
  ON_NurbsCurve b = a;
  b.SetCV(0, ON_3dPoint(2, 2, 2));
  ON_3dPoint p;
  a.GetCV(0, p);
  EXPECT_EQ(p, ON_3dPoint(1, 1, 1));
  ASSERT_TRUE(b.MakeRational());
  EXPECT_EQ(b.CVSize(), 4);
  b.GetCV(0, p);
  EXPECT_EQ(p, ON_3dPoint(2, 2, 2));
  ASSERT_TRUE(b.MakeNonRational());
  b.SetWeight(1, 3.0);
  EXPECT_TRUE(b.IsRational());
  // Back to non-rational, the weighted point divided by its weight.
  const ON_3dPoint before(b.CV(1)[0] / 3.0, b.CV(1)[1] / 3.0, b.CV(1)[2] / 3.0);
  EXPECT_TRUE(b.MakeNonRational());
  b.GetCV(1, p);
  EXPECT_EQ(p, before);
  ON_NurbsCurve moved(std::move(b));
  EXPECT_EQ(moved.CVCount(), 3);
  EXPECT_EQ(b.KnotCount(), -2);
}
TEST(NurbsCurve, AssignmentCopiesTheShapeAndMoveTakesTheBuffers)
{
  ON_NurbsCurve a(2, true, 3, 4);
  ASSERT_TRUE(a.MakeClampedUniformKnotVector(0.5));
  for (int i = 0; i < 4; i++)
    a.SetCV(i, ON_4dPoint(i, 2.0 * i, 0.0, 1.0 + i));

  ON_NurbsCurve copy;
  copy = a;
  EXPECT_EQ(copy.m_dim, 2);
  EXPECT_TRUE(copy.IsRational());
  EXPECT_EQ(copy.Order(), 3);
  EXPECT_EQ(copy.CVCount(), 4);
  EXPECT_EQ(copy.m_cv_stride, 3);
  EXPECT_NE(copy.m_cv, a.m_cv);
  EXPECT_EQ(copy.Knot(4), 1.0);
  EXPECT_EQ(copy.CV(3)[2], 4.0);

  // A curve without a shape takes the source's fields but no buffers.
  ON_NurbsCurve unshaped;
  unshaped.m_dim = 3;
  unshaped.m_order = 1;
  copy = unshaped;
  EXPECT_EQ(copy.m_knot, nullptr);
  EXPECT_EQ(copy.m_cv, nullptr);
  EXPECT_EQ(copy.m_dim, 3);
  EXPECT_EQ(copy.Order(), 1);
  EXPECT_FALSE(copy.IsRational());

  const double* cv = a.m_cv;
  const double* knot = a.m_knot;
  ON_NurbsCurve taker(3, false, 2, 2);
  taker = std::move(a);
  EXPECT_EQ(taker.m_cv, cv);
  EXPECT_EQ(taker.m_knot, knot);
  EXPECT_EQ(taker.m_cv_stride, 3);
  EXPECT_EQ(taker.CVCount(), 4);
  EXPECT_EQ(a.m_cv, nullptr);
  EXPECT_EQ(a.KnotCount(), -2);
}
}  // namespace
