#include "editors/time/OverviewEditWnd.h"

#include "editors/time/OverviewTable.h"

#include "app/Chronoset.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/Locale.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "platform/base/HelpService.h"
#include "platform/base/Time.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/ComboBoxData.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Handles.h"
#include "platform/ui/Menu.h"
#include "platform/ui/WindowTree.h"
#include "ui/CalendarButton.h"
#include "ui/MainTableBox.h"
#include "ui/TableComboBox.h"
#include "ui/TableListHeader.h"
#include "ui/ViewNotify.h"
#include "ui/ViewPane.h"

#include <QLineEdit>
#include <QMouseEvent>

#include <utility>

namespace {

constexpr LONG kByteType = 5;
constexpr LONG kPercentSubType = 1;
constexpr LONG kStandardSubType = 10;

// Puts the new control where the template's one was, also in the order of
// the form's children, which the form's Tab walk follows.
void ReplaceInPlace(QWidget* pPlace, QWidget* pNew) {
    QWidget* pNext = nullptr;
    if (QWidget* pHost = pPlace->parentWidget()) {
        const QObjectList& children = pHost->children();
        for (qsizetype i = children.indexOf(pPlace) + 1; i < children.size() && pNext == nullptr; ++i) {
            pNext = qobject_cast<QWidget*>(children.at(i));
        }
    }
    platform::ui::ReplaceDlgControl(pPlace, pNew);
    if (pNext != nullptr) {
        pNew->stackUnder(pNext);
    }
}

}  // namespace

COverviewEditWnd::COverviewEditWnd(CMainTableBox* pOwnerTable) : CMainFormView(IDD, pOwnerTable) {
    MapCommand(IDC_SHOW, [this]() { OnShow(); });
    MapCommand(IDC_START_CALENDAR, [this]() { OnCalendar(false); });
    MapCommand(IDC_END_CALENDAR, [this]() { OnCalendar(true); });
    MapCommand(ID_TABLE_HELP, [this]() { OnHelpOnTable(); });
    MapUpdateCommandUI(ID_TABLE_HELP, [](CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); });
}

COverviewEditWnd::~COverviewEditWnd() = default;

QLineEdit* COverviewEditWnd::DateEdit(bool bEnd) const {
    return GetDlgItemAs<QLineEdit>(bEnd ? IDC_END : IDC_START);
}

int COverviewEditWnd::OnCreate() {
    if (QWidget* pPlace = GetDlgItem(IDC_ADDRESS)) {
        QWidget* pParent = pPlace->parentWidget();
        m_pCombo = new CTableComboBox(false, pParent);
        ReplaceInPlace(pPlace, m_pCombo);
        m_pHeader = new CTableListHeader(1, THS_RESIZABLE | THS_MOVABLE, pParent);
        connect(m_pCombo, &QComboBox::activated, this, [this](int) { OnSelChangeAddress(); });
    }
    const std::pair<UINT, CCalendarButton**> calendars[] = {{IDC_START_CALENDAR, &m_pStartCalendar},
                                                            {IDC_END_CALENDAR, &m_pEndCalendar}};
    for (const auto& [nId, ppButton] : calendars) {
        if (QWidget* pPlace = GetDlgItem(nId)) {
            *ppButton = new CCalendarButton(pPlace->parentWidget());
            ReplaceInPlace(pPlace, *ppButton);
            RouteButtonCommand(*ppButton);
        }
    }
    for (bool bEnd : {false, true}) {
        if (QLineEdit* pEdit = DateEdit(bEnd)) {
            pEdit->installEventFilter(this);
            m_arrDateChecks[bEnd ? 1 : 0].Attach(
                pEdit, [this, pEdit]() { return m_bInDateCheck || IsDateAccepted(*pEdit); },
                [this, pEdit]() { OnDateKillFocus(pEdit); });
        }
    }
    return CMainFormView::OnCreate();
}

BOOL COverviewEditWnd::Create(QWidget* pParent, const QRect& rect) {
    if (!CMainFormView::Create(pParent, rect)) {
        return FALSE;
    }
    const std::string strToday = FormatDate(CTime::GetCurrentTime());
    for (bool bEnd : {false, true}) {
        if (QLineEdit* pEdit = DateEdit(bEnd)) {
            pEdit->setText(QString::fromStdString(strToday));
        }
    }
    if (m_pCombo != nullptr && m_pHeader != nullptr) {
        if (m_pCombo->GetColumnCount() == 0) {
            m_pCombo->AddGroupAddressColumns();
        }
        m_pCombo->InitColumns(*m_pHeader, TABLE_TYPE_GROUP_ADDRESS_COMBO);
    }
    FillAddressList();
    OnSelChangeAddress();
    return TRUE;
}

std::intptr_t COverviewEditWnd::GetSelectedAddressData() const {
    if (m_pCombo == nullptr || m_pCombo->currentIndex() < 0) {
        return 0;
    }
    return GetComboItemData(m_pCombo, m_pCombo->currentIndex());
}

CGroupDataAddress* COverviewEditWnd::GetSelectedAddress() const {
    return m_pCombo != nullptr ? m_pCombo->GetSelectedGroupAddress() : nullptr;
}

bool COverviewEditWnd::FillAddressList(const CObject* pGone) {
    if (m_pCombo == nullptr) {
        return false;
    }
    const std::intptr_t nPrevious = GetSelectedAddressData();
    // The objects go first: an address the list still names may be gone.
    m_pCombo->ClearObjects();
    if (g_pChronoset != nullptr) {
        CGroupDataAddresses* pLists = g_pChronoset->GetGroupDataAddresses();
        for (bool bInvalid : {false, true}) {
            GaPosition pos = pLists->GetFirstPosByUsage(GAU_SWITCHTIME, bInvalid);
            while (pos) {
                CGroupDataAddress* pAddress = pLists->GetNextItemByUsage(pos, GAU_SWITCHTIME, bInvalid);
                if (pAddress != nullptr && pAddress != pGone && !m_pCombo->AddObject(pAddress)) {
                    break;
                }
            }
        }
    }
    m_pCombo->Refill();
    if (m_pCombo->currentIndex() < 0 && m_pCombo->count() > 0) {
        m_pCombo->setCurrentIndex(0);
    }
    const bool bChanged = GetSelectedAddressData() != nPrevious;
    if (bChanged) {
        OnSelChangeAddress();
    }
    return bChanged;
}

void COverviewEditWnd::OnSelChangeAddress() {
    const CGroupDataAddress* pAddress = GetSelectedAddress();
    if (QWidget* pShow = GetDlgItem(IDC_SHOW)) {
        pShow->setEnabled(GetSelectedAddressData() != 0);
    }
    const bool bByte = pAddress != nullptr && pAddress->GetObjectType() == kByteType;
    for (UINT nId : {IDC_PERCENT, IDC_STANDARD}) {
        if (QWidget* pRadio = GetDlgItem(nId)) {
            pRadio->setVisible(bByte);
        }
    }
    if (bByte) {
        if (pAddress->GetSubType() == kPercentSubType) {
            CheckDlgButton(IDC_PERCENT, true);
        } else if (pAddress->GetSubType() == kStandardSubType) {
            CheckDlgButton(IDC_STANDARD, true);
        }
    }
}

void COverviewEditWnd::OnShow() {
    if (!CheckDatesForShow()) {
        return;
    }
    CGroupDataAddress* pAddress = GetSelectedAddress();
    if (pAddress != nullptr && pAddress->GetObjectType() == kByteType) {
        const LONG nSubType = IsDlgButtonChecked(IDC_PERCENT) ? kPercentSubType : kStandardSubType;
        if (pAddress->GetSubType() != nSubType) {
            // The form of the value belongs to the address, for every table
            // that shows it and for the saved parameters.
            pAddress->SetType({kByteType, static_cast<int>(nSubType)});
            g_bDataModified = true;
            if (GetOwnerTable() != nullptr) {
                GetOwnerTable()->UpdateToolbarState();
            }
            NotifyDataChanged();
        }
    }
    if (GetOwnerTable() != nullptr) {
        GetOwnerTable()->OnPaneCommand(0);
    }
}

void COverviewEditWnd::NotifyDataChanged() {
    if (GetOwnerTable() == nullptr) {
        return;
    }
    VIEWNOTIFY notify{};
    notify.nType = VN_DATA_REPLACED;
    GetOwnerTable()->SendNotification(&notify);
}

bool COverviewEditWnd::ReadInterval(CTime& start, CTime& end) {
    QLineEdit* pStart = DateEdit(false);
    QLineEdit* pEnd = DateEdit(true);
    // Nothing is computed with a date the edits refuse.
    if (pStart == nullptr || pEnd == nullptr || !ParseDateText(pStart->text().toStdString(), start) ||
        !ParseDateText(pEnd->text().toStdString(), end) || !IsYearInRange(start) || !IsYearInRange(end)) {
        return false;
    }
    if (start > end) {
        // A date picked in the calendar is not checked on leaving the edit.
        std::swap(start, end);
        pStart->setText(QString::fromStdString(FormatDate(start)));
        pEnd->setText(QString::fromStdString(FormatDate(end)));
    }
    return true;
}

void COverviewEditWnd::OnCalendar(bool bEnd) {
    CCalendarButton* pButton = bEnd ? m_pEndCalendar : m_pStartCalendar;
    QLineEdit* pEdit = DateEdit(bEnd);
    if (pButton == nullptr || pEdit == nullptr) {
        return;
    }
    CTime date;
    if (!ParseDateText(pEdit->text().toStdString(), date)) {
        date = CTime::GetCurrentTime();
    }
    std::tm tm{};
    if (!date.GetLocalTm(tm)) {
        CTime::GetCurrentTime().GetLocalTm(tm);
    }
    pButton->ShowCalendar(tm, pEdit);
}

bool COverviewEditWnd::eventFilter(QObject* pWatched, QEvent* pEvent) {
    for (bool bEnd : {false, true}) {
        QLineEdit* pEdit = DateEdit(bEnd);
        if (pWatched != pEdit || pEdit == nullptr) {
            continue;
        }
        if (pEvent->type() == QEvent::FocusIn) {
            OnDateSetFocus(pEdit);
        }
    }
    return CMainFormView::eventFilter(pWatched, pEvent);
}

void COverviewEditWnd::OnDateSetFocus(QLineEdit* pEdit) {
    if (m_bInDateCheck) {
        return;
    }
    // A date outside the years the check takes is never given back.
    if (IsDateAccepted(*pEdit)) {
        CTime date;
        ParseDateText(pEdit->text().toStdString(), date);
        m_nLastValidDate = date.GetTime();
    }
}

bool COverviewEditWnd::IsDateAccepted(const QLineEdit& edit) {
    return IsDateTextAccepted(edit.text().toStdString());
}

bool COverviewEditWnd::CheckDatesForShow() {
    for (bool bEnd : {false, true}) {
        QLineEdit* pEdit = DateEdit(bEnd);
        if (pEdit != nullptr && !IsDateAccepted(*pEdit)) {
            if (!pEdit->hasFocus()) {
                // The date remembered is the focused edit's; this one gets
                // today's.
                m_nLastValidDate = 0;
            }
            OnDateKillFocus(pEdit);
            m_arrDateChecks[bEnd ? 1 : 0].MarkChecked();
            return false;
        }
    }
    return true;
}

bool COverviewEditWnd::OnDateKillFocus(QLineEdit* pEdit) {
    if (m_bInDateCheck) {
        return true;
    }
    m_bInDateCheck = true;
    CTime date;
    const bool bParsed = ParseDateText(pEdit->text().toStdString(), date);
    if (!bParsed) {
        LOG_DETAIL("cannot parse date format");
    }
    const bool bAccepted = bParsed && IsYearInRange(date);
    if (bAccepted) {
        // Both edits in the date form, the earlier date first.
        pEdit->setText(QString::fromStdString(FormatDate(date)));
        CTime start;
        CTime end;
        if (ReadInterval(start, end)) {
            DateEdit(false)->setText(QString::fromStdString(FormatDate(start)));
            DateEdit(true)->setText(QString::fromStdString(FormatDate(end)));
        }
    } else {
        // Without a usable text in it the period could not be computed.
        QWidget* pOwner = GetParameterDlg() != nullptr ? static_cast<QWidget*>(GetParameterDlg()) : this;
        ShowInvalidDateMessage(platform::ui::HwndFromWidget(pOwner));
        const CTime lastValid = m_nLastValidDate != 0 ? CTime(m_nLastValidDate) : CTime::GetCurrentTime();
        pEdit->setText(QString::fromStdString(FormatDate(lastValid)));
        pEdit->setFocus(Qt::OtherFocusReason);
    }
    m_bInDateCheck = false;
    return bAccepted;
}

bool COverviewEditWnd::focusNextPrevChild(bool bNext) {
    // The frame does not know this form: past its ends the focus goes on as
    // the frame's order has it, down to the rows or back to the tree.
    QWidget* pFocus = focusWidget();
    CMainTableBox* pTable = GetOwnerTable();
    if (pTable != nullptr && pFocus != nullptr) {
        if (bNext && pFocus == GetLastTabStopChild(this)) {
            pTable->setFocus(Qt::TabFocusReason);
            return true;
        }
        INavigationTree* pTree = pTable->GetNavigationTree();
        if (!bNext && pFocus == GetFirstTabStopChild(this) && pTree != nullptr && pTree->GetTreeWindow() != nullptr) {
            pTree->GetTreeWindow()->setFocus(Qt::BacktabFocusReason);
            return true;
        }
    }
    return CMainFormView::focusNextPrevChild(bNext);
}

void COverviewEditWnd::OnDestroy() {
    if (m_pCombo != nullptr) {
        m_pCombo->SaveColumns(TABLE_TYPE_GROUP_ADDRESS_COMBO);
    }
    CMainFormView::OnDestroy();
}

void COverviewEditWnd::OnOK() {}

void COverviewEditWnd::OnCancel() {}

void COverviewEditWnd::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::RightButton) {
        CMenu menu;
        if (menu.LoadMenu(CMainTableBox::kContextMenuId)) {
            if (CMenu* pPopup = menu.GetSubMenu(static_cast<int>(kContextPopup))) {
                const QPoint ptScreen = mapToGlobal(pEvent->position().toPoint());
                pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, ptScreen.x(), ptScreen.y(), this);
            }
        }
    }
    CMainFormView::mousePressEvent(pEvent);
}

void COverviewEditWnd::OnHelpOnTable() {
    platform::WinHelp(CMainTableBox::GetHelpId(COverviewTable::kTableType));
}
