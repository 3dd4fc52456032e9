// The document manager: one document, reactors, resource push and pop.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <algorithm>

#include "standin/AcEdStandin.h"

#include "AcApDMgr.h"
#include "acdocman.h"
#include "dbapserv.h"

namespace {

struct Counter {
    int value = 0;
};

TEST(DocManager, OneDocumentOverTheWorkingDatabase)
{
    ASSERT_NE(acDocManager, nullptr);
    AcApDocument* doc = acDocManager->curDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(acDocManager->mdiActiveDocument(), doc);
    EXPECT_EQ(acDocManager->documentCount(), 1);
    EXPECT_EQ(doc->database(), acdbHostApplicationServices()->workingDatabase());
    EXPECT_EQ(curDoc(), doc);
}

TEST(DocManager, ReactorsAreKeptOnceUntilRemoved)
{
    const auto before = standin::docs::reactors();
    {
        AcApDataManager<Counter> manager;
        auto reactors = standin::docs::reactors();
        ASSERT_EQ(reactors.size(), before.size() + 1);
        EXPECT_EQ(reactors.back(), &manager);
        acDocManager->addReactor(&manager);
        EXPECT_EQ(standin::docs::reactors().size(), before.size() + 1);

        manager.docData().value = 5;
        EXPECT_EQ(manager.docData(acDocManager->curDocument()).value, 5);
        manager.documentToBeDestroyed(acDocManager->curDocument());
        EXPECT_EQ(manager.docData().value, 0);
    }
    EXPECT_EQ(standin::docs::reactors(), before);
    acDocManager->removeReactor(nullptr);  // harmless
}

TEST(DocManager, ResourceHandlesArePushedAndPoppedInPairs)
{
    standin::docs::clearResourceStack();
    const HINSTANCE original = AfxGetResourceHandle();
    const HINSTANCE a = reinterpret_cast<HINSTANCE>(0x1000);
    const HINSTANCE b = reinterpret_cast<HINSTANCE>(0x2000);
    acDocManager->pushResourceHandle(a);
    EXPECT_EQ(AfxGetResourceHandle(), a);
    acDocManager->pushResourceHandle(b);
    EXPECT_EQ(AfxGetResourceHandle(), b);
    EXPECT_EQ(standin::docs::resourceStackDepth(), 2);
    acDocManager->popResourceHandle();
    EXPECT_EQ(AfxGetResourceHandle(), a);
    acDocManager->popResourceHandle();
    EXPECT_EQ(AfxGetResourceHandle(), original);
    EXPECT_EQ(standin::docs::unbalancedResourcePops(), 0);
    // A pop without its push is reported and changes nothing.
    acDocManager->popResourceHandle();
    EXPECT_EQ(AfxGetResourceHandle(), original);
    EXPECT_EQ(standin::docs::unbalancedResourcePops(), 1);
    standin::docs::clearResourceStack();
}

}  // namespace
