// A stand-in for the model reader, for the plug-in's tests.
//
// The test program defines VrnRavlib::SKPToMesh itself and exports it, so
// that the module loaded into it reads models through this definition (the
// program's symbols come first when the module's references are bound).
// Unless a test has queued meshes, the call goes on to the real reader.
#pragma once

#include <vector>

#include "opennurbs.h"

namespace fake_reader {

// The next read succeeds with these meshes, whatever the path; later reads
// go to the real reader again.
void QueueMeshes(std::vector<ON_Mesh> meshes);

// Forgets a queued answer.
void Clear();

// How many reads the module has made since the last Clear.
int Calls();

}  // namespace fake_reader
