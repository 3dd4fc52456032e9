// Curve writers: points, lines, circles, arcs, 3D polylines, NURBS curves and
// fit-point splines in model space, and the two entity setters.
#include "ToolkitTest.h"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "CurveWriters.h"
#include "EntityPlacement.h"
#include "NurbsTestCurves.h"
#include "ToolkitConversion.h"
#include "dbents.h"
#include "dbspline.h"
#include "gedblar.h"
#include "gept3dar.h"

namespace {

const double kPi = 3.14159265358979323846;

void ExpectPoint(const AcGePoint3d& p, double x, double y, double z, double tol = 1e-9)
{
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
    EXPECT_NEAR(p.z, z, tol);
}

// What the host was given as a spline.
struct SplineData {
    int degree = -1;
    bool rational = false, closed = false, periodic = false;
    std::vector<AcGePoint3d> points;
    std::vector<double> knots, weights;
};

SplineData DataOf(const AcDbSpline& spline)
{
    int degree = 0;
    Adesk::Boolean rational = Adesk::kFalse, closed = Adesk::kFalse, periodic = Adesk::kFalse;
    AcGePoint3dArray points;
    AcGeDoubleArray knots, weights;
    double pointTol = 0.0, knotTol = 0.0;
    spline.getNurbsData(degree, rational, closed, periodic, points, knots, weights, pointTol, knotTol);
    SplineData d;
    d.degree = degree;
    d.rational = rational != Adesk::kFalse;
    d.closed = closed != Adesk::kFalse;
    d.periodic = periodic != Adesk::kFalse;
    for (int i = 0; i < points.length(); ++i)
        d.points.push_back(points[i]);
    for (int i = 0; i < knots.length(); ++i)
        d.knots.push_back(knots[i]);
    for (int i = 0; i < weights.length(); ++i)
        d.weights.push_back(weights[i]);
    return d;
}

class CurveWritersTest : public ToolkitTest {
protected:
    // The run-time class names of the model-space entities, in order.
    static std::vector<std::string> Classes()
    {
        std::vector<std::string> names;
        for (const AcDbObjectId& id : modelSpaceIds()) {
            AcDbEntity* e = nullptr;
            if (acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk) {
                ADD_FAILURE() << "model space entity cannot be opened";
                continue;
            }
            const ACHAR* name = e->isA()->name();
            std::string narrow;
            for (const ACHAR* c = name; *c != 0; ++c)
                narrow += static_cast<char>(*c);
            names.push_back(narrow);
            e->close();
        }
        return names;
    }

    // Opens model-space entity i for read as a T and hands it to look.
    template <typename T> static void Look(size_t i, const std::function<void(T&)>& look)
    {
        const std::vector<AcDbObjectId> ids = modelSpaceIds();
        ASSERT_LT(i, ids.size());
        T* entity = nullptr;
        ASSERT_EQ(acdbOpenObject(entity, ids[i], AcDb::kForRead), Acad::eOk);
        look(*entity);
        entity->close();
    }

    // The vertex positions of a 3D polyline in model space.
    static std::vector<AcGePoint3d> Vertices(AcDb3dPolyline& polyline)
    {
        std::vector<AcGePoint3d> points;
        AcDbObjectIterator* it = polyline.vertexIterator();
        for (it->start(); !it->done(); it->step()) {
            AcDb3dPolylineVertex* vertex = nullptr;
            if (acdbOpenObject(vertex, it->objectId(), AcDb::kForRead) == Acad::eOk) {
                points.push_back(vertex->position());
                vertex->close();
            }
        }
        delete it;
        return points;
    }

    const CString layer_ = L"Curves";
    AcCmColor color_ = [] {
        AcCmColor c;
        c.setRGB(10, 20, 30);
        return c;
    }();
};

TEST_F(CurveWritersTest, PointsAndLinesGoToModelSpaceWithLayerAndColour)
{
    EXPECT_EQ(WritePoint(ON_3dPoint(1, 2, 3), layer_, color_), 1);
    EXPECT_EQ(WriteLine(ON_Line(ON_3dPoint(0, 0, 0), ON_3dPoint(1, 0, 0)), layer_, color_), 1);
    EXPECT_EQ(WriteLine(ON_3dPoint(5, 5, 5), ON_3dPoint(6, 7, 8), layer_, color_), 1);
    ASSERT_EQ(Classes(), (std::vector<std::string>{"AcDbPoint", "AcDbLine", "AcDbLine"}));
    Look<AcDbPoint>(0, [&](AcDbPoint& p) {
        ExpectPoint(p.position(), 1, 2, 3);
        EXPECT_EQ(p.layerId(), GetLayerId(layer_, FALSE));
        EXPECT_EQ(p.color(), color_);
    });
    Look<AcDbLine>(2, [&](AcDbLine& l) {
        ExpectPoint(l.startPoint(), 5, 5, 5);
        ExpectPoint(l.endPoint(), 6, 7, 8);
        EXPECT_EQ(l.color(), color_);
    });
}

TEST_F(CurveWritersTest, ArrayFormsWriteEveryElementInOrder)
{
    ON_3dPointArray points;
    ON_SimpleArray<ON_Line> lines;
    ON_SimpleArray<ON_Circle> circles;
    ON_SimpleArray<ON_Arc> arcs;
    ON_ClassArray<ON_Polyline> polylines;
    ON_ClassArray<ON_NurbsCurve> curves;
    EXPECT_EQ(WritePoints(points, layer_, color_), 1);
    EXPECT_EQ(WriteLines(lines, layer_, color_), 1);
    EXPECT_EQ(WriteCircles(circles, layer_, color_), 1);
    EXPECT_EQ(WriteArcs(arcs, layer_, color_), 1);
    EXPECT_EQ(Write3dPolylines(polylines, layer_, color_), 1);
    EXPECT_EQ(WriteCurves(curves, layer_, color_), 1);
    EXPECT_TRUE(Classes().empty()) << "empty arrays write nothing";

    points.Append(ON_3dPoint(1, 0, 0));
    points.Append(ON_3dPoint(2, 0, 0));
    lines.Append(ON_Line(ON_3dPoint(0, 0, 0), ON_3dPoint(0, 1, 0)));
    circles.Append(ON_Circle(ON_Plane(), 1.0));
    circles.Append(ON_Circle(ON_Plane(), 2.0));
    arcs.Append(ON_Arc(ON_Circle(ON_Plane(), 1.0), 1.0));
    ON_Polyline polyline;
    polyline.Append(ON_3dPoint(0, 0, 0));
    polyline.Append(ON_3dPoint(1, 1, 0));
    polylines.Append(polyline);
    curves.Append(Nurbs(2, {{0, 0, 0, 1}, {3, 0, 0, 1}}));
    WritePoints(points, layer_, color_);
    WriteLines(lines, layer_, color_);
    WriteCircles(circles, layer_, color_);
    WriteArcs(arcs, layer_, color_);
    Write3dPolylines(polylines, layer_, color_);
    WriteCurves(curves, layer_, color_);
    EXPECT_EQ(Classes(),
              (std::vector<std::string>{"AcDbPoint", "AcDbPoint", "AcDbLine", "AcDbCircle", "AcDbCircle", "AcDbArc",
                                        "AcDb3dPolyline", "AcDbLine"}));
    Look<AcDbPoint>(1, [](AcDbPoint& p) { ExpectPoint(p.position(), 2, 0, 0); });
    Look<AcDbCircle>(4, [](AcDbCircle& c) { EXPECT_NEAR(c.radius(), 2.0, 1e-12); });
}

TEST_F(CurveWritersTest, FullCirclesAmongArcsAreWrittenAsCircles)
{
    const ON_Circle circle(ON_Plane(ON_3dPoint(1, 2, 3), ON_3dVector(0, 0, 1)), 2.0);
    struct Case {
        const char* name;
        ON_Interval interval;
        bool isCircle;
    };
    const Case cases[] = {
        {"2 pi", ON_Interval(0, 2 * kPi), true},
        {"2 pi + 1e-13", ON_Interval(0, 2 * kPi + 1e-13), true},
        {"2 pi - 1e-13", ON_Interval(1, 1 + 2 * kPi - 1e-13), true},
        {"backwards by 2 pi", ON_Interval(0, -2 * kPi), true},
        {"2 pi - 1e-9", ON_Interval(0, 2 * kPi - 1e-9), false},
        {"a quarter", ON_Interval(0, kPi / 2), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        freshDatabase();
        const ON_Arc arc(circle, c.interval);
        EXPECT_EQ(WriteArc(arc, layer_, color_), 1);
        ASSERT_EQ(Classes(), std::vector<std::string>{c.isCircle ? "AcDbCircle" : "AcDbArc"});
        if (c.isCircle) {
            Look<AcDbCircle>(0, [&](AcDbCircle& e) {
                ExpectPoint(e.center(), 1, 2, 3);
                EXPECT_NEAR(e.radius(), 2.0, 1e-12);
                EXPECT_NEAR(std::fabs(e.normal().z), 1.0, 1e-12);
            });
        } else {
            Look<AcDbArc>(0, [&](AcDbArc& e) {
                AcGePoint3d start, end;
                e.getStartPoint(start);
                e.getEndPoint(end);
                const ON_3dPoint s = arc.StartPoint();
                const ON_3dPoint t = arc.EndPoint();
                ExpectPoint(start, s.x, s.y, s.z);
                ExpectPoint(end, t.x, t.y, t.z);
                EXPECT_EQ(e.color(), color_);
            });
        }
    }
}

// A full turn, or one a hair past it, is a circle in the array form too; one
// a little short of it an arc. Either keeps the sign of the normal it was
// given.
TEST_F(CurveWritersTest, ArcsAtAndPastAFullTurnKeepTheirNormal)
{
    const ON_Circle down(ON_Plane(ON_3dPoint(1, 2, 3), ON_3dVector(0, 0, -1)), 2.0);
    const ON_Circle tilted(ON_Plane(ON_3dPoint(0, 0, 0), ON_3dVector(-1, -2, 2)), 1.5);
    ON_SimpleArray<ON_Arc> arcs;
    arcs.Append(ON_Arc(down, ON_Interval(0, 2 * kPi)));
    arcs.Append(ON_Arc(down, ON_Interval(1, 1 + 2 * kPi + 1e-13)));
    arcs.Append(ON_Arc(down, ON_Interval(-1, -1 + 2 * kPi - 1e-9)));
    arcs.Append(ON_Arc(tilted, ON_Interval(0.5, 0.5 + 2 * kPi - 1e-9)));
    arcs.Append(ON_Arc(tilted, ON_Interval(0.5, 2.5)));
    EXPECT_EQ(WriteArcs(arcs, layer_, color_), 1);
    EXPECT_EQ(WriteCircle(tilted, layer_, color_), 1);
    ASSERT_EQ(Classes(),
              (std::vector<std::string>{"AcDbCircle", "AcDbCircle", "AcDbArc", "AcDbArc", "AcDbArc", "AcDbCircle"}));
    for (int i = 0; i < arcs.Count() + 1; ++i) {
        SCOPED_TRACE(i);
        const ON_Circle& circle = i < arcs.Count() ? static_cast<const ON_Circle&>(arcs[i]) : tilted;
        const ON_3dVector n = circle.Normal();
        Look<AcDbCurve>(static_cast<size_t>(i), [&](AcDbCurve& e) {
            const AcGeVector3d normal =
                AcDbCircle::cast(&e) ? AcDbCircle::cast(&e)->normal() : AcDbArc::cast(&e)->normal();
            ExpectPoint(AcGePoint3d(normal.x, normal.y, normal.z), n.x, n.y, n.z, 1e-12);
            if (AcDbArc::cast(&e)) {
                AcGePoint3d start, end;
                e.getStartPoint(start);
                e.getEndPoint(end);
                const ON_3dPoint s = arcs[i].StartPoint(), t = arcs[i].EndPoint();
                ExpectPoint(start, s.x, s.y, s.z);
                ExpectPoint(end, t.x, t.y, t.z);
            }
        });
    }
}

TEST_F(CurveWritersTest, ClosedPolylinesLoseTheirRepeatedPoint)
{
    const ON_3dPoint A(0, 0, 0), B(1, 0, 0), C(1, 1, 0), D(1e-6, 0, 0);
    struct Case {
        const char* name;
        std::vector<ON_3dPoint> points;
        size_t vertices;
        bool closed;
    };
    const Case cases[] = {
        {"A B C A", {A, B, C, A}, 3, true},
        {"A B A", {A, B, A}, 3, false},
        {"A B C D, D beside A", {A, B, C, D}, 4, false},
        {"A B C D, D the least step from A", {A, B, C, ON_3dPoint(std::nextafter(0.0, 1.0), 0, 0)}, 4, false},
        {"all four equal", {A, A, A, A}, 4, false},
        {"empty", {}, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        freshDatabase();
        ON_Polyline polyline;
        for (const ON_3dPoint& p : c.points)
            polyline.Append(p);
        EXPECT_EQ(Write3dPolyline(polyline, layer_, color_), 1);
        ASSERT_EQ(Classes(), std::vector<std::string>{"AcDb3dPolyline"});
        Look<AcDb3dPolyline>(0, [&](AcDb3dPolyline& e) {
            const std::vector<AcGePoint3d> vertices = Vertices(e);
            ASSERT_EQ(vertices.size(), c.vertices);
            for (size_t i = 0; i < vertices.size(); ++i)
                ExpectPoint(vertices[i], c.points[i].x, c.points[i].y, c.points[i].z, 0.0);
            EXPECT_EQ(e.isClosed() != Adesk::kFalse, c.closed);
        });
    }
}

TEST_F(CurveWritersTest, SplineDataGainEndKnotsAndEuclideanControlPoints)
{
    AcDbSpline bezier;
    EXPECT_EQ(SetAcDbSpline(Nurbs(4, {{0, 0, 0, 1}, {1, 2, 0, 1}, {3, 2, 0, 1}, {4, 0, 0, 1}}), &bezier), 1);
    SplineData d = DataOf(bezier);
    EXPECT_EQ(d.degree, 3);
    EXPECT_FALSE(d.rational);
    ASSERT_EQ(d.points.size(), 4u);
    ExpectPoint(d.points[2], 3, 2, 0);
    EXPECT_EQ(d.knots, (std::vector<double>{0, 0, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(d.weights, (std::vector<double>{1, 1, 1, 1}));

    // A rational control point (2, 4, 6) of weight 2 stored as (4, 8, 12, 2).
    AcDbSpline rational;
    EXPECT_EQ(SetAcDbSpline(Nurbs(3, {{0, 0, 0, 1}, {1, 2, 3, 2}, {4, 0, 0, 1}}, {0, 0, 2, 2}), &rational), 1);
    d = DataOf(rational);
    EXPECT_EQ(d.degree, 2);
    EXPECT_TRUE(d.rational);
    ASSERT_EQ(d.points.size(), 3u);
    ExpectPoint(d.points[1], 1, 2, 3);
    EXPECT_EQ(d.weights, (std::vector<double>{1, 2, 1}));
    EXPECT_EQ(d.knots, (std::vector<double>{0, 0, 0, 2, 2, 2}));
}

TEST_F(CurveWritersTest, ClosedAndPeriodicReachTheHostInTheirPlaces)
{
    // The NURBS form of a circle is closed but not periodic; a Bezier curve
    // is neither.
    ON_NurbsCurve circle;
    ON_Circle(ON_Plane(), 2.0).GetNurbForm(circle);
    ASSERT_TRUE(circle.IsClosed());
    ASSERT_FALSE(circle.IsPeriodic());
    AcDbSpline closed;
    EXPECT_EQ(SetAcDbSpline(circle, &closed), 1);
    SplineData d = DataOf(closed);
    EXPECT_TRUE(d.closed);
    EXPECT_FALSE(d.periodic);

    AcDbSpline open;
    EXPECT_EQ(SetAcDbSpline(Nurbs(4, {{0, 0, 0, 1}, {1, 2, 0, 1}, {3, 2, 0, 1}, {4, 0, 0, 1}}), &open), 1);
    d = DataOf(open);
    EXPECT_FALSE(d.closed);
    EXPECT_FALSE(d.periodic);
}

// A periodic curve reaches the host as one loop of control points with one
// knot more, and the spline is the same curve at every parameter.
TEST_F(CurveWritersTest, PeriodicCurvesReachTheHostAsOneLoop)
{
    const ON_3dPoint loop[] = {ON_3dPoint(2, 0, 0), ON_3dPoint(0, 2, 1), ON_3dPoint(-2, 0, 0), ON_3dPoint(0, -2, -1),
                               ON_3dPoint(1, -1, 0)};
    for (int order : {3, 4}) {
        SCOPED_TRACE(order);
        ON_NurbsCurve curve;
        ASSERT_TRUE(curve.CreatePeriodicUniformNurbs(3, order, 5, loop, 1.5));
        ASSERT_TRUE(curve.IsPeriodic());
        AcDbSpline spline;
        EXPECT_EQ(SetAcDbSpline(curve, &spline), 1);
        const SplineData d = DataOf(spline);
        EXPECT_EQ(d.degree, order - 1);
        EXPECT_TRUE(d.periodic);
        EXPECT_TRUE(d.closed);
        ASSERT_EQ(d.points.size(), 5u);
        for (int i = 0; i < 5; ++i)
            ExpectPoint(d.points[static_cast<size_t>(i)], loop[i].x, loop[i].y, loop[i].z);
        ASSERT_EQ(d.knots.size(), 6u);
        const double t0 = curve.Domain().Min(), t1 = curve.Domain().Max();
        EXPECT_EQ(d.knots.front(), t0);
        EXPECT_EQ(d.knots.back(), t1);
        for (int i = 0; i <= 20; ++i) {
            const double t = t0 + (t1 - t0) * i / 20;
            AcGePoint3d at;
            ASSERT_EQ(spline.getPointAtParam(t, at), Acad::eOk);
            const ON_3dPoint on = curve.PointAt(t);
            ExpectPoint(at, on.x, on.y, on.z);
        }
    }
}

// The host refuses a control point that is not a number: the spline keeps
// the curve it held, and the refusal is reported although it is not null.
TEST_F(CurveWritersTest, ARefusedCurveLeavesASplineAsItWas)
{
    const ON_NurbsCurve bezier = Nurbs(4, {{0, 0, 0, 1}, {1, 2, 0, 1}, {3, 2, 0, 1}, {4, 0, 0, 1}});
    AcDbSpline spline;
    ASSERT_EQ(SetAcDbSpline(bezier, &spline), 1);
    ON_NurbsCurve bad = bezier;
    bad.CV(2)[1] = std::nan("");
    CToolkitConversion::SetLastErrorText(L"");
    EXPECT_EQ(SetAcDbSpline(bad, &spline), 0);
    EXPECT_EQ(CToolkitConversion::GetLastErrorText(), CString(L"Enable to create Spline"));
    const SplineData d = DataOf(spline);
    ASSERT_EQ(d.points.size(), 4u);
    ExpectPoint(d.points[2], 3, 2, 0);
    EXPECT_EQ(d.knots, (std::vector<double>{0, 0, 0, 0, 1, 1, 1, 1}));
}

TEST_F(CurveWritersTest, SplinesThatCannotBeMadeFailWithTheirText)
{
    ON_NurbsCurve zeroWeight = Nurbs(3, {{0, 0, 0, 1}, {1, 2, 3, 2}, {4, 0, 0, 1}});
    zeroWeight.CV(1)[3] = 0.0;
    struct Case {
        const char* name;
        ON_NurbsCurve curve;
    };
    const Case cases[] = {
        {"no curve", ON_NurbsCurve()},
        {"a weight of 0", zeroWeight},
        // The host refuses knots that run backwards.
        {"knots backwards", Nurbs(3, {{0, 0, 0, 1}, {1, 1, 0, 1}, {2, 0, 0, 1}, {3, 1, 0, 1}}, {0, 0, 2, 1, 1})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CToolkitConversion::SetLastErrorText(L"");
        AcDbSpline spline;
        EXPECT_EQ(SetAcDbSpline(c.curve, &spline), 0);
        EXPECT_TRUE(spline.isNull());
        EXPECT_EQ(CToolkitConversion::GetLastErrorText(), CString(L"Enable to create Spline"));
    }
}

TEST_F(CurveWritersTest, CurvesBecomeTheSimplestEntityThatFits)
{
    const double w = std::sqrt(0.5);
    ON_NurbsCurve circle;
    ON_Circle(ON_Plane(ON_3dPoint(1, 1, 1), ON_3dVector(0, 0, 1)), 3.0).GetNurbForm(circle);
    const ON_NurbsCurve line = Nurbs(4, {{0, 0, 0, 1}, {1, 1, 1, 1}, {2, 2, 2, 1}, {3, 3, 3, 1}});
    const ON_NurbsCurve quarter = Nurbs(3, {{2, 0, 0, 1}, {2, 2, 0, w}, {0, 2, 0, 1}});
    const ON_NurbsCurve corner = Nurbs(2, {{0, 0, 0, 1}, {1, 0, 0, 1}, {1, 1, 0, 1}, {0, 0, 0, 1}});
    const ON_NurbsCurve wave = Nurbs(4, {{0, 0, 0, 1}, {1, 2, 0, 1}, {3, -2, 0, 1}, {4, 0, 1, 1}});
    ON_ClassArray<ON_NurbsCurve> curves;
    curves.Append(line);
    curves.Append(circle);
    curves.Append(quarter);
    curves.Append(corner);
    curves.Append(wave);
    EXPECT_EQ(WriteCurves(curves, layer_, color_), 1);
    ASSERT_EQ(Classes(),
              (std::vector<std::string>{"AcDbLine", "AcDbCircle", "AcDbArc", "AcDb3dPolyline", "AcDbSpline"}));
    Look<AcDbLine>(0, [](AcDbLine& e) { ExpectPoint(e.endPoint(), 3, 3, 3); });
    Look<AcDbCircle>(1, [](AcDbCircle& e) {
        ExpectPoint(e.center(), 1, 1, 1);
        EXPECT_NEAR(e.radius(), 3.0, 1e-9);
    });
    Look<AcDbArc>(2, [](AcDbArc& e) {
        AcGePoint3d start, end;
        e.getStartPoint(start);
        e.getEndPoint(end);
        ExpectPoint(start, 2, 0, 0);
        ExpectPoint(end, 0, 2, 0);
    });
    Look<AcDb3dPolyline>(3, [](AcDb3dPolyline& e) {
        EXPECT_EQ(Vertices(e).size(), 3u);
        EXPECT_TRUE(e.isClosed());
    });
    Look<AcDbSpline>(4, [](AcDbSpline& e) {
        const SplineData d = DataOf(e);
        EXPECT_EQ(d.degree, 3);
        ASSERT_EQ(d.points.size(), 4u);
        ExpectPoint(d.points[3], 4, 0, 1);
    });
}

TEST_F(CurveWritersTest, ARefusedSplineIsWrittenAllTheSame)
{
    CToolkitConversion::SetLastErrorText(L"");
    const ON_NurbsCurve backwards = Nurbs(3, {{0, 0, 0, 1}, {1, 1, 0, 1}, {2, 0, 0, 1}, {3, 1, 0, 1}}, {0, 0, 2, 1, 1});
    EXPECT_EQ(WriteCurve(backwards, layer_, color_), 1);
    EXPECT_EQ(Classes(), std::vector<std::string>{"AcDbSpline"});
    EXPECT_EQ(CToolkitConversion::GetLastErrorText(), CString(L"Enable to create Spline"));
}

TEST_F(CurveWritersTest, FitSplinesRunThroughTheirPoints)
{
    ON_3dPointArray points;
    points.Append(ON_3dPoint(0, 0, 0));
    points.Append(ON_3dPoint(1, 2, 0));
    points.Append(ON_3dPoint(3, 1, 0));
    points.Append(ON_3dPoint(4, 4, 1));
    EXPECT_EQ(WriteFitSpline(points, layer_, color_), 1);
    ASSERT_EQ(Classes(), std::vector<std::string>{"AcDbSpline"});
    Look<AcDbSpline>(0, [](AcDbSpline& e) {
        EXPECT_FALSE(e.isNull());
        AcGePoint3d start, end;
        e.getStartPoint(start);
        e.getEndPoint(end);
        ExpectPoint(start, 0, 0, 0);
        ExpectPoint(end, 4, 4, 1);
    });
}

TEST_F(CurveWritersTest, EntitiesThatCannotBePlacedAreDeleted)
{
    // A layer name the host refuses: nothing is appended, nothing leaks
    // (the sanitizer build checks), nothing is closed outside the database.
    const CString bad = L"no<good>";
    ON_Polyline polyline;
    polyline.Append(ON_3dPoint(0, 0, 0));
    polyline.Append(ON_3dPoint(1, 0, 0));
    ON_3dPointArray fit;
    fit.Append(ON_3dPoint(0, 0, 0));
    fit.Append(ON_3dPoint(1, 1, 0));
    EXPECT_EQ(WritePoint(ON_3dPoint(1, 2, 3), bad, color_), 1);
    EXPECT_EQ(WriteLine(ON_3dPoint(0, 0, 0), ON_3dPoint(1, 0, 0), bad, color_), 1);
    EXPECT_EQ(WriteCircle(ON_Circle(ON_Plane(), 1.0), bad, color_), 1);
    EXPECT_EQ(WriteArc(ON_Arc(ON_Circle(ON_Plane(), 1.0), 1.0), bad, color_), 1);
    EXPECT_EQ(Write3dPolyline(polyline, bad, color_), 1);
    EXPECT_EQ(WriteCurve(Nurbs(4, {{0, 0, 0, 1}, {1, 2, 0, 1}, {3, -2, 0, 1}, {4, 0, 1, 1}}), bad, color_), 1);
    EXPECT_EQ(WriteFitSpline(fit, bad, color_), 1);
    EXPECT_TRUE(Classes().empty());
}

}  // namespace
