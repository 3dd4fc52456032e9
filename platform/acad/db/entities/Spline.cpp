// AcDbSpline: control data, and the fit-point interpolation.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "DbInternal.h"
#include "EntityRules.h"
#include "dbspline.h"

using standin::CurvePath;
using standin::CurvePiece;

using acdbimpl::isFinite;
using acdbimpl::usableNormal;

namespace {

// The B-spline basis functions of degree p at t in the span (Cox-de Boor).
void basis(int span, double t, int p, const std::vector<double>& U, std::vector<double>& N)
{
    N.assign(static_cast<size_t>(p + 1), 0.0);
    std::vector<double> left(static_cast<size_t>(p + 1)), right(static_cast<size_t>(p + 1));
    N[0] = 1.0;
    for (int j = 1; j <= p; ++j) {
        left[static_cast<size_t>(j)] = t - U[static_cast<size_t>(span + 1 - j)];
        right[static_cast<size_t>(j)] = U[static_cast<size_t>(span + j)] - t;
        double saved = 0.0;
        for (int r = 0; r < j; ++r) {
            double den = right[static_cast<size_t>(r + 1)] + left[static_cast<size_t>(j - r)];
            double temp = den != 0.0 ? N[static_cast<size_t>(r)] / den : 0.0;
            N[static_cast<size_t>(r)] = saved + right[static_cast<size_t>(r + 1)] * temp;
            saved = left[static_cast<size_t>(j - r)] * temp;
        }
        N[static_cast<size_t>(j)] = saved;
    }
}

Acad::ErrorStatus pointAt(const AcGePoint3dArray& points, int index, AcGePoint3d& point)
{
    if (index < 0 || index >= points.length())
        return Acad::eInvalidIndex;
    point = points[index];
    return Acad::eOk;
}

// The periodic form: n control points over n + 1 knots.
bool periodicForm(bool periodic, int controls, int knots)
{
    return periodic && knots == controls + 1;
}

}  // namespace

void standin::unrollPeriodic(int degree, std::vector<AcGePoint3d>& controls, std::vector<double>& knots,
                             std::vector<double>& weights)
{
    const long p = degree;
    const long n = static_cast<long>(controls.size());
    if (p < 1 || n == 0 || knots.size() != controls.size() + 1)
        return;
    const double period = knots[static_cast<size_t>(n)] - knots[0];
    // The knot j of the endless sequence, t(j + n) = t(j) + period.
    auto knot = [&](long j) {
        const long turns = j >= 0 ? j / n : -((-j + n - 1) / n);
        return knots[static_cast<size_t>(j - turns * n)] + static_cast<double>(turns) * period;
    };
    std::vector<double> unrolled;
    unrolled.reserve(static_cast<size_t>(n + 2 * p + 1));
    for (long j = -p; j <= n + p; ++j)
        unrolled.push_back(knot(j));
    knots.swap(unrolled);
    for (long k = 0; k < p; ++k)
        controls.push_back(controls[static_cast<size_t>(k % n)]);
    if (!weights.empty())
        for (long k = 0; k < p; ++k)
            weights.push_back(weights[static_cast<size_t>(k % n)]);
}

bool standin::rollPeriodic(int degree, std::vector<AcGePoint3d>& controls, std::vector<double>& knots,
                           std::vector<double>& weights)
{
    const size_t p = degree > 0 ? static_cast<size_t>(degree) : 0;
    if (p == 0 || controls.size() < 2 * p + 1 || knots.size() != controls.size() + p + 1 ||
        (!weights.empty() && weights.size() != controls.size()))
        return false;
    const size_t n = controls.size() - p;
    for (size_t k = 0; k < p; ++k) {
        if (!controls[n + k].isEqualTo(controls[k]))
            return false;
        if (!weights.empty() && weights[n + k] != weights[k])
            return false;
    }
    const double period = knots[n + p] - knots[p];
    if (!(period > 0.0))
        return false;
    const double slack = 1e-9 * std::max(1.0, std::fabs(knots[n + p]) + std::fabs(knots[p]));
    for (size_t j = 0; j + n < knots.size(); ++j)
        if (std::fabs(knots[j + n] - knots[j] - period) > slack)
            return false;
    controls.resize(n);
    if (!weights.empty())
        weights.resize(n);
    knots.erase(knots.begin() + static_cast<std::ptrdiff_t>(n + p + 1), knots.end());
    knots.erase(knots.begin(), knots.begin() + static_cast<std::ptrdiff_t>(p));
    return true;
}

ACRX_DXF_DEFINE_MEMBERS(AcDbSpline, AcDbCurve, AcDb::kDHL_CURRENT, 0, 0, SPLINE, ACDB)

AcDbSpline::AcDbSpline() = default;

AcDbSpline::AcDbSpline(const AcGePoint3dArray& fitPoints, int order, double fitTolerance)
{
    if (isFinite(fitTolerance) && fitTolerance >= 0.0)
        mFitTolerance = fitTolerance;
    fitThrough(fitPoints, order);
}

AcDbSpline::AcDbSpline(const AcGePoint3dArray& fitPoints, const AcGeVector3d&, const AcGeVector3d&, int order,
                       double fitTolerance)
    : AcDbSpline(fitPoints, order, fitTolerance)
{}

AcDbSpline::AcDbSpline(int degree, Adesk::Boolean rational, Adesk::Boolean closed, Adesk::Boolean periodic,
                       const AcGePoint3dArray& controlPoints, const AcGeDoubleArray& knots,
                       const AcGeDoubleArray& weights, double controlPtTol, double knotTol)
{
    setNurbsData(degree, rational, closed, periodic, controlPoints, knots, weights, acdbimpl::finiteOr(controlPtTol, 0.0),
                 acdbimpl::finiteOr(knotTol, 0.0));
}

AcDbSpline::~AcDbSpline() = default;

Acad::ErrorStatus AcDbSpline::setNurbsData(int degree, Adesk::Boolean rational, Adesk::Boolean closed,
                                           Adesk::Boolean periodic, const AcGePoint3dArray& controlPoints,
                                           const AcGeDoubleArray& knots, const AcGeDoubleArray& weights,
                                           double controlPtTol, double knotTol)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    const int n = controlPoints.length();
    const bool onePeriod = periodicForm(periodic, n, knots.length());
    if (degree < 1 || degree > 25 || n < degree + 1 || (!onePeriod && knots.length() != n + degree + 1) ||
        !isFinite(controlPtTol) || !isFinite(knotTol))
        return Acad::eInvalidInput;
    for (const AcGePoint3d& p : controlPoints)
        if (!isFinite(p))
            return Acad::eInvalidInput;
    for (int i = 0; i < knots.length(); ++i) {
        if (!std::isfinite(knots[i]) || (i > 0 && knots[i] < knots[i - 1]))
            return Acad::eInvalidInput;
    }
    if (!(onePeriod ? knots[n] > knots[0] : knots[n] > knots[degree]))
        return Acad::eInvalidInput;
    if (rational) {
        if (weights.length() != n)
            return Acad::eInvalidInput;
        for (double w : weights)
            if (!std::isfinite(w) || w <= 0.0)
                return Acad::eInvalidInput;
    }
    mDegree = degree;
    mRational = rational;
    mClosed = closed;
    mPeriodic = periodic;
    mControls = controlPoints;
    mKnots = knots;
    mWeights.removeAll();
    if (rational)
        mWeights = weights;
    mFitPoints.removeAll();
    mControlTol = controlPtTol;
    mKnotTol = knotTol;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getNurbsData(int& degree, Adesk::Boolean& rational, Adesk::Boolean& closed,
                                           Adesk::Boolean& periodic, AcGePoint3dArray& controlPoints,
                                           AcGeDoubleArray& knots, AcGeDoubleArray& weights, double& controlPtTol,
                                           double& knotTol) const
{
    degree = mDegree;
    rational = mRational;
    closed = mClosed;
    periodic = mPeriodic;
    controlPoints = mControls;
    knots = mKnots;
    if (mRational) {
        weights = mWeights;
    } else {
        weights.removeAll();
        for (int i = 0; i < mControls.length(); ++i)
            weights.append(1.0);
    }
    controlPtTol = mControlTol;
    knotTol = mKnotTol;
    return Acad::eOk;
}

Adesk::Boolean AcDbSpline::isNull() const
{
    return mControls.isEmpty();
}
int AcDbSpline::numControlPoints() const
{
    return mControls.length();
}

Acad::ErrorStatus AcDbSpline::getControlPointAt(int index, AcGePoint3d& point) const
{
    return pointAt(mControls, index, point);
}

Acad::ErrorStatus AcDbSpline::setControlPointAt(int index, const AcGePoint3d& point)
{
    Acad::ErrorStatus es = checkWritable();
    if (es != Acad::eOk)
        return es;
    if (index < 0 || index >= mControls.length())
        return Acad::eInvalidIndex;
    if (!isFinite(point))
        return Acad::eInvalidInput;
    mControls[index] = point;
    mFitPoints.removeAll();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getWeightAt(int index, double& weight) const
{
    if (index < 0 || index >= mControls.length())
        return Acad::eInvalidIndex;
    weight = mRational ? mWeights[index] : 1.0;
    return Acad::eOk;
}

int AcDbSpline::numFitPoints() const
{
    return mFitPoints.length();
}

Acad::ErrorStatus AcDbSpline::getFitPointAt(int index, AcGePoint3d& point) const
{
    return pointAt(mFitPoints, index, point);
}

Adesk::Boolean AcDbSpline::hasFitData() const
{
    return !mFitPoints.isEmpty();
}

Adesk::Boolean AcDbSpline::isClosed() const
{
    if (isNull())
        return false;
    if (mClosed || mPeriodic)
        return true;
    AcGePoint3d s, e;
    return getStartPoint(s) == Acad::eOk && getEndPoint(e) == Acad::eOk && s.isEqualTo(e);
}

Adesk::Boolean AcDbSpline::isPeriodic() const
{
    return !isNull() && mPeriodic;
}

bool AcDbSpline::standinPath(CurvePath& path) const
{
    if (isNull())
        return true;
    CurvePiece piece;
    piece.kind = CurvePiece::kNurbs;
    piece.degree = mDegree;
    piece.controls.assign(mControls.begin(), mControls.end());
    piece.knots.assign(mKnots.begin(), mKnots.end());
    if (mRational)
        piece.weights.assign(mWeights.begin(), mWeights.end());
    if (periodicForm(mPeriodic, mControls.length(), mKnots.length()))
        standin::unrollPeriodic(mDegree, piece.controls, piece.knots, piece.weights);
    piece.t0 = piece.p0 = piece.knots[static_cast<size_t>(mDegree)];
    piece.t1 = piece.p1 = piece.knots[piece.controls.size()];
    path.pieces.push_back(piece);
    path.periodic = mPeriodic;
    path.closed = mClosed || mPeriodic;
    return true;
}

Acad::ErrorStatus AcDbSpline::transformBy(const AcGeMatrix3d& xform)
{
    return acdbimpl::movePoints(acdbimpl::movePoints(checkWritable(), mControls, xform), mFitPoints, xform);
}

bool AcDbSpline::fitThrough(const AcGePoint3dArray& fitPoints, int order)
{
    if (order < 2 || order > 26)
        return false;
    // Repeated neighbours add nothing to the curve.
    std::vector<AcGePoint3d> q;
    for (const AcGePoint3d& p : fitPoints) {
        if (!isFinite(p))
            return false;
        if (q.empty() || !q.back().isEqualTo(p))
            q.push_back(p);
    }
    const int n = static_cast<int>(q.size());
    if (n < 2)
        return false;
    const int p = std::min(order - 1, n - 1);
    // Chord-length parameters, and knots by averaging them.
    std::vector<double> u(static_cast<size_t>(n), 0.0);
    double total = 0.0;
    for (int i = 1; i < n; ++i)
        total += q[static_cast<size_t>(i)].distanceTo(q[static_cast<size_t>(i - 1)]);
    for (int i = 1; i < n; ++i)
        u[static_cast<size_t>(i)] =
            u[static_cast<size_t>(i - 1)] + q[static_cast<size_t>(i)].distanceTo(q[static_cast<size_t>(i - 1)]) / total;
    u[static_cast<size_t>(n - 1)] = 1.0;
    std::vector<double> U(static_cast<size_t>(n + p + 1), 0.0);
    for (int i = n; i < n + p + 1; ++i)
        U[static_cast<size_t>(i)] = 1.0;
    for (int j = 1; j < n - p; ++j) {
        double s = 0.0;
        for (int i = j; i < j + p; ++i)
            s += u[static_cast<size_t>(i)];
        U[static_cast<size_t>(j + p)] = s / p;
    }
    // The collocation system is banded (row i has its entries within p + 1
    // columns of i) and totally positive, so it is solved in band storage by
    // elimination without pivoting.
    const int h = p + 1;
    const int width = 2 * h + 1;
    std::vector<double> A(static_cast<size_t>(n) * static_cast<size_t>(width), 0.0);
    auto at = [&](int r, int col) -> double& {
        return A[static_cast<size_t>(r) * static_cast<size_t>(width) + static_cast<size_t>(col - r + h)];
    };
    std::vector<double> N;
    for (int i = 0; i < n; ++i) {
        double t = u[static_cast<size_t>(i)];
        int span = p;
        while (span < n - 1 && t >= U[static_cast<size_t>(span + 1)])
            ++span;
        basis(span, t, p, U, N);
        for (int j = 0; j <= p; ++j) {
            int col = span - p + j;
            if (N[static_cast<size_t>(j)] == 0.0)
                continue;
            if (col < i - h || col > i + h)
                return false;
            at(i, col) = N[static_cast<size_t>(j)];
        }
    }
    std::vector<AcGeVector3d> b;
    for (const AcGePoint3d& pt : q)
        b.push_back(pt.asVector());
    for (int c = 0; c < n; ++c) {
        double pivot = at(c, c);
        if (std::fabs(pivot) < 1e-14)
            return false;
        for (int r = c + 1; r < n && r <= c + h; ++r) {
            double f = at(r, c) / pivot;
            if (f == 0.0)
                continue;
            for (int k = c; k < n && k <= c + h; ++k)
                at(r, k) -= f * at(c, k);
            b[static_cast<size_t>(r)] -= b[static_cast<size_t>(c)] * f;
        }
    }
    std::vector<AcGePoint3d> x(static_cast<size_t>(n));
    for (int r = n - 1; r >= 0; --r) {
        AcGeVector3d sum = b[static_cast<size_t>(r)];
        for (int k = r + 1; k < n && k <= r + h; ++k)
            sum -= x[static_cast<size_t>(k)].asVector() * at(r, k);
        x[static_cast<size_t>(r)] = AcGePoint3d::kOrigin + sum / at(r, r);
    }
    mDegree = p;
    mRational = false;
    mControls.removeAll();
    for (const AcGePoint3d& c : x)
        mControls.append(c);
    mKnots.removeAll();
    for (double k : U)
        mKnots.append(k);
    mWeights.removeAll();
    mFitPoints = fitPoints;
    mClosed = q.front().isEqualTo(q.back());
    return true;
}
