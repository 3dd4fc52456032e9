// The host's editor interface for applications.
#pragma once

#include <windows.h>

#include "accmd.h"
#include "acedads.h"
#include "acutads.h"
#include "adscodes.h"
#include "adsdef.h"
#include "dbidar.h"
#include "rxmfcapi.h"
#include "rxregsvc.h"

// A command's context-menu handler; the stand-in keeps it with the command
// and never calls it.
class AcEdUIContext : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcEdUIContext);
    virtual void* getMenuContext(const AcRxClass* classtype, const AcDbObjectIdArray& selectedObjs) = 0;
    virtual void onCommand(Adesk::UInt32 cmdIndex) = 0;
    virtual void OnUpdateMenu() {}
};

// Shows the command prompt again after output.
void acedPostCommandPrompt();
