// AcDbSubDMesh: the subdivision mesh entity.
#pragma once

#include "acarray.h"
#include "dbmain.h"
#include "gept3dar.h"

class AcDbSubDMesh : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbSubDMesh);

    // An empty mesh of level 0.
    AcDbSubDMesh();
    ~AcDbSubDMesh() override;

    // The vertices and the faces, each face as its corner count n (3 or more)
    // followed by n zero-based vertex indices. Malformed data (a count below
    // 3 or past the end of the list, an index outside the vertices, a
    // negative level) is refused with eInvalidInput and the mesh is unchanged.
    Acad::ErrorStatus setSubDMesh(const AcGePoint3dArray& vertexArray, const AcArray<Adesk::Int32>& indexArray,
                                  int subDLevel);
    // Empties the mesh.
    Acad::ErrorStatus setNull();

    Acad::ErrorStatus getVertices(AcGePoint3dArray& vertexArray) const;
    Acad::ErrorStatus getFaceArray(AcArray<Adesk::Int32>& indexArray) const;
    Acad::ErrorStatus getVertexAt(Adesk::Int32 index, AcGePoint3d& vertex) const;
    Acad::ErrorStatus numOfVertices(Adesk::Int32& result) const;
    Acad::ErrorStatus numOfFaces(Adesk::Int32& result) const;
    Acad::ErrorStatus subDLevel(Adesk::Int32& result) const;

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    // eInvalidExtents for a mesh without vertices.
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;

private:
    AcGePoint3dArray mVertices;
    AcArray<Adesk::Int32> mFaces;
    Adesk::Int32 mFaceCount = 0;
    Adesk::Int32 mLevel = 0;
};
