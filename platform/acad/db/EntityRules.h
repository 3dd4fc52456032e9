// The rules the entity classes share: which values a setter takes, and the
// arbitrary-axis rule that places an entity's own x axis. The DXF reader and
// writer use the same rule.
#pragma once

class AcGeMatrix3d;

#include "gepnt2d.h"
#include "gepnt3d.h"
#include "gevec3d.h"

namespace acdbimpl {

bool finite(const AcGePoint3d& p);
bool finite(const AcGePoint2d& p);
bool finite(const AcGeVector3d& v);
// A normal or direction that can be made a unit vector: finite, not zero.
bool usableNormal(const AcGeVector3d& n);

// The x axis (a unit vector) of an entity with this normal: world Y x N when
// both |N.x| and |N.y| are below 1/64, otherwise world Z x N.
AcGeVector3d arbitraryXAxis(const AcGeVector3d& normal);

// The scale of a transform that keeps circles circles (uniform, no shear,
// a mirror allowed); 0 when it does not.
double uniformScale(const AcGeMatrix3d& m);

}  // namespace acdbimpl
