#pragma once
// The common start-up of both entries: one editing run from creating the
// central object to tearing everything down after the main window closed.

#include "platform/com/ComTypes.h"

#include <string>

// Runs one editing run on the host's device (null in standalone mode) over
// the parent window and returns the main window's modal result; 2 (IDCANCEL)
// when the window did not run.
int StartZR(IUnknown* pDevice, HWND hParent, const std::string& strIniPath);

inline constexpr char kMainWindowClassName[] = "Vek-DialogClass-SAT";
inline constexpr char kBuildVersion[] = "R1.00.0431.0000";
