// Every writer of a file in the stand-in (DXF out, ACIS out, the settings
// store) held to the same path cases: links, dangling links and loops,
// permissions and owners, folders, devices, a full disk, names too long or
// holding a NUL.
#include <string>
#include <tuple>
#include <vector>

#include "PathCases.h"
#include "VrnRegistry.h"
#include "dbbody.h"
#include "dbsol3d.h"
#include "standin/AcDbStandin.h"
#include "standin/VrnStandin.h"
#include "standin/WideFormat.h"

namespace {

pathcases::Writer dxfOut()
{
    pathcases::Writer w;
    w.name = "DxfOut";
    w.write = [](const std::string& name) {
        std::wstring reason;
        return standin::dxfOut(standin::newWorkingDatabase(), standin::widen(name), reason) == Acad::eOk;
    };
    w.wrote = [](const std::string& bytes) {
        return bytes.find("\n  0\nSECTION\n  2\nHEADER\n") != std::string::npos && bytes.size() > 8 &&
            bytes.compare(bytes.size() - 8, 8, "  0\nEOF\n") == 0;
    };
    return w;
}

pathcases::Writer acisOut()
{
    pathcases::Writer w;
    w.name = "AcisOut";
    w.cStringNames = true;
    w.write = [](const std::string& name) {
        AcDb3dSolid solid;
        if (solid.createBox(1, 2, 3) != Acad::eOk)
            return false;
        AcDbVoidPtrArray list;
        list.append(&solid);
        return AcDbBody::acisOut(standin::widen(name).c_str(), list) == Acad::eOk;
    };
    w.wrote = [](const std::string& bytes) { return bytes.rfind("kolvane-acis 1\nbodies 1\n3DSOLID 6\n", 0) == 0; };
    return w;
}

pathcases::Writer settingsStore()
{
    pathcases::Writer w;
    w.name = "SettingsStore";
    w.makesFolders = true;
    w.write = [](const std::string& name) {
        standin::vrn::setRegistryFile(name);
        bool written = false;
        {
            VrnRegistry r;
            written = r.SetKey(L"Software\\Varnett\\Kolvane for AutoCAD", 1) == 1 && r.WriteInt(L"Import As", 7) == 1;
        }
        standin::vrn::setRegistryFile("");
        return written;
    };
    w.wrote = [](const std::string& bytes) { return bytes.find("\n\"Import As\"=int:7\n") != std::string::npos; };
    return w;
}

const std::vector<pathcases::Writer>& writers()
{
    static const std::vector<pathcases::Writer> all = {dxfOut(), acisOut(), settingsStore()};
    return all;
}

const std::vector<pathcases::PathCase>& cases()
{
    static const std::vector<pathcases::PathCase> all = pathcases::pathCases();
    return all;
}

class FileWriterTest : public ::testing::TestWithParam<std::tuple<size_t, size_t>> {};

TEST_P(FileWriterTest, KeepsTheRulesOfReplacingAFile)
{
    pathcases::runPathCase(cases()[std::get<1>(GetParam())], writers()[std::get<0>(GetParam())]);
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<size_t, size_t>>& info)
{
    std::string name = writers()[std::get<0>(info.param)].name + "_";
    for (const char c : std::string(cases()[std::get<1>(info.param)].title))
        name += (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(AllWriters, FileWriterTest,
                         ::testing::Combine(::testing::Range<size_t>(0, writers().size()),
                                            ::testing::Range<size_t>(0, cases().size())),
                         caseName);

}  // namespace
