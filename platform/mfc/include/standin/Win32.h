// Stand-in controls and inspection for the Windows part of the platform:
// top-level windows, the shell's file associations and the documents it
// opened, and module paths.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

namespace standin {

// A top-level window, such as the host's main frame. Destroy it with
// DestroyWindow. CWnd::FromHandle maps it to a CWnd.
HWND createTopLevelWindow(const std::wstring& title);

// --- The shell ---------------------------------------------------------------
// File associations by extension (with the dot, case-insensitive): a
// document of an associated type can be opened. ".chm" is associated with the
// help viewer by default. An empty program removes the association.
void setFileAssociation(const std::wstring& extension, const std::wstring& program);
std::wstring fileAssociation(const std::wstring& extension);  // empty when none
void resetFileAssociations();                                 // back to the defaults

// A document the shell opened: recorded and shown to the User as a line
// "[shell] open <path>", never launched.
struct ShellOpening {
    std::wstring verb;
    std::wstring file;     // full path
    std::wstring program;  // the associated program
    std::wstring parameters;
    std::wstring directory;
    int showCommand = 0;
};
std::vector<ShellOpening> shellOpenings();
void clearShellOpenings();

// --- Modules -------------------------------------------------------------------
// Makes GetModuleFileNameW report `path` for `module` (a module loaded with
// LoadLibraryW, or NULL for the program), e.g. to place it at a drive's root.
// An empty path goes back to the real one.
void setModuleFileName(HMODULE module, const std::wstring& path);
// The modules loaded with LoadLibraryW and not yet freed, in load order.
std::vector<HMODULE> loadedModules();

}  // namespace standin
