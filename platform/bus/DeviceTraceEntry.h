#pragma once
// One entry of the simulated device's operation trace: a connection step or
// one frame of an access, with what it carried and how the device answered.
// Frames of one access call share its call number.

#include "platform/base/WinTypes.h"
#include "platform/bus/DeviceResult.h"

#include <string>
#include <vector>

enum class EDeviceOperation {
    TestInterface,
    Connect,
    Disconnect,
    PropertyRead,
    PropertyWrite,
    MemoryRead,
    MemoryWrite,
    UserMemoryRead,
    UserMemoryWrite
};

const char* DeviceOperationName(EDeviceOperation eOperation);

class CDeviceTraceEntry
{
public:
    EDeviceOperation m_eOperation = EDeviceOperation::Connect;
    DWORD m_nCall = 0;          // the access call, counted from 1; 0 for uncounted steps
    DWORD m_nAddress = 0;       // memory address, or the target address of a connect
    BYTE m_nObjectIndex = 0;    // property accesses
    BYTE m_nPropertyId = 0;
    BYTE m_nTypeCode = 0;
    WORD m_nStartIndex = 0;
    BYTE m_nCount = 0;
    WORD m_nFlag = 0;           // the write flag passed through
    std::vector<BYTE> m_arrData;  // written bytes, or the bytes read
    EDeviceResult m_eResult = EDeviceResult::Ok;

    bool IsMemoryAccess() const
    {
        return m_eOperation == EDeviceOperation::MemoryRead || m_eOperation == EDeviceOperation::MemoryWrite;
    }

    // One line for test messages, for example "MemoryWrite 0x4000 [01] Ok".
    std::string ToString() const;
};
