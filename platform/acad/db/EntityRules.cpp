// The rules the entity classes share (EntityRules.h).
#include "EntityRules.h"

#include <algorithm>
#include <cmath>

#include "gemat3d.h"

namespace acdbimpl {

bool isFinite(double v)
{
    return std::isfinite(v);
}
bool isFinite(const AcGePoint3d& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}
bool isFinite(const AcGePoint2d& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}
bool isFinite(const AcGeVector3d& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}
bool isFinite(const AcGeScale3d& s)
{
    return std::isfinite(s.sx) && std::isfinite(s.sy) && std::isfinite(s.sz);
}
bool usableNormal(const AcGeVector3d& n)
{
    return isFinite(n) && !n.isZeroLength();
}
AcGeVector3d unitOr(const AcGeVector3d& normal, const AcGeVector3d& fallback)
{
    return usableNormal(normal) ? normal.normal() : fallback;
}

double foldAngle(double a)
{
    double r = std::fmod(a, kTwoPi);
    if (r < 0.0)
        r += kTwoPi;
    if (r >= kTwoPi)
        r = 0.0;
    return r;
}

AcGeVector3d arbitraryXAxis(const AcGeVector3d& normal)
{
    const AcGeVector3d n = normal.normal();
    const double limit = 1.0 / 64.0;
    const AcGeVector3d x = (std::fabs(n.x) < limit && std::fabs(n.y) < limit) ? AcGeVector3d::kYAxis.crossProduct(n)
                                                                              : AcGeVector3d::kZAxis.crossProduct(n);
    return x.normal();
}

double uniformScale(const AcGeMatrix3d& m)
{
    AcGeVector3d x = m * AcGeVector3d::kXAxis, y = m * AcGeVector3d::kYAxis, z = m * AcGeVector3d::kZAxis;
    double s = x.length();
    const double tol = 1e-9 * std::max(1.0, s);
    if (std::fabs(y.length() - s) > tol || std::fabs(z.length() - s) > tol || std::fabs(x.dotProduct(y)) > tol * s ||
        std::fabs(y.dotProduct(z)) > tol * s || std::fabs(x.dotProduct(z)) > tol * s)
        return 0.0;
    return s;
}

Acad::ErrorStatus similarityScale(Acad::ErrorStatus writable, const AcGeMatrix3d& m, double& s)
{
    if (writable != Acad::eOk)
        return writable;
    s = uniformScale(m);
    return s > 0.0 ? Acad::eOk : Acad::eCannotScaleNonUniformly;
}

Acad::ErrorStatus movePoint(Acad::ErrorStatus writable, AcGePoint3d& p, const AcGeMatrix3d& m)
{
    if (writable == Acad::eOk)
        p.transformBy(m);
    return writable;
}

}  // namespace acdbimpl
