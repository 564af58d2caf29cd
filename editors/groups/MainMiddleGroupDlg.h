#pragma once
// The dialog (192) that asks for the number, name, description and key of
// a new main group of the host project or a new middle group of one of its
// main groups. It presets the lowest free number and refuses one in use.

#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"

#include <string>

class CEtsDataAccess;
class CValueEditEx;

class CMainMiddleGroupDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr UINT IDD = 192;
    static constexpr UINT IDC_NAME = 1246;
    static constexpr UINT IDC_NUMBER = 1247;
    static constexpr UINT IDC_DESCRIPTION = 1250;
    static constexpr UINT IDC_KEY = 1252;
    static constexpr UINT IDC_RANGE = 1255;
    static constexpr UINT IDC_HELP_BUTTON = 1299;
    // Its help is the application's page.
    static constexpr DWORD kHelpContext = 131185;
    static constexpr int kMainGroup = 0;
    static constexpr int kMiddleGroup = 1;

    // nParentId: ignored for a main group, the main group's host id for a
    // middle group. The main groups are those of the central object's
    // project.
    CMainMiddleGroupDlg(int nKind, int nParentId, CEtsDataAccess* pAccess, QWidget* pParent = nullptr);
    ~CMainMiddleGroupDlg() override;

    // Whether a group of this kind already has the number under the parent.
    bool IsNumberInUse(int nNumber) const;
    int GetHighestNumber() const { return m_nKind == kMainGroup ? 15 : 7; }

    // After IDOK.
    int m_nNumber = 0;
    std::string m_strName;
    std::string m_strDescription;
    std::string m_strKey;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    int m_nKind = kMainGroup;
    int m_nParentId = -1;
    CEtsDataAccess* m_pAccess = nullptr;
    std::string m_strRange;
    CValueEditEx* m_pNumberEdit = nullptr;
};
