#pragma once
// One row of the sub-group table: a group address of the host project as
// the host reported it, and whether the parametrisation holds it already.

#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

#include <string>

class CSubGroupEntry : public CObject {
public:
    DECLARE_RUNTIME_CLASS(CSubGroupEntry)

    // The sub address 0..255 (three levels), or middle address * 256 + sub
    // address, 0..2047 (two levels).
    int m_nNumber = 0;
    // The raw address is held by the valid list or the internal clock.
    BOOL m_bListed = FALSE;
    std::string m_strName;
    std::string m_strDescription;
    // The host's pass-through flag, column "W".
    BOOL m_bFlagW = FALSE;
    BOOL m_bCentralFunction = FALSE;
    // Becomes the group address's host reference.
    int m_nHostId = -1;
    // The host's value type: -1 none, 0 1 bit, 1 2 bit, 7 1 byte, 8 2 bytes,
    // 9 3 bytes, others unsupported.
    SHORT m_nHostObjectType = -1;
    // The host id of the middle group holding the sub group.
    int m_nGroupId = -1;
};
