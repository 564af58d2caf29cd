// The group selection tree over the host stand-in's project, in a window
// laid out as the insertion dialog's (strip, tree, table pane): the tree as
// the host holds it, sub groups read only when their group opens, the right
// pane following the current node, the path kept for the next opening,
// refusals of full groups, and groups made by dragging the strip's symbols
// onto the tree or the table.

#include "app/Chronoset.h"
#include "editors/groups/GroupAddressSelectionListBox.h"
#include "editors/groups/GroupAddressSelectionView.h"
#include "editors/groups/GroupEditors.h"
#include "editors/time/DeviceObjectTable.h"
#include "editors/time/TimeEditors.h"
#include "common/Globals.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/WinApp.h"
#include "platform/base/WindowStyles.h"
#include "resources/de/BuiltInResources.h"
#include "tests/app/HostTestSupport.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/support/ScriptedMessageBoxSink.h"
#include "tests/ui/TestEnvironment.h"
#include "ui/DragSourceDialog.h"
#include "ui/DragSourceParent.h"
#include "ui/ListItem.h"
#include "ui/MainFormView.h"
#include "ui/MainTableBox.h"
#include "ui/MainTableView.h"
#include "ui/TreeListItem.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QLineEdit>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using apptest::Json;

namespace {

Json Group(LONG nId, LONG nAddress, const std::string& strName, const char* pszChildren = nullptr,
           Json children = Json::array()) {
    Json group = {{"id", nId}, {"address", nAddress}, {"name", strName}};
    if (pszChildren != nullptr) {
        group[pszChildren] = std::move(children);
    }
    return group;
}

Json SubGroups(LONG nFirstId, int nCount) {
    Json subs = Json::array();
    for (LONG n = 1; n <= nCount; ++n) {
        subs.push_back(Group(nFirstId + n, n, "GA " + std::to_string(n)));
    }
    return subs;
}

Json Project(Json mainGroups) {
    Json project = {{"id", 1},
                    {"name", "Projekt"},
                    {"mainGroups", std::move(mainGroups)},
                    {"devices", Json::array({apptest::Device(5000, 1, {})})}};
    return Json{{"format", "chronosets2-host-project"}, {"version", 1}, {"projects", Json::array({project})}};
}

// Main groups 0..14 (ids 100 + n), listed backwards. Main group 0: middle
// group 0 "Licht" (id 200) with sub groups 1..255 (ids 1001..), middle
// group 1 "Heizung" (id 201) with sub groups 3 and 1, listed in that order.
// Main group 1: middle group 2 "Jalousie" (id 210) with sub group 7.
Json BigProject() {
    Json mains = Json::array();
    for (LONG m = 14; m >= 0; --m) {
        Json middles = Json::array();
        if (m == 0) {
            middles.push_back(Group(200, 0, "Licht", "groupAddresses", SubGroups(1000, 255)));
            middles.push_back(Group(201, 1, "Heizung", "groupAddresses",
                                    Json::array({Group(2003, 3, "Ventil"), Group(2001, 1, "Sollwert")})));
        } else if (m == 1) {
            middles.push_back(Group(210, 2, "Jalousie", "groupAddresses", Json::array({Group(2107, 7, "Auf/Ab")})));
        }
        mains.push_back(Group(100 + m, m, "HG " + std::to_string(m), "middleGroups", middles));
    }
    return Project(mains);
}

// 16 main groups; main group 0 with all eight middle groups, middle group
// 0 of them with 255 sub groups.
Json FullProject() {
    Json mains = Json::array();
    for (LONG m = 0; m < 16; ++m) {
        Json middles = Json::array();
        for (LONG n = 0; m == 0 && n < 8; ++n) {
            middles.push_back(
                Group(200 + n, n, "M " + std::to_string(n), "groupAddresses", n == 0 ? SubGroups(1000, 255) : Json::array()));
        }
        mains.push_back(Group(100 + m, m, "HG " + std::to_string(m), "middleGroups", middles));
    }
    return Project(mains);
}

// The insertion dialog's layout: the strip above, the tree on the left, the
// table pane on the right; the strip's drags go to the view.
class CTestInsertWindow : public QWidget, public IDragSourceParent {
public:
    CTestInsertWindow() {
        resize(700, 420);
        m_strip.Create(Box::kImageStripId, 20, 20, 3, this, WS_CHILD | WS_VISIBLE, 0xE800);
        m_strip.AddItem("Hauptgruppe", 0, Box::kDragMainGroup, 118);
        m_strip.AddItem("Mittelgruppe", 1, Box::kDragMiddleGroup, 118);
        m_strip.AddItem("Untergruppe", 2, Box::kDragSubGroup, 118);
        const int nTop = m_strip.GetRowHeight();
        m_pView = new CGroupAddressSelectionView(this);
        m_pView->setGeometry(0, nTop, 250, 420 - nTop);
        m_pTable = new CMainTableView(this);
        m_pTable->setGeometry(250, nTop, 450, 420 - nTop);
        m_pView->SetTableView(m_pTable);
    }
    int OnDragSourceQuery(int nItemData, const QPoint& ptScreen) override {
        return m_pView->QueryDrop(nItemData, ptScreen) ? 1 : 0;
    }
    void OnDragSourceDrop(int nItemData, const QPoint& ptScreen) override { m_pView->Drop(nItemData, ptScreen); }

    using Box = CGroupAddressSelectionListBox;
    CDragSourceDialog m_strip;
    CGroupAddressSelectionView* m_pView = nullptr;
    CMainTableView* m_pTable = nullptr;
};

using Box = CGroupAddressSelectionListBox;

class GroupSelectionTreeTest : public apptest::HostTest, public editortest::CEditorSteps {
protected:
    void SetUp() override {
        HostTest::SetUp();
        m_pPrevious = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
        m_app.SetProfileName(m_dir.File("Vek_ZR02.ini"));
        m_bModified = g_bDataModified;
        g_bDataModified = false;
        std::fill(g_anLastGroupPath, g_anLastGroupPath + 3, -1);
        InstallGroupEditors();
        InstallTimeEditors();
    }
    void TearDown() override {
        m_pWindow.reset();
        m_run.reset();
        std::fill(g_anLastGroupPath, g_anLastGroupPath + 3, -1);
        g_bDataModified = m_bModified;
        platform::SetFrameworkResourceModule(m_pPrevious);
        HostTest::TearDown();
    }

    void Start(const Json& project, int nLevels) {
        Load(project);
        m_host.SetGroupAddressLevels(nLevels);
        Scan(5000);
        m_run.emplace(false);
        m_run->Chronoset().SetProjectId(1);
        Open();
    }
    void Open() {
        m_host.ClearCallLog();
        m_pWindow = std::make_unique<CTestInsertWindow>();
        m_pWindow->show();
        m_pWindow->activateWindow();
        m_pWindow->m_strip.grab();  // the items learn their places
        uitest::ProcessEvents();
    }

    Box& Tree() { return *m_pWindow->m_pView->GetListBox(); }
    Texts Rows() {
        Texts rows;
        for (int i = 0; i < Tree().GetRowCount(); ++i) {
            rows.push_back(Tree().GetItem(i)->GetTextRef());
        }
        return rows;
    }
    CTreeListItem* Item(const std::string& strText) {
        for (int i = 0; i < Tree().GetRowCount(); ++i) {
            if (Tree().GetItem(i)->GetTextRef() == strText) {
                return Tree().GetItem(i);
            }
        }
        ADD_FAILURE() << "no row " << strText;
        return nullptr;
    }
    std::string Current() { return Tree().GetCurrentItem() != nullptr ? Tree().GetCurrentItem()->GetTextRef() : ""; }
    // A point on the row's text, in viewport coordinates.
    QPoint TextPoint(const std::string& strText) {
        QRect rect;
        Tree().GetItemTextRect(Tree().FindItemIndex(Item(strText)), rect);
        return QPoint(rect.left() + 6, rect.center().y());
    }
    QPoint ButtonPoint(const std::string& strText) {
        CTreeListItem* pItem = Item(strText);
        const QRect rcRow = Tree().visualItemRect(Tree().item(Tree().FindItemIndex(pItem)));
        int nButton = 0;
        int nIndent = 0;
        int nImage = 0;
        Tree().GetItemIndents(pItem, nButton, nIndent, nImage);
        const QSize size = Tree().GetButtonSize();
        return QPoint(rcRow.left() + nButton + nIndent - 3 * size.width() / 2, rcRow.center().y());
    }
    void ClickRow(const std::string& strText, Qt::MouseButton button = Qt::LeftButton) {
        uitest::Click(Tree().viewport(), TextPoint(strText), button);
    }
    int TableType() { return m_pWindow->m_pTable->GetTableType(); }
    // Drags strip symbol nIndex (0 main, 1 middle, 2 sub group) to the point.
    void DragSymbol(int nIndex, QWidget* pTo, const QPoint& pt) {
        uitest::Drag(&m_pWindow->m_strip, m_pWindow->m_strip.GetItem(nIndex)->rect.center(), pTo, pt);
    }
    void DragOntoRow(int nIndex, const std::string& strText) { DragSymbol(nIndex, Tree().viewport(), TextPoint(strText)); }
    void DragOntoTable(int nIndex) {
        CMainTableBox* pTable = m_pWindow->m_pTable->GetTableBox();
        DragSymbol(nIndex, pTable->viewport(), pTable->viewport()->rect().center());
    }
    // Host reads of group addresses (sub groups): "GroupAddress:id.get_Name".
    std::vector<std::string> SubGroupReads() {
        std::vector<std::string> reads;
        for (const std::string& strCall : m_host.GetCallLog()) {
            if (strCall.rfind("GroupAddress:", 0) == 0 && strCall.find(".get_Name") != std::string::npos) {
                reads.push_back(strCall.substr(13, strCall.find('.') - 13));
            }
        }
        return reads;
    }

    uitest::CTempDir m_dir;
    CWinApp m_app;
    std::optional<uitest::CEditingRun> m_run;
    std::unique_ptr<CTestInsertWindow> m_pWindow;
    CScriptedMessageBoxSink m_boxes;
    bool m_bModified = false;

private:
    const platform::CResourceModule* m_pPrevious = nullptr;
};

TEST_F(GroupSelectionTreeTest, ThreeLevelTreeReadsSubGroupsOnlyWhenTheirGroupOpens) {
    Start(BigProject(), 3);
    const Texts rows = Rows();
    ASSERT_EQ(rows.size(), 16u);
    EXPECT_EQ(rows[0], "Projekt");
    EXPECT_EQ(rows[1], "[0] HG 0");
    EXPECT_EQ(rows[15], "[14] HG 14");
    EXPECT_EQ(Current(), "Projekt");
    EXPECT_EQ(TableType(), 16);
    EXPECT_TRUE(Item("[2] HG 2")->IsLeaf());
    EXPECT_FALSE(Item("[0] HG 0")->IsLeaf());
    EXPECT_TRUE(SubGroupReads().empty());

    EXPECT_EQ(uitest::FindControl(m_pWindow->m_pView, CGroupAddressSelectionView::kListBoxId), &Tree());
    // The images of bitmap 125 are 20 pixels high.
    EXPECT_EQ(Tree().GetIndent(), (3 * 9 + 20) / 2);

    ClickRow("[0] HG 0");
    EXPECT_EQ(TableType(), 17);
    // Tab leads to the first button of the table's bar, Shift+Tab to the
    // table.
    CMainTableBox* pTable = m_pWindow->m_pTable->GetTableBox();
    uitest::PressKey(&Tree(), Qt::Key_Tab);
    QWidget* pFocus = QApplication::focusWidget();
    ASSERT_NE(pTable->GetFormView(), nullptr);
    EXPECT_TRUE(dynamic_cast<QAbstractButton*>(pFocus) != nullptr && pTable->GetFormView()->isAncestorOf(pFocus));
    uitest::PressKey(&Tree(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(pTable->hasFocus());
    EXPECT_EQ(TableType(), 17);
    uitest::PressKey(&Tree(), Qt::Key_Right);
    EXPECT_EQ(Rows()[2], "[0] Licht");
    EXPECT_EQ(Rows()[3], "[1] Heizung");
    EXPECT_TRUE(SubGroupReads().empty());

    // The button opens "Heizung": its two sub groups are read, in order.
    uitest::Click(Tree().viewport(), ButtonPoint("[1] Heizung"));
    EXPECT_EQ(Rows()[4], "[1] Sollwert");
    EXPECT_EQ(Rows()[5], "[3] Ventil");
    // (The table of the clicked group reads them once more.)
    std::vector<std::string> reads = SubGroupReads();
    std::sort(reads.begin(), reads.end());
    reads.erase(std::unique(reads.begin(), reads.end()), reads.end());
    EXPECT_EQ(reads, (std::vector<std::string>{"2001", "2003"}));

    ClickRow("[3] Ventil");
    EXPECT_EQ(TableType(), 19);
    EXPECT_NE(dynamic_cast<CDeviceObjectTable*>(m_pWindow->m_pTable->GetTableBox()), nullptr);
    ClickRow("[1] Heizung");
    EXPECT_EQ(TableType(), 18);
    uitest::PressKey(&Tree(), Qt::Key_Left);
    EXPECT_EQ(Rows()[4], "[1] HG 1");
    // The keypad's star opens nothing.
    ClickRow("[0] HG 0");
    uitest::PressKey(&Tree(), Qt::Key_Asterisk, Qt::KeypadModifier);
    EXPECT_EQ(Rows()[3], "[1] Heizung");
}

TEST_F(GroupSelectionTreeTest, TwoLevelMainGroupsHoldTheSubGroupsOfAllTheirMiddleGroups) {
    Start(BigProject(), 2);
    ASSERT_EQ(Rows().size(), 16u);
    EXPECT_TRUE(Item("[2] HG 2")->IsLeaf());
    ClickRow("[0] HG 0");
    EXPECT_EQ(TableType(), 18);
    uitest::DoubleClick(Tree().viewport(), TextPoint("[0] HG 0"));
    const Texts rows = Rows();
    ASSERT_EQ(rows.size(), 16u + 257u);
    EXPECT_EQ(rows[2], "[1] GA 1");
    EXPECT_EQ(rows[256], "[255] GA 255");
    EXPECT_EQ(rows[257], "[257] Sollwert");
    EXPECT_EQ(rows[258], "[259] Ventil");
    EXPECT_EQ(rows[259], "[1] HG 1");
}

TEST_F(GroupSelectionTreeTest, TheLastSelectedNodeIsOpenedAgainAndRightClicksDoNotSelect) {
    Start(BigProject(), 3);
    ClickRow("[0] HG 0");
    uitest::PressKey(&Tree(), Qt::Key_Right);
    uitest::Click(Tree().viewport(), ButtonPoint("[1] Heizung"));
    ClickRow("[3] Ventil");
    ClickRow("[0] HG 0", Qt::RightButton);
    EXPECT_EQ(Current(), "[3] Ventil");
    EXPECT_EQ(TableType(), 19);

    m_pWindow.reset();
    EXPECT_EQ(std::vector<int>(g_anLastGroupPath, g_anLastGroupPath + 3), (std::vector<int>{0, 1, 3}));
    Open();
    EXPECT_EQ(Current(), "[3] Ventil");
    EXPECT_EQ(TableType(), 19);
    EXPECT_EQ(Rows()[4], "[1] Sollwert");
    // "Licht" stays closed and unread.
    EXPECT_EQ(Rows()[2], "[0] Licht");
    EXPECT_EQ(SubGroupReads().size(), 2u);

    ClickRow("Projekt");
    m_pWindow.reset();
    EXPECT_EQ(std::vector<int>(g_anLastGroupPath, g_anLastGroupPath + 3), (std::vector<int>{-1, -1, -1}));
    Open();
    EXPECT_EQ(Rows().size(), 16u);
    EXPECT_EQ(Current(), "Projekt");
}

TEST_F(GroupSelectionTreeTest, FullGroupsRefuseTheirSymbolWithoutAskingTheHost) {
    uitest::CTestModalRunner runner;  // no dialog may open
    Start(FullProject(), 3);
    ClickRow("[0] HG 0");
    uitest::PressKey(&Tree(), Qt::Key_Right);
    const Texts rows = Rows();
    m_host.ClearCallLog();

    m_boxes.ExpectBox("Keine Hauptgruppenadressen verfügbar", "Hinweis", MB_ICONINFORMATION, IDOK);
    DragOntoRow(0, "Projekt");
    m_boxes.ExpectBox("Keine Mittelgruppenadressen verfügbar", "Hinweis", MB_ICONINFORMATION, IDOK);
    DragOntoRow(1, "[0] HG 0");
    // 255 sub groups and the reserved address fill a middle group.
    m_boxes.ExpectBox("Keine Untergruppen verfügbar", "Hinweis", MB_ICONINFORMATION, IDOK);
    DragOntoRow(2, "[0] M 0");
    // A symbol on a node of another kind is no drop.
    DragOntoRow(2, "Projekt");
    EXPECT_EQ(m_boxes.GetPendingCount(), 0u);
    EXPECT_EQ(Rows(), rows);
    EXPECT_EQ(m_host.CountCalls("Add"), 0u);
    EXPECT_FALSE(g_bDataModified);
}

TEST_F(GroupSelectionTreeTest, DroppedSymbolsMakeGroupsInTheHostAndTheTree) {
    uitest::CTestModalRunner runner;
    Start(BigProject(), 3);

    // On the project: a main group with the first free number.
    runner.Then([](QDialog& dlg) {
        EXPECT_EQ(dynamic_cast<QLineEdit*>(uitest::FindControl(&dlg, 1247))->text().toStdString(), "15");
        Retype(uitest::FindControl(&dlg, 1246), "Zentral");
        uitest::Click(uitest::FindControl(&dlg, IDOK));
    });
    DragOntoRow(0, "Projekt");
    EXPECT_EQ(Rows()[16], "[15] Zentral");
    EXPECT_EQ(Current(), "[15] Zentral");
    EXPECT_EQ(TableType(), 17);
    EXPECT_TRUE(g_bDataModified);

    // On the main group's table: a middle group under the current node.
    runner.Then([](QDialog& dlg) { uitest::Click(uitest::FindControl(&dlg, IDOK)); });
    DragOntoTable(1);
    EXPECT_EQ(Rows()[17], "[0] Neue Mittelgruppe");
    EXPECT_EQ(Current(), "[0] Neue Mittelgruppe");
    EXPECT_EQ(TableType(), 18);

    // A sub group under "Jalousie", which was never opened: it opens with
    // the sub group it had and the new one; the table shows them.
    ClickRow("[1] HG 1");
    uitest::PressKey(&Tree(), Qt::Key_Right);
    runner.Then([](QDialog& dlg) { uitest::Click(uitest::FindControl(&dlg, IDOK)); });
    DragOntoRow(2, "[2] Jalousie");
    EXPECT_EQ(Current(), "[2] Jalousie");
    EXPECT_EQ(TableType(), 18);
    const Texts rows = Rows();
    const auto it = std::find(rows.begin(), rows.end(), "[2] Jalousie");
    ASSERT_LT(it + 2, rows.end());
    EXPECT_EQ(*(it + 2), "[7] Auf/Ab");
    EXPECT_EQ((it + 1)->substr((it + 1)->find(']')), "] Neue Untergruppe");
    EXPECT_EQ(m_pWindow->m_pTable->GetTableBox()->GetItemCount(), 2);
    EXPECT_EQ(runner.GetRunCount(), 3);
}

TEST_F(GroupSelectionTreeTest, AFailedHostCreationLeavesTheTreeAndTheModifiedFlag) {
    uitest::CTestModalRunner runner;
    Start(BigProject(), 3);
    m_host.AddFault("MainGroups", "Add", E_FAIL);
    const Texts rows = Rows();
    runner.Then([](QDialog& dlg) { uitest::Click(uitest::FindControl(&dlg, IDOK)); });
    DragOntoRow(0, "Projekt");
    EXPECT_EQ(Rows(), rows);
    EXPECT_EQ(Current(), "Projekt");
    EXPECT_FALSE(g_bDataModified);
    EXPECT_TRUE(Logged("failed to create main group address")) << LoggedLines();
}

TEST_F(GroupSelectionTreeTest, CutTextsGetATipAndTheSelectionIsOnlyFilledWithTheFocus) {
    Json project = BigProject();
    project["projects"][0]["mainGroups"][0]["name"] = "Hauptgruppe mit einem Namen, der nicht in die Spalte passt";
    Start(project, 3);
    const std::string strLong = "[14] Hauptgruppe mit einem Namen, der nicht in die Spalte passt";

    // The tip shows the whole text of a cut row, none over a short one.
    CToolTipWnd& tip = Tree().GetToolTip();
    ASSERT_TRUE(tip.HasWindow());
    for (const auto& [strRow, bTip] : {std::pair<std::string, bool>{strLong, true}, {"[2] HG 2", false}}) {
        QCursor::setPos(Tree().viewport()->mapToGlobal(TextPoint(strRow)));
        uitest::MouseMove(Tree().viewport(), TextPoint(strRow));
        uitest::TickTimer(&tip, CToolTipWnd::kTimerId);
        EXPECT_EQ(tip.isVisible(), bTip) << strRow;
    }
    QCursor::setPos(Tree().viewport()->mapToGlobal(TextPoint(strLong)));
    uitest::TickTimer(&tip, CToolTipWnd::kTimerId);
    EXPECT_EQ(tip.GetWindowText(), strLong);

    // The selected row: filled while the list has the focus, else framed.
    ClickRow("[2] HG 2");
    const QPoint ptText = TextPoint("[2] HG 2") + QPoint(100, 0);
    int nButton = 0;
    int nIndent = 0;
    int nImage = 0;
    Tree().GetItemIndents(Item("[2] HG 2"), nButton, nIndent, nImage);
    const QPoint ptFrame(nButton + nIndent, ptText.y());
    auto pixel = [&](const QPoint& pt) { return QColor(Tree().viewport()->grab().toImage().pixel(pt)); };
    ASSERT_TRUE(Tree().hasFocus());
    EXPECT_EQ(pixel(ptText), Tree().palette().color(QPalette::Highlight));
    EXPECT_EQ(pixel(ptFrame), QColor(192, 192, 192));
    m_pWindow->m_pTable->GetTableBox()->setFocus();
    uitest::ProcessEvents();
    ASSERT_FALSE(Tree().hasFocus());
    EXPECT_EQ(pixel(ptText), Tree().palette().color(QPalette::Base));
    EXPECT_EQ(pixel(ptFrame), Tree().palette().color(QPalette::Highlight));
}

}  // namespace
