#include "editors/groups/MainMiddleGroupDlg.h"

#include "access/EtsDataAccess.h"
#include "access/HostObjectMaps.h"
#include "app/Chronoset.h"
#include "common/MessageBox.h"
#include "common/ResString.h"
#include "platform/ui/Handles.h"
#include "ui/SpinControl.h"
#include "ui/ValueEditEx.h"

#include <cstdio>

namespace {

constexpr UINT kGroupNumberSpinId = 1253;

}  // namespace

CMainMiddleGroupDlg::CMainMiddleGroupDlg(int nKind, int nParentId, CEtsDataAccess* pAccess, QWidget* pParent)
    : CDialog(IDD, pParent),
      m_nKind(nKind == kMiddleGroup ? kMiddleGroup : kMainGroup),
      m_nParentId(nParentId),
      m_pAccess(pAccess) {
    SetHelpID(kHelpContext - 0x20000);
}

CMainMiddleGroupDlg::~CMainMiddleGroupDlg() = default;

bool CMainMiddleGroupDlg::IsNumberInUse(int nNumber) const {
    // The access holds no state; a caller without one gets a local one.
    CEtsDataAccess localAccess;
    CEtsDataAccess& access = m_pAccess != nullptr ? *m_pAccess : localAccess;
    // A failed host read counts as not in use.
    if (m_nKind == kMainGroup) {
        IEtsProject* pProject = g_pChronoset != nullptr ? g_mapProjects.Lookup(g_pChronoset->GetProjectId()) : nullptr;
        CComPtr<IEtsMainGroups> pMainGroups;
        LONG nCount = 0;
        if (pProject == nullptr || FAILED(pProject->get_MainGroups(&pMainGroups)) || !pMainGroups ||
            FAILED(pMainGroups->get_Count(&nCount))) {
            return false;
        }
        for (LONG i = 1; i <= nCount; ++i) {
            CComPtr<IEtsMainGroup> pMainGroup;
            LONG nAddress = -1;
            if (SUCCEEDED(pMainGroups->Item(MakeIndexVariant(i), &pMainGroup)) && pMainGroup &&
                SUCCEEDED(access.GetMainGroupAddress(pMainGroup, nAddress)) && nAddress == nNumber) {
                return true;
            }
        }
        return false;
    }
    IEtsMainGroup* pMainGroup = g_mapMainGroups.Lookup(m_nParentId);
    CComPtr<IEtsMiddleGroups> pMiddleGroups;
    LONG nCount = 0;
    if (pMainGroup == nullptr || FAILED(pMainGroup->get_MiddleGroups(&pMiddleGroups)) || !pMiddleGroups ||
        FAILED(pMiddleGroups->get_Count(&nCount))) {
        return false;
    }
    for (LONG i = 1; i <= nCount; ++i) {
        CComPtr<IEtsMiddleGroup> pMiddleGroup;
        LONG nAddress = -1;
        if (SUCCEEDED(pMiddleGroups->Item(MakeIndexVariant(i), &pMiddleGroup)) && pMiddleGroup &&
            SUCCEEDED(access.GetMiddleGroupAddress(pMiddleGroup, nAddress)) && nAddress == nNumber) {
            return true;
        }
    }
    return false;
}

BOOL CMainMiddleGroupDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();
    if (m_nKind == kMainGroup) {
        SetWindowText(GetResString(385, "Hauptgruppe bearbeiten"));
        m_strName = GetResString(382, "Neue Hauptgruppe");
    } else {
        SetWindowText(GetResString(384, "Mittelgruppe bearbeiten"));
        m_strName = GetResString(381, "Neue Mittelgruppe");
    }
    const int nHighest = GetHighestNumber();
    char szRange[32];
    std::snprintf(szRange, sizeof szRange, "[0..%d]", nHighest);
    m_strRange = szRange;

    // The lowest free number; with every number taken the highest stays,
    // which OK then refuses.
    m_nNumber = 0;
    while (m_nNumber < nHighest && IsNumberInUse(m_nNumber)) {
        ++m_nNumber;
    }

    auto* pEdit = new CValueEditEx();
    if (pEdit->SubclassDlgItem(IDC_NUMBER, this)) {
        m_pNumberEdit = pEdit;
        m_pNumberEdit->SetRange(0, static_cast<DWORD>(nHighest));
        m_pNumberEdit->SetValue(static_cast<DWORD>(m_nNumber));
        auto* pSpin = new CSpinControl();
        pSpin->CreateBelow(m_pNumberEdit, kGroupNumberSpinId);
        pSpin->show();
    } else {
        delete pEdit;
    }
    SetDlgItemText(IDC_RANGE, m_strRange);
    SetDlgItemText(IDC_NAME, m_strName);
    SetDlgItemText(IDC_DESCRIPTION, m_strDescription);
    SetDlgItemText(IDC_KEY, m_strKey);
    return TRUE;
}

void CMainMiddleGroupDlg::OnOK() {
    const int nNumber = m_pNumberEdit != nullptr ? static_cast<int>(m_pNumberEdit->GetValue()) : m_nNumber;
    if (IsNumberInUse(nNumber)) {
        const std::string strText = m_nKind == kMainGroup
                                        ? GetResString(422, "Hauptgruppenadresse ist schon vergeben")
                                        : GetResString(424, "Mittelgruppenadresse ist schon vergeben");
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
    CDialog::OnOK();
}
