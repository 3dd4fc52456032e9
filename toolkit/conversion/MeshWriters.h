// Mesh writers: an openNURBS mesh into drawing entities in model space.
//
// MeshToSubDMesh makes one subdivision mesh per mesh, MeshToFaces one 3D face
// per mesh face, MeshToLines one line per distinct edge of the mesh topology
// and MeshToPoints one point per distinct vertex position. Every entity is
// placed with AddEntity (layerName "" leaves its layer unchanged; any other
// name puts it on that layer, created when missing; entityColor is set on
// it) and closed before the next one is constructed. The writers report no
// failure: each returns 1 and goes on with the next element whatever the host
// answered. A face with a vertex index outside the vertex list is skipped.
// When the host runs out of memory the write may end with std::bad_alloc;
// nothing stays open then, and model space holds only whole entities.
#pragma once

#include <afxwin.h>

#include "dbSubD.h"
#include "dbcolor.h"
#include "opennurbs.h"

int MeshToFaces(const ON_Mesh& mesh, const CString& layerName, const AcCmColor& entityColor);
int MeshToLines(const ON_Mesh& mesh, const CString& layerName, const AcCmColor& entityColor);
int MeshToPoints(const ON_Mesh& mesh, const CString& layerName, const AcCmColor& entityColor);
int MeshToSubDMesh(const ON_Mesh& mesh, const CString& layerName, const AcCmColor& entityColor);
// warning has no effect.
int MeshToSubDMesh(const ON_Mesh& mesh, BOOL warning, const CString& layerName, const AcCmColor& entityColor);

// Gives subDMesh the mesh's vertices (all of them, in order, in double
// precision) and faces (3 or 4 corners each), at subdivision level 0.
int FillSubDMesh(const ON_Mesh& mesh, AcDbSubDMesh* subDMesh);

// Every mesh of the array in order, with the same layer and colour.
int MeshToFaces(const ON_ClassArray<ON_Mesh>& meshes, const CString& layerName, const AcCmColor& entityColor);
int MeshToLines(const ON_ClassArray<ON_Mesh>& meshes, const CString& layerName, const AcCmColor& entityColor);
int MeshToPoints(const ON_ClassArray<ON_Mesh>& meshes, const CString& layerName, const AcCmColor& entityColor);
// warning has no effect.
int MeshToSubDMesh(const ON_ClassArray<ON_Mesh>& meshes, BOOL warning, const CString& layerName,
                   const AcCmColor& entityColor);
