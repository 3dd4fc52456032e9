// The maker's geometry library (VrnGeo90Ux64): mesh and surface builders.
//
// Our own implementation of the library's public calls. Each mesh call adds
// one face with vertices of its own, so a mesh built by several calls shares
// no vertex between faces; each surface call makes a bilinear NURBS surface
// through the corners (degree 1 both ways, a triangle as a quad with its last
// edge collapsed into corner 2).
#pragma once

#include "opennurbs.h"

#if defined(_WIN32)
#  if defined(VRNGEO_BUILD)
#    define VRNGEO_API __declspec(dllexport)
#  else
#    define VRNGEO_API __declspec(dllimport)
#  endif
#else
#  define VRNGEO_API __attribute__((visibility("default")))
#endif

class ON_NurbsSurface;

class VRNGEO_API VrnMesh {
public:
    // Appends the triangle p0, p1, p2 (three new vertices, one face) and
    // keeps what the mesh held. 1 on success; 0 when a corner is not a valid
    // point, and the mesh is unchanged.
    static int AddTriangle(ON_Mesh& mesh, const ON_3dPoint& p0, const ON_3dPoint& p1, const ON_3dPoint& p2);
    // Appends the quad p0, p1, p2, p3 in that order (four new vertices, one
    // face). 1 on success; 0 when a corner is not a valid point, and the mesh
    // is unchanged.
    static int AddQuad(ON_Mesh& mesh, const ON_3dPoint& p0, const ON_3dPoint& p1, const ON_3dPoint& p2,
                       const ON_3dPoint& p3);
};

class VRNGEO_API VrnNurbsSurface {
public:
    // Replaces the surface with the triangle p0, p1, p2. Non-zero when the
    // surface was made; 0 (surface left as it was) for an invalid corner or
    // corners on one line.
    static int CreateTriangle(ON_NurbsSurface& surface, const ON_3dPoint& p0, const ON_3dPoint& p1,
                              const ON_3dPoint& p2);
    // Replaces the surface with the bilinear patch whose outline runs p0, p1,
    // p2, p3: control points (0,0) = p0, (1,0) = p1, (1,1) = p2, (0,1) = p3,
    // knots {0, 1} both ways. Non-zero when made; 0 (surface left as it was)
    // for an invalid corner or corners on one line.
    static int CreateQuad(ON_NurbsSurface& surface, const ON_3dPoint& p0, const ON_3dPoint& p1, const ON_3dPoint& p2,
                          const ON_3dPoint& p3);
};
