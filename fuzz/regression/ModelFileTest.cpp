// Model files that no sound exporter writes, straight into the model reader
// and then, when it accepts them, through every writer: a refusal names the
// file and says why, leaves the mesh list as it was, and nothing crashes,
// hangs or stays open.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <random>
#include <string>

#include "HostileSupport.h"
#include "VrnRavlib.h"
#include "model/ModelHarness.h"
#include "standin/WideFormat.h"

using namespace hostile;

namespace {

class ModelFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A reading that stalls is stopped soon.
        setenv("VRN_READER_TIMEOUT", "3", 1);
        kvfuzz::SetUpModelHarness();
        dir_ = MakeTempDir();
        ASSERT_FALSE(dir_.empty());
    }
    void TearDown() override
    {
        RemoveTree(dir_);
        unsetenv("VRN_READER_TIMEOUT");
    }

    // The reader's text for the file, "" when it read it. The harness's
    // checks must hold either way.
    std::string Read(const std::string& path)
    {
        std::string refusal;
        EXPECT_EQ(kvfuzz::ReadAndImport(path, &refusal), "") << path;
        return refusal;
    }

    static std::string Garbage(size_t size, unsigned seed)
    {
        std::mt19937 random(seed);
        std::string bytes(size, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random() & 0xFF);
        return bytes;
    }

    std::string dir_;
};

TEST_F(ModelFileTest, FilesThatAreNoModelAreRefusedWithTheirReason)
{
    struct Case {
        const char* name;
        std::string (*make)(const std::string& path);  // makes it, returns the path to read
        const char* says;
    };
    const Case cases[] = {
        {"empty",
         [](const std::string& p) {
             WriteFile(p + "empty.obj", "");
             return p + "empty.obj";
         },
         "is empty"},
        {"missing", [](const std::string& p) { return p + "missing.obj"; }, "does not exist"},
        {"missing folder", [](const std::string& p) { return p + "no/such/folder/m.obj"; }, "does not exist"},
        {"folder",
         [](const std::string& p) {
             ::mkdir((p + "folder.obj").c_str(), 0700);
             return p + "folder.obj";
         },
         "is a folder"},
        {"pipe",
         [](const std::string& p) {
             ::mkfifo((p + "pipe.obj").c_str(), 0600);
             return p + "pipe.obj";
         },
         "not an ordinary file"},
        {"device", [](const std::string&) { return std::string("/dev/zero"); }, "not an ordinary file"},
        {"SketchUp file",
         [](const std::string& p) {
             std::string head = "\xFF\xFE\xFF\x0E";
             for (char c : std::string("SketchUp Model"))
                 head += std::string(1, c) + '\0';
             WriteFile(p + "model.skp", head + "{rest}");
             return p + "model.skp";
         },
         "SketchUp"},
        {"unknown format",
         [](const std::string& p) {
             WriteFile(p + "m.xyz123", Garbage(4000, 1));
             return p + "m.xyz123";
         },
         "not in a model format"},
        {"counts beyond any memory",
         [](const std::string& p) {
             WriteFile(p + "huge.off", "OFF\n42222222222222222222222222222222222222221 2\n");
             return p + "huge.off";
         },
         "cannot be read"},
        {"faces past the vertex list",
         [](const std::string& p) {
             WriteFile(p + "oor.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nf 1 2 4\n");
             return p + "oor.obj";
         },
         "damaged or incomplete"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = c.make(dir_);
        const std::string text = Read(path);
        EXPECT_NE(text.find(c.says), std::string::npos) << text;
        EXPECT_NE(text.find(path), std::string::npos) << text;
    }
}

TEST_F(ModelFileTest, AReadingThatStallsIsStoppedAndSaidSo)
{
    // A binary PLY header that ends inside a comment keeps the importer
    // reading for ever.
    WriteFile(dir_ + "stall.ply", "ply\nformat binary_little_endian 1.0\ncomment ");
    const std::string text = Read(dir_ + "stall.ply");
    EXPECT_NE(text.find("took longer than 3 seconds and was stopped"), std::string::npos) << text;
}

TEST_F(ModelFileTest, AFileWithoutReadPermissionIsRefusedAsSuch)
{
    if (IgnoresPermissions())
        GTEST_SKIP() << "this process reads any file whatever its permissions (the host test runs as another user)";
    WriteFile(dir_ + "locked.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    ::chmod((dir_ + "locked.obj").c_str(), 0);
    const std::string text = Read(dir_ + "locked.obj");
    EXPECT_NE(text.find("permission"), std::string::npos) << text;
}

TEST_F(ModelFileTest, TruncatedAndScrambledSampleModelsNeverBreakTheReader)
{
    // Every shared sample cut short at several lengths, and with its middle
    // overwritten: each is refused with a text naming it, or read into sound
    // meshes that every writer takes.
    int files = 0;
    for (const std::string& sample : FilesIn(TestDataDir() + "/models")) {
        const size_t dot = sample.rfind('.');
        const std::string ext = sample.substr(dot);
        if (ext == ".md" || ext == ".mtl")
            continue;
        const std::string bytes = ReadFile(sample);
        for (size_t cut : {size_t{1}, size_t{17}, bytes.size() / 10, bytes.size() / 2, bytes.size() - 1}) {
            const std::string path = dir_ + "cut" + std::to_string(cut) + ext;
            WriteFile(path, bytes.substr(0, cut));
            SCOPED_TRACE(path + " from " + sample);
            Read(path);
            ++files;
        }
        std::string scrambled = bytes;
        const std::string noise = Garbage(std::min<size_t>(256, bytes.size() / 4), 7);
        scrambled.replace(bytes.size() / 2, noise.size(), noise);
        WriteFile(dir_ + "scrambled" + ext, scrambled);
        SCOPED_TRACE("scrambled " + sample);
        Read(dir_ + "scrambled" + ext);
        ++files;
    }
    EXPECT_GT(files, 20);
}

TEST_F(ModelFileTest, GarbageUnderEveryModelExtensionNeverBreaksTheReader)
{
    for (size_t i = 0; i < kvfuzz::kModelExtensionCount; ++i) {
        const std::string path = dir_ + "garbage." + kvfuzz::kModelExtensions[i];
        WriteFile(path, Garbage(3000, static_cast<unsigned>(i)));
        SCOPED_TRACE(path);
        Read(path);
    }
}

}  // namespace
