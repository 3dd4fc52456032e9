#include "HostReleaseConv.h"

namespace Conversion {

CString HostReleaseNames[kHostReleaseCount] = {
    kHostReleaseNameTexts[0], kHostReleaseNameTexts[1], kHostReleaseNameTexts[2],  kHostReleaseNameTexts[3],
    kHostReleaseNameTexts[4], kHostReleaseNameTexts[5], kHostReleaseNameTexts[6],  kHostReleaseNameTexts[7],
    kHostReleaseNameTexts[8], kHostReleaseNameTexts[9], kHostReleaseNameTexts[10], kHostReleaseNameTexts[11],
};

}  // namespace Conversion
