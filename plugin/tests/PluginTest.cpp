#include "PluginTest.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "VrnRegistry.h"
#include "accmd.h"
#include "acdocman.h"
#include "acrxEntryPoint.h"
#include "dbapserv.h"
#include "dbmain.h"
#include "rxdlinkr.h"
#include "standin/AcDbStandin.h"
#include "standin/AcEdStandin.h"
#include "standin/VrnStandin.h"
#include "standin/Win32.h"

namespace plugin_test {

namespace {
std::string Env(const char* name, const std::string& fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : fallback;
}
}  // namespace

// The environment names the folders; the build's own folders stand in when
// it does not.
std::string BinDir()
{
    return Env("KV_BIN_DIR", PLUGIN_TEST_BIN_DIR);
}
std::string TestDataDir()
{
    return Env("KV_TEST_DATA", PLUGIN_TEST_DATA_DIR);
}
std::string SourceDir()
{
    return Env("KV_SOURCE_DIR", PLUGIN_TEST_SOURCE_DIR);
}

std::wstring Widen(const std::string& text)
{
    return std::wstring(text.begin(), text.end());  // the tests' paths are ASCII
}

std::string Narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text)
        out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

std::string MakeTempDir()
{
    std::string pattern =
        (std::getenv("TMPDIR") ? std::string(std::getenv("TMPDIR")) : "/tmp") + "/kolvane-test.XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const char* made = mkdtemp(buffer.data());
    return made ? std::string(made) : std::string();
}

void RemoveTree(const std::string& path)
{
    struct stat info;
    if (lstat(path.c_str(), &info) != 0)
        return;
    if (S_ISDIR(info.st_mode)) {
        chmod(path.c_str(), 0700);
        if (DIR* dir = opendir(path.c_str())) {
            while (dirent* entry = readdir(dir)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..")
                    RemoveTree(path + "/" + name);
            }
            closedir(dir);
        }
        rmdir(path.c_str());
    } else {
        unlink(path.c_str());
    }
}

void WriteFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary);
    out << content;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool FileExists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

ON_Mesh TwoTriangles(bool sixVertices)
{
    ON_Mesh mesh;
    if (sixVertices) {
        mesh.SetVertex(0, ON_3dPoint(0, 0, 0));
        mesh.SetVertex(1, ON_3dPoint(1, 0, 0));
        mesh.SetVertex(2, ON_3dPoint(0, 1, 0));
        mesh.SetVertex(3, ON_3dPoint(1, 0, 0));
        mesh.SetVertex(4, ON_3dPoint(1, 1, 0));
        mesh.SetVertex(5, ON_3dPoint(0, 1, 0));
        mesh.SetTriangle(0, 0, 1, 2);
        mesh.SetTriangle(1, 3, 4, 5);
    } else {
        mesh.SetVertex(0, ON_3dPoint(0, 0, 0));
        mesh.SetVertex(1, ON_3dPoint(1, 0, 0));
        mesh.SetVertex(2, ON_3dPoint(0, 1, 0));
        mesh.SetVertex(3, ON_3dPoint(1, 1, 0));
        mesh.SetTriangle(0, 0, 1, 2);
        mesh.SetTriangle(1, 1, 3, 2);
    }
    return mesh;
}

ON_Mesh Cube()
{
    ON_Mesh mesh;
    int i = 0;
    for (int z = 0; z < 2; ++z)
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                mesh.SetVertex(i++, ON_3dPoint(x, y, z));
    // corner index = x + 2y + 4z
    mesh.SetQuad(0, 0, 2, 3, 1);
    mesh.SetQuad(1, 4, 5, 7, 6);
    mesh.SetQuad(2, 0, 1, 5, 4);
    mesh.SetQuad(3, 1, 3, 7, 5);
    mesh.SetQuad(4, 3, 2, 6, 7);
    mesh.SetQuad(5, 2, 0, 4, 6);
    return mesh;
}

}  // namespace plugin_test

using namespace plugin_test;

void PluginTest::SetUp()
{
    tempDir_ = MakeTempDir();
    ASSERT_FALSE(tempDir_.empty());
    tempDir_ += "/";
    standin::vrn::setRegistryFile(registryFile());
    standin::newWorkingDatabase();
    standin::editor::resetEditor();
    standin::editor::setHostRelease(L'E');
    standin::clearShellOpenings();
    standin::resetFileAssociations();
    fake_reader::Clear();
    previousUser_ = standin::setCurrentUser(&user_);
    resourceBefore_ = AfxGetResourceHandle();
    ASSERT_TRUE(Load()) << "the module " << Narrow(defaultModulePath()) << " did not load";
}

void PluginTest::TearDown()
{
    if (loaded_) {
        EXPECT_TRUE(Unload());
    }
    EXPECT_EQ(standin::docs::resourceStackDepth(), 0) << "a resource source was left pushed";
    EXPECT_EQ(standin::docs::unbalancedResourcePops(), 0);
    EXPECT_EQ(AfxGetResourceHandle(), resourceBefore_);
    EXPECT_TRUE(standin::openObjects().empty()) << standin::describeOpenObjects();
    for (const std::wstring& complaint : user_.complaints())
        ADD_FAILURE() << "user: " << Narrow(complaint);
    standin::docs::clearResourceStack();
    standin::setCurrentUser(previousUser_);
    standin::vrn::setRegistryFile("");
    fake_reader::Clear();
    RemoveTree(tempDir_);
}

std::wstring PluginTest::defaultModulePath() const
{
    return Widen(BinDir() + "/Kolvane.arx");
}

bool PluginTest::Load(const std::wstring& path)
{
    if (loaded_ && !Unload())
        return false;
    loaded_ = acrxDynamicLinker->loadModule(path.c_str(), false);
    if (loaded_)
        modulePath_ = path;
    return loaded_;
}

bool PluginTest::Unload()
{
    if (!loaded_)
        return false;
    const bool done = acrxDynamicLinker->unloadModule(modulePath_.c_str(), false);
    if (done)
        loaded_ = false;
    return done;
}

int PluginTest::SendMessage(int code, void* packet)
{
    using EntryPoint = AcRx::AppRetCode (*)(AcRx::AppMsgCode, void*);
    void* address = acrxDynamicLinker->getSymbolAddress(modulePath_.c_str(), "acrxEntryPoint");
    if (!address) {
        ADD_FAILURE() << "acrxEntryPoint is not exported";
        return -1;
    }
    return reinterpret_cast<EntryPoint>(address)(static_cast<AcRx::AppMsgCode>(code), packet);
}

void PluginTest::RunCommand(const wchar_t* globalName)
{
    AcEdCommand* command = acedRegCmds->lookupGlobalCmd(globalName);
    ASSERT_NE(command, nullptr) << Narrow(globalName) << " is not registered";
    ASSERT_NE(command->functionAddr(), nullptr);
    command->functionAddr()();
}

void PluginTest::Import(const std::string& path, std::function<void(standin::DialogSession&)> work)
{
    user_.chooseFile(Widen(path));
    if (work)
        user_.dialog(std::move(work));
    RunCommand(L"_Kolvane");
}

void PluginTest::ImportAs(const std::string& path, const std::wstring& item, bool warning)
{
    Import(path, [item, warning](standin::DialogSession& dialog) {
        EXPECT_TRUE(dialog.selectComboItem(kComboId, item));
        EXPECT_TRUE(dialog.setCheck(kCheckId, warning ? BST_CHECKED : BST_UNCHECKED));
        EXPECT_TRUE(dialog.press(IDOK));
    });
}

std::wstring PluginTest::CommandLine() const
{
    return standin::editor::commandLineText();
}

std::vector<std::wstring> PluginTest::CommandLines() const
{
    std::vector<std::wstring> lines;
    std::wstring text = CommandLine();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        if (end > start)
            lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::map<std::wstring, int> PluginTest::ModelSpaceCounts() const
{
    std::map<std::wstring, int> counts;
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    standin::forEachSpaceEntity(db, [&counts](AcDbObjectId id) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) == Acad::eOk) {
            ++counts[entity->isA()->name()];
            entity->close();
        }
    });
    return counts;
}

int PluginTest::ModelSpaceCount() const
{
    return standin::modelSpaceEntityCount(acdbHostApplicationServices()->workingDatabase());
}

int PluginTest::StoredInt(const wchar_t* name, int def) const
{
    VrnRegistry registry;
    registry.SetKey(L"Software\\Varnett\\Kolvane for AutoCAD", 0);
    return registry.ReadInt(name, def);
}

int PluginTest::StoredBool(const wchar_t* name, int def) const
{
    VrnRegistry registry;
    registry.SetKey(L"Software\\Varnett\\Kolvane for AutoCAD", 0);
    return registry.ReadBool(name, def);
}

void PluginTest::StoreInt(const wchar_t* name, int value) const
{
    VrnRegistry registry;
    registry.SetKey(L"Software\\Varnett\\Kolvane for AutoCAD", 1);
    EXPECT_NE(registry.WriteInt(name, value), 0);
}

std::string PluginTest::WriteObj(const std::string& name, const std::string& content) const
{
    const std::string path = tempDir_ + name;
    WriteFile(path, content);
    return path;
}
