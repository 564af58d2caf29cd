#include "editors/groups/GroupAddressInsertWnd.h"

#include "editors/groups/GroupAddressSelectionListBox.h"
#include "editors/groups/GroupAddressSelectionView.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/WindowTree.h"
#include "ui/MainFormView.h"
#include "ui/MainTableBox.h"
#include "ui/MainTableView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QSplitter>
#include <QStyle>

#include <algorithm>

namespace {

bool IsTabStop(const QWidget* pWindow) {
    return pWindow != nullptr && !pWindow->isWindow() && !pWindow->isHidden() && pWindow->isEnabled() &&
           (pWindow->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

// The next (previous) tab stop among the siblings after (before) pFrom.
QWidget* NextSibling(QWidget* pFrom, bool bBackwards) {
    QWidget* pParent = pFrom->parentWidget();
    if (pParent == nullptr) {
        return nullptr;
    }
    const QList<QWidget*> siblings = pParent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    const qsizetype nIndex = siblings.indexOf(pFrom);
    if (nIndex < 0) {
        return nullptr;
    }
    const qsizetype nStep = bBackwards ? -1 : 1;
    for (qsizetype i = nIndex + nStep; i >= 0 && i < siblings.size(); i += nStep) {
        if (IsTabStop(siblings.at(i))) {
            return siblings.at(i);
        }
    }
    return nullptr;
}

}  // namespace

CGroupAddressInsertWnd::CGroupAddressInsertWnd() {
    // It only passes the focus on; Tab never stops here.
    setFocusPolicy(Qt::NoFocus);
}

CGroupAddressInsertWnd::~CGroupAddressInsertWnd() {
    disconnect(m_focusConnection);
}

bool CGroupAddressInsertWnd::Create(QWidget* pParent, const QRect& rect) {
    if (pParent == nullptr || m_pSplitter != nullptr) {
        return false;
    }
    setParent(pParent);
    setGeometry(rect);
    m_pSplitter = new QSplitter(Qt::Horizontal, this);
    platform::ui::SetDlgCtrlID(m_pSplitter, kSplitterId);
    m_pSplitter->setChildrenCollapsible(false);
    m_pSplitter->setGeometry(0, 0, rect.width(), rect.height());
    m_pSelectionView = new CGroupAddressSelectionView(m_pSplitter);
    m_pTableView = new CMainTableView(m_pSplitter);
    m_pSelectionView->resize(kInitialPaneSize, kInitialPaneSize);
    m_pTableView->resize(kInitialPaneSize, kInitialPaneSize);
    m_pSplitter->addWidget(m_pSelectionView);
    m_pSplitter->addWidget(m_pTableView);
    m_pSplitter->setStretchFactor(0, 0);
    m_pSplitter->setStretchFactor(1, 1);
    m_pSplitter->setSizes({kInitialPaneSize, std::max(kInitialPaneSize, rect.width() - kInitialPaneSize)});
    // The tree selects its current node and the right pane shows its table.
    m_pSelectionView->SetTableView(m_pTableView);
    // The tree's names show whole as far as the window allows, also those
    // of the groups it loads later.
    CGroupAddressSelectionListBox* pList = m_pSelectionView->GetListBox();
    connect(m_pSplitter, &QSplitter::splitterMoved, this, [this]() { m_bSplitterMoved = true; });
    connect(pList->model(), &QAbstractItemModel::rowsInserted, this,
            [this, pList](const QModelIndex&, int nFirst, int nLast) {
                WidenTreePane(pList->GetTextExtent(nFirst, nLast));
            });
    WidenTreePane(pList->GetTextExtent(0, pList->GetRowCount() - 1));

    m_focusConnection = connect(qApp, &QApplication::focusChanged, this, [this](QWidget* /*pOld*/, QWidget* pNow) {
        if (pNow != this) {
            m_pLastFocus = pNow;
        }
    });
    show();
    // The group tree takes the focus once the dialog shows.
    QPointer<QWidget> pTree(Tree());
    QMetaObject::invokeMethod(
        this,
        [pTree]() {
            if (pTree != nullptr) {
                pTree->setFocus(Qt::OtherFocusReason);
            }
        },
        Qt::QueuedConnection);
    return true;
}

void CGroupAddressInsertWnd::WidenTreePane(int nTextRight) {
    CGroupAddressSelectionListBox* pList = m_pSelectionView != nullptr ? m_pSelectionView->GetListBox() : nullptr;
    if (m_bSplitterMoved || pList == nullptr) {
        return;
    }
    // The list stands a little into its pane, in a frame, with room for
    // its scroll bar; a few pixels keep the text off the edge.
    constexpr int kTextGap = 4;
    const int nNeeded = CGroupAddressSelectionView::kListLeft + 2 * pList->frameWidth() +
                        pList->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, pList) + nTextRight +
                        kTextGap;
    const QList<int> sizes = m_pSplitter->sizes();
    const int nTotal = sizes.value(0) + sizes.value(1);
    const int nWidth = std::min(nNeeded, nTotal / 2);
    if (nWidth > sizes.value(0)) {
        m_pSplitter->setSizes({nWidth, nTotal - nWidth});
    }
}

QWidget* CGroupAddressInsertWnd::Tree() const {
    return m_pSelectionView != nullptr ? m_pSelectionView->GetListBox() : nullptr;
}

CMainTableBox* CGroupAddressInsertWnd::Table() const {
    return m_pTableView != nullptr ? m_pTableView->GetTableBox() : nullptr;
}

QWidget* CGroupAddressInsertWnd::ButtonBar() const {
    CMainTableBox* pTable = Table();
    CMainFormView* pForm = pTable != nullptr ? pTable->GetFormView() : nullptr;
    if (pForm == nullptr || !pForm->HasWindow() || pForm->isHidden()) {
        return nullptr;
    }
    return pForm;
}

int CGroupAddressInsertWnd::OnDragQuery(int nDragType, const QPoint& ptScreen) const {
    return m_pSelectionView != nullptr && m_pSelectionView->QueryDrop(nDragType, ptScreen) ? 1 : 0;
}

void CGroupAddressInsertWnd::OnDragDrop(int nDragType, const QPoint& ptScreen) {
    if (m_pSelectionView != nullptr) {
        m_pSelectionView->Drop(nDragType, ptScreen);
    }
}

QWidget* CGroupAddressInsertWnd::GetNextFocusWindow(QWidget* pLost, bool bBackwards) const {
    QWidget* const pTree = Tree();
    QWidget* const pTable = Table();
    QWidget* const pBar = ButtonBar();
    QWidget* const pFirstButton = pBar != nullptr ? GetFirstTabStopChild(pBar) : nullptr;
    QWidget* const pLastButton = pBar != nullptr ? GetLastTabStopChild(pBar) : nullptr;
    // Without a button bar (or without a button to take it) the table
    // takes its place.
    QWidget* const pAfterTree = pFirstButton != nullptr ? pFirstButton : pTable;
    QWidget* const pBeforeTable = pLastButton != nullptr ? pLastButton : pTree;

    QWidget* pNext = nullptr;
    if (pLost == nullptr) {
        pNext = pTree;
    } else if (pLost == pTree) {
        pNext = bBackwards ? pTable : pAfterTree;
    } else if (pTable != nullptr && (pLost == pTable || pTable->isAncestorOf(pLost))) {
        pNext = bBackwards ? pBeforeTable : pTree;
    } else if (pBar != nullptr && pBar->isAncestorOf(pLost)) {
        pNext = NextSibling(pLost, bBackwards);
        if (pNext == nullptr) {
            pNext = bBackwards ? pTree : pTable;
        }
    } else {
        pNext = pTree;
    }
    return pNext != nullptr ? pNext : pTree;
}

void CGroupAddressInsertWnd::focusInEvent(QFocusEvent* pEvent) {
    QWidget::focusInEvent(pEvent);
    const bool bBackwards = pEvent->reason() == Qt::BacktabFocusReason ||
                            (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier) != 0;
    QPointer<QWidget> pTarget(GetNextFocusWindow(m_pLastFocus, bBackwards));
    // The focus moves on once the change that brought it here is complete.
    QMetaObject::invokeMethod(
        this,
        [pTarget, bBackwards]() {
            if (pTarget != nullptr) {
                pTarget->setFocus(bBackwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
            }
        },
        Qt::QueuedConnection);
}

void CGroupAddressInsertWnd::resizeEvent(QResizeEvent* pEvent) {
    QWidget::resizeEvent(pEvent);
    if (m_pSplitter != nullptr) {
        m_pSplitter->setGeometry(0, 0, width(), height());
    }
}
