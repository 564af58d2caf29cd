#pragma once
// Faults the simulated device can be told to show, for tests of the callers'
// failure paths. They are kept with the device's state, so a device set up
// with a fault shows it to every process that connects to it.

#include "platform/base/WinTypes.h"
#include "platform/bus/ApplicationId.h"

#include <optional>

class CDeviceFaults
{
public:
    // The bus interface refuses to open a connection (and to answer a test).
    bool IsConnectionRefused() const { return m_bRefuseConnection; }
    void SetConnectionRefused(bool bRefuse) { m_bRefuseConnection = bRefuse; }

    // The extended error value that opening a connection reports; 0 none.
    LONG GetDeviceOpenError() const { return m_nDeviceOpenError; }
    void SetDeviceOpenError(LONG nError) { m_nDeviceOpenError = nError; }

    // Access calls numbered from 1 (connects included) fail from call
    // GetFailCall() on, for GetFailCallCount() calls; 0 switches it off.
    // Setting it restarts the count.
    DWORD GetFailCall() const { return m_nFailCall; }
    DWORD GetFailCallCount() const { return m_nFailCallCount; }
    void SetFailCall(DWORD nCall, DWORD nCount = 1);
    // Counts one call and tells whether it fails.
    bool CountCall();
    DWORD GetCallCount() const { return m_nCallCount; }
    void SetCallCount(DWORD nCount) { m_nCallCount = nCount; }

    // Load-state machines 1..3 that take their events without moving.
    bool IsLoadStateStuck(int nMachine) const;
    void SetLoadStateStuck(int nMachine, bool bStuck);
    BYTE GetStuckLoadStateMask() const { return m_nStuckMask; }
    void SetStuckLoadStateMask(BYTE nMask) { m_nStuckMask = static_cast<BYTE>(nMask & 0x0E); }

    // The application program the device reports instead of its own.
    const std::optional<CApplicationId>& GetForeignApplication() const { return m_oForeignApplication; }
    void SetForeignApplication(std::optional<CApplicationId> oApplication) { m_oForeignApplication = oApplication; }

    bool IsEmpty() const;
    void Clear() { *this = CDeviceFaults(); }

private:
    bool m_bRefuseConnection = false;
    LONG m_nDeviceOpenError = 0;
    DWORD m_nFailCall = 0;
    DWORD m_nFailCallCount = 1;
    DWORD m_nCallCount = 0;
    BYTE m_nStuckMask = 0;  // bit n set: machine n is stuck
    std::optional<CApplicationId> m_oForeignApplication;
};
