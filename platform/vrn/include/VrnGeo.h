// The maker's geometry library (VrnGeo90Ux64): mesh and surface builders,
// and curve tests.
//
// Our own implementation of the library's public calls. Each mesh call adds
// one face with vertices of its own, so a mesh built by several calls shares
// no vertex between faces; each surface call makes a bilinear NURBS surface
// through the corners (degree 1 both ways, a triangle as a quad with its last
// edge collapsed into corner 2).
#pragma once

#include "opennurbs.h"

#if defined(_WIN32)
#if defined(VRNGEO_BUILD)
#define VRNGEO_API __declspec(dllexport)
#else
#define VRNGEO_API __declspec(dllimport)
#endif
#else
#define VRNGEO_API __attribute__((visibility("default")))
#endif

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

// VrnCurve: the maker's tests of what a curve really is.
//
// Each test takes a curve and one output value. It returns 1 when the curve
// is of that kind and then holds the equivalent geometry in the output; it
// returns 0 otherwise (also for a null curve or a curve it cannot evaluate),
// and the output is then not to be used. The tests understand NURBS curves
// (ON_NurbsCurve) and the plain curve classes (ON_LineCurve, ON_ArcCurve,
// ON_PolylineCurve).
//
// Tolerance: a curve point counts as lying on a line, circle or polyline when
// it is within 1e-9 x max(1, s) of it, where s is the largest coordinate
// extent of the curve's control points. A NURBS curve is checked at its
// control points (line, polyline) or at 16 points in each knot span (circle,
// arc); a curve that leaves the figure only between the checked points is
// not told apart from it.
//
// - IsLine: a curve whose points all lie on the segment from its start to its
//   end, running from start to end without turning back, start and end apart.
//   The line runs from the curve's start point to its end point.
// - IsCircle: a closed planar curve whose points all lie at one distance from
//   a centre and go once round it. The circle's plane has the centre as its
//   origin, its x axis towards the curve's start point and its normal in the
//   sense the curve runs (counter-clockwise about it).
// - IsArc: an open planar curve whose points all lie at one distance from a
//   centre, running one way round it by less than a full turn. The arc's
//   plane is set as for IsCircle, its angle interval runs from 0 to the swept
//   angle.
// - IsPolyline: a curve of degree 1 (order 2) whose control points are its
//   corners, with equal weights; the polyline holds the control points in
//   order. It is closed only when its last point repeats its first.
class VRNGEO_API VrnCurve {
public:
    static int IsLine(const ON_Curve* curve, ON_Line& line);
    static int IsCircle(const ON_Curve* curve, ON_Circle& circle);
    static int IsArc(const ON_Curve* curve, ON_Arc& arc);
    static int IsPolyline(const ON_Curve* curve, ON_Polyline& polyline);
};
