// Polyface and polygon meshes, their subentities and iterators; 2D solids,
// block references and text.
#include <string>
#include <vector>

#include "DbTest.h"

namespace {

// A resident polyface mesh, open for write.
AcDbPolyFaceMesh* newResidentMesh(DbTest&, AcDbDatabase* db, AcDbObjectId& id)
{
    AcDbBlockTable* table = nullptr;
    EXPECT_EQ(db->getBlockTable(table, AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecord* space = nullptr;
    EXPECT_EQ(table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite), Acad::eOk);
    table->close();
    auto* mesh = new AcDbPolyFaceMesh();
    EXPECT_EQ(space->appendAcDbEntity(id, mesh), Acad::eOk);
    space->close();
    return mesh;
}

Acad::ErrorStatus addVertex(AcDbPolyFaceMesh* mesh, const AcGePoint3d& p)
{
    auto* v = new AcDbPolyFaceMeshVertex(p);
    Acad::ErrorStatus es = mesh->appendVertex(v);
    if (es == Acad::eOk)
        v->close();
    else
        delete v;
    return es;
}

Acad::ErrorStatus addFace(AcDbPolyFaceMesh* mesh, Adesk::Int16 a, Adesk::Int16 b, Adesk::Int16 c, Adesk::Int16 d)
{
    auto* f = new AcDbFaceRecord(a, b, c, d);
    Acad::ErrorStatus es = mesh->appendFaceRecord(f);
    if (es == Acad::eOk)
        f->close();
    else
        delete f;
    return es;
}

}  // namespace

TEST_F(DbTest, PolyFaceMeshTakesVerticesThenFacesOnlyWhenResident)
{
    AcDbPolyFaceMesh loose;
    auto* v = new AcDbPolyFaceMeshVertex(AcGePoint3d(1, 2, 3));
    EXPECT_EQ(loose.appendVertex(v), Acad::eNoDatabase);
    auto* f = new AcDbFaceRecord();
    EXPECT_EQ(loose.appendFaceRecord(f), Acad::eNoDatabase);
    delete v;
    delete f;

    AcDbObjectId id;
    AcDbPolyFaceMesh* mesh = newResidentMesh(*this, db(), id);
    for (int i = 0; i < 4; ++i)
        ASSERT_EQ(addVertex(mesh, AcGePoint3d(i, i * i, 0)), Acad::eOk);
    EXPECT_EQ(addFace(mesh, 1, 2, 3, 0), Acad::eOk);
    EXPECT_EQ(addFace(mesh, 1, -3, 4, 0), Acad::eOk);   // invisible edge
    EXPECT_EQ(addFace(mesh, 1, 2, 5, 0), Acad::eInvalidMeshVertexIndex);
    EXPECT_EQ(addFace(mesh, -5, 1, 2, 0), Acad::eInvalidMeshVertexIndex);
    EXPECT_EQ(addVertex(mesh, AcGePoint3d(9, 9, 9)), Acad::eVertexAfterFace);
    EXPECT_EQ(mesh->numVertices(), 4);
    EXPECT_EQ(mesh->numFaces(), 2);
    mesh->close();

    // The iterator yields the vertices, then the face records; each opens by its id.
    AcDbPolyFaceMesh* m = nullptr;
    ASSERT_EQ(acdbOpenObject(m, id, AcDb::kForRead), Acad::eOk);
    AcDbObjectIterator* it = m->vertexIterator();
    std::vector<std::string> classes;
    std::vector<Adesk::Int16> second;
    for (; !it->done(); it->step()) {
        AcDbObject* o = nullptr;
        ASSERT_EQ(acdbOpenAcDbObject(o, it->objectId(), AcDb::kForRead), Acad::eOk);
        { std::wstring w = o->isA()->name(); classes.emplace_back(w.begin(), w.end()); }
        if (auto* rec = AcDbFaceRecord::cast(o)) {
            Adesk::Int16 k = 0;
            for (Adesk::UInt16 c = 0; c < 4; ++c) {
                ASSERT_EQ(rec->getVertexAt(c, k), Acad::eOk);
                second.push_back(k);
            }
        }
        EXPECT_EQ(o->ownerId(), id);
        o->close();
    }
    delete it;
    m->close();
    EXPECT_EQ(classes, (std::vector<std::string>{"AcDbPolyFaceMeshVertex", "AcDbPolyFaceMeshVertex",
                                                 "AcDbPolyFaceMeshVertex", "AcDbPolyFaceMeshVertex",
                                                 "AcDbFaceRecord", "AcDbFaceRecord"}));
    EXPECT_EQ(second, (std::vector<Adesk::Int16>{1, 2, 3, 0, 1, -3, 4, 0}));
}

TEST_F(DbTest, VertexIteratorSkipsErasedSubentities)
{
    AcDbObjectId id;
    AcDbPolyFaceMesh* mesh = newResidentMesh(*this, db(), id);
    std::vector<AcDbObjectId> ids;
    for (int i = 0; i < 3; ++i) {
        auto* v = new AcDbPolyFaceMeshVertex(AcGePoint3d(i, 0, 0));
        AcDbObjectId vid;
        ASSERT_EQ(mesh->appendVertex(vid, v), Acad::eOk);
        if (i == 1) {
            EXPECT_EQ(v->erase(), Acad::eOk);
        }
        v->close();
        ids.push_back(vid);
    }
    EXPECT_EQ(mesh->numVertices(), 2);
    AcDbObjectIterator* it = mesh->vertexIterator();
    std::vector<AcDbObjectId> seen;
    for (; !it->done(); it->step())
        seen.push_back(it->objectId());
    EXPECT_EQ(seen, (std::vector<AcDbObjectId>{ids[0], ids[2]}));
    // Asked to, the walk shows the erased one too.
    seen.clear();
    for (it->start(); !it->done(); it->step(false, false))
        seen.push_back(it->objectId());
    EXPECT_EQ(seen, ids);
    delete it;
    mesh->close();
}

TEST_F(DbTest, FaceRecordIndicesAndEdgeVisibility)
{
    AcDbFaceRecord rec(1, 2, 3, 4, true, false, true, false);
    Adesk::Int16 k = 0;
    const Adesk::Int16 expected[4] = {1, -2, 3, -4};
    for (Adesk::UInt16 i = 0; i < 4; ++i) {
        ASSERT_EQ(rec.getVertexAt(i, k), Acad::eOk);
        EXPECT_EQ(k, expected[i]);
    }
    EXPECT_EQ(rec.getVertexAt(4, k), Acad::eInvalidIndex);
    EXPECT_EQ(rec.setVertexAt(0, -32767), Acad::eOk);
    Adesk::Boolean visible = true;
    EXPECT_EQ(rec.isEdgeVisibleAt(0, visible), Acad::eOk);
    EXPECT_FALSE(visible);
    EXPECT_EQ(rec.makeEdgeVisibleAt(0), Acad::eOk);
    EXPECT_EQ(rec.getVertexAt(0, k), Acad::eOk);
    EXPECT_EQ(k, 32767);
    AcDbFaceRecord empty;
    for (Adesk::UInt16 i = 0; i < 4; ++i) {
        empty.getVertexAt(i, k);
        EXPECT_EQ(k, 0);
    }
}

TEST_F(DbTest, PolyFaceMeshStopsAtTheLargestIndexAFaceRecordHolds)
{
    AcDbObjectId id;
    AcDbPolyFaceMesh* mesh = newResidentMesh(*this, db(), id);
    for (int i = 0; i < 32767; ++i)
        ASSERT_EQ(addVertex(mesh, AcGePoint3d(i, 0, 0)), Acad::eOk);
    EXPECT_EQ(addVertex(mesh, AcGePoint3d()), Acad::eTooManyVertices);
    EXPECT_EQ(mesh->numVertices(), 32767);
    EXPECT_EQ(addFace(mesh, 32767, 1, 2, 0), Acad::eOk);
    mesh->close();
}

TEST_F(DbTest, PolygonMeshKeepsItsGridAndTakesItsVerticesAlong)
{
    AcGePoint3dArray pts;
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            pts.append(AcGePoint3d(c, r, r * c));
    auto* mesh = new AcDbPolygonMesh(AcDb::kSimpleMesh, 2, 3, pts, false, true);
    EXPECT_EQ(mesh->mSize(), 2);
    EXPECT_EQ(mesh->nSize(), 3);
    EXPECT_FALSE(mesh->isMClosed());
    EXPECT_TRUE(mesh->isNClosed());
    AcDbObjectId id = append(mesh);

    AcDbPolygonMesh* m = nullptr;
    ASSERT_EQ(acdbOpenObject(m, id, AcDb::kForRead), Acad::eOk);
    AcDbObjectIterator* it = m->vertexIterator();
    int k = 0;
    for (; !it->done(); it->step(), ++k) {
        AcDbPolygonMeshVertex* v = nullptr;
        ASSERT_EQ(acdbOpenObject(v, it->objectId(), AcDb::kForRead), Acad::eOk);
        EXPECT_EQ(v->position(), pts[k]);
        EXPECT_EQ(v->ownerId(), id);
        v->close();
    }
    delete it;
    EXPECT_EQ(k, 6);
    // Open in N: each of the one row of cells has three quads (the closing one included).
    AcDbVoidPtrArray pieces;
    ASSERT_EQ(m->explode(pieces), Acad::eOk);
    EXPECT_EQ(pieces.length(), 3);
    for (void* p : pieces) {
        EXPECT_STREQ(static_cast<AcDbEntity*>(p)->isA()->name(), L"AcDbFace");
        EXPECT_EQ(static_cast<AcDbEntity*>(p)->database(), nullptr);
        delete static_cast<AcDbEntity*>(p);
    }
    m->close();
}

TEST_F(DbTest, PolygonMeshKeepsAVertexListThatDoesNotFillItsGrid)
{
    AcGePoint3dArray pts;
    for (int i = 0; i < 7; ++i)
        pts.append(AcGePoint3d(i, 0, 0));
    AcDbPolygonMesh mesh(AcDb::kSimpleMesh, 2, 2, pts);
    AcDbObjectIterator* it = mesh.vertexIterator();
    int n = 0;
    for (; !it->done(); it->step())
        ++n;
    delete it;
    EXPECT_EQ(n, 7);
    AcDbVoidPtrArray pieces;
    EXPECT_EQ(mesh.explode(pieces), Acad::eNotApplicable);
    EXPECT_EQ(pieces.length(), 0);
}

TEST_F(DbTest, SolidCornersAndBlockReference)
{
    AcDbSolid solid(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(0, 1, 0));
    AcGePoint3d p;
    EXPECT_EQ(solid.getPointAt(3, p), Acad::eOk);
    EXPECT_EQ(p, AcGePoint3d(0, 1, 0));  // a triangle repeats corner 2
    EXPECT_EQ(solid.setPointAt(3, AcGePoint3d(1, 1, 0)), Acad::eOk);
    EXPECT_EQ(solid.getPointAt(3, p), Acad::eOk);
    EXPECT_EQ(p, AcGePoint3d(1, 1, 0));
    EXPECT_EQ(solid.getPointAt(4, p), Acad::eInvalidIndex);
    EXPECT_EQ(solid.setPointAt(4, p), Acad::eInvalidIndex);
    EXPECT_STREQ(solid.isA()->name(), L"AcDbSolid");

    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(db()->getBlockTable(table, AcDb::kForWrite), Acad::eOk);
    auto* block = new AcDbBlockTableRecord();
    ASSERT_EQ(block->setName(L"Chair"), Acad::eOk);
    AcDbObjectId blockId;
    ASSERT_EQ(table->add(blockId, block), Acad::eOk);
    block->close();
    table->close();
    AcDbBlockReference ref(AcGePoint3d(5, 6, 7), blockId);
    EXPECT_EQ(ref.blockTableRecord(), blockId);
    AcGeMatrix3d x = ref.blockTransform();
    EXPECT_DOUBLE_EQ(x.entry[0][3], 5.0);
    EXPECT_DOUBLE_EQ(x.entry[1][3], 6.0);
    EXPECT_DOUBLE_EQ(x.entry[2][3], 7.0);
    EXPECT_EQ(ref.setBlockTableRecord(db()->layerZero()), Acad::eInvalidInput);
    EXPECT_EQ(ref.blockTableRecord(), blockId);

    AcDbText text(AcGePoint3d(1, 1, 0), L"Kolvane");
    EXPECT_STREQ(text.textStringConst(), L"Kolvane");
    EXPECT_DOUBLE_EQ(text.height(), 0.2);
    EXPECT_STREQ(text.isA()->name(), L"AcDbText");
}
