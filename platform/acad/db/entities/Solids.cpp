// The entities built on the shape model: 3D solids, bodies and regions.
#include <algorithm>
#include <cmath>
#include <cwchar>

#include "DbInternal.h"
#include "EntityRules.h"
#include "dbbody.h"
#include "dbents.h"
#include "dbregion.h"
#include "dbsol3d.h"

using namespace acdbimpl;

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

Acad::ErrorStatus setModel(AcDbEntity* self, ShapeModel& target, const ShapeModel& model)
{
    if (!self->isWriteEnabled())
        return Acad::eNotOpenForWrite;
    Acad::ErrorStatus es = standin::checkModel(model);
    if (es == Acad::eOk)
        target = model;
    return es;
}

// An ACIS entity moves, turns, scales uniformly and mirrors; a transform
// that would make its circles ellipses is refused and leaves it as it was.
Acad::ErrorStatus transformShape(Acad::ErrorStatus writable, ShapeModel& model, const AcGeMatrix3d& xform)
{
    double scale = 0.0;
    Acad::ErrorStatus es = acdbimpl::similarityScale(writable, xform, scale);
    if (es == Acad::eOk)
        standin::transformModel(model, xform);
    return es;
}

}  // namespace

// ---- AcDb3dSolid

ACRX_DXF_DEFINE_MEMBERS(AcDb3dSolid, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, 3DSOLID, ACDB)

AcDb3dSolid::AcDb3dSolid() = default;
AcDb3dSolid::~AcDb3dSolid() = default;
Adesk::Boolean AcDb3dSolid::isNull() const
{
    return mModel.isEmpty();
}

Acad::ErrorStatus AcDb3dSolid::createBox(double xLen, double yLen, double zLen)
{
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!isFinite(xLen) || !isFinite(yLen) || !isFinite(zLen) || !(xLen > 0.0) || !(yLen > 0.0) || !(zLen > 0.0))
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
    return transformShape(checkWritable(), mModel, xform);
}

Acad::ErrorStatus AcDb3dSolid::setStandinModel(const standin::ShapeModel& model)
{
    return setModel(this, mModel, model);
}

// ---- AcDbBody

ACRX_DXF_DEFINE_MEMBERS(AcDbBody, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, BODY, ACDB)

AcDbBody::AcDbBody() = default;
AcDbBody::~AcDbBody() = default;
Adesk::Boolean AcDbBody::isNull() const
{
    return mModel.isEmpty();
}

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
    return transformShape(checkWritable(), mModel, xform);
}

Acad::ErrorStatus AcDbBody::setStandinModel(const standin::ShapeModel& model)
{
    return setModel(this, mModel, model);
}

// ---- AcDbRegion

ACRX_DXF_DEFINE_MEMBERS(AcDbRegion, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, REGION, ACDB)

AcDbRegion::AcDbRegion() = default;
AcDbRegion::~AcDbRegion() = default;
Adesk::Boolean AcDbRegion::isNull() const
{
    return mModel.isEmpty();
}

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
    return transformShape(checkWritable(), mModel, xform);
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
            planar =
                planar && std::fabs((p - loop.front()).dotProduct(n)) <= 1e-9 * (1.0 + (p - loop.front()).length());
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
