// DXFIN's entity builders: the entities of a scanned file built from its
// groups, and its layers and linetypes, before anything reaches a drawing.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "dbents.h"
#include "dxfin/Groups.h"
#include "dxfin/Scan.h"
#include "gemat3d.h"

namespace standin::dxfin {

// DXF text as wide text: \U+XXXX escapes and UTF-8.
std::wstring dxfWide(const std::string& text);

struct LayerDef {
    size_t line = 0;  // of its record or of the first entity that names it; 0 when not known
    std::wstring name;
    AcCmColor color;
    bool frozen = false, locked = false, off = false;
    std::wstring linetype;
};

struct LinetypeDef {
    std::wstring name;
    std::wstring comments;
};

struct FileTables {
    std::vector<LayerDef> layers;
    std::vector<LinetypeDef> linetypes;
};

struct Properties {
    std::wstring layer;
    std::wstring linetype;
    AcCmColor color;
};

// An entity built and not yet in any database.
struct Built {
    AcDbEntity* entity = nullptr;
    size_t line = 0;  // of its record
    Properties properties;
    int block = -1;  // the file's block definition that takes it; -1 for model space
    // A block reference: the block it names, its insertion point (world) and
    // the scaled, turned axes of the block.
    std::wstring insertOf;
    AcGePoint3d at;
    AcGeMatrix3d axes;
    // A polyface mesh's vertices and faces, appended once it is in the drawing.
    bool polyFace = false;
    std::vector<AcGePoint3d> vertices;
    std::vector<std::array<Adesk::Int16, 4>> faces;
};

// The built entities, in the order of the scan; deletes those that no
// database took.
struct EntityList {
    std::vector<Built> list;
    EntityList() = default;
    EntityList(const EntityList&) = delete;
    EntityList& operator=(const EntityList&) = delete;
    ~EntityList();
};

// Every entity of the scan built, and the layers and linetypes of the file's
// tables read. The curves, meshes, solids, texts, hatches and references are built
// here from the checked groups, every count checked against the groups
// present; dxflib is then handed only the records it reads (the LTYPE and
// LAYER tables, 3DFACE, LINE and POINT), since it trusts the counts of the
// records it knows wherever they stand. Throws a Failure on the first entity
// that cannot be built.
void buildEntities(const std::vector<Pair>& pairs, const Scanned& scanned, FileTables& tables, EntityList& out);

}  // namespace standin::dxfin
