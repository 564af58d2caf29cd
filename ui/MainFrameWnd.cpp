#include "ui/MainFrameWnd.h"

#include "platform/base/WinApp.h"
#include "platform/ui/WindowTree.h"
#include "ui/MainFormView.h"
#include "ui/MainTableBox.h"
#include "ui/MainTableView.h"
#include "ui/MainTreeView.h"
#include "ui/NavigationTree.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QSplitter>

#include <algorithm>
#include <initializer_list>

namespace {

constexpr char kFramePlacementSection[] = "MainWindow";
constexpr char kTreeWidthKey[] = "TreeWidth";
constexpr char kTreeHeightKey[] = "TreeHeight";

int ReadProfileInt(const char* pszKey) {
    const CWinApp* pApp = AfxGetApp();
    return pApp != nullptr ? static_cast<int>(pApp->GetProfileInt(kFramePlacementSection, pszKey, -1)) : -1;
}

void WriteProfileInt(const char* pszKey, int nValue) {
    if (const CWinApp* pApp = AfxGetApp()) {
        pApp->WriteProfileInt(kFramePlacementSection, pszKey, nValue);
    }
}

// The first window of the list that exists.
QWidget* FirstOf(std::initializer_list<QWidget*> windows) {
    for (QWidget* pWindow : windows) {
        if (pWindow != nullptr) {
            return pWindow;
        }
    }
    return nullptr;
}

bool IsTabStop(const QWidget* pWindow) {
    return !pWindow->isWindow() && !pWindow->isHidden() && pWindow->isEnabled() &&
           (pWindow->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

// Splits the length into the first part and the rest.
QList<int> TwoParts(int nFirst, int nTotal) {
    return {nFirst, std::max(0, nTotal - nFirst)};
}

}  // namespace

CMainFrameWnd::CMainFrameWnd(CParameterDlg* pMainWindow) : m_pMainWindow(pMainWindow) {
    setFocusPolicy(Qt::NoFocus);
}

CMainFrameWnd::~CMainFrameWnd() {
    DestroyWindow();
}

bool CMainFrameWnd::Create(QWidget* pParent, const QRect& rect, bool bSplit) {
    if (m_bCreated) {
        return false;
    }
    const int nRows = bSplit ? 2 : 1;
    setParent(pParent);
    setGeometry(rect);
    setAutoFillBackground(false);
    m_pSplitter = new QSplitter(Qt::Vertical, this);
    m_pSplitter->setGeometry(0, 0, rect.width(), rect.height());
    m_pSplitter->setChildrenCollapsible(true);
    // Lists, forms and trees hand the focus to the third window above them,
    // which is this splitter; the frame takes it from there.
    m_pSplitter->setFocusProxy(this);

    for (int nRow = 0; nRow < nRows; ++nRow) {
        Row& row = m_rows[static_cast<std::size_t>(nRow)];
        row.pSplitter = new QSplitter(Qt::Horizontal, m_pSplitter);
        row.pSplitter->setChildrenCollapsible(true);
        m_pSplitter->addWidget(row.pSplitter);
        row.pTreeView = new CMainTreeView(row.pSplitter);
        row.pTableView = new CMainTableView(row.pSplitter);
        row.pTreeView->resize(kInitialPaneSize, kInitialPaneSize);
        row.pTableView->resize(kInitialPaneSize, kInitialPaneSize);
        row.pSplitter->addWidget(row.pTreeView);
        row.pSplitter->addWidget(row.pTableView);
        // Resizing the frame widens the table; the tree keeps its width.
        row.pSplitter->setStretchFactor(0, 0);
        row.pSplitter->setStretchFactor(1, 1);
        connect(row.pSplitter, &QSplitter::splitterMoved, this, [this, nRow](int, int) { KeepColumnsTogether(nRow); });

        // Both directions: the table pane hands its tables the tree, the tree
        // shows its nodes in the table pane.
        row.pTableView->SetNavigationTree(row.pTreeView->GetTree());
        row.pTableView->SetDispatcher(m_pMainWindow);
        row.pTreeView->SetDispatcher(m_pMainWindow);
        row.pTreeView->GetTree()->SetTableView(row.pTableView);
    }
    m_nRows = nRows;
    m_pSplitter->setStretchFactor(0, 0);
    if (nRows > 1) {
        m_pSplitter->setStretchFactor(1, 1);
    }

    int nTreeWidth = kInitialPaneSize;
    const int nStoredWidth = ReadProfileInt(kTreeWidthKey);
    if (nStoredWidth > kMinPaneSize) {
        nTreeWidth = nStoredWidth;
    }
    if (nRows > 1) {
        int nRowHeight = kInitialPaneSize;
        const int nStoredHeight = ReadProfileInt(kTreeHeightKey);
        if (nStoredHeight > kMinPaneSize) {
            nRowHeight = nStoredHeight;
        }
        m_pSplitter->setSizes(TwoParts(nRowHeight, rect.height() - m_pSplitter->handleWidth()));
    } else {
        m_pSplitter->setSizes({rect.height()});
    }
    for (int nRow = 0; nRow < nRows; ++nRow) {
        QSplitter* pSplitter = m_rows[static_cast<std::size_t>(nRow)].pSplitter;
        pSplitter->setSizes(TwoParts(nTreeWidth, rect.width() - pSplitter->handleWidth()));
    }

    // Focus passing through the frame comes from the window that had it.
    m_focusConnection = connect(qApp, &QApplication::focusChanged, this, [this](QWidget* /*pOld*/, QWidget* pNow) {
        if (pNow != this) {
            m_pLastFocus = pNow;
        }
    });
    m_bCreated = true;
    show();
    return true;
}

CMainTreeView* CMainFrameWnd::GetTreeView(int nRow) const {
    return nRow >= 0 && nRow < m_nRows ? m_rows[static_cast<std::size_t>(nRow)].pTreeView : nullptr;
}

CMainTableView* CMainFrameWnd::GetTableView(int nRow) const {
    return nRow >= 0 && nRow < m_nRows ? m_rows[static_cast<std::size_t>(nRow)].pTableView : nullptr;
}

int CMainFrameWnd::GetTreeWidth() const {
    if (m_nRows == 0 || m_rows[0].pSplitter == nullptr) {
        return 0;
    }
    const QList<int> sizes = m_rows[0].pSplitter->sizes();
    return sizes.isEmpty() ? 0 : sizes.front();
}

int CMainFrameWnd::GetFirstRowHeight() const {
    if (m_pSplitter == nullptr) {
        return 0;
    }
    const QList<int> rowSizes = m_pSplitter->sizes();
    return rowSizes.isEmpty() ? 0 : rowSizes.front();
}

void CMainFrameWnd::KeepColumnsTogether(int nMovedRow) {
    if (nMovedRow < 0 || nMovedRow >= m_nRows) {
        return;
    }
    const QList<int> columns = m_rows[static_cast<std::size_t>(nMovedRow)].pSplitter->sizes();
    for (int nRow = 0; nRow < m_nRows; ++nRow) {
        QSplitter* pSplitter = m_rows[static_cast<std::size_t>(nRow)].pSplitter;
        if (nRow != nMovedRow && pSplitter->sizes() != columns) {
            pSplitter->setSizes(columns);
        }
    }
}

void CMainFrameWnd::DestroyWindow() {
    if (!m_bCreated || m_bDestroyed) {
        return;
    }
    m_bDestroyed = true;
    WriteProfileInt(kTreeWidthKey, GetTreeWidth());
    if (m_nRows > 1) {
        WriteProfileInt(kTreeHeightKey, GetFirstRowHeight());
    }
    m_bFocusCycling = false;
    disconnect(m_focusConnection);
    for (int nRow = 0; nRow < m_nRows; ++nRow) {
        Row& row = m_rows[static_cast<std::size_t>(nRow)];
        row.pTreeView->GetTree()->SetNotificationsOn(false);
        row.pTreeView->GetTree()->SetTableView(nullptr);
        row.pTableView->SetNavigationTree(nullptr);
        if (CMainTableBox* pTable = row.pTableView->GetTableBox()) {
            pTable->SetNotificationsOn(false);
        }
    }
    // The focus leaves the panes before they go, so none of them reports
    // an activation on the way out.
    hide();
    m_rows.fill(Row{});
    m_nRows = 0;
    delete m_pSplitter;
    m_pSplitter = nullptr;
}

void CMainFrameWnd::resizeEvent(QResizeEvent* pEvent) {
    QWidget::resizeEvent(pEvent);
    // The splitter fills the frame; nothing else is laid out here.
    if (m_pSplitter != nullptr && GetTreeView(0) != nullptr && !window()->isMinimized()) {
        m_pSplitter->setGeometry(0, 0, width(), height());
    }
}

// ---------------------------------------------------------------------------
// Focus cycling

CNavigationTree* CMainFrameWnd::TreeOf(int nRow) const {
    CMainTreeView* pView = GetTreeView(nRow);
    return pView != nullptr ? pView->GetTree() : nullptr;
}

CMainTableBox* CMainFrameWnd::ListOf(int nRow) const {
    CMainTableView* pView = GetTableView(nRow);
    return pView != nullptr ? pView->GetTableBox() : nullptr;
}

CMainFormView* CMainFrameWnd::FormOf(int nRow) const {
    CMainTableBox* pList = ListOf(nRow);
    CMainFormView* pForm = pList != nullptr ? pList->GetFormView() : nullptr;
    if (pForm == nullptr || !pForm->HasWindow() || pForm->isHidden()) {
        return nullptr;
    }
    return pForm;
}

QWidget* CMainFrameWnd::NextInForm(QWidget* pLost, int nRow, bool bBackwards) const {
    if (QWidget* pParent = pLost->parentWidget()) {
        const QList<QWidget*> siblings = pParent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        const qsizetype nIndex = siblings.indexOf(pLost);
        if (nIndex >= 0) {
            const qsizetype nStep = bBackwards ? -1 : 1;
            for (qsizetype i = nIndex + nStep; i >= 0 && i < siblings.size(); i += nStep) {
                if (IsTabStop(siblings.at(i))) {
                    return siblings.at(i);
                }
            }
        }
    }
    QWidget* pTree = TreeOf(nRow);
    QWidget* pOtherTree = TreeOf(1 - nRow);
    if (bBackwards) {
        return pTree;
    }
    CMainTableBox* pList = ListOf(nRow);
    return FirstOf({pList != nullptr && pList->GetItemCount() > 0 ? pList : nullptr, pOtherTree, pTree});
}

QWidget* CMainFrameWnd::GetNextFocusWindow(QWidget* pLost, bool bBackwards) const {
    if (pLost == nullptr) {
        return nullptr;
    }
    QWidget* const pT1 = TreeOf(0);
    QWidget* const pF1 = FormOf(0);
    QWidget* const pL1 = ListOf(0);
    QWidget* const pT2 = TreeOf(1);
    QWidget* const pF2 = FormOf(1);
    QWidget* const pL2 = ListOf(1);

    QWidget* pNext = pLost;
    if (pLost == pT1) {
        pNext = bBackwards ? FirstOf({pL2, pT2, pL1}) : FirstOf({pF1, pL1, pT2});
    } else if (pLost == pL1) {
        pNext = bBackwards ? FirstOf({pF1, pT1}) : FirstOf({pT2, pT1});
    } else if (pLost == pT2) {
        pNext = bBackwards ? FirstOf({pL1, pT1, pL2}) : FirstOf({pF2, pL2, pT1});
    } else if (pLost == pL2) {
        pNext = bBackwards ? FirstOf({pF2, pT2}) : FirstOf({pT1, pT2});
    } else if (pF1 != nullptr && pF1->isAncestorOf(pLost)) {
        pNext = NextInForm(pLost, 0, bBackwards);
    } else if (pF2 != nullptr && pF2->isAncestorOf(pLost)) {
        pNext = NextInForm(pLost, 1, bBackwards);
    }
    return pNext != nullptr ? pNext : pLost;
}

void CMainFrameWnd::GiveFocus(QWidget* pWindow, bool bBackwards) {
    if (pWindow == nullptr) {
        return;
    }
    const Qt::FocusReason reason = bBackwards ? Qt::BacktabFocusReason : Qt::TabFocusReason;
    // A form takes the focus on its first control (going back: its last).
    if (auto* pForm = dynamic_cast<CMainFormView*>(pWindow)) {
        if (QWidget* pControl = bBackwards ? GetLastTabStopChild(pForm) : GetFirstTabStopChild(pForm)) {
            pWindow = pControl;
        }
    }
    pWindow->setFocus(reason);
}

void CMainFrameWnd::focusInEvent(QFocusEvent* pEvent) {
    QWidget::focusInEvent(pEvent);
    QWidget* const pLost = m_pLastFocus;
    if (!m_bFocusCycling || pLost == nullptr) {
        return;
    }
    const bool bBackwards = pEvent->reason() == Qt::BacktabFocusReason ||
                            (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier) != 0;
    QWidget* const pNext = GetNextFocusWindow(pLost, bBackwards);
    // The focus moves on once the change that brought it here is complete.
    QPointer<QWidget> pTarget(pNext);
    QMetaObject::invokeMethod(
        this,
        [this, pTarget, bBackwards]() {
            if (pTarget != nullptr && m_bFocusCycling) {
                GiveFocus(pTarget, bBackwards);
            }
        },
        Qt::QueuedConnection);
}
