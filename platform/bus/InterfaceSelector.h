#pragma once
// The bus interface selection component's class (CLSID_InterfaceSelection):
// offers the machine's connections (MachineConnections.h) through the
// installed chooser (ConnectionChooser.h) and writes the chosen one into the
// caller's connection record. A chosen state file's folder is made when the
// user confirms; the state file itself is made by the device on first use.
// The component keeps the connection it handed out last for the process,
// and offers it first to a caller that names none.

#include "platform/bus/ConnectionChooser.h"
#include "platform/bus/InterfaceSelection.h"
#include "platform/com/ComObjectRoot.h"

#include <string>
#include <vector>

class CInterfaceSelector : public Falcon::IInterfaceSelection, public CComObjectRoot
{
public:
    BEGIN_COM_MAP(CInterfaceSelector)
    COM_INTERFACE_ENTRY(Falcon::IInterfaceSelection)
    END_COM_MAP()
    DECLARE_NOT_AGGREGATABLE(CInterfaceSelector)

    HRESULT GetConnectionCount(LONG* pnCount) override;
    HRESULT GetConnection(LONG nIndex, Falcon::ConnectionRecord* pRecord) override;
    HRESULT CheckConnection(const Falcon::ConnectionRecord* pRecord) override;
    HRESULT put_OwnerWindow(HWND hOwner) override;
    HRESULT get_OwnerWindow(HWND* phOwner) override;
    HRESULT put_Caption(BSTR bstrCaption) override;
    HRESULT get_Caption(BSTR* pbstrCaption) override;
    HRESULT SelectConnection(BSTR bstrInterface, LONG nPreselect, Falcon::ConnectionRecord* pRecord) override;

    // Forgets the connection handed out last (when the class is revoked).
    static void ForgetLastConnection();

private:
    HRESULT DoSelectConnection(BSTR bstrInterface, LONG nPreselect, Falcon::ConnectionRecord& record);
    // Fills the record with the entry; false (record untouched) when its
    // name or parameter does not fit.
    static bool FillRecord(const Falcon::ConnectionEntry& entry, Falcon::ConnectionRecord& record);

    HWND m_hOwner = nullptr;
    std::string m_strCaption;
};
