// The point and the lines: the point, the line, the ray, the construction
// line and the multiline.
#include <cmath>
#include <limits>

#include "DbInternal.h"
#include "EntityRules.h"
#include "dbents.h"
#include "dbmline.h"

using namespace acdbimpl;
using standin::CurvePath;
using standin::CurvePiece;

// ---- AcDbPoint

ACRX_DXF_DEFINE_MEMBERS(AcDbPoint, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, POINT, ACDB)

AcDbPoint::AcDbPoint() = default;
AcDbPoint::AcDbPoint(const AcGePoint3d& position) : mPosition(finiteOr(position, AcGePoint3d::kOrigin)) {}
AcDbPoint::~AcDbPoint() = default;

Acad::ErrorStatus AcDbPoint::setPosition(const AcGePoint3d& position)
{
    return assignIfValid(mPosition, position, isFinite(position));
}

Acad::ErrorStatus AcDbPoint::setNormal(const AcGeVector3d& normal)
{
    return assignIfValid(mNormal, normal.normal(), usableNormal(normal));
}

Acad::ErrorStatus AcDbPoint::setThickness(double thickness)
{
    return assignIfValid(mThickness, thickness, isFinite(thickness));
}

Acad::ErrorStatus AcDbPoint::transformBy(const AcGeMatrix3d& xform)
{
    return movePoint(checkWritable(), mPosition, xform);
}

// ---- AcDbLine

ACRX_DXF_DEFINE_MEMBERS(AcDbLine, AcDbCurve, AcDb::kDHL_CURRENT, 0, 0, LINE, ACDB)

AcDbLine::AcDbLine() = default;
AcDbLine::AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end)
    : mStart(finiteOr(start, AcGePoint3d::kOrigin)), mEnd(finiteOr(end, AcGePoint3d::kOrigin))
{}
AcDbLine::~AcDbLine() = default;

Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& point)
{
    return assignIfValid(mStart, point, isFinite(point));
}

Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& point)
{
    return assignIfValid(mEnd, point, isFinite(point));
}

Acad::ErrorStatus AcDbLine::setNormal(const AcGeVector3d& normal)
{
    return assignIfValid(mNormal, normal.normal(), usableNormal(normal));
}

Acad::ErrorStatus AcDbLine::setThickness(double thickness)
{
    return assignIfValid(mThickness, thickness, isFinite(thickness));
}

Acad::ErrorStatus AcDbLine::getStartPoint(AcGePoint3d& point) const
{
    point = mStart;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getEndPoint(AcGePoint3d& point) const
{
    point = mEnd;
    return Acad::eOk;
}

bool AcDbLine::standinPath(standin::CurvePath& path) const
{
    standin::CurvePiece piece;
    piece.kind = standin::CurvePiece::kSegment;
    piece.origin = mStart;
    double length = mStart.distanceTo(mEnd);
    piece.axisX = length > 0.0 ? (mEnd - mStart) / length : AcGeVector3d();
    piece.t0 = piece.p0 = 0.0;
    piece.t1 = piece.p1 = length;
    path.pieces.push_back(piece);
    return true;
}

Acad::ErrorStatus AcDbLine::transformBy(const AcGeMatrix3d& xform)
{
    return movePoint(movePoint(checkWritable(), mStart, xform), mEnd, xform);
}

// ---- AcDbRay and AcDbXline
//
// The host's two classes of unbounded line share one implementation: a base
// point and a unit direction; a ray runs from its base point, an xline both
// ways through it.

namespace {

void setLineBase(AcDbObject& self, AcGePoint3d& base, const AcGePoint3d& pt)
{
    self.assertWriteEnabled();
    if (self.isWriteEnabled() && isFinite(pt))
        base = pt;
}

void setLineDir(AcDbObject& self, AcGeVector3d& dir, const AcGeVector3d& vec)
{
    self.assertWriteEnabled();
    if (self.isWriteEnabled() && usableNormal(vec))
        dir = vec.normal();
}

bool linePath(CurvePath& path, const AcGePoint3d& base, const AcGeVector3d& dir, bool bothWays)
{
    const double infinity = std::numeric_limits<double>::infinity();
    CurvePiece piece;
    piece.origin = base;
    piece.axisX = dir;
    piece.t0 = piece.p0 = bothWays ? -infinity : 0.0;
    piece.t1 = piece.p1 = infinity;
    path.pieces.push_back(piece);
    path.openStart = bothWays;
    path.openEnd = true;
    return true;
}

Acad::ErrorStatus moveLine(Acad::ErrorStatus writable, AcGePoint3d& base, AcGeVector3d& dir, const AcGeMatrix3d& xform)
{
    if (writable != Acad::eOk)
        return writable;
    const AcGeVector3d d = xform * dir;
    if (d.isZeroLength())
        return Acad::eInvalidInput;
    base.transformBy(xform);
    dir = d.normal();
    return Acad::eOk;
}

}  // namespace

ACRX_DXF_DEFINE_MEMBERS(AcDbRay, AcDbCurve, AcDb::kDHL_CURRENT, 0, 0, RAY, ACDB)

AcDbRay::AcDbRay() = default;
AcDbRay::~AcDbRay() = default;
void AcDbRay::setBasePoint(const AcGePoint3d& pt)
{
    setLineBase(*this, mBase, pt);
}
void AcDbRay::setUnitDir(const AcGeVector3d& vec)
{
    setLineDir(*this, mDir, vec);
}
void AcDbRay::setSecondPoint(const AcGePoint3d& pt)
{
    setUnitDir(pt - mBase);
}
bool AcDbRay::standinPath(CurvePath& path) const
{
    return linePath(path, mBase, mDir, false);
}
Acad::ErrorStatus AcDbRay::transformBy(const AcGeMatrix3d& xform)
{
    return moveLine(checkWritable(), mBase, mDir, xform);
}

ACRX_DXF_DEFINE_MEMBERS(AcDbXline, AcDbCurve, AcDb::kDHL_CURRENT, 0, 0, XLINE, ACDB)

AcDbXline::AcDbXline() = default;
AcDbXline::~AcDbXline() = default;
void AcDbXline::setBasePoint(const AcGePoint3d& pt)
{
    setLineBase(*this, mBase, pt);
}
void AcDbXline::setUnitDir(const AcGeVector3d& vec)
{
    setLineDir(*this, mDir, vec);
}
void AcDbXline::setSecondPoint(const AcGePoint3d& pt)
{
    setUnitDir(pt - mBase);
}
bool AcDbXline::standinPath(CurvePath& path) const
{
    return linePath(path, mBase, mDir, true);
}
Acad::ErrorStatus AcDbXline::transformBy(const AcGeMatrix3d& xform)
{
    return moveLine(checkWritable(), mBase, mDir, xform);
}

// ---- AcDbMline

ACRX_DXF_DEFINE_MEMBERS(AcDbMline, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, MLINE, ACDB)

AcDbMline::AcDbMline() = default;
AcDbMline::~AcDbMline() = default;

Acad::ErrorStatus AcDbMline::setJustification(Mline::MlineJustification justification)
{
    return assignIfValid(mJustification, justification);
}

Acad::ErrorStatus AcDbMline::setScale(double scale)
{
    return assignIfValid(mScale, scale, isFinite(scale));
}

Acad::ErrorStatus AcDbMline::setNormal(const AcGeVector3d& normal)
{
    return assignIfValid(mNormal, normal.normal(), usableNormal(normal));
}

Acad::ErrorStatus AcDbMline::setClosedMline(bool closed)
{
    return assignIfValid(mClosed, closed);
}

Acad::ErrorStatus AcDbMline::appendSeg(const AcGePoint3d& newVertex)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (!isFinite(newVertex))
        return Acad::eInvalidInput;
    mVertices.push_back(newVertex);
    return Acad::eOk;
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
    if (!isFinite(newPosition))
        return Acad::eInvalidInput;
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
    Acad::ErrorStatus es = movePoints(checkWritable(), mVertices, xform);
    if (es == Acad::eOk)
        mNormal = mNormal.transformBy(xform).normal();
    return es;
}
