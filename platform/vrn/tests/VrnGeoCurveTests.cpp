// VrnCurve: which NURBS curves are lines, circles, arcs and polylines.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "NurbsTestCurves.h"
#include "VrnGeo.h"

namespace {

// A quarter of the circle of radius r about the origin in world XY, from
// angle 0 to pi/2, as a rational quadratic.
ON_NurbsCurve QuarterArc(double r)
{
    const double w = std::sqrt(0.5);
    return Nurbs(3, {{r, 0, 0, 1}, {r, r, 0, w}, {0, r, 0, 1}});
}

ON_NurbsCurve CircleNurbs(const ON_Plane& plane, double radius)
{
    ON_NurbsCurve curve;
    ON_Circle(plane, radius).GetNurbForm(curve);
    return curve;
}

void ExpectPoint(const ON_3dPoint& p, double x, double y, double z)
{
    EXPECT_NEAR(p.x, x, 1e-9);
    EXPECT_NEAR(p.y, y, 1e-9);
    EXPECT_NEAR(p.z, z, 1e-9);
}

TEST(VrnCurveTest, LinesAreStraightCurvesRunningFromStartToEnd)
{
    struct Case {
        const char* name;
        ON_NurbsCurve curve;
        bool line;
    };
    const Case cases[] = {
        {"two points", Nurbs(2, {{1, 2, 3, 1}, {4, 6, 3, 1}}), true},
        {"cubic on a line", Nurbs(4, {{0, 0, 0, 1}, {1, 1, 1, 1}, {2, 2, 2, 1}, {5, 5, 5, 1}}), true},
        {"rational on a line", Nurbs(3, {{0, 0, 0, 1}, {1, 0, 0, 3}, {2, 0, 0, 1}}), true},
        {"turning back", Nurbs(2, {{0, 0, 0, 1}, {2, 0, 0, 1}, {1, 0, 0, 1}}), false},
        {"off the line by 1e-6", Nurbs(2, {{0, 0, 0, 1}, {1, 1e-6, 0, 1}, {2, 0, 0, 1}}), false},
        {"start at end", Nurbs(2, {{1, 1, 1, 1}, {1, 1, 1, 1}}), false},
        {"quarter arc", QuarterArc(1.0), false},
    };
    for (const Case& c : cases) {
        ON_Line line;
        EXPECT_EQ(VrnCurve::IsLine(&c.curve, line), c.line ? 1 : 0) << c.name;
    }

    ON_Line line;
    const ON_NurbsCurve cubic = cases[1].curve;
    ASSERT_EQ(VrnCurve::IsLine(&cubic, line), 1);
    ExpectPoint(line.from, 0, 0, 0);
    ExpectPoint(line.to, 5, 5, 5);
}

TEST(VrnCurveTest, CirclesComeOnceRoundWithTheirCentreRadiusAndSense)
{
    const ON_Plane plane(ON_3dPoint(1, 2, 3), ON_3dVector(0, 0, 1));
    const ON_NurbsCurve up = CircleNurbs(plane, 2.5);
    ON_Circle circle;
    ASSERT_EQ(VrnCurve::IsCircle(&up, circle), 1);
    ExpectPoint(circle.Center(), 1, 2, 3);
    EXPECT_NEAR(circle.radius, 2.5, 1e-9);
    ExpectPoint(ON_3dPoint(circle.Normal()), 0, 0, 1);
    // The circle starts where the curve starts.
    ExpectPoint(circle.PointAt(0.0), 3.5, 2, 3);

    const ON_NurbsCurve down = CircleNurbs(ON_Plane(ON_3dPoint(0, 0, 0), ON_3dVector(0, 0, -1)), 1.0);
    ASSERT_EQ(VrnCurve::IsCircle(&down, circle), 1);
    ExpectPoint(ON_3dPoint(circle.Normal()), 0, 0, -1);

    ON_Arc arc;
    EXPECT_EQ(VrnCurve::IsArc(&up, arc), 0) << "a full circle is no arc";
    ON_Line line;
    EXPECT_EQ(VrnCurve::IsLine(&up, line), 0);
    ON_Polyline polyline;
    EXPECT_EQ(VrnCurve::IsPolyline(&up, polyline), 0);
}

TEST(VrnCurveTest, EllipsesAndOtherClosedCurvesAreNoCircles)
{
    ON_NurbsCurve ellipse;
    ON_Ellipse(ON_Plane(), 3.0, 2.0).GetNurbForm(ellipse);
    ON_Circle circle;
    EXPECT_EQ(VrnCurve::IsCircle(&ellipse, circle), 0);
    ON_Arc arc;
    EXPECT_EQ(VrnCurve::IsArc(&ellipse, arc), 0);

    // A closed square of degree 1 is a polyline, not a circle.
    const ON_NurbsCurve square = Nurbs(2, {{0, 0, 0, 1}, {1, 0, 0, 1}, {1, 1, 0, 1}, {0, 1, 0, 1}, {0, 0, 0, 1}});
    EXPECT_EQ(VrnCurve::IsCircle(&square, circle), 0);
}

TEST(VrnCurveTest, ArcsCarryTheirSweptAngleFromTheStartPoint)
{
    const ON_NurbsCurve quarter = QuarterArc(2.0);
    ON_Arc arc;
    ASSERT_EQ(VrnCurve::IsArc(&quarter, arc), 1);
    ExpectPoint(arc.Center(), 0, 0, 0);
    EXPECT_NEAR(arc.Radius(), 2.0, 1e-9);
    EXPECT_NEAR(arc.AngleRadians(), ON_PI / 2, 1e-9);
    ExpectPoint(arc.StartPoint(), 2, 0, 0);
    ExpectPoint(arc.EndPoint(), 0, 2, 0);
    ExpectPoint(ON_3dPoint(arc.Normal()), 0, 0, 1);

    // The same quarter run the other way turns clockwise about +Z.
    const double w = std::sqrt(0.5);
    const ON_NurbsCurve back = Nurbs(3, {{0, 2, 0, 1}, {2, 2, 0, w}, {2, 0, 0, 1}});
    ASSERT_EQ(VrnCurve::IsArc(&back, arc), 1);
    ExpectPoint(arc.StartPoint(), 0, 2, 0);
    ExpectPoint(arc.EndPoint(), 2, 0, 0);
    ExpectPoint(ON_3dPoint(arc.Normal()), 0, 0, -1);

    // Three quarters: pieces of a quarter each, knots doubled.
    const ON_NurbsCurve threeQuarters = Nurbs(
        3, {{1, 0, 0, 1}, {1, 1, 0, w}, {0, 1, 0, 1}, {-1, 1, 0, w}, {-1, 0, 0, 1}, {-1, -1, 0, w}, {0, -1, 0, 1}},
        {0, 0, 1, 1, 2, 2, 3, 3});
    ASSERT_EQ(VrnCurve::IsArc(&threeQuarters, arc), 1);
    EXPECT_NEAR(arc.AngleRadians(), 1.5 * ON_PI, 1e-9);

    ON_Circle circle;
    EXPECT_EQ(VrnCurve::IsCircle(&quarter, circle), 0);
}

TEST(VrnCurveTest, PolylinesAreDegreeOneCurvesOnTheirControlPoints)
{
    const ON_NurbsCurve open = Nurbs(2, {{0, 0, 0, 1}, {1, 0, 0, 1}, {1, 1, 0, 1}});
    ON_Polyline polyline;
    ASSERT_EQ(VrnCurve::IsPolyline(&open, polyline), 1);
    ASSERT_EQ(polyline.Count(), 3);
    ExpectPoint(polyline[2], 1, 1, 0);
    EXPECT_FALSE(polyline.IsClosed(0.0));

    const ON_NurbsCurve square = Nurbs(2, {{0, 0, 0, 1}, {1, 0, 0, 1}, {1, 1, 0, 1}, {0, 1, 0, 1}, {0, 0, 0, 1}});
    ASSERT_EQ(VrnCurve::IsPolyline(&square, polyline), 1);
    EXPECT_EQ(polyline.Count(), 5);
    EXPECT_TRUE(polyline.IsClosed(0.0));

    const ON_NurbsCurve uneven = Nurbs(2, {{0, 0, 0, 1}, {1, 0, 0, 2}, {1, 1, 0, 1}});
    EXPECT_EQ(VrnCurve::IsPolyline(&uneven, polyline), 0) << "unequal weights do not run straight";
    const ON_NurbsCurve quadratic = Nurbs(3, {{0, 0, 0, 1}, {1, 0, 0, 1}, {1, 1, 0, 1}});
    EXPECT_EQ(VrnCurve::IsPolyline(&quadratic, polyline), 0);
}

TEST(VrnCurveTest, NoCurveAndBrokenCurvesPassNoTest)
{
    ON_NurbsCurve empty;
    ON_NurbsCurve zeroWeight = QuarterArc(1.0);
    zeroWeight.CV(1)[3] = 0.0;
    const ON_Curve* curves[] = {nullptr, &empty, &zeroWeight};
    for (const ON_Curve* curve : curves) {
        ON_Line line;
        ON_Circle circle;
        ON_Arc arc;
        ON_Polyline polyline;
        EXPECT_EQ(VrnCurve::IsLine(curve, line), 0);
        EXPECT_EQ(VrnCurve::IsCircle(curve, circle), 0);
        EXPECT_EQ(VrnCurve::IsArc(curve, arc), 0);
        EXPECT_EQ(VrnCurve::IsPolyline(curve, polyline), 0);
    }
}

TEST(VrnCurveTest, PlainCurveClassesAreTakenAsTheyAre)
{
    const ON_LineCurve lineCurve(ON_3dPoint(0, 0, 0), ON_3dPoint(1, 2, 3));
    ON_Line line;
    ASSERT_EQ(VrnCurve::IsLine(&lineCurve, line), 1);
    ExpectPoint(line.to, 1, 2, 3);

    const ON_ArcCurve circleCurve(ON_Circle(ON_Plane(), 2.0));
    ON_Circle circle;
    EXPECT_EQ(VrnCurve::IsCircle(&circleCurve, circle), 1);
    EXPECT_NEAR(circle.radius, 2.0, 1e-12);

    ON_3dPointArray points;
    points.Append(ON_3dPoint(0, 0, 0));
    points.Append(ON_3dPoint(1, 0, 0));
    const ON_PolylineCurve polylineCurve(points);
    ON_Polyline polyline;
    EXPECT_EQ(VrnCurve::IsPolyline(&polylineCurve, polyline), 1);
    EXPECT_EQ(polyline.Count(), 2);
}

}  // namespace
