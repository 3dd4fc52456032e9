#include "DrawingExchange.h"

#include "EntityPlacement.h"
#include "ErrorStatusText.h"
#include "ToolkitUtilities.h"
#include "dbbody.h"

#include <acedads.h>
#include <adscodes.h>
#include <acutads.h>

#include <cwchar>
#include <vector>

namespace {

const int kNormal = 5100;

int RunDxfIn(LPCTSTR path)
{
    return acedCommand(RTSTR, L"_dxfin", RTSTR, path, RTNONE);
}

void ZoomExtents()
{
    acedCommand(RTSTR, L"_zoom", RTSTR, L"_extents", RTNONE);
}

}  // namespace

int ImportDxfFile(const CString& path, BOOL zoomExtents)
{
    if (RunDxfIn(path) != kNormal)
        return 0;
    if (zoomExtents)
        ZoomExtents();
    return 1;
}

int ImportDxfFiles(const CString& path, int& count)
{
    count = 0;
    int result = 1;

    // Each part can be as long as the whole path; buffers sized by it, so no
    // path overruns them.
    const size_t length = static_cast<size_t>(path.GetLength()) + 1;
    std::vector<wchar_t> drive(length + _MAX_DRIVE), dir(length + _MAX_DIR), fname(length + _MAX_FNAME),
        ext(length + _MAX_EXT);
    _wsplitpath(path, drive.data(), dir.data(), fname.data(), ext.data());
    // A split that failed (a part too long for the run-time's limits) gives
    // empty parts, and a search built from them would take the DXF files of
    // the working folder; a path without a file name names no model. Neither
    // is searched: nothing is imported or deleted.
    const size_t nameLength = wcslen(fname.data());
    if (nameLength == 0 ||
        wcslen(drive.data()) + wcslen(dir.data()) + nameLength + wcslen(ext.data()) !=
            static_cast<size_t>(path.GetLength())) {
        acutPrintf(L"Unable to read 2D data\n");
        return 0;
    }
    std::vector<wchar_t> folderText(2 * length + 1), baseText(3 * length + 1), pattern(3 * length + 8);
    const bool built = _swprintf(folderText.data(), L"%s%s", drive.data(), dir.data()) >= 0 &&
        _swprintf(baseText.data(), L"%s%s%s", drive.data(), dir.data(), fname.data()) >= 0 &&
        _swprintf(pattern.data(), L"%s*.dxf", baseText.data()) >= 0;

    WIN32_FIND_DATAW found;
    HANDLE search = built ? FindFirstFileW(pattern.data(), &found) : INVALID_HANDLE_VALUE;
    if (search == INVALID_HANDLE_VALUE) {
        acutPrintf(L"Unable to read 2D data\n");
        return 0;
    }
    bool taken = false;
    do {
        // The search takes '*' and '?' in the model's name as wildcards: only a
        // file whose name begins with the name as written lies beside the model.
        if (_wcsnicmp(found.cFileName, fname.data(), nameLength) != 0)
            continue;
        taken = true;
        std::vector<wchar_t> fullPath(2 * length + MAX_PATH + 1);
        _swprintf(fullPath.data(), L"%s%s", folderText.data(), found.cFileName);
        if (RunDxfIn(fullPath.data()) == kNormal) {
            ZoomExtents();
            ++count;
            // Only an imported file is deleted: a file that failed keeps its data.
            _wunlink(fullPath.data());
        } else {
            acutPrintf(L"Unable to read 2D data from %s", found.cFileName);
            result = 0;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    if (!taken) {
        acutPrintf(L"Unable to read 2D data\n");
        return 0;
    }
    return result;
}

int ImportAcisFile(const CString& path, BOOL zoomExtents)
{
    AcDbVoidPtrArray entities;
    Acad::ErrorStatus es = AcDbBody::acisIn(path, entities);
    if (es != Acad::eOk) {
        CToolkitUtilities::SetLastErrorText(ErrorStatusText(es));
        // Whatever a failed read made is the caller's: nothing else frees it.
        for (int i = 0; i < entities.length(); ++i)
            delete static_cast<AcDbEntity*>(entities[i]);
        return 0;
    }
    for (int i = 0; i < entities.length(); ++i) {
        auto* entity = static_cast<AcDbEntity*>(entities[i]);
        es = AppendToModelSpace(entity);
        if (es != Acad::eOk) {
            // No drawing took this entity or the ones after it: they are
            // deleted, not closed; the ones appended stay in the drawing.
            CToolkitUtilities::SetLastErrorText(ErrorStatusText(es));
            for (int j = i; j < entities.length(); ++j)
                delete static_cast<AcDbEntity*>(entities[j]);
            return 0;
        }
        entity->close();
    }
    if (zoomExtents)
        ZoomExtents();
    return 1;
}

int ExportAcisFile(const AcArray<AcDbObjectId>& ids, const CString& path)
{
    AcDbVoidPtrArray entities;
    Acad::ErrorStatus es = Acad::eOk;
    for (int i = 0; i < ids.length() && es == Acad::eOk; ++i) {
        AcDbEntity* entity = NULL;
        es = acdbOpenAcDbEntity(entity, ids[i], AcDb::kForRead);
        if (es == Acad::eOk)
            entities.append(entity);
    }
    // An entity that cannot be opened ends the export before anything is
    // written: a file without it would be reported as a good one.
    if (es == Acad::eOk)
        es = AcDbBody::acisOut(path, entities);
    for (int i = 0; i < entities.length(); ++i)
        static_cast<AcDbEntity*>(entities[i])->close();
    if (es != Acad::eOk) {
        CToolkitUtilities::SetLastErrorText(ErrorStatusText(es));
        return 0;
    }
    return 1;
}
