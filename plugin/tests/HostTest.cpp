// The host program arxhost with the module and the bundled sample: scripts
// as a user writes them, and the DXF files they produce, read back with
// ezdxf.
#include <ostream>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "PluginTest.h"

using namespace plugin_test;

namespace {

struct HostRun {
    int status = -1;
    std::string out;
    std::string err;
};

class HostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = MakeTempDir();
        ASSERT_FALSE(dir_.empty());
        dir_ += "/";
    }
    void TearDown() override { RemoveTree(dir_); }

    // Runs arxhost in folder `cwd` with a script of these lines.
    HostRun Host(const std::vector<std::string>& lines, const std::string& cwd = "")
    {
        std::string script;
        for (const std::string& line : lines)
            script += line + "\n";
        WriteFile(dir_ + "script.scr", script);
        return HostScript(dir_ + "script.scr", cwd.empty() ? dir_ : cwd);
    }

    HostRun HostScript(const std::string& script, const std::string& cwd)
    {
        const std::string command = "cd '" + cwd + "' && '" + BinDir() + "/arxhost' --registry '" + dir_ +
            "registry.txt' '" + script + "' > '" + dir_ + "out.txt' 2> '" + dir_ + "err.txt' < /dev/null";
        HostRun run;
        run.status = std::system(command.c_str());
        run.out = ReadFile(dir_ + "out.txt");
        run.err = ReadFile(dir_ + "err.txt");
        return run;
    }

    // What check_dxf.py says of the file, line by line.
    std::vector<std::string> CheckDxf(const std::string& dxf)
    {
        const std::string command = "/usr/bin/python3 '" + SourceDir() + "/plugin/tests/check_dxf.py' '" + dxf +
            "' > '" + dir_ + "check.txt' 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << ReadFile(dir_ + "check.txt");
        std::vector<std::string> lines;
        const std::string text = ReadFile(dir_ + "check.txt");
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            lines.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        return lines;
    }

    static std::string Sample() { return SourceDir() + "/samples/round-table.obj"; }
    static int Count(const std::string& text, const std::string& what)
    {
        int n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    }

    std::string dir_;
};

struct SampleCase {
    const char* item;
    std::vector<std::string> reports;  // one per mesh of the table, in order
    std::vector<std::string> check;    // what ezdxf finds
};

// Test names and failure messages show the case by its name.
void PrintTo(const SampleCase& c, std::ostream* os)
{
    *os << c.item;
}

const char kTableBox[] = "bbox -400 -400 0 400 400 750";

std::vector<std::string> Reports(const std::string& top, const std::string& part)
{
    std::vector<std::string> lines{top};
    for (int i = 0; i < 6; ++i)
        lines.push_back(part);
    return lines;
}

class HostSampleTest : public HostTest, public ::testing::WithParamInterface<SampleCase> {};

TEST_P(HostSampleTest, TheSampleImportsAndItsDxfIsSound)
{
    const SampleCase& c = GetParam();
    const HostRun run = Host({"_Kolvane", Sample(), c.item, "Yes", "OK", "_dxfout", dir_ + "table"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    // The report lines, in the order of the table's parts.
    std::size_t at = 0;
    for (const std::string& line : c.reports) {
        const std::size_t found = run.out.find(line + "\n", at);
        ASSERT_NE(found, std::string::npos) << "missing \"" << line << "\" in:\n" << run.out;
        at = found + line.size();
    }
    EXPECT_EQ(CheckDxf(dir_ + "table.dxf"), c.check);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, HostSampleTest,
    ::testing::Values(SampleCase{"Mesh",
                                 Reports("Created polyface mesh consisting of 50 vertices and 72 faces",
                                         "Created polyface mesh consisting of 8 vertices and 6 faces"),
                                 {"audit_errors 0", "count MESH 7", kTableBox, "mesh 50 72", "mesh 8 6", "mesh 8 6",
                                  "mesh 8 6", "mesh 8 6", "mesh 8 6", "mesh 8 6"}},
                      SampleCase{"3D Faces",
                                 Reports("Created 72 3d faces", "Created 6 3d faces"),
                                 {"audit_errors 0", "count 3DFACE 108", kTableBox}},
                      SampleCase{"Lines",
                                 Reports("Created 120 lines", "Created 12 lines"),
                                 {"audit_errors 0", "count LINE 192", kTableBox}},
                      SampleCase{"Points",
                                 Reports("Created 50 points", "Created 8 points"),
                                 {"audit_errors 0", "count POINT 98", kTableBox}}),
    [](const ::testing::TestParamInfo<SampleCase>& info) {
        std::string name = info.param.item;
        name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
        return name;
    });

TEST_F(HostTest, TheBundledSampleScriptRunsAsShipped)
{
    // The script names its files relative to its folder: run a copy.
    WriteFile(dir_ + "round-table.obj", ReadFile(Sample()));
    WriteFile(dir_ + "import-sample.scr", ReadFile(SourceDir() + "/samples/import-sample.scr"));
    const HostRun run = HostScript(dir_ + "import-sample.scr", dir_);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Count(run.out, "3d faces\n"), 7) << run.out;
    EXPECT_EQ(CheckDxf(dir_ + "round-table.dxf"),
              (std::vector<std::string>{"audit_errors 0", "count 3DFACE 108", kTableBox}));
}

TEST_F(HostTest, TheStoredOptionsCarryOverToTheNextSession)
{
    HostRun first = Host({"_Kolvane", Sample(), "Points", "No", "OK"});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(Count(first.out, "points\n"), 7);
    // Empty lines keep what the dialog shows: the options stored last time.
    HostRun second = Host({"Kolvane", Sample(), "", "", "", "_dxfout", dir_ + "again.dxf"});
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(Count(second.out, "points\n"), 7) << second.out;
    EXPECT_EQ(CheckDxf(dir_ + "again.dxf"), (std::vector<std::string>{"audit_errors 0", "count POINT 98", kTableBox}));
}

TEST_F(HostTest, CancellingAndFailuresAreReportedAndTheSessionGoesOn)
{
    const HostRun run = Host({
        "_Kolvane",
        "",  // the file dialog cancelled
        "_Kolvane",
        dir_ + "missing.obj",  // the reader fails
        "_Kolvane",
        Sample(),
        "Lines",
        "Yes",
        "Cancel",  // the options cancelled
        "_KolvaneHelp",
        "_KolvaneAbout",
    });
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Count(run.out, "Failure [Command cancelled]\n"), 2) << run.out;
    EXPECT_NE(run.out.find("missing.obj"), std::string::npos) << run.out;
    EXPECT_EQ(Count(run.out, "Created"), 0);
    EXPECT_NE(run.out.find("[shell] open " + BinDir() + "/Kolvane.chm"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Kolvane for AutoCAD 2011 version 1.0"), std::string::npos);
}

}  // namespace
