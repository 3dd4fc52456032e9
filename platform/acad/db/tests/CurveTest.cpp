// The curve entities and the curve queries, as the host answers them.
#include <cmath>
#include <string>
#include <vector>

#include "DbTest.h"
#include "dbelipse.h"
#include "dbpl.h"
#include "dbspline.h"
#include "gearc3d.h"
#include "gelnsg3d.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTol = 1e-9;

#define EXPECT_POINT_NEAR(actual, ex, ey, ez, tol)                                                                     \
    do {                                                                                                               \
        AcGePoint3d kvP = (actual);                                                                                    \
        EXPECT_NEAR(kvP.x, (ex), (tol));                                                                               \
        EXPECT_NEAR(kvP.y, (ey), (tol));                                                                               \
        EXPECT_NEAR(kvP.z, (ez), (tol));                                                                               \
    } while (0)

AcGePoint3d startOf(const AcDbCurve& c)
{
    AcGePoint3d p(1e300, 1e300, 1e300);
    EXPECT_EQ(c.getStartPoint(p), Acad::eOk);
    return p;
}

AcGePoint3d endOf(const AcDbCurve& c)
{
    AcGePoint3d p(1e300, 1e300, 1e300);
    EXPECT_EQ(c.getEndPoint(p), Acad::eOk);
    return p;
}

AcGePoint3d pointAt(const AcDbCurve& c, double param)
{
    AcGePoint3d p(1e300, 1e300, 1e300);
    EXPECT_EQ(c.getPointAtParam(param, p), Acad::eOk) << "param " << param;
    return p;
}

double distAt(const AcDbCurve& c, double param)
{
    double d = -1.0;
    EXPECT_EQ(c.getDistAtParam(param, d), Acad::eOk) << "param " << param;
    return d;
}

}  // namespace

TEST_F(DbTest, RunTimeClassNamesAreTheHosts)
{
    struct Case {
        AcRxClass* cls;
        const wchar_t* name;
        const wchar_t* dxf;
    } cases[] = {
        {AcDbCircle::desc(), L"AcDbCircle", L"CIRCLE"},
        {AcDbArc::desc(), L"AcDbArc", L"ARC"},
        {AcDbEllipse::desc(), L"AcDbEllipse", L"ELLIPSE"},
        {AcDbSpline::desc(), L"AcDbSpline", L"SPLINE"},
        {AcDbRay::desc(), L"AcDbRay", L"RAY"},
        {AcDbXline::desc(), L"AcDbXline", L"XLINE"},
        {AcDbPolyline::desc(), L"AcDbPolyline", L"LWPOLYLINE"},
        {AcDb2dPolyline::desc(), L"AcDb2dPolyline", L"POLYLINE"},
        {AcDb3dPolyline::desc(), L"AcDb3dPolyline", L"POLYLINE"},
        {AcDb2dVertex::desc(), L"AcDb2dVertex", L"VERTEX"},
        {AcDb3dPolylineVertex::desc(), L"AcDb3dPolylineVertex", L"VERTEX"},
        {AcDbSequenceEnd::desc(), L"AcDbSequenceEnd", L"SEQEND"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.cls->name(), c.name);
        EXPECT_STREQ(c.cls->dxfName(), c.dxf);
        EXPECT_TRUE(c.cls->isDerivedFrom(AcDbEntity::desc())) << c.name;
    }
    // Arc and circle are siblings under the curve class, as in the host.
    EXPECT_FALSE(AcDbArc::desc()->isDerivedFrom(AcDbCircle::desc()));
    EXPECT_TRUE(AcDbArc::desc()->isDerivedFrom(AcDbCurve::desc()));
    EXPECT_TRUE(AcDb2dVertex::desc()->isDerivedFrom(AcDbVertex::desc()));
    auto* arc = new AcDbArc();
    EXPECT_STREQ(arc->isA()->name(), L"AcDbArc");
    delete arc;
}

// The entity's x axis: world Y x N when both |N.x| and |N.y| are below 1/64,
// else world Z x N; angles run counter-clockwise about N from it.
TEST_F(DbTest, ArcEndsFollowTheArbitraryAxisRule)
{
    const double r = 2.0;
    const double edge = 1.0 / 64.0;
    const double rest = std::sqrt(1.0 - edge * edge);
    struct Case {
        AcGeVector3d normal;
        AcGeVector3d xAxis;
    } cases[] = {
        {AcGeVector3d(0, 0, 1), AcGeVector3d(1, 0, 0)},
        {AcGeVector3d(0, 0, -1), AcGeVector3d(-1, 0, 0)},
        {AcGeVector3d(1, 0, 0), AcGeVector3d(0, 1, 0)},
        {AcGeVector3d(0, -1, 0), AcGeVector3d(1, 0, 0)},
        // Exactly 1/64 takes the world Z rule; just below it the world Y rule.
        {AcGeVector3d(edge, 0, rest), AcGeVector3d(0, 1, 0)},
        {AcGeVector3d(edge * 0.999, 0, std::sqrt(1.0 - edge * edge * 0.998)),
         AcGeVector3d(0, 1, 0)
             .crossProduct(AcGeVector3d(edge * 0.999, 0, std::sqrt(1.0 - edge * edge * 0.998)))
             .normal()},
    };
    const AcGePoint3d c(1, 2, 3);
    for (const Case& k : cases) {
        AcGeVector3d n = k.normal.normal();
        AcGeVector3d x = k.xAxis.normal();
        AcGeVector3d y = n.crossProduct(x);
        AcDbArc arc(c, n, r, kPi / 2, kPi);
        AcGePoint3d s = startOf(arc), e = endOf(arc);
        AcGePoint3d es = c + y * r, ee = c - x * r;
        EXPECT_POINT_NEAR(s, es.x, es.y, es.z, kTol);
        EXPECT_POINT_NEAR(e, ee.x, ee.y, ee.z, kTol);
        EXPECT_TRUE(acdbStandinEcsXAxis(n).isEqualTo(x, AcGeTol())) << n.x << " " << n.y << " " << n.z;
    }
}

TEST_F(DbTest, ArcAnglesAreFoldedAndItsParametersRunUpward)
{
    auto* arc = new AcDbArc();
    ASSERT_EQ(arc->setCenter(AcGePoint3d(0, 0, 0)), Acad::eOk);
    ASSERT_EQ(arc->setRadius(1.0), Acad::eOk);
    ASSERT_EQ(arc->setStartAngle(-kPi / 2), Acad::eOk);
    ASSERT_EQ(arc->setEndAngle(3 * kPi), Acad::eOk);
    EXPECT_NEAR(arc->startAngle(), 3 * kPi / 2, kTol);
    EXPECT_NEAR(arc->endAngle(), kPi, kTol);
    EXPECT_NEAR(arc->totalAngle(), 3 * kPi / 2, kTol);
    EXPECT_FALSE(arc->isClosed());

    // Crossing angle 0: from 3 pi / 2 to pi / 2 through the x axis.
    ASSERT_EQ(arc->setEndAngle(kPi / 2), Acad::eOk);
    double s = 0, e = 0;
    ASSERT_EQ(arc->getStartParam(s), Acad::eOk);
    ASSERT_EQ(arc->getEndParam(e), Acad::eOk);
    EXPECT_NEAR(s, 3 * kPi / 2, kTol);
    EXPECT_NEAR(e, 5 * kPi / 2, kTol);
    EXPECT_POINT_NEAR(pointAt(*arc, 2 * kPi), 1, 0, 0, kTol);
    EXPECT_NEAR(distAt(*arc, e), kPi, 1e-9);
    double p = 0;
    ASSERT_EQ(arc->getParamAtPoint(AcGePoint3d(1, 0, 0), p), Acad::eOk);
    EXPECT_NEAR(p, 2 * kPi, 1e-7);
    AcGePoint3d q;
    EXPECT_EQ(arc->getPointAtParam(kPi, q), Acad::eInvalidInput);  // on the circle, not on the arc
    EXPECT_EQ(arc->getParamAtPoint(AcGePoint3d(-1, 0, 0), p), Acad::eInvalidInput);
    delete arc;
}

TEST_F(DbTest, CircleAndArcRefuseBadValues)
{
    auto* circle = new AcDbCircle(AcGePoint3d(1, 1, 1), AcGeVector3d(0, 0, 2), 3.0);
    auto* arc = new AcDbArc(AcGePoint3d(1, 1, 1), AcGeVector3d(0, 0, 2), 3.0, 0.0, 1.0);
    EXPECT_TRUE(circle->normal().isEqualTo(AcGeVector3d(0, 0, 1)));
    const double nan = std::nan("");
    for (double bad : {0.0, -1.0, nan, HUGE_VAL}) {
        EXPECT_EQ(circle->setRadius(bad), Acad::eInvalidInput) << bad;
        EXPECT_EQ(arc->setRadius(bad), Acad::eInvalidInput) << bad;
    }
    EXPECT_EQ(circle->setNormal(AcGeVector3d(0, 0, 0)), Acad::eInvalidInput);
    EXPECT_EQ(arc->setNormal(AcGeVector3d(nan, 0, 1)), Acad::eInvalidInput);
    EXPECT_EQ(arc->setStartAngle(nan), Acad::eInvalidInput);
    EXPECT_EQ(circle->radius(), 3.0);
    EXPECT_EQ(arc->radius(), 3.0);
    EXPECT_TRUE(arc->normal().isEqualTo(AcGeVector3d(0, 0, 1)));
    EXPECT_EQ(arc->startAngle(), 0.0);

    AcDbObjectId id = append(circle);
    AcDbCircle* open = nullptr;
    ASSERT_EQ(acdbOpenObject(open, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(open->setRadius(5.0), Acad::eNotOpenForWrite);
    EXPECT_EQ(open->radius(), 3.0);
    EXPECT_TRUE(open->isClosed());
    double e = 0;
    ASSERT_EQ(open->getEndParam(e), Acad::eOk);
    EXPECT_NEAR(e, 2 * kPi, kTol);
    EXPECT_NEAR(distAt(*open, e), 6 * kPi, 1e-9);
    EXPECT_POINT_NEAR(startOf(*open), 4, 1, 1, kTol);
    open->close();
    delete arc;
}

TEST_F(DbTest, EllipseParametersAnglesAndRefusals)
{
    auto* ellipse = new AcDbEllipse();
    EXPECT_TRUE(ellipse->isNull());
    const AcGePoint3d c(1, 2, 0);
    const AcGeVector3d z(0, 0, 1), major(4, 0, 0);
    const double nan = std::nan("");
    struct Bad {
        AcGeVector3d normal, major;
        double ratio;
    } bad[] = {
        {z, major, 1.5},
        {z, major, 0.0},
        {z, major, -0.5},
        {z, major, nan},
        {AcGeVector3d(0, 0, 0), major, 0.5},
        {z, AcGeVector3d(0, 0, 0), 0.5},
        {AcGeVector3d(1, 0, 1), major, 0.5},  // not perpendicular
    };
    for (const Bad& b : bad)
        EXPECT_EQ(ellipse->set(c, b.normal, b.major, b.ratio), Acad::eInvalidInput) << b.ratio;
    EXPECT_TRUE(ellipse->isNull());

    ASSERT_EQ(ellipse->set(c, AcGeVector3d(0, 0, 3), major, 0.5), Acad::eOk);
    EXPECT_FALSE(ellipse->isNull());
    EXPECT_TRUE(ellipse->normal().isEqualTo(z));
    EXPECT_TRUE(ellipse->minorAxis().isEqualTo(AcGeVector3d(0, 2, 0)));
    EXPECT_TRUE(ellipse->isClosed());
    EXPECT_EQ(ellipse->startAngle(), 0.0);
    EXPECT_NEAR(ellipse->endAngle(), 2 * kPi, kTol);
    EXPECT_EQ(ellipse->setRadiusRatio(1.01), Acad::eInvalidInput);
    EXPECT_EQ(ellipse->radiusRatio(), 0.5);

    // tan t = tan angle / ratio, in the angle's own quadrant.
    struct Angle {
        double angle, param;
    } angles[] = {
        {0.0, 0.0},         {kPi / 4, std::atan(2.0)},           {3 * kPi / 4, kPi - std::atan(2.0)},
        {kPi, kPi},         {5 * kPi / 4, kPi + std::atan(2.0)}, {7 * kPi / 4, 2 * kPi - std::atan(2.0)},
        {2 * kPi, 2 * kPi},
    };
    for (const Angle& a : angles) {
        EXPECT_NEAR(ellipse->paramAtAngle(a.angle), a.param, kTol) << a.angle;
        EXPECT_NEAR(ellipse->angleAtParam(a.param), a.angle, kTol) << a.param;
    }

    // An elliptical arc from 45 to 135 degrees starts on the 45-degree ray.
    ASSERT_EQ(ellipse->setStartAngle(kPi / 4), Acad::eOk);
    ASSERT_EQ(ellipse->setEndAngle(3 * kPi / 4), Acad::eOk);
    EXPECT_FALSE(ellipse->isClosed());
    AcGePoint3d s = startOf(*ellipse);
    EXPECT_NEAR(std::atan2(s.y - c.y, s.x - c.x), kPi / 4, kTol);
    AcGePoint3d e = endOf(*ellipse);
    EXPECT_NEAR(std::atan2(e.y - c.y, e.x - c.x), 3 * kPi / 4, kTol);
    double sp = 0, ep = 0;
    ASSERT_EQ(ellipse->getStartParam(sp), Acad::eOk);
    ASSERT_EQ(ellipse->getEndParam(ep), Acad::eOk);
    EXPECT_NEAR(sp, std::atan(2.0), kTol);
    EXPECT_NEAR(ep, kPi - std::atan(2.0), kTol);
    delete ellipse;

    // The constructor with refused data leaves the empty ellipse.
    AcDbEllipse wrong(c, z, major, 2.0);
    EXPECT_TRUE(wrong.isNull());
}

TEST_F(DbTest, SplineNurbsDataRoundTripAndEvaluation)
{
    AcGePoint3dArray ctrl =
        arrayOf({AcGePoint3d(0, 0, 0), AcGePoint3d(1, 2, 0), AcGePoint3d(3, 2, 0), AcGePoint3d(4, 0, 1)});
    AcGeDoubleArray knots, weights;
    for (double k : {0.0, 0.0, 0.0, 0.0, 1.0, 1.0, 1.0, 1.0})
        knots.append(k);
    for (int i = 0; i < 4; ++i)
        weights.append(1.0);
    auto* spline = new AcDbSpline(3, false, false, false, ctrl, knots, weights);
    ASSERT_FALSE(spline->isNull());

    int degree = 0;
    Adesk::Boolean rational = true, closed = true, periodic = true;
    AcGePoint3dArray outCtrl;
    AcGeDoubleArray outKnots, outWeights;
    double ct = -1, kt = -1;
    ASSERT_EQ(spline->getNurbsData(degree, rational, closed, periodic, outCtrl, outKnots, outWeights, ct, kt),
              Acad::eOk);
    EXPECT_EQ(degree, 3);
    EXPECT_FALSE(rational);
    EXPECT_FALSE(closed);
    EXPECT_FALSE(periodic);
    EXPECT_EQ(outCtrl, ctrl);
    EXPECT_EQ(outKnots, knots);
    EXPECT_EQ(outWeights, weights);
    EXPECT_EQ(ct, 0.0);
    EXPECT_EQ(kt, 0.0);

    // A Bezier segment at t = 1/2: (P0 + 3 P1 + 3 P2 + P3) / 8.
    EXPECT_POINT_NEAR(pointAt(*spline, 0.5), 2.0, 1.5, 0.125, kTol);
    EXPECT_POINT_NEAR(startOf(*spline), 0, 0, 0, kTol);
    EXPECT_POINT_NEAR(endOf(*spline), 4, 0, 1, kTol);
    EXPECT_FALSE(spline->isClosed());
    delete spline;

    // A rational quarter circle stays on the unit circle.
    AcGePoint3dArray q = arrayOf({AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0), AcGePoint3d(0, 1, 0)});
    AcGeDoubleArray qk = arrayOf({0.0, 0.0, 0.0, 1.0, 1.0, 1.0});
    AcGeDoubleArray qw = arrayOf({1.0, std::sqrt(0.5), 1.0});
    AcDbSpline quarter(2, true, false, false, q, qk, qw);
    ASSERT_FALSE(quarter.isNull());
    EXPECT_TRUE(quarter.isRational());
    for (double t : {0.1, 0.3, 0.5, 0.9})
        EXPECT_NEAR(pointAt(quarter, t).asVector().length(), 1.0, 1e-12) << t;
    EXPECT_NEAR(distAt(quarter, 1.0), kPi / 2, 1e-9);
}

TEST_F(DbTest, SplineDataThatCannotMakeACurveIsRefused)
{
    auto make = [](int n) {
        AcGePoint3dArray a;
        for (int i = 0; i < n; ++i)
            a.append(AcGePoint3d(i, i * i, 0));
        return a;
    };
    auto list = [](std::initializer_list<double> v) {
        AcGeDoubleArray a;
        for (double x : v)
            a.append(x);
        return a;
    };
    const double nan = std::nan("");
    struct Case {
        const char* what;
        int degree;
        bool rational;
        AcGePoint3dArray ctrl;
        AcGeDoubleArray knots, weights;
    } cases[] = {
        {"degree 0", 0, false, make(4), list({0, 0, 0, 0, 1}), list({})},
        {"fewer controls than the order", 3, false, make(3), list({0, 0, 0, 0, 1, 1, 1}), list({})},
        {"knot count", 3, false, make(4), list({0, 0, 0, 1, 1, 1}), list({})},
        {"decreasing knots", 3, false, make(4), list({0, 0, 0, 0, 1, 1, 0.5, 1}), list({})},
        {"empty knot range", 3, false, make(4), list({0, 0, 0, 0, 0, 0, 0, 0}), list({})},
        {"zero weight", 3, true, make(4), list({0, 0, 0, 0, 1, 1, 1, 1}), list({1, 0, 1, 1})},
        {"weight count", 3, true, make(4), list({0, 0, 0, 0, 1, 1, 1, 1}), list({1, 1, 1})},
        {"nan knot", 3, false, make(4), list({0, 0, 0, 0, nan, 1, 1, 1}), list({})},
    };
    for (Case& c : cases) {
        AcDbSpline fresh(c.degree, c.rational, false, false, c.ctrl, c.knots, c.weights);
        EXPECT_TRUE(fresh.isNull()) << c.what;
        EXPECT_EQ(fresh.setNurbsData(c.degree, c.rational, false, false, c.ctrl, c.knots, c.weights),
                  Acad::eInvalidInput)
            << c.what;
        AcGePoint3d p;
        EXPECT_NE(fresh.getStartPoint(p), Acad::eOk) << c.what;
    }
    // A refusal keeps the spline's earlier data.
    AcDbSpline kept(1, false, false, false, make(2), list({0, 0, 1, 1}), list({}));
    ASSERT_FALSE(kept.isNull());
    EXPECT_EQ(kept.setNurbsData(3, false, false, false, make(3), list({0, 0, 0, 0, 1, 1, 1}), list({})),
              Acad::eInvalidInput);
    EXPECT_EQ(kept.degree(), 1);
    EXPECT_EQ(kept.numControlPoints(), 2);
}

TEST_F(DbTest, PeriodicSplineHoldsOneLoopOfControlsAndOneMoreKnot)
{
    // A uniform cubic loop on the four corners of a square: four control
    // points, five knots.
    AcGePoint3dArray ctrl =
        arrayOf({AcGePoint3d(1, -1, 0), AcGePoint3d(1, 1, 0), AcGePoint3d(-1, 1, 0), AcGePoint3d(-1, -1, 0)});
    AcGeDoubleArray knots, weights;
    for (double k : {0.0, 1.0, 2.0, 3.0, 4.0})
        knots.append(k);
    AcDbSpline loop(3, false, true, true, ctrl, knots, weights);
    ASSERT_FALSE(loop.isNull());

    int degree = 0;
    Adesk::Boolean rational = true, closed = false, periodic = false;
    AcGePoint3dArray outCtrl;
    AcGeDoubleArray outKnots, outWeights;
    double ct = -1, kt = -1;
    ASSERT_EQ(loop.getNurbsData(degree, rational, closed, periodic, outCtrl, outKnots, outWeights, ct, kt), Acad::eOk);
    EXPECT_EQ(degree, 3);
    EXPECT_TRUE(periodic);
    EXPECT_TRUE(closed);
    EXPECT_EQ(outCtrl, ctrl);
    EXPECT_EQ(outKnots, knots);
    EXPECT_EQ(outWeights.length(), 4);

    EXPECT_TRUE(loop.isPeriodic());
    EXPECT_TRUE(loop.isClosed());
    double s = -1, e = -1;
    ASSERT_EQ(loop.getStartParam(s), Acad::eOk);
    ASSERT_EQ(loop.getEndParam(e), Acad::eOk);
    EXPECT_EQ(s, 0.0);
    EXPECT_EQ(e, 4.0);
    // At each knot a uniform cubic sits at (P[i-1] + 4 P[i] + P[i+1]) / 6,
    // the control points taken round the loop.
    for (int i = 0; i <= 4; ++i) {
        const AcGePoint3d a = ctrl[i % 4], b = ctrl[(i + 1) % 4], c = ctrl[(i + 2) % 4];
        const AcGePoint3d expected = AcGePoint3d::kOrigin + (a.asVector() + b.asVector() * 4 + c.asVector()) / 6;
        SCOPED_TRACE(i);
        EXPECT_POINT_NEAR(pointAt(loop, i), expected.x, expected.y, expected.z, kTol);
    }
    EXPECT_TRUE(startOf(loop).isEqualTo(endOf(loop)));
    // The square's symmetry: each span is a quarter of the loop.
    const double whole = distAt(loop, 4.0);
    EXPECT_GT(whole, 4.0);
    EXPECT_NEAR(distAt(loop, 1.0), whole / 4, 1e-7);
    EXPECT_NEAR(distAt(loop, 3.0), whole * 3 / 4, 1e-7);

    // The periodic form needs the periodic flag, a rising period and a loop
    // of at least degree + 1 control points.
    AcGeDoubleArray falling = arrayOf({0.0, 1.0, 3.0, 2.0, 4.0});
    AcGePoint3dArray three(ctrl);
    three.removeLast();
    AcGeDoubleArray fourKnots(knots);
    fourKnots.removeLast();
    AcDbSpline refused;
    EXPECT_EQ(refused.setNurbsData(3, false, true, false, ctrl, knots, weights), Acad::eInvalidInput);
    EXPECT_EQ(refused.setNurbsData(3, false, true, true, ctrl, falling, weights), Acad::eInvalidInput);
    EXPECT_EQ(refused.setNurbsData(3, false, true, true, three, fourKnots, weights), Acad::eInvalidInput);
    EXPECT_TRUE(refused.isNull());

    // The clamped form stays what it was, periodic flag or not.
    AcGeDoubleArray clamped = arrayOf({0.0, 0.0, 0.0, 0.0, 1.0, 1.0, 1.0, 1.0});
    AcDbSpline open(3, false, false, true, ctrl, clamped, weights);
    ASSERT_FALSE(open.isNull());
    EXPECT_POINT_NEAR(startOf(open), 1, -1, 0, kTol);
    EXPECT_POINT_NEAR(endOf(open), -1, -1, 0, kTol);
}

TEST_F(DbTest, FitSplinePassesThroughItsPoints)
{
    AcGePoint3dArray fit = arrayOf({AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0), AcGePoint3d(2, 0, 0.5),
                                    AcGePoint3d(4, 2, 0), AcGePoint3d(5, -1, 1)});
    AcDbSpline spline(fit, 4, 0.0);
    ASSERT_FALSE(spline.isNull());
    EXPECT_EQ(spline.degree(), 3);
    EXPECT_EQ(spline.numFitPoints(), 5);
    EXPECT_POINT_NEAR(startOf(spline), 0, 0, 0, 1e-9);
    EXPECT_POINT_NEAR(endOf(spline), 5, -1, 1, 1e-9);
    for (const AcGePoint3d& p : fit) {
        double param = -1;
        EXPECT_EQ(spline.getParamAtPoint(p, param), Acad::eOk) << p.x;
    }

    // Many points are solved in band storage, quickly and without a large matrix.
    AcGePoint3dArray many;
    for (int i = 0; i < 20000; ++i)
        many.append(AcGePoint3d(i, std::sin(i * 0.01) * 50, 0));
    AcDbSpline wave(many);
    ASSERT_FALSE(wave.isNull());
    EXPECT_EQ(wave.numControlPoints(), 20000);
    EXPECT_POINT_NEAR(endOf(wave), 19999, std::sin(199.99) * 50, 0, 1e-6);

    AcGePoint3dArray two = arrayOf({AcGePoint3d(0, 0, 0), AcGePoint3d(3, 4, 0)});
    AcDbSpline line(two);
    ASSERT_FALSE(line.isNull());
    EXPECT_EQ(line.degree(), 1);
    EXPECT_NEAR(distAt(line, 1.0), 5.0, 1e-9);

    AcGePoint3dArray one = arrayOf({AcGePoint3d(1, 1, 1), AcGePoint3d(1, 1, 1)});
    EXPECT_TRUE(AcDbSpline(one).isNull());
    EXPECT_TRUE(AcDbSpline(AcGePoint3dArray()).isNull());
    EXPECT_TRUE(AcDbSpline(fit, 1).isNull());
}

TEST_F(DbTest, RayAndXlineAreUnboundedLines)
{
    auto* ray = new AcDbRay();
    ray->setBasePoint(AcGePoint3d(1, 2, 3));
    ray->setUnitDir(AcGeVector3d(0, 0, 5));
    EXPECT_TRUE(ray->unitDir().isEqualTo(AcGeVector3d(0, 0, 1)));
    ray->setUnitDir(AcGeVector3d(0, 0, 0));  // ignored
    EXPECT_TRUE(ray->unitDir().isEqualTo(AcGeVector3d(0, 0, 1)));
    double p = -1;
    EXPECT_EQ(ray->getStartParam(p), Acad::eOk);
    EXPECT_EQ(p, 0.0);
    EXPECT_EQ(ray->getEndParam(p), Acad::eNotApplicable);
    AcGePoint3d end;
    EXPECT_EQ(ray->getEndPoint(end), Acad::eNotApplicable);
    EXPECT_POINT_NEAR(startOf(*ray), 1, 2, 3, 0.0);
    EXPECT_POINT_NEAR(pointAt(*ray, 2.5), 1, 2, 5.5, kTol);
    EXPECT_EQ(ray->getPointAtParam(-1.0, end), Acad::eInvalidInput);
    EXPECT_FALSE(ray->isClosed());
    append(ray);

    auto* xline = new AcDbXline();
    xline->setBasePoint(AcGePoint3d(0, 0, 0));
    xline->setUnitDir(AcGeVector3d(3, 4, 0));
    EXPECT_TRUE(xline->unitDir().isEqualTo(AcGeVector3d(0.6, 0.8, 0)));
    EXPECT_EQ(xline->getStartParam(p), Acad::eNotApplicable);
    EXPECT_EQ(xline->getEndParam(p), Acad::eNotApplicable);
    EXPECT_POINT_NEAR(pointAt(*xline, -5.0), -3, -4, 0, kTol);
    ASSERT_EQ(xline->getParamAtPoint(AcGePoint3d(6, 8, 0), p), Acad::eOk);
    EXPECT_NEAR(p, 10.0, kTol);
    delete xline;
}

TEST_F(DbTest, LightweightPolylineVerticesAndSegmentTypes)
{
    auto* pl = new AcDbPolyline();
    EXPECT_EQ(pl->segType(0), AcDbPolyline::kEmpty);
    ASSERT_EQ(pl->addVertexAt(0, AcGePoint2d(0, 0)), Acad::eOk);
    EXPECT_EQ(pl->segType(0), AcDbPolyline::kPoint);
    ASSERT_EQ(pl->addVertexAt(5, AcGePoint2d(4, 0), 1.0), Acad::eOk);  // past the end: appended
    ASSERT_EQ(pl->addVertexAt(1, AcGePoint2d(2, 0), 0.0), Acad::eOk);  // inserted before vertex 1
    ASSERT_EQ(pl->setBulgeAt(1, -1.0), Acad::eOk);
    ASSERT_EQ(pl->addVertexAt(3, AcGePoint2d(4, 0)), Acad::eOk);  // repeats the last vertex
    ASSERT_EQ(pl->numVerts(), 4u);
    AcGePoint3d p;
    ASSERT_EQ(pl->getPointAt(1, p), Acad::eOk);
    EXPECT_POINT_NEAR(p, 2, 0, 0, 0.0);
    EXPECT_EQ(pl->getPointAt(4, p), Acad::eInvalidIndex);
    EXPECT_EQ(pl->addVertexAt(0, AcGePoint2d(std::nan(""), 0)), Acad::eInvalidInput);

    struct Seg {
        unsigned int index;
        AcDbPolyline::SegType open, closed;
    } segs[] = {
        {0, AcDbPolyline::kLine, AcDbPolyline::kLine},
        {1, AcDbPolyline::kArc, AcDbPolyline::kArc},
        {2, AcDbPolyline::kCoincident, AcDbPolyline::kCoincident},
        {3, AcDbPolyline::kEmpty, AcDbPolyline::kLine},
        {4, AcDbPolyline::kEmpty, AcDbPolyline::kEmpty},
    };
    for (const Seg& s : segs)
        EXPECT_EQ(pl->segType(s.index), s.open) << s.index;
    pl->setClosed(true);
    EXPECT_TRUE(pl->isClosed());
    for (const Seg& s : segs)
        EXPECT_EQ(pl->segType(s.index), s.closed) << s.index;

    AcGeLineSeg3d line;
    ASSERT_EQ(pl->getLineSegAt(3, line), Acad::eOk);  // the closing segment
    EXPECT_POINT_NEAR(line.startPoint(), 4, 0, 0, 0.0);
    EXPECT_POINT_NEAR(line.endPoint(), 0, 0, 0, 0.0);
    EXPECT_EQ(pl->getLineSegAt(1, line), Acad::eNotApplicable);
    EXPECT_EQ(pl->getLineSegAt(9, line), Acad::eInvalidIndex);
    AcGeCircArc3d arc;
    EXPECT_EQ(pl->getArcSegAt(0, arc), Acad::eNotApplicable);
    delete pl;
}

// Bulge b = tan(theta / 4); the arc runs counter-clockwise about the segment's
// normal, which is the polyline's for b > 0 and the reverse for b < 0.
TEST_F(DbTest, PolylineArcSegmentsComeFromTheBulge)
{
    struct Case {
        double bulge;
        double radius;
        AcGePoint3d center;
        AcGePoint3d middle;  // the arc's point halfway
        double normalZ;
    } cases[] = {
        {1.0, 1.0, AcGePoint3d(1, 0, 0), AcGePoint3d(1, -1, 0), 1.0},
        {-1.0, 1.0, AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0), -1.0},
        {0.5, 1.25, AcGePoint3d(1, 0.75, 0), AcGePoint3d(1, -0.5, 0), 1.0},
        {-2.0, 1.25, AcGePoint3d(1, 0.75, 0), AcGePoint3d(1, 2.0, 0), -1.0},
    };
    for (const Case& c : cases) {
        AcDbPolyline pl;
        ASSERT_EQ(pl.addVertexAt(0, AcGePoint2d(0, 0), c.bulge), Acad::eOk);
        ASSERT_EQ(pl.addVertexAt(1, AcGePoint2d(2, 0)), Acad::eOk);
        ASSERT_EQ(pl.segType(0), AcDbPolyline::kArc);
        AcGeCircArc3d arc;
        ASSERT_EQ(pl.getArcSegAt(0, arc), Acad::eOk);
        EXPECT_NEAR(arc.radius(), c.radius, kTol) << c.bulge;
        EXPECT_POINT_NEAR(arc.center(), c.center.x, c.center.y, c.center.z, kTol);
        EXPECT_NEAR(arc.normal().z, c.normalZ, kTol);
        EXPECT_POINT_NEAR(arc.startPoint(), 0, 0, 0, kTol);
        EXPECT_POINT_NEAR(arc.endPoint(), 2, 0, 0, kTol);
        EXPECT_POINT_NEAR(arc.evalPoint((arc.startAng() + arc.endAng()) / 2), c.middle.x, c.middle.y, c.middle.z, kTol);
        // The curve queries agree: the segment's middle at parameter 0.5.
        EXPECT_POINT_NEAR(pointAt(pl, 0.5), c.middle.x, c.middle.y, c.middle.z, kTol);
        EXPECT_NEAR(distAt(pl, 1.0), c.radius * 4 * std::atan(std::fabs(c.bulge)), 1e-9);
    }
}

TEST_F(DbTest, PolylinePlaneMapsToTheWorld)
{
    AcDbPolyline pl;
    ASSERT_EQ(pl.addVertexAt(0, AcGePoint2d(1, 2)), Acad::eOk);
    ASSERT_EQ(pl.addVertexAt(1, AcGePoint2d(3, 2)), Acad::eOk);
    ASSERT_EQ(pl.setNormal(AcGeVector3d(0, 0, -1)), Acad::eOk);
    pl.setElevation(3.0);
    // Normal -Z: x axis (-1, 0, 0), y axis (0, 1, 0), height along -Z.
    AcGePoint3d p;
    ASSERT_EQ(pl.getPointAt(0, p), Acad::eOk);
    EXPECT_POINT_NEAR(p, -1, 2, -3, kTol);
    AcGePoint2d q;
    ASSERT_EQ(pl.getPointAt(0, q), Acad::eOk);
    EXPECT_EQ(q, AcGePoint2d(1, 2));
    EXPECT_POINT_NEAR(endOf(pl), -3, 2, -3, kTol);
    EXPECT_EQ(pl.setNormal(AcGeVector3d()), Acad::eInvalidInput);
}

TEST_F(DbTest, PolylineVerticesAreOwnedObjects)
{
    auto* pl = new AcDb3dPolyline();
    const AcGePoint3d pts[] = {AcGePoint3d(0, 0, 0), AcGePoint3d(3, 0, 0), AcGePoint3d(3, 4, 0), AcGePoint3d(0, 4, 1)};
    // Before the polyline is resident, as the host allows: each vertex is closed at once.
    for (const AcGePoint3d& p : pts) {
        auto* v = new AcDb3dPolylineVertex(p);
        AcDbObjectId id;
        ASSERT_EQ(pl->appendVertex(id, v), Acad::eOk);
        EXPECT_TRUE(id.isNull());
        EXPECT_EQ(v->close(), Acad::eOk);
    }
    EXPECT_EQ(pl->appendVertex(nullptr), Acad::eNullEntityPointer);
    ASSERT_EQ(pl->makeClosed(), Acad::eOk);
    {
        AcDbObjectIterator* it = pl->vertexIterator();
        int n = 0;
        for (; !it->done(); it->step(), ++n) {
            EXPECT_TRUE(it->objectId().isNull());
            ASSERT_NE(it->entity(), nullptr);
        }
        delete it;
        EXPECT_EQ(n, 4);
    }
    AcDbObjectId plId = append(pl);

    AcDb3dPolyline* open = nullptr;
    ASSERT_EQ(acdbOpenObject(open, plId, AcDb::kForWrite), Acad::eOk);
    // A vertex appended to the resident polyline is resident at once and open.
    auto* extra = new AcDb3dPolylineVertex(AcGePoint3d(9, 9, 9));
    AcDbObjectId extraId;
    ASSERT_EQ(open->appendVertex(extraId, extra), Acad::eOk);
    EXPECT_FALSE(extraId.isNull());
    EXPECT_EQ(extra->ownerId(), plId);
    EXPECT_EQ(open->appendVertex(extra), Acad::eAlreadyInDb);
    ASSERT_EQ(extra->erase(), Acad::eOk);
    extra->close();
    open->close();

    ASSERT_EQ(acdbOpenObject(open, plId, AcDb::kForRead), Acad::eOk);
    auto* sneaky = new AcDb3dPolylineVertex();
    EXPECT_EQ(open->appendVertex(sneaky), Acad::eNotOpenForWrite);
    delete sneaky;
    // The walk of the readers: open each vertex by id; the erased one is passed over.
    AcDbObjectIterator* it = open->vertexIterator();
    std::vector<AcGePoint3d> seen;
    for (; !it->done(); it->step()) {
        AcDbObject* obj = nullptr;
        ASSERT_EQ(acdbOpenAcDbObject(obj, it->objectId(), AcDb::kForRead, AcDb3dPolylineVertex::desc()), Acad::eOk);
        EXPECT_EQ(obj->ownerId(), plId);
        EXPECT_EQ(obj->database(), db());
        seen.push_back(static_cast<AcDb3dPolylineVertex*>(obj)->position());
        obj->close();
    }
    delete it;
    ASSERT_EQ(seen.size(), 4u);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(seen[i], pts[i]);

    // The closed polyline's queries: parameter i at vertex i, back to the start.
    EXPECT_TRUE(open->isClosed());
    double e = 0;
    ASSERT_EQ(open->getEndParam(e), Acad::eOk);
    EXPECT_EQ(e, 4.0);
    EXPECT_POINT_NEAR(pointAt(*open, 2.5), 1.5, 4, 0.5, kTol);
    EXPECT_NEAR(distAt(*open, e), 3 + 4 + std::sqrt(9.0 + 1.0) + std::sqrt(16.0 + 1.0), 1e-9);
    double p = 0;
    ASSERT_EQ(open->getParamAtDist(3.5, p), Acad::eOk);
    EXPECT_NEAR(p, 1.125, 1e-9);
    open->close();
    EXPECT_EQ(standin::modelSpaceEntityCount(db()), 1);
}

TEST_F(DbTest, PolylineBuiltFromPointsAndDeletedBeforeResidencyFreesItsVertices)
{
    AcGePoint3dArray pts = arrayOf({AcGePoint3d(0, 0, 7), AcGePoint3d(2, 0, 7), AcGePoint3d(2, 2, 7)});
    AcGeDoubleArray bulges = arrayOf({0.0, 1.0});
    auto* pl = new AcDb2dPolyline(AcDb::k2dSimplePoly, pts, 5.0, false, 0, 0, &bulges);
    EXPECT_EQ(pl->elevation(), 5.0);
    AcDbObjectIterator* it = pl->vertexIterator();
    int n = 0;
    for (; !it->done(); it->step(), ++n) {
        auto* v = AcDb2dVertex::cast(it->entity());
        ASSERT_NE(v, nullptr);
        EXPECT_FALSE(v->isWriteEnabled());  // made closed
    }
    delete it;
    EXPECT_EQ(n, 3);
    // The vertex heights are the polyline's elevation.
    EXPECT_POINT_NEAR(startOf(*pl), 0, 0, 5, kTol);
    EXPECT_POINT_NEAR(pointAt(*pl, 1.5), 2 + 1, 1, 5, kTol);
    delete pl;  // its three vertices go with it

    auto* kept = new AcDb2dPolyline(AcDb::k2dSimplePoly, pts, 0.0, true);
    AcDbObjectId id = append(kept);
    AcDb2dPolyline* open = nullptr;
    ASSERT_EQ(acdbOpenObject(open, id, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(open->isClosed());
    AcDbObjectIterator* walk = open->vertexIterator();
    for (; !walk->done(); walk->step())
        EXPECT_FALSE(walk->objectId().isNull());
    delete walk;
    open->close();
}

TEST_F(DbTest, CircArc3dFromThreePointsAndAxes)
{
    AcGeCircArc3d arc(AcGePoint3d(1, 0, 0), AcGePoint3d(0, 1, 0), AcGePoint3d(-1, 0, 0));
    EXPECT_POINT_NEAR(arc.center(), 0, 0, 0, kTol);
    EXPECT_NEAR(arc.radius(), 1.0, kTol);
    EXPECT_NEAR(arc.normal().z, 1.0, kTol);
    EXPECT_POINT_NEAR(arc.startPoint(), 1, 0, 0, kTol);
    EXPECT_POINT_NEAR(arc.endPoint(), -1, 0, 0, kTol);
    EXPECT_NEAR(arc.endAng() - arc.startAng(), kPi, kTol);

    AcGeCircArc3d clockwise(AcGePoint3d(1, 0, 0), AcGePoint3d(0, -1, 0), AcGePoint3d(-1, 0, 0));
    EXPECT_NEAR(clockwise.normal().z, -1.0, kTol);
    EXPECT_POINT_NEAR(clockwise.evalPoint((clockwise.startAng() + clockwise.endAng()) / 2), 0, -1, 0, kTol);
}

TEST_F(DbTest, VectorAngleAboutAReference)
{
    const AcGeVector3d x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
    EXPECT_NEAR(x.angleTo(y, z), kPi / 2, kTol);
    EXPECT_NEAR(x.angleTo(y, -z), 3 * kPi / 2, kTol);
    EXPECT_NEAR(x.angleTo(x, z), 0.0, kTol);
    EXPECT_NEAR(x.angleTo(-x, z), kPi, kTol);
    AcGeVector3d tiny(1e-12, 0, 0);
    tiny.normalize();
    EXPECT_EQ(tiny.x, 1e-12);  // below the tolerance: unchanged
    AcGeMatrix3d m;
    m.entry[0][3] = 5;
    EXPECT_POINT_NEAR(m * AcGePoint3d(1, 1, 1), 6, 1, 1, 0.0);
}
