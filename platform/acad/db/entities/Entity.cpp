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
    return assignIfValid(mColor, color.entityColor());
}

Adesk::UInt16 AcDbEntity::colorIndex() const
{
    return static_cast<Adesk::UInt16>(mColor.colorIndex());
}

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

AcCmEntityColor AcDbEntity::entityColor() const
{
    return mColor;
}

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
AcDbObjectId AcDbEntity::layerId() const
{
    return mpLayer;
}
ACHAR* AcDbEntity::linetype() const
{
    return recordName(mpLinetype);
}
AcDbObjectId AcDbEntity::linetypeId() const
{
    return mpLinetype;
}

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

// The record of that name in the layer or linetype table of the entity's
// database, for the setters by name.
static Acad::ErrorStatus recordByName(const AcDbEntity* e, const ACHAR* name, bool layers, AcDbObjectId& id)
{
    if (name == nullptr)
        return Acad::eInvalidInput;
    AcDbSymbolTable* table = tableFor(e, layers);
    if (table == nullptr)
        return Acad::eNoDatabase;
    bool erasedOnly = false;
    AcDbStub* s = findRecord(table, name, erasedOnly);
    if (s == nullptr)
        return Acad::eKeyNotFound;
    if (erasedOnly)
        return Acad::eDeletedEntry;
    id = AcDbObjectId(s);
    return Acad::eOk;
}

// The record an entity is to use, opened for read: of the class and, for an
// entity in a database, of that database.
static Acad::ErrorStatus openRecord(const AcDbEntity* e, Acad::ErrorStatus writable, AcDbObjectId id,
                                    const AcRxClass* recordClass, AcDbObject*& obj)
{
    obj = nullptr;
    if (writable != Acad::eOk)
        return writable;
    AcDbObject* o = nullptr;
    Acad::ErrorStatus es = acdbOpenAcDbObject(o, id, AcDb::kForRead, false);
    if (es != Acad::eOk)
        return es;
    if (!o->isKindOf(recordClass))
        es = Acad::eWrongObjectType;
    else if (e->database() != nullptr && o->database() != e->database())
        es = Acad::eWrongDatabase;
    if (es != Acad::eOk) {
        o->close();
        return es;
    }
    obj = o;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLayer(const ACHAR* newVal, Adesk::Boolean doSubents, bool allowHiddenLayer)
{
    Acad::ErrorStatus es = checkWritable();
    AcDbObjectId id;
    if (es == Acad::eOk)
        es = recordByName(this, newVal, true, id);
    return es != Acad::eOk ? es : setLayer(id, doSubents, allowHiddenLayer);
}

Acad::ErrorStatus AcDbEntity::setLayer(AcDbObjectId newVal, Adesk::Boolean, bool allowHiddenLayer)
{
    AcDbObject* obj = nullptr;
    Acad::ErrorStatus es = openRecord(this, checkWritable(), newVal, AcDbLayerTableRecord::desc(), obj);
    if (es != Acad::eOk)
        return es;
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
    AcDbObjectId id;
    if (es == Acad::eOk)
        es = recordByName(this, newVal, false, id);
    return es != Acad::eOk ? es : setLinetype(id, doSubents);
}

Acad::ErrorStatus AcDbEntity::setLinetype(AcDbObjectId newVal, Adesk::Boolean)
{
    AcDbObject* obj = nullptr;
    Acad::ErrorStatus es = openRecord(this, checkWritable(), newVal, AcDbLinetypeTableRecord::desc(), obj);
    if (es != Acad::eOk)
        return es;
    obj->close();
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

AcDb::Visibility AcDbEntity::visibility() const
{
    return mVisibility ? AcDb::kInvisible : AcDb::kVisible;
}

Acad::ErrorStatus AcDbEntity::setVisibility(AcDb::Visibility newVal, Adesk::Boolean)
{
    return assignIfValid(mVisibility, newVal == AcDb::kInvisible ? 1 : 0);
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

Acad::ErrorStatus AcDbEntity::explode(AcDbVoidPtrArray&) const
{
    return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbEntity::transformBy(const AcGeMatrix3d&)
{
    return Acad::eNotApplicable;
}
