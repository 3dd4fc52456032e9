#include "model/SceneHarness.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <assimp/scene.h>

#include "SceneConversion.h"
#include "common/FuzzBytes.h"
#include "common/FuzzSupport.h"
#include "model/ModelHarness.h"
#include "standin/AcDbStandin.h"
#include "standin/WideFormat.h"

namespace kvfuzz {

namespace {

float Coordinate(Bytes& in, uint8_t how)
{
    switch (how % 4) {
    case 0: return in.f32();
    case 1: return in.special();
    default: return static_cast<float>(static_cast<int8_t>(in.u8()) % 4);  // a small grid: equal positions
    }
}

constexpr unsigned kMaxMeshes = 4;
constexpr unsigned kMaxVertices = 256;
constexpr unsigned kMaxFaces = 256;
constexpr unsigned kMaxNodes = 16;

aiMesh* MeshFromBytes(Bytes& in)
{
    std::unique_ptr<aiMesh> mesh(new aiMesh);
    const unsigned nv = in.u8() % 2 ? in.u8() % 17 : in.u16() % (kMaxVertices + 1);
    const uint8_t how = in.u8();
    mesh->mNumVertices = nv;
    if (nv > 0 && how % 16 != 15) {  // now and then a mesh without its vertex array
        mesh->mVertices = new aiVector3D[nv];
        for (unsigned i = 0; i < nv; ++i) {
            const uint8_t kind = in.u8();
            if (kind % 5 == 4 && i > 0) {
                mesh->mVertices[i] = mesh->mVertices[in.u8() % i];
            } else {
                mesh->mVertices[i].x = Coordinate(in, kind);
                mesh->mVertices[i].y = Coordinate(in, kind);
                mesh->mVertices[i].z = Coordinate(in, kind);
            }
        }
    }
    const unsigned nf = in.u8() % 2 ? in.u8() % 17 : in.u16() % (kMaxFaces + 1);
    mesh->mNumFaces = nf;
    if (nf > 0 && how % 16 != 14) {
        mesh->mFaces = new aiFace[nf];
        for (unsigned f = 0; f < nf; ++f) {
            aiFace& face = mesh->mFaces[f];
            const uint8_t shape = in.u8();
            const unsigned n = shape % 8;  // 0 to 7 corners: points, lines, triangles, quads, polygons
            face.mNumIndices = n;
            face.mIndices = n > 0 ? new unsigned[n] : nullptr;
            for (unsigned k = 0; k < n; ++k) {
                const uint8_t at = in.u8();
                if (at == 0xFF && shape >= 0xF8)
                    face.mIndices[k] = nv + in.u8();  // past the end
                else
                    face.mIndices[k] = nv > 0 ? (at + (shape & 0xF8)) % nv : 0;
            }
        }
    }
    return mesh.release();
}

aiMatrix4x4 TransformFromBytes(Bytes& in)
{
    aiMatrix4x4 m;  // identity
    const uint8_t how = in.u8();
    switch (how % 5) {
    case 1:
        m.a4 = Coordinate(in, how / 5);
        m.b4 = Coordinate(in, how / 5);
        m.c4 = Coordinate(in, how / 5);
        break;
    case 2: {
        const float s = Coordinate(in, how / 5);
        m.a1 = m.b2 = m.c3 = s;
        break;
    }
    case 3:  // any matrix, the last row too
        for (unsigned r = 0; r < 4; ++r)
            for (unsigned c = 0; c < 4; ++c)
                m[r][c] = Coordinate(in, how / 5);
        break;
    default: break;
    }
    return m;
}

}  // namespace

unsigned long g_sceneOutcomes[3] = {0, 0, 0};

void SetUpSceneHarness()
{
    setenv("VRN_READER_MAX_FACES", std::to_string(kSceneFaceLimit).c_str(), 1);
    standin::newWorkingDatabase();
}

std::string RunSceneInput(const uint8_t* data, size_t size)
{
    Bytes in(data, size);
    std::unique_ptr<aiScene> scene(new aiScene);
    const unsigned meshCount = in.u8() % (kMaxMeshes + 1);
    scene->mNumMeshes = meshCount;
    if (meshCount > 0) {
        scene->mMeshes = new aiMesh*[meshCount]();
        for (unsigned m = 0; m < meshCount; ++m)
            scene->mMeshes[m] = MeshFromBytes(in);
    }
    // The node tree: each node after the root hangs below an earlier one.
    const unsigned nodeCount = 1 + in.u8() % kMaxNodes;
    std::vector<aiNode*> nodes;
    std::vector<std::vector<aiNode*>> children(nodeCount);
    for (unsigned i = 0; i < nodeCount; ++i) {
        aiNode* node = new aiNode;
        nodes.push_back(node);
        node->mTransformation = TransformFromBytes(in);
        const unsigned placed = in.u8();
        // Up to 255 placements in one node, of meshes and of indices past them.
        node->mNumMeshes = placed % 4 == 3 ? placed : placed % 4;
        if (node->mNumMeshes > 0) {
            node->mMeshes = new unsigned[node->mNumMeshes];
            const uint8_t which = in.u8();
            for (unsigned k = 0; k < node->mNumMeshes; ++k)
                node->mMeshes[k] = which == 0xFF || meshCount == 0 ? meshCount + k : (which + k) % meshCount;
        }
        if (i > 0)
            children[in.u8() % i].push_back(node);
    }
    for (unsigned i = 0; i < nodeCount; ++i) {
        aiNode* node = nodes[i];
        if (children[i].empty())
            continue;
        node->mNumChildren = static_cast<unsigned>(children[i].size());
        node->mChildren = new aiNode*[node->mNumChildren];
        for (unsigned c = 0; c < node->mNumChildren; ++c) {
            node->mChildren[c] = children[i][c];
            children[i][c]->mParent = node;
        }
    }
    scene->mRootNode = nodes[0];

    const std::wstring name = L"scene.obj";
    ON_ClassArray<ON_Mesh> meshes;
    meshes.AppendNew().m_V.Append(ON_3fPoint(1, 2, 3));
    std::wstring error;
    const int ok = vrn_detail::ConvertScene(scene.get(), name, meshes, error);
    ++g_sceneOutcomes[ok ? (meshes.Count() > 1 ? 2 : 1) : 0];
    scene.reset();
    if (!ok) {
        if (error.find(L"\"" + name + L"\"") == std::wstring::npos)
            return "the conversion's error does not name the file: " + standin::narrow(error);
        if (meshes.Count() != 1 || meshes[0].m_V.Count() != 1 || meshes[0].m_F.Count() != 0)
            return "a failed conversion changed the mesh list";
        return "";
    }
    if (!error.empty())
        return "the conversion succeeded with an error text";
    if (meshes.Count() < 1 || meshes[0].m_V.Count() != 1)
        return "the conversion dropped what the list held";
    unsigned long faces = 0;
    for (int m = 1; m < meshes.Count(); ++m) {
        const ON_Mesh& mesh = meshes[m];
        if (mesh.m_F.Count() == 0)
            return "the conversion gave a mesh without faces";
        for (int i = 0; i < mesh.m_V.Count(); ++i) {
            const ON_3fPoint& p = mesh.m_V[i];
            if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
                return "the conversion gave a vertex that is not finite";
        }
        for (int i = 0; i < mesh.m_F.Count(); ++i) {
            const ON_MeshFace& f = mesh.m_F[i];
            for (int k = 0; k < 4; ++k)
                if (f.vi[k] < 0 || f.vi[k] >= mesh.m_V.Count())
                    return "the conversion gave a face that refers past the vertex list";
            if (f.vi[0] == f.vi[1] || f.vi[1] == f.vi[2] || f.vi[0] == f.vi[2] ||
                (f.vi[3] != f.vi[2] && (f.vi[3] == f.vi[0] || f.vi[3] == f.vi[1])))
                return "the conversion gave a face with a repeated corner";
        }
        faces += static_cast<unsigned long>(mesh.m_F.Count());
    }
    if (faces > kSceneFaceLimit)
        return "the conversion gave " + std::to_string(faces) + " faces, more than its limit";
    // The writers, on the first meshes only: they cost time, not code.
    standin::newWorkingDatabase();
    for (int m = 1; m < meshes.Count() && m <= 2; ++m) {
        std::string broke = WriteAllModes(meshes[m], CString(), true);
        if (!broke.empty())
            return "mesh " + std::to_string(m - 1) + ": " + broke;
    }
    return CheckNothingLeft("the import");
}

std::string RunInProcessModelInput(const uint8_t* data, size_t size)
{
    if (size > 0 && data[0] >= 0xC0)
        return RunPolygonInput(data + 1, size - 1);
    return RunSceneInput(size > 0 ? data + 1 : data, size > 0 ? size - 1 : 0);
}

}  // namespace kvfuzz
