// AcDb: the enumerations of the drawing database.
#pragma once

#include "adesk.h"

namespace AcDb {

enum OpenMode { kForRead = 0, kForWrite = 1, kForNotify = 2 };

enum SubentType {
    kNullSubentType = 0,
    kFaceSubentType = 1,
    kEdgeSubentType = 2,
    kVertexSubentType = 3,
    kMlineSubentCache = 4,
    kClassSubentType = 5,
    kAxisSubentType = 6
};

enum Visibility { kVisible = 0, kInvisible = 1 };

enum AcDbDwgVersion {
    kDHL_MC0_0 = 0,
    kDHL_1012 = 17,
    kDHL_1013 = 18,
    kDHL_1014 = 21,
    kDHL_1015 = 23,
    kDHL_1018 = 25,
    kDHL_1021 = 27,
    kDHL_1024 = 29,
    kDHL_CURRENT = kDHL_1024,
    kDHL_Newest = kDHL_CURRENT,
    kDHL_Unknown = 32766,
    kDHL_Max = 32767
};

enum LineWeight {
    kLnWt000 = 0,
    kLnWt005 = 5,
    kLnWt009 = 9,
    kLnWt013 = 13,
    kLnWt015 = 15,
    kLnWt018 = 18,
    kLnWt020 = 20,
    kLnWt025 = 25,
    kLnWt030 = 30,
    kLnWt035 = 35,
    kLnWt040 = 40,
    kLnWt050 = 50,
    kLnWt053 = 53,
    kLnWt060 = 60,
    kLnWt070 = 70,
    kLnWt080 = 80,
    kLnWt090 = 90,
    kLnWt100 = 100,
    kLnWt106 = 106,
    kLnWt120 = 120,
    kLnWt140 = 140,
    kLnWt158 = 158,
    kLnWt200 = 200,
    kLnWt211 = 211,
    kLnWtByLayer = -1,
    kLnWtByBlock = -2,
    kLnWtByLwDefault = -3
};

}  // namespace AcDb
