// What the selection sees of an entity in the XY plane: its drawn points and
// segments, or only the box of its extents, and the tests of the selection
// modes against windows, polygons, fences and picked points.
#pragma once

#include <utility>
#include <vector>

#include "gepnt3d.h"

class AcDbEntity;

namespace kv_editor {

struct Point2 {
    double x = 0.0;
    double y = 0.0;
};

struct Shape {
    std::vector<Point2> dots;                         // drawn as single points
    std::vector<std::pair<Point2, Point2>> segments;  // drawn edges
    // False for an entity of a class whose drawing the editor does not know:
    // it is seen as the filled box of its geometric extents.
    bool exact = false;
    // False when the entity has no geometry to select (no extents).
    bool valid = false;
    Point2 boxMin, boxMax;
    AcGePoint3d anchor;  // a point on the entity (its first vertex)
};

Shape shapeOf(const AcDbEntity* entity);

// Distance from the point to what is drawn; 0 inside a box-only shape.
// Negative for a shape that is not valid.
double distanceTo(const Shape& shape, Point2 p);

// Window and window polygon: the whole shape lies inside the closed polygon.
bool insidePolygon(const Shape& shape, const std::vector<Point2>& polygon);
// Crossing and crossing polygon: some of the shape lies inside the polygon or
// crosses its outline.
bool crossesPolygon(const Shape& shape, const std::vector<Point2>& polygon);
// Fence: the open polyline touches the shape.
bool crossesFence(const Shape& shape, const std::vector<Point2>& fence);

// The polygon of the window with these two corners.
std::vector<Point2> rectangle(Point2 a, Point2 b);

}  // namespace kv_editor
