// Circles and arcs as the readers make them.
#pragma once

#include "gepnt3d.h"
#include "gevec3d.h"
#include "opennurbs.h"

// The circle of centre and radius on the openNURBS plane through the centre
// with that normal: its x axis is the one openNURBS derives from the normal.
ON_Circle ReaderCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius);

// The arc on circle from start to end, counter-clockwise about the circle's
// normal: the angles of both points in the circle's plane, the end moved one
// turn on when it does not lie above the start (equal points: the full circle).
ON_Arc ArcOnCircle(const ON_Circle& circle, const ON_3dPoint& start, const ON_3dPoint& end);
