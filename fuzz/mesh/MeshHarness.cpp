#include "mesh/MeshHarness.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "common/FuzzBytes.h"
#include "common/FuzzSupport.h"
#include "standin/AcDbStandin.h"
#include "standin/AcEdStandin.h"

namespace kvfuzz {

namespace {

// Every path of the topology and the writers is reached with small meshes
// (the welding's look-ahead of 32 vertices and its table's growth, the edge
// sort's buckets of 24 sides and more); a large one only costs time, and
// libFuzzer's loop counters would keep growing inputs towards the cap for no
// new code (hostile_input_tests writes a mesh of a million faces).
constexpr int kMaxVertices = 64;
constexpr int kMaxFaces = 64;

int Index(Bytes& in, int vertexCount)
{
    const uint8_t how = in.u8();
    switch (how % 8) {
    case 5: return -1 - in.u8();                // negative
    case 6: return vertexCount + in.u8();       // just past the end
    case 7: return static_cast<int>(in.u32());  // anything, INT_MIN and INT_MAX too
    default: return vertexCount > 0 ? in.u16() % vertexCount : 0;
    }
}

}  // namespace

void SetUpMeshHarness()
{
    standin::newWorkingDatabase();
}

ON_Mesh MeshFromBytes(const uint8_t* data, size_t size, std::wstring& layerName)
{
    Bytes in(data, size);
    const uint8_t flags = in.u8();
    switch (flags % 4) {
    case 1: layerName = L"Kv"; break;
    case 2: {
        // A name of any characters (the host may refuse it).
        const int length = 1 + in.u8() % 8;
        layerName.clear();
        for (int i = 0; i < length; ++i)
            layerName += static_cast<wchar_t>(in.u8());
        break;
    }
    default: layerName.clear(); break;
    }
    const int vertexCount = in.u16() % (kMaxVertices + 1);
    const int faceCount = in.u16() % (kMaxFaces + 1);

    ON_Mesh mesh;
    mesh.m_V.SetCapacity(static_cast<size_t>(vertexCount));
    for (int i = 0; i < vertexCount; ++i) {
        const uint8_t how = in.u8();
        ON_3fPoint p;
        switch (how % 4) {
        case 0:  // any bits
            p.x = in.f32();
            p.y = in.f32();
            p.z = in.f32();
            break;
        case 1:  // a small grid: many equal positions
            p.x = static_cast<float>(static_cast<int8_t>(in.u8()) % 4);
            p.y = static_cast<float>(static_cast<int8_t>(in.u8()) % 4);
            p.z = static_cast<float>(static_cast<int8_t>(in.u8()) % 4);
            break;
        case 2:
            p.x = in.special();
            p.y = in.special();
            p.z = in.special();
            break;
        default:  // a copy of an earlier vertex
            p = i > 0 ? mesh.m_V[in.u16() % i] : ON_3fPoint(0, 0, 0);
            break;
        }
        mesh.m_V.Append(p);
    }
    mesh.m_F.SetCapacity(static_cast<size_t>(faceCount));
    for (int i = 0; i < faceCount; ++i) {
        const uint8_t shape = in.u8();
        ON_MeshFace f;
        for (int k = 0; k < 4; ++k)
            f.vi[k] = Index(in, vertexCount);
        if (shape % 3 == 0)
            f.vi[3] = f.vi[2];  // a triangle
        else if (shape % 3 == 1 && vertexCount > 0)
            f.vi[shape % 4] = f.vi[(shape / 4) % 4];  // a repeated corner
        mesh.m_F.Append(f);
    }
    return mesh;
}

std::string RunMeshInput(const uint8_t* data, size_t size)
{
    standin::newWorkingDatabase();
    std::wstring layer;
    const ON_Mesh mesh = MeshFromBytes(data, size, layer);
    const bool plainLayer = layer.empty() || layer == L"Kv";
    std::string broke = WriteAllModes(mesh, CString(layer.c_str()), plainLayer);
    if (broke.empty())
        broke = CheckNothingLeft("the mesh writers");
    return broke;
}

}  // namespace kvfuzz
