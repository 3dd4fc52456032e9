// The face-like entities: the 3D face, the 2D solid and the hatch; the
// meshes: the subdivision mesh, and the polyface and polygon meshes with
// their vertices and face records as subentities.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <vector>

#include "EntityRules.h"
#include "MeshInternal.h"
#include "dbSubD.h"
#include "dbhatch.h"
#include "standin/AcDbShapeModel.h"
#include "dbsymtb.h"

using namespace acdbimpl;
using Impl = AcDbDatabase::Impl;

namespace {

// The four corners of a 3D face or a 2D solid, by index.
Acad::ErrorStatus cornerAt(const AcGePoint3d (&corners)[4], Adesk::UInt16 index, AcGePoint3d& point)
{
    if (index > 3)
        return Acad::eInvalidIndex;
    point = corners[index];
    return Acad::eOk;
}

Acad::ErrorStatus setCornerAt(Acad::ErrorStatus writable, AcGePoint3d (&corners)[4], Adesk::UInt16 index,
                              const AcGePoint3d& point)
{
    if (writable != Acad::eOk)
        return writable;
    if (index > 3)
        return Acad::eInvalidIndex;
    if (!isFinite(point))
        return Acad::eInvalidInput;
    corners[index] = point;
    return Acad::eOk;
}

}  // namespace

// ---- AcDbFace

ACRX_DXF_DEFINE_MEMBERS(AcDbFace, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, 3DFACE, ACDB)

AcDbFace::AcDbFace() = default;

AcDbFace::AcDbFace(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2, const AcGePoint3d& pt3,
                   Adesk::Boolean e0vis, Adesk::Boolean e1vis, Adesk::Boolean e2vis, Adesk::Boolean e3vis)
    : mCorners{finiteOr(pt0, AcGePoint3d::kOrigin), finiteOr(pt1, AcGePoint3d::kOrigin),
               finiteOr(pt2, AcGePoint3d::kOrigin), finiteOr(pt3, AcGePoint3d::kOrigin)},
      mInvisibleEdges(static_cast<Adesk::UInt8>((e0vis ? 0 : 1) | (e1vis ? 0 : 2) | (e2vis ? 0 : 4) | (e3vis ? 0 : 8)))
{}

AcDbFace::AcDbFace(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2, Adesk::Boolean e0vis,
                   Adesk::Boolean e1vis, Adesk::Boolean e2vis, Adesk::Boolean e3vis)
    : AcDbFace(pt0, pt1, pt2, pt2, e0vis, e1vis, e2vis, e3vis)
{}

AcDbFace::~AcDbFace() = default;

Acad::ErrorStatus AcDbFace::getVertexAt(Adesk::UInt16 index, AcGePoint3d& point) const
{
    return cornerAt(mCorners, index, point);
}

Acad::ErrorStatus AcDbFace::setVertexAt(Adesk::UInt16 index, const AcGePoint3d& point)
{
    return setCornerAt(checkWritable(), mCorners, index, point);
}

Acad::ErrorStatus AcDbFace::makeEdgeInvisibleAt(Adesk::UInt16 index)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (index > 3)
        return Acad::eInvalidIndex;
    mInvisibleEdges = static_cast<Adesk::UInt8>(mInvisibleEdges | (1u << index));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::makeEdgeVisibleAt(Adesk::UInt16 index)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (index > 3)
        return Acad::eInvalidIndex;
    mInvisibleEdges = static_cast<Adesk::UInt8>(mInvisibleEdges & ~(1u << index));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::isEdgeVisibleAt(Adesk::UInt16 index, Adesk::Boolean& visible) const
{
    if (index > 3)
        return Acad::eInvalidIndex;
    visible = (mInvisibleEdges & (1u << index)) == 0;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::transformBy(const AcGeMatrix3d& xform)
{
    return movePoints(checkWritable(), mCorners, xform);
}

// ---- vertices

ACRX_DXF_DEFINE_MEMBERS(AcDbPolyFaceMeshVertex, AcDbVertex, AcDb::kDHL_CURRENT, 0, 0, VERTEX, ACDB)
AcDbPolyFaceMeshVertex::AcDbPolyFaceMeshVertex() = default;
AcDbPolyFaceMeshVertex::AcDbPolyFaceMeshVertex(const AcGePoint3d& position)
    : mPosition(finiteOr(position, AcGePoint3d::kOrigin))
{}
AcDbPolyFaceMeshVertex::~AcDbPolyFaceMeshVertex() = default;

Acad::ErrorStatus AcDbPolyFaceMeshVertex::setPosition(const AcGePoint3d& position)
{
    return assignIfValid(mPosition, position, isFinite(position));
}

Acad::ErrorStatus AcDbPolyFaceMeshVertex::transformBy(const AcGeMatrix3d& xform)
{
    return movePoint(checkWritable(), mPosition, xform);
}

ACRX_DXF_DEFINE_MEMBERS(AcDbPolygonMeshVertex, AcDbVertex, AcDb::kDHL_CURRENT, 0, 0, VERTEX, ACDB)
AcDbPolygonMeshVertex::AcDbPolygonMeshVertex() = default;
AcDbPolygonMeshVertex::AcDbPolygonMeshVertex(const AcGePoint3d& position)
    : mPosition(finiteOr(position, AcGePoint3d::kOrigin))
{}
AcDbPolygonMeshVertex::~AcDbPolygonMeshVertex() = default;

Acad::ErrorStatus AcDbPolygonMeshVertex::setPosition(const AcGePoint3d& position)
{
    return assignIfValid(mPosition, position, isFinite(position));
}

Acad::ErrorStatus AcDbPolygonMeshVertex::transformBy(const AcGeMatrix3d& xform)
{
    return movePoint(checkWritable(), mPosition, xform);
}

ACRX_DXF_DEFINE_MEMBERS(AcDbFaceRecord, AcDbVertex, AcDb::kDHL_CURRENT, 0, 0, VERTEX, ACDB)
AcDbFaceRecord::AcDbFaceRecord() = default;

AcDbFaceRecord::AcDbFaceRecord(Adesk::Int16 vtx0, Adesk::Int16 vtx1, Adesk::Int16 vtx2, Adesk::Int16 vtx3,
                               Adesk::Boolean e0vis, Adesk::Boolean e1vis, Adesk::Boolean e2vis, Adesk::Boolean e3vis)
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
template <class T> std::vector<const T*> live(const standin::SubentityOwner* owner)
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

// A mesh's transformBy: its vertices of class V move.
template <class V>
Acad::ErrorStatus moveVertices(Acad::ErrorStatus writable, const standin::SubentityOwner& owner, const AcGeMatrix3d& xform)
{
    if (writable == Acad::eOk)
        for (AcDbObject* o : owner.subentities())
            if (auto* v = V::cast(o))
                AcDbMeshAccess::position(v).transformBy(xform);
    return writable;
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
AcDbPolyFaceMesh::~AcDbPolyFaceMesh()
{
    releaseSubentities(this);
}

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

AcDbObjectIterator* AcDbPolyFaceMesh::vertexIterator() const
{
    return new AcDbObjectIterator(this);
}

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
    return moveVertices<AcDbPolyFaceMeshVertex>(checkWritable(), *this, xform);
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

AcDbPolygonMesh::~AcDbPolygonMesh()
{
    releaseSubentities(this);
}

Acad::ErrorStatus AcDbPolygonMesh::setPolyMeshType(AcDb::PolyMeshType type)
{
    return assignIfValid(mType, type);
}
Acad::ErrorStatus AcDbPolygonMesh::setMSize(Adesk::Int16 size)
{
    return assignIfValid(mM, size);
}
Acad::ErrorStatus AcDbPolygonMesh::setNSize(Adesk::Int16 size)
{
    return assignIfValid(mN, size);
}
Acad::ErrorStatus AcDbPolygonMesh::makeMClosed()
{
    return assignIfValid(mMClosed, true);
}
Acad::ErrorStatus AcDbPolygonMesh::makeMOpen()
{
    return assignIfValid(mMClosed, false);
}
Acad::ErrorStatus AcDbPolygonMesh::makeNClosed()
{
    return assignIfValid(mNClosed, true);
}
Acad::ErrorStatus AcDbPolygonMesh::makeNOpen()
{
    return assignIfValid(mNClosed, false);
}

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

AcDbObjectIterator* AcDbPolygonMesh::vertexIterator() const
{
    return new AcDbObjectIterator(this);
}

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
    return moveVertices<AcDbPolygonMeshVertex>(checkWritable(), *this, xform);
}

// ---- AcDbSolid

ACRX_DXF_DEFINE_MEMBERS(AcDbSolid, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, SOLID, ACDB)

AcDbSolid::AcDbSolid() = default;
AcDbSolid::AcDbSolid(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2, const AcGePoint3d& pt3)
    : mCorners{finiteOr(pt0, AcGePoint3d::kOrigin), finiteOr(pt1, AcGePoint3d::kOrigin),
               finiteOr(pt2, AcGePoint3d::kOrigin), finiteOr(pt3, AcGePoint3d::kOrigin)}
{}
AcDbSolid::AcDbSolid(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2)
    : AcDbSolid(pt0, pt1, pt2, pt2)
{}
AcDbSolid::~AcDbSolid() = default;

Acad::ErrorStatus AcDbSolid::getPointAt(Adesk::UInt16 idx, AcGePoint3d& pntRes) const
{
    return cornerAt(mCorners, idx, pntRes);
}

Acad::ErrorStatus AcDbSolid::setPointAt(Adesk::UInt16 idx, const AcGePoint3d& pntVal)
{
    return setCornerAt(checkWritable(), mCorners, idx, pntVal);
}

Acad::ErrorStatus AcDbSolid::setThickness(double thickness)
{
    return assignIfValid(mThickness, thickness, isFinite(thickness));
}

Acad::ErrorStatus AcDbSolid::setNormal(const AcGeVector3d& normal)
{
    return assignIfValid(mNormal, normal.normal(), usableNormal(normal));
}

Acad::ErrorStatus AcDbSolid::transformBy(const AcGeMatrix3d& xform)
{
    return movePoints(checkWritable(), mCorners, xform);
}

// ---- AcDbSubDMesh

ACRX_DXF_DEFINE_MEMBERS(AcDbSubDMesh, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, MESH, ACDB)

AcDbSubDMesh::AcDbSubDMesh() = default;
AcDbSubDMesh::~AcDbSubDMesh() = default;

Acad::ErrorStatus AcDbSubDMesh::setSubDMesh(const AcGePoint3dArray& vertexArray,
                                            const AcArray<Adesk::Int32>& indexArray, int subDLevel)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (subDLevel < 0)
        return Acad::eInvalidInput;
    for (const AcGePoint3d& p : vertexArray)
        if (!isFinite(p))
            return Acad::eInvalidInput;
    const Adesk::Int32 vertexCount = vertexArray.length();
    const Adesk::Int32 n = indexArray.length();
    Adesk::Int32 faces = 0;
    for (Adesk::Int32 i = 0; i < n;) {
        Adesk::Int32 count = indexArray[i];
        if (count < 3 || count > n - i - 1)
            return Acad::eInvalidInput;
        for (Adesk::Int32 k = 1; k <= count; ++k) {
            Adesk::Int32 v = indexArray[i + k];
            if (v < 0 || v >= vertexCount)
                return Acad::eInvalidInput;
        }
        i += count + 1;
        ++faces;
    }
    mVertices = vertexArray;
    mFaces = indexArray;
    mFaceCount = faces;
    mLevel = subDLevel;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::setNull()
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    mVertices.removeAll();
    mFaces.removeAll();
    mFaceCount = 0;
    mLevel = 0;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::getVertices(AcGePoint3dArray& vertexArray) const
{
    vertexArray = mVertices;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::getFaceArray(AcArray<Adesk::Int32>& indexArray) const
{
    indexArray = mFaces;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::getVertexAt(Adesk::Int32 index, AcGePoint3d& vertex) const
{
    if (index < 0 || index >= mVertices.length())
        return Acad::eInvalidIndex;
    vertex = mVertices[index];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::numOfVertices(Adesk::Int32& result) const
{
    result = mVertices.length();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::numOfFaces(Adesk::Int32& result) const
{
    result = mFaceCount;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::subDLevel(Adesk::Int32& result) const
{
    result = mLevel;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::transformBy(const AcGeMatrix3d& xform)
{
    return movePoints(checkWritable(), mVertices, xform);
}

// ---- AcDbHatch

ACRX_DXF_DEFINE_MEMBERS(AcDbHatch, AcDbEntity, AcDb::kDHL_CURRENT, 0, 0, HATCH, ACDB)

AcDbHatch::AcDbHatch() : mpPattern(copyString(L"_USER")) {}
AcDbHatch::~AcDbHatch()
{
    delete[] mpPattern;
}

const ACHAR* AcDbHatch::patternName() const
{
    return mpPattern;
}

Acad::ErrorStatus AcDbHatch::setPattern(HatchPatternType patType, const ACHAR* patName)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (patName == nullptr || *patName == 0)
        return Acad::eInvalidInput;
    replaceString(mpPattern, patName);
    mPatternType = patType;
    return Acad::eOk;
}

bool AcDbHatch::isSolidFill() const
{
    return sameName(mpPattern, L"SOLID");
}

Acad::ErrorStatus AcDbHatch::setPatternAngle(double angle)
{
    return assignIfValid(mAngle, angle, isFinite(angle));
}

Acad::ErrorStatus AcDbHatch::setPatternSpace(double space)
{
    return assignIfValid(mSpace, space, isFinite(space) && space > 0.0);
}

Acad::ErrorStatus AcDbHatch::setElevation(double elevation)
{
    return assignIfValid(mElevation, elevation, isFinite(elevation));
}

Acad::ErrorStatus AcDbHatch::setNormal(const AcGeVector3d& normal)
{
    return assignIfValid(mNormal, normal.normal(), usableNormal(normal));
}

Acad::ErrorStatus AcDbHatch::appendLoop(Adesk::Int32 loopType, const AcGePoint3dArray& vertices,
                                        const AcGeDoubleArray& bulges)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (vertices.length() < 3 || (bulges.length() != 0 && bulges.length() != vertices.length()))
        return Acad::eInvalidInput;
    for (const AcGePoint3d& p : vertices)
        if (!isFinite(p))
            return Acad::eInvalidInput;
    for (double b : bulges)
        if (!isFinite(b))
            return Acad::eInvalidInput;
    Loop l;
    l.type = loopType | kPolyline;
    for (const AcGePoint3d& p : vertices)
        l.vertices.push_back(AcGePoint3d(p.x, p.y, 0.0));
    for (double b : bulges)
        l.bulges.push_back(b);
    mLoops.push_back(l);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::appendLoop(Adesk::Int32 loopType, const AcGePoint2dArray& vertices,
                                        const AcGeDoubleArray& bulges)
{
    AcGePoint3dArray points;
    for (const AcGePoint2d& p : vertices)
        points.append(AcGePoint3d(p.x, p.y, 0.0));
    return appendLoop(loopType, points, bulges);
}

Acad::ErrorStatus AcDbHatch::removeLoopAt(int loopIndex)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (loopIndex < 0 || loopIndex >= numLoops())
        return Acad::eInvalidIndex;
    mLoops.erase(mLoops.begin() + loopIndex);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getLoopAt(int loopIndex, Adesk::Int32& loopType, AcGePoint3dArray& vertices,
                                       AcGeDoubleArray& bulges) const
{
    if (loopIndex < 0 || loopIndex >= numLoops())
        return Acad::eInvalidIndex;
    const Loop& l = mLoops[static_cast<size_t>(loopIndex)];
    loopType = l.type;
    vertices.removeAll();
    bulges.removeAll();
    for (const AcGePoint3d& p : l.vertices)
        vertices.append(p);
    for (double b : l.bulges)
        bulges.append(b);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::evaluateHatch(bool)
{
    return checkWritable();
}

Acad::ErrorStatus AcDbHatch::explode(AcDbVoidPtrArray& entitySet) const
{
    if (!isReadEnabled())
        return Acad::eNotOpenForRead;
    if (mLoops.empty())
        return Acad::eNotApplicable;
    // Plane coordinates to the drawing.
    const AcGeVector3d ax = standin::arbitraryXAxis(mNormal);
    const AcGeVector3d ay = mNormal.crossProduct(ax);
    auto toWorld = [&](double u, double v) { return AcGePoint3d(0, 0, 0) + ax * u + ay * v + mNormal * mElevation; };
    if (isSolidFill()) {
        for (const Loop& l : mLoops)
            for (size_t i = 0; i < l.vertices.size(); ++i) {
                const AcGePoint3d& a = l.vertices[i];
                const AcGePoint3d& b = l.vertices[(i + 1) % l.vertices.size()];
                const double bulge = l.bulges.empty() ? 0.0 : l.bulges[i];
                const double dx = b.x - a.x, dy = b.y - a.y, c = std::sqrt(dx * dx + dy * dy);
                if (bulge == 0.0 || c == 0.0) {
                    entitySet.append(new AcDbLine(toWorld(a.x, a.y), toWorld(b.x, b.y)));
                    continue;
                }
                // A bulged segment: an arc turning 4 atan(bulge) from a to b
                // (counter-clockwise when positive). The plane's axes are the
                // arc's own, so plane angles are arc angles.
                const double theta = 4.0 * std::atan(bulge);
                const double h = (c / 2.0) / std::tan(theta / 2.0);
                const double cx = (a.x + b.x) / 2.0 - dy / c * h, cy = (a.y + b.y) / 2.0 + dx / c * h;
                const double r = std::sqrt((a.x - cx) * (a.x - cx) + (a.y - cy) * (a.y - cy));
                const double angA = std::atan2(a.y - cy, a.x - cx), angB = std::atan2(b.y - cy, b.x - cx);
                AcGePoint3d center = toWorld(cx, cy);
                entitySet.append(bulge > 0.0 ? new AcDbArc(center, mNormal, r, angA, angB)
                                             : new AcDbArc(center, mNormal, r, angB, angA));
            }
        return Acad::eOk;
    }
    // Pattern lines: direction (cos a, sin a), one every spacing across it,
    // through the origin of the plane, kept where they are inside the loops
    // by the even-odd rule (bulged segments by their chords).
    const double ca = std::cos(mAngle), sa = std::sin(mAngle);
    auto along = [&](const AcGePoint3d& p) { return p.x * ca + p.y * sa; };
    auto across = [&](const AcGePoint3d& p) { return -p.x * sa + p.y * ca; };
    double lo = 1e300, hi = -1e300;
    for (const Loop& l : mLoops)
        for (const AcGePoint3d& p : l.vertices) {
            lo = std::min(lo, across(p));
            hi = std::max(hi, across(p));
        }
    const double first = std::ceil(lo / mSpace);
    const double last = std::floor(hi / mSpace);
    if (last - first > 1e6)
        return Acad::eOutOfRange;  // too dense to draw
    for (double k = first; k <= last; k += 1.0) {
        const double v = k * mSpace;
        std::vector<double> cuts;
        for (const Loop& l : mLoops)
            for (size_t i = 0; i < l.vertices.size(); ++i) {
                const AcGePoint3d& a = l.vertices[i];
                const AcGePoint3d& b = l.vertices[(i + 1) % l.vertices.size()];
                double va = across(a), vb = across(b);
                if ((va <= v) == (vb <= v))
                    continue;  // half-open rule: a vertex on the line counts once
                double t = (v - va) / (vb - va);
                cuts.push_back(along(a) + t * (along(b) - along(a)));
            }
        std::sort(cuts.begin(), cuts.end());
        for (size_t i = 0; i + 1 < cuts.size(); i += 2) {
            if (cuts[i + 1] - cuts[i] <= 1e-12)
                continue;
            auto pt = [&](double u) { return toWorld(u * ca - v * sa, u * sa + v * ca); };
            entitySet.append(new AcDbLine(pt(cuts[i]), pt(cuts[i + 1])));
        }
    }
    return Acad::eOk;
}
