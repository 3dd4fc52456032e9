// AcDbMline: a multiline, parallel lines along a path of vertices.
//
// The stand-in knows the host's STANDARD style only: two elements offset by
// +0.5 and -0.5 (times the scale) from the style's centre line, no caps.
#pragma once

#include <vector>

#include "dbmain.h"
#include "gepnt3d.h"
#include "gevec3d.h"

struct Mline {
    enum MlineJustification { kTop = 0, kZero = 1, kBottom = 2 };
};

class AcDbMline : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbMline);
    // No vertices, justification kTop, scale 1, normal +Z.
    AcDbMline();
    ~AcDbMline() override;

    Mline::MlineJustification justification() const { return mJustification; }
    Acad::ErrorStatus setJustification(Mline::MlineJustification justification);
    double scale() const { return mScale; }
    Acad::ErrorStatus setScale(double scale);
    AcGeVector3d normal() const { return mNormal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    Adesk::Boolean closedMline() const { return mClosed; }
    Acad::ErrorStatus setClosedMline(bool closed);

    Acad::ErrorStatus appendSeg(const AcGePoint3d& newVertex);
    Acad::ErrorStatus removeLastSeg(AcGePoint3d& lastVertex);
    Acad::ErrorStatus moveVertexAt(int index, const AcGePoint3d& newPosition);
    int numVertices() const { return static_cast<int>(mVertices.size()); }
    AcGePoint3d vertexAt(int index) const;

    // One AcDbLine per element and segment (closing segment included), the
    // elements mitred at the inner vertices, new and in no database.
    // Statuses: eNotOpenForRead, eNotApplicable (fewer than two vertices).
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

private:
    std::vector<AcGePoint3d> mVertices;
    AcGeVector3d mNormal{0.0, 0.0, 1.0};
    double mScale = 1.0;
    Mline::MlineJustification mJustification = Mline::kTop;
    bool mClosed = false;
};
