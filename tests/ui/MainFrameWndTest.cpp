#include "tests/ui/FrameTestSupport.h"
#include "ui/MainFormView.h"
#include "ui/MainTableBox.h"

#include <QSplitter>
#include <QSplitterHandle>

namespace {

using uitest::FrameTest;

// A list with as many rows as asked for.
class CRowsTable : public CMainTableBox {
public:
    CRowsTable(int nTableType, int nRows) : CMainTableBox(nTableType), m_nRows(nRows) {}
    bool InitColumns() override {
        AddColumn("Name", 80, LVCFMT_LEFT);
        return true;
    }
    bool FillTable() override {
        DeleteAllRows();
        for (int i = 0; i < m_nRows; ++i) {
            AddItem("row", nullptr, -1);
        }
        return true;
    }

private:
    int m_nRows;
};

class MainFrameWndTest : public FrameTest {
protected:
    void TearDown() override {
        for (int nType : m_registered) {
            CMainTableView::RegisterTableClass(nType, nullptr);
        }
        FrameTest::TearDown();
    }
    void RegisterRows(int nTableType, int nRows) {
        CMainTableView::RegisterTableClass(nTableType,
                                           [nRows](int nType, CObject*) { return new CRowsTable(nType, nRows); });
        m_registered.push_back(nTableType);
    }
    static QSplitter* RowSplitter(CMainFrameWnd& frame, int nRow) {
        return qobject_cast<QSplitter*>(frame.GetTreeView(nRow)->parentWidget());
    }
    static int TreeColumn(CMainFrameWnd& frame, int nRow) { return RowSplitter(frame, nRow)->sizes().front(); }
    // Tab (or Shift+Tab) on the window with the focus; where the focus is
    // once the frame has moved it on.
    static QWidget* Tab(bool bBackwards = false) {
        QWidget* pFocus = QApplication::focusWidget();
        EXPECT_NE(pFocus, nullptr);
        if (pFocus == nullptr) {
            return nullptr;
        }
        uitest::PressKey(pFocus, bBackwards ? Qt::Key_Backtab : Qt::Key_Tab,
                         bBackwards ? Qt::ShiftModifier : Qt::NoModifier);
        uitest::ProcessEvents();
        return QApplication::focusWidget();
    }
    static void FocusOn(QWidget* pWindow) {
        pWindow->setFocus(Qt::OtherFocusReason);
        uitest::ProcessEvents();
        ASSERT_EQ(QApplication::focusWidget(), pWindow);
    }

    std::vector<int> m_registered;
};

TEST_F(MainFrameWndTest, OneRowLinksTreeAndTableAndTakesTheStoredTreeWidthOnlyAboveTheMinimum) {
    uitest::CEditingRun run(true);
    CMainFrameWnd& frame = MakeFrame(false, false);
    EXPECT_EQ(frame.GetRowCount(), 1);
    EXPECT_EQ(frame.GetTreeView(1), nullptr);
    EXPECT_EQ(frame.GetTableView(1), nullptr);
    EXPECT_EQ(frame.GetTreeView(0)->GetTree()->GetTableView(), frame.GetTableView(0));
    // Linked, not built: the main window attaches the trees itself.
    EXPECT_EQ(frame.GetTreeView(0)->GetTree()->topLevelItemCount(), 0);
    EXPECT_EQ(uitest::FindControl(frame.GetTreeView(0), 1), frame.GetTreeView(0)->GetTree());
    EXPECT_EQ(frame.GetTreeView(0)->GetTree()->geometry().left(), 3);
    EXPECT_EQ(TreeColumn(frame, 0), 200);
    frame.GetTreeView(0)->GetTree()->Attach(frame.GetTableView(0), 0);
    EXPECT_EQ(frame.GetTableView(0)->GetTableBox()->GetNavigationTree(), frame.GetTreeView(0)->GetTree());

    // A wider window widens the table; the tree keeps its width.
    m_pTop->resize(900, 480);
    frame.resize(900, 480);
    uitest::ProcessEvents();
    EXPECT_EQ(TreeColumn(frame, 0), 200);

    RowSplitter(frame, 0)->setSizes({170, 700});
    frame.DestroyWindow();
    EXPECT_EQ(ReadProfileInt("TreeWidth"), 170);
    EXPECT_EQ(ReadProfileInt("TreeHeight"), -12345);
    EXPECT_FALSE(frame.IsFocusCycling());
    EXPECT_EQ(frame.GetRowCount(), 0);
    frame.DestroyWindow();  // once only
    EXPECT_EQ(ReadProfileInt("TreeWidth"), 170);

    for (const auto& [nStored, nExpected] : {std::pair{170, 170}, std::pair{0, 200}, std::pair{-40, 200}}) {
        m_pFrame.reset();  // its own width goes to the profile first
        WriteProfileInt("TreeWidth", nStored);
        CMainFrameWnd& again = MakeFrame(false);
        EXPECT_EQ(TreeColumn(again, 0), nExpected) << "stored " << nStored;
    }
}

TEST_F(MainFrameWndTest, TwoRowsKeepTheirTreeColumnsTogetherAndStoreTheFirstRowsHeight) {
    uitest::CEditingRun run(true);
    WriteProfileInt("TreeHeight", 150);
    WriteProfileInt("TreeWidth", 240);
    CMainFrameWnd& frame = MakeFrame(true);
    ASSERT_EQ(frame.GetRowCount(), 2);
    EXPECT_EQ(frame.GetFirstRowHeight(), 150);
    EXPECT_EQ(TreeColumn(frame, 0), 240);
    EXPECT_EQ(TreeColumn(frame, 1), 240);
    // Each row's tree shows in its own table pane.
    EXPECT_EQ(Table(1).GetTableType(), 1);
    EXPECT_EQ(Table(1).GetTableBox()->GetNavigationTree(), &Tree(1));

    // Dragging the second row's handle moves the first row's too.
    QSplitterHandle* pHandle = RowSplitter(frame, 1)->handle(1);
    const QPoint ptStart = pHandle->rect().center();
    uitest::Drag(pHandle, ptStart, pHandle, ptStart + QPoint(-60, 0));
    uitest::ProcessEvents();
    EXPECT_EQ(TreeColumn(frame, 1), 180);
    EXPECT_EQ(TreeColumn(frame, 0), 180);
    // And the first row's handle moves the second row's.
    QSplitterHandle* pFirstHandle = RowSplitter(frame, 0)->handle(1);
    uitest::Drag(pFirstHandle, ptStart, pFirstHandle, ptStart + QPoint(30, 0));
    uitest::ProcessEvents();
    EXPECT_EQ(TreeColumn(frame, 0), 210);
    EXPECT_EQ(TreeColumn(frame, 1), 210);

    frame.GetSplitter()->setSizes({130, 345});
    frame.DestroyWindow();
    EXPECT_EQ(ReadProfileInt("TreeWidth"), 210);
    EXPECT_EQ(ReadProfileInt("TreeHeight"), 130);

    WriteProfileInt("TreeHeight", 0);
    EXPECT_EQ(MakeFrame(true).GetFirstRowHeight(), 200);
}

TEST_F(MainFrameWndTest, TabCyclesTreeAndTableOfOneRowBothWays) {
    uitest::CEditingRun run(true);
    MakeFrame(false);
    CMainTableBox* pList = Table().GetTableBox();
    FocusOn(&Tree());
    EXPECT_EQ(Tab(), pList);
    EXPECT_EQ(Tab(), &Tree());
    EXPECT_EQ(Tab(true), pList);
    EXPECT_EQ(Tab(true), &Tree());

    // Without cycling the frame keeps the focus it was given.
    m_pFrame->SetFocusCycling(false);
    EXPECT_EQ(Tab(), m_pFrame.get());
}

TEST_F(MainFrameWndTest, TabRunsThroughBothRowsAndShiftTabFromTheFirstTreeGoesToTheLastTable) {
    uitest::CEditingRun run(true);
    MakeFrame(true);
    CMainTableBox* pL1 = Table(0).GetTableBox();
    CMainTableBox* pL2 = Table(1).GetTableBox();
    FocusOn(&Tree(0));
    EXPECT_EQ(Tab(), pL1);
    EXPECT_EQ(Tab(), &Tree(1));
    EXPECT_EQ(Tab(), pL2);
    EXPECT_EQ(Tab(), &Tree(0));
    EXPECT_EQ(Tab(true), pL2);
    EXPECT_EQ(Tab(true), &Tree(1));
    EXPECT_EQ(Tab(true), pL1);
    EXPECT_EQ(Tab(true), &Tree(0));
}

TEST_F(MainFrameWndTest, AFormBetweenTreeAndListTakesTheFocusOnItsControls) {
    uitest::CEditingRun run(true);
    RegisterRows(17, 0);
    CMainFrameWnd& frame = MakeFrame(true);
    Table(0).CreateTableBox(17, nullptr);
    CMainFormView* pForm = Table(0).GetTableBox()->GetFormView();
    ASSERT_NE(pForm, nullptr);
    QWidget* pButton = uitest::FindControl(pForm, IDCANCEL);
    ASSERT_NE(pButton, nullptr);

    FocusOn(&Tree(0));
    EXPECT_EQ(Tab(), pButton);
    // The list has no rows: on to the next tree.
    EXPECT_EQ(Tab(), &Tree(1));
    EXPECT_EQ(frame.GetNextFocusWindow(pButton, true), &Tree(0));
    FocusOn(Table(0).GetTableBox());
    EXPECT_EQ(Tab(true), pButton);

    // With rows the form hands over to its own list.
    RegisterRows(17, 2);
    Table(0).CreateTableBox(17, nullptr);
    pForm = Table(0).GetTableBox()->GetFormView();
    ASSERT_NE(pForm, nullptr);
    EXPECT_EQ(frame.GetNextFocusWindow(uitest::FindControl(pForm, IDCANCEL), false), Table(0).GetTableBox());
    // A window outside the cycle gets the focus back.
    EXPECT_EQ(frame.GetNextFocusWindow(m_pTop.get(), false), m_pTop.get());
}

}  // namespace
