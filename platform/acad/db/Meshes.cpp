// The mesh entities and their subentities, the 2D solid, the block reference
// and single-line text.
#include <cmath>
#include <cstdlib>
#include <cwchar>

#include "MeshInternal.h"
#include "dbsymtb.h"
#include "standin/AcDbShapeModel.h"

using namespace acdbimpl;
using Impl = AcDbDatabase::Impl;

// ---- vertices

ACRX_DXF_DEFINE_MEMBERS(AcDbPolyFaceMeshVertex, AcDbVertex, AcDb::kDHL_CURRENT, 0, 0, VERTEX, ACDB)
AcDbPolyFaceMeshVertex::AcDbPolyFaceMeshVertex() = default;
AcDbPolyFaceMeshVertex::AcDbPolyFaceMeshVertex(const AcGePoint3d& position) : mPosition(position) {}
AcDbPolyFaceMeshVertex::~AcDbPolyFaceMeshVertex() = default;

Acad::ErrorStatus AcDbPolyFaceMeshVertex::setPosition(const AcGePoint3d& position)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        mPosition = position;
    return es;
}

Acad::ErrorStatus AcDbPolyFaceMeshVertex::transformBy(const AcGeMatrix3d& xform)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        mPosition.transformBy(xform);
    return es;
}

ACRX_DXF_DEFINE_MEMBERS(AcDbPolygonMeshVertex, AcDbVertex, AcDb::kDHL_CURRENT, 0, 0, VERTEX, ACDB)
AcDbPolygonMeshVertex::AcDbPolygonMeshVertex() = default;
AcDbPolygonMeshVertex::AcDbPolygonMeshVertex(const AcGePoint3d& position) : mPosition(position) {}
AcDbPolygonMeshVertex::~AcDbPolygonMeshVertex() = default;

Acad::ErrorStatus AcDbPolygonMeshVertex::setPosition(const AcGePoint3d& position)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        mPosition = position;
    return es;
}

Acad::ErrorStatus AcDbPolygonMeshVertex::transformBy(const AcGeMatrix3d& xform)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        mPosition.transformBy(xform);
    return es;
}

ACRX_DXF_DEFINE_MEMBERS(AcDbFaceRecord, AcDbVertex, AcDb::kDHL_CURRENT, 0, 0, VERTEX, ACDB)
AcDbFaceRecord::AcDbFaceRecord() = default;

AcDbFaceRecord::AcDbFaceRecord(Adesk::Int16 vtx0, Adesk::Int16 vtx1, Adesk::Int16 vtx2, Adesk::Int16 vtx3,
                               Adesk::Boolean e0vis, Adesk::Boolean e1vis, Adesk::Boolean e2vis,
                               Adesk::Boolean e3vis)
    : mIndices{vtx0, vtx1, vtx2, vtx3}
{
    const Adesk::Boolean visible[4] = {e0vis, e1vis, e2vis, e3vis};
    // The indices are kept as given; a false flag makes that edge invisible.
    for (int i = 0; i < 4; ++i)
        if (!visible[i])
            mIndices[i] = static_cast<Adesk::Int16>(-std::abs(mIndices[i]));
}

AcDbFaceRecord::~AcDbFaceRecord() = default;

Acad::ErrorStatus AcDbFaceRecord::getVertexAt(Adesk::UInt16 faceIdx, Adesk::Int16& vtxIdx) const
{
    if (faceIdx > 3)
        return Acad::eInvalidIndex;
    vtxIdx = mIndices[faceIdx];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFaceRecord::setVertexAt(Adesk::UInt16 faceIdx, Adesk::Int16 vtxIdx)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (faceIdx > 3)
        return Acad::eInvalidIndex;
    mIndices[faceIdx] = vtxIdx;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFaceRecord::isEdgeVisibleAt(Adesk::UInt16 faceIdx, Adesk::Boolean& visible) const
{
    if (faceIdx > 3)
        return Acad::eInvalidIndex;
    visible = mIndices[faceIdx] >= 0;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFaceRecord::makeEdgeVisibleAt(Adesk::UInt16 faceIdx)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (faceIdx > 3)
        return Acad::eInvalidIndex;
    mIndices[faceIdx] = static_cast<Adesk::Int16>(std::abs(mIndices[faceIdx]));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFaceRecord::makeEdgeInvisibleAt(Adesk::UInt16 faceIdx)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (faceIdx > 3)
        return Acad::eInvalidIndex;
    mIndices[faceIdx] = static_cast<Adesk::Int16>(-std::abs(mIndices[faceIdx]));
    return Acad::eOk;
}

// ---- subentity helpers

namespace {

constexpr size_t kMaxSubentities = 32767;

// The live subentities of an owner that are of class T, in order.
template <class T>
std::vector<const T*> live(const standin::SubentityOwner* owner)
{
    std::vector<const T*> out;
    for (const AcDbObject* o : owner->subentities())
        if (!o->isErased() && o->isKindOf(T::desc()))
            out.push_back(static_cast<const T*>(o));
    return out;
}

Acad::ErrorStatus openSubentity(const standin::SubentityOwner* owner, AcDbVertex*& vertex, AcDbObjectId id,
                                AcDb::OpenMode mode, bool openErased)
{
    vertex = nullptr;
    if (id.isNull())
        return Acad::eNullObjectId;
    bool found = false;
    for (const AcDbObject* o : owner->subentities())
        found = found || o->objectId() == id;
    if (!found)
        return Acad::eInvalidInput;
    AcDbEntity* e = nullptr;
    Acad::ErrorStatus es = acdbOpenAcDbEntity(e, id, mode, openErased);
    if (es == Acad::eOk)
        vertex = static_cast<AcDbVertex*>(e);
    return es;
}

AcGePoint3d faceCorner(const std::vector<const AcDbPolyFaceMeshVertex*>& vertices, Adesk::Int16 index)
{
    size_t k = static_cast<size_t>(std::abs(index));
    return (k >= 1 && k <= vertices.size()) ? vertices[k - 1]->position() : AcGePoint3d();
}

}  // namespace

// ---- AcDbPolyFaceMesh

ACRX_DXF_DEFINE_MEMBERS(AcDbPolyFaceMesh, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, POLYLINE, ACDB)

AcDbPolyFaceMesh::AcDbPolyFaceMesh() = default;
AcDbPolyFaceMesh::~AcDbPolyFaceMesh() { releaseSubentities(this); }

Adesk::Int16 AcDbPolyFaceMesh::numVertices() const
{
    return static_cast<Adesk::Int16>(live<AcDbPolyFaceMeshVertex>(this).size());
}

Adesk::Int16 AcDbPolyFaceMesh::numFaces() const
{
    return static_cast<Adesk::Int16>(live<AcDbFaceRecord>(this).size());
}

Acad::ErrorStatus AcDbPolyFaceMesh::appendVertex(AcDbPolyFaceMeshVertex* vertex)
{
    AcDbObjectId id;
    return appendVertex(id, vertex);
}

Acad::ErrorStatus AcDbPolyFaceMesh::appendVertex(AcDbObjectId& objId, AcDbPolyFaceMeshVertex* vertex)
{
    if (vertex == nullptr)
        return Acad::eNullEntityPointer;
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (implOf(this) == nullptr)
        return Acad::eNoDatabase;
    if (Impl::stubOf(vertex) != nullptr)
        return Acad::eAlreadyInDb;
    if (subentities().size() > mVertexCount)
        return Acad::eVertexAfterFace;
    if (mVertexCount >= kMaxSubentities)
        return Acad::eTooManyVertices;
    Acad::ErrorStatus es = adopt(this, objId, vertex);
    if (es == Acad::eOk)
        ++mVertexCount;
    return es;
}

Acad::ErrorStatus AcDbPolyFaceMesh::appendFaceRecord(AcDbFaceRecord* face)
{
    AcDbObjectId id;
    return appendFaceRecord(id, face);
}

Acad::ErrorStatus AcDbPolyFaceMesh::appendFaceRecord(AcDbObjectId& objId, AcDbFaceRecord* face)
{
    if (face == nullptr)
        return Acad::eNullEntityPointer;
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (implOf(this) == nullptr)
        return Acad::eNoDatabase;
    if (Impl::stubOf(face) != nullptr)
        return Acad::eAlreadyInDb;
    // The vertices appended (counted as they come, so that filling a mesh
    // stays linear); erased ones still count.
    const int held = static_cast<int>(mVertexCount);
    for (Adesk::UInt16 i = 0; i < 4; ++i) {
        Adesk::Int16 v = 0;
        face->getVertexAt(i, v);
        if (std::abs(static_cast<int>(v)) > held)
            return Acad::eInvalidMeshVertexIndex;
    }
    if (subentities().size() - mVertexCount >= kMaxSubentities)
        return Acad::eOutOfRange;
    return adopt(this, objId, face);
}

Acad::ErrorStatus AcDbPolyFaceMesh::openVertex(AcDbVertex*& vertex, AcDbObjectId subObjId, AcDb::OpenMode mode,
                                               bool openErasedOne) const
{
    return openSubentity(this, vertex, subObjId, mode, openErasedOne);
}

AcDbObjectIterator* AcDbPolyFaceMesh::vertexIterator() const { return new AcDbObjectIterator(this); }

Acad::ErrorStatus AcDbPolyFaceMesh::explode(AcDbVoidPtrArray& entitySet) const
{
    if (!isReadEnabled())
        return Acad::eNotOpenForRead;
    std::vector<const AcDbPolyFaceMeshVertex*> vertices = live<AcDbPolyFaceMeshVertex>(this);
    for (const AcDbFaceRecord* f : live<AcDbFaceRecord>(this)) {
        Adesk::Int16 idx[4];
        for (Adesk::UInt16 i = 0; i < 4; ++i)
            f->getVertexAt(i, idx[i]);
        AcGePoint3d p[4];
        for (int i = 0; i < 4; ++i)
            p[i] = faceCorner(vertices, idx[i]);
        if (idx[3] == 0)
            p[3] = p[2];
        entitySet.append(new AcDbFace(p[0], p[1], p[2], p[3], idx[0] >= 0, idx[1] >= 0, idx[2] >= 0,
                                      idx[3] == 0 ? idx[2] >= 0 : idx[3] >= 0));
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyFaceMesh::transformBy(const AcGeMatrix3d& xform)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    for (AcDbObject* o : subentities())
        if (auto* v = AcDbPolyFaceMeshVertex::cast(o))
            AcDbMeshAccess::position(v).transformBy(xform);
    return es;
}

// ---- AcDbPolygonMesh

ACRX_DXF_DEFINE_MEMBERS(AcDbPolygonMesh, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, POLYLINE, ACDB)

AcDbPolygonMesh::AcDbPolygonMesh() = default;

AcDbPolygonMesh::AcDbPolygonMesh(AcDb::PolyMeshType pType, Adesk::Int16 mSize, Adesk::Int16 nSize,
                                 const AcGePoint3dArray& vertexArray, Adesk::Boolean mClose, Adesk::Boolean nClose)
    : mType(pType), mM(mSize), mN(nSize), mMClosed(mClose), mNClosed(nClose)
{
    for (const AcGePoint3d& p : vertexArray) {
        AcDbObjectId id;
        auto* v = new AcDbPolygonMeshVertex(p);
        adopt(this, id, v);
        v->close();  // kept, closed, until the mesh is resident
    }
}

AcDbPolygonMesh::~AcDbPolygonMesh() { releaseSubentities(this); }

#define KV_MESH_SETTER(NAME, MEMBER, VALUE) \
    Acad::ErrorStatus es = checkWritable(); \
    if (es == Acad::eOk)                    \
        MEMBER = VALUE;                     \
    return es;

Acad::ErrorStatus AcDbPolygonMesh::setPolyMeshType(AcDb::PolyMeshType type) { KV_MESH_SETTER(type, mType, type) }
Acad::ErrorStatus AcDbPolygonMesh::setMSize(Adesk::Int16 size) { KV_MESH_SETTER(m, mM, size) }
Acad::ErrorStatus AcDbPolygonMesh::setNSize(Adesk::Int16 size) { KV_MESH_SETTER(n, mN, size) }
Acad::ErrorStatus AcDbPolygonMesh::makeMClosed() { KV_MESH_SETTER(mc, mMClosed, true) }
Acad::ErrorStatus AcDbPolygonMesh::makeMOpen() { KV_MESH_SETTER(mo, mMClosed, false) }
Acad::ErrorStatus AcDbPolygonMesh::makeNClosed() { KV_MESH_SETTER(nc, mNClosed, true) }
Acad::ErrorStatus AcDbPolygonMesh::makeNOpen() { KV_MESH_SETTER(no, mNClosed, false) }

Acad::ErrorStatus AcDbPolygonMesh::appendVertex(AcDbPolygonMeshVertex* vertex)
{
    AcDbObjectId id;
    return appendVertex(id, vertex);
}

Acad::ErrorStatus AcDbPolygonMesh::appendVertex(AcDbObjectId& objId, AcDbPolygonMeshVertex* vertex)
{
    if (vertex == nullptr)
        return Acad::eNullEntityPointer;
    return adopt(this, objId, vertex);
}

Acad::ErrorStatus AcDbPolygonMesh::openVertex(AcDbVertex*& vertex, AcDbObjectId vertId, AcDb::OpenMode mode,
                                              bool openErasedOne) const
{
    return openSubentity(this, vertex, vertId, mode, openErasedOne);
}

AcDbObjectIterator* AcDbPolygonMesh::vertexIterator() const { return new AcDbObjectIterator(this); }

Acad::ErrorStatus AcDbPolygonMesh::explode(AcDbVoidPtrArray& entitySet) const
{
    if (!isReadEnabled())
        return Acad::eNotOpenForRead;
    std::vector<AcGePoint3d> grid;
    for (const AcDbPolygonMeshVertex* v : live<AcDbPolygonMeshVertex>(this))
        grid.push_back(v->position());
    const int m = mM, n = mN;
    if (m < 2 || n < 2 || grid.size() != static_cast<size_t>(m) * static_cast<size_t>(n))
        return Acad::eNotApplicable;
    const int rows = mMClosed ? m : m - 1;
    const int cols = mNClosed ? n : n - 1;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            int r1 = (r + 1) % m, c1 = (c + 1) % n;
            entitySet.append(new AcDbFace(grid[static_cast<size_t>(r * n + c)], grid[static_cast<size_t>(r * n + c1)],
                                          grid[static_cast<size_t>(r1 * n + c1)],
                                          grid[static_cast<size_t>(r1 * n + c)]));
        }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolygonMesh::transformBy(const AcGeMatrix3d& xform)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    for (AcDbObject* o : subentities())
        if (auto* v = AcDbPolygonMeshVertex::cast(o))
            AcDbMeshAccess::position(v).transformBy(xform);
    return es;
}

// ---- AcDbSolid

ACRX_DXF_DEFINE_MEMBERS(AcDbSolid, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, SOLID, ACDB)

AcDbSolid::AcDbSolid() = default;
AcDbSolid::AcDbSolid(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2, const AcGePoint3d& pt3)
    : mCorners{pt0, pt1, pt2, pt3}
{
}
AcDbSolid::AcDbSolid(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2)
    : mCorners{pt0, pt1, pt2, pt2}
{
}
AcDbSolid::~AcDbSolid() = default;

Acad::ErrorStatus AcDbSolid::getPointAt(Adesk::UInt16 idx, AcGePoint3d& pntRes) const
{
    if (idx > 3)
        return Acad::eInvalidIndex;
    pntRes = mCorners[idx];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSolid::setPointAt(Adesk::UInt16 idx, const AcGePoint3d& pntVal)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (idx > 3)
        return Acad::eInvalidIndex;
    mCorners[idx] = pntVal;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSolid::setThickness(double thickness) { KV_MESH_SETTER(t, mThickness, thickness) }

Acad::ErrorStatus AcDbSolid::setNormal(const AcGeVector3d& normal)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (normal.isZeroLength())
        return Acad::eInvalidInput;
    mNormal = normal.normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSolid::transformBy(const AcGeMatrix3d& xform)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    for (AcGePoint3d& p : mCorners)
        p.transformBy(xform);
    return Acad::eOk;
}

// ---- AcDbBlockReference

ACRX_DXF_DEFINE_MEMBERS(AcDbBlockReference, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, INSERT, ACDB)

AcDbBlockReference::AcDbBlockReference() = default;
AcDbBlockReference::AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRec)
    : mBlock(blockTableRec), mPosition(position)
{
}
AcDbBlockReference::~AcDbBlockReference() = default;

Acad::ErrorStatus AcDbBlockReference::setBlockTableRecord(AcDbObjectId blockTableRec)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (!blockTableRec.isNull()) {
        AcDbStub* s = checkedStub(blockTableRec);
        if (s == nullptr || s->mpObject == nullptr || !s->mpObject->isKindOf(AcDbBlockTableRecord::desc()))
            return Acad::eInvalidInput;
    }
    mBlock = blockTableRec;
    return Acad::eOk;
}

namespace {

bool finitePoint(const AcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }
bool finiteVector(const AcGeVector3d& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

}  // namespace

Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& position)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk && !finitePoint(position))
        es = Acad::eInvalidInput;
    if (es == Acad::eOk)
        mPosition = position;
    return es;
}

Acad::ErrorStatus AcDbBlockReference::setScaleFactors(const AcGeScale3d& scale)
{
    Acad::ErrorStatus es = checkWritable();
    for (unsigned int i = 0; i < 3 && es == Acad::eOk; ++i)
        if (!std::isfinite(scale[i]) || scale[i] == 0.0)
            es = Acad::eInvalidInput;
    if (es == Acad::eOk)
        mScale = scale;
    return es;
}

Acad::ErrorStatus AcDbBlockReference::setRotation(double rotation)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk && !std::isfinite(rotation))
        es = Acad::eInvalidInput;
    if (es == Acad::eOk)
        mRotation = rotation;
    return es;
}

Acad::ErrorStatus AcDbBlockReference::setNormal(const AcGeVector3d& normal)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk && (!finiteVector(normal) || normal.isZeroLength()))
        es = Acad::eInvalidInput;
    if (es == Acad::eOk)
        mNormal = normal.normal();
    return es;
}

AcGePoint3d AcDbBlockReference::basePoint() const
{
    if (AcDbStub* s = mBlock.isNull() ? nullptr : checkedStub(mBlock))
        if (s->mpObject != nullptr && s->mpObject->isKindOf(AcDbBlockTableRecord::desc()))
            return static_cast<const AcDbBlockTableRecord*>(s->mpObject)->origin();
    return AcGePoint3d();
}

AcGeMatrix3d AcDbBlockReference::blockTransform() const
{
    const AcGePoint3d base = basePoint();
    const AcGeVector3d ax = standin::arbitraryXAxis(mNormal);
    const AcGeVector3d ay = mNormal.crossProduct(ax);
    const double c = std::cos(mRotation), s = std::sin(mRotation);
    const AcGeVector3d columns[3] = {(ax * c + ay * s) * mScale.sx, (ay * c - ax * s) * mScale.sy,
                                     mNormal * mScale.sz};
    AcGeMatrix3d m;
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row)
            m.entry[row][col] = columns[col][static_cast<unsigned int>(row)];
    const AcGeVector3d moved = columns[0] * base.x + columns[1] * base.y + columns[2] * base.z;
    for (int row = 0; row < 3; ++row)
        m.entry[row][3] = mPosition[static_cast<unsigned int>(row)] - moved[static_cast<unsigned int>(row)];
    return m;
}

Acad::ErrorStatus AcDbBlockReference::setBlockTransform(const AcGeMatrix3d& xform)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            if (!std::isfinite(xform.entry[row][col]))
                return Acad::eInvalidInput;
    if (xform.entry[3][0] != 0.0 || xform.entry[3][1] != 0.0 || xform.entry[3][2] != 0.0 || xform.entry[3][3] != 1.0)
        return Acad::eInvalidInput;
    AcGeVector3d c[3];
    for (int col = 0; col < 3; ++col)
        c[col] = AcGeVector3d(xform.entry[0][col], xform.entry[1][col], xform.entry[2][col]);
    const double len[3] = {c[0].length(), c[1].length(), c[2].length()};
    for (double l : len)
        if (!(l > 0.0) || !std::isfinite(l))
            return Acad::eInvalidInput;
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j)
            if (std::fabs(c[i].dotProduct(c[j])) > 1e-9 * len[i] * len[j])
                return Acad::eCannotScaleNonUniformly;
    AcGeVector3d normal = c[2] / len[2];
    double sz = len[2];
    if (c[0].crossProduct(c[1]).dotProduct(c[2]) < 0.0) {  // a mirror: a negative z scale
        normal = -normal;
        sz = -sz;
    }
    const AcGeVector3d ax = standin::arbitraryXAxis(normal);
    const AcGeVector3d ay = normal.crossProduct(ax);
    // Where the block's base point lands stays where it lands.
    const AcGePoint3d landed = basePoint().transformBy(xform);
    mNormal = normal;
    mScale.set(len[0], len[1], sz);
    mRotation = std::atan2(c[0].dotProduct(ay), c[0].dotProduct(ax));
    if (mRotation < 0.0)
        mRotation += 2.0 * 3.14159265358979323846;
    mPosition = landed;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::transformBy(const AcGeMatrix3d& xform)
{
    return setBlockTransform(xform * blockTransform());
}

// ---- AcDbText

ACRX_DXF_DEFINE_MEMBERS(AcDbText, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, TEXT, ACDB)

AcDbText::AcDbText() : mpText(copyString(L"")) {}

AcDbText::AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId, double height, double rotation)
    : mpText(copyString(text)), mPosition(position), mHeight(height > 0.0 ? height : 0.2), mRotation(rotation)
{
}

AcDbText::~AcDbText() { delete[] mpText; }

ACHAR* AcDbText::textString() const { return copyString(mpText); }
const ACHAR* AcDbText::textStringConst() const { return mpText; }

Acad::ErrorStatus AcDbText::setTextString(const ACHAR* text)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    ACHAR* copy = copyString(text);
    delete[] mpText;
    mpText = copy;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& position) { KV_MESH_SETTER(p, mPosition, position) }

Acad::ErrorStatus AcDbText::setHeight(double height)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (!(height > 0.0))
        return Acad::eInvalidInput;
    mHeight = height;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setRotation(double rotation) { KV_MESH_SETTER(r, mRotation, rotation) }

Acad::ErrorStatus AcDbText::setNormal(const AcGeVector3d& normal)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (normal.isZeroLength())
        return Acad::eInvalidInput;
    mNormal = normal.normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::transformBy(const AcGeMatrix3d& xform)
{
    Acad::ErrorStatus es = checkWritable();
    if (es == Acad::eOk)
        mPosition.transformBy(xform);
    return es;
}
