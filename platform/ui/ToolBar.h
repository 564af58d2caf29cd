#pragma once
// The framework's toolbar on Qt: one bar that draws its buttons from a
// bitmap strip (one image per button, in the order of the buttons, light
// gray RGB 192, 192, 192 drawn transparent), with separators between groups.
// A click sends the button's command to the bar's command target (the
// dialog). The bar shows no tooltips of its own: a bar that wants them
// brings its own tooltip window.

#include "platform/base/WinTypes.h"
#include "platform/base/WindowStyles.h"
#include "platform/ui/ControlBar.h"

#include <QPixmap>
#include <QSize>

#include <vector>

// Button styles and states.
constexpr UINT TBBS_BUTTON = 0x0000;
constexpr UINT TBBS_SEPARATOR = 0x0001;
constexpr UINT TBBS_CHECKBOX = 0x0002;
constexpr UINT TBBS_CHECKED = 0x0100;
constexpr UINT TBBS_INDETERMINATE = 0x0200;
constexpr UINT TBBS_DISABLED = 0x0400;
constexpr UINT TBBS_PRESSED = 0x0800;
constexpr UINT TBBS_HIDDEN = 0x1000;

constexpr DWORD TBSTYLE_FLAT = 0x0800;

class CToolBar : public CControlBar {
    Q_OBJECT

public:
    explicit CToolBar(QWidget* pParent = nullptr);
    ~CToolBar() override;

    BOOL CreateEx(QWidget* pParent, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, UINT nID = AFX_IDW_TOOLBAR);
    BOOL Create(QWidget* pParent, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);

    // Button and image sizes in pixels; the button holds the image centred.
    void SetSizes(QSize sizeButton, QSize sizeImage);
    QSize GetButtonSize() const { return m_sizeButton; }
    QSize GetImageSize() const { return m_sizeImage; }

    // The strip of button images from bitmap resource nIDResource; FALSE
    // when it is missing or narrower than one image.
    BOOL LoadBitmap(UINT nIDResource);
    BOOL SetBitmap(const QImage& strip);
    int GetImageCount() const { return static_cast<int>(m_arrImages.size()); }

    // The buttons by command id, ID_SEPARATOR for a gap; the images are
    // given to the buttons in order.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);

    int GetCount() const { return static_cast<int>(m_arrButtons.size()); }
    // The index of the button with the id, -1 for none.
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    // In the bar's client coordinates; empty for an index out of range.
    QRect GetItemRect(int nIndex) const;
    // The button (never a separator) under the client point, -1 for none.
    int HitTest(const QPoint& ptClient) const;

    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
    void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);

    int CalcHeight() const override;
    void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) override;

protected:
    bool event(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;

private:
    struct Button {
        UINT nID = 0;
        UINT nStyle = TBBS_BUTTON;
        int iImage = 0;  // the image, or a separator's width
    };

    bool IsClickable(int nIndex) const;

    std::vector<Button> m_arrButtons;
    std::vector<QPixmap> m_arrImages;
    QSize m_sizeButton{23, 22};
    QSize m_sizeImage{16, 15};
    int m_nPressed = -1;  // the button held down by the mouse
    int m_nHot = -1;      // the button under the mouse
};
