#pragma once
// The base of the tool and status bars: a strip along the top or bottom edge
// of its parent, placed by the parent (CDialog::RepositionBars), whose items
// take their state from the parent's update handlers.

#include "platform/base/WinTypes.h"

#include <QWidget>

class CCmdTarget;
class QPainter;

// Bar styles: where the bar sits and which edge gets a border line.
constexpr DWORD CBRS_BORDER_TOP = 0x0200;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_ALIGN_TOP = 0x1000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;

// The framework's ids of the standard bars.
constexpr UINT AFX_IDW_TOOLBAR = 0xE800;
constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;
// A toolbar gap or a status pane without indicator.
constexpr UINT ID_SEPARATOR = 0;

class CControlBar : public QWidget {
    Q_OBJECT

public:
    explicit CControlBar(QWidget* pParent = nullptr);
    ~CControlBar() override;

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle);
    // The bar's window exists (between Create and DestroyWindow).
    bool HasWindow() const { return m_bCreated; }
    void DestroyWindow();
    // Shown as far as the bar itself goes (its parent may still be hidden).
    bool IsBarVisible() const { return m_bCreated && !isHidden(); }

    // The height the bar takes along its edge.
    virtual int CalcHeight() const = 0;
    // Brings every item up to date through the target's update handlers.
    virtual void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) = 0;
    // The framework's idle update of the bar. A bar inside a dialog has no
    // frame to update it from, so by default it does nothing; bars that
    // live in a dialog override it.
    virtual void OnIdleUpdateCmdUI(BOOL bDisableIfNoHndler);

    // The nearest parent that takes commands (the dialog), null for none.
    CCmdTarget* GetCommandTarget() const;

    QSize sizeHint() const override;

protected:
    // Makes the bar a child of the parent with the style (WS_VISIBLE shows
    // it) and the id; then OnCreate.
    BOOL CreateBar(QWidget* pParent, DWORD dwStyle, UINT nID);
    // Right after the bar's window was made; FALSE undoes it. Default: TRUE.
    virtual BOOL OnCreate();
    // Right before the bar's window goes. Default: nothing.
    virtual void OnDestroy();
    // The border lines the style asks for; the rest of the bar lies inside.
    void DrawBorders(QPainter& painter) const;
    int GetBorderTop() const;
    int GetBorderBottom() const;

private:
    DWORD m_dwStyle = 0;
    bool m_bCreated = false;
};
