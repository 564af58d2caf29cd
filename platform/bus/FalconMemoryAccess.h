#pragma once
// The memory-access object of the bus-access library's stand-in
// ("Falcon.MemoryAccess.1"): reads and writes device memory, split into
// frames of at most 12 bytes.

#include "platform/bus/FalconAccessBase.h"

class CFalconMemoryAccess : public Falcon::IMemoryAccess, public CComObjectRoot, private CFalconAccessBase
{
public:
    BEGIN_COM_MAP(CFalconMemoryAccess)
    COM_INTERFACE_ENTRY(Falcon::IMemoryAccess)
    END_COM_MAP()
    DECLARE_NOT_AGGREGATABLE(CFalconMemoryAccess)

    HRESULT putref_Connection(Falcon::IConnection* pConnection) override;
    HRESULT Read(WORD nLength, DWORD nAddress, VARIANT* pvData) override;
    HRESULT Write(DWORD nAddress, VARIANT vData, WORD nFlag) override;
};
