#include "editors/time/DaySwitchTimeEditDlg.h"

#include "app/Chronoset.h"
#include "model/DayRoutine.h"
#include "model/DaySwitchTime.h"
#include "model/DptManager.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/Locale.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/MessageBox.h"
#include "common/ResString.h"
#include "platform/ui/ComboBoxData.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Handles.h"
#include "ui/AssociationCount.h"
#include "ui/FloatEditEx.h"
#include "ui/GroupAddressInsertHook.h"
#include "ui/SpinControl.h"
#include "ui/TableComboBox.h"
#include "ui/TypedValueControls.h"
#include "ui/TimeEditEx.h"
#include "ui/ViewNotify.h"

#include <QAbstractButton>
#include <QComboBox>

#include <algorithm>

namespace {

using ui::AssociationLimit;
using ui::CountAssociationsNow;

}  // namespace

CDaySwitchTimeEditDlg::CDaySwitchTimeEditDlg(QWidget* pParent, bool bInsertMode,
                                             std::vector<CDaySwitchTime*>* pSwitchTimes)
    : CTypedValueDlg(IDD, pParent, bInsertMode,
                     {IDC_VALUE, IDC_UNIT, IDC_RANGE, IDC_MODE, IDC_PERCENT, IDC_STANDARD, IDC_EXPONENT_LABEL,
                      IDC_EXPONENT},
                     false),
      m_pSwitchTimes(pSwitchTimes) {}

CDaySwitchTimeEditDlg::~CDaySwitchTimeEditDlg() = default;

void CDaySwitchTimeEditDlg::MakeControls() {
    // The template's edits and chooser give their places to the value
    // controls.
    if (QWidget* pPlace = GetDlgItem(IDC_TIME)) {
        m_pTimeEdit = new CTimeEditEx(TEM_WARNINVALID, pPlace->parentWidget());
        platform::ui::ReplaceDlgControl(pPlace, m_pTimeEdit);
        m_pTimeEdit->CreateHourMinuteSpins(m_pHourSpin, m_pMinuteSpin);
    }
    MakeValueEdit(0);
    MakeAddressCombo(IDC_ADDRESS);
    connect(m_pCombo, &QComboBox::activated, this, [this](int) { OnAddressChange(true); });
    if (auto* pExponent = GetDlgItemAs<QComboBox>(IDC_EXPONENT)) {
        connect(pExponent, &QComboBox::activated, this, [this](int) { OnExponentChange(); });
    }
}

BOOL CDaySwitchTimeEditDlg::OnInitDialog() {
    CTypedValueDlg::OnInitDialog();
    CenterWindow();
    if (m_pDayRoutine != nullptr) {
        SetWindowText(GetWindowText() + " " + m_pDayRoutine->GetName());
    }
    if (m_bInsertMode) {
        SetDlgItemText(IDOK, GetResString(180, "&Einfügen"));
    } else {
        SetDlgItemText(IDCANCEL, GetResString(146, "Abbrechen"));
    }
    MakeControls();
    m_pCombo->EnableNewAddressEntry(g_pChronoset != nullptr && g_pChronoset->CanAddGroupAddress());
    m_oValue.FillModeCombo();
    m_oValue.FillExponentCombo();
    m_oValue.ApplyExponent();
    CheckDlgButton(IDC_PERCENT, true);

    m_nPosition = 0;
    m_pSwitchTime = nullptr;
    if (m_bInsertMode) {
        m_pSwitchTime = m_pDayRoutine != nullptr ? m_pDayRoutine->AddSwitchTime(nullptr) : nullptr;
        if (m_pSwitchTime == nullptr) {
            LOG_ERROR("No further DaySwitchTime object available");
            EndDialog(IDCANCEL);
            return TRUE;
        }
    } else {
        if (m_pSwitchTimes != nullptr) {
            for (; m_nPosition < m_pSwitchTimes->size(); ++m_nPosition) {
                if ((*m_pSwitchTimes)[m_nPosition] != nullptr) {
                    m_pSwitchTime = (*m_pSwitchTimes)[m_nPosition];
                    break;
                }
            }
        }
        if (m_pSwitchTime == nullptr) {
            LOG_ERROR("No valid DaySwitchTime object found in selected list");
            EndDialog(IDCANCEL);
            return TRUE;
        }
    }
    FillAddressList(nullptr);
    if (m_bInsertMode && m_pTemplate != nullptr) {
        m_pSwitchTime->SetHour(m_pTemplate->GetHour());
        m_pSwitchTime->SetMinute(m_pTemplate->GetMinute());
        m_pSwitchTime->SetSendOnChange(m_pTemplate->GetSendOnChange());
        m_pSwitchTime->SetExponent(m_pTemplate->GetExponent());
        m_pSwitchTime->SetValue(m_pTemplate->GetValue());
        if (m_pTemplate->GetGroupAddress() != nullptr) {
            m_pCombo->SelectObject(m_pTemplate->GetGroupAddress());
            m_nPrevSelection = m_pCombo->currentIndex();
        }
    }
    ShowSwitchTime();
    return TRUE;
}

void CDaySwitchTimeEditDlg::FillAddressList(CGroupDataAddress* pSelect) {
    if (m_pCombo == nullptr) {
        return;
    }
    m_pCombo->ClearObjects();
    CGroupDataAddress* pOwn = m_pSwitchTime != nullptr ? m_pSwitchTime->GetGroupAddress() : nullptr;
    CGroupDataAddresses* pLists = g_pChronoset != nullptr ? g_pChronoset->GetGroupDataAddresses() : nullptr;
    if (pLists != nullptr) {
        GaPosition pos = pLists->GetFirstItemPos(GASM_SWITCHTIME, pOwn, false);
        while (pos) {
            CGroupDataAddress* pAddress = pLists->GetNextItem(pos, GASM_SWITCHTIME, pOwn, false);
            // A routine's trigger starts the routine; it is sent to by no
            // switching time.
            if (pAddress == nullptr || pAddress->GetAddress() == -1 ||
                pAddress->HasUsage(GAU_DAYROUTINE_TRIGGER)) {
                continue;
            }
            if (!m_pCombo->AddObject(pAddress)) {
                break;
            }
        }
        if (pOwn != nullptr && pOwn->IsInvalid() && pLists->IsInList(pOwn)) {
            m_pCombo->AddObject(pOwn);
        }
    }
    m_pCombo->Refill();
    CGroupDataAddress* pTarget = pSelect != nullptr ? pSelect : pOwn;
    if (pTarget != nullptr) {
        m_pCombo->SelectObject(pTarget);
    }
    m_nPrevSelection = m_pCombo->currentIndex();
}

void CDaySwitchTimeEditDlg::OnAddressChange(bool bOffer) {
    if (m_pCombo == nullptr) {
        return;
    }
    const int nSelection = m_pCombo->currentIndex();
    if (QWidget* pOk = GetDlgItem(IDOK)) {
        pOk->setEnabled(nSelection >= 0);
    }
    CGroupDataAddress* pAddress = GetSelectedAddress();
    if (pAddress == nullptr) {
        m_oValue.ShowValueControls(false, 0);
        const bool bNewEntry = nSelection >= 0 && nSelection == m_pCombo->GetNewAddressIndex();
        if (bOffer && !g_bStandalone && bNewEntry && g_pChronoset != nullptr &&
            g_pChronoset->CanAddGroupAddress() && !m_bNewAddressRunning) {
            m_bNewAddressRunning = true;
            CGroupDataAddress* pAdded = ui::InsertGroupAddress(this, kAllValueTypes);
            m_bNewAddressRunning = false;
            if (pAdded != nullptr) {
                FillAddressList(pAdded);
            } else {
                m_pCombo->setCurrentIndex(m_nPrevSelection);
            }
            OnAddressChange(false);
            return;
        }
        if (!bOffer) {
            LOG_INFO("CDaySwitchTimeEditDlg: No group address currently selected for day switch time");
        }
        return;
    }
    m_nPrevSelection = nSelection;
    const LONG nMainType = pAddress->GetObjectType();
    const LONG nSubType = pAddress->GetSubType();
    if (g_DptManager.GetSubType(static_cast<WORD>(nMainType), static_cast<WORD>(nSubType)) == nullptr) {
        LOG_WARNING("CDaySwitchTimeEditDlg: No subtype information for group %d, subtype %d",
                    static_cast<int>(nMainType), static_cast<int>(nSubType));
        return;
    }
    m_oValue.ShowValueControls(true, nMainType);
    if (nMainType != CTypedValueControls::kTwoBitType) {
        m_oValue.BindValueEdit(nMainType, static_cast<WORD>(nSubType));
    }
    if (nMainType == CTypedValueControls::kByteType) {
        if (const CDptSubType* pSubType =
                g_DptManager.GetSubType(static_cast<WORD>(nMainType), static_cast<WORD>(nSubType))) {
            SetDlgItemText(IDC_UNIT, pSubType->GetUnit());
        }
    }
    if (nMainType == CTypedValueControls::kFloatType) {
        if (m_bShowingStored) {
            // The stored value is shown as the table shows it, even where
            // its exponent is not the one chosen for it.
            m_oValue.ShowStoredExponent(m_pSwitchTime->GetExponent());
        } else {
            if (!m_bInsertMode && m_pSwitchTime != nullptr) {
                const BYTE nStored = m_pSwitchTime->GetExponent();
                if (auto* pExponent = GetDlgItemAs<QComboBox>(IDC_EXPONENT)) {
                    pExponent->setCurrentIndex(nStored >= 16 ? 0 : nStored + 1);
                }
            }
            m_oValue.ApplyExponent();
        }
    } else if (nMainType == CTypedValueControls::kTwoBitType) {
        const DWORD dwStored = m_pSwitchTime != nullptr ? m_pSwitchTime->GetValue().dwValue : 0;
        if (auto* pMode = GetDlgItemAs<QComboBox>(IDC_MODE)) {
            SelectComboByData(pMode, static_cast<std::intptr_t>(LOBYTE(dwStored)), 0);
        }
        SetDlgItemText(IDC_RANGE, "");
    } else {
        m_oValue.ShowPlainRange();
    }
    if (nMainType == CTypedValueControls::kByteType) {
        if (nSubType == CTypedValueControls::kPercentSubType) {
            CheckDlgButton(IDC_PERCENT, true);
        } else if (nSubType == CTypedValueControls::kCountSubType) {
            CheckDlgButton(IDC_STANDARD, true);
        } else {
            LOG_WARNING("CDaySwitchTimeEditDlg: No subtype information for SubType 5.x : %d",
                        static_cast<int>(nSubType));
        }
    }
}

void CDaySwitchTimeEditDlg::OnExponentChange() {
    m_oValue.ApplyExponent();
}

void CDaySwitchTimeEditDlg::ShowSwitchTime() {
    if (m_pSwitchTime == nullptr) {
        return;
    }
    CGroupDataAddress* pAddress = m_pSwitchTime->GetGroupAddress();
    if (pAddress == nullptr && m_pTemplate != nullptr) {
        pAddress = m_pTemplate->GetGroupAddress();
    }
    if (pAddress != nullptr) {
        m_pCombo->SelectObject(pAddress);
        m_nPrevSelection = m_pCombo->currentIndex();
        const CDptSubType* pSubType = g_DptManager.GetSubType(static_cast<WORD>(pAddress->GetObjectType()),
                                                              static_cast<WORD>(pAddress->GetSubType()));
        if (pSubType != nullptr && m_pValueEdit != nullptr) {
            m_pValueEdit->SetDpt(static_cast<int>(pAddress->GetObjectType()),
                                 static_cast<WORD>(pAddress->GetSubType()), pSubType);
            m_pValueEdit->SetRawValue(m_pSwitchTime->GetValue().dwValue);
        }
    }
    CheckDlgButton(IDC_SEND_ON_CHANGE, m_pSwitchTime->GetSendOnChange() != 0);
    m_bShowingStored = !m_bInsertMode && m_pSwitchTime->GetGroupAddress() != nullptr;
    OnAddressChange(false);
    m_oValue.RememberShownValue(m_bShowingStored ? m_pSwitchTime->GetGroupAddress()->GetObjectType() : 0,
                                m_pSwitchTime->GetValue().dwValue, m_pSwitchTime->GetExponent());
    m_bShowingStored = false;
    if (m_pTimeEdit != nullptr) {
        m_pTimeEdit->SetTime(CTime(2000, 1, 1, m_pSwitchTime->GetHour(), m_pSwitchTime->GetMinute(), 0));
    }
}

void CDaySwitchTimeEditDlg::NormaliseTypedValue() {
    if (m_pValueEdit != nullptr) {
        m_pValueEdit->CommitTypedText();
    }
}

bool CDaySwitchTimeEditDlg::HasDuplicate(const CGroupDataAddress* pAddress, int nHour, int nMinute) const {
    if (m_pDayRoutine == nullptr) {
        return false;
    }
    const auto& switchTimes = m_pDayRoutine->GetSwitchTimes();
    return std::any_of(switchTimes.begin(), switchTimes.end(), [&](const CDaySwitchTime* pOther) {
        return pOther != nullptr && pOther != m_pSwitchTime && pOther->GetGroupAddress() == pAddress &&
               pOther->GetHour() == nHour && pOther->GetMinute() == nMinute;
    });
}

bool CDaySwitchTimeEditDlg::AfterStore() {
    const int nCount = CountAssociationsNow();
    if (nCount < AssociationLimit()) {
        m_pCombo->EnableNewAddressEntry(true);
        return false;
    }
    if (!m_bLimitShown) {
        m_bLimitShown = true;
        ShowAssociationLimitMessage(platform::ui::HwndFromWidget(this));
    }
    m_pCombo->EnableNewAddressEntry(false);
    return true;
}

void CDaySwitchTimeEditDlg::OnOK() {
    if (m_pSwitchTime == nullptr || m_pDayRoutine == nullptr || g_pChronoset == nullptr) {
        EndDialog(IDCANCEL);
        return;
    }
    CGroupDataAddress* pAddress = GetSelectedAddress();
    if (pAddress == nullptr) {
        if (m_pCombo->GetDroppedState()) {
            m_pCombo->hidePopup();
        } else {
            OnAddressChange(true);
        }
        return;
    }
    const CTime time = m_pTimeEdit != nullptr ? m_pTimeEdit->GetTime() : CTime(2000, 1, 1, 0, 0, 0);
    const int nHour = time.GetHour();
    const int nMinute = time.GetMinute();
    if (HasDuplicate(pAddress, nHour, nMinute)) {
        CMessageBox().ShowError(
            platform::ui::HwndFromWidget(this),
            GetResString(700, "Es existiert bereits ein Eintrag mit der selben Schaltzeit und Gruppenadresse.").c_str(),
            GetResString(701, "Doppelte Schaltzeit").c_str());
        m_pCombo->setFocus();
        return;
    }
    const bool bEntryWasDisabled = !m_pCombo->IsNewAddressEntryEnabled();

    NormaliseTypedValue();
    SwitchTimeValue value;
    const LONG nMainType = pAddress->GetObjectType();
    if (nMainType == CTypedValueControls::kByteType) {
        pAddress->SetType({CTypedValueControls::kByteType, IsDlgButtonChecked(IDC_PERCENT) ? CTypedValueControls::kPercentSubType : CTypedValueControls::kCountSubType});
    } else if (nMainType == CTypedValueControls::kFloatType) {
        m_pSwitchTime->SetExponent(m_oValue.ExponentToStore());
    }
    value.dwValue = m_oValue.ValueToStore(nMainType);
    m_pSwitchTime->SetValue(value);
    m_pSwitchTime->SetSendOnChange(IsDlgButtonChecked(IDC_SEND_ON_CHANGE) ? 1 : 0);
    CGroupDataAddress* pOld = m_pSwitchTime->GetGroupAddress();
    m_pSwitchTime->SetGroupAddress(pAddress);
    CGroupDataAddresses* pLists = g_pChronoset->GetGroupDataAddresses();
    if (pOld != nullptr && pOld != pAddress && pLists->IsInList(pOld) && pOld->IsInvalid() &&
        !pOld->HasUsage(GAU_ANY)) {
        // An address of the invalid list lives only as long as it is used;
        // clipboard copies naming it are dropped by the clipboard.
        pLists->Remove(pOld, false);
        delete pOld;
    }
    m_pSwitchTime->SetMinute(static_cast<WORD>(nMinute));
    m_pSwitchTime->SetHour(static_cast<WORD>(nHour));
    g_bDataModified = true;
    const bool bAtLimit = AfterStore();

    CDaySwitchTime* pStored = m_pSwitchTime;
    if (m_bInsertMode) {
        SendToTable(VN_ADDED, pStored, m_pDayRoutine, VOK_DAYSWITCHTIME);
        SendKindsChangedInDebug();
        m_pSwitchTime = m_pDayRoutine->AddSwitchTime(nullptr);
        if (m_pSwitchTime == nullptr) {
            // The switching time just added stays; nothing is left to cancel.
            CMessageBox().ShowInfo(
                platform::ui::HwndFromWidget(this),
                GetResString(615, "Die maximale Anzahl von Schaltzeiten ist erreicht.").c_str(),
                GetResString(614, "Schaltzeiten ausgelastet").c_str());
            EndDialog(IDOK);
            return;
        }
    } else {
        SendToTable(VN_CHANGED, pStored, nullptr, VOK_DAYSWITCHTIME);
        SendKindsChangedInDebug();
        m_pSwitchTime = nullptr;
        while (m_pSwitchTimes != nullptr && ++m_nPosition < m_pSwitchTimes->size()) {
            if ((*m_pSwitchTimes)[m_nPosition] != nullptr) {
                m_pSwitchTime = (*m_pSwitchTimes)[m_nPosition];
                break;
            }
        }
        if (m_pSwitchTime == nullptr) {
            m_pSwitchTime = pStored;
            EndDialog(IDOK);
            return;
        }
    }

    if (m_bInsertMode) {
        if (g_bDebugMode || bAtLimit || bEntryWasDisabled) {
            FillAddressList(pAddress);
        }
        m_pSwitchTime->SetHour(pStored->GetHour());
        m_pSwitchTime->SetMinute(pStored->GetMinute());
        m_pSwitchTime->SetSendOnChange(pStored->GetSendOnChange());
        m_pSwitchTime->SetExponent(pStored->GetExponent());
        m_pSwitchTime->SetValue(pStored->GetValue());
        m_pCombo->SelectObject(pAddress);
        m_nPrevSelection = m_pCombo->currentIndex();
    } else {
        // The list depends on the switching time shown (its own invalid
        // address), so it is filled for each.
        FillAddressList(nullptr);
        ShowSwitchTime();
    }
}

void CDaySwitchTimeEditDlg::OnCancel() {
    if (m_bInsertMode && m_pSwitchTime != nullptr && m_pDayRoutine != nullptr) {
        m_pDayRoutine->RemoveSwitchTime(m_pSwitchTime);
        delete m_pSwitchTime;
        m_pSwitchTime = nullptr;
    }
    SendKindsChangedInDebug();
    EndDialog(IDCANCEL);
}
