// Scenes made in memory from arbitrary bytes, as Assimp would hand them over
// (node trees with transforms and repeated placements, meshes with points,
// lines, triangles, quads and larger polygons, indices past the end, missing
// arrays, coordinates that are not finite), through the reader's scene
// conversion in this process, then imported in every mode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kvfuzz {

// Once per process: a small import limit, so that inputs reach it.
void SetUpSceneHarness();

// The faces of all placements that the harness's limit allows.
constexpr unsigned long kSceneFaceLimit = 5000;

// Inputs so far by what the conversion made of them: refused, no mesh, meshes.
extern unsigned long g_sceneOutcomes[3];

// One input: "" when everything held, otherwise what broke.
std::string RunSceneInput(const uint8_t* data, size_t size);

// What fuzz_model runs in its own process: a first byte of 0xC0 or more
// makes the rest a polygon (RunPolygonInput), any other the rest a scene.
std::string RunInProcessModelInput(const uint8_t* data, size_t size);

}  // namespace kvfuzz
