#include "model/ModelHarness.h"

#include <cstdio>
#include <cstdlib>

#include "VrnRavlib.h"
#include "common/FuzzSupport.h"
#include "standin/AcDbStandin.h"
#include "standin/WideFormat.h"

namespace kvfuzz {

const char* const kModelExtensions[] = {"obj", "stl", "ply", "off", "3ds", "dae", "glb", "gltf",
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

std::string RunModelInput(const uint8_t* data, size_t size)
{
    const char* ext = kModelExtensions[(size > 0 ? data[0] : 0) % kModelExtensionCount];
    const std::string path = ScratchDir() + "/model." + ext;
    if (!WriteBytes(path, size > 0 ? data + 1 : data, size > 0 ? size - 1 : 0))
        return "";   // the scratch folder is full: nothing to learn
    std::string broke = ReadAndImport(path);
    std::remove(path.c_str());
    return broke;
}

}  // namespace kvfuzz
