// The host program run as a user runs it: with a script file or standard
// input, against the runtime's test module.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct HostRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ArxHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kv-arxhost-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override
    {
        const std::string command = "rm -rf '" + folder_ + "'";
        if (std::system(command.c_str()) != 0)
            ADD_FAILURE() << "could not remove " << folder_;
    }

    std::string script(const std::string& text)
    {
        const std::string path = folder_ + "/script.scr";
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // Runs arxhost with the arguments (a shell fragment) and an optional
    // standard input.
    HostRun run(const std::string& arguments, const std::string& input = "")
    {
        const std::string in = folder_ + "/stdin.txt";
        const std::string out = folder_ + "/stdout.txt";
        const std::string err = folder_ + "/stderr.txt";
        std::ofstream(in, std::ios::binary) << input;
        const std::string command =
            std::string("'") + KV_ARXHOST + "' " + arguments + " <'" + in + "' >'" + out + "' 2>'" + err + "'";
        HostRun result;
        const int raw = std::system(command.c_str());
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        result.out = readAll(out);
        result.err = readAll(err);
        return result;
    }

    static std::string module() { return std::string("--module '") + KV_RX_TEST_MODULE + "' "; }

    std::string folder_;
};

// The lines of the output, in order, that contain the texts.
::testing::AssertionResult inOrder(const std::string& text, std::initializer_list<const char*> parts)
{
    size_t at = 0;
    for (const char* part : parts) {
        const size_t found = text.find(part, at);
        if (found == std::string::npos)
            return ::testing::AssertionFailure() << "\"" << part << "\" missing after offset " << at << " in:\n"
                                                 << text;
        at = found + std::string(part).size();
    }
    return ::testing::AssertionSuccess();
}

TEST_F(ArxHostTest, RunsTheScriptBetweenLoadAndUnload)
{
    const HostRun r = run(module() + "'" + script("Alpha\n_beta\n\nfoo\nAsk\narc\nInstance\n") + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(inOrder(r.out,
                        {"static-init\n", "dllmain-attach\n", "init 1 1\n", "load-dwg\n", "Command: ", "alpha\n",
                         "beta\n", "Unknown command \"FOO\".  Press F1 for help.\n", "Shape [Line/Arc/Circle]: ",
                         "asked 5100 Arc\n", "instance same\n", "unload\n", "dllmain-detach\n", "static-exit\n"}));
    EXPECT_EQ(r.err, "");
}

TEST_F(ArxHostTest, ReadsStandardInputWithoutAScript)
{
    const HostRun r = run(module(), "alpha\n*Cancel*\nbeta\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(inOrder(r.out, {"alpha\n", "beta\n", "static-exit\n"}));
}

TEST_F(ArxHostTest, TheReleaseLetterGoesIntoVernum)
{
    HostRun r = run(module() + "--release D '" + script("Vernum\n") + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("vernum D.206.0.0 (UNICODE)\n"), std::string::npos) << r.out;
    r = run(module() + "'" + script("Vernum\n") + "'");
    EXPECT_NE(r.out.find("vernum E.206.0.0 (UNICODE)\n"), std::string::npos) << r.out;
}

TEST_F(ArxHostTest, HostCommandsWorkFromTheScript)
{
    const std::string dxf = folder_ + "/out";
    const HostRun r = run(module() + "'" + script("HoldSet\n_dxfout\n" + dxf + "\n") + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string written = readAll(dxf + ".dxf");
    EXPECT_NE(written.find("POINT"), std::string::npos);
}

TEST_F(ArxHostTest, WhatACommandLeavesBehindIsReported)
{
    const HostRun r = run(module() + "'" + script("LeaveOpen\nHoldSet\n") + "'");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("after LeaveOpen: database objects left open"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("after HoldSet: selection sets held"), std::string::npos) << r.err;
    // And once more when the host goes away.
    EXPECT_NE(r.err.find("selection sets never freed"), std::string::npos) << r.err;
}

TEST_F(ArxHostTest, ALockedModuleIsUnloadedAtTheEndAllTheSame)
{
    const HostRun r = run(std::string("--module '") + KV_RX_TEST_MODULE_LOCKED + "' '" + script("Alpha\n") + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(inOrder(r.out, {"init 0 1\n", "alpha\n", "unload\n", "static-exit\n"}));
}

struct ErrorCase {
    const char* arguments;
    int status;
    const char* message;
};

TEST_F(ArxHostTest, BadCommandLinesAndModulesEndWithAClearError)
{
    const std::string scriptPath = script("Alpha\n");
    const std::string notAnApp = std::string("--module '") + KV_ARXHOST + "' ";
    const ErrorCase cases[] = {
        {"--module /no/such.arx", 1, "cannot find the module /no/such.arx"},
        {"--frobnicate", 2, "unknown option --frobnicate"},
        {"--release", 2, "--release needs a letter"},
        {"--release 11", 2, "--release takes one letter"},
        {"--module", 2, "--module needs a path"},
        {"--registry", 2, "--registry needs a file"},
    };
    for (const ErrorCase& c : cases) {
        const HostRun r = run(c.arguments);
        EXPECT_EQ(r.status, c.status) << c.arguments;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.arguments << ": " << r.err;
    }
    HostRun r = run(module() + "'" + folder_ + "/missing.scr'");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("cannot read the script"), std::string::npos) << r.err;
    r = run(module() + "'" + scriptPath + "' '" + scriptPath + "'");
    EXPECT_EQ(r.status, 2);
    r = run(notAnApp + "'" + scriptPath + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot load the module"), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("alpha"), std::string::npos);
}

}  // namespace
