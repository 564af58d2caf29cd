#pragma once
// A readable account of a simulated device, as the device inspector prints
// it: identity, load states, the stored memory regions (rows of 16 bytes,
// rows of zeros left out), the stamp properties, the status block as the
// device would answer it now, its faults and its bus time.

#include "platform/bus/SimulatedDevice.h"

#include <string>

namespace platform {

// Names of the load states as the report writes them.
const char* LoadStateName(BYTE nState);

// Sections of the report; all by default.
struct CDeviceReportOptions
{
    bool m_bMemory = true;
    bool m_bStatus = true;
};

std::string FormatDeviceReport(const CSimulatedDevice& device, const CDeviceReportOptions& options = {});

}  // namespace platform
