#include "Selection.h"

#include <aced.h>
#include <adscodes.h>
#include <adslib.h>
#include <dbents.h>

#include "Colors.h"
#include "Prompts.h"
#include "ToolkitUtilities.h"

namespace {

// The host's selection prompts are fixed buffers of this many characters,
// the terminator included.
const int kSelectionPromptSize = 255;

const wchar_t kRemovePrompt[] = L"Remove objects";

// A selection prompt as the host takes it: cut to what the buffer holds.
struct SelectionPrompt {
    ACHAR text[kSelectionPromptSize];

    explicit SelectionPrompt(const wchar_t* source)
    {
        int length = 0;
        if (source != nullptr) {
            while (length < kSelectionPromptSize - 1 && source[length] != L'\0') {
                text[length] = source[length];
                ++length;
            }
        }
        text[length] = L'\0';
    }
};

// The pick loop: asks until an object is picked or the user ends the pick.
int PickLoop(const CString& prompt, int highlight, AcDbObjectId& id, AcGePoint3d& pickPoint)
{
    const CString shown = prompt.IsEmpty() ? CString(L"Select an object:") : prompt;
    for (;;) {
        ads_name name = {0, 0};
        ads_point point = {0.0, 0.0, 0.0};
        const int result = acedEntSel(shown, name, point);
        if (result == RTERROR) {
            acutPrintf(L"\nObject not selected\n");
            continue;
        }
        if (result != RTNORM) {
            // A cancel, or an answer that names no object.
            CToolkitUtilities::SetLastErrorText(L"Object selection cancelled");
            return 0;
        }
        acdbGetObjectId(id, name);
        pickPoint.set(point[0], point[1], point[2]);
        if (highlight == 1)
            HighlightEntity(id);
        return 1;
    }
}

int FilteredPick(const CString& prompt, int highlight, const CStringArray& classNames, AcDbObjectId& id,
                 AcGePoint3d& pickPoint)
{
    if (!PickLoop(prompt, 0, id, pickPoint))
        return 0;
    for (;;) {
        if (FindInStringArray(classNames, GetEntityClassName(id)) >= 0) {
            if (highlight == 1)
                HighlightEntity(id);
            return 1;
        }
        acutPrintf(L"\nObject was filtered out\n");
        if (!PickLoop(prompt, 0, id, pickPoint))
            return 0;
    }
}

// Runs acedSSGet for SelectEntities: the host's ordinary selection for an
// empty prompt, else the prompt pair of the ":$" mode.
int GetUserSelection(const CString& prompt, ads_name set)
{
    if (prompt.IsEmpty())
        return acedSSGet(nullptr, nullptr, nullptr, nullptr, set);

    SelectionPrompt adding(prompt);
    SelectionPrompt removing(kRemovePrompt);
    const ACHAR* prompts[2] = {adding.text, removing.text};
    return acedSSGet(L":$", prompts, nullptr, nullptr, set);
}

// The id of the object at `index` of a selection set.
bool SelectedId(const ads_name set, long index, AcDbObjectId& id)
{
    ads_name name = {0, 0};
    if (acedSSName(set, index, name) != RTNORM)
        return false;
    return acdbGetObjectId(id, name) == Acad::eOk;
}

long SelectionLength(const ads_name set)
{
    long length = 0;
    if (acedSSLength(set, &length) != RTNORM)
        return 0;
    return length;
}

// Calls visit(id) for each object of a selection set whose id can be had, in
// the set's order.
template <typename Visit> void ForEachSelected(const ads_name set, Visit visit)
{
    const long length = SelectionLength(set);
    for (long i = 0; i < length; ++i) {
        AcDbObjectId id;
        if (SelectedId(set, i, id))
            visit(id);
    }
}

// Calls visit(id, entity) for each entity of a selection set that opens for
// read, and closes it afterwards.
template <typename Visit> void ForEachSelectedEntity(const ads_name set, Visit visit)
{
    ForEachSelected(set, [&](const AcDbObjectId& id) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead, false) != Acad::eOk)
            return;
        visit(id, entity);
        entity->close();
    });
}

}  // namespace

int PickEntity(const CString& prompt, int highlight, AcDbObjectId& id, AcGePoint3d& pickPoint)
{
    return PickLoop(prompt, highlight, id, pickPoint);
}

int PickEntity(const CString& prompt, int highlight, AcDbObjectId& id)
{
    AcGePoint3d pickPoint;
    return PickLoop(prompt, highlight, id, pickPoint);
}

int PickEntity(const CString& prompt, int highlight, const CStringArray& classNames, AcDbObjectId& id,
               AcGePoint3d& pickPoint)
{
    return FilteredPick(prompt, highlight, classNames, id, pickPoint);
}

int PickEntity(const CString& prompt, int highlight, const CStringArray& classNames, AcDbObjectId& id)
{
    AcGePoint3d pickPoint;
    return FilteredPick(prompt, highlight, classNames, id, pickPoint);
}

int PickEntity(const CString& prompt, int highlight, const CString& className, AcDbObjectId& id, AcGePoint3d& pickPoint)
{
    CStringArray classNames;
    classNames.Add(className);
    return FilteredPick(prompt, highlight, classNames, id, pickPoint);
}

int PickEntity(const CString& prompt, int highlight, const CString& className, AcDbObjectId& id)
{
    CStringArray classNames;
    classNames.Add(className);
    AcGePoint3d pickPoint;
    return FilteredPick(prompt, highlight, classNames, id, pickPoint);
}

int SelectEntities(const CString& prompt, int highlight, const CStringArray& classNames, AcArray<AcDbObjectId>& ids)
{
    ads_name set = {0, 0};
    if (GetUserSelection(prompt, set) != RTNORM) {
        CToolkitUtilities::SetLastErrorText(L"No entities selected");
        return 0;
    }

    int filtered = 0;
    ForEachSelectedEntity(set, [&](const AcDbObjectId& id, AcDbEntity* entity) {
        if (FindInStringArray(classNames, CString(entity->isA()->name())) < 0) {
            ++filtered;
        } else {
            ids.append(id);
            if (highlight != 0)
                entity->highlight(NullSubentPath, false);
        }
    });
    acedSSFree(set);

    if (filtered > 0)
        acutPrintf(L"%d object(s) were filtered out\n", filtered);
    if (ids.isEmpty()) {
        CToolkitUtilities::SetLastErrorText(L"No valid objects selected");
        return 0;
    }
    return 1;
}

int SelectEntities(const CString& prompt, int highlight, AcArray<AcDbObjectId>& ids)
{
    ads_name set = {0, 0};
    if (GetUserSelection(prompt, set) != RTNORM) {
        CToolkitUtilities::SetLastErrorText(L"No entities selected");
        return 0;
    }

    ForEachSelected(set, [&](const AcDbObjectId& id) {
        ids.append(id);
        if (highlight != 0)
            HighlightEntity(id);
    });
    acedSSFree(set);

    if (ids.isEmpty()) {
        CToolkitUtilities::SetLastErrorText(L"No objects selected");
        return 0;
    }
    return 1;
}

int SelectAllEntities(AcArray<AcDbObjectId>& ids)
{
    ads_name set = {0, 0};
    if (acedSSGet(L"A", nullptr, nullptr, nullptr, set) != RTNORM) {
        CToolkitUtilities::SetLastErrorText(L"Drawing empty");
        return 0;
    }

    ids.setLogicalLength(0);
    ForEachSelected(set, [&](const AcDbObjectId& id) { ids.append(id); });
    acedSSFree(set);
    return 1;
}

int SelectPoints(AcArray<AcGePoint3d>& points)
{
    SelectionPrompt adding(L"Select points: ");
    SelectionPrompt removing(kRemovePrompt);
    const ACHAR* prompts[2] = {adding.text, removing.text};

    ACHAR pointType[] = L"POINT";
    resbuf filter;
    filter.rbnext = nullptr;
    filter.restype = 0;
    filter.resval.rstring = pointType;

    ads_name set = {0, 0};
    if (acedSSGet(L":$", prompts, nullptr, &filter, set) != RTNORM) {
        CToolkitUtilities::SetLastErrorText(L"No entities selected");
        return 0;
    }

    ForEachSelectedEntity(set, [&](const AcDbObjectId&, AcDbEntity* entity) {
        if (CString(entity->isA()->name()) == L"AcDbPoint") {
            const AcDbPoint* point = AcDbPoint::cast(entity);
            if (point != nullptr)
                points.append(point->position());
        }
    });
    acedSSFree(set);
    return 1;
}
