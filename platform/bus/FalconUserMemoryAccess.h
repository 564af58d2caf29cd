#pragma once
// The user-memory-access object of the bus-access library's stand-in
// ("Falcon.UserMemoryAccess.1"): reads and writes the device's user memory
// (the status and clock block at 0xF0000), split into frames of at most 11
// bytes.

#include "platform/bus/FalconAccessBase.h"

class CFalconUserMemoryAccess : public Falcon::IUserMemoryAccess, public CComObjectRoot, private CFalconAccessBase
{
public:
    BEGIN_COM_MAP(CFalconUserMemoryAccess)
    COM_INTERFACE_ENTRY(Falcon::IUserMemoryAccess)
    END_COM_MAP()
    DECLARE_NOT_AGGREGATABLE(CFalconUserMemoryAccess)

    HRESULT putref_Connection(Falcon::IConnection* pConnection) override;
    HRESULT Read(WORD nLength, DWORD nAddress, VARIANT* pvData) override;
    HRESULT Write(DWORD nAddress, VARIANT vData, WORD nFlag) override;
};
