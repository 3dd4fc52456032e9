// AcDbBody: a non-manifold shape of faces. Its shape is the stand-in's
// boundary model (standin/AcDbShapeModel.h).
#pragma once

#include "dbmain.h"
#include "standin/AcDbShapeModel.h"

class AcDbBody : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbBody);

    // A body without shape.
    AcDbBody();
    ~AcDbBody() override;

    Adesk::Boolean isNull() const;

    // Reads an ACIS file: its 3D solids, bodies and regions are appended to
    // entities in the file's order, new and in no database (the caller's).
    // The stand-in's files are its own text format (AcisFile.cpp). Statuses:
    // eInvalidInput (no file name), eFileNotFound, eFileAccessErr (a folder,
    // a file that cannot be read), eCannotRestoreFromAcisFile (not such a
    // file, or damaged); on any failure nothing is appended.
    static Acad::ErrorStatus acisIn(const ACHAR* fileName, AcDbVoidPtrArray& entities);
    // Writes the 3D solids, bodies and regions among entities, in order, to
    // an ACIS file (replacing it); other entities are passed over. Statuses:
    // eInvalidInput (no file name, or no such entity to write),
    // eNullEntityPointer, eNotOpenForRead, eFileAccessErr (the file cannot be
    // written; an existing file is left as it was).
    static Acad::ErrorStatus acisOut(const ACHAR* fileName, const AcDbVoidPtrArray& entities);

    // A body of several faces: one AcDbRegion per planar face and one
    // single-face AcDbBody per other face. A body of one face: the curves of
    // its loops (AcDbLine, AcDbArc, AcDbCircle for a full turn). The pieces are new and in
    // no database. Statuses: eNotOpenForRead, eNotApplicable (a body without
    // shape; nothing appended).
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

    // Stand-in: the shape itself, for writing a body out and reading it back.
    const standin::ShapeModel& standinModel() const { return mModel; }
    // Statuses: eNotOpenForWrite, eInvalidInput (see standin::checkModel).
    Acad::ErrorStatus setStandinModel(const standin::ShapeModel& model);

private:
    standin::ShapeModel mModel;
};
