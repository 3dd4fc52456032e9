// Inspection and set-up calls of the drawing-database stand-in. They have no
// counterpart in the host; tests and the other parts of the stand-in use them.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "acadstrc.h"
#include "acdb.h"
#include "dbid.h"

class AcDbDatabase;
class AcDbEntity;

namespace standin {

// One object that is open at the moment.
struct OpenObject {
    AcDbObjectId id;
    AcDbDatabase* database = nullptr;
    std::wstring className;                // "AcDbFace", ...
    AcDb::OpenMode mode = AcDb::kForRead;  // kForWrite / kForNotify when so open
    int readers = 0;                       // number of read opens
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

// The host's DXFIN: reads a DXF file into the model space of the database,
// every entity on its layer (created when missing) with its colour. All or
// nothing: on any failure the drawing is left as it was, reason says why in
// a few words, and the status is not eOk (eBadDxfFile for a file that is not
// read whole).
Acad::ErrorStatus dxfIn(AcDbDatabase* db, const std::wstring& path, std::wstring& reason);

// AcDbDatabase::dxfOut with the reason of a failure in a few words: the
// file is written beside the one it replaces and renamed over it when whole
// (a name that links elsewhere is written where it leads; a device such as
// /dev/full is written directly), so a failed write leaves an earlier file
// as it was. eOutOfDisk for a full disk, eCantOpenFile when the file cannot
// be made, eFileAccessErr for other write failures.
Acad::ErrorStatus dxfOut(AcDbDatabase* db, const std::wstring& fileName, std::wstring& reason);

// The smallest box around the entities of model space that are not erased;
// false when there is none.
bool modelSpaceExtents(const AcDbDatabase* db, double min[3], double max[3]);

// Bytes of memory that the database's bookkeeping holds beyond the objects
// themselves (id table, record entity lists).
size_t bookkeepingBytes(const AcDbDatabase* db);

}  // namespace standin
