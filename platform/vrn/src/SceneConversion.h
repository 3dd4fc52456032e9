// The model reader's conversion of an Assimp scene into openNURBS meshes,
// a step of its own so that it can be tried on scenes made in memory.
// Internal to the reader library.
#pragma once

#include <opennurbs.h>

#include <string>

struct aiScene;

namespace vrn_detail {

// Appends one mesh per placement of a mesh with faces in the scene's node
// tree (the placement's transform applied, corners at equal positions
// joined, faces on vertices that are not finite dropped) to meshes; a scene
// without faces appends nothing and succeeds. Before any mesh is built the
// faces and vertices of all placements are counted, and a scene beyond the
// import limit is refused. Returns 1, or 0 with error set to a text naming
// the file name and meshes as it was.
int ConvertScene(const aiScene* scene, const std::wstring& name, ON_ClassArray<ON_Mesh>& meshes, std::wstring& error);

// The most faces, and the most vertices, that all placements of one model
// may give together.
size_t ImportLimit();

}  // namespace vrn_detail
