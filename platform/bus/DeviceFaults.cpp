#include "platform/bus/DeviceFaults.h"

void CDeviceFaults::SetFailCall(DWORD nCall, DWORD nCount)
{
    m_nFailCall = nCall;
    m_nFailCallCount = nCount;
    m_nCallCount = 0;
}

bool CDeviceFaults::CountCall()
{
    ++m_nCallCount;
    if (m_nFailCall == 0 || m_nCallCount < m_nFailCall)
        return false;
    return m_nCallCount - m_nFailCall < m_nFailCallCount;
}

bool CDeviceFaults::IsLoadStateStuck(int nMachine) const
{
    return nMachine >= 1 && nMachine <= 3 && (m_nStuckMask & (1u << nMachine)) != 0;
}

void CDeviceFaults::SetLoadStateStuck(int nMachine, bool bStuck)
{
    if (nMachine < 1 || nMachine > 3)
        return;
    if (bStuck)
        m_nStuckMask = static_cast<BYTE>(m_nStuckMask | (1u << nMachine));
    else
        m_nStuckMask = static_cast<BYTE>(m_nStuckMask & ~(1u << nMachine));
}

bool CDeviceFaults::IsEmpty() const
{
    return !m_bRefuseConnection && m_nDeviceOpenError == 0 && m_nFailCall == 0 && m_nStuckMask == 0 &&
           !m_oForeignApplication;
}
