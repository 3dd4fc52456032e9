// Block, layer and linetype tables: the default drawing, lookups, names,
// adding and iterating.
#include <algorithm>
#include <string>
#include <vector>

#include "DbTest.h"

namespace {

AcDbLayerTable* layers(AcDbDatabase* db, AcDb::OpenMode mode)
{
    AcDbLayerTable* t = nullptr;
    EXPECT_EQ(db->getLayerTable(t, mode), Acad::eOk);
    return t;
}

// Adds a layer with the name; returns the add's status (the record is
// disposed of when it was not added).
Acad::ErrorStatus addLayer(AcDbDatabase* db, const ACHAR* name, AcDbObjectId* idOut = nullptr)
{
    AcDbLayerTable* t = layers(db, AcDb::kForWrite);
    auto* rec = new AcDbLayerTableRecord();
    rec->setName(name);
    AcDbObjectId id;
    Acad::ErrorStatus es = t->add(id, rec);
    if (es == Acad::eOk)
        rec->close();
    else
        delete rec;
    t->close();
    if (idOut != nullptr)
        *idOut = id;
    return es;
}

// Opens the record for write, renames it and closes it; returns setName's status.
Acad::ErrorStatus rename(AcDbObjectId id, const ACHAR* name)
{
    AcDbSymbolTableRecord* rec = nullptr;
    Acad::ErrorStatus es = acdbOpenObject(rec, id, AcDb::kForWrite, true);
    if (es != Acad::eOk)
        return es;
    es = rec->setName(name);
    rec->close();
    return es;
}

// Erases (or unerases) the object; returns erase's status.
Acad::ErrorStatus setErased(AcDbObjectId id, bool erasing)
{
    AcDbObject* obj = nullptr;
    Acad::ErrorStatus es = acdbOpenAcDbObject(obj, id, AcDb::kForWrite, true);
    if (es != Acad::eOk)
        return es;
    es = obj->erase(erasing);
    obj->close();
    return es;
}

// The id getAt gives for the name (erased records too when asked), or the
// null id.
AcDbObjectId layerNamed(AcDbDatabase* db, const ACHAR* name, bool erasedToo = false)
{
    AcDbObjectId id;
    AcDbLayerTable* t = layers(db, AcDb::kForRead);
    if (t == nullptr)
        return id;
    if (t->getAt(name, id, erasedToo) != Acad::eOk)
        id = AcDbObjectId();
    t->close();
    return id;
}

std::wstring recordName(AcDbObjectId id)
{
    AcDbSymbolTableRecord* rec = nullptr;
    if (acdbOpenObject(rec, id) != Acad::eOk)
        return L"<not opened>";
    ACHAR* name = nullptr;
    rec->getName(name);
    std::wstring out = name;
    acutDelString(name);
    EXPECT_EQ(name, nullptr);
    rec->close();
    return out;
}

}  // namespace

TEST_F(DbTest, DefaultDrawing)
{
    AcDbBlockTable* blocks = nullptr;
    ASSERT_EQ(db()->getSymbolTable(blocks, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(blocks->has(ACDB_MODEL_SPACE));
    EXPECT_TRUE(blocks->has(ACDB_PAPER_SPACE));
    AcDbObjectId ms, ps;
    EXPECT_EQ(blocks->getAt(L"*MODEL_SPACE", ms), Acad::eOk);  // case is ignored
    EXPECT_EQ(blocks->getAt(L"*paper_space", ps), Acad::eOk);
    blocks->close();
    EXPECT_EQ(recordName(ms), L"*Model_Space");
    EXPECT_EQ(recordName(ps), L"*Paper_Space");
    EXPECT_EQ(db()->currentSpaceId(), ms);

    EXPECT_EQ(recordName(db()->layerZero()), L"0");
    EXPECT_EQ(db()->clayer(), db()->layerZero());
    AcDbLinetypeTable* lts = nullptr;
    ASSERT_EQ(db()->getLinetypeTable(lts), Acad::eOk);
    for (const ACHAR* name : {L"Continuous", L"ByLayer", L"ByBlock", L"CONTINUOUS"})
        EXPECT_TRUE(lts->has(name)) << name;
    lts->close();
    EXPECT_EQ(recordName(db()->continuousLinetype()), L"Continuous");

    AcDbLayerTableRecord* zero = nullptr;
    ASSERT_EQ(acdbOpenObject(zero, db()->layerZero()), Acad::eOk);
    EXPECT_EQ(zero->color().colorIndex(), 7);
    EXPECT_FALSE(zero->isFrozen() || zero->isLocked() || zero->isOff() || zero->isHidden());
    EXPECT_EQ(zero->linetypeObjectId(), db()->continuousLinetype());
    const ACHAR* inner = nullptr;
    zero->getName(inner);
    EXPECT_STREQ(inner, L"0");
    zero->close();
}

TEST_F(DbTest, LookupsNeedAnOpenTableAndReportMissingNames)
{
    AcDbBlockTable* blocks = nullptr;
    ASSERT_EQ(db()->getBlockTable(blocks), Acad::eOk);
    AcDbBlockTableRecord* rec = reinterpret_cast<AcDbBlockTableRecord*>(1);
    EXPECT_EQ(blocks->getAt(L"NoSuchBlock", rec, AcDb::kForRead), Acad::eKeyNotFound);
    EXPECT_EQ(rec, nullptr);
    // The record is opened under the protocol too.
    AcDbBlockTableRecord* first = nullptr;
    ASSERT_EQ(blocks->getAt(ACDB_MODEL_SPACE, first, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(blocks->getAt(ACDB_MODEL_SPACE, rec, AcDb::kForRead), Acad::eWasOpenForWrite);
    first->close();
    blocks->close();
    AcDbObjectId id;
    EXPECT_EQ(blocks->getAt(ACDB_MODEL_SPACE, id), Acad::eNotOpenForRead);
}

TEST_F(DbTest, LayerNamesAreChecked)
{
    struct Case {
        const ACHAR* name;
        Acad::ErrorStatus expected;
    };
    const Case cases[] = {
        {L"Walls", Acad::eOk},
        {L"Walls and doors", Acad::eOk},
        {L"Ebene-1_\u00e9", Acad::eOk},
        {L"xref|Walls", Acad::eOk},
        {L"WALLS", Acad::eDuplicateRecordName},  // same name in other case
        {L"0", Acad::eDuplicateRecordName},
        {L"", Acad::eInvalidInput},
        {L"a<b", Acad::eInvalidInput},
        {L"a>b", Acad::eInvalidInput},
        {L"a/b", Acad::eInvalidInput},
        {L"a\\b", Acad::eInvalidInput},
        {L"a\"b", Acad::eInvalidInput},
        {L"a:b", Acad::eInvalidInput},
        {L"a?b", Acad::eInvalidInput},
        {L"a*b", Acad::eInvalidInput},
        {L"a,b", Acad::eInvalidInput},
        {L"a=b", Acad::eInvalidInput},
        {L"a`b", Acad::eInvalidInput},
        {L"a;b", Acad::eInvalidInput},
        {L"a\tb", Acad::eInvalidInput},
        {L"|a", Acad::eInvalidInput},
        {L"a|", Acad::eInvalidInput},
    };
    for (const Case& c : cases)
        EXPECT_EQ(addLayer(db(), c.name), c.expected) << std::wstring(c.name).c_str();

    AcDbLayerTable* t = layers(db(), AcDb::kForRead);
    AcDbSymbolTableIterator* it = nullptr;
    ASSERT_EQ(t->newIterator(it), Acad::eOk);
    std::vector<std::wstring> names;
    for (it->start(); !it->done(); it->step()) {
        AcDbObjectId id;
        ASSERT_EQ(it->getRecordId(id), Acad::eOk);
        names.push_back(recordName(id));
    }
    delete it;
    t->close();
    std::vector<std::wstring> expected = {L"0", L"Walls", L"Walls and doors", L"Ebene-1_\u00e9", L"xref|Walls"};
    EXPECT_EQ(names, expected);
}

TEST_F(DbTest, SetNameKeepsTheOldNameOnFailure)
{
    AcDbObjectId walls;
    ASSERT_EQ(addLayer(db(), L"Walls", &walls), Acad::eOk);
    ASSERT_EQ(addLayer(db(), L"Doors"), Acad::eOk);
    AcDbLayerTableRecord* rec = nullptr;
    ASSERT_EQ(acdbOpenObject(rec, walls, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(rec->setName(L"Other"), Acad::eNotOpenForWrite);
    ASSERT_EQ(rec->upgradeOpen(), Acad::eOk);
    EXPECT_EQ(rec->setName(L"bad:name"), Acad::eInvalidInput);
    EXPECT_EQ(rec->setName(nullptr), Acad::eInvalidInput);
    EXPECT_EQ(rec->setName(L"doors"), Acad::eDuplicateRecordName);
    EXPECT_EQ(rec->setName(L"WALLS"), Acad::eOk);  // its own name in other case
    rec->close();
    EXPECT_EQ(recordName(walls), L"WALLS");

    // Layer "0" and the two spaces keep their names.
    ASSERT_EQ(acdbOpenObject(rec, db()->layerZero(), AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(rec->setName(L"Zero"), Acad::eInvalidInput);
    EXPECT_EQ(rec->setIsHidden(true), Acad::eInvalidInput);
    EXPECT_EQ(rec->erase(), Acad::eCannotBeErasedByCaller);
    rec->close();
    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(acdbOpenObject(space, modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(space->setName(L"*Model"), Acad::eInvalidInput);
    space->close();
    EXPECT_EQ(recordName(db()->layerZero()), L"0");
}

TEST_F(DbTest, AddStatuses)
{
    AcDbLayerTable* t = layers(db(), AcDb::kForRead);
    auto* rec = new AcDbLayerTableRecord();
    rec->setName(L"Walls");
    EXPECT_EQ(t->add(rec), Acad::eNotOpenForWrite);
    ASSERT_EQ(t->upgradeOpen(), Acad::eOk);
    EXPECT_EQ(t->add(static_cast<AcDbLayerTableRecord*>(nullptr)), Acad::eNullObjectPointer);
    auto* nameless = new AcDbLayerTableRecord();
    EXPECT_EQ(t->add(nameless), Acad::eInvalidInput);
    delete nameless;
    AcDbObjectId id;
    ASSERT_EQ(t->add(id, rec), Acad::eOk);
    // Resident and open for write; a second add is refused.
    EXPECT_TRUE(rec->isWriteEnabled());
    EXPECT_EQ(rec->ownerId(), db()->layerTableId());
    EXPECT_EQ(t->add(rec), Acad::eAlreadyInDb);
    EXPECT_EQ(rec->linetypeObjectId(), db()->continuousLinetype());
    rec->close();
    // A record of another table.
    AcDbSymbolTable* generic = t;
    auto* block = new AcDbBlockTableRecord();
    block->setName(L"Walls2");
    EXPECT_EQ(generic->add(block), Acad::eWrongObjectType);
    delete block;
    t->close();
}

TEST_F(DbTest, ErasedRecordsAreFoundOnlyWhenAsked)
{
    AcDbObjectId id;
    ASSERT_EQ(addLayer(db(), L"Old", &id), Acad::eOk);
    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, id, AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(obj->erase(), Acad::eOk);
    obj->close();

    AcDbLayerTable* t = layers(db(), AcDb::kForRead);
    AcDbObjectId found;
    EXPECT_EQ(t->getAt(L"Old", found), Acad::eKeyNotFound);
    EXPECT_EQ(t->getAt(L"Old", found, true), Acad::eOk);
    EXPECT_EQ(found, id);
    AcDbLayerTableRecord* rec = nullptr;
    EXPECT_EQ(t->getAt(L"Old", rec, AcDb::kForRead), Acad::eWasErased);
    EXPECT_EQ(rec, nullptr);
    ASSERT_EQ(t->getAt(L"Old", rec, AcDb::kForRead, true), Acad::eOk);
    rec->close();
    EXPECT_FALSE(t->has(L"Old"));
    EXPECT_FALSE(t->has(id));
    EXPECT_TRUE(t->has(db()->layerZero()));
    t->close();
    // The name is free again.
    EXPECT_EQ(addLayer(db(), L"Old"), Acad::eOk);
}

TEST_F(DbTest, BlockRecordIteration)
{
    std::vector<AcDbObjectId> ids;
    for (int i = 0; i < 4; ++i)
        ids.push_back(append(new AcDbPoint(AcGePoint3d(i, 0, 0))));
    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, ids[1], AcDb::kForWrite), Acad::eOk);
    obj->erase();
    obj->close();

    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(acdbOpenObject(space, modelSpaceId()), Acad::eOk);
    AcDbBlockTableRecordIterator* it = nullptr;
    ASSERT_EQ(space->newIterator(it), Acad::eOk);
    std::vector<AcDbObjectId> seen;
    for (it->start(); !it->done(); it->step()) {
        AcDbEntity* e = nullptr;
        ASSERT_EQ(it->getEntity(e, AcDb::kForRead), Acad::eOk);
        seen.push_back(e->objectId());
        e->close();
    }
    EXPECT_EQ(seen, (std::vector<AcDbObjectId>{ids[0], ids[2], ids[3]}));
    // Backwards, erased entities included.
    seen.clear();
    for (it->start(false, false); !it->done(); it->step(false, false)) {
        AcDbObjectId id;
        it->getEntityId(id);
        seen.push_back(id);
    }
    EXPECT_EQ(seen, (std::vector<AcDbObjectId>{ids[3], ids[2], ids[1], ids[0]}));
    AcDbObjectId none;
    EXPECT_EQ(it->getEntityId(none), Acad::eIteratorDone);
    delete it;
    space->close();
    EXPECT_EQ(standin::entityCount(modelSpaceId()), 3);
    EXPECT_EQ(standin::entityCount(db()->layerZero()), -1);
}

// A block of many entities keeps them in order, whatever room its list was
// given as it grew; erased ones are skipped at any place, and seek finds any.
TEST_F(DbTest, ALargeBlockKeepsItsEntitiesInOrderAcrossItsRooms)
{
    constexpr int kCount = 3 * 4096 + 17;
    std::vector<AcDbObjectId> ids;
    {
        AcDbBlockTableRecord* space = nullptr;
        ASSERT_EQ(acdbOpenObject(space, modelSpaceId(), AcDb::kForWrite), Acad::eOk);
        for (int i = 0; i < kCount; ++i) {
            AcDbPoint* p = new AcDbPoint(AcGePoint3d(i, 0, 0));
            AcDbObjectId id;
            ASSERT_EQ(space->appendAcDbEntity(id, p), Acad::eOk);
            p->close();
            ids.push_back(id);
        }
        space->close();
    }
    const std::vector<int> erased = {0, 4095, 4096, 4097, 8191, 8192, kCount - 1};
    for (int i : erased) {
        AcDbObject* obj = nullptr;
        ASSERT_EQ(acdbOpenObject(obj, ids[i], AcDb::kForWrite), Acad::eOk);
        obj->erase();
        obj->close();
    }
    std::vector<AcDbObjectId> expected;
    for (int i = 0; i < kCount; ++i)
        if (std::find(erased.begin(), erased.end(), i) == erased.end())
            expected.push_back(ids[i]);

    // The ids an iterator of model space gives, forwards or backwards.
    auto walk = [this](bool forward) {
        std::vector<AcDbObjectId> seen;
        AcDbBlockTableRecord* space = nullptr;
        if (acdbOpenObject(space, modelSpaceId()) != Acad::eOk)
            return seen;
        AcDbBlockTableRecordIterator* it = nullptr;
        if (space->newIterator(it) == Acad::eOk) {
            for (it->start(forward); !it->done(); it->step(forward)) {
                AcDbObjectId id;
                it->getEntityId(id);
                seen.push_back(id);
            }
            delete it;
        }
        space->close();
        return seen;
    };
    EXPECT_EQ(walk(true), expected);
    EXPECT_EQ(walk(false), std::vector<AcDbObjectId>(expected.rbegin(), expected.rend()));

    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(acdbOpenObject(space, modelSpaceId()), Acad::eOk);
    AcDbBlockTableRecordIterator* it = nullptr;
    ASSERT_EQ(space->newIterator(it), Acad::eOk);
    for (int i : {1, 4098, 8193, kCount - 2}) {
        ASSERT_EQ(it->seek(ids[i]), Acad::eOk);
        AcDbObjectId id;
        it->getEntityId(id);
        EXPECT_EQ(id, ids[i]);
    }
    delete it;
    space->close();
    EXPECT_EQ(standin::entityCount(modelSpaceId()), kCount - static_cast<int>(erased.size()));
}

// A rename moves the record in every lookup: the old name is free at once,
// the new one finds it in any case, and a taken name is refused.
TEST_F(DbTest, LookupsFollowARename)
{
    AcDbObjectId walls, doors;
    ASSERT_EQ(addLayer(db(), L"Walls", &walls), Acad::eOk);
    ASSERT_EQ(addLayer(db(), L"Doors", &doors), Acad::eOk);
    ASSERT_EQ(rename(walls, L"Partitions"), Acad::eOk);

    EXPECT_TRUE(layerNamed(db(), L"Walls").isNull());
    EXPECT_TRUE(layerNamed(db(), L"walls", true).isNull());
    EXPECT_EQ(layerNamed(db(), L"PARTITIONS"), walls);
    EXPECT_EQ(layerNamed(db(), L"partitions"), walls);
    AcDbLayerTable* t = layers(db(), AcDb::kForRead);
    EXPECT_FALSE(t->has(L"Walls"));
    EXPECT_TRUE(t->has(L"Partitions"));
    t->close();
    EXPECT_EQ(rename(doors, L"partitions"), Acad::eDuplicateRecordName);
    EXPECT_EQ(layerNamed(db(), L"Doors"), doors);

    // The old name is free for a new record, and for the renamed one again.
    AcDbObjectId second;
    ASSERT_EQ(addLayer(db(), L"WALLS", &second), Acad::eOk);
    EXPECT_EQ(layerNamed(db(), L"walls"), second);
    EXPECT_EQ(rename(walls, L"Walls"), Acad::eDuplicateRecordName);
    ASSERT_EQ(rename(second, L"Other"), Acad::eOk);
    ASSERT_EQ(rename(walls, L"Walls"), Acad::eOk);
    EXPECT_EQ(layerNamed(db(), L"WALLS"), walls);
    EXPECT_EQ(layerNamed(db(), L"other"), second);
    // An entity finds a layer by its new name.
    AcDbObjectId point = append(new AcDbPoint(AcGePoint3d(0, 0, 0)));
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(e, point, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(e->setLayer(L"OTHER"), Acad::eOk);
    EXPECT_EQ(e->layerId(), second);
    EXPECT_EQ(e->setLayer(L"Partitions"), Acad::eKeyNotFound);
    e->close();
}

// An erased record keeps its name for lookups that ask for erased ones; a
// record not erased always comes first; unerasing a record whose name another
// record has taken meanwhile is refused, so that a table never holds two
// records of one name.
TEST_F(DbTest, ErasedRecordsAndTheirNames)
{
    AcDbObjectId first, second;
    ASSERT_EQ(addLayer(db(), L"Old", &first), Acad::eOk);
    ASSERT_EQ(setErased(first, true), Acad::eOk);
    ASSERT_EQ(addLayer(db(), L"OLD", &second), Acad::eOk);
    EXPECT_EQ(layerNamed(db(), L"old"), second);
    EXPECT_EQ(layerNamed(db(), L"old", true), second);

    EXPECT_EQ(setErased(first, false), Acad::eDuplicateRecordName);
    AcDbObject* obj = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(obj, first, AcDb::kForRead), Acad::eWasErased);

    // With both erased, the first added is found; unerased, it is the one.
    ASSERT_EQ(setErased(second, true), Acad::eOk);
    EXPECT_TRUE(layerNamed(db(), L"Old").isNull());
    EXPECT_EQ(layerNamed(db(), L"Old", true), first);
    ASSERT_EQ(setErased(second, false), Acad::eOk);
    EXPECT_EQ(layerNamed(db(), L"Old", true), second);
    ASSERT_EQ(setErased(second, true), Acad::eOk);
    ASSERT_EQ(setErased(first, false), Acad::eOk);
    EXPECT_EQ(layerNamed(db(), L"Old"), first);
    AcDbLayerTable* t = layers(db(), AcDb::kForRead);
    EXPECT_TRUE(t->has(first));
    EXPECT_FALSE(t->has(second));
    t->close();

    // A live record may take an erased one's name; the erased one then stays
    // erased.
    ASSERT_EQ(rename(second, L"Spare"), Acad::eOk);
    ASSERT_EQ(setErased(first, true), Acad::eOk);
    AcDbObjectId third;
    ASSERT_EQ(addLayer(db(), L"Third", &third), Acad::eOk);
    ASSERT_EQ(rename(third, L"old"), Acad::eOk);
    EXPECT_EQ(layerNamed(db(), L"OLD"), third);
    EXPECT_EQ(setErased(first, false), Acad::eDuplicateRecordName);
    EXPECT_EQ(setErased(second, false), Acad::eOk);  // "Spare" is free
    EXPECT_EQ(layerNamed(db(), L"spare"), second);
}

// Every record of a large table is found by name (in any case) and by id,
// an iterator seeks to any of them, and renames and erasures in the middle
// of it are seen by every lookup.
TEST_F(DbTest, ALargeTableFindsEveryRecord)
{
    constexpr int kCount = 3000;
    std::vector<AcDbObjectId> ids;
    {
        AcDbBlockTable* t = nullptr;
        ASSERT_EQ(db()->getBlockTable(t, AcDb::kForWrite), Acad::eOk);
        for (int i = 0; i < kCount; ++i) {
            auto* rec = new AcDbBlockTableRecord();
            const std::wstring name = L"Block" + std::to_wstring(i);
            ASSERT_EQ(rec->setName(name.c_str()), Acad::eOk);
            AcDbObjectId id;
            ASSERT_EQ(t->add(id, rec), Acad::eOk);
            rec->close();
            ids.push_back(id);
        }
        t->close();
    }
    for (int i : {7, 1500, kCount - 1})
        ASSERT_EQ(rename(ids[i], (L"Renamed" + std::to_wstring(i)).c_str()), Acad::eOk);
    for (int i : {8, 1501})
        ASSERT_EQ(setErased(ids[i], true), Acad::eOk);

    AcDbBlockTable* t = nullptr;
    ASSERT_EQ(db()->getBlockTable(t, AcDb::kForRead), Acad::eOk);
    AcDbSymbolTableIterator* it = nullptr;
    ASSERT_EQ(t->newIterator(it), Acad::eOk);
    int wrong = 0;
    for (int i = 0; i < kCount; ++i) {
        const bool renamed = i == 7 || i == 1500 || i == kCount - 1;
        const bool erased = i == 8 || i == 1501;
        const std::wstring name = (renamed ? L"RENAMED" : L"block") + std::to_wstring(i);
        AcDbObjectId found;
        const Acad::ErrorStatus es = t->getAt(name.c_str(), found);
        if (erased ? es != Acad::eKeyNotFound : es != Acad::eOk || found != ids[i])
            ++wrong;
        if (t->has(ids[i]) == erased || t->has(name.c_str()) == erased)
            ++wrong;
        AcDbObjectId at;
        if (it->seek(ids[i]) != Acad::eOk || it->getRecordId(at) != Acad::eOk || at != ids[i])
            ++wrong;
        if (renamed && t->has((L"Block" + std::to_wstring(i)).c_str()))
            ++wrong;
    }
    EXPECT_EQ(wrong, 0);
    // An id of another table is in none of this one's lookups.
    EXPECT_FALSE(t->has(db()->layerZero()));
    EXPECT_EQ(it->seek(db()->layerZero()), Acad::eInvalidInput);
    EXPECT_EQ(it->seek(AcDbObjectId()), Acad::eInvalidInput);
    delete it;
    t->close();
}
