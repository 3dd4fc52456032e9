// VrnCurve: line, circle, arc and polyline tests over openNURBS curves.
#include "VrnGeo.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const double kRelativeTolerance = 1e-9;
const int kSamplesPerSpan = 16;
const double kTurn = 2.0 * ON_PI;

struct Homogeneous {
    double x, y, z, w;
};

// A NURBS curve read into plain arrays: Euclidean control points, weights
// and the openNURBS knot vector (order + count - 2 knots).
class Nurbs {
public:
    bool Load(const ON_NurbsCurve& curve)
    {
        order_ = curve.Order();
        const int count = curve.CVCount();
        if (order_ < 2 || count < order_ || curve.KnotCount() != order_ + count - 2)
            return false;
        for (int i = 0; i < count; ++i) {
            const double w = curve.Weight(i);
            ON_3dPoint p(0.0, 0.0, 0.0);
            if (!(w > 0.0) || !std::isfinite(w) || !curve.GetCV(i, p))
                return false;
            if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
                return false;
            points_.push_back(p);
            weights_.push_back(w);
        }
        for (int i = 0; i < curve.KnotCount(); ++i) {
            const double k = curve.Knot(i);
            if (!std::isfinite(k) || (i > 0 && k < knots_.back()))
                return false;
            knots_.push_back(k);
        }
        return Start() < End();
    }

    int Order() const { return order_; }
    int Count() const { return static_cast<int>(points_.size()); }
    const ON_3dPoint& Point(int i) const { return points_[static_cast<size_t>(i)]; }
    double Weight(int i) const { return weights_[static_cast<size_t>(i)]; }
    double Knot(int i) const { return knots_[static_cast<size_t>(i)]; }
    double Start() const { return Knot(order_ - 2); }
    double End() const { return Knot(Count() - 1); }

    // The size of the control polygon: the largest extent of its coordinates.
    double Size() const
    {
        ON_3dPoint lo = points_[0];
        ON_3dPoint hi = points_[0];
        for (const ON_3dPoint& p : points_) {
            lo.x = std::min(lo.x, p.x);
            lo.y = std::min(lo.y, p.y);
            lo.z = std::min(lo.z, p.z);
            hi.x = std::max(hi.x, p.x);
            hi.y = std::max(hi.y, p.y);
            hi.z = std::max(hi.z, p.z);
        }
        return std::max(hi.x - lo.x, std::max(hi.y - lo.y, hi.z - lo.z));
    }

    // De Boor's algorithm on the homogeneous control points.
    ON_3dPoint PointAt(double t) const
    {
        const int p = order_ - 1;
        int span = order_ - 2;  // knot index i with knot[i] <= t < knot[i + 1]
        while (span < Count() - 2 && t >= Knot(span + 1))
            ++span;
        std::vector<Homogeneous> d(static_cast<size_t>(order_));
        const int first = span - order_ + 2;
        for (int j = 0; j <= p; ++j) {
            const ON_3dPoint& q = Point(first + j);
            const double w = Weight(first + j);
            d[static_cast<size_t>(j)] = Homogeneous{q.x * w, q.y * w, q.z * w, w};
        }
        // Full knot vector U[m] = knot[m - 1]; the span in it is span + 1.
        const int s = span + 1;
        for (int r = 1; r <= p; ++r) {
            for (int j = p; j >= r; --j) {
                const double a0 = Knot(j + s - p - 1);
                const double a1 = Knot(j + 1 + s - r - 1);
                const double alpha = a1 > a0 ? (t - a0) / (a1 - a0) : 0.0;
                Homogeneous& dj = d[static_cast<size_t>(j)];
                const Homogeneous& dk = d[static_cast<size_t>(j - 1)];
                dj = Homogeneous{(1 - alpha) * dk.x + alpha * dj.x, (1 - alpha) * dk.y + alpha * dj.y,
                                 (1 - alpha) * dk.z + alpha * dj.z, (1 - alpha) * dk.w + alpha * dj.w};
            }
        }
        const Homogeneous& h = d[static_cast<size_t>(p)];
        return ON_3dPoint(h.x / h.w, h.y / h.w, h.z / h.w);
    }

    // Points at the knot span ends and kSamplesPerSpan points in each span.
    std::vector<ON_3dPoint> Samples() const
    {
        std::vector<ON_3dPoint> samples;
        for (int i = order_ - 2; i < Count() - 1; ++i) {
            const double a = Knot(i);
            const double b = Knot(i + 1);
            if (!(b > a))
                continue;
            for (int k = 0; k < kSamplesPerSpan; ++k)
                samples.push_back(PointAt(a + (b - a) * k / kSamplesPerSpan));
        }
        samples.push_back(PointAt(End()));
        return samples;
    }

private:
    int order_ = 0;
    std::vector<ON_3dPoint> points_;
    std::vector<double> weights_;
    std::vector<double> knots_;
};

double Distance(const ON_3dPoint& a, const ON_3dPoint& b)
{
    const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

ON_3dVector Cross(const ON_3dVector& a, const ON_3dVector& b)
{
    return ON_3dVector(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

double Dot(const ON_3dVector& a, const ON_3dVector& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

double Length(const ON_3dVector& v)
{
    return std::sqrt(Dot(v, v));
}

bool LoadNurbs(const ON_Curve* curve, Nurbs& nurbs)
{
    const ON_NurbsCurve* n = ON_NurbsCurve::Cast(curve);
    return n != NULL && nurbs.Load(*n);
}

// A circle through the samples, oriented as they run: the centre and normal
// of the circle through three of them, then every sample checked at the
// radius and in the plane, and the angle of every sample, measured from the
// first, growing. swept is the angle of the last sample (2 pi when the curve
// comes back to its start).
bool FitCircle(const Nurbs& nurbs, ON_Plane& plane, double& radius, double& swept)
{
    const std::vector<ON_3dPoint> samples = nurbs.Samples();
    const double tol = kRelativeTolerance * std::max(1.0, nurbs.Size());
    const size_t n = samples.size();
    if (n < 4)
        return false;
    const ON_3dPoint& a = samples[0];
    const ON_3dPoint& b = samples[n / 3];
    const ON_3dPoint& c = samples[(2 * n) / 3];
    const ON_3dVector ab = b - a;
    const ON_3dVector ac = c - a;
    ON_3dVector normal = Cross(ab, ac);
    const double area2 = Length(normal);
    if (!(area2 > tol * tol))
        return false;
    normal = normal * (1.0 / area2);
    // Circumcentre of a, b, c.
    const ON_3dVector toCenter =
        (Cross(normal, ab) * Dot(ac, ac) - Cross(normal, ac) * Dot(ab, ab)) * (1.0 / (2.0 * area2));
    const ON_3dPoint center = a + toCenter;
    radius = Distance(center, a);
    if (!(radius > tol) || !std::isfinite(radius))
        return false;

    ON_3dVector xAxis = (a - center) * (1.0 / radius);
    ON_3dVector yAxis = Cross(normal, xAxis);
    const double angleTol = tol / radius;
    double previous = 0.0;
    for (size_t i = 1; i < n; ++i) {
        const ON_3dVector d = samples[i] - center;
        if (std::fabs(Length(d) - radius) > tol || std::fabs(Dot(d, normal)) > tol)
            return false;
        double angle = std::atan2(Dot(d, yAxis), Dot(d, xAxis));
        if (angle < 0.0)
            angle += kTurn;
        if (i == n - 1 && Distance(samples[i], a) <= tol)
            angle = kTurn;  // back at the start: once round
        else if (angle > kTurn - angleTol && previous < angleTol)
            angle = 0.0;  // a hair before the start, still at the start
        if (angle < previous - angleTol)
            return false;  // turns back
        previous = std::max(previous, angle);
    }
    swept = previous;
    plane = ON_Plane(center, xAxis, yAxis);
    return true;
}

bool IsClosedNurbs(const Nurbs& nurbs)
{
    const double tol = kRelativeTolerance * std::max(1.0, nurbs.Size());
    return Distance(nurbs.PointAt(nurbs.Start()), nurbs.PointAt(nurbs.End())) <= tol;
}

}  // namespace

int VrnCurve::IsLine(const ON_Curve* curve, ON_Line& line)
{
    if (const ON_LineCurve* lineCurve = ON_LineCurve::Cast(curve)) {
        if (Distance(lineCurve->m_line.from, lineCurve->m_line.to) <= 0.0)
            return 0;
        line = lineCurve->m_line;
        return 1;
    }
    Nurbs nurbs;
    if (!LoadNurbs(curve, nurbs))
        return 0;
    const ON_3dPoint start = nurbs.PointAt(nurbs.Start());
    const ON_3dPoint end = nurbs.PointAt(nurbs.End());
    const double tol = kRelativeTolerance * std::max(1.0, nurbs.Size());
    const double length = Distance(start, end);
    if (!(length > tol))
        return 0;
    const ON_3dVector direction = (end - start) * (1.0 / length);
    double previous = 0.0;
    for (int i = 0; i < nurbs.Count(); ++i) {
        const ON_3dVector d = nurbs.Point(i) - start;
        const double along = Dot(d, direction);
        if (Length(d - direction * along) > tol || along < previous - tol || along > length + tol)
            return 0;
        previous = std::max(previous, along);
    }
    line = ON_Line(start, end);
    return 1;
}

int VrnCurve::IsCircle(const ON_Curve* curve, ON_Circle& circle)
{
    if (const ON_ArcCurve* arcCurve = ON_ArcCurve::Cast(curve)) {
        if (!arcCurve->m_arc.IsCircle())
            return 0;
        circle = ON_Circle(arcCurve->m_arc.plane, arcCurve->m_arc.radius);
        return 1;
    }
    Nurbs nurbs;
    if (!LoadNurbs(curve, nurbs) || !IsClosedNurbs(nurbs))
        return 0;
    ON_Plane plane;
    double radius = 0.0;
    double swept = 0.0;
    if (!FitCircle(nurbs, plane, radius, swept) || swept != kTurn)
        return 0;
    circle = ON_Circle(plane, radius);
    return 1;
}

int VrnCurve::IsArc(const ON_Curve* curve, ON_Arc& arc)
{
    if (const ON_ArcCurve* arcCurve = ON_ArcCurve::Cast(curve)) {
        arc = arcCurve->m_arc;
        return 1;
    }
    Nurbs nurbs;
    if (!LoadNurbs(curve, nurbs) || IsClosedNurbs(nurbs))
        return 0;
    ON_Plane plane;
    double radius = 0.0;
    double swept = 0.0;
    if (!FitCircle(nurbs, plane, radius, swept) || !(swept > 0.0) || !(swept < kTurn))
        return 0;
    arc = ON_Arc(ON_Circle(plane, radius), swept);
    return 1;
}

int VrnCurve::IsPolyline(const ON_Curve* curve, ON_Polyline& polyline)
{
    if (const ON_PolylineCurve* polylineCurve = ON_PolylineCurve::Cast(curve)) {
        if (polylineCurve->m_pline.Count() < 2)
            return 0;
        polyline = polylineCurve->m_pline;
        return 1;
    }
    Nurbs nurbs;
    if (!LoadNurbs(curve, nurbs) || nurbs.Order() != 2)
        return 0;
    // Each control point a corner: equal weights, and every knot a corner of
    // its own (a repeated knot jumps).
    for (int i = 1; i < nurbs.Count(); ++i) {
        if (nurbs.Weight(i) != nurbs.Weight(0) || !(nurbs.Knot(i) > nurbs.Knot(i - 1)))
            return 0;
    }
    ON_Polyline points;
    for (int i = 0; i < nurbs.Count(); ++i)
        points.Append(nurbs.Point(i));
    polyline = points;
    return 1;
}
