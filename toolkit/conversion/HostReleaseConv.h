// The conversion group's own table of host release names.
#pragma once

#include "HostRelease.h"

namespace Conversion {

// Built from kHostReleaseNameTexts when the module is loaded, destroyed when
// it is unloaded; the same texts as the utilities group's HostReleaseNames.
extern CString HostReleaseNames[kHostReleaseCount];

}  // namespace Conversion
