// Polyline readers: lightweight, 2D and 3D polylines into polyline curves,
// lightweight polylines segment by segment into poly curves.
#include "ToolkitTest.h"

#include <cmath>
#include <vector>

#include "EntityPlacement.h"
#include "PolylineReaders.h"
#include "dbents.h"
#include "dbpl.h"

namespace {

void ExpectPoint(const ON_3dPoint& p, double x, double y, double z, double tol = 1e-9)
{
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
    EXPECT_NEAR(p.z, z, tol);
}

// Segment i of the curve is a line from `from` to `to`, each coordinate
// within tol (0: exactly).
void ExpectLineSegment(const ON_PolyCurve& curve, int i, const ON_3dPoint& from, const ON_3dPoint& to,
                       double tol = 1e-9)
{
    SCOPED_TRACE(testing::Message() << "segment " << i);
    const ON_LineCurve* line = ON_LineCurve::Cast(curve.SegmentCurve(i));
    ASSERT_NE(line, nullptr) << "a line";
    ExpectPoint(line->m_line.from, from.x, from.y, from.z, tol);
    ExpectPoint(line->m_line.to, to.x, to.y, to.z, tol);
}

// Segment i of the curve is an arc from start to end: the arc, or null after
// a failure when the segment is none.
const ON_ArcCurve* ExpectArcSegment(const ON_PolyCurve& curve, int i, const ON_3dPoint& start, const ON_3dPoint& end)
{
    SCOPED_TRACE(testing::Message() << "segment " << i);
    const ON_ArcCurve* arc = ON_ArcCurve::Cast(curve.SegmentCurve(i));
    EXPECT_NE(arc, nullptr) << "an arc";
    if (arc) {
        ExpectPoint(arc->m_arc.StartPoint(), start.x, start.y, start.z);
        ExpectPoint(arc->m_arc.EndPoint(), end.x, end.y, end.z);
    }
    return arc;
}

struct Vertex2d {
    double x, y, bulge;
};

AcDbPolyline* Lightweight(const std::vector<Vertex2d>& vertices, bool closed)
{
    AcDbPolyline* polyline = new AcDbPolyline;
    for (unsigned int i = 0; i < vertices.size(); ++i)
        polyline->addVertexAt(i, AcGePoint2d(vertices[i].x, vertices[i].y), vertices[i].bulge);
    polyline->setClosed(closed ? Adesk::kTrue : Adesk::kFalse);
    return polyline;
}

// The points of a polyline curve.
std::vector<ON_3dPoint> Points(const ON_PolylineCurve& curve)
{
    std::vector<ON_3dPoint> points;
    for (int i = 0; i < curve.m_pline.Count(); ++i)
        points.push_back(curve.m_pline[i]);
    return points;
}

// A 3D polyline through (0, 0, 7), (1, 0, -2) and (1, 1, 3), in no database.
AcDb3dPolyline* Corners3d(bool closed)
{
    AcDb3dPolyline* polyline = new AcDb3dPolyline;
    const double corners[][3] = {{0, 0, 7}, {1, 0, -2}, {1, 1, 3}};
    for (const auto& c : corners) {
        AcDb3dPolylineVertex* vertex = new AcDb3dPolylineVertex(AcGePoint3d(c[0], c[1], c[2]));
        polyline->appendVertex(vertex);
        vertex->close();
    }
    if (closed)
        polyline->makeClosed();
    return polyline;
}

class PolylineReadersTest : public ToolkitTest {
protected:
    // Puts a new entity into model space and opens it again for read.
    template <typename T> T* InModelSpace(T* entity)
    {
        AcDbObjectId id;
        EXPECT_EQ(AddEntity(entity, CString(), AcCmColor(), id), Acad::eOk);
        entity->close();
        T* opened = nullptr;
        EXPECT_EQ(acdbOpenObject(opened, id, AcDb::kForRead), Acad::eOk);
        return opened;
    }
};

TEST_F(PolylineReadersTest, LightweightPolylinesRepeatTheirFirstPointWhenClosed)
{
    const std::vector<Vertex2d> vertices = {{0, 0, 0}, {2, 0, 1}, {2, 3, 0}};
    for (bool closed : {false, true}) {
        SCOPED_TRACE(closed ? "closed" : "open");
        AcDbPolyline* polyline = Lightweight(vertices, closed);
        ON_PolylineCurve curve;
        EXPECT_EQ(ReadPolyline(polyline, curve), 1);
        const std::vector<ON_3dPoint> points = Points(curve);
        ASSERT_EQ(points.size(), closed ? 4u : 3u);
        // The bulged segment reads as its chord.
        ExpectPoint(points[0], 0, 0, 0);
        ExpectPoint(points[1], 2, 0, 0);
        ExpectPoint(points[2], 2, 3, 0);
        if (closed)
            ExpectPoint(points[3], 0, 0, 0);
        delete polyline;
    }

    AcDbPolyline* empty = Lightweight({}, true);
    ON_PolylineCurve curve;
    EXPECT_EQ(ReadPolyline(empty, curve), 1);
    EXPECT_EQ(curve.m_pline.Count(), 0);
    delete empty;
}

TEST_F(PolylineReadersTest, SegmentsKeepTheirArcsAsArcs)
{
    // Segment 0 a line, segment 1 a half circle (bulge 1, counter-clockwise)
    // from (2, 0) to (2, 4).
    AcDbPolyline* polyline = Lightweight({{0, 0, 0}, {2, 0, 1}, {2, 4, 0}}, false);
    ON_PolyCurve curve;
    EXPECT_EQ(ReadPolylineSegments(polyline, curve), 1);
    ASSERT_EQ(curve.Count(), 2) << "the open end adds no segment";

    ExpectLineSegment(curve, 0, ON_3dPoint(0, 0, 0), ON_3dPoint(2, 0, 0));

    const ON_ArcCurve* arc = ExpectArcSegment(curve, 1, ON_3dPoint(2, 0, 0), ON_3dPoint(2, 4, 0));
    ASSERT_NE(arc, nullptr);
    ExpectPoint(arc->m_arc.Center(), 2, 2, 0);
    EXPECT_NEAR(arc->m_arc.AngleRadians(), ON_PI, 1e-9);
    // Counter-clockwise from (2, 0) to (2, 4) about (2, 2): through (4, 2).
    ExpectPoint(arc->m_arc.PointAt(arc->m_arc.Domain().Mid()), 4, 2, 0);
    delete polyline;
}

// One segment from (1, 1) to (3, 1) by its bulge: a clear arc runs from vertex
// to vertex on the side its sign gives (positive counter-clockwise, to the
// right of the way from (1, 1) to (3, 1)), however small; one that cannot be
// told from its chord in double precision is that chord exactly.
TEST_F(PolylineReadersTest, ArcSegmentsRunFromVertexToVertexAndTinyBulgesAreChords)
{
    const struct {
        const char* name;
        double bulge;
        bool arc;
    } cases[] = {
        {"half circle", 1.0, true},        {"clockwise", -0.5, true},   {"small", 1e-4, true},
        {"small, clockwise", -1e-4, true}, {"too small", 1e-13, false}, {"too small, clockwise", -1e-13, false},
        {"far too small", 1e-300, false},  {"smallest", 5e-324, false}, {"smallest, clockwise", -5e-324, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AcDbPolyline* polyline = Lightweight({{1, 1, c.bulge}, {3, 1, 0}}, false);
        ON_PolyCurve curve;
        EXPECT_EQ(ReadPolylineSegments(polyline, curve), 1);
        delete polyline;
        ASSERT_EQ(curve.Count(), 1);
        if (!c.arc) {
            // A chord, exactly.
            ExpectLineSegment(curve, 0, ON_3dPoint(1, 1, 0), ON_3dPoint(3, 1, 0), 0.0);
            continue;
        }
        const ON_ArcCurve* arc = ExpectArcSegment(curve, 0, ON_3dPoint(1, 1, 0), ON_3dPoint(3, 1, 0));
        ASSERT_NE(arc, nullptr);
        // Counter-clockwise about its normal: +Z for a positive bulge, -Z
        // for a negative one; half way it is the sagitta off the chord.
        const ON_3dVector normal = arc->m_arc.Normal();
        ExpectPoint(ON_3dPoint(normal), 0, 0, c.bulge > 0 ? 1 : -1);
        const double sagitta = c.bulge * 2.0 / 2.0;
        ExpectPoint(arc->m_arc.PointAt(arc->m_arc.Domain().Mid()), 2, 1 - sagitta, 0);
        EXPECT_NEAR(arc->m_arc.AngleRadians(), 4 * std::atan(std::fabs(c.bulge)), 1e-9);
    }
}

TEST_F(PolylineReadersTest, SegmentsWithoutGeometryAreLeftOut)
{
    // Segment 0 joins two equal vertices; the closing segment is a line.
    AcDbPolyline* polyline = Lightweight({{0, 0, 0}, {0, 0, 0}, {1, 0, 0.5}, {1, 1, 0}}, true);
    ON_PolyCurve curve;
    EXPECT_EQ(ReadPolylineSegments(polyline, curve), 1);
    ASSERT_EQ(curve.Count(), 3);
    ExpectLineSegment(curve, 0, ON_3dPoint(0, 0, 0), ON_3dPoint(1, 0, 0));
    ExpectArcSegment(curve, 1, ON_3dPoint(1, 0, 0), ON_3dPoint(1, 1, 0));
    ExpectLineSegment(curve, 2, ON_3dPoint(1, 1, 0), ON_3dPoint(0, 0, 0));
    delete polyline;
}

TEST_F(PolylineReadersTest, TwoDimensionalPolylinesTakeTheirElevation)
{
    AcDb2dPolyline* polyline = new AcDb2dPolyline;
    polyline->setElevation(5.0);
    const double corners[][3] = {{0, 0, 7}, {1, 0, -2}, {1, 1, 0}};
    for (const auto& c : corners) {
        AcDb2dVertex* vertex = new AcDb2dVertex(AcGePoint3d(c[0], c[1], c[2]));
        polyline->appendVertex(vertex);
        vertex->close();
    }
    polyline->makeClosed();
    AcDb2dPolyline* opened = InModelSpace(polyline);
    ASSERT_NE(opened, nullptr);
    ON_PolylineCurve curve;
    EXPECT_EQ(Read2dPolyline(opened, curve), 1);
    opened->close();
    const std::vector<ON_3dPoint> points = Points(curve);
    ASSERT_EQ(points.size(), 4u);
    ExpectPoint(points[0], 0, 0, 5);
    ExpectPoint(points[1], 1, 0, 5);
    ExpectPoint(points[2], 1, 1, 5);
    ExpectPoint(points[3], 0, 0, 5);
}

TEST_F(PolylineReadersTest, ThreeDimensionalPolylinesSkipErasedVertices)
{
    AcDb3dPolyline* opened = InModelSpace(Corners3d(false));
    ASSERT_NE(opened, nullptr);
    ON_PolylineCurve curve;
    EXPECT_EQ(Read3dPolyline(opened, curve), 1);
    std::vector<ON_3dPoint> points = Points(curve);
    ASSERT_EQ(points.size(), 3u);
    ExpectPoint(points[0], 0, 0, 7);
    ExpectPoint(points[1], 1, 0, -2);
    ExpectPoint(points[2], 1, 1, 3);

    // Erase the middle vertex: the walk no longer meets it.
    AcDbObjectIterator* it = opened->vertexIterator();
    it->start();
    it->step();
    const AcDbObjectId middle = it->objectId();
    delete it;
    AcDbObject* vertex = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(vertex, middle, AcDb::kForWrite), Acad::eOk);
    vertex->erase();
    vertex->close();
    ON_PolylineCurve again;
    EXPECT_EQ(Read3dPolyline(opened, again), 1);
    opened->close();
    points = Points(again);
    ASSERT_EQ(points.size(), 2u);
    ExpectPoint(points[1], 1, 1, 3);
}

TEST_F(PolylineReadersTest, ClosedThreeDimensionalPolylinesRepeatTheirFirstPoint)
{
    AcDb3dPolyline* opened = InModelSpace(Corners3d(true));
    ASSERT_NE(opened, nullptr);
    ON_PolylineCurve curve;
    EXPECT_EQ(Read3dPolyline(opened, curve), 1);
    opened->close();
    const std::vector<ON_3dPoint> points = Points(curve);
    ASSERT_EQ(points.size(), 4u);
    ExpectPoint(points[2], 1, 1, 3);
    ExpectPoint(points[3], 0, 0, 7);
}

TEST_F(PolylineReadersTest, PointArraysConvertInOrder)
{
    AcArray<AcGePoint3d> points;
    EXPECT_EQ(AcGePointArrayToOn(points).Count(), 0);
    points.append(AcGePoint3d(1, 2, 3));
    points.append(AcGePoint3d(-4, 5, -6));
    const ON_3dPointArray result = AcGePointArrayToOn(points);
    ASSERT_EQ(result.Count(), 2);
    ExpectPoint(result[0], 1, 2, 3);
    ExpectPoint(result[1], -4, 5, -6);
}

}  // namespace
