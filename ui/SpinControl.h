#pragma once
// The small spin button beside a numeric edit: two halves (up and down for
// a vertical spin, left and right for a horizontal one). Pressing a half
// steps once at once, again after 400 ms and then every 50 ms while the
// button stays down and the pointer stays inside the half. Each step moves
// the position within the range and tells the buddy: OnVScroll or OnHScroll
// with SB_LINEUP for the upper or left half, SB_LINEDOWN for the lower or
// right half, the new position and the spin itself.

#include "platform/base/WinTypes.h"
#include "platform/ui/WndTimers.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

// Low bits of the spin's window style.
constexpr DWORD SPS_VERTICAL = 0x0001;
constexpr DWORD SPS_HORIZONTAL = 0x0002;
// Tell the buddy only when the position changed.
constexpr DWORD SPS_NOTIFYONCHANGE = 0x0004;
// Upper or left half steps up.
constexpr DWORD SPS_REVERSED = 0x0010;

class CSpinControl : public QWidget {
    Q_OBJECT

public:
    // Bits of the state word.
    static constexpr WORD kStateDisabled = 0x0001;
    static constexpr WORD kStateHidden = 0x0002;
    static constexpr WORD kStateOutside = 0x0004;
    static constexpr WORD kStateUpperPressed = 0x0008;
    static constexpr WORD kStateLowerPressed = 0x0010;

    static constexpr CWndTimers::TimerId kTimerFirst = 500;
    static constexpr CWndTimers::TimerId kTimerRepeat = 501;
    static constexpr UINT kFirstDelay = 400;
    static constexpr UINT kRepeatDelay = 50;

    explicit CSpinControl(QWidget* pParent = nullptr);
    ~CSpinControl() override;

    // Makes the window (without text) in the parent at the rectangle with
    // the id; vertical unless the style asks for horizontal. The parent
    // becomes the buddy when none is set yet.
    virtual BOOL Create(DWORD dwStyle, const QRect& rect, QWidget* pParent, UINT nId);
    // Makes a horizontal spin under the edit, as wide as it, 12 pixels high
    // and 2 pixels below its bottom edge, with the edit as buddy.
    BOOL CreateBelow(QWidget* pEdit, UINT nId);

    // The window that receives the steps.
    void SetBuddy(QWidget* pBuddy);
    QWidget* GetBuddy() const { return m_pBuddy; }

    DWORD GetStyle() const { return m_dwStyle; }
    WORD GetState() const { return m_wState; }
    LONG GetPos() const { return m_nPos; }
    LONG GetRangeMin() const { return m_nMin; }
    LONG GetRangeMax() const { return m_nMax; }

    QSize sizeHint() const override;

signals:
    // After every notification of the buddy, for owners that are no
    // ISpinBuddy: the scroll code, the position and whether it is vertical.
    void Stepped(UINT nSBCode, UINT nPos, bool bVertical);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;
    void hideEvent(QHideEvent* pEvent) override;

public:
    // What a press, a move and a release of the left button at the point
    // (client coordinates) do; the mouse events call these.
    void OnLButtonDown(const QPoint& pt);
    void OnMouseMove(const QPoint& pt);
    void OnLButtonUp();
    // The press ends without a release (the window lost the mouse).
    void OnCancelMode();

private:
    bool IsVertical() const { return (m_dwStyle & SPS_HORIZONTAL) == 0; }
    // The rectangle of the upper/left (true) or lower/right half.
    QRect HalfRect(bool bUpper) const;
    void OnTimer(CWndTimers::TimerId nId);
    void Step();
    void StopTimers();
    void DrawHalf(class QPainter& painter, bool bUpper) const;

    QPointer<QWidget> m_pBuddy;
    DWORD m_dwStyle = SPS_VERTICAL;
    LONG m_nMin = 0;
    LONG m_nMax = 9;
    LONG m_nPos = 5;
    WORD m_wState = 0;
};
