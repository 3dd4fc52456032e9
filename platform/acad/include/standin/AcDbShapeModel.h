// The stand-in's model of a 3D solid, a body and a region.
//
// The real host keeps these shapes in its ACIS modeller, which is not here.
// The stand-in keeps a plain boundary description instead, enough for explode
// to hand back pieces as the host does and for the shapes to be written out
// and read back:
//
//   ShapeModel   a list of faces (empty: the entity holds no shape)
//   ModelFace    one face: planar or not, its normal (planar faces), and one
//                or more closed loops of edges; the first loop is the outer
//                boundary, further loops are holes
//   ModelLoop    the edges of one closed loop, end to end, in order
//   ModelEdge    a line segment (start, end) or a circular arc (centre,
//                normal, radius, start and end angle in radians measured
//                counter-clockwise about the normal from the arc's own x axis,
//                which follows the host's arbitrary-axis rule for the normal)
//
// A region holds exactly one planar face. A 3D solid and a body hold any
// number of faces. Explode works on the faces: a 3D solid gives one region per
// planar face and one single-face body per other face; a body of several
// faces does the same; a body of one face and a region give the curves of
// their loops (lines, arcs, and circles for arcs of a full turn).
#pragma once

#include <vector>

#include "acadstrc.h"
#include "gepnt3d.h"
#include "gevec3d.h"

namespace standin {

struct ModelEdge {
    enum Kind { kLine = 0, kArc = 1 };
    Kind kind = kLine;
    // kLine
    AcGePoint3d start;
    AcGePoint3d end;
    // kArc
    AcGePoint3d center;
    AcGeVector3d normal{0.0, 0.0, 1.0};
    double radius = 0.0;
    double startAngle = 0.0;
    double endAngle = 0.0;

    static ModelEdge line(const AcGePoint3d& from, const AcGePoint3d& to);
    static ModelEdge arc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double startAngle,
                         double endAngle);
    // The edge's first and last points (for an arc, from its angles).
    AcGePoint3d startPoint() const;
    AcGePoint3d endPoint() const;
};

struct ModelLoop {
    std::vector<ModelEdge> edges;
};

struct ModelFace {
    bool planar = true;
    AcGeVector3d normal{0.0, 0.0, 1.0};
    std::vector<ModelLoop> loops;
};

struct ShapeModel {
    std::vector<ModelFace> faces;
    bool isEmpty() const { return faces.empty(); }
};

// eOk when the model is well formed: every face has at least one loop, every
// loop at least one edge, every arc a positive radius and a non-zero normal,
// and every planar face a non-zero normal. Otherwise eInvalidInput.
Acad::ErrorStatus checkModel(const ShapeModel& model);

// The model moved by a transform: points, normals and arcs mapped by it.
void transformModel(ShapeModel& model, const AcGeMatrix3d& xform);

// Ready-made shapes for callers and tests.
// An axis-aligned box between two corners: six planar faces of four lines.
ShapeModel boxModel(const AcGePoint3d& minCorner, const AcGePoint3d& maxCorner);
// An upright cylinder on a base centre: two planar circular faces and one
// curved side face.
ShapeModel cylinderModel(const AcGePoint3d& baseCenter, double radius, double height);
// A planar face of one polygon loop (for a region), normal from the corners'
// order (counter-clockwise seen from the normal).
ShapeModel polygonRegionModel(const std::vector<AcGePoint3d>& corners);

}  // namespace standin
