// dxfOut: the curve entities, written group by group as AutoCAD 2000 does.
#include <cmath>
#include <cstdio>
#include <string>
#include <type_traits>
#include <vector>

#include <dxflib/dl_attributes.h>
#include <dxflib/dl_writer_ascii.h>

#include "DbInternal.h"
#include "EntityRules.h"
#include "DxfOutInternal.h"
#include "dbelipse.h"
#include "dbents.h"
#include "dbpl.h"
#include "dbspline.h"

using acdbimpl::toEcs;

namespace {

constexpr double kDegrees = 57.29577951308232087680;

void head(DL_WriterA& dw, const char* type, const DL_Attributes& attrib, const char* subclass)
{
    dw.entity(type);
    dw.dxfString(100, "AcDbEntity");
    dw.entityAttributes(attrib);
    dw.dxfString(100, subclass);
}

// The normal (group 210), left out when it is the world Z axis.
void extrusion(DL_WriterA& dw, const AcGeVector3d& n)
{
    if (n.x != 0.0 || n.y != 0.0 || n.z != 1.0)
        dw.coord(210, n.x, n.y, n.z);
}

void circleBody(DL_WriterA& dw, const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double thickness)
{
    if (thickness != 0.0)
        dw.dxfReal(39, thickness);
    AcGePoint3d c = toEcs(normal, center);
    dw.coord(10, c.x, c.y, c.z);
    dw.dxfReal(40, radius);
}

std::string hex(unsigned long h)
{
    char text[32];
    std::snprintf(text, sizeof text, "%lX", h);
    return text;
}

void writeSpline(DL_WriterA& dw, const AcDbSpline& spline, const DL_Attributes& attrib)
{
    int degree = 0;
    Adesk::Boolean rational = false, closed = false, periodic = false;
    AcGePoint3dArray controls;
    AcGeDoubleArray knots, weights;
    double controlTol = 0.0, knotTol = 0.0;
    spline.getNurbsData(degree, rational, closed, periodic, controls, knots, weights, controlTol, knotTol);
    if (periodic && knots.length() == controls.length() + 1) {
        // DXF readers take a periodic spline as the ordinary B-spline it
        // stands for, with its control points round the loop repeated.
        std::vector<AcGePoint3d> c(controls.begin(), controls.end());
        std::vector<double> k(knots.begin(), knots.end()), w;
        if (rational)
            w.assign(weights.begin(), weights.end());
        standin::unrollPeriodic(degree, c, k, w);
        controls.removeAll();
        knots.removeAll();
        weights.removeAll();
        for (const AcGePoint3d& q : c)
            controls.append(q);
        for (double v : k)
            knots.append(v);
        for (double v : w)
            weights.append(v);
    }
    head(dw, "SPLINE", attrib, "AcDbSpline");
    int flags = (closed ? 1 : 0) | (periodic ? 2 : 0) | (rational ? 4 : 0);
    dw.dxfInt(70, flags);
    dw.dxfInt(71, degree);
    dw.dxfInt(72, knots.length());
    dw.dxfInt(73, controls.length());
    dw.dxfInt(74, spline.numFitPoints());
    dw.dxfReal(42, knotTol > 0.0 ? knotTol : 1e-10);
    dw.dxfReal(43, controlTol > 0.0 ? controlTol : 1e-10);
    if (spline.numFitPoints() > 0)
        dw.dxfReal(44, spline.fitTolerance() > 0.0 ? spline.fitTolerance() : 1e-10);
    for (double k : knots)
        dw.dxfReal(40, k);
    if (rational)
        for (double w : weights)
            dw.dxfReal(41, w);
    for (const AcGePoint3d& p : controls)
        dw.coord(10, p.x, p.y, p.z);
    for (int i = 0; i < spline.numFitPoints(); ++i) {
        AcGePoint3d p;
        spline.getFitPointAt(i, p);
        dw.coord(11, p.x, p.y, p.z);
    }
}

void writeLwPolyline(DL_WriterA& dw, const AcDbPolyline& pl, const DL_Attributes& attrib)
{
    head(dw, "LWPOLYLINE", attrib, "AcDbPolyline");
    dw.dxfInt(90, static_cast<int>(pl.numVerts()));
    dw.dxfInt(70, pl.isClosed() ? 1 : 0);
    double constant = 0.0;
    if (pl.getConstantWidth(constant) == Acad::eOk && constant != 0.0)
        dw.dxfReal(43, constant);
    if (pl.elevation() != 0.0)
        dw.dxfReal(38, pl.elevation());
    if (pl.thickness() != 0.0)
        dw.dxfReal(39, pl.thickness());
    bool constantWidth = pl.getConstantWidth(constant) == Acad::eOk;
    for (unsigned int i = 0; i < pl.numVerts(); ++i) {
        AcGePoint2d p;
        double bulge = 0.0, sw = 0.0, ew = 0.0;
        pl.getPointAt(i, p);
        pl.getBulgeAt(i, bulge);
        pl.getWidthsAt(i, sw, ew);
        // Plane coordinates: no 30 group.
        dw.dxfReal(10, p.x);
        dw.dxfReal(20, p.y);
        if (!constantWidth) {
            dw.dxfReal(40, sw);
            dw.dxfReal(41, ew);
        }
        if (bulge != 0.0)
            dw.dxfReal(42, bulge);
    }
    extrusion(dw, pl.normal());
}

template <class Poly, class Vertex>
void writeOldPolyline(DL_WriterA& dw, const Poly& pl, const DL_Attributes& attrib, bool is3d)
{
    dw.dxfString(0, "POLYLINE");
    unsigned long owner = dw.handle();
    dw.dxfString(100, "AcDbEntity");
    dw.entityAttributes(attrib);
    dw.dxfString(100, is3d ? "AcDb3dPolyline" : "AcDb2dPolyline");
    dw.dxfInt(66, 1);
    double elevation = 0.0;
    AcGeVector3d normal = AcGeVector3d::kZAxis;
    if constexpr (std::is_same<Poly, AcDb2dPolyline>::value) {
        elevation = pl.elevation();
        normal = pl.normal();
    }
    dw.coord(10, 0.0, 0.0, elevation);
    dw.dxfInt(70, (pl.isClosed() ? 1 : 0) | (is3d ? 8 : 0));
    if (!is3d)
        extrusion(dw, normal);
    AcDbObjectIterator* it = pl.vertexIterator();
    for (; !it->done(); it->step()) {
        const auto* v = static_cast<const Vertex*>(it->entity());
        dw.dxfString(0, "VERTEX");
        dw.handle();
        dw.dxfString(330, hex(owner));
        dw.dxfString(100, "AcDbEntity");
        dw.entityAttributes(attrib);
        dw.dxfString(100, "AcDbVertex");
        AcGePoint3d p = v->position();
        if constexpr (std::is_same<Vertex, AcDb2dVertex>::value) {
            dw.dxfString(100, "AcDb2dVertex");
            dw.coord(10, p.x, p.y, elevation);
            if (v->startWidth() != 0.0)
                dw.dxfReal(40, v->startWidth());
            if (v->endWidth() != 0.0)
                dw.dxfReal(41, v->endWidth());
            if (v->bulge() != 0.0)
                dw.dxfReal(42, v->bulge());
            dw.dxfInt(70, 0);
        } else {
            dw.dxfString(100, "AcDb3dPolylineVertex");
            dw.coord(10, p.x, p.y, p.z);
            dw.dxfInt(70, 32);
        }
    }
    delete it;
    dw.dxfString(0, "SEQEND");
    dw.handle();
    dw.dxfString(330, hex(owner));
    dw.dxfString(100, "AcDbEntity");
    dw.entityAttributes(attrib);
}

}  // namespace

bool acdbimpl::writeCurveEntity(DL_WriterA& dw, const AcDbEntity* e, const DL_Attributes& attrib)
{
    if (const AcDbCircle* circle = AcDbCircle::cast(e)) {
        head(dw, "CIRCLE", attrib, "AcDbCircle");
        circleBody(dw, circle->center(), circle->normal(), circle->radius(), circle->thickness());
        extrusion(dw, circle->normal());
    } else if (const AcDbArc* arc = AcDbArc::cast(e)) {
        head(dw, "ARC", attrib, "AcDbCircle");
        circleBody(dw, arc->center(), arc->normal(), arc->radius(), arc->thickness());
        extrusion(dw, arc->normal());
        dw.dxfString(100, "AcDbArc");
        dw.dxfReal(50, arc->startAngle() * kDegrees);
        dw.dxfReal(51, arc->endAngle() * kDegrees);
    } else if (const AcDbEllipse* ellipse = AcDbEllipse::cast(e)) {
        if (ellipse->isNull())
            return true;  // nothing to draw
        head(dw, "ELLIPSE", attrib, "AcDbEllipse");
        AcGePoint3d c = ellipse->center();
        AcGeVector3d major = ellipse->majorAxis(), n = ellipse->normal();
        dw.coord(10, c.x, c.y, c.z);
        dw.coord(11, major.x, major.y, major.z);
        dw.coord(210, n.x, n.y, n.z);
        dw.dxfReal(40, ellipse->radiusRatio());
        dw.dxfReal(41, ellipse->paramAtAngle(ellipse->startAngle()));
        dw.dxfReal(42, ellipse->paramAtAngle(ellipse->endAngle()));
    } else if (const AcDbSpline* spline = AcDbSpline::cast(e)) {
        if (spline->isNull())
            return true;
        writeSpline(dw, *spline, attrib);
    } else if (const AcDbPolyline* pl = AcDbPolyline::cast(e)) {
        writeLwPolyline(dw, *pl, attrib);
    } else if (const AcDb2dPolyline* pl2 = AcDb2dPolyline::cast(e)) {
        writeOldPolyline<AcDb2dPolyline, AcDb2dVertex>(dw, *pl2, attrib, false);
    } else if (const AcDb3dPolyline* pl3 = AcDb3dPolyline::cast(e)) {
        writeOldPolyline<AcDb3dPolyline, AcDb3dPolylineVertex>(dw, *pl3, attrib, true);
    } else if (const AcDbRay* ray = AcDbRay::cast(e)) {
        head(dw, "RAY", attrib, "AcDbRay");
        AcGePoint3d b = ray->basePoint();
        AcGeVector3d d = ray->unitDir();
        dw.coord(10, b.x, b.y, b.z);
        dw.coord(11, d.x, d.y, d.z);
    } else if (const AcDbXline* xline = AcDbXline::cast(e)) {
        head(dw, "XLINE", attrib, "AcDbXline");
        AcGePoint3d b = xline->basePoint();
        AcGeVector3d d = xline->unitDir();
        dw.coord(10, b.x, b.y, b.z);
        dw.coord(11, d.x, d.y, d.z);
    } else {
        return false;
    }
    return true;
}

AcGePoint3d acdbimpl::toEcs(const AcGeVector3d& n, const AcGePoint3d& p)
{
    const AcGeVector3d x = acdbimpl::arbitraryXAxis(n);
    const AcGeVector3d y = n.crossProduct(x).normal();
    const AcGeVector3d v = p.asVector();
    return AcGePoint3d(v.dotProduct(x), v.dotProduct(y), v.dotProduct(n));
}
