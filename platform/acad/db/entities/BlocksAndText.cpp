// The block reference and single-line text.
#include <cmath>
#include <cwchar>

#include "DbInternal.h"
#include "EntityRules.h"
#include "dbents.h"
#include "dbsymtb.h"

using namespace acdbimpl;
using Impl = AcDbDatabase::Impl;

// ---- AcDbBlockReference

ACRX_DXF_DEFINE_MEMBERS(AcDbBlockReference, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, INSERT, ACDB)

AcDbBlockReference::AcDbBlockReference() = default;
AcDbBlockReference::AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRec)
    : mBlock(blockTableRec), mPosition(finiteOr(position, AcGePoint3d::kOrigin))
{}
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

Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& position)
{
    return assignIfValid(mPosition, position, isFinite(position));
}

Acad::ErrorStatus AcDbBlockReference::setScaleFactors(const AcGeScale3d& scale)
{
    return assignIfValid(mScale, scale, isFinite(scale) && scale.sx != 0.0 && scale.sy != 0.0 && scale.sz != 0.0);
}

Acad::ErrorStatus AcDbBlockReference::setRotation(double rotation)
{
    return assignIfValid(mRotation, rotation, isFinite(rotation));
}

Acad::ErrorStatus AcDbBlockReference::setNormal(const AcGeVector3d& normal)
{
    return assignIfValid(mNormal, normal.normal(), usableNormal(normal));
}

AcGePoint3d AcDbBlockReference::basePoint() const
{
    if (AcDbStub* s = mBlock.isNull() ? nullptr : checkedStub(mBlock))
        if (s->mpObject != nullptr && s->mpObject->isKindOf(AcDbBlockTableRecord::desc()))
            return static_cast<const AcDbBlockTableRecord*>(s->mpObject)->origin();
    return AcGePoint3d();
}

AcGeMatrix3d AcDbBlockReference::blockTransform() const
{
    const AcGePoint3d base = basePoint();
    const AcGeVector3d ax = arbitraryXAxis(mNormal);
    const AcGeVector3d ay = mNormal.crossProduct(ax);
    const double c = std::cos(mRotation), s = std::sin(mRotation);
    const AcGeVector3d columns[3] = {(ax * c + ay * s) * mScale.sx, (ay * c - ax * s) * mScale.sy, mNormal * mScale.sz};
    AcGeMatrix3d m;
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row)
            m.entry[row][col] = columns[col][static_cast<unsigned int>(row)];
    const AcGeVector3d moved = columns[0] * base.x + columns[1] * base.y + columns[2] * base.z;
    for (int row = 0; row < 3; ++row)
        m.entry[row][3] = mPosition[static_cast<unsigned int>(row)] - moved[static_cast<unsigned int>(row)];
    return m;
}

Acad::ErrorStatus AcDbBlockReference::setBlockTransform(const AcGeMatrix3d& xform)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            if (!std::isfinite(xform.entry[row][col]))
                return Acad::eInvalidInput;
    if (xform.entry[3][0] != 0.0 || xform.entry[3][1] != 0.0 || xform.entry[3][2] != 0.0 || xform.entry[3][3] != 1.0)
        return Acad::eInvalidInput;
    AcGeVector3d c[3];
    for (int col = 0; col < 3; ++col)
        c[col] = AcGeVector3d(xform.entry[0][col], xform.entry[1][col], xform.entry[2][col]);
    const double len[3] = {c[0].length(), c[1].length(), c[2].length()};
    for (double l : len)
        if (!(l > 0.0) || !std::isfinite(l))
            return Acad::eInvalidInput;
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j)
            if (std::fabs(c[i].dotProduct(c[j])) > 1e-9 * len[i] * len[j])
                return Acad::eCannotScaleNonUniformly;
    AcGeVector3d normal = c[2] / len[2];
    double sz = len[2];
    if (c[0].crossProduct(c[1]).dotProduct(c[2]) < 0.0) {  // a mirror: a negative z scale
        normal = -normal;
        sz = -sz;
    }
    const AcGeVector3d ax = arbitraryXAxis(normal);
    const AcGeVector3d ay = normal.crossProduct(ax);
    // Where the block's base point lands stays where it lands.
    const AcGePoint3d landed = basePoint().transformBy(xform);
    mNormal = normal;
    mScale.set(len[0], len[1], sz);
    mRotation = std::atan2(c[0].dotProduct(ay), c[0].dotProduct(ax));
    if (mRotation < 0.0)
        mRotation += 2.0 * 3.14159265358979323846;
    mPosition = landed;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::transformBy(const AcGeMatrix3d& xform)
{
    return setBlockTransform(xform * blockTransform());
}

// ---- AcDbText

ACRX_DXF_DEFINE_MEMBERS(AcDbText, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, TEXT, ACDB)

AcDbText::AcDbText() : mpText(copyString(L"")) {}

AcDbText::AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId, double height, double rotation)
    : mpText(copyString(text)), mPosition(finiteOr(position, AcGePoint3d::kOrigin)),
      mHeight(isFinite(height) && height > 0.0 ? height : 0.2), mRotation(finiteOr(rotation, 0.0))
{}

AcDbText::~AcDbText()
{
    delete[] mpText;
}

ACHAR* AcDbText::textString() const
{
    return copyString(mpText);
}
const ACHAR* AcDbText::textStringConst() const
{
    return mpText;
}

Acad::ErrorStatus AcDbText::setTextString(const ACHAR* text)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    replaceString(mpText, text);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& position)
{
    return assignIfValid(mPosition, position, isFinite(position));
}

Acad::ErrorStatus AcDbText::setHeight(double height)
{
    return assignIfValid(mHeight, height, isFinite(height) && height > 0.0);
}

Acad::ErrorStatus AcDbText::setRotation(double rotation)
{
    return assignIfValid(mRotation, rotation, isFinite(rotation));
}

Acad::ErrorStatus AcDbText::setNormal(const AcGeVector3d& normal)
{
    return assignIfValid(mNormal, normal.normal(), usableNormal(normal));
}

Acad::ErrorStatus AcDbText::transformBy(const AcGeMatrix3d& xform)
{
    return movePoint(checkWritable(), mPosition, xform);
}
