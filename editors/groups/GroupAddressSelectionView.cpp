#include "editors/groups/GroupAddressSelectionView.h"

#include "editors/groups/GroupAddressSelectionListBox.h"
#include "platform/ui/DialogTemplate.h"
#include "ui/MainTableBox.h"
#include "ui/MainTableView.h"

#include <QResizeEvent>

#include <algorithm>

CGroupAddressSelectionView::CGroupAddressSelectionView(QWidget* pParent) : QWidget(pParent) {
    m_pListBox = new CGroupAddressSelectionListBox(this);
    platform::ui::SetDlgCtrlID(m_pListBox, kListBoxId);
    m_pListBox->setGeometry(kListLeft, 0, std::max(0, width() - kListLeft), height());
    // The table pane's reserved command reaches the view and does nothing.
    MapCommand(ID_TABLE_RESERVED, [] {});
}

CGroupAddressSelectionView::~CGroupAddressSelectionView() = default;

void CGroupAddressSelectionView::SetTableView(CMainTableView* pTableView) {
    m_pTableView = pTableView;
    m_pListBox->SetTableView(pTableView);
}

void CGroupAddressSelectionView::resizeEvent(QResizeEvent* pEvent) {
    QWidget::resizeEvent(pEvent);
    m_pListBox->setGeometry(kListLeft, 0, std::max(0, pEvent->size().width() - kListLeft), pEvent->size().height());
}

bool CGroupAddressSelectionView::TableTakes(int nDragType, const QPoint& ptScreen) const {
    const CMainTableBox* pTable = m_pTableView != nullptr ? m_pTableView->GetTableBox() : nullptr;
    return pTable != nullptr && pTable->IsDropTarget(nDragType, ptScreen);
}

bool CGroupAddressSelectionView::QueryDrop(int nDragType, const QPoint& ptScreen) const {
    return m_pListBox->IsDropTarget(nDragType, ptScreen) || TableTakes(nDragType, ptScreen);
}

void CGroupAddressSelectionView::Drop(int nDragType, const QPoint& ptScreen) {
    if (m_pListBox->DropOnTree(nDragType, ptScreen)) {
        return;
    }
    if (TableTakes(nDragType, ptScreen)) {
        m_pListBox->DropOnTable(nDragType);
    }
}
