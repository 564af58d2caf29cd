#include "printing/view/PreviewView.h"

#include "printing/view/ParamReportView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int kGap = 8;  // around and between pages, viewport pixels

}  // namespace

CPreviewView::CPreviewView(CParamReportView* pView, QWidget* pParent) : QAbstractScrollArea(pParent), m_pView(pView) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
}

QSize CPreviewView::PaperSize() const {
    QPrinter& printer = m_pView->GetPrinter();
    return printer.pageLayout().fullRectPixels(printer.resolution()).size();
}

double CPreviewView::FitScale(int nPages) const {
    // The area without scroll bars, so that the steps stay put when the
    // bars come and go.
    const QSize paper = PaperSize();
    const QSize area = maximumViewportSize();
    const double sx = static_cast<double>(area.width() - kGap * (nPages + 1)) / (nPages * paper.width());
    const double sy = static_cast<double>(area.height() - 2 * kGap) / paper.height();
    return std::max(0.01, std::min(sx, sy));
}

double CPreviewView::Scale() const {
    if (PaperSize().isEmpty()) {
        return 1.0;
    }
    if (m_nZoom == kZoomOut) {
        return FitScale(m_nPages);
    }
    // Zoomed in, one page is shown. Actual size is the largest step, but
    // never less than half again the fitted page: on a large window actual
    // size can be smaller than the fit, and every step must still magnify.
    const double dFit = FitScale(1);
    const double dActual = static_cast<double>(logicalDpiX()) / m_pView->GetPrinter().resolution();
    const double dLargest = std::max(dActual, 1.5 * dFit);
    return m_nZoom == kZoomIn ? dLargest : (dFit + dLargest) / 2;
}

QRect CPreviewView::PageRect(int nIndex) const {
    const QSize paper = PaperSize();
    const double dScale = Scale();
    const int pw = std::max(1, static_cast<int>(paper.width() * dScale));
    const int ph = std::max(1, static_cast<int>(paper.height() * dScale));
    if (m_nZoom == kZoomOut) {
        const int nTotal = m_nPages * pw + (m_nPages - 1) * kGap;
        return QRect((viewport()->width() - nTotal) / 2 + nIndex * (pw + kGap), (viewport()->height() - ph) / 2, pw,
                     ph);
    }
    const int x = std::max(kGap, (viewport()->width() - pw) / 2) - horizontalScrollBar()->value();
    return QRect(x, kGap - verticalScrollBar()->value(), pw, ph);
}

void CPreviewView::SetZoom(int nZoom, QPoint ptFocus) {
    nZoom = std::clamp(nZoom, kZoomOut, kZoomIn);
    // The point of the page under the focus, as a share of the page.
    const QRect rectBefore = PageRect(0);
    double fx = 0.5;
    double fy = 0.0;
    if (ptFocus.x() >= 0 && rectBefore.width() > 0 && rectBefore.height() > 0) {
        fx = static_cast<double>(ptFocus.x() - rectBefore.left()) / rectBefore.width();
        fy = static_cast<double>(ptFocus.y() - rectBefore.top()) / rectBefore.height();
    }
    m_nZoom = nZoom;
    UpdateScrollBars();
    if (m_nZoom != kZoomOut && ptFocus.x() >= 0) {
        const QRect rectAfter = PageRect(0);
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() +
                                        static_cast<int>(rectAfter.left() + fx * rectAfter.width()) -
                                        viewport()->width() / 2);
        verticalScrollBar()->setValue(verticalScrollBar()->value() +
                                      static_cast<int>(rectAfter.top() + fy * rectAfter.height()) -
                                      viewport()->height() / 2);
    }
    viewport()->update();
}

void CPreviewView::SetCurrentPage(UINT nPage) {
    m_nCurrentPage = std::max<UINT>(1, nPage);
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

void CPreviewView::SetPages(int nPages) {
    m_nPages = std::clamp(nPages, 1, 2);
    UpdateScrollBars();
    viewport()->update();
}

void CPreviewView::UpdateScrollBars() {
    if (m_nZoom == kZoomOut) {
        horizontalScrollBar()->setRange(0, 0);
        verticalScrollBar()->setRange(0, 0);
        return;
    }
    const QSize paper = PaperSize();
    const double dScale = Scale();
    const int pw = static_cast<int>(paper.width() * dScale) + 2 * kGap;
    const int ph = static_cast<int>(paper.height() * dScale) + 2 * kGap;
    horizontalScrollBar()->setRange(0, std::max(0, pw - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    verticalScrollBar()->setRange(0, std::max(0, ph - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
}

void CPreviewView::AttachToFrame(QWidget* pFrame, QWidget* pBar) {
    m_pFrame = pFrame;
    m_pBar = pBar;
    setParent(pFrame);
    pFrame->installEventFilter(this);
    LayOutInFrame();
    show();
    raise();
    if (m_pBar != nullptr) {
        m_pBar->raise();
    }
}

void CPreviewView::LayOutInFrame() {
    if (m_pFrame == nullptr) {
        return;
    }
    const int nBarHeight = m_pBar != nullptr ? m_pBar->height() : 0;
    if (m_pBar != nullptr) {
        m_pBar->setGeometry(0, 0, m_pFrame->width(), nBarHeight);
    }
    setGeometry(0, nBarHeight, m_pFrame->width(), std::max(0, m_pFrame->height() - nBarHeight));
}

bool CPreviewView::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pWatched == m_pFrame && pEvent->type() == QEvent::Resize) {
        LayOutInFrame();
    }
    return QAbstractScrollArea::eventFilter(pWatched, pEvent);
}

void CPreviewView::paintEvent(QPaintEvent* /*pEvent*/) {
    QPainter painter(viewport());
    QPrinter& printer = m_pView->GetPrinter();
    const QPoint ptPrintable = printer.pageLayout().paintRectPixels(printer.resolution()).topLeft();
    const double dScale = Scale();
    for (int i = 0; i < GetPagesShown(); ++i) {
        const UINT nPage = m_nCurrentPage + static_cast<UINT>(i);
        if (!m_pView->IsPageInReport(nPage)) {
            break;
        }
        const QRect rect = PageRect(i);
        painter.fillRect(rect.translated(3, 3), Qt::black);
        painter.fillRect(rect, Qt::white);
        painter.save();
        painter.setClipRect(rect);
        painter.translate(rect.topLeft());
        painter.scale(dScale, dScale);
        painter.translate(ptPrintable);
        const bool bGoesOn = m_pView->DrawPreviewPage(painter, nPage);
        painter.restore();
        // The report ended on this page: there is no page after it.
        if (!bGoesOn) {
            break;
        }
    }
}

void CPreviewView::resizeEvent(QResizeEvent* pEvent) {
    QAbstractScrollArea::resizeEvent(pEvent);
    UpdateScrollBars();
}

void CPreviewView::scrollContentsBy(int /*dx*/, int /*dy*/) {
    viewport()->update();
}

void CPreviewView::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(pEvent);
        return;
    }
    const QPoint pt = pEvent->position().toPoint();
    for (int i = 0; i < GetPagesShown(); ++i) {
        if (PageRect(i).contains(pt)) {
            // The second of two pages becomes the one shown when zooming in.
            if (i > 0) {
                m_nCurrentPage += static_cast<UINT>(i);
            }
            m_pView->OnZoomAt(pt - QPoint(i > 0 ? PageRect(i).left() - PageRect(0).left() : 0, 0));
            return;
        }
    }
}

void CPreviewView::keyPressEvent(QKeyEvent* pEvent) {
    switch (pEvent->key()) {
    case Qt::Key_PageDown:
        m_pView->OnNextPage();
        return;
    case Qt::Key_PageUp:
        m_pView->OnPrevPage();
        return;
    case Qt::Key_Escape:
        m_pView->OnPreviewClose();
        return;
    default:
        QAbstractScrollArea::keyPressEvent(pEvent);
        return;
    }
}
