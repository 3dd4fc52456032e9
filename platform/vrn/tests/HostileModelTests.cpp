// The model reader on models that are readable but hostile or empty: models
// without faces, coordinates that are not finite numbers, and small files
// whose node tree places a mesh far more often than memory can hold.

#include "VrnRavlib.h"

#include "MeshChecks.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

using namespace vrntest;

namespace {

// Reads into a list that already holds one mesh; that mesh must stay first.
int readAfterOne(const std::string& path, ON_ClassArray<ON_Mesh>& meshes)
{
    meshes.AppendNew().m_V.Append(ON_3fPoint(5, 5, 5));
    const int ok = read(path, meshes);
    EXPECT_GE(meshes.Count(), 1);
    if (meshes.Count() >= 1) {
        EXPECT_EQ(meshes[0].m_V.Count(), 1) << "what was in the list stays";
    }
    return ok;
}

// A glTF file with its buffer beside it: one triangle mesh of the positions
// and indices given, placed by the node tree given as JSON ("nodes" array
// body, "scenes" root list).
void writeGltf(const std::string& gltfPath, const std::string& binName, const std::vector<float>& positions,
               const std::vector<uint32_t>& indices, const std::string& nodes, const std::string& roots)
{
    std::string bin(reinterpret_cast<const char*>(positions.data()), positions.size() * sizeof(float));
    bin.append(reinterpret_cast<const char*>(indices.data()), indices.size() * sizeof(uint32_t));
    const std::string folder = gltfPath.substr(0, gltfPath.rfind('/'));
    writeFile(folder + "/" + binName, bin);
    float lo[3] = {1e30f, 1e30f, 1e30f}, hi[3] = {-1e30f, -1e30f, -1e30f};
    for (size_t i = 0; i < positions.size(); ++i) {
        lo[i % 3] = std::min(lo[i % 3], positions[i]);
        hi[i % 3] = std::max(hi[i % 3], positions[i]);
    }
    std::ostringstream j;
    j << R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[)" << roots << "]}],"
      << R"("nodes":[)" << nodes << "],"
      << R"("meshes":[{"primitives":[{"attributes":{"POSITION":0},"indices":1}]}],)"
      << R"("buffers":[{"byteLength":)" << bin.size() << R"(,"uri":")" << binName << R"("}],)"
      << R"("bufferViews":[{"buffer":0,"byteLength":)" << positions.size() * 4 << "},"
      << R"({"buffer":0,"byteOffset":)" << positions.size() * 4 << R"(,"byteLength":)" << indices.size() * 4 << "}],"
      << R"("accessors":[{"bufferView":0,"componentType":5126,"count":)" << positions.size() / 3
      << R"(,"type":"VEC3","min":[)" << lo[0] << ',' << lo[1] << ',' << lo[2] << "],\"max\":[" << hi[0] << ',' << hi[1]
      << ',' << hi[2] << "]},"
      << R"({"bufferView":1,"componentType":5125,"count":)" << indices.size() << R"(,"type":"SCALAR"}]})";
    writeFile(gltfPath, j.str());
}

// A grid of (n+1) x (n+1) vertices and 2 n^2 triangles.
void grid(int n, std::vector<float>& positions, std::vector<uint32_t>& indices)
{
    for (int y = 0; y <= n; ++y)
        for (int x = 0; x <= n; ++x)
            positions.insert(positions.end(), {float(x), float(y), 0.0f});
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const uint32_t a = uint32_t(y * (n + 1) + x), b = a + 1, c = a + uint32_t(n + 1), d = c + 1;
            indices.insert(indices.end(), {a, b, d, a, d, c});
        }
}

// A node tree of `levels` levels, each placing the next one twice; the last
// places the mesh: 2^levels placements.
std::string doublingNodes(int levels)
{
    std::ostringstream n;
    for (int k = 0; k < levels; ++k)
        n << R"({"translation":[1,0,0],"children":[)" << k + 1 << ',' << k + 1 << "]},";
    n << R"({"mesh":0})";
    return n.str();
}

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        if (had_)
            old_ = old;
        ::setenv(name, value, 1);
    }
    ~ScopedEnv()
    {
        if (had_)
            ::setenv(name_, old_.c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    bool had_ = false;
    std::string old_;
};

// ---- models with geometry and no faces ------------------------------------

TEST(ReaderNoFaces, ReadableModelsWithoutFacesGiveNoMesh)
{
    TempFolder folder;
    struct Case {
        const char* file;
        std::string content;
    } cases[] = {
        {"vertices.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\n"},
        {"points.obj", "v 0 0 0\nv 1 0 0\np 1 2\n"},
        {"lines.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nl 1 2 3\n"},
        {"two-objects.obj", "o a\nv 0 0 0\nv 1 0 0\np 1\no b\nl 1 2\n"},
        {"vertices.ply",
         "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nproperty float y\nproperty float z\n"
         "end_header\n0 0 0\n1 0 0\n0 1 0\n"},
        {"points.gltf",
         R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],"nodes":[{"mesh":0}],)"
         R"("meshes":[{"primitives":[{"attributes":{"POSITION":0},"mode":0}]}],)"
         R"("buffers":[{"byteLength":24,"uri":"data:application/octet-stream;base64,AAAAAAAAAAAAAAAAAACAPwAAAAAAAAAA"}],)"
         R"("bufferViews":[{"buffer":0,"byteLength":24}],)"
         R"("accessors":[{"bufferView":0,"componentType":5126,"count":2,"type":"VEC3","min":[0,0,0],"max":[1,0,0]}]})"},
        {"lines.gltf",
         R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],"nodes":[{"mesh":0}],)"
         R"("meshes":[{"primitives":[{"attributes":{"POSITION":0},"mode":1}]}],)"
         R"("buffers":[{"byteLength":24,"uri":"data:application/octet-stream;base64,AAAAAAAAAAAAAAAAAACAPwAAAAAAAAAA"}],)"
         R"("bufferViews":[{"buffer":0,"byteLength":24}],)"
         R"("accessors":[{"bufferView":0,"componentType":5126,"count":2,"type":"VEC3","min":[0,0,0],"max":[1,0,0]}]})"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = folder.file(c.file);
        writeFile(path, c.content);
        ON_ClassArray<ON_Mesh> meshes;
        EXPECT_NE(readAfterOne(path, meshes), 0) << errorText();
        EXPECT_EQ(meshes.Count(), 1);
        EXPECT_EQ(errorText(), "");
    }
}

// ---- coordinates that are not finite numbers ------------------------------

TEST(ReaderNonFinite, FacesOnNonFiniteVerticesAreDropped)
{
    TempFolder folder;
    const std::string square = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n";
    struct Case {
        const char* name;
        std::string obj;
        int meshes;    // meshes the reader gives
        int faces;     // faces of the one mesh
        int vertices;  // vertices of the one mesh
    } cases[] = {
        {"nan corner", square + "v nan 0 0\nf 1 2 3\nf 1 3 5\n", 1, 1, 3},
        {"corner beyond float", square + "v 1e308 0 0\nf 1 2 3 4\nf 2 5 3\n", 1, 1, 4},
        {"negative beyond float", square + "v 0 -1e39 0\nf 1 2 3 4\nf 5 1 2\n", 1, 1, 4},
        {"infinity", square + "v 0 0 inf\nf 1 2 3\nf 5 2 3\n", 1, 1, 3},
        {"large polygon with a nan corner", square + "v nan nan nan\nf 1 2 3 4\nf 1 2 5 3 4\n", 1, 1, 4},
        {"four nan corners", "v nan 0 0\nv nan 0 0\nv nan 1 0\nv nan 1 1\nf 1 2 3 4\n", 0, 0, 0},
        {"every face on one", square + "v nan 0 0\nf 5 1 2\nf 3 4 5\n", 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.file("model.obj");
        writeFile(path, c.obj);
        ON_ClassArray<ON_Mesh> meshes;
        ASSERT_NE(readAfterOne(path, meshes), 0) << errorText();
        ASSERT_EQ(meshes.Count(), 1 + c.meshes);
        if (c.meshes == 0)
            continue;
        const ON_Mesh& m = meshes[1];
        EXPECT_EQ(m.m_F.Count(), c.faces);
        EXPECT_EQ(m.m_V.Count(), c.vertices);
        for (int i = 0; i < m.m_V.Count(); ++i) {
            EXPECT_TRUE(std::isfinite(m.m_V[i].x) && std::isfinite(m.m_V[i].y) && std::isfinite(m.m_V[i].z)) << i;
        }
        expectWellFormed(m);
    }
}

// A placement that scales finite positions past the float range drops them.
TEST(ReaderNonFinite, PlacementBeyondFloatRangeDropsTheFaces)
{
    TempFolder folder;
    std::vector<float> positions, grown;
    std::vector<uint32_t> indices;
    grid(1, positions, indices);
    const std::string path = folder.file("far.gltf");
    writeGltf(path, "far.bin", positions, indices,
              R"({"mesh":0,"translation":[5,0,0]},{"mesh":0,"scale":[1e30,1e30,1e30],"children":[2]},)"
              R"({"mesh":0,"scale":[1e30,1e30,1e30]})",
              "0,1");
    ON_ClassArray<ON_Mesh> meshes;
    ASSERT_NE(readAfterOne(path, meshes), 0) << errorText();
    // The plain placement and the one scaled by 1e30 stay; the one scaled by 1e60 is gone.
    ASSERT_EQ(meshes.Count(), 3);
    EXPECT_EQ(meshes[1].m_F.Count(), 2);
    EXPECT_FLOAT_EQ(meshes[1].m_V[0].x, 5.0f);
    EXPECT_EQ(meshes[2].m_F.Count(), 2);
}

// ---- models beyond what the host's memory can hold ------------------------

// The attack: 16 levels of nodes that each place the next twice put one
// 200-face mesh in 65,536 places, 13 million faces from a small file.
TEST(ReaderLimits, AmplifyingNodeTreeIsRefusedBeforeAnyMeshIsBuilt)
{
    TempFolder folder;
    std::vector<float> positions;
    std::vector<uint32_t> indices;
    grid(10, positions, indices);  // 200 triangles
    ASSERT_EQ(indices.size(), 600u);
    const std::string path = folder.file("bomb.gltf");
    writeGltf(path, "bomb.bin", positions, indices, doublingNodes(16), "0");
    ON_ClassArray<ON_Mesh> meshes;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(readAfterOne(path, meshes), 0);
    EXPECT_EQ(meshes.Count(), 1) << "nothing is handed over";
    const std::string text = errorText();
    EXPECT_NE(text.find("\"" + path + "\" is not imported"), std::string::npos) << text;
    EXPECT_NE(text.find("more than"), std::string::npos) << text;
    EXPECT_NE(text.find("faces"), std::string::npos) << text;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60)) << "refused, not worked through";
}

// With a limit of 1,000 faces: four placements of 200 faces come through,
// eight do not; the limit counts the faces of every placement together.
TEST(ReaderLimits, LimitCountsFacesOfAllPlacements)
{
    ScopedEnv limit("VRN_READER_MAX_FACES", "1000");
    TempFolder folder;
    std::vector<float> positions;
    std::vector<uint32_t> indices;
    grid(10, positions, indices);
    struct Case {
        int levels;
        bool imported;
    } cases[] = {{2, true}, {3, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.levels);
        const std::string path = folder.file("placed" + std::to_string(c.levels) + ".gltf");
        writeGltf(path, "placed.bin", positions, indices, doublingNodes(c.levels), "0");
        ON_ClassArray<ON_Mesh> meshes;
        EXPECT_EQ(readAfterOne(path, meshes) != 0, c.imported) << errorText();
        EXPECT_EQ(meshes.Count(), c.imported ? 1 + (1 << c.levels) : 1);
        if (!c.imported) {
            EXPECT_NE(errorText().find("more than 1,000 faces"), std::string::npos) << errorText();
        }
    }
}

// A large model in few placements is no attack: two placements of a mesh of
// a million faces come through whole.
TEST(ReaderLimits, MillionsOfFacesInFewPlacementsStillImport)
{
    TempFolder folder;
    std::vector<float> positions;
    std::vector<uint32_t> indices;
    grid(708, positions, indices);  // 1,002,528 triangles
    const std::string path = folder.file("large.gltf");
    writeGltf(path, "large.bin", positions, indices, R"({"mesh":0},{"mesh":0,"translation":[0,0,1]})", "0,1");
    ON_ClassArray<ON_Mesh> meshes;
    ASSERT_NE(readAfterOne(path, meshes), 0) << errorText();
    ASSERT_EQ(meshes.Count(), 3);
    EXPECT_EQ(meshes[1].m_F.Count(), 2 * 708 * 708);
    EXPECT_EQ(meshes[2].m_V.Count(), 709 * 709);
}

}  // namespace
