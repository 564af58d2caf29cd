#include "ui/DialogStatusBar.h"

CDialogStatusBar::CDialogStatusBar() = default;

CDialogStatusBar::~CDialogStatusBar() = default;

void CDialogStatusBar::OnIdleUpdateCmdUI(BOOL bDisableIfNoHndler) {
    if (IsBarVisible() && parentWidget() != nullptr) {
        if (CCmdTarget* pTarget = GetCommandTarget()) {
            OnUpdateCmdUI(pTarget, bDisableIfNoHndler);
        }
    }
}
