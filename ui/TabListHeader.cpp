#include "ui/TabListHeader.h"

#include "platform/base/WindowStyles.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/ResourceImages.h"
#include "ui/TabComboBox.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {

constexpr UINT IDC_HSIZE_CURSOR = 30980;
constexpr UINT IDC_TRACK_CURSOR = 30986;

QCursor ResourceCursor(UINT nId, Qt::CursorShape fallback) {
    bool bLoaded = false;
    QCursor cursor = platform::ui::LoadCursorResource(nId, &bLoaded);
    return bLoaded ? cursor : QCursor(fallback);
}

}  // namespace

CTabListHeader::CTabListHeader(UINT nRows, DWORD dwStyle, QWidget* pParent)
    : QWidget(pParent), m_dwStyle(dwStyle), m_nRows(std::max<UINT>(1, nRows)) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CTabListHeader::~CTabListHeader() {
    if (m_pComboBox && m_pComboBox->GetHeader() == this) {
        m_pComboBox->SetHeader(nullptr);
    }
    delete m_pSizeLine.data();
}

BOOL CTabListHeader::Create(DWORD /*dwStyle*/, const QRect& rect, QWidget* pParent, int nId) {
    if (pParent == nullptr) {
        return FALSE;
    }
    setParent(pParent);
    setGeometry(rect);
    m_nId = nId;
    show();
    raise();
    return TRUE;
}

BOOL CTabListHeader::CreateForControl(CTabComboBox* pBox, int nGap, int nId) {
    if (pBox == nullptr || pBox->parentWidget() == nullptr) {
        return FALSE;
    }
    if (CTabListHeader* pOld = pBox->GetHeader(); pOld != nullptr && pOld != this) {
        pOld->SetComboBox(nullptr);
    }
    m_pComboBox = pBox;
    pBox->SetHeader(this);
    m_nGap = nGap;
    const int nHeight = static_cast<int>(m_nRows) * (pBox->MeasureItem() + 2);
    const QRect rcBox = pBox->geometry();
    return Create(WS_CHILD | WS_VISIBLE | WS_BORDER,
                  QRect(rcBox.left(), rcBox.top() - nGap - nHeight, rcBox.width(), nHeight), pBox->parentWidget(),
                  nId);
}

void CTabListHeader::Reposition() {
    if (!m_pComboBox) {
        return;
    }
    const int nHeight = static_cast<int>(m_nRows) * (m_pComboBox->MeasureItem() + 2);
    const QRect rcBox = m_pComboBox->geometry();
    setGeometry(rcBox.left(), rcBox.top() - m_nGap - nHeight, rcBox.width(), nHeight);
    update();
}

CTabComboBox* CTabListHeader::GetComboBox() const {
    return m_pComboBox.data();
}

void CTabListHeader::SetComboBox(CTabComboBox* pBox) {
    m_pComboBox = pBox;
    update();
}

void CTabListHeader::SetScrollOffset(int nOffset) {
    m_nScrollOffset = nOffset;
    update();
}

int CTabListHeader::ColumnEdge(int nColumn, bool bRight) const {
    int x = -m_nScrollOffset;
    if (!m_pComboBox) {
        return bRight ? -1 : x;
    }
    for (int nPos = 0; nPos < m_pComboBox->GetColumnCount(); ++nPos) {
        const int nCol = m_pComboBox->OrderToColumn(nPos);
        const CTabComboItem* pColumn = m_pComboBox->GetColumn(nCol);
        if (pColumn == nullptr || pColumn->IsHidden()) {
            continue;
        }
        if (nCol == nColumn) {
            return bRight ? x + pColumn->m_nWidth : x;
        }
        x += pColumn->m_nWidth;
    }
    return bRight ? -1 : x;
}

int CTabListHeader::RowHeight(int nRow, int* pTop) const {
    // Row 0 lies at the bottom; each row has an equal share and the top row
    // reaches the top.
    const int nShare = height() / static_cast<int>(m_nRows);
    const int nBottom = height() - nRow * nShare;
    const int nTop = nRow == static_cast<int>(m_nRows) - 1 ? 0 : nBottom - nShare;
    if (pTop != nullptr) {
        *pTop = nTop;
    }
    return nBottom - nTop;
}

int CTabListHeader::HitTest(int x, int y, int& nColumn, int& nRow) const {
    const int nHeight = std::max(1, height());
    nRow = static_cast<int>(m_nRows) * (nHeight - 1 - y) / nHeight;
    nRow = std::clamp(nRow, 0, static_cast<int>(m_nRows) - 1);
    nColumn = -1;
    const int nCount = m_pComboBox ? m_pComboBox->GetColumnCount() : 0;
    int nLeft = -m_nScrollOffset;
    int nInside = -1;
    int nBorder = -1;
    int nBestDistance = std::numeric_limits<int>::max();
    for (int nPos = 0; nPos < nCount; ++nPos) {
        const int nCol = m_pComboBox->OrderToColumn(nPos);
        const CTabComboItem* pColumn = m_pComboBox->GetColumn(nCol);
        if (pColumn == nullptr || pColumn->IsHidden()) {
            continue;
        }
        const int nRight = nLeft + pColumn->m_nWidth;
        if (x >= nLeft && x < nRight) {
            nInside = nCol;
        }
        const int nDistance = std::abs(x - nRight);
        if (nDistance < 2 && nDistance <= nBestDistance) {
            nBestDistance = nDistance;
            nBorder = nCol;
        }
        nLeft = nRight;
    }
    if (nBorder >= 0) {
        nColumn = nBorder;
        return THT_BORDER;
    }
    if (nInside >= 0) {
        nColumn = nInside;
        return THT_COLUMN;
    }
    if (x >= nLeft) {
        nColumn = nCount;
        return THT_COLUMN;
    }
    // The columns follow each other without gaps: x lies left of them all.
    return THT_NOWHERE;
}

void CTabListHeader::DrawCell(QPainter& painter, const QRect& rcCell, int /*nColumn*/, int /*nRow*/,
                              const std::string& strText) {
    if (rcCell.width() <= 0 || rcCell.height() <= 0) {
        return;
    }
    painter.save();
    painter.setClipRect(rcCell, Qt::IntersectClip);
    painter.fillRect(rcCell, palette().color(QPalette::Button));
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(rcCell, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, QString::fromStdString(strText));
    painter.restore();
}

void CTabListHeader::paintEvent(QPaintEvent* /*pEvent*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    if (!m_pComboBox) {
        return;
    }
    painter.setFont(m_pComboBox->font());
    const QColor crShadow = palette().color(QPalette::Dark);
    const QColor crLight = palette().color(QPalette::Light);
    for (int nRow = 0; nRow < static_cast<int>(m_nRows); ++nRow) {
        int nTop = 0;
        const int nRowHeight = RowHeight(nRow, &nTop);
        int nLeft = -m_nScrollOffset;
        for (int nPos = 0; nPos < m_pComboBox->GetColumnCount(); ++nPos) {
            const int nCol = m_pComboBox->OrderToColumn(nPos);
            const CTabComboItem* pColumn = m_pComboBox->GetColumn(nCol);
            if (pColumn == nullptr || pColumn->IsHidden()) {
                continue;
            }
            const QRect rcCell(nLeft + 1, nTop + 1, pColumn->m_nWidth - 2, nRowHeight - 2);
            DrawCell(painter, rcCell, nCol, nRow, pColumn->m_strTitle);
            painter.setPen(crLight);
            painter.drawLine(rcCell.left() - 1, rcCell.top() - 1, rcCell.right(), rcCell.top() - 1);
            painter.drawLine(rcCell.left() - 1, rcCell.top() - 1, rcCell.left() - 1, rcCell.bottom());
            painter.setPen(crShadow);
            painter.drawLine(rcCell.left(), rcCell.bottom() + 1, rcCell.right() + 1, rcCell.bottom() + 1);
            painter.drawLine(rcCell.right() + 1, rcCell.top(), rcCell.right() + 1, rcCell.bottom() + 1);
            painter.setPen(Qt::black);
            painter.drawLine(rcCell.right() + 2, rcCell.top() - 1, rcCell.right() + 2, rcCell.bottom() + 1);
            if (m_nDragMode == 2 && nCol == m_nMoveMarkerColumn && nRow == m_nHitRow) {
                painter.fillRect(QRect(nLeft, nTop, 3, nRowHeight), Qt::black);
            }
            nLeft += pColumn->m_nWidth;
        }
    }
}

void CTabListHeader::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton) {
        OnButtonDown(pEvent->position().toPoint());
    }
}

void CTabListHeader::mouseMoveEvent(QMouseEvent* pEvent) {
    OnMouseMove(pEvent->position().toPoint());
}

void CTabListHeader::mouseReleaseEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton) {
        OnButtonUp(pEvent->position().toPoint());
    }
}

void CTabListHeader::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton) {
        SendNotify(5);
    }
}

bool CTabListHeader::event(QEvent* pEvent) {
    // Qt tells only the top-level window of an activation change; its
    // children hear the deactivation itself.
    if (pEvent->type() == QEvent::WindowDeactivate && m_nDragMode != 0) {
        OnCancelMode();
    }
    return QWidget::event(pEvent);
}

void CTabListHeader::OnButtonDown(const QPoint& point) {
    int nColumn = -1;
    int nRow = -1;
    const int nHit = HitTest(point.x(), point.y(), nColumn, nRow);
    const int nCount = m_pComboBox ? m_pComboBox->GetColumnCount() : 0;
    m_bPressInColumn = nHit == THT_COLUMN && nColumn < nCount;
    if (nHit == THT_BORDER && (m_dwStyle & THS_RESIZABLE)) {
        m_nDragMode = 1;
        m_nHitColumn = nColumn;
        m_nHitRow = nRow;
        m_nDragStartX = point.x();
        ShowSizeLine(point.x());
    } else if (m_bPressInColumn && (m_dwStyle & THS_MOVABLE)) {
        m_nDragMode = 2;
        m_nHitColumn = nColumn;
        m_nHitRow = nRow;
        m_nMoveMarkerColumn = nColumn;
        setCursor(ResourceCursor(IDC_TRACK_CURSOR, Qt::SizeHorCursor));
        update();
    }
}

void CTabListHeader::OnMouseMove(const QPoint& point) {
    if (m_nDragMode == 1) {
        ShowSizeLine(point.x());
        return;
    }
    if (m_nDragMode == 2) {
        int nColumn = -1;
        int nRow = -1;
        const int nHit = HitTest(point.x(), point.y(), nColumn, nRow);
        if (nHit != THT_NOWHERE && nRow == m_nHitRow && m_pComboBox && nColumn < m_pComboBox->GetColumnCount() &&
            nColumn != m_nMoveMarkerColumn) {
            m_nMoveMarkerColumn = nColumn;
            update();
        }
        return;
    }
    UpdateCursor(point);
}

bool CTabListHeader::WouldChangeLayout(const QPoint& point) const {
    if (m_nDragMode == 1) {
        return point.x() >= 0 && point.x() < width();
    }
    if (m_nDragMode == 2) {
        int nColumn = -1;
        int nRow = -1;
        const int nHit = HitTest(point.x(), point.y(), nColumn, nRow);
        return nHit != THT_NOWHERE && nRow == m_nHitRow && nColumn != m_nHitColumn;
    }
    return false;
}

void CTabListHeader::OnButtonUp(const QPoint& point) {
    CTabComboBox* pBox = m_pComboBox.data();
    if (m_nDragMode == 1) {
        HideSizeLine();
        if (pBox != nullptr && point.x() >= 0 && point.x() < width()) {
            if (const CTabComboItem* pColumn = pBox->GetColumn(m_nHitColumn)) {
                const int nMax = std::max(0, width() - 4);
                const int nWidth = std::clamp(pColumn->m_nWidth + point.x() - m_nDragStartX, 0, nMax);
                pBox->SetColumnWidth(m_nHitColumn, nWidth);
            }
        }
        update();
    } else if (m_nDragMode == 2) {
        unsetCursor();
        m_nMoveMarkerColumn = -1;
        int nColumn = -1;
        int nRow = -1;
        const int nHit = HitTest(point.x(), point.y(), nColumn, nRow);
        if (pBox != nullptr && nHit != THT_NOWHERE && nRow == m_nHitRow && nColumn != m_nHitColumn) {
            std::vector<WORD> order;
            pBox->GetColumnOrder(order);
            const int nFrom = pBox->ColumnToOrder(m_nHitColumn);
            const int nCount = static_cast<int>(order.size());
            int nTo = nCount - 1;
            if (nColumn < pBox->GetColumnCount()) {
                nTo = pBox->ColumnToOrder(nColumn);
                if (nTo > nFrom) {
                    --nTo;
                }
            }
            if (nFrom >= 0 && nFrom < nCount && nTo >= 0 && nTo < nCount) {
                const WORD wMoved = order[static_cast<std::size_t>(nFrom)];
                order.erase(order.begin() + nFrom);
                order.insert(order.begin() + nTo, wMoved);
                pBox->SetColumnOrder(&order);
            }
        }
        update();
    }
    m_nDragMode = 0;
    m_nHitColumn = -1;
    m_nHitRow = -1;
    m_nSizeLineX = -1;
    m_nMoveMarkerColumn = -1;
    if (m_bPressInColumn) {
        m_bPressInColumn = false;
        SendNotify(0);
    }
}

void CTabListHeader::OnCancelMode() {
    HideSizeLine();
    m_nDragMode = 0;
    m_nHitColumn = -1;
    m_nHitRow = -1;
    m_nMoveMarkerColumn = -1;
    m_bPressInColumn = false;
    unsetCursor();
    update();
}

void CTabListHeader::SendNotify(int nCode) {
    if (m_nId == -1) {
        return;
    }
    emit Notify(nCode);
    if (nCode == 0) {
        if (auto* pTarget = dynamic_cast<CCmdTarget*>(parentWidget())) {
            pTarget->SendCommand(static_cast<UINT>(m_nId));
        }
    }
}

void CTabListHeader::UpdateCursor(const QPoint& point) {
    int nColumn = -1;
    int nRow = -1;
    if ((m_dwStyle & THS_RESIZABLE) && HitTest(point.x(), point.y(), nColumn, nRow) == THT_BORDER) {
        setCursor(ResourceCursor(IDC_HSIZE_CURSOR, Qt::SplitHCursor));
    } else {
        unsetCursor();
    }
}

void CTabListHeader::ShowSizeLine(int x) {
    m_nSizeLineX = x;
    QWidget* pHost = parentWidget();
    if (pHost == nullptr) {
        return;
    }
    if (m_pSizeLine == nullptr) {
        m_pSizeLine = new QWidget(pHost);
        m_pSizeLine->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_pSizeLine->setAutoFillBackground(true);
        QPalette pal = m_pSizeLine->palette();
        pal.setColor(QPalette::Window, Qt::black);
        m_pSizeLine->setPalette(pal);
    }
    int nBottom = geometry().bottom();
    if (m_pComboBox && m_pComboBox->parentWidget() == pHost) {
        nBottom = std::max(nBottom, m_pComboBox->geometry().bottom());
    }
    m_pSizeLine->setGeometry(geometry().left() + x, geometry().top(), 1, nBottom - geometry().top() + 1);
    m_pSizeLine->show();
    m_pSizeLine->raise();
}

void CTabListHeader::HideSizeLine() {
    m_nSizeLineX = -1;
    if (m_pSizeLine != nullptr) {
        m_pSizeLine->hide();
    }
}
