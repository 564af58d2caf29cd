#pragma once
// A device as the bus-access library's objects reach it once a connection
// to it is open: the simulated device itself, or a real one behind knxd.
// Longer requests are split into frames by the link; a failing frame ends
// the request, and what the frames before it wrote stays.

#include "platform/base/WinTypes.h"
#include "platform/bus/DeviceResult.h"

#include <cstddef>
#include <vector>

class IDeviceLink
{
public:
    virtual ~IDeviceLink() = default;

    virtual bool IsConnected() const = 0;
    virtual EDeviceResult Disconnect() = 0;

    virtual EDeviceResult ReadProperty(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode, WORD nStartIndex,
                                       BYTE nCount, std::vector<BYTE>& arrData) = 0;
    virtual EDeviceResult WriteProperty(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode, WORD nStartIndex,
                                        BYTE nCount, const BYTE* pData, std::size_t nLength, WORD nFlag = 0) = 0;
    virtual EDeviceResult ReadMemory(DWORD nAddress, std::size_t nLength, std::vector<BYTE>& arrData) = 0;
    virtual EDeviceResult WriteMemory(DWORD nAddress, const BYTE* pData, std::size_t nLength, WORD nFlag = 0) = 0;
    virtual EDeviceResult ReadUserMemory(DWORD nAddress, std::size_t nLength, std::vector<BYTE>& arrData) = 0;
    virtual EDeviceResult WriteUserMemory(DWORD nAddress, const BYTE* pData, std::size_t nLength,
                                          WORD nFlag = 0) = 0;
};
