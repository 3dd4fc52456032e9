// VrnMesh and VrnNurbsSurface of the maker's geometry library.
#include <cmath>

#include "VrnGeo.h"

namespace {

int addFace(ON_Mesh& mesh, const ON_3dPoint* corners, int n)
{
    for (int i = 0; i < n; ++i)
        if (!corners[i].IsValid())
            return 0;
    const int v = mesh.VertexCount();
    for (int i = 0; i < n; ++i)
        mesh.SetVertex(v + i, corners[i]);
    const int f = mesh.FaceCount();
    if (n == 3)
        mesh.SetTriangle(f, v, v + 1, v + 2);
    else
        mesh.SetQuad(f, v, v + 1, v + 2, v + 3);
    return 1;
}

// True when the corners do not all lie on one line (the surface has area).
bool spansArea(const ON_3dPoint* p, int n)
{
    double best = 0.0, scale = 0.0;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const double dx = p[j].x - p[i].x, dy = p[j].y - p[i].y, dz = p[j].z - p[i].z;
            scale = std::fmax(scale, dx * dx + dy * dy + dz * dz);
        }
    for (int i = 1; i + 1 < n; ++i)
        for (int j = i + 1; j < n; ++j) {
            const double ax = p[i].x - p[0].x, ay = p[i].y - p[0].y, az = p[i].z - p[0].z;
            const double bx = p[j].x - p[0].x, by = p[j].y - p[0].y, bz = p[j].z - p[0].z;
            const double cx = ay * bz - az * by, cy = az * bx - ax * bz, cz = ax * by - ay * bx;
            best = std::fmax(best, cx * cx + cy * cy + cz * cz);
        }
    return scale > 0.0 && std::sqrt(best) > 1e-12 * scale;
}

int makeSurface(ON_NurbsSurface& surface, const ON_3dPoint* p, int n)
{
    for (int i = 0; i < n; ++i)
        if (!p[i].IsValid())
            return 0;
    if (!spansArea(p, n))
        return 0;
    const ON_3dPoint& p3 = n == 4 ? p[3] : p[2];
    if (!surface.Create(3, false, 2, 2, 2, 2))
        return 0;
    surface.SetCV(0, 0, p[0]);
    surface.SetCV(1, 0, p[1]);
    surface.SetCV(1, 1, p[2]);
    surface.SetCV(0, 1, p3);
    for (int dir = 0; dir < 2; ++dir) {
        surface.SetKnot(dir, 0, 0.0);
        surface.SetKnot(dir, 1, 1.0);
    }
    return 1;
}

}  // namespace

int VrnMesh::AddTriangle(ON_Mesh& mesh, const ON_3dPoint& p0, const ON_3dPoint& p1, const ON_3dPoint& p2)
{
    const ON_3dPoint corners[3] = {p0, p1, p2};
    return addFace(mesh, corners, 3);
}

int VrnMesh::AddQuad(ON_Mesh& mesh, const ON_3dPoint& p0, const ON_3dPoint& p1, const ON_3dPoint& p2,
                     const ON_3dPoint& p3)
{
    const ON_3dPoint corners[4] = {p0, p1, p2, p3};
    return addFace(mesh, corners, 4);
}

int VrnNurbsSurface::CreateTriangle(ON_NurbsSurface& surface, const ON_3dPoint& p0, const ON_3dPoint& p1,
                                    const ON_3dPoint& p2)
{
    const ON_3dPoint corners[3] = {p0, p1, p2};
    return makeSurface(surface, corners, 3);
}

int VrnNurbsSurface::CreateQuad(ON_NurbsSurface& surface, const ON_3dPoint& p0, const ON_3dPoint& p1,
                                const ON_3dPoint& p2, const ON_3dPoint& p3)
{
    const ON_3dPoint corners[4] = {p0, p1, p2, p3};
    return makeSurface(surface, corners, 4);
}
