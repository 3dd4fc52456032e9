// dxfOut's writer of the curve entities.
#pragma once

class DL_WriterA;
class DL_Attributes;
class AcDbEntity;

namespace acdbimpl {
// Writes CIRCLE, ARC, ELLIPSE, SPLINE, LWPOLYLINE, POLYLINE (with its VERTEX
// records and SEQEND), RAY or XLINE for the entity; false when the entity is
// none of these.
bool writeCurveEntity(DL_WriterA& dw, const AcDbEntity* entity, const DL_Attributes& attrib);
}  // namespace acdbimpl
