// Building the subentities of the host's vertex-list entities: vertices of a
// 3D polyline or a polyface mesh, face records of a polyface mesh, and a
// polygon mesh copied into a polyface mesh.
//
// The owner is passed in open for write and stays open. Each new subentity is
// handed to its owner and closed right after the append; one that the append
// refused belongs to no database and is deleted. None of these functions
// stores a last-error text.
#pragma once

#include <dbents.h>
#include <dbmain.h>
#include <gepnt3d.h>

// Appends a new vertex at position; the status of the host's append.
Acad::ErrorStatus Append3dPolylineVertex(AcDb3dPolyline* polyline, const AcGePoint3d& position);
Acad::ErrorStatus AppendPolyFaceVertex(AcDbPolyFaceMesh* polyFaceMesh, const AcGePoint3d& position);

// Appends a face record holding the four 1-based vertex indices unchanged (0
// for a missing fourth corner, negative for an invisible edge).
Acad::ErrorStatus AppendFaceRecord(AcDbPolyFaceMesh* polyFaceMesh, Adesk::Int16 index0, Adesk::Int16 index1,
                                   Adesk::Int16 index2, Adesk::Int16 index3);

// Appends one polyface vertex per polygon-mesh vertex, in the grid's row
// order, then one quad record per grid cell, wrapping where the polygon mesh
// is closed (a closing flag counts only when it is 1). The polyface mesh must
// hold no vertices yet. A grid of more than 32767 vertices (M x N), which a
// face record's 16-bit index cannot name, is refused before anything is
// appended: 0. Otherwise 1; the statuses of the appends are not read.
int PolygonMeshToPolyFace(AcDbPolygonMesh* polygonMesh, AcDbPolyFaceMesh* polyFaceMesh);
