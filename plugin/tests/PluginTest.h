// Shared fixture of the plug-in's tests: the module is loaded from the build's
// bin folder through the host's dynamic linker, as the host loads it, and
// driven through its commands with a scripted user.
//
// Every test gets a fresh working database, an empty command line, the
// host's own menus, a registry file of its own in a temporary folder and a
// temporary folder for its model files. At the end the fixture unloads the
// module and checks that nothing is left open: no database object, no
// pushed resource source, no unbalanced pop, no complaint of the user.
#pragma once

#include <gtest/gtest.h>

#include <afxwin.h>

#include <map>
#include <string>
#include <vector>

#include "FakeReader.h"
#include "opennurbs.h"
#include "standin/ScriptedUser.h"

namespace plugin_test {

// The folder the build puts the module and the host program in.
std::string BinDir();
// The shared folder with the developer sample models.
std::string TestDataDir();
// The project's top folder.
std::string SourceDir();

std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

// A new empty folder under the system's temporary folder; removed by
// RemoveTree.
std::string MakeTempDir();
void RemoveTree(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);

// Meshes for the model reader stand-in.
// Two triangles sharing the edge (1,0,0)-(0,1,0): over four vertices, or over
// six with the shared corners repeated.
ON_Mesh TwoTriangles(bool sixVertices);
// A closed unit cube of 8 vertices and 6 quads.
ON_Mesh Cube();

// The selected combo item, the check box and the button of the options dialog.
constexpr int kComboId = 200;
constexpr int kCheckId = 201;

}  // namespace plugin_test

class PluginTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    standin::ScriptedUser& user() { return user_; }

    // Full path of the module this test loads (build/bin/Kolvane.arx unless
    // the test loads one from elsewhere).
    const std::wstring& modulePath() const { return modulePath_; }
    std::wstring defaultModulePath() const;

    // Loads the module through the dynamic linker (LoadLibraryW, DllMain, the
    // initialise-application message); false when the host refused it.
    bool Load(const std::wstring& path);
    bool Load() { return Load(defaultModulePath()); }
    // Unloads it the same way (the unload-application message, FreeLibrary).
    bool Unload();
    bool loaded() const { return loaded_; }

    // The module's exported application entry point, sent one message.
    int SendMessage(int code, void* packet = nullptr);

    // Runs a registered command's function, found on the command stack by
    // its global name. Fails the test when no such command is registered.
    void RunCommand(const wchar_t* globalName);
    // Imports the model at path: the file dialog gets the path, the options
    // dialog is worked by `work` (nothing queued when null).
    void Import(const std::string& path, std::function<void(standin::DialogSession&)> work = nullptr);
    // The same with an options dialog that picks the item, sets the box and
    // presses OK.
    void ImportAs(const std::string& path, const std::wstring& item, bool warning = true);

    // What the command line shows since the test started.
    std::wstring CommandLine() const;
    // The report lines, one string per printed line.
    std::vector<std::wstring> CommandLines() const;

    // Model-space entities by class name, and in order.
    std::map<std::wstring, int> ModelSpaceCounts() const;
    int ModelSpaceCount() const;

    // The stored options, read as the dialog reads them; nullopt when none.
    int StoredInt(const wchar_t* name, int def) const;
    int StoredBool(const wchar_t* name, int def) const;
    void StoreInt(const wchar_t* name, int value) const;

    // Temporary folder of this test, with a trailing '/'.
    const std::string& tempDir() const { return tempDir_; }
    std::string registryFile() const { return tempDir_ + "registry.txt"; }
    // Writes an OBJ file into the temporary folder and returns its path.
    std::string WriteObj(const std::string& name, const std::string& content) const;

    // The caption of the plug-in's boxes under the default host release.
    static std::wstring DefaultCaption() { return L"Kolvane for AutoCAD 2011 version 1.0"; }

private:
    standin::ScriptedUser user_;
    standin::User* previousUser_ = nullptr;
    HINSTANCE resourceBefore_ = nullptr;
    std::string tempDir_;
    std::wstring modulePath_;
    bool loaded_ = false;
};
