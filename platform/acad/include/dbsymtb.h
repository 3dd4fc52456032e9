// Symbol tables and their records: blocks, layers, linetypes.
//
// Record names keep their case but are looked up without regard to it.
#pragma once

#include "dbmain.h"

class AcDbSymbolTableRecord;
class AcDbSymbolTableIterator;
class AcDbBlockTableRecordIterator;
class AcDbLayerTableRecord;
class AcDbLinetypeTableRecord;

#define ACDB_MODEL_SPACE L"*Model_Space"
#define ACDB_PAPER_SPACE L"*Paper_Space"

class AcDbSymbolTable : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbSymbolTable);

    ~AcDbSymbolTable() override;

    // Opens the record with the name (the table must be open). Statuses:
    // eKeyNotFound, eWasErased for an erased record unless openErasedRec,
    // and those of the open.
    Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbSymbolTableRecord*& record, AcDb::OpenMode openMode,
                            bool openErasedRec = false) const;
    // The id of the record with the name; an erased record is found only with getErasedRecord.
    Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbObjectId& recordId, bool getErasedRecord = false) const;
    bool has(const ACHAR* name) const;
    bool has(AcDbObjectId id) const;

    Acad::ErrorStatus newIterator(AcDbSymbolTableIterator*& iterator, bool atBeginning = true,
                                  bool skipDeleted = true) const;

    // Adds the record (the table must be open for write); it becomes resident
    // and stays open for write. Statuses: eNotOpenForWrite, eNullObjectPointer,
    // eAlreadyInDb, eWrongObjectType (a record of another table), eInvalidInput
    // (no name), eDuplicateRecordName.
    Acad::ErrorStatus add(AcDbSymbolTableRecord* record);
    Acad::ErrorStatus add(AcDbObjectId& recordId, AcDbSymbolTableRecord* record);

    struct Records;

protected:
    AcDbSymbolTable();
    // The class of the records this table takes.
    virtual const AcRxClass* recordClass() const = 0;

private:
    friend struct AcDbDatabase::Impl;
    friend class AcDbSymbolTableRecord;
    friend class AcDbSymbolTableIterator;
    Records* mpRecords;
};

class AcDbSymbolTableIterator {
public:
    virtual ~AcDbSymbolTableIterator();
    void start(bool atBeginning = true, bool skipDeleted = true);
    bool done() const;
    void step(bool goForward = true, bool skipDeleted = true);
    Acad::ErrorStatus getRecordId(AcDbObjectId& id) const;
    Acad::ErrorStatus getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode openMode,
                                bool openErasedRec = false) const;
    Acad::ErrorStatus seek(AcDbObjectId id);

protected:
    friend class AcDbSymbolTable;
    explicit AcDbSymbolTableIterator(const AcDbSymbolTable* table);

private:
    const AcDbSymbolTable* mpTable;
    long mIndex = 0;
};

class AcDbSymbolTableRecord : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbSymbolTableRecord);

    ~AcDbSymbolTableRecord() override;

    // A copy the caller frees with acutDelString.
    Acad::ErrorStatus getName(ACHAR*& name) const;
    // The record's own text, valid while the record is open and unchanged.
    Acad::ErrorStatus getName(const ACHAR*& name) const;
    // Statuses: eNotOpenForWrite, eInvalidInput (null, empty or not a valid
    // symbol name; a fixed record such as layer "0"), eDuplicateRecordName
    // (another record of the table has it). On failure the name is unchanged.
    Acad::ErrorStatus setName(const ACHAR* name);

    bool isDependent() const;
    bool isResolved() const { return true; }

protected:
    AcDbSymbolTableRecord();
    // True when the name may be given to this kind of record.
    virtual bool acceptsName(const ACHAR* name) const;

private:
    friend struct AcDbDatabase::Impl;
    friend class AcDbSymbolTable;
    ACHAR* mpName = nullptr;
};

class AcDbBlockTable : public AcDbSymbolTable {
public:
    ACRX_DECLARE_MEMBERS(AcDbBlockTable);
    AcDbBlockTable();
    ~AcDbBlockTable() override;

    Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbBlockTableRecord*& record, AcDb::OpenMode openMode,
                            bool openErasedRec = false) const;
    Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbObjectId& recordId, bool getErasedRecord = false) const
    {
        return AcDbSymbolTable::getAt(entryName, recordId, getErasedRecord);
    }
    Acad::ErrorStatus add(AcDbBlockTableRecord* record);
    Acad::ErrorStatus add(AcDbObjectId& recordId, AcDbBlockTableRecord* record);

protected:
    const AcRxClass* recordClass() const override;
};

class AcDbBlockTableRecord : public AcDbSymbolTableRecord {
public:
    ACRX_DECLARE_MEMBERS(AcDbBlockTableRecord);
    AcDbBlockTableRecord();
    ~AcDbBlockTableRecord() override;

    // Makes the entity resident, owned by this record (which must be open for
    // write); the entity stays open for write. Properties still unset take the
    // database's defaults. Statuses: eNullEntityPointer, eNotOpenForWrite,
    // eNoDatabase (this record is not resident), eAlreadyInDb.
    Acad::ErrorStatus appendAcDbEntity(AcDbEntity* entity);
    Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity);

    // The caller deletes the iterator.
    Acad::ErrorStatus newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning = true,
                                  bool skipDeleted = true) const;

    bool isLayout() const;
    bool hasAttributeDefinitions() const { return false; }
    bool isAnonymous() const;
    AcGePoint3d origin() const { return mOrigin; }
    Acad::ErrorStatus setOrigin(const AcGePoint3d& origin);

    struct Entities;

protected:
    bool acceptsName(const ACHAR* name) const override;

private:
    friend struct AcDbDatabase::Impl;
    friend class AcDbBlockTableRecordIterator;
    Entities* mpEntities;
    AcGePoint3d mOrigin;
};

class AcDbBlockTableRecordIterator {
public:
    virtual ~AcDbBlockTableRecordIterator();
    void start(bool atBeginning = true, bool skipDeleted = true);
    bool done() const;
    void step(bool goForward = true, bool skipDeleted = true);
    Acad::ErrorStatus getEntityId(AcDbObjectId& entityId) const;
    Acad::ErrorStatus getEntity(AcDbEntity*& entity, AcDb::OpenMode openMode, bool openErasedEntity = false) const;
    AcDbBlockTableRecord* blockTableRecord() const { return const_cast<AcDbBlockTableRecord*>(mpRecord); }
    Acad::ErrorStatus seek(AcDbObjectId id);
    Acad::ErrorStatus seek(const AcDbEntity* entity);

protected:
    friend class AcDbBlockTableRecord;
    AcDbBlockTableRecordIterator(const AcDbBlockTableRecord* record, bool atBeginning, bool skipDeleted);

private:
    const AcDbBlockTableRecord* mpRecord;
    long mIndex = 0;
};

class AcDbLayerTable : public AcDbSymbolTable {
public:
    ACRX_DECLARE_MEMBERS(AcDbLayerTable);
    AcDbLayerTable();
    ~AcDbLayerTable() override;

    Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbLayerTableRecord*& record, AcDb::OpenMode openMode,
                            bool openErasedRec = false) const;
    Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbObjectId& recordId, bool getErasedRecord = false) const
    {
        return AcDbSymbolTable::getAt(entryName, recordId, getErasedRecord);
    }
    Acad::ErrorStatus add(AcDbLayerTableRecord* record);
    Acad::ErrorStatus add(AcDbObjectId& recordId, AcDbLayerTableRecord* record);

protected:
    const AcRxClass* recordClass() const override;
};

class AcDbLayerTableRecord : public AcDbSymbolTableRecord {
public:
    ACRX_DECLARE_MEMBERS(AcDbLayerTableRecord);
    // White (colour index 7), thawed, unlocked, on, linetype "Continuous" once added.
    AcDbLayerTableRecord();
    ~AcDbLayerTableRecord() override;

    AcCmColor color() const { return mColor; }
    void setColor(const AcCmColor& color);
    bool isFrozen() const { return (mState & kFrozen) != 0; }
    void setIsFrozen(bool frozen);
    bool isLocked() const { return (mState & kLocked) != 0; }
    void setIsLocked(bool locked);
    bool isOff() const { return (mState & kOff) != 0; }
    void setIsOff(bool off);
    // Layer "0" cannot be hidden (eInvalidInput).
    bool isHidden() const { return (mState & kHidden) != 0; }
    Acad::ErrorStatus setIsHidden(bool hidden);
    bool isPlottable() const { return (mState & kNoPlot) == 0; }
    Acad::ErrorStatus setIsPlottable(bool plottable);
    AcDbObjectId linetypeObjectId() const;
    void setLinetypeObjectId(AcDbObjectId id);

protected:
    bool acceptsName(const ACHAR* name) const override;

private:
    friend struct AcDbDatabase::Impl;
    friend class AcDbLayerTable;
    enum { kFrozen = 1, kLocked = 2, kOff = 4, kHidden = 8, kNoPlot = 16 };
    AcCmColor mColor;
    AcDbStub* mpLinetype = nullptr;
    Adesk::UInt8 mState = 0;
};

class AcDbLinetypeTable : public AcDbSymbolTable {
public:
    ACRX_DECLARE_MEMBERS(AcDbLinetypeTable);
    AcDbLinetypeTable();
    ~AcDbLinetypeTable() override;

    Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbLinetypeTableRecord*& record, AcDb::OpenMode openMode,
                            bool openErasedRec = false) const;
    Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbObjectId& recordId, bool getErasedRecord = false) const
    {
        return AcDbSymbolTable::getAt(entryName, recordId, getErasedRecord);
    }
    Acad::ErrorStatus add(AcDbLinetypeTableRecord* record);
    Acad::ErrorStatus add(AcDbObjectId& recordId, AcDbLinetypeTableRecord* record);

protected:
    const AcRxClass* recordClass() const override;
};

class AcDbLinetypeTableRecord : public AcDbSymbolTableRecord {
public:
    ACRX_DECLARE_MEMBERS(AcDbLinetypeTableRecord);
    AcDbLinetypeTableRecord();
    ~AcDbLinetypeTableRecord() override;

    // A new string the caller frees with acutDelString.
    Acad::ErrorStatus comments(ACHAR*& text) const;
    Acad::ErrorStatus comments(const ACHAR*& text) const;
    Acad::ErrorStatus setComments(const ACHAR* text);
    double patternLength() const { return 0.0; }
    int numDashes() const { return 0; }

protected:
    bool acceptsName(const ACHAR* name) const override;

private:
    ACHAR* mpComments = nullptr;
};
