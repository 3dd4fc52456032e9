// The host's run-time registry services: the system registry and the
// application calls that go with the dynamic linker.
#pragma once

#include "AdAChar.h"
#include "rxdefs.h"
#include "rxdict.h"

// The host's system registry ("DynamicLinker", "ACAD_REGISTERED_COMMANDS",
// ...). Never null while the host runs.
AcRxDictionary* acrxSysRegistry();

// The same as acrxDynamicLinker->unlockApplication / registerAppMDIAware.
bool acrxUnlockApplication(void* appId);
bool acrxApplicationIsLocked(const ACHAR* modulename);
bool acrxRegisterAppMDIAware(void* appId);
bool acrxRegisterAppNotMDIAware(void* appId);

// Loads or unloads an application module through the dynamic linker.
bool acrxLoadModule(const ACHAR* moduleName, bool printit, bool asCmd = false);
bool acrxUnloadModule(const ACHAR* moduleName, bool asCmd = false);

// Rebuilds the class hierarchy after new classes were initialised.
void acrxBuildClassHierarchy();

// The run-time interface version a module was built for. Every module
// exports it (the SDK's own static library provides the definition).
extern "C" int acrxGetApiVersion();

// The host's own interface version.
int acrxHostApiVersion();
