// The host's DXFIN: a DXF file read into the model space of a drawing.
//
// The file is read whole and checked before anything reaches the drawing, in
// four steps: its groups (Groups), its sections and the records in them
// (Scan), its entities and tables built (Builders), and the import of what
// was built (Import). Every entity is built first; only when all of them are
// built are missing layers, linetypes and blocks created and the entities
// appended, and an append that fails takes back everything appended before
// it. An import is all or nothing.
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "dxfin/Builders.h"
#include "dxfin/Groups.h"
#include "dxfin/Import.h"
#include "dxfin/Scan.h"
#include "standin/AcDbStandin.h"
#include "standin/FileIo.h"
#include "standin/WideFormat.h"

namespace standin::dxfin {
namespace {

// A DXF file larger than this is refused before it is read.
constexpr std::uint64_t kMaxFileBytes = std::uint64_t(512) << 20;

// The whole file, of a regular file no larger than kMaxFileBytes.
std::string readWholeFile(const std::wstring& path)
{
    std::string data;
    if (const files::FileError e = files::readWholeFile(narrow(path), kMaxFileBytes, data))
        fail(e.reason());
    return data;
}

}  // namespace
}  // namespace standin::dxfin

namespace standin {

Acad::ErrorStatus dxfIn(AcDbDatabase* db, const std::wstring& path, std::wstring& reason)
{
    using namespace dxfin;
    reason.clear();
    if (db == nullptr) {
        reason = L"no drawing";
        return Acad::eNoDatabase;
    }
    try {
        FileTables tables;
        EntityList entities;
        std::vector<ScannedBlock> blocks;
        {
            // The text and its groups are let go before the import, which
            // needs only what was built from them.
            const std::string data = readWholeFile(path);
            const std::vector<Pair> pairs = readPairs(data);
            Scanned file = scanStructure(pairs);
            buildEntities(pairs, file, tables, entities);
            blocks = std::move(file.blocks);
        }
        importInto(db, tables, blocks, entities);
        return Acad::eOk;
    } catch (const Failure& f) {
        reason = f.reason;
        return Acad::eBadDxfFile;
    } catch (const std::bad_alloc&) {
        reason = L"out of memory";
        return Acad::eOutOfMemory;
    } catch (const std::exception& e) {
        reason = widen(e.what());
        return Acad::eBadDxfFile;
    }
}

}  // namespace standin
