#include "FakeReader.h"

#include <dlfcn.h>

#include <optional>
#include <utility>

#include "VrnRavlib.h"

namespace fake_reader {
namespace {
std::optional<std::vector<ON_Mesh>> queued;
int calls = 0;
}  // namespace

void QueueMeshes(std::vector<ON_Mesh> meshes)
{
    queued = std::move(meshes);
}

void Clear()
{
    queued.reset();
    calls = 0;
}

int Calls()
{
    return calls;
}

}  // namespace fake_reader

int VrnRavlib::SKPToMesh(CString path, ON_ClassArray<ON_Mesh>& meshes)
{
    ++fake_reader::calls;
    if (fake_reader::queued) {
        for (const ON_Mesh& mesh : *fake_reader::queued)
            meshes.Append(mesh);
        fake_reader::queued.reset();
        return 1;
    }
    // The real reader: the library the module was linked with, loaded with it.
    using Reader = int (*)(CString, ON_ClassArray<ON_Mesh>&);
    void* library = dlopen("libvrnravlib.so", RTLD_NOW | RTLD_NOLOAD);
    if (!library)
        return 0;
    const Reader real =
        reinterpret_cast<Reader>(dlsym(library, "_ZN9VrnRavlib9SKPToMeshE7CStringR13ON_ClassArrayI7ON_MeshE"));
    dlclose(library);
    if (!real)
        return 0;
    return real(path, meshes);
}
