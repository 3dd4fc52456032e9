// make_grid_obj CELLS [FILE]: writes an OBJ of a jittered grid of CELLS x CELLS
// squares (2 * CELLS^2 triangles with shared corners) to FILE, or to standard
// output. 707 cells give about a million triangles.

#include "GridObj.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr,
                     "usage: make_grid_obj CELLS [FILE]\n"
                     "  writes 2*CELLS^2 triangles (707 cells: about a million)\n");
        return 2;
    }
    char* end = nullptr;
    errno = 0;
    long cells = std::strtol(argv[1], &end, 10);
    if (errno || !end || *end || cells < 1 || cells > 20000) {
        std::fprintf(stderr, "make_grid_obj: CELLS must be a whole number from 1 to 20000, not \"%s\"\n", argv[1]);
        return 2;
    }
    std::FILE* out = stdout;
    if (argc == 3) {
        out = std::fopen(argv[2], "wb");
        if (!out) {
            std::fprintf(stderr, "make_grid_obj: cannot write \"%s\": %s\n", argv[2], std::strerror(errno));
            return 1;
        }
    }
    bool ok = gridobj::write(out, static_cast<int>(cells));
    if (out != stdout)
        ok = std::fclose(out) == 0 && ok;
    if (!ok) {
        std::fprintf(stderr, "make_grid_obj: writing failed: %s\n", std::strerror(errno));
        return 1;
    }
    std::fprintf(stderr, "make_grid_obj: %ld vertices, %ld triangles\n", (cells + 1) * (cells + 1), 2 * cells * cells);
    return 0;
}
