#include "ui/ProgressWindow.h"

#include "platform/ui/Handles.h"
#include "platform/ui/KeyboardHolder.h"
#include "ui/ProgressDlg.h"

#include <QApplication>

CProgressWindow::CProgressWindow(HWND hOwner, int nAnimationKind)
    : m_pOwner(platform::ui::WidgetFromHwnd(hOwner)), m_nAnimationKind(nAnimationKind) {}

CProgressWindow::~CProgressWindow() {
    Destroy();
}

std::unique_ptr<platform::IProgressWindow> CProgressWindow::Make(HWND hOwner, int nAnimationKind) {
    return std::make_unique<CProgressWindow>(hOwner, nAnimationKind);
}

CProgressDlg* CProgressWindow::GetDialog() const {
    return m_pDlg.data();
}

HWND CProgressWindow::Create() {
    if (m_pDlg != nullptr && m_pDlg->HasWindow()) {
        return m_pDlg->GetSafeHwnd();
    }
    delete m_pDlg.data();
    auto* pDlg = new CProgressDlg(m_nAnimationKind, m_pOwner.data());
    if (!pDlg->IsTemplateBuilt() || !pDlg->Create()) {
        delete pDlg;
        return nullptr;
    }
    m_pDlg = pDlg;
    return pDlg->GetSafeHwnd();
}

HWND CProgressWindow::GetHandle() const {
    return m_pDlg != nullptr && m_pDlg->HasWindow() ? m_pDlg->GetSafeHwnd() : nullptr;
}

void CProgressWindow::Activate() {
    if (m_pDlg != nullptr && m_pDlg->HasWindow()) {
        m_pDlg->show();
        m_pDlg->raise();
        m_pDlg->activateWindow();
    }
}

void CProgressWindow::Hide() {
    if (m_pDlg != nullptr) {
        m_pDlg->hide();
        GiveKeyboardToOwner();
    }
}

void CProgressWindow::Destroy() {
    if (m_pDlg != nullptr) {
        m_pDlg->DestroyWindow();
        delete m_pDlg.data();
        GiveKeyboardToOwner();
    }
}

void CProgressWindow::GiveKeyboardToOwner() {
    // The keyboard that came back to the owner while this window was up went
    // on to this window; when it goes before taking it, nobody has it in Qt.
    if (m_pOwner != nullptr && m_pOwner->isVisible() && QApplication::activeWindow() == nullptr) {
        platform::ui::GiveKeyboardBack(*m_pOwner->window());
    }
}

void CProgressWindow::SetCaption(const std::string& strText) {
    if (m_pDlg != nullptr) {
        m_pDlg->SetWindowText(strText);
    }
}

void CProgressWindow::SetTopText(const std::string& strText) {
    if (m_pDlg != nullptr) {
        m_pDlg->SetTopText(strText);
    }
}

void CProgressWindow::SetMiddleText(const std::string& strText) {
    if (m_pDlg != nullptr) {
        m_pDlg->SetMiddleText(strText);
    }
}

void CProgressWindow::SetBottomText(const std::string& strText) {
    if (m_pDlg != nullptr) {
        m_pDlg->SetBottomText(strText);
    }
}

int CProgressWindow::SetProgress(WORD wPercent) {
    return m_pDlg != nullptr ? m_pDlg->SetProgress(wPercent) : 1;
}
