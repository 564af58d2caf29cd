#pragma once
// The object the launcher creates: Start runs the editor without the host,
// with its own log file and the ini file beside it.

#include "interfaces/IStandaloneChron2.h"
#include "platform/com/ComCoClass.h"
#include "platform/com/ComDllModule.h"
#include "platform/com/ComObjectRoot.h"

class CStandaloneChron2 : public IStandaloneChron2,
                          public CComObjectRoot,
                          public CComCoClass<CStandaloneChron2, CLSID_StandaloneChron2> {
public:
    BEGIN_COM_MAP(CStandaloneChron2)
    COM_INTERFACE_ENTRY(IStandaloneChron2)
    END_COM_MAP()
    DECLARE_NOT_AGGREGATABLE(CStandaloneChron2)
    DECLARE_REGISTRY_RESOURCEID(149)

    HRESULT Start(BSTR bstrLogFile) override;
};
