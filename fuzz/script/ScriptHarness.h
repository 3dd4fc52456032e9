// Arbitrary bytes as the host program's script: the host with the plug-in
// module loaded reads them line by line, as arxhost does, and after every
// command nothing may be left open or held.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kvfuzz {

// Once per process: starts the host in a scratch folder (which becomes the
// working folder, with a few small model files a script can name: cube.obj,
// two.obj, nomesh.obj, empty.obj, bad.obj) and loads the module, by default
// Kolvane.arx beside the running program. Returns "" or why it failed.
std::string SetUpScriptHarness(const std::string& module = "");

// One input: "" when everything held, otherwise what broke.
std::string RunScriptInput(const uint8_t* data, size_t size);

// After an input: the host as it started (editor, drawing, shell, working
// folder), so that every input gives back what it took and libFuzzer has no
// cause to scan the heap for leaks.
void EndScriptInput();

}  // namespace kvfuzz
