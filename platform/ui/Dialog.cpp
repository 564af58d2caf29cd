#include "platform/ui/Dialog.h"

#include "platform/base/ResourceLibrary.h"
#include "platform/base/WindowStyles.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Handles.h"
#include "platform/ui/ModalRunner.h"
#include "platform/ui/WindowClasses.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QtGlobal>

CDialog::CDialog(UINT nIDTemplate, QWidget* pParent) : QDialog(pParent), m_nIDTemplate(nIDTemplate) {
    const platform::CResourceModule* pModule = platform::GetFrameworkResourceModule();
    const platform::ResDialog* pTemplate = pModule != nullptr ? pModule->FindDialog(nIDTemplate) : nullptr;
    if (pTemplate == nullptr) {
        qWarning("Dialog template %u not found", nIDTemplate);
        m_baseUnits = platform::ui::GetDialogBaseUnits(font());
        return;
    }
    BuildFromTemplate(*pTemplate);
}

CDialog::CDialog(QWidget* pParent) : QDialog(pParent), m_bTemplateBuilt(true) {
    m_baseUnits = platform::ui::GetDialogBaseUnits(font());
}

CDialog::~CDialog() = default;

void CDialog::BuildFromTemplate(const platform::ResDialog& dlgTemplate) {
    const QFont dlgFont = platform::ui::GetTemplateFont(dlgTemplate);
    setFont(dlgFont);
    m_baseUnits = platform::ui::GetDialogBaseUnits(dlgFont);

    const DWORD dwStyle = dlgTemplate.dwStyle;
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

    for (const platform::ResDialogControl& control : dlgTemplate.controls) {
        QWidget* pControl = platform::ui::CreateTemplateControl(control, this, m_baseUnits);
        RouteButtonCommand(pControl);
    }
    m_bTemplateBuilt = true;
}

void CDialog::RouteButtonCommand(QWidget* pButton) {
    auto* pClickable = qobject_cast<QAbstractButton*>(pButton);
    if (pClickable == nullptr) {
        return;
    }
    connect(pClickable, &QAbstractButton::clicked, this, [this, pClickable]() { OnCommand(GetDlgCtrlID(pClickable)); });
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
    return m_nModalResult;
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

void CDialog::accept() {
    OnOK();
}

void CDialog::reject() {
    OnCancel();
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
    switch (nId) {
        case IDOK:
            OnOK();
            return TRUE;
        case IDCANCEL:
            OnCancel();
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
}

void CDialog::keyPressEvent(QKeyEvent* pEvent) {
    const Qt::KeyboardModifiers modifiers = pEvent->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier) {
        switch (pEvent->key()) {
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
    OnClose();
}
