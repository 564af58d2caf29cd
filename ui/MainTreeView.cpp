#include "ui/MainTreeView.h"

#include "platform/ui/DialogTemplate.h"
#include "ui/ParameterDlg.h"
#include "ui/ViewNotify.h"

#include <QFocusEvent>
#include <QResizeEvent>

#include <algorithm>

CMainTreeView::CMainTreeView(QWidget* pParent) : QWidget(pParent), m_wndTree(this) {
    platform::ui::SetDlgCtrlID(&m_wndTree, kTreeId);
    m_wndTree.setGeometry(kLeftStrip, 0, std::max(0, width() - kLeftStrip), height());
    m_wndTree.show();
}

CMainTreeView::~CMainTreeView() {
    m_wndTree.SetNotificationsOn(false);
}

CParameterDlg* CMainTreeView::FindDispatcher() const {
    return m_pDispatcher != nullptr ? m_pDispatcher : CParameterDlg::FromDescendant(this);
}

void CMainTreeView::RouteNotification(VIEWNOTIFY* pNotify) {
    if (pNotify == nullptr) {
        return;
    }
    if (pNotify->pSourceTree != &m_wndTree) {
        m_wndTree.RefreshBranch(pNotify);
        return;
    }
    if (pNotify->nType == VN_SYNC && pNotify->nSubcode == VNS_DRAG_POINT && pNotify->GetResult() != 0) {
        pNotify->pTargetPane = this;
    }
    pNotify->pSourcePane = this;
    if (CParameterDlg* pDlg = FindDispatcher()) {
        pDlg->OnViewNotify(pNotify);
    }
}

int CMainTreeView::OnViewNotify(VIEWNOTIFY* pNotify) {
    RouteNotification(pNotify);
    return 0;
}

void CMainTreeView::resizeEvent(QResizeEvent* pEvent) {
    QWidget::resizeEvent(pEvent);
    m_wndTree.setGeometry(kLeftStrip, 0, std::max(0, width() - kLeftStrip), height());
}

void CMainTreeView::focusInEvent(QFocusEvent* pEvent) {
    QWidget::focusInEvent(pEvent);
    m_wndTree.setFocus(pEvent->reason());
}
