// AcApDataManager<T>: one T per open document, made on first use.
//
// The manager registers itself with the host's document manager when it is
// made (a static object of a module: while the module loads) and forgets a
// document's data when the document is about to be destroyed.
#pragma once

#include <map>

#include "acdocman.h"

template <class T> class AcApDataManager : public AcApDocManagerReactor {
public:
    AcApDataManager() { acDocManager->addReactor(this); }
    ~AcApDataManager()
    {
        if (acDocManager != NULL)
            acDocManager->removeReactor(this);
    }
    AcApDataManager(const AcApDataManager&) = delete;
    AcApDataManager& operator=(const AcApDataManager&) = delete;

    void documentToBeDestroyed(AcApDocument* pDoc) override { m_dataMap.erase(pDoc); }

    // The data of pDoc, made when the document has none yet.
    T& docData(AcApDocument* pDoc) { return m_dataMap[pDoc]; }
    // The data of the current document.
    T& docData() { return docData(acDocManager->curDocument()); }

private:
    std::map<AcApDocument*, T> m_dataMap;
};
