#pragma once
// Where the English satellite lies in the build: beside the test program,
// as beside the plug-in once installed.

#include "platform/base/PathUtil.h"

#include <string>

inline std::string SatellitePath() {
    return platform::PathJoinSlash(platform::PathDirectory(platform::GetProgramPath()), "Vek_ZR020409.loc");
}
