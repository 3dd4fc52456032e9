#include "dxf/DxfHarness.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/FuzzSupport.h"
#include "dbapserv.h"
#include "dbents.h"
#include "dbmain.h"
#include "dbsymtb.h"
#include "standin/AcDbStandin.h"
#include "standin/WideFormat.h"

namespace kvfuzz {
namespace {

std::string g_file;

int layerCount(AcDbDatabase* db)
{
    AcDbLayerTable* table = nullptr;
    if (db->getLayerTable(table, AcDb::kForRead) != Acad::eOk)
        return -1;
    AcDbSymbolTableIterator* it = nullptr;
    int n = 0;
    if (table->newIterator(it) == Acad::eOk) {
        for (; !it->done(); it->step())
            ++n;
        delete it;
    }
    table->close();
    return n;
}

// A fresh drawing with one line on the layer "Keep".
AcDbDatabase* startDrawing()
{
    AcDbDatabase* db = standin::newWorkingDatabase();
    AcDbLayerTable* layers = nullptr;
    db->getLayerTable(layers, AcDb::kForWrite);
    auto* layer = new AcDbLayerTableRecord();
    layer->setName(L"Keep");
    layers->add(layer);
    layer->close();
    layers->close();
    AcDbBlockTable* blocks = nullptr;
    db->getBlockTable(blocks, AcDb::kForRead);
    AcDbBlockTableRecord* space = nullptr;
    blocks->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite);
    blocks->close();
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0));
    line->setLayer(L"Keep");
    space->appendAcDbEntity(line);
    line->close();
    space->close();
    return db;
}

}  // namespace

void SetUpDxfHarness()
{
    if (!g_file.empty())
        return;
    g_file = ScratchDir() + "/input.dxf";  // removed when the process ends
}

std::string RunDxfInput(const uint8_t* data, size_t size)
{
    SetUpDxfHarness();
    FILE* f = std::fopen(g_file.c_str(), "wb");
    if (f == nullptr)
        return "cannot write the input file";
    const bool written = std::fwrite(data, 1, size, f) == size;
    if (std::fclose(f) != 0 || !written)
        return "cannot write the input file";

    AcDbDatabase* db = startDrawing();
    const int entitiesBefore = standin::modelSpaceEntityCount(db);
    const int layersBefore = layerCount(db);
    const size_t objectsBefore = static_cast<size_t>(db->approxNumObjects());
    std::wstring reason;
    const Acad::ErrorStatus es = standin::dxfIn(db, standin::widen(g_file), reason);
    std::string broke;
    if (!standin::openObjects().empty())
        broke = "objects left open:\n" + standin::describeOpenObjects();
    else if (es == Acad::eOk && !reason.empty())
        broke = "success with a reason";
    else if (es == Acad::eOk && (standin::modelSpaceEntityCount(db) < entitiesBefore || layerCount(db) < layersBefore))
        broke = "a successful import lost entities or layers";
    else if (es != Acad::eOk && reason.empty())
        broke = "a failure without a reason";
    else if (es != Acad::eOk &&
             (standin::modelSpaceEntityCount(db) != entitiesBefore || layerCount(db) != layersBefore))
        broke = "a failed import changed the drawing: " + standin::narrow(reason);
    else if (!standin::protocolViolations().empty())
        broke = "open protocol breached: " + standin::protocolViolations().front();
    (void)objectsBefore;
    standin::clearProtocolViolations();
    return broke;
}

}  // namespace kvfuzz
