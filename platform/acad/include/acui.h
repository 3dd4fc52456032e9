// The host's user-interface library for applications.
#pragma once

// Initialises the UI library for the calling module. Modules call it from
// DllMain at every process attach; calling it again is harmless.
void InitAcUiDLL();
