// AcDbCurve: the curve queries, answered from the pieces that each curve
// class describes itself with.
#include <cmath>
#include <limits>
#include <utility>

#include "dbcurve.h"

using standin::CurvePath;
using standin::CurvePiece;

namespace {

// A point lies on the curve within this distance (relative to the curve's
// size for large curves).
constexpr double kOnCurve = 1e-6;

// x of [a0, a1] mapped linearly onto [b0, b1]; b0 when the first is empty.
double remap(double x, double a0, double a1, double b0, double b1)
{
    return a1 == a0 ? b0 : b0 + (x - a0) * (b1 - b0) / (a1 - a0);
}

// Unbounded pieces use the entity parameter as their own.
double toPiece(const CurvePiece& c, double p)
{
    if (!std::isfinite(c.p1) || !std::isfinite(c.p0))
        return p;
    return remap(p, c.p0, c.p1, c.t0, c.t1);
}

double toEntity(const CurvePiece& c, double t)
{
    if (!std::isfinite(c.p1) || !std::isfinite(c.p0))
        return t;
    return remap(t, c.t0, c.t1, c.p0, c.p1);
}

// The homogeneous de Boor evaluation of a NURBS piece.
AcGePoint3d nurbsPoint(const CurvePiece& c, double t)
{
    const int p = c.degree;
    const int n = static_cast<int>(c.controls.size());
    const std::vector<double>& U = c.knots;
    int span = p;
    while (span < n - 1 && t >= U[static_cast<size_t>(span + 1)])
        ++span;
    double w[32][4];
    for (int j = 0; j <= p; ++j) {
        int i = span - p + j;
        double wt = c.weights.empty() ? 1.0 : c.weights[static_cast<size_t>(i)];
        const AcGePoint3d& q = c.controls[static_cast<size_t>(i)];
        w[j][0] = q.x * wt;
        w[j][1] = q.y * wt;
        w[j][2] = q.z * wt;
        w[j][3] = wt;
    }
    for (int r = 1; r <= p; ++r)
        for (int j = p; j >= r; --j) {
            int i = span - p + j;
            double left = U[static_cast<size_t>(i)];
            double right = U[static_cast<size_t>(i + p - r + 1)];
            double a = right > left ? (t - left) / (right - left) : 0.0;
            for (int k = 0; k < 4; ++k)
                w[j][k] = (1.0 - a) * w[j - 1][k] + a * w[j][k];
        }
    double h = w[p][3] != 0.0 ? w[p][3] : 1.0;
    return AcGePoint3d(w[p][0] / h, w[p][1] / h, w[p][2] / h);
}

AcGePoint3d piecePoint(const CurvePiece& c, double t)
{
    switch (c.kind) {
    case CurvePiece::kSegment: return c.origin + c.axisX * t;
    case CurvePiece::kEllipse: return c.origin + c.axisX * std::cos(t) + c.axisY * std::sin(t);
    case CurvePiece::kNurbs: return nurbsPoint(c, t);
    }
    return c.origin;
}

// The derivative by the piece's own parameter.
AcGeVector3d pieceDeriv(const CurvePiece& c, double t)
{
    switch (c.kind) {
    case CurvePiece::kSegment: return c.axisX;
    case CurvePiece::kEllipse: return c.axisX * -std::sin(t) + c.axisY * std::cos(t);
    case CurvePiece::kNurbs: {
        double h = 1e-6 * std::max(1.0, c.t1 - c.t0);
        double a = std::max(c.t0, t - h), b = std::min(c.t1, t + h);
        if (b <= a)
            return AcGeVector3d();
        return (nurbsPoint(c, b) - nurbsPoint(c, a)) / (b - a);
    }
    }
    return AcGeVector3d();
}

// Length of the piece between its own parameters a and b.
double pieceLength(const CurvePiece& c, double a, double b)
{
    if (b < a)
        std::swap(a, b);
    if (b == a)
        return 0.0;
    if (c.kind == CurvePiece::kSegment)
        return c.axisX.length() * (b - a);
    if (c.kind == CurvePiece::kEllipse && std::fabs(c.axisX.length() - c.axisY.length()) <= 1e-12 * c.axisX.length())
        return c.axisX.length() * (b - a);
    // Gauss-Legendre, five points on each of many sub-intervals.
    static const double xs[5] = {-0.9061798459386640, -0.5384693101056831, 0.0, 0.5384693101056831, 0.9061798459386640};
    static const double ws[5] = {0.2369268850561891, 0.4786286704993665, 0.5688888888888889, 0.4786286704993665,
                                 0.2369268850561891};
    const int parts = 64;
    double h = (b - a) / parts, sum = 0.0;
    for (int i = 0; i < parts; ++i) {
        double mid = a + (i + 0.5) * h;
        for (int k = 0; k < 5; ++k)
            sum += ws[k] * pieceDeriv(c, mid + xs[k] * h / 2.0).length();
    }
    return sum * h / 2.0;
}

// The piece that holds the entity parameter (nullptr outside the range).
const CurvePiece* findPiece(const CurvePath& path, double p)
{
    if (path.pieces.empty())
        return nullptr;
    double first = path.pieces.front().p0, last = path.pieces.back().p1;
    double slack = 1e-9 * std::max(1.0, std::isfinite(last - first) ? std::fabs(last - first) : 1.0);
    if (!std::isfinite(p) || (!path.openStart && p < first - slack) || (!path.openEnd && p > last + slack))
        return nullptr;
    for (const CurvePiece& c : path.pieces)
        if (p <= c.p1 + slack)
            return &c;
    return &path.pieces.back();
}

double clampToPiece(const CurvePiece& c, double t)
{
    double lo = std::min(c.t0, c.t1), hi = std::max(c.t0, c.t1);
    return t < lo ? lo : (t > hi ? hi : t);
}

// The piece parameter nearest to the point, and the distance.
double nearestOnPiece(const CurvePiece& c, const AcGePoint3d& pt, double& distance)
{
    if (c.kind == CurvePiece::kSegment) {
        double l2 = c.axisX.lengthSqrd();
        double t = l2 > 0.0 ? (pt - c.origin).dotProduct(c.axisX) / l2 : c.t0;
        if (std::isfinite(c.t0) && t < c.t0)
            t = c.t0;
        if (std::isfinite(c.t1) && t > c.t1)
            t = c.t1;
        distance = piecePoint(c, t).distanceTo(pt);
        return t;
    }
    const int samples = 512;
    double best = c.t0, bestD = std::numeric_limits<double>::max();
    for (int i = 0; i <= samples; ++i) {
        double t = c.t0 + (c.t1 - c.t0) * i / samples;
        double d = piecePoint(c, t).distanceTo(pt);
        if (d < bestD) {
            bestD = d;
            best = t;
        }
    }
    double step = (c.t1 - c.t0) / samples;
    double lo = clampToPiece(c, best - step), hi = clampToPiece(c, best + step);
    for (int i = 0; i < 100; ++i) {
        double m1 = lo + (hi - lo) / 3.0, m2 = hi - (hi - lo) / 3.0;
        if (piecePoint(c, m1).distanceTo(pt) < piecePoint(c, m2).distanceTo(pt))
            hi = m2;
        else
            lo = m1;
    }
    double t = (lo + hi) / 2.0;
    distance = piecePoint(c, t).distanceTo(pt);
    if (bestD < distance) {
        distance = bestD;
        t = best;
    }
    return t;
}

double pathScale(const CurvePath& path)
{
    double s = 1.0;
    for (const CurvePiece& c : path.pieces) {
        s = std::max(s, c.origin.asVector().length());
        if (std::isfinite(c.t1) && std::isfinite(c.t0) && c.kind != CurvePiece::kNurbs)
            s = std::max(s, pieceLength(c, std::min(c.t0, c.t1), std::max(c.t0, c.t1)));
        for (const AcGePoint3d& q : c.controls)
            s = std::max(s, q.asVector().length());
    }
    return s;
}

}  // namespace

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbCurve, AcDbEntity)

AcDbCurve::AcDbCurve() = default;
AcDbCurve::~AcDbCurve() = default;

bool AcDbCurve::standinPath(CurvePath&) const
{
    return false;
}

Adesk::Boolean AcDbCurve::isClosed() const
{
    CurvePath path;
    return standinPath(path) && path.closed;
}

Adesk::Boolean AcDbCurve::isPeriodic() const
{
    CurvePath path;
    return standinPath(path) && path.periodic;
}

#define KV_CURVE_PATH(path)                                                                                            \
    CurvePath path;                                                                                                    \
    if (!standinPath(path))                                                                                            \
        return Acad::eNotImplementedYet;                                                                               \
    if (path.pieces.empty())                                                                                           \
    return Acad::eDegenerateGeometry

Acad::ErrorStatus AcDbCurve::getStartParam(double& param) const
{
    KV_CURVE_PATH(path);
    if (path.openStart)
        return Acad::eNotApplicable;
    param = path.pieces.front().p0;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getEndParam(double& param) const
{
    KV_CURVE_PATH(path);
    if (path.openEnd)
        return Acad::eNotApplicable;
    param = path.pieces.back().p1;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getStartPoint(AcGePoint3d& point) const
{
    double p = 0.0;
    Acad::ErrorStatus es = getStartParam(p);
    return es == Acad::eOk ? getPointAtParam(p, point) : es;
}

Acad::ErrorStatus AcDbCurve::getEndPoint(AcGePoint3d& point) const
{
    double p = 0.0;
    Acad::ErrorStatus es = getEndParam(p);
    return es == Acad::eOk ? getPointAtParam(p, point) : es;
}

Acad::ErrorStatus AcDbCurve::getPointAtParam(double param, AcGePoint3d& point) const
{
    KV_CURVE_PATH(path);
    const CurvePiece* c = findPiece(path, param);
    if (c == nullptr)
        return Acad::eInvalidInput;
    point = piecePoint(*c, clampToPiece(*c, toPiece(*c, param)));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getParamAtPoint(const AcGePoint3d& point, double& param) const
{
    KV_CURVE_PATH(path);
    double bestD = std::numeric_limits<double>::max(), bestP = 0.0;
    for (const CurvePiece& c : path.pieces) {
        double d = 0.0;
        double t = nearestOnPiece(c, point, d);
        if (d < bestD) {
            bestD = d;
            bestP = toEntity(c, t);
        }
    }
    if (bestD > kOnCurve * pathScale(path))
        return Acad::eInvalidInput;
    param = bestP;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getDistAtParam(double param, double& dist) const
{
    KV_CURVE_PATH(path);
    if (path.openStart) {
        // Distances of an unbounded line are measured from its base point.
        const CurvePiece& c = path.pieces.front();
        dist = (param - 0.0) * c.axisX.length();
        return Acad::eOk;
    }
    const CurvePiece* at = findPiece(path, param);
    if (at == nullptr)
        return Acad::eInvalidInput;
    double sum = 0.0;
    for (const CurvePiece& c : path.pieces) {
        if (&c == at) {
            double t = clampToPiece(c, toPiece(c, param));
            sum += pieceLength(c, c.t0, t);
            break;
        }
        sum += pieceLength(c, c.t0, c.t1);
    }
    dist = sum;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getParamAtDist(double dist, double& param) const
{
    KV_CURVE_PATH(path);
    if (!std::isfinite(dist) || (dist < 0.0 && !path.openStart))
        return Acad::eInvalidInput;
    if (path.openStart || path.openEnd) {
        const CurvePiece& c = path.pieces.front();
        double speed = c.axisX.length();
        if (speed <= 0.0)
            return Acad::eDegenerateGeometry;
        param = c.p0 == -std::numeric_limits<double>::infinity() ? dist / speed : c.p0 + dist / speed;
        if (path.openStart)
            param = dist / speed;
        return Acad::eOk;
    }
    double before = 0.0;
    for (const CurvePiece& c : path.pieces) {
        double len = pieceLength(c, c.t0, c.t1);
        if (dist <= before + len * (1.0 + 1e-12) || &c == &path.pieces.back()) {
            double want = dist - before;
            if (want > len * (1.0 + 1e-9) + 1e-12)
                return Acad::eInvalidInput;
            double lo = c.t0, hi = c.t1;
            if (c.kind == CurvePiece::kSegment ||
                (c.kind == CurvePiece::kEllipse &&
                 std::fabs(c.axisX.length() - c.axisY.length()) <= 1e-12 * c.axisX.length())) {
                double t = len > 0.0 ? c.t0 + (c.t1 - c.t0) * (want / len) : c.t0;
                param = toEntity(c, clampToPiece(c, t));
                return Acad::eOk;
            }
            for (int i = 0; i < 60; ++i) {
                double mid = (lo + hi) / 2.0;
                if (pieceLength(c, c.t0, mid) < want)
                    lo = mid;
                else
                    hi = mid;
            }
            param = toEntity(c, (lo + hi) / 2.0);
            return Acad::eOk;
        }
        before += len;
    }
    return Acad::eInvalidInput;
}

Acad::ErrorStatus AcDbCurve::getDistAtPoint(const AcGePoint3d& point, double& dist) const
{
    double p = 0.0;
    Acad::ErrorStatus es = getParamAtPoint(point, p);
    return es == Acad::eOk ? getDistAtParam(p, dist) : es;
}

Acad::ErrorStatus AcDbCurve::getPointAtDist(double dist, AcGePoint3d& point) const
{
    double p = 0.0;
    Acad::ErrorStatus es = getParamAtDist(dist, p);
    return es == Acad::eOk ? getPointAtParam(p, point) : es;
}

Acad::ErrorStatus AcDbCurve::getFirstDeriv(double param, AcGeVector3d& firstDeriv) const
{
    KV_CURVE_PATH(path);
    const CurvePiece* c = findPiece(path, param);
    if (c == nullptr)
        return Acad::eInvalidInput;
    double scale = 1.0;
    if (std::isfinite(c->p1) && std::isfinite(c->p0) && c->p1 != c->p0)
        scale = (c->t1 - c->t0) / (c->p1 - c->p0);
    firstDeriv = pieceDeriv(*c, clampToPiece(*c, toPiece(*c, param))) * scale;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getFirstDeriv(const AcGePoint3d& point, AcGeVector3d& firstDeriv) const
{
    double p = 0.0;
    Acad::ErrorStatus es = getParamAtPoint(point, p);
    return es == Acad::eOk ? getFirstDeriv(p, firstDeriv) : es;
}
