// Run-time definitions shared by the host and its applications: the
// application messages the host sends to a module's entry point and the
// results the entry point gives back.
#pragma once

#include "AdAChar.h"

struct AcRx {
    // Messages sent to acrxEntryPoint. The underlying type is fixed so that
    // any 32-bit code the host passes is a value of the type.
    enum AppMsgCode : int {
        kNullMsg = 0,
        kInitAppMsg = 1,
        kUnloadAppMsg = 2,
        kLoadDwgMsg = 3,
        kUnloadDwgMsg = 4,
        kInvkSubrMsg = 5,
        kCfgMsg = 6,
        kEndMsg = 7,
        kQuitMsg = 8,
        kSaveMsg = 9,
        kDependencyMsg = 10,
        kNoDependencyMsg = 11,
        kOleUnloadAppMsg = 12,
        kPreQuitMsg = 13,
        kInitDialogMsg = 14,
        kEndDialogMsg = 15,
        kSuspendMsg = 16,
        kInitTabGroupMsg = 17,
        kEndTabGroupMsg = 18
    };

    enum AppRetCode : int { kRetOK = 0, kRetError = 3 };
};

// A command's entry function.
typedef void (*AcRxFunctionPtr)();

#define ACRX_DYNAMIC_LINKER L"DynamicLinker"
#define ACRX_SERVICE_DICTIONARY L"ACRX_SERVICES"
#define ACRX_CLASS_DICTIONARY L"ClassDictionary"
#define ACRX_COMMAND_DOCK L"ACAD_REGISTERED_COMMANDS"
