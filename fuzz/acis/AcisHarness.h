// ACIS files from arbitrary bytes through the host's ACIS reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kvfuzz {

// Once per process: the working database and a folder for the files.
void SetUpAcisHarness();

// One input read with AcDbBody::acisIn: either it fails with a file status
// and yields nothing, or every entity it yields is a well-formed solid, body
// or region in no database, and the entities written out with acisOut and
// read back give the same file again. Nothing stays open.
// "" when everything held, otherwise what broke.
std::string RunAcisInput(const uint8_t* data, size_t size);

}  // namespace kvfuzz
