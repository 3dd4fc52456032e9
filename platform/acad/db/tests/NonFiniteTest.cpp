// One rule for every entity setter that takes a point, vector, normal,
// thickness, angle, scale or other double: a value that is not finite is
// refused with eInvalidInput and the entity keeps what it had; a normal or
// direction (kept as a unit vector) refuses a zero one the same way; a finite
// value is taken. A setter that returns nothing ignores such a value.
//
// Each case builds its argument from one number v: NaN, +inf and -inf must be
// refused, v = 0 too where zero makes no normal, direction, radius or other
// such value, and v = 0.75 must be taken and change what the entity reports.
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "DbTest.h"
#include "dbSubD.h"
#include "dbelipse.h"
#include "dbents.h"
#include "dbhatch.h"
#include "dbmline.h"
#include "dbpl.h"
#include "dbsol3d.h"
#include "dbspline.h"
#include "gemat3d.h"

namespace {

using State = std::vector<double>;

void put(State& s, const AcGePoint3d& p)
{
    s.insert(s.end(), {p.x, p.y, p.z});
}
void put(State& s, const AcGePoint2d& p)
{
    s.insert(s.end(), {p.x, p.y});
}
void put(State& s, const AcGeVector3d& v)
{
    s.insert(s.end(), {v.x, v.y, v.z});
}

// The argument shapes: a non-finite v lands in z, where a check that thinks
// in the plane would miss it; a direction is zero for v = 0.
AcGePoint3d pointOf(double v)
{
    return AcGePoint3d(1.0, 2.0, v);
}
AcGePoint2d point2dOf(double v)
{
    return AcGePoint2d(1.0, v);
}
AcGeVector3d directionOf(double v)
{
    return AcGeVector3d(0.0, v, 0.0);
}

enum Zero { kZeroTaken, kZeroRefused };
enum Report { kStatus, kNoStatus };

struct Case {
    std::string name;
    Zero zero;
    Report report;
    std::function<AcDbEntity*()> make;
    std::function<Acad::ErrorStatus(AcDbEntity*, double)> set;
    std::function<State(const AcDbEntity*)> read;
};

template <class E>
Case entry(std::string name, Zero zero, std::function<E*()> make, std::function<Acad::ErrorStatus(E&, double)> set,
           std::function<State(const E&)> read, Report report = kStatus)
{
    return Case{std::move(name), zero, report, [make] { return make(); },
                [set](AcDbEntity* e, double v) { return set(*static_cast<E*>(e), v); },
                [read](const AcDbEntity* e) { return read(*static_cast<const E*>(e)); }};
}

template <class E> std::function<E*()> plain()
{
    return [] { return new E(); };
}

// ---- what each class reports

template <class E> State positionOf(const E& e)
{
    State s;
    put(s, e.position());
    return s;
}
template <class E> State normalOf(const E& e)
{
    State s;
    put(s, e.normal());
    return s;
}
template <class E> State thicknessOf(const E& e)
{
    return {e.thickness()};
}

State lineOf(const AcDbLine& l)
{
    State s;
    put(s, l.startPoint());
    put(s, l.endPoint());
    return s;
}

template <class E> State unboundedOf(const E& l)
{
    State s;
    put(s, l.basePoint());
    put(s, l.unitDir());
    return s;
}

State circleOf(const AcDbCircle& c)
{
    State s;
    put(s, c.center());
    s.push_back(c.radius());
    return s;
}

State arcOf(const AcDbArc& a)
{
    State s;
    put(s, a.center());
    s.insert(s.end(), {a.radius(), a.startAngle(), a.endAngle()});
    return s;
}

State ellipseOf(const AcDbEllipse& e)
{
    AcGePoint3d c;
    AcGeVector3d n, major;
    double ratio = 0, start = 0, end = 0;
    e.get(c, n, major, ratio, start, end);
    State s;
    put(s, c);
    put(s, n);
    put(s, major);
    s.insert(s.end(), {ratio, start, end});
    return s;
}

State splineOf(const AcDbSpline& sp)
{
    int degree = 0;
    Adesk::Boolean rational = false, closed = false, periodic = false;
    AcGePoint3dArray controls;
    AcGeDoubleArray knots, weights;
    double controlTol = 0, knotTol = 0;
    sp.getNurbsData(degree, rational, closed, periodic, controls, knots, weights, controlTol, knotTol);
    State s{static_cast<double>(degree), controlTol, knotTol};
    for (const AcGePoint3d& p : controls)
        put(s, p);
    s.insert(s.end(), knots.begin(), knots.end());
    s.insert(s.end(), weights.begin(), weights.end());
    return s;
}

State vertex2dOf(const AcDb2dVertex& v)
{
    State s;
    put(s, v.position());
    s.insert(s.end(), {v.bulge(), v.startWidth(), v.endWidth(), v.tangent()});
    return s;
}

State polyline2dOf(const AcDb2dPolyline& p)
{
    State s{p.elevation(), p.thickness(), p.defaultStartWidth(), p.defaultEndWidth()};
    put(s, p.normal());
    return s;
}

State polylineOf(const AcDbPolyline& p)
{
    State s{static_cast<double>(p.numVerts()), p.elevation(), p.thickness()};
    put(s, p.normal());
    for (unsigned int i = 0; i < p.numVerts(); ++i) {
        AcGePoint2d pt;
        double bulge = 0, w0 = 0, w1 = 0;
        p.getPointAt(i, pt);
        p.getBulgeAt(i, bulge);
        p.getWidthsAt(i, w0, w1);
        put(s, pt);
        s.insert(s.end(), {bulge, w0, w1});
    }
    return s;
}

AcDbPolyline* twoVertexPolyline()
{
    auto* p = new AcDbPolyline();
    p->addVertexAt(0, AcGePoint2d(0.0, 0.0), 0.0, 0.25, 0.25);
    p->addVertexAt(1, AcGePoint2d(4.0, 0.0), 0.0, 0.25, 0.25);
    return p;
}

State faceOf(const AcDbFace& f)
{
    State s;
    for (Adesk::UInt16 i = 0; i < 4; ++i) {
        AcGePoint3d p;
        f.getVertexAt(i, p);
        put(s, p);
    }
    return s;
}

State solid2dOf(const AcDbSolid& f)
{
    State s{f.thickness()};
    put(s, f.normal());
    for (Adesk::UInt16 i = 0; i < 4; ++i) {
        AcGePoint3d p;
        f.getPointAt(i, p);
        put(s, p);
    }
    return s;
}

State subDOf(const AcDbSubDMesh& m)
{
    AcGePoint3dArray vertices;
    m.getVertices(vertices);
    State s;
    for (const AcGePoint3d& p : vertices)
        put(s, p);
    return s;
}

AcGePoint3dArray tetraCorners(double v)
{
    AcGePoint3dArray points;
    points.append(AcGePoint3d(0.0, 0.0, 0.0));
    points.append(AcGePoint3d(1.0, 0.0, 0.0));
    points.append(AcGePoint3d(0.0, 1.0, 0.0));
    points.append(pointOf(v));
    return points;
}

AcArray<Adesk::Int32> tetraFaces()
{
    AcArray<Adesk::Int32> faces;
    for (Adesk::Int32 i : {3, 0, 1, 2, 3, 0, 1, 3, 3, 1, 2, 3, 3, 2, 0, 3})
        faces.append(i);
    return faces;
}

State mlineOf(const AcDbMline& m)
{
    State s{m.scale(), static_cast<double>(m.numVertices())};
    put(s, m.normal());
    for (int i = 0; i < m.numVertices(); ++i)
        put(s, m.vertexAt(i));
    return s;
}

AcDbMline* twoVertexMline()
{
    auto* m = new AcDbMline();
    m->appendSeg(AcGePoint3d(0.0, 0.0, 0.0));
    m->appendSeg(AcGePoint3d(5.0, 0.0, 0.0));
    return m;
}

State hatchOf(const AcDbHatch& h)
{
    State s{h.patternAngle(), h.patternSpace(), h.elevation(), static_cast<double>(h.numLoops())};
    put(s, h.normal());
    for (int i = 0; i < h.numLoops(); ++i) {
        Adesk::Int32 type = 0;
        AcGePoint3dArray vertices;
        AcGeDoubleArray bulges;
        h.getLoopAt(i, type, vertices, bulges);
        for (const AcGePoint3d& p : vertices)
            put(s, p);
        s.insert(s.end(), bulges.begin(), bulges.end());
    }
    return s;
}

AcGePoint3dArray triangle(double v)
{
    AcGePoint3dArray points;
    points.append(AcGePoint3d(0.0, 0.0, 0.0));
    points.append(AcGePoint3d(4.0, 0.0, 0.0));
    points.append(AcGePoint3d(v, 3.0, 0.0));
    return points;
}

AcGeDoubleArray bulgesOf(double middle)
{
    AcGeDoubleArray bulges;
    bulges.append(0.0);
    bulges.append(middle);
    bulges.append(0.0);
    return bulges;
}

State referenceOf(const AcDbBlockReference& r)
{
    State s;
    put(s, r.position());
    const AcGeScale3d scale = r.scaleFactors();
    s.insert(s.end(), {scale.sx, scale.sy, scale.sz, r.rotation()});
    put(s, r.normal());
    return s;
}

State textOf(const AcDbText& t)
{
    State s{t.height(), t.rotation()};
    put(s, t.position());
    put(s, t.normal());
    return s;
}

// The edges of a solid: its faces exploded, their edge curves exploded.
State edgesOf(const AcDb3dSolid& solid)
{
    State s;
    AcDbVoidPtrArray faces;
    if (solid.explode(faces) != Acad::eOk)
        return s;
    for (void* f : faces) {
        std::unique_ptr<AcDbEntity> face(static_cast<AcDbEntity*>(f));
        AcDbVoidPtrArray curves;
        face->explode(curves);
        for (void* c : curves) {
            std::unique_ptr<AcDbEntity> curve(static_cast<AcDbEntity*>(c));
            if (const AcDbLine* line = AcDbLine::cast(curve.get())) {
                put(s, line->startPoint());
                put(s, line->endPoint());
            }
        }
    }
    return s;
}

// ---- the setters of every entity class

std::vector<Case> setterCases()
{
    std::vector<Case> cases;
    // Point, line, ray, construction line.
    cases.push_back(entry<AcDbPoint>(
        "AcDbPoint::setPosition", kZeroTaken, plain<AcDbPoint>(),
        [](AcDbPoint& e, double v) { return e.setPosition(pointOf(v)); }, positionOf<AcDbPoint>));
    cases.push_back(entry<AcDbPoint>(
        "AcDbPoint::setNormal", kZeroRefused, plain<AcDbPoint>(),
        [](AcDbPoint& e, double v) { return e.setNormal(directionOf(v)); }, normalOf<AcDbPoint>));
    cases.push_back(entry<AcDbPoint>(
        "AcDbPoint::setThickness", kZeroTaken, plain<AcDbPoint>(),
        [](AcDbPoint& e, double v) { return e.setThickness(v); }, thicknessOf<AcDbPoint>));
    cases.push_back(entry<AcDbLine>(
        "AcDbLine::setStartPoint", kZeroTaken, plain<AcDbLine>(),
        [](AcDbLine& e, double v) { return e.setStartPoint(pointOf(v)); }, lineOf));
    cases.push_back(entry<AcDbLine>(
        "AcDbLine::setEndPoint", kZeroTaken, plain<AcDbLine>(),
        [](AcDbLine& e, double v) { return e.setEndPoint(pointOf(v)); }, lineOf));
    cases.push_back(entry<AcDbLine>(
        "AcDbLine::setNormal", kZeroRefused, plain<AcDbLine>(),
        [](AcDbLine& e, double v) { return e.setNormal(directionOf(v)); }, normalOf<AcDbLine>));
    cases.push_back(entry<AcDbLine>(
        "AcDbLine::setThickness", kZeroTaken, plain<AcDbLine>(),
        [](AcDbLine& e, double v) { return e.setThickness(v); }, thicknessOf<AcDbLine>));
    cases.push_back(entry<AcDbRay>(
        "AcDbRay::setBasePoint", kZeroTaken, plain<AcDbRay>(),
        [](AcDbRay& e, double v) {
            e.setBasePoint(pointOf(v));
            return Acad::eOk;
        },
        unboundedOf<AcDbRay>, kNoStatus));
    cases.push_back(entry<AcDbRay>(
        "AcDbRay::setUnitDir", kZeroRefused, plain<AcDbRay>(),
        [](AcDbRay& e, double v) {
            e.setUnitDir(directionOf(v));
            return Acad::eOk;
        },
        unboundedOf<AcDbRay>, kNoStatus));
    cases.push_back(entry<AcDbRay>(
        "AcDbRay::setSecondPoint", kZeroRefused, plain<AcDbRay>(),
        [](AcDbRay& e, double v) {
            e.setSecondPoint(AcGePoint3d::kOrigin + directionOf(v));
            return Acad::eOk;
        },
        unboundedOf<AcDbRay>, kNoStatus));
    cases.push_back(entry<AcDbXline>(
        "AcDbXline::setBasePoint", kZeroTaken, plain<AcDbXline>(),
        [](AcDbXline& e, double v) {
            e.setBasePoint(pointOf(v));
            return Acad::eOk;
        },
        unboundedOf<AcDbXline>, kNoStatus));
    cases.push_back(entry<AcDbXline>(
        "AcDbXline::setUnitDir", kZeroRefused, plain<AcDbXline>(),
        [](AcDbXline& e, double v) {
            e.setUnitDir(directionOf(v));
            return Acad::eOk;
        },
        unboundedOf<AcDbXline>, kNoStatus));
    cases.push_back(entry<AcDbXline>(
        "AcDbXline::setSecondPoint", kZeroRefused, plain<AcDbXline>(),
        [](AcDbXline& e, double v) {
            e.setSecondPoint(AcGePoint3d::kOrigin + directionOf(v));
            return Acad::eOk;
        },
        unboundedOf<AcDbXline>, kNoStatus));

    // Circle, arc, ellipse, spline.
    auto circle = [] { return new AcDbCircle(AcGePoint3d(5.0, 5.0, 0.0), AcGeVector3d::kZAxis, 2.0); };
    cases.push_back(entry<AcDbCircle>(
        "AcDbCircle::setCenter", kZeroTaken, circle, [](AcDbCircle& e, double v) { return e.setCenter(pointOf(v)); },
        circleOf));
    cases.push_back(entry<AcDbCircle>(
        "AcDbCircle::setRadius", kZeroRefused, circle, [](AcDbCircle& e, double v) { return e.setRadius(v); },
        circleOf));
    cases.push_back(entry<AcDbCircle>(
        "AcDbCircle::setNormal", kZeroRefused, circle,
        [](AcDbCircle& e, double v) { return e.setNormal(directionOf(v)); }, normalOf<AcDbCircle>));
    cases.push_back(entry<AcDbCircle>(
        "AcDbCircle::setThickness", kZeroTaken, circle, [](AcDbCircle& e, double v) { return e.setThickness(v); },
        thicknessOf<AcDbCircle>));
    auto arc = [] { return new AcDbArc(AcGePoint3d(5.0, 5.0, 0.0), 2.0, 0.25, 2.0); };
    cases.push_back(entry<AcDbArc>(
        "AcDbArc::setCenter", kZeroTaken, arc, [](AcDbArc& e, double v) { return e.setCenter(pointOf(v)); }, arcOf));
    cases.push_back(entry<AcDbArc>(
        "AcDbArc::setRadius", kZeroRefused, arc, [](AcDbArc& e, double v) { return e.setRadius(v); }, arcOf));
    cases.push_back(entry<AcDbArc>(
        "AcDbArc::setStartAngle", kZeroTaken, arc, [](AcDbArc& e, double v) { return e.setStartAngle(v); }, arcOf));
    cases.push_back(entry<AcDbArc>(
        "AcDbArc::setEndAngle", kZeroTaken, arc, [](AcDbArc& e, double v) { return e.setEndAngle(v); }, arcOf));
    cases.push_back(entry<AcDbArc>(
        "AcDbArc::setNormal", kZeroRefused, arc, [](AcDbArc& e, double v) { return e.setNormal(directionOf(v)); },
        normalOf<AcDbArc>));
    cases.push_back(entry<AcDbArc>(
        "AcDbArc::setThickness", kZeroTaken, arc, [](AcDbArc& e, double v) { return e.setThickness(v); },
        thicknessOf<AcDbArc>));
    auto ellipse = [] {
        return new AcDbEllipse(AcGePoint3d(5.0, 5.0, 0.0), AcGeVector3d::kZAxis, AcGeVector3d(2.0, 0.0, 0.0), 0.5,
                               0.25, 2.0);
    };
    cases.push_back(entry<AcDbEllipse>(
        "AcDbEllipse::setCenter", kZeroTaken, ellipse,
        [](AcDbEllipse& e, double v) { return e.setCenter(pointOf(v)); }, ellipseOf));
    cases.push_back(entry<AcDbEllipse>(
        "AcDbEllipse::setRadiusRatio", kZeroRefused, ellipse,
        [](AcDbEllipse& e, double v) { return e.setRadiusRatio(v); }, ellipseOf));
    cases.push_back(entry<AcDbEllipse>(
        "AcDbEllipse::setStartAngle", kZeroTaken, ellipse,
        [](AcDbEllipse& e, double v) { return e.setStartAngle(v); }, ellipseOf));
    cases.push_back(entry<AcDbEllipse>(
        "AcDbEllipse::setEndAngle", kZeroTaken, ellipse, [](AcDbEllipse& e, double v) { return e.setEndAngle(v); },
        ellipseOf));
    cases.push_back(entry<AcDbEllipse>(
        "AcDbEllipse::setStartParam", kZeroTaken, ellipse,
        [](AcDbEllipse& e, double v) { return e.setStartParam(v); }, ellipseOf));
    cases.push_back(entry<AcDbEllipse>(
        "AcDbEllipse::setEndParam", kZeroTaken, ellipse, [](AcDbEllipse& e, double v) { return e.setEndParam(v); },
        ellipseOf));
    cases.push_back(entry<AcDbEllipse>(
        "AcDbEllipse::set (center)", kZeroTaken, ellipse,
        [](AcDbEllipse& e, double v) {
            return e.set(pointOf(v), AcGeVector3d::kZAxis, AcGeVector3d(2.0, 0.0, 0.0), 0.5);
        },
        ellipseOf));
    cases.push_back(entry<AcDbEllipse>(
        "AcDbEllipse::set (normal)", kZeroRefused, ellipse,
        [](AcDbEllipse& e, double v) {
            return e.set(AcGePoint3d(5.0, 5.0, 0.0), directionOf(v), AcGeVector3d(2.0, 0.0, 0.0), 0.5);
        },
        ellipseOf));
    cases.push_back(entry<AcDbEllipse>(
        "AcDbEllipse::set (major axis)", kZeroRefused, ellipse,
        [](AcDbEllipse& e, double v) {
            return e.set(AcGePoint3d(5.0, 5.0, 0.0), AcGeVector3d::kZAxis, directionOf(v), 0.5);
        },
        ellipseOf));
    cases.push_back(entry<AcDbEllipse>(
        "AcDbEllipse::set (ratio)", kZeroRefused, ellipse,
        [](AcDbEllipse& e, double v) {
            return e.set(AcGePoint3d(5.0, 5.0, 0.0), AcGeVector3d::kZAxis, AcGeVector3d(2.0, 0.0, 0.0), v);
        },
        ellipseOf));
    cases.push_back(entry<AcDbEllipse>(
        "AcDbEllipse::set (end angle)", kZeroTaken, ellipse,
        [](AcDbEllipse& e, double v) {
            return e.set(AcGePoint3d(5.0, 5.0, 0.0), AcGeVector3d::kZAxis, AcGeVector3d(2.0, 0.0, 0.0), 0.5, 0.25, v);
        },
        ellipseOf));
    // Degree 1 through two control points; v goes into one value at a time.
    auto nurbs = [](AcDbSpline& s, const AcGePoint3d& second, double lastKnots, double weight, double tol) {
        AcGePoint3dArray controls;
        controls.append(AcGePoint3d(0.0, 0.0, 0.0));
        controls.append(second);
        AcGeDoubleArray knots, weights;
        for (double k : {0.0, 0.0, lastKnots, lastKnots})
            knots.append(k);
        weights.append(1.0);
        weights.append(weight);
        return s.setNurbsData(1, Adesk::kTrue, Adesk::kFalse, Adesk::kFalse, controls, knots, weights, tol, 0.0);
    };
    auto spline = [nurbs] {
        auto* s = new AcDbSpline();
        nurbs(*s, AcGePoint3d(3.0, 0.0, 0.0), 1.0, 1.0, 0.0);
        return s;
    };
    cases.push_back(entry<AcDbSpline>(
        "AcDbSpline::setNurbsData (control point)", kZeroTaken, spline,
        [nurbs](AcDbSpline& s, double v) { return nurbs(s, pointOf(v), 1.0, 1.0, 0.0); }, splineOf));
    cases.push_back(entry<AcDbSpline>(
        "AcDbSpline::setNurbsData (knot)", kZeroRefused, spline,
        [nurbs](AcDbSpline& s, double v) { return nurbs(s, AcGePoint3d(3.0, 0.0, 0.0), v, 1.0, 0.0); }, splineOf));
    cases.push_back(entry<AcDbSpline>(
        "AcDbSpline::setNurbsData (weight)", kZeroRefused, spline,
        [nurbs](AcDbSpline& s, double v) { return nurbs(s, AcGePoint3d(3.0, 0.0, 0.0), 1.0, v, 0.0); }, splineOf));
    cases.push_back(entry<AcDbSpline>(
        "AcDbSpline::setNurbsData (tolerance)", kZeroTaken, spline,
        [nurbs](AcDbSpline& s, double v) { return nurbs(s, AcGePoint3d(3.0, 0.0, 0.0), 1.0, 1.0, v); }, splineOf));
    cases.push_back(entry<AcDbSpline>(
        "AcDbSpline::setControlPointAt", kZeroTaken, spline,
        [](AcDbSpline& s, double v) { return s.setControlPointAt(1, pointOf(v)); }, splineOf));

    // Old-style polylines and their vertices, the lightweight polyline.
    auto vertex2d = [] { return new AcDb2dVertex(AcGePoint3d(5.0, 5.0, 0.0), 0.25, 0.25, 0.25, 0.25); };
    cases.push_back(entry<AcDb2dVertex>(
        "AcDb2dVertex::setPosition", kZeroTaken, vertex2d,
        [](AcDb2dVertex& e, double v) { return e.setPosition(pointOf(v)); }, vertex2dOf));
    cases.push_back(entry<AcDb2dVertex>(
        "AcDb2dVertex::setBulge", kZeroTaken, vertex2d, [](AcDb2dVertex& e, double v) { return e.setBulge(v); },
        vertex2dOf));
    cases.push_back(entry<AcDb2dVertex>(
        "AcDb2dVertex::setStartWidth", kZeroTaken, vertex2d,
        [](AcDb2dVertex& e, double v) { return e.setStartWidth(v); }, vertex2dOf));
    cases.push_back(entry<AcDb2dVertex>(
        "AcDb2dVertex::setEndWidth", kZeroTaken, vertex2d,
        [](AcDb2dVertex& e, double v) { return e.setEndWidth(v); }, vertex2dOf));
    cases.push_back(entry<AcDb2dVertex>(
        "AcDb2dVertex::setTangent", kZeroTaken, vertex2d, [](AcDb2dVertex& e, double v) { return e.setTangent(v); },
        vertex2dOf));
    cases.push_back(entry<AcDb3dPolylineVertex>(
        "AcDb3dPolylineVertex::setPosition", kZeroTaken, plain<AcDb3dPolylineVertex>(),
        [](AcDb3dPolylineVertex& e, double v) { return e.setPosition(pointOf(v)); },
        positionOf<AcDb3dPolylineVertex>));
    cases.push_back(entry<AcDb2dPolyline>(
        "AcDb2dPolyline::setElevation", kZeroTaken, plain<AcDb2dPolyline>(),
        [](AcDb2dPolyline& e, double v) { return e.setElevation(v); }, polyline2dOf));
    cases.push_back(entry<AcDb2dPolyline>(
        "AcDb2dPolyline::setNormal", kZeroRefused, plain<AcDb2dPolyline>(),
        [](AcDb2dPolyline& e, double v) { return e.setNormal(directionOf(v)); }, polyline2dOf));
    cases.push_back(entry<AcDb2dPolyline>(
        "AcDb2dPolyline::setThickness", kZeroTaken, plain<AcDb2dPolyline>(),
        [](AcDb2dPolyline& e, double v) { return e.setThickness(v); }, polyline2dOf));
    cases.push_back(entry<AcDb2dPolyline>(
        "AcDb2dPolyline::setDefaultStartWidth", kZeroTaken, plain<AcDb2dPolyline>(),
        [](AcDb2dPolyline& e, double v) { return e.setDefaultStartWidth(v); }, polyline2dOf));
    cases.push_back(entry<AcDb2dPolyline>(
        "AcDb2dPolyline::setDefaultEndWidth", kZeroTaken, plain<AcDb2dPolyline>(),
        [](AcDb2dPolyline& e, double v) { return e.setDefaultEndWidth(v); }, polyline2dOf));
    cases.push_back(entry<AcDbPolyline>(
        "AcDbPolyline::addVertexAt (point)", kZeroTaken, twoVertexPolyline,
        [](AcDbPolyline& e, double v) { return e.addVertexAt(2, point2dOf(v)); }, polylineOf));
    cases.push_back(entry<AcDbPolyline>(
        "AcDbPolyline::addVertexAt (bulge)", kZeroTaken, twoVertexPolyline,
        [](AcDbPolyline& e, double v) { return e.addVertexAt(2, AcGePoint2d(4.0, 4.0), v); }, polylineOf));
    cases.push_back(entry<AcDbPolyline>(
        "AcDbPolyline::addVertexAt (start width)", kZeroTaken, twoVertexPolyline,
        [](AcDbPolyline& e, double v) { return e.addVertexAt(2, AcGePoint2d(4.0, 4.0), 0.0, v, 0.25); },
        polylineOf));
    cases.push_back(entry<AcDbPolyline>(
        "AcDbPolyline::addVertexAt (end width)", kZeroTaken, twoVertexPolyline,
        [](AcDbPolyline& e, double v) { return e.addVertexAt(2, AcGePoint2d(4.0, 4.0), 0.0, 0.25, v); },
        polylineOf));
    cases.push_back(entry<AcDbPolyline>(
        "AcDbPolyline::setPointAt", kZeroTaken, twoVertexPolyline,
        [](AcDbPolyline& e, double v) { return e.setPointAt(1, point2dOf(v)); }, polylineOf));
    cases.push_back(entry<AcDbPolyline>(
        "AcDbPolyline::setBulgeAt", kZeroTaken, twoVertexPolyline,
        [](AcDbPolyline& e, double v) { return e.setBulgeAt(0, v); }, polylineOf));
    cases.push_back(entry<AcDbPolyline>(
        "AcDbPolyline::setWidthsAt (start)", kZeroTaken, twoVertexPolyline,
        [](AcDbPolyline& e, double v) { return e.setWidthsAt(0, v, 0.25); }, polylineOf));
    cases.push_back(entry<AcDbPolyline>(
        "AcDbPolyline::setWidthsAt (end)", kZeroTaken, twoVertexPolyline,
        [](AcDbPolyline& e, double v) { return e.setWidthsAt(0, 0.25, v); }, polylineOf));
    cases.push_back(entry<AcDbPolyline>(
        "AcDbPolyline::setElevation", kZeroTaken, twoVertexPolyline,
        [](AcDbPolyline& e, double v) {
            e.setElevation(v);
            return Acad::eOk;
        },
        polylineOf, kNoStatus));
    cases.push_back(entry<AcDbPolyline>(
        "AcDbPolyline::setNormal", kZeroRefused, twoVertexPolyline,
        [](AcDbPolyline& e, double v) { return e.setNormal(directionOf(v)); }, polylineOf));
    cases.push_back(entry<AcDbPolyline>(
        "AcDbPolyline::setThickness", kZeroTaken, twoVertexPolyline,
        [](AcDbPolyline& e, double v) { return e.setThickness(v); }, polylineOf));
    cases.push_back(entry<AcDbPolyline>(
        "AcDbPolyline::setConstantWidth", kZeroTaken, twoVertexPolyline,
        [](AcDbPolyline& e, double v) { return e.setConstantWidth(v); }, polylineOf));

    // Faces, 2D solids, meshes and their vertices.
    auto face = [] {
        return new AcDbFace(AcGePoint3d(0, 0, 0), AcGePoint3d(4, 0, 0), AcGePoint3d(4, 4, 0), AcGePoint3d(0, 4, 0));
    };
    cases.push_back(entry<AcDbFace>(
        "AcDbFace::setVertexAt", kZeroTaken, face, [](AcDbFace& e, double v) { return e.setVertexAt(2, pointOf(v)); },
        faceOf));
    auto solid2d = [] { return new AcDbSolid(AcGePoint3d(0, 0, 0), AcGePoint3d(4, 0, 0), AcGePoint3d(0, 4, 0)); };
    cases.push_back(entry<AcDbSolid>(
        "AcDbSolid::setPointAt", kZeroTaken, solid2d,
        [](AcDbSolid& e, double v) { return e.setPointAt(3, pointOf(v)); }, solid2dOf));
    cases.push_back(entry<AcDbSolid>(
        "AcDbSolid::setThickness", kZeroTaken, solid2d, [](AcDbSolid& e, double v) { return e.setThickness(v); },
        solid2dOf));
    cases.push_back(entry<AcDbSolid>(
        "AcDbSolid::setNormal", kZeroRefused, solid2d,
        [](AcDbSolid& e, double v) { return e.setNormal(directionOf(v)); }, solid2dOf));
    cases.push_back(entry<AcDbPolyFaceMeshVertex>(
        "AcDbPolyFaceMeshVertex::setPosition", kZeroTaken, plain<AcDbPolyFaceMeshVertex>(),
        [](AcDbPolyFaceMeshVertex& e, double v) { return e.setPosition(pointOf(v)); },
        positionOf<AcDbPolyFaceMeshVertex>));
    cases.push_back(entry<AcDbPolygonMeshVertex>(
        "AcDbPolygonMeshVertex::setPosition", kZeroTaken, plain<AcDbPolygonMeshVertex>(),
        [](AcDbPolygonMeshVertex& e, double v) { return e.setPosition(pointOf(v)); },
        positionOf<AcDbPolygonMeshVertex>));
    cases.push_back(entry<AcDbSubDMesh>(
        "AcDbSubDMesh::setSubDMesh", kZeroTaken,
        [] {
            auto* m = new AcDbSubDMesh();
            m->setSubDMesh(tetraCorners(3.0), tetraFaces(), 0);
            return m;
        },
        [](AcDbSubDMesh& e, double v) { return e.setSubDMesh(tetraCorners(v), tetraFaces(), 0); }, subDOf));

    // Multiline, hatch.
    cases.push_back(entry<AcDbMline>(
        "AcDbMline::setScale", kZeroTaken, twoVertexMline, [](AcDbMline& e, double v) { return e.setScale(v); },
        mlineOf));
    cases.push_back(entry<AcDbMline>(
        "AcDbMline::setNormal", kZeroRefused, twoVertexMline,
        [](AcDbMline& e, double v) { return e.setNormal(directionOf(v)); }, mlineOf));
    cases.push_back(entry<AcDbMline>(
        "AcDbMline::appendSeg", kZeroTaken, twoVertexMline,
        [](AcDbMline& e, double v) { return e.appendSeg(pointOf(v)); }, mlineOf));
    cases.push_back(entry<AcDbMline>(
        "AcDbMline::moveVertexAt", kZeroTaken, twoVertexMline,
        [](AcDbMline& e, double v) { return e.moveVertexAt(1, pointOf(v)); }, mlineOf));
    auto hatch = [] {
        auto* h = new AcDbHatch();
        h->setPatternSpace(2.0);
        return h;
    };
    cases.push_back(entry<AcDbHatch>(
        "AcDbHatch::setPatternAngle", kZeroTaken, hatch, [](AcDbHatch& e, double v) { return e.setPatternAngle(v); },
        hatchOf));
    cases.push_back(entry<AcDbHatch>(
        "AcDbHatch::setPatternSpace", kZeroRefused, hatch, [](AcDbHatch& e, double v) { return e.setPatternSpace(v); },
        hatchOf));
    cases.push_back(entry<AcDbHatch>(
        "AcDbHatch::setElevation", kZeroTaken, hatch, [](AcDbHatch& e, double v) { return e.setElevation(v); },
        hatchOf));
    cases.push_back(entry<AcDbHatch>(
        "AcDbHatch::setNormal", kZeroRefused, hatch,
        [](AcDbHatch& e, double v) { return e.setNormal(directionOf(v)); }, hatchOf));
    cases.push_back(entry<AcDbHatch>(
        "AcDbHatch::appendLoop (vertex)", kZeroTaken, hatch,
        [](AcDbHatch& e, double v) { return e.appendLoop(AcDbHatch::kExternal, triangle(v), AcGeDoubleArray()); },
        hatchOf));
    cases.push_back(entry<AcDbHatch>(
        "AcDbHatch::appendLoop (bulge)", kZeroTaken, hatch,
        [](AcDbHatch& e, double v) { return e.appendLoop(AcDbHatch::kExternal, triangle(1.0), bulgesOf(v)); },
        hatchOf));

    // Block reference, text, 3D solid.
    cases.push_back(entry<AcDbBlockReference>(
        "AcDbBlockReference::setPosition", kZeroTaken, plain<AcDbBlockReference>(),
        [](AcDbBlockReference& e, double v) { return e.setPosition(pointOf(v)); }, referenceOf));
    cases.push_back(entry<AcDbBlockReference>(
        "AcDbBlockReference::setScaleFactors", kZeroRefused, plain<AcDbBlockReference>(),
        [](AcDbBlockReference& e, double v) { return e.setScaleFactors(AcGeScale3d(1.0, 1.0, v)); }, referenceOf));
    cases.push_back(entry<AcDbBlockReference>(
        "AcDbBlockReference::setRotation", kZeroTaken, plain<AcDbBlockReference>(),
        [](AcDbBlockReference& e, double v) { return e.setRotation(v); }, referenceOf));
    cases.push_back(entry<AcDbBlockReference>(
        "AcDbBlockReference::setNormal", kZeroRefused, plain<AcDbBlockReference>(),
        [](AcDbBlockReference& e, double v) { return e.setNormal(directionOf(v)); }, referenceOf));
    cases.push_back(entry<AcDbBlockReference>(
        "AcDbBlockReference::setBlockTransform", kZeroTaken, plain<AcDbBlockReference>(),
        [](AcDbBlockReference& e, double v) {
            AcGeMatrix3d m;
            m.entry[1][3] = v;
            return e.setBlockTransform(m);
        },
        referenceOf));
    auto text = [] { return new AcDbText(AcGePoint3d(5.0, 5.0, 0.0), L"kv", AcDbObjectId::kNull, 2.0, 0.25); };
    cases.push_back(entry<AcDbText>(
        "AcDbText::setPosition", kZeroTaken, text, [](AcDbText& e, double v) { return e.setPosition(pointOf(v)); },
        textOf));
    cases.push_back(entry<AcDbText>(
        "AcDbText::setHeight", kZeroRefused, text, [](AcDbText& e, double v) { return e.setHeight(v); }, textOf));
    cases.push_back(entry<AcDbText>(
        "AcDbText::setRotation", kZeroTaken, text, [](AcDbText& e, double v) { return e.setRotation(v); }, textOf));
    cases.push_back(entry<AcDbText>(
        "AcDbText::setNormal", kZeroRefused, text, [](AcDbText& e, double v) { return e.setNormal(directionOf(v)); },
        textOf));
    cases.push_back(entry<AcDb3dSolid>(
        "AcDb3dSolid::createBox", kZeroRefused,
        [] {
            auto* s = new AcDb3dSolid();
            s->createBox(2.0, 2.0, 2.0);
            return s;
        },
        [](AcDb3dSolid& e, double v) { return e.createBox(2.0, 2.0, v); }, edgesOf));
    return cases;
}

std::string valueName(double v)
{
    if (std::isnan(v))
        return "NaN";
    if (std::isinf(v))
        return v > 0 ? "+inf" : "-inf";
    return std::to_string(v);
}

class NonFiniteTest : public DbTest {};

TEST_F(NonFiniteTest, EverySetterRefusesWhatIsNotFiniteAndTakesAFiniteValue)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const Case& c : setterCases()) {
        std::vector<double> refused{nan, inf, -inf};
        if (c.zero == kZeroRefused)
            refused.push_back(0.0);
        for (double v : refused) {
            SCOPED_TRACE(c.name + " with " + valueName(v));
            std::unique_ptr<AcDbEntity> e(c.make());
            const State before = c.read(e.get());
            const Acad::ErrorStatus es = c.set(e.get(), v);
            if (c.report == kStatus) {
                EXPECT_EQ(es, Acad::eInvalidInput);
            }
            EXPECT_EQ(c.read(e.get()), before) << "the refused value changed the entity";
        }
        SCOPED_TRACE(c.name + " with 0.75");
        std::unique_ptr<AcDbEntity> e(c.make());
        const State before = c.read(e.get());
        EXPECT_EQ(c.set(e.get(), 0.75), Acad::eOk);
        const State after = c.read(e.get());
        EXPECT_NE(after, before) << "the finite value was not taken";
        for (double x : after)
            EXPECT_TRUE(std::isfinite(x));
    }
}

// Negative thicknesses extrude the other way; they are values like any other.
TEST_F(NonFiniteTest, ThicknessOfEitherSignIsTaken)
{
    for (const Case& c : setterCases()) {
        if (c.name.find("setThickness") == std::string::npos)
            continue;
        SCOPED_TRACE(c.name);
        std::unique_ptr<AcDbEntity> e(c.make());
        const State before = c.read(e.get());
        EXPECT_EQ(c.set(e.get(), -0.75), Acad::eOk);
        EXPECT_NE(c.read(e.get()), before);
    }
}

// A constructor cannot refuse: what its setter would refuse leaves the
// class's default (the origin, the Z normal, zero, the default height).
TEST_F(NonFiniteTest, ConstructorsKeepTheDefaultForWhatTheSetterWouldRefuse)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const AcGePoint3d bad(1.0, nan, 2.0);
    const AcGePoint3d o = AcGePoint3d::kOrigin;
    const AcGePoint3d p(4.0, 0.0, 0.0);

    AcDbPoint point(bad);
    EXPECT_EQ(point.position(), o);
    AcDbLine line(bad, p);
    EXPECT_EQ(line.startPoint(), o);
    EXPECT_EQ(line.endPoint(), p);

    AcDbCircle circle(bad, AcGeVector3d(0.0, inf, 0.0), inf);
    EXPECT_EQ(circle.center(), o);
    EXPECT_EQ(circle.normal(), AcGeVector3d::kZAxis);
    EXPECT_EQ(circle.radius(), 0.0);
    AcDbArc arc(p, AcGeVector3d(0.0, 0.0, 0.0), 2.0, nan, -inf);
    EXPECT_EQ(arc.normal(), AcGeVector3d::kZAxis);
    EXPECT_EQ(arc.radius(), 2.0);
    EXPECT_EQ(arc.startAngle(), 0.0);
    EXPECT_EQ(arc.endAngle(), 0.0);
    AcDbEllipse ellipse(p, AcGeVector3d::kZAxis, AcGeVector3d(2.0, 0.0, 0.0), nan);
    EXPECT_TRUE(ellipse.isNull());

    AcDb2dVertex vertex(bad, nan, inf, -inf, nan);
    EXPECT_EQ(vertex2dOf(vertex), (State{0, 0, 0, 0, 0, 0, 0}));
    AcDb3dPolylineVertex vertex3d(bad);
    EXPECT_EQ(vertex3d.position(), o);
    AcDb2dPolyline polyline2d(AcDb::k2dSimplePoly, AcGePoint3dArray(), nan, Adesk::kFalse, inf, nan);
    EXPECT_EQ(polyline2dOf(polyline2d), (State{0, 0, 0, 0, 0, 0, 1}));

    AcDbFace face(bad, p, p, bad);
    EXPECT_EQ(faceOf(face), (State{0, 0, 0, 4, 0, 0, 4, 0, 0, 0, 0, 0}));
    AcDbSolid solid(p, bad, p);
    AcGePoint3d corner;
    solid.getPointAt(1, corner);
    EXPECT_EQ(corner, o);
    AcDbPolyFaceMeshVertex faceVertex(bad);
    EXPECT_EQ(faceVertex.position(), o);
    AcDbPolygonMeshVertex gridVertex(bad);
    EXPECT_EQ(gridVertex.position(), o);

    AcDbBlockReference reference(bad, AcDbObjectId::kNull);
    EXPECT_EQ(reference.position(), o);
    AcDbText text(bad, L"kv", AcDbObjectId::kNull, inf, nan);
    EXPECT_EQ(textOf(text), (State{0.2, 0, 0, 0, 0, 0, 0, 1}));

    AcGePoint3dArray controls;
    controls.append(o);
    controls.append(p);
    AcGeDoubleArray knots, weights;
    for (double k : {0.0, 0.0, 1.0, 1.0})
        knots.append(k);
    AcDbSpline spline(1, Adesk::kFalse, Adesk::kFalse, Adesk::kFalse, controls, knots, weights, nan, inf);
    ASSERT_FALSE(spline.isNull());
    EXPECT_EQ(splineOf(spline)[1], 0.0);
    EXPECT_EQ(splineOf(spline)[2], 0.0);
}

}  // namespace
