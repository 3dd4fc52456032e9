// AcDbHatch: a hatched area bounded by loops.
//
// The stand-in's hatch lies in the plane of its normal and elevation; loop
// vertices are given in that plane's coordinates (the host's OCS). A pattern
// other than "SOLID" is drawn as one family of parallel lines at the pattern
// angle, the pattern spacing apart.
#pragma once

#include <vector>

#include "dbmain.h"
#include "gedblar.h"
#include "gept2dar.h"
#include "gept3dar.h"
#include "gevec3d.h"

class AcDbHatch : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbHatch);

    enum HatchObjectType { kHatchObject = 0, kGradientObject = 1 };
    enum HatchLoopType {
        kDefault = 0,
        kExternal = 1,
        kPolyline = 2,
        kDerived = 4,
        kTextbox = 8,
        kOutermost = 0x10,
        kNotClosed = 0x20,
        kSelfIntersecting = 0x40,
        kTextIsland = 0x80,
        kDuplicate = 0x100
    };
    enum HatchEdgeType { kLine = 1, kCirArc = 2, kEllArc = 3, kSpline = 4 };
    enum HatchPatternType { kUserDefined = 0, kPreDefined = 1, kCustomDefined = 2 };
    enum HatchStyle { kNormal = 0, kOuter = 1, kIgnore = 2 };

    // No loops, user-defined pattern "_USER", angle 0, spacing 1.
    AcDbHatch();
    ~AcDbHatch() override;

    HatchPatternType patternType() const { return mPatternType; }
    const ACHAR* patternName() const;
    // Statuses: eNotOpenForWrite, eInvalidInput (null or empty name).
    Acad::ErrorStatus setPattern(HatchPatternType patType, const ACHAR* patName);
    bool isSolidFill() const;
    double patternAngle() const { return mAngle; }
    Acad::ErrorStatus setPatternAngle(double angle);
    double patternSpace() const { return mSpace; }
    // A spacing of 0 or less gives eInvalidInput.
    Acad::ErrorStatus setPatternSpace(double space);
    HatchStyle hatchStyle() const { return kNormal; }
    double elevation() const { return mElevation; }
    Acad::ErrorStatus setElevation(double elevation);
    AcGeVector3d normal() const { return mNormal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);

    int numLoops() const { return static_cast<int>(mLoops.size()); }
    // A polyline loop: its vertices in the hatch's plane, and either no
    // bulges or one bulge per vertex (the segment from it to the next).
    // Statuses: eNotOpenForWrite, eInvalidInput (fewer than three vertices,
    // or a bulge count that is neither 0 nor the vertex count).
    Acad::ErrorStatus appendLoop(Adesk::Int32 loopType, const AcGePoint2dArray& vertices,
                                 const AcGeDoubleArray& bulges);
    // Stand-in: the same with 3D points whose z is ignored.
    Acad::ErrorStatus appendLoop(Adesk::Int32 loopType, const AcGePoint3dArray& vertices,
                                 const AcGeDoubleArray& bulges);
    Acad::ErrorStatus removeLoopAt(int loopIndex);
    // Stand-in: the loop's vertices (plane coordinates) and bulges.
    Acad::ErrorStatus getLoopAt(int loopIndex, Adesk::Int32& loopType, AcGePoint3dArray& vertices,
                                AcGeDoubleArray& bulges) const;
    Acad::ErrorStatus evaluateHatch(bool underEstimateNumLines = false);

    // A pattern hatch: its pattern lines clipped to the loops (even-odd), one
    // AcDbLine each. A solid fill: the edges of its loops (AcDbLine for
    // straight segments, AcDbArc for bulged ones). New and in no database.
    // Statuses: eNotOpenForRead, eNotApplicable (no loops).
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;

private:
    struct Loop {
        Adesk::Int32 type = 0;
        std::vector<AcGePoint3d> vertices;
        std::vector<double> bulges;
    };
    std::vector<Loop> mLoops;
    ACHAR* mpPattern = nullptr;
    HatchPatternType mPatternType = kUserDefined;
    double mAngle = 0.0;
    double mSpace = 1.0;
    double mElevation = 0.0;
    AcGeVector3d mNormal{0.0, 0.0, 1.0};
};
