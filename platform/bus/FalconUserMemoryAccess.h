#pragma once
// The user-memory-access object of the bus-access library's stand-in
// ("Falcon.UserMemoryAccess.1"): reads and writes the device's user memory
// (the status and clock block at 0xF0000), split into frames of at most 11
// bytes.

#include "platform/bus/FalconMemoryRegionAccess.h"

class CFalconUserMemoryAccess : public CFalconMemoryRegionAccess<Falcon::IUserMemoryAccess>
{
public:
    CFalconUserMemoryAccess()
        : CFalconMemoryRegionAccess("UserMemoryAccess", &IDeviceLink::ReadUserMemory, &IDeviceLink::WriteUserMemory)
    {
    }

    BEGIN_COM_MAP(CFalconUserMemoryAccess)
    COM_INTERFACE_ENTRY(Falcon::IUserMemoryAccess)
    END_COM_MAP()
    DECLARE_NOT_AGGREGATABLE(CFalconUserMemoryAccess)
};
