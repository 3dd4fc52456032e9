// Polygon splitting and joining of equal positions for the model reader.

#include "MeshBuilder.h"

#include <cmath>
#include <cstring>

namespace vrn_detail {

namespace {

struct Vec2 {
    double u, v;
};

// Twice the signed area of the triangle a b c (positive: counter-clockwise).
double area2(const Vec2& a, const Vec2& b, const Vec2& c)
{
    return (b.u - a.u) * (c.v - a.v) - (b.v - a.v) * (c.u - a.u);
}

bool samePoint(const Vec2& a, const Vec2& b)
{
    return a.u == b.u && a.v == b.v;
}

// p inside the counter-clockwise triangle a b c or on its border.
bool inTriangle(const Vec2& p, const Vec2& a, const Vec2& b, const Vec2& c)
{
    return area2(a, b, p) >= 0 && area2(b, c, p) >= 0 && area2(c, a, p) >= 0;
}

// Upper bound on the steps and containment tests spent on one polygon before
// the rest of it is finished as a fan; far above what real polygons need.
constexpr long long kWorkLimit = 200000000;

}  // namespace

void splitPolygon(const std::vector<Vec3>& corners, std::vector<int>& triangles)
{
    // Consecutive corners at the same position count as one.
    std::vector<int> ring;
    ring.reserve(corners.size());
    for (size_t i = 0; i < corners.size(); ++i) {
        const Vec3& p = corners[i];
        if (!ring.empty()) {
            const Vec3& q = corners[static_cast<size_t>(ring.back())];
            if (p.x == q.x && p.y == q.y && p.z == q.z)
                continue;
        }
        ring.push_back(static_cast<int>(i));
    }
    while (ring.size() > 1) {
        const Vec3& a = corners[static_cast<size_t>(ring.front())];
        const Vec3& b = corners[static_cast<size_t>(ring.back())];
        if (a.x == b.x && a.y == b.y && a.z == b.z)
            ring.pop_back();
        else
            break;
    }
    const size_t n = ring.size();
    if (n < 3)
        return;
    triangles.reserve(triangles.size() + 3 * (n - 2));
    if (n == 3) {
        triangles.insert(triangles.end(), ring.begin(), ring.end());
        return;
    }

    // The polygon's plane from Newell's normal; project along its largest
    // component so that the outline keeps its shape, counter-clockwise.
    double nx = 0, ny = 0, nz = 0;
    for (size_t i = 0; i < n; ++i) {
        const Vec3& p = corners[static_cast<size_t>(ring[i])];
        const Vec3& q = corners[static_cast<size_t>(ring[(i + 1) % n])];
        nx += (p.y - q.y) * (p.z + q.z);
        ny += (p.z - q.z) * (p.x + q.x);
        nz += (p.x - q.x) * (p.y + q.y);
    }
    int axis = 2;
    if (std::fabs(nx) >= std::fabs(ny) && std::fabs(nx) >= std::fabs(nz))
        axis = 0;
    else if (std::fabs(ny) >= std::fabs(nz))
        axis = 1;
    const double along = axis == 0 ? nx : axis == 1 ? ny : nz;
    if (!(std::fabs(along) > 0)) {
        // No area (all corners on a line) or not a number: a fan.
        for (size_t i = 1; i + 1 < n; ++i) {
            triangles.push_back(ring[0]);
            triangles.push_back(ring[i]);
            triangles.push_back(ring[i + 1]);
        }
        return;
    }
    const double flip = along > 0 ? 1.0 : -1.0;
    std::vector<Vec2> pt(n);
    for (size_t i = 0; i < n; ++i) {
        const Vec3& p = corners[static_cast<size_t>(ring[i])];
        if (axis == 0)
            pt[i] = {flip * p.y, p.z};
        else if (axis == 1)
            pt[i] = {flip * p.z, p.x};
        else
            pt[i] = {flip * p.x, p.y};
    }

    // Ear clipping over a circular list. Only reflex corners can lie inside
    // an ear, so only they are tested; corners at the same position as one of
    // the ear's own corners (where the outline touches itself) do not count.
    std::vector<size_t> prev(n), next(n);
    for (size_t i = 0; i < n; ++i) {
        prev[i] = (i + n - 1) % n;
        next[i] = (i + 1) % n;
    }
    std::vector<char> removed(n, 0), reflex(n, 0);
    std::vector<size_t> reflexList;
    auto isReflex = [&](size_t i) { return area2(pt[prev[i]], pt[i], pt[next[i]]) <= 0; };
    for (size_t i = 0; i < n; ++i) {
        reflex[i] = isReflex(i);
        if (reflex[i])
            reflexList.push_back(i);
    }

    long long work = 0;
    auto isEar = [&](size_t i) {
        if (reflex[i])
            return false;
        const Vec2& a = pt[prev[i]];
        const Vec2& b = pt[i];
        const Vec2& c = pt[next[i]];
        for (size_t r : reflexList) {
            ++work;
            if (removed[r] || !reflex[r] || r == prev[i] || r == next[i])
                continue;
            const Vec2& p = pt[r];
            if (samePoint(p, a) || samePoint(p, b) || samePoint(p, c))
                continue;
            if (inTriangle(p, a, b, c))
                return false;
        }
        return true;
    };
    auto clip = [&](size_t i) {
        const size_t a = prev[i], c = next[i];
        triangles.push_back(ring[a]);
        triangles.push_back(ring[i]);
        triangles.push_back(ring[c]);
        removed[i] = 1;
        next[a] = c;
        prev[c] = a;
        // A reflex neighbour may turn convex; a convex one stays convex.
        if (reflex[a] && !isReflex(a))
            reflex[a] = 0;
        if (reflex[c] && !isReflex(c))
            reflex[c] = 0;
    };

    size_t remaining = n;
    size_t cur = 0;
    size_t sinceEar = 0;
    size_t fallback = n;  // first convex corner seen in this round; n: none
    size_t clippedSinceCompact = 0;
    // Clips the corner and goes on after it with a fresh round.
    auto clipAndGoOn = [&](size_t i) {
        const size_t after = next[i];
        clip(i);
        --remaining;
        cur = after;
        sinceEar = 0;
        fallback = n;
    };
    while (remaining > 3) {
        if (work > kWorkLimit) {
            clip(cur);  // out of budget: finish as a fan
            cur = next[cur];
            --remaining;
            continue;
        }
        ++work;
        if (isEar(cur)) {
            clipAndGoOn(cur);
            if (++clippedSinceCompact >= 64 && reflexList.size() > 64) {
                size_t k = 0;
                for (size_t r : reflexList)
                    if (!removed[r] && reflex[r])
                        reflexList[k++] = r;
                reflexList.resize(k);
                clippedSinceCompact = 0;
            }
            continue;
        }
        if (fallback == n && !reflex[cur])
            fallback = cur;
        cur = next[cur];
        if (++sinceEar >= remaining) {
            // No ear in a whole round (the outline crosses itself or is
            // degenerate): cut off a convex corner, or any corner.
            clipAndGoOn(fallback != n ? fallback : cur);
        }
    }
    const size_t b = cur, a = prev[b], c = next[b];
    triangles.push_back(ring[a]);
    triangles.push_back(ring[b]);
    triangles.push_back(ring[c]);
}

size_t joinEqualPoints(const float* xyz, size_t count, std::vector<uint32_t>& numberOf, std::vector<uint32_t>& firstOf)
{
    numberOf.assign(count, 0);
    firstOf.clear();
    firstOf.reserve(count);
    size_t capacity = 16;
    while (capacity < count * 2)
        capacity <<= 1;
    const size_t mask = capacity - 1;
    std::vector<uint32_t> table(capacity, UINT32_MAX);  // distinct point number per slot

    auto bits = [](float f) {
        if (f == 0.0f)
            f = 0.0f;  // -0 and +0 hash alike
        uint32_t u;
        std::memcpy(&u, &f, sizeof u);
        return u;
    };
    for (size_t i = 0; i < count; ++i) {
        const float* p = xyz + 3 * i;
        uint64_t h = bits(p[0]);
        h = h * 0x9E3779B97F4A7C15ull ^ bits(p[1]);
        h = h * 0x9E3779B97F4A7C15ull ^ bits(p[2]);
        h ^= h >> 29;
        h *= 0xBF58476D1CE4E5B9ull;
        h ^= h >> 32;
        size_t slot = static_cast<size_t>(h) & mask;
        for (;;) {
            uint32_t d = table[slot];
            if (d == UINT32_MAX) {
                d = static_cast<uint32_t>(firstOf.size());
                table[slot] = d;
                firstOf.push_back(static_cast<uint32_t>(i));
                numberOf[i] = d;
                break;
            }
            const float* q = xyz + 3 * firstOf[d];
            if (q[0] == p[0] && q[1] == p[1] && q[2] == p[2]) {
                numberOf[i] = d;
                break;
            }
            slot = (slot + 1) & mask;
        }
    }
    return firstOf.size();
}

}  // namespace vrn_detail
