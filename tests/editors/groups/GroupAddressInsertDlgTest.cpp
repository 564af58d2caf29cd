// The group-address insertion over the host stand-in: every value type the
// host reports taken, asked for or refused by the caller's type mask, the
// list's limit at the start and while adding, an address listed meanwhile,
// host reads that fail half-way, the keyboard and drag wiring of its
// window, and the road from a switching-time dialog and from the clock's
// lock chooser into it and back.

#include "HostGroupsTest.h"

#include "editors/groups/GaSelectionBtnView.h"
#include "editors/groups/GroupAddressInsertDlg.h"
#include "editors/groups/GroupAddressInsertWnd.h"
#include "editors/groups/GroupAddressSelectionListBox.h"
#include "editors/groups/GroupAddressSelectionView.h"
#include "editors/groups/SubGroupTable.h"
#include "editors/groups/TypeSelectionDlg.h"
#include "editors/time/DaySwitchTimeEditDlg.h"
#include "editors/time/InternalClockEditWnd.h"
#include "editors/time/InternalClockTable.h"
#include "editors/time/TimeEditors.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/DaySwitchTime.h"
#include "model/DptManager.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/InternalClock.h"
#include "platform/ui/ComboBoxData.h"
#include "ui/DragSourceDialog.h"
#include "ui/MainFormView.h"
#include "ui/ParameterDlg.h"
#include "ui/TableComboBox.h"
#include "ui/TreeListItem.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QSplitter>

namespace {

using grouptest::Json;
using InsertDlg = CGroupAddressInsertDlg;

// Main 1 "Haus" (10) / middle 2 "Licht" (11) with sub groups 1..7 (ids
// 101..107); the objects of another device give them the value types
// 1 bit, 2 bit, 1 byte, 2 bytes, 3 bytes, none and an unsupported one.
Json InsertProject() {
    std::vector<std::vector<LONG>> groups;
    for (LONG n = 1; n <= 7; ++n) {
        groups.push_back({10, 1, 11, 2, 100 + n, n});
    }
    Json project = apptest::ProjectWithGroups(groups);
    Json& main = project["projects"][0]["mainGroups"][0];
    main["name"] = "Haus";
    main["middleGroups"][0]["name"] = "Licht";
    const char* const names[] = {"Schalten", "Zwang", "Dimmen", "Temperatur", "Uhrzeit", "Frei", "Fremd"};
    const int lengths[] = {0, 1, 7, 8, 9, -1, 3};
    Json objects = Json::array();
    for (int n = 0; n < 7; ++n) {
        main["middleGroups"][0]["groupAddresses"][n]["name"] = names[n];
        if (lengths[n] >= 0) {
            objects.push_back({{"id", 3000 + n}, {"number", n}, {"length", lengths[n]},
                               {"associations", Json::array({{{"id", 4000 + n}, {"groupAddress", 101 + n}}})}});
        }
    }
    Json device = apptest::Device(2000, 0, {});
    device["commObjects"] = objects;
    project["projects"][0]["devices"].push_back(device);
    return project;
}

class GroupAddressInsertDlgTest : public grouptest::HostGroupsTest {
protected:
    void SetUp() override {
        HostGroupsTest::SetUp();
        g_DptManager.Init();
        m_bModified = g_bDataModified;
        g_bDataModified = false;
        std::fill(g_anLastGroupPath, g_anLastGroupPath + 3, -1);
    }
    void TearDown() override {
        m_view.DeleteTableBox();
        std::fill(g_anLastGroupPath, g_anLastGroupPath + 3, -1);
        g_bDataModified = m_bModified;
        HostGroupsTest::TearDown();
    }

    static CGroupAddressSelectionListBox& Tree(InsertDlg& dlg) {
        return *dlg.GetInsertWnd()->GetSelectionView()->GetListBox();
    }
    static CSubGroupTable* Table(InsertDlg& dlg) {
        return dynamic_cast<CSubGroupTable*>(dlg.GetInsertWnd()->GetTableView()->GetTableBox());
    }
    static QWidget* ApplyButton(InsertDlg& dlg) {
        return Table(dlg)->GetFormView()->GetDlgItem(CGaSelectionBtnView::IDC_APPLY);
    }
    static void ClickRow(InsertDlg& dlg, const std::string& strText) {
        CGroupAddressSelectionListBox& tree = Tree(dlg);
        for (int i = 0; i < tree.GetRowCount(); ++i) {
            if (tree.GetItem(i)->GetTextRef() == strText) {
                QRect rect;
                tree.GetItemTextRect(i, rect);
                uitest::Click(tree.viewport(), QPoint(rect.left() + 6, rect.center().y()));
                return;
            }
        }
        ADD_FAILURE() << "no tree row " << strText;
    }
    // The sub groups of "Licht" in the right pane.
    static CSubGroupTable* OpenLicht(InsertDlg& dlg) {
        ClickRow(dlg, "[1] Haus");
        uitest::PressKey(&Tree(dlg), Qt::Key_Right);
        ClickRow(dlg, "[2] Licht");
        return Table(dlg);
    }
    // Selects the rows of the sub groups, in the table's order.
    static void SelectRows(CSubGroupTable& table, const Texts& names) {
        bool bFirst = true;
        for (int i = 0; i < table.GetItemCount(); ++i) {
            if (std::find(names.begin(), names.end(), table.GetItemText(i, 1)) != names.end()) {
                uitest::Click(table.viewport(), table.GetItemRect(i).center(), Qt::LeftButton,
                              bFirst ? Qt::NoModifier : Qt::ControlModifier);
                bFirst = false;
            }
        }
    }
    // The type selection that comes next: checks the offered types and
    // picks one.
    void ExpectTypeSelection(const Texts& offered, int nPick) {
        m_runner.Then([offered, nPick](QDialog& d) {
            auto& dlg = dynamic_cast<CDialog&>(d);
            auto* pList = qobject_cast<QComboBox*>(dlg.GetDlgItem(CTypeSelectionDlg::IDC_MAIN_TYPE));
            ASSERT_NE(pList, nullptr);
            Texts texts;
            for (int i = 0; i < pList->count(); ++i) {
                texts.push_back(pList->itemText(i).toStdString());
            }
            EXPECT_EQ(texts, offered);
            ChooseEntry(pList, nPick);
            uitest::Click(dlg.GetDlgItem(IDOK));
        });
    }
    void ExpectBox(const std::string& strCaption, const std::string& strTextPart, int nAnswer = IDOK) {
        CScriptedMessageBoxSink::Expectation box = BoxWithPart(strTextPart, nAnswer);
        box.caption = strCaption;
        m_boxes.Expect(box);
    }
    void FillList(int nCount) {
        for (int i = 0; i < nCount; ++i) {
            Set().GetGroupDataAddresses()->CreateGroupAddress(false)->SetAddress(0x7000 + i);
        }
    }
    CGroupDataAddress* Listed(LONG nRaw) { return Set().GetGroupDataAddresses()->GetReferenceFromAddress(nRaw, false); }

    // A table pane of the main window, as the navigation tree opens it.
    CMainTableBox* OpenPane(int nTableType) {
        m_view.SetDispatcher(&m_mainDlg);
        m_mainDlg.SetPanes(nullptr, &m_view, nullptr, nullptr);
        return CEditorSteps::OpenTable<CMainTableBox>(m_view, nTableType, nullptr, 900, 600);
    }

    bool m_bModified = false;
    CParameterDlg m_mainDlg{nullptr, nullptr};
    CMainTableView m_view;
};

TEST_F(GroupAddressInsertDlgTest, EachHostValueTypeIsTakenAskedForOrRefusedByTheMask) {
    Start(InsertProject());
    InsertDlg dlg(nullptr, FALSE, FALSE, 127, TRUE);
    m_runner.Then([&](QDialog&) {
        EXPECT_EQ(g_pGroupAddressInsertDlg, &dlg);
        EXPECT_EQ(dlg.GetWindowText(), "Hinzufügen von Gruppenadressen");
        ASSERT_EQ(dlg.GetDragStrip()->GetItemCount(), 3);
        EXPECT_EQ(dlg.GetDragStrip()->GetItem(1)->strText, "Mittelgruppe");
        EXPECT_TRUE(Tree(dlg).hasFocus());
        CSubGroupTable* pTable = OpenLicht(dlg);
        ASSERT_NE(pTable, nullptr);
        EXPECT_EQ(pTable->GetOwner(), &dlg);

        uitest::PressKey(pTable, Qt::Key_A, Qt::ControlModifier);
        EXPECT_TRUE(ApplyButton(dlg)->isEnabled());
        // 1 byte: the two 1-byte types; 2 bytes: the three 2-byte types.
        ExpectTypeSelection({"1 Byte vorzeichenlos", "1 Byte vorzeichenbehaftet"}, 1);
        ExpectTypeSelection({"2 Byte vorzeichenlos", "2 Byte vorzeichenbehaftet", "2 Byte Gleitkommazahl"}, 2);
        // 3 bytes are no value of this mask: skipped with OK.
        ExpectBox("Ungültiger Objekttyp", "('01/02/0005': 'Uhrzeit') kann nicht verwendet werden.");
        // Without a type every type of the mask is offered.
        ExpectTypeSelection({"1 Bit", "2 Bit Priorität", "1 Byte vorzeichenlos", "1 Byte vorzeichenbehaftet",
                             "2 Byte vorzeichenlos", "2 Byte vorzeichenbehaftet", "2 Byte Gleitkommazahl"},
                            0);
        ExpectBox("Unbekannter Objekttyp", "('01/02/0007': 'Fremd')", IDCANCEL);
        uitest::Click(ApplyButton(dlg));
        // The dialog stays open for more.
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(pTable->GetItemImage(0), CSubGroupTable::kListedImage);
        EXPECT_EQ(pTable->GetItemImage(4), CSubGroupTable::kSubGroupImage);
        // The rows not taken stay selected.
        EXPECT_TRUE(ApplyButton(dlg)->isEnabled());
        // Another node's table adds nothing and keeps the result.
        ClickRow(dlg, "[1] Haus");
        CMainTableBox* pMiddleGroups = dlg.GetInsertWnd()->GetTableView()->GetTableBox();
        ASSERT_EQ(pMiddleGroups->GetTableType(), 17);
        uitest::Click(pMiddleGroups->GetFormView()->GetDlgItem(IDCANCEL));
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(g_pGroupAddressInsertDlg, nullptr);
    EXPECT_TRUE(dlg.IsApplied());
    EXPECT_TRUE(g_bDataModified);

    const std::vector<std::pair<LONG, DptType>> expected = {
        {0x1201, {1, 0}}, {0x1202, {2, 0}}, {0x1203, {6, 1}}, {0x1204, {9, 1}}, {0x1206, {1, 1}}};
    EXPECT_EQ(Set().GetGroupDataAddresses()->GetCount(false), 5);
    for (const auto& [nRaw, type] : expected) {
        const CGroupDataAddress* pAddress = Listed(nRaw);
        ASSERT_NE(pAddress, nullptr) << nRaw;
        EXPECT_EQ(pAddress->GetObjectType(), type.nObjectType) << nRaw;
        EXPECT_EQ(pAddress->GetReference(), 100 + (nRaw & 0xFF));
    }
    EXPECT_EQ(Listed(0x1202)->GetName(), "Zwang");
    EXPECT_EQ(dlg.GetGroupAddress(), Listed(0x1201));
}

TEST_F(GroupAddressInsertDlgTest, TheListLimitRefusesAtTheStartAndWhileAddingButNotTheClock) {
    Start(InsertProject());
    FillList(250);
    {
        InsertDlg dlg(nullptr, FALSE, TRUE, 127, TRUE);
        ExpectBox("Gruppenadressen ausgelastet", "Die Maximalzahl von Gruppenadressen ist erreicht.");
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(g_pGroupAddressInsertDlg, nullptr);
        EXPECT_EQ(m_runner.GetRunCount(), 0);
    }
    // The clock's one-bit address stands outside the list: one row, and
    // the dialog closes once it is taken.
    InsertDlg clockDlg(nullptr, TRUE, TRUE, 512, FALSE);
    m_runner.Then([&](QDialog&) {
        SelectRows(*OpenLicht(clockDlg), {"Schalten"});
        uitest::Click(ApplyButton(clockDlg));
    });
    EXPECT_EQ(clockDlg.DoModal(), IDOK);
    std::unique_ptr<CGroupDataAddress> pOwn(clockDlg.GetGroupAddress());
    ASSERT_NE(pOwn, nullptr);
    EXPECT_FALSE(Set().GetGroupDataAddresses()->IsInList(pOwn.get()));
    EXPECT_EQ(pOwn->GetAddress(), 0x1201);
    EXPECT_EQ(pOwn->GetObjectType(), 1);
    EXPECT_EQ(Set().GetGroupDataAddresses()->GetCount(false), 250);

    // One place left: the second row finds the list full and ends the run.
    std::unique_ptr<CGroupDataAddress> pFreed(Listed(0x7000));
    Set().GetGroupDataAddresses()->Remove(pFreed.get(), true);
    InsertDlg fullDlg(nullptr, FALSE, TRUE, 127, TRUE);
    m_runner.Then([&](QDialog&) {
        SelectRows(*OpenLicht(fullDlg), {"Schalten", "Zwang"});
        ExpectBox("Gruppenadressen ausgelastet", "Sie können erst wieder Gruppenadressen hinzufügen");
        uitest::Click(ApplyButton(fullDlg));
    });
    EXPECT_EQ(fullDlg.DoModal(), IDCANCEL);
    ASSERT_NE(Listed(0x1201), nullptr);
    EXPECT_EQ(Listed(0x1202), nullptr);
    EXPECT_EQ(fullDlg.GetGroupAddress(), Listed(0x1201));
}

TEST_F(GroupAddressInsertDlgTest, AnAddressListedMeanwhileIsReportedAndTheFirstAddedIsTheResult) {
    Start(InsertProject());
    InsertDlg dlg(nullptr, FALSE, TRUE, 127, TRUE);
    m_runner.Then([&](QDialog&) {
        CSubGroupTable* pTable = OpenLicht(dlg);
        SelectRows(*pTable, {"Zwang", "Schalten"});
        // Taken elsewhere while the table was open.
        Set().GetGroupDataAddresses()->CreateGroupAddress(false)->SetAddress(0x1201);
        ExpectBox("In Benutzung", "('01/02/0001': 'Schalten') ist bereits in der Liste");
        uitest::Click(ApplyButton(dlg));
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_NE(Listed(0x1202), nullptr);
    // The first row gave nothing; the first address made is the caller's.
    EXPECT_EQ(dlg.GetGroupAddress(), Listed(0x1202));
}

TEST_F(GroupAddressInsertDlgTest, AGroupThatCannotBeReadSkipsItsRowsAndTheOthersGoOn) {
    // Two levels: main 3 (30) holds middle 0 (31) with sub 1 (32) and
    // middle 2 (33) with sub 1 (34).
    Start(apptest::ProjectWithGroups({{30, 3, 31, 0, 32, 1}, {30, 3, 33, 2, 34, 1}}), 2);
    InsertDlg dlg(nullptr, FALSE, FALSE, 1, TRUE);
    m_runner.Then([&](QDialog&) {
        // Without middle groups in the strip.
        ASSERT_EQ(dlg.GetDragStrip()->GetItemCount(), 2);
        EXPECT_EQ(dlg.GetDragStrip()->GetItem(1)->strText, "Untergruppe");
        ClickRow(dlg, "[3] ");
        CSubGroupTable* pTable = Table(dlg);
        ASSERT_NE(pTable, nullptr);
        ASSERT_EQ(pTable->GetItemCount(), 2);
        m_host.AddFault("MiddleGroup:31", "get_Name", E_FAIL);
        SelectRows(*pTable, {"GA 32", "GA 34"});
        uitest::Click(ApplyButton(dlg));
        m_host.ClearFaults();
        m_host.AddFault("MainGroup:30", "get_Name", E_FAIL);
        SelectRows(*pTable, {"GA 32"});
        uitest::Click(ApplyButton(dlg));
        m_host.ClearFaults();
        uitest::Click(pTable->GetFormView()->GetDlgItem(IDCANCEL));
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(Logged("Couldnt get MiddleGroup data hr=0x80004005"));
    EXPECT_TRUE(Logged("Couldnt get MainGroup data hr=0x80004005"));
    EXPECT_EQ(Set().GetGroupDataAddresses()->GetCount(false), 1);
    EXPECT_NE(Listed(0x3201), nullptr);
    EXPECT_EQ(dlg.GetGroupAddress(), Listed(0x3201));
}

TEST_F(GroupAddressInsertDlgTest, TabWalksTreeButtonsAndTableAndTheStripMakesSubGroups) {
    Start(InsertProject());
    InsertDlg dlg(nullptr, FALSE, FALSE, 127, TRUE);
    m_runner.Then([&](QDialog&) {
        CSubGroupTable* pTable = OpenLicht(dlg);
        SelectRows(*pTable, {"Frei"});
        QWidget* pApply = ApplyButton(dlg);
        QWidget* pClose = pTable->GetFormView()->GetDlgItem(IDCANCEL);
        const auto tab = [](QWidget* pFrom, bool bBack) {
            uitest::PressKey(pFrom, bBack ? Qt::Key_Backtab : Qt::Key_Tab, bBack ? Qt::ShiftModifier : Qt::NoModifier);
            uitest::ProcessEvents();
            return QApplication::focusWidget();
        };
        EXPECT_EQ(tab(&Tree(dlg), false), pApply);
        EXPECT_EQ(tab(pApply, false), pClose);
        EXPECT_EQ(tab(pClose, false), pTable);
        EXPECT_EQ(tab(pTable, false), &Tree(dlg));
        EXPECT_EQ(tab(pTable, true), pClose);
        EXPECT_EQ(tab(pApply, true), &Tree(dlg));

        // "Untergruppe" dropped on the table makes a sub group under
        // "Licht" through the sub-group dialog.
        m_runner.Then([](QDialog& d) { uitest::Click(dynamic_cast<CDialog&>(d).GetDlgItem(IDOK)); });
        CDragSourceDialog* pStrip = dlg.GetDragStrip();
        pStrip->grab();  // the items learn their places
        QWidget* pViewport = pTable->viewport();
        uitest::Drag(pStrip, pStrip->GetItem(2)->rect.center(), pViewport, pViewport->rect().center());
        EXPECT_EQ(Table(dlg)->GetItemCount(), 8);
        uitest::Click(Table(dlg)->GetFormView()->GetDlgItem(IDCANCEL));
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(m_runner.GetRunCount(), 2);
    EXPECT_FALSE(dlg.IsApplied());
}

TEST_F(GroupAddressInsertDlgTest, TheTreesPaneWidensToItsNamesUntilTheUserMovesTheSplitter) {
    Json project = InsertProject();
    project["projects"][0]["mainGroups"][0]["middleGroups"][0]["groupAddresses"][0]["name"] =
        "Schalten der Gartenbeleuchtung";
    Start(project);
    InsertDlg dlg(nullptr, FALSE, FALSE, 127, TRUE);
    m_runner.Then([&](QDialog&) {
        CGroupAddressSelectionListBox& tree = Tree(dlg);
        QSplitter* pSplitter = dlg.GetInsertWnd()->GetSplitter();
        EXPECT_EQ(pSplitter->sizes().value(0), CGroupAddressInsertWnd::kInitialPaneSize);
        CSubGroupTable* pTable = OpenLicht(dlg);
        uitest::PressKey(&tree, Qt::Key_Right);  // the sub groups in the tree
        uitest::ProcessEvents();
        EXPECT_GT(pSplitter->sizes().value(0), CGroupAddressInsertWnd::kInitialPaneSize);
        EXPECT_LE(tree.GetTextExtent(0, tree.GetRowCount() - 1), tree.viewport()->width());
        // Moved by the user, the splitter stays where it was put.
        QWidget* pHandle = pSplitter->handle(1);
        uitest::Drag(pHandle, pHandle->rect().center(), pHandle, pHandle->rect().center() - QPoint(60, 0));
        const int nUsers = pSplitter->sizes().value(0);
        uitest::PressKey(&tree, Qt::Key_Left);
        uitest::PressKey(&tree, Qt::Key_Right);
        EXPECT_EQ(pSplitter->sizes().value(0), nUsers);
        uitest::Click(pTable->GetFormView()->GetDlgItem(IDCANCEL));
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(GroupAddressInsertDlgTest, TheSwitchingTimeDialogGetsTheAddressItChose) {
    Start(InsertProject());
    CGroupDataAddress* pHeld = Set().GetGroupDataAddresses()->CreateGroupAddress(false);
    pHeld->SetAddress(0x0101);
    pHeld->SetType({1, 1});
    CDayRoutine* pRoutine = Set().GetDayRoutines()->CreateDayRoutine();
    CDaySwitchTimeEditDlg timeDlg(nullptr, true, nullptr);
    timeDlg.SetDayRoutine(pRoutine);
    m_runner.Then([&](QDialog&) {
        CTableComboBox* pCombo = timeDlg.GetAddressCombo();
        m_runner.Then([&](QDialog& d) {
            auto& dlg = dynamic_cast<InsertDlg&>(d);
            EXPECT_EQ(dlg.GetSubGroupTableOptions().nAllowedTypeMask, 127u);
            SelectRows(*OpenLicht(dlg), {"Temperatur"});
            ExpectTypeSelection({"2 Byte vorzeichenlos", "2 Byte vorzeichenbehaftet", "2 Byte Gleitkommazahl"}, 2);
            uitest::Click(ApplyButton(dlg));
        });
        uitest::PressKey(pCombo, Qt::Key_End);
        EXPECT_EQ(GetComboSelData(pCombo), 0x1204);
        EXPECT_TRUE(timeDlg.GetDlgItem(CDaySwitchTimeEditDlg::IDC_VALUE)->isVisible());
        // Inserting keeps the dialog open for the next switching time.
        uitest::Click(timeDlg.GetDlgItem(IDOK));
        EXPECT_TRUE(timeDlg.isVisible());
        uitest::Click(timeDlg.GetDlgItem(IDCANCEL));
    });
    EXPECT_EQ(timeDlg.DoModal(), IDCANCEL);
    // The switching-time dialog, the insertion and its type selection.
    EXPECT_EQ(m_runner.GetRunCount(), 3);
    ASSERT_EQ(pRoutine->GetSwitchTimeCount(), 1);
    EXPECT_EQ(pRoutine->GetSwitchTimes().front()->GetGroupAddress(), Listed(0x1204));
    EXPECT_EQ(Listed(0x1204)->GetObjectType(), 9);
}

TEST_F(GroupAddressInsertDlgTest, TheClockLockChooserOpensItOverAFullList) {
    Start(InsertProject());
    FillList(250);
    InstallTimeEditors();
    auto* pClockTable = dynamic_cast<CInternalClockTable*>(OpenPane(CInternalClockTable::kTableType));
    ASSERT_NE(pClockTable, nullptr);
    QWidget* pLock = pClockTable->GetClockForm()->GetDlgItem(CInternalClockEditWnd::IDC_LOCK_ADDRESS);
    ASSERT_NE(pLock, nullptr);
    m_runner.Then([&](QDialog& d) {
        auto& dlg = dynamic_cast<InsertDlg&>(d);
        EXPECT_EQ(dlg.GetSubGroupTableOptions().nAllowedTypeMask, 512u);
        EXPECT_TRUE(dlg.GetSubGroupTableOptions().bSingleSelection);
        SelectRows(*OpenLicht(dlg), {"Frei"});
        uitest::Click(ApplyButton(dlg));
    });
    uitest::PressKey(pLock, Qt::Key_End);
    const CGroupDataAddress* pAddress = Set().GetInternalClock()->GetLockGroupAddress();
    ASSERT_NE(pAddress, nullptr);
    EXPECT_EQ(pAddress->GetAddress(), 0x1206);
    EXPECT_EQ(pAddress->GetObjectType(), 1);
    EXPECT_EQ(Set().GetGroupDataAddresses()->GetCount(false), 250);
}

TEST_F(GroupAddressInsertDlgTest, TheGroupAddressTableAddsSeveralAndTheDialogStaysOpen) {
    Start(InsertProject());
    CMainTableBox* pTable = OpenPane(3);
    ASSERT_NE(pTable, nullptr);
    ASSERT_EQ(pTable->GetItemCount(), 1);
    m_runner.Then([&](QDialog& d) {
        auto& dlg = dynamic_cast<InsertDlg&>(d);
        EXPECT_FALSE(dlg.GetSubGroupTableOptions().bSingleSelection);
        SelectRows(*OpenLicht(dlg), {"Schalten", "Zwang"});
        uitest::Click(ApplyButton(dlg));
        EXPECT_TRUE(dlg.isVisible());
        uitest::Click(Table(dlg)->GetFormView()->GetDlgItem(IDCANCEL));
    });
    uitest::DoubleClick(pTable->viewport(), pTable->GetItemRect(0).center());
    EXPECT_EQ(m_runner.GetRunCount(), 1);
    EXPECT_EQ(Set().GetGroupDataAddresses()->GetCount(false), 2);
    // The table learnt of them.
    EXPECT_EQ(m_view.GetTableBox()->GetItemCount(), 3);
}

}  // namespace
