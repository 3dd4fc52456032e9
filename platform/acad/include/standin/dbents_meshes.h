// The host's mesh-like and compound entities of dbents.h: polyface and
// polygon meshes with their vertices and face records, the 2D solid, the
// block reference and single-line text. Included by dbents.h.
//
// Subentities (vertices, face records) are objects of the database like any
// other: once appended to a resident mesh they are resident, owned by the
// mesh, and opened and closed through their ids.
#pragma once

#include <vector>

#include "dbmain.h"
#include "gept3dar.h"
#include "gepnt3d.h"
#include "gescl3d.h"
#include "gevec3d.h"
#include "standin/dbents_curves.h"  // AcDb::Vertex3dType
#include "standin/dbents_vertex.h"

namespace AcDb {
enum PolyMeshType { kSimpleMesh = 0, kQuadSurfaceMesh = 5, kCubicSurfaceMesh = 6, kBezierSurfaceMesh = 8 };
}  // namespace AcDb

class AcDbPolyFaceMeshVertex : public AcDbVertex {
public:
    ACRX_DECLARE_MEMBERS(AcDbPolyFaceMeshVertex);
    AcDbPolyFaceMeshVertex();
    explicit AcDbPolyFaceMeshVertex(const AcGePoint3d& position);
    ~AcDbPolyFaceMeshVertex() override;

    AcGePoint3d position() const { return mPosition; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& position);
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

private:
    friend class AcDbMeshAccess;
    AcGePoint3d mPosition;
};

// Four vertex indices of a polyface mesh face: 1-based, 0 for no vertex (a
// triangle's fourth), negative when the edge that starts at that corner is
// invisible.
class AcDbFaceRecord : public AcDbVertex {
public:
    ACRX_DECLARE_MEMBERS(AcDbFaceRecord);
    // All four indices 0.
    AcDbFaceRecord();
    // The indices as given (a negative one stays invisible); an edge whose
    // flag is false is made invisible.
    AcDbFaceRecord(Adesk::Int16 vtx0, Adesk::Int16 vtx1, Adesk::Int16 vtx2, Adesk::Int16 vtx3,
                   Adesk::Boolean e0vis = true, Adesk::Boolean e1vis = true, Adesk::Boolean e2vis = true,
                   Adesk::Boolean e3vis = true);
    ~AcDbFaceRecord() override;

    // Corner 0..3; another corner gives eInvalidIndex.
    Acad::ErrorStatus getVertexAt(Adesk::UInt16 faceIdx, Adesk::Int16& vtxIdx) const;
    Acad::ErrorStatus setVertexAt(Adesk::UInt16 faceIdx, Adesk::Int16 vtxIdx);
    Acad::ErrorStatus isEdgeVisibleAt(Adesk::UInt16 faceIdx, Adesk::Boolean& visible) const;
    Acad::ErrorStatus makeEdgeVisibleAt(Adesk::UInt16 faceIdx);
    Acad::ErrorStatus makeEdgeInvisibleAt(Adesk::UInt16 faceIdx);

private:
    Adesk::Int16 mIndices[4] = {0, 0, 0, 0};
};

class AcDbPolygonMeshVertex : public AcDbVertex {
public:
    ACRX_DECLARE_MEMBERS(AcDbPolygonMeshVertex);
    AcDbPolygonMeshVertex();
    explicit AcDbPolygonMeshVertex(const AcGePoint3d& position);
    ~AcDbPolygonMeshVertex() override;

    AcDb::Vertex3dType vertexType() const { return AcDb::k3dSimpleVertex; }
    AcGePoint3d position() const { return mPosition; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& position);
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

private:
    friend class AcDbMeshAccess;
    AcGePoint3d mPosition;
};

// A polyface mesh: its vertices, then its face records. Both are appended to
// a resident mesh only; the appended subentity becomes resident, owned by the
// mesh, and stays open for write for the caller to close.
class AcDbPolyFaceMesh : public AcDbEntity, public standin::SubentityOwner {
public:
    ACRX_DECLARE_MEMBERS(AcDbPolyFaceMesh);
    AcDbPolyFaceMesh();
    ~AcDbPolyFaceMesh() override;

    // Vertices and face records that are not erased.
    Adesk::Int16 numVertices() const;
    Adesk::Int16 numFaces() const;

    // Statuses: eNullEntityPointer, eNotOpenForWrite, eNoDatabase (the mesh is
    // not resident), eAlreadyInDb, eVertexAfterFace (a face record exists),
    // eTooManyVertices (32767 vertices held, the most a face record can name).
    Acad::ErrorStatus appendVertex(AcDbPolyFaceMeshVertex* vertex);
    Acad::ErrorStatus appendVertex(AcDbObjectId& objId, AcDbPolyFaceMeshVertex* vertex);
    // Statuses: eNullEntityPointer, eNotOpenForWrite, eNoDatabase, eAlreadyInDb,
    // eInvalidMeshVertexIndex (an index whose size exceeds the vertex count),
    // eOutOfRange (32767 face records held).
    Acad::ErrorStatus appendFaceRecord(AcDbFaceRecord* face);
    Acad::ErrorStatus appendFaceRecord(AcDbObjectId& objId, AcDbFaceRecord* face);

    // Opens a vertex or face record of this mesh.
    Acad::ErrorStatus openVertex(AcDbVertex*& vertex, AcDbObjectId subObjId, AcDb::OpenMode mode,
                                 bool openErasedOne = false) const;
    // The vertices in order, then the face records in order.
    AcDbObjectIterator* vertexIterator() const;

    // One AcDbFace per face record (corners from the indices, invisible edges
    // kept), new and in no database.
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

private:
    size_t mVertexCount = 0;  // appended vertices (the face records follow them)
};

// A polygon mesh: M rows of N vertices, row by row. Unlike a polyface mesh it
// takes vertices before it is resident (the constructor with a vertex list);
// they become resident with it.
class AcDbPolygonMesh : public AcDbEntity, public standin::SubentityOwner {
public:
    ACRX_DECLARE_MEMBERS(AcDbPolygonMesh);
    AcDbPolygonMesh();
    // The vertex list is kept as given, row by row, even when its length is
    // not mSize x nSize.
    AcDbPolygonMesh(AcDb::PolyMeshType pType, Adesk::Int16 mSize, Adesk::Int16 nSize,
                    const AcGePoint3dArray& vertexArray, Adesk::Boolean mClose = true, Adesk::Boolean nClose = true);
    ~AcDbPolygonMesh() override;

    AcDb::PolyMeshType polyMeshType() const { return mType; }
    Acad::ErrorStatus setPolyMeshType(AcDb::PolyMeshType type);
    Adesk::Int16 mSize() const { return mM; }
    Acad::ErrorStatus setMSize(Adesk::Int16 size);
    Adesk::Int16 nSize() const { return mN; }
    Acad::ErrorStatus setNSize(Adesk::Int16 size);
    Adesk::Boolean isMClosed() const { return mMClosed; }
    Acad::ErrorStatus makeMClosed();
    Acad::ErrorStatus makeMOpen();
    Adesk::Boolean isNClosed() const { return mNClosed; }
    Acad::ErrorStatus makeNClosed();
    Acad::ErrorStatus makeNOpen();

    // Statuses: eNullEntityPointer, eNotOpenForWrite, eAlreadyInDb. On a
    // resident mesh the vertex becomes resident and stays open for write;
    // otherwise the mesh keeps it until it is resident itself.
    Acad::ErrorStatus appendVertex(AcDbPolygonMeshVertex* vertex);
    Acad::ErrorStatus appendVertex(AcDbObjectId& objId, AcDbPolygonMeshVertex* vertex);
    Acad::ErrorStatus openVertex(AcDbVertex*& vertex, AcDbObjectId vertId, AcDb::OpenMode mode,
                                 bool openErasedOne = false) const;
    AcDbObjectIterator* vertexIterator() const;

    // One AcDbFace per grid cell (closing cells included), new and in no
    // database. Statuses: eNotApplicable when the vertices do not fill the grid.
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

private:
    friend class AcDbMeshAccess;
    AcDb::PolyMeshType mType = AcDb::kSimpleMesh;
    Adesk::Int16 mM = 0;
    Adesk::Int16 mN = 0;
    Adesk::Boolean mMClosed = false;
    Adesk::Boolean mNClosed = false;
};

// A 2D solid: a filled outline of three or four corners. The outline runs
// 0-1-3-2; a triangle repeats corner 2 as corner 3.
class AcDbSolid : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbSolid);
    AcDbSolid();
    AcDbSolid(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2, const AcGePoint3d& pt3);
    AcDbSolid(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2);
    ~AcDbSolid() override;

    // Corner 0..3; another index gives eInvalidIndex.
    Acad::ErrorStatus getPointAt(Adesk::UInt16 idx, AcGePoint3d& pntRes) const;
    Acad::ErrorStatus setPointAt(Adesk::UInt16 idx, const AcGePoint3d& pntVal);
    double thickness() const { return mThickness; }
    Acad::ErrorStatus setThickness(double thickness);
    AcGeVector3d normal() const { return mNormal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

private:
    AcGePoint3d mCorners[4];
    AcGeVector3d mNormal{0.0, 0.0, 1.0};
    double mThickness = 0.0;
};

// A reference to a block: the block table record it shows, placed by its
// position, scale factors, rotation and normal.
class AcDbBlockReference : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbBlockReference);
    // At the origin (or the position), scale 1, rotation 0, normal +Z.
    AcDbBlockReference();
    AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRec);
    ~AcDbBlockReference() override;

    AcDbObjectId blockTableRecord() const { return mBlock; }
    // Statuses: eNotOpenForWrite, eInvalidInput (an id that is not a block
    // table record); a null id is accepted.
    Acad::ErrorStatus setBlockTableRecord(AcDbObjectId blockTableRec);
    // Where the block's base point lands, in world coordinates.
    AcGePoint3d position() const { return mPosition; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& position);
    // A factor of 0 or one that is not finite is refused (eInvalidInput).
    AcGeScale3d scaleFactors() const { return mScale; }
    Acad::ErrorStatus setScaleFactors(const AcGeScale3d& scale);
    // Radians about the normal, from the x axis of the normal's object
    // coordinates (the arbitrary-axis rule).
    double rotation() const { return mRotation; }
    Acad::ErrorStatus setRotation(double rotation);
    // A unit vector; a zero or non-finite one is refused (eInvalidInput).
    AcGeVector3d normal() const { return mNormal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    // Block coordinates to drawing coordinates: the block's base point moved
    // to the origin, scaled, turned about the normal in its object
    // coordinates and moved to the position.
    AcGeMatrix3d blockTransform() const;
    // Takes position, scale factors, rotation and normal from the transform:
    // its axes must stay perpendicular (else eCannotScaleNonUniformly) and
    // be of finite, non-zero length, with no projection (else
    // eInvalidInput). A mirror becomes a negative z scale.
    Acad::ErrorStatus setBlockTransform(const AcGeMatrix3d& xform);
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

private:
    // The block table record's base point; the origin for no record.
    AcGePoint3d basePoint() const;

    AcDbObjectId mBlock;
    AcGePoint3d mPosition;
    AcGeScale3d mScale;
    double mRotation = 0.0;
    AcGeVector3d mNormal = AcGeVector3d(0.0, 0.0, 1.0);
};

// Single-line text.
class AcDbText : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbText);
    // Empty text at the origin, height 0.2.
    AcDbText();
    // A height of 0 or less, or one not finite, gives the default height 0.2.
    AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId style = AcDbObjectId::kNull,
             double height = 0.0, double rotation = 0.0);
    ~AcDbText() override;

    // A new string the caller frees with acutDelString.
    ACHAR* textString() const;
    const ACHAR* textStringConst() const;
    Acad::ErrorStatus setTextString(const ACHAR* text);
    AcGePoint3d position() const { return mPosition; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& position);
    double height() const { return mHeight; }
    // A height of 0 or less gives eInvalidInput.
    Acad::ErrorStatus setHeight(double height);
    double rotation() const { return mRotation; }
    Acad::ErrorStatus setRotation(double rotation);
    AcGeVector3d normal() const { return mNormal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

private:
    ACHAR* mpText = nullptr;
    AcGePoint3d mPosition;
    AcGeVector3d mNormal{0.0, 0.0, 1.0};
    double mHeight = 0.2;
    double mRotation = 0.0;
};
