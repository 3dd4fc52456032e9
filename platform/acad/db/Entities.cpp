// AcDbEntity's common properties and the entity classes.
#include "DbInternal.h"
#include "dbSubD.h"
#include "dbapserv.h"
#include "dbents.h"

using namespace acdbimpl;
using Impl = AcDbDatabase::Impl;

const AcDbSubentId kNullSubentId;
const AcDbFullSubentPath kNullSubent;

// ---- AcDbEntity

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbEntity, AcDbObject)

AcDbEntity::AcDbEntity() = default;
AcDbEntity::~AcDbEntity() = default;

AcDbObjectId AcDbEntity::blockId() const
{
    AcDbStub* owner = Impl::ownerOf(this);
    if (owner != nullptr && owner->mpObject != nullptr && owner->mpObject->isKindOf(AcDbBlockTableRecord::desc()))
        return owner;
    return AcDbObjectId();
}

AcCmColor AcDbEntity::color() const
{
    AcCmColor c;
    c.setEntityColor(mColor);
    return c;
}

Acad::ErrorStatus AcDbEntity::setColor(const AcCmColor& color, Adesk::Boolean)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        mColor = color.entityColor();
    return es;
}

Adesk::UInt16 AcDbEntity::colorIndex() const { return static_cast<Adesk::UInt16>(mColor.colorIndex()); }

Acad::ErrorStatus AcDbEntity::setColorIndex(Adesk::UInt16 colorIndex, Adesk::Boolean)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    AcCmColor c;
    es = c.setColorIndex(colorIndex);
    if (es == Acad::eOk)
        mColor = c.entityColor();
    return es;
}

AcCmEntityColor AcDbEntity::entityColor() const { return mColor; }

static ACHAR* recordName(AcDbStub* s)
{
    const ACHAR* name = nullptr;
    s = checkedStub(s);  // the record's database may be gone
    if (s != nullptr && s->mpObject != nullptr)
        name = Impl::nameOf(static_cast<const AcDbSymbolTableRecord*>(s->mpObject));
    return copyString(name);
}

ACHAR* AcDbEntity::layer() const
{
    // The host dereferences the layer id: an entity that has none yet (one
    // that is in no database and was never given a layer) breaks it.
    if (mpLayer == nullptr)
        violation("layer() of an entity that has no layer (it is in no database)");
    return recordName(mpLayer);
}
AcDbObjectId AcDbEntity::layerId() const { return mpLayer; }
ACHAR* AcDbEntity::linetype() const { return recordName(mpLinetype); }
AcDbObjectId AcDbEntity::linetypeId() const { return mpLinetype; }

// The table of the entity's database, or of the working database for an entity in none.
static AcDbSymbolTable* tableFor(const AcDbEntity* e, bool layers)
{
    AcDbDatabase* db = e->database();
    if (db == nullptr)
        db = acdbHostApplicationServices()->workingDatabase();
    if (db == nullptr)
        return nullptr;
    AcDbStub* t = layers ? db->impl()->layerTable : db->impl()->linetypeTable;
    return static_cast<AcDbSymbolTable*>(t->mpObject);
}

Acad::ErrorStatus AcDbEntity::setLayer(const ACHAR* newVal, Adesk::Boolean doSubents, bool allowHiddenLayer)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (newVal == nullptr)
        return Acad::eInvalidInput;
    AcDbSymbolTable* table = tableFor(this, true);
    if (table == nullptr)
        return Acad::eNoDatabase;
    bool erasedOnly = false;
    AcDbStub* s = findRecord(table, newVal, erasedOnly);
    if (s == nullptr)
        return Acad::eKeyNotFound;
    if (erasedOnly)
        return Acad::eDeletedEntry;
    return setLayer(AcDbObjectId(s), doSubents, allowHiddenLayer);
}

Acad::ErrorStatus AcDbEntity::setLayer(AcDbObjectId newVal, Adesk::Boolean, bool allowHiddenLayer)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    AcDbObject* obj = nullptr;
    es = acdbOpenAcDbObject(obj, newVal, AcDb::kForRead, false);
    if (es != Acad::eOk)
        return es;
    if (!obj->isKindOf(AcDbLayerTableRecord::desc())) {
        obj->close();
        return Acad::eWrongObjectType;
    }
    if (database() != nullptr && obj->database() != database()) {
        obj->close();
        return Acad::eWrongDatabase;
    }
    bool hidden = static_cast<AcDbLayerTableRecord*>(obj)->isHidden();
    obj->close();
    if (hidden && !allowHiddenLayer)
        return Acad::eOk;  // ignored, as the host does
    mpLayer = newVal;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLinetype(const ACHAR* newVal, Adesk::Boolean doSubents)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (newVal == nullptr)
        return Acad::eInvalidInput;
    AcDbSymbolTable* table = tableFor(this, false);
    if (table == nullptr)
        return Acad::eNoDatabase;
    bool erasedOnly = false;
    AcDbStub* s = findRecord(table, newVal, erasedOnly);
    if (s == nullptr)
        return Acad::eKeyNotFound;
    if (erasedOnly)
        return Acad::eDeletedEntry;
    return setLinetype(AcDbObjectId(s), doSubents);
}

Acad::ErrorStatus AcDbEntity::setLinetype(AcDbObjectId newVal, Adesk::Boolean)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    AcDbObject* obj = nullptr;
    es = acdbOpenAcDbObject(obj, newVal, AcDb::kForRead, false);
    if (es != Acad::eOk)
        return es;
    bool ok = obj->isKindOf(AcDbLinetypeTableRecord::desc());
    bool sameDb = database() == nullptr || obj->database() == database();
    obj->close();
    if (!ok)
        return Acad::eWrongObjectType;
    if (!sameDb)
        return Acad::eWrongDatabase;
    mpLinetype = newVal;
    return Acad::eOk;
}

void AcDbEntity::setDatabaseDefaults()
{
    AcDbDatabase* db = database();
    setDatabaseDefaults(db != nullptr ? db : acdbHostApplicationServices()->workingDatabase());
}

void AcDbEntity::setDatabaseDefaults(AcDbDatabase* db)
{
    assertWriteEnabled();
    if (!isWriteEnabled() || db == nullptr)
        return;
    mColor = db->impl()->cecolor.entityColor();
    mpLayer = db->impl()->clayer;
    mpLinetype = db->impl()->celtype;
}

AcDb::Visibility AcDbEntity::visibility() const { return mVisibility ? AcDb::kInvisible : AcDb::kVisible; }

Acad::ErrorStatus AcDbEntity::setVisibility(AcDb::Visibility newVal, Adesk::Boolean)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        mVisibility = newVal == AcDb::kInvisible ? 1 : 0;
    return es;
}

static Acad::ErrorStatus highlightState(const AcDbEntity* e, const AcDbFullSubentPath& subId, bool on)
{
    if (!e->isReadEnabled())
        return Acad::eNotOpenForRead;
    AcDbDatabase::Impl* d = implOf(e);
    if (d == nullptr)
        return Acad::eNotInDatabase;
    // These entities have no subentities: only the whole entity can be named.
    if (subId.subentId().type() != AcDb::kNullSubentType)
        return Acad::eWrongSubentityType;
    if (on)
        d->highlighted.insert(Impl::stubOf(e));
    else
        d->highlighted.erase(Impl::stubOf(e));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::highlight(const AcDbFullSubentPath& subId, const Adesk::Boolean) const
{
    return highlightState(this, subId, true);
}

Acad::ErrorStatus AcDbEntity::unhighlight(const AcDbFullSubentPath& subId, const Adesk::Boolean) const
{
    return highlightState(this, subId, false);
}

Acad::ErrorStatus AcDbEntity::explode(AcDbVoidPtrArray&) const { return Acad::eNotApplicable; }

Acad::ErrorStatus AcDbEntity::transformBy(const AcGeMatrix3d&) { return Acad::eNotApplicable; }

// ---- AcDbFace

ACRX_DXF_DEFINE_MEMBERS(AcDbFace, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, 3DFACE, ACDB)

AcDbFace::AcDbFace() = default;

AcDbFace::AcDbFace(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2, const AcGePoint3d& pt3,
                   Adesk::Boolean e0vis, Adesk::Boolean e1vis, Adesk::Boolean e2vis, Adesk::Boolean e3vis)
    : mCorners{pt0, pt1, pt2, pt3},
      mInvisibleEdges(static_cast<Adesk::UInt8>((e0vis ? 0 : 1) | (e1vis ? 0 : 2) | (e2vis ? 0 : 4) | (e3vis ? 0 : 8)))
{
}

AcDbFace::AcDbFace(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2, Adesk::Boolean e0vis,
                   Adesk::Boolean e1vis, Adesk::Boolean e2vis, Adesk::Boolean e3vis)
    : AcDbFace(pt0, pt1, pt2, pt2, e0vis, e1vis, e2vis, e3vis)
{
}

AcDbFace::~AcDbFace() = default;

Acad::ErrorStatus AcDbFace::getVertexAt(Adesk::UInt16 index, AcGePoint3d& point) const
{
    if (index > 3)
        return Acad::eInvalidIndex;
    point = mCorners[index];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::setVertexAt(Adesk::UInt16 index, const AcGePoint3d& point)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (index > 3)
        return Acad::eInvalidIndex;
    mCorners[index] = point;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::makeEdgeInvisibleAt(Adesk::UInt16 index)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (index > 3)
        return Acad::eInvalidIndex;
    mInvisibleEdges = static_cast<Adesk::UInt8>(mInvisibleEdges | (1u << index));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::makeEdgeVisibleAt(Adesk::UInt16 index)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (index > 3)
        return Acad::eInvalidIndex;
    mInvisibleEdges = static_cast<Adesk::UInt8>(mInvisibleEdges & ~(1u << index));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::isEdgeVisibleAt(Adesk::UInt16 index, Adesk::Boolean& visible) const
{
    if (index > 3)
        return Acad::eInvalidIndex;
    visible = (mInvisibleEdges & (1u << index)) == 0;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::transformBy(const AcGeMatrix3d& xform)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    for (AcGePoint3d& p : mCorners)
        p.transformBy(xform);
    return Acad::eOk;
}

// ---- AcDbLine

ACRX_DXF_DEFINE_MEMBERS(AcDbLine, AcDbCurve, AcDb::kDHL_CURRENT, 0, 0, LINE, ACDB)

AcDbLine::AcDbLine() = default;
AcDbLine::AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end) : mStart(start), mEnd(end) {}
AcDbLine::~AcDbLine() = default;

Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& point)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        mStart = point;
    return es;
}

Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& point)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        mEnd = point;
    return es;
}

Acad::ErrorStatus AcDbLine::setNormal(const AcGeVector3d& normal)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (normal.isZeroLength())
        return Acad::eInvalidInput;
    mNormal = normal.normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::setThickness(double thickness)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        mThickness = thickness;
    return es;
}

Acad::ErrorStatus AcDbLine::getStartPoint(AcGePoint3d& point) const
{
    point = mStart;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getEndPoint(AcGePoint3d& point) const
{
    point = mEnd;
    return Acad::eOk;
}

bool AcDbLine::standinPath(standin::CurvePath& path) const
{
    standin::CurvePiece piece;
    piece.kind = standin::CurvePiece::kSegment;
    piece.origin = mStart;
    double length = mStart.distanceTo(mEnd);
    piece.axisX = length > 0.0 ? (mEnd - mStart) / length : AcGeVector3d();
    piece.t0 = piece.p0 = 0.0;
    piece.t1 = piece.p1 = length;
    path.pieces.push_back(piece);
    return true;
}

Acad::ErrorStatus AcDbLine::transformBy(const AcGeMatrix3d& xform)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    mStart.transformBy(xform);
    mEnd.transformBy(xform);
    return Acad::eOk;
}

// ---- AcDbPoint

ACRX_DXF_DEFINE_MEMBERS(AcDbPoint, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, POINT, ACDB)

AcDbPoint::AcDbPoint() = default;
AcDbPoint::AcDbPoint(const AcGePoint3d& position) : mPosition(position) {}
AcDbPoint::~AcDbPoint() = default;

Acad::ErrorStatus AcDbPoint::setPosition(const AcGePoint3d& position)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        mPosition = position;
    return es;
}

Acad::ErrorStatus AcDbPoint::setNormal(const AcGeVector3d& normal)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (normal.isZeroLength())
        return Acad::eInvalidInput;
    mNormal = normal.normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::setThickness(double thickness)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        mThickness = thickness;
    return es;
}

Acad::ErrorStatus AcDbPoint::transformBy(const AcGeMatrix3d& xform)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        mPosition.transformBy(xform);
    return es;
}

// ---- AcDbSubDMesh

ACRX_DXF_DEFINE_MEMBERS(AcDbSubDMesh, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, MESH, ACDB)

AcDbSubDMesh::AcDbSubDMesh() = default;
AcDbSubDMesh::~AcDbSubDMesh() = default;

Acad::ErrorStatus AcDbSubDMesh::setSubDMesh(const AcGePoint3dArray& vertexArray,
                                            const AcArray<Adesk::Int32>& indexArray, int subDLevel)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (subDLevel < 0)
        return Acad::eInvalidInput;
    const Adesk::Int32 vertexCount = vertexArray.length();
    const Adesk::Int32 n = indexArray.length();
    Adesk::Int32 faces = 0;
    for (Adesk::Int32 i = 0; i < n;) {
        Adesk::Int32 count = indexArray[i];
        if (count < 3 || count > n - i - 1)
            return Acad::eInvalidInput;
        for (Adesk::Int32 k = 1; k <= count; ++k) {
            Adesk::Int32 v = indexArray[i + k];
            if (v < 0 || v >= vertexCount)
                return Acad::eInvalidInput;
        }
        i += count + 1;
        ++faces;
    }
    mVertices = vertexArray;
    mFaces = indexArray;
    mFaceCount = faces;
    mLevel = subDLevel;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::setNull()
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    mVertices.removeAll();
    mFaces.removeAll();
    mFaceCount = 0;
    mLevel = 0;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::getVertices(AcGePoint3dArray& vertexArray) const
{
    vertexArray = mVertices;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::getFaceArray(AcArray<Adesk::Int32>& indexArray) const
{
    indexArray = mFaces;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::getVertexAt(Adesk::Int32 index, AcGePoint3d& vertex) const
{
    if (index < 0 || index >= mVertices.length())
        return Acad::eInvalidIndex;
    vertex = mVertices[index];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::numOfVertices(Adesk::Int32& result) const
{
    result = mVertices.length();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::numOfFaces(Adesk::Int32& result) const
{
    result = mFaceCount;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::subDLevel(Adesk::Int32& result) const
{
    result = mLevel;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::transformBy(const AcGeMatrix3d& xform)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    for (AcGePoint3d& p : mVertices)
        p.transformBy(xform);
    return Acad::eOk;
}
