#pragma once
// The framework's status bar on Qt: panes in a row along the bottom of its
// parent, each with an id (ID_SEPARATOR for a plain pane reached by index),
// a style and a text. A first plain pane stretches over the free width;
// other plain panes are a quarter of the screen wide.

#include "platform/base/WinTypes.h"
#include "platform/base/WindowStyles.h"
#include "platform/ui/ControlBar.h"

#include <string>
#include <vector>

// Pane styles.
constexpr UINT SBPS_NORMAL = 0x0000;
constexpr UINT SBPS_NOBORDERS = 0x0100;
constexpr UINT SBPS_POPOUT = 0x0200;
constexpr UINT SBPS_DISABLED = 0x0400;  // the text is not shown
constexpr UINT SBPS_STRETCH = 0x0800;

class CStatusBar : public CControlBar {
    Q_OBJECT

public:
    explicit CStatusBar(QWidget* pParent = nullptr);
    ~CStatusBar() override;

    BOOL Create(QWidget* pParent, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

    int GetCount() const { return static_cast<int>(m_arrPanes.size()); }
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    QRect GetItemRect(int nIndex) const;

    BOOL SetPaneText(int nIndex, const std::string& strText, BOOL bUpdate = TRUE);
    std::string GetPaneText(int nIndex) const;
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);

    int CalcHeight() const override;
    // Panes are never disabled for lack of a handler.
    void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) override;

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    struct Pane {
        UINT nID = ID_SEPARATOR;
        UINT nStyle = SBPS_NORMAL;
        int cxText = 0;
        std::string strText;
    };

    std::vector<Pane> m_arrPanes;
};
