#pragma once
// One row of the main-group or middle-group table: a group of the host
// project as the host reported it.

#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

#include <string>

class CMainMiddleGroupEntry : public CObject {
public:
    DECLARE_RUNTIME_CLASS(CMainMiddleGroupEntry)

    // Main group 0..15 or middle group 0..7.
    int m_nAddress = 0;
    std::string m_strName;
    std::string m_strDescription;
    // The host's pass-through flag, column "W".
    BOOL m_bFlagW = FALSE;
    // The middle group's host id; -1 for a main group.
    int m_nHostId = -1;
};
