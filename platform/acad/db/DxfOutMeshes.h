// dxfOut of the mesh-like and compound entities.
#pragma once

#include <dxflib/dl_attributes.h>
#include <dxflib/dl_writer_ascii.h>

#include "dbmain.h"

namespace acdbimpl {
// Writes the entity when it is a polyface or polygon mesh, a 2D solid, a
// text, a block reference, a 3D solid, a body or a region; false otherwise.
bool dxfOutMeshEntity(DL_WriterA& dw, const AcDbEntity* entity, const DL_Attributes& attrib);
}  // namespace acdbimpl
