// The stand-in's own inspection calls.
#include <vector>

#include "DbTest.h"

TEST_F(DbTest, OpenObjectsReport)
{
    AcDbObjectId lineId = append(new AcDbLine());
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(db()->getBlockTable(table), Acad::eOk);
    AcDbEntity* line = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(line, lineId, AcDb::kForWrite), Acad::eOk);

    std::vector<standin::OpenObject> open = standin::openObjects(db());
    ASSERT_EQ(open.size(), 2u);
    EXPECT_EQ(open[0].id, db()->blockTableId());
    EXPECT_EQ(open[0].className, L"AcDbBlockTable");
    EXPECT_EQ(open[0].mode, AcDb::kForRead);
    EXPECT_EQ(open[0].readers, 1);
    EXPECT_EQ(open[1].id, lineId);
    EXPECT_EQ(open[1].mode, AcDb::kForWrite);
    EXPECT_EQ(open[1].database, db());
    std::string text = standin::describeOpenObjects();
    EXPECT_NE(text.find("AcDbBlockTable"), std::string::npos);
    EXPECT_NE(text.find("AcDbLine"), std::string::npos);

    // Objects of another database are reported too.
    AcDbDatabase other;
    AcDbLayerTable* layers = nullptr;
    ASSERT_EQ(other.getLayerTable(layers), Acad::eOk);
    EXPECT_EQ(standin::openObjects().size(), 3u);
    layers->close();

    table->close();
    line->close();
    EXPECT_TRUE(standin::openObjects().empty());
    EXPECT_EQ(standin::describeOpenObjects(), "");
}

TEST_F(DbTest, VisitSpacesAndFindHandles)
{
    AcDbObjectId a = append(new AcDbPoint());
    AcDbObjectId b = append(new AcDbLine());
    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, b, AcDb::kForWrite), Acad::eOk);
    obj->erase();
    obj->close();
    // One entity in paper space.
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(db()->getBlockTable(table), Acad::eOk);
    AcDbBlockTableRecord* paper = nullptr;
    ASSERT_EQ(table->getAt(ACDB_PAPER_SPACE, paper, AcDb::kForWrite), Acad::eOk);
    table->close();
    AcDbObjectId c;
    AcDbFace* face = new AcDbFace();
    ASSERT_EQ(paper->appendAcDbEntity(c, face), Acad::eOk);
    face->close();
    paper->close();

    std::vector<AcDbObjectId> seen;
    standin::forEachSpaceEntity(db(), [&](AcDbObjectId id) { seen.push_back(id); });
    EXPECT_EQ(seen, (std::vector<AcDbObjectId>{a, c}));

    EXPECT_EQ(standin::findByHandle(db(), a.handle()), a);
    EXPECT_EQ(standin::findByHandle(db(), b.handle()), b);  // erased ones too
    EXPECT_TRUE(standin::findByHandle(db(), AcDbHandle(0x7FFFFFFF, 0)).isNull());
    AcDbObjectId viaDb;
    EXPECT_EQ(db()->getAcDbObjectId(viaDb, false, c.handle()), Acad::eOk);
    EXPECT_EQ(viaDb, c);
    EXPECT_EQ(db()->getAcDbObjectId(viaDb, false, AcDbHandle()), Acad::eNullHandle);

    ACHAR text[17];
    AcDbHandle(0xABCDEF, 0x12).getIntoAsciiBuffer(text);
    EXPECT_STREQ(text, L"1200ABCDEF");
    EXPECT_EQ(AcDbHandle(L"1200abcdef"), AcDbHandle(0xABCDEF, 0x12));
    EXPECT_TRUE(AcDbHandle(L"xyz").isNull());
}

TEST_F(DbTest, WorkingDatabase)
{
    EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), db());
    AcDbDatabase* other = new AcDbDatabase();
    acdbHostApplicationServices()->setWorkingDatabase(other);
    EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), other);
    // A destroyed working database is no longer handed out.
    delete other;
    AcDbDatabase* fresh = acdbHostApplicationServices()->workingDatabase();
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(fresh->layerZero().isValid());
    // The fixture's database was replaced by the fresh one.
    EXPECT_EQ(standin::databases().size(), 1u);
}
