#include "editors/time/OverviewTable.h"

#include "app/Chronoset.h"
#include "editors/time/OverviewEditWnd.h"
#include "model/CalendarRecord.h"
#include "model/DayRoutine.h"
#include "model/DaySwitchTime.h"
#include "model/GroupDataAddress.h"
#include "model/Locale.h"
#include "model/SpecialDay.h"
#include "model/SpecialDays.h"
#include "model/Utils.h"
#include "model/WeekRoutine.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/MessageBox.h"
#include "common/ProgressInfo.h"
#include "common/ResString.h"
#include "platform/base/Time.h"
#include "platform/ui/Handles.h"
#include "platform/ui/Posting.h"
#include "platform/ui/WindowTree.h"
#include "ui/CalendarDates.h"
#include "ui/GroupAddressOrder.h"
#include "ui/ItemOrder.h"
#include "ui/ViewNotify.h"

#include <QEvent>

#include <algorithm>
#include <cstdio>

using ui::Order;

namespace {

constexpr int kMinutesPerDay = 24 * 60;

// Minutes since 1970-01-01 of a calendar record (year since 1900, month
// 0..11), counted on the civil calendar: no time zone can move a special day.
std::int64_t CivilMinute(const std::tm& tm) {
    return DaysFromCivil(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) * kMinutesPerDay + tm.tm_hour * 60 +
           tm.tm_min;
}

std::int64_t CivilDay(const CTime& time) {
    return DaysFromCivil(time.GetYear(), time.GetMonth(), time.GetDay());
}

int MinuteOfDay(const CDaySwitchTime* pSwitchTime) {
    return pSwitchTime->GetHour() * 60 + pSwitchTime->GetMinute();
}

// The text with its first "%s" replaced; never handed to printf.
std::string FillFirstString(const std::string& strFormat, const std::string& strValue) {
    const std::size_t nField = strFormat.find("%s");
    if (nField == std::string::npos) {
        return strFormat;
    }
    return strFormat.substr(0, nField) + strValue + strFormat.substr(nField + 2);
}

}  // namespace

COverviewTable::COverviewTable() : CMainTableBox(kTableType), m_pEntries(new CEntry[kBufferSize]) {
    SetObjectKind(VOK_DAYSWITCHTIME);
    SetColumnCount(5);
}

COverviewTable::~COverviewTable() {
    DropEntries();
    if (m_pForm != nullptr) {
        m_pForm->SetOwnerTable(nullptr);
        // The form saves its chooser's column layout as it goes.
        m_pForm->DestroyWindow();
        m_pForm->deleteLater();
    }
}

COverviewEditWnd* COverviewTable::GetOverviewForm() const {
    return m_pForm;
}

const COverviewTable::CEntry* COverviewTable::GetEntry(int nIndex) const {
    return nIndex >= 0 && nIndex < m_nEntries ? &m_pEntries[static_cast<std::size_t>(nIndex)] : nullptr;
}

int COverviewTable::OnCreate() {
    if (CMainTableBox::OnCreate() == -1) {
        return -1;
    }
    if (m_pForm == nullptr && !CreateForm()) {
        LOG_ERROR("COverviewTable: Couldnt create form view window");
        return -1;
    }
    Refill();
    SelectSingleItem(0);
    return 0;
}

bool COverviewTable::CreateForm() {
    QWidget* pPane = parentWidget();
    auto* pForm = new COverviewEditWnd(this);
    if (!pForm->Create(pPane, pPane != nullptr ? pPane->rect() : geometry())) {
        delete pForm;
        return false;
    }
    ApplyToWindowTree(pForm, font(), TRUE);
    // The form is as high as its controls need.
    const QRect rcControls = pForm->childrenRect();
    const int nMargin = pForm->MapDialogRect(QRect(0, 0, 4, 4)).height();
    pForm->resize(pForm->width(), rcControls.isValid() ? rcControls.bottom() + 1 + nMargin : pForm->height());
    pForm->raise();
    m_pForm = pForm;
    LayoutForm();
    return true;
}

void COverviewTable::LayoutForm() {
    if (m_pForm == nullptr || m_bLayingOut) {
        return;
    }
    const QRect rcArea = geometry();
    const int nFormHeight = m_pForm->height();
    const QRect rcRows(rcArea.left(), rcArea.top() + nFormHeight, rcArea.width(),
                       std::max(0, rcArea.height() - nFormHeight));
    // The rows' own place comes back here as a move and a resize, at once or
    // when the table is shown; only another place is a new area.
    if (rcArea == m_rcRows) {
        return;
    }
    m_bLayingOut = true;
    m_pForm->setGeometry(rcArea.left(), rcArea.top(), rcArea.width(), nFormHeight);
    m_rcRows = rcRows;
    setGeometry(rcRows);
    m_bLayingOut = false;
}

bool COverviewTable::event(QEvent* pEvent) {
    if (m_pForm != nullptr) {
        switch (pEvent->type()) {
            case QEvent::Move:
            case QEvent::Resize: LayoutForm(); break;
            case QEvent::ShowToParent: m_pForm->show(); break;
            case QEvent::HideToParent: m_pForm->hide(); break;
            default: break;
        }
    }
    return CMainTableBox::event(pEvent);
}

bool COverviewTable::InitColumns() {
    PresetColumnPrefs();
    AddColumn(GetResString(40121, "Datum"), GetStoredColumnWidth(0), LVCFMT_LEFT);
    AddColumn(GetResString(40105, "Uhrzeit"), GetStoredColumnWidth(1), LVCFMT_LEFT);
    AddColumn(GetResString(40108, "Wert"), GetStoredColumnWidth(2), LVCFMT_LEFT);
    AddColumn(GetResString(40109, "SbÄ"), GetStoredColumnWidth(3), LVCFMT_CENTER);
    AddColumn(GetResString(831, "durch Tagesablauf"), GetStoredColumnWidth(4), LVCFMT_LEFT);
    return true;
}

void COverviewTable::DropEntries() {
    DeleteAllRows();
    m_nEntries = 0;
    m_dependencies.clear();
}

bool COverviewTable::FillTable() {
    if (m_bFilling) {
        // Asked again while the progress window lets the user act: this fill
        // stops at its next day, and a new one follows it.
        ++m_nGeneration;
        ScheduleRefill();
        return true;
    }
    m_bFilling = true;
    const bool bResult = FillRows();
    m_bFilling = false;
    return bResult;
}

bool COverviewTable::FillRows() {
    DropEntries();
    m_nFirstDay = 0;
    m_nLastDay = -1;
    if (m_pForm == nullptr || !m_pForm->HasWindow() || g_pChronoset == nullptr) {
        return true;
    }
    const CGroupDataAddress* pAddress = m_pForm->GetSelectedAddress();
    CTime start;
    CTime end;
    if (pAddress == nullptr || !m_pForm->ReadInterval(start, end)) {
        return true;
    }
    // The address is compared, never read, after this: while the progress
    // window lets the user act, it may be deleted.
    const LONG nRawAddress = pAddress->GetAddress();
    const unsigned nGeneration = m_nGeneration;
    // Days are counted on the calendar, so a daylight-saving change inside
    // the period neither loses nor repeats one.
    m_nFirstDay = CivilDay(start);
    m_nLastDay = CivilDay(end);
    const int nDays = static_cast<int>(m_nLastDay - m_nFirstDay + 1);
    m_dependencies.insert(pAddress);

    std::unique_ptr<CProgressInfo> pProgress;
    if (nDays >= kProgressDays) {
        pProgress = std::make_unique<CProgressInfo>(g_bStandalone ? 1 : 0);
        pProgress->Show(platform::ui::HwndFromWidget(GetParameterDlg()), kProgressKind);
        pProgress->SetCaption(GetResString(1000, "Übersicht der Schaltzeiten"));
        pProgress->SetTopText(GetResString(1001, "Suche Schaltzeiten innerhalb des ausgewählten Zeitintervalls."));
        pProgress->SetRange(0, static_cast<DWORD>(nDays - 1));
    }

    const CWeekRoutine* pWeek = g_pChronoset->GetWeekRoutine();
    const CSpecialDays* pSpecialDays = g_pChronoset->GetSpecialDays();
    std::vector<CDaySwitchTime*> candidates;
    candidates.reserve(kMaxCandidates);
    bool bOverflow = false;
    DWORD dwDate = PackDate(start.GetYear(), start.GetMonth(), start.GetDay());
    for (int nDay = 0; nDay < nDays && !bOverflow && nGeneration == m_nGeneration;
         ++nDay, dwDate = GetNextDay(dwDate)) {
        const int nYear = GetPackedYear(dwDate);
        const int nMonth = GetPackedMonth(dwDate);
        const int nDayOfMonth = GetPackedDay(dwDate);
        if (pProgress != nullptr) {
            char szDate[64];
            std::snprintf(szDate, sizeof szDate, "%d\t%s", nDayOfMonth,
                          GetResString(static_cast<UINT>(1200 + nMonth - 1), "").c_str());
            pProgress->SetMiddleText(FillFirstString(GetResString(1002, "Datum: %s"), szDate));
        }
        const std::int64_t nDayStart = (m_nFirstDay + nDay) * kMinutesPerDay;
        const std::int64_t nDayEnd = nDayStart + kMinutesPerDay - 1;

        // The week routine's switching times for the address, Monday first.
        candidates.clear();
        const int nWeekday = (GetWeekday(nYear, nMonth, nDayOfMonth) + 6) % 7;
        if (CDayRoutine* pRoutine = pWeek->GetDayRoutine(nWeekday)) {
            m_dependencies.insert(pRoutine);
            for (CDaySwitchTime* pSwitchTime : pRoutine->GetSwitchTimes()) {
                if (static_cast<int>(candidates.size()) >= kMaxCandidates) {
                    break;
                }
                const CGroupDataAddress* pTarget = pSwitchTime->GetGroupAddress();
                if (pTarget != nullptr && pTarget->GetAddress() == nRawAddress) {
                    candidates.push_back(pSwitchTime);
                }
            }
        }
        // Each special day on this date replaces what falls in its hours.
        for (const CSpecialDay* pSpecialDay : pSpecialDays->GetSpecialDays()) {
            const std::int64_t nFrom = std::max(CivilMinute(pSpecialDay->GetStartTime()), nDayStart);
            const std::int64_t nTo = std::min(CivilMinute(pSpecialDay->GetEndTime()), nDayEnd);
            if (nFrom > nTo) {
                continue;
            }
            m_dependencies.insert(pSpecialDay);
            const auto inside = [&](const CDaySwitchTime* pSwitchTime) {
                const std::int64_t nAt = nDayStart + MinuteOfDay(pSwitchTime);
                return nAt >= nFrom && nAt <= nTo;
            };
            std::erase_if(candidates, inside);
            CDayRoutine* pRoutine = pSpecialDay->GetDayRoutine();
            if (pRoutine == nullptr) {
                continue;
            }
            m_dependencies.insert(pRoutine);
            for (CDaySwitchTime* pSwitchTime : pRoutine->GetSwitchTimes()) {
                if (static_cast<int>(candidates.size()) >= kMaxCandidates) {
                    break;
                }
                if (pSwitchTime->GetGroupAddress() == pAddress && inside(pSwitchTime)) {
                    candidates.push_back(pSwitchTime);
                }
            }
        }

        const std::int64_t nDayValue = CTime(nYear, nMonth, nDayOfMonth, 0, 0, 0).GetTime();
        for (CDaySwitchTime* pSwitchTime : candidates) {
            if (m_nEntries >= kMaxEntries) {
                bOverflow = true;
                break;
            }
            CEntry& entry = m_pEntries[static_cast<std::size_t>(m_nEntries)];
            entry.nDay = nDayValue;
            entry.pSwitchTime = pSwitchTime;
            std::vector<std::string> texts;
            GetEntryStrings(&entry, texts);
            // Appended as they come: by day, and within a day as the week
            // routine and the special days put them.
            const int nRow = AddRow({}, nullptr, GetDefaultImage());
            if (nRow < 0) {
                return false;
            }
            SetItemData(nRow, &entry);
            for (const std::string& strText : texts) {
                SetNextSubItemText(strText);
            }
            ++m_nEntries;
            m_dependencies.insert(pSwitchTime);
            m_dependencies.insert(pSwitchTime->GetGroupAddress());
            m_dependencies.insert(pSwitchTime->GetDayRoutine());
        }
        if (pProgress != nullptr && !pProgress->Step()) {
            break;
        }
        if (bOverflow) {
            const std::string strText = GetResString(454,
                                                     "Die Anzahl der Schaltzeiten in dem angegebenen Zeitraum übersteigt "
                                                     "die maximale Anzahl der Einträge in der Tabelle.");
            const std::string strCaption = GetResString(455, "Zu viele Schaltzeiten");
            CMessageBox().ShowError(platform::ui::HwndFromWidget(GetParameterDlg()), strText.c_str(),
                                    strCaption.c_str());
        }
    }
    m_dependencies.erase(nullptr);
    return true;
}

void COverviewTable::GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) {
    texts.clear();
    const auto* pEntry = dynamic_cast<const CEntry*>(pObject);
    if (pEntry == nullptr || pEntry->pSwitchTime == nullptr) {
        return;
    }
    const CDaySwitchTime* pSwitchTime = pEntry->pSwitchTime;
    texts.push_back(FormatDate(CTime(pEntry->nDay)));
    std::string strTime = FormatTimeFields(pSwitchTime->GetHour(), pSwitchTime->GetMinute(), 0, false);
    AppendClockWord(strTime);
    texts.push_back(strTime);
    const CGroupDataAddress* pAddress = pSwitchTime->GetGroupAddress();
    texts.push_back(pAddress != nullptr ? FormatValue(static_cast<int>(pAddress->GetObjectType()),
                                                      static_cast<int>(pAddress->GetSubType()),
                                                      pSwitchTime->GetValue().dwValue, true)
                                        : std::string());
    texts.push_back(pSwitchTime->GetSendOnChange() != 0 ? "+" : "-");
    if (const CDayRoutine* pRoutine = pSwitchTime->GetDayRoutine()) {
        char szNumber[16];
        std::snprintf(szNumber, sizeof szNumber, "%02d: ", static_cast<int>(pRoutine->GetNumber()));
        texts.push_back(szNumber + pRoutine->GetName());
    }
}

int COverviewTable::CompareItems(int nColumn, int nRowA, int nRowB) {
    const auto* pA = dynamic_cast<const CEntry*>(GetItemData(nRowA));
    const auto* pB = dynamic_cast<const CEntry*>(GetItemData(nRowB));
    // Rows without an entry, then entries without a switching time, last.
    if (const auto missing = ui::OrderMissing(pA, pB)) {
        return *missing;
    }
    const CDaySwitchTime* pTimeA = pA->pSwitchTime;
    const CDaySwitchTime* pTimeB = pB->pSwitchTime;
    if (const auto missing = ui::OrderMissing(pTimeA, pTimeB)) {
        return *missing;
    }
    switch (nColumn) {
        case 0: return Order(pA->nDay, pB->nDay);
        case 1: return Order(MinuteOfDay(pTimeA), MinuteOfDay(pTimeB));
        case 2:
            // Without an address first.
            return ui::CompareGroupAddresses({pTimeA->GetGroupAddress(), pTimeA->GetValue().dwValue},
                                             {pTimeB->GetGroupAddress(), pTimeB->GetValue().dwValue},
                                             ui::GaColumn::Value, ui::Missing::First);
        case 3: return Order(pTimeA->GetSendOnChange() != 0, pTimeB->GetSendOnChange() != 0);
        case 4: {
            const CDayRoutine* pRoutineA = pTimeA->GetDayRoutine();
            const CDayRoutine* pRoutineB = pTimeB->GetDayRoutine();
            if (const auto missing = ui::OrderMissing(pRoutineA, pRoutineB, ui::Missing::First)) {
                return *missing;
            }
            return Order(pRoutineA->GetNumber(), pRoutineB->GetNumber());
        }
        default: return 0;
    }
}

void COverviewTable::OnPaneCommand(int nCode) {
    if (nCode == 0) {
        Refill();
    }
}

bool COverviewTable::AffectsRows(const VIEWNOTIFY& notify) const {
    const auto dependsOn = [this](const CObject* pObject) {
        return pObject != nullptr && m_dependencies.contains(pObject);
    };
    if (notify.nType == VN_KINDS_CHANGED) {
        return notify.nKind == VOK_DAYSWITCHTIME || notify.nKind == VOK_ALL;
    }
    switch (notify.nKind) {
        case VOK_WEEKROUTINE: return true;
        case VOK_DAYSWITCHTIME: return dependsOn(notify.pObject) || dependsOn(notify.pParentObject);
        case VOK_DAYROUTINE:
        case VOK_GROUPADDRESS: return dependsOn(notify.pObject);
        case VOK_SPECIALDAY: {
            if (dependsOn(notify.pObject)) {
                return true;
            }
            // One added or moved into the period changes it; one removed
            // that was not consulted does not (and may be gone already).
            const auto* pSpecialDay = notify.nType != VN_REMOVED ? dynamic_cast<const CSpecialDay*>(notify.pObject)
                                                                 : nullptr;
            return pSpecialDay != nullptr &&
                   CivilMinute(pSpecialDay->GetStartTime()) <= (m_nLastDay + 1) * kMinutesPerDay - 1 &&
                   CivilMinute(pSpecialDay->GetEndTime()) >= m_nFirstDay * kMinutesPerDay;
        }
        default: return notify.nKind == VOK_ALL;
    }
}

void COverviewTable::ScheduleRefill() {
    if (m_bRefillPending) {
        return;
    }
    m_bRefillPending = true;
    // Whoever reported the change may still be taking objects apart; the
    // rows are computed once it is done.
    platform::ui::PostCall(this, [this]() {
        m_bRefillPending = false;
        if (m_bFilling) {
            // The progress window let this run; the fill under way stops at
            // its next day.
            ScheduleRefill();
            return;
        }
        Refill();
    });
}

int COverviewTable::OnViewNotify(VIEWNOTIFY* pNotify) {
    if (pNotify == nullptr || pNotify->nHandled != 0) {
        return 0;
    }
    switch (pNotify->nType) {
        case VN_ADDED:
        case VN_REMOVED:
        case VN_CHANGED:
        case VN_KINDS_CHANGED: {
            // The rows are entries, not the objects the records name, so the
            // base's row-by-object handling does not apply.
            VIEWNOTIFY notify = *pNotify;
            if (notify.nType == VN_ADDED && notify.nKind == 0 && notify.pObject != nullptr) {
                notify.nKind = GetObjectKindFlag(notify.pObject);
            }
            bool bDrop = AffectsRows(notify);
            const bool bAddressKinds = (notify.nKind & (VOK_DAYSWITCHTIME | VOK_GROUPADDRESS)) != 0;
            if (m_pForm != nullptr && bAddressKinds) {
                const CObject* pGone =
                    notify.nType == VN_REMOVED && notify.nKind == VOK_GROUPADDRESS ? notify.pObject : nullptr;
                // The addresses used by switching times may have changed, and
                // the one shown may be gone.
                bDrop = m_pForm->FillAddressList(pGone) || bDrop;
            }
            if (!bDrop) {
                return 0;
            }
            DropEntries();
            ++m_nGeneration;
            ScheduleRefill();
            pNotify->nHandled = VNH_HANDLED;
            return 1;
        }
        default: return CMainTableBox::OnViewNotify(pNotify);
    }
}
