// A small module for the loader tests: it reports the order of its static
// initialiser, DllMain calls and static destructor to the program, and joins
// MFC's extension-DLL chain while it is attached.
#include <afxwin.h>

extern "C" void kvTestRecord(const char* event) __attribute__((weak));

namespace {

void record(const char* event)
{
    if (kvTestRecord)
        kvTestRecord(event);
}

struct StaticObject {
    StaticObject() { record("static constructor"); }
    ~StaticObject() { record("static destructor"); }
};
StaticObject g_static;

AFX_EXTENSION_MODULE g_extension = {FALSE, nullptr, nullptr, nullptr, nullptr};
HINSTANCE g_instance = nullptr;

}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        record("attach");
        g_instance = instance;
        if (AfxInitExtensionModule(g_extension, instance))
            new CDynLinkLibrary(g_extension);
    } else if (reason == DLL_PROCESS_DETACH) {
        record("detach");
        AfxTermExtensionModule(g_extension);
    }
    return TRUE;
}

extern "C" __declspec(dllexport) HINSTANCE TestModuleInstance()
{
    return g_instance;
}

extern "C" __declspec(dllexport) int TestModuleAnswer()
{
    return 42;
}
