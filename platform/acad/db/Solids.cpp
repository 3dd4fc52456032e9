// The stand-in's shape model and the entities built on it: 3D solids, bodies
// and regions; multilines and hatches, which explode into lines.
#include <algorithm>
#include <cmath>
#include <cwchar>

#include "DbInternal.h"
#include "dbbody.h"
#include "dbents.h"
#include "dbhatch.h"
#include "dbmline.h"
#include "dbregion.h"
#include "dbsol3d.h"

using namespace acdbimpl;

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

AcGeVector3d arbitraryXAxis(const AcGeVector3d& normal)
{
    AcGeVector3d n = normal.normal();
    AcGeVector3d ax = (std::fabs(n.x) < 1.0 / 64 && std::fabs(n.y) < 1.0 / 64)
                          ? AcGeVector3d(0.0, 1.0, 0.0).crossProduct(n)
                          : AcGeVector3d(0.0, 0.0, 1.0).crossProduct(n);
    return ax.normal();
}

static AcGePoint3d arcPoint(const ModelEdge& e, double angle)
{
    AcGeVector3d x = arbitraryXAxis(e.normal);
    AcGeVector3d y = e.normal.normal().crossProduct(x);
    return e.center + x * (e.radius * std::cos(angle)) + y * (e.radius * std::sin(angle));
}

AcGePoint3d ModelEdge::startPoint() const { return kind == kLine ? start : arcPoint(*this, startAngle); }
AcGePoint3d ModelEdge::endPoint() const { return kind == kLine ? end : arcPoint(*this, endAngle); }

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
    auto P = [&](int i, int j, int k) {
        return AcGePoint3d(i ? hi.x : lo.x, j ? hi.y : lo.y, k ? hi.z : lo.z);
    };
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
    side.loops.push_back(ModelLoop{{ModelEdge::arc(base, up, radius, 0.0, twoPi), seam,
                                    ModelEdge::arc(top, -up, radius, 0.0, twoPi)}});
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

}  // namespace standin

namespace {

using standin::ModelEdge;
using standin::ModelFace;
using standin::ShapeModel;

// The curve of one edge: a line, an arc, or a circle for an arc of a full turn.
AcDbEntity* edgeCurve(const ModelEdge& e)
{
    if (e.kind == ModelEdge::kLine)
        return new AcDbLine(e.startPoint(), e.endPoint());
    const double twoPi = 8.0 * std::atan(1.0);
    if (std::fabs(e.endAngle - e.startAngle) >= twoPi - 1e-12)
        return new AcDbCircle(e.center, e.normal, e.radius);
    return new AcDbArc(e.center, e.normal, e.radius, e.startAngle, e.endAngle);
}

void appendLoopCurves(const ModelFace& f, AcDbVoidPtrArray& out)
{
    for (const standin::ModelLoop& l : f.loops)
        for (const ModelEdge& e : l.edges)
            out.append(edgeCurve(e));
}

// One piece per face: a region for a planar face, a body for another.
void appendFacePieces(const ShapeModel& m, AcDbVoidPtrArray& out)
{
    for (const ModelFace& f : m.faces) {
        ShapeModel one;
        one.faces.push_back(f);
        if (f.planar) {
            auto* r = new AcDbRegion();
            r->setStandinModel(one);
            out.append(r);
        } else {
            auto* b = new AcDbBody();
            b->setStandinModel(one);
            out.append(b);
        }
    }
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
                AcGePoint3d q = e.center + standin::arbitraryXAxis(e.normal) * e.radius;
                p0.transformBy(x);
                p1.transformBy(x);
                q.transformBy(x);
                e.center.transformBy(x);
                e.normal = e.normal.transformBy(x).normal();
                e.radius = (q - e.center).length();
                AcGeVector3d ax = standin::arbitraryXAxis(e.normal);
                AcGeVector3d ay = e.normal.crossProduct(ax);
                double sweep = e.endAngle - e.startAngle;
                e.startAngle = std::atan2((p0 - e.center).dotProduct(ay), (p0 - e.center).dotProduct(ax));
                e.endAngle = e.startAngle + sweep;
                (void)p1;
            }
    }
}

Acad::ErrorStatus setModel(AcDbEntity* self, ShapeModel& target, const ShapeModel& model)
{
    if (!self->isWriteEnabled())
        return Acad::eNotOpenForWrite;
    Acad::ErrorStatus es = standin::checkModel(model);
    if (es == Acad::eOk)
        target = model;
    return es;
}

}  // namespace

// ---- AcDb3dSolid

ACRX_DXF_DEFINE_MEMBERS(AcDb3dSolid, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, 3DSOLID, ACDB)

AcDb3dSolid::AcDb3dSolid() = default;
AcDb3dSolid::~AcDb3dSolid() = default;
Adesk::Boolean AcDb3dSolid::isNull() const { return mModel.isEmpty(); }

Acad::ErrorStatus AcDb3dSolid::createBox(double xLen, double yLen, double zLen)
{
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!(xLen > 0.0) || !(yLen > 0.0) || !(zLen > 0.0))
        return Acad::eInvalidInput;
    mModel = standin::boxModel(AcGePoint3d(-xLen / 2, -yLen / 2, -zLen / 2), AcGePoint3d(xLen / 2, yLen / 2, zLen / 2));
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dSolid::explode(AcDbVoidPtrArray& entitySet) const
{
    if (!isReadEnabled())
        return Acad::eNotOpenForRead;
    if (mModel.isEmpty())
        return Acad::eNotApplicable;
    appendFacePieces(mModel, entitySet);
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dSolid::transformBy(const AcGeMatrix3d& xform)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        transformModel(mModel, xform);
    return es;
}

Acad::ErrorStatus AcDb3dSolid::setStandinModel(const standin::ShapeModel& model)
{
    return setModel(this, mModel, model);
}

// ---- AcDbBody

ACRX_DXF_DEFINE_MEMBERS(AcDbBody, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, BODY, ACDB)

AcDbBody::AcDbBody() = default;
AcDbBody::~AcDbBody() = default;
Adesk::Boolean AcDbBody::isNull() const { return mModel.isEmpty(); }

Acad::ErrorStatus AcDbBody::explode(AcDbVoidPtrArray& entitySet) const
{
    if (!isReadEnabled())
        return Acad::eNotOpenForRead;
    if (mModel.isEmpty())
        return Acad::eNotApplicable;
    if (mModel.faces.size() == 1)
        appendLoopCurves(mModel.faces.front(), entitySet);
    else
        appendFacePieces(mModel, entitySet);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBody::transformBy(const AcGeMatrix3d& xform)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        transformModel(mModel, xform);
    return es;
}

Acad::ErrorStatus AcDbBody::setStandinModel(const standin::ShapeModel& model) { return setModel(this, mModel, model); }

// ---- AcDbRegion

ACRX_DXF_DEFINE_MEMBERS(AcDbRegion, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, REGION, ACDB)

AcDbRegion::AcDbRegion() = default;
AcDbRegion::~AcDbRegion() = default;
Adesk::Boolean AcDbRegion::isNull() const { return mModel.isEmpty(); }

Acad::ErrorStatus AcDbRegion::setStandinModel(const standin::ShapeModel& model)
{
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!model.isEmpty() && (model.faces.size() != 1 || !model.faces.front().planar))
        return Acad::eInvalidInput;
    return setModel(this, mModel, model);
}

Acad::ErrorStatus AcDbRegion::getNormal(AcGeVector3d& normal) const
{
    if (mModel.isEmpty())
        return Acad::eNotApplicable;
    normal = mModel.faces.front().normal;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRegion::getArea(double& area) const
{
    area = 0.0;
    if (mModel.isEmpty())
        return Acad::eOk;
    const ModelFace& f = mModel.faces.front();
    for (size_t i = 0; i < f.loops.size(); ++i) {
        AcGeVector3d sum;
        const auto& edges = f.loops[i].edges;
        AcGePoint3d o = edges.front().startPoint();
        for (const ModelEdge& e : edges)
            sum += (e.startPoint() - o).crossProduct(e.endPoint() - o);
        double a = std::fabs(sum.dotProduct(f.normal)) / 2.0;
        area += i == 0 ? a : -a;
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRegion::explode(AcDbVoidPtrArray& entitySet) const
{
    if (!isReadEnabled())
        return Acad::eNotOpenForRead;
    if (mModel.isEmpty())
        return Acad::eNotApplicable;
    appendLoopCurves(mModel.faces.front(), entitySet);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRegion::transformBy(const AcGeMatrix3d& xform)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        transformModel(mModel, xform);
    return es;
}

Acad::ErrorStatus AcDbRegion::createFromCurves(const AcDbVoidPtrArray& curveSegments, AcDbVoidPtrArray& regions)
{
    std::vector<std::pair<AcGePoint3d, AcGePoint3d>> segs;
    for (void* p : curveSegments) {
        const AcDbLine* l = AcDbLine::cast(static_cast<AcRxObject*>(p));
        if (l == nullptr)
            return Acad::eInvalidInput;
        segs.emplace_back(l->startPoint(), l->endPoint());
    }
    // Chain the segments into closed loops, end to end, either way round.
    std::vector<bool> used(segs.size(), false);
    std::vector<std::vector<AcGePoint3d>> loops;
    for (size_t first = 0; first < segs.size(); ++first) {
        if (used[first])
            continue;
        used[first] = true;
        std::vector<AcGePoint3d> loop{segs[first].first};
        AcGePoint3d at = segs[first].second;
        bool closed = at.isEqualTo(loop.front());
        while (!closed) {
            bool moved = false;
            for (size_t k = 0; k < segs.size() && !moved; ++k) {
                if (used[k])
                    continue;
                if (segs[k].first.isEqualTo(at) || segs[k].second.isEqualTo(at)) {
                    used[k] = true;
                    loop.push_back(at);
                    at = segs[k].first.isEqualTo(at) ? segs[k].second : segs[k].first;
                    moved = true;
                }
            }
            if (!moved)
                return Acad::eInvalidInput;
            closed = at.isEqualTo(loop.front());
        }
        if (loop.size() < 3)
            return Acad::eInvalidInput;
        loops.push_back(loop);
    }
    std::vector<AcDbRegion*> made;
    for (const auto& loop : loops) {
        ShapeModel m = standin::polygonRegionModel(loop);
        const AcGeVector3d n = m.faces.front().normal;
        bool planar = !n.isZeroLength();
        for (const AcGePoint3d& p : loop)
            planar = planar && std::fabs((p - loop.front()).dotProduct(n)) <= 1e-9 * (1.0 + (p - loop.front()).length());
        if (!planar) {
            for (AcDbRegion* r : made)
                delete r;
            return Acad::eInvalidInput;
        }
        auto* r = new AcDbRegion();
        r->setStandinModel(m);
        made.push_back(r);
    }
    for (AcDbRegion* r : made)
        regions.append(r);
    return Acad::eOk;
}

// ---- AcDbMline

ACRX_DXF_DEFINE_MEMBERS(AcDbMline, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, MLINE, ACDB)

AcDbMline::AcDbMline() = default;
AcDbMline::~AcDbMline() = default;

Acad::ErrorStatus AcDbMline::setJustification(Mline::MlineJustification justification)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        mJustification = justification;
    return es;
}

Acad::ErrorStatus AcDbMline::setScale(double scale)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        mScale = scale;
    return es;
}

Acad::ErrorStatus AcDbMline::setNormal(const AcGeVector3d& normal)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (normal.isZeroLength())
        return Acad::eInvalidInput;
    mNormal = normal.normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbMline::setClosedMline(bool closed)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        mClosed = closed;
    return es;
}

Acad::ErrorStatus AcDbMline::appendSeg(const AcGePoint3d& newVertex)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        mVertices.push_back(newVertex);
    return es;
}

Acad::ErrorStatus AcDbMline::removeLastSeg(AcGePoint3d& lastVertex)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (mVertices.empty())
        return Acad::eInvalidIndex;
    lastVertex = mVertices.back();
    mVertices.pop_back();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbMline::moveVertexAt(int index, const AcGePoint3d& newPosition)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (index < 0 || index >= numVertices())
        return Acad::eInvalidIndex;
    mVertices[static_cast<size_t>(index)] = newPosition;
    return Acad::eOk;
}

AcGePoint3d AcDbMline::vertexAt(int index) const
{
    return (index < 0 || index >= numVertices()) ? AcGePoint3d() : mVertices[static_cast<size_t>(index)];
}

Acad::ErrorStatus AcDbMline::explode(AcDbVoidPtrArray& entitySet) const
{
    if (!isReadEnabled())
        return Acad::eNotOpenForRead;
    // Repeated vertices make no segment.
    std::vector<AcGePoint3d> path;
    for (const AcGePoint3d& p : mVertices)
        if (path.empty() || !path.back().isEqualTo(p))
            path.push_back(p);
    if (mClosed && path.size() > 2 && path.back().isEqualTo(path.front()))
        path.pop_back();
    if (path.size() < 2)
        return Acad::eNotApplicable;
    const bool closed = mClosed && path.size() > 2;
    const size_t n = path.size();
    const size_t segments = closed ? n : n - 1;
    // The STANDARD style's elements, moved by the justification.
    const double shift = mJustification == Mline::kTop ? -0.5 : mJustification == Mline::kBottom ? 0.5 : 0.0;
    const double offsets[2] = {(0.5 + shift) * mScale, (-0.5 + shift) * mScale};
    auto leftOf = [&](size_t seg) {
        AcGeVector3d d = path[(seg + 1) % n] - path[seg];
        return mNormal.crossProduct(d).normal();
    };
    for (double off : offsets) {
        // The element's point at each vertex: along the bisector of the two
        // segments' left directions, so that the element keeps its distance.
        std::vector<AcGePoint3d> pts(n);
        for (size_t i = 0; i < n; ++i) {
            bool hasPrev = closed || i > 0, hasNext = closed || i + 1 < n;
            AcGeVector3d a = hasPrev ? leftOf((i + n - 1) % n) : leftOf(i);
            AcGeVector3d b = hasNext ? leftOf(i) : a;
            AcGeVector3d m = a + b;
            double c = m.isZeroLength() ? 0.0 : m.normal().dotProduct(a);
            AcGeVector3d dir = c > 1e-6 ? m.normal() / c : a;
            pts[i] = path[i] + dir * off;
        }
        for (size_t s = 0; s < segments; ++s)
            entitySet.append(new AcDbLine(pts[s], pts[(s + 1) % n]));
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbMline::transformBy(const AcGeMatrix3d& xform)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    for (AcGePoint3d& p : mVertices)
        p.transformBy(xform);
    mNormal = mNormal.transformBy(xform).normal();
    return Acad::eOk;
}

// ---- AcDbHatch

ACRX_DXF_DEFINE_MEMBERS(AcDbHatch, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, HATCH, ACDB)

AcDbHatch::AcDbHatch() : mpPattern(copyString(L"_USER")) {}
AcDbHatch::~AcDbHatch() { delete[] mpPattern; }

const ACHAR* AcDbHatch::patternName() const { return mpPattern; }

Acad::ErrorStatus AcDbHatch::setPattern(HatchPatternType patType, const ACHAR* patName)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (patName == nullptr || *patName == 0)
        return Acad::eInvalidInput;
    ACHAR* copy = copyString(patName);
    delete[] mpPattern;
    mpPattern = copy;
    mPatternType = patType;
    return Acad::eOk;
}

bool AcDbHatch::isSolidFill() const { return sameName(mpPattern, L"SOLID"); }

Acad::ErrorStatus AcDbHatch::setPatternAngle(double angle)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        mAngle = angle;
    return es;
}

Acad::ErrorStatus AcDbHatch::setPatternSpace(double space)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (!(space > 0.0))
        return Acad::eInvalidInput;
    mSpace = space;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setElevation(double elevation)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        mElevation = elevation;
    return es;
}

Acad::ErrorStatus AcDbHatch::setNormal(const AcGeVector3d& normal)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (normal.isZeroLength())
        return Acad::eInvalidInput;
    mNormal = normal.normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::appendLoop(Adesk::Int32 loopType, const AcGePoint3dArray& vertices,
                                        const AcGeDoubleArray& bulges)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (vertices.length() < 3 || (bulges.length() != 0 && bulges.length() != vertices.length()))
        return Acad::eInvalidInput;
    Loop l;
    l.type = loopType | kPolyline;
    for (const AcGePoint3d& p : vertices)
        l.vertices.push_back(AcGePoint3d(p.x, p.y, 0.0));
    for (double b : bulges)
        l.bulges.push_back(b);
    mLoops.push_back(l);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::appendLoop(Adesk::Int32 loopType, const AcGePoint2dArray& vertices,
                                        const AcGeDoubleArray& bulges)
{
    AcGePoint3dArray points;
    for (const AcGePoint2d& p : vertices)
        points.append(AcGePoint3d(p.x, p.y, 0.0));
    return appendLoop(loopType, points, bulges);
}

Acad::ErrorStatus AcDbHatch::removeLoopAt(int loopIndex)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (loopIndex < 0 || loopIndex >= numLoops())
        return Acad::eInvalidIndex;
    mLoops.erase(mLoops.begin() + loopIndex);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getLoopAt(int loopIndex, Adesk::Int32& loopType, AcGePoint3dArray& vertices,
                                       AcGeDoubleArray& bulges) const
{
    if (loopIndex < 0 || loopIndex >= numLoops())
        return Acad::eInvalidIndex;
    const Loop& l = mLoops[static_cast<size_t>(loopIndex)];
    loopType = l.type;
    vertices.removeAll();
    bulges.removeAll();
    for (const AcGePoint3d& p : l.vertices)
        vertices.append(p);
    for (double b : l.bulges)
        bulges.append(b);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::evaluateHatch(bool) { return checkWritable(); }

Acad::ErrorStatus AcDbHatch::explode(AcDbVoidPtrArray& entitySet) const
{
    if (!isReadEnabled())
        return Acad::eNotOpenForRead;
    if (mLoops.empty())
        return Acad::eNotApplicable;
    // Plane coordinates to the drawing.
    const AcGeVector3d ax = standin::arbitraryXAxis(mNormal);
    const AcGeVector3d ay = mNormal.crossProduct(ax);
    auto toWorld = [&](double u, double v) {
        return AcGePoint3d(0, 0, 0) + ax * u + ay * v + mNormal * mElevation;
    };
    if (isSolidFill()) {
        for (const Loop& l : mLoops)
            for (size_t i = 0; i < l.vertices.size(); ++i) {
                const AcGePoint3d& a = l.vertices[i];
                const AcGePoint3d& b = l.vertices[(i + 1) % l.vertices.size()];
                const double bulge = l.bulges.empty() ? 0.0 : l.bulges[i];
                const double dx = b.x - a.x, dy = b.y - a.y, c = std::sqrt(dx * dx + dy * dy);
                if (bulge == 0.0 || c == 0.0) {
                    entitySet.append(new AcDbLine(toWorld(a.x, a.y), toWorld(b.x, b.y)));
                    continue;
                }
                // A bulged segment: an arc turning 4 atan(bulge) from a to b
                // (counter-clockwise when positive). The plane's axes are the
                // arc's own, so plane angles are arc angles.
                const double theta = 4.0 * std::atan(bulge);
                const double h = (c / 2.0) / std::tan(theta / 2.0);
                const double cx = (a.x + b.x) / 2.0 - dy / c * h, cy = (a.y + b.y) / 2.0 + dx / c * h;
                const double r = std::sqrt((a.x - cx) * (a.x - cx) + (a.y - cy) * (a.y - cy));
                const double angA = std::atan2(a.y - cy, a.x - cx), angB = std::atan2(b.y - cy, b.x - cx);
                AcGePoint3d center = toWorld(cx, cy);
                entitySet.append(bulge > 0.0 ? new AcDbArc(center, mNormal, r, angA, angB)
                                             : new AcDbArc(center, mNormal, r, angB, angA));
            }
        return Acad::eOk;
    }
    // Pattern lines: direction (cos a, sin a), one every spacing across it,
    // through the origin of the plane, kept where they are inside the loops
    // by the even-odd rule (bulged segments by their chords).
    const double ca = std::cos(mAngle), sa = std::sin(mAngle);
    auto along = [&](const AcGePoint3d& p) { return p.x * ca + p.y * sa; };
    auto across = [&](const AcGePoint3d& p) { return -p.x * sa + p.y * ca; };
    double lo = 1e300, hi = -1e300;
    for (const Loop& l : mLoops)
        for (const AcGePoint3d& p : l.vertices) {
            lo = std::min(lo, across(p));
            hi = std::max(hi, across(p));
        }
    const double first = std::ceil(lo / mSpace);
    const double last = std::floor(hi / mSpace);
    if (last - first > 1e6)
        return Acad::eOutOfRange;  // too dense to draw
    for (double k = first; k <= last; k += 1.0) {
        const double v = k * mSpace;
        std::vector<double> cuts;
        for (const Loop& l : mLoops)
            for (size_t i = 0; i < l.vertices.size(); ++i) {
                const AcGePoint3d& a = l.vertices[i];
                const AcGePoint3d& b = l.vertices[(i + 1) % l.vertices.size()];
                double va = across(a), vb = across(b);
                if ((va <= v) == (vb <= v))
                    continue;  // half-open rule: a vertex on the line counts once
                double t = (v - va) / (vb - va);
                cuts.push_back(along(a) + t * (along(b) - along(a)));
            }
        std::sort(cuts.begin(), cuts.end());
        for (size_t i = 0; i + 1 < cuts.size(); i += 2) {
            if (cuts[i + 1] - cuts[i] <= 1e-12)
                continue;
            auto pt = [&](double u) { return toWorld(u * ca - v * sa, u * sa + v * ca); };
            entitySet.append(new AcDbLine(pt(cuts[i]), pt(cuts[i + 1])));
        }
    }
    return Acad::eOk;
}
