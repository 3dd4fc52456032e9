// Stand-in inspection and set-up of the maker's libraries.
//
// The settings store of VrnRegistry is one UTF-8 text file. Its place is, in
// this order of precedence:
//   1. the path given to setRegistryFile (when not empty);
//   2. the environment variable VRN_REGISTRY_FILE (when set and not empty);
//   3. $XDG_CONFIG_HOME/kolvane/registry.txt (when XDG_CONFIG_HOME is an
//      absolute path);
//   4. $HOME/.config/kolvane/registry.txt (HOME, else the user database).
// Missing folders are made on the first write.
//
// The file's format, line by line:
//   ; comment                      (also "#"; blank lines are ignored)
//   [Software\Varnett\Kolvane for AutoCAD]      a key path
//   "Import As"=int:0              a 32-bit signed decimal integer
//   "Warning"=bool:1               0 or 1
//   "Name"=string:"text"           text
// Names and texts are in double quotes; inside them \" \\ \n \r \t are the
// escapes of a quote, a backslash, a line feed, a carriage return and a tab.
// A value line belongs to the last key line above it.
//
// A file that is not entirely in this format is damaged: what can still be
// read is read, the rest reads as missing, and before the next write replaces
// it the damaged file is kept beside it as "<file>.corrupt" (or
// "<file>.corrupt.1", ".2", ... when that exists). A file that cannot be read
// at all gives the defaults, and writes fail rather than replace it.
#pragma once

#include "VrnExport.h"

#include <string>

namespace standin {
namespace vrn {

// Use the store file at path (UTF-8) from now on; an empty path goes back to
// the default place above.
VRNGUI_API void setRegistryFile(const std::string& path);

// The store file in use now (empty when no place can be found).
VRNGUI_API std::string registryFile();

// How many times the store file has been read and parsed in this process
// (reads of an unchanged file are served from what was parsed last).
VRNGUI_API long storeFileReads();

}  // namespace vrn
}  // namespace standin
