// AcGePoint3d: a point in 3D space.
#pragma once

#include <cmath>

#include "gegbl.h"
#include "gevec3d.h"

class AcGeMatrix3d;

class AcGePoint3d {
public:
    AcGePoint3d() : x(0.0), y(0.0), z(0.0) {}
    AcGePoint3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}

    static const AcGePoint3d kOrigin;

    AcGePoint3d operator+(const AcGeVector3d& v) const { return AcGePoint3d(x + v.x, y + v.y, z + v.z); }
    AcGePoint3d operator-(const AcGeVector3d& v) const { return AcGePoint3d(x - v.x, y - v.y, z - v.z); }
    AcGeVector3d operator-(const AcGePoint3d& p) const { return AcGeVector3d(x - p.x, y - p.y, z - p.z); }
    AcGePoint3d& operator+=(const AcGeVector3d& v)
    {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    AcGePoint3d& operator-=(const AcGeVector3d& v)
    {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    AcGePoint3d operator*(double s) const { return AcGePoint3d(x * s, y * s, z * s); }
    AcGePoint3d operator/(double s) const { return AcGePoint3d(x / s, y / s, z / s); }
    double operator[](unsigned int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    double& operator[](unsigned int i) { return i == 0 ? x : (i == 1 ? y : z); }
    bool operator==(const AcGePoint3d& p) const { return isEqualTo(p); }
    bool operator!=(const AcGePoint3d& p) const { return !isEqualTo(p); }

    AcGePoint3d& set(double xx, double yy, double zz)
    {
        x = xx;
        y = yy;
        z = zz;
        return *this;
    }
    AcGeVector3d asVector() const { return AcGeVector3d(x, y, z); }
    double distanceTo(const AcGePoint3d& p) const { return (*this - p).length(); }
    bool isEqualTo(const AcGePoint3d& p, const AcGeTol& tol = AcGeContext::gTol) const
    {
        return distanceTo(p) <= tol.equalPoint();
    }
    AcGePoint3d& transformBy(const AcGeMatrix3d& m);

    double x, y, z;
};

inline AcGePoint3d operator*(double s, const AcGePoint3d& p)
{
    return p * s;
}
