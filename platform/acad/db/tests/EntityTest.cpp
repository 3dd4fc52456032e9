// Entity properties (colour, layer, linetype, highlight) and the entity classes.
#include <string>

#include "DbTest.h"
#include "dbSubD.h"

namespace {

AcDbObjectId makeLayer(AcDbDatabase* db, const ACHAR* name, bool hidden = false)
{
    AcDbLayerTable* t = nullptr;
    EXPECT_EQ(db->getLayerTable(t, AcDb::kForWrite), Acad::eOk);
    auto* rec = new AcDbLayerTableRecord();
    EXPECT_EQ(rec->setName(name), Acad::eOk);
    AcDbObjectId id;
    EXPECT_EQ(t->add(id, rec), Acad::eOk);
    if (hidden) {
        EXPECT_EQ(rec->setIsHidden(true), Acad::eOk);
    }
    rec->close();
    t->close();
    return id;
}

std::wstring take(ACHAR* text)
{
    std::wstring s = text != nullptr ? text : L"<null>";
    acutDelString(text);
    return s;
}

}  // namespace

TEST_F(DbTest, SetLayerByName)
{
    AcDbObjectId walls = makeLayer(db(), L"Walls");
    AcDbObjectId hidden = makeLayer(db(), L"Hidden", true);
    AcDbObjectId gone = makeLayer(db(), L"Gone");
    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, gone, AcDb::kForWrite), Acad::eOk);
    obj->erase();
    obj->close();

    AcDbLine* line = new AcDbLine();  // not resident: the working database is searched
    EXPECT_EQ(line->setLayer(L"WALLS"), Acad::eOk);
    EXPECT_EQ(line->layerId(), walls);
    EXPECT_EQ(take(line->layer()), L"Walls");
    EXPECT_EQ(line->setLayer(L"Nowhere"), Acad::eKeyNotFound);
    EXPECT_EQ(line->setLayer(L"Gone"), Acad::eDeletedEntry);
    EXPECT_EQ(line->setLayer(L"Hidden"), Acad::eOk);  // ignored
    EXPECT_EQ(line->layerId(), walls);
    EXPECT_EQ(line->setLayer(L"Hidden", true, true), Acad::eOk);
    EXPECT_EQ(line->layerId(), hidden);
    EXPECT_EQ(line->setLayer(static_cast<const ACHAR*>(nullptr)), Acad::eInvalidInput);
    AcDbObjectId id = append(line);

    // The layer a resident entity is given is kept by the append.
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(e->layerId(), hidden);
    e->close();
}

TEST_F(DbTest, SetLayerById)
{
    AcDbObjectId walls = makeLayer(db(), L"Walls");
    AcDbObjectId id = append(new AcDbPoint());
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(e->setLayer(AcDbObjectId::kNull), Acad::eNullObjectId);
    EXPECT_EQ(e->setLayer(db()->continuousLinetype()), Acad::eWrongObjectType);
    EXPECT_EQ(e->setLayer(walls), Acad::eOk);
    EXPECT_EQ(e->layerId(), walls);

    // The layer is opened for read to check it: a layer open for write fails so.
    AcDbLayerTableRecord* zero = nullptr;
    ASSERT_EQ(acdbOpenObject(zero, db()->layerZero(), AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(e->setLayer(db()->layerZero()), Acad::eWasOpenForWrite);
    zero->close();
    EXPECT_EQ(e->layerId(), walls);

    // A layer of another database.
    AcDbDatabase other;
    EXPECT_EQ(e->setLayer(other.layerZero()), Acad::eWrongDatabase);
    e->close();
}

TEST_F(DbTest, Linetypes)
{
    AcDbLine* line = new AcDbLine();
    EXPECT_EQ(line->setLinetype(L"continuous"), Acad::eOk);
    EXPECT_EQ(line->linetypeId(), db()->continuousLinetype());
    EXPECT_EQ(take(line->linetype()), L"Continuous");
    EXPECT_EQ(line->setLinetype(L"Dashed"), Acad::eKeyNotFound);
    EXPECT_EQ(line->setLinetype(db()->layerZero()), Acad::eWrongObjectType);
    EXPECT_EQ(line->setLinetype(db()->byBlockLinetype()), Acad::eOk);
    EXPECT_EQ(take(line->linetype()), L"ByBlock");
    delete line;

    // Names of the database's own linetypes cannot be taken.
    auto* rec = new AcDbLinetypeTableRecord();
    EXPECT_EQ(rec->setName(L"BYLAYER"), Acad::eInvalidInput);
    EXPECT_EQ(rec->setName(L"Dashed"), Acad::eOk);
    delete rec;
}

TEST_F(DbTest, EntityColour)
{
    AcDbFace* face = new AcDbFace();
    EXPECT_EQ(face->setColorIndex(300), Acad::eOutOfRange);
    EXPECT_EQ(face->colorIndex(), 257);
    AcCmColor c;
    c.setRGB(1, 2, 3);
    EXPECT_EQ(face->setColor(c), Acad::eOk);
    AcDbObjectId id = append(face);  // a colour that is set is kept

    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_TRUE(e->color().isByColor());
    EXPECT_EQ(e->color().blue(), 3);
    EXPECT_EQ(e->setColorIndex(0), Acad::eOk);
    EXPECT_TRUE(e->color().isByBlock());
    EXPECT_EQ(e->setColorIndex(3), Acad::eOk);
    EXPECT_EQ(e->colorIndex(), 3);
    EXPECT_TRUE(e->color().isByACI());
    e->close();

    // Unset properties take the database's current values at the append.
    AcCmColor current;
    current.setColorIndex(4);
    db()->setCecolor(current);
    AcDbObjectId walls = makeLayer(db(), L"Walls");
    ASSERT_EQ(db()->setClayer(walls), Acad::eOk);
    AcDbObjectId second = append(new AcDbPoint());
    ASSERT_EQ(acdbOpenAcDbEntity(e, second, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(e->colorIndex(), 4);
    EXPECT_EQ(e->layerId(), walls);
    e->close();
}

TEST_F(DbTest, Highlighting)
{
    AcDbObjectId id = append(new AcDbLine());
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(e->highlight(), Acad::eOk);
    e->close();
    EXPECT_TRUE(standin::isHighlighted(id));
    EXPECT_EQ(e->highlight(), Acad::eNotOpenForRead);  // closed again

    ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(e->highlight(AcDbFullSubentPath(id, AcDb::kEdgeSubentType, 1)), Acad::eWrongSubentityType);
    EXPECT_EQ(e->unhighlight(kNullSubent), Acad::eOk);
    e->close();
    EXPECT_FALSE(standin::isHighlighted(id));

    AcDbLine loose;
    EXPECT_EQ(loose.highlight(), Acad::eNotInDatabase);
}

TEST_F(DbTest, FaceCorners)
{
    AcDbFace face;
    AcGePoint3d p(9, 9, 9);
    for (Adesk::UInt16 i = 0; i < 4; ++i) {
        EXPECT_EQ(face.getVertexAt(i, p), Acad::eOk);
        EXPECT_TRUE(p.isEqualTo(AcGePoint3d::kOrigin));
        Adesk::Boolean visible = false;
        EXPECT_EQ(face.isEdgeVisibleAt(i, visible), Acad::eOk);
        EXPECT_TRUE(visible);
    }
    EXPECT_EQ(face.setVertexAt(2, AcGePoint3d(1, 2, 3)), Acad::eOk);
    EXPECT_EQ(face.getVertexAt(2, p), Acad::eOk);
    EXPECT_TRUE(p.isEqualTo(AcGePoint3d(1, 2, 3)));
    EXPECT_EQ(face.setVertexAt(4, AcGePoint3d(1, 1, 1)), Acad::eInvalidIndex);
    EXPECT_EQ(face.getVertexAt(4, p), Acad::eInvalidIndex);
    EXPECT_EQ(face.makeEdgeInvisibleAt(3), Acad::eOk);
    Adesk::Boolean visible = true;
    face.isEdgeVisibleAt(3, visible);
    EXPECT_FALSE(visible);

    AcDbFace triangle(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(0, 1, 0));
    triangle.getVertexAt(3, p);
    EXPECT_TRUE(p.isEqualTo(AcGePoint3d(0, 1, 0)));

    AcDbLine line(AcGePoint3d(1, 2, 3), AcGePoint3d(4, 5, 6));
    EXPECT_TRUE(line.endPoint().isEqualTo(AcGePoint3d(4, 5, 6)));
    AcDbPoint point(AcGePoint3d(7, 8, 9));
    EXPECT_EQ(point.setPosition(AcGePoint3d(1, 1, 1)), Acad::eOk);
    EXPECT_TRUE(point.position().isEqualTo(AcGePoint3d(1, 1, 1)));
}

TEST(SubDMesh, DataIsValidated)
{
    AcGePoint3dArray v;
    for (int i = 0; i < 4; ++i)
        v.append(AcGePoint3d(i, i * i, 0));
    struct Case {
        std::vector<Adesk::Int32> faces;
        int level;
        Acad::ErrorStatus status;
        Adesk::Int32 faceCount;
    };
    const Case cases[] = {
        {{3, 0, 1, 2}, 0, Acad::eOk, 1},
        {{4, 0, 1, 2, 3, 3, 3, 2, 1}, 2, Acad::eOk, 2},
        {{5, 0, 1, 2, 3, 0}, 0, Acad::eOk, 1},  // corners may repeat
        {{}, 0, Acad::eOk, 0},
        {{3, 0, 1, 2}, -1, Acad::eInvalidInput, 0},
        {{3, 0, 1, 4}, 0, Acad::eInvalidInput, 0},   // index past the vertices
        {{3, 0, -1, 2}, 0, Acad::eInvalidInput, 0},  // negative index
        {{2, 0, 1}, 0, Acad::eInvalidInput, 0},      // fewer than three corners
        {{0}, 0, Acad::eInvalidInput, 0},
        {{-3, 0, 1, 2}, 0, Acad::eInvalidInput, 0},
        {{4, 0, 1, 2}, 0, Acad::eInvalidInput, 0},     // count past the end of the list
        {{3, 0, 1, 2, 3}, 0, Acad::eInvalidInput, 0},  // a trailing partial face
    };
    for (const Case& c : cases) {
        AcDbSubDMesh mesh;
        AcArray<Adesk::Int32> f;
        for (Adesk::Int32 x : c.faces)
            f.append(x);
        EXPECT_EQ(mesh.setSubDMesh(v, f, c.level), c.status) << testing::PrintToString(c.faces);
        Adesk::Int32 n = -1, nv = -1, level = -1;
        mesh.numOfFaces(n);
        mesh.numOfVertices(nv);
        mesh.subDLevel(level);
        EXPECT_EQ(n, c.faceCount);
        EXPECT_EQ(nv, c.status == Acad::eOk ? 4 : 0);  // refused data leaves the mesh empty
        EXPECT_EQ(level, c.status == Acad::eOk ? c.level : 0);
    }
}

TEST(SubDMesh, RefusedDataKeepsTheOldMesh)
{
    AcDbSubDMesh mesh;
    AcGePoint3dArray v = arrayOf({AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(0, 1, 0)});
    AcArray<Adesk::Int32> f = arrayOf<Adesk::Int32>({3, 0, 1, 2});
    ASSERT_EQ(mesh.setSubDMesh(v, f, 1), Acad::eOk);
    AcArray<Adesk::Int32> bad = arrayOf<Adesk::Int32>({3, 0, 1, 7});
    AcGePoint3dArray more = v;
    more.append(AcGePoint3d(5, 5, 5));
    EXPECT_EQ(mesh.setSubDMesh(more, bad, 0), Acad::eInvalidInput);
    AcGePoint3dArray gotV;
    AcArray<Adesk::Int32> gotF;
    mesh.getVertices(gotV);
    mesh.getFaceArray(gotF);
    EXPECT_EQ(gotV.length(), 3);
    EXPECT_EQ(gotF, f);
    Adesk::Int32 level = -1;
    mesh.subDLevel(level);
    EXPECT_EQ(level, 1);
}

TEST_F(DbTest, TheLayerNameOfAnEntityWithoutALayerIsABreach)
{
    expectViolations_ = true;
    AcDbLine line;
    EXPECT_EQ(take(line.layer()), L"");
    const std::vector<std::string> breaches = standin::protocolViolations();
    ASSERT_EQ(breaches.size(), 1u);
    EXPECT_NE(breaches[0].find("layer()"), std::string::npos);

    // Once it has a layer, even outside any database, the name is read.
    standin::clearProtocolViolations();
    ASSERT_EQ(line.setLayer(db()->layerZero()), Acad::eOk);
    EXPECT_EQ(take(line.layer()), L"0");
    EXPECT_TRUE(standin::protocolViolations().empty());
}

TEST_F(DbTest, PropertiesOfAGoneDatabaseAreNotUsed)
{
    AcDbLine* line = new AcDbLine();
    {
        AcDbDatabase other;
        ASSERT_EQ(line->setLayer(other.layerZero()), Acad::eOk);
    }
    EXPECT_EQ(take(line->layer()), L"");
    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(acdbOpenObject(space, modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(space->appendAcDbEntity(line), Acad::eWrongDatabase);
    space->close();
    delete line;
}
