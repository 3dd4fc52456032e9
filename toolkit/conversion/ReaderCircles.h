// Circles and arcs as the readers make them.
#pragma once

#include "gepnt3d.h"
#include "gevec3d.h"
#include "opennurbs.h"

// The circle of centre and radius on the openNURBS plane through the centre
// with that normal: its x axis is the one openNURBS derives from the normal.
ON_Circle ReaderCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius);

// The arc on circle from start to end, counter-clockwise about the circle's
// normal: it starts at the angle of start in the circle's plane and sweeps the
// angle from start to end, above 0 and at most one turn (equal points: the
// full circle).
ON_Arc ArcOnCircle(const ON_Circle& circle, const ON_3dPoint& start, const ON_3dPoint& end);
