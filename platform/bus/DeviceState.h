#pragma once
// Everything the simulated device keeps from one connection to the next:
// what its state file holds.

#include "platform/base/WinTypes.h"
#include "platform/bus/ApplicationId.h"
#include "platform/bus/BusTimeAccount.h"
#include "platform/bus/DeviceFaults.h"
#include "platform/bus/DeviceMemory.h"
#include "platform/bus/LoadStateMachine.h"
#include "platform/bus/SimulatedClock.h"

#include <array>
#include <vector>

class CDeviceState
{
public:
    static constexpr WORD kDefaultIndividualAddress = 0x1101;  // 1.1.1
    static constexpr std::size_t kDownloadTimeSize = 6;        // property 201 of object 5
    static constexpr std::size_t kDownloadStampSize = 40;      // property 202 of object 5

    CDeviceState() = default;

    // A fresh device: unloaded, erased properties, clock at its default
    // time from that moment on, no faults.
    void Reset(LONGLONG nNowMs, WORD nIndividualAddress = kDefaultIndividualAddress);

    WORD m_nIndividualAddress = kDefaultIndividualAddress;
    CApplicationId m_oApplicationId;
    std::array<CLoadStateMachine, 3> m_arrLoadStates;  // machines 1..3
    CDeviceMemory m_oMemory;
    // Erased (0xFF) until a download writes them; the status display takes
    // any 0xFF in the time as "never downloaded".
    std::vector<BYTE> m_arrDownloadTime = std::vector<BYTE>(kDownloadTimeSize, 0xFF);
    std::vector<BYTE> m_arrDownloadStamp = std::vector<BYTE>(kDownloadStampSize, 0xFF);
    CSimulatedClock m_oClock;
    CDeviceFaults m_oFaults;
    // Totals only: the frames of the connection last closed, and of all.
    CBusTimeAccount m_oLastSessionBusTime;
    CBusTimeAccount m_oTotalBusTime;
};
