#pragma once
// The memory-access object of the bus-access library's stand-in
// ("Falcon.MemoryAccess.1"): reads and writes device memory, split into
// frames of at most 12 bytes.

#include "platform/bus/FalconMemoryRegionAccess.h"

class CFalconMemoryAccess : public CFalconMemoryRegionAccess<Falcon::IMemoryAccess>
{
public:
    CFalconMemoryAccess()
        : CFalconMemoryRegionAccess("MemoryAccess", &IDeviceLink::ReadMemory, &IDeviceLink::WriteMemory)
    {
    }

    BEGIN_COM_MAP(CFalconMemoryAccess)
    COM_INTERFACE_ENTRY(Falcon::IMemoryAccess)
    END_COM_MAP()
    DECLARE_NOT_AGGREGATABLE(CFalconMemoryAccess)
};
