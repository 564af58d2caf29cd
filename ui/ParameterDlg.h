#pragma once
// The editor's one main window: a resizable modal dialog (template 207) that
// each editing run opens once, inside the host or under the launcher. Its
// title tells the product, the data file and the device; Enter and Escape
// never close it, and it always ends with IDOK.

#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"

class CObject;

class CParameterDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr UINT IDD = 207;

    // The device object is not used (the central object holds the device).
    CParameterDlg(CObject* pDeviceObject, QWidget* pParent);
    ~CParameterDlg() override;

    // Builds and sets the window title from the mode, the OEM manufacturer,
    // the data file and the device's individual address.
    void UpdateTitle();
    // The title UpdateTitle sets.
    static std::string BuildTitle();

protected:
    BOOL OnInitDialog() override;
    // The main window closes only through its close box and its exit
    // command, never by Enter or Escape.
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;
};
