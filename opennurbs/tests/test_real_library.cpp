// Behaviours where this library follows openNURBS 8 to the value: each table
// holds cases whose results tell the library's rule from the nearby ones.
#include "opennurbs_arc.h"
#include "opennurbs_arccurve.h"
#include "opennurbs_line.h"
#include "opennurbs_linecurve.h"
#include "opennurbs_nurbscurve.h"
#include "opennurbs_nurbssurface.h"
#include "opennurbs_polycurve.h"
#include "opennurbs_polylinecurve.h"
#include "opennurbs_xform.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
const double kPi = ON_PI;
}  // namespace

// ---------------------------------------------------------------------------
// Full circles as arc curves

TEST(RealLibraryArcCurveTest, AFullCircleIsPeriodicAndEndsExactlyAtItsStart)
{
  struct Case
  {
    const char* name;
    ON_Circle circle;
    double angle;
    bool periodic;
  };
  ON_Plane tilted(ON_3dPoint(1.0, -2.0, 3.0), ON_3dVector(1.0, 2.0, 3.0));
  const Case cases[] = {
      {"unit circle", ON_Circle(), 2.0 * kPi, true},
      {"large circle off the origin", ON_Circle(ON_3dPoint(1e3, -7.0, 2.0), 1e9), 2.0 * kPi, true},
      {"tilted circle", ON_Circle(tilted, 2.5), 2.0 * kPi, true},
      {"three quarters", ON_Circle(ON_3dPoint(0.0, 0.0, 0.0), 2.0), 1.5 * kPi, false},
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    const ON_ArcCurve curve(ON_Arc(c.circle, c.angle));
    EXPECT_EQ(curve.IsPeriodic(), c.periodic);
    EXPECT_EQ(curve.IsClosed(), c.periodic);
    if (c.periodic)
    {
      // Exactly, not within a tolerance.
      EXPECT_EQ(curve.PointAtEnd(), curve.PointAtStart());
    }
  }
  // A whole circle built from the circle itself.
  EXPECT_TRUE(ON_ArcCurve(ON_Circle(ON_3dPoint(0.0, 0.0, 0.0), 3.0)).IsPeriodic());
}

TEST(RealLibraryArcCurveTest, QuarterTurnsOfACircleAtTheOriginAreExact)
{
  const ON_ArcCurve curve(ON_Circle(ON_3dPoint(0.0, 0.0, 0.0), 1e9));
  const double L = curve.Domain()[1];
  const struct
  {
    double fraction;
    ON_3dPoint point;
  } cases[] = {
      {0.25, ON_3dPoint(0.0, 1e9, 0.0)},
      {0.5, ON_3dPoint(-1e9, 0.0, 0.0)},
      {1.0, ON_3dPoint(1e9, 0.0, 0.0)},
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.fraction);
    EXPECT_EQ(curve.PointAt(c.fraction * L), c.point);
  }
  // The derivative turns with the snapped point: exactly along -x at a quarter.
  const ON_3dVector d = curve.DerivativeAt(0.25 * L);
  EXPECT_EQ(d.y, 0.0);
  EXPECT_DOUBLE_EQ(d.x, -1.0);
}

// ---------------------------------------------------------------------------
// NURBS forms of arcs

TEST(RealLibraryArcTest, NurbFormSpansFollowTheSweep)
{
  const struct
  {
    double angle;
    int cv_count;
  } cases[] = {
      {0.25 * kPi, 3},       {0.5 * kPi, 3}, {0.5 * kPi + 1e-9, 3},  // just past a quarter turn still one span
      {0.5 * kPi + 1e-6, 5}, {kPi, 5},       {1.01 * kPi, 9},        // past half a turn: four spans, never three
      {1.5 * kPi, 9},        {1.9 * kPi, 9}, {2.0 * kPi, 9},
  };
  const ON_Circle circle(ON_3dPoint(1.0, 2.0, 0.0), 3.0);
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.angle);
    const ON_Arc arc(circle, ON_Interval(0.5, 0.5 + c.angle));
    ON_NurbsCurve n;
    ASSERT_EQ(arc.GetNurbForm(n), 2);
    EXPECT_EQ(n.CVCount(), c.cv_count);
    EXPECT_EQ(n.Order(), 3);
    EXPECT_TRUE(n.IsValid());
    const int spans = (c.cv_count - 1) / 2;
    const double w = std::cos(0.5 * c.angle / spans);
    for (int i = 0; i < n.CVCount(); i++)
      EXPECT_DOUBLE_EQ(n.Weight(i), (i % 2) ? w : 1.0) << i;
    EXPECT_EQ(n.Knot(0), 0.5);
    EXPECT_EQ(n.Knot(n.KnotCount() - 1), 0.5 + c.angle);
    // Points along the form lie on the circle.
    for (int k = 0; k <= 8; k++)
    {
      const ON_3dPoint p = n.PointAt(n.Domain().ParameterAt(k / 8.0));
      EXPECT_NEAR(p.DistanceTo(circle.Center()), 3.0, 1e-12);
    }
    // A full circle's form ends exactly where it starts.
    if (arc.IsCircle())
    {
      ON_3dPoint first, last;
      n.GetCV(0, first);
      n.GetCV(n.CVCount() - 1, last);
      EXPECT_EQ(first, last);
    }
  }
}

TEST(RealLibraryArcTest, ArcCurveNurbFormUsesTheSameSpansOnItsDomain)
{
  const ON_Arc arc(ON_Circle(ON_3dPoint(0.0, 0.0, 0.0), 2.0), 1.2 * kPi);
  const ON_ArcCurve curve(arc);
  ON_NurbsCurve n;
  ASSERT_EQ(curve.GetNurbForm(n), 2);
  EXPECT_EQ(n.CVCount(), 9);
  EXPECT_EQ(n.Domain()[0], curve.Domain()[0]);
  EXPECT_DOUBLE_EQ(n.Domain()[1], curve.Domain()[1]);
}

TEST(RealLibraryArcTest, NurbFormOfAnArcJustPastAHalfTurn)
{
  // Four spans of 1.01 pi / 4 each, knots accumulated span by span.
  const ON_Arc arc(ON_Circle(ON_3dPoint(1.0, 2.0, 0.0), 3.0), ON_Interval(0.5, 0.5 + 1.01 * kPi));
  ON_NurbsCurve n;
  ASSERT_EQ(arc.GetNurbForm(n), 2);
  const double knots[10] = {0.5,
                            0.5,
                            1.2932521450314227,
                            1.2932521450314227,
                            2.0865042900628454,
                            2.0865042900628454,
                            2.8797564350942682,
                            2.8797564350942682,
                            3.6730085801256909,
                            3.6730085801256909};
  ASSERT_EQ(n.KnotCount(), 10);
  for (int i = 0; i < 10; i++)
    EXPECT_EQ(n.Knot(i), knots[i]) << i;
  const double cv[3][4] = {{3.6327476856711183, 3.438276615812609, 0.0, 1.0},
                           {2.7951175586747738, 4.1884148013259654, 0.0, 0.92236961836642684},
                           {1.8219839203263262, 4.8851936563643283, 0.0, 1.0}};
  for (int i = 0; i < 3; i++)
  {
    ON_4dPoint h;
    ASSERT_TRUE(n.GetCV(i, h));
    EXPECT_EQ(h.x, cv[i][0]) << i;
    EXPECT_EQ(h.y, cv[i][1]) << i;
    EXPECT_EQ(h.z, cv[i][2]) << i;
    EXPECT_EQ(h.w, cv[i][3]) << i;
  }
}

// ---------------------------------------------------------------------------
// Lines

TEST(RealLibraryLineTest, ClosestPointAndDistanceAreOnTheInfiniteLine)
{
  const ON_Line line(ON_3dPoint(0.0, 0.0, 0.0), ON_3dPoint(2.0, 0.0, 0.0));
  const struct
  {
    ON_3dPoint point;
    double t;
    ON_3dPoint closest;
    double distance;
  } cases[] = {
      {ON_3dPoint(1.0, 1.0, 0.0), 0.5, ON_3dPoint(1.0, 0.0, 0.0), 1.0},
      {ON_3dPoint(-2.0, 3.0, 0.0), -1.0, ON_3dPoint(-2.0, 0.0, 0.0), 3.0},  // before the start
      {ON_3dPoint(6.0, 0.0, -4.0), 3.0, ON_3dPoint(6.0, 0.0, 0.0), 4.0},    // past the end
  };
  for (const auto& c : cases)
  {
    double t = 99.0;
    EXPECT_TRUE(line.ClosestPointTo(c.point, &t));
    EXPECT_DOUBLE_EQ(t, c.t);
    EXPECT_EQ(line.ClosestPointTo(c.point), c.closest);
    EXPECT_DOUBLE_EQ(line.DistanceTo(c.point), c.distance);
  }
}

TEST(RealLibraryLineTest, AZeroLengthLineGivesItsStartAndNoParameterIsRefused)
{
  const ON_Line point(ON_3dPoint(1.0, 1.0, 1.0), ON_3dPoint(1.0, 1.0, 1.0));
  double t = 99.0;
  EXPECT_TRUE(point.ClosestPointTo(ON_3dPoint(4.0, 5.0, 1.0), &t));
  EXPECT_EQ(t, 0.0);
  EXPECT_DOUBLE_EQ(point.DistanceTo(ON_3dPoint(4.0, 5.0, 1.0)), 5.0);
  const ON_Line line(ON_3dPoint(0.0, 0.0, 0.0), ON_3dPoint(1.0, 0.0, 0.0));
  EXPECT_FALSE(line.ClosestPointTo(ON_3dPoint(0.5, 1.0, 0.0), nullptr));
}

// ---------------------------------------------------------------------------
// NURBS curves

namespace
{
// An order-`order` curve on `count` control points whose last order-1 repeat
// the first, with uniform knots.
ON_NurbsCurve WrappedCurve(int order, int count)
{
  ON_NurbsCurve c;
  c.Create(3, false, order, count);
  const int distinct = count - order + 1;
  for (int i = 0; i < count; i++)
  {
    const double a = 2.0 * kPi * (i % distinct) / distinct;
    c.SetCV(i, ON_3dPoint(std::cos(a), std::sin(a), 0.0));
  }
  c.MakePeriodicUniformKnotVector(1.0);
  return c;
}
}  // namespace

TEST(RealLibraryNurbsCurveTest, IsPeriodicNeedsMoreControlPointsThanItWraps)
{
  const struct
  {
    int order, count;
    bool periodic;
  } cases[] = {
      {2, 4, false},  // degree 1 is never periodic
      {3, 4, false}, {3, 5, true}, {4, 5, false}, {4, 6, true},
      {5, 7, false}, {5, 8, true}, {6, 9, false}, {6, 10, true},
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "order " << c.order << ", " << c.count << " points");
    EXPECT_EQ(WrappedCurve(c.order, c.count).IsPeriodic(), c.periodic);
  }
}

TEST(RealLibraryNurbsCurveTest, IsPeriodicComparesRationalPointsByTheirEuclideanPlace)
{
  ON_NurbsCurve c = WrappedCurve(3, 6);
  ASSERT_TRUE(c.IsPeriodic());
  c.MakeRational();
  // The same place under another weight still wraps.
  c.SetCV(4, ON_4dPoint(2.0 * c.CV(0)[0], 2.0 * c.CV(0)[1], 0.0, 2.0));
  EXPECT_TRUE(c.IsPeriodic());
}

namespace
{
ON_NurbsCurve PeriodicCurve(int order, int count, double delta)
{
  const ON_3dPoint p[] = {ON_3dPoint(1.0, 0.0, 0.0), ON_3dPoint(0.0, 1.0, 0.0), ON_3dPoint(-1.0, 0.0, 0.0),
                          ON_3dPoint(0.0, -1.0, 0.0), ON_3dPoint(0.5, -0.5, 1.0)};
  ON_NurbsCurve c;
  c.CreatePeriodicUniformNurbs(3, order, count, p, delta);
  return c;
}

// The periodic order-3 curve on four points with its second point weighted 2.
ON_NurbsCurve RationalPeriodicCurve()
{
  ON_NurbsCurve c = PeriodicCurve(3, 4, 1.0);
  c.MakeRational();
  for (int i = 1; i < c.CVCount(); i += 4)
    c.SetWeight(i, 2.0);
  return c;
}

// The unit square, closed but not periodic.
ON_NurbsCurve ClampedClosedCurve()
{
  const ON_3dPoint q[] = {ON_3dPoint(0.0, 0.0, 0.0), ON_3dPoint(1.0, 0.0, 0.0), ON_3dPoint(1.0, 1.0, 0.0),
                          ON_3dPoint(0.0, 1.0, 0.0), ON_3dPoint(0.0, 0.0, 0.0)};
  ON_NurbsCurve c;
  c.CreateClampedUniformNurbs(3, 3, 5, q, 1.0);
  return c;
}
}  // namespace

TEST(RealLibraryNurbsCurveTest, ChangeClosedCurveSeamKeepsAPeriodicCurvePeriodic)
{
  const ON_NurbsCurve o3 = PeriodicCurve(3, 4, 1.0);  // knots -1 ... 5, domain [0, 4]
  const ON_NurbsCurve o4 = PeriodicCurve(4, 5, 2.0);  // knots -4 ... 14, domain [0, 10]
  const ON_NurbsCurve r3 = RationalPeriodicCurve();
  const ON_NurbsCurve square = ClampedClosedCurve();  // domain [0, 3]
  const struct
  {
    const char* name;
    const ON_NurbsCurve& curve;
    double t;
    bool periodic;
    int cv_count;
    double snapped = 0.0;  // how far the seam is moved on to t from a knot
  } cases[] = {
      // Inside the domain: one more knot, and one more control point.
      {"order 3 between knots", o3, 1.5, true, 7},
      {"order 3 in the last span", o3, 3.75, true, 7},
      {"order 4 between knots", o4, 3.0, true, 9},
      {"rational", r3, 1.5, true, 7},
      // At a knot (or within its tolerance) the curve is only renumbered.
      {"order 3 at a knot", o3, 1.0, true, 6},
      {"just past a knot", o3, 1.0 + 1e-12, true, 6, (1.0 + 1e-12) - 1.0},
      {"within the tolerance past a knot", o3, 2.0 + 8e-8, true, 6, (2.0 + 8e-8) - 2.0},
      {"within the tolerance before a knot", o3, 3.0 - 8e-8, true, 6, (3.0 - 8e-8) - 3.0},
      {"beyond the tolerance of a knot", o3, 2.0 + 1e-7, true, 7},
      // At the end of the domain, or a whole number of periods from its
      // start, the knots move on by whole periods.
      {"at the end", o3, 4.0, true, 6},
      {"two periods on", o3, 8.0, true, 6},
      {"one period back", o3, -4.0, true, 6},
      // Elsewhere outside the domain the curve is split one period round and
      // rejoined: a full knot at the old seam.
      {"one period on", o3, 5.5, false, 8},
      {"two periods on, between knots", o3, 9.5, false, 8},
      {"before the start", o3, -0.5, false, 8},
      {"one period on, at a knot", o3, 5.0, false, 7},
      {"order 4 one period on", o4, 11.0, false, 11},
      {"order 4 before the start", o4, -1.0, false, 11},
      {"rational one period on", r3, 6.2, false, 8},
      // A closed curve that is not periodic is split and rejoined.
      {"square", square, 1.5, false, 7},
      {"square one period on", square, 4.5, false, 7},
      {"square before the start", square, -0.5, false, 7},
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(testing::Message() << c.name << ", t = " << c.t);
    ON_NurbsCurve moved(c.curve);
    ASSERT_TRUE(moved.ChangeClosedCurveSeam(c.t));
    EXPECT_EQ(moved.IsPeriodic(), c.periodic);
    EXPECT_TRUE(moved.IsClosed());
    EXPECT_TRUE(moved.IsValid());
    EXPECT_EQ(moved.Order(), c.curve.Order());
    EXPECT_EQ(moved.CVCount(), c.cv_count);
    const ON_Interval d0 = c.curve.Domain();
    const double period = d0.Length();
    EXPECT_EQ(moved.Domain()[0], c.t);
    EXPECT_NEAR(moved.Domain()[1], c.t + period, 1e-12);
    // The same points from the new seam on (from the knot it was moved to
    // when the seam is within the tolerance of one).
    for (int k = 0; k <= 40; k++)
    {
      const double s = c.t + period * k / 40.0 - c.snapped;
      const double u = s - std::floor((s - d0[0]) / period) * period;
      const ON_3dPoint a = moved.PointAt(s + c.snapped), b = c.curve.PointAt(u);
      EXPECT_LT(a.DistanceTo(b), 1e-12) << "at " << s;
    }
  }
}

TEST(RealLibraryNurbsCurveTest, ChangeClosedCurveSeamInsertsTheSeamInEveryPeriod)
{
  ON_NurbsCurve c = PeriodicCurve(3, 4, 1.0);
  ASSERT_TRUE(c.ChangeClosedCurveSeam(1.5));
  const double knots[] = {1.0, 1.5, 2.0, 3.0, 4.0, 5.0, 5.5, 6.0};
  ASSERT_EQ(c.KnotCount(), 8);
  for (int i = 0; i < 8; i++)
    EXPECT_EQ(c.Knot(i), knots[i]) << i;
  ON_3dPoint p;
  ASSERT_TRUE(c.GetCV(0, p));
  EXPECT_EQ(p, ON_3dPoint(-0.75, 0.25, 0.0));
  // The inserted point of a rational curve blends the weights.
  ON_NurbsCurve r = RationalPeriodicCurve();
  ASSERT_TRUE(r.ChangeClosedCurveSeam(1.5));
  EXPECT_DOUBLE_EQ(r.Weight(0), 1.25);
  EXPECT_DOUBLE_EQ(r.Weight(5), 1.25);
}

TEST(RealLibraryNurbsCurveTest, ChangeClosedCurveSeamAtTheEndsAndOnCurvesThatAreNotClosed)
{
  const ON_NurbsCurve o3 = PeriodicCurve(3, 4, 1.0);
  const ON_NurbsCurve square = ClampedClosedCurve();
  const struct
  {
    const char* name;
    const ON_NurbsCurve& curve;
    double t;
    bool rc;
  } cases[] = {
      {"at the start", o3, 0.0, true},
      {"just before the end", o3, 4.0 - 1e-9, false},
      {"just before the start", o3, -1e-12, false},
      {"just past the end", o3, 4.0 + 1e-9, false},
      {"a period on, just past the start", o3, 8.0 + 1e-12, false},
      {"square, just past the start", square, 1e-8, false},
      {"square, just before the end", square, 3.0 - 1e-8, false},
      {"square at the start", square, 0.0, true},
      {"not a number", o3, std::nan(""), false},
      // Within the knot tolerance of the start: a seam where the curve
      // already has one, so nothing to do.
      {"just past the start", o3, 1e-9, false},
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(testing::Message() << c.name << ", t = " << c.t);
    ON_NurbsCurve moved(c.curve);
    EXPECT_EQ(moved.ChangeClosedCurveSeam(c.t), c.rc);
    // Unchanged either way.
    ASSERT_EQ(moved.CVCount(), c.curve.CVCount());
    EXPECT_EQ(moved.Domain()[0], c.curve.Domain()[0]);
    EXPECT_EQ(moved.Domain()[1], c.curve.Domain()[1]);
    for (int i = 0; i < moved.KnotCount(); i++)
      EXPECT_EQ(moved.Knot(i), c.curve.Knot(i)) << i;
  }
  // An open curve has no seam to move.
  const ON_3dPoint o[] = {ON_3dPoint(0.0, 0.0, 0.0), ON_3dPoint(1.0, 0.0, 0.0), ON_3dPoint(1.0, 1.0, 0.0)};
  ON_NurbsCurve open;
  open.CreateClampedUniformNurbs(3, 3, 3, o, 1.0);
  EXPECT_FALSE(open.ChangeClosedCurveSeam(0.5));
}

TEST(RealLibraryNurbsCurveTest, MakeNonRationalDividesByTheWeights)
{
  ON_NurbsCurve c;
  ASSERT_TRUE(c.Create(2, true, 2, 3));
  c.SetCV(0, ON_4dPoint(2.0, 4.0, 0.0, 2.0));
  c.SetCV(1, ON_4dPoint(3.0, 6.0, 0.0, 0.0));  // a zero weight is taken as 1
  c.SetCV(2, ON_4dPoint(1.0, 1.0, 0.0, 1.0));
  ASSERT_TRUE(c.MakeNonRational());
  EXPECT_FALSE(c.IsRational());
  EXPECT_EQ(c.m_cv_stride, 2);
  const double expected[3][2] = {{1.0, 2.0}, {3.0, 6.0}, {1.0, 1.0}};
  for (int i = 0; i < 3; i++)
  {
    EXPECT_EQ(c.CV(i)[0], expected[i][0]) << i;
    EXPECT_EQ(c.CV(i)[1], expected[i][1]) << i;
  }
}

TEST(RealLibraryNurbsCurveTest, SetWeightOnANonRationalCurve)
{
  const struct
  {
    double weight;
    bool ok;
    bool rational;
  } cases[] = {
      {1.0, true, true},  // even a weight of 1 makes it rational
      {0.5, true, true},
      {0.0, false, false},
      {-1.0, false, false},
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.weight);
    ON_NurbsCurve n = WrappedCurve(3, 5);
    EXPECT_EQ(n.SetWeight(2, c.weight), c.ok);
    EXPECT_EQ(n.IsRational(), c.rational);
    if (c.ok)
    {
      EXPECT_EQ(n.Weight(2), c.weight);
    }
  }
}

TEST(RealLibraryNurbsCurveTest, MakeRationalKeepsAStrideWithRoomToSpare)
{
  ON_NurbsCurve c;
  ASSERT_TRUE(c.Create(2, false, 2, 2));
  // Re-lay the control points at a padded stride of 4.
  c.ReserveCVCapacity(8);
  const double padded[8] = {1.0, 2.0, -7.0, -7.0, 3.0, 4.0, -7.0, -7.0};
  for (int i = 0; i < 8; i++)
    c.m_cv[i] = padded[i];
  c.m_cv_stride = 4;
  c.m_knot[0] = 0.0;
  c.m_knot[1] = 1.0;
  ASSERT_TRUE(c.MakeRational());
  EXPECT_EQ(c.m_cv_stride, 4);
  EXPECT_EQ(c.CV(1)[0], 3.0);
  EXPECT_EQ(c.CV(1)[1], 4.0);
  EXPECT_EQ(c.Weight(1), 1.0);
}

TEST(RealLibraryNurbsCurveTest, IsValidRefusesWeightsThatLetTheDenominatorVanish)
{
  const struct
  {
    const char* name;
    double w[4];
    bool valid;
  } cases[] = {
      {"all positive", {1.0, 0.5, 2.0, 1.0}, true},          {"all negative", {-1.0, -0.5, -2.0, -1.0}, true},
      {"interior sign change", {1.0, -0.5, 2.0, 1.0}, true},  // only the clamped ends are tested
      {"ends of mixed sign", {1.0, 0.5, 2.0, -1.0}, false},  {"zero at an end", {0.0, 0.5, 2.0, 1.0}, false},
      {"one interior zero", {1.0, 0.0, 2.0, 1.0}, true},
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.name);
    ON_NurbsCurve n;
    ASSERT_TRUE(n.Create(3, true, 3, 4));
    for (int i = 0; i < 4; i++)
      n.SetCV(i, ON_4dPoint(i * c.w[i], (i % 2) * c.w[i], 0.0, c.w[i]));
    ASSERT_TRUE(n.MakeClampedUniformKnotVector(1.0));
    EXPECT_EQ(n.IsValid(), c.valid);
  }
  // Order consecutive zero weights: the denominator is zero on a whole span.
  ON_NurbsCurve n;
  ASSERT_TRUE(n.Create(3, true, 2, 4));
  const double w[4] = {1.0, 0.0, 0.0, 1.0};
  for (int i = 0; i < 4; i++)
    n.SetCV(i, ON_4dPoint(i * w[i], 0.0, 0.0, w[i]));
  ASSERT_TRUE(n.MakeClampedUniformKnotVector(1.0));
  EXPECT_FALSE(n.IsValid());
}

TEST(RealLibraryPointTest, RationalPointsAtInfinityCompareTheirDirections)
{
  const double a[4] = {1.0, 2.0, 3.0, 0.0};
  const double b[4] = {1.0, 2.0, 3.0, 0.0};
  const double c[4] = {2.0, 4.0, 6.0, 0.0};
  const double finite[4] = {1.0, 2.0, 3.0, 1.0};
  EXPECT_TRUE(ON_PointsAreCoincident(3, true, a, b));
  EXPECT_FALSE(ON_PointsAreCoincident(3, true, a, c));
  EXPECT_FALSE(ON_PointsAreCoincident(3, true, a, finite));
}

// ---------------------------------------------------------------------------
// Circles and arcs under scales

TEST(RealLibraryCircleTest, AScaleThatIsNotUniformInThePlaneScalesTheRadiusByTheAreaRule)
{
  // The radius follows sqrt(sx * sy) of the scale within the circle's plane;
  // a scale along the normal alone or a mirror keeps it.
  const struct
  {
    double sx, sy, sz;
    double radius;
    double normal_z;
  } cases[] = {
      {2.0, 2.0, 2.0, 4.0, 1.0},
      {2.0, 1.0, 1.0, 2.8284271247461903, 1.0},
      {3.0, 2.0, 1.0, 4.8989794855663558, 1.0},
      {1.0, 1.0, 5.0, 2.0, 1.0},
      {-1.0, 1.0, 1.0, 2.0, -1.0},
      {2.0, -2.0, 2.0, 4.0, -1.0},
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(testing::Message() << c.sx << " " << c.sy << " " << c.sz);
    const ON_Xform x = ON_Xform::DiagonalTransformation(c.sx, c.sy, c.sz);
    ON_Circle circle(ON_Plane::World_xy, 2.0);
    EXPECT_TRUE(circle.Transform(x));
    EXPECT_EQ(circle.radius, c.radius);
    EXPECT_EQ(circle.plane.zaxis.z, c.normal_z);
    // An arc keeps its angles; an arc curve its domain.
    ON_Arc arc(ON_Circle(ON_3dPoint(1.0, 1.0, 0.0), 2.0), ON_Interval(0.5, 2.0));
    EXPECT_TRUE(arc.Transform(x));
    EXPECT_EQ(arc.radius, c.radius);
    EXPECT_EQ(arc.Domain(), ON_Interval(0.5, 2.0));
    ON_ArcCurve moved(ON_Arc(ON_Circle(ON_3dPoint(1.0, 1.0, 0.0), 2.0), ON_Interval(0.5, 2.0)));
    EXPECT_TRUE(moved.Transform(x));
    EXPECT_EQ(moved.Radius(), c.radius);
    EXPECT_EQ(moved.Domain(), ON_Interval(0.0, 3.0));
  }
  // A tilted circle under a scale of all three axes.
  ON_Circle tilted(ON_Plane(ON_3dPoint(0.0, 0.0, 0.0), ON_3dVector(1.0, 1.0, 1.0)), 1.0);
  tilted.Transform(ON_Xform::DiagonalTransformation(1.0, 2.0, 3.0));
  EXPECT_DOUBLE_EQ(tilted.radius, 2.0103362615063634);
}

// ---------------------------------------------------------------------------
// Transforms

TEST(RealLibraryXformTest, IsZeroIgnoresTheLastEntryUnlessItIsNaN)
{
  const struct
  {
    double last;
    bool zero;
  } cases[] = {{1.0, true}, {0.0, true}, {5.0, true}, {std::nan(""), false}};
  for (const auto& c : cases)
  {
    ON_Xform x = ON_Xform::ZeroTransformation;
    x.m_xform[3][3] = c.last;
    EXPECT_EQ(x.IsZero(), c.zero) << c.last;
  }
  ON_Xform x = ON_Xform::ZeroTransformation;
  x.m_xform[3][0] = 1e-300;
  EXPECT_FALSE(x.IsZero());
}

// openNURBS leaves the partial result of its elimination in a matrix it
// cannot invert; here the matrix is kept as it was.
TEST(RealLibraryXformTest, InvertOfASingularMatrixFailsAndKeepsIt)
{
  ON_Xform flat = ON_Xform::DiagonalTransformation(2.0, 3.0, 0.0);
  flat.m_xform[0][3] = 5.0;
  ON_Xform dependent = ON_Xform::DiagonalTransformation(1.0);
  for (int j = 0; j < 4; j++)
    dependent.m_xform[2][j] = 2.0 * dependent.m_xform[0][j] + dependent.m_xform[1][j];
  ON_Xform zero = ON_Xform::ZeroTransformation;
  zero.m_xform[3][3] = 0.0;
  const ON_Xform cases[] = {flat, dependent, zero};
  for (const ON_Xform& c : cases)
  {
    ON_Xform x = c;
    EXPECT_FALSE(x.Invert());
    for (int i = 0; i < 4; i++)
      for (int j = 0; j < 4; j++)
        EXPECT_EQ(x.m_xform[i][j], c.m_xform[i][j]) << i << "," << j;
  }
}

TEST(RealLibraryXformTest, RotationCleansItsSineAndCosine)
{
  // About +Z through (1, 2, 3): the entries m[0][0], m[0][1] and the x
  // translation m[0][3].
  const struct
  {
    const char* name;
    double s, c;
    double m00, m01, m03;
  } cases[] = {
      {"sine 2: a quarter turn", 2.0, 0.0, 0.0, -1.0, 3.0},
      {"cosine 2: no turn", 0.0, 2.0, 1.0, 0.0, 0.0},
      {"(0.6, 0.6) scaled to an eighth turn", 0.6, 0.6, 0.70710678118654746, -0.70710678118654746, 1.7071067811865475},
      {"both zero: no turn", 0.0, 0.0, 1.0, 0.0, 0.0},
      {"a sine of 1e-9: no turn", 1e-9, 1.0, 1.0, 0.0, 0.0},
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.name);
    ON_Xform r;
    r.Rotation(c.s, c.c, ON_3dVector(0.0, 0.0, 1.0), ON_3dPoint(1.0, 2.0, 3.0));
    EXPECT_EQ(r.m_xform[0][0], c.m00);
    EXPECT_EQ(r.m_xform[0][1], c.m01);
    EXPECT_EQ(r.m_xform[0][3], c.m03);
    EXPECT_EQ(r.m_xform[2][2], 1.0);
  }
  // An axis that is not unit length is unitized.
  ON_Xform r;
  r.Rotation(0.6, 0.8, ON_3dVector(0.0, 0.0, 2.0), ON_3dPoint(0.0, 0.0, 0.0));
  EXPECT_EQ(r.m_xform[0][1], -0.6);
  EXPECT_EQ(r.m_xform[1][0], 0.6);
  // A zero axis leaves the cosine on the diagonal: a quarter turn, all zero.
  r.Rotation(1.0, 0.0, ON_3dVector(0.0, 0.0, 0.0), ON_3dPoint(0.0, 0.0, 0.0));
  for (int i = 0; i < 3; i++)
    for (int j = 0; j < 4; j++)
      EXPECT_EQ(r.m_xform[i][j], 0.0) << i << j;
  EXPECT_EQ(r.m_xform[3][3], 1.0);
}

// ---------------------------------------------------------------------------
// Planes

TEST(RealLibraryPlaneTest, IsValidAllowsAxesAlmostPerpendicular)
{
  const struct
  {
    double skew;
    bool valid;
  } cases[] = {{1e-9, true}, {2e-8, true}, {1e-6, true}, {1e-5, true}, {1e-4, false}};
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.skew);
    ON_Plane p;
    p.xaxis = ON_3dVector(1.0, c.skew, 0.0);
    p.xaxis.Unitize();
    EXPECT_EQ(p.IsValid(), c.valid);
  }
}

TEST(RealLibraryPlaneTest, IsValidTestsTheOriginAgainstTheEquation)
{
  const struct
  {
    const char* name;
    ON_3dPoint origin;
    double d_error;
    bool valid;
  } cases[] = {
      {"near the origin, off by 1e-9", ON_3dPoint(0.0, 0.0, 0.0), 1e-9, false},
      {"near the origin, off by 1e-10", ON_3dPoint(0.0, 0.0, 0.0), 1e-10, true},
      {"far away, off by 1e-9", ON_3dPoint(1e6, 0.0, 0.0), 1e-9, true},
      {"far away, off by 1e-6", ON_3dPoint(1e6, 0.0, 0.0), 1e-6, false},
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.name);
    ON_Plane p;
    p.origin = c.origin;
    p.UpdateEquation();
    p.plane_equation.d += c.d_error;
    EXPECT_EQ(p.IsValid(), c.valid);
  }
  // A normal a little too long.
  ON_Plane p;
  p.zaxis = ON_3dVector(0.0, 0.0, 1.0 + 1e-9);
  EXPECT_TRUE(p.IsValid());
  p.zaxis = ON_3dVector(0.0, 0.0, 1.0 + 1e-7);
  EXPECT_FALSE(p.IsValid());
}

// ---------------------------------------------------------------------------
// Small rules

TEST(RealLibrarySmallRulesTest, ALineCurveIsValidOnlyBeyondTheCoincidenceTolerance)
{
  const struct
  {
    ON_3dPoint from;
    double length;
    bool valid;
  } cases[] = {
      {ON_3dPoint(0.0, 0.0, 0.0), 1e-300, false},
      {ON_3dPoint(0.0, 0.0, 0.0), 1e-12, false},
      {ON_3dPoint(0.0, 0.0, 0.0), 2.3e-10, false},
      {ON_3dPoint(0.0, 0.0, 0.0), 2.4e-10, true},
      {ON_3dPoint(0.0, 0.0, 0.0), 1.0, true},
      {ON_3dPoint(1e6, 0.0, 0.0), 1e-9, false},  // relative to the size of the coordinates
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(testing::Message() << c.from.x << " + " << c.length);
    const ON_LineCurve curve(c.from, c.from + ON_3dVector(c.length, 0.0, 0.0));
    EXPECT_EQ(curve.IsValid(), c.valid);
  }
}

// openNURBS only compares the ends; here they must also be valid points.
TEST(RealLibrarySmallRulesTest, ALineCurveNeedsValidEnds)
{
  const ON_3dPoint good(1.0, 2.0, 3.0);
  const struct
  {
    const char* name;
    ON_3dPoint from, to;
  } cases[] = {
      {"unset start", ON_3dPoint::UnsetPoint, good},
      {"unset end", good, ON_3dPoint::UnsetPoint},
      {"not a number", ON_3dPoint(std::nan(""), 0.0, 0.0), good},
      {"infinite", good, ON_3dPoint(0.0, HUGE_VAL, 0.0)},
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(ON_LineCurve(c.from, c.to).IsValid());
  }
  EXPECT_TRUE(ON_LineCurve(good, ON_3dPoint(0.0, 0.0, 0.0)).IsValid());
}

TEST(RealLibrarySmallRulesTest, NormalizedParameterAt)
{
  const double inf = HUGE_VAL, nan = std::nan("");
  const struct
  {
    double a, b, t;
    double x;  // NaN: the result is NaN
  } cases[] = {
      {1.0, 1.0, 2.0, 1.0},  // an empty interval gives its value
      {5.0, 5.0, 0.0, 5.0},  //
      {2.0, 1.0, 1.5, 0.5},  // decreasing intervals work too
      {0.0, inf, 1.0, 0.0},  //
      {0.0, nan, 0.5, nan},  //
      {nan, 1.0, 0.5, nan},  //
      {0.1, 0.7, 0.7, 1.0},  // exactly 1 at the end
      {0.0, 1.0, nan, ON_UNSET_VALUE},
      {0.0, 1.0, inf, ON_UNSET_VALUE},
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "[" << c.a << ", " << c.b << "] at " << c.t);
    const double x = ON_Interval(c.a, c.b).NormalizedParameterAt(c.t);
    if (std::isnan(c.x))
      EXPECT_TRUE(std::isnan(x));
    else
      EXPECT_EQ(x, c.x);
  }
}

TEST(RealLibrarySmallRulesTest, PolylinePointAtOutsideItsParameters)
{
  ON_Polyline pl;
  pl.Append(ON_3dPoint(0.0, 0.0, 0.0));
  pl.Append(ON_3dPoint(1.0, 0.0, 0.0));
  pl.Append(ON_3dPoint(1.0, 1.0, 0.0));
  const struct
  {
    double t;
    ON_3dPoint p;
  } cases[] = {
      {-1.0, ON_3dPoint(-1.0, 0.0, 0.0)},  // the first segment extended
      {1.5, ON_3dPoint(1.0, 0.5, 0.0)},   {2.0, ON_3dPoint(1.0, 1.0, 0.0)},
      {2.5, ON_3dPoint(1.0, 1.0, 0.0)},  // past the end: the last point
      {1e300, ON_3dPoint(1.0, 1.0, 0.0)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(pl.PointAt(c.t), c.p) << c.t;
  // One point: a one-point polyline curve has no domain.
  ON_3dPointArray one;
  one.Append(ON_3dPoint(1.0, 2.0, 3.0));
  const ON_PolylineCurve curve(one);
  EXPECT_FALSE(curve.Domain().IsValid());
  EXPECT_FALSE(curve.IsValid());
}

TEST(RealLibrarySmallRulesTest, PolyCurveSegmentIndexAndGaps)
{
  ON_PolyCurve chain;
  chain.Append(new ON_LineCurve(ON_3dPoint(0.0, 0.0, 0.0), ON_3dPoint(1.0, 0.0, 0.0)));
  chain.Append(new ON_LineCurve(ON_3dPoint(1.0, 0.0, 0.0), ON_3dPoint(1.0, 1.0, 0.0)));
  const struct
  {
    double t;
    int index;
  } cases[] = {{-1.0, 0}, {0.0, 0}, {0.5, 0}, {1.0, 1}, {2.0, 1}, {3.0, 1}};
  for (const auto& c : cases)
    EXPECT_EQ(chain.SegmentIndex(c.t), c.index) << c.t;
  EXPECT_EQ(ON_PolyCurve().SegmentIndex(0.0), 0);
  EXPECT_TRUE(chain.IsValid());

  const struct
  {
    double gap;
    bool valid;
  } gaps[] = {{0.5, false}, {1e-9, false}, {1e-12, true}};
  for (const auto& g : gaps)
  {
    ON_PolyCurve c;
    c.Append(new ON_LineCurve(ON_3dPoint(0.0, 0.0, 0.0), ON_3dPoint(1.0, 0.0, 0.0)));
    c.Append(new ON_LineCurve(ON_3dPoint(1.0, g.gap, 0.0), ON_3dPoint(1.0, 1.0, 0.0)));
    EXPECT_EQ(c.IsValid(), g.valid) << g.gap;
  }
  // An arc allows 1e-10 of its length.
  ON_PolyCurve c;
  c.Append(new ON_ArcCurve(ON_Arc(ON_Circle(ON_3dPoint(0.0, 0.0, 0.0), 1e3), 0.5 * kPi)));
  c.Append(new ON_LineCurve(ON_3dPoint(1e-8, 1e3, 0.0), ON_3dPoint(-1.0, 1e3, 0.0)));
  EXPECT_TRUE(c.IsValid());
  // A closed segment only as the whole chain.
  ON_PolyCurve closed;
  closed.Append(new ON_ArcCurve(ON_Circle(ON_3dPoint(0.0, 0.0, 0.0), 1.0)));
  EXPECT_TRUE(closed.IsValid());
  closed.Append(new ON_LineCurve(ON_3dPoint(1.0, 0.0, 0.0), ON_3dPoint(2.0, 0.0, 0.0)));
  EXPECT_FALSE(closed.IsValid());
}

// ---------------------------------------------------------------------------
// NURBS surfaces

TEST(RealLibraryNurbsSurfaceTest, SetWeightMakesANonRationalSurfaceRational)
{
  const struct
  {
    double weight;
    bool ok;
    bool rational;
    ON_3dPoint point;  // control point (1, 2) afterwards
  } cases[] = {
      {1.0, true, true, ON_3dPoint(1.0, 2.0, 2.1)},
      {0.5, true, true, ON_3dPoint(2.0, 4.0, 4.2)},
      {0.0, false, false, ON_3dPoint(1.0, 2.0, 2.1)},
      {-2.0, false, false, ON_3dPoint(1.0, 2.0, 2.1)},
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.weight);
    ON_NurbsSurface s;
    ASSERT_TRUE(s.Create(3, false, 2, 2, 2, 3));
    for (int i = 0; i < 2; i++)
      for (int j = 0; j < 3; j++)
        s.SetCV(i, j, ON_3dPoint(i, j, i * j + 0.1));
    EXPECT_EQ(s.SetWeight(1, 2, c.weight), c.ok);
    EXPECT_EQ(s.IsRational(), c.rational);
    ON_3dPoint p;
    ASSERT_TRUE(s.GetCV(1, 2, p));
    EXPECT_DOUBLE_EQ(p.x, c.point.x);
    EXPECT_DOUBLE_EQ(p.y, c.point.y);
    EXPECT_DOUBLE_EQ(p.z, c.point.z);
    // The other control points keep their places.
    ASSERT_TRUE(s.GetCV(0, 1, p));
    EXPECT_EQ(p, ON_3dPoint(0.0, 1.0, 0.1));
  }
}

TEST(RealLibraryNurbsSurfaceTest, GetCVScalesByTheReciprocalOfTheWeight)
{
  ON_NurbsSurface s;
  ASSERT_TRUE(s.Create(3, true, 2, 2, 2, 2));
  s.SetCV(0, 1, ON_4dPoint(0.1, 0.2, 7.0, 7.0));
  ON_3dPoint p;
  ASSERT_TRUE(s.GetCV(0, 1, p));
  // 0.1 * (1 / 7), not 0.1 / 7 (0.014285714285714287).
  EXPECT_EQ(p.x, 0.014285714285714285);
  EXPECT_EQ(p.y, 0.02857142857142857);
  EXPECT_EQ(p.z, 1.0);
}
