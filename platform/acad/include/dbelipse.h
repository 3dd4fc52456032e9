// AcDbEllipse: an ellipse or elliptical arc. majorAxis() is the full
// semi-major vector; the minor axis is radiusRatio x |major| along
// normal x major. Angles are measured from the major axis counter-clockwise
// about the normal; the parameter t of a point is that of
// center + cos t major + sin t minor (tan t = tan angle / radiusRatio).
// The whole ellipse runs from 0 to 2 pi.
#pragma once

#include "dbcurve.h"
#include "gepnt3d.h"
#include "gevec3d.h"

class AcDbEllipse : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDbEllipse);

    // An empty ellipse: no geometry until set() succeeds.
    AcDbEllipse();
    // As set(); data that set() refuses leave the empty ellipse.
    AcDbEllipse(const AcGePoint3d& center, const AcGeVector3d& unitNormal, const AcGeVector3d& majorAxis,
                double radiusRatio, double startAngle = 0.0, double endAngle = 6.28318530717958647692);
    ~AcDbEllipse() override;

    AcGePoint3d center() const { return mCenter; }
    Acad::ErrorStatus setCenter(const AcGePoint3d& center);
    AcGeVector3d normal() const { return mNormal; }
    AcGeVector3d majorAxis() const { return mMajor; }
    AcGeVector3d minorAxis() const;
    double radiusRatio() const { return mRatio; }
    // A ratio outside (0, 1] gives eInvalidInput.
    Acad::ErrorStatus setRadiusRatio(double ratio);
    double startAngle() const { return mStartAngle; }
    Acad::ErrorStatus setStartAngle(double startAngle);
    double endAngle() const { return mEndAngle; }
    Acad::ErrorStatus setEndAngle(double endAngle);
    Acad::ErrorStatus setStartParam(double startParam);
    Acad::ErrorStatus setEndParam(double endParam);
    double paramAtAngle(double angle) const;
    double angleAtParam(double param) const;

    Acad::ErrorStatus get(AcGePoint3d& center, AcGeVector3d& unitNormal, AcGeVector3d& majorAxis, double& radiusRatio,
                          double& startAngle, double& endAngle) const;
    // Refused with eInvalidInput: a zero or non-finite normal or major axis, a
    // normal not perpendicular to the major axis, a ratio outside (0, 1].
    // The normal is normalised. The start angle is kept in [0, 2 pi) and the
    // end angle in (start, start + 2 pi]; equal angles make the whole ellipse.
    Acad::ErrorStatus set(const AcGePoint3d& center, const AcGeVector3d& unitNormal, const AcGeVector3d& majorAxis,
                          double radiusRatio, double startAngle = 0.0, double endAngle = 6.28318530717958647692);

    Adesk::Boolean isNull() const;
    Adesk::Boolean isClosed() const override;
    Adesk::Boolean isPeriodic() const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

protected:
    bool standinPath(standin::CurvePath& path) const override;

private:
    AcGePoint3d mCenter;
    AcGeVector3d mNormal{0.0, 0.0, 1.0};
    AcGeVector3d mMajor;
    double mRatio = 1.0;
    double mStartAngle = 0.0;
    double mEndAngle = 6.28318530717958647692;
};
