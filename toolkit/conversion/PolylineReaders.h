// Polyline readers: the host's polylines into openNURBS curves.
//
// ReadPolyline, Read2dPolyline and Read3dPolyline give the polyline curve
// through the vertices in order, the first vertex repeated at the end when the
// polyline is closed; bulges and widths are not used. ReadPolylineSegments
// appends one line curve per line segment and one arc curve per arc segment of
// a lightweight polyline, each from the segment's start vertex to its end
// vertex; an arc whose bulge is too small to tell it from its chord in double
// precision is read as the line segment. The polyline is open for read and stays the caller's;
// vertex subentities are opened for read one at a time and closed again.
// Every function returns 1 and stores no failure text.
#pragma once

#include "acarray.h"
#include "dbents.h"
#include "dbpl.h"
#include "gepnt3d.h"
#include "opennurbs.h"

int ReadPolyline(AcDbPolyline* polyline, ON_PolylineCurve& curve);
// z of every point is the polyline's elevation.
int Read2dPolyline(AcDb2dPolyline* polyline, ON_PolylineCurve& curve);
int Read3dPolyline(AcDb3dPolyline* polyline, ON_PolylineCurve& curve);
int ReadPolylineSegments(AcDbPolyline* polyline, ON_PolyCurve& curve);

ON_3dPointArray AcGePointArrayToOn(const AcArray<AcGePoint3d>& points);
