// AcDbExtents: an axis-aligned box in world coordinates, the extents of an
// entity's geometry.
#pragma once

#include <algorithm>

#include "acadstrc.h"
#include "gemat3d.h"
#include "gepnt3d.h"
#include "gevec3d.h"

class AcDbExtents {
public:
    // An empty box: its minimum lies above its maximum until a point is added.
    AcDbExtents() : mMin(1e20, 1e20, 1e20), mMax(-1e20, -1e20, -1e20) {}
    AcDbExtents(const AcGePoint3d& min, const AcGePoint3d& max) : mMin(min), mMax(max) {}

    AcGePoint3d minPoint() const { return mMin; }
    AcGePoint3d maxPoint() const { return mMax; }

    // The corners as given; a minimum above the maximum on any axis gives
    // eInvalidExtents and the box is unchanged.
    Acad::ErrorStatus set(const AcGePoint3d& min, const AcGePoint3d& max)
    {
        if (min.x > max.x || min.y > max.y || min.z > max.z)
            return Acad::eInvalidExtents;
        mMin = min;
        mMax = max;
        return Acad::eOk;
    }

    // Grows the box to take in the point.
    void addPoint(const AcGePoint3d& point)
    {
        mMin.set(std::min(mMin.x, point.x), std::min(mMin.y, point.y), std::min(mMin.z, point.z));
        mMax.set(std::max(mMax.x, point.x), std::max(mMax.y, point.y), std::max(mMax.z, point.z));
    }
    // Grows the box to take in the other box (an empty one adds nothing).
    void addExt(const AcDbExtents& other)
    {
        if (other.mMin.x > other.mMax.x || other.mMin.y > other.mMax.y || other.mMin.z > other.mMax.z)
            return;
        addPoint(other.mMin);
        addPoint(other.mMax);
    }
    // The box of the eight transformed corners.
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform)
    {
        if (mMin.x > mMax.x || mMin.y > mMax.y || mMin.z > mMax.z)
            return Acad::eInvalidExtents;
        AcDbExtents result;
        for (int i = 0; i < 8; ++i) {
            AcGePoint3d corner((i & 1) ? mMax.x : mMin.x, (i & 2) ? mMax.y : mMin.y, (i & 4) ? mMax.z : mMin.z);
            result.addPoint(corner.transformBy(xform));
        }
        *this = result;
        return Acad::eOk;
    }

private:
    AcGePoint3d mMin;
    AcGePoint3d mMax;
};
