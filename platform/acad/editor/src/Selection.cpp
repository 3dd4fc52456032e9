// Picking single objects and selection sets.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwctype>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <set>
#include <vector>

#include "standin/AcDbStandin.h"
#include "standin/AcEdStandin.h"
#include "standin/WideFormat.h"

#include "acedads.h"
#include "adscodes.h"
#include "dbSubD.h"
#include "dbapserv.h"
#include "dbents.h"
#include "dbmain.h"
#include "dbsymtb.h"

#include "EditorInternal.h"
#include "SelectionGeometry.h"

namespace {

constexpr Adesk::LongPtr kSetTag = 0x53534554;  // marks the ads_name of a selection set
constexpr size_t kMaxSets = 128;
constexpr int kEntSelPick = 7;   // ERRNO: the pick found no object
constexpr int kEntSelNull = 52;  // ERRNO: an empty answer

struct SelectionSet {
    std::vector<AcDbObjectId> ids;
    std::wstring mode;
};

struct SelectionState {
    std::map<Adesk::LongPtr, SelectionSet> sets;
    std::vector<AcDbObjectId> previous;  // the last set made, for "P"
    Adesk::LongPtr nextSerial = 1;
    double aperture = 1.0;
};

SelectionState& state()
{
    static auto* s = new SelectionState();
    return *s;
}

// Held sets when the host goes away are a leak of the application that made them.
struct LeakReport {
    ~LeakReport()
    {
        const std::string held = standin::editor::describeHeldSelectionSets();
        if (!held.empty())
            std::fprintf(stderr, "acad: selection sets never freed: %s\n", held.c_str());
    }
} leakReport;

SelectionSet* findSet(const ads_name name)
{
    if (name == nullptr || name[1] != kSetTag)
        return nullptr;
    auto it = state().sets.find(name[0]);
    return it != state().sets.end() ? &it->second : nullptr;
}

AcDbDatabase* workingDb()
{
    return acdbHostApplicationServices() != nullptr ? acdbHostApplicationServices()->workingDatabase() : nullptr;
}

std::wstring className(const AcDbEntity* entity)
{
    const AcRxClass* c = entity != nullptr ? entity->isA() : nullptr;
    return c != nullptr && c->name() != nullptr ? c->name() : L"";
}

// ---- Filters ---------------------------------------------------------------

struct Filter {
    std::vector<std::wstring> types;   // group 0, each a wcmatch pattern
    std::vector<std::wstring> layers;  // group 8
    bool empty() const { return types.empty() && layers.empty(); }
};

// False for a filter with a group code that is not served.
bool parseFilter(const resbuf* chain, Filter& filter)
{
    for (const resbuf* rb = chain; rb != nullptr; rb = rb->rbnext) {
        if ((rb->restype == 0 || rb->restype == RTDXF0) && rb->resval.rstring != nullptr)
            filter.types.push_back(rb->resval.rstring);
        else if (rb->restype == 8 && rb->resval.rstring != nullptr)
            filter.layers.push_back(rb->resval.rstring);
        else
            return false;
    }
    return true;
}

std::wstring layerName(AcDbObjectId layerId, bool* frozen = nullptr)
{
    AcDbObject* object = nullptr;
    if (acdbOpenAcDbObject(object, layerId, AcDb::kForRead) != Acad::eOk)
        return L"";
    std::wstring name;
    if (AcDbLayerTableRecord* layer = AcDbLayerTableRecord::cast(object)) {
        const ACHAR* text = nullptr;
        if (layer->getName(text) == Acad::eOk && text != nullptr)
            name = text;
        if (frozen != nullptr)
            *frozen = layer->isFrozen();
    }
    object->close();
    return name;
}

// Whether the entity passes the filter; frozen: the entity lies on a frozen
// layer. False when the entity cannot be read.
bool examine(AcDbObjectId id, const Filter& filter, bool wantFrozen, bool& frozen)
{
    frozen = false;
    if (filter.empty() && !wantFrozen)
        return true;
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk)
        return false;
    bool pass = true;
    if (!filter.types.empty()) {
        const std::wstring type = kv_editor::dxfTypeName(className(entity).c_str());
        pass = std::any_of(filter.types.begin(), filter.types.end(),
                           [&](const std::wstring& p) { return kv_editor::wildMatch(p, type); });
    }
    const AcDbObjectId layerId = entity->layerId();
    entity->close();
    if (pass && (!filter.layers.empty() || wantFrozen)) {
        const std::wstring layer = layerName(layerId, &frozen);
        if (!filter.layers.empty())
            pass = std::any_of(filter.layers.begin(), filter.layers.end(),
                               [&](const std::wstring& p) { return kv_editor::wildMatch(p, layer); });
    }
    return pass;
}

std::vector<AcDbObjectId> everyEntity(const Filter& filter, bool skipFrozen)
{
    std::vector<AcDbObjectId> ids;
    AcDbDatabase* db = workingDb();
    if (db == nullptr)
        return ids;
    standin::forEachSpaceEntity(db, [&](AcDbObjectId id) {
        bool frozen = false;
        if (examine(id, filter, skipFrozen, frozen) && !(skipFrozen && frozen))
            ids.push_back(id);
    });
    return ids;
}

// ---- Geometry --------------------------------------------------------------

using kv_editor::Point2;
using kv_editor::Shape;

// The shape of the entity; false when it cannot be opened for read.
bool readShape(AcDbObjectId id, Shape& shape)
{
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk)
        return false;
    shape = kv_editor::shapeOf(entity);
    entity->close();
    return true;
}

// f(id, shape) for every entity of the spaces that can be read, with its
// shape.
template <class F> void forEachSpaceShape(AcDbDatabase* db, F f)
{
    standin::forEachSpaceEntity(db, [&](AcDbObjectId id) {
        Shape shape;
        if (readShape(id, shape))
            f(id, shape);
    });
}

// The entities of the spaces that are drawn (not on a frozen layer), pass
// the filter and whose shape satisfies the test, in the order of the spaces.
std::vector<AcDbObjectId> entitiesWhere(const Filter& filter, const std::function<bool(const Shape&)>& test)
{
    std::vector<AcDbObjectId> ids;
    AcDbDatabase* db = workingDb();
    if (db == nullptr)
        return ids;
    forEachSpaceShape(db, [&](AcDbObjectId id, const Shape& shape) {
        bool frozen = false;
        if (test(shape) && examine(id, filter, true, frozen) && !frozen)
            ids.push_back(id);
    });
    return ids;
}

// The drawn entity nearest to the point within the aperture; an entity
// whose drawing is known comes before one seen only as its box.
AcDbObjectId nearestEntity(const ads_point p, double aperture, const Filter& filter = Filter())
{
    AcDbObjectId best;
    double bestDistance = 0.0;
    bool bestExact = false;
    AcDbDatabase* db = workingDb();
    if (db == nullptr)
        return best;
    const Point2 at{p[0], p[1]};
    forEachSpaceShape(db, [&](AcDbObjectId id, const Shape& shape) {
        const double d = kv_editor::distanceTo(shape, at);
        if (d < 0.0 || d > aperture)
            return;
        const bool better = best.isNull() || d < bestDistance || (d == bestDistance && shape.exact && !bestExact);
        if (!better)
            return;
        bool frozen = false;
        if (!examine(id, filter, true, frozen) || frozen)
            return;
        best = id;
        bestDistance = d;
        bestExact = shape.exact;
    });
    return best;
}

// The point given back for a pick by handle: a point on the entity.
void anchorPoint(AcDbObjectId id, ads_point pt)
{
    pt[0] = pt[1] = pt[2] = 0.0;
    Shape shape;
    if (!readShape(id, shape))
        return;
    pt[0] = shape.anchor.x;
    pt[1] = shape.anchor.y;
    pt[2] = shape.anchor.z;
}

// The newest entity of the spaces that is drawn: the one with the highest handle.
AcDbObjectId lastEntity()
{
    AcDbObjectId last;
    AcDbDatabase* db = workingDb();
    if (db == nullptr)
        return last;
    standin::forEachSpaceEntity(db, [&](AcDbObjectId id) {
        bool frozen = false;
        if (examine(id, Filter(), true, frozen) && !frozen &&
            (last.isNull() || static_cast<Adesk::UInt64>(id.handle()) > static_cast<Adesk::UInt64>(last.handle())))
            last = id;
    });
    return last;
}

// The points of a result-buffer list (2D or 3D points); false for anything else.
bool pointList(const void* list, std::vector<Point2>& points)
{
    for (const resbuf* rb = static_cast<const resbuf*>(list); rb != nullptr; rb = rb->rbnext) {
        if (rb->restype != RTPOINT && rb->restype != RT3DPOINT)
            return false;
        points.push_back(Point2{rb->resval.rpoint[0], rb->resval.rpoint[1]});
    }
    return true;
}

// Whether the block table record is model or paper space.
bool isSpace(AcDbDatabase* db, AcDbObjectId recordId)
{
    AcDbBlockTable* table = nullptr;
    if (db->getBlockTable(table, AcDb::kForRead) != Acad::eOk)
        return false;
    AcDbObjectId model;
    AcDbObjectId paper;
    table->getAt(ACDB_MODEL_SPACE, model);
    table->getAt(ACDB_PAPER_SPACE, paper);
    table->close();
    return !recordId.isNull() && (recordId == model || recordId == paper);
}

// An entity that is open for write cannot be read: its place is found by
// walking the spaces.
AcDbObjectId spaceEntityByScan(AcDbDatabase* db, const AcDbHandle& handle)
{
    AcDbObjectId found;
    standin::forEachSpaceEntity(db, [&](AcDbObjectId id) {
        if (found.isNull() && id.handle() == handle)
            found = id;
    });
    return found;
}

bool isHexText(const std::wstring& text)
{
    if (text.empty() || text.size() > 16)
        return false;
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return std::iswxdigit(c) != 0; });
}

std::vector<std::wstring> splitHandles(const std::wstring& text)
{
    std::vector<std::wstring> tokens;
    std::wstring current;
    for (wchar_t c : text) {
        if (c == L',' || std::iswspace(c)) {
            if (!current.empty())
                tokens.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        tokens.push_back(current);
    return tokens;
}

void setName(ads_name name, AcDbObjectId id)
{
    ads_name temp = {0, 0};
    acdbGetAdsName(temp, id);
    name[0] = temp[0];
    name[1] = temp[1];
}

int makeSet(std::vector<AcDbObjectId> ids, const std::wstring& mode, ads_name ss)
{
    if (ids.empty())
        return RTERROR;
    SelectionState& s = state();
    s.previous = ids;
    const Adesk::LongPtr serial = s.nextSerial++;
    s.sets[serial] = SelectionSet{std::move(ids), mode};
    ss[0] = serial;
    ss[1] = kSetTag;
    return RTNORM;
}

}  // namespace

namespace kv_editor {

std::wstring dxfTypeName(const ACHAR* className)
{
    static const std::map<std::wstring, std::wstring> names = {
        {L"AcDbPoint", L"POINT"},
        {L"AcDbLine", L"LINE"},
        {L"AcDbFace", L"3DFACE"},
        {L"AcDbSubDMesh", L"MESH"},
        {L"AcDbCircle", L"CIRCLE"},
        {L"AcDbArc", L"ARC"},
        {L"AcDbEllipse", L"ELLIPSE"},
        {L"AcDbSpline", L"SPLINE"},
        {L"AcDbPolyline", L"LWPOLYLINE"},
        {L"AcDb2dPolyline", L"POLYLINE"},
        {L"AcDb3dPolyline", L"POLYLINE"},
        {L"AcDbPolyFaceMesh", L"POLYLINE"},
        {L"AcDbPolygonMesh", L"POLYLINE"},
        {L"AcDbText", L"TEXT"},
        {L"AcDbMText", L"MTEXT"},
        {L"AcDbBlockReference", L"INSERT"},
        {L"AcDbSolid", L"SOLID"},
        {L"AcDbTrace", L"TRACE"},
        {L"AcDbRay", L"RAY"},
        {L"AcDbXline", L"XLINE"},
        {L"AcDb3dSolid", L"3DSOLID"},
        {L"AcDbRegion", L"REGION"},
        {L"AcDbBody", L"BODY"},
        {L"AcDbHatch", L"HATCH"},
        {L"AcDbMline", L"MLINE"},
        {L"AcDbLeader", L"LEADER"},
    };
    if (className == nullptr)
        return L"";
    auto it = names.find(className);
    return it != names.end() ? it->second : L"";
}

AcDbObjectId entityByHandleText(const std::wstring& text)
{
    const std::wstring t = trim(text);
    AcDbDatabase* db = workingDb();
    if (!isHexText(t) || db == nullptr)
        return AcDbObjectId();
    const AcDbHandle handle(static_cast<Adesk::UInt64>(std::wcstoull(t.c_str(), nullptr, 16)));
    if (handle.isNull())
        return AcDbObjectId();
    // Only entities of model and paper space that are not erased can be picked.
    const AcDbObjectId id = standin::findByHandle(db, handle);
    if (id.isNull() || id.isErased())
        return AcDbObjectId();
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk)
        return spaceEntityByScan(db, handle);
    const AcDbObjectId owner = entity->ownerId();
    entity->close();
    return isSpace(db, owner) ? id : AcDbObjectId();
}

std::wstring handleText(AcDbObjectId id)
{
    wchar_t buffer[32];
    std::swprintf(buffer, 32, L"%llX", static_cast<unsigned long long>(static_cast<Adesk::UInt64>(id.handle())));
    return buffer;
}

void resetSelection()
{
    state().sets.clear();
    state().previous.clear();
    state().aperture = 1.0;
}

}  // namespace kv_editor

int acedEntSel(const ACHAR* str, ads_name entres, ads_point ptres)
{
    const kv_editor::InputControl control = kv_editor::takeInputControl();
    const kv_editor::KeywordList keywords(control.keywords);
    const std::wstring prompt = str != nullptr ? str : L"Select object: ";
    while (true) {
        const std::optional<std::wstring> answer = kv_editor::ask(prompt);
        if (!answer)
            return RTCAN;
        const std::wstring text = kv_editor::trim(*answer);
        if (text.empty()) {
            kv_editor::setErrno(kEntSelNull);
            return RTERROR;
        }
        if (auto keyword = keywords.match(text)) {
            kv_editor::setLastKeyword(*keyword);
            return RTKWORD;
        }
        ads_point point = {0, 0, 0};
        AcDbObjectId id;
        if (kv_editor::parsePoint(text, point)) {
            id = nearestEntity(point, state().aperture);
            if (id.isNull()) {
                kv_editor::setErrno(kEntSelPick);
                return RTERROR;
            }
        } else if (isHexText(text)) {
            id = kv_editor::entityByHandleText(text);
            if (id.isNull()) {
                kv_editor::setErrno(kEntSelPick);
                return RTERROR;
            }
            anchorPoint(id, point);
        } else {
            kv_editor::print(L"*Invalid selection*\n");
            continue;
        }
        if (entres != nullptr)
            setName(entres, id);
        if (ptres != nullptr) {
            ptres[0] = point[0];
            ptres[1] = point[1];
            ptres[2] = point[2];
        }
        return RTNORM;
    }
}

namespace {

void apply(std::vector<AcDbObjectId>& chosen, const std::vector<AcDbObjectId>& ids, bool adding)
{
    // A set of what is chosen, so that a selection of many objects stays
    // fast; the order of the chosen list is kept.
    std::set<AcDbObjectId> held(chosen.begin(), chosen.end());
    if (adding) {
        for (AcDbObjectId id : ids)
            if (held.insert(id).second)
                chosen.push_back(id);
        return;
    }
    std::set<AcDbObjectId> removed;
    for (AcDbObjectId id : ids)
        if (held.count(id))
            removed.insert(id);
    if (!removed.empty())
        chosen.erase(std::remove_if(chosen.begin(), chosen.end(),
                                    [&](const AcDbObjectId& id) { return removed.count(id) != 0; }),
                     chosen.end());
}

enum class Answer { Given, Empty, Cancelled };

// Asks until a point or an empty answer comes.
Answer askPoint(const std::wstring& prompt, Point2& point)
{
    while (true) {
        const std::optional<std::wstring> answer = kv_editor::ask(prompt);
        if (!answer)
            return Answer::Cancelled;
        const std::wstring text = kv_editor::trim(*answer);
        if (text.empty())
            return Answer::Empty;
        ads_point p = {0, 0, 0};
        if (kv_editor::parsePoint(text, p)) {
            point = Point2{p[0], p[1]};
            return Answer::Given;
        }
        kv_editor::print(L"Invalid point.\n");
    }
}

// The corners of a polygon or the points of a fence: the first point, then
// more until an empty answer; "U" takes the latest point back.
Answer askPoints(const std::wstring& first, const std::wstring& next, std::vector<Point2>& points)
{
    Point2 p;
    const Answer start = askPoint(first, p);
    if (start != Answer::Given)
        return start;
    points.push_back(p);
    while (true) {
        const std::optional<std::wstring> answer = kv_editor::ask(next);
        if (!answer)
            return Answer::Cancelled;
        const std::wstring text = kv_editor::upper(kv_editor::trim(*answer));
        if (text.empty())
            return Answer::Given;
        if (text == L"U" || text == L"UNDO" || text == L"_U" || text == L"_UNDO") {
            if (points.size() > 1)
                points.pop_back();
            continue;
        }
        ads_point q = {0, 0, 0};
        if (kv_editor::parsePoint(text, q))
            points.push_back(Point2{q[0], q[1]});
        else
            kv_editor::print(L"Invalid point.\n");
    }
}

std::vector<AcDbObjectId> inWindow(const Filter& rules, const std::vector<Point2>& polygon, bool crossing)
{
    return entitiesWhere(rules, [&](const Shape& shape) {
        return crossing ? kv_editor::crossesPolygon(shape, polygon) : kv_editor::insidePolygon(shape, polygon);
    });
}

std::vector<AcDbObjectId> onFence(const Filter& rules, const std::vector<Point2>& fence)
{
    return entitiesWhere(rules, [&](const Shape& shape) { return kv_editor::crossesFence(shape, fence); });
}

std::vector<AcDbObjectId> filtered(const std::vector<AcDbObjectId>& ids, const Filter& rules)
{
    std::vector<AcDbObjectId> kept;
    for (AcDbObjectId id : ids) {
        bool frozen = false;
        if (!id.isNull() && !id.isErased() && examine(id, rules, false, frozen))
            kept.push_back(id);
    }
    return kept;
}

std::vector<AcDbObjectId> pickedAt(const ads_point point, const Filter& rules)
{
    const AcDbObjectId id = nearestEntity(point, state().aperture);
    return id.isNull() ? std::vector<AcDbObjectId>() : filtered({id}, rules);
}

bool isOption(const std::wstring& text, const wchar_t* abbreviation, const wchar_t* word)
{
    return text == abbreviation || text == word;
}

// The user's selection at the "Select objects:" prompt: handles, points,
// windows and the options, adding or removing, until an empty answer (or,
// for a single selection, until the first answer that selects something).
// nullopt: cancelled.
std::optional<std::vector<AcDbObjectId>>
interactiveSelection(const std::wstring& addPrompt, const std::wstring& removePrompt, bool single, const Filter& rules)
{
    std::vector<AcDbObjectId> chosen;
    bool adding = true;
    while (true) {
        const std::optional<std::wstring> answer = kv_editor::ask(adding ? addPrompt : removePrompt);
        if (!answer)
            return std::nullopt;
        std::wstring text = kv_editor::upper(kv_editor::trim(*answer));
        if (text.empty())
            break;
        if (text[0] == L'_')
            text.erase(0, 1);
        std::vector<AcDbObjectId> found;
        bool selected = true;  // the answer was a selection (not an option or nonsense)
        ads_point point = {0, 0, 0};
        // A point comes first, as a click would; then a handle of an object,
        // before the options it may spell ("A", "C", "F").
        if (kv_editor::parsePoint(text, point)) {
            if (nearestEntity(point, state().aperture).isNull()) {
                // A point on empty space starts a window: to the right a
                // window, to the left a crossing.
                Point2 corner;
                const Answer a = askPoint(L"Specify opposite corner: ", corner);
                if (a == Answer::Cancelled)
                    return std::nullopt;
                if (a == Answer::Given)
                    found =
                        inWindow(rules, kv_editor::rectangle(Point2{point[0], point[1]}, corner), corner.x < point[0]);
            } else {
                found = pickedAt(point, rules);
            }
        } else if (!kv_editor::entityByHandleText(text).isNull()) {
            found = filtered({kv_editor::entityByHandleText(text)}, rules);
        } else if (isOption(text, L"R", L"REMOVE")) {
            adding = false;
            selected = false;
        } else if (isOption(text, L"A", L"ADD")) {
            adding = true;
            selected = false;
        } else if (text == L"ALL") {
            found = everyEntity(rules, true);
        } else if (isOption(text, L"L", L"LAST")) {
            found = filtered({lastEntity()}, rules);
        } else if (isOption(text, L"P", L"PREVIOUS")) {
            found = filtered(state().previous, rules);
        } else if (isOption(text, L"W", L"WINDOW") || isOption(text, L"C", L"CROSSING")) {
            Point2 first, second;
            Answer a = askPoint(L"Specify first corner: ", first);
            if (a == Answer::Given)
                a = askPoint(L"Specify opposite corner: ", second);
            if (a == Answer::Cancelled)
                return std::nullopt;
            if (a == Answer::Given)
                found = inWindow(rules, kv_editor::rectangle(first, second), text[0] == L'C');
        } else if (isOption(text, L"WP", L"WPOLYGON") || isOption(text, L"CP", L"CPOLYGON")) {
            std::vector<Point2> polygon;
            const Answer a = askPoints(L"First polygon point: ", L"Specify endpoint of line or [Undo]: ", polygon);
            if (a == Answer::Cancelled)
                return std::nullopt;
            if (polygon.size() >= 3)
                found = inWindow(rules, polygon, text[0] == L'C');
        } else if (isOption(text, L"F", L"FENCE")) {
            std::vector<Point2> fence;
            const Answer a = askPoints(L"Specify first fence point: ", L"Specify next fence point or [Undo]: ", fence);
            if (a == Answer::Cancelled)
                return std::nullopt;
            if (fence.size() >= 2)
                found = onFence(rules, fence);
        } else {
            // Handles separated by blanks or commas.
            bool valid = true;
            std::vector<AcDbObjectId> named;
            for (const std::wstring& token : splitHandles(text)) {
                const AcDbObjectId id = kv_editor::entityByHandleText(token);
                if (id.isNull()) {
                    valid = false;
                    break;
                }
                named.push_back(id);
            }
            if (!valid || named.empty()) {
                kv_editor::print(L"*Invalid selection*\n");
                continue;
            }
            found = filtered(named, rules);
        }
        if (!selected)
            continue;
        apply(chosen, found, adding);
        if (single && !found.empty())
            break;
    }
    return chosen;
}

// Splits ":$:S" into its options; false for an option that is not served.
bool colonOptions(const std::wstring& mode, bool& prompts, bool& single)
{
    prompts = single = false;
    size_t i = 0;
    while (i < mode.size()) {
        if (mode[i] != L':' || i + 1 >= mode.size())
            return false;
        const wchar_t option = mode[i + 1];
        if (option == L'$')
            prompts = true;
        else if (option == L'S')
            single = true;
        else
            return false;
        i += 2;
    }
    return true;
}

}  // namespace

int acedSSGet(const ACHAR* str, const void* pt1, const void* pt2, const struct resbuf* filter, ads_name ss)
{
    if (ss == nullptr)
        return RTERROR;
    if (state().sets.size() >= kMaxSets)
        return RTERROR;
    Filter rules;
    if (!parseFilter(filter, rules))
        return RTERROR;

    std::wstring mode = str != nullptr ? str : L"";
    if (!mode.empty() && mode[0] == L'_')
        mode.erase(0, 1);
    const std::wstring upperMode = kv_editor::upper(mode);

    if (upperMode == L"A" || upperMode == L"X")
        return makeSet(everyEntity(rules, upperMode == L"A"), mode, ss);
    if (upperMode == L"L")
        return makeSet(filtered({lastEntity()}, rules), mode, ss);
    if (upperMode == L"P")
        return makeSet(filtered(state().previous, rules), mode, ss);
    if (upperMode == L"W" || upperMode == L"C") {
        const double* a = static_cast<const double*>(pt1);
        const double* b = static_cast<const double*>(pt2);
        if (a == nullptr || b == nullptr)
            return RTERROR;
        return makeSet(inWindow(rules, kv_editor::rectangle(Point2{a[0], a[1]}, Point2{b[0], b[1]}), upperMode == L"C"),
                       mode, ss);
    }
    if (upperMode == L"WP" || upperMode == L"CP" || upperMode == L"F") {
        std::vector<Point2> points;
        if (!pointList(pt1, points))
            return RTERROR;
        if (upperMode == L"F")
            return points.size() < 2 ? RTERROR : makeSet(onFence(rules, points), mode, ss);
        return points.size() < 3 ? RTERROR : makeSet(inWindow(rules, points, upperMode == L"CP"), mode, ss);
    }
    if (upperMode.empty() && pt1 != nullptr)
        return makeSet(pickedAt(static_cast<const double*>(pt1), rules), mode, ss);
    if (upperMode == L".") {
        // One pick by the user, by point or by handle.
        while (true) {
            const std::optional<std::wstring> answer = kv_editor::ask(L"Select objects: ");
            if (!answer)
                return RTCAN;
            const std::wstring text = kv_editor::trim(*answer);
            if (text.empty())
                return RTERROR;
            ads_point point = {0, 0, 0};
            if (kv_editor::parsePoint(text, point))
                return makeSet(pickedAt(point, rules), mode, ss);
            if (isHexText(text))
                return makeSet(filtered({kv_editor::entityByHandleText(text)}, rules), mode, ss);
            kv_editor::print(L"*Invalid selection*\n");
        }
    }

    bool prompts = false;
    bool single = false;
    if (!colonOptions(upperMode, prompts, single))
        return RTERROR;
    std::wstring addPrompt = L"Select objects: ";
    std::wstring removePrompt = L"Remove objects: ";
    if (prompts) {
        const ACHAR* const* texts = static_cast<const ACHAR* const*>(pt1);
        if (texts == nullptr)
            return RTERROR;
        addPrompt = texts[0] != nullptr ? texts[0] : L"";
        removePrompt = texts[1] != nullptr ? texts[1] : L"";
    }
    std::optional<std::vector<AcDbObjectId>> chosen = interactiveSelection(addPrompt, removePrompt, single, rules);
    if (!chosen)
        return RTCAN;
    return makeSet(std::move(*chosen), mode, ss);
}

int acedSSFree(const ads_name sname)
{
    if (findSet(sname) == nullptr)
        return RTERROR;
    state().sets.erase(sname[0]);
    return RTNORM;
}

int acedSSLength(const ads_name sname, long* len)
{
    const SelectionSet* set = findSet(sname);
    if (set == nullptr || len == nullptr)
        return RTERROR;
    *len = static_cast<long>(set->ids.size());
    return RTNORM;
}

int acedSSName(const ads_name ss, long i, ads_name entres)
{
    const SelectionSet* set = findSet(ss);
    if (set == nullptr || entres == nullptr || i < 0 || static_cast<size_t>(i) >= set->ids.size())
        return RTERROR;
    setName(entres, set->ids[static_cast<size_t>(i)]);
    return RTNORM;
}

int acedSSMemb(const ads_name ename, const ads_name ss)
{
    const SelectionSet* set = findSet(ss);
    if (set == nullptr || ename == nullptr)
        return RTERROR;
    AcDbObjectId id;
    if (acdbGetObjectId(id, ename) != Acad::eOk)
        return RTERROR;
    return std::find(set->ids.begin(), set->ids.end(), id) != set->ids.end() ? RTNORM : RTERROR;
}

namespace standin {
namespace editor {

std::vector<HeldSelectionSet> heldSelectionSets()
{
    std::vector<HeldSelectionSet> held;
    for (const auto& [serial, set] : state().sets) {
        HeldSelectionSet h;
        h.name[0] = serial;
        h.name[1] = kSetTag;
        h.length = static_cast<long>(set.ids.size());
        h.mode = set.mode;
        held.push_back(h);
    }
    return held;
}

std::string describeHeldSelectionSets()
{
    std::ostringstream out;
    bool first = true;
    for (const HeldSelectionSet& h : heldSelectionSets()) {
        if (!first)
            out << "; ";
        first = false;
        out << "set " << h.name[0] << " of " << h.length << " object(s), mode \"" << standin::narrow(h.mode) << "\"";
    }
    return out.str();
}

int freeAllSelectionSets()
{
    const int count = static_cast<int>(state().sets.size());
    state().sets.clear();
    return count;
}

void setPickAperture(double distance)
{
    state().aperture = distance >= 0.0 ? distance : 0.0;
}

double pickAperture()
{
    return state().aperture;
}

}  // namespace editor
}  // namespace standin
