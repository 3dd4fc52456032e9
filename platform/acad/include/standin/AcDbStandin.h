// Inspection and set-up calls of the drawing-database stand-in. They have no
// counterpart in the host; tests and the other parts of the stand-in use them.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "acdb.h"
#include "dbid.h"

class AcDbDatabase;
class AcDbEntity;

namespace standin {

// One object that is open at the moment.
struct OpenObject {
    AcDbObjectId id;
    AcDbDatabase* database = nullptr;
    std::wstring className;      // "AcDbFace", ...
    AcDb::OpenMode mode = AcDb::kForRead;  // kForWrite / kForNotify when so open
    int readers = 0;             // number of read opens
};

// The objects of the database that are open now, in handle order.
std::vector<OpenObject> openObjects(const AcDbDatabase* db);
// The objects of every database that are open now.
std::vector<OpenObject> openObjects();
// A readable list of the open objects (for test failure messages); "" when none.
std::string describeOpenObjects();

// Makes a new database with the default drawing and makes it the working
// database. The stand-in owns it; the database that the previous call made is
// destroyed (the working database must not be one of another owner then).
AcDbDatabase* newWorkingDatabase();
// Destroys the database that newWorkingDatabase made, if any.
void discardWorkingDatabase();

// Bytes that the database's heap (the new and delete of every AcDbObject)
// has handed out and not yet taken back.
std::size_t objectHeapBytes();

// The databases that exist now.
std::vector<AcDbDatabase*> databases();

// Number of entities of the block table record that are not erased; -1 when
// the id names no block table record.
int entityCount(AcDbObjectId blockRecordId);
// The same for the model-space record of the database.
int modelSpaceEntityCount(const AcDbDatabase* db);

// Highlighting, kept by the database.
bool isHighlighted(AcDbObjectId entityId);
std::vector<AcDbObjectId> highlightedEntities(const AcDbDatabase* db);
void clearHighlights(AcDbDatabase* db);

// Calls visit with the id of every entity of model space and then of paper
// space that is not erased, in the order of each space.
void forEachSpaceEntity(const AcDbDatabase* db, const std::function<void(AcDbObjectId)>& visit);
// The object with the handle (erased ones included); the null id when none.
AcDbObjectId findByHandle(const AcDbDatabase* db, const AcDbHandle& handle);

// Breaches of the open protocol by a caller: close() of an object that is in
// no database, close() of an object that is not open, deleting an object that
// belongs to a database, changing an object that is not open for write. Each
// is also printed to standard error when it happens.
std::vector<std::string> protocolViolations();
void clearProtocolViolations();

// Bytes of memory that the database's bookkeeping holds beyond the objects
// themselves (id table, record entity lists).
size_t bookkeepingBytes(const AcDbDatabase* db);

}  // namespace standin
