// AcGeContext: the global settings of the geometry library.
#pragma once

#include "getol.h"

class AcGeVector3d;

struct AcGeContext {
    // The default tolerance of every comparison that takes none.
    static AcGeTol gTol;
    // A vector perpendicular to the first (the arbitrary-axis rule).
    static void (*gOrthoVector)(const AcGeVector3d& vec, AcGeVector3d& ortho);
};

namespace AcGe {
enum ErrorCondition {
    kOk = 0,
    k0This = 1,
    k0Arg1 = 2,
    k0Arg2 = 3,
    kPerpendicularArg1Arg2 = 4,
    kEqualArg1Arg2 = 5,
    kEqualArg1Arg3 = 6,
    kEqualArg2Arg3 = 7,
    kLinearlyDependentArg1Arg2Arg3 = 8,
    kArg1TooBig = 9,
    kArg1OnThis = 10,
    kArg1InsideThis = 11
};
}
