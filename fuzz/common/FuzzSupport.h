// What the fuzzers and the hostile-input tests share: a scratch folder per
// process, the checks that follow every command or writer call, and the run
// of one mesh through all four writers with its entities checked against the
// mesh.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <afx.h>

#include "opennurbs.h"

namespace kvfuzz {

// A folder of this process's own under the system's temporary folder, made
// on first use and removed at exit.
const std::string& ScratchDir();

// Writes size bytes to path; false when that failed.
bool WriteBytes(const std::string& path, const uint8_t* data, size_t size);

// "" when no database object is open, no selection set is held, the open
// protocol was kept and every resource source pushed was popped; otherwise
// what was found, naming `after`. The records are cleared either way.
std::string CheckNothingLeft(const std::string& after);

// Ends an input: the drawing it wrote into is deleted, so that the input gives
// back what it took and libFuzzer sees no cause to scan the heap for leaks.
void EndInput();

// Stops the run when an input broke something: "<input> broke: <breach>" on
// standard error, then abort, so that libFuzzer keeps the input. Nothing
// happens when breach is "".
void AbortOnBreach(const char* input, const std::string& breach);

// The topology of the mesh refers only to what is there: "" or the breach.
std::string CheckTopology(const ON_Mesh& mesh);

// Writes the mesh with each writer in turn (subdivision mesh, 3D faces,
// lines, points) into model space of the working database, on layerName,
// and checks after each: nothing left open, as many entities as the writer
// makes for this mesh (none when exactCounts is false and the host refused
// them all), and every point of every new entity one of the mesh's vertices
// (the subdivision mesh: all of them, in order, and a face list of whole
// faces over them). "" or the first breach.
std::string WriteAllModes(const ON_Mesh& mesh, const CString& layerName, bool exactCounts);

}  // namespace kvfuzz
