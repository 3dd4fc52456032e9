// The document manager: one document over the working database, the
// reactors of the applications, and the stack of resource handles.
#include <afxwin.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "standin/AcEdStandin.h"

#include "AcApDMgr.h"
#include "acdocman.h"
#include "dbapserv.h"
#include "rxmfcapi.h"

ACRX_NO_CONS_DEFINE_MEMBERS(AcApDocument, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcApDocManagerReactor, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcApDocManager, AcRxObject)

namespace {

class Document : public AcApDocument {
public:
    const ACHAR* fileName() const override { return L"Drawing1.dwg"; }
    const ACHAR* docTitle() const override { return L"Drawing1"; }
    AcDbDatabase* database() const override
    {
        return acdbHostApplicationServices() != nullptr ? acdbHostApplicationServices()->workingDatabase() : nullptr;
    }
    bool isReadOnly() const override { return false; }
};

class DocManager : public AcApDocManager {
public:
    AcApDocument* curDocument() const override { return const_cast<Document*>(&document_); }
    AcApDocument* mdiActiveDocument() const override { return curDocument(); }
    int documentCount() const override { return 1; }

    void addReactor(AcApDocManagerReactor* reactor) override
    {
        if (reactor != nullptr && std::find(reactors_.begin(), reactors_.end(), reactor) == reactors_.end())
            reactors_.push_back(reactor);
    }
    void removeReactor(AcApDocManagerReactor* reactor) override
    {
        reactors_.erase(std::remove(reactors_.begin(), reactors_.end(), reactor), reactors_.end());
    }

    void pushResourceHandle(HINSTANCE handle) override
    {
        stack_.push_back(AfxGetResourceHandle());
        AfxSetResourceHandle(handle);
    }
    void pushAcadResourceHandle() override { pushResourceHandle(acedGetAcadResourceInstance()); }
    void popResourceHandle() override
    {
        if (stack_.empty()) {
            ++unbalancedPops_;
            std::fprintf(stderr, "acad: popResourceHandle without a matching pushResourceHandle\n");
            return;
        }
        AfxSetResourceHandle(stack_.back());
        stack_.pop_back();
    }

    std::vector<AcApDocManagerReactor*> reactors_;
    std::vector<HINSTANCE> stack_;
    int unbalancedPops_ = 0;

private:
    Document document_;
};

DocManager& manager()
{
    // Made at the first call (the static initialisers of a module may come
    // first) and kept for the life of the process.
    static DocManager* m = new DocManager();
    return *m;
}

}  // namespace

AcApDocManager* acDocManagerPtr()
{
    return &manager();
}

namespace standin {
namespace docs {

std::vector<AcApDocManagerReactor*> reactors()
{
    return manager().reactors_;
}

int resourceStackDepth()
{
    return static_cast<int>(manager().stack_.size());
}

int unbalancedResourcePops()
{
    return manager().unbalancedPops_;
}

void clearResourceStack()
{
    manager().stack_.clear();
    manager().unbalancedPops_ = 0;
}

}  // namespace docs
}  // namespace standin
