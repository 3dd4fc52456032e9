// The command stack: adding, duplicates, lookup, removal and the order of
// the registered commands.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "standin/AcEdStandin.h"
#include "standin/ScriptedUser.h"

#include "accmd.h"
#include "acedads.h"
#include "acutads.h"
#include "adscodes.h"
#include "rxdlinkr.h"
#include "rxregsvc.h"

namespace {

void first()
{
    acutPrintf(L"first\n");
}
void second()
{
    acutPrintf(L"second\n");
}

class CommandStackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        standin::editor::resetEditor();
        stack = acedRegCmds;
        ASSERT_NE(stack, nullptr);
    }
    void TearDown() override
    {
        stack->removeGroup(L"KvA");
        stack->removeGroup(L"KvB");
        standin::editor::resetEditor();
    }
    AcEdCommandStack* stack = nullptr;
};

TEST_F(CommandStackTest, TheRegistryHoldsTheHostsServices)
{
    AcRxDictionary* registry = acrxSysRegistry();
    ASSERT_NE(registry, nullptr);
    EXPECT_NE(AcEdCommandStack::cast(registry->at(L"ACAD_REGISTERED_COMMANDS")), nullptr);
    EXPECT_NE(AcRxDynamicLinker::cast(registry->at(L"DynamicLinker")), nullptr);
    EXPECT_EQ(AcRxDynamicLinker::cast(registry->at(L"ACAD_REGISTERED_COMMANDS")), nullptr);
    EXPECT_EQ(registry->at(L"NoSuchService"), nullptr);
}

TEST_F(CommandStackTest, AddLookupAndDuplicates)
{
    AcEdCommand* made = nullptr;
    ASSERT_EQ(stack->addCommand(L"KvA", L"_One", L"One", ACRX_CMD_TRANSPARENT, &first, nullptr, -1, nullptr, &made),
              Acad::eOk);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(stack->lookupGlobalCmd(L"_ONE"), made);
    EXPECT_EQ(stack->lookupLocalCmd(L"one"), made);
    EXPECT_EQ(stack->lookupCmd(L"One", false), made);
    EXPECT_EQ(stack->lookupCmd(L"One", true), nullptr);
    EXPECT_EQ(made->commandFlags(), ACRX_CMD_TRANSPARENT);
    EXPECT_EQ(made->functionAddr(), &first);
    EXPECT_STREQ(made->globalName(), L"_One");
    EXPECT_STREQ(made->localName(), L"One");

    // Unique global and local names within a group; another group may reuse them.
    EXPECT_EQ(stack->addCommand(L"KvA", L"_One", L"Other", 0, &second), Acad::eDuplicateKey);
    EXPECT_EQ(stack->addCommand(L"kva", L"_Other", L"ONE", 0, &second), Acad::eDuplicateKey);
    EXPECT_EQ(stack->addCommand(L"KvB", L"_One", L"One", 0, &second), Acad::eOk);
    // The group added last is searched first.
    EXPECT_EQ(stack->lookupLocalCmd(L"One")->functionAddr(), &second);

    const std::wstring longName(65, L'x');
    EXPECT_EQ(stack->addCommand(L"KvA", longName.c_str(), L"Long", 0, &first), Acad::eInvalidInput);
    EXPECT_EQ(stack->addCommand(L"KvA", L"_Null", L"Null", 0, nullptr), Acad::eInvalidInput);
    EXPECT_EQ(stack->addCommand(nullptr, L"_G", L"G", 0, &first), Acad::eInvalidInput);
    EXPECT_EQ(stack->addCommand(L"KvA", L"_Two words", L"Two", 0, &first), Acad::eInvalidInput);
}

TEST_F(CommandStackTest, RemovalByGroupAndGlobalName)
{
    ASSERT_EQ(stack->addCommand(L"KvA", L"_One", L"One", 0, &first), Acad::eOk);
    ASSERT_EQ(stack->addCommand(L"KvA", L"_Two", L"Two", 0, &second), Acad::eOk);
    EXPECT_EQ(stack->removeCmd(L"KvA", L"One"), Acad::eKeyNotFound);  // the local name
    EXPECT_EQ(stack->removeCmd(L"KvB", L"_One"), Acad::eKeyNotFound);
    EXPECT_EQ(stack->removeCmd(L"KvA", L"_one"), Acad::eOk);
    EXPECT_EQ(stack->lookupGlobalCmd(L"_One"), nullptr);
    EXPECT_EQ(stack->removeCmd(L"KvA", L"_One"), Acad::eKeyNotFound);
    EXPECT_EQ(stack->removeGroup(L"KvA"), Acad::eOk);
    EXPECT_EQ(stack->lookupLocalCmd(L"Two"), nullptr);
    EXPECT_EQ(stack->removeGroup(L"KvA"), Acad::eKeyNotFound);
}

TEST_F(CommandStackTest, ListAndIteratorGiveGroupsLastFirstAndCommandsInOrder)
{
    ASSERT_EQ(stack->addCommand(L"KvA", L"_One", L"One", 1, &first), Acad::eOk);
    ASSERT_EQ(stack->addCommand(L"KvB", L"_Three", L"Three", 0, &second), Acad::eOk);
    ASSERT_EQ(stack->addCommand(L"KvA", L"_Two", L"Two", 2, &second), Acad::eOk);
    std::vector<std::wstring> names;
    for (const auto& c : standin::rx::registeredCommands()) {
        if (c.group == L"KvA" || c.group == L"KvB")
            names.push_back(c.group + L"/" + c.globalName + L"/" + c.localName + L"/" + std::to_wstring(c.flags));
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"KvB/_Three/Three/0", L"KvA/_One/One/1", L"KvA/_Two/Two/2"}));

    std::unique_ptr<AcEdCommandIterator> it(stack->iterator());
    std::vector<std::wstring> walked;
    for (; !it->done(); it->next()) {
        const std::wstring group = it->commandGroup();
        if (group == L"KvA" || group == L"KvB")
            walked.push_back(it->command()->globalName());
    }
    EXPECT_EQ(walked, (std::vector<std::wstring>{L"_Three", L"_One", L"_Two"}));

    EXPECT_EQ(stack->popGroupToTop(L"KvA"), Acad::eOk);
    EXPECT_EQ(standin::rx::registeredCommands().front().group, L"KvA");
    EXPECT_EQ(stack->popGroupToTop(L"NoSuchGroup"), Acad::eKeyNotFound);
}

TEST_F(CommandStackTest, CommandsRunByLocalNameOrUnderscoreAndGlobalName)
{
    standin::ScriptedUser user;
    standin::ScopedUser scoped(user);
    ASSERT_EQ(stack->addCommand(L"KvA", L"Alpha", L"Alpha", 0, &first), Acad::eOk);
    ASSERT_EQ(stack->addCommand(L"KvA", L"_Beta", L"Bêta", 0, &second), Acad::eOk);
    EXPECT_EQ(standin::editor::runCommand(L"alpha"), RTNORM);
    EXPECT_EQ(standin::editor::runCommand(L"_ALPHA"), RTNORM);
    EXPECT_EQ(standin::editor::runCommand(L"Bêta"), RTNORM);
    EXPECT_EQ(standin::editor::runCommand(L"_beta"), RTNORM);
    EXPECT_EQ(standin::editor::runCommand(L"beta"), RTERROR);  // not a local name
    EXPECT_EQ(standin::editor::commandLineText(),
              L"first\nfirst\nsecond\nsecond\nUnknown command \"BETA\".  Press F1 for help.\n");
}

TEST_F(CommandStackTest, AnExceptionLeavingACommandEndsItWithAnError)
{
    standin::ScriptedUser user;
    standin::ScopedUser scoped(user);
    ASSERT_EQ(stack->addCommand(
                  L"KvA", L"_Throw", L"Throw", 0, +[] { throw std::runtime_error("broken"); }),
              Acad::eOk);
    EXPECT_EQ(standin::editor::runCommand(L"Throw"), RTERROR);
    EXPECT_EQ(standin::editor::commandLineText(), L"Unhandled exception in command _Throw: broken\n");
    EXPECT_EQ(acedCommand(RTSTR, L"_Throw", RTNONE), RTERROR);
}

}  // namespace
