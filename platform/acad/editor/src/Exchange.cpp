// The host's DXFIN and ZOOM commands, and the view that ZOOM changes.
#include <cmath>
#include <limits>
#include <string>

#include "standin/AcDbStandin.h"
#include "standin/AcEdStandin.h"

#include "adscodes.h"
#include "dbapserv.h"
#include "dbmain.h"

#include "EditorInternal.h"

namespace {

standin::editor::View& view()
{
    static standin::editor::View* v = new standin::editor::View();
    return *v;
}

AcDbDatabase* workingDatabase()
{
    return acdbHostApplicationServices() != nullptr ? acdbHostApplicationServices()->workingDatabase() : nullptr;
}

void zoomExtents()
{
    standin::editor::View& v = view();
    ++v.extentsZooms;
    double min[3], max[3];
    if (!standin::modelSpaceExtents(workingDatabase(), min, max))
        return;  // nothing to show: the view stays
    // Halves first: the extents of a drawing may span more than the largest
    // number, and a view stays finite.
    for (int k = 0; k < 2; ++k) {
        v.center[k] = min[k] / 2 + max[k] / 2;
        const double size = max[k] - min[k];
        (k == 0 ? v.width : v.height) = std::isfinite(size) ? size : std::numeric_limits<double>::max();
    }
}

}  // namespace

namespace kv_editor {

std::wstring fileNameAnswer(const std::wstring& answer)
{
    std::wstring t = trim(answer);
    if (t.size() >= 2 && t.front() == L'"' && t.back() == L'"')
        t = t.substr(1, t.size() - 2);
    return t;
}

int dxfInCommand()
{
    const std::optional<std::wstring> answer = ask(L"Enter DXF file name: ");
    if (!answer)
        return RTCAN;
    std::wstring path = fileNameAnswer(*answer);
    if (path.empty()) {
        print(L"Unable to read DXF file: no file name.\n");
        return RTERROR;
    }
    const size_t slash = path.find_last_of(L"/\\");
    const size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        path += L".dxf";
    std::wstring reason;
    if (standin::dxfIn(workingDatabase(), path, reason) != Acad::eOk) {
        printf(L"Unable to read DXF file \"%ls\": %ls.\n", path.c_str(), reason.c_str());
        return RTERROR;
    }
    return RTNORM;
}

int zoomCommand()
{
    const std::optional<std::wstring> answer =
        ask(L"Specify corner of window, enter a scale factor (nX or nXP), or\n"
            L"[All/Center/Dynamic/Extents/Previous/Scale/Window/Object] <real time>: ");
    if (!answer)
        return RTCAN;
    std::wstring option = upper(trim(*answer));
    if (!option.empty() && option[0] == L'_')
        option.erase(0, 1);
    // Extents, and All (the drawing has no limits here); the other options
    // leave the view as it is.
    if (!option.empty() &&
        (std::wstring(L"EXTENTS").compare(0, option.size(), option) == 0 ||
         std::wstring(L"ALL").compare(0, option.size(), option) == 0))
        zoomExtents();
    return RTNORM;
}

void resetView()
{
    view() = standin::editor::View();
}

}  // namespace kv_editor

namespace standin {
namespace editor {

View currentView()
{
    return view();
}

}  // namespace editor
}  // namespace standin
