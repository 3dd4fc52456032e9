// Curve readers: one point or curve entity into openNURBS geometry.
//
// The entity is open for read and stays the caller's; the reader only asks
// for its geometry. The output, constructed by the caller, receives the
// result in place of its content. Every reader returns 1; no host status is
// examined and no failure text is stored.
#pragma once

#include "dbelipse.h"
#include "dbents.h"
#include "dbspline.h"
#include "opennurbs.h"

int ReadPoint(AcDbPoint* entity, ON_Point& point);
// From the start point to the end point.
int ReadLine(AcDbLine* entity, ON_LineCurve& curve);
// From the base point to base point + unit direction: one unit of the ray.
int ReadRay(AcDbRay* entity, ON_LineCurve& curve);
// From base point + unit direction to base point - unit direction.
int ReadXline(AcDbXline* entity, ON_LineCurve& curve);
// The full circle on the openNURBS plane of the entity's centre and normal.
int ReadCircle(AcDbCircle* entity, ON_ArcCurve& curve);
// The arc on that circle from the entity's start point to its end point,
// counter-clockwise about the normal.
int ReadArc(AcDbArc* entity, ON_ArcCurve& curve);
// The NURBS form of the ellipse; of the elliptical arc between the start and
// end parameters when the entity is not closed.
int ReadEllipse(AcDbEllipse* entity, ON_NurbsCurve& curve);
// A non-rational curve on the spline's degree, control points and inner
// knots; weights, closed and periodic flags and tolerances are not used.
int ReadSpline(AcDbSpline* entity, ON_NurbsCurve& curve);
