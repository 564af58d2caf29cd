#pragma once
// One frame on the bus as the bus-time account counts it: its kind, its
// length in characters and the bit times it occupies.

#include "platform/base/WinTypes.h"

enum class EBusFrameKind {
    Connect,             // T_Connect
    Disconnect,          // T_Disconnect
    TransportAck,        // T_Ack of a connection-oriented data frame
    MemoryWrite,
    MemoryRead,
    MemoryResponse,
    PropertyWrite,
    PropertyRead,
    PropertyResponse,
    UserMemoryWrite,
    UserMemoryRead,
    UserMemoryResponse
};

struct CBusFrame
{
    EBusFrameKind m_eKind = EBusFrameKind::Connect;
    DWORD m_nDataBytes = 0;
    DWORD m_nCharacters = 0;
    DWORD m_nBitTimes = 0;
};
