#include "common/FuzzSupport.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <limits>
#include <set>
#include <utility>
#include <vector>

#include "MeshWriters.h"
#include "dbSubD.h"
#include "dbapserv.h"
#include "dbcolor.h"
#include "dbents.h"
#include "dbmain.h"
#include "standin/AcDbStandin.h"
#include "standin/AcEdStandin.h"

namespace kvfuzz {

namespace {

void RemoveTree(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return;
    if (S_ISDIR(st.st_mode)) {
        ::chmod(path.c_str(), 0700);
        if (DIR* dir = ::opendir(path.c_str())) {
            std::vector<std::string> names;
            while (dirent* e = ::readdir(dir)) {
                if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                    names.push_back(e->d_name);
            }
            ::closedir(dir);
            for (const std::string& n : names)
                RemoveTree(path + "/" + n);
        }
        ::rmdir(path.c_str());
    } else {
        ::unlink(path.c_str());
    }
}

std::string g_scratch;
pid_t g_scratchOwner = 0;

void RemoveScratch()
{
    // Only the process that made it (a reading child ends with _exit anyway).
    if (!g_scratch.empty() && ::getpid() == g_scratchOwner)
        RemoveTree(g_scratch);
}

// A point as bits, every NaN taken as one value.
using PointKey = std::array<uint64_t, 3>;

uint64_t Bits(double v)
{
    if (std::isnan(v))
        v = std::numeric_limits<double>::quiet_NaN();
    uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

PointKey Key(double x, double y, double z)
{
    return {Bits(x), Bits(y), Bits(z)};
}
PointKey Key(const AcGePoint3d& p)
{
    return Key(p.x, p.y, p.z);
}

bool ValidCorners(const ON_MeshFace& f, int vertexCount)
{
    for (int k = 0; k < 4; ++k)
        if (f.vi[k] < 0 || f.vi[k] >= vertexCount)
            return false;
    return true;
}

std::string Describe(const char* writer, const std::string& what)
{
    return std::string(writer) + ": " + what;
}

// Checks the entities made since `before` (ids in model-space order).
// Element by element: std::array's own == is a memcmp, which libFuzzer's
// hook records on every call.
struct PointKeyEqual {
    bool operator()(const PointKey& a, const PointKey& b) const noexcept
    {
        return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
    }
};
using PointKeys = std::vector<PointKey>;

bool FinitePoint(const ON_3fPoint& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// The mesh's vertices as sorted keys (one allocation, not one per vertex).
// The host refuses a point that is not finite and keeps its default, the
// origin, in its place.
PointKeys VertexKeys(const ON_Mesh& mesh)
{
    PointKeys vertices;
    vertices.reserve(static_cast<size_t>(mesh.m_V.Count()));
    for (int i = 0; i < mesh.m_V.Count(); ++i)
        vertices.push_back(FinitePoint(mesh.m_V[i]) ? Key(mesh.m_V[i].x, mesh.m_V[i].y, mesh.m_V[i].z)
                                                    : Key(0.0, 0.0, 0.0));
    std::sort(vertices.begin(), vertices.end());
    return vertices;
}

std::string CheckNewEntities(const ON_Mesh& mesh, const PointKeys& vertices, const std::vector<AcDbObjectId>& made,
                             const char* writer, int validFaces)
{
    auto known = [&](const AcGePoint3d& p) { return std::binary_search(vertices.begin(), vertices.end(), Key(p)); };

    for (AcDbObjectId id : made) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk || !entity)
            return Describe(writer, "a new entity cannot be opened for read");
        std::string broke;
        if (AcDbFace* face = AcDbFace::cast(entity)) {
            for (Adesk::UInt16 k = 0; k < 4 && broke.empty(); ++k) {
                AcGePoint3d p;
                if (face->getVertexAt(k, p) != Acad::eOk || !known(p))
                    broke = Describe(writer, "a 3D face corner is no vertex of the mesh");
            }
        } else if (AcDbLine* line = AcDbLine::cast(entity)) {
            if (!known(line->startPoint()) || !known(line->endPoint()))
                broke = Describe(writer, "a line end is no vertex of the mesh");
        } else if (AcDbPoint* point = AcDbPoint::cast(entity)) {
            if (!known(point->position()))
                broke = Describe(writer, "a point is no vertex of the mesh");
        } else if (AcDbSubDMesh* subd = AcDbSubDMesh::cast(entity)) {
            AcGePoint3dArray v;
            AcArray<Adesk::Int32> f;
            if (subd->getVertices(v) != Acad::eOk || subd->getFaceArray(f) != Acad::eOk) {
                // An empty mesh may hold no data at all.
                if (mesh.m_V.Count() != 0 && validFaces != 0)
                    broke = Describe(writer, "the subdivision mesh holds no data");
            } else if (v.isEmpty() && f.isEmpty() &&
                       std::any_of(mesh.m_V.Array(), mesh.m_V.Array() + mesh.m_V.Count(),
                                   [](const ON_3fPoint& p) { return !FinitePoint(p); })) {
                // The host refused the data: a vertex is not finite.
            } else if (v.length() != mesh.m_V.Count()) {
                broke = Describe(writer, "the subdivision mesh does not hold every vertex");
            } else {
                for (int i = 0; i < v.length() && broke.empty(); ++i)
                    if (!PointKeyEqual()(Key(v[i]), Key(mesh.m_V[i].x, mesh.m_V[i].y, mesh.m_V[i].z)))
                        broke = Describe(writer, "a subdivision-mesh vertex moved");
                int faces = 0;
                for (int at = 0; at < f.length() && broke.empty(); ++faces) {
                    const int n = f[at];
                    if ((n != 3 && n != 4) || at + n >= f.length())
                        broke = Describe(writer, "the face list holds a broken face");
                    for (int k = 1; k <= n && broke.empty(); ++k)
                        if (f[at + k] < 0 || f[at + k] >= v.length())
                            broke = Describe(writer, "a face refers past the vertex list");
                    at += n + 1;
                }
                if (broke.empty() && faces != validFaces)
                    broke = Describe(writer,
                                     "the face list does not hold every valid face (" + std::to_string(faces) + " of " +
                                         std::to_string(validFaces) + ")");
            }
        } else {
            broke = Describe(writer, "an entity of an unexpected class");
        }
        entity->close();
        if (!broke.empty())
            return broke;
    }
    return "";
}

std::vector<AcDbObjectId> ModelSpaceIds()
{
    std::vector<AcDbObjectId> ids;
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    ids.reserve(static_cast<size_t>(std::max(0, standin::modelSpaceEntityCount(db))));
    standin::forEachSpaceEntity(db, [&](AcDbObjectId id) { ids.push_back(id); });
    return ids;
}

}  // namespace

void EndInput()
{
    standin::discardWorkingDatabase();
}

void AbortOnBreach(const char* input, const std::string& breach)
{
    if (breach.empty())
        return;
    std::fprintf(stderr, "%s broke: %s\n", input, breach.c_str());
    std::abort();
}

const std::string& ScratchDir()
{
    if (g_scratch.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/kv-hostile-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (::mkdtemp(buffer.data())) {
            g_scratch = buffer.data();
            g_scratchOwner = ::getpid();
            std::atexit(RemoveScratch);
        } else {
            std::perror("mkdtemp");
            std::abort();
        }
    }
    return g_scratch;
}

bool WriteBytes(const std::string& path, const uint8_t* data, size_t size)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

std::string CheckNothingLeft(const std::string& after)
{
    std::string broke;
    const std::string open = standin::describeOpenObjects();
    if (!open.empty())
        broke += "after " + after + ": objects left open: " + open + "\n";
    const std::string held = standin::editor::describeHeldSelectionSets();
    if (!held.empty())
        broke += "after " + after + ": selection sets held: " + held + "\n";
    for (const std::string& v : standin::protocolViolations())
        broke += "after " + after + ": open protocol breached: " + v + "\n";
    standin::clearProtocolViolations();
    if (standin::docs::resourceStackDepth() != 0 || standin::docs::unbalancedResourcePops() != 0) {
        broke += "after " + after +
            ": resource sources pushed and not popped: " + std::to_string(standin::docs::resourceStackDepth()) +
            ", popped without a push: " + std::to_string(standin::docs::unbalancedResourcePops()) + "\n";
        standin::docs::clearResourceStack();
    }
    return broke;
}

std::string CheckTopology(const ON_Mesh& mesh)
{
    const ON_MeshTopology& top = mesh.Topology();
    const int vertexCount = mesh.m_V.Count();
    std::vector<char> seen(static_cast<size_t>(vertexCount), 0);
    for (int t = 0; t < top.m_topv.Count(); ++t) {
        const ON_MeshTopologyVertex& v = top.m_topv[t];
        if (v.m_v_count < 1 || !v.m_vi)
            return "topology: a vertex without mesh vertices";
        for (int k = 0; k < v.m_v_count; ++k) {
            const int vi = v.m_vi[k];
            if (vi < 0 || vi >= vertexCount)
                return "topology: a vertex refers past the vertex list";
            if (seen[static_cast<size_t>(vi)]++)
                return "topology: a mesh vertex in two topology vertices";
        }
    }
    for (int e = 0; e < top.m_tope.Count(); ++e) {
        const ON_MeshTopologyEdge& edge = top.m_tope[e];
        for (int k = 0; k < 2; ++k)
            if (edge.m_topvi[k] < 0 || edge.m_topvi[k] >= top.m_topv.Count())
                return "topology: an edge refers past the vertex list";
        if (edge.m_topvi[0] == edge.m_topvi[1])
            return "topology: an edge from a vertex to itself";
    }
    return "";
}

std::string WriteAllModes(const ON_Mesh& mesh, const CString& layerName, bool exactCounts)
{
    std::string broke = CheckTopology(mesh);
    if (!broke.empty())
        return broke;
    int validFaces = 0;
    for (int i = 0; i < mesh.m_F.Count(); ++i)
        validFaces += ValidCorners(mesh.m_F[i], mesh.m_V.Count()) ? 1 : 0;
    const ON_MeshTopology& top = mesh.Topology();
    const PointKeys vertices = VertexKeys(mesh);

    struct Writer {
        const char* name;
        int (*write)(const ON_Mesh&, const CString&, const AcCmColor&);
        int expected;
    };
    const Writer writers[] = {
        {"MeshToSubDMesh",
         [](const ON_Mesh& m, const CString& l, const AcCmColor& c) { return MeshToSubDMesh(m, TRUE, l, c); }, 1},
        {"MeshToFaces", [](const ON_Mesh& m, const CString& l, const AcCmColor& c) { return MeshToFaces(m, l, c); },
         validFaces},
        {"MeshToLines", [](const ON_Mesh& m, const CString& l, const AcCmColor& c) { return MeshToLines(m, l, c); },
         top.m_tope.Count()},
        {"MeshToPoints", [](const ON_Mesh& m, const CString& l, const AcCmColor& c) { return MeshToPoints(m, l, c); },
         top.m_topv.Count()},
    };
    std::vector<AcDbObjectId> before = ModelSpaceIds();
    for (const Writer& w : writers) {
        AcCmColor color;
        if (w.write(mesh, layerName, color) != 1)
            return Describe(w.name, "did not return 1");
        broke = CheckNothingLeft(w.name);
        if (!broke.empty())
            return broke;
        std::vector<AcDbObjectId> after = ModelSpaceIds();
        if (after.size() < before.size() || !std::equal(before.begin(), before.end(), after.begin()))
            return Describe(w.name, "entities already in model space were changed");
        const std::vector<AcDbObjectId> made(after.begin() + static_cast<long>(before.size()), after.end());
        const int count = static_cast<int>(made.size());
        if (count > w.expected || (exactCounts && count != w.expected) ||
            (!exactCounts && count != 0 && count != w.expected))
            return Describe(w.name, "made " + std::to_string(count) + " entities for " + std::to_string(w.expected));
        broke = CheckNewEntities(mesh, vertices, made, w.name, validFaces);
        if (!broke.empty())
            return broke;
        before = std::move(after);
    }
    return "";
}

}  // namespace kvfuzz
