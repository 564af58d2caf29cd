#include "editors/time/InternalClockEditWnd.h"

#include "app/Chronoset.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/InternalClock.h"
#include "model/Locale.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/ResString.h"
#include "platform/base/HelpService.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Menu.h"
#include "platform/base/WindowStyles.h"
#include "platform/ui/WindowTree.h"
#include "ui/GroupAddressInsertHook.h"
#include "ui/KeepOpenComboBox.h"
#include "ui/MainTableBox.h"
#include "ui/SpinControl.h"
#include "ui/ValueEditEx.h"
#include "ui/ViewNotify.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <cstdio>
#include <utility>

namespace {

constexpr DWORD kUsageDate = 0x80;
constexpr DWORD kUsageTime = 0x100;
constexpr DWORD kUsageRequest = 0x200;
constexpr DWORD kUsageLock = 1;

// The type mask the insertion dialog is opened with. The lock address is a
// one-bit address the clock owns outside the list, like the request
// address: it takes the clock's one-bit mask, so that the list's limit
// does not refuse it and it is not taken for a day-routine trigger.
DWORD InsertTypeMask(DWORD dwUsage) {
    return dwUsage == kUsageLock ? kUsageRequest : dwUsage;
}

constexpr UINT kValueIds[4] = {CInternalClockEditWnd::IDC_SEND_HOUR, CInternalClockEditWnd::IDC_SEND_MINUTE,
                               CInternalClockEditWnd::IDC_INACTIVE_MINUTES,
                               CInternalClockEditWnd::IDC_INACTIVE_SECONDS};
constexpr UINT kClockSpinIds[4] = {CInternalClockEditWnd::IDC_SPIN_SEND_HOUR,
                                   CInternalClockEditWnd::IDC_SPIN_SEND_MINUTE,
                                   CInternalClockEditWnd::IDC_SPIN_INACTIVE_MINUTES,
                                   CInternalClockEditWnd::IDC_SPIN_INACTIVE_SECONDS};

int ValueIndex(UINT nId) {
    for (int i = 0; i < 4; ++i) {
        if (kValueIds[i] == nId) {
            return i;
        }
    }
    return -1;
}

}  // namespace

CInternalClockEditWnd::CInternalClockEditWnd(CChronoset* pChronoset, CMainTableBox* pOwnerTable)
    : CMainFormView(IDD, pOwnerTable), m_pChronoset(pChronoset) {
    MapCommand(ID_TABLE_HELP, [this]() { OnHelpOnTable(); });
    MapUpdateCommandUI(ID_TABLE_HELP, [](CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); });
}

CInternalClockEditWnd::~CInternalClockEditWnd() = default;

CInternalClock* CInternalClockEditWnd::GetClock() const {
    // An import or open replaces the central object; this form's data set
    // is then gone and must not be written.
    if (m_pChronoset == nullptr || m_pChronoset != g_pChronoset) {
        return nullptr;
    }
    return g_pChronoset->GetInternalClock();
}

CValueEditEx* CInternalClockEditWnd::ValueEdit(UINT nId) const {
    const int nIndex = ValueIndex(nId);
    return nIndex >= 0 ? m_arrEdits[nIndex] : nullptr;
}

int CInternalClockEditWnd::OnCreate() {
    auto replaceCombo = [this](UINT nId) {
        QWidget* pPlace = GetDlgItem(nId);
        auto* pCombo = new CKeepOpenComboBox(pPlace != nullptr ? pPlace->parentWidget() : this);
        if (pPlace != nullptr) {
            platform::ui::ReplaceDlgControl(pPlace, pCombo);
        } else {
            SetDlgCtrlID(pCombo, nId);
        }
        return pCombo;
    };
    m_pMode = replaceCombo(IDC_MODE);
    m_pTimeCombo = replaceCombo(IDC_TIME_ADDRESS);
    m_pDateCombo = replaceCombo(IDC_DATE_ADDRESS);
    m_pRequestCombo = replaceCombo(IDC_REQUEST_ADDRESS);
    m_pLockCombo = replaceCombo(IDC_LOCK_ADDRESS);
    m_pPolarity = replaceCombo(IDC_LOCK_POLARITY);
    m_pSendDelay = replaceCombo(IDC_SEND_DELAY);
    for (int i = 0; i < 4; ++i) {
        QWidget* pPlace = GetDlgItem(kValueIds[i]);
        auto* pEdit = new CValueEditEx(pPlace != nullptr ? pPlace->parentWidget() : this);
        if (pPlace != nullptr) {
            platform::ui::ReplaceDlgControl(pPlace, pEdit);
        } else {
            SetDlgCtrlID(pEdit, kValueIds[i]);
        }
        pEdit->installEventFilter(this);
        const UINT nId = kValueIds[i];
        connect(pEdit, &QLineEdit::textChanged, this, [this, nId]() { OnChangeValue(nId); });
        m_arrEdits[i] = pEdit;
    }
    m_pUserComment = GetDlgItemAs<QPlainTextEdit>(IDC_USER_COMMENT);

    // Only the user's picks count; filling the lists changes nothing.
    connect(m_pMode, &QComboBox::activated, this, [this]() { OnSelChangeMode(); });
    connect(m_pSendDelay, &QComboBox::activated, this, [this]() { OnSelChangeSendDelay(); });
    connect(m_pPolarity, &QComboBox::activated, this, [this]() { OnSelEndOkPolarity(); });
    const std::pair<CKeepOpenComboBox*, std::pair<DWORD, int*>> choosers[] = {
        {m_pDateCombo, {kUsageDate, &m_nDateSel}},
        {m_pTimeCombo, {kUsageTime, &m_nTimeSel}},
        {m_pRequestCombo, {kUsageRequest, &m_nRequestSel}},
        {m_pLockCombo, {kUsageLock, &m_nLockSel}},
    };
    for (const auto& [pCombo, usage] : choosers) {
        CKeepOpenComboBox* pBox = pCombo;
        const DWORD dwUsage = usage.first;
        int* pnRemembered = usage.second;
        // A pick in the open list arrives once the list has closed.
        connect(pBox, &QComboBox::activated, this, [this, pBox, dwUsage, pnRemembered]() {
            SelChangeGaComboBox(pBox, dwUsage, pnRemembered);
            NotifyDataChanged();
        });
    }
    if (m_pUserComment != nullptr) {
        connect(m_pUserComment, &QPlainTextEdit::textChanged, this, [this]() { OnChangeUserComment(); });
    }

    const int nResult = CMainFormView::OnCreate();
    if (nResult == -1) {
        return -1;
    }
    SetDlgItemText(IDC_SEND_DELAY_LABEL, GetResString(626, "min. Telegrammabstand:"));
    SetDlgItemText(IDC_MODE_LABEL, GetResString(40138, "Betriebsart Uhr:"));
    SetDlgItemText(IDC_SEND_TIME_LABEL, GetResString(40141, "senden um:"));
    SetDlgItemText(IDC_TIME_LABEL, GetResString(40139, "Gruppenadresse Uhrzeit:"));
    SetDlgItemText(IDC_DATE_LABEL, GetResString(40140, "Gruppenadresse Datum:"));
    SetDlgItemText(IDC_REQUEST_LABEL, GetResString(160, "Gruppenadresse zur Anforderung:"));
    SetDlgItemText(IDC_LOCK_LABEL, GetResString(11, "Zeitprogramm sperren"));
    SetDlgItemText(IDC_INACTIVE_LABEL, GetResString(2107, "Inaktive Zeit:"));
    return nResult;
}

BOOL CInternalClockEditWnd::Create(QWidget* pParent, const QRect& rect) {
    if (!CMainFormView::Create(pParent, rect)) {
        return FALSE;
    }
    InitControls();
    if (GetOwnerTable() != nullptr) {
        ApplyToWindowTree(this, GetOwnerTable()->font(), TRUE);
    }
    FillControls();
    return TRUE;
}

void CInternalClockEditWnd::InitControls() {
    for (int i = 0; i < 4; ++i) {
        CValueEditEx* pEdit = m_arrEdits[i];
        const QRect rcEdit = pEdit->geometry();
        auto* pSpin = new CSpinControl(this);
        pSpin->SetBuddy(pEdit);
        pSpin->Create(SPS_HORIZONTAL | WS_CHILD | WS_VISIBLE,
                      QRect(QPoint(rcEdit.left() - 8, rcEdit.bottom() + 1 + 2),
                            QPoint(rcEdit.right() + 8, rcEdit.bottom() + 2 + 12)),
                      this, kClockSpinIds[i]);
        m_arrSpins[i] = pSpin;
    }
    const std::string strSeparator(1, GetTimeSeparator());
    SetDlgItemText(IDC_SEND_SEPARATOR, strSeparator);
    SetDlgItemText(IDC_INACTIVE_SEPARATOR, strSeparator);

    // The index of the send-delay entry is the stored value.
    for (UINT nId : {275u, 270u, 271u, 272u, 273u, 274u}) {
        m_pSendDelay->addItem(QString::fromStdString(LoadResString(nId)));
    }
    const std::pair<UINT, int> modes[] = {{151, 255}, {152, 0}, {153, 1}, {154, 2}, {155, 3}, {156, 4}};
    for (const auto& [nId, nMode] : modes) {
        m_pMode->addItem(QString::fromStdString(LoadResString(nId)), nMode);
    }
    m_pPolarity->addItem(QString::fromStdString(LoadResString(13)), 0);
    m_pPolarity->addItem(QString::fromStdString(LoadResString(14)), 1);
}

void CInternalClockEditWnd::FillControls() {
    CInternalClock* pClock = GetClock();
    if (pClock == nullptr || m_pMode == nullptr) {
        return;
    }
    const bool bWasInitialising = std::exchange(m_bInitialising, true);
    const std::pair<DWORD, int> values[4] = {{23, pClock->GetSendHour()},
                                             {59, pClock->GetSendMinute()},
                                             {59, pClock->GetInactiveHour()},
                                             {59, pClock->GetInactiveMinute()}};
    for (int i = 0; i < 4; ++i) {
        m_arrEdits[i]->SetRange(0, values[i].first);
        m_arrEdits[i]->SetDigitCount(2);
        m_arrEdits[i]->SetValue(static_cast<DWORD>(values[i].second));
    }
    m_pSendDelay->setCurrentIndex(m_pChronoset->GetSendDelay() < m_pSendDelay->count() ? m_pChronoset->GetSendDelay()
                                                                                          : -1);
    const int nMode = pClock->GetMode();
    m_pMode->setCurrentIndex(nMode >= 0 && nMode <= 4 ? nMode + 1 : 0);

    FillGaComboBox(m_pLockCombo, pClock->GetLockGroupAddress(), CInternalClock::kLockObject, &m_nLockSel);
    SelectPolarityByText(pClock->GetLockPolarity() != 0 ? 14 : 13);
    m_pPolarity->setVisible(pClock->GetLockGroupAddress() != nullptr);
    FillGaComboBox(m_pDateCombo, pClock->GetDateGroupAddress(), CInternalClock::kDateObject, &m_nDateSel);
    FillGaComboBox(m_pTimeCombo, pClock->GetTimeGroupAddress(), CInternalClock::kTimeObject, &m_nTimeSel);
    FillGaComboBox(m_pRequestCombo, pClock->GetRequestGroupAddress(), CInternalClock::kRequestObject,
                   &m_nRequestSel);
    OnSelChangeMode();

    if (m_pUserComment != nullptr) {
        m_pUserComment->setPlainText(QString::fromStdString(*m_pChronoset->GetUserComment()));
    }
    SetDlgItemText(IDC_INSTALLER_COMMENT, *m_pChronoset->GetInstallerComment());

    if (g_bStandalone) {
        for (UINT nId : {IDC_SEND_DELAY, IDC_MODE, IDC_TIME_ADDRESS, IDC_DATE_ADDRESS, IDC_REQUEST_ADDRESS,
                         IDC_SEND_HOUR, IDC_SEND_MINUTE, IDC_SPIN_SEND_HOUR, IDC_SPIN_SEND_MINUTE,
                         IDC_LOCK_ADDRESS}) {
            if (QWidget* pControl = GetDlgItem(nId)) {
                pControl->setEnabled(false);
            }
        }
    } else {
        for (UINT nId : {IDC_USER_LABEL, IDC_USER_COMMENT, IDC_INSTALLER_LABEL, IDC_INSTALLER_COMMENT,
                         IDC_INSTALLER_FRAME}) {
            if (QWidget* pControl = GetDlgItem(nId)) {
                pControl->hide();
            }
        }
    }
    m_bInitialising = bWasInitialising;
}

void CInternalClockEditWnd::FillGaComboBox(CKeepOpenComboBox* pCombo, CGroupDataAddress* pAddress,
                                           SHORT nObjectNumber, int* pnRemembered) {
    pCombo->clear();
    pCombo->addItem(QString::fromStdString(LoadResString(220)));
    if (pAddress != nullptr) {
        const int nLevels = m_pChronoset != nullptr ? m_pChronoset->GetGroupDataAddresses()->GetAddressLevels()
                                                    : pAddress->GetLevels();
        const std::string strAddress =
            FormatGroupAddress(nLevels, pAddress->GetAddress(), nObjectNumber, nullptr, pAddress->IsInvalid());
        char szText[512];
        std::snprintf(szText, sizeof(szText), "%-*s %s", 15, strAddress.c_str(), pAddress->GetName().c_str());
        pCombo->addItem(QString::fromStdString(szText));
    }
    // The entry is only there while the insertion dialog can be opened.
    if (!g_bStandalone && ui::HasGroupAddressInsertHook()) {
        pCombo->addItem(QString::fromStdString(LoadResString(304)));
    }
    pCombo->setCurrentIndex(pAddress != nullptr ? 1 : 0);
    *pnRemembered = pCombo->currentIndex();
}

void CInternalClockEditWnd::SelChangeGaComboBox(CKeepOpenComboBox* pCombo, DWORD dwUsage, int* pnRemembered) {
    // The insertion dialog takes the focus from the open list, which may
    // close up and report once more; that must not open a second dialog.
    if (m_bInSelChange || m_bInitialising) {
        return;
    }
    CInternalClock* pClock = GetClock();
    if (pClock == nullptr) {
        return;
    }
    m_bInSelChange = true;
    const int nSelected = pCombo->currentIndex();
    const SHORT nObject = dwUsage == kUsageDate   ? CInternalClock::kDateObject
                          : dwUsage == kUsageTime ? CInternalClock::kTimeObject
                          : dwUsage == kUsageLock ? CInternalClock::kLockObject
                                                  : CInternalClock::kRequestObject;
    const bool bNewEntry = !g_bStandalone && ui::HasGroupAddressInsertHook() && nSelected > 0 &&
                           nSelected == pCombo->count() - 1;
    if (bNewEntry) {
        QWidget* pOwner = GetParameterDlg() != nullptr ? static_cast<QWidget*>(GetParameterDlg()) : this;
        CGroupDataAddress* pInserted = ui::InsertGroupAddress(pOwner, InsertTypeMask(dwUsage));
        // The dialog may have run long enough for the data set to change.
        pClock = GetClock();
        if (pInserted != nullptr && pClock != nullptr) {
            CGroupDataAddress* pAddress = nullptr;
            if (dwUsage == kUsageDate) {
                // The insertion gave date and time addresses to the clock.
                pAddress = pClock->GetDateGroupAddress();
            } else if (dwUsage == kUsageTime) {
                pAddress = pClock->GetTimeGroupAddress();
            } else {
                // The clock owns its request and lock addresses. The
                // insertion makes them outside the list; one the list lends
                // leaves it.
                CGroupDataAddresses* pList = m_pChronoset->GetGroupDataAddresses();
                if (pList->IsInList(pInserted)) {
                    pList->Remove(pInserted, true);
                }
                if (dwUsage == kUsageRequest) {
                    pClock->SetRequestGroupAddress(pInserted);
                } else {
                    pClock->SetLockGroupAddress(pInserted);
                    ShowPolarity(true);
                }
                pAddress = pInserted;
            }
            if (pAddress == nullptr) {
                LOG_ERROR("CInternalClockEditWnd::SelChangeGaComboBox: pGda == NULL");
            } else {
                FillGaComboBox(pCombo, pAddress, nObject, pnRemembered);
            }
        } else {
            pCombo->setCurrentIndex(*pnRemembered);
        }
        m_bInSelChange = false;
        SetModified(1);
        return;
    }
    if (nSelected == 0) {
        switch (dwUsage) {
            case kUsageDate: pClock->SetDateGroupAddress(nullptr); break;
            case kUsageTime: pClock->SetTimeGroupAddress(nullptr); break;
            case kUsageRequest: pClock->SetRequestGroupAddress(nullptr); break;
            default:
                pClock->SetLockGroupAddress(nullptr);
                SelectPolarityByText(13);
                ShowPolarity(false);
                pClock->SetLockPolarity(static_cast<BYTE>(m_pPolarity->currentData().toInt()));
                break;
        }
        FillGaComboBox(pCombo, nullptr, nObject, pnRemembered);
    }
    *pnRemembered = pCombo->currentIndex();
    m_bInSelChange = false;
    SetModified(1);
}

void CInternalClockEditWnd::ShowPolarity(bool bShow) {
    m_pPolarity->setVisible(bShow);
}

void CInternalClockEditWnd::SelectPolarityByText(UINT nStringId) {
    m_pPolarity->setCurrentIndex(m_pPolarity->findText(QString::fromStdString(LoadResString(nStringId))));
    m_nPolaritySel = m_pPolarity->currentIndex();
}

void CInternalClockEditWnd::OnSelChangeMode() {
    CInternalClock* pClock = GetClock();
    if (pClock == nullptr) {
        return;
    }
    const int nMode = m_pMode->currentIndex() >= 0 ? m_pMode->currentData().toInt() : CInternalClock::kModeIntern;
    if (!m_bInitialising) {
        pClock->SetMode(nMode);
    }
    const bool bAddressRows = nMode >= 0 && nMode <= 4;
    const bool bSendRow = nMode == 3 || nMode == 4;
    for (UINT nId : {IDC_TIME_LABEL, IDC_DATE_LABEL, IDC_REQUEST_LABEL, IDC_TIME_ADDRESS, IDC_DATE_ADDRESS,
                     IDC_REQUEST_ADDRESS}) {
        if (QWidget* pControl = GetDlgItem(nId)) {
            pControl->setVisible(bAddressRows);
        }
    }
    for (UINT nId : {IDC_SEND_TIME_LABEL, IDC_SEND_HOUR, IDC_SEND_MINUTE, IDC_SEND_SEPARATOR}) {
        if (QWidget* pControl = GetDlgItem(nId)) {
            pControl->setVisible(bSendRow);
        }
    }
    const bool bWasSwitching = std::exchange(m_bSwitchingEdits, true);
    const bool bHour = nMode == 4;
    const bool bMinute = nMode == 3 || nMode == 4;
    m_arrEdits[0]->EnableValue(bHour ? TRUE : FALSE);
    m_arrEdits[1]->EnableValue(bMinute ? TRUE : FALSE);
    m_bSwitchingEdits = bWasSwitching;
    if (m_arrSpins[0] != nullptr) {
        m_arrSpins[0]->setVisible(bSendRow);
        m_arrSpins[1]->setVisible(bSendRow);
        m_arrSpins[0]->setEnabled(bHour);
        m_arrSpins[1]->setEnabled(bMinute);
    }
    SetModified(1);
    NotifyDataChanged();
}

void CInternalClockEditWnd::OnChangeValue(UINT nId) {
    if (m_bInitialising || m_bSwitchingEdits) {
        return;
    }
    CInternalClock* pClock = GetClock();
    CValueEditEx* pEdit = ValueEdit(nId);
    if (pClock == nullptr || pEdit == nullptr) {
        return;
    }
    const int nValue = static_cast<int>(pEdit->GetValue());
    switch (nId) {
        case IDC_SEND_HOUR: pClock->SetSendHour(nValue); break;
        case IDC_SEND_MINUTE: pClock->SetSendMinute(nValue); break;
        case IDC_INACTIVE_MINUTES: pClock->SetInactiveHour(nValue); break;
        default: pClock->SetInactiveMinute(nValue); break;
    }
    SetModified(1);
    NotifyDataChanged();
}

void CInternalClockEditWnd::OnKillFocusValue(UINT nId) {
    // Writing the value back changes the text, which reports a change that
    // must not come round to this check again.
    if (m_bInKillFocus) {
        return;
    }
    m_bInKillFocus = true;
    OnChangeValue(nId);
    if (CValueEditEx* pEdit = ValueEdit(nId); pEdit != nullptr && GetClock() != nullptr && !m_bInitialising) {
        pEdit->SetValue(pEdit->GetValue());
    }
    m_bInKillFocus = false;
}

bool CInternalClockEditWnd::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pEvent->type() == QEvent::FocusOut) {
        for (int i = 0; i < 4; ++i) {
            if (pWatched == m_arrEdits[i]) {
                OnKillFocusValue(kValueIds[i]);
            }
        }
    }
    return CMainFormView::eventFilter(pWatched, pEvent);
}

void CInternalClockEditWnd::OnSelChangeSendDelay() {
    if (m_bInitialising || m_pSendDelay->currentIndex() < 0 || GetClock() == nullptr) {
        return;
    }
    m_pChronoset->SetSendDelay(static_cast<BYTE>(m_pSendDelay->currentIndex()));
    SetModified(1);
    NotifyDataChanged();
}

void CInternalClockEditWnd::OnSelEndOkPolarity() {
    CInternalClock* pClock = GetClock();
    if (m_bInitialising || pClock == nullptr || m_pPolarity->currentIndex() < 0) {
        return;
    }
    pClock->SetLockPolarity(m_pPolarity->currentData().toInt() != 0 ? 1 : 0);
    m_nPolaritySel = m_pPolarity->currentIndex();
    SetModified(1);
}

void CInternalClockEditWnd::OnChangeUserComment() {
    if (m_bInitialising || m_pUserComment == nullptr || GetClock() == nullptr) {
        return;
    }
    QString strText = m_pUserComment->toPlainText();
    if (strText.size() > kMaxUserComment) {
        // The plain-text edit has no length limit of its own.
        const int nCursor = m_pUserComment->textCursor().position();
        strText.truncate(kMaxUserComment);
        m_pUserComment->setPlainText(strText);  // comes back here within the limit
        QTextCursor cursor = m_pUserComment->textCursor();
        cursor.setPosition(std::min(nCursor, static_cast<int>(strText.size())));
        m_pUserComment->setTextCursor(cursor);
        QApplication::beep();
        return;
    }
    m_pChronoset->SetUserComment(strText.toStdString());
    SetModified(1);
    NotifyDataChanged();
}

void CInternalClockEditWnd::StoreTimeValues() {
    CInternalClock* pClock = GetClock();
    if (pClock == nullptr || m_arrEdits[0] == nullptr) {
        return;
    }
    pClock->SetSendHour(static_cast<int>(m_arrEdits[0]->GetValue()));
    pClock->SetSendMinute(static_cast<int>(m_arrEdits[1]->GetValue()));
    pClock->SetInactiveHour(static_cast<int>(m_arrEdits[2]->GetValue()));
    pClock->SetInactiveMinute(static_cast<int>(m_arrEdits[3]->GetValue()));
}

void CInternalClockEditWnd::OnDestroy() {
    StoreTimeValues();
    CMainFormView::OnDestroy();
}

void CInternalClockEditWnd::OnOK() {}

void CInternalClockEditWnd::OnCancel() {}

void CInternalClockEditWnd::SetModified(int nFlag) {
    if (m_bInitialising) {
        return;
    }
    g_bDataModified = nFlag != 0;
    if (GetOwnerTable() != nullptr) {
        GetOwnerTable()->UpdateToolbarState();
    }
}

void CInternalClockEditWnd::NotifyDataChanged() {
    if (m_bInitialising || GetOwnerTable() == nullptr) {
        return;
    }
    VIEWNOTIFY notify{};
    notify.nType = VN_DATA_REPLACED;
    GetOwnerTable()->SendNotification(&notify);
}

void CInternalClockEditWnd::mousePressEvent(QMouseEvent* pEvent) {
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

void CInternalClockEditWnd::OnHelpOnTable() {
    platform::WinHelp(GetObjectTypeStringId(5), platform::HELP_CONTEXT);
}
