// Picking single objects and selection sets.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwctype>
#include <map>
#include <sstream>
#include <string>
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

namespace {

constexpr Adesk::LongPtr kSetTag = 0x53534554;   // marks the ads_name of a selection set
constexpr size_t kMaxSets = 128;

struct SelectionSet {
    std::vector<AcDbObjectId> ids;
    std::wstring mode;
};

struct SelectionState {
    std::map<Adesk::LongPtr, SelectionSet> sets;
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
    return acdbHostApplicationServices() != nullptr
               ? acdbHostApplicationServices()->workingDatabase()
               : nullptr;
}

std::wstring className(const AcDbEntity* entity)
{
    const AcRxClass* c = entity != nullptr ? entity->isA() : nullptr;
    return c != nullptr && c->name() != nullptr ? c->name() : L"";
}

// ---- Filters ---------------------------------------------------------------

struct Filter {
    std::vector<std::wstring> types;    // group 0, each a wcmatch pattern
    std::vector<std::wstring> layers;   // group 8
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

// ---- Geometry for point picks ------------------------------------------------

double segmentDistance(const ads_point p, const AcGePoint3d& a, const AcGePoint3d& b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = 0.0;
    if (length2 > 0.0)
        t = std::max(0.0, std::min(1.0, ((p[0] - a.x) * dx + (p[1] - a.y) * dy) / length2));
    const double x = a.x + t * dx - p[0];
    const double y = a.y + t * dy - p[1];
    return std::sqrt(x * x + y * y);
}

// Distance in the XY plane from the point to what is drawn of the entity;
// negative for an entity that cannot be picked by a point.
double pickDistance(const AcDbEntity* entity, const ads_point p, AcGePoint3d* anchor)
{
    const std::wstring name = className(entity);
    if (name == L"AcDbPoint") {
        const AcGePoint3d q = static_cast<const AcDbPoint*>(entity)->position();
        if (anchor)
            *anchor = q;
        return std::hypot(q.x - p[0], q.y - p[1]);
    }
    if (name == L"AcDbLine") {
        const auto* line = static_cast<const AcDbLine*>(entity);
        if (anchor)
            *anchor = line->startPoint();
        return segmentDistance(p, line->startPoint(), line->endPoint());
    }
    if (name == L"AcDbFace") {
        const auto* face = static_cast<const AcDbFace*>(entity);
        AcGePoint3d corners[4];
        for (Adesk::UInt16 i = 0; i < 4; ++i)
            face->getVertexAt(i, corners[i]);
        if (anchor)
            *anchor = corners[0];
        double best = -1.0;
        for (int i = 0; i < 4; ++i) {
            const double d = segmentDistance(p, corners[i], corners[(i + 1) % 4]);
            if (best < 0.0 || d < best)
                best = d;
        }
        return best;
    }
    if (name == L"AcDbSubDMesh") {
        const auto* mesh = static_cast<const AcDbSubDMesh*>(entity);
        AcGePoint3dArray vertices;
        AcArray<Adesk::Int32> faces;
        if (mesh->getVertices(vertices) != Acad::eOk || mesh->getFaceArray(faces) != Acad::eOk)
            return -1.0;
        const int vertexCount = vertices.length();
        if (anchor && vertexCount > 0)
            *anchor = vertices[0];
        double best = -1.0;
        int i = 0;
        while (i < faces.length()) {
            const int n = faces[i];
            if (n <= 0 || i + n >= faces.length())
                break;
            for (int k = 0; k < n; ++k) {
                const int a = faces[i + 1 + k];
                const int b = faces[i + 1 + (k + 1) % n];
                if (a < 0 || b < 0 || a >= vertexCount || b >= vertexCount)
                    continue;
                const double d = segmentDistance(p, vertices[a], vertices[b]);
                if (best < 0.0 || d < best)
                    best = d;
            }
            i += n + 1;
        }
        return best;
    }
    return -1.0;
}

AcDbObjectId nearestEntity(const ads_point p, double aperture)
{
    AcDbObjectId best;
    double bestDistance = 0.0;
    AcDbDatabase* db = workingDb();
    if (db == nullptr)
        return best;
    standin::forEachSpaceEntity(db, [&](AcDbObjectId id) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk)
            return;
        const double d = pickDistance(entity, p, nullptr);
        entity->close();
        if (d >= 0.0 && d <= aperture && (best.isNull() || d < bestDistance)) {
            best = id;
            bestDistance = d;
        }
    });
    return best;
}

// The point given back for a pick by handle.
void anchorPoint(AcDbObjectId id, ads_point pt)
{
    pt[0] = pt[1] = pt[2] = 0.0;
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk)
        return;
    AcGePoint3d anchor(0, 0, 0);
    const ads_point origin = {0, 0, 0};
    pickDistance(entity, origin, &anchor);
    entity->close();
    pt[0] = anchor.x;
    pt[1] = anchor.y;
    pt[2] = anchor.z;
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
        {L"AcDbPoint", L"POINT"},          {L"AcDbLine", L"LINE"},
        {L"AcDbFace", L"3DFACE"},          {L"AcDbSubDMesh", L"MESH"},
        {L"AcDbCircle", L"CIRCLE"},        {L"AcDbArc", L"ARC"},
        {L"AcDbEllipse", L"ELLIPSE"},      {L"AcDbSpline", L"SPLINE"},
        {L"AcDbPolyline", L"LWPOLYLINE"},  {L"AcDb2dPolyline", L"POLYLINE"},
        {L"AcDb3dPolyline", L"POLYLINE"},  {L"AcDbPolyFaceMesh", L"POLYLINE"},
        {L"AcDbPolygonMesh", L"POLYLINE"}, {L"AcDbText", L"TEXT"},
        {L"AcDbMText", L"MTEXT"},          {L"AcDbBlockReference", L"INSERT"},
        {L"AcDbSolid", L"SOLID"},          {L"AcDbTrace", L"TRACE"},
        {L"AcDbRay", L"RAY"},              {L"AcDbXline", L"XLINE"},
        {L"AcDb3dSolid", L"3DSOLID"},      {L"AcDbRegion", L"REGION"},
        {L"AcDbBody", L"BODY"},            {L"AcDbHatch", L"HATCH"},
        {L"AcDbMline", L"MLINE"},          {L"AcDbLeader", L"LEADER"},
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
        if (text.empty())
            return RTERROR;
        if (auto keyword = keywords.match(text)) {
            kv_editor::setLastKeyword(*keyword);
            return RTKWORD;
        }
        ads_point point = {0, 0, 0};
        AcDbObjectId id;
        if (kv_editor::parsePoint(text, point)) {
            id = nearestEntity(point, state().aperture);
            if (id.isNull())
                return RTERROR;
        } else if (isHexText(text)) {
            id = kv_editor::entityByHandleText(text);
            if (id.isNull())
                return RTERROR;
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

int acedSSGet(const ACHAR* str, const void* pt1, const void* pt2, const struct resbuf* filter,
              ads_name ss)
{
    (void)pt2;
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

    std::wstring addPrompt = L"Select objects: ";
    std::wstring removePrompt = L"Remove objects: ";
    if (upperMode == L":$") {
        const ACHAR* const* prompts = static_cast<const ACHAR* const*>(pt1);
        if (prompts == nullptr)
            return RTERROR;
        addPrompt = prompts[0] != nullptr ? prompts[0] : L"";
        removePrompt = prompts[1] != nullptr ? prompts[1] : L"";
    } else if (!mode.empty()) {
        return RTERROR;
    }

    std::vector<AcDbObjectId> chosen;
    bool adding = true;
    while (true) {
        const std::optional<std::wstring> answer = kv_editor::ask(adding ? addPrompt : removePrompt);
        if (!answer)
            return RTCAN;
        std::wstring text = kv_editor::upper(kv_editor::trim(*answer));
        if (text.empty())
            break;
        if (text[0] == L'_')
            text.erase(0, 1);
        if (text == L"ALL") {
            for (AcDbObjectId id : everyEntity(rules, true)) {
                auto at = std::find(chosen.begin(), chosen.end(), id);
                if (adding && at == chosen.end())
                    chosen.push_back(id);
                else if (!adding && at != chosen.end())
                    chosen.erase(at);
            }
            continue;
        }
        // A handle of an object comes before the options it may spell ("A", "ADD").
        const bool namesObject = !kv_editor::entityByHandleText(text).isNull();
        if (!namesObject && (text == L"R" || text == L"REMOVE")) {
            adding = false;
            continue;
        }
        if (!namesObject && (text == L"A" || text == L"ADD")) {
            adding = true;
            continue;
        }
        std::vector<AcDbObjectId> named;
        bool valid = true;
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
        for (AcDbObjectId id : named) {
            bool frozen = false;
            if (!examine(id, rules, false, frozen))
                continue;
            auto at = std::find(chosen.begin(), chosen.end(), id);
            if (adding && at == chosen.end())
                chosen.push_back(id);
            else if (!adding && at != chosen.end())
                chosen.erase(at);
        }
    }
    return makeSet(std::move(chosen), mode, ss);
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
        out << "set " << h.name[0] << " of " << h.length << " object(s), mode \""
            << standin::narrow(h.mode) << "\"";
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
