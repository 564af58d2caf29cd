#pragma once
// The toolbar of a dialog (the main window is one): it shows its own tips
// through a tooltip window and takes its button texts from the string
// table, where the string with the button's command id holds a short and a
// long text separated by '|' (the help button 869 uses string 40019).

#include "platform/base/WinTypes.h"
#include "platform/ui/ToolBar.h"
#include "ui/ToolTipOwner.h"
#include "ui/ToolTipWnd.h"

#include <string>

class CDialogToolBar : public CToolBar, public IToolTipOwner {
    Q_OBJECT

public:
    // The toolbar's help button: help on the current table.
    static constexpr UINT ID_HELP_TABLE = 869;

    CDialogToolBar();
    ~CDialogToolBar() override;

    // -1 when the id is not on the bar; otherwise the button's index, after
    // clearing its disabled and indeterminate states (enable) or clearing
    // indeterminate and setting disabled, keeping its image and other styles.
    int EnableButton(UINT nID, bool bEnable);
    // The button's string split at its '|': the first part, or with
    // bLongPart the last one. Empty when there is no string.
    std::string GetButtonText(UINT nID, bool bLongPart) const;

    // While the bar is shown and has a parent: its buttons brought up to
    // date through the parent's update handlers.
    void OnIdleUpdateCmdUI(BOOL bDisableIfNoHndler) override;

    CToolTipWnd& GetToolTip() { return m_wndToolTip; }

    int OnToolTipHitTest(const QPoint& ptClient) override;
    std::string OnToolTipGetText(int nId) override;

protected:
    BOOL OnCreate() override;
    void OnDestroy() override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;

private:
    CToolTipWnd m_wndToolTip{0};
};
