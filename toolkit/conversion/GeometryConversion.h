// Geometry value conversion between openNURBS and the host.
//
// The converters turn one openNURBS value into the host's equivalent and
// back: points and vectors keep x, y, z; matrices copy entry (row, column) to
// entry (row, column), translation in the last column on both sides. The
// setters give an existing host entity (open for write, or in no database
// yet) the geometry of an openNURBS value; they neither open nor close it,
// look at none of the host's statuses and return 1.
#pragma once

#include "dbcolor.h"
#include "dbents.h"
#include "gemat3d.h"
#include "gepnt3d.h"
#include "gevec3d.h"
#include "opennurbs.h"

AcGePoint3d OnPointToAcGe(const ON_3dPoint& point);
AcGeVector3d OnVectorToAcGe(const ON_3dVector& vector);
AcGeMatrix3d OnXformToAcGe(const ON_Xform& xform);

// By the attributes' colour source: from layer and from material give a
// by-layer colour, from object the attributes' RGB colour, from parent the
// default colour.
AcCmColor AttributesToAcCmColor(const ON_3dmObjectAttributes& attributes);

ON_3dPoint AcGePointToOn(const AcGePoint3d& point);
ON_3dVector AcGeVectorToOn(const AcGeVector3d& vector);
ON_Xform AcGeMatrixToOn(const AcGeMatrix3d& matrix);

int SetAcDbPoint(const ON_Point& point, AcDbPoint* entity);
int SetAcDbLine(const ON_Line& line, AcDbLine* entity);
// The arc's angles are measured from the host's arbitrary-axis x direction of
// the arc's normal, not from the openNURBS plane's x axis: the entity starts at
// the arc's start point and sweeps the arc's angle counter-clockwise about its
// normal. The end angle is start angle plus sweep, not reduced below 2 pi.
int SetAcDbArc(const ON_Arc& arc, AcDbArc* entity);
// Centre, radius, then the normal as it stands.
int SetAcDbCircle(const ON_Circle& circle, AcDbCircle* entity);
