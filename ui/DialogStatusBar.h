#pragma once
// The status bar of a dialog (the main window is one): its panes are
// brought up to date from the dialog it sits in.

#include "platform/base/WinTypes.h"
#include "platform/ui/StatusBar.h"

class CDialogStatusBar : public CStatusBar {
    Q_OBJECT

public:
    CDialogStatusBar();
    ~CDialogStatusBar() override;

    // While the bar is shown and has a parent: its panes brought up to date
    // through the parent's update handlers.
    void OnIdleUpdateCmdUI(BOOL bDisableIfNoHndler) override;
};
