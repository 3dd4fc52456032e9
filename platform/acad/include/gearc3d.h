// AcGeCircArc3d: a circular arc in 3D space, counter-clockwise about its
// normal from startAng to endAng, both measured from the reference vector.
#pragma once

#include "gepnt3d.h"
#include "gevec3d.h"

class AcGeCircArc3d {
public:
    // The unit circle about the z axis at the origin.
    AcGeCircArc3d();
    // A full circle; the reference vector follows the orthogonal-vector rule.
    AcGeCircArc3d(const AcGePoint3d& cent, const AcGeVector3d& nrm, double radius);
    AcGeCircArc3d(const AcGePoint3d& cent, const AcGeVector3d& nrm, const AcGeVector3d& refVec, double radius,
                  double startAngle = 0.0, double endAngle = 6.28318530717958647692);
    // The arc through three points (a degenerate triple leaves the unit circle).
    AcGeCircArc3d(const AcGePoint3d& startPoint, const AcGePoint3d& pnt, const AcGePoint3d& endPoint);

    AcGeCircArc3d& set(const AcGePoint3d& cent, const AcGeVector3d& nrm, double radius);
    AcGeCircArc3d& set(const AcGePoint3d& cent, const AcGeVector3d& nrm, const AcGeVector3d& refVec, double radius,
                       double startAngle, double endAngle);
    AcGeCircArc3d& set(const AcGePoint3d& startPoint, const AcGePoint3d& pnt, const AcGePoint3d& endPoint);

    AcGePoint3d center() const { return mCenter; }
    AcGeVector3d normal() const { return mNormal; }
    AcGeVector3d refVec() const { return mRefVec; }
    double radius() const { return mRadius; }
    double startAng() const { return mStartAng; }
    double endAng() const { return mEndAng; }
    AcGePoint3d startPoint() const { return evalPoint(mStartAng); }
    AcGePoint3d endPoint() const { return evalPoint(mEndAng); }
    // True when the arc sweeps the whole circle.
    bool isClosed(const AcGeTol& tol = AcGeContext::gTol) const;
    // The point at the angle from the reference vector.
    AcGePoint3d evalPoint(double angle) const;
    double length() const { return mRadius * (mEndAng - mStartAng); }

    AcGeCircArc3d& setCenter(const AcGePoint3d& cent)
    {
        mCenter = cent;
        return *this;
    }
    AcGeCircArc3d& setRadius(double radius)
    {
        mRadius = radius;
        return *this;
    }
    AcGeCircArc3d& setAngles(double startAngle, double endAngle);
    // A reference vector not perpendicular to the normal is projected onto
    // the plane; a zero normal or reference vector leaves the arc unchanged.
    AcGeCircArc3d& setAxes(const AcGeVector3d& normal, const AcGeVector3d& refVec);

private:
    AcGePoint3d mCenter;
    AcGeVector3d mNormal{0.0, 0.0, 1.0};
    AcGeVector3d mRefVec{1.0, 0.0, 0.0};
    double mRadius = 1.0;
    double mStartAng = 0.0;
    double mEndAng = 6.28318530717958647692;
};
