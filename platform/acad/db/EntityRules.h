// The rules the entity classes share: which values a setter takes, and the
// arbitrary-axis rule that places an entity's own x axis. The DXF reader and
// writer use the same rule.
//
// Every setter of a point, vector, normal, thickness, angle, scale or other
// double refuses a value that is not finite with eInvalidInput and keeps the
// value it had; a normal or direction, kept as a unit vector, refuses a zero
// one the same way (usableNormal). A setter that returns nothing ignores such
// a value. A constructor cannot refuse: for a value its setter would refuse it
// keeps the class's default (finiteOr, unitOr).
#pragma once

class AcGeMatrix3d;

#include "acadstrc.h"
#include "gepnt2d.h"
#include "gepnt3d.h"
#include "gescl3d.h"
#include "gevec3d.h"

namespace acdbimpl {

bool isFinite(double v);
bool isFinite(const AcGePoint3d& p);
bool isFinite(const AcGePoint2d& p);
bool isFinite(const AcGeVector3d& v);
bool isFinite(const AcGeScale3d& s);
// A normal or direction that can be made a unit vector: finite, not zero.
bool usableNormal(const AcGeVector3d& n);

// What a constructor keeps: the value when it is finite, else the default.
template <class T> T finiteOr(const T& value, const T& fallback)
{
    return isFinite(value) ? value : fallback;
}
// The unit vector of a usable normal, else the default.
AcGeVector3d unitOr(const AcGeVector3d& normal, const AcGeVector3d& fallback);

constexpr double kTwoPi = 6.28318530717958647692;
// An angle folded into [0, 2 pi).
double foldAngle(double a);

// The x axis (a unit vector) of an entity with this normal: world Y x N when
// both |N.x| and |N.y| are below 1/64, otherwise world Z x N.
AcGeVector3d arbitraryXAxis(const AcGeVector3d& normal);

// The scale of a transform that keeps circles circles (uniform, no shear,
// a mirror allowed); 0 when it does not.
double uniformScale(const AcGeMatrix3d& m);
// The start of a transformBy that keeps circles circles: the entity's
// writable status when it is not writable, eCannotScaleNonUniformly for
// another transform, else eOk with the scale in s.
Acad::ErrorStatus similarityScale(Acad::ErrorStatus writable, const AcGeMatrix3d& m, double& s);

// A transformBy that moves points and nothing else: the entity's writable
// status, the points moved when it is eOk.
Acad::ErrorStatus movePoint(Acad::ErrorStatus writable, AcGePoint3d& p, const AcGeMatrix3d& m);
template <class Points>
Acad::ErrorStatus movePoints(Acad::ErrorStatus writable, Points& points, const AcGeMatrix3d& m)
{
    if (writable == Acad::eOk)
        for (AcGePoint3d& p : points)
            p.transformBy(m);
    return writable;
}

}  // namespace acdbimpl
