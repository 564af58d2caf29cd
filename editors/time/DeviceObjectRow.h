#pragma once
// One row of the device object table: a communication object of a device
// associated with the shown group address, as the host reported it. Every
// field starts empty or zero, so a value the host could not give never
// shows anything but that.

#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

#include <string>

class CDeviceObjectRow : public CObject {
public:
    DECLARE_RUNTIME_CLASS(CDeviceObjectRow)

    WORD m_wObjectNumber = 0;
    // Area in bits 12-15, line in bits 8-11, device in bits 0-7.
    DWORD m_dwIndividualAddress = 0;
    std::string m_strName;
    std::string m_strFunction;
    WORD m_wSizeCode = 0;
    // 0 system, 1 high, 2 alarm, 3 low.
    WORD m_wPriority = 0;
    WORD m_wCommunication = 0;
    WORD m_wRead = 0;
    WORD m_wWrite = 0;
    WORD m_wTransmit = 0;
    WORD m_wUpdate = 0;
    // From the association, not the object.
    WORD m_wAcknowledge = 0;
    std::string m_strGroupAddresses;
};
