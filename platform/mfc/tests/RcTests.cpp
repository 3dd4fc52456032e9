// The resource compiler: what it makes of a script (the program carries
// data/sample.rc) and how it reports scripts it cannot compile.
#include "TestSupport.h"
#include "sample_resource.h"

#include <standin/Resources.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

const standin::DialogTemplate* programTemplate(int id)
{
    HMODULE program = GetModuleHandleW(NULL);
    HRSRC r = FindResourceW(program, MAKEINTRESOURCE(id), RT_DIALOG);
    return r ? static_cast<const standin::DialogTemplate*>(LockResource(LoadResource(program, r))) : nullptr;
}

TEST(ResourceCompiler, DialogStatementsAndTheirDefaultStyles)
{
    const standin::DialogTemplate* t = programTemplate(IDD_OPTIONS);
    ASSERT_NE(nullptr, t);
    EXPECT_TRUE(t->extended);
    EXPECT_STREQ(L"Sample Options", t->caption);
    EXPECT_STREQ(L"MS Sans Serif", t->fontName);
    EXPECT_EQ(8, t->fontSize);
    EXPECT_EQ(181, t->cx);
    EXPECT_EQ(73, t->cy);
    EXPECT_EQ(static_cast<uint32_t>(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU), t->style);
    ASSERT_EQ(6u, t->itemCount);
    const standin::DialogItemTemplate* items = t->items;
    EXPECT_STREQ(L"ComboBox", items[0].className);
    EXPECT_EQ(static_cast<uint32_t>(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP),
              items[0].style);
    EXPECT_EQ(static_cast<uint32_t>(WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX | WS_TABSTOP), items[1].style);
    EXPECT_EQ(static_cast<uint32_t>(WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP), items[2].style);
    EXPECT_EQ(static_cast<uint32_t>(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP), items[3].style);
    EXPECT_EQ(static_cast<uint32_t>(WS_CHILD | WS_VISIBLE | SS_LEFT | WS_GROUP), items[4].style);
    EXPECT_EQ(-1, items[4].id);
    EXPECT_EQ(static_cast<uint32_t>(WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ), items[5].style);
    EXPECT_EQ(167, items[5].cx);

    const standin::DialogTemplate* name = programTemplate(IDD_NAME);
    ASSERT_NE(nullptr, name);
    EXPECT_FALSE(name->extended);
    EXPECT_STREQ(L"Name \"and\" count", name->caption);
    EXPECT_STREQ(L"Edit", name->items[1].className);
    EXPECT_EQ(static_cast<uint32_t>(WS_CHILD | WS_VISIBLE | ES_LEFT | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL),
              name->items[1].style);
    EXPECT_EQ(0u, name->items[3].style & WS_TABSTOP);  // NOT WS_TABSTOP
    EXPECT_NE(0u, name->items[5].style & WS_DISABLED);
    ASSERT_EQ(10u, name->itemCount);
    EXPECT_EQ(static_cast<uint32_t>(WS_CHILD | WS_VISIBLE | BS_GROUPBOX), name->items[8].style);
    // A combo box's own type replaces the statement's default CBS_SIMPLE.
    EXPECT_EQ(static_cast<uint32_t>(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_SORT | WS_TABSTOP),
              name->items[9].style);
}

TEST(ResourceCompiler, StringTableEscapes)
{
    CString s;
    ASSERT_TRUE(s.LoadString(IDS_ACCENTS));
    EXPECT_EQ(CString(L"Caf\u00e9 \"quoted\" \\ \\"), s);
}

// Runs rc.py on `script` (written to a temporary folder); the exit status
// and what it wrote on stderr.
struct RcRun {
    int status;
    std::string errors;
    std::string output;
};

RcRun compile(const std::string& script, const std::string& header = "")
{
    char dir[] = "/tmp/kvrcXXXXXX";
    if (!mkdtemp(dir))
        return {-1, "mkdtemp", ""};
    std::string d = dir;
    std::ofstream(d + "/test.rc") << script;
    if (!header.empty())
        std::ofstream(d + "/test.h") << header;
    std::string command = "/usr/bin/python3 " KV_RC_TOOL " -I " KV_MFC_INCLUDE " -o " + d + "/out.cpp " + d +
        "/test.rc 2> " + d + "/errors.txt";
    int status = std::system(command.c_str());
    std::ifstream errors(d + "/errors.txt");
    std::stringstream e;
    e << errors.rdbuf();
    std::ifstream out(d + "/out.cpp");
    std::stringstream o;
    o << out.rdbuf();
    std::system(("rm -rf " + d).c_str());
    return {status, e.str(), o.str()};
}

TEST(ResourceCompiler, ScriptsItCannotCompileAreReportedWithTheirLine)
{
    struct Row {
        const char* script;
        const char* message;
    };
    const Row rows[] = {
        {"#include \"afxres.h\"\n1 DIALOG 0,0,10,10\nBEGIN\n  PUSHBUTTON \"x\",IDC_NOPE,1,1,1,1\nEND\n",
         "test.rc:4: error: undefined name IDC_NOPE"},
        {"#include \"missing.h\"\n", "test.rc:1: error: cannot find include file \"missing.h\""},
        {"#ifdef X\n", "error: unterminated #if"},
        {"1 DIALOG 0,0,10\nBEGIN\nEND\n", "test.rc:2: error: expected \",\" but found BEGIN"},
        {"1 DIALOG 0,0,10,10\nBEGIN\n  SLIDER 1,2,3,4,5\nEND\n", "test.rc:3: error: unknown control statement SLIDER"},
        {"STRINGTABLE\nBEGIN\n 1 \"a\"\n 1 \"b\"\nEND\n", "test.rc:4: error: string 1 is defined twice"},
        {"1 DIALOG 0,0,10,10\nCAPTION \"open\n", "test.rc:2: error: unexpected character"},
    };
    for (const Row& r : rows) {
        RcRun run = compile(r.script);
        EXPECT_NE(0, run.status) << r.script;
        EXPECT_NE(std::string::npos, run.errors.find(r.message)) << r.script << "\n" << run.errors;
    }
}

TEST(ResourceCompiler, ConditionalsDefinesAndSkippedResources)
{
    RcRun run = compile("#include \"test.h\"\n"
                        "#define TWICE (BASE * 2)\n"
                        "#if defined(BASE) && BASE > 5\n"
                        "STRINGTABLE BEGIN TWICE, \"twenty\" END\n"
                        "#else\n"
                        "STRINGTABLE BEGIN 1, \"wrong\" END\n"
                        "#endif\n"
                        "#ifdef APSTUDIO_INVOKED\n"
                        "this is not resource syntax\n"
                        "#endif\n"
                        "1 VERSIONINFO FILEVERSION 1,0,0,0\nBEGIN\n BLOCK \"x\"\n BEGIN\n END\nEND\n"
                        "2 ICON \"app.ico\"\n",
                        "#define BASE 10\n");
    EXPECT_EQ(0, run.status) << run.errors;
    EXPECT_NE(std::string::npos, run.output.find("0, 0, 0, 0, 6, 116, 119, 101, 110, 116, 121")) << run.output;
    EXPECT_EQ(std::string::npos, run.output.find("119, 114, 111, 110, 103"));  // "wrong"
    EXPECT_NE(std::string::npos, run.errors.find("warning: VERSIONINFO resource 1 skipped"));
    EXPECT_NE(std::string::npos, run.errors.find("warning: ICON resource 2 skipped"));
}

}  // namespace
