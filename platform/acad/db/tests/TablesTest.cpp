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
