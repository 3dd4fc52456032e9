// VrnRavlib: the maker's model reader.
//
// SKPToMesh reads the model file at path and appends its meshes to meshes:
// one ON_Mesh per placement of a mesh in the model (the placement's transform
// applied), with triangles and quads as in the file (a triangle repeats its
// third vertex index in the fourth place) and larger polygons split into
// triangles. Corners with equal positions share one vertex. Points and line
// primitives are not faces and are left out; a model without faces gives no
// mesh and still succeeds.
//
// SketchUp files need the maker's SketchUp reader, which this build does not
// include; other formats are read through Assimp (OBJ, STL, PLY, OFF, 3DS,
// Collada, glTF, FBX, X3D and the rest that Assimp knows).
//
// Returns non-zero on success. On failure it returns 0, leaves meshes as it
// was and GetError gives a text fit to show to the user that names the file.
#pragma once

#include "VrnExport.h"

#include <afx.h>
#include <opennurbs.h>

class VRNRAVLIB_API VrnRavlib {
public:
    static int SKPToMesh(CString path, ON_ClassArray<ON_Mesh>& meshes);

    // Text of the failure of the last SKPToMesh call; empty when that call
    // succeeded or none has been made.
    static CString GetError();
};
