#include "ui/TableListHeader.h"

#include "ui/TableComboBox.h"

#include <cstdlib>

CTableListHeader::CTableListHeader(UINT nRows, DWORD dwStyle, QWidget* pParent)
    : CTabListHeader(nRows, dwStyle, pParent) {}

void CTableListHeader::OnButtonDown(const QPoint& point) {
    m_nClickedColumn = -1;
    m_nClickedRow = -1;
    int nColumn = -1;
    int nRow = -1;
    CTabComboBox* pBox = GetComboBox();
    if (HitTest(point.x(), point.y(), nColumn, nRow) == THT_COLUMN && pBox != nullptr &&
        nColumn < pBox->GetColumnCount()) {
        m_nClickedColumn = nColumn;
        m_nClickedRow = nRow;
    }
    m_ptPress = point;
    m_bWasDropped = pBox != nullptr && pBox->GetDroppedState();
    CTabListHeader::OnButtonDown(point);
}

void CTableListHeader::OnButtonUp(const QPoint& point) {
    CTabComboBox* pBox = GetComboBox();
    if (pBox != nullptr && WouldChangeLayout(point)) {
        // The open list would show the old layout: close it around the change.
        const bool bOpen = pBox->GetDroppedState();
        if (bOpen) {
            pBox->ShowDropDown(false);
        }
        CTabListHeader::OnButtonUp(point);
        if (bOpen) {
            pBox->ShowDropDown(true);
        }
        if (QWidget* pDialog = window()) {
            pDialog->update();
        }
    } else {
        CTabListHeader::OnButtonUp(point);
    }
    auto* pTableBox = dynamic_cast<CTableComboBox*>(pBox);
    if (pTableBox != nullptr && m_nClickedColumn >= 0 && std::abs(point.x() - m_ptPress.x()) <= 2 &&
        std::abs(point.y() - m_ptPress.y()) <= 2) {
        if (!m_bWasDropped) {
            pTableBox->SortByColumn(m_nClickedColumn);
            pTableBox->ShowDropDown(true);
        } else {
            pTableBox->ShowDropDown(false);
        }
    }
    m_nClickedColumn = -1;
}
