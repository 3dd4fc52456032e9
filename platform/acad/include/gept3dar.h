// AcGePoint3dArray: an array of 3D points.
#pragma once

#include "acarray.h"
#include "gepnt3d.h"

typedef AcArray<AcGePoint3d> AcGePoint3dArray;
