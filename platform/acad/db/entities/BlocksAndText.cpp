// The block reference and single-line text.
#include <cwchar>

#include "DbInternal.h"
#include "dbents.h"
#include "dbsymtb.h"

using namespace acdbimpl;
using Impl = AcDbDatabase::Impl;

// ---- AcDbBlockReference

ACRX_DXF_DEFINE_MEMBERS(AcDbBlockReference, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, INSERT, ACDB)

AcDbBlockReference::AcDbBlockReference() = default;
AcDbBlockReference::AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRec)
    : mBlock(blockTableRec)
{
    mTransform.entry[0][3] = position.x;
    mTransform.entry[1][3] = position.y;
    mTransform.entry[2][3] = position.z;
}
AcDbBlockReference::~AcDbBlockReference() = default;

Acad::ErrorStatus AcDbBlockReference::setBlockTableRecord(AcDbObjectId blockTableRec)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (!blockTableRec.isNull()) {
        AcDbStub* s = checkedStub(blockTableRec);
        if (s == nullptr || s->mpObject == nullptr || !s->mpObject->isKindOf(AcDbBlockTableRecord::desc()))
            return Acad::eInvalidInput;
    }
    mBlock = blockTableRec;
    return Acad::eOk;
}

AcGePoint3d AcDbBlockReference::position() const
{
    return AcGePoint3d(mTransform.entry[0][3], mTransform.entry[1][3], mTransform.entry[2][3]);
}

Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& position)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    mTransform.entry[0][3] = position.x;
    mTransform.entry[1][3] = position.y;
    mTransform.entry[2][3] = position.z;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setBlockTransform(const AcGeMatrix3d& xform)
{
    return assignIfValid(mTransform, xform);
}

Acad::ErrorStatus AcDbBlockReference::transformBy(const AcGeMatrix3d& xform)
{
    return assignIfValid(mTransform, xform * mTransform);
}

// ---- AcDbText

ACRX_DXF_DEFINE_MEMBERS(AcDbText, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, TEXT, ACDB)

AcDbText::AcDbText() : mpText(copyString(L"")) {}

AcDbText::AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId, double height, double rotation)
    : mpText(copyString(text)), mPosition(position), mHeight(height > 0.0 ? height : 0.2), mRotation(rotation)
{
}

AcDbText::~AcDbText() { delete[] mpText; }

ACHAR* AcDbText::textString() const { return copyString(mpText); }
const ACHAR* AcDbText::textStringConst() const { return mpText; }

Acad::ErrorStatus AcDbText::setTextString(const ACHAR* text)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    ACHAR* copy = copyString(text);
    delete[] mpText;
    mpText = copy;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& position) { return assignIfValid(mPosition, position); }

Acad::ErrorStatus AcDbText::setHeight(double height)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (!(height > 0.0))
        return Acad::eInvalidInput;
    mHeight = height;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setRotation(double rotation) { return assignIfValid(mRotation, rotation); }

Acad::ErrorStatus AcDbText::setNormal(const AcGeVector3d& normal)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (normal.isZeroLength())
        return Acad::eInvalidInput;
    mNormal = normal.normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::transformBy(const AcGeMatrix3d& xform)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        mPosition.transformBy(xform);
    return es;
}
