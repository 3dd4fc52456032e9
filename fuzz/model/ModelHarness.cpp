#include "model/ModelHarness.h"

#include <cstdio>
#include <cstdlib>

#include <cmath>
#include <cstring>
#include <vector>

#include "MeshBuilder.h"
#include "VrnRavlib.h"
#include "common/FuzzSupport.h"
#include "standin/AcDbStandin.h"
#include "standin/WideFormat.h"

namespace kvfuzz {

const char* const kModelExtensions[] = {"obj", "stl", "ply", "off", "3ds",  "dae", "glb", "gltf",
                                        "fbx", "x3d", "skp", "ase", "ms3d", "md2", "lwo", "bin"};
const size_t kModelExtensionCount = sizeof kModelExtensions / sizeof kModelExtensions[0];

namespace {

// Meshes beyond this many faces are not written (they cost time, not code).
constexpr int kMaxWrittenFaces = 20000;

}  // namespace

void SetUpModelHarness()
{
    // A reading that stalls is stopped after this long, not after minutes.
    setenv("VRN_READER_TIMEOUT", "10", 0);
    standin::newWorkingDatabase();
    ScratchDir();
}

std::string ReadAndImport(const std::string& path, std::string* refusal)
{
    standin::newWorkingDatabase();
    const std::wstring name = standin::widen(path);

    // A mesh already in the list must come through a failed reading as it was.
    ON_ClassArray<ON_Mesh> meshes;
    ON_Mesh& first = meshes.AppendNew();
    first.m_V.Append(ON_3fPoint(1, 2, 3));

    const int ok = VrnRavlib::SKPToMesh(CString(name.c_str()), meshes);
    const std::wstring error = VrnRavlib::GetError().GetString();
    if (refusal)
        *refusal = ok ? std::string() : standin::narrow(error);
    if (!ok) {
        if (error.empty())
            return "the reader refused the file without saying why";
        if (error.find(name) == std::wstring::npos)
            return "the reader's error does not name the file: " + standin::narrow(error);
        if (meshes.Count() != 1 || meshes[0].m_V.Count() != 1 || meshes[0].m_F.Count() != 0)
            return "a failed reading changed the mesh list";
        return "";
    }
    if (!error.empty())
        return "the reader succeeded with an error text: " + standin::narrow(error);
    if (meshes.Count() < 1 || meshes[0].m_V.Count() != 1)
        return "the reader dropped what the list held";

    long long faces = 0;
    for (int m = 1; m < meshes.Count(); ++m) {
        const ON_Mesh& mesh = meshes[m];
        if (mesh.m_F.Count() == 0)
            return "the reader gave a mesh without faces";
        for (int i = 0; i < mesh.m_F.Count(); ++i) {
            const ON_MeshFace& f = mesh.m_F[i];
            for (int k = 0; k < 4; ++k)
                if (f.vi[k] < 0 || f.vi[k] >= mesh.m_V.Count())
                    return "the reader gave a face that refers past the vertex list";
            if (f.vi[0] == f.vi[1] || f.vi[1] == f.vi[2] || f.vi[0] == f.vi[2] ||
                (f.vi[3] != f.vi[2] && (f.vi[3] == f.vi[0] || f.vi[3] == f.vi[1])))
                return "the reader gave a face with a repeated corner";
        }
        faces += mesh.m_F.Count();
    }
    if (faces > kMaxWrittenFaces)
        return "";
    // Imported as the import command imports it, in every mode.
    for (int m = 1; m < meshes.Count(); ++m) {
        std::string broke = WriteAllModes(meshes[m], CString(), true);
        if (!broke.empty())
            return "mesh " + std::to_string(m - 1) + ": " + broke;
    }
    return CheckNothingLeft("the import");
}

std::string RunPolygonInput(const uint8_t* data, size_t size)
{
    using vrn_detail::Vec3;
    // Corners: a tag byte, then three floats or the number of an earlier corner.
    std::vector<Vec3> corners;
    std::vector<float> xyz;
    size_t at = 0;
    while (at < size && corners.size() < 4096) {
        const uint8_t tag = data[at++];
        Vec3 p{0, 0, 0};
        if (tag % 4 == 3 && !corners.empty()) {
            p = corners[(at < size ? data[at++] : 0) % corners.size()];
        } else {
            float f[3] = {0, 0, 0};
            const size_t n = std::min<size_t>(sizeof f, size - at);
            std::memcpy(f, data + at, n);
            at += n;
            if (tag % 4 == 1)  // small whole numbers: collinear and touching outlines
                for (float& v : f)
                    v = std::isfinite(v) ? std::fmod(std::trunc(v), 8.0f) : v;
            p = {f[0], f[1], f[2]};
        }
        corners.push_back(p);
        xyz.push_back(static_cast<float>(p.x));
        xyz.push_back(static_cast<float>(p.y));
        xyz.push_back(static_cast<float>(p.z));
    }

    // Splitting: n - 2 triangles of distinct corners of the polygon, for n
    // corners once runs of equal neighbours count as one.
    std::vector<int> triangles;
    vrn_detail::splitPolygon(corners, triangles);
    auto same = [&](size_t a, size_t b) {
        return corners[a].x == corners[b].x && corners[a].y == corners[b].y && corners[a].z == corners[b].z;
    };
    std::vector<size_t> ring;
    for (size_t i = 0; i < corners.size(); ++i)
        if (ring.empty() || !same(ring.back(), i))
            ring.push_back(i);
    while (ring.size() > 1 && same(ring.front(), ring.back()))
        ring.pop_back();
    const size_t expected = ring.size() >= 3 ? 3 * (ring.size() - 2) : 0;
    if (triangles.size() != expected)
        return "splitPolygon gave " + std::to_string(triangles.size() / 3) + " triangles for " +
            std::to_string(ring.size()) + " corners";
    for (size_t t = 0; t < triangles.size(); t += 3) {
        for (size_t k = 0; k < 3; ++k)
            if (triangles[t + k] < 0 || static_cast<size_t>(triangles[t + k]) >= corners.size())
                return "splitPolygon gave a corner that is not there";
        if (triangles[t] == triangles[t + 1] || triangles[t + 1] == triangles[t + 2] ||
            triangles[t] == triangles[t + 2])
            return "splitPolygon gave a triangle with a repeated corner";
    }

    // Joining: every point gets the number of the first point equal to it.
    std::vector<uint32_t> numberOf, firstOf;
    const size_t distinct = vrn_detail::joinEqualPoints(xyz.data(), corners.size(), numberOf, firstOf);
    if (numberOf.size() < corners.size() || firstOf.size() < distinct)
        return "joinEqualPoints gave too short lists";
    auto equal = [&](size_t a, size_t b) {
        return xyz[3 * a] == xyz[3 * b] && xyz[3 * a + 1] == xyz[3 * b + 1] && xyz[3 * a + 2] == xyz[3 * b + 2];
    };
    uint32_t nextNumber = 0;
    for (size_t i = 0; i < corners.size(); ++i) {
        const uint32_t n = numberOf[i];
        if (n >= distinct)
            return "joinEqualPoints gave a number past the distinct points";
        if (n == nextNumber) {  // the first appearance of a new point
            if (firstOf[n] != i)
                return "joinEqualPoints lost a first appearance";
            for (size_t j = 0; j < i; ++j)
                if (equal(i, j))
                    return "joinEqualPoints did not join equal points";
            ++nextNumber;
        } else if (n > nextNumber || !equal(i, firstOf[n])) {
            return "joinEqualPoints joined points that differ";
        }
    }
    if (nextNumber != distinct)
        return "joinEqualPoints miscounted the distinct points";
    return "";
}

std::string RunModelInput(const uint8_t* data, size_t size)
{
    if (size > 0 && data[0] >= 0xC0)
        return RunPolygonInput(data + 1, size - 1);
    const char* ext = kModelExtensions[(size > 0 ? data[0] : 0) % kModelExtensionCount];
    const std::string path = ScratchDir() + "/model." + ext;
    if (!WriteBytes(path, size > 0 ? data + 1 : data, size > 0 ? size - 1 : 0))
        return "";  // the scratch folder is full: nothing to learn
    std::string broke = ReadAndImport(path);
    std::remove(path.c_str());
    return broke;
}

}  // namespace kvfuzz
