// AcDbSpline: a NURBS curve, given by its control data or by fit points.
#pragma once

#include "dbcurve.h"
#include "gedblar.h"
#include "gept3dar.h"
#include "gepnt3d.h"
#include "gevec3d.h"

class AcDbSpline : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDbSpline);

    // A null spline: no geometry.
    AcDbSpline();
    // The spline through the fit points (chord-length interpolation of degree
    // order - 1, lowered when there are too few points). Fewer than two
    // distinct points, or an order outside 2..26, leave a null spline.
    AcDbSpline(const AcGePoint3dArray& fitPoints, int order = 4, double fitTolerance = 0.0);
    AcDbSpline(const AcGePoint3dArray& fitPoints, const AcGeVector3d& startTangent, const AcGeVector3d& endTangent,
               int order = 4, double fitTolerance = 0.0);
    // As setNurbsData; data that it refuses leave a null spline.
    AcDbSpline(int degree, Adesk::Boolean rational, Adesk::Boolean closed, Adesk::Boolean periodic,
               const AcGePoint3dArray& controlPoints, const AcGeDoubleArray& knots, const AcGeDoubleArray& weights,
               double controlPtTol = 0.0, double knotTol = 0.0);
    ~AcDbSpline() override;

    // The spline's control data. A periodic spline may be given in its
    // periodic form: the n control points of one loop and n + 1 knots, the
    // first and last of which bound the period; the curve runs from the
    // first knot to the last and closes on itself smoothly. Otherwise the
    // knots number control points + degree + 1 and the curve runs from knot
    // `degree` to knot `control points`. Refused with eInvalidInput, the
    // spline unchanged: a degree outside 1..25; fewer control points than
    // degree + 1; a knot count of neither form; decreasing knots or a knot
    // range of zero length; for a rational spline, a weight count other than
    // the control points or a weight that is not positive; any value that is
    // not finite. The weights of a non-rational spline are not used. The
    // closed and periodic flags are kept as given.
    Acad::ErrorStatus setNurbsData(int degree, Adesk::Boolean rational, Adesk::Boolean closed, Adesk::Boolean periodic,
                                   const AcGePoint3dArray& controlPoints, const AcGeDoubleArray& knots,
                                   const AcGeDoubleArray& weights, double controlPtTol = 0.0, double knotTol = 0.0);
    // The data as they were given (a periodic spline given in its periodic
    // form reports it). A non-rational spline reports a weight of 1 for each
    // control point; a null spline reports degree 0 and empty arrays.
    Acad::ErrorStatus getNurbsData(int& degree, Adesk::Boolean& rational, Adesk::Boolean& closed,
                                   Adesk::Boolean& periodic, AcGePoint3dArray& controlPoints, AcGeDoubleArray& knots,
                                   AcGeDoubleArray& weights, double& controlPtTol, double& knotTol) const;

    Adesk::Boolean isNull() const;
    Adesk::Boolean isRational() const { return mRational; }
    int degree() const { return mDegree; }
    int numControlPoints() const;
    Acad::ErrorStatus getControlPointAt(int index, AcGePoint3d& point) const;
    Acad::ErrorStatus setControlPointAt(int index, const AcGePoint3d& point);
    Acad::ErrorStatus getWeightAt(int index, double& weight) const;
    int numFitPoints() const;
    Acad::ErrorStatus getFitPointAt(int index, AcGePoint3d& point) const;
    Adesk::Boolean hasFitData() const;
    double fitTolerance() const { return mFitTolerance; }

    // The closed flag as given, or the curve's ends meeting.
    Adesk::Boolean isClosed() const override;
    Adesk::Boolean isPeriodic() const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

protected:
    bool standinPath(standin::CurvePath& path) const override;

private:
    bool fitThrough(const AcGePoint3dArray& fitPoints, int order);

    int mDegree = 0;
    bool mRational = false;
    bool mClosed = false;
    bool mPeriodic = false;
    AcGePoint3dArray mControls;
    AcGeDoubleArray mKnots;
    AcGeDoubleArray mWeights;
    AcGePoint3dArray mFitPoints;
    double mControlTol = 0.0;
    double mKnotTol = 0.0;
    double mFitTolerance = 0.0;
};
