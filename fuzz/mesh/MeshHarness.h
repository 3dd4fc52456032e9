// Meshes built from arbitrary bytes (any vertex and face counts, indices in
// range, out of range and negative, repeated corners, NaN, infinities and
// huge coordinates) through the topology and all four mesh writers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "opennurbs.h"

namespace kvfuzz {

// Once per process: the working database.
void SetUpMeshHarness();

// The mesh the bytes describe, its vertex list allocated to its exact size so
// that a read past its end is seen. layerName receives the layer to write on.
ON_Mesh MeshFromBytes(const uint8_t* data, size_t size, std::wstring& layerName);

// One input: "" when everything held, otherwise what broke.
std::string RunMeshInput(const uint8_t* data, size_t size);

}  // namespace kvfuzz
