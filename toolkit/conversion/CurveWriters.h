// Curve writers: openNURBS points and curves into entities in model space.
//
// Each writer constructs its entity, gives it its geometry, places it with
// AddEntity (layerName "" leaves the layer unchanged; any other name puts the
// entity on that layer, created when missing; entityColor is set on it) and
// closes it before the next one is made. An entity that could not be appended
// is deleted. The writers report no failure: each returns 1, and an array form
// goes on with the next element whatever the host answered. When the host runs
// out of memory a write may end with std::bad_alloc; nothing stays open then,
// model space holds only whole entities and no other entity is left behind.
#pragma once

#include <afxwin.h>

#include "dbcolor.h"
#include "dbents.h"
#include "dbspline.h"
#include "opennurbs.h"

int WritePoint(const ON_3dPoint& point, const CString& layerName, const AcCmColor& entityColor);
int WritePoints(const ON_3dPointArray& points, const CString& layerName, const AcCmColor& entityColor);

int WriteLine(const ON_Line& line, const CString& layerName, const AcCmColor& entityColor);
int WriteLine(const ON_3dPoint& from, const ON_3dPoint& to, const CString& layerName, const AcCmColor& entityColor);
int WriteLines(const ON_SimpleArray<ON_Line>& lines, const CString& layerName, const AcCmColor& entityColor);

int WriteCircle(const ON_Circle& circle, const CString& layerName, const AcCmColor& entityColor);
int WriteCircles(const ON_SimpleArray<ON_Circle>& circles, const CString& layerName, const AcCmColor& entityColor);

// A full circle (sweep within 1e-12 of 2 pi) is written as a circle.
int WriteArc(const ON_Arc& arc, const CString& layerName, const AcCmColor& entityColor);
int WriteArcs(const ON_SimpleArray<ON_Arc>& arcs, const CString& layerName, const AcCmColor& entityColor);

// Appends one vertex per point to entity (open for write or in no database
// yet). A closed polyline (at least four points, the last equal to the first,
// one point between them away from both) loses its repeated last point and
// makes the entity closed.
int SetAcDb3dPolyline(const ON_Polyline& polyline, AcDb3dPolyline* entity);
int Write3dPolyline(const ON_Polyline& polyline, const CString& layerName, const AcCmColor& entityColor);
int Write3dPolylines(const ON_ClassArray<ON_Polyline>& polylines, const CString& layerName,
                     const AcCmColor& entityColor);

// Gives entity the curve's NURBS data: Euclidean control points, weights, and
// the knots with a copy of the first and the last knot added at the ends.
// Returns 0 and stores "Enable to create Spline" as the conversion group's
// failure text when the host refuses the data (the entity then keeps what it
// held) or leaves the spline null, or when the curve cannot be a spline
// (order below 2, fewer control points than the order, a weight of 0), in
// which case nothing is passed to the host.
int SetAcDbSpline(const ON_NurbsCurve& curve, AcDbSpline* entity);

// The simplest entity that fits the curve: a line, a circle, an arc, a 3D
// polyline, or else a spline.
int WriteCurve(const ON_NurbsCurve& curve, const CString& layerName, const AcCmColor& entityColor);
int WriteCurves(const ON_ClassArray<ON_NurbsCurve>& curves, const CString& layerName, const AcCmColor& entityColor);

// A spline of order 4 through the points, fit tolerance 0.
int WriteFitSpline(const ON_3dPointArray& fitPoints, const CString& layerName, const AcCmColor& entityColor);
