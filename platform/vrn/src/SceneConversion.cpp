// The conversion of a scene Assimp has read into openNURBS meshes: the
// placements of the node tree counted against the limit, then one mesh per
// placement. Internal to the reader library.

#include "SceneConversion.h"

#include "MeshBuilder.h"
#include "ReaderMessages.h"

#include <assimp/scene.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace vrn_detail {

namespace {

const wchar_t kTooMuch[] =
    L"The file \"%s\" is not imported: %s. Import a smaller part of the model, or a model whose parts "
    L"are placed fewer times.";

struct Matrix {
    double m[4][4];
    static Matrix identity()
    {
        Matrix r{};
        for (int i = 0; i < 4; ++i)
            r.m[i][i] = 1;
        return r;
    }
    static Matrix from(const aiMatrix4x4& a)
    {
        Matrix r{
            {{a.a1, a.a2, a.a3, a.a4}, {a.b1, a.b2, a.b3, a.b4}, {a.c1, a.c2, a.c3, a.c4}, {a.d1, a.d2, a.d3, a.d4}}};
        return r;
    }
    Matrix operator*(const Matrix& b) const
    {
        Matrix r{};
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                r.m[i][j] = m[i][0] * b.m[0][j] + m[i][1] * b.m[1][j] + m[i][2] * b.m[2][j] + m[i][3] * b.m[3][j];
        return r;
    }
    bool isIdentity() const
    {
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                if (m[i][j] != (i == j ? 1.0 : 0.0))
                    return false;
        return true;
    }
    Vec3 apply(const aiVector3D& p) const
    {
        const double x = p.x, y = p.y, z = p.z;
        double rx = m[0][0] * x + m[0][1] * y + m[0][2] * z + m[0][3];
        double ry = m[1][0] * x + m[1][1] * y + m[1][2] * z + m[1][3];
        double rz = m[2][0] * x + m[2][1] * y + m[2][2] * z + m[2][3];
        double w = m[3][0] * x + m[3][1] * y + m[3][2] * z + m[3][3];
        if (w != 1.0 && w != 0.0) {
            rx /= w;
            ry /= w;
            rz /= w;
        }
        return {rx, ry, rz};
    }
};

// What one mesh of the scene gives, worked out once however often it is placed.
struct MeshPlan {
    bool checked = false;
    bool hasFaces = false;
    size_t faceEstimate = 0;    // output faces, before dropping collapsed ones
    size_t vertexEstimate = 0;  // vertices that faces use, before joining
};

// Checks a mesh of the scene; false when it refers to data that is not there.
bool checkMesh(const aiMesh* mesh, MeshPlan& plan)
{
    plan.checked = true;
    if (!mesh)
        return false;
    if (mesh->mNumFaces > 0 && !mesh->mFaces)
        return false;
    if (mesh->mNumVertices > 0 && !mesh->mVertices)
        return false;
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        if (face.mNumIndices > 0 && !face.mIndices)
            return false;
        for (unsigned k = 0; k < face.mNumIndices; ++k)
            if (face.mIndices[k] >= mesh->mNumVertices)
                return false;
        if (face.mNumIndices >= 3) {
            plan.hasFaces = true;
            plan.faceEstimate += face.mNumIndices <= 4 ? 1 : face.mNumIndices - 2;
        }
    }
    if (plan.hasFaces) {
        std::vector<char> used(mesh->mNumVertices, 0);
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            const aiFace& face = mesh->mFaces[f];
            if (face.mNumIndices < 3)
                continue;
            for (unsigned k = 0; k < face.mNumIndices; ++k)
                used[face.mIndices[k]] = 1;
        }
        for (char u : used)
            plan.vertexEstimate += u ? 1 : 0;
    }
    return true;
}

// Scratch space reused from placement to placement.
struct Scratch {
    std::vector<float> placed;       // placed position per source vertex (used ones only)
    std::vector<char> finite;        // per source vertex: 1 finite, 0 not, 2 not used
    std::vector<uint32_t> used;      // source vertex -> position in points, or UINT32_MAX
    std::vector<float> points;       // placed positions of the used vertices
    std::vector<uint32_t> numberOf;  // used vertex -> distinct point number
    std::vector<uint32_t> firstOf;   // distinct point -> first used vertex
    std::vector<Vec3> polygon;
    std::vector<int> triangles;
};

// Appends a face of the corners given (distinct point numbers) to the mesh:
// repeated corners are dropped, and what keeps fewer than three is no face.
void addFace(ON_Mesh& out, const uint32_t* corner, int count)
{
    int v[4];
    int kept = 0;
    for (int k = 0; k < count; ++k) {
        int c = static_cast<int>(corner[k]);
        bool repeated = false;
        for (int j = 0; j < kept; ++j)
            repeated = repeated || v[j] == c;
        if (!repeated)
            v[kept++] = c;
    }
    if (kept < 3)
        return;
    if (kept == 3)
        v[3] = v[2];
    ON_MeshFace& face = out.m_F.AppendNew();
    for (int k = 0; k < 4; ++k)
        face.vi[k] = v[k];
}

// Builds the ON_Mesh of one placement of mesh; false when it has no face.
// A face that uses a vertex whose placed position is not a finite single-
// precision number (NaN, an infinity, or beyond the float range) is dropped,
// and so is the vertex when no other face uses it.
bool buildPlacement(const aiMesh& mesh, const MeshPlan& plan, const Matrix& placement, ON_Mesh& out, Scratch& s)
{
    const bool identity = placement.isIdentity();

    // Placed positions of the vertices that faces use; 0 in finite marks
    // those that are not finite.
    s.placed.resize(3 * static_cast<size_t>(mesh.mNumVertices));
    s.finite.assign(mesh.mNumVertices, 2);  // 2: not used by any face
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices < 3)
            continue;
        for (unsigned k = 0; k < face.mNumIndices; ++k) {
            const unsigned i = face.mIndices[k];
            if (s.finite[i] != 2)
                continue;
            const aiVector3D& p = mesh.mVertices[i];
            float* q = &s.placed[3 * static_cast<size_t>(i)];
            if (identity) {
                q[0] = p.x;
                q[1] = p.y;
                q[2] = p.z;
            } else {
                Vec3 r = placement.apply(p);
                const double big = 3.4028234663852886e38;  // the largest float
                const bool inRange = std::fabs(r.x) <= big && std::fabs(r.y) <= big && std::fabs(r.z) <= big;
                q[0] = inRange ? static_cast<float>(r.x) : NAN;
                q[1] = inRange ? static_cast<float>(r.y) : NAN;
                q[2] = inRange ? static_cast<float>(r.z) : NAN;
            }
            s.finite[i] = std::isfinite(q[0]) && std::isfinite(q[1]) && std::isfinite(q[2]) ? 1 : 0;
        }
    }
    auto faceIsFinite = [&](const aiFace& face) {
        for (unsigned k = 0; k < face.mNumIndices; ++k)
            if (!s.finite[face.mIndices[k]])
                return false;
        return true;
    };

    // The vertices that kept faces use, in the file's order.
    s.used.assign(mesh.mNumVertices, UINT32_MAX);
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices < 3 || !faceIsFinite(face))
            continue;
        for (unsigned k = 0; k < face.mNumIndices; ++k)
            s.used[face.mIndices[k]] = 0;
    }
    s.points.clear();
    size_t usedCount = 0;
    for (unsigned i = 0; i < mesh.mNumVertices; ++i)
        if (s.used[i] == 0)
            ++usedCount;
    s.points.reserve(3 * usedCount);
    uint32_t next = 0;
    for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
        if (s.used[i] != 0)
            continue;
        s.used[i] = next++;
        const float* q = &s.placed[3 * static_cast<size_t>(i)];
        s.points.insert(s.points.end(), q, q + 3);
    }

    // Corners at equal positions become one vertex.
    const size_t distinct = vrn_detail::joinEqualPoints(s.points.data(), usedCount, s.numberOf, s.firstOf);
    out.m_V.Reserve(distinct);
    for (size_t d = 0; d < distinct; ++d) {
        const float* p = &s.points[3 * static_cast<size_t>(s.firstOf[d])];
        out.m_V.Append(ON_3fPoint(p[0], p[1], p[2]));
    }

    out.m_F.Reserve(plan.faceEstimate);
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        const unsigned n = face.mNumIndices;
        if (n < 3)
            continue;  // points and lines are not faces
        if (!faceIsFinite(face))
            continue;
        if (n <= 4) {
            uint32_t corner[4];
            for (unsigned k = 0; k < n; ++k)
                corner[k] = s.numberOf[s.used[face.mIndices[k]]];
            addFace(out, corner, static_cast<int>(n));
            continue;
        }
        // A larger polygon: split it into triangles in its plane.
        s.polygon.resize(n);
        for (unsigned k = 0; k < n; ++k) {
            const float* p = &s.points[3 * static_cast<size_t>(s.used[face.mIndices[k]])];
            s.polygon[k] = {p[0], p[1], p[2]};
        }
        s.triangles.clear();
        vrn_detail::splitPolygon(s.polygon, s.triangles);
        for (size_t t = 0; t + 2 < s.triangles.size(); t += 3) {
            uint32_t corner[3];
            for (int k = 0; k < 3; ++k)
                corner[k] = s.numberOf[s.used[face.mIndices[s.triangles[t + static_cast<size_t>(k)]]]];
            addFace(out, corner, 3);
        }
    }
    return out.m_F.Count() > 0;
}

}  // namespace

// The most faces, and the most vertices, that the placements of one model
// may give together. The host keeps the whole mesh list and then the
// entities written from it; the costliest import, as lines, measured about
// 400 bytes of the host's memory per face of the model. So a model may use
// half the physical memory at that rate, and never more than 10 million
// faces (about 4 GB as lines). VRN_READER_MAX_FACES sets a smaller limit.
size_t ImportLimit()
{
    size_t limit = 10000000;
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long page = ::sysconf(_SC_PAGESIZE);
    if (pages > 0 && page > 0) {
        const unsigned long long half =
            static_cast<unsigned long long>(pages) * static_cast<unsigned long long>(page) / 2;
        limit =
            static_cast<size_t>(std::min<unsigned long long>(limit, std::max<unsigned long long>(half / 400, 100000)));
    }
    if (const char* env = std::getenv("VRN_READER_MAX_FACES")) {
        char* end = nullptr;
        const unsigned long long v = std::strtoull(env, &end, 10);
        if (end && end != env && *end == '\0' && v > 0 && v < limit)
            limit = static_cast<size_t>(v);
    }
    return limit;
}

namespace {

std::wstring countText(unsigned long long n)
{
    std::wstring digits = std::to_wstring(n), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += L',';
        out += digits[i];
    }
    return out;
}

}  // namespace

// Converts the scene Assimp read from the file named name: one mesh per
// placement, appended to meshes. 0 with error set when the scene refers
// to data that is not there, gives more than the limit or cannot be held;
// meshes is then as it was.
int ConvertScene(const aiScene* scene, const std::wstring& name, ON_ClassArray<ON_Mesh>& meshes, std::wstring& error)
{
    if (!scene)
        return 1;
    if (!scene->mRootNode || scene->mNumMeshes == 0 || !scene->mMeshes)
        return 1;  // no mesh

    std::vector<MeshPlan> plans(scene->mNumMeshes);
    struct Placement {
        unsigned mesh;
        Matrix transform;
    };
    std::vector<Placement> placements;
    // What the placements give is counted before any mesh is built, and the
    // walk stops as soon as it passes the limit, so a small file whose node
    // tree places a mesh millions of times costs neither time nor memory.
    const size_t limit = ImportLimit();
    size_t totalFaces = 0, totalVertices = 0;
    std::vector<std::pair<const aiNode*, Matrix>> stack;
    stack.emplace_back(scene->mRootNode, Matrix::from(scene->mRootNode->mTransformation));
    size_t visited = 0;
    while (!stack.empty()) {
        if (++visited > limit) {
            error = (say(kTooMuch, name, L"its node tree has more than " + countText(limit) + L" nodes"));
            return 0;
        }
        const aiNode* node = stack.back().first;
        const Matrix transform = stack.back().second;
        stack.pop_back();
        if (node->mNumMeshes > 0 && !node->mMeshes) {
            error = (say(kDamaged, name, L"a part of the model refers to data that is not there"));
            return 0;
        }
        for (unsigned k = 0; k < node->mNumMeshes; ++k) {
            const unsigned m = node->mMeshes[k];
            if (m >= scene->mNumMeshes || (!plans[m].checked && !checkMesh(scene->mMeshes[m], plans[m]))) {
                error = (say(kDamaged, name, L"a part of the model refers to data that is not there"));
                return 0;
            }
            if (!plans[m].hasFaces)
                continue;
            totalFaces += plans[m].faceEstimate;
            totalVertices += plans[m].vertexEstimate;
            if (totalFaces > limit || totalVertices > limit) {
                std::wstring what = L"its parts are placed so often that they give more than " + countText(limit) +
                    (totalFaces > limit ? L" faces" : L" vertices") +
                    L", more than this computer's memory can hold in the drawing";
                error = (say(kTooMuch, name, what));
                return 0;
            }
            placements.push_back({m, transform});
        }
        if (node->mNumChildren > 0 && !node->mChildren) {
            error = (say(kDamaged, name, L"a part of the model refers to data that is not there"));
            return 0;
        }
        // Children are pushed last first so that they come off in file order.
        for (unsigned c = node->mNumChildren; c-- > 0;) {
            const aiNode* child = node->mChildren[c];
            if (child)
                stack.emplace_back(child, transform * Matrix::from(child->mTransformation));
        }
    }

    const int before = meshes.Count();
    try {
        meshes.Reserve(static_cast<size_t>(before) + placements.size());
        Scratch scratch;
        for (const Placement& p : placements) {
            ON_Mesh& out = meshes.AppendNew();
            if (!buildPlacement(*scene->mMeshes[p.mesh], plans[p.mesh], p.transform, out, scratch))
                meshes.Remove();  // every face collapsed to a point or a line
        }
    } catch (const std::bad_alloc&) {
        while (meshes.Count() > before)
            meshes.Remove();
        error = (say(kTooLarge, name));
        return 0;
    }
    return 1;
}

}  // namespace vrn_detail
