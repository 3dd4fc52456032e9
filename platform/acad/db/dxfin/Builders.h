// DXFIN's entity builders: the entities of a scanned file built from its
// groups, and its layers and linetypes, before anything reaches a drawing.
#pragma once

#include <array>
#include <deque>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
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

// A polyface mesh's vertices and faces, appended once the mesh is in the drawing.
struct PolyFaceRecords {
    std::vector<AcGePoint3d> vertices;
    std::vector<std::array<Adesk::Int16, 4>> faces;
};

// An entity built and not yet in any database. There is one for each entity
// of the file, so what only a few kinds need stands behind a pointer.
struct Built {
    AcDbEntity* entity = nullptr;
    std::uint32_t line = 0;                  // of its record
    int block = -1;                          // the file's block definition that takes it; -1 for model space
    const Properties* properties = nullptr;  // one of EntityList::share's
    // A block reference: the block it names.
    std::wstring insertOf;
    std::unique_ptr<PolyFaceRecords> polyFace;
};

// The built entities, in the order of the scan; deletes those that no
// database took.
struct EntityList {
    std::vector<Built> list;
    EntityList() = default;
    EntityList(const EntityList&) = delete;
    EntityList& operator=(const EntityList&) = delete;
    ~EntityList();

    // The one copy of these properties that the entities share: a file's
    // entities stand on a few layers, with a few linetypes and colours.
    const Properties* share(Properties properties);

private:
    std::deque<Properties> properties_;
    std::unordered_map<std::wstring, const Properties*> shared_;
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
