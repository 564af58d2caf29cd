#include "editors/groups/UsageDlg.h"

#include "editors/groups/UsageList.h"
#include "model/DaySwitchTime.h"
#include "model/GroupDataAddress.h"
#include "model/QuantityMember.h"
#include "common/Log.h"
#include "common/ResString.h"
#include "platform/ui/DialogTemplate.h"

#include <QLineEdit>

namespace {

// Help context of the dialog's page.
constexpr UINT kUsageHelpId = 0x71;

}  // namespace

CUsageDlg::CUsageDlg(QWidget* pParent, bool bDeleteMode, const std::vector<CObject*>& objects)
    : CDialog(IDD, pParent), m_bDeleteMode(bDeleteMode), m_arrObjects(objects) {
    SetHelpID(kUsageHelpId);
}

CUsageDlg::~CUsageDlg() = default;

CGroupDataAddress* CUsageDlg::GroupAddressOf(CObject* pObject) {
    if (auto* pAddress = dynamic_cast<CGroupDataAddress*>(pObject)) {
        return pAddress;
    }
    if (auto* pTime = dynamic_cast<CDaySwitchTime*>(pObject)) {
        return pTime->GetGroupAddress();
    }
    if (auto* pMember = dynamic_cast<CQuantityMember*>(pObject)) {
        return pMember->GetGroupAddress();
    }
    LOG_ERROR("Wrong object type in object list");
    return nullptr;
}

void CUsageDlg::ShowWarning(int nShowState) {
    m_nShowWarning = nShowState;
    if (IsInitialized()) {
        ApplyWarning();
    }
}

void CUsageDlg::ApplyWarning() {
    if (QWidget* pWarning = GetDlgItem(IDC_WARNING)) {
        pWarning->setVisible(m_nShowWarning != 0);
    }
}

BOOL CUsageDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_bDeleteMode) {
        SetDlgItemText(IDOK, GetResString(189, "Löschen"));
    }
    // The template's list place takes the usage list.
    if (QWidget* pPlace = GetDlgItem(IDC_USAGE_LIST)) {
        m_pList = new CUsageList(pPlace->parentWidget());
        platform::ui::ReplaceDlgControl(pPlace, m_pList);
        SetDlgCtrlID(m_pList, IDC_USAGE_LIST);
        m_pList->show();
        m_pList->CreateColumns();
    }
    m_nPosition = 0;
    m_pGroupAddress = nullptr;
    if (m_arrObjects.empty()) {
        LOG_ERROR("Usage dialog displayed w/o objects in list");
    } else {
        m_pGroupAddress = GroupAddressOf(m_arrObjects.front());
        if (m_pGroupAddress == nullptr) {
            LOG_ERROR("Objects in list have no group address");
        }
    }
    ApplyWarning();
    ShowCurrent();
    return TRUE;
}

void CUsageDlg::ShowCurrent() {
    auto* pAddressEdit = GetDlgItemAs<QLineEdit>(IDC_ADDRESS);
    auto* pNameEdit = GetDlgItemAs<QLineEdit>(IDC_NAME);
    if (m_pGroupAddress == nullptr) {
        if (pAddressEdit != nullptr) {
            pAddressEdit->setText(QStringLiteral("?"));
        }
        if (pNameEdit != nullptr) {
            pNameEdit->clear();
        }
        if (m_pList != nullptr) {
            m_pList->Fill(nullptr, nullptr);
        }
        return;
    }
    if (pAddressEdit != nullptr) {
        pAddressEdit->setText(QString::fromStdString(m_pGroupAddress->GetAddressText(false)));
    }
    if (pNameEdit != nullptr) {
        pNameEdit->setText(QString::fromStdString(m_pGroupAddress->GetName()));
    }
    if (m_pList != nullptr) {
        m_pList->Fill(m_pGroupAddress, m_pCheck);
    }
}

void CUsageDlg::OnOK() {
    if (m_nShowWarning == 0 && m_nPosition + 1 < m_arrObjects.size()) {
        ++m_nPosition;
        m_pGroupAddress = GroupAddressOf(m_arrObjects[m_nPosition]);
        m_pCheck = nullptr;
        ShowCurrent();
        return;
    }
    EndDialog(IDOK);
}
