// DXFIN's import into the drawing.
#include "dxfin/Import.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "DbInternal.h"
#include "dbents.h"

namespace standin::dxfin {

namespace {

// A failure at a line when it is known.
[[noreturn]] void failOn(size_t line, const std::wstring& reason)
{
    if (line != 0)
        failAt(line, reason);
    fail(reason);
}

bool isByName(const std::wstring& linetype)
{
    std::wstring upper = linetype;
    for (wchar_t& c : upper)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    return upper.empty() || upper == L"BYLAYER";
}

class Import {
public:
    explicit Import(AcDbDatabase* db) : db_(db) {}
    Import(const Import&) = delete;
    Import& operator=(const Import&) = delete;

    // Creates what is missing and appends every entity; on any failure takes
    // everything back and throws.
    void run(const FileTables& tables, const std::vector<ScannedBlock>& blocks, EntityList& entities)
    {
        try {
            addLinetypes(tables.linetypes);
            addLayers(tables.layers, entities);
            addBlocks(blocks);
            placeReferences(entities);
            appendAll(entities);
        } catch (...) {
            rollBack();
            throw;
        }
    }

private:
    void addLinetypes(const std::vector<LinetypeDef>& linetypes)
    {
        if (linetypes.empty())
            return;
        AcDbLinetypeTable* table = nullptr;
        if (db_->getLinetypeTable(table, AcDb::kForWrite) != Acad::eOk)
            fail(L"the linetype table cannot be opened");
        Closing closeTable(table);
        for (const LinetypeDef& def : linetypes) {
            if (table->has(def.name.c_str()))
                continue;
            std::unique_ptr<AcDbLinetypeTableRecord> record(new AcDbLinetypeTableRecord());
            if (record->setName(def.name.c_str()) != Acad::eOk)
                fail(L"a linetype with the bad name \"" + def.name + L"\"");
            record->setComments(def.comments.c_str());
            AcDbObjectId id;
            if (table->add(id, record.get()) != Acad::eOk)
                fail(L"the linetype \"" + def.name + L"\" cannot be added");
            record.release()->close();
            created_.push_back(id);
        }
    }

    void addLayers(const std::vector<LayerDef>& defs, const EntityList& entities)
    {
        AcDbLayerTable* table = nullptr;
        if (db_->getLayerTable(table, AcDb::kForWrite) != Acad::eOk)
            fail(L"the layer table cannot be opened");
        Closing closeTable(table);
        auto addLayer = [&](const LayerDef& def) {
            if (table->has(def.name.c_str()))
                return;
            std::unique_ptr<AcDbLayerTableRecord> record(new AcDbLayerTableRecord());
            if (record->setName(def.name.c_str()) != Acad::eOk)
                failOn(def.line, L"a layer with the bad name \"" + def.name + L"\"");
            record->setColor(def.color);
            record->setIsFrozen(def.frozen);
            record->setIsLocked(def.locked);
            record->setIsOff(def.off);
            if (!def.linetype.empty()) {
                AcDbLinetypeTable* linetypes = nullptr;
                AcDbObjectId linetypeId;
                if (db_->getLinetypeTable(linetypes, AcDb::kForRead) == Acad::eOk) {
                    linetypes->getAt(def.linetype.c_str(), linetypeId);
                    linetypes->close();
                }
                if (!linetypeId.isNull())
                    record->setLinetypeObjectId(linetypeId);
            }
            AcDbObjectId id;
            if (table->add(id, record.get()) != Acad::eOk)
                fail(L"the layer \"" + def.name + L"\" cannot be added");
            record.release()->close();
            created_.push_back(id);
        };
        for (const LayerDef& def : defs)
            addLayer(def);
        // A layer that entities name without a table record: white, continuous.
        // Entities share their properties, so each set is looked at once.
        std::unordered_set<const Properties*> seen;
        for (const Built& b : entities.list) {
            if (!seen.insert(b.properties).second)
                continue;
            LayerDef def;
            def.name = b.properties->layer;
            def.line = b.line;
            def.color.setColorIndex(7);
            addLayer(def);
        }
    }

    // A block record for each block definition of the file; a block the
    // drawing has already keeps its own entities, and the file's are dropped.
    void addBlocks(const std::vector<ScannedBlock>& blocks)
    {
        if (blocks.empty())
            return;
        AcDbBlockTable* table = nullptr;
        if (db_->getBlockTable(table, AcDb::kForWrite) != Acad::eOk)
            fail(L"the block table cannot be opened");
        Closing closeTable(table);
        for (const ScannedBlock& b : blocks) {
            const std::wstring name = dxfWide(b.name);
            FileBlock fileBlock;
            fileBlock.name = name;
            fileBlock.line = b.line;
            fileBlock.origin = b.base;
            if (table->getAt(name.c_str(), fileBlock.id) == Acad::eOk) {
                fileBlock.kept = true;
            } else {
                std::unique_ptr<AcDbBlockTableRecord> record(new AcDbBlockTableRecord());
                if (record->setName(name.c_str()) != Acad::eOk)
                    failAt(b.line, L"a block with the bad name \"" + name + L"\"");
                record->setOrigin(b.base);
                if (table->add(fileBlock.id, record.get()) != Acad::eOk)
                    failAt(b.line, L"the block \"" + name + L"\" cannot be added");
                record.release()->close();
                created_.push_back(fileBlock.id);
            }
            blockIndex_.emplace(fileBlock.name, static_cast<int>(blocks_.size()));
            blocks_.push_back(fileBlock);
        }
    }

    // Each block reference gets its block, whose base point then lands on
    // the insertion point.
    void placeReferences(EntityList& entities)
    {
        checkNoCycles(entities);
        for (Built& b : entities.list) {
            if (b.insertOf.empty())
                continue;
            AcDbObjectId id;
            const int named = fileBlockNamed(b.insertOf);
            if (named >= 0) {
                id = blocks_[static_cast<size_t>(named)].id;
            } else {
                AcDbBlockTable* table = nullptr;
                if (db_->getBlockTable(table, AcDb::kForRead) != Acad::eOk)
                    fail(L"the block table cannot be opened");
                AcDbBlockTableRecord* record = nullptr;
                const Acad::ErrorStatus es = table->getAt(b.insertOf.c_str(), record, AcDb::kForRead);
                table->close();
                if (es != Acad::eOk)
                    failAt(b.line,
                           L"a reference to the block \"" + b.insertOf +
                               L"\", which neither the file nor the drawing holds");
                id = record->objectId();
                record->close();
            }
            auto* ref = static_cast<AcDbBlockReference*>(b.entity);
            if (ref->setBlockTableRecord(id) != Acad::eOk)
                failAt(b.line, L"the reference to the block \"" + b.insertOf + L"\" cannot be placed");
        }
    }

    int fileBlockNamed(const std::wstring& name) const
    {
        const auto it = blockIndex_.find(name);
        return it == blockIndex_.end() ? -1 : it->second;
    }

    // A block of the file that shows itself, directly or through others,
    // would have no end.
    void checkNoCycles(const EntityList& entities) const
    {
        std::vector<std::vector<int>> shows(blocks_.size());
        for (const Built& b : entities.list)
            if (b.block >= 0 && !b.insertOf.empty() && !blocks_[static_cast<size_t>(b.block)].kept) {
                const int target = fileBlockNamed(b.insertOf);
                if (target >= 0)
                    shows[static_cast<size_t>(b.block)].push_back(target);
            }
        std::vector<int> state(blocks_.size(), 0);  // 0 unseen, 1 on the path, 2 done
        for (size_t start = 0; start < blocks_.size(); ++start) {
            std::vector<std::pair<int, size_t>> path{{static_cast<int>(start), 0}};
            if (state[start] != 0)
                continue;
            state[start] = 1;
            while (!path.empty()) {
                auto& [node, next] = path.back();
                const std::vector<int>& out = shows[static_cast<size_t>(node)];
                if (next == out.size()) {
                    state[static_cast<size_t>(node)] = 2;
                    path.pop_back();
                    continue;
                }
                const int to = out[next++];
                if (state[static_cast<size_t>(to)] == 1)
                    failOn(blocks_[static_cast<size_t>(to)].line,
                           L"the block \"" + blocks_[static_cast<size_t>(to)].name + L"\" holds a reference to itself");
                if (state[static_cast<size_t>(to)] == 0) {
                    state[static_cast<size_t>(to)] = 1;
                    path.push_back({to, 0});
                }
            }
        }
    }

    void appendAll(EntityList& entities)
    {
        AcDbBlockTable* blocks = nullptr;
        if (db_->getBlockTable(blocks, AcDb::kForRead) != Acad::eOk)
            fail(L"the block table cannot be opened");
        AcDbBlockTableRecord* space = nullptr;
        const Acad::ErrorStatus es = blocks->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite);
        blocks->close();
        if (es != Acad::eOk)
            fail(L"model space cannot be opened for write");
        Closing closeSpace(space);
        appended_.reserve(entities.list.size());
        for (Built& b : entities.list) {
            AcDbEntity* e = b.entity;
            AcDbBlockTableRecord* owner = space;
            AcDbBlockTableRecord* block = nullptr;
            if (b.block >= 0) {
                const FileBlock& f = blocks_[static_cast<size_t>(b.block)];
                if (f.kept)
                    continue;  // the drawing's own definition stays
                if (acdbOpenObject(block, f.id, AcDb::kForWrite) != Acad::eOk)
                    fail(L"the block \"" + f.name + L"\" cannot be opened for write");
                owner = block;
            }
            Closing closeBlock(block);
            if (e->setLayer(b.properties->layer.c_str()) != Acad::eOk)
                failAt(b.line, L"the layer \"" + b.properties->layer + L"\" cannot be set");
            if (!isByName(b.properties->linetype) && e->setLinetype(b.properties->linetype.c_str()) != Acad::eOk)
                failAt(b.line, L"the linetype \"" + b.properties->linetype + L"\" is not in the drawing");
            e->setColor(b.properties->color);
            AcDbObjectId id;
            if (owner->appendAcDbEntity(id, e) != Acad::eOk)
                fail(L"an entity cannot be appended to model space");
            b.entity = nullptr;  // the database's now
            appended_.push_back(id);
            struct Closer {
                AcDbEntity* e;
                ~Closer() { e->close(); }
            } closer{e};
            if (b.polyFace)
                appendPolyFace(*static_cast<AcDbPolyFaceMesh*>(e), *b.polyFace);
        }
    }

    static void appendPolyFace(AcDbPolyFaceMesh& mesh, const PolyFaceRecords& b)
    {
        for (const AcGePoint3d& p : b.vertices) {
            std::unique_ptr<AcDbPolyFaceMeshVertex> v(new AcDbPolyFaceMeshVertex(p));
            if (mesh.appendVertex(v.get()) != Acad::eOk)
                fail(L"a polyface mesh vertex cannot be appended");
            v.release()->close();
        }
        for (const std::array<Adesk::Int16, 4>& f : b.faces) {
            std::unique_ptr<AcDbFaceRecord> face(new AcDbFaceRecord(f[0], f[1], f[2], f[3]));
            if (mesh.appendFaceRecord(face.get()) != Acad::eOk)
                fail(L"a polyface mesh face cannot be appended");
            face.release()->close();
        }
    }

    void rollBack()
    {
        for (auto list : {&appended_, &created_}) {
            for (auto it = list->rbegin(); it != list->rend(); ++it) {
                AcDbObject* obj = nullptr;
                if (acdbOpenObject(obj, *it, AcDb::kForWrite) == Acad::eOk) {
                    obj->erase();
                    obj->close();
                }
            }
        }
    }

    struct Closing {
        AcDbObject* obj;
        explicit Closing(AcDbObject* o) : obj(o) {}
        Closing(const Closing&) = delete;
        Closing& operator=(const Closing&) = delete;
        ~Closing()
        {
            if (obj != nullptr)
                obj->close();
        }
    };

    struct FileBlock {
        std::wstring name;
        size_t line = 0;
        AcDbObjectId id;
        AcGePoint3d origin;
        bool kept = false;  // the drawing had it already
    };

    AcDbDatabase* db_;
    std::vector<FileBlock> blocks_;
    std::unordered_map<std::wstring, int> blockIndex_;  // name -> first block of blocks_ with it
    std::vector<AcDbObjectId> appended_;
    std::vector<AcDbObjectId> created_;
};

}  // namespace

void importInto(AcDbDatabase* db, const FileTables& tables, const std::vector<ScannedBlock>& blocks,
                EntityList& entities)
{
    Import(db).run(tables, blocks, entities);
}

}  // namespace standin::dxfin
