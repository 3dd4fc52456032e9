// DXF files from arbitrary bytes through the host's DXF import.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kvfuzz {

// Once per process: the working database and a folder for the file.
void SetUpDxfHarness();

// One input, read into a drawing that holds a line on a layer of its own:
// either the import succeeds and the drawing holds its entities and more, or
// it fails with a reason and the drawing is as it was. Nothing stays open.
// "" when everything held, otherwise what broke.
std::string RunDxfInput(const uint8_t* data, size_t size);

}  // namespace kvfuzz
