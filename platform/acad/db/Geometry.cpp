// The plane geometry values and the 3D circular arc.
#include <cmath>

#include "gearc3d.h"
#include "gemat3d.h"
#include "gepnt2d.h"
#include "gescl3d.h"
#include "gevec2d.h"

namespace {
constexpr double kTwoPi = 6.28318530717958647692;
}

const AcGeScale3d AcGeScale3d::kIdentity(1.0, 1.0, 1.0);
const AcGeVector2d AcGeVector2d::kIdentity(0.0, 0.0);
const AcGeVector2d AcGeVector2d::kXAxis(1.0, 0.0);
const AcGeVector2d AcGeVector2d::kYAxis(0.0, 1.0);
const AcGePoint2d AcGePoint2d::kOrigin(0.0, 0.0);

// ---- AcGeCircArc3d

AcGeCircArc3d::AcGeCircArc3d() = default;

AcGeCircArc3d::AcGeCircArc3d(const AcGePoint3d& cent, const AcGeVector3d& nrm, double radius)
{
    set(cent, nrm, radius);
}

AcGeCircArc3d::AcGeCircArc3d(const AcGePoint3d& cent, const AcGeVector3d& nrm, const AcGeVector3d& refVec,
                             double radius, double startAngle, double endAngle)
{
    set(cent, nrm, refVec, radius, startAngle, endAngle);
}

AcGeCircArc3d::AcGeCircArc3d(const AcGePoint3d& startPoint, const AcGePoint3d& pnt, const AcGePoint3d& endPoint)
{
    set(startPoint, pnt, endPoint);
}

AcGeCircArc3d& AcGeCircArc3d::set(const AcGePoint3d& cent, const AcGeVector3d& nrm, double radius)
{
    mCenter = cent;
    mRadius = radius;
    if (!nrm.isZeroLength()) {
        mNormal = nrm.normal();
        mRefVec = mNormal.perpVector().normal();
    }
    mStartAng = 0.0;
    mEndAng = kTwoPi;
    return *this;
}

AcGeCircArc3d& AcGeCircArc3d::set(const AcGePoint3d& cent, const AcGeVector3d& nrm, const AcGeVector3d& refVec,
                                  double radius, double startAngle, double endAngle)
{
    mCenter = cent;
    mRadius = radius;
    setAxes(nrm, refVec);
    return setAngles(startAngle, endAngle);
}

AcGeCircArc3d& AcGeCircArc3d::set(const AcGePoint3d& startPoint, const AcGePoint3d& pnt, const AcGePoint3d& endPoint)
{
    // The centre is where the perpendicular bisectors of the two chords meet
    // in the plane of the three points.
    AcGeVector3d a = startPoint - pnt, b = endPoint - pnt;
    AcGeVector3d n = a.crossProduct(b);
    double n2 = n.lengthSqrd();
    if (n2 <= 1e-300)
        return *this;
    AcGeVector3d toCenter = (b * a.lengthSqrd() - a * b.lengthSqrd()).crossProduct(n) / (2.0 * n2);
    AcGePoint3d c = pnt + toCenter;
    // Orient the normal so that the arc runs counter-clockwise from the start
    // through pnt to the end.
    AcGeVector3d normal = (pnt - startPoint).crossProduct(endPoint - pnt).normal();
    AcGeVector3d ref = (startPoint - c).normal();
    double sweep = ref.angleTo((endPoint - c).normal(), normal);
    mCenter = c;
    mRadius = toCenter.length();
    mNormal = normal;
    mRefVec = ref;
    mStartAng = 0.0;
    mEndAng = sweep;
    return *this;
}

bool AcGeCircArc3d::isClosed(const AcGeTol& tol) const
{
    return std::fabs(std::fabs(mEndAng - mStartAng) - kTwoPi) <= tol.equalVector();
}

AcGePoint3d AcGeCircArc3d::evalPoint(double angle) const
{
    AcGeVector3d y = mNormal.crossProduct(mRefVec);
    return mCenter + mRefVec * (mRadius * std::cos(angle)) + y * (mRadius * std::sin(angle));
}

AcGeCircArc3d& AcGeCircArc3d::setAngles(double startAngle, double endAngle)
{
    mStartAng = startAngle;
    mEndAng = endAngle;
    if (mEndAng < mStartAng)
        mEndAng += kTwoPi * std::ceil((mStartAng - mEndAng) / kTwoPi);
    return *this;
}

AcGeCircArc3d& AcGeCircArc3d::setAxes(const AcGeVector3d& normal, const AcGeVector3d& refVec)
{
    if (normal.isZeroLength())
        return *this;
    AcGeVector3d n = normal.normal();
    AcGeVector3d r = refVec - n * refVec.dotProduct(n);
    if (r.isZeroLength())
        return *this;
    mNormal = n;
    mRefVec = r.normal();
    return *this;
}
