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
#include "model/QuantityMember.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/ResString.h"
#include "platform/base/MessageBoxSink.h"
#include "platform/base/Time.h"
#include "ui/ViewNotify.h"
#include "ui/GroupAddressOrder.h"
#include "ui/ItemOrder.h"

#include <cmath>
#include <cstdio>
#include <vector>

using ui::Order;

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

ui::AddressedValue AddressedValueOf(const CDaySwitchTime& switchTime) {
    return {switchTime.GetGroupAddress(), switchTime.GetValue().dwValue};
}

// Columns 1 to 4 go by the switching times' group addresses.
constexpr ui::GaColumn kAddressColumns[] = {ui::GaColumn::Number, ui::GaColumn::Name, ui::GaColumn::Value,
                                            ui::GaColumn::Type};

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
    return AddObjectRows(m_pDayRoutine->GetSwitchTimes()) &&
           AddNewEntryRow(GetResString(753, "*** neue Schaltzeit ***"), 2);
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
    return CompareRowObjects<CDaySwitchTime>(nRowA, nRowB, [nColumn](const CDaySwitchTime& a,
                                                                     const CDaySwitchTime& b) {
        switch (nColumn) {
        case 0:
            return Order(a.GetHour() * 60 + a.GetMinute(), b.GetHour() * 60 + b.GetMinute());
        case 5:
            return Order(a.GetSendOnChange() != 0, b.GetSendOnChange() != 0);
        case 1:
        case 2:
        case 3:
        case 4:
            // Without an address after one with.
            return ui::CompareGroupAddresses(AddressedValueOf(a), AddressedValueOf(b),
                                             kAddressColumns[nColumn - 1], ui::Missing::Last);
        default:
            return 0;
        }
    });
}

void CDaySwitchTimeTable::ShowCapacityError() {
    ShowErrorBox(GetResString(615, "Die maximale Anzahl von Schaltzeiten ist erreicht."),
                 GetResString(614, "Schaltzeiten ausgelastet"));
}

int CDaySwitchTimeTable::EditEntry(int nRow) {
    if (m_pDayRoutine == nullptr || IsEditInProgress() || NotifySelectionChanged() != 0) {
        return 0;
    }
    const bool bInsert = IsNewEntryRow(nRow);
    if (bInsert && TotalSwitchTimes() >= kMaxSwitchTimes) {
        ShowCapacityError();
        return 0;
    }
    std::vector<CDaySwitchTime*> switchTimes;
    if (!bInsert) {
        switchTimes = GetSelectedObjectsOf<CDaySwitchTime>();
    }
    RunEditDialog([&]() {
        CDaySwitchTimeEditDlg dlg(GetParameterDlg(), bInsert, &switchTimes);
        dlg.SetTable(this);
        dlg.SetDayRoutine(m_pDayRoutine);
        if (bInsert) {
            dlg.SetTemplateSwitchTime(GetMarkObjectOf<CDaySwitchTime>());
        }
        return dlg.DoModal();
    });
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
    SetDataModified();
    SendObjectRecord(VN_ADDED, pSwitchTime, m_pDayRoutine, VOK_DAYSWITCHTIME, 1);
    return PASTE_DONE;
}

int CDaySwitchTimeTable::PasteObject(CObject* pObject) {
    if (m_pDayRoutine == nullptr || pObject == nullptr || g_pChronoset == nullptr) {
        return PASTE_DONE;
    }
    if (const CDaySwitchTime* pSource = SwitchTimeOf(pObject)) {
        CGroupDataAddress* pAddress = GetKnownGroupAddress(pSource->GetGroupAddress());
        if (pAddress == nullptr) {
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
        CGroupDataAddress* pAddress = GetKnownGroupAddress(pMember->GetGroupAddress());
        if (pAddress == nullptr) {
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
    if (m_pDayRoutine != nullptr &&
        DeleteSelectedRows<CDaySwitchTime>(GetResString(720, "Wollen Sie die ausgewählten %d Schaltzeiten löschen?"),
                                           [this](CDaySwitchTime* pSwitchTime) {
                                               m_pDayRoutine->RemoveSwitchTime(pSwitchTime);
                                               SendObjectRecord(VN_REMOVED, pSwitchTime, m_pDayRoutine,
                                                                VOK_DAYSWITCHTIME, 1);
                                               delete pSwitchTime;
                                           })) {
        SendObjectRecord(VN_KINDS_CHANGED, nullptr, nullptr, VOK_DAYSWITCHTIME);
        SetDataModified();
        RecountAssociations();
    }
    CMainTableBox::DeleteEntries();
}
