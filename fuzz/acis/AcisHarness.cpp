#include "acis/AcisHarness.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "common/FuzzSupport.h"
#include "dbapserv.h"
#include "dbbody.h"
#include "dbmain.h"
#include "dbregion.h"
#include "dbsol3d.h"
#include "standin/AcDbStandin.h"
#include "standin/WideFormat.h"

namespace kvfuzz {
namespace {

std::string g_folder;

bool writeFile(const std::string& name, const uint8_t* data, size_t size)
{
    FILE* f = std::fopen(name.c_str(), "wb");
    if (f == nullptr)
        return false;
    const bool written = size == 0 || std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && written;
}

std::string readFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

const standin::ShapeModel* modelOf(const AcDbEntity* e)
{
    if (const AcDb3dSolid* s = AcDb3dSolid::cast(e))
        return &s->standinModel();
    if (const AcDbBody* b = AcDbBody::cast(e))
        return &b->standinModel();
    if (const AcDbRegion* r = AcDbRegion::cast(e))
        return &r->standinModel();
    return nullptr;
}

void deleteAll(AcDbVoidPtrArray& entities)
{
    for (int i = 0; i < entities.length(); ++i)
        delete static_cast<AcDbEntity*>(entities[i]);
    entities.setLogicalLength(0);
}

std::string check(const std::wstring& input, const std::string& first, const std::string& second)
{
    AcDbVoidPtrArray entities;
    const Acad::ErrorStatus es = AcDbBody::acisIn(input.c_str(), entities);
    if (es != Acad::eOk) {
        if (entities.length() != 0)
            return "a failed read yielded entities";
        if (es != Acad::eCannotRestoreFromAcisFile)
            return "an unexpected status " + std::to_string(es);
        return "";
    }
    struct Cleanup {
        AcDbVoidPtrArray& list;
        ~Cleanup() { deleteAll(list); }
    } cleanup{entities};
    for (int i = 0; i < entities.length(); ++i) {
        const auto* e = static_cast<const AcDbEntity*>(entities[i]);
        const standin::ShapeModel* model = modelOf(e);
        if (model == nullptr)
            return "an entity of another class";
        if (!e->objectId().isNull())
            return "an entity in a database";
        if (standin::checkModel(*model) != Acad::eOk)
            return "a malformed shape";
    }
    if (entities.length() == 0)
        return "";  // nothing to write back
    if (AcDbBody::acisOut(standin::widen(first).c_str(), entities) != Acad::eOk)
        return "what was read cannot be written";
    AcDbVoidPtrArray again;
    if (AcDbBody::acisIn(standin::widen(first).c_str(), again) != Acad::eOk)
        return "what was written cannot be read";
    const int count = again.length();
    const Acad::ErrorStatus written = AcDbBody::acisOut(standin::widen(second).c_str(), again);
    deleteAll(again);
    if (count != entities.length())
        return "the read-back holds another number of entities";
    if (written != Acad::eOk || readFile(first) != readFile(second))
        return "the read-back differs from what was written";
    return "";
}

}  // namespace

void SetUpAcisHarness()
{
    if (!g_folder.empty())
        return;
    g_folder = ScratchDir();  // removed when the process ends
    standin::newWorkingDatabase();
}

std::string RunAcisInput(const uint8_t* data, size_t size)
{
    SetUpAcisHarness();
    const std::string input = g_folder + "/input.sat";
    if (!writeFile(input, data, size))
        return "cannot write the input file";
    std::string broke = check(standin::widen(input), g_folder + "/first.sat", g_folder + "/second.sat");
    if (broke.empty() && !standin::openObjects().empty())
        broke = "objects left open:\n" + standin::describeOpenObjects();
    if (broke.empty() && !standin::protocolViolations().empty())
        broke = "open protocol breached: " + standin::protocolViolations().front();
    standin::clearProtocolViolations();
    return broke;
}

}  // namespace kvfuzz
