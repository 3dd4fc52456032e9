// AcGePoint2d: a point in the plane.
#pragma once

#include <cmath>

#include "gegbl.h"
#include "gevec2d.h"

class AcGePoint2d {
public:
    AcGePoint2d() : x(0.0), y(0.0) {}
    AcGePoint2d(double xx, double yy) : x(xx), y(yy) {}

    static const AcGePoint2d kOrigin;

    AcGePoint2d operator+(const AcGeVector2d& v) const { return AcGePoint2d(x + v.x, y + v.y); }
    AcGePoint2d operator-(const AcGeVector2d& v) const { return AcGePoint2d(x - v.x, y - v.y); }
    AcGeVector2d operator-(const AcGePoint2d& p) const { return AcGeVector2d(x - p.x, y - p.y); }
    AcGePoint2d& operator+=(const AcGeVector2d& v)
    {
        x += v.x;
        y += v.y;
        return *this;
    }
    AcGePoint2d& operator-=(const AcGeVector2d& v)
    {
        x -= v.x;
        y -= v.y;
        return *this;
    }
    double operator[](unsigned int i) const { return i == 0 ? x : y; }
    double& operator[](unsigned int i) { return i == 0 ? x : y; }
    bool operator==(const AcGePoint2d& p) const { return isEqualTo(p); }
    bool operator!=(const AcGePoint2d& p) const { return !isEqualTo(p); }

    AcGePoint2d& set(double xx, double yy)
    {
        x = xx;
        y = yy;
        return *this;
    }
    AcGeVector2d asVector() const { return AcGeVector2d(x, y); }
    double distanceTo(const AcGePoint2d& p) const { return (*this - p).length(); }
    bool isEqualTo(const AcGePoint2d& p, const AcGeTol& tol = AcGeContext::gTol) const
    {
        return distanceTo(p) <= tol.equalPoint();
    }

    double x, y;
};
