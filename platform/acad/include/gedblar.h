// AcGeDoubleArray: an array of doubles.
#pragma once

#include "acarray.h"

typedef AcArray<double> AcGeDoubleArray;
