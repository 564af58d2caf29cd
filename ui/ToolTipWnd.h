#pragma once
// The system's own tooltip: a small light-yellow pop-up with one line of
// text near the mouse pointer while the pointer rests over a part of its
// owner that has a tip. The owner relays its mouse messages; the tip asks
// the owner (IToolTipOwner) which tip lies under the pointer and its text.
// It exists only while [Common] ToolTips is on, and lets the mouse through
// to the window below. The client area of an owner that scrolls (a list) is
// its viewport.

#include "platform/base/WinTypes.h"
#include "platform/ui/WndTimers.h"

#include <QFont>
#include <QPointer>
#include <QSize>
#include <QWidget>

#include <string>

class IToolTipOwner;
class QEvent;

class CToolTipWnd : public QWidget {
    Q_OBJECT

public:
    static constexpr CWndTimers::TimerId kTimerId = 1;
    static constexpr UINT kTimerElapse = 200;
    // The text buffer of the request: 79 characters and the terminator.
    static constexpr int kTextBufferSize = 80;
    // The height of the system's mouse pointer.
    static constexpr int kCursorHeight = 32;

    // nPlacement 0: below the pointer, kept inside the owner; 5: at the
    // pointer.
    explicit CToolTipWnd(int nPlacement = 0);
    ~CToolTipWnd() override;

    // The tip window over the owner (which must answer IToolTipOwner).
    // Nothing, and false, when tooltips are switched off.
    bool Create(QWidget* pOwner, DWORD dwStyle);
    void DestroyWindow();
    bool HasWindow() const { return m_bCreated; }

    // One of the owner's messages: mouse moves, button presses and
    // releases. Nothing when the window does not exist.
    void RelayEvent(const QEvent* pEvent);

    // What timer 1 does: shows, moves or hides the tip for the pointer.
    void UpdateTip();

    // The window's text; the window takes the size of the text plus twice
    // the margin.
    void SetWindowText(const std::string& strText);
    std::string GetWindowText() const { return m_strText; }

    int GetCurrentTip() const { return m_nCurrentTip; }
    int GetPlacement() const { return m_nPlacement; }
    QSize GetMargin() const { return m_sizeMargin; }

protected:
    // Where the pointer is, in screen coordinates.
    virtual QPoint GetCursorScreenPos() const;
    // The owner's window is the one the user works in.
    virtual bool IsOwnerActive() const;

    void paintEvent(QPaintEvent* pEvent) override;

private:
    void ShowTip();
    void HideTip();
    void StartTimer();

    int m_nCurrentTip = 0;
    QSize m_sizeMargin{2, 2};
    QFont m_font;
    int m_nPlacement;
    bool m_bCreated = false;
    bool m_bBorder = false;
    std::string m_strText;
    QPointer<QWidget> m_pOwner;
    QMetaObject::Connection m_ownerGone;
};
