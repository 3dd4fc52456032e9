// AcDbVoidPtrArray: an array of untyped pointers (entities made by explode, for example).
#pragma once

#include "acarray.h"

typedef AcArray<void*> AcDbVoidPtrArray;
