// Curve readers: points, lines, rays, xlines, circles, arcs, ellipses and
// splines into openNURBS geometry.
#include "ToolkitTest.h"

#include <cmath>

#include "CurveReaders.h"
#include "dbelipse.h"
#include "dbents.h"
#include "dbspline.h"
#include "gedblar.h"
#include "gept3dar.h"

namespace {

const double kPi = 3.14159265358979323846;

void ExpectPoint(const ON_3dPoint& p, double x, double y, double z, double tol = 1e-9)
{
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
    EXPECT_NEAR(p.z, z, tol);
}

void ExpectPoint(const ON_3dPoint& p, const AcGePoint3d& q, double tol = 1e-9)
{
    ExpectPoint(p, q.x, q.y, q.z, tol);
}

// The Euclidean control point i.
ON_3dPoint Cv(const ON_NurbsCurve& curve, int i)
{
    ON_3dPoint p(0, 0, 0);
    curve.GetCV(i, p);
    return p;
}

class CurveReadersTest : public ToolkitTest {};

TEST_F(CurveReadersTest, PointsAndLinesReadAsTheyStand)
{
    AcDbPoint point(AcGePoint3d(1, 2, 3));
    ON_Point onPoint;
    EXPECT_EQ(ReadPoint(&point, onPoint), 1);
    ExpectPoint(onPoint.point, 1, 2, 3);

    AcDbLine line(AcGePoint3d(5, 0, 0), AcGePoint3d(-1, 2, 7));
    ON_LineCurve lineCurve;
    EXPECT_EQ(ReadLine(&line, lineCurve), 1);
    ExpectPoint(lineCurve.m_line.from, 5, 0, 0);
    ExpectPoint(lineCurve.m_line.to, -1, 2, 7);
}

TEST_F(CurveReadersTest, RaysAndXlinesAreCutToUnitsOfTheirDirection)
{
    AcDbRay ray;
    ray.setBasePoint(AcGePoint3d(1, 2, 3));
    ray.setUnitDir(AcGeVector3d(0, 0, 1));
    ON_LineCurve rayCurve;
    EXPECT_EQ(ReadRay(&ray, rayCurve), 1);
    ExpectPoint(rayCurve.m_line.from, 1, 2, 3);
    ExpectPoint(rayCurve.m_line.to, 1, 2, 4);

    AcDbXline xline;
    xline.setBasePoint(AcGePoint3d(0, 0, 0));
    xline.setUnitDir(AcGeVector3d(1, 0, 0));
    ON_LineCurve xlineCurve;
    EXPECT_EQ(ReadXline(&xline, xlineCurve), 1);
    ExpectPoint(xlineCurve.m_line.from, 1, 0, 0);
    ExpectPoint(xlineCurve.m_line.to, -1, 0, 0);
}

TEST_F(CurveReadersTest, CirclesStartOnTheOpenNurbsPlaneAxis)
{
    // Normal +X: openNURBS takes (0, 1, 0) as the plane's x axis.
    AcDbCircle circle(AcGePoint3d(1, 2, 3), AcGeVector3d(1, 0, 0), 2.0);
    ON_ArcCurve curve;
    EXPECT_EQ(ReadCircle(&circle, curve), 1);
    EXPECT_TRUE(curve.m_arc.IsCircle());
    ExpectPoint(curve.m_arc.Center(), 1, 2, 3);
    EXPECT_NEAR(curve.m_arc.Radius(), 2.0, 1e-12);
    ExpectPoint(curve.m_arc.StartPoint(), 1, 4, 3);
    ExpectPoint(ON_3dPoint(curve.m_arc.Normal()), 1, 0, 0);
}

// The circle's plane is openNURBS's plane of the normal, not the host's own
// coordinate system: for this normal the host's x axis would be (0, 1, 0).
TEST_F(CurveReadersTest, CirclesLieOnTheOpenNurbsPlaneOfTheirNormal)
{
    const ON_3dVector normal(0.6, 0, 0.8);
    const ON_Plane plane(ON_3dPoint(1, 2, 3), normal);
    ASSERT_GT((plane.xaxis - ON_3dVector(0, 1, 0)).Length(), 0.5);
    AcDbCircle circle(AcGePoint3d(1, 2, 3), AcGeVector3d(0.6, 0, 0.8), 2.0);
    ON_ArcCurve curve;
    EXPECT_EQ(ReadCircle(&circle, curve), 1);
    const ON_3dPoint start = ON_3dPoint(1, 2, 3) + 2.0 * plane.xaxis;
    ExpectPoint(curve.m_arc.StartPoint(), start.x, start.y, start.z);
    ExpectPoint(ON_3dPoint(curve.m_arc.Normal()), 0.6, 0, 0.8);
}

TEST_F(CurveReadersTest, ArcsRunFromTheirStartPointCounterClockwise)
{
    struct Case {
        const char* name;
        AcGeVector3d normal;
        double startAngle, endAngle;
    };
    const Case cases[] = {
        {"crossing angle 0", AcGeVector3d(0, 0, 1), 1.5 * kPi, 0.5 * kPi},
        {"a quarter", AcGeVector3d(0, 0, 1), 0.25 * kPi, 0.75 * kPi},
        {"downwards", AcGeVector3d(0, 0, -1), 0.0, 1.0},
        {"tilted", AcGeVector3d(1, 1, 1), 2.0, 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AcDbArc arc(AcGePoint3d(1, 1, 0), c.normal, 3.0, c.startAngle, c.endAngle);
        ON_ArcCurve curve;
        EXPECT_EQ(ReadArc(&arc, curve), 1);
        AcGePoint3d start;
        AcGePoint3d end;
        arc.getStartPoint(start);
        arc.getEndPoint(end);
        ExpectPoint(curve.m_arc.StartPoint(), start);
        ExpectPoint(curve.m_arc.EndPoint(), end);
        double sweep = c.endAngle - c.startAngle;
        if (sweep <= 0)
            sweep += 2 * kPi;
        EXPECT_NEAR(curve.m_arc.AngleRadians(), sweep, 1e-9);
        AcGeVector3d n = c.normal;
        n.normalize();
        ExpectPoint(ON_3dPoint(curve.m_arc.Normal()), n.x, n.y, n.z);
        // Half way along: the host's point half way between the angles.
        AcGePoint3d middle;
        arc.getPointAtParam(c.startAngle + sweep / 2, middle);
        const ON_Interval domain = curve.m_arc.Domain();
        ExpectPoint(curve.m_arc.PointAt(domain.Mid()), middle);
    }

    // The half circle from 3 pi / 2 to pi / 2 runs through angle 0, (4, 1, 0).
    AcDbArc half(AcGePoint3d(1, 1, 0), AcGeVector3d(0, 0, 1), 3.0, 1.5 * kPi, 0.5 * kPi);
    ON_ArcCurve curve;
    ReadArc(&half, curve);
    ExpectPoint(curve.m_arc.PointAt(curve.m_arc.Domain().Mid()), 4, 1, 0);
}

// The plane of an ellipse runs along its major and minor axes, and an
// elliptical arc is cut at the parameters of its angles, which differ from the
// angles themselves off the axes when the ratio is not 1.
TEST_F(CurveReadersTest, EllipsesFollowTheirAxesAndTheParametersOfTheirAngles)
{
    const struct {
        const char* name;
        AcGeVector3d majorAxis;
        double startAngle, endAngle;
    } cases[] = {
        {"major along X", AcGeVector3d(3, 0, 0), kPi / 6, 2 * kPi / 3},
        {"major along Y", AcGeVector3d(0, 3, 0), kPi / 6, 2 * kPi / 3},
        {"major along Y, closed", AcGeVector3d(0, 3, 0), 0.0, 2 * kPi},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AcDbEllipse ellipse(AcGePoint3d(1, 2, 0), AcGeVector3d(0, 0, 1), c.majorAxis, 0.5, c.startAngle, c.endAngle);
        ON_NurbsCurve curve;
        EXPECT_EQ(ReadEllipse(&ellipse, curve), 1);
        ASSERT_GT(curve.CVCount(), 2);
        AcGePoint3d start, end;
        ellipse.getStartPoint(start);
        ellipse.getEndPoint(end);
        ExpectPoint(curve.PointAtStart(), start);
        ExpectPoint(curve.PointAtEnd(), end);
        // Every point lies on the ellipse of the host's axes.
        const AcGeVector3d minorAxis = ellipse.minorAxis();
        const ON_Interval domain = curve.Domain();
        for (int k = 0; k <= 8; ++k) {
            const ON_3dVector d = curve.PointAt(domain.ParameterAt(k / 8.0)) - ON_3dPoint(1, 2, 0);
            const double a = d * ON_3dVector(c.majorAxis.x, c.majorAxis.y, c.majorAxis.z) / 9.0;
            const double b = d * ON_3dVector(minorAxis.x, minorAxis.y, minorAxis.z) / minorAxis.lengthSqrd();
            EXPECT_NEAR(a * a + b * b, 1.0, 1e-9) << k;
        }
        // Counter-clockwise about the normal: a quarter of the way from the
        // start lies to the left of the start's direction.
        if (!ellipse.isClosed()) {
            const ON_3dVector s = ON_3dPoint(start.x, start.y, start.z) - ON_3dPoint(1, 2, 0);
            const ON_3dVector q = curve.PointAt(domain.ParameterAt(0.25)) - ON_3dPoint(1, 2, 0);
            EXPECT_GT(ON_CrossProduct(s, q).z, 0.0);
        }
    }
}

TEST_F(CurveReadersTest, ClosedEllipsesReadWhole)
{
    // Major axis 3 along X, ratio 2/3: minor 2 along Y.
    AcDbEllipse ellipse(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, 1), AcGeVector3d(3, 0, 0), 2.0 / 3.0);
    ASSERT_TRUE(ellipse.isClosed());
    ON_NurbsCurve curve;
    EXPECT_EQ(ReadEllipse(&ellipse, curve), 1);
    ON_NurbsCurve expected;
    ON_Ellipse(ON_Plane(), 3.0, 2.0).GetNurbForm(expected);
    ASSERT_EQ(curve.CVCount(), expected.CVCount());
    EXPECT_EQ(curve.Order(), expected.Order());
    EXPECT_TRUE(curve.IsClosed());
    for (int i = 0; i < curve.CVCount(); ++i) {
        SCOPED_TRACE(i);
        const ON_3dPoint e = Cv(expected, i);
        ExpectPoint(Cv(curve, i), e.x, e.y, e.z);
        EXPECT_NEAR(curve.Weight(i), expected.Weight(i), 1e-12);
    }
}

TEST_F(CurveReadersTest, EllipticalArcsReadBetweenTheirAngles)
{
    struct Case {
        const char* name;
        double startAngle, endAngle;
        int cvs;
        ON_3dPoint through;  // a control point on the ellipse on the way
    };
    const Case cases[] = {
        {"first quarter", 0.0, 0.5 * kPi, 3, ON_3dPoint(0, 2, 0)},
        {"through the seam", 1.5 * kPi, 0.5 * kPi, 5, ON_3dPoint(3, 0, 0)},
        {"three quarters", 0.5 * kPi, 0.0, 7, ON_3dPoint(0, -2, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AcDbEllipse ellipse(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, 1), AcGeVector3d(3, 0, 0), 2.0 / 3.0, c.startAngle,
                            c.endAngle);
        ASSERT_FALSE(ellipse.isClosed());
        ON_NurbsCurve curve;
        EXPECT_EQ(ReadEllipse(&ellipse, curve), 1);
        ASSERT_EQ(curve.CVCount(), c.cvs);
        AcGePoint3d start;
        AcGePoint3d end;
        ellipse.getStartPoint(start);
        ellipse.getEndPoint(end);
        ExpectPoint(Cv(curve, 0), start);
        ExpectPoint(Cv(curve, curve.CVCount() - 1), end);
        bool passes = false;
        for (int i = 0; i < curve.CVCount(); i += 2) {
            const ON_3dPoint p = Cv(curve, i);
            // Every piece end lies on the ellipse.
            EXPECT_NEAR(p.x * p.x / 9 + p.y * p.y / 4, 1.0, 1e-9) << i;
            passes = passes || (std::fabs(p.x - c.through.x) < 1e-9 && std::fabs(p.y - c.through.y) < 1e-9);
        }
        EXPECT_TRUE(passes) << "the arc runs counter-clockwise";
        EXPECT_FALSE(curve.IsClosed());
    }
}

// A spline of degree 3 on five control points with the given host knots.
AcDbSpline* Spline(bool rational)
{
    AcGePoint3dArray points;
    for (int i = 0; i < 5; ++i)
        points.append(AcGePoint3d(i, i * i, 1));
    AcGeDoubleArray knots;
    // Unclamped, so that dropping the wrong end knots shows.
    const double values[] = {0, 1, 2, 3, 4, 5, 6.5, 7, 8};
    for (double k : values)
        knots.append(k);
    AcGeDoubleArray weights;
    for (int i = 0; i < 5; ++i)
        weights.append(rational ? 1.0 + i : 1.0);
    AcDbSpline* spline = new AcDbSpline(3, rational ? Adesk::kTrue : Adesk::kFalse, Adesk::kFalse, Adesk::kFalse,
                                        points, knots, weights);
    return spline;
}

TEST_F(CurveReadersTest, SplinesLoseTheirEndKnotsAndWeights)
{
    for (bool rational : {false, true}) {
        SCOPED_TRACE(rational ? "rational" : "non-rational");
        AcDbSpline* spline = Spline(rational);
        ASSERT_FALSE(spline->isNull());
        ON_NurbsCurve curve;
        EXPECT_EQ(ReadSpline(spline, curve), 1);
        EXPECT_EQ(curve.Order(), 4);
        ASSERT_EQ(curve.CVCount(), 5);
        EXPECT_FALSE(curve.IsRational());
        ASSERT_EQ(curve.KnotCount(), 7);
        const double inner[] = {1, 2, 3, 4, 5, 6.5, 7};
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(curve.Knot(i), inner[i]) << i;
        for (int i = 0; i < 5; ++i) {
            ExpectPoint(Cv(curve, i), i, i * i, 1);
            EXPECT_EQ(curve.Weight(i), 1.0);
        }
        delete spline;
    }
}

// The host reports a periodic spline as one loop of control points and one
// knot more; it reads as the same closed curve, over the same parameters.
TEST_F(CurveReadersTest, PeriodicSplinesReadAsTheSameLoop)
{
    AcGePoint3dArray points;
    for (const AcGePoint3d& p : {AcGePoint3d(3, 0, 0), AcGePoint3d(0, 3, 1), AcGePoint3d(-3, 0, 0),
                                 AcGePoint3d(0, -3, -1), AcGePoint3d(2, -2, 0)})
        points.append(p);
    AcGeDoubleArray knots, weights;
    for (double k : {1.0, 2.0, 2.5, 4.0, 5.0, 7.0})
        knots.append(k);
    for (int degree : {1, 2, 3}) {
        SCOPED_TRACE(degree);
        AcDbSpline spline(degree, Adesk::kFalse, Adesk::kTrue, Adesk::kTrue, points, knots, weights);
        ASSERT_FALSE(spline.isNull());
        ON_NurbsCurve curve;
        EXPECT_EQ(ReadSpline(&spline, curve), 1);
        EXPECT_EQ(curve.Order(), degree + 1);
        ASSERT_EQ(curve.CVCount(), 5 + degree);
        for (int i = 0; i < curve.CVCount(); ++i)
            ExpectPoint(Cv(curve, i), points[i % 5]);
        const double t0 = curve.Domain().Min(), t1 = curve.Domain().Max();
        EXPECT_EQ(t0, 1.0);
        EXPECT_EQ(t1, 7.0);
        EXPECT_TRUE(curve.IsClosed());
        for (int i = 0; i <= 24; ++i) {
            const double t = 1.0 + 6.0 * i / 24;
            AcGePoint3d at;
            ASSERT_EQ(spline.getPointAtParam(t, at), Acad::eOk);
            ExpectPoint(curve.PointAt(t), at);
        }
    }
}

}  // namespace
