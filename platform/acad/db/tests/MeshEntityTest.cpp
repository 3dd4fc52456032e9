// Polyface and polygon meshes, their subentities and iterators; 2D solids,
// block references and text.
#include <cmath>
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
    EXPECT_EQ(addFace(mesh, 1, -3, 4, 0), Acad::eOk);  // invisible edge
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
        {
            std::wstring w = o->isA()->name();
            classes.emplace_back(w.begin(), w.end());
        }
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
    EXPECT_EQ(classes,
              (std::vector<std::string>{"AcDbPolyFaceMeshVertex", "AcDbPolyFaceMeshVertex", "AcDbPolyFaceMeshVertex",
                                        "AcDbPolyFaceMeshVertex", "AcDbFaceRecord", "AcDbFaceRecord"}));
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

namespace {

constexpr double kPi = 3.14159265358979323846;

AcDbObjectId addBlock(AcDbDatabase* db, const ACHAR* name, const AcGePoint3d& base)
{
    AcDbBlockTable* table = nullptr;
    EXPECT_EQ(db->getBlockTable(table, AcDb::kForWrite), Acad::eOk);
    auto* block = new AcDbBlockTableRecord();
    EXPECT_EQ(block->setName(name), Acad::eOk);
    EXPECT_EQ(block->setOrigin(base), Acad::eOk);
    AcDbObjectId id;
    EXPECT_EQ(table->add(id, block), Acad::eOk);
    block->close();
    table->close();
    return id;
}

AcGePoint3d mapped(const AcDbBlockReference& ref, const AcGePoint3d& p)
{
    AcGePoint3d q = p;
    return q.transformBy(ref.blockTransform());
}

}  // namespace

// The block's base point lands on the position; the block is scaled, then
// turned about the normal in the normal's object coordinates.
TEST_F(DbTest, BlockReferencePlacesTheBasePointOnItsPosition)
{
    const AcDbObjectId seat = addBlock(db(), L"Seat", AcGePoint3d(1, 2, 3));
    AcDbBlockReference ref(AcGePoint3d(10, 20, 30), seat);
    EXPECT_EQ(ref.position(), AcGePoint3d(10, 20, 30));
    EXPECT_EQ(ref.scaleFactors(), AcGeScale3d(1, 1, 1));
    EXPECT_EQ(ref.rotation(), 0.0);
    EXPECT_EQ(ref.normal(), AcGeVector3d(0, 0, 1));
    EXPECT_TRUE(mapped(ref, AcGePoint3d(1, 2, 3)).isEqualTo(AcGePoint3d(10, 20, 30)));
    EXPECT_TRUE(mapped(ref, AcGePoint3d(2, 2, 3)).isEqualTo(AcGePoint3d(11, 20, 30)));

    // Scale (2, 3, 4), a quarter turn: block x runs along world y.
    ASSERT_EQ(ref.setScaleFactors(AcGeScale3d(2, 3, 4)), Acad::eOk);
    ASSERT_EQ(ref.setRotation(kPi / 2), Acad::eOk);
    EXPECT_TRUE(mapped(ref, AcGePoint3d(1, 2, 3)).isEqualTo(AcGePoint3d(10, 20, 30)));
    EXPECT_TRUE(mapped(ref, AcGePoint3d(2, 2, 3)).isEqualTo(AcGePoint3d(10, 22, 30)));
    EXPECT_TRUE(mapped(ref, AcGePoint3d(1, 3, 3)).isEqualTo(AcGePoint3d(7, 20, 30)));
    EXPECT_TRUE(mapped(ref, AcGePoint3d(1, 2, 4)).isEqualTo(AcGePoint3d(10, 20, 34)));

    // Normal +X: its object x axis is world y (the arbitrary-axis rule), its
    // y axis world z.
    ASSERT_EQ(ref.setRotation(0.0), Acad::eOk);
    ASSERT_EQ(ref.setScaleFactors(AcGeScale3d(1, 1, 1)), Acad::eOk);
    ASSERT_EQ(ref.setNormal(AcGeVector3d(5, 0, 0)), Acad::eOk);
    EXPECT_EQ(ref.normal(), AcGeVector3d(1, 0, 0));
    EXPECT_TRUE(mapped(ref, AcGePoint3d(2, 2, 3)).isEqualTo(AcGePoint3d(10, 21, 30)));
    EXPECT_TRUE(mapped(ref, AcGePoint3d(1, 3, 3)).isEqualTo(AcGePoint3d(10, 20, 31)));
    EXPECT_TRUE(mapped(ref, AcGePoint3d(1, 2, 4)).isEqualTo(AcGePoint3d(11, 20, 30)));

    // Moving the block's base point moves what the reference shows, not
    // where its base point lands.
    AcDbBlockTableRecord* block = nullptr;
    ASSERT_EQ(acdbOpenObject(block, seat, AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(block->setOrigin(AcGePoint3d(0, 0, 0)), Acad::eOk);
    block->close();
    EXPECT_TRUE(mapped(ref, AcGePoint3d(0, 0, 0)).isEqualTo(AcGePoint3d(10, 20, 30)));

    // Refused, nothing changed.
    EXPECT_EQ(ref.setScaleFactors(AcGeScale3d(1, 0, 1)), Acad::eInvalidInput);
    EXPECT_EQ(ref.setScaleFactors(AcGeScale3d(1, std::nan(""), 1)), Acad::eInvalidInput);
    EXPECT_EQ(ref.setNormal(AcGeVector3d(0, 0, 0)), Acad::eInvalidInput);
    EXPECT_EQ(ref.setRotation(std::nan("")), Acad::eInvalidInput);
    EXPECT_EQ(ref.scaleFactors(), AcGeScale3d(1, 1, 1));
    EXPECT_EQ(ref.normal(), AcGeVector3d(1, 0, 0));
    EXPECT_EQ(ref.rotation(), 0.0);
}

// A transform is taken apart into position, scales, rotation and normal and
// gives back the same transform; a mirror is a negative z scale; a shear
// cannot be held.
TEST_F(DbTest, BlockReferenceTakesItsStateFromATransform)
{
    const AcDbObjectId seat = addBlock(db(), L"Seat", AcGePoint3d(1, 2, 3));
    AcDbBlockReference model(AcGePoint3d(4, -5, 6), seat);
    ASSERT_EQ(model.setNormal(AcGeVector3d(0, 0.6, 0.8)), Acad::eOk);
    ASSERT_EQ(model.setScaleFactors(AcGeScale3d(2, 0.5, 3)), Acad::eOk);
    ASSERT_EQ(model.setRotation(0.7), Acad::eOk);
    const AcGeMatrix3d m = model.blockTransform();

    AcDbBlockReference copy(AcGePoint3d(0, 0, 0), seat);
    ASSERT_EQ(copy.setBlockTransform(m), Acad::eOk);
    EXPECT_TRUE(copy.position().isEqualTo(AcGePoint3d(4, -5, 6)));
    EXPECT_TRUE(copy.normal().isEqualTo(AcGeVector3d(0, 0.6, 0.8)));
    EXPECT_NEAR(copy.rotation(), 0.7, 1e-12);
    EXPECT_TRUE(copy.scaleFactors().isEqualTo(AcGeScale3d(2, 0.5, 3)));

    // A mirror in the world XY plane.
    AcGeMatrix3d mirror;
    mirror.entry[2][2] = -1.0;
    ASSERT_EQ(copy.transformBy(mirror), Acad::eOk);
    EXPECT_TRUE(copy.position().isEqualTo(AcGePoint3d(4, -5, -6)));
    EXPECT_LT(copy.scaleFactors().sz, 0.0);
    for (const AcGePoint3d& p : {AcGePoint3d(1, 2, 3), AcGePoint3d(2, 0, 1), AcGePoint3d(-3, 5, 2)}) {
        AcGePoint3d expected = mapped(model, p);
        expected.z = -expected.z;
        EXPECT_TRUE(mapped(copy, p).isEqualTo(expected)) << p.x;
    }

    // Stretching world x shears a turned block: refused, nothing changed.
    AcGeMatrix3d stretch;
    stretch.entry[0][0] = 2.0;
    const AcGeMatrix3d before = copy.blockTransform();
    EXPECT_EQ(copy.transformBy(stretch), Acad::eCannotScaleNonUniformly);
    EXPECT_EQ(copy.blockTransform(), before);
    AcGeMatrix3d flat;
    flat.entry[2][2] = 0.0;
    EXPECT_EQ(copy.setBlockTransform(flat), Acad::eInvalidInput);
    EXPECT_EQ(copy.blockTransform(), before);
}
