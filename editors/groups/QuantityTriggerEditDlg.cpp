#include "editors/groups/QuantityTriggerEditDlg.h"

#include "app/Chronoset.h"
#include "editors/groups/QuantityTriggerTable.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/Quantity.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/ResString.h"
#include "platform/ui/ComboBoxData.h"
#include "platform/ui/Handles.h"
#include "ui/GroupAddressInsertHook.h"
#include "ui/TableComboBox.h"
#include "ui/TableComboPlace.h"
#include "ui/TableListHeader.h"
#include "ui/ViewNotify.h"

#include <QAbstractButton>

#include <cstdio>

namespace {

bool CanAddAddress() {
    return g_pChronoset != nullptr && g_pChronoset->CanAddGroupAddress();
}

}  // namespace

CQuantityTriggerEditDlg::CQuantityTriggerEditDlg(QWidget* pParent, bool bInsertMode,
                                                 std::vector<CGroupDataAddress*>* pTriggers)
    : CDialog(IDD, pParent), m_bInsertMode(bInsertMode), m_pTriggers(pTriggers) {
    SetHelpID(IDD);
}

CQuantityTriggerEditDlg::~CQuantityTriggerEditDlg() = default;

DWORD CQuantityTriggerEditDlg::AllowedTypeMask(int nMainType) {
    switch (nMainType) {
    case 1: return 1;
    case 2: return 2;
    case 5: return 4;
    case 6: return 8;
    case 7: return 16;
    case 8: return 32;
    case 9: return 64;
    default: return 0;
    }
}

void CQuantityTriggerEditDlg::MakeAddressCombo() {
    // The template's combo box place takes the table combo box.
    m_pCombo = ui::PlaceTableCombo(*this, IDC_ADDRESS, m_pHeader);
    m_pCombo->AddGroupAddressColumns();
    m_pCombo->InitColumns(*m_pHeader, TABLE_TYPE_GROUP_ADDRESS_COMBO);
    connect(m_pCombo, &CTabComboBox::CloseUp, this, [this]() { OnCloseUp(); });
    // A choice made with the keys on the closed box counts as a close-up.
    connect(m_pCombo, &QComboBox::activated, this, [this](int) {
        if (!m_pCombo->GetDroppedState()) {
            OnCloseUp();
        }
    });
}

BOOL CQuantityTriggerEditDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();
    if (m_pQuantity == nullptr) {
        LOG_ERROR("CQuantityTriggerEditDlg: No parent quantity specified");
        EndDialog(IDCANCEL);
        return TRUE;
    }
    MakeAddressCombo();
    m_pCombo->EnableNewAddressEntry(CanAddAddress());
    m_nPosition = 0;
    if (!m_bInsertMode && m_pTriggers != nullptr && !m_pTriggers->empty()) {
        m_pTrigger = m_pTriggers->front();
    }
    char szNumber[16];
    std::snprintf(szNumber, sizeof szNumber, "%02d", m_pQuantity->GetNumber());
    SetWindowText(GetWindowText() + " " + szNumber + ": " + m_pQuantity->GetName());
    if (m_bInsertMode) {
        SetDlgItemText(IDOK, GetResString(180, "&Einfügen"));
    } else {
        SetDlgItemText(IDCANCEL, GetResString(146, "Abbrechen"));
    }
    FillCombo(nullptr);
    if (m_pPreselection != nullptr) {
        m_pCombo->SelectObject(m_pPreselection);
        m_nLastValid = m_pCombo->currentIndex();
        UpdateOkButton();
        // The mark goes with the entry really selected: a preselected
        // trigger is not offered again, and its mark must not pass silently
        // to the neighbour selected instead.
        SetSendingChecked(GetSelectedAddress() == m_pPreselection &&
                          m_pQuantity->IsRequestGroupAddress(m_pPreselection));
    }
    return TRUE;
}

void CQuantityTriggerEditDlg::FillCombo(CGroupDataAddress* pSelect) {
    if (m_pCombo == nullptr || m_pQuantity == nullptr) {
        return;
    }
    m_pCombo->ClearObjects();
    CGroupDataAddresses* pLists = g_pChronoset != nullptr ? g_pChronoset->GetGroupDataAddresses() : nullptr;
    if (pLists != nullptr) {
        // Re-editing a trigger needs no further association.
        const int nMask = m_bInsertMode ? GASM_QUANTITY_TRIGGER : (GASM_QUANTITY_TRIGGER | GASM_NO_LIMIT);
        GaPosition pos = pLists->GetFirstItemPos(nMask, m_pTrigger, false);
        while (pos) {
            CGroupDataAddress* pAddress = pLists->GetNextItem(pos, nMask, m_pTrigger, false);
            if (pAddress == nullptr || pAddress->GetAddress() == -1 ||
                pAddress->GetObjectType() != m_pQuantity->GetMainType() || pAddress->IsInvalid() ||
                m_pQuantity->HasMember(pAddress)) {
                continue;
            }
            // A quantity evaluates each address once.
            if (m_pQuantity->IsTrigger(pAddress) && (m_bInsertMode || pAddress != m_pTrigger)) {
                continue;
            }
            if (!m_pCombo->AddObject(pAddress)) {
                break;
            }
        }
        if (m_pTrigger != nullptr && m_pTrigger->IsInvalid()) {
            m_pCombo->AddObject(m_pTrigger);
        }
    }
    SetSendingChecked(m_pQuantity->IsRequestGroupAddress(pSelect != nullptr ? pSelect : m_pTrigger));
    m_pCombo->Refill();
    CGroupDataAddress* pTarget = pSelect != nullptr ? pSelect : m_pTrigger;
    if (pTarget == nullptr && m_bInsertMode) {
        pTarget = m_pLastInserted;
    }
    if (pTarget != nullptr) {
        m_pCombo->SelectObject(pTarget);
    }
    m_nLastValid = m_pCombo->currentIndex();
    UpdateOkButton();
}

void CQuantityTriggerEditDlg::UpdateOkButton() {
    QWidget* pOk = GetDlgItem(IDOK);
    if (pOk == nullptr || m_pCombo == nullptr) {
        return;
    }
    const int nSelection = m_pCombo->currentIndex();
    if (g_bStandalone) {
        pOk->setEnabled(nSelection >= 0);
        return;
    }
    // Nothing may be stored while the associations are used up.
    pOk->setEnabled(CanAddAddress() && nSelection >= 0 && nSelection != m_pCombo->GetNewAddressIndex());
}

void CQuantityTriggerEditDlg::OnCloseUp() {
    if (m_pCombo == nullptr || m_pQuantity == nullptr) {
        return;
    }
    const int nSelection = m_pCombo->currentIndex();
    if (!g_bStandalone && CanAddAddress() && nSelection >= 0 && nSelection == m_pCombo->GetNewAddressIndex()) {
        if (m_bNewAddressRunning) {
            return;
        }
        const DWORD dwMask = AllowedTypeMask(m_pQuantity->GetMainType());
        if (dwMask == 0) {
            LOG_ERROR("CQuantityTriggerEditDlg::OnCloseupQtrGroupaddress: Invalid quantity trigger type");
        }
        m_bNewAddressRunning = true;
        CGroupDataAddress* pAdded = ui::InsertGroupAddress(this, dwMask);
        m_bNewAddressRunning = false;
        if (pAdded != nullptr) {
            FillCombo(pAdded);
        } else {
            m_pCombo->setCurrentIndex(m_nLastValid);
        }
    } else {
        m_nLastValid = nSelection;
    }
    UpdateOkButton();
}

CGroupDataAddress* CQuantityTriggerEditDlg::GetSelectedAddress() const {
    const int nSelection = m_pCombo != nullptr ? m_pCombo->currentIndex() : -1;
    if (nSelection < 0 || g_pChronoset == nullptr) {
        return nullptr;
    }
    const std::intptr_t nData = GetComboItemData(m_pCombo, nSelection);
    if (nData == 0) {
        return nullptr;  // the new-address entry
    }
    // Only an address of the valid list can be stored as trigger.
    return g_pChronoset->GetGroupDataAddresses()->GetReferenceFromAddress(static_cast<LONG>(nData), false);
}

bool CQuantityTriggerEditDlg::IsSendingChecked() const {
    auto* pButton = GetDlgItemAs<QAbstractButton>(IDC_SET_SENDING);
    return pButton != nullptr && pButton->isChecked();
}

void CQuantityTriggerEditDlg::SetSendingChecked(bool bChecked) {
    if (auto* pButton = GetDlgItemAs<QAbstractButton>(IDC_SET_SENDING)) {
        pButton->setChecked(bChecked);
    }
}

void CQuantityTriggerEditDlg::SendToTable(int nType, CObject* pObject, CObject* pParent, int nKind) {
    if (m_pTable != nullptr) {
        m_pTable->SendObjectRecord(nType, pObject, pParent, nKind);
    }
}

void CQuantityTriggerEditDlg::SendKindsChangedInDebug() {
    if (g_bDebugMode && m_pTable != nullptr) {
        SendToTable(VN_KINDS_CHANGED, nullptr, nullptr, VOK_ALL);
    }
}

void CQuantityTriggerEditDlg::OnOK() {
    CGroupDataAddress* pChosen = GetSelectedAddress();
    const bool bChecked = IsSendingChecked();
    if (pChosen != nullptr && m_pQuantity != nullptr) {
        // One request address per quantity: the mark leaves the old one.
        CGroupDataAddress* pRequest = m_pQuantity->GetRequestGroupAddress();
        if (bChecked) {
            m_pQuantity->SetRequestGroupAddress(nullptr);
            if (pRequest != nullptr) {
                SendToTable(VN_CHANGED, pRequest, m_pQuantity, VOK_QUANTITYTRIGGER);
            }
        } else if (pChosen == pRequest) {
            m_pQuantity->SetRequestGroupAddress(nullptr);
            SendToTable(VN_CHANGED, pChosen, m_pQuantity, VOK_QUANTITYTRIGGER);
        }
        bool bAdded = true;
        if (!m_bInsertMode && m_pTrigger != nullptr && m_pTrigger != pChosen) {
            SendToTable(VN_REMOVED, m_pTrigger, m_pQuantity, VOK_QUANTITYTRIGGER);
            CGroupDataAddress* pOld = m_pTrigger;
            m_pQuantity->RemoveTriggerGroupAddress(pOld);
            m_pQuantity->AddTriggerGroupAddress(pChosen, false);
            // A removed request address hands its mark to the first trigger.
            CGroupDataAddress* pHeir = m_pQuantity->GetRequestGroupAddress();
            if (pHeir != nullptr && pHeir != pRequest && pHeir != pChosen) {
                SendToTable(VN_CHANGED, pHeir, m_pQuantity, VOK_QUANTITYTRIGGER);
            }
        } else if (!m_bInsertMode) {
            if (bChecked) {
                m_pQuantity->SetRequestGroupAddress(pChosen);
            }
            SendToTable(VN_CHANGED, pChosen, m_pQuantity, VOK_QUANTITYTRIGGER);
            bAdded = false;
        } else {
            m_pQuantity->AddTriggerGroupAddress(pChosen, false);
            m_pLastInserted = pChosen;
        }
        if (bAdded) {
            if (bChecked) {
                m_pQuantity->SetRequestGroupAddress(pChosen);
            }
            SendToTable(VN_ADDED, pChosen, m_pQuantity, VOK_QUANTITYTRIGGER);
        }
        g_bDataModified = true;
        DWORD nCount = 0;
        if (g_pChronoset != nullptr) {
            g_pChronoset->CountAssociations(nCount);
        }
        if (static_cast<int>(nCount) == CChronoset::GetMaxGroupAddressCount() && !m_bLimitShown) {
            ShowAssociationLimitMessage(platform::ui::HwndFromWidget(this));
            m_pCombo->EnableNewAddressEntry(false);
            m_bLimitShown = true;
        }
    }

    if (!m_bInsertMode) {
        ++m_nPosition;
        m_pTrigger = nullptr;
        if (m_pTriggers != nullptr && m_nPosition < m_pTriggers->size()) {
            m_pTrigger = (*m_pTriggers)[m_nPosition];
            if (m_pTrigger == nullptr) {
                LOG_ERROR("CQuantityTriggerEditDlg: Entry is NULL");
            }
        }
        if (m_pTrigger == nullptr) {
            SendKindsChangedInDebug();
            EndDialog(IDOK);
            return;
        }
    }
    SendKindsChangedInDebug();
    FillCombo(nullptr);
    if (m_bInsertMode && m_pQuantity != nullptr) {
        SetSendingChecked(m_pQuantity->IsRequestGroupAddress(pChosen));
    }
    m_pCombo->setFocus();
}

void CQuantityTriggerEditDlg::OnDestroy() {
    if (m_pCombo != nullptr) {
        m_pCombo->SaveColumns(TABLE_TYPE_GROUP_ADDRESS_COMBO);
    }
    CDialog::OnDestroy();
}
