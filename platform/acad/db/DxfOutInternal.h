// Inside dxfOut: the writers of the entity families and what they share.
#pragma once

#include <string>

#include "AdAChar.h"

class DL_WriterA;
class DL_Attributes;
class AcDbEntity;
class AcGePoint3d;
class AcGeVector3d;

namespace acdbimpl {

// A wide text as DXF text: ASCII as it is, anything else as \U+XXXX.
std::string dxfText(const ACHAR* text);

// A world point in the object coordinates of an entity of normal n (the
// arbitrary-axis rule), as DXF stores the points of CIRCLE, ARC, SOLID, TEXT
// and INSERT.
AcGePoint3d toEcs(const AcGeVector3d& n, const AcGePoint3d& p);

// Writes CIRCLE, ARC, ELLIPSE, SPLINE, LWPOLYLINE, POLYLINE (with its VERTEX
// records and SEQEND), RAY or XLINE for the entity; false when the entity is
// none of these.
bool writeCurveEntity(DL_WriterA& dw, const AcDbEntity* entity, const DL_Attributes& attrib);

// Writes the entity when it is a polyface or polygon mesh, a 2D solid, a
// text, a block reference, a 3D solid, a body or a region; false otherwise.
bool dxfOutMeshEntity(DL_WriterA& dw, const AcDbEntity* entity, const DL_Attributes& attrib);

}  // namespace acdbimpl
