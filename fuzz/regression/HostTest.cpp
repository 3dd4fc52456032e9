// The host program with the plug-in on hostile input: damaged model files,
// folders and missing paths, settings stores that cannot be read or written,
// script lines longer than any buffer, a module whose path is longer than the
// platform's path buffer, and a module without its menu and help files. The
// host says on standard error when a command leaves an object open or a
// selection set held, so every run here also checks that nothing was.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <cstdlib>
#include <unistd.h>

#include <string>
#include <vector>

#include "HostileSupport.h"

using namespace hostile;

namespace {

const char kCaption[] = "[Kolvane for AutoCAD 2011 version 1.0] ";
const char kCube[] = "o cube\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\n"
                     "f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n";

class HostileHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = MakeTempDir();
        ASSERT_FALSE(dir_.empty());
        WriteFile(dir_ + "cube.obj", kCube);
    }
    void TearDown() override { RemoveTree(dir_); }

    // The lines of one import of cube.obj as 3D faces, whatever was stored.
    static std::vector<std::string> ImportCube() { return {"_Kolvane", "cube.obj", "3D Faces", "Yes", "OK"}; }

    std::string dir_;
};

TEST_F(HostileHostTest, EachBadModelFileGetsItsMessageAndTheSessionGoesOn)
{
    ::mkdir((dir_ + "folder.obj").c_str(), 0700);
    ::mkfifo((dir_ + "pipe.obj").c_str(), 0600);
    WriteFile(dir_ + "empty.obj", "");
    WriteFile(dir_ + "oor.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nf 1 2 -9\n");
    WriteFile(dir_ + "cut.stl", std::string(84, '\0').substr(0, 60));
    WriteFile(dir_ + "bad.3ds", std::string("\x4d\x4d\xff\xff\xff\x7f", 6) + std::string(40, '\x3d'));
    struct Case {
        const char* file;
        const char* says;
    };
    const Case cases[] = {
        {"empty.obj", "is empty."},
        {"folder.obj", "is a folder, not a model file."},
        {"missing.obj", "does not exist."},
        {"pipe.obj", "is not an ordinary file"},
        {"oor.obj", "it is damaged or incomplete"},
        {"cut.stl", "it is damaged or incomplete"},
        {"bad.3ds", "cannot be read"},
    };
    std::vector<std::string> script;
    for (const Case& c : cases) {
        script.push_back("_Kolvane");
        script.push_back(c.file);
    }
    for (const std::string& line : ImportCube())
        script.push_back(line);
    const HostRun run = RunHost(dir_, script);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    size_t at = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        // One box per file, naming it, with the reader's reason; in order.
        const size_t box = run.out.find(std::string(kCaption), at);
        ASSERT_NE(box, std::string::npos) << run.out;
        const std::string line = run.out.substr(box, run.out.find('\n', box) - box);
        EXPECT_NE(line.find(dir_ + c.file), std::string::npos) << line;
        EXPECT_NE(line.find(c.says), std::string::npos) << line;
        at = box + 1;
    }
    // Nothing was made until the sound file, which imports in full.
    EXPECT_EQ(Count(run.out, "Created"), 1) << run.out;
    EXPECT_NE(run.out.find("Created 6 3d faces\n"), std::string::npos) << run.out;
}

TEST_F(HostileHostTest, AMillionFacesWithIndicesPartlyOutOfRangeAreRefusedWhole)
{
    // A grid model of a million triangles, of which one in a thousand names
    // a vertex that is not there.
    const int side = 708;  // 707 * 707 * 2 = 999698 triangles, and a few more
    std::string obj;
    obj.reserve(40u * 1000 * 1000);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            obj += "v " + std::to_string(x) + " " + std::to_string(y) + " 0\n";
    int faces = 0;
    for (int y = 0; y + 1 < side; ++y)
        for (int x = 0; x + 1 < side; ++x) {
            const int a = y * side + x + 1, b = a + 1, c = a + side + 1, d = a + side;
            const int bad = side * side + 1 + faces;
            obj += "f " + std::to_string(a) + " " + std::to_string(b) + " " +
                std::to_string((faces / 2) % 500 == 499 ? bad : c) + "\n";
            obj += "f " + std::to_string(a) + " " + std::to_string(c) + " " + std::to_string(d) + "\n";
            faces += 2;
        }
    while (faces < 1000000) {
        obj += "f 1 2 3\n";
        ++faces;
    }
    WriteFile(dir_ + "million.obj", obj);
    obj.clear();

    std::vector<std::string> script = {"_Kolvane", "million.obj", "Mesh", "Yes", "OK"};
    for (const std::string& line : ImportCube())
        script.push_back(line);
    const HostRun run = RunHost(dir_, script);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find(std::string(kCaption) + "The file \"" + dir_ + "million.obj\" cannot be read"),
              std::string::npos)
        << run.out.substr(0, 2000);
    // No half-made drawing: the only entities are those of the cube.
    EXPECT_EQ(Count(run.out, "Created"), 1) << run.out.substr(0, 2000);
    EXPECT_NE(run.out.find("Created 6 3d faces\n"), std::string::npos);
}

TEST_F(HostileHostTest, ASettingsStoreThatCannotBeUsedLeavesTheDefaultsAndLosesNothing)
{
    // Each store is used twice: the first import takes the defaults (empty
    // answers keep what the dialog shows) and stores "Points" and No; the
    // second shows what the store then holds.
    struct Case {
        const char* name;
        void (*make)(const std::string& store);
        bool keeps;      // the choice is stored for the next session
        bool keptAside;  // the damaged file is kept beside as .corrupt
    };
    const Case cases[] = {
        {"damaged",
         [](const std::string& s) { WriteFile(s, std::string("garbage\0\xff[[[\n\"Import As\"=int:zz\n", 32)); }, true,
         true},
        {"a folder", [](const std::string& s) { ::mkdir(s.c_str(), 0700); }, false, false},
        {"in a folder that is a file",
         [](const std::string& s) { WriteFile(s.substr(0, s.rfind('/')), "not a folder"); }, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string sub = dir_ + std::to_string(&c - cases) + "/";
        ::mkdir(sub.c_str(), 0700);
        WriteFile(sub + "cube.obj", kCube);
        const std::string store =
            std::string(c.name) == "in a folder that is a file" ? sub + "store/registry.txt" : sub + "registry.txt";
        c.make(store);
        const std::string before = ReadFile(store);
        const std::string option = "--registry '" + store + "'";

        HostRun first =
            RunHost(sub, {"_Kolvane", "cube.obj", "", "", "", "_Kolvane", "cube.obj", "Points", "No", "OK"}, option);
        ASSERT_EQ(first.status, 0) << first.err;
        EXPECT_EQ(first.err, "");
        EXPECT_NE(first.out.find("Created polyface mesh consisting of 8 vertices and 6 faces\n"), std::string::npos)
            << first.out;
        EXPECT_NE(first.out.find("Created 8 points\n"), std::string::npos) << first.out;

        HostRun second = RunHost(sub, {"_Kolvane", "cube.obj", "", "", ""}, option);
        ASSERT_EQ(second.status, 0) << second.err;
        EXPECT_EQ(second.err, "");
        EXPECT_NE(second.out.find(c.keeps ? "Created 8 points\n" : "Created polyface mesh"), std::string::npos)
            << second.out;
        if (c.keptAside) {
            EXPECT_EQ(ReadFile(store + ".corrupt"), before);
        }
        if (!c.keeps) {
            EXPECT_EQ(ReadFile(store), before);  // what was there is still there
        }
    }
}

TEST_F(HostileHostTest, FilesWithoutReadPermissionAreNeitherReadNorReplaced)
{
    // Run as a user whom permissions bind: the model cannot be read and says
    // so; the settings store cannot be read, so the dialog offers the
    // defaults, and the store is not replaced by what OK stores.
    bool possible = true;
    const std::string prefix = AsBoundUser(dir_, possible);
    if (!possible)
        GTEST_SKIP() << "no user whom permissions bind can run the build's host program";
    const std::string stored = "[Software\\Varnett\\Kolvane for AutoCAD]\n\"Import As\"=int:3\n";
    WriteFile(dir_ + "registry.txt", stored);
    ::chmod((dir_ + "registry.txt").c_str(), 0);
    WriteFile(dir_ + "locked.obj", kCube);
    ::chmod((dir_ + "locked.obj").c_str(), 0);
    ::chmod((dir_ + "cube.obj").c_str(), 0644);

    const HostRun run = RunHost(dir_, {"_Kolvane", "locked.obj", "_Kolvane", "cube.obj", "", "", ""}, "", prefix);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find(std::string(kCaption) + "The file \"" + dir_ +
                           "locked.obj\" cannot be read: you do not have permission to read it."),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("Created polyface mesh consisting of 8 vertices and 6 faces\n"), std::string::npos)
        << run.out;
    ::chmod((dir_ + "registry.txt").c_str(), 0600);
    EXPECT_EQ(ReadFile(dir_ + "registry.txt"), stored);
}

TEST_F(HostileHostTest, AScriptStartingWithAByteOrderMarkRunsAsWritten)
{
    std::vector<std::string> script = ImportCube();
    script[0] = "\xEF\xBB\xBF" + script[0];
    const HostRun run = RunHost(dir_, script);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Count(run.out, "Unknown command"), 0) << run.out;
    EXPECT_NE(run.out.find("Created 6 3d faces\n"), std::string::npos) << run.out;
}

TEST_F(HostileHostTest, FileNamesThatAreNotUtf8ReachTheFileSystemAsTheirBytes)
{
    // Latin-1 names, as older Linux file systems hold them.
    WriteFile(dir_ + "caf\xe9.obj", kCube);
    const HostRun run = RunHost(dir_, {"_Kolvane", "caf\xe9.obj", "3D Faces", "Yes", "OK", "_dxfout", "caf\xe9.dxf"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("Created 6 3d faces\n"), std::string::npos) << run.out;
    EXPECT_TRUE(Exists(dir_ + "caf\xe9.dxf"));
    EXPECT_FALSE(Exists(dir_ + "caf\xc3\xa9.dxf")) << "the name must not be re-encoded";
    EXPECT_EQ(Count(ReadFile(dir_ + "caf\xe9.dxf"), "3DFACE"), 6);
    // A message about the file names it with its own bytes too.
    const HostRun missing = RunHost(dir_, {"_Kolvane", "gon\xe9.obj"});
    EXPECT_NE(missing.out.find(dir_ + "gon\xe9.obj"), std::string::npos) << missing.out;
}

TEST_F(HostileHostTest, ScriptLinesLongerThanAnyBufferAreTakenWhole)
{
    const std::string command(2 * 1000 * 1000, 'x');
    const std::string path = "/" + std::string(1000 * 1000, 'a') + ".obj";
    std::vector<std::string> script = {command, "_Kolvane", path, ""};
    for (const std::string& line : ImportCube())
        script.push_back(line);
    const HostRun run = RunHost(dir_, script);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    // The long command is unknown as a whole (not cut into pieces that run).
    EXPECT_EQ(Count(run.out, "Unknown command"), 1);
    EXPECT_NE(run.out.find("Unknown command \"" + std::string(command.size(), 'X') + "\""), std::string::npos);
    // The long path is refused by the file dialog, which asks again; the
    // empty answer then cancels.
    EXPECT_NE(run.out.find("The file name is too long."), std::string::npos);
    EXPECT_EQ(Count(run.out, "Failure [Command cancelled]\n"), 1);
    EXPECT_NE(run.out.find("Created 6 3d faces\n"), std::string::npos);
}

// A copy of the module in folder, beside the files named; the libraries it
// needs are found in the build's folder.
std::string CopyModule(const std::string& folder, const std::vector<std::string>& files)
{
    std::string made;
    for (size_t at = 1; at != std::string::npos; at = folder.find('/', at + 1)) {
        made = folder.substr(0, at);
        ::mkdir(made.c_str(), 0700);
    }
    ::mkdir(folder.c_str(), 0700);
    WriteFile(folder + "/Kolvane.arx", ReadFile(BinDir() + "/Kolvane.arx"));
    for (const std::string& f : files)
        WriteFile(folder + "/" + f, ReadFile(BinDir() + "/" + f));
    return "--module '" + folder + "/Kolvane.arx'";
}

HostRun RunCopiedModule(const std::string& cwd, const std::string& option, const std::vector<std::string>& lines)
{
    const std::string saved = std::getenv("LD_LIBRARY_PATH") ? std::getenv("LD_LIBRARY_PATH") : "";
    setenv("LD_LIBRARY_PATH", BinDir().c_str(), 1);
    HostRun run = RunHost(cwd, lines, option);
    if (saved.empty())
        unsetenv("LD_LIBRARY_PATH");
    else
        setenv("LD_LIBRARY_PATH", saved.c_str(), 1);
    return run;
}

TEST_F(HostileHostTest, AModuleWhosePathIsLongerThanThePathBufferStillWorks)
{
    std::string folder = dir_;
    while (folder.size() <= 300)
        folder += std::string(50, 'm') + "/";
    folder.pop_back();
    const std::string option = CopyModule(folder, {"Kolvane.mnu", "Kolvane.chm"});
    std::vector<std::string> script = {"_KolvaneHelp"};
    for (const std::string& line : ImportCube())
        script.push_back(line);
    const HostRun run = RunCopiedModule(dir_, option, script);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    // The module's own folder cannot be named through the buffer, so no file
    // of some other folder is used: help says it cannot be shown.
    EXPECT_NE(run.out.find(std::string(kCaption) + "Error displaying Kolvane for AutoCAD help file."),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("[shell]"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Created 6 3d faces\n"), std::string::npos) << run.out;
}

TEST_F(HostileHostTest, AModuleWithoutItsMenuAndHelpFilesSaysSoAndStillImports)
{
    const std::string option = CopyModule(dir_ + "alone", {});
    std::vector<std::string> script = {"_KolvaneHelp"};
    for (const std::string& line : ImportCube())
        script.push_back(line);
    const HostRun run = RunCopiedModule(dir_, option, script);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("Menu file \"" + dir_ + "alone/Kolvane.mnu\" not found."), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(std::string(kCaption) + "Error displaying Kolvane for AutoCAD help file."),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("Created 6 3d faces\n"), std::string::npos) << run.out;
}

}  // namespace

namespace {

TEST(HostProgramTest, AScriptPathThatNamesNoFileEndsWithAClearError)
{
    // A folder opens as a stream that reads nothing: without a check it would
    // run as an empty script and end as if all had gone well.
    const std::string dir = MakeTempDir();
    ASSERT_FALSE(dir.empty());
    ::mkdir((dir + "scripts.scr").c_str(), 0700);
    struct Case {
        const char* script;
        const char* says;
    };
    const Case cases[] = {
        {"scripts.scr", "arxhost: cannot read the script scripts.scr: it is a folder\n"},
        {"missing.scr", "arxhost: cannot read the script missing.scr\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        const std::string command = "cd '" + dir + "' && '" + BinDir() + "/arxhost' --registry '" + dir +
            "registry.txt' " + c.script + " > out.txt 2> err.txt < /dev/null";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;
        EXPECT_EQ(ReadFile(dir + "err.txt"), c.says);
        EXPECT_EQ(ReadFile(dir + "out.txt"), "");
    }
    RemoveTree(dir);
}

}  // namespace

namespace {

// A glTF file whose node tree places one 200-face mesh through 16 levels of
// nodes that each place the next twice: 65,536 placements, 13 million faces,
// from a few kilobytes.
void WriteAmplifyingGltf(const std::string& dir, const std::string& name)
{
    std::string bin;
    auto put = [&bin](const void* p, size_t n) { bin.append(static_cast<const char*>(p), n); };
    for (int y = 0; y <= 10; ++y)
        for (int x = 0; x <= 10; ++x) {
            const float p[3] = {static_cast<float>(x), static_cast<float>(y), 0.0f};
            put(p, sizeof p);
        }
    const size_t positionBytes = bin.size();
    for (unsigned y = 0; y < 10; ++y)
        for (unsigned x = 0; x < 10; ++x) {
            const unsigned a = y * 11 + x, b = a + 1, c = a + 11, d = c + 1;
            const unsigned t[6] = {a, b, d, a, d, c};
            put(t, sizeof t);
        }
    WriteFile(dir + name + ".bin", bin);
    std::string nodes;
    for (int k = 0; k < 16; ++k)
        nodes += "{\"children\":[" + std::to_string(k + 1) + "," + std::to_string(k + 1) + "]},";
    nodes += "{\"mesh\":0}";
    WriteFile(dir + name,
              "{\"asset\":{\"version\":\"2.0\"},\"scene\":0,\"scenes\":[{\"nodes\":[0]}],\"nodes\":[" + nodes +
                  "],\"meshes\":[{\"primitives\":[{\"attributes\":{\"POSITION\":0},\"indices\":1}]}],"
                  "\"buffers\":[{\"byteLength\":" +
                  std::to_string(bin.size()) + ",\"uri\":\"" + name +
                  ".bin\"}],"
                  "\"bufferViews\":[{\"buffer\":0,\"byteLength\":" +
                  std::to_string(positionBytes) + "},{\"buffer\":0,\"byteOffset\":" + std::to_string(positionBytes) +
                  ",\"byteLength\":" + std::to_string(bin.size() - positionBytes) +
                  "}],"
                  "\"accessors\":[{\"bufferView\":0,\"componentType\":5126,\"count\":121,\"type\":\"VEC3\","
                  "\"min\":[0,0,0],\"max\":[10,10,0]},"
                  "{\"bufferView\":1,\"componentType\":5125,\"count\":600,\"type\":\"SCALAR\"}]}");
}

}  // namespace

TEST_F(HostileHostTest, ASmallFileThatPlacesAMeshMillionsOfTimesIsRefusedAndNothingIsWritten)
{
    WriteAmplifyingGltf(dir_, "bomb.gltf");
    std::vector<std::string> script = {"_Kolvane", "bomb.gltf", "Lines", "No", "OK", "_dxfout", "after.dxf"};
    const HostRun run = RunHost(dir_, script);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "") << "nothing left open";
    EXPECT_NE(run.out.find(std::string(kCaption) + "The file \"" + dir_ + "bomb.gltf\" is not imported"),
              std::string::npos)
        << run.out.substr(0, 2000);
    EXPECT_EQ(Count(run.out, "Created"), 0) << run.out.substr(0, 2000);
    const std::string dxf = ReadFile(dir_ + "after.dxf");
    EXPECT_EQ(Count(dxf, "\nLINE\n"), 0);
}

// Models whose only geometry is points or lines, or whose faces all use
// vertices that are not finite numbers, hold no mesh data; faces on such
// vertices never reach the drawing in any mode.
TEST_F(HostileHostTest, NoFacesGiveTheNoMeshBoxAndNonFiniteCoordinatesNeverReachTheDrawing)
{
    WriteFile(dir_ + "vertices.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\n");
    WriteFile(dir_ + "lines.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nl 1 2 3\np 1\n");
    WriteFile(dir_ + "allnan.obj", "v nan 0 0\nv nan 0 0\nv nan 1 0\nv nan 1 1\nf 1 2 3 4\n");
    WriteFile(dir_ + "some.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv nan 0 0\nv 1e308 0 0\nf 1 2 3\nf 1 4 2\nf 2 5 3\n");
    std::vector<std::string> script;
    for (const char* file : {"vertices.obj", "lines.obj", "allnan.obj"}) {
        script.push_back("_Kolvane");
        script.push_back(file);
    }
    for (const char* mode : {"Mesh", "3D Faces", "Lines", "Points"}) {
        for (const char* line : {"_Kolvane", "some.obj", mode, "No", "OK"})
            script.push_back(line);
    }
    script.push_back("_dxfout");
    script.push_back("some.dxf");
    const HostRun run = RunHost(dir_, script);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Count(run.out, "SKP file does not contain mesh data."), 3) << run.out;
    EXPECT_EQ(Count(run.out, "damaged"), 0) << run.out;
    EXPECT_NE(run.out.find("Created polyface mesh consisting of 3 vertices and 1 faces\n"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("Created 1 3d faces\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Created 3 lines\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Created 3 points\n"), std::string::npos) << run.out;
    const std::string dxf = ReadFile(dir_ + "some.dxf");
    ASSERT_FALSE(dxf.empty());
    size_t start = 0;
    while (start < dxf.size()) {
        size_t end = dxf.find('\n', start);
        if (end == std::string::npos)
            end = dxf.size();
        std::string value = dxf.substr(start, end - start);
        while (!value.empty() && (value.back() == '\r' || value.back() == ' '))
            value.pop_back();
        while (!value.empty() && value.front() == ' ')
            value.erase(0, 1);
        for (const char* bad : {"nan", "-nan", "inf", "-inf", "NaN", "Inf"})
            EXPECT_NE(value, bad) << "a coordinate that is no finite number in the DXF";
        start = end + 1;
    }
}
