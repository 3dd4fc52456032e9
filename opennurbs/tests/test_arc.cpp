#include "opennurbs.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
const double kTwoPi = 2.0 * ON_PI;

void ExpectNear(const ON_3dPoint& a, const ON_3dPoint& b, double tol = 1e-12)
{
  EXPECT_NEAR(a.DistanceTo(b), 0.0, tol) << "(" << a.x << "," << a.y << "," << a.z << ") vs (" << b.x << "," << b.y
                                         << "," << b.z << ")";
}

TEST(Circle, MembersDefaultsAndPoints)
{
  const ON_Circle unit;
  EXPECT_EQ(unit.radius, 1.0);
  EXPECT_EQ(unit.Normal(), ON_3dVector::ZAxis);
  EXPECT_TRUE(unit.IsValid());
  const ON_Circle c(ON_Plane(ON_3dPoint(1, 2, 3), ON_3dVector(0, 0, -1)), 2.0);
  EXPECT_EQ(c.Center(), ON_3dPoint(1, 2, 3));
  EXPECT_EQ(c.Radius(), 2.0);
  ExpectNear(c.PointAt(0.0), ON_3dPoint(-1, 2, 3));
  ExpectNear(c.PointAt(0.5 * ON_PI), ON_3dPoint(1, 4, 3));
  EXPECT_FALSE(ON_Circle(ON_3dPoint::Origin, -1.0).IsValid());
  EXPECT_FALSE(ON_Circle(ON_3dPoint::Origin, 0.0).IsValid());

  double t = -1.0;
  EXPECT_TRUE(unit.ClosestPointTo(ON_3dPoint(0, -3, 7), &t));
  EXPECT_DOUBLE_EQ(t, 1.5 * ON_PI);
  EXPECT_TRUE(unit.ClosestPointTo(ON_3dPoint::Origin, &t));
  EXPECT_EQ(t, 0.0);
}

TEST(Circle, ThreePointCircleStartsAtTheFirstPointAndTurnsWithThem)
{
  const ON_Circle ccw(ON_3dPoint(1, 0, 0), ON_3dPoint(0, 1, 0), ON_3dPoint(-1, 0, 0));
  ASSERT_TRUE(ccw.IsValid());
  ExpectNear(ccw.Center(), ON_3dPoint::Origin);
  EXPECT_NEAR(ccw.radius, 1.0, 1e-15);
  EXPECT_NEAR((ccw.Normal() - ON_3dVector::ZAxis).Length(), 0.0, 1e-15);
  ExpectNear(ccw.PointAt(0.0), ON_3dPoint(1, 0, 0));

  ON_Circle collinear;
  EXPECT_FALSE(collinear.Create(ON_3dPoint(0, 0, 0), ON_3dPoint(1, 1, 1), ON_3dPoint(2, 2, 2)));
}

struct CircleTestCase
{
  double angle;
  bool circle;
};

TEST(Arc, FullCircleTestUsesTheTightTolerance)
{
  const CircleTestCase cases[] = {
      {kTwoPi, true},          {kTwoPi + 1e-13, true}, {kTwoPi - 1e-13, true}, {kTwoPi - 9e-13, true},
      {kTwoPi - 2e-12, false}, {kTwoPi - 1e-9, false}, {ON_PI, false},
  };
  for (const CircleTestCase& c : cases)
  {
    ON_Arc arc;
    ASSERT_TRUE(arc.SetAngleIntervalRadians(ON_Interval(0.5, 0.5 + c.angle)));
    EXPECT_EQ(arc.IsCircle(), c.circle) << c.angle - kTwoPi;
  }
  // Backwards by a full turn: normal flipped, still a circle.
  ON_Arc back;
  EXPECT_FALSE(back.Create(ON_Circle(), ON_Interval(0.0, -kTwoPi)));
  EXPECT_EQ(back.Domain(), ON_Interval(0.0, kTwoPi));
  EXPECT_EQ(back.Normal(), ON_3dVector(0, 0, -1));
  EXPECT_TRUE(back.IsCircle());
}

TEST(Arc, CreateRepairsBadIntervalsAndSaysSo)
{
  ON_Arc a;
  EXPECT_FALSE(a.Create(ON_Circle(), ON_Interval(0.0, 7.0)));
  EXPECT_EQ(a.Domain(), ON_Interval(0.0, kTwoPi));
  EXPECT_FALSE(a.Create(ON_Circle(), ON_Interval(0.0, kTwoPi + 1e-13)));
  EXPECT_EQ(a.AngleRadians(), kTwoPi);

  ON_Arc d;
  const ON_3dPoint start = ON_Circle().PointAt(2.0), end = ON_Circle().PointAt(1.0);
  EXPECT_FALSE(d.Create(ON_Circle(), ON_Interval(2.0, 1.0)));
  EXPECT_EQ(d.Domain(), ON_Interval(-2.0, -1.0));
  EXPECT_EQ(d.Normal(), ON_3dVector(0, 0, -1));
  ExpectNear(d.StartPoint(), start);
  ExpectNear(d.EndPoint(), end);

  EXPECT_FALSE(ON_Arc().Create(ON_Circle(), ON_Interval(0.0, 0.0)));
  ON_Arc tiny;
  EXPECT_FALSE(tiny.Create(ON_Circle(), ON_Interval(0.0, 1e-11)));
  EXPECT_FALSE(tiny.IsValid());

  ON_Arc shifted;
  EXPECT_TRUE(shifted.Create(ON_Circle(), ON_Interval(1.0, 1.0 + kTwoPi)));
  EXPECT_TRUE(shifted.IsCircle());
  ExpectNear(shifted.StartPoint(), ON_3dPoint(std::cos(1.0), std::sin(1.0), 0));

  ON_Arc neg;
  EXPECT_FALSE(neg.Create(ON_Circle(), -1.0));
  EXPECT_EQ(neg.Normal(), ON_3dVector(0, 0, -1));
}

TEST(Arc, MembersAndAssignmentFromCircle)
{
  const ON_Circle c(ON_3dPoint(1, 1, 0), 2.0);
  ON_Arc q(c, ON_Interval(0.5 * ON_PI, ON_PI));
  EXPECT_TRUE(q.IsValid());
  EXPECT_EQ(q.Radius(), 2.0);
  EXPECT_EQ(q.Center(), ON_3dPoint(1, 1, 0));
  EXPECT_DOUBLE_EQ(q.AngleRadians(), 0.5 * ON_PI);
  ExpectNear(q.StartPoint(), ON_3dPoint(1, 3, 0));
  ExpectNear(q.EndPoint(), ON_3dPoint(-1, 1, 0));
  ExpectNear(q.PointAt(0.75 * ON_PI), ON_3dPoint(1 - std::sqrt(2.0), 1 + std::sqrt(2.0), 0));
  EXPECT_DOUBLE_EQ(q.Length(), ON_PI);
  q = c;
  EXPECT_EQ(q.Domain(), ON_Interval(0.0, kTwoPi));
  EXPECT_TRUE(ON_Arc().IsCircle());
}

TEST(Arc, ThreePointsAndCounterClockwiseArcBetweenTwoPoints)
{
  const ON_Arc up(ON_3dPoint(1, 0, 0), ON_3dPoint(0, 1, 0), ON_3dPoint(-1, 0, 0));
  EXPECT_TRUE(up.IsValid());
  EXPECT_NEAR((up.Normal() - ON_3dVector::ZAxis).Length(), 0.0, 1e-15);
  EXPECT_NEAR(up.AngleRadians(), ON_PI, 1e-15);
  const ON_Arc down(ON_3dPoint(1, 0, 0), ON_3dPoint(0, -1, 0), ON_3dPoint(-1, 0, 0));
  EXPECT_NEAR((down.Normal() - ON_3dVector(0, 0, -1)).Length(), 0.0, 1e-15);
  EXPECT_NEAR(down.AngleRadians(), ON_PI, 1e-15);

  // From 90 degrees to 0 degrees the long way round.
  const ON_Circle c;
  double t0 = 0.0, t1 = 0.0;
  c.ClosestPointTo(ON_3dPoint(0, 1, 0), &t0);
  c.ClosestPointTo(ON_3dPoint(1, 0, 0), &t1);
  if (t1 <= t0)
    t1 += kTwoPi;
  const ON_Arc a(c, ON_Interval(t0, t1));
  EXPECT_DOUBLE_EQ(a.Domain()[0], 0.5 * ON_PI);
  EXPECT_DOUBLE_EQ(a.Domain()[1], kTwoPi);

  ON_Arc tangent;
  ASSERT_TRUE(tangent.Create(ON_3dPoint(1, 0, 0), ON_3dVector(0, 1, 0), ON_3dPoint(-1, 0, 0)));
  ExpectNear(tangent.Center(), ON_3dPoint::Origin);
  EXPECT_NEAR(tangent.AngleRadians(), ON_PI, 1e-15);
  EXPECT_FALSE(ON_Arc().Create(ON_3dPoint(0, 0, 0), ON_3dVector(1, 0, 0), ON_3dPoint(2, 0, 0)));
}

TEST(Arc, SetAndTrimLimits)
{
  ON_Arc a;
  EXPECT_FALSE(a.SetAngleIntervalRadians(ON_Interval(1.0, 0.0)));
  EXPECT_TRUE(a.SetAngleIntervalRadians(ON_Interval(0.0, kTwoPi * (1.0 + 1e-9))));
  EXPECT_GT(a.AngleRadians(), kTwoPi);
  EXPECT_TRUE(a.Trim(ON_Interval(0.0, kTwoPi + 1e-10)));
  EXPECT_EQ(a.AngleRadians(), kTwoPi);
  EXPECT_FALSE(a.Trim(ON_Interval(0.0, kTwoPi + 1e-9)));
}

// Evaluates the rational curve by hand at its knots: each even CV is on it.
TEST(NurbForms, EllipseControlPointsWeightsAndKnots)
{
  const ON_Ellipse e(ON_Plane(), 3.0, 2.0);
  ON_NurbsCurve n;
  ASSERT_EQ(e.GetNurbForm(n), 2);
  EXPECT_EQ(n.Dimension(), 3);
  EXPECT_TRUE(n.IsRational());
  EXPECT_EQ(n.Order(), 3);
  EXPECT_EQ(n.CVCount(), 9);
  EXPECT_EQ(n.KnotCount(), 10);
  const double k[10] = {0, 0, 0.5 * ON_PI, 0.5 * ON_PI, ON_PI, ON_PI, 1.5 * ON_PI, 1.5 * ON_PI, kTwoPi, kTwoPi};
  for (int i = 0; i < 10; i++)
    EXPECT_EQ(n.Knot(i), k[i]) << i;
  const double xy[9][2] = {{3, 0}, {3, 2}, {0, 2}, {-3, 2}, {-3, 0}, {-3, -2}, {0, -2}, {3, -2}, {3, 0}};
  const double w = 0.7071067811865475;
  for (int i = 0; i < 9; i++)
  {
    ON_3dPoint p;
    ASSERT_TRUE(n.GetCV(i, p));
    EXPECT_NEAR(p.x, xy[i][0], 1e-15) << i;
    EXPECT_NEAR(p.y, xy[i][1], 1e-15) << i;
    EXPECT_EQ(n.Weight(i), (i % 2) ? w : 1.0) << i;
    ON_4dPoint h;
    n.GetCV(i, h);
    EXPECT_EQ(h.w, n.Weight(i));
    EXPECT_NEAR(h.x, xy[i][0] * h.w, 1e-15);
  }
  EXPECT_TRUE(n.IsClosed());
  EXPECT_FALSE(n.IsPeriodic());
  EXPECT_TRUE(n.IsValid());
  // The form traces the ellipse: every point is at ellipse distance 1.
  for (double t = 0.0; t < kTwoPi; t += 0.37)
  {
    const ON_3dPoint p = n.PointAt(t);
    EXPECT_NEAR(p.x * p.x / 9.0 + p.y * p.y / 4.0, 1.0, 1e-14);
  }
  EXPECT_EQ(ON_Ellipse().GetNurbForm(n), 0);
}

TEST(NurbForms, CircleArcAndArcCurveForms)
{
  ON_NurbsCurve c;
  ASSERT_EQ(ON_Circle(ON_3dPoint(1, 0, 0), 2.0).GetNurbForm(c), 2);
  EXPECT_EQ(c.CVCount(), 9);
  EXPECT_EQ(c.Weight(1), 0.7071067811865475);

  ON_NurbsCurve a;
  ASSERT_EQ(ON_Arc().GetNurbForm(a), 2);
  EXPECT_EQ(a.CVCount(), 9);
  EXPECT_EQ(a.Weight(1), 0.7071067811865476);

  const ON_Arc quarter(ON_Circle(), ON_Interval(0.25, 0.25 + 0.5 * ON_PI));
  ON_NurbsCurve q;
  ASSERT_EQ(quarter.GetNurbForm(q), 2);
  ASSERT_EQ(q.CVCount(), 3);
  EXPECT_EQ(q.Knot(0), 0.25);
  EXPECT_EQ(q.Knot(1), 0.25);
  EXPECT_EQ(q.Knot(3), 0.25 + 0.5 * ON_PI);
  EXPECT_EQ(q.Weight(0), 1.0);
  EXPECT_DOUBLE_EQ(q.Weight(1), std::cos(0.25 * ON_PI));
  ExpectNear(q.PointAtStart(), quarter.StartPoint());
  ExpectNear(q.PointAtEnd(), quarter.EndPoint());
  ExpectNear(q.PointAt(q.Domain().Mid()), quarter.MidPoint());

  const ON_ArcCurve ac(ON_Circle(ON_3dPoint::Origin, 2.5));
  ON_NurbsCurve n;
  ASSERT_EQ(ac.GetNurbForm(n), 2);
  const double L = 2.0 * ON_PI * 2.5;
  EXPECT_EQ(n.Domain(), ac.Domain());
  EXPECT_NEAR(n.Knot(2), L / 4, 1e-14);
  EXPECT_NEAR(n.Knot(4), L / 2, 1e-14);
}
}  // namespace
