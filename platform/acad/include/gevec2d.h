// AcGeVector2d: a vector in the plane.
#pragma once

#include <cmath>

#include "gegbl.h"

class AcGeVector2d {
public:
    AcGeVector2d() : x(0.0), y(0.0) {}
    AcGeVector2d(double xx, double yy) : x(xx), y(yy) {}

    static const AcGeVector2d kIdentity;
    static const AcGeVector2d kXAxis;
    static const AcGeVector2d kYAxis;

    AcGeVector2d operator+(const AcGeVector2d& v) const { return AcGeVector2d(x + v.x, y + v.y); }
    AcGeVector2d operator-(const AcGeVector2d& v) const { return AcGeVector2d(x - v.x, y - v.y); }
    AcGeVector2d operator-() const { return AcGeVector2d(-x, -y); }
    AcGeVector2d operator*(double s) const { return AcGeVector2d(x * s, y * s); }
    AcGeVector2d operator/(double s) const { return AcGeVector2d(x / s, y / s); }
    AcGeVector2d& operator+=(const AcGeVector2d& v)
    {
        x += v.x;
        y += v.y;
        return *this;
    }
    AcGeVector2d& operator-=(const AcGeVector2d& v)
    {
        x -= v.x;
        y -= v.y;
        return *this;
    }
    AcGeVector2d& operator*=(double s)
    {
        x *= s;
        y *= s;
        return *this;
    }
    double operator[](unsigned int i) const { return i == 0 ? x : y; }
    double& operator[](unsigned int i) { return i == 0 ? x : y; }
    bool operator==(const AcGeVector2d& v) const { return isEqualTo(v); }
    bool operator!=(const AcGeVector2d& v) const { return !isEqualTo(v); }

    AcGeVector2d& set(double xx, double yy)
    {
        x = xx;
        y = yy;
        return *this;
    }
    double length() const { return std::sqrt(x * x + y * y); }
    double lengthSqrd() const { return x * x + y * y; }
    double dotProduct(const AcGeVector2d& v) const { return x * v.x + y * v.y; }
    // The angle from the x axis, in [0, 2 pi).
    double angle() const
    {
        double a = std::atan2(y, x);
        return a < 0.0 ? a + 2.0 * 3.14159265358979323846 : a;
    }
    // A vector shorter than the tolerance is left unchanged.
    AcGeVector2d& normalize(const AcGeTol& tol = AcGeContext::gTol)
    {
        double len = length();
        if (len > tol.equalVector()) {
            x /= len;
            y /= len;
        }
        return *this;
    }
    AcGeVector2d normal(const AcGeTol& tol = AcGeContext::gTol) const
    {
        AcGeVector2d v(*this);
        return v.normalize(tol);
    }
    bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const { return length() <= tol.equalVector(); }
    bool isEqualTo(const AcGeVector2d& v, const AcGeTol& tol = AcGeContext::gTol) const
    {
        return (*this - v).length() <= tol.equalVector();
    }

    double x, y;
};

inline AcGeVector2d operator*(double s, const AcGeVector2d& v)
{
    return v * s;
}
