// The polylines: vertices as owned subentities, the 2D and 3D polylines, and
// the lightweight polyline with its bulged segments.
#include <cmath>

#include "DbInternal.h"
#include "EntityRules.h"
#include "dbents.h"
#include "dbpl.h"

using namespace acdbimpl;
using Impl = AcDbDatabase::Impl;
using standin::CurvePath;
using standin::CurvePiece;

using acdbimpl::isFinite;
using acdbimpl::usableNormal;

namespace {

// The entity coordinate system of a normal: x, y axes (origin at the world origin).
void ecsAxes(const AcGeVector3d& normal, AcGeVector3d& x, AcGeVector3d& y)
{
    x = acdbStandinEcsXAxis(normal);
    y = normal.crossProduct(x).normal();
}

AcGePoint3d ecsToWorld(const AcGeVector3d& normal, double px, double py, double pz)
{
    AcGeVector3d x, y;
    ecsAxes(normal, x, y);
    return AcGePoint3d::kOrigin + x * px + y * py + normal * pz;
}

// A segment of a planar polyline from a to b (plane coordinates) with a bulge,
// as a path piece over the entity parameters [i, i + 1].
CurvePiece planarSegment(const AcGeVector3d& normal, double elevation, const AcGePoint2d& a, const AcGePoint2d& b,
                         double bulge, double i)
{
    CurvePiece piece;
    piece.p0 = i;
    piece.p1 = i + 1.0;
    AcGePoint3d wa = ecsToWorld(normal, a.x, a.y, elevation);
    AcGePoint3d wb = ecsToWorld(normal, b.x, b.y, elevation);
    double chord = a.distanceTo(b);
    if (bulge == 0.0 || chord == 0.0 || !isFinite(bulge)) {
        piece.kind = CurvePiece::kSegment;
        piece.origin = wa;
        piece.axisX = wb - wa;
        piece.t0 = 0.0;
        piece.t1 = 1.0;
        return piece;
    }
    // Included angle 4 atan(bulge); the centre lies off the chord's midpoint
    // along its left normal by (chord / 2) (1 - b^2) / (2 b).
    double theta = 4.0 * std::atan(bulge);
    AcGeVector2d dir = (b - a) / chord;
    AcGeVector2d left(-dir.y, dir.x);
    double offset = chord / 2.0 * (1.0 - bulge * bulge) / (2.0 * bulge);
    AcGePoint2d mid((a.x + b.x) / 2.0, (a.y + b.y) / 2.0);
    AcGePoint2d c = mid + left * offset;
    double r = c.distanceTo(a);
    AcGeVector3d x, y;
    ecsAxes(normal, x, y);
    AcGeVector2d ra = (a - c) / r;
    AcGeVector2d rb(-ra.y, ra.x);  // a quarter turn counter-clockwise in the plane
    piece.kind = CurvePiece::kEllipse;
    piece.origin = ecsToWorld(normal, c.x, c.y, elevation);
    piece.axisX = (x * ra.x + y * ra.y) * r;
    piece.axisY = (x * rb.x + y * rb.y) * r;
    piece.t0 = 0.0;
    piece.t1 = theta;  // negative for clockwise
    return piece;
}

}  // namespace

// ---- vertices and their owners

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbVertex, AcDbEntity)
AcDbVertex::AcDbVertex() = default;
AcDbVertex::~AcDbVertex() = default;

ACRX_DXF_DEFINE_MEMBERS(AcDbSequenceEnd, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, SEQEND, ACDB)
AcDbSequenceEnd::AcDbSequenceEnd() = default;
AcDbSequenceEnd::~AcDbSequenceEnd() = default;

standin::SubentityOwner::~SubentityOwner() = default;

Acad::ErrorStatus standin::SubentityOwner::adopt(AcDbEntity* self, AcDbObjectId& id, AcDbEntity* sub)
{
    if (sub == nullptr)
        return Acad::eNullEntityPointer;
    if (!self->isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (Impl::stubOf(sub) != nullptr || (Impl::flagsOf(sub) & kSubentity) != 0)
        return Acad::eAlreadyInDb;
    Impl::flagsOf(sub) |= kSubentity;
    mSubentities.push_back(sub);
    Impl::flagsOf(self) |= kHasSubentities;
    id = AcDbObjectId();
    if (AcDbDatabase::Impl* d = implOf(self)) {
        d->fillDefaults(sub);
        id = d->add(sub, Impl::stubOf(self));
    }
    return Acad::eOk;
}

void standin::SubentityOwner::releaseSubentities(AcDbEntity* self)
{
    if (Impl::stubOf(self) == nullptr)
        for (AcDbObject* sub : mSubentities)
            delete sub;
    mSubentities.clear();
}

void acdbimpl::addSubentities(AcDbDatabase::Impl* d, AcDbEntity* owner)
{
    // Most entities own nothing; the flag spares them the cross-cast.
    if ((Impl::flagsOf(owner) & kHasSubentities) == 0)
        return;
    auto* o = dynamic_cast<standin::SubentityOwner*>(owner);
    if (o == nullptr)
        return;
    for (AcDbObject* sub : o->subentities()) {
        if (Impl::stubOf(sub) != nullptr)
            continue;
        AcDbEntity* e = static_cast<AcDbEntity*>(sub);
        // A vertex takes the properties of its polyline.
        Impl::layerOf(e) = Impl::layerOf(owner);
        Impl::linetypeOf(e) = Impl::linetypeOf(owner);
        Impl::colorOf(e) = Impl::colorOf(owner);
        d->add(sub, Impl::stubOf(owner));
    }
}

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbObjectIterator, AcRxObject)

AcDbObjectIterator::AcDbObjectIterator(const standin::SubentityOwner* owner) : mpOwner(owner)
{
    start();
}
AcDbObjectIterator::~AcDbObjectIterator() = default;

Adesk::Boolean AcDbObjectIterator::done() const
{
    return mpOwner == nullptr || mIndex < 0 || mIndex >= static_cast<long long>(mpOwner->subentities().size());
}

void AcDbObjectIterator::step(Adesk::Boolean backwards, Adesk::Boolean skipErasedObjects)
{
    if (done())
        return;
    const auto& list = mpOwner->subentities();
    do {
        mIndex += backwards ? -1 : 1;
    } while (skipErasedObjects && !done() && list[static_cast<size_t>(mIndex)]->isErased());
}

void AcDbObjectIterator::start(Adesk::Boolean atEnd)
{
    if (mpOwner == nullptr)
        return;
    const auto& list = mpOwner->subentities();
    mIndex = atEnd ? static_cast<long long>(list.size()) - 1 : 0;
    while (!done() && list[static_cast<size_t>(mIndex)]->isErased())
        mIndex += atEnd ? -1 : 1;
}

void AcDbObjectIterator::setPosition(AcDbEntity* pEnt)
{
    if (mpOwner == nullptr)
        return;
    const auto& list = mpOwner->subentities();
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i] == pEnt)
            mIndex = static_cast<long long>(i);
}

void AcDbObjectIterator::setPosition(AcDbObjectId pObj)
{
    if (mpOwner == nullptr || pObj.isNull())
        return;
    const auto& list = mpOwner->subentities();
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i]->objectId() == pObj)
            mIndex = static_cast<long long>(i);
}

AcDbEntity* AcDbObjectIterator::entity()
{
    return done() ? nullptr : static_cast<AcDbEntity*>(mpOwner->subentities()[static_cast<size_t>(mIndex)]);
}

AcDbObjectId AcDbObjectIterator::objectId()
{
    AcDbEntity* e = entity();
    return e != nullptr ? e->objectId() : AcDbObjectId();
}

// ---- AcDb2dVertex

ACRX_DXF_DEFINE_MEMBERS(AcDb2dVertex, AcDbVertex, AcDb::kDHL_CURRENT, 0, 0, VERTEX, ACDB)

AcDb2dVertex::AcDb2dVertex() = default;

AcDb2dVertex::AcDb2dVertex(const AcGePoint3d& position, double bulge, double startWidth, double endWidth,
                           double tangent, Adesk::Int32 vertexIdentifier)
    : mPosition(finiteOr(position, AcGePoint3d::kOrigin)), mBulge(finiteOr(bulge, 0.0)),
      mStartWidth(finiteOr(startWidth, 0.0)), mEndWidth(finiteOr(endWidth, 0.0)), mTangent(finiteOr(tangent, 0.0)),
      mIdentifier(vertexIdentifier)
{}

AcDb2dVertex::~AcDb2dVertex() = default;

Acad::ErrorStatus AcDb2dVertex::setPosition(const AcGePoint3d& position)
{
    return assignIfValid(mPosition, position, isFinite(position));
}
Acad::ErrorStatus AcDb2dVertex::setBulge(double newVal)
{
    return assignIfValid(mBulge, newVal, isFinite(newVal));
}
Acad::ErrorStatus AcDb2dVertex::setStartWidth(double newVal)
{
    return assignIfValid(mStartWidth, newVal, isFinite(newVal) && newVal >= 0.0);
}
Acad::ErrorStatus AcDb2dVertex::setEndWidth(double newVal)
{
    return assignIfValid(mEndWidth, newVal, isFinite(newVal) && newVal >= 0.0);
}
Acad::ErrorStatus AcDb2dVertex::setTangent(double newVal)
{
    return assignIfValid(mTangent, newVal, isFinite(newVal));
}
Acad::ErrorStatus AcDb2dVertex::setVertexIdentifier(Adesk::Int32 suggestedValue)
{
    return assignIfValid(mIdentifier, suggestedValue, true);
}

// ---- AcDb3dPolylineVertex

ACRX_DXF_DEFINE_MEMBERS(AcDb3dPolylineVertex, AcDbVertex, AcDb::kDHL_CURRENT, 0, 0, VERTEX, ACDB)

AcDb3dPolylineVertex::AcDb3dPolylineVertex() = default;
AcDb3dPolylineVertex::AcDb3dPolylineVertex(const AcGePoint3d& position)
    : mPosition(finiteOr(position, AcGePoint3d::kOrigin))
{}
AcDb3dPolylineVertex::~AcDb3dPolylineVertex() = default;

Acad::ErrorStatus AcDb3dPolylineVertex::setPosition(const AcGePoint3d& position)
{
    return assignIfValid(mPosition, position, isFinite(position));
}

// ---- AcDb2dPolyline

ACRX_DXF_DEFINE_MEMBERS(AcDb2dPolyline, AcDbCurve, AcDb::kDHL_CURRENT, 0, 0, POLYLINE, ACDB)

AcDb2dPolyline::AcDb2dPolyline() = default;

AcDb2dPolyline::AcDb2dPolyline(AcDb::Poly2dType type, const AcGePoint3dArray& vertices, double elevation,
                               Adesk::Boolean closed, double defStartWidth, double defEndWidth,
                               const AcGeDoubleArray* bulges)
    : mElevation(finiteOr(elevation, 0.0)), mStartWidth(finiteOr(defStartWidth, 0.0)),
      mEndWidth(finiteOr(defEndWidth, 0.0)),
      mType(type), mClosed(closed)
{
    for (int i = 0; i < vertices.length(); ++i) {
        double bulge = bulges != nullptr && i < bulges->length() ? (*bulges)[i] : 0.0;
        auto* v = new AcDb2dVertex(vertices[i], bulge, defStartWidth, defEndWidth);
        AcDbObjectId id;
        adopt(this, id, v);
        Impl::flagsOf(v) = kSubentity;  // closed
    }
}

AcDb2dPolyline::~AcDb2dPolyline()
{
    releaseSubentities(this);
}

Acad::ErrorStatus AcDb2dPolyline::setPolyType(AcDb::Poly2dType type)
{
    return assignIfValid(mType, type, type >= AcDb::k2dSimplePoly && type <= AcDb::k2dCubicSplinePoly);
}
Acad::ErrorStatus AcDb2dPolyline::makeClosed()
{
    return assignIfValid(mClosed, true, true);
}
Acad::ErrorStatus AcDb2dPolyline::makeOpen()
{
    return assignIfValid(mClosed, false, true);
}
Acad::ErrorStatus AcDb2dPolyline::setElevation(double elevation)
{
    return assignIfValid(mElevation, elevation, isFinite(elevation));
}

Acad::ErrorStatus AcDb2dPolyline::setNormal(const AcGeVector3d& normal)
{
    return assignIfValid(mNormal, normal.normal(), usableNormal(normal));
}

Acad::ErrorStatus AcDb2dPolyline::setThickness(double thickness)
{
    return assignIfValid(mThickness, thickness, isFinite(thickness));
}
Acad::ErrorStatus AcDb2dPolyline::setDefaultStartWidth(double width)
{
    return assignIfValid(mStartWidth, width, isFinite(width) && width >= 0.0);
}
Acad::ErrorStatus AcDb2dPolyline::setDefaultEndWidth(double width)
{
    return assignIfValid(mEndWidth, width, isFinite(width) && width >= 0.0);
}

Acad::ErrorStatus AcDb2dPolyline::appendVertex(AcDb2dVertex* vertex)
{
    AcDbObjectId id;
    return appendVertex(id, vertex);
}

Acad::ErrorStatus AcDb2dPolyline::appendVertex(AcDbObjectId& newVertexId, AcDb2dVertex* vertex)
{
    return adopt(this, newVertexId, vertex);
}

AcDbObjectIterator* AcDb2dPolyline::vertexIterator() const
{
    return new AcDbObjectIterator(this);
}

AcGePoint3d AcDb2dPolyline::vertexPosition(const AcDb2dVertex& vertex) const
{
    AcGePoint3d p = vertex.position();
    return ecsToWorld(mNormal, p.x, p.y, mElevation);
}

Adesk::Boolean AcDb2dPolyline::isClosed() const
{
    return mClosed;
}

bool AcDb2dPolyline::standinPath(CurvePath& path) const
{
    std::vector<const AcDb2dVertex*> live;
    for (AcDbObject* o : subentities())
        if (!o->isErased())
            live.push_back(static_cast<const AcDb2dVertex*>(o));
    const size_t n = live.size();
    if (n == 0)
        return true;
    size_t segments = mClosed ? n : n - 1;
    if (segments == 0) {
        // One vertex: a point.
        AcGePoint3d p = live[0]->position();
        path.pieces.push_back(
            planarSegment(mNormal, mElevation, AcGePoint2d(p.x, p.y), AcGePoint2d(p.x, p.y), 0.0, 0.0));
        path.pieces.back().p1 = 0.0;
    }
    for (size_t i = 0; i < segments; ++i) {
        AcGePoint3d a = live[i]->position(), b = live[(i + 1) % n]->position();
        path.pieces.push_back(planarSegment(mNormal, mElevation, AcGePoint2d(a.x, a.y), AcGePoint2d(b.x, b.y),
                                            live[i]->bulge(), static_cast<double>(i)));
    }
    path.closed = mClosed;
    return true;
}

Acad::ErrorStatus AcDb2dPolyline::transformBy(const AcGeMatrix3d&)
{
    return Acad::eNotApplicable;
}

// ---- AcDb3dPolyline

ACRX_DXF_DEFINE_MEMBERS(AcDb3dPolyline, AcDbCurve, AcDb::kDHL_CURRENT, 0, 0, POLYLINE, ACDB)

AcDb3dPolyline::AcDb3dPolyline() = default;

AcDb3dPolyline::AcDb3dPolyline(AcDb::Poly3dType type, const AcGePoint3dArray& vertices, Adesk::Boolean closed)
    : mType(type), mClosed(closed)
{
    for (const AcGePoint3d& p : vertices) {
        auto* v = new AcDb3dPolylineVertex(p);
        AcDbObjectId id;
        adopt(this, id, v);
        Impl::flagsOf(v) = kSubentity;  // closed
    }
}

AcDb3dPolyline::~AcDb3dPolyline()
{
    releaseSubentities(this);
}

Acad::ErrorStatus AcDb3dPolyline::setPolyType(AcDb::Poly3dType type)
{
    return assignIfValid(mType, type, type >= AcDb::k3dSimplePoly && type <= AcDb::k3dCubicSplinePoly);
}
Acad::ErrorStatus AcDb3dPolyline::makeClosed()
{
    return assignIfValid(mClosed, true, true);
}
Acad::ErrorStatus AcDb3dPolyline::makeOpen()
{
    return assignIfValid(mClosed, false, true);
}

Acad::ErrorStatus AcDb3dPolyline::appendVertex(AcDb3dPolylineVertex* vertex)
{
    AcDbObjectId id;
    return appendVertex(id, vertex);
}

Acad::ErrorStatus AcDb3dPolyline::appendVertex(AcDbObjectId& newVertexId, AcDb3dPolylineVertex* vertex)
{
    return adopt(this, newVertexId, vertex);
}

AcDbObjectIterator* AcDb3dPolyline::vertexIterator() const
{
    return new AcDbObjectIterator(this);
}

Adesk::Boolean AcDb3dPolyline::isClosed() const
{
    return mClosed;
}

bool AcDb3dPolyline::standinPath(CurvePath& path) const
{
    std::vector<AcGePoint3d> pts;
    for (AcDbObject* o : subentities())
        if (!o->isErased())
            pts.push_back(static_cast<const AcDb3dPolylineVertex*>(o)->position());
    const size_t n = pts.size();
    if (n == 0)
        return true;
    size_t segments = mClosed ? n : n - 1;
    for (size_t i = 0; i < std::max<size_t>(segments, 1); ++i) {
        CurvePiece piece;
        piece.origin = pts[i];
        piece.axisX = segments == 0 ? AcGeVector3d() : pts[(i + 1) % n] - pts[i];
        piece.t0 = 0.0;
        piece.t1 = 1.0;
        piece.p0 = static_cast<double>(i);
        piece.p1 = segments == 0 ? 0.0 : static_cast<double>(i + 1);
        path.pieces.push_back(piece);
    }
    path.closed = mClosed;
    return true;
}

Acad::ErrorStatus AcDb3dPolyline::transformBy(const AcGeMatrix3d& xform)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    for (AcDbObject* o : subentities()) {
        auto* v = static_cast<AcDb3dPolylineVertex*>(o);
        AcGePoint3d p = v->position();
        // The vertex may be closed; the polyline changes it as its owner.
        Adesk::UInt8 saved = Impl::flagsOf(v);
        Impl::flagsOf(v) = static_cast<Adesk::UInt8>(saved | kOpenWrite);
        v->setPosition(p.transformBy(xform));
        Impl::flagsOf(v) = saved;
    }
    return Acad::eOk;
}

// ---- AcDbPolyline

ACRX_DXF_DEFINE_MEMBERS(AcDbPolyline, AcDbCurve, AcDb::kDHL_CURRENT, 0, 0, LWPOLYLINE, ACDB)

AcDbPolyline::AcDbPolyline() = default;
AcDbPolyline::AcDbPolyline(unsigned int num) : mVertices(static_cast<int>(std::min(num, 1u << 20))) {}
AcDbPolyline::~AcDbPolyline() = default;

Acad::ErrorStatus AcDbPolyline::addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge, double startWidth,
                                            double endWidth)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (!isFinite(pt) || !isFinite(bulge) || !isFinite(startWidth) || !isFinite(endWidth))
        return Acad::eInvalidInput;
    double constant = 0.0;
    if (getConstantWidth(constant) != Acad::eOk)
        constant = 0.0;
    Vertex v{pt, bulge, startWidth < 0.0 ? constant : startWidth, endWidth < 0.0 ? constant : endWidth};
    if (index >= numVerts())
        mVertices.append(v);
    else
        mVertices.insertAt(static_cast<int>(index), v);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::removeVertexAt(unsigned int index)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (index >= numVerts())
        return Acad::eInvalidIndex;
    mVertices.removeAt(static_cast<int>(index));
    return Acad::eOk;
}

unsigned int AcDbPolyline::numVerts() const
{
    return static_cast<unsigned int>(mVertices.length());
}

void AcDbPolyline::setClosed(Adesk::Boolean closed)
{
    assertWriteEnabled();
    if (isWriteEnabled())
        mClosed = closed;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint3d& pt) const
{
    if (index >= numVerts())
        return Acad::eInvalidIndex;
    const AcGePoint2d& p = mVertices[static_cast<int>(index)].point;
    pt = ecsToWorld(mNormal, p.x, p.y, mElevation);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint2d& pt) const
{
    if (index >= numVerts())
        return Acad::eInvalidIndex;
    pt = mVertices[static_cast<int>(index)].point;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setPointAt(unsigned int index, const AcGePoint2d& pt)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (index >= numVerts())
        return Acad::eInvalidIndex;
    if (!isFinite(pt))
        return Acad::eInvalidInput;
    mVertices[static_cast<int>(index)].point = pt;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getBulgeAt(unsigned int index, double& bulge) const
{
    if (index >= numVerts())
        return Acad::eInvalidIndex;
    bulge = mVertices[static_cast<int>(index)].bulge;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setBulgeAt(unsigned int index, double bulge)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (index >= numVerts())
        return Acad::eInvalidIndex;
    if (!isFinite(bulge))
        return Acad::eInvalidInput;
    mVertices[static_cast<int>(index)].bulge = bulge;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const
{
    if (index >= numVerts())
        return Acad::eInvalidIndex;
    startWidth = mVertices[static_cast<int>(index)].startWidth;
    endWidth = mVertices[static_cast<int>(index)].endWidth;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setWidthsAt(unsigned int index, double startWidth, double endWidth)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (index >= numVerts())
        return Acad::eInvalidIndex;
    if (!isFinite(startWidth) || !isFinite(endWidth) || startWidth < 0.0 || endWidth < 0.0)
        return Acad::eInvalidInput;
    mVertices[static_cast<int>(index)].startWidth = startWidth;
    mVertices[static_cast<int>(index)].endWidth = endWidth;
    return Acad::eOk;
}

AcDbPolyline::SegType AcDbPolyline::segType(unsigned int index) const
{
    const unsigned int n = numVerts();
    if (n == 0 || index >= n)
        return kEmpty;
    if (n == 1)
        return kPoint;
    if (index == n - 1 && !mClosed)
        return kEmpty;
    const Vertex& a = mVertices[static_cast<int>(index)];
    const Vertex& b = mVertices[static_cast<int>((index + 1) % n)];
    if (a.point.isEqualTo(b.point))
        return kCoincident;
    return a.bulge != 0.0 ? kArc : kLine;
}

Acad::ErrorStatus AcDbPolyline::getLineSegAt(unsigned int index, AcGeLineSeg3d& ln) const
{
    SegType t = segType(index);
    if (t == kEmpty || t == kPoint)
        return Acad::eInvalidIndex;
    if (t == kArc)
        return Acad::eNotApplicable;
    AcGePoint3d a, b;
    getPointAt(index, a);
    getPointAt((index + 1) % numVerts(), b);
    ln.set(a, b);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getArcSegAt(unsigned int index, AcGeCircArc3d& arc) const
{
    SegType t = segType(index);
    if (t == kEmpty || t == kPoint)
        return Acad::eInvalidIndex;
    if (t != kArc)
        return Acad::eNotApplicable;
    const Vertex& a = mVertices[static_cast<int>(index)];
    const Vertex& b = mVertices[static_cast<int>((index + 1) % numVerts())];
    CurvePiece piece = planarSegment(mNormal, mElevation, a.point, b.point, a.bulge, 0.0);
    double theta = piece.t1;
    AcGeVector3d normal = theta >= 0.0 ? mNormal : -mNormal;
    double r = piece.axisX.length();
    arc.set(piece.origin, normal, piece.axisX, r, 0.0, std::fabs(theta));
    return Acad::eOk;
}

Adesk::Boolean AcDbPolyline::isOnlyLines() const
{
    for (const Vertex& v : mVertices)
        if (v.bulge != 0.0)
            return false;
    return true;
}

void AcDbPolyline::setElevation(double elev)
{
    assertWriteEnabled();
    if (isWriteEnabled() && isFinite(elev))
        mElevation = elev;
}

Acad::ErrorStatus AcDbPolyline::setNormal(const AcGeVector3d& normal)
{
    return assignIfValid(mNormal, normal.normal(), usableNormal(normal));
}

Acad::ErrorStatus AcDbPolyline::setThickness(double thickness)
{
    return assignIfValid(mThickness, thickness, isFinite(thickness));
}

Acad::ErrorStatus AcDbPolyline::getConstantWidth(double& width) const
{
    double w = mVertices.isEmpty() ? 0.0 : mVertices[0].startWidth;
    for (const Vertex& v : mVertices)
        if (v.startWidth != w || v.endWidth != w)
            return Acad::eNotApplicable;
    width = w;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setConstantWidth(double width)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (!isFinite(width) || width < 0.0)
        return Acad::eInvalidInput;
    for (Vertex& v : mVertices)
        v.startWidth = v.endWidth = width;
    return Acad::eOk;
}

Adesk::Boolean AcDbPolyline::isClosed() const
{
    return mClosed;
}

bool AcDbPolyline::standinPath(CurvePath& path) const
{
    const unsigned int n = numVerts();
    if (n == 0)
        return true;
    unsigned int segments = mClosed ? n : n - 1;
    if (segments == 0) {
        const AcGePoint2d& p = mVertices[0].point;
        path.pieces.push_back(planarSegment(mNormal, mElevation, p, p, 0.0, 0.0));
        path.pieces.back().p1 = 0.0;
    }
    for (unsigned int i = 0; i < segments; ++i) {
        const Vertex& a = mVertices[static_cast<int>(i)];
        const Vertex& b = mVertices[static_cast<int>((i + 1) % n)];
        path.pieces.push_back(planarSegment(mNormal, mElevation, a.point, b.point, a.bulge, i));
    }
    path.closed = mClosed;
    return true;
}

Acad::ErrorStatus AcDbPolyline::transformBy(const AcGeMatrix3d&)
{
    return Acad::eNotApplicable;
}
