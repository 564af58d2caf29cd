#pragma once
// A datagram the tunnelling server sends, and where to.

#include "platform/base/WinTypes.h"
#include "platform/bus/KnxIpEndpoint.h"

#include <vector>

class CKnxIpDatagram
{
public:
    CKnxIpEndpoint m_oTo;
    std::vector<BYTE> m_arrBytes;
};
