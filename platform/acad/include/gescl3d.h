// AcGeScale3d: scale factors along x, y and z.
#pragma once

#include "gegbl.h"

class AcGeScale3d {
public:
    AcGeScale3d() : sx(1.0), sy(1.0), sz(1.0) {}
    explicit AcGeScale3d(double factor) : sx(factor), sy(factor), sz(factor) {}
    AcGeScale3d(double xFactor, double yFactor, double zFactor) : sx(xFactor), sy(yFactor), sz(zFactor) {}

    static const AcGeScale3d kIdentity;

    double operator[](unsigned int i) const { return i == 0 ? sx : (i == 1 ? sy : sz); }
    double& operator[](unsigned int i) { return i == 0 ? sx : (i == 1 ? sy : sz); }
    bool operator==(const AcGeScale3d& s) const { return isEqualTo(s); }
    bool operator!=(const AcGeScale3d& s) const { return !isEqualTo(s); }
    bool isEqualTo(const AcGeScale3d& s, const AcGeTol& tol = AcGeContext::gTol) const
    {
        const double e = tol.equalVector();
        return (sx - s.sx <= e && s.sx - sx <= e) && (sy - s.sy <= e && s.sy - sy <= e) &&
            (sz - s.sz <= e && s.sz - sz <= e);
    }
    AcGeScale3d& set(double xFactor, double yFactor, double zFactor)
    {
        sx = xFactor;
        sy = yFactor;
        sz = zFactor;
        return *this;
    }

    double sx, sy, sz;
};
