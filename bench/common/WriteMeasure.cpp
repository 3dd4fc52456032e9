#include "WriteMeasure.h"

#include <malloc.h>

#include "dbapserv.h"
#include "dbsymtb.h"

namespace kvbench {

std::size_t HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd + standin::objectHeapBytes();
}

int ModelSpaceCount()
{
    AcDbBlockTable* table = nullptr;
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (db->getSymbolTable(table, AcDb::kForRead) != Acad::eOk)
        return 0;
    AcDbBlockTableRecord* space = nullptr;
    const Acad::ErrorStatus es = table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForRead);
    table->close();
    if (es != Acad::eOk)
        return 0;
    int count = 0;
    AcDbBlockTableRecordIterator* it = nullptr;
    if (space->newIterator(it) == Acad::eOk) {
        for (it->start(); !it->done(); it->step())
            ++count;
        delete it;
    }
    space->close();
    return count;
}

}  // namespace kvbench
