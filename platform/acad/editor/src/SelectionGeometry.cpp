// Geometry of selection in the XY plane of the world.
#include "SelectionGeometry.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "dbSubD.h"
#include "dbents.h"
#include "dbmain.h"

namespace kv_editor {

namespace {

constexpr double kTouch = 1e-9;  // how near a point must come to count as on a line

Point2 flat(const AcGePoint3d& p)
{
    return Point2{p.x, p.y};
}

std::wstring className(const AcDbEntity* entity)
{
    const AcRxClass* c = entity != nullptr ? entity->isA() : nullptr;
    return c != nullptr && c->name() != nullptr ? c->name() : L"";
}

double segmentDistance(Point2 p, Point2 a, Point2 b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = 0.0;
    if (length2 > 0.0)
        t = std::max(0.0, std::min(1.0, ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2));
    return std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y);
}

double cross(Point2 o, Point2 a, Point2 b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool onSegment(Point2 p, Point2 a, Point2 b)
{
    return segmentDistance(p, a, b) <= kTouch;
}

// Whether the two closed segments meet (touching counts).
bool segmentsMeet(Point2 a, Point2 b, Point2 c, Point2 d)
{
    const double d1 = cross(c, d, a);
    const double d2 = cross(c, d, b);
    const double d3 = cross(a, b, c);
    const double d4 = cross(a, b, d);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0)))
        return true;
    return onSegment(a, c, d) || onSegment(b, c, d) || onSegment(c, a, b) || onSegment(d, a, b);
}

// Whether the two segments cross each other properly (not merely touching).
bool segmentsCross(Point2 a, Point2 b, Point2 c, Point2 d)
{
    const double d1 = cross(c, d, a);
    const double d2 = cross(c, d, b);
    const double d3 = cross(a, b, c);
    const double d4 = cross(a, b, d);
    return ((d1 > kTouch && d2 < -kTouch) || (d1 < -kTouch && d2 > kTouch)) &&
        ((d3 > kTouch && d4 < -kTouch) || (d3 < -kTouch && d4 > kTouch));
}

// Inside the closed polygon or on its outline.
bool pointInPolygon(Point2 p, const std::vector<Point2>& polygon)
{
    const size_t n = polygon.size();
    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const Point2 a = polygon[i];
        const Point2 b = polygon[j];
        if (onSegment(p, a, b))
            return true;
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

bool pointInBox(const Shape& shape, Point2 p)
{
    return p.x >= shape.boxMin.x - kTouch && p.x <= shape.boxMax.x + kTouch && p.y >= shape.boxMin.y - kTouch &&
        p.y <= shape.boxMax.y + kTouch;
}

std::vector<Point2> vertices(const Shape& shape)
{
    std::vector<Point2> all(shape.dots);
    for (const auto& s : shape.segments) {
        all.push_back(s.first);
        all.push_back(s.second);
    }
    return all;
}

void addOutline(Shape& shape, const std::vector<Point2>& corners)
{
    for (size_t i = 0; i < corners.size(); ++i)
        shape.segments.emplace_back(corners[i], corners[(i + 1) % corners.size()]);
}

}  // namespace

std::vector<Point2> rectangle(Point2 a, Point2 b)
{
    const double x0 = std::min(a.x, b.x);
    const double x1 = std::max(a.x, b.x);
    const double y0 = std::min(a.y, b.y);
    const double y1 = std::max(a.y, b.y);
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

Shape shapeOf(const AcDbEntity* entity)
{
    Shape shape;
    if (entity == nullptr)
        return shape;
    AcDbExtents extents;
    if (entity->getGeomExtents(extents) != Acad::eOk)
        return shape;
    shape.valid = true;
    shape.boxMin = flat(extents.minPoint());
    shape.boxMax = flat(extents.maxPoint());
    shape.anchor = extents.minPoint();
    const std::wstring name = className(entity);
    if (name == L"AcDbPoint") {
        const AcGePoint3d q = static_cast<const AcDbPoint*>(entity)->position();
        shape.dots.push_back(flat(q));
        shape.anchor = q;
        shape.exact = true;
    } else if (name == L"AcDbLine") {
        const auto* line = static_cast<const AcDbLine*>(entity);
        shape.segments.emplace_back(flat(line->startPoint()), flat(line->endPoint()));
        shape.anchor = line->startPoint();
        shape.exact = true;
    } else if (name == L"AcDbFace") {
        const auto* face = static_cast<const AcDbFace*>(entity);
        std::vector<Point2> corners;
        for (Adesk::UInt16 i = 0; i < 4; ++i) {
            AcGePoint3d corner;
            face->getVertexAt(i, corner);
            if (i == 0)
                shape.anchor = corner;
            corners.push_back(flat(corner));
        }
        addOutline(shape, corners);
        shape.exact = true;
    } else if (name == L"AcDbSubDMesh") {
        const auto* mesh = static_cast<const AcDbSubDMesh*>(entity);
        AcGePoint3dArray points;
        AcArray<Adesk::Int32> faces;
        if (mesh->getVertices(points) != Acad::eOk || mesh->getFaceArray(faces) != Acad::eOk)
            return shape;
        shape.anchor = points[0];  // the mesh has extents, so it has a vertex
        const int count = points.length();
        int i = 0;
        while (i < faces.length()) {
            const int n = faces[i];
            if (n <= 0 || i + n >= faces.length())
                break;
            for (int k = 0; k < n; ++k) {
                const int a = faces[i + 1 + k];
                const int b = faces[i + 1 + (k + 1) % n];
                if (a >= 0 && b >= 0 && a < count && b < count)
                    shape.segments.emplace_back(flat(points[a]), flat(points[b]));
            }
            i += n + 1;
        }
        if (shape.segments.empty()) {
            for (const AcGePoint3d& p : points)
                shape.dots.push_back(flat(p));
        }
        shape.exact = true;
    } else {
        addOutline(shape, rectangle(shape.boxMin, shape.boxMax));
    }
    return shape;
}

double distanceTo(const Shape& shape, Point2 p)
{
    if (!shape.valid)
        return -1.0;
    if (!shape.exact && pointInBox(shape, p))
        return 0.0;
    double best = -1.0;
    for (const Point2& d : shape.dots) {
        const double distance = std::hypot(d.x - p.x, d.y - p.y);
        if (best < 0.0 || distance < best)
            best = distance;
    }
    for (const auto& s : shape.segments) {
        const double distance = segmentDistance(p, s.first, s.second);
        if (best < 0.0 || distance < best)
            best = distance;
    }
    return best;
}

bool insidePolygon(const Shape& shape, const std::vector<Point2>& polygon)
{
    if (!shape.valid || polygon.size() < 3)
        return false;
    for (const Point2& v : vertices(shape)) {
        if (!pointInPolygon(v, polygon))
            return false;
    }
    // A polygon with a notch can leave an edge whose ends lie inside.
    for (const auto& s : shape.segments) {
        for (size_t i = 0; i < polygon.size(); ++i) {
            if (segmentsCross(s.first, s.second, polygon[i], polygon[(i + 1) % polygon.size()]))
                return false;
        }
    }
    return true;
}

bool crossesPolygon(const Shape& shape, const std::vector<Point2>& polygon)
{
    if (!shape.valid || polygon.size() < 3)
        return false;
    for (const Point2& v : vertices(shape)) {
        if (pointInPolygon(v, polygon))
            return true;
    }
    for (const auto& s : shape.segments) {
        for (size_t i = 0; i < polygon.size(); ++i) {
            if (segmentsMeet(s.first, s.second, polygon[i], polygon[(i + 1) % polygon.size()]))
                return true;
        }
    }
    // A window inside the box of an entity known only by its box.
    return !shape.exact && pointInBox(shape, polygon[0]);
}

bool crossesFence(const Shape& shape, const std::vector<Point2>& fence)
{
    if (!shape.valid || fence.size() < 2)
        return false;
    for (size_t i = 0; i + 1 < fence.size(); ++i) {
        for (const Point2& d : shape.dots) {
            if (onSegment(d, fence[i], fence[i + 1]))
                return true;
        }
        for (const auto& s : shape.segments) {
            if (segmentsMeet(s.first, s.second, fence[i], fence[i + 1]))
                return true;
        }
    }
    return !shape.exact && pointInBox(shape, fence[0]);
}

}  // namespace kv_editor
