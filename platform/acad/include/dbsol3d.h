// AcDb3dSolid: a closed 3D solid. Its shape is the stand-in's boundary model
// (standin/AcDbShapeModel.h).
#pragma once

#include "dbmain.h"
#include "standin/AcDbShapeModel.h"

class AcDb3dSolid : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDb3dSolid);

    // A solid without shape.
    AcDb3dSolid();
    ~AcDb3dSolid() override;

    Adesk::Boolean isNull() const;
    // A box centred on the origin with edges along the axes. A length that is
    // not positive gives eInvalidInput and the solid unchanged.
    Acad::ErrorStatus createBox(double xLen, double yLen, double zLen);

    // One AcDbRegion per planar face and one single-face AcDbBody per other
    // face, new and in no database. Statuses: eNotOpenForRead, eNotApplicable
    // (a solid without shape; nothing appended).
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

    // Stand-in: the shape itself, for writing a solid out and reading it back.
    const standin::ShapeModel& standinModel() const { return mModel; }
    // Statuses: eNotOpenForWrite, eInvalidInput (see standin::checkModel).
    Acad::ErrorStatus setStandinModel(const standin::ShapeModel& model);

private:
    standin::ShapeModel mModel;
};
