#include "editors/groups/QuantityMemberEditDlg.h"

#include "app/Chronoset.h"
#include "model/DptManager.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/Locale.h"
#include "model/Quantity.h"
#include "model/QuantityMember.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/MessageBox.h"
#include "common/ResString.h"
#include "platform/ui/ComboBoxData.h"
#include "platform/ui/Handles.h"
#include "ui/FloatEditEx.h"
#include "ui/GroupAddressInsertHook.h"
#include "ui/MainTableBox.h"
#include "ui/SpinControl.h"
#include "ui/TableComboBox.h"
#include "ui/TypedValueControls.h"
#include "ui/ViewNotify.h"

#include <QAbstractButton>
#include <QComboBox>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

CQuantityMemberEditDlg::CQuantityMemberEditDlg(QWidget* pParent, bool bInsertMode,
                                               std::vector<CQuantityMember*>* pMembers)
    : CTypedValueDlg(IDD, pParent, bInsertMode,
                     {IDC_VALUE, IDC_UNIT, IDC_RANGE, IDC_MODE, IDC_PERCENT, IDC_STANDARD, IDC_EXPONENT_LABEL,
                      IDC_EXPONENT},
                     true),
      m_pMembers(pMembers) {}

CQuantityMemberEditDlg::~CQuantityMemberEditDlg() = default;

void CQuantityMemberEditDlg::MakeControls() {
    // The template's edit and chooser give their places to the value
    // controls.
    MakeValueEdit(IDC_VALUE_SPIN);
    MakeAddressCombo(IDC_ADDRESS);
    connect(m_pCombo, &QComboBox::activated, this, [this](int) { OnCloseUp(true); });
    if (auto* pExponent = GetDlgItemAs<QComboBox>(IDC_EXPONENT)) {
        connect(pExponent, &QComboBox::activated, this, [this](int) { m_oValue.ApplyExponent(); });
    }
    if (auto* pMode = GetDlgItemAs<QComboBox>(IDC_MODE)) {
        connect(pMode, &QComboBox::activated, this, [this](int nIndex) { m_nModeIndex = nIndex; });
    }
}

BOOL CQuantityMemberEditDlg::FailStart(const char* pszReason) {
    LOG_ERROR("%s", pszReason);
    // Nothing was stored, so the caller must not take it for a change.
    EndDialog(IDCANCEL);
    return TRUE;
}

BOOL CQuantityMemberEditDlg::OnInitDialog() {
    CTypedValueDlg::OnInitDialog();
    CenterWindow();
    MakeControls();
    m_pCombo->EnableNewAddressEntry(g_pChronoset != nullptr && g_pChronoset->CanAddGroupAddress());
    m_oValue.FillModeCombo();
    m_nModeIndex = 0;
    m_oValue.FillExponentCombo();
    CheckDlgButton(IDC_PERCENT, true);
    CheckDlgButton(IDC_RANGE_A, true);

    m_nPosition = 0;
    m_pMember = nullptr;
    if (m_pQuantity == nullptr) {
        return FailStart("CQuantityMemberEditDlg: No parent quantity specified");
    }
    if (m_bInsertMode) {
        m_pMember = m_pQuantity->CreateMember();
        if (m_pMember == nullptr) {
            CMessageBox().ShowInfo(
                platform::ui::HwndFromWidget(this),
                GetResString(617, "Die maximale Anzahl von Mengenmitgliedern ist erreicht.").c_str(),
                GetResString(616, "Mengenmitglieder ausgelastet").c_str());
            EndDialog(IDCANCEL);
            return TRUE;
        }
    } else {
        if (m_pMembers == nullptr) {
            return FailStart("CQuantityMemberEditDlg: Missing selection list");
        }
        if (m_pMembers->empty()) {
            return FailStart("CQuantityMemberEditDlg: Selection list is empty");
        }
        m_pMember = m_pMembers->front();
        if (m_pMember == nullptr) {
            return FailStart("CQuantityMemberEditDlg: Entry is NULL");
        }
    }

    char szNumber[16];
    std::snprintf(szNumber, sizeof(szNumber), "%02d", m_pQuantity->GetNumber());
    SetWindowText(GetWindowText() + " " + szNumber);
    if (m_bInsertMode) {
        SetDlgItemText(IDOK, GetResString(180, "&Einfügen"));
    } else {
        SetDlgItemText(IDCANCEL, GetResString(146, "Abbrechen"));
    }
    FillAddressList(nullptr);
    if (m_bInsertMode && m_pTemplate != nullptr) {
        // The template's address is only shown; the member takes it on OK.
        m_pMember->SetValues(m_pTemplate->GetRawValue(), m_pTemplate->GetSendOnChange(), m_pTemplate->GetRange());
        m_pMember->SetExponent(m_pTemplate->GetExponent());
        ShowMember(m_pTemplate->GetGroupAddress());
    } else {
        ShowMember(nullptr);
    }
    return TRUE;
}

bool CQuantityMemberEditDlg::HasMembersInBothRanges(const CGroupDataAddress* pAddress) const {
    bool bRangeA = false;
    bool bRangeB = false;
    for (const CQuantityMember* pOther : m_pQuantity->GetMembers()) {
        if (pOther != nullptr && pOther->GetGroupAddress() == pAddress) {
            (pOther->GetRange() == 0 ? bRangeA : bRangeB) = true;
        }
    }
    return bRangeA && bRangeB;
}

void CQuantityMemberEditDlg::FillAddressList(CGroupDataAddress* pSelect) {
    if (m_pCombo == nullptr || m_pQuantity == nullptr) {
        return;
    }
    m_pCombo->ClearObjects();
    CGroupDataAddress* pOwn = m_pMember != nullptr ? m_pMember->GetGroupAddress() : nullptr;
    CGroupDataAddresses* pLists = g_pChronoset != nullptr ? g_pChronoset->GetGroupDataAddresses() : nullptr;
    if (pOwn != nullptr && pOwn->IsInvalid() && pLists != nullptr && pLists->IsInList(pOwn)) {
        m_pCombo->AddObject(pOwn);
    }
    if (pLists != nullptr) {
        GaPosition pos = pLists->GetFirstItemPos(GASM_QUANTITY_MEMBER, pOwn, false);
        while (pos) {
            CGroupDataAddress* pAddress = pLists->GetNextItem(pos, GASM_QUANTITY_MEMBER, pOwn, false);
            // The quantity's own triggers feed it; it does not send to them.
            if (pAddress == nullptr || pAddress->GetAddress() == -1 || pAddress->IsInvalid() ||
                m_pQuantity->IsTrigger(pAddress)) {
                continue;
            }
            // Each address takes at most one member per range.
            if ((m_bInsertMode || pAddress != pOwn) && HasMembersInBothRanges(pAddress)) {
                continue;
            }
            if (!m_pCombo->AddObject(pAddress)) {
                break;
            }
        }
    }
    m_pCombo->Refill();
    CGroupDataAddress* pTarget = pSelect != nullptr ? pSelect : pOwn;
    if (pTarget != nullptr) {
        m_pCombo->SelectObject(pTarget);
    }
    m_nPrevSelection = m_pCombo->currentIndex();
}

void CQuantityMemberEditDlg::ShowMember(CGroupDataAddress* pShown) {
    if (m_pMember == nullptr) {
        return;
    }
    CGroupDataAddress* pAddress = pShown != nullptr ? pShown : m_pMember->GetGroupAddress();
    if (pAddress != nullptr && m_pValueEdit != nullptr) {
        const CDptSubType* pSubType = g_DptManager.GetSubType(static_cast<WORD>(pAddress->GetObjectType()),
                                                              static_cast<WORD>(pAddress->GetSubType()));
        if (pSubType != nullptr) {
            m_pValueEdit->SetDpt(static_cast<int>(pAddress->GetObjectType()),
                                 static_cast<WORD>(pAddress->GetSubType()), pSubType);
            m_pValueEdit->SetRawValue(m_pMember->GetRawValue());
        }
    }
    CheckDlgButton(IDC_SEND_ON_CHANGE, m_pMember->GetSendOnChange());
    CheckDlgButton(IDC_RANGE_A, m_pMember->GetRange() == 0);
    CheckDlgButton(IDC_RANGE_B, m_pMember->GetRange() != 0);
    if (pAddress != nullptr) {
        m_pCombo->SelectObject(pAddress);
        m_nPrevSelection = m_pCombo->currentIndex();
    }
    m_bShowingStored = !m_pCombo->GetDroppedState() && !m_bInsertMode && pAddress != nullptr &&
                       pAddress == m_pMember->GetGroupAddress();
    if (!m_pCombo->GetDroppedState()) {
        OnCloseUp(false);
    }
    m_oValue.RememberShownValue(m_bShowingStored ? pAddress->GetObjectType() : 0, m_pMember->GetRawValue(),
                                m_pMember->GetExponent());
    m_bShowingStored = false;
}

void CQuantityMemberEditDlg::UpdateOkButton() {
    QWidget* pOk = GetDlgItem(IDOK);
    if (pOk == nullptr || m_pCombo == nullptr) {
        return;
    }
    const int nSelection = m_pCombo->currentIndex();
    // The new-address entry is no address to store.
    const int nNewEntry = m_pCombo->GetNewAddressIndex();
    pOk->setEnabled(nSelection >= 0 && (nNewEntry < 0 || nSelection != nNewEntry));
}

void CQuantityMemberEditDlg::OnCloseUp(bool bOffer) {
    if (m_pCombo == nullptr) {
        return;
    }
    UpdateOkButton();
    const int nSelection = m_pCombo->currentIndex();
    CGroupDataAddress* pAddress = GetSelectedAddress();
    if (pAddress == nullptr || m_pMember == nullptr) {
        m_oValue.ShowValueControls(false, 0);
        const bool bNewEntry = nSelection >= 0 && nSelection == m_pCombo->GetNewAddressIndex();
        if (bOffer && bNewEntry && !g_bStandalone && g_pChronoset != nullptr &&
            g_pChronoset->CanAddGroupAddress() && !m_bNewAddressRunning) {
            m_bNewAddressRunning = true;
            CGroupDataAddress* pAdded = ui::InsertGroupAddress(this, kAllValueTypes);
            m_bNewAddressRunning = false;
            FillAddressList(pAdded);
            if (pAdded == nullptr) {
                m_pCombo->setCurrentIndex(m_nPrevSelection);
            }
            OnCloseUp(false);
        }
        return;
    }
    m_nPrevSelection = nSelection;
    const LONG nMainType = pAddress->GetObjectType();
    const LONG nSubType = pAddress->GetSubType();
    SetDlgItemText(IDC_RANGE, "");
    m_oValue.ShowValueControls(true, nMainType);
    const CDptSubType* pSubType =
        g_DptManager.GetSubType(static_cast<WORD>(nMainType), static_cast<WORD>(nSubType));
    if (pSubType == nullptr) {
        LOG_WARNING("CQuantityMemberEditDlg: No subtype information for group %d, subtype %d",
                    static_cast<int>(nMainType), static_cast<int>(nSubType));
        return;
    }
    if (nMainType != CTypedValueControls::kTwoBitType) {
        m_oValue.BindValueEdit(nMainType, static_cast<WORD>(nSubType));
    }
    if (nMainType == CTypedValueControls::kByteType) {
        SetDlgItemText(IDC_UNIT, pSubType->GetUnit());
    }
    if (nMainType == CTypedValueControls::kFloatType) {
        if (m_bShowingStored) {
            // The stored value is shown as the table shows it, even where
            // its exponent is not the one chosen for it.
            m_oValue.ShowStoredExponent(m_pMember->GetExponent());
        } else {
            if (!m_bInsertMode) {
                const BYTE nStored = m_pMember->GetExponent();
                if (auto* pExponent = GetDlgItemAs<QComboBox>(IDC_EXPONENT)) {
                    pExponent->setCurrentIndex(nStored < 16 ? nStored + 1 : 0);
                }
            }
            m_oValue.ApplyExponent();
        }
    } else if (nMainType == CTypedValueControls::kTwoBitType) {
        if (auto* pMode = GetDlgItemAs<QComboBox>(IDC_MODE)) {
            const WORD wStored = m_pMember->GetRawValue();
            if (wStored != 0) {
                SelectComboByData(pMode, static_cast<std::intptr_t>(wStored & 3), m_nModeIndex);
            } else {
                pMode->setCurrentIndex(m_nModeIndex);
            }
            m_nModeIndex = pMode->currentIndex();
        }
        SetDlgItemText(IDC_RANGE, "");
    } else {
        m_oValue.ShowPlainRange();
    }
    if (nMainType == CTypedValueControls::kByteType) {
        if (nSubType == CTypedValueControls::kPercentSubType || nSubType == CTypedValueControls::kCountSubType) {
            CheckDlgButton(nSubType == CTypedValueControls::kPercentSubType ? IDC_PERCENT : IDC_STANDARD, true);
            OnRadio(static_cast<WORD>(nSubType));
        } else {
            LOG_WARNING("CQuantityMemberEditDlg: No subtype information for SubType 5.x : %d",
                        static_cast<int>(nSubType));
        }
    }
}

bool CQuantityMemberEditDlg::HasDuplicate(const CGroupDataAddress* pAddress, int nRange) const {
    const auto& members = m_pQuantity->GetMembers();
    return std::any_of(members.begin(), members.end(), [&](const CQuantityMember* pOther) {
        return pOther != nullptr && pOther != m_pMember && pOther->GetGroupAddress() == pAddress &&
               pOther->GetRange() == nRange;
    });
}

void CQuantityMemberEditDlg::AfterStore() {
    DWORD nCount = 0;
    if (g_pChronoset != nullptr) {
        g_pChronoset->CountAssociations(nCount);
    }
    const DWORD nLimit = static_cast<DWORD>(CChronoset::GetMaxGroupAddressCount());
    if (nCount != nLimit) {
        m_pCombo->EnableNewAddressEntry(true);
    } else if (!m_bLimitShown) {
        ShowAssociationLimitMessage(platform::ui::HwndFromWidget(this));
        m_pCombo->EnableNewAddressEntry(false);
        m_bLimitShown = true;
    }
}

void CQuantityMemberEditDlg::FocusCombo() {
    if (m_pCombo != nullptr) {
        m_pCombo->setFocus();
    }
}

void CQuantityMemberEditDlg::OnOK() {
    if (m_pMember == nullptr || m_pQuantity == nullptr || g_pChronoset == nullptr) {
        EndDialog(IDCANCEL);
        return;
    }
    CGroupDataAddress* pAddress = GetSelectedAddress();
    if (pAddress == nullptr) {
        return;
    }
    const int nRange = IsDlgButtonChecked(IDC_RANGE_A) ? 0 : 1;
    if (HasDuplicate(pAddress, nRange)) {
        CMessageBox().ShowError(
            platform::ui::HwndFromWidget(this),
            GetResString(714, "Es existiert bereits ein Eintrag mit dem selben Bereich und der selben Gruppenadresse.")
                .c_str(),
            GetResString(715, "Doppeltes Mengenmitglied").c_str());
        FocusCombo();
        return;
    }

    // A value typed but not yet checked is limited as leaving the field
    // would do.
    if (m_pValueEdit != nullptr) {
        m_pValueEdit->CommitTypedText();
    }
    WORD wValue = 0;
    const LONG nMainType = pAddress->GetObjectType();
    if (nMainType == CTypedValueControls::kByteType) {
        pAddress->SetType({CTypedValueControls::kByteType, IsDlgButtonChecked(IDC_PERCENT) ? CTypedValueControls::kPercentSubType : CTypedValueControls::kCountSubType});
    } else if (nMainType == CTypedValueControls::kFloatType) {
        m_pMember->SetExponent(m_oValue.ExponentToStore());
    }
    wValue = static_cast<WORD>(m_oValue.ValueToStore(nMainType));
    m_pMember->SetValues(wValue, IsDlgButtonChecked(IDC_SEND_ON_CHANGE), nRange);

    CGroupDataAddress* pOld = m_pMember->GetGroupAddress();
    m_pMember->SetGroupAddress(pAddress);
    CGroupDataAddresses* pLists = g_pChronoset->GetGroupDataAddresses();
    if (pOld != nullptr && pOld != pAddress && pLists->IsInList(pOld) && pOld->IsInvalid() &&
        !pOld->HasUsage(GAU_ANY)) {
        // An address of the invalid list lives only as long as it is used.
        pLists->Remove(pOld, false);
        delete pOld;
    }
    g_bDataModified = true;
    AfterStore();

    CQuantityMember* pStored = m_pMember;
    if (m_bInsertMode) {
        SendToTable(VN_ADDED, pStored, m_pQuantity, VOK_QUANTITYMEMBER);
        SendKindsChangedInDebug();
        m_pMember = m_pQuantity->CreateMember();
        if (m_pMember == nullptr) {
            // The member just stored stays; nothing is left to cancel.
            CMessageBox().ShowInfo(
                platform::ui::HwndFromWidget(this),
                GetResString(617, "Die maximale Anzahl von Mengenmitgliedern ist erreicht.").c_str(),
                GetResString(616, "Mengenmitglieder ausgelastet").c_str());
            EndDialog(IDOK);
            return;
        }
        m_pMember->SetValues(pStored->GetRawValue(), pStored->GetSendOnChange(), pStored->GetRange());
        m_pMember->SetExponent(pStored->GetExponent());
        // The address just used may now be full in both ranges and leave
        // the list; the controls follow whichever address is chosen then.
        FillAddressList(pAddress);
        CGroupDataAddress* pNow = GetSelectedAddress();
        const LONG nNowType = pNow != nullptr ? pNow->GetObjectType() : 0;
        if (nNowType != nMainType && !m_pCombo->GetDroppedState()) {
            OnCloseUp(false);
        } else {
            UpdateOkButton();
        }
    } else {
        SendToTable(VN_CHANGED, pStored, m_pQuantity, VOK_QUANTITYMEMBER);
        m_pMember = nullptr;
        if (m_pMembers != nullptr && ++m_nPosition < m_pMembers->size()) {
            m_pMember = (*m_pMembers)[m_nPosition];
            if (m_pMember == nullptr) {
                LOG_ERROR("CQuantityMemberEditDlg: Entry is NULL");
            }
        }
        SendKindsChangedInDebug();
        if (m_pMember == nullptr) {
            m_pMember = pStored;
            EndDialog(IDOK);
            return;
        }
        // The list depends on the member shown (its own invalid address), so
        // it is filled for each.
        FillAddressList(nullptr);
        ShowMember(nullptr);
    }
    FocusCombo();
}

void CQuantityMemberEditDlg::OnCancel() {
    if (m_bInsertMode && m_pMember != nullptr && m_pQuantity != nullptr) {
        m_pQuantity->DeleteMember(m_pMember);
        delete m_pMember;
        m_pMember = nullptr;
    }
    EndDialog(IDCANCEL);
}
