// Polyline readers (conversion group).
#include "PolylineReaders.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "GeometryConversion.h"
#include "ReaderCircles.h"
#include "dbmain.h"
#include "gearc3d.h"
#include "gelnsg3d.h"

namespace {

// The point list of a polyline, closed by repeating its first point.
void AssignPolyline(ON_3dPointArray& points, bool closed, ON_PolylineCurve& curve)
{
    if (closed && points.Count() > 0) {
        const ON_3dPoint first = points[0];
        points.Append(first);
    }
    curve = ON_PolylineCurve(points);
}

// Walks the vertices of a 2D or 3D polyline, one open at a time, handing
// each to take. A vertex that cannot be opened is skipped.
template <typename Vertex, typename Polyline, typename Take> void WalkVertices(Polyline* polyline, Take take)
{
    AcDbObjectIterator* it = polyline->vertexIterator();
    if (it == NULL)
        return;
    for (it->start(); !it->done(); it->step()) {
        AcDbObject* object = NULL;
        if (acdbOpenAcDbObject(object, it->objectId(), AcDb::kForRead, Vertex::desc(), false) != Acad::eOk)
            continue;
        if (Vertex* vertex = Vertex::cast(object))
            take(vertex);
        object->close();
    }
    delete it;
}

double LargestCoordinate(const AcGePoint3d& p)
{
    return std::max(std::fabs(p.x), std::max(std::fabs(p.y), std::fabs(p.z)));
}

// True when an arc segment cannot be told from its chord in double precision:
// its distance from the chord (the sagitta, |bulge| x chord / 2) is no more
// than the rounding of the circle it lies on, whose centre and radius grow
// without bound as the bulge shrinks. Such an arc, drawn from its centre,
// would miss its end vertex by more than it leaves the chord, or come out as
// a whole circle; a circle that is not finite is no arc either.
bool IsStraightArc(const AcGeCircArc3d& arc, const AcGePoint3d& from, const AcGePoint3d& to, double bulge)
{
    const double sagitta = std::fabs(bulge) * from.distanceTo(to) / 2.0;
    const double rounding = 16.0 * DBL_EPSILON *
        (std::max(LargestCoordinate(arc.center()), std::max(LargestCoordinate(from), LargestCoordinate(to))) +
         arc.radius());
    return !(sagitta > rounding);
}

}  // namespace

int ReadPolyline(AcDbPolyline* polyline, ON_PolylineCurve& curve)
{
    ON_3dPointArray points;
    for (unsigned int i = 0; i < polyline->numVerts(); ++i) {
        AcGePoint3d p;
        polyline->getPointAt(i, p);
        points.Append(AcGePointToOn(p));
    }
    AssignPolyline(points, polyline->isClosed() != 0, curve);
    return 1;
}

int Read2dPolyline(AcDb2dPolyline* polyline, ON_PolylineCurve& curve)
{
    ON_3dPointArray points;
    WalkVertices<AcDb2dVertex>(polyline, [&](AcDb2dVertex* vertex) {
        const AcGePoint3d p = vertex->position();
        points.Append(ON_3dPoint(p.x, p.y, polyline->elevation()));
    });
    AssignPolyline(points, polyline->isClosed() != 0, curve);
    return 1;
}

int Read3dPolyline(AcDb3dPolyline* polyline, ON_PolylineCurve& curve)
{
    ON_3dPointArray points;
    WalkVertices<AcDb3dPolylineVertex>(
        polyline, [&](AcDb3dPolylineVertex* vertex) { points.Append(AcGePointToOn(vertex->position())); });
    AssignPolyline(points, polyline->isClosed() != 0, curve);
    return 1;
}

int ReadPolylineSegments(AcDbPolyline* polyline, ON_PolyCurve& curve)
{
    for (unsigned int i = 0; i < polyline->numVerts(); ++i) {
        switch (polyline->segType(i)) {
        case AcDbPolyline::kLine: {
            AcGeLineSeg3d segment;
            polyline->getLineSegAt(i, segment);
            curve.Append(new ON_LineCurve(AcGePointToOn(segment.startPoint()), AcGePointToOn(segment.endPoint())));
            break;
        }
        case AcDbPolyline::kArc: {
            AcGeCircArc3d segment;
            polyline->getArcSegAt(i, segment);
            // The segment runs from vertex i to the next vertex, the first
            // one again for the closing segment.
            AcGePoint3d from;
            AcGePoint3d to;
            polyline->getPointAt(i, from);
            polyline->getPointAt((i + 1) % polyline->numVerts(), to);
            double bulge = 0.0;
            polyline->getBulgeAt(i, bulge);
            if (IsStraightArc(segment, from, to, bulge)) {
                curve.Append(new ON_LineCurve(AcGePointToOn(from), AcGePointToOn(to)));
                break;
            }
            const ON_Circle circle = ReaderCircle(segment.center(), segment.normal(), segment.radius());
            curve.Append(new ON_ArcCurve(ArcOnCircle(circle, AcGePointToOn(from), AcGePointToOn(to))));
            break;
        }
        default: break;
        }
    }
    return 1;
}

ON_3dPointArray AcGePointArrayToOn(const AcArray<AcGePoint3d>& points)
{
    ON_3dPointArray result;
    for (int i = 0; i < points.length(); ++i)
        result.Append(AcGePointToOn(points[i]));
    return result;
}
