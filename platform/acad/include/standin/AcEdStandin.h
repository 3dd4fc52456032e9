// Inspection and set-up calls of the editor, runtime and document-manager
// stand-in. They have no counterpart in the host; tests, the host program
// and the rest of the stand-in use them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "accmd.h"
#include "acdocman.h"
#include "adsdef.h"
#include "rxdefs.h"

namespace standin {
namespace editor {

// ---- Command line ---------------------------------------------------------

// What was printed on the command line (acutPrintf and the host's own
// messages) since the start or the last clearCommandLine: all of it, or at
// least its last 1,048,576 characters once more than that was printed.
std::wstring commandLineText();
void clearCommandLine();

// ---- Host commands --------------------------------------------------------

// Runs one line typed at the host's "Command:" prompt: the local name of a
// registered command, "_" and its global name, or a host command ("_dxfin",
// "_dxfin", "_dxfout", "_menuload", "_menuunload", "_zoom"). The command's prompts are put to the
// current User. RTNORM, RTCAN (cancelled), RTERROR (failed, or unknown: then
// 'Unknown command "X".  Press F1 for help.' is printed).
int runCommand(const std::wstring& line);
// True when the line names a registered or host command.
bool isCommand(const std::wstring& line);

// ---- System variables -----------------------------------------------------

// The host release letter ("E" is AutoCAD 2011, "D" 2010, ...), which makes
// _VERNUM "<letter>.206.0.0 (UNICODE)" and sets ACADVER to match.
void setHostRelease(wchar_t letter);
wchar_t hostRelease();
// Puts any text into _VERNUM (for tests of release detection).
void setVernum(const std::wstring& vernum);
// Every system variable back to its start value.
void resetSystemVariables();

// ---- Menus ----------------------------------------------------------------

struct MenuItem {
    std::wstring id;     // "ID_KvImport", may be empty
    std::wstring label;  // the text in brackets, "&Import..."; "--" a separator
    std::wstring macro;  // "^C^C_Kolvane"
};
struct PopupMenu {
    std::wstring section;               // "POP1"
    std::vector<std::wstring> aliases;  // the **names, "KOLVANE"
    std::wstring title;                 // the first item's label: "&Kolvane"
    std::vector<MenuItem> items;        // the items after the title
};
struct MenuGroup {
    std::wstring name;  // the ***MENUGROUP name
    std::wstring file;  // the path the group was loaded from
    std::vector<PopupMenu> popups;
};
struct MenuBarEntry {
    std::wstring group;  // "ACAD" for the host's own menus
    std::wstring menu;   // "POP1"
    std::wstring title;  // "&File", "&Kolvane"
};

std::vector<MenuGroup> loadedMenuGroups();
// The menu bar from left (slot 1) to right.
std::vector<MenuBarEntry> menuBar();
// Only the titles, with the "&" marks taken out: "File", "Edit", ...
std::vector<std::wstring> menuBarTitles();
// The host's own menu bar again and no menu group loaded.
void resetMenus();

// ---- Selection sets and picking -------------------------------------------

struct HeldSelectionSet {
    Adesk::LongPtr name[2];  // the set's ads_name
    long length;
    std::wstring mode;  // the mode of the acedSSGet call that made it
};
// The selection sets made and not yet freed.
std::vector<HeldSelectionSet> heldSelectionSets();
// A readable list of the held sets (for test failure messages); "" when none.
std::string describeHeldSelectionSets();
// Frees every held set; returns how many there were.
int freeAllSelectionSets();

// Distance in drawing units, measured in the XY plane, within which a point
// pick finds an object (default 1.0).
void setPickAperture(double distance);
double pickAperture();

// ---- The view -------------------------------------------------------------

// The part of model space in view. "_zoom" "_extents" (or "_all") fits it to
// the entities of model space; an empty drawing leaves it as it is.
struct View {
    double center[2] = {6.0, 4.5};
    double width = 12.0;
    double height = 9.0;
    int extentsZooms = 0;  // zooms to extents since the start or resetEditor
};
View currentView();

// ---- Everything -----------------------------------------------------------

// The editor back to its start state: command line, system variables, menus,
// selection sets, pending input control. Registered commands and loaded
// modules are left alone.
void resetEditor();

}  // namespace editor

namespace rx {

struct LoadedModule {
    std::wstring path;
    HMODULE module = nullptr;
    void* appId = nullptr;  // the packet of its application messages
    bool unlocked = false;
    bool mdiAware = false;
};
std::vector<LoadedModule> loadedModules();

// Sends an application message to a loaded module (by path or file name);
// kRetError when no such module is loaded.
AcRx::AppRetCode sendAppMessage(const std::wstring& module, AcRx::AppMsgCode msg);

// Unloads every module as the host does when it shuts down: the
// unload-application message, then the module is unloaded, locked or not.
void unloadAllModules();

// The instance handle of the loaded module that holds the address, or null.
HINSTANCE moduleInstanceAt(const void* address);

struct RegisteredCommand {
    std::wstring group;
    std::wstring globalName;
    std::wstring localName;
    Adesk::Int32 flags = 0;
    AcRxFunctionPtr function = nullptr;
    AcEdUIContext* uiContext = nullptr;
    int functionCode = -1;
    HINSTANCE resourceHandle = nullptr;
};
// Every registered command: groups from the one added last, commands in the
// order they were added.
std::vector<RegisteredCommand> registeredCommands();

struct DefinedFunction {
    std::wstring name;
    int code = 0;
    void* appId = nullptr;
};
// The functions defined with acedDefun and not undefined.
std::vector<DefinedFunction> definedFunctions();
// Calls a defined function as the host's scripting language would: the
// invoke-function message to its application with its code. RTNORM, or
// RTERROR when no such function is defined.
int invokeFunction(const std::wstring& name);

}  // namespace rx

namespace docs {

// The reactors of the document manager, in the order they were added.
std::vector<AcApDocManagerReactor*> reactors();
// Number of pushResourceHandle calls not yet popped.
int resourceStackDepth();
// popResourceHandle calls that found nothing to pop (each is also reported
// on standard error).
int unbalancedResourcePops();
void clearResourceStack();

}  // namespace docs
}  // namespace standin
