#include "ui/MainFormView.h"

#include "platform/base/HelpService.h"
#include "ui/MainTableBox.h"

#include <QApplication>
#include <QKeyEvent>

CMainFormView::CMainFormView(UINT nIDTemplate, CMainTableBox* pOwnerTable)
    : CDialog(nIDTemplate, nullptr), m_pOwnerTable(pOwnerTable) {}

CMainFormView::~CMainFormView() = default;

BOOL CMainFormView::Create(QWidget* pParent, const QRect& rect) {
    if (!IsTemplateBuilt() || HasWindow()) {
        return FALSE;
    }
    // A form is a child pane, not a window of its own.
    setParent(pParent, Qt::Widget);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setGeometry(rect);
    if (!CDialog::Create()) {
        return FALSE;
    }
    OnInitialUpdate();
    show();
    return TRUE;
}

CDialog* CMainFormView::GetParameterDlg() const {
    return m_pOwnerTable != nullptr ? m_pOwnerTable->GetParameterDlg() : nullptr;
}

BOOL CMainFormView::OnHelpInfo() {
    platform::WinHelp(kFormHelpContext);
    return TRUE;
}

bool CMainFormView::PreTranslateKey(int nKey, Qt::KeyboardModifiers modifiers) {
    if (nKey == Qt::Key_F1) {
        OnHelpInfo();
        return true;
    }
    if (nKey != Qt::Key_Tab && nKey != Qt::Key_Backtab) {
        return false;
    }
    QWidget* pFocus = QApplication::focusWidget();
    if (pFocus == nullptr || pFocus->parentWidget() != this) {
        return false;
    }
    const bool bBack = nKey == Qt::Key_Backtab || (modifiers & Qt::ShiftModifier) != 0;
    const QObjectList& children = this->children();
    int nIndex = static_cast<int>(children.indexOf(pFocus));
    for (nIndex += bBack ? -1 : 1; nIndex >= 0 && nIndex < children.size(); nIndex += bBack ? -1 : 1) {
        auto* pWidget = qobject_cast<QWidget*>(children.at(nIndex));
        if (pWidget != nullptr && pWidget->isVisible() && pWidget->isEnabled() &&
            (pWidget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) {
            pWidget->setFocus(bBack ? Qt::BacktabFocusReason : Qt::TabFocusReason);
            return true;
        }
    }
    if (m_pOwnerTable != nullptr) {
        if (QWidget* pFrame = m_pOwnerTable->GetAncestor(3)) {
            pFrame->setFocus(bBack ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        }
        return true;
    }
    return false;
}

bool CMainFormView::focusNextPrevChild(bool bNext) {
    if (PreTranslateKey(bNext ? Qt::Key_Tab : Qt::Key_Backtab, Qt::NoModifier)) {
        return true;
    }
    return CDialog::focusNextPrevChild(bNext);
}

void CMainFormView::keyPressEvent(QKeyEvent* pEvent) {
    if (pEvent->key() == Qt::Key_F1 && PreTranslateKey(Qt::Key_F1, pEvent->modifiers())) {
        pEvent->accept();
        return;
    }
    CDialog::keyPressEvent(pEvent);
}
