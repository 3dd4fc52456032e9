// The open protocol: readers and writers, erased objects, bad ids, the
// class-checked opens, residency, ownership and the protocol breaches.
#include <string>

#include "DbTest.h"
#include "dbSubD.h"

enum class Held { kClosed, kRead, kTwoReads, kWrite, kNotify };

struct OpenCase {
    Held held;
    AcDb::OpenMode mode;
    Acad::ErrorStatus expected;
};

class OpenConflicts : public DbTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenConflicts, SecondOpenGetsTheHostsStatus)
{
    const OpenCase& c = GetParam();
    AcDbPoint* point = new AcDbPoint(AcGePoint3d(1, 2, 3));
    AcDbObjectId id = append(point);

    // Open it as the case says, keeping the pointer to close it again.
    AcDbObject* held = nullptr;
    int heldOpens = 0;
    AcDb::OpenMode first = c.held == Held::kWrite ? AcDb::kForWrite
        : c.held == Held::kNotify                 ? AcDb::kForNotify
                                                  : AcDb::kForRead;
    int count = c.held == Held::kClosed ? 0 : c.held == Held::kTwoReads ? 2 : 1;
    for (int i = 0; i < count; ++i) {
        ASSERT_EQ(acdbOpenAcDbObject(held, id, first), Acad::eOk);
        ++heldOpens;
    }

    AcDbObject* second = nullptr;
    Acad::ErrorStatus es = acdbOpenAcDbObject(second, id, c.mode);
    EXPECT_EQ(es, c.expected);
    if (es == Acad::eOk) {
        EXPECT_EQ(second, point);  // one object, however often it is open
        second->close();
    } else {
        EXPECT_EQ(second, nullptr);
    }
    for (int i = 0; i < heldOpens; ++i)
        EXPECT_EQ(held->close(), Acad::eOk);
}

INSTANTIATE_TEST_SUITE_P(Table, OpenConflicts,
                         ::testing::Values(OpenCase{Held::kClosed, AcDb::kForRead, Acad::eOk},
                                           OpenCase{Held::kClosed, AcDb::kForWrite, Acad::eOk},
                                           OpenCase{Held::kClosed, AcDb::kForNotify, Acad::eOk},
                                           OpenCase{Held::kRead, AcDb::kForRead, Acad::eOk},
                                           OpenCase{Held::kTwoReads, AcDb::kForRead, Acad::eOk},
                                           OpenCase{Held::kRead, AcDb::kForWrite, Acad::eWasOpenForRead},
                                           OpenCase{Held::kTwoReads, AcDb::kForWrite, Acad::eWasOpenForRead},
                                           OpenCase{Held::kRead, AcDb::kForNotify, Acad::eOk},
                                           OpenCase{Held::kWrite, AcDb::kForRead, Acad::eWasOpenForWrite},
                                           OpenCase{Held::kWrite, AcDb::kForWrite, Acad::eWasOpenForWrite},
                                           OpenCase{Held::kWrite, AcDb::kForNotify, Acad::eOk},
                                           OpenCase{Held::kNotify, AcDb::kForRead, Acad::eWasNotifying},
                                           OpenCase{Held::kNotify, AcDb::kForWrite, Acad::eWasNotifying},
                                           OpenCase{Held::kNotify, AcDb::kForNotify, Acad::eWasOpenForNotify}));

TEST_F(DbTest, ReadersAreCountedUpToTheLimit)
{
    AcDbObjectId id = append(new AcDbPoint());
    AcDbObject* obj = nullptr;
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(acdbOpenAcDbObject(obj, id, AcDb::kForRead), Acad::eOk) << i;
    AcDbObject* extra = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(extra, id, AcDb::kForRead), Acad::eAtMaxReaders);
    auto open = standin::openObjects(db());
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].readers, 256);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(obj->close(), Acad::eOk);
    EXPECT_TRUE(standin::openObjects().empty());
}

TEST_F(DbTest, BadIdsAreRefused)
{
    AcDbObject* obj = reinterpret_cast<AcDbObject*>(1);
    EXPECT_EQ(acdbOpenAcDbObject(obj, AcDbObjectId::kNull, AcDb::kForRead), Acad::eNullObjectId);
    EXPECT_EQ(obj, nullptr);

    // An id that names no object: garbage, and an id of a database that is gone.
    long garbage = 0;
    AcDbObjectId bogus;
    bogus.setFromOldId(reinterpret_cast<Adesk::IntDbId>(&garbage));
    EXPECT_EQ(acdbOpenAcDbObject(obj, bogus, AcDb::kForRead), Acad::eInvalidInput);
    EXPECT_FALSE(bogus.isValid());

    AcDbObjectId stale;
    {
        AcDbDatabase other;
        stale = other.blockTableId();
        EXPECT_TRUE(stale.isValid());
        EXPECT_EQ(stale.database(), &other);
    }
    EXPECT_EQ(acdbOpenAcDbObject(obj, stale, AcDb::kForRead), Acad::eInvalidInput);
    EXPECT_EQ(stale.database(), nullptr);
}

TEST_F(DbTest, ErasedObjectsOpenOnlyWhenAsked)
{
    AcDbObjectId id = append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 1)));
    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(obj->erase(), Acad::eOk);
    EXPECT_EQ(obj->erase(), Acad::eWasErased);
    obj->close();
    EXPECT_TRUE(id.isErased());

    EXPECT_EQ(acdbOpenAcDbObject(obj, id, AcDb::kForRead), Acad::eWasErased);
    EXPECT_EQ(obj, nullptr);
    AcDbEntity* ent = nullptr;
    EXPECT_EQ(acdbOpenAcDbEntity(ent, id, AcDb::kForRead), Acad::eWasErased);
    ASSERT_EQ(acdbOpenAcDbEntity(ent, id, AcDb::kForWrite, true), Acad::eOk);
    EXPECT_TRUE(ent->isErased());
    EXPECT_EQ(ent->erase(false), Acad::eOk);
    ent->close();
    ASSERT_EQ(acdbOpenAcDbObject(obj, id, AcDb::kForRead), Acad::eOk);
    obj->close();
    EXPECT_EQ(standin::entityCount(modelSpaceId()), 1);
}

TEST_F(DbTest, ClassCheckedOpens)
{
    AcDbObjectId lineId = append(new AcDbLine());
    AcDbObject* obj = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(obj, lineId, AcDb::kForRead, AcDbBlockTableRecord::desc()), Acad::eNotThatKindOfClass);
    EXPECT_EQ(obj, nullptr);
    ASSERT_EQ(acdbOpenAcDbObject(obj, lineId, AcDb::kForRead, AcDbCurve::desc()), Acad::eOk);  // a base class
    obj->close();

    AcDbBlockTableRecord* rec = nullptr;
    EXPECT_EQ(acdbOpenObject(rec, lineId), Acad::eNotThatKindOfClass);
    EXPECT_EQ(rec, nullptr);
    ASSERT_EQ(acdbOpenObject(rec, modelSpaceId()), Acad::eOk);
    rec->close();

    AcDbEntity* ent = nullptr;
    EXPECT_EQ(acdbOpenAcDbEntity(ent, db()->layerZero(), AcDb::kForRead), Acad::eNotAnEntity);
    EXPECT_EQ(ent, nullptr);
    EXPECT_TRUE(standin::openObjects().empty());
}

TEST_F(DbTest, RunTimeClasses)
{
    AcDbFace face;
    AcDbLine line;
    AcDbPoint point;
    EXPECT_STREQ(face.isA()->name(), L"AcDbFace");
    EXPECT_STREQ(line.isA()->name(), L"AcDbLine");
    EXPECT_STREQ(point.isA()->name(), L"AcDbPoint");
    EXPECT_EQ(face.isA(), AcDbFace::desc());
    EXPECT_TRUE(line.isKindOf(AcDbEntity::desc()));
    EXPECT_TRUE(line.isKindOf(AcDbCurve::desc()));
    EXPECT_FALSE(line.isA() == AcDbCurve::desc());
    EXPECT_FALSE(face.isKindOf(AcDbCurve::desc()));
    EXPECT_TRUE(AcDbLine::desc()->isDerivedFrom(AcDbObject::desc()));
    EXPECT_EQ(AcDbLine::cast(&face), nullptr);
    EXPECT_EQ(AcDbEntity::cast(&face), &face);
    EXPECT_STREQ(AcDbFace::desc()->dxfName(), L"3DFACE");
}

TEST_F(DbTest, NewObjectsAreTheCreatorsUntilAppended)
{
    AcDbLine* line = new AcDbLine();
    EXPECT_TRUE(line->isWriteEnabled());
    EXPECT_TRUE(line->isNewObject());
    EXPECT_TRUE(line->objectId().isNull());
    EXPECT_EQ(line->database(), nullptr);
    EXPECT_TRUE(line->blockId().isNull());
    EXPECT_EQ(line->colorIndex(), 257);  // no colour until appended
    EXPECT_TRUE(line->layerId().isNull());
    delete line;  // allowed: it was never added

    line = new AcDbLine();
    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(acdbOpenObject(space, modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    AcDbObjectId id;
    ASSERT_EQ(space->appendAcDbEntity(id, line), Acad::eOk);
    EXPECT_EQ(space->appendAcDbEntity(line), Acad::eAlreadyInDb);
    space->close();
    // Appended: resident, owned by the record, still open for write.
    EXPECT_EQ(line->objectId(), id);
    EXPECT_EQ(line->database(), db());
    EXPECT_EQ(line->ownerId(), modelSpaceId());
    EXPECT_EQ(line->blockId(), modelSpaceId());
    EXPECT_EQ(id.database(), db());
    EXPECT_TRUE(line->isWriteEnabled());
    EXPECT_EQ(line->layerId(), db()->layerZero());
    EXPECT_EQ(line->linetypeId(), db()->byLayerLinetype());
    EXPECT_EQ(line->colorIndex(), 256);
    auto open = standin::openObjects();
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].id, id);
    EXPECT_EQ(open[0].className, L"AcDbLine");
    EXPECT_EQ(open[0].mode, AcDb::kForWrite);
    EXPECT_EQ(line->close(), Acad::eOk);
    EXPECT_FALSE(line->isNewObject());
}

TEST_F(DbTest, AppendFailures)
{
    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(acdbOpenObject(space, modelSpaceId(), AcDb::kForRead), Acad::eOk);
    AcDbLine* line = new AcDbLine();
    EXPECT_EQ(space->appendAcDbEntity(line), Acad::eNotOpenForWrite);
    EXPECT_EQ(space->upgradeOpen(), Acad::eOk);
    EXPECT_EQ(space->appendAcDbEntity(nullptr), Acad::eNullEntityPointer);
    space->close();

    AcDbBlockTableRecord loose;  // in no database
    EXPECT_EQ(loose.appendAcDbEntity(line), Acad::eNoDatabase);
    EXPECT_EQ(line->database(), nullptr);
    delete line;
    EXPECT_EQ(standin::entityCount(modelSpaceId()), 0);
}

TEST_F(DbTest, UpgradeAndDowngrade)
{
    AcDbObjectId id = append(new AcDbPoint());
    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, id, AcDb::kForRead), Acad::eOk);
    AcDbObject* again = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(again, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(obj->upgradeOpen(), Acad::eHadMultipleReaders);
    again->close();
    EXPECT_EQ(obj->upgradeOpen(), Acad::eOk);
    EXPECT_TRUE(obj->isWriteEnabled());
    EXPECT_EQ(obj->upgradeOpen(), Acad::eWasOpenForWrite);
    EXPECT_EQ(obj->downgradeOpen(), Acad::eOk);
    EXPECT_FALSE(obj->isWriteEnabled());
    EXPECT_TRUE(obj->isReadEnabled());
    EXPECT_EQ(obj->downgradeOpen(), Acad::eWasNotOpenForWrite);
    obj->close();
    EXPECT_FALSE(obj->isReadEnabled());
    EXPECT_EQ(obj->upgradeOpen(), Acad::eNotOpenForRead);
}

TEST_F(DbTest, ChangesNeedAWriteOpen)
{
    AcDbObjectId id = append(new AcDbFace());
    AcDbFace* face = nullptr;
    ASSERT_EQ(acdbOpenObject(face, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(face->setVertexAt(0, AcGePoint3d(1, 1, 1)), Acad::eNotOpenForWrite);
    EXPECT_EQ(face->setColorIndex(1), Acad::eNotOpenForWrite);
    EXPECT_EQ(face->setLayer(L"0"), Acad::eNotOpenForWrite);
    EXPECT_EQ(face->erase(), Acad::eNotOpenForWrite);
    AcGePoint3d p;
    EXPECT_EQ(face->getVertexAt(0, p), Acad::eOk);
    EXPECT_TRUE(p.isEqualTo(AcGePoint3d::kOrigin));
    face->close();
}

TEST_F(DbTest, ProtocolBreachesAreRecorded)
{
    expectViolations_ = true;
    // close() of an object that is in no database.
    AcDbLine* loose = new AcDbLine();
    EXPECT_EQ(loose->close(), Acad::eNotInDatabase);
    ASSERT_EQ(standin::protocolViolations().size(), 1u);
    EXPECT_NE(standin::protocolViolations()[0].find("AcDbLine"), std::string::npos);
    delete loose;

    // close() of an object that is not open.
    AcDbObjectId id = append(new AcDbLine());
    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, id, AcDb::kForRead), Acad::eOk);
    obj->close();
    EXPECT_EQ(obj->close(), Acad::eInvalidOpenState);
    EXPECT_EQ(standin::protocolViolations().size(), 2u);

    // delete of an object of the database: the id stops leading to it.
    ASSERT_EQ(acdbOpenAcDbObject(obj, id, AcDb::kForWrite), Acad::eOk);
    delete obj;
    EXPECT_EQ(standin::protocolViolations().size(), 3u);
    EXPECT_EQ(acdbOpenAcDbObject(obj, id, AcDb::kForRead), Acad::ePermanentlyErased);
    EXPECT_EQ(standin::entityCount(modelSpaceId()), 0);

    // A void setter on an object open only for read.
    AcDbLayerTableRecord* zero = nullptr;
    ASSERT_EQ(acdbOpenObject(zero, db()->layerZero(), AcDb::kForRead), Acad::eOk);
    zero->setIsLocked(true);
    EXPECT_FALSE(zero->isLocked());
    zero->close();
    EXPECT_EQ(standin::protocolViolations().size(), 4u);
}

TEST_F(DbTest, ADatabaseFreesItsObjects)
{
    // Objects left open or erased are freed with their database (the leak
    // checker of the sanitizer build watches this).
    AcDbDatabase* other = new AcDbDatabase();
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(other->getBlockTable(table), Acad::eOk);
    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite), Acad::eOk);
    table->close();
    AcDbSubDMesh* mesh = new AcDbSubDMesh();
    ASSERT_EQ(space->appendAcDbEntity(mesh), Acad::eOk);
    space->close();
    EXPECT_EQ(standin::openObjects(other).size(), 1u);
    EXPECT_EQ(standin::openObjects(db()).size(), 0u);
    delete other;
    EXPECT_TRUE(standin::openObjects().empty());
}
