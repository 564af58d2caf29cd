#include "platform/bus/DeviceState.h"

void CDeviceState::Reset(LONGLONG nNowMs, WORD nIndividualAddress)
{
    *this = CDeviceState();
    m_nIndividualAddress = nIndividualAddress;
    m_oMemory = CDeviceMemory(nIndividualAddress);
    m_oClock.Start(nNowMs);
}
