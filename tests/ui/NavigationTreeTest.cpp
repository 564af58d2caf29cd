#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/Quantities.h"
#include "model/Quantity.h"
#include "tests/support/RecordingHelpService.h"
#include "tests/ui/FrameTestSupport.h"
#include "ui/MainTableBox.h"
#include "ui/ParameterDlg.h"
#include "ui/ViewNotify.h"


namespace {

using uitest::FrameTest;

class NavigationTreeTest : public FrameTest {
protected:
    CDayRoutine* AddRoutine(uitest::CEditingRun& run, int nNumber, const std::string& strName) {
        CDayRoutine* pRoutine = run.Chronoset().GetDayRoutines()->CreateDayRoutine();
        pRoutine->SetNumber(static_cast<SHORT>(nNumber));
        pRoutine->SetName(strName);
        return pRoutine;
    }
    CQuantity* AddQuantity(uitest::CEditingRun& run, const std::string& strName) {
        CQuantity* pQuantity = run.Chronoset().GetQuantities()->CreateQuantity();
        pQuantity->SetName(strName);
        return pQuantity;
    }
    // What another pane sends: the record as the dispatcher hands it on.
    static VIEWNOTIFY Record(int nType, int nKind, CObject* pObject) {
        VIEWNOTIFY notify;
        notify.nType = nType;
        notify.nKind = nKind;
        notify.pObject = pObject;
        return notify;
    }
    static int TypeOf(const CNavigationTree& tree, const QTreeWidgetItem* hItem) {
        const CNavigationTreeItem* pData = tree.GetNodeData(hItem);
        return pData != nullptr ? pData->GetTableType() : -1;
    }
};

TEST_F(NavigationTreeTest, BuildsTheFixedNodesAndOneNodePerRoutineAndQuantityWithTheModesCaptions) {
    uitest::CEditingRun run(false);
    AddRoutine(run, 5, "Abend");
    AddRoutine(run, 2, "Morgen");
    CQuantity* pQuantity = AddQuantity(run, "Licht");
    MakeFrame(false);
    CNavigationTree& tree = Tree();

    EXPECT_EQ(Captions(tree, nullptr).size(), 0U);
    std::vector<std::string> top;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        top.push_back(tree.GetItemText(tree.topLevelItem(i)));
    }
    EXPECT_EQ(top, (std::vector<std::string>{"Allgemein", "Zeitschaltprogramm", "Mengen", "Gruppenadressen",
                                             "Auslastung"}));
    EXPECT_EQ(Captions(tree, tree.GetTimeProgramNode()),
              (std::vector<std::string>{"Tagesabläufe", "Wochenablauf", "Sommerzeiten", "Sondertage", "Übersicht"}));
    // Ascending by number whatever the collection's order.
    EXPECT_EQ(Captions(tree, tree.GetDayRoutinesNode()), (std::vector<std::string>{"02: Morgen", "05: Abend"}));
    QTreeWidgetItem* hQuantity = tree.GetChildItem(tree.GetQuantitiesNode());
    EXPECT_EQ(tree.GetItemText(hQuantity), "01: Licht");
    EXPECT_EQ(Captions(tree, hQuantity), (std::vector<std::string>{" Auslöser", " Mitglieder"}));
    EXPECT_EQ(TypeOf(tree, tree.GetChildItem(hQuantity)), 13);
    EXPECT_EQ(tree.GetNodeData(tree.GetChildItem(hQuantity))->GetObject(), pQuantity);
    EXPECT_EQ(TypeOf(tree, tree.GetNextSiblingItem(tree.GetChildItem(hQuantity))), 14);
    EXPECT_EQ(TypeOf(tree, tree.GetGeneralNode()), 5);
    EXPECT_EQ(tree.GetItemImage(hQuantity), 2);
    EXPECT_EQ(tree.GetItemSelectedImage(tree.GetGeneralNode()), 1);
    EXPECT_EQ(tree.GetImageList().size(), 3U);

    // The time program node is shown and open.
    EXPECT_EQ(tree.GetSelectedItem(), tree.GetTimeProgramNode());
    EXPECT_EQ(tree.GetCurrentNode(), tree.GetTimeProgramNode());
    EXPECT_TRUE(tree.IsItemExpanded(tree.GetTimeProgramNode()));
    EXPECT_EQ(Table().GetTableType(), 1);

    // Standalone, the general node carries the product name.
    g_bStandalone = true;
    tree.BuildTree();
    EXPECT_EQ(tree.GetItemText(tree.GetGeneralNode()), "Tavik 2.1");
    EXPECT_EQ(tree.GetItemText(tree.GetTimeProgramNode()), "Zeitschaltprogramm");
}

TEST_F(NavigationTreeTest, RoutinesGoInByNumberAfterEqualNumbersAndACollapsedNodeStaysCollapsed) {
    uitest::CEditingRun run(true);
    AddRoutine(run, 2, "Zwei");
    AddRoutine(run, 5, "Fünf");
    MakeFrame(false);
    CNavigationTree& tree = Tree();
    QTreeWidgetItem* hRoutines = tree.GetDayRoutinesNode();
    ASSERT_FALSE(tree.IsItemExpanded(hRoutines));

    CDayRoutine* pThree = AddRoutine(run, 3, "Drei");
    VIEWNOTIFY added = Record(VN_ADDED, 0, pThree);  // the kind comes from the object
    tree.RefreshBranch(&added);
    EXPECT_EQ(added.nKind, VOK_DAYROUTINE);
    EXPECT_EQ(Captions(tree, hRoutines), (std::vector<std::string>{"02: Zwei", "03: Drei", "05: Fünf"}));
    EXPECT_FALSE(tree.IsItemExpanded(hRoutines));
    EXPECT_FALSE(tree.HasNoChildren(hRoutines));

    // A second routine of the same number goes after the first one.
    CDayRoutine* pOtherThree = AddRoutine(run, 3, "Noch drei");
    VIEWNOTIFY again = Record(VN_ADDED, VOK_DAYROUTINE, pOtherThree);
    tree.RefreshBranch(&again);
    EXPECT_EQ(Captions(tree, hRoutines),
              (std::vector<std::string>{"02: Zwei", "03: Drei", "03: Noch drei", "05: Fünf"}));
    // One smaller than all goes first; the same routine twice gets one node.
    CDayRoutine* pOne = AddRoutine(run, 1, "Eins");
    VIEWNOTIFY first = Record(VN_ADDED, VOK_DAYROUTINE, pOne);
    tree.RefreshBranch(&first);
    tree.RefreshBranch(&first);
    EXPECT_EQ(Captions(tree, hRoutines).front(), "01: Eins");
    EXPECT_EQ(Captions(tree, hRoutines).size(), 5U);

    // Opened with a routine selected: the node stays open and the routine
    // stays the selected and shown one.
    tree.Expand(hRoutines);
    QTreeWidgetItem* hFive = tree.FindChildNode(hRoutines, 11, run.Chronoset().GetDayRoutines()->FindDayRoutine(5));
    ASSERT_NE(hFive, nullptr);
    tree.SelectNode(hFive);
    CMainTableBox* pShown = Table().GetTableBox();
    CDayRoutine* pFour = AddRoutine(run, 4, "Vier");
    VIEWNOTIFY fourth = Record(VN_ADDED, VOK_DAYROUTINE, pFour);
    tree.RefreshBranch(&fourth);
    EXPECT_TRUE(tree.IsItemExpanded(hRoutines));
    EXPECT_EQ(tree.GetSelectedItem(), hFive);
    EXPECT_EQ(Table().GetTableBox(), pShown);
    EXPECT_EQ(Captions(tree, hRoutines)[4], "04: Vier");
}

TEST_F(NavigationTreeTest, RecordsOfOtherPanesRecaptionAndRemoveNodesUnlessHandled) {
    uitest::CEditingRun run(true);
    CDayRoutine* pRoutine = AddRoutine(run, 7, "Alt");
    CQuantity* pQuantity = AddQuantity(run, "Heizung");
    MakeFrame(false);
    CNavigationTree& tree = Tree();

    pRoutine->SetName("Neu");
    pQuantity->SetName("Kühlung");
    VIEWNOTIFY handled = Record(VN_CHANGED, VOK_DAYROUTINE, pRoutine);
    handled.nHandled = VNH_HANDLED;
    tree.RefreshBranch(&handled);
    EXPECT_EQ(Captions(tree, tree.GetDayRoutinesNode()), std::vector<std::string>{"07: Alt"});
    VIEWNOTIFY changed = Record(VN_CHANGED, VOK_DAYROUTINE, pRoutine);
    tree.RefreshBranch(&changed);
    EXPECT_EQ(Captions(tree, tree.GetDayRoutinesNode()), std::vector<std::string>{"07: Neu"});
    VIEWNOTIFY changedQuantity = Record(VN_CHANGED, VOK_QUANTITY, pQuantity);
    tree.RefreshBranch(&changedQuantity);
    EXPECT_EQ(tree.GetItemText(tree.GetChildItem(tree.GetQuantitiesNode())), "01: Kühlung");

    // A removed object is only compared, never touched.
    VIEWNOTIFY removed = Record(VN_REMOVED, VOK_DAYROUTINE, pRoutine);
    tree.RefreshBranch(&removed);
    EXPECT_TRUE(Captions(tree, tree.GetDayRoutinesNode()).empty());
    EXPECT_TRUE(tree.HasNoChildren(tree.GetDayRoutinesNode()));
    VIEWNOTIFY removedQuantity = Record(VN_REMOVED, VOK_QUANTITY, pQuantity);
    tree.RefreshBranch(&removedQuantity);
    EXPECT_TRUE(Captions(tree, tree.GetQuantitiesNode()).empty());
    EXPECT_TRUE(tree.HasNoChildren(tree.GetQuantitiesNode()));

    // Added quantities bring their trigger and member nodes.
    VIEWNOTIFY added = Record(VN_ADDED, VOK_QUANTITY, pQuantity);
    tree.RefreshBranch(&added);
    QTreeWidgetItem* hQuantity = tree.GetChildItem(tree.GetQuantitiesNode());
    EXPECT_EQ(Captions(tree, hQuantity), (std::vector<std::string>{" Auslöser", " Mitglieder"}));

    // Records of other kinds and types leave the tree alone.
    VIEWNOTIFY other = Record(VN_KINDS_CHANGED, VOK_ALL, nullptr);
    tree.RefreshBranch(&other);
    VIEWNOTIFY switchTime = Record(VN_REMOVED, VOK_DAYSWITCHTIME, pQuantity);
    tree.RefreshBranch(&switchTime);
    EXPECT_EQ(tree.GetChildItem(tree.GetQuantitiesNode()), hQuantity);
}

TEST_F(NavigationTreeTest, RemovingTheSelectedQuantitySelectsPreviousThenNextThenTheParent) {
    uitest::CEditingRun run(true);
    CQuantity* pFirst = AddQuantity(run, "A");
    CQuantity* pSecond = AddQuantity(run, "B");
    CQuantity* pThird = AddQuantity(run, "C");
    MakeFrame(false);
    CNavigationTree& tree = Tree();
    QTreeWidgetItem* hQuantities = tree.GetQuantitiesNode();
    tree.Expand(hQuantities);
    QTreeWidgetItem* hSecond = tree.FindChildNode(hQuantities, 12, pSecond);
    QTreeWidgetItem* hFirst = tree.FindChildNode(hQuantities, 12, pFirst);
    QTreeWidgetItem* hThird = tree.FindChildNode(hQuantities, 12, pThird);
    tree.Expand(hSecond);
    QTreeWidgetItem* hMembers = tree.FindChildNode(hSecond, 14, pSecond);
    ASSERT_NE(hMembers, nullptr);
    tree.SelectNode(hMembers);
    EXPECT_EQ(Table().GetTableType(), 14);

    VIEWNOTIFY second = Record(VN_REMOVED, VOK_QUANTITY, pSecond);
    tree.RefreshBranch(&second);
    EXPECT_EQ(tree.GetSelectedItem(), hFirst);
    EXPECT_EQ(tree.GetCurrentNode(), hFirst);
    EXPECT_EQ(Table().GetTableType(), 12);

    // The first has no previous sibling: the next one takes over.
    VIEWNOTIFY first = Record(VN_REMOVED, VOK_QUANTITY, pFirst);
    tree.RefreshBranch(&first);
    EXPECT_EQ(tree.GetSelectedItem(), hThird);

    // The last one: its parent, collapsed.
    VIEWNOTIFY third = Record(VN_REMOVED, VOK_QUANTITY, pThird);
    tree.RefreshBranch(&third);
    EXPECT_EQ(tree.GetSelectedItem(), hQuantities);
    EXPECT_FALSE(tree.IsItemExpanded(hQuantities));
    EXPECT_EQ(Table().GetTableType(), 2);
    EXPECT_EQ(tree.GetCurrentNode(), hQuantities);

    // A node that is not selected goes without moving the selection.
    CQuantity* pFourth = AddQuantity(run, "D");
    VIEWNOTIFY added = Record(VN_ADDED, VOK_QUANTITY, pFourth);
    tree.RefreshBranch(&added);
    tree.SelectNode(tree.GetTimeProgramNode());
    VIEWNOTIFY fourth = Record(VN_REMOVED, VOK_QUANTITY, pFourth);
    tree.RefreshBranch(&fourth);
    EXPECT_EQ(tree.GetSelectedItem(), tree.GetTimeProgramNode());
    EXPECT_EQ(tree.GetChildItem(hQuantities), nullptr);
}

TEST_F(NavigationTreeTest, AnAddedQuantityKeepsTheSelectedMembersNodeSelectedAndShown) {
    uitest::CEditingRun run(true);
    CQuantity* pFirst = AddQuantity(run, "A");
    MakeFrame(false);
    CNavigationTree& tree = Tree();
    QTreeWidgetItem* hQuantities = tree.GetQuantitiesNode();
    tree.Expand(hQuantities);
    QTreeWidgetItem* hFirst = tree.FindChildNode(hQuantities, 12, pFirst);
    tree.Expand(hFirst);
    QTreeWidgetItem* hMembers = tree.FindChildNode(hFirst, 14, pFirst);
    tree.SelectNode(hMembers);
    CMainTableBox* pShown = Table().GetTableBox();

    CQuantity* pSecond = AddQuantity(run, "B");
    VIEWNOTIFY added = Record(VN_ADDED, VOK_QUANTITY, pSecond);
    tree.RefreshBranch(&added);
    EXPECT_EQ(Captions(tree, hQuantities), (std::vector<std::string>{"01: A", "02: B"}));
    EXPECT_TRUE(tree.IsItemExpanded(hQuantities));
    EXPECT_TRUE(tree.IsItemExpanded(hFirst));
    EXPECT_EQ(tree.GetSelectedItem(), hMembers);
    EXPECT_EQ(Table().GetTableBox(), pShown);
}

TEST_F(NavigationTreeTest, KeysMoveTheSelectionAndTheTableFollowsButLettersDoNothing) {
    uitest::CEditingRun run(true);
    AddRoutine(run, 1, "Eins");
    MakeFrame(false);
    CNavigationTree& tree = Tree();
    tree.setFocus();
    uitest::ProcessEvents();
    ASSERT_EQ(tree.GetSelectedItem(), tree.GetTimeProgramNode());

    uitest::PressKey(&tree, Qt::Key_Down);
    EXPECT_EQ(tree.GetSelectedItem(), tree.GetDayRoutinesNode());
    EXPECT_EQ(Table().GetTableType(), 6);
    uitest::PressKey(&tree, Qt::Key_Up);
    uitest::PressKey(&tree, Qt::Key_Up);
    EXPECT_EQ(tree.GetSelectedItem(), tree.GetGeneralNode());
    EXPECT_EQ(Table().GetTableType(), 5);
    uitest::PressKey(&tree, Qt::Key_Down);

    // Typing does not jump to "Tagesabläufe".
    uitest::TypeText(&tree, "tT");
    EXPECT_EQ(tree.GetSelectedItem(), tree.GetTimeProgramNode());
    EXPECT_EQ(Table().GetTableType(), 1);

    // Right opens, then goes down; Left goes up; Backspace closes the parent.
    uitest::PressKey(&tree, Qt::Key_Down);
    ASSERT_EQ(tree.GetSelectedItem(), tree.GetDayRoutinesNode());
    uitest::PressKey(&tree, Qt::Key_Right);
    EXPECT_TRUE(tree.IsItemExpanded(tree.GetDayRoutinesNode()));
    EXPECT_EQ(tree.GetSelectedItem(), tree.GetDayRoutinesNode());
    uitest::PressKey(&tree, Qt::Key_Right);
    EXPECT_EQ(Table().GetTableType(), 11);
    uitest::PressKey(&tree, Qt::Key_Right);  // no children: the next sibling (there is none)
    EXPECT_EQ(Table().GetTableType(), 11);
    uitest::PressKey(&tree, Qt::Key_Left);
    EXPECT_EQ(tree.GetSelectedItem(), tree.GetDayRoutinesNode());
    uitest::PressKey(&tree, Qt::Key_Backspace);
    EXPECT_EQ(tree.GetSelectedItem(), tree.GetTimeProgramNode());
    EXPECT_FALSE(tree.IsItemExpanded(tree.GetTimeProgramNode()));
    EXPECT_EQ(Table().GetTableType(), 1);
    // '+' and '-' open and close the selected node.
    uitest::TypeText(&tree, "+");
    EXPECT_TRUE(tree.IsItemExpanded(tree.GetTimeProgramNode()));
    uitest::TypeText(&tree, "-");
    EXPECT_FALSE(tree.IsItemExpanded(tree.GetTimeProgramNode()));
    EXPECT_EQ(Table().GetTableType(), 1);

    // Return toggles; '*' opens everything below; closing a node with its
    // button moves a selection it hides up to it.
    uitest::PressKey(&tree, Qt::Key_Return);
    EXPECT_TRUE(tree.IsItemExpanded(tree.GetTimeProgramNode()));
    uitest::PressKey(&tree, Qt::Key_Return);
    EXPECT_FALSE(tree.IsItemExpanded(tree.GetTimeProgramNode()));
    uitest::TypeText(&tree, "*");
    EXPECT_TRUE(tree.IsItemExpanded(tree.GetTimeProgramNode()));
    EXPECT_TRUE(tree.IsItemExpanded(tree.GetDayRoutinesNode()));
    tree.SelectNode(tree.GetChildItem(tree.GetDayRoutinesNode()));
    ASSERT_EQ(Table().GetTableType(), 11);
    const QRect rectTimes = tree.visualItemRect(tree.GetTimeProgramNode());
    uitest::Click(tree.viewport(), QPoint(rectTimes.left() - tree.indentation() / 2, rectTimes.center().y()));
    EXPECT_EQ(tree.GetSelectedItem(), tree.GetTimeProgramNode());
    EXPECT_FALSE(tree.IsItemExpanded(tree.GetTimeProgramNode()));
    EXPECT_EQ(Table().GetTableType(), 1);

    // F1: the help of the table shown.
    CRecordingHelpService help;
    uitest::PressKey(&tree, Qt::Key_F1);
    EXPECT_EQ(help.GetContexts(), std::vector<DWORD>{921});
}

TEST_F(NavigationTreeTest, ClicksSelectOnReleaseAndTheButtonToggles) {
    uitest::CEditingRun run(true);
    MakeFrame(false);
    CNavigationTree& tree = Tree();
    QTreeWidgetItem* hQuantities = tree.GetQuantitiesNode();
    const QRect rect = tree.visualItemRect(hQuantities);
    uitest::Click(tree.viewport(), rect.center());
    EXPECT_EQ(tree.GetSelectedItem(), hQuantities);
    EXPECT_EQ(Table().GetTableType(), 2);
    EXPECT_TRUE(tree.hasFocus());

    // The time program node's button closes it without a double click.
    QTreeWidgetItem* hTimes = tree.GetTimeProgramNode();
    const QRect rectTimes = tree.visualItemRect(hTimes);
    uitest::Click(tree.viewport(), QPoint(rectTimes.left() - tree.indentation() / 2, rectTimes.center().y()));
    EXPECT_FALSE(tree.IsItemExpanded(hTimes));
    // A double click on the shown node's label opens it again.
    uitest::DoubleClick(tree.viewport(), rectTimes.center());
    EXPECT_TRUE(tree.IsItemExpanded(hTimes));
    EXPECT_EQ(Table().GetTableType(), 1);

    // Clicking below the last node keeps the selection.
    uitest::Click(tree.viewport(), QPoint(5, tree.viewport()->height() - 2));
    EXPECT_EQ(tree.GetSelectedItem(), hTimes);

    // A press that slips onto the next node before the release stays with
    // the pressed one.
    const QRect rectNext = tree.visualItemRect(hQuantities);
    uitest::MousePress(tree.viewport(), rectNext.center());
    uitest::MouseMove(tree.viewport(), rectNext.center() + QPoint(0, rectNext.height() / 2 + 2));
    uitest::MouseRelease(tree.viewport(), rectNext.center() + QPoint(0, rectNext.height()));
    EXPECT_EQ(tree.GetSelectedItem(), hQuantities);
    EXPECT_EQ(Table().GetTableType(), 2);
}

TEST_F(NavigationTreeTest, FocusChangesReachTheMainWindowThroughTheTreeView) {
    uitest::CEditingRun run(true);
    CParameterDlg dlg(nullptr, nullptr);
    m_pTop = std::make_unique<QWidget>();
    m_pFrame = std::make_unique<CMainFrameWnd>(&dlg);
    ASSERT_TRUE(m_pFrame->Create(m_pTop.get(), QRect(0, 0, 400, 300), false));
    CMainTreeView* pTreeView = m_pFrame->GetTreeView(0);
    dlg.SetPanes(pTreeView, m_pFrame->GetTableView(0), nullptr, nullptr);
    Tree().Attach(&Table(), 0);
    m_pTop->show();
    m_pTop->activateWindow();
    uitest::ProcessEvents();

    // Clicks into the empty parts of the list and the tree.
    auto clickTable = [this]() {
        QWidget* pViewport = Table().GetTableBox()->viewport();
        uitest::Click(pViewport, QPoint(5, pViewport->height() - 3));
    };
    auto clickTree = [this]() { uitest::Click(Tree().viewport(), QPoint(5, Tree().viewport()->height() - 3)); };
    clickTable();
    EXPECT_EQ(dlg.GetFocusedPane(), &Table());
    clickTree();
    EXPECT_EQ(dlg.GetFocusedPane(), pTreeView);

    // Its own records go up; a record of the other tree is applied here.
    VIEWNOTIFY own;
    own.nType = VN_SYNC;
    own.nSubcode = VNS_DRAG_POINT;
    own.nResult = 1;
    own.pSourceTree = &Tree();
    pTreeView->RouteNotification(&own);
    EXPECT_EQ(own.pSourcePane, pTreeView);
    EXPECT_EQ(own.pTargetPane, pTreeView);

    Tree().SetNotificationsOn(false);
    clickTable();
    clickTree();
    EXPECT_TRUE(Tree().hasFocus());
    EXPECT_EQ(dlg.GetFocusedPane(), &Table());
    m_pFrame.reset();
}

TEST_F(NavigationTreeTest, ItemsOwnTheirDataAndInsertingAfterAForeignItemFails) {
    // The data objects say when they go.
    struct CCounted : CObject {
        explicit CCounted(int* pnCount) : m_pnCount(pnCount) { ++*m_pnCount; }
        ~CCounted() override { --*m_pnCount; }
        int* m_pnCount;
    };
    int nAlive = 0;
    {
        CTreeCtrlEx tree;
        CTreeCtrlEx other;
        QTreeWidgetItem* hForeign = other.InsertItem("x", 0, 0, new CCounted(&nAlive));
        QTreeWidgetItem* hRoot = tree.InsertItem("root", 0, 1, new CCounted(&nAlive));
        EXPECT_TRUE(tree.HasNoChildren(hRoot));
        QTreeWidgetItem* hB = tree.InsertItem("b", 0, 0, new CCounted(&nAlive), hRoot);
        tree.InsertItem("a", 0, 0, new CCounted(&nAlive), hRoot, CTreeCtrlEx::TVI_FIRST);
        tree.InsertItem("c", 0, 0, new CCounted(&nAlive), hRoot, hB);
        EXPECT_FALSE(tree.HasNoChildren(hRoot));
        EXPECT_EQ(Captions(tree, hRoot).size(), 3U);
        EXPECT_EQ(tree.GetItemText(tree.GetChildItem(hRoot)), "a");
        EXPECT_EQ(tree.GetItemText(tree.GetNextSiblingItem(hB)), "c");
        EXPECT_EQ(tree.InsertItem("bad", 0, 0, new CCounted(&nAlive), hRoot, hForeign), nullptr);
        EXPECT_EQ(nAlive, 5);

        tree.DeleteItemAndFixParent(hB);
        EXPECT_EQ(nAlive, 4);
        EXPECT_FALSE(tree.HasNoChildren(hRoot));
        tree.DeleteItemAndFixParent(tree.GetChildItem(hRoot));
        tree.DeleteItemAndFixParent(tree.GetChildItem(hRoot));
        EXPECT_TRUE(tree.HasNoChildren(hRoot));
        tree.InsertItem("d", 0, 0, new CCounted(&nAlive), hRoot);
        EXPECT_EQ(nAlive, 3);
    }
    EXPECT_EQ(nAlive, 0);
}

}  // namespace
