// What the runtime's parts share: the loaded applications.
#pragma once

#include <windows.h>

#include <string>

#include "rxdefs.h"

namespace kv_rx {

typedef AcRx::AppRetCode (*EntryPoint)(AcRx::AppMsgCode, void*);

struct App {
    int serial = 0;
    std::wstring path;      // as given to loadModule
    std::string canonical;  // the real path of the file
    HMODULE module = nullptr;
    EntryPoint entry = nullptr;
    bool unlocked = false;
    bool mdiAware = false;
};

// The application the host is talking to (during an application message),
// or null.
App* currentApp();
// The serial number of the current application; 0 when none.
int currentAppSerial();
// Whether the application with that serial number is still loaded.
bool appLoaded(int serial);
// Sends a message to the application, which becomes the current one meanwhile.
AcRx::AppRetCode send(App* app, AcRx::AppMsgCode msg);
App* appBySerial(int serial);

// Functions of the scripting language that an application defined.
void forgetFunctionsOf(int serial);

}  // namespace kv_rx
