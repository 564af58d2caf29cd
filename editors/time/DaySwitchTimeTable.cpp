#include "editors/time/DaySwitchTimeTable.h"

#include "app/Chronoset.h"
#include "editors/time/DaySwitchTimeEditDlg.h"
#include "editors/time/SetSwitchTimeDlg.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/DaySwitchTime.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/Locale.h"
#include "model/MessageBoxes.h"
#include "model/QuantityMember.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/MessageBox.h"
#include "common/ResString.h"
#include "platform/base/MessageBoxSink.h"
#include "platform/base/Time.h"
#include "platform/ui/Handles.h"
#include "ui/ViewNotify.h"
#include "ui/ItemOrder.h"

#include <cmath>
#include <cstdio>
#include <vector>

using ui::Order;

using ui::CompareText;

namespace {

CDaySwitchTime* SwitchTimeOf(CObject* pObject) {
    return dynamic_cast<CDaySwitchTime*>(pObject);
}

std::string TwoDigits(int nValue) {
    char sz[16];
    std::snprintf(sz, sizeof sz, "%02d", nValue);
    return sz;
}

// "%s" fields of a resource text filled in order.
std::string FillStrings(const std::string& strFormat, const std::vector<std::string>& fields) {
    std::string strResult;
    std::size_t nField = 0;
    for (std::size_t i = 0; i < strFormat.size(); ++i) {
        if (strFormat[i] == '%' && i + 1 < strFormat.size() && strFormat[i + 1] == 's') {
            strResult += nField < fields.size() ? fields[nField] : std::string();
            ++nField;
            ++i;
        } else {
            strResult += strFormat[i];
        }
    }
    return strResult;
}

int TotalSwitchTimes() {
    return g_pChronoset != nullptr ? g_pChronoset->GetDayRoutines()->GetSwitchTimeCount() : 0;
}

}  // namespace

CDaySwitchTimeTable::CDaySwitchTimeTable(CDayRoutine* pRoutine) : CMainTableBox(kTableType), m_pDayRoutine(pRoutine) {
    SetObjectKind(VOK_DAYSWITCHTIME);
    SetParentObject(pRoutine);
    SetMaxEntries(kMaxSwitchTimes);
    SetColumnCount(6);
    SetDragEnabled(true);
}

CDaySwitchTimeTable::~CDaySwitchTimeTable() = default;

CObject* CDaySwitchTimeTable::GetParentObject() {
    return m_pDayRoutine;
}

bool CDaySwitchTimeTable::InitColumns() {
    PresetColumnPrefs();
    AddColumn(GetResString(40105, "Uhrzeit"), GetStoredColumnWidth(0), LVCFMT_LEFT);
    AddColumn(GetResString(2002, "GA Nr."), GetStoredColumnWidth(1), LVCFMT_LEFT);
    AddColumn(GetResString(2003, "GA Name"), GetStoredColumnWidth(2), LVCFMT_LEFT);
    AddColumn(GetResString(40108, "Wert"), GetStoredColumnWidth(3), LVCFMT_LEFT);
    AddColumn(GetResString(40107, "Typ"), GetStoredColumnWidth(4), LVCFMT_LEFT);
    AddColumn(GetResString(40109, "SbÄ"), GetStoredColumnWidth(5), LVCFMT_CENTER);
    return true;
}

bool CDaySwitchTimeTable::FillTable() {
    DeleteAllRows();
    if (m_pDayRoutine == nullptr) {
        return true;
    }
    for (CDaySwitchTime* pSwitchTime : m_pDayRoutine->GetSwitchTimes()) {
        std::vector<std::string> texts;
        GetEntryStrings(pSwitchTime, texts);
        if (AddRow(texts, pSwitchTime, GetDefaultImage()) < 0) {
            return false;
        }
    }
    const int nRow = AddItem("", nullptr, GetDefaultImage());
    if (nRow < 0) {
        return false;
    }
    SetItemText(nRow, 2, GetResString(753, "*** neue Schaltzeit ***"));
    return true;
}

void CDaySwitchTimeTable::GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) {
    texts.clear();
    const CDaySwitchTime* pSwitchTime = SwitchTimeOf(pObject);
    if (pSwitchTime == nullptr) {
        return;
    }
    // The time of day on today's date, in the regional form.
    const CTime now = CTime::GetCurrentTime();
    const CTime time(now.GetYear(), now.GetMonth(), now.GetDay(), pSwitchTime->GetHour(), pSwitchTime->GetMinute(), 0);
    texts.push_back(FormatTime(time, false));
    const CGroupDataAddress* pAddress = pSwitchTime->GetGroupAddress();
    texts.push_back(pAddress != nullptr ? pAddress->GetAddressText(false) : std::string());
    texts.push_back(pAddress != nullptr ? pAddress->GetName() : GetResString(107, "*leer*"));
    texts.push_back(pAddress != nullptr ? FormatValue(static_cast<int>(pAddress->GetObjectType()),
                                                      static_cast<int>(pAddress->GetSubType()),
                                                      pSwitchTime->GetValue().dwValue, true)
                                        : std::string());
    texts.push_back(pAddress != nullptr ? pAddress->GetTypeText() : std::string());
    texts.push_back(pSwitchTime->GetSendOnChange() != 0 ? "+" : "-");
}

int CDaySwitchTimeTable::CompareItems(int nColumn, int nRowA, int nRowB) {
    const CDaySwitchTime* pA = SwitchTimeOf(GetItemData(nRowA));
    const CDaySwitchTime* pB = SwitchTimeOf(GetItemData(nRowB));
    // Rows without a switching time (the new-entry row) sort last.
    if (pA == nullptr) {
        return pB != nullptr ? 1 : 0;
    }
    if (pB == nullptr) {
        return -1;
    }
    switch (nColumn) {
    case 0:
        return Order(pA->GetHour() * 60 + pA->GetMinute(), pB->GetHour() * 60 + pB->GetMinute());
    case 5:
        return Order(pA->GetSendOnChange() != 0, pB->GetSendOnChange() != 0);
    case 1:
    case 2:
    case 3:
    case 4: {
        const CGroupDataAddress* pGa = pA->GetGroupAddress();
        const CGroupDataAddress* pGb = pB->GetGroupAddress();
        // Without an address after one with.
        if (pGa == nullptr || pGb == nullptr) {
            return pGa == nullptr ? (pGb == nullptr ? 0 : 1) : -1;
        }
        if (nColumn == 1) {
            return Order(static_cast<WORD>(pGa->GetAddress()), static_cast<WORD>(pGb->GetAddress()));
        }
        if (nColumn == 2) {
            return CompareText(pGa->GetName(), pGb->GetName());
        }
        if (nColumn == 3) {
            const double dA = DecodeDptValue(static_cast<int>(pGa->GetObjectType()), pA->GetValue().dwValue);
            const double dB = DecodeDptValue(static_cast<int>(pGb->GetObjectType()), pB->GetValue().dwValue);
            return Order(dA, dB);
        }
        return Order(pGa->GetObjectType(), pGb->GetObjectType());
    }
    default:
        return 0;
    }
}

void CDaySwitchTimeTable::ShowCapacityError() {
    CMessageBox().ShowError(platform::ui::HwndFromWidget(GetParameterDlg()),
                            GetResString(615, "Die maximale Anzahl von Schaltzeiten ist erreicht.").c_str(),
                            GetResString(614, "Schaltzeiten ausgelastet").c_str());
}

int CDaySwitchTimeTable::EditEntry(int nRow) {
    if (m_pDayRoutine == nullptr || IsEditInProgress() || NotifySelectionChanged() != 0) {
        return 0;
    }
    const bool bInsert = nRow < 0 || nRow >= GetNewEntryRow();
    if (bInsert && TotalSwitchTimes() >= kMaxSwitchTimes) {
        ShowCapacityError();
        return 0;
    }
    SetEditInProgress(true);
    std::vector<CDaySwitchTime*> switchTimes;
    switchTimes.reserve(10);
    if (!bInsert) {
        std::vector<CObject*> objects;
        GetSelectedObjects(objects);
        for (CObject* pObject : objects) {
            if (CDaySwitchTime* pSwitchTime = SwitchTimeOf(pObject)) {
                switchTimes.push_back(pSwitchTime);
            }
        }
    }
    {
        CDaySwitchTimeEditDlg dlg(GetParameterDlg(), bInsert, &switchTimes);
        dlg.SetTable(this);
        dlg.SetDayRoutine(m_pDayRoutine);
        if (bInsert) {
            const int nMark = GetSelectionMark();
            if (nMark >= 0 && nMark < GetDataRowCount()) {
                dlg.SetTemplateSwitchTime(SwitchTimeOf(GetItemData(nMark)));
            }
        }
        dlg.DoModal();
    }
    UpdateToolbarState();
    SetEditInProgress(false);
    return 1;
}

bool CDaySwitchTimeTable::Collides(const CGroupDataAddress* pAddress, int nHour, int nMinute) const {
    for (const CDaySwitchTime* pOther : m_pDayRoutine->GetSwitchTimes()) {
        if (pOther->GetGroupAddress() == pAddress && pOther->GetHour() == nHour && pOther->GetMinute() == nMinute) {
            return true;
        }
    }
    return false;
}

bool CDaySwitchTimeTable::ChooseFreeTime(const CGroupDataAddress* pAddress, int& nHour, int& nMinute,
                                         bool bAskFirst) {
    const std::string strName = pAddress->GetName();
    const std::string strAddress = pAddress->GetAddressText(false);
    bool bAsk = bAskFirst;
    while (bAsk || Collides(pAddress, nHour, nMinute)) {
        std::string strMessage;
        if (bAsk) {
            strMessage = FillStrings(GetResString(751, "Für die Gruppe '%s' (Adresse %s) existiert noch keine "
                                                       "Schaltzeit. Bitte wählen Sie eine Schaltzeit."),
                                     {strName, strAddress});
        } else {
            strMessage = FillStrings(
                GetResString(750, "Für die Gruppe '%s' (Adresse %s) mit der Schaltzeit %s:%s Uhr gibt es bereits "
                                  "einen Eintrag. Bitte wählen Sie eine neue Schaltzeit."),
                {strName, strAddress, TwoDigits(nHour), TwoDigits(nMinute)});
        }
        bAsk = false;
        CSetSwitchTimeDlg dlg(GetParameterDlg());
        dlg.SetMessage(strMessage);
        dlg.SetTime(nHour, nMinute);
        if (dlg.DoModal() != IDOK) {
            return false;
        }
        nHour = dlg.GetHour();
        nMinute = dlg.GetMinute();
    }
    return true;
}

int CDaySwitchTimeTable::InsertCopy(CGroupDataAddress* pAddress, int nHour, int nMinute,
                                    const CDaySwitchTime* pTimeSource, const CQuantityMember* pMemberSource) {
    CDaySwitchTime* pSwitchTime = m_pDayRoutine->AddSwitchTime(nullptr);
    if (pSwitchTime == nullptr) {
        ShowCapacityError();
        return PASTE_FULL;
    }
    pSwitchTime->SetGroupAddress(pAddress);
    pSwitchTime->SetHour(static_cast<WORD>(nHour));
    pSwitchTime->SetMinute(static_cast<WORD>(nMinute));
    if (pTimeSource != nullptr) {
        pSwitchTime->SetValue(pTimeSource->GetValue());
        pSwitchTime->SetSendOnChange(pTimeSource->GetSendOnChange());
        pSwitchTime->SetExponent(pTimeSource->GetExponent());
    } else if (pMemberSource != nullptr) {
        pSwitchTime->SetValue(SwitchTimeValue{pMemberSource->GetRawValue()});
        pSwitchTime->SetSendOnChange(pMemberSource->GetSendOnChange() ? 1 : 0);
        pSwitchTime->SetExponent(pMemberSource->GetMode());
    }
    g_bDataModified = true;
    UpdateToolbarState();
    SendObjectRecord(VN_ADDED, pSwitchTime, m_pDayRoutine, VOK_DAYSWITCHTIME, 1);
    return PASTE_DONE;
}

int CDaySwitchTimeTable::PasteObject(CObject* pObject) {
    if (m_pDayRoutine == nullptr || pObject == nullptr || g_pChronoset == nullptr) {
        return PASTE_DONE;
    }
    CGroupDataAddresses* pAddresses = g_pChronoset->GetGroupDataAddresses();
    if (const CDaySwitchTime* pSource = SwitchTimeOf(pObject)) {
        CGroupDataAddress* pAddress = pSource->GetGroupAddress();
        if (pAddress == nullptr || !pAddresses->IsInList(pAddress)) {
            return PASTE_UNKNOWN;
        }
        int nHour = pSource->GetHour();
        int nMinute = pSource->GetMinute();
        if (!ChooseFreeTime(pAddress, nHour, nMinute, false)) {
            return PASTE_UNKNOWN;
        }
        return InsertCopy(pAddress, nHour, nMinute, pSource, nullptr);
    }
    if (const auto* pMember = dynamic_cast<const CQuantityMember*>(pObject)) {
        CGroupDataAddress* pAddress = pMember->GetGroupAddress();
        if (pAddress == nullptr || !pAddresses->IsInList(pAddress)) {
            return PASTE_UNKNOWN;
        }
        int nHour = 0;
        int nMinute = 0;
        if (!ChooseFreeTime(pAddress, nHour, nMinute, true)) {
            return PASTE_UNKNOWN;
        }
        return InsertCopy(pAddress, nHour, nMinute, nullptr, pMember);
    }
    return CMainTableBox::PasteObject(pObject);
}

void CDaySwitchTimeTable::DeleteEntries() {
    const int nSelected = GetSelectedEntryCount();
    if (m_pDayRoutine != nullptr && nSelected > 0) {
        const std::string strQuestion = FormatIntFields(
            GetResString(720, "Wollen Sie die ausgewählten %d Schaltzeiten löschen?"), {nSelected});
        if (QuestionBox("%s", strQuestion.c_str()) == IDYES) {
            // Collected first: each removal takes its row out of this table.
            std::vector<CDaySwitchTime*> doomed;
            for (int nRow = GetDataRowCount() - 1; nRow >= 0; --nRow) {
                if (IsItemSelected(nRow)) {
                    if (CDaySwitchTime* pSwitchTime = SwitchTimeOf(GetItemData(nRow))) {
                        doomed.push_back(pSwitchTime);
                    }
                }
            }
            for (CDaySwitchTime* pSwitchTime : doomed) {
                m_pDayRoutine->RemoveSwitchTime(pSwitchTime);
                SendObjectRecord(VN_REMOVED, pSwitchTime, m_pDayRoutine, VOK_DAYSWITCHTIME, 1);
                delete pSwitchTime;
            }
            SendObjectRecord(VN_KINDS_CHANGED, nullptr, nullptr, VOK_DAYSWITCHTIME);
            g_bDataModified = true;
            UpdateToolbarState();
            DWORD nCount = 0;
            g_pChronoset->CountAssociations(nCount);
        }
    }
    CMainTableBox::DeleteEntries();
}
