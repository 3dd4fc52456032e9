// AcDbEllipse.
#include <cmath>

#include "DbInternal.h"
#include "EntityRules.h"
#include "dbelipse.h"

using standin::CurvePath;
using standin::CurvePiece;

using acdbimpl::foldAngle;
using acdbimpl::isFinite;
using acdbimpl::kTwoPi;
using acdbimpl::usableNormal;

namespace {

// The end angle in (start, start + 2 pi]; equal angles give the whole turn.
double endAfter(double start, double end)
{
    double e = foldAngle(end);
    while (e <= start)
        e += kTwoPi;
    return e;
}

}  // namespace

ACRX_DXF_DEFINE_MEMBERS(AcDbEllipse, AcDbCurve, AcDb::kDHL_CURRENT, 0, 0, ELLIPSE, ACDB)

AcDbEllipse::AcDbEllipse() = default;

AcDbEllipse::AcDbEllipse(const AcGePoint3d& center, const AcGeVector3d& unitNormal, const AcGeVector3d& majorAxis,
                         double radiusRatio, double startAngle, double endAngle)
{
    set(center, unitNormal, majorAxis, radiusRatio, startAngle, endAngle);
}

AcDbEllipse::~AcDbEllipse() = default;

AcGeVector3d AcDbEllipse::minorAxis() const
{
    return mNormal.crossProduct(mMajor).normal() * (mMajor.length() * mRatio);
}

Acad::ErrorStatus AcDbEllipse::setCenter(const AcGePoint3d& center)
{
    return assignIfValid(mCenter, center, isFinite(center));
}

Acad::ErrorStatus AcDbEllipse::setRadiusRatio(double ratio)
{
    return assignIfValid(mRatio, ratio, isFinite(ratio) && ratio > 0.0 && ratio <= 1.0);
}

Acad::ErrorStatus AcDbEllipse::setStartAngle(double startAngle)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (!isFinite(startAngle))
        return Acad::eInvalidInput;
    double sweep = mEndAngle - mStartAngle;
    double end = mStartAngle + sweep;
    mStartAngle = foldAngle(startAngle);
    mEndAngle = endAfter(mStartAngle, end);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::setEndAngle(double endAngle)
{
    return assignIfValid(mEndAngle, endAfter(mStartAngle, endAngle), isFinite(endAngle));
}

Acad::ErrorStatus AcDbEllipse::setStartParam(double startParam)
{
    return setStartAngle(angleAtParam(startParam));
}
Acad::ErrorStatus AcDbEllipse::setEndParam(double endParam)
{
    return setEndAngle(angleAtParam(endParam));
}

double AcDbEllipse::paramAtAngle(double angle) const
{
    double turns = std::floor(angle / kTwoPi);
    double r = angle - turns * kTwoPi;
    double t = std::atan2(std::sin(r), mRatio * std::cos(r));
    if (t < 0.0)
        t += kTwoPi;
    return t + turns * kTwoPi;
}

double AcDbEllipse::angleAtParam(double param) const
{
    double turns = std::floor(param / kTwoPi);
    double r = param - turns * kTwoPi;
    double a = std::atan2(mRatio * std::sin(r), std::cos(r));
    if (a < 0.0)
        a += kTwoPi;
    return a + turns * kTwoPi;
}

Acad::ErrorStatus AcDbEllipse::get(AcGePoint3d& center, AcGeVector3d& unitNormal, AcGeVector3d& majorAxis,
                                   double& radiusRatio, double& startAngle, double& endAngle) const
{
    center = mCenter;
    unitNormal = mNormal;
    majorAxis = mMajor;
    radiusRatio = mRatio;
    startAngle = mStartAngle;
    endAngle = mEndAngle;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::set(const AcGePoint3d& center, const AcGeVector3d& unitNormal,
                                   const AcGeVector3d& majorAxis, double radiusRatio, double startAngle,
                                   double endAngle)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (!isFinite(center) || !isFinite(unitNormal) || !isFinite(majorAxis) || unitNormal.isZeroLength() ||
        majorAxis.isZeroLength() || !isFinite(radiusRatio) || radiusRatio <= 0.0 || radiusRatio > 1.0 ||
        !isFinite(startAngle) || !isFinite(endAngle))
        return Acad::eInvalidInput;
    AcGeVector3d n = unitNormal.normal();
    if (std::fabs(n.dotProduct(majorAxis.normal())) > 1e-9)
        return Acad::eInvalidInput;
    mCenter = center;
    mNormal = n;
    mMajor = majorAxis;
    mRatio = radiusRatio;
    mStartAngle = foldAngle(startAngle);
    mEndAngle = endAfter(mStartAngle, endAngle);
    return Acad::eOk;
}

Adesk::Boolean AcDbEllipse::isNull() const
{
    return mMajor.isZeroLength();
}

Adesk::Boolean AcDbEllipse::isClosed() const
{
    return !isNull() && std::fabs(mEndAngle - mStartAngle - kTwoPi) <= 1e-10;
}

Adesk::Boolean AcDbEllipse::isPeriodic() const
{
    return isClosed();
}

bool AcDbEllipse::standinPath(CurvePath& path) const
{
    if (isNull())
        return true;
    CurvePiece piece;
    piece.kind = CurvePiece::kEllipse;
    piece.origin = mCenter;
    piece.axisX = mMajor;
    piece.axisY = minorAxis();
    piece.t0 = piece.p0 = paramAtAngle(mStartAngle);
    piece.t1 = piece.p1 = paramAtAngle(mEndAngle);
    path.pieces.push_back(piece);
    path.closed = path.periodic = isClosed();
    return true;
}

Acad::ErrorStatus AcDbEllipse::transformBy(const AcGeMatrix3d& xform)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    // Only similarity transforms keep the axes' roles.
    AcGeVector3d x = xform * AcGeVector3d::kXAxis, y = xform * AcGeVector3d::kYAxis, z = xform * AcGeVector3d::kZAxis;
    double s = x.length();
    if (std::fabs(y.length() - s) > 1e-9 * s || std::fabs(z.length() - s) > 1e-9 * s || s == 0.0)
        return Acad::eCannotScaleNonUniformly;
    mCenter.transformBy(xform);
    AcGeVector3d n = (xform * mNormal).normal();
    mMajor = xform * mMajor;
    mNormal = xform.det() < 0.0 ? -n : n;
    return Acad::eOk;
}
