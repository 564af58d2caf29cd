#pragma once
// The usage dialog of a group address, as the association reconciliation
// shows it: the user interface installs its dialog here; without one the
// reconciliation takes the answer as confirmed.

#include "platform/base/WinTypes.h"

class CGroupAddressCheck;
class CGroupDataAddresses;

class IUsageDialog {
public:
    virtual ~IUsageDialog() = default;
    // Shows the dialog modally over hParent for the addresses of pList (the
    // list stays the caller's), with pCheck as its association check and,
    // with bShowWarning, its warning line. IDOK (1) when the user confirms.
    virtual int DoModal(HWND hParent, bool bDeleteMode, CGroupDataAddresses* pList, CGroupAddressCheck* pCheck,
                        bool bShowWarning) = 0;
};

// The installed dialog; null when none. The installer keeps it alive while
// it is installed.
IUsageDialog* GetUsageDialog();
void SetUsageDialog(IUsageDialog* pDialog);
