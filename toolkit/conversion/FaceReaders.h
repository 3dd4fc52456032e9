// Readers for the host's surface-like entities: 3D faces, 2D solids,
// polyface and polygon meshes into openNURBS meshes (a 2D solid also into a
// NURBS surface), block references into instance references; and the
// polyface writer FillPolyFaceMesh.
//
// Entities are passed in open and stay open; PickEntityMesh opens and closes
// the entity it picks. A reader that makes a mesh replaces the caller's mesh
// only when it succeeds. Failures leave a text in
// CToolkitConversion::GetLastErrorText where documented below.
#pragma once

#include <afxwin.h>

#include <dbents.h>
#include <dbmain.h>

#include "opennurbs.h"

// One triangle (corners 0, 1, 2) when corners 2 and 3 coincide within the
// default tolerance, else the quad (0, 1, 2, 3). Always 1.
int ReadFace(AcDbFace* face, ON_Mesh& mesh);

// A triangle (0, 1, 2) or the quad (0, 1, 3, 2): a solid's outline runs in
// that order. The surface form returns the geometry library's result.
int ReadSolid(AcDbSolid* solid, ON_NurbsSurface& surface);
int ReadSolid(AcDbSolid* solid, ON_Mesh& mesh);

// Writes mesh into a polyface mesh that is open for write and holds no
// vertices yet: all vertices, then one record per face. A mesh of more
// vertices than a face record can name (32767) is refused before anything is
// appended, with eTooManyVertices. The first failing append ends the
// function; its status is in status and its text in the conversion group's
// last-error text. 1 on success with status eOk, else 0.
int FillPolyFaceMesh(const ON_Mesh& mesh, AcDbPolyFaceMesh* polyFaceMesh, Acad::ErrorStatus& status);
int FillPolyFaceMesh(const ON_Mesh& mesh, AcDbPolyFaceMesh* polyFaceMesh);

// The mesh of a polyface mesh or a polygon mesh, cleaned of unused vertices
// and degenerate faces. 0 with "Invalid mesh" when what is left is not a
// valid mesh; the caller's mesh is then unchanged.
int ReadPolyFaceMesh(AcDbPolyFaceMesh* polyFaceMesh, ON_Mesh& mesh);
int ReadPolygonMesh(AcDbPolygonMesh* polygonMesh, ON_Mesh& mesh);

// Writes the reference's transform into instanceRef and, when a definition
// of the block's name exists (the first of that name), its id. 1 when one
// was found; 0 otherwise or when the block's name cannot be read.
int ReadBlockReference(AcDbBlockReference* blockReference, ON_InstanceRef& instanceRef,
                       const ON_ClassArray<ON_InstanceDefinition>& definitions);

// Reads a 3D face, 2D solid, polyface mesh or polygon mesh (by the exact
// name of its run-time class) with the matching reader above.
int ReadEntityMesh(AcDbEntity* entity, ON_Mesh& mesh);

// Lets the user pick a 3D face, polyface mesh or polygon mesh and reads it.
// 0 when nothing was picked (the picking's text is copied into the
// conversion group's), else the reader's result.
int PickEntityMesh(const CString& prompt, int highlight, ON_Mesh& mesh, AcDbObjectId& id);
int PickEntityMesh(const CString& prompt, int highlight, ON_Mesh& mesh);
