// The circle and the arc.
#include <algorithm>
#include <cmath>
#include <limits>

#include "DbInternal.h"
#include "EntityRules.h"
#include "dbelipse.h"
#include "dbents.h"
#include "dbspline.h"

using standin::CurvePath;
using standin::CurvePiece;

using acdbimpl::finiteOr;
using acdbimpl::foldAngle;
using acdbimpl::kTwoPi;
using acdbimpl::isFinite;
using acdbimpl::unitOr;
using acdbimpl::usableNormal;

namespace {

CurvePiece circlePiece(const AcGePoint3d& c, const AcGeVector3d& n, double r, double a0, double a1)
{
    CurvePiece piece;
    piece.kind = CurvePiece::kEllipse;
    AcGeVector3d x = acdbStandinEcsXAxis(n);
    AcGeVector3d y = n.crossProduct(x).normal();
    piece.origin = c;
    piece.axisX = x * r;
    piece.axisY = y * r;
    piece.t0 = piece.p0 = a0;
    piece.t1 = piece.p1 = a1;
    return piece;
}

}  // namespace

AcGeVector3d acdbStandinEcsXAxis(const AcGeVector3d& normal)
{
    return acdbimpl::arbitraryXAxis(normal);
}

// ---- AcDbCircle

ACRX_DXF_DEFINE_MEMBERS(AcDbCircle, AcDbCurve, AcDb::kDHL_CURRENT, 0, 0, CIRCLE, ACDB)

AcDbCircle::AcDbCircle() = default;

AcDbCircle::AcDbCircle(const AcGePoint3d& cntr, const AcGeVector3d& nrm, double radius)
    : mCenter(finiteOr(cntr, AcGePoint3d::kOrigin)), mNormal(unitOr(nrm, AcGeVector3d::kZAxis)),
      mRadius(isFinite(radius) && radius > 0.0 ? radius : 0.0)
{}

AcDbCircle::~AcDbCircle() = default;

Acad::ErrorStatus AcDbCircle::setCenter(const AcGePoint3d& center)
{
    return assignIfValid(mCenter, center, isFinite(center));
}

Acad::ErrorStatus AcDbCircle::setRadius(double radius)
{
    return assignIfValid(mRadius, radius, isFinite(radius) && radius > 0.0);
}

Acad::ErrorStatus AcDbCircle::setNormal(const AcGeVector3d& normal)
{
    return assignIfValid(mNormal, normal.normal(), usableNormal(normal));
}

Acad::ErrorStatus AcDbCircle::setThickness(double thickness)
{
    return assignIfValid(mThickness, thickness, isFinite(thickness));
}

double AcDbCircle::circumference() const
{
    return kTwoPi * mRadius;
}

Adesk::Boolean AcDbCircle::isClosed() const
{
    return true;
}

bool AcDbCircle::standinPath(CurvePath& path) const
{
    if (mRadius > 0.0)
        path.pieces.push_back(circlePiece(mCenter, mNormal, mRadius, 0.0, kTwoPi));
    path.closed = true;
    path.periodic = true;
    return true;
}

Acad::ErrorStatus AcDbCircle::transformBy(const AcGeMatrix3d& xform)
{
    double s = 0.0;
    Acad::ErrorStatus es = acdbimpl::similarityScale(checkWritable(), xform, s);
    if (es != Acad::eOk)
        return es;
    mCenter.transformBy(xform);
    mNormal = (xform * mNormal).normal();
    mRadius *= s;
    return Acad::eOk;
}

// ---- AcDbArc

ACRX_DXF_DEFINE_MEMBERS(AcDbArc, AcDbCurve, AcDb::kDHL_CURRENT, 0, 0, ARC, ACDB)

AcDbArc::AcDbArc() = default;

AcDbArc::AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle)
    : AcDbArc(center, AcGeVector3d::kZAxis, radius, startAngle, endAngle)
{}

AcDbArc::AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double startAngle,
                 double endAngle)
    : mCenter(finiteOr(center, AcGePoint3d::kOrigin)), mNormal(unitOr(normal, AcGeVector3d::kZAxis)),
      mRadius(isFinite(radius) && radius > 0.0 ? radius : 0.0), mStartAngle(foldAngle(finiteOr(startAngle, 0.0))),
      mEndAngle(foldAngle(finiteOr(endAngle, 0.0)))
{}

AcDbArc::~AcDbArc() = default;

Acad::ErrorStatus AcDbArc::setCenter(const AcGePoint3d& center)
{
    return assignIfValid(mCenter, center, isFinite(center));
}

Acad::ErrorStatus AcDbArc::setRadius(double radius)
{
    return assignIfValid(mRadius, radius, isFinite(radius) && radius > 0.0);
}

Acad::ErrorStatus AcDbArc::setStartAngle(double angle)
{
    return assignIfValid(mStartAngle, foldAngle(angle), isFinite(angle));
}

Acad::ErrorStatus AcDbArc::setEndAngle(double angle)
{
    return assignIfValid(mEndAngle, foldAngle(angle), isFinite(angle));
}

double AcDbArc::totalAngle() const
{
    double a = mEndAngle - mStartAngle;
    return a < 0.0 ? a + kTwoPi : a;
}

Acad::ErrorStatus AcDbArc::setNormal(const AcGeVector3d& normal)
{
    return assignIfValid(mNormal, normal.normal(), usableNormal(normal));
}

Acad::ErrorStatus AcDbArc::setThickness(double thickness)
{
    return assignIfValid(mThickness, thickness, isFinite(thickness));
}

Adesk::Boolean AcDbArc::isClosed() const
{
    return false;
}

bool AcDbArc::standinPath(CurvePath& path) const
{
    if (mRadius > 0.0)
        path.pieces.push_back(circlePiece(mCenter, mNormal, mRadius, mStartAngle, mStartAngle + totalAngle()));
    return true;
}

Acad::ErrorStatus AcDbArc::transformBy(const AcGeMatrix3d& xform)
{
    double s = 0.0;
    Acad::ErrorStatus es = acdbimpl::similarityScale(checkWritable(), xform, s);
    if (es != Acad::eOk)
        return es;
    // The ends move with the transform; the angles follow from them.
    AcGePoint3d start, end;
    getStartPoint(start);
    getEndPoint(end);
    AcGeVector3d n = xform * mNormal;
    if (xform.det() < 0.0)
        std::swap(start, end);
    start.transformBy(xform);
    end.transformBy(xform);
    mCenter.transformBy(xform);
    // A mirror turns the sweep round: the image runs from the image of the
    // end to the image of the start about the image of the normal.
    mNormal = n.normal();
    mRadius *= s;
    AcGeVector3d x = acdbStandinEcsXAxis(mNormal);
    mStartAngle = foldAngle(x.angleTo((start - mCenter).normal(), mNormal));
    mEndAngle = foldAngle(x.angleTo((end - mCenter).normal(), mNormal));
    return Acad::eOk;
}
