#pragma once
// The print preview's pages: one or two pages side by side fitted into the
// window, or one page zoomed in two steps, each larger than the last, with
// scroll bars. Pages are laid out on the printer and drawn scaled onto the
// screen. A click in a page zooms in at that point; past the largest zoom it
// fits the pages again.

#include "platform/base/WinTypes.h"

#include <QAbstractScrollArea>

class CParamReportView;

class CPreviewView : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr int kZoomOut = 0;     // whole pages fit the window
    static constexpr int kZoomMiddle = 1;  // halfway between fit and the largest
    static constexpr int kZoomIn = 2;      // actual size, or more on a window larger than the page

    explicit CPreviewView(CParamReportView* pView, QWidget* pParent = nullptr);

    int GetZoom() const { return m_nZoom; }
    void SetZoom(int nZoom, QPoint ptFocus = QPoint(-1, -1));
    // The page shown first (1-based) and how many are shown.
    UINT GetCurrentPage() const { return m_nCurrentPage; }
    void SetCurrentPage(UINT nPage);
    int GetPagesShown() const { return m_nZoom == kZoomOut ? m_nPages : 1; }
    void SetPages(int nPages);
    // The rectangle of the n-th shown page (0-based) in viewport pixels.
    QRect PageRect(int nIndex) const;
    // Covers the frame below the bar, which sits at the frame's top, and
    // follows the frame's size.
    void AttachToFrame(QWidget* pFrame, QWidget* pBar);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    // Viewport pixels per printer pixel.
    double Scale() const;
    // The scale at which n pages side by side fit the window.
    double FitScale(int nPages) const;
    QSize PaperSize() const;
    void UpdateScrollBars();
    void LayOutInFrame();

    CParamReportView* m_pView;
    UINT m_nCurrentPage = 1;
    int m_nPages = 1;
    int m_nZoom = kZoomOut;
    QWidget* m_pFrame = nullptr;
    QWidget* m_pBar = nullptr;
};
