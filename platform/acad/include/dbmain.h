// The drawing database: AcDbDatabase, AcDbObject, AcDbEntity and the open functions.
//
// Every object of a database is opened and closed under the host's protocol:
// any number of readers or one writer. A new object counts as open for write
// and belongs to its creator, who deletes it if it is never added; once added
// it belongs to the database, is closed with close() and never deleted.
#pragma once

#include "AcHeapOpers.h"
#include "AdAChar.h"
#include "acadstrc.h"
#include "acarray.h"
#include "acdb.h"
#include "adesk.h"
#include "adsdef.h"
#include "dbcolor.h"
#include "dbextents.h"
#include "dbid.h"
#include "dbidar.h"
#include "dbptrar.h"
#include "dbsubeid.h"
#include "gemat3d.h"
#include "gepnt3d.h"
#include "rxobject.h"

class AcDbBlockTable;
class AcDbLayerTable;
class AcDbLinetypeTable;
class AcDbSymbolTable;
class AcDbBlockTableRecord;
class AcDbEntity;
class AcDbObject;

class AcDbDatabase : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbDatabase);

    // A database with the default drawing: block table with "*Model_Space"
    // and "*Paper_Space", layer "0", linetypes "ByBlock", "ByLayer" and
    // "Continuous". Without the default drawing the tables are there but empty.
    explicit AcDbDatabase(bool buildDefaultDrawing = true, bool noDocument = false);
    // Frees every object of the database, open or not.
    ~AcDbDatabase() override;
    AcDbDatabase(const AcDbDatabase&) = delete;
    AcDbDatabase& operator=(const AcDbDatabase&) = delete;

    Acad::ErrorStatus getBlockTable(AcDbBlockTable*& table, AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getLayerTable(AcDbLayerTable*& table, AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getLinetypeTable(AcDbLinetypeTable*& table, AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getSymbolTable(AcDbBlockTable*& table, AcDb::OpenMode mode = AcDb::kForRead)
    {
        return getBlockTable(table, mode);
    }
    Acad::ErrorStatus getSymbolTable(AcDbLayerTable*& table, AcDb::OpenMode mode = AcDb::kForRead)
    {
        return getLayerTable(table, mode);
    }
    Acad::ErrorStatus getSymbolTable(AcDbLinetypeTable*& table, AcDb::OpenMode mode = AcDb::kForRead)
    {
        return getLinetypeTable(table, mode);
    }

    AcDbObjectId blockTableId() const;
    AcDbObjectId layerTableId() const;
    AcDbObjectId linetypeTableId() const;

    AcDbObjectId layerZero() const;
    AcDbObjectId byLayerLinetype() const;
    AcDbObjectId byBlockLinetype() const;
    AcDbObjectId continuousLinetype() const;
    AcDbObjectId currentSpaceId() const;

    // The defaults that a new entity takes when it is appended (CLAYER,
    // CELTYPE, CECOLOR).
    AcDbObjectId clayer() const;
    Acad::ErrorStatus setClayer(AcDbObjectId layerId);
    AcDbObjectId celtype() const;
    Acad::ErrorStatus setCeltype(AcDbObjectId linetypeId);
    AcCmColor cecolor() const;
    Acad::ErrorStatus setCecolor(const AcCmColor& color);

    // Makes a non-entity object resident, owned by the database.
    Acad::ErrorStatus addAcDbObject(AcDbObject* object);
    Acad::ErrorStatus addAcDbObject(AcDbObjectId& id, AcDbObject* object);

    // The object with this handle. createIfNotFound is not supported.
    Acad::ErrorStatus getAcDbObjectId(AcDbObjectId& id, bool createIfNotFound, const AcDbHandle& handle,
                                      Adesk::UInt32 xRefId = 0);

    // Number of objects the database holds, erased ones included.
    Adesk::Int32 approxNumObjects() const;

    // Writes the drawing as DXF (AutoCAD 2000 format or later): its layers
    // and linetypes and every entity of model space that is not erased.
    Acad::ErrorStatus dxfOut(const ACHAR* fileName, int precision = 16,
                             AcDb::AcDbDwgVersion dwgVersion = AcDb::kDHL_CURRENT, bool saveThumbnailImage = false);

    struct Impl;
    Impl* impl() const { return mpImpl; }

private:
    Impl* mpImpl;
};

class AcDbObject : public AcRxObject, public AcHeapOperators {
public:
    ACRX_DECLARE_MEMBERS(AcDbObject);

    ~AcDbObject() override;
    AcDbObject(const AcDbObject&) = delete;
    AcDbObject& operator=(const AcDbObject&) = delete;

    AcDbObjectId objectId() const;
    AcDbObjectId ownerId() const;
    Acad::ErrorStatus setOwnerId(AcDbObjectId ownerId);
    AcDbDatabase* database() const;
    void getAcDbHandle(AcDbHandle& handle) const;
    AcDbHandle handle() const
    {
        AcDbHandle h;
        getAcDbHandle(h);
        return h;
    }

    // Ends one open: the writer's, or one of the readers'.
    Acad::ErrorStatus close();
    Acad::ErrorStatus upgradeOpen();
    Acad::ErrorStatus downgradeOpen();
    Acad::ErrorStatus cancel() { return close(); }

    Acad::ErrorStatus erase(Adesk::Boolean erasing = true);
    bool isErased() const;
    bool isReadEnabled() const;
    bool isWriteEnabled() const;
    bool isNotifyEnabled() const;
    bool isNewObject() const;
    bool isNotifying() const { return isNotifyEnabled(); }
    bool isUndoing() const { return false; }
    bool isModified() const;
    bool isPersistent() const { return mpStub != nullptr; }

    // The void checks of the host: a failure is recorded as a protocol
    // violation of the stand-in.
    void assertReadEnabled() const;
    void assertWriteEnabled(Adesk::Boolean autoUndo = true, Adesk::Boolean recordModified = true);
    void assertNotifyEnabled() const;

protected:
    AcDbObject();
    // eOk when the object is open for write; otherwise eNotOpenForWrite.
    Acad::ErrorStatus checkWritable() const;
    // A setter's body: eNotOpenForWrite when the object is not open for write,
    // eInvalidInput (the member unchanged) when the value is not valid,
    // otherwise the member takes the value and the answer is eOk.
    template <class Member, class Value>
    Acad::ErrorStatus assignIfValid(Member& member, const Value& value, bool valid = true)
    {
        const Acad::ErrorStatus es = checkWritable();
        if (es != Acad::eOk)
            return es;
        if (!valid)
            return Acad::eInvalidInput;
        member = value;
        return Acad::eOk;
    }

private:
    friend struct AcDbDatabase::Impl;
    friend class AcDbStandinAccess;

    AcDbStub* mpStub = nullptr;
    AcDbStub* mpOwner = nullptr;
    Adesk::UInt16 mReaders = 0;
    Adesk::UInt8 mFlags = 0;
};

class AcDbEntity : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbEntity);

    ~AcDbEntity() override;

    // The block table record that owns the entity (null when not resident).
    AcDbObjectId blockId() const;

    AcCmColor color() const;
    Acad::ErrorStatus setColor(const AcCmColor& color, Adesk::Boolean doSubents = true);
    Adesk::UInt16 colorIndex() const;
    Acad::ErrorStatus setColorIndex(Adesk::UInt16 colorIndex, Adesk::Boolean doSubents = true);
    AcCmEntityColor entityColor() const;

    // A new string the caller frees with acutDelString. An entity without a
    // layer yet (in no database, never given one) breaks the protocol: the
    // breach is recorded and "" comes back.
    ACHAR* layer() const;
    AcDbObjectId layerId() const;
    Acad::ErrorStatus setLayer(const ACHAR* newVal, Adesk::Boolean doSubents = true, bool allowHiddenLayer = false);
    Acad::ErrorStatus setLayer(AcDbObjectId newVal, Adesk::Boolean doSubents = true, bool allowHiddenLayer = false);

    // A new string the caller frees with acutDelString ("" while unset).
    ACHAR* linetype() const;
    AcDbObjectId linetypeId() const;
    Acad::ErrorStatus setLinetype(const ACHAR* newVal, Adesk::Boolean doSubents = true);
    Acad::ErrorStatus setLinetype(AcDbObjectId newVal, Adesk::Boolean doSubents = true);

    // Sets the properties that are still unset from the database's defaults.
    void setDatabaseDefaults();
    void setDatabaseDefaults(AcDbDatabase* db);

    AcDb::Visibility visibility() const;
    Acad::ErrorStatus setVisibility(AcDb::Visibility newVal, Adesk::Boolean doSubents = true);

    Acad::ErrorStatus highlight(const AcDbFullSubentPath& subId = kNullSubent,
                                const Adesk::Boolean highlightAll = false) const;
    Acad::ErrorStatus unhighlight(const AcDbFullSubentPath& subId = kNullSubent,
                                  const Adesk::Boolean highlightAll = false) const;

    // Appends the pieces (new entities of no database) that the entity breaks into.
    virtual Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const;
    virtual Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform);
    // The box of the entity's geometry in world coordinates. An entity class
    // without geometry of its own, or an entity with none yet, gives
    // eInvalidExtents and leaves the box unchanged.
    virtual Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const;

protected:
    AcDbEntity();

private:
    friend struct AcDbDatabase::Impl;

    AcDbStub* mpLayer = nullptr;
    AcDbStub* mpLinetype = nullptr;
    AcCmEntityColor mColor{AcCmEntityColor::kNone};
    Adesk::UInt8 mVisibility = 0;
};

// Opens the object with the id. Statuses: eNullObjectId, eInvalidInput (an id
// that names no object), eWasErased (unless openErased), eWasOpenForWrite,
// eWasOpenForRead (a write open of a read-open object), eWasNotifying,
// eWasOpenForNotify, eAtMaxReaders (256 readers).
Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false);
// As above; an object not of pClass (or a class derived from it) is not
// opened and gives eNotThatKindOfClass.
Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, const AcRxClass* pClass,
                                     bool openErased = false);
// As acdbOpenAcDbObject; an object that is not an entity gives eNotAnEntity.
Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& entity, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErasedEntity = false);

template <class T>
inline Acad::ErrorStatus acdbOpenObject(T*& obj, AcDbObjectId id, AcDb::OpenMode mode = AcDb::kForRead,
                                        bool openErased = false)
{
    AcDbObject* p = nullptr;
    Acad::ErrorStatus es = acdbOpenAcDbObject(p, id, mode, T::desc(), openErased);
    obj = es == Acad::eOk ? static_cast<T*>(p) : nullptr;
    return es;
}

// Entity names (ads_name) and ids.
Acad::ErrorStatus acdbGetAdsName(ads_name& objName, AcDbObjectId objId);
Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& objId, const ads_name objName);

// acutDelString frees the strings that layer(), linetype() and getName() hand out.
#include "acutmem.h"
// acdbEntDel, which the host's ADS headers also bring in.
#include "adsdb.h"
