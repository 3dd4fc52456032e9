// DXFIN's import into the drawing: the built entities appended, with the
// layers, linetypes and blocks they need, all or nothing.
#pragma once

#include <vector>

#include "dbmain.h"
#include "dxfin/Builders.h"
#include "dxfin/Scan.h"

namespace standin::dxfin {

// Creates the linetypes, layers and blocks that the drawing lacks, places
// every block reference, and appends every entity (to model space or its
// block). On any failure takes back everything it created or appended and
// throws a Failure.
void importInto(AcDbDatabase* db, const FileTables& tables, const std::vector<ScannedBlock>& blocks,
                EntityList& entities);

}  // namespace standin::dxfin
