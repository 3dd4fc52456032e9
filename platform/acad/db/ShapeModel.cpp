// The stand-in's shape model (standin/AcDbShapeModel.h): its edges, its
// check and its ready-made shapes.
#include <cmath>

#include "EntityRules.h"
#include "gemat3d.h"
#include "standin/AcDbShapeModel.h"

namespace standin {

ModelEdge ModelEdge::line(const AcGePoint3d& from, const AcGePoint3d& to)
{
    ModelEdge e;
    e.kind = kLine;
    e.start = from;
    e.end = to;
    return e;
}

ModelEdge ModelEdge::arc(const AcGePoint3d& c, const AcGeVector3d& n, double r, double a0, double a1)
{
    ModelEdge e;
    e.kind = kArc;
    e.center = c;
    e.normal = n.normal();
    e.radius = r;
    e.startAngle = a0;
    e.endAngle = a1;
    return e;
}

static AcGePoint3d arcPoint(const ModelEdge& e, double angle)
{
    AcGeVector3d x = acdbimpl::arbitraryXAxis(e.normal);
    AcGeVector3d y = e.normal.normal().crossProduct(x);
    return e.center + x * (e.radius * std::cos(angle)) + y * (e.radius * std::sin(angle));
}

AcGePoint3d ModelEdge::startPoint() const
{
    return kind == kLine ? start : arcPoint(*this, startAngle);
}
AcGePoint3d ModelEdge::endPoint() const
{
    return kind == kLine ? end : arcPoint(*this, endAngle);
}

Acad::ErrorStatus checkModel(const ShapeModel& model)
{
    for (const ModelFace& f : model.faces) {
        if (f.loops.empty() || (f.planar && f.normal.isZeroLength()))
            return Acad::eInvalidInput;
        for (const ModelLoop& l : f.loops) {
            if (l.edges.empty())
                return Acad::eInvalidInput;
            for (const ModelEdge& e : l.edges)
                if (e.kind == ModelEdge::kArc && (!(e.radius > 0.0) || e.normal.isZeroLength()))
                    return Acad::eInvalidInput;
        }
    }
    return Acad::eOk;
}

static ModelFace quadFace(const AcGePoint3d& a, const AcGePoint3d& b, const AcGePoint3d& c, const AcGePoint3d& d)
{
    ModelFace f;
    f.normal = (b - a).crossProduct(c - b).normal();
    ModelLoop l;
    l.edges = {ModelEdge::line(a, b), ModelEdge::line(b, c), ModelEdge::line(c, d), ModelEdge::line(d, a)};
    f.loops.push_back(l);
    return f;
}

ShapeModel boxModel(const AcGePoint3d& lo, const AcGePoint3d& hi)
{
    auto P = [&](int i, int j, int k) { return AcGePoint3d(i ? hi.x : lo.x, j ? hi.y : lo.y, k ? hi.z : lo.z); };
    ShapeModel m;
    m.faces.push_back(quadFace(P(0, 0, 0), P(0, 1, 0), P(1, 1, 0), P(1, 0, 0)));  // bottom, -Z
    m.faces.push_back(quadFace(P(0, 0, 1), P(1, 0, 1), P(1, 1, 1), P(0, 1, 1)));  // top, +Z
    m.faces.push_back(quadFace(P(0, 0, 0), P(1, 0, 0), P(1, 0, 1), P(0, 0, 1)));  // front, -Y
    m.faces.push_back(quadFace(P(1, 0, 0), P(1, 1, 0), P(1, 1, 1), P(1, 0, 1)));  // right, +X
    m.faces.push_back(quadFace(P(1, 1, 0), P(0, 1, 0), P(0, 1, 1), P(1, 1, 1)));  // back, +Y
    m.faces.push_back(quadFace(P(0, 1, 0), P(0, 0, 0), P(0, 0, 1), P(0, 1, 1)));  // left, -X
    return m;
}

ShapeModel cylinderModel(const AcGePoint3d& base, double radius, double height)
{
    const double twoPi = 8.0 * std::atan(1.0);
    const AcGeVector3d up(0.0, 0.0, 1.0);
    const AcGePoint3d top = base + up * height;
    ShapeModel m;
    ModelFace bottom;
    bottom.normal = -up;
    bottom.loops.push_back(ModelLoop{{ModelEdge::arc(base, -up, radius, 0.0, twoPi)}});
    ModelFace cap;
    cap.normal = up;
    cap.loops.push_back(ModelLoop{{ModelEdge::arc(top, up, radius, 0.0, twoPi)}});
    ModelFace side;
    side.planar = false;
    side.normal = AcGeVector3d();
    ModelEdge seam = ModelEdge::line(base + AcGeVector3d(radius, 0.0, 0.0), top + AcGeVector3d(radius, 0.0, 0.0));
    side.loops.push_back(
        ModelLoop{{ModelEdge::arc(base, up, radius, 0.0, twoPi), seam, ModelEdge::arc(top, -up, radius, 0.0, twoPi)}});
    m.faces = {bottom, cap, side};
    return m;
}

ShapeModel polygonRegionModel(const std::vector<AcGePoint3d>& corners)
{
    ShapeModel m;
    if (corners.size() < 3)
        return m;
    ModelFace f;
    AcGeVector3d n;
    for (size_t i = 0; i < corners.size(); ++i) {  // Newell's normal
        const AcGePoint3d& a = corners[i];
        const AcGePoint3d& b = corners[(i + 1) % corners.size()];
        n += AcGeVector3d((a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y));
    }
    f.normal = n.normal();
    ModelLoop l;
    for (size_t i = 0; i < corners.size(); ++i)
        l.edges.push_back(ModelEdge::line(corners[i], corners[(i + 1) % corners.size()]));
    f.loops.push_back(l);
    m.faces.push_back(f);
    return m;
}

void transformModel(ShapeModel& m, const AcGeMatrix3d& x)
{
    for (ModelFace& f : m.faces) {
        if (f.planar)
            f.normal = f.normal.transformBy(x).normal();
        for (standin::ModelLoop& l : f.loops)
            for (ModelEdge& e : l.edges) {
                if (e.kind == ModelEdge::kLine) {
                    e.start.transformBy(x);
                    e.end.transformBy(x);
                    continue;
                }
                // Arcs: keep the start and end points where the transform puts them.
                AcGePoint3d p0 = e.startPoint(), p1 = e.endPoint();
                AcGePoint3d q = e.center + acdbimpl::arbitraryXAxis(e.normal) * e.radius;
                p0.transformBy(x);
                p1.transformBy(x);
                q.transformBy(x);
                e.center.transformBy(x);
                // Under a mirror the image of a turn about the normal turns
                // the other way about the normal's image: the arc keeps its
                // start, sweep and end about the reversed normal.
                e.normal = e.normal.transformBy(x).normal();
                if (x.det() < 0.0)
                    e.normal = -e.normal;
                e.radius = (q - e.center).length();
                AcGeVector3d ax = acdbimpl::arbitraryXAxis(e.normal);
                AcGeVector3d ay = e.normal.crossProduct(ax);
                double sweep = e.endAngle - e.startAngle;
                e.startAngle = std::atan2((p0 - e.center).dotProduct(ay), (p0 - e.center).dotProduct(ax));
                e.endAngle = e.startAngle + sweep;
                (void)p1;
            }
    }
}

}  // namespace standin
