#include "ui/DialogToolBar.h"

#include "common/ResString.h"
#include "platform/base/WindowStyles.h"

#include <QMouseEvent>

namespace {
// The string of the help button's text.
constexpr UINT kHelpTableString = 40019;
}  // namespace

CDialogToolBar::CDialogToolBar() = default;

CDialogToolBar::~CDialogToolBar() {
    m_wndToolTip.DestroyWindow();
}

BOOL CDialogToolBar::OnCreate() {
    if (!CToolBar::OnCreate()) {
        return FALSE;
    }
    // Made only when tooltips are switched on; the bar works without.
    m_wndToolTip.Create(this, WS_BORDER);
    return TRUE;
}

void CDialogToolBar::OnDestroy() {
    m_wndToolTip.DestroyWindow();
    CToolBar::OnDestroy();
}

int CDialogToolBar::EnableButton(UINT nID, bool bEnable) {
    const int nIndex = CommandToIndex(nID);
    if (nIndex < 0) {
        return -1;
    }
    UINT nStyle = GetButtonStyle(nIndex) & ~TBBS_INDETERMINATE;
    nStyle = bEnable ? (nStyle & ~TBBS_DISABLED) : (nStyle | TBBS_DISABLED);
    SetButtonStyle(nIndex, nStyle);
    return nIndex;
}

std::string CDialogToolBar::GetButtonText(UINT nID, bool bLongPart) const {
    const std::string strText = LoadResString(nID == ID_HELP_TABLE ? kHelpTableString : nID);
    if (bLongPart) {
        const std::size_t nBar = strText.rfind('|');
        return nBar == std::string::npos ? strText : strText.substr(nBar + 1);
    }
    return strText.substr(0, strText.find('|'));
}

void CDialogToolBar::OnIdleUpdateCmdUI(BOOL bDisableIfNoHndler) {
    if (IsBarVisible() && parentWidget() != nullptr) {
        if (CCmdTarget* pTarget = GetCommandTarget()) {
            OnUpdateCmdUI(pTarget, bDisableIfNoHndler);
        }
    }
}

int CDialogToolBar::OnToolTipHitTest(const QPoint& ptClient) {
    const int nIndex = HitTest(ptClient);
    return nIndex >= 0 ? static_cast<int>(GetItemID(nIndex)) : 0;
}

std::string CDialogToolBar::OnToolTipGetText(int nId) {
    return GetButtonText(static_cast<UINT>(nId), true);
}

void CDialogToolBar::mouseMoveEvent(QMouseEvent* pEvent) {
    m_wndToolTip.RelayEvent(pEvent);
    CToolBar::mouseMoveEvent(pEvent);
}

void CDialogToolBar::mousePressEvent(QMouseEvent* pEvent) {
    m_wndToolTip.RelayEvent(pEvent);
    CToolBar::mousePressEvent(pEvent);
}

void CDialogToolBar::mouseReleaseEvent(QMouseEvent* pEvent) {
    m_wndToolTip.RelayEvent(pEvent);
    CToolBar::mouseReleaseEvent(pEvent);
}
