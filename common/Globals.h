#pragma once
// The process-wide flags that every subsystem reads. They are the only
// globals besides the ones each owning class declares beside itself.

extern bool g_bStandalone;      // started by the launcher, not inside the host
extern bool g_bDataModified;    // the parameter set has unsaved changes
extern bool g_bDebugMode;       // [Common] DebugMode at start
extern bool g_bPrintPreviewActive;  // a print preview is open
