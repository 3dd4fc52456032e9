// AcRxDynamicLinker: the host's loader of application modules.
//
// loadModule loads the module (the system loader runs its static
// initialisers and DllMain), checks that it exports acrxEntryPoint and
// acrxGetApiVersion, and sends it the initialise-application message with
// the application's identity as packet. unloadModule sends the
// unload-application message and then unloads the module. An application
// that did not unlock itself during initialisation cannot be unloaded.
#pragma once

#include "AdAChar.h"
#include "rxdefs.h"
#include "rxobject.h"
#include "rxregsvc.h"

class AcRxDynamicLinker : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcRxDynamicLinker);

    // fileName: the module's path. printit: report a failure on the command
    // line. Returns true when the module is loaded and initialised (also
    // when it was loaded already).
    virtual bool loadModule(const ACHAR* fileName, bool printit, bool asCmd = false) = 0;
    // Returns true when the module was loaded and is now unloaded.
    virtual bool unloadModule(const ACHAR* fileName, bool printit, bool asCmd = false) = 0;

    // appId: the packet of the initialise-application message.
    virtual bool unlockApplication(void* appId) const = 0;
    virtual bool lockApplication(void* appId) const = 0;
    virtual bool isApplicationLocked(const ACHAR* modulename) const = 0;
    virtual bool registerAppMDIAware(void* appId) const = 0;
    virtual bool registerAppNotMDIAware(void* appId) const = 0;
    // moduleName: the module's path or file name.
    virtual bool isAppMDIAware(const ACHAR* moduleName) const = 0;

    // The address of an exported symbol of a loaded module, or nullptr.
    virtual void* getSymbolAddress(const ACHAR* moduleName, const char* symbol) const = 0;
};

#define acrxDynamicLinker AcRxDynamicLinker::cast(acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER))
