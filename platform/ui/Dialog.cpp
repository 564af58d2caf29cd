#include "platform/ui/Dialog.h"

#include "platform/base/HelpService.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/WindowStyles.h"
#include "platform/ui/AltKeyFilter.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/CommandBlock.h"
#include "platform/ui/ControlBar.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Handles.h"
#include "platform/ui/Menu.h"
#include "platform/ui/ModalRunner.h"
#include "platform/ui/WindowClasses.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QWindow>
#include <QtGlobal>

#include <algorithm>
#include <vector>

CDialog::CDialog(UINT nIDTemplate, QWidget* pParent)
    : QDialog(pParent), m_nIDTemplate(nIDTemplate), m_nIDHelp(nIDTemplate), m_pAltKeys(new CAltKeyFilter(this)) {
    const platform::CResourceModule* pModule = platform::GetFrameworkResourceModule();
    const platform::ResDialog* pTemplate = pModule != nullptr ? pModule->FindDialog(nIDTemplate) : nullptr;
    if (pTemplate == nullptr) {
        qWarning("Dialog template %u not found", nIDTemplate);
        m_baseUnits = platform::ui::GetDialogBaseUnits(font());
        return;
    }
    BuildFromTemplate(*pTemplate);
}

CDialog::CDialog(QWidget* pParent) : QDialog(pParent), m_bTemplateBuilt(true), m_pAltKeys(new CAltKeyFilter(this)) {
    m_baseUnits = platform::ui::GetDialogBaseUnits(font());
}

CDialog::~CDialog() {
    // The menu's popups are not the bar's; the bar lets go of them first.
    if (m_pMenuBar != nullptr) {
        m_pMenuBar->clear();
        delete m_pMenuBar;
        m_pMenuBar = nullptr;
    }
    m_pMenu = nullptr;
}

void CDialog::BuildFromTemplate(const platform::ResDialog& dlgTemplate) {
    const QFont dlgFont = platform::ui::GetTemplateFont(dlgTemplate);
    setFont(dlgFont);
    m_baseUnits = platform::ui::GetDialogBaseUnits(dlgFont);

    const DWORD dwStyle = dlgTemplate.dwStyle;
    m_dwTemplateStyle = dwStyle;
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint;
    if ((dwStyle & WS_CAPTION) == WS_CAPTION) {
        flags |= Qt::WindowTitleHint;
    }
    if ((dwStyle & WS_SYSMENU) != 0) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    if ((dwStyle & WS_MINIMIZEBOX) != 0) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    if ((dwStyle & WS_MAXIMIZEBOX) != 0) {
        flags |= Qt::WindowMaximizeButtonHint;
    }
    setWindowFlags(flags);
    setWindowTitle(QString::fromUtf8(dlgTemplate.pszCaption != nullptr ? dlgTemplate.pszCaption : ""));

    // The template gives the client area.
    const QSize size(platform::ui::DialogUnitsToPixelsX(dlgTemplate.cx, m_baseUnits),
                     platform::ui::DialogUnitsToPixelsY(dlgTemplate.cy, m_baseUnits));
    if ((dwStyle & WS_THICKFRAME) != 0) {
        resize(size);
    } else {
        setFixedSize(size);
    }

    std::vector<QWidget*> controls;
    for (const platform::ResDialogControl& control : dlgTemplate.controls) {
        QWidget* pControl = platform::ui::CreateTemplateControl(control, this, m_baseUnits);
        RouteButtonCommand(pControl);
        controls.push_back(pControl);
    }
    // Radio buttons exclude each other within a group of the template: a
    // control with WS_GROUP starts the next group.
    QButtonGroup* pGroup = nullptr;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const platform::ResDialogControl& control = dlgTemplate.controls.begin()[i];
        if ((control.dwStyle & WS_GROUP) != 0) {
            pGroup = nullptr;
        }
        auto* pRadio = qobject_cast<QRadioButton*>(controls[i]);
        if (pRadio == nullptr) {
            continue;
        }
        if (pGroup == nullptr) {
            pGroup = new QButtonGroup(this);
            // The tab stop is the checked button's, also when the program
            // checks it: Tab and a label's mnemonic lead there.
            connect(pGroup, &QButtonGroup::buttonToggled, this, [pGroup](QAbstractButton* pChecked, bool bChecked) {
                if (!bChecked) {
                    return;
                }
                const auto buttons = pGroup->buttons();
                for (QAbstractButton* pButton : buttons) {
                    const int nPolicy = pButton->focusPolicy();
                    pButton->setFocusPolicy(static_cast<Qt::FocusPolicy>(
                        pButton == pChecked ? nPolicy | Qt::TabFocus : nPolicy & ~Qt::TabFocus));
                }
            });
        }
        pRadio->setAutoExclusive(false);
        pGroup->addButton(pRadio);
    }
    // A label's mnemonic takes the focus to the next control that takes it
    // (CStaticControl: it never presses that control).
    for (std::size_t i = 0; i < controls.size(); ++i) {
        auto* pLabel = qobject_cast<QLabel*>(controls[i]);
        const platform::ResDialogControl& control = dlgTemplate.controls.begin()[i];
        if (pLabel == nullptr || (control.dwStyle & SS_NOPREFIX) != 0 || !pLabel->text().contains(QLatin1Char('&'))) {
            continue;
        }
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            if (qobject_cast<QLabel*>(controls[j]) == nullptr &&
                (controls[j]->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) {
                pLabel->setBuddy(controls[j]);
                break;
            }
        }
    }
    m_bTemplateBuilt = true;
}

void CDialog::RouteButtonCommand(QWidget* pButton) {
    auto* pClickable = qobject_cast<QAbstractButton*>(pButton);
    if (pClickable == nullptr) {
        return;
    }
    connect(pClickable, &QAbstractButton::clicked, this,
            [this, pClickable]() { SendCommand(GetDlgCtrlID(pClickable)); });
}

int CDialog::DoModal() {
    if (!m_bTemplateBuilt) {
        return -1;
    }
    m_nModalResult = -1;
    if (!EnsureInitialized()) {
        return m_nModalResult;
    }
    setModal(true);
    platform::ui::RunModal(*this);
    OnDestroy();
    return m_nModalResult;
}

BOOL CDialog::Create() {
    if (!m_bTemplateBuilt || m_bWindowCreated) {
        return FALSE;
    }
    m_bWindowCreated = true;
    if (!EnsureInitialized()) {
        m_bWindowCreated = false;
        return FALSE;
    }
    if ((m_dwTemplateStyle & WS_VISIBLE) != 0) {
        show();
    }
    return TRUE;
}

void CDialog::DestroyWindow() {
    if (!m_bWindowCreated) {
        return;
    }
    OnDestroy();
    m_bWindowCreated = false;
    QDialog::setVisible(false);
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    m_bEnded = true;
    QDialog::done(nResult);
}

HWND CDialog::GetSafeHwnd() const {
    return platform::ui::HwndFromWidget(this);
}

QWidget* CDialog::GetDlgItem(UINT nId) const {
    return platform::ui::FindDlgItem(this, nId);
}

void CDialog::SetDlgCtrlID(QWidget* pControl, UINT nId) {
    platform::ui::SetDlgCtrlID(pControl, nId);
}

UINT CDialog::GetDlgCtrlID(const QWidget* pControl) {
    return platform::ui::GetDlgCtrlID(pControl);
}

QRect CDialog::MapDialogRect(const QRect& rectUnits) const {
    return platform::ui::MapDialogRect(rectUnits, m_baseUnits);
}

void CDialog::SetWindowText(const std::string& strText) {
    setWindowTitle(QString::fromStdString(strText));
}

std::string CDialog::GetWindowText() const {
    return windowTitle().toStdString();
}

BOOL CDialog::SetDlgItemText(UINT nId, const std::string& strText) {
    QWidget* pControl = GetDlgItem(nId);
    const QString text = QString::fromStdString(strText);
    if (auto* pLabel = qobject_cast<QLabel*>(pControl)) {
        pLabel->setText(text);
    } else if (auto* pButton = qobject_cast<QAbstractButton*>(pControl)) {
        pButton->setText(text);
    } else if (auto* pEdit = qobject_cast<QLineEdit*>(pControl)) {
        pEdit->setText(text);
    } else if (auto* pMultiLine = qobject_cast<QPlainTextEdit*>(pControl)) {
        pMultiLine->setPlainText(text);
    } else if (auto* pGroup = qobject_cast<QGroupBox*>(pControl)) {
        pGroup->setTitle(text);
    } else {
        return FALSE;
    }
    return TRUE;
}

std::string CDialog::GetDlgItemText(UINT nId) const {
    QWidget* pControl = GetDlgItem(nId);
    QString text;
    if (auto* pLabel = qobject_cast<QLabel*>(pControl)) {
        text = pLabel->text();
    } else if (auto* pButton = qobject_cast<QAbstractButton*>(pControl)) {
        text = pButton->text();
    } else if (auto* pEdit = qobject_cast<QLineEdit*>(pControl)) {
        text = pEdit->text();
    } else if (auto* pMultiLine = qobject_cast<QPlainTextEdit*>(pControl)) {
        text = pMultiLine->toPlainText();
    } else if (auto* pGroup = qobject_cast<QGroupBox*>(pControl)) {
        text = pGroup->title();
    }
    return text.toStdString();
}

bool CDialog::IsDlgButtonChecked(UINT nId) const {
    const auto* pButton = qobject_cast<const QAbstractButton*>(GetDlgItem(nId));
    return pButton != nullptr && pButton->isChecked();
}

void CDialog::CheckDlgButton(UINT nId, bool bChecked) {
    if (auto* pButton = qobject_cast<QAbstractButton*>(GetDlgItem(nId))) {
        pButton->setChecked(bChecked);
    }
}

void CDialog::CenterWindow(QWidget* pAlternateOwner) {
    QWidget* pOwner = pAlternateOwner != nullptr ? pAlternateOwner : parentWidget();
    QRect area;
    if (pOwner != nullptr) {
        QWidget* pOwnerWindow = pOwner->window();
        area = QRect(pOwnerWindow->mapToGlobal(QPoint(0, 0)), pOwnerWindow->size());
    } else if (const QScreen* pScreen = QGuiApplication::primaryScreen()) {
        area = pScreen->availableGeometry();
    } else {
        return;
    }
    // Before it first shows, a dialog laid out by Qt has not taken its size
    // yet; showing would give it its size hint.
    if (!isVisible() && !testAttribute(Qt::WA_Resized)) {
        adjustSize();
    }
    const QSize size = frameGeometry().size();
    QPoint topLeft(area.center().x() - size.width() / 2, area.center().y() - size.height() / 2);
    // Keep it on the screen.
    if (const QScreen* pScreen = QGuiApplication::screenAt(area.center())) {
        const QRect screen = pScreen->availableGeometry();
        topLeft.setX(std::clamp(topLeft.x(), screen.left(), std::max(screen.left(), screen.right() - size.width())));
        topLeft.setY(std::clamp(topLeft.y(), screen.top(), std::max(screen.top(), screen.bottom() - size.height())));
    }
    move(topLeft);
}

int CDialog::GetMenuBarHeight() const {
    return m_pMenuBar != nullptr ? m_pMenuBar->sizeHint().height() : 0;
}

BOOL CDialog::SetMenu(CMenu* pMenu) {
    if (pMenu != nullptr && pMenu->GetSafeHmenu() == nullptr) {
        return FALSE;
    }
    const int nOldHeight = GetMenuBarHeight();
    if (m_pMenuBar != nullptr) {
        m_pMenuBar->clear();
        delete m_pMenuBar;
        m_pMenuBar = nullptr;
    }
    m_pMenu = pMenu;
    if (pMenu != nullptr) {
        m_pMenuBar = new QMenuBar(this);
        m_pMenuBar->setNativeMenuBar(false);
        m_pMenuBar->addActions(pMenu->GetSafeHmenu()->actions());
        ConnectMenuPopups(pMenu);
        m_pMenuBar->show();
    }
    // The client area keeps its size: the window grows or shrinks by the bar.
    const int nDelta = GetMenuBarHeight() - nOldHeight;
    if (nDelta != 0) {
        const bool bFixed = minimumSize() == maximumSize();
        const QSize size(width(), height() + nDelta);
        if (bFixed) {
            setFixedSize(size);
        } else {
            resize(size);
        }
    }
    if (m_pMenuBar != nullptr) {
        m_pMenuBar->setGeometry(0, 0, width(), GetMenuBarHeight());
    }
    return TRUE;
}

void CDialog::ConnectMenuPopups(CMenu* pMenu) {
    const int nCount = pMenu->GetMenuItemCount();
    for (int i = 0; i < nCount; ++i) {
        CMenu* pPopup = pMenu->GetSubMenu(i);
        if (pPopup == nullptr) {
            continue;
        }
        QMenu* pQMenu = pPopup->GetSafeHmenu();
        connect(pQMenu, &QMenu::aboutToShow, this,
                [this, pPopup, i]() { OnInitMenuPopup(pPopup, static_cast<UINT>(i), FALSE); });
        // Each item's command, once: a popup also hears the items of the
        // submenus it opened.
        connect(pQMenu, &QMenu::triggered, this, [this, pQMenu](QAction* pAction) {
            if (pAction != nullptr && pAction->menu() == nullptr && pQMenu->actions().contains(pAction)) {
                SendCommand(CMenu::GetActionID(pAction));
            }
        });
        ConnectMenuPopups(pPopup);
    }
}

QRect CDialog::GetClientRect() const {
    const int nTop = GetMenuBarHeight();
    return {0, nTop, width(), std::max(0, height() - nTop)};
}

void CDialog::RepositionBars(QRect* pLeftOver) {
    QRect rect = GetClientRect();
    const auto children = findChildren<CControlBar*>(QString(), Qt::FindDirectChildrenOnly);
    for (CControlBar* pBar : children) {
        if (!pBar->IsBarVisible()) {
            continue;
        }
        const int nHeight = pBar->CalcHeight();
        if ((pBar->GetBarStyle() & CBRS_ALIGN_BOTTOM) != 0) {
            pBar->setGeometry(rect.left(), rect.bottom() + 1 - nHeight, rect.width(), nHeight);
            rect.setBottom(rect.bottom() - nHeight);
        } else {
            pBar->setGeometry(rect.left(), rect.top(), rect.width(), nHeight);
            rect.setTop(rect.top() + nHeight);
        }
    }
    if (pLeftOver != nullptr) {
        *pLeftOver = rect;
    }
}

CWndTimers::TimerId CDialog::SetTimer(CWndTimers::TimerId nIDEvent, UINT nElapse) {
    return CWndTimers::Of(this, true)->SetTimer(nIDEvent, nElapse, [this](CWndTimers::TimerId nId) { OnTimer(nId); });
}

BOOL CDialog::KillTimer(CWndTimers::TimerId nIDEvent) {
    CWndTimers* pTimers = CWndTimers::Of(this, false);
    return pTimers != nullptr ? pTimers->KillTimer(nIDEvent) : FALSE;
}

void CDialog::OnTimer(CWndTimers::TimerId /*nIDEvent*/) {}

void CDialog::OnDestroy() {}

void CDialog::OnDrawItem(UINT /*nIDCtl*/, QPainter& /*painter*/, const DrawItemInfo& /*item*/) {}

void CDialog::OnInitMenuPopup(CMenu* pPopup, UINT /*nIndex*/, BOOL bSysMenu) {
    if (!bSysMenu) {
        CCmdUI::UpdateMenu(pPopup, this);
    }
}

void CDialog::OnHelp() {
    OnCommandHelp(0);
}

BOOL CDialog::OnHelpInfo() {
    return OnCommandHelp(0);
}

BOOL CDialog::OnCommandHelp(DWORD dwContext) {
    if (dwContext == 0) {
        if (m_nIDHelp == 0) {
            return FALSE;
        }
        dwContext = platform::HID_BASE_RESOURCE + m_nIDHelp;
    }
    platform::WinHelp(dwContext);
    return TRUE;
}

void CDialog::accept() {
    OnOK();
}

void CDialog::reject() {
    OnCancel();
}

int CDialog::OnCreate() {
    return 0;
}

BOOL CDialog::OnInitDialog() {
    return TRUE;
}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::OnClose() {
    OnCancel();
}

BOOL CDialog::OnCommand(UINT nId) {
    if (OnCmdMsg(nId, CN_COMMAND)) {
        return TRUE;
    }
    switch (nId) {
        case IDOK:
            OnOK();
            return TRUE;
        case IDCANCEL:
            OnCancel();
            return TRUE;
        case IDC_HILFE:
            OnHelp();
            return TRUE;
        default:
            return FALSE;
    }
}

void CDialog::ApplyWindowClassIcon() {
    if (m_strWindowClass.empty()) {
        return;
    }
    const QIcon icon = platform::ui::IconFromHandle(platform::ui::GetWindowClassIcon(m_strWindowClass));
    if (!icon.isNull()) {
        setWindowIcon(icon);
    }
}

bool CDialog::EnsureInitialized() {
    if (m_bInitialized) {
        return true;
    }
    m_bInitialized = true;
    m_bEnded = false;
    ApplyWindowClassIcon();
    if (OnCreate() == -1) {
        m_nModalResult = -1;
        m_bEnded = true;
        return false;
    }
    // With TRUE Qt's own focus rule puts the focus on the first control
    // when the window shows; with FALSE the dialog has set it already.
    OnInitDialog();
    return !m_bEnded;
}

void CDialog::setVisible(bool bVisible) {
    if (bVisible && !EnsureInitialized()) {
        // Ended during its initialisation: it never shows.
        return;
    }
    QDialog::setVisible(bVisible);
    if (bVisible && isWindow()) {
        m_pAltKeys->Watch(windowHandle());
    }
}

void CDialog::keyPressEvent(QKeyEvent* pEvent) {
    const Qt::KeyboardModifiers modifiers = pEvent->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier) {
        switch (pEvent->key()) {
            case Qt::Key_F1:
                OnHelpInfo();
                return;
            case Qt::Key_Escape:
                OnCancel();
                return;
            case Qt::Key_Return:
            case Qt::Key_Enter: {
                // A focused button takes Enter, then the default button;
                // without either it means OK.
                if (auto* pFocused = qobject_cast<QPushButton*>(focusWidget());
                    pFocused != nullptr && pFocused->isEnabled()) {
                    pFocused->click();
                    return;
                }
                const auto buttons = findChildren<QPushButton*>();
                for (QPushButton* pButton : buttons) {
                    if (pButton->isDefault() && pButton->isVisible()) {
                        if (pButton->isEnabled()) {
                            pButton->click();
                        }
                        return;
                    }
                }
                OnOK();
                return;
            }
            default:
                break;
        }
    }
    QWidget::keyPressEvent(pEvent);
}

void CDialog::closeEvent(QCloseEvent* pEvent) {
    // The dialog decides whether it goes; EndDialog hides it.
    pEvent->ignore();
    if (platform::ui::IsCommandBlocked(this)) {
        return;  // a progress window is up in front of it
    }
    OnClose();
}

void CDialog::resizeEvent(QResizeEvent* pEvent) {
    QDialog::resizeEvent(pEvent);
    if (m_pMenuBar != nullptr) {
        m_pMenuBar->setGeometry(0, 0, width(), GetMenuBarHeight());
    }
}
