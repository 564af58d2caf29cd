#include "editors/groups/SubGroupEditDlg.h"

#include "access/EtsDataAccess.h"
#include "editors/groups/GroupAddressLevels.h"
#include "common/MessageBox.h"
#include "common/ResString.h"
#include "platform/ui/Handles.h"
#include "ui/SpinControl.h"
#include "ui/ValueEditEx.h"

#include <cstdio>

namespace {

constexpr UINT kSubGroupSpinId = 1253;

}  // namespace

CSubGroupEditDlg::CSubGroupEditDlg(CEtsDataAccess* pAccess, int nGroupId, int nMainAddress, int nMiddleAddress,
                                   QWidget* pParent)
    : CDialog(IDD, pParent),
      m_pAccess(pAccess),
      m_nGroupId(nGroupId),
      m_nMainAddress(nMainAddress),
      m_nMiddleAddress(nMiddleAddress) {
    SetHelpID(kHelpContext - 0x20000);
}

CSubGroupEditDlg::~CSubGroupEditDlg() = default;

int CSubGroupEditDlg::GetLowestNumber() const {
    // Group address 0/0/0 (0/0 with two levels) is none.
    if (GetGroupAddressLevels() == 2) {
        return m_nMainAddress == 0 ? 1 : 0;
    }
    return m_nMainAddress == 0 && m_nMiddleAddress == 0 ? 1 : 0;
}

int CSubGroupEditDlg::GetHighestNumber() const {
    return GetGroupAddressLevels() == 2 ? 2047 : 255;
}

bool CSubGroupEditDlg::IsNumberInUse(int nNumber) const {
    // The access holds no state; a caller without one gets a local one.
    CEtsDataAccess localAccess;
    CEtsDataAccess& access = m_pAccess != nullptr ? *m_pAccess : localAccess;
    if (GetGroupAddressLevels() != 2) {
        return access.FindSubGroup(m_nGroupId, nNumber) != -1;
    }
    // Two levels: the number is middle address * 256 + sub address within
    // the main group.
    const LONG nMiddleId = access.FindMiddleGroup(m_nGroupId, nNumber / 256);
    if (nMiddleId == -1) {
        return false;
    }
    return access.FindSubGroup(nMiddleId, nNumber % 256) != -1;
}

BOOL CSubGroupEditDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();
    m_strName = GetResString(380, "Neue Untergruppe");
    const int nLowest = GetLowestNumber();
    const int nHighest = GetHighestNumber();
    char szRange[32];
    std::snprintf(szRange, sizeof szRange, "[%d..%d]", nLowest, nHighest);
    m_strRange = szRange;

    // The lowest free number; with every number taken the highest stays,
    // which OK then refuses.
    m_nNumber = nLowest;
    while (m_nNumber < nHighest && IsNumberInUse(m_nNumber)) {
        ++m_nNumber;
    }

    auto* pEdit = new CValueEditEx();
    if (pEdit->SubclassDlgItem(IDC_NUMBER, this)) {
        m_pNumberEdit = pEdit;
        m_pNumberEdit->SetRange(static_cast<DWORD>(nLowest), static_cast<DWORD>(nHighest));
        m_pNumberEdit->SetValue(static_cast<DWORD>(m_nNumber));
        auto* pSpin = new CSpinControl();
        pSpin->CreateBelow(m_pNumberEdit, kSubGroupSpinId);
        pSpin->show();
    } else {
        delete pEdit;
    }
    SetDlgItemText(IDC_RANGE, m_strRange);
    SetDlgItemText(IDC_NAME, m_strName);
    SetDlgItemText(IDC_DESCRIPTION, m_strDescription);
    SetDlgItemText(IDC_KEY, m_strKey);
    CheckDlgButton(IDC_CENTRAL, m_bCentralFunction != FALSE);
    return TRUE;
}

void CSubGroupEditDlg::OnOK() {
    const int nNumber = m_pNumberEdit != nullptr ? static_cast<int>(m_pNumberEdit->GetValue()) : m_nNumber;
    if (IsNumberInUse(nNumber)) {
        const std::string strText = GetResString(426, "Untergruppenadresse ist schon vergeben");
        const std::string strCaption = GetResString(420, "Hinweis");
        CMessageBox().ShowInfo(platform::ui::HwndFromWidget(this), strText.c_str(), strCaption.c_str());
        if (m_pNumberEdit != nullptr) {
            m_pNumberEdit->setFocus();
        }
        return;
    }
    m_nNumber = nNumber;
    m_strName = GetDlgItemText(IDC_NAME);
    m_strDescription = GetDlgItemText(IDC_DESCRIPTION);
    m_strKey = GetDlgItemText(IDC_KEY);
    m_bCentralFunction = IsDlgButtonChecked(IDC_CENTRAL) ? TRUE : FALSE;
    CDialog::OnOK();
}
