// AcDbRegion: one bounded planar face. Its shape is the stand-in's boundary
// model (standin/AcDbShapeModel.h) with exactly one planar face.
#pragma once

#include "dbmain.h"
#include "standin/AcDbShapeModel.h"

class AcDbRegion : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbRegion);

    // A region without shape.
    AcDbRegion();
    ~AcDbRegion() override;

    // Closed loops of AcDbLine curves that meet end to end (within
    // AcGeContext::gTol) become one new region each, appended to regions.
    // The curves stay the caller's. Statuses: eInvalidInput (an entry that is
    // not a line, or lines that do not close into planar loops; nothing
    // appended).
    static Acad::ErrorStatus createFromCurves(const AcDbVoidPtrArray& curveSegments, AcDbVoidPtrArray& regions);

    Adesk::Boolean isNull() const;
    Acad::ErrorStatus getNormal(AcGeVector3d& normal) const;
    // Area of the outer loop less its holes (line edges; arcs by their chords).
    Acad::ErrorStatus getArea(double& area) const;

    // The curves of its loops, new and in no database: an AcDbLine per line
    // edge, an AcDbArc per arc edge (an AcDbCircle for a full turn). Statuses: eNotOpenForRead, eNotApplicable
    // (a region without shape; nothing appended).
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

    // Stand-in: the shape itself, for writing a region out and reading it
    // back. Statuses: eNotOpenForWrite, eInvalidInput (not exactly one planar
    // face, or see standin::checkModel).
    const standin::ShapeModel& standinModel() const { return mModel; }
    Acad::ErrorStatus setStandinModel(const standin::ShapeModel& model);

private:
    standin::ShapeModel mModel;
};
