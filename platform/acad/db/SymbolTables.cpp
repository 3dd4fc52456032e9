// Symbol tables and records: names, lookup, adding, and block record entities.
#include <cstdint>
#include <cwchar>
#include <cwctype>

#include "DbInternal.h"

using namespace acdbimpl;
using Impl = AcDbDatabase::Impl;

// ---- names

static ACHAR fold(ACHAR c)
{
    if (c >= L'A' && c <= L'Z')
        return static_cast<ACHAR>(c - L'A' + L'a');
    if (c < 128)
        return c;
    return static_cast<ACHAR>(std::towlower(static_cast<wint_t>(c)));
}

bool acdbimpl::sameName(const ACHAR* a, const ACHAR* b)
{
    if (a == nullptr || b == nullptr)
        return false;
    for (; *a != 0 && *b != 0; ++a, ++b)
        if (*a != *b && fold(*a) != fold(*b))
            return false;
    return *a == *b;
}

bool acdbimpl::isValidSymbolName(const ACHAR* name, bool allowLeadingStar)
{
    if (name == nullptr || *name == 0)
        return false;
    size_t n = std::wcslen(name);
    for (size_t i = 0; i < n; ++i) {
        ACHAR c = name[i];
        if (c < 0x20 || c == 0x7F)
            return false;
        switch (c) {
        case L'<':
        case L'>':
        case L'/':
        case L'\\':
        case L'"':
        case L':':
        case L'?':
        case L',':
        case L'=':
        case L'`':
        case L';': return false;
        case L'*':
            if (!(allowLeadingStar && i == 0))
                return false;
            break;
        case L'|':
            // Only inside the name of an externally referenced symbol.
            if (i == 0 || i + 1 == n)
                return false;
            break;
        default: break;
        }
    }
    return true;
}

ACHAR* acdbimpl::copyString(const ACHAR* text)
{
    if (text == nullptr)
        text = L"";
    size_t n = std::wcslen(text);
    ACHAR* copy = new ACHAR[n + 1];
    std::wmemcpy(copy, text, n + 1);
    return copy;
}

void acdbimpl::replaceString(ACHAR*& owned, const ACHAR* text)
{
    ACHAR* copy = copyString(text);
    delete[] owned;
    owned = copy;
}

// ---- the index of a table's records

size_t AcDbSymbolTable::Records::hashOf(const ACHAR* name)
{
    // FNV-1a over the folded characters: names that compare equal hash alike.
    std::uint64_t h = 14695981039346656037ull;
    for (; name != nullptr && *name != 0; ++name) {
        h ^= static_cast<std::uint64_t>(static_cast<std::uint32_t>(fold(*name)));
        h *= 1099511628211ull;
    }
    return static_cast<size_t>(h);
}

void AcDbSymbolTable::Records::enter(AcDbStub* stub, const ACHAR* name)
{
    position.emplace(stub, list.size());
    list.push_back(stub);
    byName.emplace(hashOf(name), stub);
}

void AcDbSymbolTable::Records::rename(AcDbStub* stub, const ACHAR* oldName, const ACHAR* newName)
{
    const size_t from = hashOf(oldName), to = hashOf(newName);
    if (from == to)
        return;
    auto range = byName.equal_range(from);
    for (auto it = range.first; it != range.second; ++it)
        if (it->second == stub) {
            byName.erase(it);
            break;
        }
    byName.emplace(to, stub);
}

AcDbStub* AcDbSymbolTable::Records::find(const ACHAR* name, bool& erasedOnly) const
{
    erasedOnly = false;
    AcDbStub* live = nullptr;
    AcDbStub* erased = nullptr;
    auto earlier = [this](const AcDbStub* a, const AcDbStub* b) {
        return b == nullptr || position.at(a) < position.at(b);
    };
    auto range = byName.equal_range(hashOf(name));
    for (auto it = range.first; it != range.second; ++it) {
        AcDbStub* s = it->second;
        const AcDbObject* o = s->mpObject;
        if (o == nullptr || !sameName(Impl::nameOf(static_cast<const AcDbSymbolTableRecord*>(o)), name))
            continue;
        AcDbStub*& best = o->isErased() ? erased : live;
        if (earlier(s, best))
            best = s;
    }
    if (live != nullptr)
        return live;
    erasedOnly = erased != nullptr;
    return erased;
}

long AcDbSymbolTable::Records::indexOf(const AcDbStub* stub) const
{
    auto it = position.find(stub);
    return it == position.end() ? -1 : static_cast<long>(it->second);
}

// The records of the table that holds the record, or nullptr when it is in none.
static AcDbSymbolTable::Records* recordsHolding(const AcDbSymbolTableRecord* record)
{
    const AcDbStub* self = Impl::stubOf(record);
    const AcDbStub* owner = Impl::ownerOf(record);
    if (self == nullptr || owner == nullptr || owner->mpObject == nullptr ||
        !owner->mpObject->isKindOf(AcDbSymbolTable::desc()))
        return nullptr;
    AcDbSymbolTable::Records& records = Impl::indexOf(static_cast<const AcDbSymbolTable*>(owner->mpObject));
    return records.indexOf(self) >= 0 ? &records : nullptr;
}

// True when a record of the table other than this one, not erased, has the name.
static bool nameTakenByOther(const AcDbSymbolTable::Records& records, const AcDbSymbolTableRecord* record,
                             const ACHAR* name)
{
    bool erasedOnly = false;
    const AcDbStub* other = records.find(name, erasedOnly);
    return other != nullptr && !erasedOnly && other != Impl::stubOf(record);
}

bool acdbimpl::nameHeldByAnother(const AcDbSymbolTableRecord* record)
{
    const AcDbSymbolTable::Records* records = recordsHolding(record);
    return records != nullptr && nameTakenByOther(*records, record, Impl::nameOf(record));
}

AcDbStub* acdbimpl::findRecord(const AcDbSymbolTable* table, const ACHAR* name, bool& erasedOnly)
{
    return Impl::indexOf(table).find(name, erasedOnly);
}

// ---- AcDbSymbolTable

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbSymbolTable, AcDbObject)

AcDbSymbolTable::AcDbSymbolTable() : mpRecords(new Records()) {}
AcDbSymbolTable::~AcDbSymbolTable()
{
    delete mpRecords;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* entryName, AcDbSymbolTableRecord*& record,
                                         AcDb::OpenMode openMode, bool openErasedRec) const
{
    record = nullptr;
    if (!isReadEnabled())
        return Acad::eNotOpenForRead;
    if (entryName == nullptr)
        return Acad::eInvalidInput;
    bool erasedOnly = false;
    AcDbStub* s = findRecord(this, entryName, erasedOnly);
    if (s == nullptr)
        return Acad::eKeyNotFound;
    if (erasedOnly && !openErasedRec)
        return Acad::eWasErased;
    Acad::ErrorStatus es = openExisting(s->mpObject, openMode, openErasedRec);
    if (es == Acad::eOk)
        record = static_cast<AcDbSymbolTableRecord*>(s->mpObject);
    return es;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* entryName, AcDbObjectId& recordId, bool getErasedRecord) const
{
    if (!isReadEnabled())
        return Acad::eNotOpenForRead;
    if (entryName == nullptr)
        return Acad::eInvalidInput;
    bool erasedOnly = false;
    AcDbStub* s = findRecord(this, entryName, erasedOnly);
    if (s == nullptr || (erasedOnly && !getErasedRecord))
        return Acad::eKeyNotFound;
    recordId = s;
    return Acad::eOk;
}

bool AcDbSymbolTable::has(const ACHAR* name) const
{
    bool erasedOnly = false;
    return name != nullptr && findRecord(this, name, erasedOnly) != nullptr && !erasedOnly;
}

bool AcDbSymbolTable::has(AcDbObjectId id) const
{
    const AcDbStub* s = id;
    return mpRecords->indexOf(s) >= 0 && s->mpObject != nullptr && !s->mpObject->isErased();
}

Acad::ErrorStatus AcDbSymbolTable::newIterator(AcDbSymbolTableIterator*& iterator, bool atBeginning,
                                               bool skipDeleted) const
{
    iterator = nullptr;
    if (!isReadEnabled())
        return Acad::eNotOpenForRead;
    iterator = new AcDbSymbolTableIterator(this);
    iterator->start(atBeginning, skipDeleted);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbSymbolTableRecord* record)
{
    AcDbObjectId id;
    return add(id, record);
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbObjectId& recordId, AcDbSymbolTableRecord* record)
{
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (record == nullptr)
        return Acad::eNullObjectPointer;
    if (Impl::stubOf(record) != nullptr)
        return Acad::eAlreadyInDb;
    if (!record->isKindOf(recordClass()))
        return Acad::eWrongObjectType;
    AcDbDatabase::Impl* d = implOf(this);
    if (d == nullptr)
        return Acad::eNoDatabase;
    const ACHAR* name = Impl::nameOf(record);
    if (name == nullptr || *name == 0)
        return Acad::eInvalidInput;
    bool erasedOnly = false;
    if (findRecord(this, name, erasedOnly) != nullptr && !erasedOnly)
        return Acad::eDuplicateRecordName;
    if (record->isKindOf(AcDbLayerTableRecord::desc())) {
        AcDbStub*& lt = Impl::layerLinetypeOf(static_cast<AcDbLayerTableRecord*>(record));
        if (lt == nullptr)
            lt = d->ltContinuous;
    }
    AcDbStub* s = d->add(record, Impl::stubOf(this));
    mpRecords->enter(s, name);
    recordId = s;
    return Acad::eOk;
}

// ---- AcDbSymbolTableIterator

namespace {

// The table and block record iterators walk a list of ids from index on,
// forwards or backwards, to the first object that is still there (and not
// erased, when erased ones are skipped).
template <typename List> bool pastEnds(const List& list, long index)
{
    return index < 0 || index >= static_cast<long>(list.size());
}

template <typename List> void seekLive(const List& list, long& index, bool goForward, bool skipDeleted)
{
    while (!pastEnds(list, index)) {
        const AcDbObject* o = list[static_cast<size_t>(index)]->mpObject;
        if (o != nullptr && !(skipDeleted && o->isErased()))
            return;
        index += goForward ? 1 : -1;
    }
}

template <typename List> void startAt(const List& list, long& index, bool atBeginning, bool skipDeleted)
{
    index = atBeginning ? 0 : static_cast<long>(list.size()) - 1;
    seekLive(list, index, atBeginning, skipDeleted);
}

template <typename List> void stepOn(const List& list, long& index, bool goForward, bool skipDeleted)
{
    if (pastEnds(list, index))
        return;
    index += goForward ? 1 : -1;
    seekLive(list, index, goForward, skipDeleted);
}

template <typename List> Acad::ErrorStatus idAt(const List& list, long index, AcDbObjectId& id)
{
    if (pastEnds(list, index))
        return Acad::eIteratorDone;
    id = list[static_cast<size_t>(index)];
    return Acad::eOk;
}

}  // namespace

AcDbSymbolTableIterator::AcDbSymbolTableIterator(const AcDbSymbolTable* table) : mpTable(table) {}
AcDbSymbolTableIterator::~AcDbSymbolTableIterator() = default;

void AcDbSymbolTableIterator::start(bool atBeginning, bool skipDeleted)
{
    startAt(Impl::recordsOf(mpTable), mIndex, atBeginning, skipDeleted);
}

bool AcDbSymbolTableIterator::done() const
{
    return pastEnds(Impl::recordsOf(mpTable), mIndex);
}

void AcDbSymbolTableIterator::step(bool goForward, bool skipDeleted)
{
    stepOn(Impl::recordsOf(mpTable), mIndex, goForward, skipDeleted);
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecordId(AcDbObjectId& id) const
{
    return idAt(Impl::recordsOf(mpTable), mIndex, id);
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode openMode,
                                                     bool openErasedRec) const
{
    record = nullptr;
    AcDbObjectId id;
    Acad::ErrorStatus es = getRecordId(id);
    if (es != Acad::eOk)
        return es;
    AcDbObject* obj = nullptr;
    es = acdbOpenAcDbObject(obj, id, openMode, openErasedRec);
    if (es == Acad::eOk)
        record = static_cast<AcDbSymbolTableRecord*>(obj);
    return es;
}

Acad::ErrorStatus AcDbSymbolTableIterator::seek(AcDbObjectId id)
{
    const long index = mpTable->mpRecords->indexOf(id);
    if (index < 0)
        return Acad::eInvalidInput;
    mIndex = index;
    return Acad::eOk;
}

// ---- AcDbSymbolTableRecord

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbSymbolTableRecord, AcDbObject)

AcDbSymbolTableRecord::AcDbSymbolTableRecord() = default;
AcDbSymbolTableRecord::~AcDbSymbolTableRecord()
{
    delete[] mpName;
}

Acad::ErrorStatus AcDbSymbolTableRecord::getName(ACHAR*& name) const
{
    name = copyString(mpName);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::getName(const ACHAR*& name) const
{
    name = mpName != nullptr ? mpName : L"";
    return Acad::eOk;
}

bool AcDbSymbolTableRecord::acceptsName(const ACHAR* name) const
{
    return isValidSymbolName(name, false);
}

Acad::ErrorStatus AcDbSymbolTableRecord::setName(const ACHAR* name)
{
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!acceptsName(name))
        return Acad::eInvalidInput;
    AcDbDatabase::Impl* d = implOf(this);
    AcDbSymbolTable::Records* records = nullptr;
    if (d != nullptr) {
        if (d->isFixed(Impl::stubOf(this)))
            return Acad::eInvalidInput;
        records = recordsHolding(this);
        if (records != nullptr && nameTakenByOther(*records, this, name))
            return Acad::eDuplicateRecordName;
    }
    ACHAR* copy = copyString(name);
    if (records != nullptr)
        records->rename(Impl::stubOf(this), mpName, copy);
    delete[] mpName;
    mpName = copy;
    return Acad::eOk;
}

bool AcDbSymbolTableRecord::isDependent() const
{
    return mpName != nullptr && std::wcschr(mpName, L'|') != nullptr;
}

// ---- blocks

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbBlockTable, AcDbSymbolTable)

AcDbBlockTable::AcDbBlockTable() = default;
AcDbBlockTable::~AcDbBlockTable() = default;
const AcRxClass* AcDbBlockTable::recordClass() const
{
    return AcDbBlockTableRecord::desc();
}

Acad::ErrorStatus AcDbBlockTable::getAt(const ACHAR* entryName, AcDbBlockTableRecord*& record, AcDb::OpenMode openMode,
                                        bool openErasedRec) const
{
    AcDbSymbolTableRecord* r = nullptr;
    Acad::ErrorStatus es = AcDbSymbolTable::getAt(entryName, r, openMode, openErasedRec);
    record = static_cast<AcDbBlockTableRecord*>(r);
    return es;
}

Acad::ErrorStatus AcDbBlockTable::add(AcDbBlockTableRecord* record)
{
    return AcDbSymbolTable::add(record);
}

Acad::ErrorStatus AcDbBlockTable::add(AcDbObjectId& recordId, AcDbBlockTableRecord* record)
{
    return AcDbSymbolTable::add(recordId, record);
}

ACRX_DXF_DEFINE_MEMBERS(AcDbBlockTableRecord, AcDbSymbolTableRecord, AcDb::kDHL_CURRENT, 0, 0, BLOCK_RECORD, ACDB)

AcDbBlockTableRecord::AcDbBlockTableRecord() : mpEntities(new Entities()) {}
AcDbBlockTableRecord::~AcDbBlockTableRecord()
{
    delete mpEntities;
}

bool AcDbBlockTableRecord::acceptsName(const ACHAR* name) const
{
    return isValidSymbolName(name, true);
}

bool AcDbBlockTableRecord::isLayout() const
{
    AcDbDatabase::Impl* d = implOf(this);
    return d != nullptr && (Impl::stubOf(this) == d->modelSpace || Impl::stubOf(this) == d->paperSpace);
}

bool AcDbBlockTableRecord::isAnonymous() const
{
    const ACHAR* n = Impl::nameOf(this);
    return n != nullptr && n[0] == L'*' && !isLayout();
}

Acad::ErrorStatus AcDbBlockTableRecord::setOrigin(const AcGePoint3d& origin)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        mOrigin = origin;
    return es;
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbEntity* entity)
{
    AcDbObjectId id;
    return appendAcDbEntity(id, entity);
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity)
{
    if (entity == nullptr)
        return Acad::eNullEntityPointer;
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    AcDbDatabase::Impl* d = implOf(this);
    if (d == nullptr)
        return Acad::eNoDatabase;
    if (Impl::stubOf(entity) != nullptr)
        return Acad::eAlreadyInDb;
    AcDbStub* layer = Impl::layerOf(entity);
    AcDbStub* linetype = Impl::linetypeOf(entity);
    if ((layer != nullptr && (checkedStub(layer) == nullptr || layer->mpDb != d->self)) ||
        (linetype != nullptr && (checkedStub(linetype) == nullptr || linetype->mpDb != d->self)))
        return Acad::eWrongDatabase;
    d->fillDefaults(entity);
    AcDbStub* s = d->add(entity, Impl::stubOf(this));
    addSubentities(d, entity);
    mpEntities->list.push_back(s);
    id = s;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning,
                                                    bool skipDeleted) const
{
    iterator = nullptr;
    if (!isReadEnabled())
        return Acad::eNotOpenForRead;
    iterator = new AcDbBlockTableRecordIterator(this, atBeginning, skipDeleted);
    return Acad::eOk;
}

AcDbBlockTableRecordIterator::AcDbBlockTableRecordIterator(const AcDbBlockTableRecord* record, bool atBeginning,
                                                           bool skipDeleted)
    : mpRecord(record)
{
    start(atBeginning, skipDeleted);
}

AcDbBlockTableRecordIterator::~AcDbBlockTableRecordIterator() = default;

void AcDbBlockTableRecordIterator::start(bool atBeginning, bool skipDeleted)
{
    startAt(Impl::entitiesOf(mpRecord), mIndex, atBeginning, skipDeleted);
}

bool AcDbBlockTableRecordIterator::done() const
{
    return pastEnds(Impl::entitiesOf(mpRecord), mIndex);
}

void AcDbBlockTableRecordIterator::step(bool goForward, bool skipDeleted)
{
    stepOn(Impl::entitiesOf(mpRecord), mIndex, goForward, skipDeleted);
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntityId(AcDbObjectId& entityId) const
{
    return idAt(Impl::entitiesOf(mpRecord), mIndex, entityId);
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntity(AcDbEntity*& entity, AcDb::OpenMode openMode,
                                                          bool openErasedEntity) const
{
    entity = nullptr;
    AcDbObjectId id;
    Acad::ErrorStatus es = getEntityId(id);
    if (es != Acad::eOk)
        return es;
    return acdbOpenAcDbEntity(entity, id, openMode, openErasedEntity);
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::seek(AcDbObjectId id)
{
    const auto& list = Impl::entitiesOf(mpRecord);
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i] == static_cast<AcDbStub*>(id)) {
            mIndex = static_cast<long>(i);
            return Acad::eOk;
        }
    return Acad::eInvalidInput;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::seek(const AcDbEntity* entity)
{
    if (entity == nullptr)
        return Acad::eNullEntityPointer;
    return seek(entity->objectId());
}

// ---- layers

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbLayerTable, AcDbSymbolTable)

AcDbLayerTable::AcDbLayerTable() = default;
AcDbLayerTable::~AcDbLayerTable() = default;
const AcRxClass* AcDbLayerTable::recordClass() const
{
    return AcDbLayerTableRecord::desc();
}

Acad::ErrorStatus AcDbLayerTable::getAt(const ACHAR* entryName, AcDbLayerTableRecord*& record, AcDb::OpenMode openMode,
                                        bool openErasedRec) const
{
    AcDbSymbolTableRecord* r = nullptr;
    Acad::ErrorStatus es = AcDbSymbolTable::getAt(entryName, r, openMode, openErasedRec);
    record = static_cast<AcDbLayerTableRecord*>(r);
    return es;
}

Acad::ErrorStatus AcDbLayerTable::add(AcDbLayerTableRecord* record)
{
    return AcDbSymbolTable::add(record);
}

Acad::ErrorStatus AcDbLayerTable::add(AcDbObjectId& recordId, AcDbLayerTableRecord* record)
{
    return AcDbSymbolTable::add(recordId, record);
}

ACRX_DXF_DEFINE_MEMBERS(AcDbLayerTableRecord, AcDbSymbolTableRecord, AcDb::kDHL_CURRENT, 0, 0, LAYER, ACDB)

AcDbLayerTableRecord::AcDbLayerTableRecord()
{
    mColor.setColorIndex(7);
}
AcDbLayerTableRecord::~AcDbLayerTableRecord() = default;

bool AcDbLayerTableRecord::acceptsName(const ACHAR* name) const
{
    return isValidSymbolName(name, false);
}

void AcDbLayerTableRecord::setColor(const AcCmColor& color)
{
    assertWriteEnabled();
    if (isWriteEnabled())
        mColor = color;
}

static void setState(AcDbLayerTableRecord* rec, Adesk::UInt8& state, Adesk::UInt8 bit, bool on)
{
    rec->assertWriteEnabled();
    if (!rec->isWriteEnabled())
        return;
    if (on)
        state |= bit;
    else
        state &= static_cast<Adesk::UInt8>(~bit);
}

void AcDbLayerTableRecord::setIsFrozen(bool frozen)
{
    setState(this, mState, kFrozen, frozen);
}
void AcDbLayerTableRecord::setIsLocked(bool locked)
{
    setState(this, mState, kLocked, locked);
}
void AcDbLayerTableRecord::setIsOff(bool off)
{
    setState(this, mState, kOff, off);
}

Acad::ErrorStatus AcDbLayerTableRecord::setIsHidden(bool hidden)
{
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    AcDbDatabase::Impl* d = implOf(this);
    if (hidden && d != nullptr && (Impl::stubOf(this) == d->layerZero || Impl::stubOf(this) == d->clayer))
        return Acad::eInvalidInput;
    if (hidden && d == nullptr && sameName(Impl::nameOf(this), L"0"))
        return Acad::eInvalidInput;
    setState(this, mState, kHidden, hidden);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLayerTableRecord::setIsPlottable(bool plottable)
{
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    setState(this, mState, kNoPlot, !plottable);
    return Acad::eOk;
}

AcDbObjectId AcDbLayerTableRecord::linetypeObjectId() const
{
    return mpLinetype;
}

void AcDbLayerTableRecord::setLinetypeObjectId(AcDbObjectId id)
{
    assertWriteEnabled();
    if (!isWriteEnabled())
        return;
    AcDbStub* s = checkedStub(id);
    if (s != nullptr && s->mpObject != nullptr && s->mpObject->isKindOf(AcDbLinetypeTableRecord::desc()))
        mpLinetype = s;
}

// ---- linetypes

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbLinetypeTable, AcDbSymbolTable)

AcDbLinetypeTable::AcDbLinetypeTable() = default;
AcDbLinetypeTable::~AcDbLinetypeTable() = default;
const AcRxClass* AcDbLinetypeTable::recordClass() const
{
    return AcDbLinetypeTableRecord::desc();
}

Acad::ErrorStatus AcDbLinetypeTable::getAt(const ACHAR* entryName, AcDbLinetypeTableRecord*& record,
                                           AcDb::OpenMode openMode, bool openErasedRec) const
{
    AcDbSymbolTableRecord* r = nullptr;
    Acad::ErrorStatus es = AcDbSymbolTable::getAt(entryName, r, openMode, openErasedRec);
    record = static_cast<AcDbLinetypeTableRecord*>(r);
    return es;
}

Acad::ErrorStatus AcDbLinetypeTable::add(AcDbLinetypeTableRecord* record)
{
    return AcDbSymbolTable::add(record);
}

Acad::ErrorStatus AcDbLinetypeTable::add(AcDbObjectId& recordId, AcDbLinetypeTableRecord* record)
{
    return AcDbSymbolTable::add(recordId, record);
}

ACRX_DXF_DEFINE_MEMBERS(AcDbLinetypeTableRecord, AcDbSymbolTableRecord, AcDb::kDHL_CURRENT, 0, 0, LTYPE, ACDB)

AcDbLinetypeTableRecord::AcDbLinetypeTableRecord() = default;
AcDbLinetypeTableRecord::~AcDbLinetypeTableRecord()
{
    delete[] mpComments;
}

bool AcDbLinetypeTableRecord::acceptsName(const ACHAR* name) const
{
    // "ByLayer" and "ByBlock" are the database's own.
    return isValidSymbolName(name, false) && !sameName(name, L"ByLayer") && !sameName(name, L"ByBlock");
}

Acad::ErrorStatus AcDbLinetypeTableRecord::comments(ACHAR*& text) const
{
    text = copyString(mpComments);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLinetypeTableRecord::comments(const ACHAR*& text) const
{
    text = mpComments != nullptr ? mpComments : L"";
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLinetypeTableRecord::setComments(const ACHAR* text)
{
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    replaceString(mpComments, text);
    return Acad::eOk;
}
