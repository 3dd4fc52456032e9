// The host's document manager: the open drawings, their reactors and the
// current resource source of the host.
#pragma once

#include <windows.h>

#include "AdAChar.h"
#include "acadstrc.h"
#include "rxobject.h"

class AcDbDatabase;

// An open drawing.
class AcApDocument : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcApDocument);

    virtual const ACHAR* fileName() const = 0;
    virtual const ACHAR* docTitle() const = 0;
    // The drawing's database: the host's working database.
    virtual AcDbDatabase* database() const = 0;
    virtual bool isReadOnly() const = 0;
};

// Told about the documents' life. Every function does nothing by default.
class AcApDocManagerReactor : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcApDocManagerReactor);

    virtual void documentCreateStarted(AcApDocument* /*pDocCreating*/) {}
    virtual void documentCreated(AcApDocument* /*pDocCreating*/) {}
    virtual void documentToBeDestroyed(AcApDocument* /*pDocToDestroy*/) {}
    virtual void documentDestroyed(const ACHAR* /*fileName*/) {}
    virtual void documentCreateCanceled(AcApDocument* /*pDocCreateCancelled*/) {}
    virtual void documentBecameCurrent(AcApDocument* /*pDoc*/) {}
    virtual void documentToBeActivated(AcApDocument* /*pActivatingDoc*/) {}
    virtual void documentToBeDeactivated(AcApDocument* /*pDeActivatedDoc*/) {}
    virtual void documentActivationModified(bool /*bActivation*/) {}
    virtual void documentActivated(AcApDocument* /*pActivatedDoc*/) {}

protected:
    AcApDocManagerReactor() = default;
};

class AcApDocManager : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcApDocManager);

    // The document whose command is running (the host has one).
    virtual AcApDocument* curDocument() const = 0;
    virtual AcApDocument* mdiActiveDocument() const = 0;
    virtual int documentCount() const = 0;

    // A reactor is told about the documents until it is removed; adding one
    // twice keeps one entry. The caller keeps ownership.
    virtual void addReactor(AcApDocManagerReactor* pReactor) = 0;
    virtual void removeReactor(AcApDocManagerReactor* pReactor) = 0;

    // Makes the module's resources MFC's current resource source
    // (AfxSetResourceHandle) and remembers the one before; popResourceHandle
    // restores it. Every push is paired with one pop.
    virtual void pushResourceHandle(HINSTANCE hNewResourceHandle) = 0;
    virtual void pushAcadResourceHandle() = 0;
    virtual void popResourceHandle() = 0;
};

// The host's document manager; null only before the host has started or
// after it has shut down.
AcApDocManager* acDocManagerPtr();
#define acDocManager acDocManagerPtr()

inline AcApDocument* curDoc()
{
    return acDocManager != NULL ? acDocManager->curDocument() : NULL;
}
