// The general entity reader: one drawing entity into openNURBS geometry,
// chosen by the exact name of the entity's run-time class; and the explode
// readers for the classes that are read through their pieces.
//
// The entity is open (for read suffices) and stays the caller's. Objects are
// only appended to the caller's list, each a new heap object that then
// belongs to the caller.
#pragma once

#include <dbents.h>
#include <dbmain.h>

#include "opennurbs.h"

class AcDb3dSolid;
class AcDbBody;
class AcDbRegion;
class AcDbMline;
class AcDbHatch;

// How many explode readers may run nested inside one another: a piece that
// would explode deeper gives nothing, so a solid whose explode yields solids
// again cannot recurse without end.
const int kMaxExplodeDepth = 16;

// 1 when the entity's class is in the dispatch table and its reader
// succeeded, else 0 with nothing appended. A block reference is looked up in
// definitions.
int ReadEntity(AcDbEntity* entity, ON_SimpleArray<ON_Geometry*>& objects,
               const ON_ClassArray<ON_InstanceDefinition>& definitions);

// Explode the entity and read every piece with ReadEntity, depth first; the
// pieces are deleted, also when a read ends with an exception. 1 when the
// explode succeeded, also when no piece read; 0 when it failed (or the
// nesting reached kMaxExplodeDepth).
int Read3dSolid(AcDb3dSolid* solid, ON_SimpleArray<ON_Geometry*>& objects);
int ReadBody(AcDbBody* body, ON_SimpleArray<ON_Geometry*>& objects);
int ReadRegion(AcDbRegion* region, ON_SimpleArray<ON_Geometry*>& objects);

// Explode the entity and append one line curve per piece of the line class
// itself, in order; other pieces give nothing, and every piece is deleted. 1 when the explode succeeded; 0 when it failed,
// ReadMline then storing "Unable to explode MLINE object".
int ReadMline(AcDbMline* mline, ON_ClassArray<ON_LineCurve>& lines);
int ReadHatch(AcDbHatch* hatch, ON_ClassArray<ON_LineCurve>& lines);
