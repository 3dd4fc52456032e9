// Building blocks of the model reader: polygon splitting and joining of equal
// positions. Internal to the reader library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vrn_detail {

struct Vec3 {
    double x, y, z;
};

// Splits a polygon, given by its corner positions in order, into triangles in
// the polygon's own plane (ear clipping, so concave polygons and polygons
// whose outline touches itself, such as a ring joined by a bridge edge, come
// out right). Appends three corner numbers (indices into corners) per
// triangle to triangles, n - 2 triangles for n corners once consecutive
// corners at the same position are taken as one. The work is bounded: a
// polygon too large or too tangled to split within the bound is finished as
// a fan, so the call always ends.
void splitPolygon(const std::vector<Vec3>& corners, std::vector<int>& triangles);

// Joins equal positions: gives each point the number of the first point equal
// to it (exact float comparison; -0 equals +0, NaN equals nothing), counting
// only distinct points, in order of first appearance. Returns the number of
// distinct points; firstOf receives, per distinct point, the index of its
// first appearance.
size_t joinEqualPoints(const float* xyz, size_t count, std::vector<uint32_t>& numberOf, std::vector<uint32_t>& firstOf);

}  // namespace vrn_detail
