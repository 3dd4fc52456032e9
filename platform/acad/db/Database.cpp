// The database: its id table, the default drawing, the registry of live
// databases, the working database and the stand-in's inspection calls.
#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <map>
#include <memory>
#include <new>
#include <type_traits>
#include <sstream>

#include "DbInternal.h"
#include "adscodes.h"
#include "adsdb.h"
#include "dbapserv.h"
#include "standin/AcDbStandin.h"

using namespace acdbimpl;

namespace {

struct ChunkInfo {
    AcDbDatabase* db;
    Adesk::UInt64 firstIndex;
};

struct Registry {
    std::vector<AcDbDatabase*> databases;
    // Id-table chunks by start address, for checking ids.
    std::map<uintptr_t, ChunkInfo> chunks;
    // The chunk that the last check found, tried first by the next one.
    uintptr_t lastStart = 0;
    ChunkInfo lastInfo{};
    Adesk::UInt64 nextSerial = 1;
    std::vector<std::string> violations;
};

Registry& registry()
{
    static Registry* r = new Registry();  // outlives every static database
    return *r;
}

AcDbHostApplicationServices* g_services = nullptr;
AcDbDatabase* g_standinWorking = nullptr;  // made by newWorkingDatabase

}  // namespace

std::vector<AcDbDatabase*>& acdbimpl::liveDatabases()
{
    return registry().databases;
}

void acdbimpl::violation(const std::string& text)
{
    registry().violations.push_back(text);
    std::fprintf(stderr, "acdb protocol violation: %s\n", text.c_str());
}

std::string acdbimpl::narrow(const ACHAR* text)
{
    std::string out;
    if (text == nullptr)
        return out;
    for (; *text != 0; ++text)
        out += (*text < 128) ? static_cast<char>(*text) : '?';
    return out;
}

std::string acdbimpl::describe(const AcDbObject* obj)
{
    std::ostringstream s;
    s << narrow(obj->isA()->name());
    AcDbStub* stub = AcDbDatabase::Impl::stubOf(obj);
    if (stub != nullptr)
        s << " (handle " << std::hex << std::uppercase << stub->mHandle << ")";
    else
        s << " (in no database)";
    return s.str();
}

StubChunk acdbimpl::newStubChunk()
{
    // Kept with the database's heap, the table's room is mapped already when
    // the next drawing grows. Slots are made one by one as add() takes them:
    // nothing reads a slot past the ones in use.
    return StubChunk(static_cast<AcDbStub*>(AcHeapOperators::operator new(kChunkSize * sizeof(AcDbStub))));
}

void acdbimpl::StubChunkFree::operator()(AcDbStub* chunk) const noexcept
{
    static_assert(std::is_trivially_destructible<AcDbStub>::value, "slots are released without destruction");
    AcHeapOperators::operator delete(chunk, kChunkSize * sizeof(AcDbStub));
}

acdbimpl::StubList::~StubList()
{
    for (auto it = chunks_.rbegin(); it != chunks_.rend(); ++it)
        AcHeapOperators::operator delete(*it, kListChunk * sizeof(AcDbStub*));
}

void acdbimpl::StubList::push_back(AcDbStub* stub)
{
    if (size_ < kListChunk) {
        head_.push_back(stub);
    } else {
        const size_t slot = size_ % kListChunk;
        if (slot == 0) {
            chunks_.reserve(chunks_.size() + 1);  // so that the new chunk cannot be lost
            chunks_.push_back(static_cast<AcDbStub**>(AcHeapOperators::operator new(kListChunk * sizeof(AcDbStub*))));
        }
        chunks_.back()[slot] = stub;
    }
    ++size_;
}

AcDbStub* acdbimpl::checkedStub(AcDbObjectId id)
{
    AcDbStub* p = id;
    if (p == nullptr)
        return nullptr;
    Registry& r = registry();
    const uintptr_t addr = reinterpret_cast<uintptr_t>(p);
    constexpr uintptr_t kChunkBytes = kChunkSize * sizeof(AcDbStub);
    if (r.lastStart == 0 || addr - r.lastStart >= kChunkBytes) {
        auto it = r.chunks.upper_bound(addr);
        if (it == r.chunks.begin())
            return nullptr;
        --it;
        if (addr - it->first >= kChunkBytes)
            return nullptr;
        r.lastStart = it->first;
        r.lastInfo = it->second;
    }
    const uintptr_t offset = addr - r.lastStart;
    if (offset % sizeof(AcDbStub) != 0)
        return nullptr;
    Adesk::UInt64 index = r.lastInfo.firstIndex + offset / sizeof(AcDbStub);
    if (index >= r.lastInfo.db->impl()->used)
        return nullptr;
    return p;
}

// ---- AcDbDatabase::Impl

AcDbDatabase::Impl::Impl(AcDbDatabase* db) : self(db), serial(registry().nextSerial++) {}

AcDbStub* AcDbDatabase::Impl::add(AcDbObject* obj, AcDbStub* owner)
{
    if ((used & (kChunkSize - 1)) == 0) {
        Registry& r = registry();
        chunks.push_back(newStubChunk());
        r.chunks[reinterpret_cast<uintptr_t>(chunks.back().get())] = ChunkInfo{self, used};
    }
    AcDbStub* stub = new (stubAt(used)) AcDbStub;
    ++used;
    stub->mpObject = obj;
    stub->mpDb = self;
    stub->mHandle = used;
    obj->mpStub = stub;
    obj->mpOwner = owner;
    return stub;
}

AcDbStub* AcDbDatabase::Impl::stubOfHandle(Adesk::UInt64 handle) const
{
    if (handle == 0 || handle > used)
        return nullptr;
    return stubAt(handle - 1);
}

AcDbStub* AcDbDatabase::Impl::addRecord(AcDbStub* table, AcDbSymbolTableRecord* record, const ACHAR* name)
{
    record->mpName = copyString(name);
    AcDbStub* stub = add(record, table);
    indexOf(static_cast<AcDbSymbolTable*>(table->mpObject)).enter(stub, record->mpName);
    record->mFlags = 0;  // closed
    return stub;
}

bool AcDbDatabase::Impl::isFixed(const AcDbStub* stub) const
{
    return stub == blockTable || stub == layerTable || stub == linetypeTable || stub == modelSpace ||
        stub == paperSpace || stub == layerZero || stub == ltByLayer || stub == ltByBlock || stub == ltContinuous;
}

Acad::ErrorStatus AcDbDatabase::Impl::fillDefaults(AcDbEntity* entity)
{
    if (entity->mColor.colorMethod() == AcCmEntityColor::kNone)
        entity->mColor = cecolor.entityColor();
    if (entity->mpLayer == nullptr)
        entity->mpLayer = clayer;
    if (entity->mpLinetype == nullptr)
        entity->mpLinetype = celtype;
    return Acad::eOk;
}

// ---- AcDbDatabase

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbDatabase, AcRxObject)

AcDbDatabase::AcDbDatabase(bool buildDefaultDrawing, bool) : mpImpl(new Impl(this))
{
    registry().databases.push_back(this);
    Impl& d = *mpImpl;
    auto addTable = [&](AcDbObject* table) {
        AcDbStub* s = d.add(table, nullptr);
        Impl::flagsOf(table) = 0;
        return s;
    };
    d.blockTable = addTable(new AcDbBlockTable());
    d.layerTable = addTable(new AcDbLayerTable());
    d.linetypeTable = addTable(new AcDbLinetypeTable());
    if (!buildDefaultDrawing)
        return;
    d.modelSpace = d.addRecord(d.blockTable, new AcDbBlockTableRecord(), ACDB_MODEL_SPACE);
    d.paperSpace = d.addRecord(d.blockTable, new AcDbBlockTableRecord(), ACDB_PAPER_SPACE);
    d.ltByBlock = d.addRecord(d.linetypeTable, new AcDbLinetypeTableRecord(), L"ByBlock");
    d.ltByLayer = d.addRecord(d.linetypeTable, new AcDbLinetypeTableRecord(), L"ByLayer");
    auto* continuous = new AcDbLinetypeTableRecord();
    continuous->setComments(L"Solid line");
    d.ltContinuous = d.addRecord(d.linetypeTable, continuous, L"Continuous");
    auto* zero = new AcDbLayerTableRecord();
    Impl::layerLinetypeOf(zero) = d.ltContinuous;
    d.layerZero = d.addRecord(d.layerTable, zero, L"0");
    d.clayer = d.layerZero;
    d.celtype = d.ltByLayer;
}

AcDbDatabase::~AcDbDatabase()
{
    Impl& d = *mpImpl;
    d.destroying = true;
    // Newest first: the heap hands freed room out again last-freed first, so
    // the next drawing's objects are laid out in ascending order again.
    for (Adesk::UInt64 i = d.used; i-- > 0;) {
        AcDbStub* s = d.stubAt(i);
        delete s->mpObject;
        s->mpObject = nullptr;
    }
    Registry& r = registry();
    r.lastStart = 0;
    for (auto& chunk : d.chunks)
        r.chunks.erase(reinterpret_cast<uintptr_t>(chunk.get()));
    r.databases.erase(std::remove(r.databases.begin(), r.databases.end(), this), r.databases.end());
    AcDbHostApplicationServices* services = acdbHostApplicationServices();
    if (services->mpWorking == this)
        services->mpWorking = nullptr;
    if (g_standinWorking == this)
        g_standinWorking = nullptr;
    delete mpImpl;
}

template <class T> static Acad::ErrorStatus openTable(AcDbStub* stub, T*& table, AcDb::OpenMode mode)
{
    table = nullptr;
    if (stub == nullptr || stub->mpObject == nullptr)
        return Acad::eNullObjectId;
    AcDbObject* obj = nullptr;
    Acad::ErrorStatus es = acdbOpenAcDbObject(obj, AcDbObjectId(stub), mode, false);
    if (es == Acad::eOk)
        table = static_cast<T*>(obj);
    return es;
}

Acad::ErrorStatus AcDbDatabase::getBlockTable(AcDbBlockTable*& table, AcDb::OpenMode mode)
{
    return openTable(mpImpl->blockTable, table, mode);
}

Acad::ErrorStatus AcDbDatabase::getLayerTable(AcDbLayerTable*& table, AcDb::OpenMode mode)
{
    return openTable(mpImpl->layerTable, table, mode);
}

Acad::ErrorStatus AcDbDatabase::getLinetypeTable(AcDbLinetypeTable*& table, AcDb::OpenMode mode)
{
    return openTable(mpImpl->linetypeTable, table, mode);
}

AcDbObjectId AcDbDatabase::blockTableId() const
{
    return mpImpl->blockTable;
}
AcDbObjectId AcDbDatabase::layerTableId() const
{
    return mpImpl->layerTable;
}
AcDbObjectId AcDbDatabase::linetypeTableId() const
{
    return mpImpl->linetypeTable;
}
AcDbObjectId AcDbDatabase::layerZero() const
{
    return mpImpl->layerZero;
}
AcDbObjectId AcDbDatabase::byLayerLinetype() const
{
    return mpImpl->ltByLayer;
}
AcDbObjectId AcDbDatabase::byBlockLinetype() const
{
    return mpImpl->ltByBlock;
}
AcDbObjectId AcDbDatabase::continuousLinetype() const
{
    return mpImpl->ltContinuous;
}
AcDbObjectId AcDbDatabase::currentSpaceId() const
{
    return mpImpl->modelSpace;
}
AcDbObjectId AcDbDatabase::clayer() const
{
    return mpImpl->clayer;
}
AcDbObjectId AcDbDatabase::celtype() const
{
    return mpImpl->celtype;
}
AcCmColor AcDbDatabase::cecolor() const
{
    return mpImpl->cecolor;
}

Acad::ErrorStatus AcDbDatabase::setClayer(AcDbObjectId layerId)
{
    AcDbStub* s = checkedStub(layerId);
    if (layerId.isNull())
        return Acad::eNullObjectId;
    if (s == nullptr || s->mpObject == nullptr)
        return Acad::eInvalidInput;
    if (s->mpDb != this)
        return Acad::eWrongDatabase;
    if (!s->mpObject->isKindOf(AcDbLayerTableRecord::desc()))
        return Acad::eWrongObjectType;
    if (s->mpObject->isErased())
        return Acad::eWasErased;
    mpImpl->clayer = s;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::setCeltype(AcDbObjectId linetypeId)
{
    AcDbStub* s = checkedStub(linetypeId);
    if (linetypeId.isNull())
        return Acad::eNullObjectId;
    if (s == nullptr || s->mpObject == nullptr)
        return Acad::eInvalidInput;
    if (s->mpDb != this)
        return Acad::eWrongDatabase;
    if (!s->mpObject->isKindOf(AcDbLinetypeTableRecord::desc()))
        return Acad::eWrongObjectType;
    if (s->mpObject->isErased())
        return Acad::eWasErased;
    mpImpl->celtype = s;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::setCecolor(const AcCmColor& color)
{
    mpImpl->cecolor = color;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObject* object)
{
    AcDbObjectId id;
    return addAcDbObject(id, object);
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObjectId& id, AcDbObject* object)
{
    if (object == nullptr)
        return Acad::eNullObjectPointer;
    if (Impl::stubOf(object) != nullptr)
        return Acad::eAlreadyInDb;
    if (object->isKindOf(AcDbEntity::desc()))
        return Acad::eIsAnEntity;
    if (object->isKindOf(AcDbSymbolTableRecord::desc()) || object->isKindOf(AcDbSymbolTable::desc()))
        return Acad::eWrongObjectType;
    id = mpImpl->add(object, nullptr);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::getAcDbObjectId(AcDbObjectId& id, bool, const AcDbHandle& handle, Adesk::UInt32)
{
    if (handle.isNull())
        return Acad::eNullHandle;
    AcDbStub* s = mpImpl->stubOfHandle(handle);
    if (s == nullptr || s->mpObject == nullptr)
        return Acad::eUnknownHandle;
    id = s;
    return Acad::eOk;
}

Adesk::Int32 AcDbDatabase::approxNumObjects() const
{
    return static_cast<Adesk::Int32>(mpImpl->used);
}

// ---- ids and handles

const AcDbObjectId AcDbObjectId::kNull;

bool AcDbObjectId::isValid() const
{
    AcDbStub* s = checkedStub(*this);
    return s != nullptr && s->mpObject != nullptr;
}

bool AcDbObjectId::isErased() const
{
    AcDbStub* s = checkedStub(*this);
    return s != nullptr && s->mpObject != nullptr && s->mpObject->isErased();
}

AcRxClass* AcDbObjectId::objectClass() const
{
    AcDbStub* s = checkedStub(*this);
    return (s != nullptr && s->mpObject != nullptr) ? s->mpObject->isA() : nullptr;
}

AcDbDatabase* AcDbObjectId::database() const
{
    AcDbStub* s = checkedStub(*this);
    return s != nullptr ? s->mpDb : nullptr;
}

AcDbHandle AcDbObjectId::handle() const
{
    AcDbStub* s = checkedStub(*this);
    return s != nullptr ? AcDbHandle(s->mHandle) : AcDbHandle();
}

AcDbHandle::AcDbHandle(const ACHAR* hexDigits) : mValue(0)
{
    if (hexDigits == nullptr || *hexDigits == 0)
        return;
    Adesk::UInt64 v = 0;
    int digits = 0;
    for (const ACHAR* p = hexDigits; *p != 0; ++p, ++digits) {
        ACHAR c = *p;
        int d;
        if (c >= L'0' && c <= L'9')
            d = c - L'0';
        else if (c >= L'a' && c <= L'f')
            d = c - L'a' + 10;
        else if (c >= L'A' && c <= L'F')
            d = c - L'A' + 10;
        else
            return;
        if (digits >= 16)
            return;
        v = (v << 4) | static_cast<Adesk::UInt64>(d);
    }
    mValue = v;
}

void AcDbHandle::getIntoAsciiBuffer(ACHAR* buffer) const
{
    getIntoAsciiBuffer(buffer, 17);
}

bool AcDbHandle::getIntoAsciiBuffer(ACHAR* buffer, size_t bufferLength) const
{
    ACHAR text[17];
    int n = std::swprintf(text, 17, L"%llX", static_cast<unsigned long long>(mValue));
    if (buffer == nullptr || n < 0 || static_cast<size_t>(n) + 1 > bufferLength)
        return false;
    std::wmemcpy(buffer, text, static_cast<size_t>(n) + 1);
    return true;
}

// ---- host application services

AcDbHostApplicationServices::AcDbHostApplicationServices() = default;
AcDbHostApplicationServices::~AcDbHostApplicationServices() = default;

AcDbDatabase* AcDbHostApplicationServices::workingDatabase() const
{
    if (mpWorking == nullptr) {
        // The host always has a drawing: reuse the stand-in's own, or make one.
        if (g_standinWorking != nullptr)
            const_cast<AcDbHostApplicationServices*>(this)->mpWorking = g_standinWorking;
        else
            standin::newWorkingDatabase();
    }
    return mpWorking;
}

void AcDbHostApplicationServices::setWorkingDatabase(AcDbDatabase* db)
{
    mpWorking = db;
}

AcDbHostApplicationServices* acdbHostApplicationServices()
{
    static AcDbHostApplicationServices* builtIn = new AcDbHostApplicationServices();
    return g_services != nullptr ? g_services : builtIn;
}

Acad::ErrorStatus acdbSetHostApplicationServices(AcDbHostApplicationServices* services)
{
    g_services = services;
    return Acad::eOk;
}

// ---- ads names

Acad::ErrorStatus acdbGetAdsName(ads_name& objName, AcDbObjectId objId)
{
    if (objId.isNull())
        return Acad::eNullObjectId;
    AcDbStub* s = checkedStub(objId);
    if (s == nullptr || s->mpObject == nullptr)
        return Acad::eInvalidInput;
    objName[0] = static_cast<Adesk::LongPtr>(s->mHandle);
    objName[1] = static_cast<Adesk::LongPtr>(s->mpDb->impl()->serial);
    return Acad::eOk;
}

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& objId, const ads_name objName)
{
    if (objName == nullptr)
        return Acad::eInvalidAdsName;
    for (AcDbDatabase* db : registry().databases) {
        if (static_cast<Adesk::LongPtr>(db->impl()->serial) != objName[1])
            continue;
        AcDbStub* s = db->impl()->stubOfHandle(static_cast<Adesk::UInt64>(objName[0]));
        if (s == nullptr || s->mpObject == nullptr)
            return Acad::eInvalidAdsName;
        objId = s;
        return Acad::eOk;
    }
    return Acad::eInvalidAdsName;
}

int acdbEntDel(const ads_name ent)
{
    AcDbObjectId id;
    if (acdbGetObjectId(id, ent) != Acad::eOk)
        return RTERROR;
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForWrite, true) != Acad::eOk)
        return RTERROR;
    AcDbStub* owner = AcDbDatabase::Impl::ownerOf(entity);
    bool mainEntity =
        owner != nullptr && owner->mpObject != nullptr && owner->mpObject->isKindOf(AcDbBlockTableRecord::desc());
    Acad::ErrorStatus es = mainEntity ? entity->erase(!entity->isErased()) : Acad::eNotApplicable;
    entity->close();
    return es == Acad::eOk ? RTNORM : RTERROR;
}

// ---- stand-in inspection

namespace standin {

static void collectOpen(const AcDbDatabase* db, std::vector<OpenObject>& out)
{
    const AcDbDatabase::Impl& d = *db->impl();
    for (Adesk::UInt64 i = 0; i < d.used; ++i) {
        AcDbStub* s = d.stubAt(i);
        const AcDbObject* o = s->mpObject;
        if (o == nullptr)
            continue;
        Adesk::UInt8 flags = AcDbDatabase::Impl::flagsOf(o);
        int readers = AcDbDatabase::Impl::readersOf(o);
        if ((flags & (kOpenWrite | kOpenNotify)) == 0 && readers == 0)
            continue;
        OpenObject rec;
        rec.id = s;
        rec.database = s->mpDb;
        rec.className = o->isA()->name();
        rec.mode = (flags & kOpenWrite) ? AcDb::kForWrite : (flags & kOpenNotify) ? AcDb::kForNotify : AcDb::kForRead;
        rec.readers = readers;
        out.push_back(rec);
    }
}

std::vector<OpenObject> openObjects(const AcDbDatabase* db)
{
    std::vector<OpenObject> out;
    if (db != nullptr)
        collectOpen(db, out);
    return out;
}

std::vector<OpenObject> openObjects()
{
    std::vector<OpenObject> out;
    for (AcDbDatabase* db : registry().databases)
        collectOpen(db, out);
    return out;
}

std::string describeOpenObjects()
{
    std::ostringstream s;
    for (const OpenObject& o : openObjects()) {
        s << narrow(o.className.c_str()) << " handle " << std::hex << std::uppercase
          << static_cast<Adesk::UInt64>(o.id.handle()) << std::dec << " open for "
          << (o.mode == AcDb::kForWrite        ? "write"
                  : o.mode == AcDb::kForNotify ? "notify"
                                               : "read");
        if (o.readers > 0)
            s << " (" << o.readers << " readers)";
        s << "\n";
    }
    return s.str();
}

AcDbDatabase* newWorkingDatabase()
{
    discardWorkingDatabase();
    g_standinWorking = new AcDbDatabase(true, true);
    acdbHostApplicationServices()->setWorkingDatabase(g_standinWorking);
    return g_standinWorking;
}

void discardWorkingDatabase()
{
    AcDbDatabase* old = g_standinWorking;
    g_standinWorking = nullptr;
    delete old;
}

std::vector<AcDbDatabase*> databases()
{
    return registry().databases;
}

static const AcDbBlockTableRecord* blockRecord(AcDbObjectId id)
{
    AcDbStub* s = checkedStub(id);
    if (s == nullptr || s->mpObject == nullptr || !s->mpObject->isKindOf(AcDbBlockTableRecord::desc()))
        return nullptr;
    return static_cast<const AcDbBlockTableRecord*>(s->mpObject);
}

int entityCount(AcDbObjectId blockRecordId)
{
    const AcDbBlockTableRecord* rec = blockRecord(blockRecordId);
    if (rec == nullptr)
        return -1;
    int n = 0;
    for (AcDbStub* s : AcDbDatabase::Impl::entitiesOf(rec))
        if (s->mpObject != nullptr && !s->mpObject->isErased())
            ++n;
    return n;
}

int modelSpaceEntityCount(const AcDbDatabase* db)
{
    return db != nullptr ? entityCount(db->impl()->modelSpace) : -1;
}

bool isHighlighted(AcDbObjectId entityId)
{
    AcDbStub* s = checkedStub(entityId);
    return s != nullptr && s->mpDb->impl()->highlighted.count(s) != 0;
}

std::vector<AcDbObjectId> highlightedEntities(const AcDbDatabase* db)
{
    std::vector<AcDbObjectId> out;
    if (db == nullptr)
        return out;
    for (const AcDbStub* s : db->impl()->highlighted)
        out.push_back(AcDbObjectId(s));
    std::sort(out.begin(), out.end(),
              [](const AcDbObjectId& a, const AcDbObjectId& b) { return a.handle() < b.handle(); });
    return out;
}

void clearHighlights(AcDbDatabase* db)
{
    if (db != nullptr)
        db->impl()->highlighted.clear();
}

void forEachSpaceEntity(const AcDbDatabase* db, const std::function<void(AcDbObjectId)>& visit)
{
    if (db == nullptr)
        return;
    for (AcDbStub* space : {db->impl()->modelSpace, db->impl()->paperSpace}) {
        const AcDbBlockTableRecord* rec = blockRecord(space);
        if (rec == nullptr)
            continue;
        const acdbimpl::StubList& list = AcDbDatabase::Impl::entitiesOf(rec);
        for (size_t i = 0; i < list.size(); ++i) {  // visit may append
            AcDbStub* s = list[i];
            if (s->mpObject != nullptr && !s->mpObject->isErased())
                visit(AcDbObjectId(s));
        }
    }
}

AcDbObjectId findByHandle(const AcDbDatabase* db, const AcDbHandle& handle)
{
    if (db == nullptr)
        return AcDbObjectId();
    AcDbStub* s = db->impl()->stubOfHandle(handle);
    return (s != nullptr && s->mpObject != nullptr) ? AcDbObjectId(s) : AcDbObjectId();
}

std::vector<std::string> protocolViolations()
{
    return registry().violations;
}

void clearProtocolViolations()
{
    registry().violations.clear();
}

size_t bookkeepingBytes(const AcDbDatabase* db)
{
    if (db == nullptr)
        return 0;
    const AcDbDatabase::Impl& d = *db->impl();
    size_t bytes = d.chunks.size() * kChunkSize * sizeof(AcDbStub) + d.chunks.capacity() * sizeof(void*);
    for (Adesk::UInt64 i = 0; i < d.used; ++i) {
        AcDbStub* s = d.stubAt(i);
        if (s->mpObject != nullptr && s->mpObject->isKindOf(AcDbBlockTableRecord::desc()))
            bytes += AcDbDatabase::Impl::entitiesOf(static_cast<AcDbBlockTableRecord*>(s->mpObject)).capacity() *
                sizeof(AcDbStub*);
    }
    return bytes;
}

}  // namespace standin
