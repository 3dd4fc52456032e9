// DXFIN's structure scan: the sections, tables and blocks of a file read as
// group pairs, and where its entities and the records dxflib reads stand.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "dxfin/Groups.h"
#include "gepnt3d.h"

namespace standin::dxfin {

// An entity of the ENTITIES section or of a block definition: its type and
// its groups.
struct ScannedEntity {
    std::string_view type;  // in the file's text
    size_t first = 0;       // index of its "0" pair
    size_t last = 0;        // one past its last pair
    int block = -1;         // the block definition that holds it; -1 for model space
};

// A block definition of the BLOCKS section other than the two spaces.
struct ScannedBlock {
    std::string name;
    AcGePoint3d base;
    size_t line = 0;
};

// The groups [first, last) of one record: from its "0" pair to the next.
struct Span {
    size_t first = 0, last = 0;
};

struct Scanned {
    std::vector<ScannedEntity> entities;
    std::vector<ScannedBlock> blocks;
    // The records of the LTYPE and LAYER tables, in file order.
    std::vector<Span> linetypes, layers;
};

// The name in upper case: symbol names are compared as the host compares
// them, letters of either case alike.
std::string upperCase(std::string name);

// The entity types that the drawing holds and the reader reads.
bool isReadEntity(const std::string& type);
// The entity types of DXF, read or not: a record of one of them belongs in
// the BLOCKS or ENTITIES section and nowhere else.
bool isEntityType(const std::string& type);

// Sections, tables and blocks properly opened and closed; the entities of
// the ENTITIES section and of the block definitions, each of a type the
// drawing holds; no entity in the blocks of the two spaces nor outside the
// sections of entities; the closing EOF. Throws a Failure naming the line of
// the first fault.
Scanned scanStructure(const std::vector<Pair>& pairs);

}  // namespace standin::dxfin
