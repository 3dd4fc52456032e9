// Test meshes for benchmarks: a jittered square grid split into triangles.
//
// Every grid point is a mesh vertex. Each triangle corner either uses the
// grid point's vertex or, with probability one half, a new duplicate vertex
// at the same position, so welding has real work to do. The generator is
// deterministic for a given seed on every platform.
#pragma once

#include "opennurbs.h"

#include <cmath>
#include <cstdint>

namespace kvbench {
class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double Unit() { return (double)(Next() >> 11) * (1.0 / 9007199254740992.0); }
    bool Coin() { return (Next() >> 63) != 0; }

private:
    std::uint64_t m_state;
};

// Cells per side of the smallest square grid with at least `triangles`
// triangles (two per cell).
inline int GridCellsForTriangles(int triangles)
{
    int n = (int)std::ceil(std::sqrt(triangles / 2.0));
    return n < 1 ? 1 : n;
}

// Fills `mesh` with an n x n cell grid of 2*n*n triangles. Grid points are
// jittered by up to a quarter cell in x and y and get a small random z.
inline void MakeGridMesh(ON_Mesh& mesh, int n, std::uint64_t seed = 20261210)
{
    SplitMix64 rng(seed);
    mesh.Destroy();
    const int side = n + 1;
    const int grid_vertices = side * side;
    const int triangles = 2 * n * n;
    mesh.m_V.Reserve((size_t)grid_vertices + (size_t)triangles * 3 / 2 + 16);
    mesh.m_F.Reserve((size_t)triangles);
    for (int j = 0; j < side; j++)
        for (int i = 0; i < side; i++)
            mesh.m_V.Append(ON_3fPoint((float)(i + 0.5 * (rng.Unit() - 0.5)), (float)(j + 0.5 * (rng.Unit() - 0.5)),
                                       (float)(0.1 * rng.Unit())));
    auto corner = [&](int i, int j) {
        const int shared = j * side + i;
        if (rng.Coin())
            return shared;
        const ON_3fPoint p = mesh.m_V[shared];
        mesh.m_V.Append(p);
        return mesh.m_V.Count() - 1;
    };
    for (int j = 0; j < n; j++) {
        for (int i = 0; i < n; i++) {
            const int a = corner(i, j), b = corner(i + 1, j), c = corner(i + 1, j + 1);
            mesh.SetTriangle(mesh.FaceCount(), a, b, c);
            const int d = corner(i, j), e = corner(i + 1, j + 1), f = corner(i, j + 1);
            mesh.SetTriangle(mesh.FaceCount(), d, e, f);
        }
    }
}
}  // namespace kvbench
