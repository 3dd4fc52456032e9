// A jittered grid of triangles with shared corners, written as OBJ text.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace gridobj {

// Writes a grid of cells x cells squares, each split into two triangles:
// (cells + 1)^2 vertices, each written once and shared by the triangles
// around it, and 2 * cells^2 faces. Vertex positions are jittered off the
// grid (deterministically) so that nothing lines up exactly. Returns false
// when the file cannot be written.
inline bool write(std::FILE* out, int cells)
{
    if (cells < 1)
        return false;
    uint64_t state = 0x9E3779B97F4A7C15ull;
    auto jitter = [&state]() {  // in [-0.25, 0.25)
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state >> 11) / 9007199254740992.0 * 0.5 - 0.25;
    };
    std::string buf;
    buf.reserve(1 << 20);
    auto flush = [&]() {
        bool ok = std::fwrite(buf.data(), 1, buf.size(), out) == buf.size();
        buf.clear();
        return ok;
    };
    char line[128];
    buf += "# jittered grid\n";
    for (int j = 0; j <= cells; ++j)
        for (int i = 0; i <= cells; ++i) {
            double x = i + jitter(), y = j + jitter(), z = jitter();
            int n = std::snprintf(line, sizeof line, "v %.5f %.5f %.5f\n", x, y, z);
            buf.append(line, static_cast<size_t>(n));
            if (buf.size() > (1u << 20) && !flush())
                return false;
        }
    const long long row = cells + 1;
    for (int j = 0; j < cells; ++j)
        for (int i = 0; i < cells; ++i) {
            long long a = j * row + i + 1, b = a + 1, c = a + row, d = c + 1;
            int n = std::snprintf(line, sizeof line, "f %lld %lld %lld\nf %lld %lld %lld\n", a, b, d, a, d, c);
            buf.append(line, static_cast<size_t>(n));
            if (buf.size() > (1u << 20) && !flush())
                return false;
        }
    return flush() && std::fflush(out) == 0;
}

// Cells per side for about the given number of triangles.
inline int cellsForTriangles(long long triangles)
{
    int cells = 1;
    while (2LL * (cells + 1) * (cells + 1) <= triangles)
        ++cells;
    return cells;
}

}  // namespace gridobj
