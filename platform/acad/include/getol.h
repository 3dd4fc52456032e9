// AcGeTol: the tolerances of geometric comparisons.
#pragma once

class AcGeTol {
public:
    AcGeTol() = default;
    double equalPoint() const { return mEqualPoint; }
    double equalVector() const { return mEqualVector; }
    void setEqualPoint(double value) { mEqualPoint = value; }
    void setEqualVector(double value) { mEqualVector = value; }

private:
    double mEqualPoint = 1e-10;
    double mEqualVector = 1e-10;
};
