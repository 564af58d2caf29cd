#pragma once
// The dialog (191) that asks for the number, name, description, key and
// central-function flag of a new sub group (group address) of the host
// project. It presets the lowest free number of the group and refuses one
// in use.

#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"

#include <string>

class CEtsDataAccess;
class CValueEditEx;

class CSubGroupEditDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr UINT IDD = 191;
    static constexpr UINT IDC_NAME = 1246;
    static constexpr UINT IDC_NUMBER = 1247;
    static constexpr UINT IDC_RANGE = 1248;
    static constexpr UINT IDC_DESCRIPTION = 1250;
    static constexpr UINT IDC_KEY = 1252;
    static constexpr UINT IDC_CENTRAL = 1254;
    static constexpr UINT IDC_HELP_BUTTON = 1299;
    // Its help is the application's page.
    static constexpr DWORD kHelpContext = 131185;

    // nGroupId: the middle group's host id (three levels) or the main
    // group's (two levels); the addresses are those of the group's main and
    // middle group.
    CSubGroupEditDlg(CEtsDataAccess* pAccess, int nGroupId, int nMainAddress, int nMiddleAddress,
                     QWidget* pParent = nullptr);
    ~CSubGroupEditDlg() override;

    // Whether the group already holds a sub group with this number.
    bool IsNumberInUse(int nNumber) const;
    int GetLowestNumber() const;
    int GetHighestNumber() const;

    // After IDOK.
    int m_nNumber = 0;
    std::string m_strName;
    std::string m_strDescription;
    std::string m_strKey;
    BOOL m_bCentralFunction = FALSE;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CEtsDataAccess* m_pAccess = nullptr;
    int m_nGroupId = -1;
    int m_nMainAddress = 0;
    int m_nMiddleAddress = 0;
    std::string m_strRange;
    CValueEditEx* m_pNumberEdit = nullptr;
};
