// Points along a curve entity at a given spacing.
#include "ToolkitTest.h"

#include <cmath>
#include <vector>

#include "CurvePoints.h"
#include "dbents.h"

namespace {

const double kPi = 3.14159265358979323846;

std::vector<double> Xs(const AcArray<AcGePoint3d>& points)
{
    std::vector<double> xs;
    for (int i = 0; i < points.length(); ++i)
        xs.push_back(points[i].x);
    return xs;
}

TEST(CurvePointsTest, LinesAreSampledAtEvenStepsAndTheirEnd)
{
    AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
    struct Case {
        const char* name;
        double step;
        std::vector<double> xs;
    };
    const Case cases[] = {
        {"step 2.5", 2.5, {0, 2.5, 5, 7.5, 10}}, {"step 4", 4.0, {0, 4, 8, 10}}, {"step of the length", 10.0, {0, 10}},
        {"step past the length", 25.0, {0, 10}}, {"step 0", 0.0, {0, 10}},       {"negative step", -1.0, {0, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AcArray<AcGePoint3d> points;
        EXPECT_EQ(GetCurvePoints(&line, c.step, points), 1);
        const std::vector<double> xs = Xs(points);
        ASSERT_EQ(xs.size(), c.xs.size());
        for (size_t i = 0; i < xs.size(); ++i)
            EXPECT_NEAR(xs[i], c.xs[i], 1e-12) << i;
    }
}

TEST(CurvePointsTest, AnUnevenStepEndsOnTheEndPoint)
{
    AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
    AcArray<AcGePoint3d> points;
    GetCurvePoints(&line, 10.0 / 3.0, points);
    // 0, 1/3, 2/3 of the way, perhaps one more a hair before the end, the end.
    ASSERT_GE(points.length(), 4);
    ASSERT_LE(points.length(), 5);
    EXPECT_EQ(points[points.length() - 1].x, 10.0);
    for (int i = 1; i < points.length(); ++i)
        EXPECT_LE(points[i].x - points[i - 1].x, 10.0 / 3.0 + 1e-12);
}

TEST(CurvePointsTest, CirclesAndTheCallersPoints)
{
    AcDbCircle circle(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, 1), 1.0);
    AcArray<AcGePoint3d> points;
    points.append(AcGePoint3d(7, 7, 7));  // not cleared
    EXPECT_EQ(GetCurvePoints(&circle, kPi / 2, points), 1);
    ASSERT_EQ(points.length(), 6);
    EXPECT_EQ(points[0].x, 7.0);
    const double expected[][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}, {1, 0}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(points[i + 1].x, expected[i][0], 1e-9) << i;
        EXPECT_NEAR(points[i + 1].y, expected[i][1], 1e-9) << i;
    }
}

// A circle of radius 2 runs over the parameters 0 to 2 pi but is 4 pi long:
// a step of pi along it is a quarter of a turn.
TEST(CurvePointsTest, TheStepIsADistanceAlongTheCurve)
{
    AcDbCircle circle(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, 1), 2.0);
    AcArray<AcGePoint3d> points;
    EXPECT_EQ(GetCurvePoints(&circle, kPi, points), 1);
    ASSERT_EQ(points.length(), 5);
    const double expected[][2] = {{2, 0}, {0, 2}, {-2, 0}, {0, -2}, {2, 0}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(points[i].x, expected[i][0], 1e-9) << i;
        EXPECT_NEAR(points[i].y, expected[i][1], 1e-9) << i;
    }
}

TEST(CurvePointsTest, ACurveWithoutExtentGivesItsEndPoint)
{
    AcDbLine line(AcGePoint3d(2, 3, 4), AcGePoint3d(2, 3, 4));
    for (double step : {1.0, 0.0}) {
        AcArray<AcGePoint3d> points;
        EXPECT_EQ(GetCurvePoints(&line, step, points), 1);
        ASSERT_EQ(points.length(), 1) << step;
        EXPECT_EQ(points[0], AcGePoint3d(2, 3, 4));
    }
}

}  // namespace
