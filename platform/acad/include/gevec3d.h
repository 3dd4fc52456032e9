// AcGeVector3d: a vector in 3D space.
#pragma once

#include <cmath>

#include "gegbl.h"

class AcGeMatrix3d;

class AcGeVector3d {
public:
    AcGeVector3d() : x(0.0), y(0.0), z(0.0) {}
    AcGeVector3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}

    static const AcGeVector3d kIdentity;
    static const AcGeVector3d kXAxis;
    static const AcGeVector3d kYAxis;
    static const AcGeVector3d kZAxis;

    AcGeVector3d operator+(const AcGeVector3d& v) const { return AcGeVector3d(x + v.x, y + v.y, z + v.z); }
    AcGeVector3d operator-(const AcGeVector3d& v) const { return AcGeVector3d(x - v.x, y - v.y, z - v.z); }
    AcGeVector3d operator-() const { return AcGeVector3d(-x, -y, -z); }
    AcGeVector3d operator*(double s) const { return AcGeVector3d(x * s, y * s, z * s); }
    AcGeVector3d operator/(double s) const { return AcGeVector3d(x / s, y / s, z / s); }
    AcGeVector3d& operator+=(const AcGeVector3d& v)
    {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    AcGeVector3d& operator-=(const AcGeVector3d& v)
    {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    AcGeVector3d& operator*=(double s)
    {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
    AcGeVector3d& operator/=(double s)
    {
        x /= s;
        y /= s;
        z /= s;
        return *this;
    }
    double operator[](unsigned int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    double& operator[](unsigned int i) { return i == 0 ? x : (i == 1 ? y : z); }
    bool operator==(const AcGeVector3d& v) const { return isEqualTo(v); }
    bool operator!=(const AcGeVector3d& v) const { return !isEqualTo(v); }

    AcGeVector3d& set(double xx, double yy, double zz)
    {
        x = xx;
        y = yy;
        z = zz;
        return *this;
    }
    double length() const { return std::sqrt(x * x + y * y + z * z); }
    double lengthSqrd() const { return x * x + y * y + z * z; }
    double dotProduct(const AcGeVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
    AcGeVector3d crossProduct(const AcGeVector3d& v) const
    {
        return AcGeVector3d(y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x);
    }
    // A vector shorter than the tolerance is left unchanged.
    AcGeVector3d& normalize(const AcGeTol& tol = AcGeContext::gTol)
    {
        double len = length();
        if (len > tol.equalVector()) {
            x /= len;
            y /= len;
            z /= len;
        }
        return *this;
    }
    AcGeVector3d& normalize(const AcGeTol& tol, AcGe::ErrorCondition& flag)
    {
        double len = length();
        if (len > tol.equalVector()) {
            x /= len;
            y /= len;
            z /= len;
            flag = AcGe::kOk;
        } else {
            flag = AcGe::k0This;
        }
        return *this;
    }
    AcGeVector3d normal(const AcGeTol& tol = AcGeContext::gTol) const
    {
        AcGeVector3d v(*this);
        return v.normalize(tol);
    }
    bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const { return length() <= tol.equalVector(); }
    bool isUnitLength(const AcGeTol& tol = AcGeContext::gTol) const
    {
        return std::fabs(length() - 1.0) <= tol.equalVector();
    }
    bool isEqualTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const
    {
        return (*this - v).length() <= tol.equalVector();
    }
    bool isParallelTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const
    {
        AcGeVector3d a = normal(tol), b = v.normal(tol);
        return (a - b).length() < tol.equalVector() || (a + b).length() < tol.equalVector();
    }
    bool isCodirectionalTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const
    {
        return (normal(tol) - v.normal(tol)).length() < tol.equalVector();
    }
    bool isPerpendicularTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const
    {
        double la = length(), lb = v.length();
        if (la <= tol.equalVector() || lb <= tol.equalVector())
            return false;
        return std::fabs(dotProduct(v) / (la * lb)) <= tol.equalVector();
    }
    // The angle to v, in [0, pi].
    double angleTo(const AcGeVector3d& v) const
    {
        double c = crossProduct(v).length();
        double d = dotProduct(v);
        return std::atan2(c, d);
    }
    // The angle to v about refVec, in [0, 2 pi).
    double angleTo(const AcGeVector3d& v, const AcGeVector3d& refVec) const
    {
        double a = angleTo(v);
        if (refVec.dotProduct(crossProduct(v)) >= 0.0)
            return a;
        return 2.0 * 3.14159265358979323846 - a;
    }
    AcGeVector3d perpVector() const
    {
        AcGeVector3d ortho;
        AcGeContext::gOrthoVector(*this, ortho);
        return ortho;
    }
    AcGeVector3d& transformBy(const AcGeMatrix3d& m);

    double x, y, z;
};

inline AcGeVector3d operator*(double s, const AcGeVector3d& v)
{
    return v * s;
}
