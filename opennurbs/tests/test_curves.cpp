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

ON_Polyline Points(std::vector<ON_3dPoint> v)
{
  ON_Polyline p;
  for (const ON_3dPoint& q : v)
    p.Append(q);
  return p;
}

const ON_3dPoint A(0, 0, 0), B(1, 0, 0), C(1, 1, 0), D(0, 1, 0);

struct ClosedCase
{
  const char* name;
  ON_Polyline points;
  double tolerance;
  bool closed;
};

TEST(Polyline, ClosedRule)
{
  const ClosedCase cases[] = {
      {"ABCA", Points({A, B, C, A}), 0.0, true},
      {"ABA", Points({A, B, A}), 0.0, false},
      {"AAAA", Points({A, A, A, A}), 0.0, false},
      {"empty", Points({}), 0.0, false},
      {"ABBA", Points({A, B, B, A}), 0.0, true},
      {"ABCD", Points({A, B, C, D}), 0.0, false},
      {"last a hair off", Points({A, B, C, ON_3dPoint(0, 0, 1e-13)}), 0.0, false},
      {"last off by 1e-9, tolerance 1e-6", Points({A, B, C, ON_3dPoint(1e-9, 0, 0)}), 1e-6, true},
      {"last off by 1e-3, tolerance 1e-6", Points({A, B, C, ON_3dPoint(1e-3, 0, 0)}), 1e-6, false},
      {"interior within tolerance of the ends", Points({A, ON_3dPoint(1e-7, 0, 0), A, A}), 1e-6, false},
  };
  for (const ClosedCase& c : cases)
    EXPECT_EQ(c.points.IsClosed(c.tolerance), c.closed) << c.name;
}

TEST(Polyline, ValidRule)
{
  EXPECT_TRUE(Points({A, B}).IsValid());
  EXPECT_FALSE(Points({A}).IsValid());
  EXPECT_FALSE(Points({A, B, B, C}).IsValid());
  EXPECT_FALSE(Points({A, B, A}).IsValid());
  EXPECT_TRUE(Points({A, B, C, A}).IsValid());
  EXPECT_FALSE(Points({A, B, ON_3dPoint::UnsetPoint}).IsValid());
  EXPECT_FALSE(Points({A, ON_3dPoint(0.5, 0, 0)}).IsValid(1.0));
  EXPECT_EQ(Points({A, B, C}).Length(), 2.0);
}

TEST(LineCurve, DomainIsTheLengthAndEvaluationIsLinear)
{
  const ON_LineCurve l(ON_3dPoint(1, 2, 3), ON_3dPoint(4, 6, 3));
  EXPECT_EQ(l.Domain(), ON_Interval(0.0, 5.0));
  EXPECT_EQ(l.Dimension(), 3);
  EXPECT_EQ(l.m_line.from, ON_3dPoint(1, 2, 3));
  ExpectNear(l.PointAt(2.5), ON_3dPoint(2.5, 4, 3));
  ExpectNear(l.PointAtEnd(), ON_3dPoint(4, 6, 3));
  EXPECT_FALSE(l.IsClosed());
  EXPECT_EQ(ON_LineCurve(ON_3dPoint(1, 1, 1), ON_3dPoint(1, 1, 1 + 1e-11)).Domain(), ON_Interval(0.0, 1.0));
  ON_NurbsCurve n;
  ASSERT_EQ(l.GetNurbForm(n), 1);
  EXPECT_EQ(n.Domain(), l.Domain());
  ExpectNear(n.PointAt(1.0), l.PointAt(1.0));
}

TEST(ArcCurve, DomainIsTheArcLengthAndTheStartIsOnTheXAxis)
{
  const ON_ArcCurve c(ON_Circle(ON_Plane(ON_3dPoint(1, 0, 0), ON_3dVector(0, 0, -1)), 2.5));
  EXPECT_NEAR(c.Domain()[1], 15.707963267948966, 1e-14);
  EXPECT_EQ(c.Domain()[0], 0.0);
  EXPECT_TRUE(c.IsCircle());
  EXPECT_TRUE(c.IsClosed());
  ExpectNear(c.PointAtStart(), ON_3dPoint(-1.5, 0, 0));
  // The plane's y axis is +Y: a quarter along, counter-clockwise about -Z.
  ExpectNear(c.PointAt(c.Domain().ParameterAt(0.25)), ON_3dPoint(1, 2.5, 0));

  const ON_ArcCurve d;
  EXPECT_EQ(d.Domain(), ON_Interval(0.0, 2.0 * ON_PI));
  EXPECT_EQ(d.Dimension(), 3);

  const ON_Arc a(ON_Circle(), ON_Interval(1.5 * ON_PI, 2.5 * ON_PI));
  const ON_ArcCurve ac(a);
  EXPECT_DOUBLE_EQ(ac.Domain()[1], ON_PI);
  EXPECT_FALSE(ac.IsClosed());
  ExpectNear(ac.PointAtStart(), ON_3dPoint(0, -1, 0));
  ExpectNear(ac.PointAtEnd(), ON_3dPoint(0, 1, 0));
  ExpectNear(ac.PointAt(0.5 * ON_PI), ON_3dPoint(1, 0, 0));
  const ON_ArcCurve explicit_domain(a, 3.0, 4.0);
  EXPECT_EQ(explicit_domain.Domain(), ON_Interval(3.0, 4.0));
}

TEST(PolylineCurve, ParametersAreIndicesUnlessGoodOnesAreGiven)
{
  const ON_Polyline p = Points({A, B, C, A});
  const ON_PolylineCurve c(p);
  EXPECT_EQ(c.Domain(), ON_Interval(0.0, 3.0));
  EXPECT_EQ(c.m_pline.Count(), 4);
  EXPECT_EQ(c.Dimension(), 3);
  EXPECT_TRUE(c.IsClosed());
  EXPECT_TRUE(c.IsValid());
  ExpectNear(c.PointAt(1.5), ON_3dPoint(1, 0.5, 0));

  ON_SimpleArray<double> t;
  for (double v : {0.0, 2.0, 3.0, 7.0})
    t.Append(v);
  EXPECT_EQ(ON_PolylineCurve(p, t).Domain(), ON_Interval(0.0, 7.0));
  ON_SimpleArray<double> bad;
  for (double v : {0.0, 2.0, 2.0, 7.0})
    bad.Append(v);
  EXPECT_EQ(ON_PolylineCurve(p, bad).Domain(), ON_Interval(0.0, 3.0));
  bad.Remove();
  EXPECT_EQ(ON_PolylineCurve(p, bad).Domain(), ON_Interval(0.0, 3.0));

  EXPECT_FALSE(ON_PolylineCurve(Points({A, B, A})).IsValid());
  EXPECT_FALSE(ON_PolylineCurve(Points({A, B, B, C})).IsValid());
}

// Counts the curves alive, so ownership shows.
class CountedLine : public ON_LineCurve
{
public:
  static int alive;
  CountedLine() : ON_LineCurve(ON_3dPoint(0, 0, 0), ON_3dPoint(1, 0, 0))
  {
    alive++;
  }
  CountedLine(const CountedLine& o) : ON_LineCurve(o)
  {
    alive++;
  }
  ~CountedLine() override
  {
    alive--;
  }
};
int CountedLine::alive = 0;

// The chain's parameters at its breaks.
void ExpectBreaks(const ON_PolyCurve& pc, const std::vector<double>& expected)
{
  ON_SimpleArray<double> t;
  ASSERT_TRUE(pc.SegmentParameters(t));
  ASSERT_EQ(t.Count(), (int)expected.size());
  for (int i = 0; i < t.Count(); i++)
    EXPECT_EQ(t[i], expected[i]) << i;
}

TEST(PolyCurve, OwnsWhatItAppendsAndChainsTheDomains)
{
  {
    ON_PolyCurve pc;
    EXPECT_FALSE(pc.Append(nullptr));
    EXPECT_FALSE(pc.Append(&pc));
    CountedLine* first = new CountedLine();
    ASSERT_TRUE(pc.Append(first));
    EXPECT_FALSE(pc.Append(first));
    ASSERT_TRUE(pc.Append(new ON_LineCurve(ON_Line(B, C), 0.0, 1.0)));
    ASSERT_TRUE(pc.Append(new ON_ArcCurve(ON_Arc(ON_Circle(), 0.5 * ON_PI), 0.0, 0.5 * ON_PI)));
    EXPECT_EQ(pc.Count(), 3);
    EXPECT_EQ(pc.SegmentCurve(0), first);
    EXPECT_EQ(pc.SegmentCurve(3), nullptr);
    EXPECT_EQ(pc.SegmentCurve(-1), nullptr);
    EXPECT_NE(ON_ArcCurve::Cast(pc.SegmentCurve(2)), nullptr);
    ExpectBreaks(pc, {0.0, 1.0, 2.0, 2.0 + 0.5 * ON_PI});
    EXPECT_EQ(pc.SegmentDomain(1), ON_Interval(1.0, 2.0));
    ExpectNear(pc.PointAt(1.5), ON_3dPoint(1, 0.5, 0));
    ExpectNear(pc.PointAtEnd(), ON_3dPoint(0, 1, 0));

    ON_LineCurve no_domain;
    no_domain.m_t = ON_Interval(1.0, 1.0);
    EXPECT_FALSE(pc.Append(&no_domain));

    const ON_PolyCurve copy(pc);
    // The copy holds copies of its own (plain line curves), not the originals.
    EXPECT_EQ(CountedLine::alive, 1);
    EXPECT_NE(copy.SegmentCurve(0), pc.SegmentCurve(0));
    ExpectNear(copy.PointAt(1.5), ON_3dPoint(1, 0.5, 0));
  }
  EXPECT_EQ(CountedLine::alive, 0);
}

TEST(PolyCurve, AppendChangesTheDimensionOfALaterSegment)
{
  ON_PolyCurve pc;
  ON_LineCurve* two = new ON_LineCurve(ON_3dPoint(0, 0, 5), ON_3dPoint(1, 0, 5));
  two->ChangeDimension(2);
  ASSERT_TRUE(pc.Append(two));
  ON_LineCurve* three = new ON_LineCurve(ON_3dPoint(1, 0, 0), ON_3dPoint(1, 1, 0));
  ASSERT_TRUE(pc.Append(three));
  EXPECT_EQ(three->Dimension(), 2);
  EXPECT_EQ(pc.Dimension(), 2);
  pc.Destroy();
  EXPECT_EQ(pc.Count(), 0);
}
TEST(PolyCurve, PrependPutsTheSegmentFirstAndTheDomainBeforeTheChain)
{
  ON_PolyCurve pc;
  ON_LineCurve* middle = new ON_LineCurve(ON_Line(B, C), 5.0, 6.0);
  ASSERT_TRUE(pc.Prepend(middle));  // the first segment keeps its own domain
  EXPECT_EQ(pc.Domain(), ON_Interval(5.0, 6.0));
  ON_LineCurve* first = new ON_LineCurve(ON_Line(A, B), 0.0, 2.0);
  ASSERT_TRUE(pc.Prepend(first));
  EXPECT_FALSE(pc.Prepend(first));
  EXPECT_FALSE(pc.Prepend(nullptr));
  EXPECT_FALSE(pc.Prepend(&pc));
  ON_LineCurve backwards(ON_Line(A, B), 0.0, 1.0);
  backwards.m_t = ON_Interval(1.0, 0.0);
  EXPECT_FALSE(pc.Prepend(&backwards));
  ON_LineCurve* flat = new ON_LineCurve(ON_3dPoint(0, 0, 3), ON_3dPoint(-1, 0, 3));
  flat->ChangeDimension(2);
  ON_PolyCurve flat_chain;
  ASSERT_TRUE(flat_chain.Append(flat));
  ON_LineCurve* later = new ON_LineCurve(ON_3dPoint(-2, 0, 0), ON_3dPoint(0, 0, 0));
  ASSERT_TRUE(flat_chain.Prepend(later));
  EXPECT_EQ(later->Dimension(), 2);

  EXPECT_EQ(pc.Count(), 2);
  EXPECT_EQ(pc.SegmentCurve(0), first);
  EXPECT_EQ(pc.SegmentCurve(1), middle);
  ExpectBreaks(pc, {3.0, 5.0, 6.0});
  ExpectNear(pc.PointAt(4.0), ON_3dPoint(0.5, 0, 0));
}

// Polyline curves and chains keep their parameters at their breaks; a new
// domain maps them linearly with the ends exact.
TEST(ParameterLists, SetDomainMapsTheBreaksAndRefusesBadDomains)
{
  ON_PolylineCurve pline(Points({A, B, C, D}));
  ON_PolyCurve chain;
  chain.Append(new ON_LineCurve(ON_Line(A, B), 0.0, 1.0));
  chain.Append(new ON_LineCurve(ON_Line(B, C), 0.0, 1.0));
  chain.Append(new ON_LineCurve(ON_Line(C, D), 0.0, 1.0));
  ON_Curve* curves[] = {&pline, &chain};
  for (ON_Curve* c : curves)
  {
    SCOPED_TRACE(c->ClassId()->ClassName());
    EXPECT_EQ(c->Domain(), ON_Interval(0.0, 3.0));
    EXPECT_FALSE(c->SetDomain(2.0, 2.0));
    EXPECT_FALSE(c->SetDomain(3.0, 1.0));
    EXPECT_EQ(c->Domain(), ON_Interval(0.0, 3.0));
    ASSERT_TRUE(c->SetDomain(0.1, 0.7));
    EXPECT_EQ(c->Domain(), ON_Interval(0.1, 0.7)) << "the ends are exact";
    ExpectNear(c->PointAt(0.3), B);
    ExpectNear(c->PointAt(0.5), C);
    ExpectNear(c->PointAt(0.6), ON_3dPoint(0.5, 1, 0));
  }
  ON_PolylineCurve empty_pline;
  ON_PolyCurve empty_chain;
  EXPECT_FALSE(empty_pline.SetDomain(0.0, 1.0));
  EXPECT_FALSE(empty_chain.SetDomain(0.0, 1.0));
  EXPECT_FALSE(empty_chain.Domain().IsIncreasing());
}

// Derivatives of a circle and an ellipse repeat every fourth order.
TEST(ConicDerivatives, CircleAndEllipseDerivativesCycle)
{
  const double t = 0.3, c = std::cos(t), s = std::sin(t);
  ON_Plane plane(ON_3dPoint(5, 6, 7), ON_3dVector(0, 1, 0), ON_3dVector(-1, 0, 0));
  const ON_Circle circle(plane, 2.0);
  const ON_Ellipse ellipse(plane, 2.0, 3.0);
  const struct
  {
    int d;
    double x, y;  // factors of the radii along the plane's axes
  } cases[] = {{0, c, s}, {1, -s, c}, {2, -c, -s}, {3, s, -c}, {4, c, s}, {-1, -s, c}};
  for (const auto& k : cases)
  {
    SCOPED_TRACE(k.d);
    EXPECT_NEAR((circle.DerivativeAt(k.d, t) - (plane.xaxis * (2.0 * k.x) + plane.yaxis * (2.0 * k.y))).Length(), 0.0,
                1e-12);
    EXPECT_NEAR((ellipse.DerivativeAt(k.d, t) - (plane.xaxis * (2.0 * k.x) + plane.yaxis * (3.0 * k.y))).Length(), 0.0,
                1e-12);
  }
  EXPECT_NEAR((circle.TangentAt(t) - (plane.xaxis * -s + plane.yaxis * c)).Length(), 0.0, 1e-12);
}
TEST(ParameterLists, ReverseRunsTheCurveBackOverTheNegatedDomain)
{
  ON_SimpleArray<double> t;
  for (double v : {0.0, 1.0, 3.0, 3.5})
    t.Append(v);
  const ON_PolylineCurve pline(Points({A, B, C, D}), t);
  ON_PolyCurve chain;
  chain.Append(new ON_LineCurve(ON_Line(A, B), 0.0, 1.0));
  chain.Append(new ON_LineCurve(ON_Line(B, C), 0.0, 2.0));
  chain.Append(new ON_LineCurve(ON_Line(C, D), 0.0, 0.5));
  const ON_Curve* curves[] = {&pline, &chain};
  for (const ON_Curve* c : curves)
  {
    SCOPED_TRACE(c->ClassId()->ClassName());
    ON_Curve* r = c->DuplicateCurve();
    ASSERT_TRUE(r->Reverse());
    EXPECT_EQ(r->Domain(), ON_Interval(-3.5, 0.0));
    for (double s : {0.0, 0.5, 1.0, 2.0, 3.0, 3.25, 3.5})
      ExpectNear(r->PointAt(-s), c->PointAt(s));
    delete r;
  }
  ON_PolyCurve reversed(chain);
  ASSERT_TRUE(reversed.Reverse());
  ExpectBreaks(reversed, {-3.5, -3.0, -1.0, 0.0});
  ExpectNear(reversed.SegmentCurve(0)->PointAtStart(), D);
  ExpectNear(reversed.SegmentCurve(2)->PointAtEnd(), A);
  ON_PolyCurve empty;
  EXPECT_FALSE(empty.Reverse());
}
}  // namespace
