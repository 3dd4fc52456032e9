// Inside the drawing database: the id table, the registry of databases and
// the helpers that the object classes share.
#pragma once

#include <cstddef>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "dbmain.h"
#include "dbsymtb.h"

// One slot of a database's id table. An AcDbObjectId points at its slot;
// slots never move and live as long as their database.
class AcDbStub {
public:
    AcDbObject* mpObject = nullptr;  // null once the object was deleted by mistake
    AcDbDatabase* mpDb = nullptr;
    Adesk::UInt64 mHandle = 0;
};

namespace acdbimpl {

// A block of id-table slots, on the database's heap.
struct StubChunkFree {
    void operator()(AcDbStub* chunk) const noexcept;
};
using StubChunk = std::unique_ptr<AcDbStub[], StubChunkFree>;
StubChunk newStubChunk();

}  // namespace acdbimpl

// The records of a table in the order they were added, indexed by id and by
// name, so that a lookup costs the same in a table of any size. The name
// index holds erased records too (a lookup may ask for them) and follows
// every rename; it keys on a hash of the name as names compare (case
// folded) and checks each candidate's own name, so it holds no copy of any.
struct AcDbSymbolTable::Records {
    std::vector<AcDbStub*> list;
    std::unordered_map<const AcDbStub*, size_t> position;  // index in list
    std::unordered_multimap<size_t, AcDbStub*> byName;     // name hash -> record

    static size_t hashOf(const ACHAR* name);
    // Appends a record that carries the name.
    void enter(AcDbStub* stub, const ACHAR* name);
    // Moves the record from its old name to its new one in the name index.
    void rename(AcDbStub* stub, const ACHAR* oldName, const ACHAR* newName);
    // The first record (in table order) with the name that is not erased;
    // failing that the first erased one, with erasedOnly set. nullptr for
    // none.
    AcDbStub* find(const ACHAR* name, bool& erasedOnly) const;
    // The record's index in list, or -1 when it is not in this table.
    long indexOf(const AcDbStub* stub) const;
};

namespace acdbimpl {

// The entities of a block, in the order they were appended. The first
// kListChunk ids are kept in a vector of their own, so that a small block
// costs little; beyond them the ids go in fixed chunks on the database's
// heap, so that a growing block never copies its list and never maps fresh
// memory that the C library would hand back when the drawing goes.
class StubList {
public:
    static constexpr size_t kListChunk = 4096;

    StubList() = default;
    StubList(const StubList&) = delete;
    StubList& operator=(const StubList&) = delete;
    ~StubList();

    size_t size() const { return size_; }
    // Slots held, used or not.
    size_t capacity() const { return head_.capacity() + chunks_.size() * kListChunk; }

    AcDbStub* operator[](size_t i) const
    {
        return i < kListChunk ? head_[i] : chunks_[i / kListChunk - 1][i % kListChunk];
    }

    void push_back(AcDbStub* stub);

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = AcDbStub*;
        using difference_type = std::ptrdiff_t;
        using pointer = AcDbStub* const*;
        using reference = AcDbStub*;

        const_iterator(const StubList* list, size_t index) : list_(list), index_(index) {}
        AcDbStub* operator*() const { return (*list_)[index_]; }
        const_iterator& operator++()
        {
            ++index_;
            return *this;
        }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }
        bool operator!=(const const_iterator& other) const { return index_ != other.index_; }

    private:
        const StubList* list_;
        size_t index_;
    };
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, size_); }

private:
    std::vector<AcDbStub*> head_;
    std::vector<AcDbStub**> chunks_;  // kListChunk slots each
    size_t size_ = 0;
};

}  // namespace acdbimpl

struct AcDbBlockTableRecord::Entities {
    acdbimpl::StubList list;
};

namespace acdbimpl {

enum ObjectFlags : Adesk::UInt8 {
    kOpenWrite = 1,
    kOpenNotify = 2,
    kErased = 4,
    kNewObject = 8,
    kModified = 16,
    kSubentity = 32,      // owned by a polyline or mesh, resident or not
    kHasSubentities = 64  // a polyline or mesh that has adopted a subentity
};

constexpr size_t kChunkShift = 12;
constexpr size_t kChunkSize = size_t(1) << kChunkShift;

// Records a breach of the open protocol and prints it to standard error.
void violation(const std::string& text);
std::string describe(const AcDbObject* obj);
std::string narrow(const ACHAR* text);

// The slot behind an id, checked against the id tables of the live
// databases; nullptr for an id that names nothing.
AcDbStub* checkedStub(AcDbObjectId id);

// Symbol-name rules and comparison.
bool sameName(const ACHAR* a, const ACHAR* b);
bool isValidSymbolName(const ACHAR* name, bool allowLeadingStar);
ACHAR* copyString(const ACHAR* text);
// Replaces an owned string with a copy of text (which may be the string itself).
void replaceString(ACHAR*& owned, const ACHAR* text);

// The common open step once the object is known.
Acad::ErrorStatus openExisting(AcDbObject* obj, AcDb::OpenMode mode, bool openErased);

// Finds a record by name in a table without opening anything. Sets erasedOnly
// when only erased records carry the name.
AcDbStub* findRecord(const AcDbSymbolTable* table, const ACHAR* name, bool& erasedOnly);
// True when another record of the table that holds this one, not erased,
// has this one's name.
bool nameHeldByAnother(const AcDbSymbolTableRecord* record);

}  // namespace acdbimpl

struct AcDbDatabase::Impl {
    explicit Impl(AcDbDatabase* self);

    AcDbDatabase* self;
    Adesk::UInt64 serial;
    bool destroying = false;
    std::vector<acdbimpl::StubChunk> chunks;
    Adesk::UInt64 used = 0;  // slots in use; handle = slot index + 1

    AcDbStub* blockTable = nullptr;
    AcDbStub* layerTable = nullptr;
    AcDbStub* linetypeTable = nullptr;
    AcDbStub* modelSpace = nullptr;
    AcDbStub* paperSpace = nullptr;
    AcDbStub* layerZero = nullptr;
    AcDbStub* ltByLayer = nullptr;
    AcDbStub* ltByBlock = nullptr;
    AcDbStub* ltContinuous = nullptr;
    AcDbStub* clayer = nullptr;
    AcDbStub* celtype = nullptr;
    AcCmColor cecolor;
    std::unordered_set<const AcDbStub*> highlighted;

    // Makes the object resident: a slot, a handle, the owner.
    AcDbStub* add(AcDbObject* obj, AcDbStub* owner);
    AcDbStub* stubOfHandle(Adesk::UInt64 handle) const;
    AcDbStub* stubAt(Adesk::UInt64 index) const
    {
        return &chunks[index >> acdbimpl::kChunkShift][index & (acdbimpl::kChunkSize - 1)];
    }
    // Creates a record directly (default drawing), closed.
    AcDbStub* addRecord(AcDbStub* table, AcDbSymbolTableRecord* record, const ACHAR* name);
    bool isFixed(const AcDbStub* stub) const;
    // Fills the properties of a newly appended entity that are still unset.
    Acad::ErrorStatus fillDefaults(AcDbEntity* entity);

    static AcDbStub* stubOf(const AcDbObject* obj) { return obj->mpStub; }
    static AcDbStub* ownerOf(const AcDbObject* obj) { return obj->mpOwner; }
    static Adesk::UInt8& flagsOf(AcDbObject* obj) { return obj->mFlags; }
    static Adesk::UInt16& readersOf(AcDbObject* obj) { return obj->mReaders; }
    static Adesk::UInt8 flagsOf(const AcDbObject* obj) { return obj->mFlags; }
    static Adesk::UInt16 readersOf(const AcDbObject* obj) { return obj->mReaders; }
    static const ACHAR* nameOf(const AcDbSymbolTableRecord* rec) { return rec->mpName; }
    static std::vector<AcDbStub*>& recordsOf(const AcDbSymbolTable* table) { return table->mpRecords->list; }
    static AcDbSymbolTable::Records& indexOf(const AcDbSymbolTable* table) { return *table->mpRecords; }
    static acdbimpl::StubList& entitiesOf(const AcDbBlockTableRecord* rec) { return rec->mpEntities->list; }
    static AcDbStub*& layerOf(AcDbEntity* e) { return e->mpLayer; }
    static AcDbStub*& linetypeOf(AcDbEntity* e) { return e->mpLinetype; }
    static AcCmEntityColor& colorOf(AcDbEntity* e) { return e->mColor; }
    static AcDbStub*& layerLinetypeOf(AcDbLayerTableRecord* r) { return r->mpLinetype; }
    static AcDbStub* layerOf(const AcDbEntity* e) { return e->mpLayer; }
    static AcDbStub* linetypeOf(const AcDbEntity* e) { return e->mpLinetype; }
    static AcDbStub* layerLinetypeOf(const AcDbLayerTableRecord* r) { return r->mpLinetype; }
};

namespace acdbimpl {
// The database of an object, or nullptr.
inline AcDbDatabase::Impl* implOf(const AcDbObject* obj)
{
    AcDbStub* s = AcDbDatabase::Impl::stubOf(obj);
    return s != nullptr ? s->mpDb->impl() : nullptr;
}
// The live databases.
std::vector<AcDbDatabase*>& liveDatabases();
// Makes the subentities (vertices) of a newly appended owner resident.
void addSubentities(AcDbDatabase::Impl* d, AcDbEntity* owner);
}  // namespace acdbimpl
