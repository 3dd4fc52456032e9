// AcDbCurve: the base of the entities that are curves.
//
// A curve runs from its start parameter to its end parameter; every query
// works in world coordinates. The base class answers eNotImplementedYet;
// each curve class answers what it can (an unbounded curve gives
// eNotApplicable for the end it lacks).
#pragma once

#include "dbmain.h"
#include "gepnt3d.h"
#include "gevec3d.h"
#include "standin/CurvePath.h"

class AcDbCurve : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbCurve);
    ~AcDbCurve() override;

    virtual Adesk::Boolean isClosed() const;
    virtual Adesk::Boolean isPeriodic() const;

    virtual Acad::ErrorStatus getStartParam(double& param) const;
    virtual Acad::ErrorStatus getEndParam(double& param) const;
    virtual Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const;
    virtual Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const;

    // A parameter outside [start, end] gives eInvalidInput.
    virtual Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const;
    // The parameter of a point on the curve; a point off it gives eInvalidInput.
    virtual Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const;
    // The length along the curve from the start parameter.
    virtual Acad::ErrorStatus getDistAtParam(double param, double& dist) const;
    virtual Acad::ErrorStatus getParamAtDist(double dist, double& param) const;
    virtual Acad::ErrorStatus getDistAtPoint(const AcGePoint3d& point, double& dist) const;
    virtual Acad::ErrorStatus getPointAtDist(double dist, AcGePoint3d& point) const;
    virtual Acad::ErrorStatus getFirstDeriv(double param, AcGeVector3d& firstDeriv) const;
    virtual Acad::ErrorStatus getFirstDeriv(const AcGePoint3d& point, AcGeVector3d& firstDeriv) const;

protected:
    AcDbCurve();

    // Stand-in: the curve's geometry as pieces over its parameter range, on
    // which the queries above are answered; false when there is none (a
    // null spline, an empty polyline). Classes without it answer
    // eNotImplementedYet.
    virtual bool standinPath(standin::CurvePath& path) const;
};
