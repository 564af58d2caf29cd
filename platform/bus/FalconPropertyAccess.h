#pragma once
// The property-access object of the bus-access library's stand-in
// ("Falcon.PropertyAccess.1"): reads and writes interface-object properties
// of the device its connection reaches, one frame per call.

#include "platform/bus/FalconAccessBase.h"

class CFalconPropertyAccess : public Falcon::IPropertyAccess, public CComObjectRoot, private CFalconAccessBase
{
public:
    BEGIN_COM_MAP(CFalconPropertyAccess)
    COM_INTERFACE_ENTRY(Falcon::IPropertyAccess)
    END_COM_MAP()
    DECLARE_NOT_AGGREGATABLE(CFalconPropertyAccess)

    HRESULT putref_Connection(Falcon::IConnection* pConnection) override;
    HRESULT Read(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode, WORD nStartIndex, BYTE nCount,
                 VARIANT* pvData) override;
    HRESULT Write(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode, WORD nStartIndex, BYTE nCount, VARIANT vData,
                  WORD nFlag) override;
};
