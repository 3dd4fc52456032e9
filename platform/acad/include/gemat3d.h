// AcGeMatrix3d: a 4 x 4 transformation, row-major, the translation in column 3.
#pragma once

#include "gegbl.h"
#include "gepnt3d.h"
#include "gevec3d.h"

class AcGeMatrix3d {
public:
    // The identity.
    AcGeMatrix3d()
    {
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                entry[r][c] = r == c ? 1.0 : 0.0;
    }

    static const AcGeMatrix3d kIdentity;

    AcGeMatrix3d& setToIdentity() { return *this = AcGeMatrix3d(); }
    bool isEqualTo(const AcGeMatrix3d& m, const AcGeTol& tol = AcGeContext::gTol) const
    {
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) {
                double d = entry[r][c] - m.entry[r][c];
                if (d > tol.equalVector() || d < -tol.equalVector())
                    return false;
            }
        return true;
    }
    bool operator==(const AcGeMatrix3d& m) const { return isEqualTo(m); }
    bool operator!=(const AcGeMatrix3d& m) const { return !isEqualTo(m); }

    AcGeMatrix3d operator*(const AcGeMatrix3d& m) const
    {
        AcGeMatrix3d out;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) {
                double s = 0.0;
                for (int k = 0; k < 4; ++k)
                    s += entry[r][k] * m.entry[k][c];
                out.entry[r][c] = s;
            }
        return out;
    }
    AcGeMatrix3d& operator*=(const AcGeMatrix3d& m) { return *this = *this * m; }
    AcGeMatrix3d& preMultBy(const AcGeMatrix3d& m) { return *this = m * *this; }
    AcGeMatrix3d& postMultBy(const AcGeMatrix3d& m) { return *this = *this * m; }

    AcGeMatrix3d& setToTranslation(const AcGeVector3d& v)
    {
        setToIdentity();
        entry[0][3] = v.x;
        entry[1][3] = v.y;
        entry[2][3] = v.z;
        return *this;
    }
    static AcGeMatrix3d translation(const AcGeVector3d& v)
    {
        AcGeMatrix3d m;
        return m.setToTranslation(v);
    }
    AcGeVector3d translation() const { return AcGeVector3d(entry[0][3], entry[1][3], entry[2][3]); }
    AcGeMatrix3d& setToScaling(double s, const AcGePoint3d& center = AcGePoint3d::kOrigin)
    {
        setToIdentity();
        for (int i = 0; i < 3; ++i)
            entry[i][i] = s;
        entry[0][3] = center.x * (1.0 - s);
        entry[1][3] = center.y * (1.0 - s);
        entry[2][3] = center.z * (1.0 - s);
        return *this;
    }
    static AcGeMatrix3d scaling(double s, const AcGePoint3d& center = AcGePoint3d::kOrigin)
    {
        AcGeMatrix3d m;
        return m.setToScaling(s, center);
    }
    AcGeMatrix3d& setCoordSystem(const AcGePoint3d& origin, const AcGeVector3d& xAxis, const AcGeVector3d& yAxis,
                                 const AcGeVector3d& zAxis)
    {
        setToIdentity();
        const AcGeVector3d* axes[3] = {&xAxis, &yAxis, &zAxis};
        for (int c = 0; c < 3; ++c) {
            entry[0][c] = axes[c]->x;
            entry[1][c] = axes[c]->y;
            entry[2][c] = axes[c]->z;
        }
        entry[0][3] = origin.x;
        entry[1][3] = origin.y;
        entry[2][3] = origin.z;
        return *this;
    }
    void getCoordSystem(AcGePoint3d& origin, AcGeVector3d& xAxis, AcGeVector3d& yAxis, AcGeVector3d& zAxis) const
    {
        origin.set(entry[0][3], entry[1][3], entry[2][3]);
        xAxis.set(entry[0][0], entry[1][0], entry[2][0]);
        yAxis.set(entry[0][1], entry[1][1], entry[2][1]);
        zAxis.set(entry[0][2], entry[1][2], entry[2][2]);
    }
    double det() const;
    // The inverse; a singular matrix gives the identity.
    AcGeMatrix3d inverse() const;
    AcGeMatrix3d& invert() { return *this = inverse(); }
    AcGeMatrix3d transpose() const
    {
        AcGeMatrix3d m;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                m.entry[r][c] = entry[c][r];
        return m;
    }
    double operator()(unsigned int r, unsigned int c) const { return entry[r][c]; }
    double& operator()(unsigned int r, unsigned int c) { return entry[r][c]; }

    double entry[4][4];
};

inline AcGePoint3d operator*(const AcGeMatrix3d& m, const AcGePoint3d& p)
{
    double w = m.entry[3][0] * p.x + m.entry[3][1] * p.y + m.entry[3][2] * p.z + m.entry[3][3];
    AcGePoint3d q(m.entry[0][0] * p.x + m.entry[0][1] * p.y + m.entry[0][2] * p.z + m.entry[0][3],
                  m.entry[1][0] * p.x + m.entry[1][1] * p.y + m.entry[1][2] * p.z + m.entry[1][3],
                  m.entry[2][0] * p.x + m.entry[2][1] * p.y + m.entry[2][2] * p.z + m.entry[2][3]);
    if (w != 1.0 && w != 0.0)
        q = q / w;
    return q;
}

inline AcGeVector3d operator*(const AcGeMatrix3d& m, const AcGeVector3d& v)
{
    return AcGeVector3d(m.entry[0][0] * v.x + m.entry[0][1] * v.y + m.entry[0][2] * v.z,
                        m.entry[1][0] * v.x + m.entry[1][1] * v.y + m.entry[1][2] * v.z,
                        m.entry[2][0] * v.x + m.entry[2][1] * v.y + m.entry[2][2] * v.z);
}

inline AcGePoint3d& AcGePoint3d::transformBy(const AcGeMatrix3d& m)
{
    return *this = m * *this;
}
inline AcGeVector3d& AcGeVector3d::transformBy(const AcGeMatrix3d& m)
{
    return *this = m * *this;
}
