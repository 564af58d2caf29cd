#include "platform/ui/ControlBar.h"

#include "platform/base/WindowStyles.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/DialogTemplate.h"

#include <QPainter>
#include <QPalette>

namespace {
constexpr int kBorderWidth = 2;
}

CControlBar::CControlBar(QWidget* pParent) : QWidget(pParent) {
    QWidget::setVisible(false);
}

CControlBar::~CControlBar() = default;

void CControlBar::SetBarStyle(DWORD dwStyle) {
    m_dwStyle = dwStyle;
    update();
}

BOOL CControlBar::CreateBar(QWidget* pParent, DWORD dwStyle, UINT nID) {
    if (m_bCreated || pParent == nullptr) {
        return FALSE;
    }
    setParent(pParent);
    m_dwStyle = dwStyle & ~(WS_CHILD | WS_VISIBLE);
    platform::ui::SetDlgCtrlID(this, nID);
    m_bCreated = true;
    resize(pParent->width(), CalcHeight());
    if (!OnCreate()) {
        setParent(nullptr);
        m_bCreated = false;
        return FALSE;
    }
    setVisible((dwStyle & WS_VISIBLE) != 0);
    return TRUE;
}

BOOL CControlBar::OnCreate() {
    return TRUE;
}

void CControlBar::OnDestroy() {}

void CControlBar::DestroyWindow() {
    if (!m_bCreated) {
        return;
    }
    OnDestroy();
    hide();
    setParent(nullptr);
    m_bCreated = false;
}

void CControlBar::OnIdleUpdateCmdUI(BOOL /*bDisableIfNoHndler*/) {}

CCmdTarget* CControlBar::GetCommandTarget() const {
    for (QWidget* pParent = parentWidget(); pParent != nullptr; pParent = pParent->parentWidget()) {
        if (auto* pTarget = dynamic_cast<CCmdTarget*>(pParent)) {
            return pTarget;
        }
    }
    return nullptr;
}

QSize CControlBar::sizeHint() const {
    return {parentWidget() != nullptr ? parentWidget()->width() : width(), CalcHeight()};
}

int CControlBar::GetBorderTop() const {
    return (m_dwStyle & CBRS_BORDER_TOP) != 0 ? kBorderWidth : 0;
}

int CControlBar::GetBorderBottom() const {
    return (m_dwStyle & CBRS_BORDER_BOTTOM) != 0 ? kBorderWidth : 0;
}

void CControlBar::DrawBorders(QPainter& painter) const {
    // An etched line: shadow above light.
    const QPalette& pal = palette();
    if ((m_dwStyle & CBRS_BORDER_TOP) != 0) {
        painter.setPen(pal.color(QPalette::Mid));
        painter.drawLine(0, 0, width() - 1, 0);
        painter.setPen(pal.color(QPalette::Light));
        painter.drawLine(0, 1, width() - 1, 1);
    }
    if ((m_dwStyle & CBRS_BORDER_BOTTOM) != 0) {
        painter.setPen(pal.color(QPalette::Mid));
        painter.drawLine(0, height() - 2, width() - 1, height() - 2);
        painter.setPen(pal.color(QPalette::Light));
        painter.drawLine(0, height() - 1, width() - 1, height() - 1);
    }
}
