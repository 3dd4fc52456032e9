// AcGeLineSeg3d: a bounded straight segment in 3D space.
#pragma once

#include "gepnt3d.h"
#include "gevec3d.h"

class AcGeLineSeg3d {
public:
    AcGeLineSeg3d() : mEnd(1.0, 0.0, 0.0) {}
    AcGeLineSeg3d(const AcGePoint3d& pnt1, const AcGePoint3d& pnt2) : mStart(pnt1), mEnd(pnt2) {}
    // The segment from pnt to pnt + vec.
    AcGeLineSeg3d(const AcGePoint3d& pnt, const AcGeVector3d& vec) : mStart(pnt), mEnd(pnt + vec) {}

    AcGeLineSeg3d& set(const AcGePoint3d& pnt1, const AcGePoint3d& pnt2)
    {
        mStart = pnt1;
        mEnd = pnt2;
        return *this;
    }
    AcGeLineSeg3d& set(const AcGePoint3d& pnt, const AcGeVector3d& vec)
    {
        mStart = pnt;
        mEnd = pnt + vec;
        return *this;
    }

    AcGePoint3d startPoint() const { return mStart; }
    AcGePoint3d endPoint() const { return mEnd; }
    AcGePoint3d midPoint() const
    {
        return AcGePoint3d((mStart.x + mEnd.x) / 2.0, (mStart.y + mEnd.y) / 2.0, (mStart.z + mEnd.z) / 2.0);
    }
    AcGePoint3d pointOnLine() const { return mStart; }
    // The unit direction from the start to the end (zero for a point).
    AcGeVector3d direction() const { return (mEnd - mStart).normal(); }
    double length() const { return mStart.distanceTo(mEnd); }
    // The point at the parameter: 0 the start, 1 the end.
    AcGePoint3d evalPoint(double param) const { return mStart + (mEnd - mStart) * param; }

private:
    AcGePoint3d mStart;
    AcGePoint3d mEnd;
};
