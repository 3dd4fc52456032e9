// DXFIN's entity builders. The curves, meshes, solids, texts, hatches and
// block references are read from the checked groups, every count checked against
// the groups present; 3DFACE, LINE and POINT and the layer and linetype
// tables are read by dxflib from a text made of those records alone.
#include "dxfin/Builders.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <charconv>
#include <istream>
#include <streambuf>
#include <utility>
#include <vector>

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include "EntityRules.h"
#include "standin/AcDbStandin.h"
#include "standin/WideFormat.h"
#include "dbSubD.h"
#include "dbelipse.h"
#include "dbhatch.h"
#include "dbpl.h"
#include "dbspline.h"

namespace standin::dxfin {

// DXF text as wide text: \U+XXXX escapes and UTF-8.
std::wstring dxfWide(const std::string& text)
{
    std::wstring raw = standin::widen(text);
    std::wstring out;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (i + 7 <= raw.size() && raw.compare(i, 3, L"\\U+") == 0) {
            unsigned long c = 0;
            bool hex = true;
            for (size_t k = i + 3; k < i + 7; ++k) {
                const wchar_t h = raw[k];
                c <<= 4;
                if (h >= L'0' && h <= L'9')
                    c |= static_cast<unsigned long>(h - L'0');
                else if (h >= L'A' && h <= L'F')
                    c |= static_cast<unsigned long>(h - L'A' + 10);
                else if (h >= L'a' && h <= L'f')
                    c |= static_cast<unsigned long>(h - L'a' + 10);
                else
                    hex = false;
            }
            if (hex && c != 0) {
                out += static_cast<wchar_t>(c);
                i += 6;
                continue;
            }
        }
        out += raw[i];
    }
    return out;
}

EntityList::~EntityList()
{
    for (Built& b : list)
        delete b.entity;  // only entities that no database took
}

const Properties* EntityList::share(Properties p)
{
    std::wstring key = p.layer;
    key += L'\n';
    key += p.linetype;
    key += L'\n';
    key += std::to_wstring(p.color.color());
    const auto found = shared_.find(key);
    if (found != shared_.end())
        return found->second;
    properties_.push_back(std::move(p));
    return shared_.emplace(std::move(key), &properties_.back()).first->second;
}

namespace {

// The colour of groups 62 and 420; false when they name none.
bool colorOf(int aci, int trueColor, AcCmColor& color)
{
    if (trueColor > 0xFFFFFF || trueColor < -1)
        return false;
    if (trueColor >= 0 && aci != 0 && aci != 256) {
        color.setRGB(static_cast<Adesk::UInt8>(trueColor >> 16), static_cast<Adesk::UInt8>(trueColor >> 8),
                     static_cast<Adesk::UInt8>(trueColor));
        return true;
    }
    if (aci == 256) {
        color.setColorMethod(AcCmEntityColor::kByLayer);
        return true;
    }
    if (aci == 0) {
        color.setColorMethod(AcCmEntityColor::kByBlock);
        return true;
    }
    if (aci < 1 || aci > 255)
        return false;
    color.setColorIndex(static_cast<Adesk::UInt16>(aci));
    return true;
}

Properties propertiesOf(const DL_Attributes& a, size_t line)
{
    Properties p;
    p.layer = dxfWide(a.getLayer());
    if (p.layer.empty())
        p.layer = L"0";
    p.linetype = dxfWide(a.getLinetype());
    if (!colorOf(a.getColor(), a.getColor24(), p.color))
        failAt(line, L"a bad colour");
    return p;
}

bool finitePoint(double x, double y, double z)
{
    return std::isfinite(x) && std::isfinite(y) && std::isfinite(z);
}

// MESH from its groups: version, blend, level, the vertices, the face list
// and what follows (edges, creases, overrides), which the drawing does not keep.
AcDbEntity* buildMesh(const std::vector<Pair>& pairs, const ScannedEntity& e, Properties& props)
{
    size_t i = e.first + 1;
    const size_t end = e.last;
    const size_t line = pairs[e.first].line;
    int aci = 256;
    long long trueColor = -1;
    std::string layer = "0", linetype;
    // Common groups come before the subclass marker AcDbSubDMesh.
    for (; i < end; ++i) {
        const Pair& p = pairs[i];
        if (p.code == 100 && p.value() == "AcDbSubDMesh") {
            ++i;
            break;
        }
        if (p.code == 8)
            layer = std::string(p.value());
        else if (p.code == 6)
            linetype = std::string(p.value());
        else if (p.code == 62)
            aci = static_cast<int>(intOf(p));
        else if (p.code == 420)
            trueColor = intOf(p);
    }
    props.layer = dxfWide(layer);
    if (props.layer.empty())
        props.layer = L"0";
    props.linetype = dxfWide(linetype);
    if (trueColor > 0xFFFFFF || !colorOf(aci, static_cast<int>(trueColor), props.color))
        failAt(line, L"a bad colour");

    auto next = [&](int code) -> const Pair& {
        if (i >= end || pairs[i].code != code)
            failAt(i < end ? pairs[i].line : line, L"MESH: group " + std::to_wstring(code) + L" expected");
        return pairs[i++];
    };
    auto count = [&](int code, size_t perItem) -> size_t {
        const long long n = intOf(next(code));
        if (n < 0 || static_cast<unsigned long long>(n) > (end - i) / perItem)
            failAt(pairs[i - 1].line, L"MESH: a count of " + std::to_wstring(n) + L" that the entity does not hold");
        return static_cast<size_t>(n);
    };
    long long level = 0;
    if (i < end && pairs[i].code == 71)
        ++i;
    if (i < end && pairs[i].code == 72)
        ++i;
    level = intOf(next(91));
    if (level < 0 || level > 16)
        failAt(pairs[i - 1].line, L"MESH: a subdivision level out of range");
    const size_t vertexCount = count(92, 3);
    AcGePoint3dArray vertices;
    vertices.setPhysicalLength(static_cast<int>(vertexCount));
    for (size_t k = 0; k < vertexCount; ++k) {
        const double x = realOf(next(10));
        const double y = realOf(next(20));
        const double z = realOf(next(30));
        vertices.append(AcGePoint3d(x, y, z));
    }
    const size_t listCount = count(93, 1);
    AcArray<Adesk::Int32> faces;
    faces.setPhysicalLength(static_cast<int>(listCount));
    for (size_t k = 0; k < listCount; ++k)
        faces.append(static_cast<Adesk::Int32>(intOf(next(90))));
    if (i < end && pairs[i].code == 94) {
        const size_t edges = count(94, 2);
        for (size_t k = 0; k < 2 * edges; ++k)
            next(90);
    }
    if (i < end && pairs[i].code == 95) {
        const size_t creases = count(95, 1);
        for (size_t k = 0; k < creases; ++k)
            next(140);
    }
    std::unique_ptr<AcDbSubDMesh> mesh(new AcDbSubDMesh());
    if (mesh->setSubDMesh(vertices, faces, static_cast<int>(level)) != Acad::eOk)
        failAt(line, L"MESH: a face list that does not fit its vertices");
    return mesh.release();
}

// ---- Entities read from the checked groups -------------------------------

constexpr double kRadiansPerDegree = 0.01745329251994329576923690768489;

// The groups of one record (an entity, or a VERTEX of a POLYLINE) with the
// name of its type for the messages.
struct Record {
    const std::vector<Pair>& pairs;
    size_t begin, end;  // the record's "0" pair, one past its last pair
    std::string_view type;

    size_t line() const { return pairs[begin].line; }
    [[noreturn]] void refuse(const std::wstring& reason) const
    {
        failAt(line(), standin::widen(std::string(type)) + L": " + reason);
    }
    const Pair* find(int code) const
    {
        for (size_t i = begin + 1; i < end; ++i)
            if (pairs[i].code == code)
                return &pairs[i];
        return nullptr;
    }
    double real(int code, double fallback) const
    {
        const Pair* p = find(code);
        return p != nullptr ? realOf(*p) : fallback;
    }
    double required(int code) const
    {
        const Pair* p = find(code);
        if (p == nullptr)
            refuse(L"group " + std::to_wstring(code) + L" is missing");
        return realOf(*p);
    }
    long long integer(int code, long long fallback) const
    {
        const Pair* p = find(code);
        return p != nullptr ? intOf(*p) : fallback;
    }
    // Groups code, code + 10 and code + 20; the first two are required.
    AcGePoint3d point(int code) const { return AcGePoint3d(required(code), required(code + 10), real(code + 20, 0.0)); }
    AcGeVector3d normal() const
    {
        AcGeVector3d n(real(210, 0.0), real(220, 0.0), real(230, 1.0));
        const double length = n.length();
        if (!(length > 1e-12) || !std::isfinite(length))
            refuse(L"a zero extrusion direction");
        return n / length;
    }
    // An entity's layer, linetype and colour.
    Properties properties() const
    {
        Properties props;
        props.layer = dxfWide(std::string(find(8) != nullptr ? find(8)->value() : std::string_view("0")));
        if (props.layer.empty())
            props.layer = L"0";
        props.linetype = dxfWide(std::string(find(6) != nullptr ? find(6)->value() : std::string_view()));
        const long long aci = integer(62, 256), trueColor = integer(420, -1);
        if (aci < -256 || aci > 256 || trueColor > 0xFFFFFF || trueColor < -1 ||
            !colorOf(static_cast<int>(aci), static_cast<int>(trueColor), props.color))
            failAt(line(), L"a bad colour");
        return props;
    }
    void check(Acad::ErrorStatus es, const wchar_t* what) const
    {
        if (es != Acad::eOk)
            refuse(std::wstring(what) + L" that the drawing does not take");
    }
};

// A point of an entity's own coordinate system (normal n) in world coordinates.
AcGePoint3d fromEcs(const AcGeVector3d& n, const AcGePoint3d& p)
{
    const AcGeVector3d x = acdbimpl::arbitraryXAxis(n);
    const AcGeVector3d y = n.crossProduct(x).normal();
    return AcGePoint3d::kOrigin + x * p.x + y * p.y + n * p.z;
}

AcDbEntity* buildCircleOrArc(const Record& r)
{
    const AcGeVector3d n = r.normal();
    const AcGePoint3d center = fromEcs(n, r.point(10));
    const double radius = r.required(40);
    const double thickness = r.real(39, 0.0);
    if (r.type == "CIRCLE") {
        std::unique_ptr<AcDbCircle> circle(new AcDbCircle());
        r.check(circle->setNormal(n), L"a normal");
        r.check(circle->setCenter(center), L"a centre");
        r.check(circle->setRadius(radius), L"a radius");
        r.check(circle->setThickness(thickness), L"a thickness");
        return circle.release();
    }
    std::unique_ptr<AcDbArc> arc(new AcDbArc());
    r.check(arc->setNormal(n), L"a normal");
    r.check(arc->setCenter(center), L"a centre");
    r.check(arc->setRadius(radius), L"a radius");
    r.check(arc->setThickness(thickness), L"a thickness");
    r.check(arc->setStartAngle(r.required(50) * kRadiansPerDegree), L"a start angle");
    r.check(arc->setEndAngle(r.required(51) * kRadiansPerDegree), L"an end angle");
    return arc.release();
}

AcDbEntity* buildEllipse(const Record& r)
{
    const AcGePoint3d center = r.point(10);
    const AcGePoint3d major = r.point(11);
    const AcGeVector3d n = r.normal();
    const double ratio = r.required(40);
    std::unique_ptr<AcDbEllipse> ellipse(new AcDbEllipse());
    r.check(ellipse->set(center, n, major.asVector(), ratio), L"axes");
    const double start = ellipse->angleAtParam(r.real(41, 0.0));
    const double end = ellipse->angleAtParam(r.real(42, 6.28318530717958647692));
    r.check(ellipse->set(center, n, major.asVector(), ratio, start, end), L"angles");
    return ellipse.release();
}

AcDbEntity* buildRayOrXline(const Record& r)
{
    const AcGePoint3d base = r.point(10);
    const AcGeVector3d dir = r.point(11).asVector();
    if (!(dir.length() > 1e-12))
        r.refuse(L"a zero direction");
    if (r.type == "RAY") {
        std::unique_ptr<AcDbRay> ray(new AcDbRay());
        ray->setBasePoint(base);
        ray->setUnitDir(dir);
        return ray.release();
    }
    std::unique_ptr<AcDbXline> xline(new AcDbXline());
    xline->setBasePoint(base);
    xline->setUnitDir(dir);
    return xline.release();
}

// A count group checked against the groups the record holds.
int declaredCount(const Record& r, int code, size_t present, const wchar_t* what)
{
    if (r.find(code) == nullptr)
        r.refuse(L"group " + std::to_wstring(code) + L" (the count of its " + what + L") is missing");
    const long long n = r.integer(code, -1);
    if (n < 0 || static_cast<unsigned long long>(n) != present)
        r.refuse(L"group " + std::to_wstring(code) + L" gives " + std::to_wstring(n) + L" " + what +
                 L" but the entity holds " + std::to_wstring(present));
    return static_cast<int>(n);
}

// The points of groups code/code+10/code+20 in file order; each x group
// followed by its y and z.
AcGePoint3dArray pointsOf(const Record& r, int code)
{
    AcGePoint3dArray points;
    for (size_t i = r.begin + 1; i < r.end; ++i) {
        if (r.pairs[i].code != code)
            continue;
        if (i + 2 >= r.end || r.pairs[i + 1].code != code + 10 || r.pairs[i + 2].code != code + 20)
            failAt(r.pairs[i].line, standin::widen(std::string(r.type)) + L": a point without its y and z");
        points.append(AcGePoint3d(realOf(r.pairs[i]), realOf(r.pairs[i + 1]), realOf(r.pairs[i + 2])));
        i += 2;
    }
    return points;
}

// A spline given by its fit points alone (its control data left for the
// reader to make): the spline through them, with its end tangents when given.
AcDbEntity* buildFitSpline(const Record& r, int degree, const AcGePoint3dArray& fits, int knotCount)
{
    if (r.find(72) != nullptr)
        declaredCount(r, 72, static_cast<size_t>(knotCount), L"knots");
    if (r.find(73) != nullptr)
        declaredCount(r, 73, 0, L"control points");
    declaredCount(r, 74, static_cast<size_t>(fits.length()), L"fit points");
    const double tolerance = r.real(44, 0.0);
    if (tolerance < 0.0)
        r.refuse(L"a negative fit tolerance");
    std::unique_ptr<AcDbSpline> spline;
    if (r.find(12) != nullptr && r.find(13) != nullptr)
        spline.reset(new AcDbSpline(fits, r.point(12).asVector(), r.point(13).asVector(), degree + 1, tolerance));
    else
        spline.reset(new AcDbSpline(fits, degree + 1, tolerance));
    if (spline->isNull())
        r.refuse(L"fit points that give no spline (fewer than two distinct points)");
    return spline.release();
}

AcDbEntity* buildSpline(const Record& r)
{
    const long long flags = r.integer(70, 0);
    const long long degree = r.integer(71, -1);
    if (flags < 0 || degree < 1 || degree > 25)
        r.refuse(L"bad flags or degree");
    AcGeDoubleArray knots, weights;
    for (size_t i = r.begin + 1; i < r.end; ++i) {
        if (r.pairs[i].code == 40)
            knots.append(realOf(r.pairs[i]));
        else if (r.pairs[i].code == 41)
            weights.append(realOf(r.pairs[i]));
    }
    const AcGePoint3dArray controls = pointsOf(r, 10);
    const AcGePoint3dArray fits = pointsOf(r, 11);
    if (controls.isEmpty() && !fits.isEmpty())
        return buildFitSpline(r, static_cast<int>(degree), fits, knots.length());
    declaredCount(r, 72, static_cast<size_t>(knots.length()), L"knots");
    declaredCount(r, 73, static_cast<size_t>(controls.length()), L"control points");
    if (r.find(74) != nullptr)
        declaredCount(r, 74, static_cast<size_t>(fits.length()), L"fit points");
    const bool rational = (flags & 4) != 0;
    if (rational && weights.length() != controls.length())
        r.refuse(L"a weight count other than the control points");
    std::unique_ptr<AcDbSpline> spline(new AcDbSpline());
    const bool periodic = (flags & 2) != 0;
    AcGePoint3dArray loop = controls;
    AcGeDoubleArray loopKnots = knots, loopWeights = weights;
    if (periodic) {
        // A periodic spline is stored with its control points round the loop
        // repeated; the drawing keeps it as one loop.
        std::vector<AcGePoint3d> c(controls.begin(), controls.end());
        std::vector<double> k(knots.begin(), knots.end()), w;
        if (rational)
            w.assign(weights.begin(), weights.end());
        if (standin::rollPeriodic(static_cast<int>(degree), c, k, w)) {
            loop.removeAll();
            loopKnots.removeAll();
            loopWeights.removeAll();
            for (const AcGePoint3d& q : c)
                loop.append(q);
            for (double v : k)
                loopKnots.append(v);
            for (double v : w)
                loopWeights.append(v);
        }
    }
    r.check(spline->setNurbsData(static_cast<int>(degree), rational, (flags & 1) != 0, periodic, loop, loopKnots,
                                 loopWeights, r.real(43, 0.0), r.real(42, 0.0)),
            L"control data");
    return spline.release();
}

AcDbEntity* buildLwPolyline(const Record& r)
{
    struct Vertex {
        double x = 0, y = 0, bulge = 0;
        double startWidth = -1, endWidth = -1;  // -1: not given
        bool widths = false;
    };
    std::vector<Vertex> vertices;
    bool haveY = true;
    for (size_t i = r.begin + 1; i < r.end; ++i) {
        const Pair& p = r.pairs[i];
        if (p.code == 10) {
            if (!haveY)
                failAt(p.line, L"LWPOLYLINE: a vertex without its y");
            vertices.emplace_back();
            vertices.back().x = realOf(p);
            haveY = false;
        } else if (p.code == 20 || p.code == 40 || p.code == 41 || p.code == 42) {
            if (vertices.empty())
                failAt(p.line, L"LWPOLYLINE: vertex data before the first vertex");
            Vertex& v = vertices.back();
            const double value = realOf(p);
            if (p.code == 20) {
                v.y = value;
                haveY = true;
            } else if (p.code == 40 || p.code == 41) {
                if (value < 0.0)
                    failAt(p.line, L"LWPOLYLINE: a negative width");
                if (!v.widths)
                    v.startWidth = v.endWidth = 0.0;
                v.widths = true;
                (p.code == 40 ? v.startWidth : v.endWidth) = value;
            } else {
                v.bulge = value;
            }
        }
    }
    if (!haveY)
        r.refuse(L"a vertex without its y");
    declaredCount(r, 90, vertices.size(), L"vertices");
    std::unique_ptr<AcDbPolyline> pl(new AcDbPolyline());
    const double constant = r.real(43, 0.0);
    if (constant < 0.0)
        r.refuse(L"a negative width");
    if (constant != 0.0)
        r.check(pl->setConstantWidth(constant), L"a width");
    for (const Vertex& v : vertices) {
        r.check(pl->addVertexAt(pl->numVerts(), AcGePoint2d(v.x, v.y), v.bulge, v.startWidth, v.endWidth), L"a vertex");
    }
    if (constant != 0.0)
        r.check(pl->setConstantWidth(constant), L"a width");
    pl->setClosed((r.integer(70, 0) & 1) != 0);
    pl->setElevation(r.real(38, 0.0));
    r.check(pl->setThickness(r.real(39, 0.0)), L"a thickness");
    r.check(pl->setNormal(r.normal()), L"a normal");
    return pl.release();
}

AcDbEntity* buildSolid(const Record& r)
{
    std::unique_ptr<AcDbSolid> solid(new AcDbSolid());
    // The corners are in the solid's own coordinates.
    const AcGeVector3d n = r.normal();
    for (Adesk::UInt16 k = 0; k < 4; ++k) {
        // A triangle may leave out its fourth corner: it repeats the third.
        const int code = r.find(10 + k) != nullptr || k < 3 ? 10 + k : 12;
        r.check(solid->setPointAt(k, fromEcs(n, r.point(code))), L"a corner");
    }
    r.check(solid->setThickness(r.real(39, 0.0)), L"a thickness");
    r.check(solid->setNormal(n), L"a normal");
    return solid.release();
}

// HATCH: its boundary paths, each a polyline path or an edge path of lines
// and circular arcs, taken as the drawing's polyline loops (an arc edge as
// bulged segments of at most a quarter turn); its pattern, angle, spacing,
// elevation and normal. Elliptic and spline edges are not read.
class HatchReader {
public:
    explicit HatchReader(const Record& r) : r_(r) {}

    AcDbEntity* build()
    {
        std::unique_ptr<AcDbHatch> hatch(new AcDbHatch());
        const bool solid = (r_.integer(70, 0) & 1) != 0;
        const Pair* name = r_.find(2);
        const std::wstring pattern = solid ? std::wstring(L"SOLID")
            : name != nullptr              ? dxfWide(std::string(name->value()))
                                           : std::wstring();
        if (pattern.empty())
            r_.refuse(L"no pattern name");
        const long long type =
            solid ? static_cast<long long>(AcDbHatch::kPreDefined) : r_.integer(76, AcDbHatch::kPreDefined);
        if (type < AcDbHatch::kUserDefined || type > AcDbHatch::kCustomDefined)
            r_.refuse(L"an unknown pattern type");
        r_.check(hatch->setPattern(static_cast<AcDbHatch::HatchPatternType>(type), pattern.c_str()), L"a pattern");
        r_.check(hatch->setPatternAngle(r_.real(52, 0.0) * kRadiansPerDegree), L"a pattern angle");
        if (r_.find(41) != nullptr)
            r_.check(hatch->setPatternSpace(r_.real(41, 1.0)), L"a pattern spacing");
        r_.check(hatch->setNormal(r_.normal()), L"a normal");
        r_.check(hatch->setElevation(r_.real(30, 0.0)), L"an elevation");

        i_ = r_.begin + 1;
        while (i_ < r_.end && r_.pairs[i_].code != 91)
            ++i_;
        const size_t paths = count(91, 2);
        for (size_t k = 0; k < paths; ++k) {
            const Adesk::Int32 flags = static_cast<Adesk::Int32>(intOf(next(92)));
            AcGePoint2dArray vertices;
            AcGeDoubleArray bulges;
            if ((flags & AcDbHatch::kPolyline) != 0)
                readPolylinePath(vertices, bulges);
            else
                readEdgePath(vertices, bulges);
            const size_t sources = count(97, 1);
            for (size_t s = 0; s < sources; ++s)
                next(330);
            if (hatch->appendLoop(flags, vertices, bulges) != Acad::eOk)
                r_.refuse(L"a boundary path of fewer than three vertices");
        }
        return hatch.release();
    }

private:
    const Pair& next(int code)
    {
        if (i_ >= r_.end || r_.pairs[i_].code != code)
            failAt(i_ < r_.end ? r_.pairs[i_].line : r_.line(),
                   L"HATCH: group " + std::to_wstring(code) + L" expected");
        return r_.pairs[i_++];
    }
    // A count group, checked against the groups that follow it.
    size_t count(int code, size_t groupsPerItem)
    {
        const Pair& p = next(code);
        const long long n = intOf(p);
        if (n < 0 || static_cast<unsigned long long>(n) > (r_.end - i_) / groupsPerItem)
            failAt(p.line, L"HATCH: a count of " + std::to_wstring(n) + L" that the entity does not hold");
        return static_cast<size_t>(n);
    }
    AcGePoint2d point(int code)
    {
        const double x = realOf(next(code));
        return AcGePoint2d(x, realOf(next(code + 10)));
    }

    void readPolylinePath(AcGePoint2dArray& vertices, AcGeDoubleArray& bulges)
    {
        const bool hasBulges = intOf(next(72)) != 0;
        next(73);  // closed: a boundary is closed whatever it says
        const size_t n = count(93, hasBulges ? 3 : 2);
        for (size_t k = 0; k < n; ++k) {
            vertices.append(point(10));
            if (hasBulges)
                bulges.append(i_ < r_.end && r_.pairs[i_].code == 42 ? realOf(r_.pairs[i_++]) : 0.0);
        }
    }

    // The edges of a path in turn, each from where the one before it ends;
    // an edge given the other way round (as some writers give arcs) is taken
    // from its end.
    void readEdgePath(AcGePoint2dArray& vertices, AcGeDoubleArray& bulges)
    {
        const size_t edges = count(93, 5);
        AcGePoint2d end;
        for (size_t k = 0; k < edges; ++k) {
            const Pair& kind = next(72);
            if (intOf(kind) == AcDbHatch::kLine) {
                AcGePoint2d from = point(10), to = point(11);
                if (k > 0 && !joins(end, from) && joins(end, to))
                    std::swap(from, to);
                joinCheck(k, end, from, kind.line);
                vertices.append(from);
                bulges.append(0.0);
                end = to;
            } else if (intOf(kind) == AcDbHatch::kCirArc) {
                const AcGePoint2d center = point(10);
                const double radius = realOf(next(40));
                double from = realOf(next(50)) * kRadiansPerDegree;
                const double to = realOf(next(51)) * kRadiansPerDegree;
                const bool ccw = intOf(next(73)) != 0;
                if (!(radius > 0.0))
                    failAt(kind.line, L"HATCH: an arc edge of radius " + std::to_wstring(radius));
                double sweep = std::fmod(to - from, 2 * kPi);
                if (sweep <= 1e-12)
                    sweep += 2 * kPi;
                // A clockwise arc is written with its angles negated.
                if (!ccw) {
                    from = -from;
                    sweep = -sweep;
                }
                auto at = [&](double a) {
                    return AcGePoint2d(center.x + radius * std::cos(a), center.y + radius * std::sin(a));
                };
                if (k > 0 && !joins(end, at(from)) && joins(end, at(from + sweep))) {
                    from += sweep;
                    sweep = -sweep;
                }
                joinCheck(k, end, at(from), kind.line);
                const int pieces = static_cast<int>(std::ceil(std::fabs(sweep) / (kPi / 2) - 1e-9));
                for (int p = 0; p < pieces; ++p) {
                    vertices.append(at(from + sweep * p / pieces));
                    bulges.append(std::tan(sweep / pieces / 4));
                }
                end = at(from + sweep);
            } else {
                failAt(kind.line,
                       L"HATCH: a boundary edge of type " + std::to_wstring(intOf(kind)) +
                           L" (only lines and circular arcs are read)");
            }
        }
        if (edges > 0)
            joinCheck(edges, end, vertices[0], r_.line());
    }

    static bool joins(const AcGePoint2d& end, const AcGePoint2d& start)
    {
        const double size = std::max({1.0, std::fabs(start.x), std::fabs(start.y)});
        return end.distanceTo(start) <= 1e-6 * size;
    }

    // Each edge starts where the one before it ends, and the last ends where
    // the first starts.
    void joinCheck(size_t k, const AcGePoint2d& end, const AcGePoint2d& start, size_t line) const
    {
        if (k > 0 && !joins(end, start))
            failAt(line, L"HATCH: boundary edges that do not join");
    }

    static constexpr double kPi = 3.14159265358979323846;
    const Record& r_;
    size_t i_ = 0;
};

AcDbEntity* buildText(const Record& r)
{
    std::unique_ptr<AcDbText> text(new AcDbText());
    const Pair* string = r.find(1);
    r.check(text->setTextString(dxfWide(string != nullptr ? std::string(string->value()) : std::string()).c_str()),
            L"a text");
    // The position is in the text's own coordinates, its rotation about its normal.
    const AcGeVector3d n = r.normal();
    r.check(text->setNormal(n), L"a normal");
    r.check(text->setPosition(fromEcs(n, r.point(10))), L"a position");
    r.check(text->setHeight(r.required(40)), L"a height");
    r.check(text->setRotation(r.real(50, 0.0) * kRadiansPerDegree), L"a rotation");
    return text.release();
}

// The largest vertex or face count of a polyface or polygon mesh.
constexpr long long kMaxMeshRecords = 32767;

AcDbEntity* buildPolygonMesh(const Record& head, const std::vector<Record>& vertices, long long flags)
{
    const long long m = head.integer(71, -1), n = head.integer(72, -1);
    if (m < 2 || n < 2 || m > kMaxMeshRecords || n > kMaxMeshRecords)
        head.refuse(L"a mesh size of " + std::to_wstring(m) + L" x " + std::to_wstring(n));
    if (static_cast<unsigned long long>(m * n) != vertices.size())
        head.refuse(L"a mesh of " + std::to_wstring(m) + L" x " + std::to_wstring(n) + L" vertices with " +
                    std::to_wstring(vertices.size()) + L" VERTEX records");
    const long long type = head.integer(75, 0);
    if (type != AcDb::kSimpleMesh && type != AcDb::kQuadSurfaceMesh && type != AcDb::kCubicSurfaceMesh &&
        type != AcDb::kBezierSurfaceMesh)
        head.refuse(L"an unknown surface type");
    AcGePoint3dArray points;
    points.setPhysicalLength(static_cast<int>(vertices.size()));
    for (const Record& v : vertices)
        points.append(v.point(10));
    return new AcDbPolygonMesh(static_cast<AcDb::PolyMeshType>(type), static_cast<Adesk::Int16>(m),
                               static_cast<Adesk::Int16>(n), points, (flags & 1) != 0, (flags & 32) != 0);
}

// A polyface mesh takes its vertices and faces only once it is in a
// database: they are kept in the Built and appended with it.
AcDbEntity* buildPolyFace(const Record& head, const std::vector<Record>& records, Built& built)
{
    auto mesh = std::make_unique<PolyFaceRecords>();
    for (const Record& v : records) {
        const long long flags = v.integer(70, 0);
        if ((flags & 128) == 0)
            v.refuse(L"a polyface mesh record that is neither vertex nor face");
        if ((flags & 64) != 0) {
            if (!mesh->faces.empty())
                v.refuse(L"a vertex after the faces");
            mesh->vertices.push_back(v.point(10));
            continue;
        }
        std::array<Adesk::Int16, 4> face{};
        for (int k = 0; k < 4; ++k) {
            const long long index = v.integer(71 + k, 0);
            if (index < -static_cast<long long>(mesh->vertices.size()) ||
                index > static_cast<long long>(mesh->vertices.size()))
                v.refuse(L"a face corner " + std::to_wstring(index) + L" outside the " +
                         std::to_wstring(mesh->vertices.size()) + L" vertices");
            face[k] = static_cast<Adesk::Int16>(index);
        }
        mesh->faces.push_back(face);
    }
    declaredCount(head, 71, mesh->vertices.size(), L"vertices");
    declaredCount(head, 72, mesh->faces.size(), L"faces");
    if (static_cast<long long>(mesh->vertices.size()) > kMaxMeshRecords ||
        static_cast<long long>(mesh->faces.size()) > kMaxMeshRecords)
        head.refuse(L"more than " + std::to_wstring(kMaxMeshRecords) + L" vertices or faces");
    built.polyFace = std::move(mesh);
    return new AcDbPolyFaceMesh();
}

// POLYLINE with its VERTEX records: a 2D or 3D polyline, a polygon or polyface mesh.
AcDbEntity* buildPolyline(const Record& head, const std::vector<Record>& vertices, Built& built)
{
    const long long flags = head.integer(70, 0);
    if (flags < 0 || flags > 255)
        head.refuse(L"bad flags");
    if ((flags & 64) != 0)
        return buildPolyFace(head, vertices, built);
    if ((flags & 16) != 0)
        return buildPolygonMesh(head, vertices, flags);
    const bool closed = (flags & 1) != 0;
    if ((flags & 8) != 0) {
        std::unique_ptr<AcDb3dPolyline> pl(new AcDb3dPolyline());
        for (const Record& v : vertices) {
            std::unique_ptr<AcDb3dPolylineVertex> vertex(new AcDb3dPolylineVertex(v.point(10)));
            v.check(pl->appendVertex(vertex.get()), L"a vertex");
            vertex.release()->close();  // it waits in the polyline
        }
        if (closed)
            head.check(pl->makeClosed(), L"a closed flag");
        return pl.release();
    }
    std::unique_ptr<AcDb2dPolyline> pl(new AcDb2dPolyline());
    const double elevation = head.find(30) != nullptr ? head.real(30, 0.0) : 0.0;
    head.check(pl->setNormal(head.normal()), L"a normal");
    head.check(pl->setElevation(elevation), L"an elevation");
    head.check(pl->setThickness(head.real(39, 0.0)), L"a thickness");
    head.check(pl->setDefaultStartWidth(head.real(40, 0.0)), L"a width");
    head.check(pl->setDefaultEndWidth(head.real(41, 0.0)), L"a width");
    for (const Record& v : vertices) {
        const AcGePoint3d p = v.point(10);
        std::unique_ptr<AcDb2dVertex> vertex(new AcDb2dVertex(AcGePoint3d(p.x, p.y, elevation)));
        v.check(vertex->setBulge(v.real(42, 0.0)), L"a bulge");
        v.check(vertex->setStartWidth(v.real(40, head.real(40, 0.0))), L"a width");
        v.check(vertex->setEndWidth(v.real(41, head.real(41, 0.0))), L"a width");
        v.check(pl->appendVertex(vertex.get()), L"a vertex");
        vertex.release()->close();  // it waits in the polyline
    }
    if (closed)
        head.check(pl->makeClosed(), L"a closed flag");
    return pl.release();
}

// A block reference: its block's name and its placement, the insertion
// point in the object coordinates of its extrusion.
AcDbEntity* buildInsert(const Record& r, Built& built)
{
    const Pair* name = r.find(2);
    if (name == nullptr || name->value().empty())
        r.refuse(L"no block name");
    built.insertOf = dxfWide(std::string(name->value()));
    if (upperCase(std::string(name->value())) == "*MODEL_SPACE")
        r.refuse(L"a reference to *Model_Space, which would show model space inside itself");
    if (r.integer(70, 1) > 1 || r.integer(71, 1) > 1)
        r.refuse(L"arrays of block references are not read");
    if (r.integer(66, 0) != 0)
        r.refuse(L"attributes are not read");
    const AcGeVector3d n = r.normal();
    const double sx = r.real(41, 1.0), sy = r.real(42, 1.0), sz = r.real(43, 1.0);
    if (sx == 0.0 || sy == 0.0 || sz == 0.0)
        r.refuse(L"a scale of zero");
    std::unique_ptr<AcDbBlockReference> ref(new AcDbBlockReference());
    r.check(ref->setNormal(n), L"extrusion");
    r.check(ref->setScaleFactors(AcGeScale3d(sx, sy, sz)), L"scale");
    r.check(ref->setRotation(r.real(50, 0.0) * kRadiansPerDegree), L"rotation");
    r.check(ref->setPosition(fromEcs(n, r.point(10))), L"insertion point");
    return ref.release();
}

// The entity types that dxflib reads; every other type is read here.
bool readByLibrary(std::string_view type)
{
    return type == "3DFACE" || type == "LINE" || type == "POINT";
}

// An entity read here rather than by dxflib; null for the types dxflib reads.
AcDbEntity* buildFromGroups(const std::vector<Pair>& pairs, const ScannedEntity& e, Built& built, Properties& props)
{
    const Record r{pairs, e.first, e.last, e.type};
    if (e.type == "POLYLINE") {
        // The records of the sequence: the POLYLINE's own, its VERTEX records, SEQEND.
        std::vector<size_t> starts;
        for (size_t i = e.first; i < e.last; ++i)
            if (pairs[i].code == 0)
                starts.push_back(i);
        starts.push_back(e.last);
        const Record head{pairs, starts[0], starts[1], "POLYLINE"};
        std::vector<Record> vertices;
        for (size_t k = 1; k + 2 < starts.size(); ++k)
            vertices.push_back(Record{pairs, starts[k], starts[k + 1], "VERTEX"});
        props = head.properties();
        return buildPolyline(head, vertices, built);
    }
    std::unique_ptr<AcDbEntity> entity;
    if (e.type == "CIRCLE" || e.type == "ARC")
        entity.reset(buildCircleOrArc(r));
    else if (e.type == "ELLIPSE")
        entity.reset(buildEllipse(r));
    else if (e.type == "RAY" || e.type == "XLINE")
        entity.reset(buildRayOrXline(r));
    else if (e.type == "SPLINE")
        entity.reset(buildSpline(r));
    else if (e.type == "LWPOLYLINE")
        entity.reset(buildLwPolyline(r));
    else if (e.type == "SOLID")
        entity.reset(buildSolid(r));
    else if (e.type == "TEXT")
        entity.reset(buildText(r));
    else if (e.type == "HATCH")
        entity.reset(HatchReader(r).build());
    else if (e.type == "INSERT")
        entity.reset(buildInsert(r, built));
    else
        return nullptr;
    props = r.properties();
    return entity.release();
}

int faceFlags(const std::vector<Pair>& pairs, const ScannedEntity& e)
{
    int flags = 0;
    for (size_t i = e.first + 1; i < e.last; ++i)
        if (pairs[i].code == 70)
            flags = static_cast<int>(intOf(pairs[i]));
    if (flags < 0 || flags > 15)
        failAt(pairs[e.first].line, L"3DFACE: bad edge flags");
    return flags;
}

// The entities read here from the checked groups, built before dxflib reads
// the file (its readers trust the counts they are given); the others are left
// empty for dxflib (the Reader below).
void buildOwnEntities(const std::vector<Pair>& pairs, const std::vector<ScannedEntity>& scanned, EntityList& out)
{
    out.list.reserve(scanned.size());
    for (const ScannedEntity& e : scanned) {
        Built built;
        built.block = e.block;
        built.line = pairs[e.first].line;
        if (readByLibrary(e.type)) {
            out.list.push_back(std::move(built));
            continue;
        }
        Properties props;
        if (e.type == "MESH")
            built.entity = buildMesh(pairs, e, props);
        else
            built.entity = buildFromGroups(pairs, e, built, props);
        if (built.entity != nullptr)
            built.properties = out.share(std::move(props));
        out.list.push_back(std::move(built));
    }
}

// dxflib's side: the layer and linetype tables, and the entities it reads,
// each built as dxflib reports it into the place the scan gave it. A fault
// is kept (the first one) and dxflib's reading goes on to its end, so that no
// exception passes through dxflib.
class Reader : public DL_CreationAdapter {
public:
    Reader(const std::vector<Pair>& pairs, const std::vector<ScannedEntity>& scanned, EntityList& out)
        : pairs_(pairs), scanned_(scanned), out_(out)
    {}

    std::vector<LayerDef> layers;
    std::vector<LinetypeDef> linetypes;
    std::wstring error;

    void addLayer(const DL_LayerData& data) override
    {
        LayerDef layer;
        layer.name = dxfWide(data.name);
        const DL_Attributes a = getAttributes();
        int aci = a.getColor();
        layer.off = data.off || aci < 0;
        if (aci < 0)
            aci = -aci;
        if (!colorOf(aci, a.getColor24(), layer.color) || aci == 0 || aci == 256)
            noteError(L"layer " + layer.name + L" has a bad colour");
        layer.frozen = (data.flags & 1) != 0;
        layer.locked = (data.flags & 4) != 0;
        layer.linetype = dxfWide(a.getLinetype());
        layers.push_back(layer);
    }
    void addLinetype(const DL_LinetypeData& data) override
    {
        linetypes.push_back({dxfWide(data.name), dxfWide(data.description)});
    }
    void add3dFace(const DL_3dFaceData& data) override
    {
        build("3DFACE", [&](const ScannedEntity& e, size_t line) {
            const int flags = faceFlags(pairs_, e);
            std::unique_ptr<AcDbFace> face(new AcDbFace());
            for (Adesk::UInt16 k = 0; k < 4; ++k) {
                if (!finitePoint(data.x[k], data.y[k], data.z[k]))
                    failAt(line, L"a coordinate that is not a finite number");
                face->setVertexAt(k, AcGePoint3d(data.x[k], data.y[k], data.z[k]));
                if ((flags & (1 << k)) != 0)
                    face->makeEdgeInvisibleAt(k);
            }
            return face.release();
        });
    }
    void addLine(const DL_LineData& data) override
    {
        build("LINE", [&](const ScannedEntity&, size_t line) -> AcDbEntity* {
            if (!finitePoint(data.x1, data.y1, data.z1) || !finitePoint(data.x2, data.y2, data.z2))
                failAt(line, L"a coordinate that is not a finite number");
            return new AcDbLine(AcGePoint3d(data.x1, data.y1, data.z1), AcGePoint3d(data.x2, data.y2, data.z2));
        });
    }
    void addPoint(const DL_PointData& data) override
    {
        build("POINT", [&](const ScannedEntity&, size_t line) -> AcDbEntity* {
            if (!finitePoint(data.x, data.y, data.z))
                failAt(line, L"a coordinate that is not a finite number");
            return new AcDbPoint(AcGePoint3d(data.x, data.y, data.z));
        });
    }

    // Every entity of the scan that is left to dxflib was read by it.
    void checkAllRead()
    {
        if (!error.empty())
            return;
        if (const Built* b = nextOpen())
            failAt(b->line, L"the DXF library did not read this " + standin::widen(std::string(scanned_[next_].type)));
    }

private:
    // The next entity of the scan that no builder of ours took; null when none is left.
    Built* nextOpen()
    {
        while (next_ < scanned_.size() && out_.list[next_].entity != nullptr)
            ++next_;
        return next_ < scanned_.size() ? &out_.list[next_] : nullptr;
    }

    template <class Make> void build(const char* type, Make make)
    {
        if (!error.empty())
            return;
        Built* built = nextOpen();
        if (built == nullptr) {
            noteError(L"the DXF library read entities that the file check did not see");
            return;
        }
        const ScannedEntity& e = scanned_[next_];
        try {
            if (e.type != type)
                failAt(built->line, L"the DXF library did not read this " + standin::widen(std::string(e.type)));
            built->properties = out_.share(propertiesOf(getAttributes(), built->line));
            built->entity = make(e, built->line);
        } catch (const Failure& f) {
            noteError(f.reason);
        }
    }

    void noteError(const std::wstring& text)
    {
        if (error.empty())
            error = text;
    }

    const std::vector<Pair>& pairs_;
    const std::vector<ScannedEntity>& scanned_;
    EntityList& out_;
    size_t next_ = 0;
};

// What dxflib is given: the records it reads, each checked above, and nothing
// else: the LTYPE and LAYER records and the 3DFACE, LINE and POINT entities,
// in file order. dxflib trusts the counts of the records it knows (it sizes
// its buffers by them) wherever they stand, so no other record may reach it.
class LibraryText : public std::streambuf {
public:
    LibraryText(const std::vector<Pair>& pairs, const Scanned& scanned) : pairs_(pairs), scanned_(scanned)
    {
        buffer_.reserve(kFill + 2 * (kMaxLine + 16));
    }

protected:
    int_type underflow() override
    {
        if (gptr() < egptr())
            return traits_type::to_int_type(*gptr());
        fill();
        if (buffer_.empty())
            return traits_type::eof();
        setg(buffer_.data(), buffer_.data(), buffer_.data() + buffer_.size());
        return traits_type::to_int_type(*gptr());
    }

private:
    // The text is made a piece at a time, as dxflib reads it, so that no
    // copy of the records stands beside the file. Its stages: the fixed
    // lines between the parts, and the records of the two tables and the
    // entities.
    enum Stage { kTablesHead, kLinetypes, kBetweenTables, kLayers, kEntitiesHead, kEntities, kTail, kDone };
    static constexpr size_t kFill = 64 * 1024;

    // The groups of record k of a stage of records; false past its last.
    bool recordAt(size_t k, Span& span) const
    {
        if (stage_ == kLinetypes || stage_ == kLayers) {
            const std::vector<Span>& records = stage_ == kLinetypes ? scanned_.linetypes : scanned_.layers;
            if (k >= records.size())
                return false;
            span = records[k];
            return true;
        }
        if (k >= scanned_.entities.size())
            return false;
        const ScannedEntity& e = scanned_.entities[k];
        span = readByLibrary(e.type) ? Span{e.first, e.last} : Span{e.last, e.last};  // the others stand empty
        return true;
    }

    void fill()
    {
        buffer_.clear();
        while (buffer_.size() < kFill && stage_ != kDone) {
            switch (stage_) {
            case kTablesHead: buffer_ += "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLTYPE\n"; break;
            case kBetweenTables: buffer_ += "0\nENDTAB\n0\nTABLE\n2\nLAYER\n"; break;
            case kEntitiesHead: buffer_ += "0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"; break;
            case kTail: buffer_ += "0\nENDSEC\n0\nEOF\n"; break;
            default: {
                Span span;
                if (!recordAt(record_, span))
                    break;
                if (group_ < span.first)
                    group_ = span.first;
                while (group_ < span.last && buffer_.size() < kFill)
                    addGroup(pairs_[group_++]);
                if (group_ >= span.last) {
                    ++record_;
                    group_ = 0;
                }
                continue;  // the same stage until its records are done
            }
            }
            stage_ = static_cast<Stage>(stage_ + 1);
            record_ = 0;
            group_ = 0;
        }
    }

    void addGroup(const Pair& p)
    {
        char code[16];
        const auto end = std::to_chars(code, code + sizeof code, p.code).ptr;
        buffer_.append(code, end);
        buffer_ += '\n';
        buffer_ += p.value();
        buffer_ += '\n';
    }

    const std::vector<Pair>& pairs_;
    const Scanned& scanned_;
    std::string buffer_;
    Stage stage_ = kTablesHead;
    size_t record_ = 0, group_ = 0;
};

// The colour of every layer record that dxflib will read, checked here where
// the line of a bad one is known: an index of 1 to 255 (negative for a layer
// that is off) and a true colour in range.
void checkLayerColours(const std::vector<Pair>& pairs, const std::vector<Span>& layers)
{
    for (const Span& span : layers) {
        const Record r{pairs, span.first, span.last, "LAYER"};
        const Pair* name = r.find(2);
        if (name == nullptr || name->value().empty())
            continue;  // dxflib reads no layer without a name
        const Pair* index = r.find(62);
        const std::wstring what = L"layer \"" + dxfWide(std::string(name->value())) + L"\": ";
        if (index == nullptr)
            r.refuse(what + L"no colour (group 62)");
        const long long aci = intOf(*index);
        if (aci == 0 || aci < -255 || aci > 255)
            failAt(index->line, what + L"a colour of " + std::to_wstring(aci) + L", which no layer takes (1 to 255)");
        const long long trueColor = r.integer(420, -1);
        if (trueColor < -1 || trueColor > 0xFFFFFF)
            failAt(r.find(420)->line, what + L"a true colour out of range");
    }
}

}  // namespace

void buildEntities(const std::vector<Pair>& pairs, const Scanned& scanned, FileTables& tables, EntityList& out)
{
    buildOwnEntities(pairs, scanned.entities, out);
    checkLayerColours(pairs, scanned.layers);
    Reader reader(pairs, scanned.entities, out);
    {
        LibraryText text(pairs, scanned);
        std::istream stream(&text);
        DL_Dxf dxf;
        if (!dxf.in(stream, &reader))
            fail(L"the DXF library cannot read it");
    }
    reader.checkAllRead();
    if (!reader.error.empty())
        fail(reader.error);
    tables.layers = std::move(reader.layers);
    // dxflib reads every LAYER record that has a name, in file order.
    std::vector<size_t> named;
    for (const Span& span : scanned.layers) {
        const Record r{pairs, span.first, span.last, "LAYER"};
        if (r.find(2) != nullptr && !r.find(2)->value().empty())
            named.push_back(r.line());
    }
    if (named.size() == tables.layers.size())
        for (size_t k = 0; k < named.size(); ++k)
            tables.layers[k].line = named[k];
    tables.linetypes = std::move(reader.linetypes);
}

}  // namespace standin::dxfin
