#include "model/DaySwitchTime.h"
#include "model/GroupDataAddresses.h"
#include "model/IniManager.h"
#include "common/Globals.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/PrivateProfile.h"
#include "platform/base/ProfileText.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/WinApp.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Menu.h"
#include "platform/ui/ResourceImages.h"
#include "resources/de/BuiltInResources.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/support/RecordingHelpService.h"
#include "tests/support/ScriptedMessageBoxSink.h"
#include "tests/ui/TestEnvironment.h"
#include "ui/MMGroupCancelView.h"
#include "ui/MainTableBox.h"
#include "ui/MainTableView.h"
#include "ui/ParameterDlg.h"
#include "ui/ViewNotify.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QHeaderView>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace {

// A data object of the fake tables: a name and a number.
class CFakeObject : public CObject {
public:
    CFakeObject(std::string strName, int nNumber) : m_strName(std::move(strName)), m_nNumber(nNumber) {}
    std::string m_strName;
    int m_nNumber;
};

// A table of fake objects of one kind, listing a vector it does not own.
class CFakeTable : public CMainTableBox {
public:
    CFakeTable(int nTableType, int nKind, std::vector<CObject*>* pObjects = nullptr)
        : CMainTableBox(nTableType), m_pObjects(pObjects) {
        SetObjectKind(nKind);
    }
    bool InitColumns() override {
        AddColumn("Name", GetStoredColumnWidth(0), LVCFMT_LEFT);
        AddColumn("Nr", GetStoredColumnWidth(1), LVCFMT_RIGHT);
        return true;
    }
    bool FillTable() override {
        DeleteAllRows();
        if (m_pObjects != nullptr) {
            for (CObject* pObject : *m_pObjects) {
                std::vector<std::string> texts;
                GetEntryStrings(pObject, texts);
                AddRow(texts, pObject, -1);
            }
        }
        AddItem("", nullptr, -1);
        ++m_nFills;
        return true;
    }
    void GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) override {
        if (auto* pFake = dynamic_cast<CFakeObject*>(pObject)) {
            texts = {pFake->m_strName, std::to_string(pFake->m_nNumber)};
        } else {
            texts = {"?", "0"};
        }
    }
    int PasteObject(CObject* pObject) override {
        m_pasted.push_back(pObject);
        if (!m_insertOnPaste.empty()) {
            // A row for the pasted copy, sorted in before the rows being walked.
            AddRow({"0", "0"}, m_insertOnPaste.front(), -1);
            m_insertOnPaste.erase(m_insertOnPaste.begin());
        }
        if (m_results.empty()) {
            return PASTE_DONE;
        }
        const int nResult = m_results.front();
        m_results.pop_front();
        return nResult;
    }
    CObject* GetParentObject() override { return GetParentObjectMember(); }
    int EditEntry(int nRow) override {
        m_edits.push_back(nRow);
        return 0;
    }

    std::vector<CObject*>* m_pObjects;
    std::deque<int> m_results;
    std::vector<CObject*> m_pasted;
    std::vector<int> m_edits;
    std::vector<CObject*> m_insertOnPaste;
    int m_nFills = 0;
};

// The main window with one or two table panes inside a frame widget.
class MainTableBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pPrevious = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
        m_app.SetProfileName(m_dir.File("Vek_ZR02.ini"));
        m_bModified = g_bDataModified;
        m_bDebug = g_bDebugMode;
        g_bDebugMode = false;
    }
    void TearDown() override {
        for (int nType : m_registered) {
            CMainTableView::RegisterTableClass(nType, nullptr);
        }
        g_bDataModified = m_bModified;
        g_bDebugMode = m_bDebug;
        platform::SetFrameworkResourceModule(m_pPrevious);
    }

    // Makes the fake table class the class of the type.
    void Register(int nTableType, int nKind, std::vector<CObject*>* pObjects, CObject* pParent = nullptr) {
        CMainTableView::RegisterTableClass(nTableType, [nKind, pObjects, pParent](int nType, CObject*) {
            auto* pTable = new CFakeTable(nType, nKind, pObjects);
            pTable->SetParentObject(pParent);
            return pTable;
        });
        m_registered.push_back(nTableType);
    }

    std::string Ini(const char* pszSection, const char* pszKey) const {
        return platform::GetPrivateProfileString(pszSection, pszKey, "<none>", m_dir.File("Vek_ZR02.ini"));
    }

    uitest::CTempDir m_dir;
    CWinApp m_app;
    std::vector<int> m_registered;

private:
    const platform::CResourceModule* m_pPrevious = nullptr;
    bool m_bModified = false;
    bool m_bDebug = false;
};

CFakeTable* TableOf(const CMainTableView& view) {
    return dynamic_cast<CFakeTable*>(view.GetTableBox());
}

TEST_F(MainTableBoxTest, AddedRecordsRespectKindParentFlagAndTheRowLimit) {
    uitest::CEditingRun run(true);
    uitest::CLogCapture log;
    CFakeObject parent("p", 0), other("o", 0);
    std::vector<CObject*> objects;
    std::vector<std::unique_ptr<CFakeObject>> store;
    for (int i = 0; i < 14; ++i) {
        store.push_back(std::make_unique<CFakeObject>("n" + std::to_string(i), i));
        objects.push_back(store.back().get());
    }
    Register(6, VOK_DAYROUTINE, &objects, &parent);
    CMainTableView view;
    view.resize(300, 200);
    view.CreateTableBox(6, nullptr);
    CFakeTable* pTable = TableOf(view);
    ASSERT_NE(pTable, nullptr);
    pTable->SetMaxEntries(15);
    ASSERT_EQ(pTable->GetDataRowCount(), 14);

    CFakeObject added("a", 99);
    VIEWNOTIFY notify;
    notify.nType = VN_ADDED;
    notify.nKind = VOK_QUANTITY;
    notify.pObject = &added;
    notify.pParentObject = &parent;
    view.OnViewNotify(&notify);
    EXPECT_EQ(notify.nHandled, 0);
    notify.nKind = VOK_DAYROUTINE;
    notify.pParentObject = &other;
    view.OnViewNotify(&notify);
    EXPECT_EQ(notify.nHandled, 0);
    notify.pParentObject = &parent;
    notify.nFlag = 1;
    view.OnViewNotify(&notify);
    EXPECT_EQ(pTable->GetDataRowCount(), 14);

    notify.nFlag = 0;
    view.OnViewNotify(&notify);
    EXPECT_EQ(notify.nHandled, 1);
    EXPECT_EQ(pTable->GetDataRowCount(), 15);
    EXPECT_EQ(pTable->GetItemData(pTable->GetSelectionMark()), &added);
    // The new-entry row stays last.
    EXPECT_EQ(pTable->GetItemData(pTable->GetItemCount() - 1), nullptr);

    CFakeObject refused("r", 100);
    VIEWNOTIFY sixteenth;
    sixteenth.nType = VN_ADDED;
    sixteenth.nKind = VOK_DAYROUTINE;
    sixteenth.pObject = &refused;
    sixteenth.pParentObject = &parent;
    view.OnViewNotify(&sixteenth);
    EXPECT_EQ(pTable->GetDataRowCount(), 15);
    EXPECT_EQ(sixteenth.nHandled, 1);
    EXPECT_NE(log.Lines().find("CMainTableBox: 15 entries found, max 15 allowed!"), std::string::npos) << log.Lines();
}

TEST_F(MainTableBoxTest, ChangedRecordsMoveRowsButNeverAddAnObjectNotShown) {
    uitest::CEditingRun run(true);
    CFakeObject a("a", 1), b("b", 2), stranger("c", 3);
    std::vector<CObject*> objects{&a, &b};
    Register(6, VOK_DAYROUTINE, &objects);
    CMainTableView view;
    view.CreateTableBox(6, nullptr);
    CFakeTable* pTable = TableOf(view);

    a.m_strName = "z";
    VIEWNOTIFY changed;
    changed.nType = VN_CHANGED;
    changed.nKind = VOK_DAYROUTINE;
    changed.pObject = &a;
    view.OnViewNotify(&changed);
    EXPECT_EQ(pTable->GetItemText(1, 0), "z");
    EXPECT_EQ(pTable->GetDataRowCount(), 2);

    VIEWNOTIFY foreign;
    foreign.nType = VN_CHANGED;
    foreign.nKind = VOK_DAYROUTINE;
    foreign.pObject = &stranger;
    view.OnViewNotify(&foreign);
    EXPECT_EQ(pTable->GetDataRowCount(), 2);
    EXPECT_EQ(pTable->FindRowOfObject(&stranger), -1);

    VIEWNOTIFY removed;
    removed.nType = VN_REMOVED;
    removed.nKind = VOK_DAYROUTINE;
    removed.pObject = &b;
    view.OnViewNotify(&removed);
    EXPECT_EQ(pTable->GetDataRowCount(), 1);

    // Kinds changed: refill for its own kind or all.
    const int nFills = pTable->m_nFills;
    VIEWNOTIFY kinds;
    kinds.nType = VN_KINDS_CHANGED;
    kinds.nKind = VOK_QUANTITY;
    view.OnViewNotify(&kinds);
    EXPECT_EQ(pTable->m_nFills, nFills);
    kinds.nKind = VOK_ALL;
    view.OnViewNotify(&kinds);
    EXPECT_EQ(pTable->m_nFills, nFills + 1);
}

TEST_F(MainTableBoxTest, UpdateQueriesAndCommandsFollowTheTableType) {
    uitest::CEditingRun run(true);
    CFakeObject a("a", 1);
    std::vector<CObject*> objects{&a};
    Register(6, VOK_DAYROUTINE, &objects);
    Register(10, VOK_DAYSWITCHTIME, &objects);
    CMainTableView view;
    view.CreateTableBox(6, nullptr);

    CCmdUI cmdUI;
    VIEWNOTIFY query;
    query.nType = VN_UPDATE_COMMAND_UI;
    query.pCmdUI = &cmdUI;
    query.nCommandId = ID_TABLE_EDIT;
    view.OnViewNotify(&query);
    EXPECT_EQ(query.nHandled, 0);  // 40028 is answered only in the context menu
    query.nCommandId = ID_TABLE_HELP;
    view.OnViewNotify(&query);
    EXPECT_EQ(query.nHandled, 0);
    query.nCommandId = ID_TABLE_NEW;
    view.OnViewNotify(&query);
    EXPECT_EQ(query.nHandled, 1);

    VIEWNOTIFY edit;
    edit.nType = VN_COMMAND;
    edit.nCommandId = ID_TABLE_EDIT;
    view.OnViewNotify(&edit);
    EXPECT_EQ(edit.nHandled, 1);
    EXPECT_EQ(TableOf(view)->m_edits, std::vector<int>{0});
    VIEWNOTIFY newEntry;
    newEntry.nType = VN_COMMAND;
    newEntry.nCommandId = ID_TABLE_NEW;
    view.OnViewNotify(&newEntry);
    EXPECT_EQ(TableOf(view)->m_edits, (std::vector<int>{0, 1}));

    view.CreateTableBox(10, nullptr);
    VIEWNOTIFY overview;
    overview.nType = VN_COMMAND;
    overview.nCommandId = ID_TABLE_EDIT;
    view.OnViewNotify(&overview);
    EXPECT_EQ(overview.nHandled, 0);
    EXPECT_TRUE(TableOf(view)->m_edits.empty());
}

TEST_F(MainTableBoxTest, PasteCountsRefusedObjectsAndStopsAtAFullTable) {
    uitest::CEditingRun run(true);
    CGroupDataAddresses* pAddresses = run.Chronoset().GetGroupDataAddresses();
    std::vector<std::unique_ptr<CDaySwitchTime>> times;
    for (int i = 0; i < 3; ++i) {
        times.push_back(std::make_unique<CDaySwitchTime>());
        times.back()->SetGroupAddress(pAddresses->CreateGroupAddress(false));
    }
    Register(11, VOK_DAYSWITCHTIME, nullptr);
    CParameterDlg dlg(nullptr, nullptr);
    CMainTableView view;
    view.SetDispatcher(&dlg);
    dlg.SetPanes(nullptr, &view, nullptr, nullptr);
    view.CreateTableBox(11, nullptr);
    CFakeTable* pTable = TableOf(view);
    ASSERT_TRUE(dlg.SetClipboardObject(times[0].get()));
    ASSERT_TRUE(dlg.AppendClipboardObject(times[1].get()));
    ASSERT_TRUE(dlg.AppendClipboardObject(times[2].get()));

    g_bDataModified = false;
    pTable->m_results = {PASTE_DONE, PASTE_DUPLICATE, PASTE_DONE};
    {
        CScriptedMessageBoxSink boxes;
        boxes.ExpectText("1 der 3 Elemente konnten nicht eingefügt werden", IDOK);
        pTable->OnPaste();
        ASSERT_EQ(boxes.GetShown().size(), 1U);
        EXPECT_EQ(boxes.GetShown()[0].strCaption, "Einfügen");
    }
    EXPECT_EQ(pTable->m_pasted.size(), 3U);
    EXPECT_TRUE(g_bDataModified);

    // A full table ends the paste; nothing was refused, so no warning.
    pTable->m_pasted.clear();
    pTable->m_results = {PASTE_DONE, PASTE_FULL, PASTE_DONE};
    {
        CScriptedMessageBoxSink boxes;
        pTable->OnPaste();
        EXPECT_TRUE(boxes.GetShown().empty());
    }
    EXPECT_EQ(pTable->m_pasted.size(), 2U);

    // Copies stay: the overview table is never offered them.
    EXPECT_EQ(dlg.GetClipboard().GetCount(), 3U);
    for (auto& pTime : times) {
        pTime->SetGroupAddress(nullptr);
    }
}

TEST_F(MainTableBoxTest, ColumnSettingsOfType4AreWidthsOnly) {
    uitest::CEditingRun run(true);
    Register(4, 0, nullptr);
    Register(6, VOK_DAYROUTINE, nullptr);
    ASSERT_TRUE(platform::WritePrivateProfileString("DayRoutineTable", "Column1", "77", m_dir.File("Vek_ZR02.ini")));
    ASSERT_TRUE(platform::WritePrivateProfileString("DayRoutineTable", "Pos1", "1", m_dir.File("Vek_ZR02.ini")));
    ASSERT_TRUE(platform::WritePrivateProfileString("DayRoutineTable", "Pos2", "0", m_dir.File("Vek_ZR02.ini")));
    {
        CMainTableView view;
        view.CreateTableBox(6, nullptr);
        EXPECT_EQ(view.GetTableBox()->GetColumnWidth(0), 77);
        EXPECT_EQ(view.GetTableBox()->GetColumnOrder(), (std::vector<int>{1, 0}));
        view.CreateTableBox(4, nullptr);  // the day-routine table saves now
        EXPECT_EQ(Ini("DayRoutineTable", "Pos1"), "1");
        EXPECT_EQ(Ini("DayRoutineTable", "Pref1"), "0");
        view.GetTableBox()->setColumnWidth(1, 66);
    }
    EXPECT_EQ(Ini("UtilizationTable", "Column1"), "130");
    EXPECT_EQ(Ini("UtilizationTable", "Column2"), "66");
    EXPECT_EQ(Ini("UtilizationTable", "Pos1"), "<none>");
    EXPECT_EQ(Ini("UtilizationTable", "Pref1"), "<none>");
}

TEST_F(MainTableBoxTest, ColumnSettingsReachTheFileInOneWriteAndOnlyWhenChanged) {
    uitest::CEditingRun run(true);
    Register(4, 0, nullptr);
    Register(6, VOK_DAYROUTINE, nullptr);
    const std::string strIni = m_dir.File("Vek_ZR02.ini");
    CMainTableView view;
    view.resize(600, 400);
    view.show();
    // The first visit of each writes its defaults.
    view.CreateTableBox(6, nullptr);
    view.CreateTableBox(4, nullptr);
    view.CreateTableBox(6, nullptr);
    view.CreateTableBox(4, nullptr);

    // Visits that change nothing write nothing.
    const platform::ProfileIoCounts before = platform::GetProfileIoCounts();
    for (int i = 0; i < 3; ++i) {
        view.CreateTableBox(6, nullptr);
        view.CreateTableBox(4, nullptr);
    }
    EXPECT_EQ(platform::GetProfileIoCounts().nWrites, before.nWrites);

    // A column widened with the mouse on its header's divider.
    view.CreateTableBox(6, nullptr);
    QHeaderView* pHeader = view.GetTableBox()->header();
    const int nWidth = pHeader->sectionSize(0);
    const int nDivider = pHeader->sectionViewportPosition(0) + nWidth - 1;
    const int y = pHeader->height() / 2;
    uitest::MousePress(pHeader->viewport(), QPoint(nDivider, y));
    for (int x = nDivider; x <= nDivider + 40; x += 5) {
        uitest::MouseMove(pHeader->viewport(), QPoint(x, y));
    }
    uitest::MouseRelease(pHeader->viewport(), QPoint(nDivider + 40, y));
    const int nWidened = view.GetTableBox()->GetColumnWidth(0);
    ASSERT_GT(nWidened, nWidth);
    const platform::ProfileIoCounts beforeLeaving = platform::GetProfileIoCounts();
    view.CreateTableBox(4, nullptr);
    EXPECT_EQ(platform::GetProfileIoCounts().nWrites, beforeLeaving.nWrites + 1);

    // What a restarted editor finds: the file as it stands, and the table.
    const auto bytes = platform::ReadWholeFile(strIni);
    ASSERT_TRUE(bytes.has_value());
    const platform::CProfileText text =
        platform::CProfileText::Parse(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    EXPECT_EQ(text.Find("DayRoutineTable", "Column1"), std::to_string(nWidened));
    view.CreateTableBox(6, nullptr);
    EXPECT_EQ(view.GetTableBox()->GetColumnWidth(0), nWidened);
}

TEST_F(MainTableBoxTest, UnknownTypesGiveThePlainTableAndOldTablesAreDeletedLater) {
    uitest::CEditingRun run(true);
    uitest::CLogCapture log;
    CMainTableView view;
    view.ShowTreeItem(nullptr);
    ASSERT_NE(view.GetTableBox(), nullptr);
    EXPECT_EQ(view.GetTableBox()->GetTableType(), 0);
    EXPECT_NE(log.Lines().find("CMainTableView: Unknown tableview type 0"), std::string::npos);

    // A known type without its class yet: a plain table of that type (so its
    // usage still shows), without a log line.
    QPointer<CMainTableBox> pOld = view.GetTableBox();
    view.CreateTableBox(2, nullptr);
    EXPECT_EQ(view.GetTableBox()->GetTableType(), 2);
    EXPECT_EQ(view.GetTableBox()->GetColumnCount(), 0);
    EXPECT_EQ(log.Lines().find("type 2"), std::string::npos);
    // The old table may still be on the call stack: it goes only later.
    EXPECT_FALSE(pOld.isNull());
    EXPECT_FALSE(pOld->AreNotificationsOn());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(pOld.isNull());

    view.CreateTableBox(1, nullptr);
    EXPECT_EQ(view.GetTableBox()->GetTableType(), 1);
    EXPECT_EQ(view.GetTableBox()->GetColumnCount(), 0);
}

TEST_F(MainTableBoxTest, OwnRecordsGoUpWithThePaneAsSourceOthersGoToTheTable) {
    uitest::CEditingRun run(true);
    Register(6, VOK_DAYROUTINE, nullptr);
    CParameterDlg dlg(nullptr, nullptr);
    CMainTableView view;
    view.SetDispatcher(&dlg);
    dlg.SetPanes(nullptr, &view, nullptr, nullptr);
    view.CreateTableBox(6, nullptr);
    CMainTableBox* pTable = view.GetTableBox();
    VIEWNOTIFY activate;
    activate.nType = VN_ACTIVATE;
    activate.nValue = 1;
    pTable->SendNotification(&activate);
    EXPECT_EQ(activate.pSourcePane, &view);
    EXPECT_EQ(activate.nTableType, 6);
    EXPECT_EQ(dlg.GetFocusedPane(), &view);

    // Now a command of the main window reaches the focused table.
    VIEWNOTIFY command;
    command.nType = VN_COMMAND;
    command.nCommandId = ID_TABLE_NEW;
    dlg.OnViewNotify(&command);
    EXPECT_EQ(command.nHandled, 1);
    EXPECT_EQ(TableOf(view)->m_edits, std::vector<int>{0});
}

TEST_F(MainTableBoxTest, DragTargetsFollowTheTableTypes) {
    uitest::CEditingRun run(true);
    CFakeObject quantityA("qa", 0), quantityB("qb", 0);
    CParameterDlg dlg(nullptr, nullptr);
    QWidget frame;
    frame.setGeometry(0, 0, 620, 300);
    CMainTableView view1(&frame);
    CMainTableView view2(&frame);
    view1.setGeometry(0, 0, 300, 300);
    view2.setGeometry(310, 0, 300, 300);
    view1.SetDispatcher(&dlg);
    view2.SetDispatcher(&dlg);
    dlg.SetPanes(nullptr, &view1, nullptr, &view2);
    frame.show();

    Register(11, VOK_DAYSWITCHTIME, nullptr);
    CMainTableView::RegisterTableClass(14, [&](int nType, CObject* pObject) {
        auto* pTable = new CFakeTable(nType, VOK_QUANTITYMEMBER);
        pTable->SetParentObject(pObject);
        return pTable;
    });
    m_registered.push_back(14);

    auto pointInView2 = [&]() {
        CMainTableBox* pSource = view1.GetTableBox();
        return pSource->viewport()->mapFromGlobal(view2.GetTableBox()->viewport()->mapToGlobal(QPoint(10, 10)));
    };
    IViewPane* pTarget = nullptr;

    // A switching-time table is its own target.
    view1.CreateTableBox(11, nullptr);
    view2.CreateTableBox(14, &quantityA);
    EXPECT_TRUE(view1.GetTableBox()->FindDropTarget(QPoint(5, 5), &pTarget));
    EXPECT_EQ(pTarget, &view1);
    EXPECT_FALSE(view1.GetTableBox()->FindDropTarget(pointInView2(), &pTarget));

    // Members onto the member table of the same quantity: none; of another: yes.
    view1.CreateTableBox(14, &quantityA);
    EXPECT_FALSE(view1.GetTableBox()->FindDropTarget(pointInView2(), &pTarget));
    view2.CreateTableBox(14, &quantityB);
    EXPECT_TRUE(view1.GetTableBox()->FindDropTarget(pointInView2(), &pTarget));
    EXPECT_EQ(pTarget, &view2);
    // Members onto switching times.
    view2.CreateTableBox(11, nullptr);
    EXPECT_TRUE(view1.GetTableBox()->FindDropTarget(pointInView2(), &pTarget));
    // Nothing under the point.
    EXPECT_FALSE(view1.GetTableBox()->FindDropTarget(QPoint(-50, -50), &pTarget));
    frame.hide();
}

TEST_F(MainTableBoxTest, DropSendsTheSelectedObjectsCollectedBeforehand) {
    uitest::CEditingRun run(true);
    CFakeObject a("a", 1), b("b", 2);
    std::vector<CObject*> objects{&a, &b};
    CParameterDlg dlg(nullptr, nullptr);
    CMainTableView view;
    view.resize(300, 200);
    view.SetDispatcher(&dlg);
    dlg.SetPanes(nullptr, &view, nullptr, nullptr);
    CMainTableView::RegisterTableClass(11, [&](int nType, CObject*) {
        auto* pTable = new CFakeTable(nType, VOK_DAYSWITCHTIME, &objects);
        return pTable;
    });
    m_registered.push_back(11);
    view.CreateTableBox(11, nullptr);
    CFakeTable* pTable = TableOf(view);
    pTable->OnSelectAll();
    // Each paste inserts a row at the top of this very table.
    CFakeObject inserted0("0", 0), inserted1("0", 0);
    pTable->m_insertOnPaste = {&inserted0, &inserted1};
    pTable->m_results = {PASTE_DONE, PASTE_DONE};
    g_bDataModified = false;
    pTable->DropAt(QPoint(5, 5));
    EXPECT_EQ(pTable->m_pasted, (std::vector<CObject*>{&a, &b}));
    EXPECT_TRUE(g_bDataModified);
}

TEST_F(MainTableBoxTest, ContextMenuOfAnEmptyGroupAddressTable) {
    uitest::CEditingRun run(true);
    Register(3, VOK_GROUPADDRESS, nullptr);
    CMainTableView view;
    view.resize(300, 200);
    view.CreateTableBox(3, nullptr);
    CMainTableBox* pTable = view.GetTableBox();
    pTable->SetSelectionMark(-1);
    uitest::CTestPopupMenuRunner menus;
    std::vector<UINT> items;
    std::string strNewText;
    bool bNewEnabled = true;
    menus.Then([&](QMenu& menu) -> QAction* {
        for (QAction* pAction : menu.actions()) {
            if (!pAction->isSeparator()) {
                items.push_back(CMenu::GetActionID(pAction));
            }
        }
        strNewText = uitest::FindMenuAction(menu, ID_TABLE_NEW)->text().toStdString();
        bNewEnabled = uitest::FindMenuAction(menu, ID_TABLE_NEW)->isEnabled();
        return nullptr;
    });
    pTable->ShowContextMenu(QPoint(0, 0));
    // "neue GA" (retitled by the update of the New command) and "Hilfe zu".
    EXPECT_EQ(items, (std::vector<UINT>{ID_TABLE_NEW, ID_TABLE_HELP}));
    EXPECT_EQ(strNewText, "&Neue Gruppenadresse");
    EXPECT_FALSE(bNewEnabled);  // standalone

    // While an edit is in progress, nothing shows.
    pTable->SetEditInProgress(true);
    pTable->ShowContextMenu(QPoint(0, 0));
    EXPECT_EQ(menus.GetRunCount(), 1);
}

TEST_F(MainTableBoxTest, ContextMenuCommandsReachTheTable) {
    uitest::CEditingRun run(true);
    CFakeObject a("a", 1);
    std::vector<CObject*> objects{&a};
    Register(6, VOK_DAYROUTINE, &objects);
    CMainTableView view;
    view.resize(300, 200);
    view.CreateTableBox(6, nullptr);
    uitest::CTestPopupMenuRunner menus;
    menus.ThenChoose(ID_TABLE_EDIT);
    view.GetTableBox()->ShowContextMenu(QPoint(0, 0));
    EXPECT_EQ(TableOf(view)->m_edits, std::vector<int>{0});

    CRecordingHelpService help;
    view.GetTableBox()->OnHelpOnTable();
    EXPECT_EQ(help.GetContexts(), std::vector<DWORD>{922});
}

TEST_F(MainTableBoxTest, MainGroupTableHostsTheCloseBarThatEndsTheDialog) {
    uitest::CEditingRun run(true);
    Register(16, VOK_GROUPADDRESS, nullptr);
    uitest::CTestModalRunner runner;
    CDialog dlg;
    dlg.resize(400, 300);
    CMainTableView view(&dlg);
    view.setGeometry(0, 0, 400, 300);
    view.CreateTableBox(16, nullptr);
    CMainFormView* pForm = view.GetTableBox()->GetFormView();
    ASSERT_NE(pForm, nullptr);
    EXPECT_EQ(pForm->geometry(), QRect(0, 0, 400, 28));
    EXPECT_EQ(view.GetTableBox()->geometry(), QRect(0, 28, 400, 272));
    dlg.show();
    view.resize(500, 200);
    dlg.hide();
    EXPECT_EQ(pForm->geometry(), QRect(0, 0, 500, 28));
    EXPECT_EQ(view.GetTableBox()->geometry(), QRect(0, 28, 500, 172));

    auto* pButton = qobject_cast<QPushButton*>(uitest::FindControl(pForm, IDCANCEL));
    ASSERT_NE(pButton, nullptr);
    EXPECT_EQ(pButton->text().toStdString(), "Schließen");
    runner.Then([&](QDialog&) { uitest::Click(pButton); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);

    CRecordingHelpService help;
    pButton->setFocus();
    uitest::PressKey(pButton, Qt::Key_F1);
    EXPECT_EQ(help.GetContexts(), std::vector<DWORD>{0x20071});
}

}  // namespace

namespace {

TEST_F(MainTableBoxTest, TabLeavesTheFormForThePaneFrameAndTableTabDoesTheSame) {
    uitest::CEditingRun run(true);
    Register(17, VOK_GROUPADDRESS, nullptr);
    QWidget frame;
    frame.setFocusPolicy(Qt::StrongFocus);
    QWidget splitter(&frame);
    CMainTableView view(&splitter);
    frame.resize(400, 300);
    splitter.resize(400, 300);
    view.resize(400, 300);
    view.CreateTableBox(17, nullptr);
    frame.show();
    frame.activateWindow();
    uitest::ProcessEvents();
    CMainFormView* pForm = view.GetTableBox()->GetFormView();
    ASSERT_NE(pForm, nullptr);
    QWidget* pButton = uitest::FindControl(pForm, IDCANCEL);
    ASSERT_NE(pButton, nullptr);
    pButton->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), pButton);
    // The only tab stop of the form: Tab hands the focus to the frame.
    uitest::PressWindowKey(&frame, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), &frame);

    view.GetTableBox()->setFocus();
    uitest::PressKey(view.GetTableBox(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), &frame);
    frame.hide();
}

}  // namespace

namespace {

// A switching-time table as a user drives it: the keys of its accelerator
// table run its commands through the internal clipboard, never the list
// view's own copy or select-all.
TEST_F(MainTableBoxTest, TableKeysRunTheCommandsOfTheAcceleratorTable) {
    uitest::CEditingRun run(true);
    CGroupDataAddresses* pAddresses = run.Chronoset().GetGroupDataAddresses();
    std::vector<std::unique_ptr<CDaySwitchTime>> times;
    std::vector<CObject*> objects;
    for (int i = 0; i < 3; ++i) {
        times.push_back(std::make_unique<CDaySwitchTime>());
        times.back()->SetGroupAddress(pAddresses->CreateGroupAddress(false));
        objects.push_back(times.back().get());
    }
    Register(11, VOK_DAYSWITCHTIME, &objects);
    Register(6, VOK_DAYROUTINE, &objects);
    CParameterDlg dlg(nullptr, nullptr);
    CMainTableView view;
    view.resize(300, 200);
    view.SetDispatcher(&dlg);
    dlg.SetPanes(nullptr, &view, nullptr, nullptr);
    view.show();
    view.CreateTableBox(11, nullptr);
    CFakeTable* pTable = TableOf(view);
    QApplication::clipboard()->setText("kept");

    uitest::Click(pTable->viewport(), pTable->GetItemRect(1).center());
    uitest::PressWindowKey(&view, Qt::Key_C, Qt::ControlModifier);
    ASSERT_EQ(dlg.GetClipboard().GetCount(), 1U);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "kept");

    uitest::PressWindowKey(&view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(pTable->GetSelectedCount(), 3);
    EXPECT_FALSE(pTable->IsItemSelected(pTable->GetNewEntryRow()));
    uitest::PressWindowKey(&view, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(dlg.GetClipboard().GetCount(), 3U);

    uitest::PressWindowKey(&view, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(pTable->m_pasted.size(), 3U);
    uitest::PressWindowKey(&view, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(pTable->m_pasted.size(), 6U);
    EXPECT_TRUE(pTable->m_edits.empty());

    // A table that does not copy leaves the clipboard alone.
    view.CreateTableBox(6, nullptr);
    uitest::Click(view.GetTableBox()->viewport(), view.GetTableBox()->GetItemRect(0).center());
    uitest::PressWindowKey(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(dlg.GetClipboard().GetCount(), 3U);
    for (auto& pTime : times) {
        pTime->SetGroupAddress(nullptr);
    }
}

bool ShowsCursor(const QWidget* pWidget, UINT nCursor) {
    return pWidget->cursor().pixmap().toImage() == platform::ui::LoadCursorResource(nCursor).pixmap().toImage();
}

// Rows dragged with the mouse: the selected rows all drop on the table under
// the pointer, the cursor tells whether a drop is possible, and a drag
// released where no table takes it still counts as a change.
TEST_F(MainTableBoxTest, DraggedRowsDropWithTheirSelectionAndEveryDragEnds) {
    uitest::CEditingRun run(true);
    CFakeObject a("a", 1), b("b", 2), c("c", 3);
    std::vector<CObject*> objects{&a, &b, &c};
    Register(11, VOK_DAYSWITCHTIME, &objects);
    CParameterDlg dlg(nullptr, nullptr);
    QWidget frame;
    frame.resize(620, 300);
    CMainTableView view(&frame);
    view.setGeometry(0, 0, 300, 300);
    view.SetDispatcher(&dlg);
    dlg.SetPanes(nullptr, &view, nullptr, nullptr);
    frame.show();
    view.CreateTableBox(11, nullptr);
    CFakeTable* pTable = TableOf(view);
    pTable->SetDragEnabled(true);
    QWidget* pViewport = pTable->viewport();
    const auto rowPoint = [&](int nRow) { return pTable->GetItemRect(nRow).center(); };

    uitest::Click(pViewport, rowPoint(0));
    uitest::Click(pViewport, rowPoint(1), Qt::LeftButton, Qt::ControlModifier);
    g_bDataModified = false;
    uitest::Drag(pViewport, rowPoint(1), pViewport, rowPoint(2));
    EXPECT_EQ(pTable->m_pasted, (std::vector<CObject*>{&a, &b}));
    EXPECT_TRUE(g_bDataModified);
    EXPECT_FALSE(pTable->IsDragging());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_TRUE(pTable->IsItemSelected(0));
    EXPECT_TRUE(pTable->IsItemSelected(1));

    // Over its own rows a drop is possible, beside the table it is not.
    pTable->m_pasted.clear();
    uitest::MousePress(pViewport, rowPoint(0));
    uitest::MouseMove(pViewport, rowPoint(0) + QPoint(0, 8));
    ASSERT_TRUE(pTable->IsDragging());
    EXPECT_TRUE(ShowsCursor(pViewport, CMainTableBox::kCursorDrop));
    const QPoint ptBeside = pViewport->mapFrom(&frame, QPoint(450, 150));
    uitest::MouseMove(pViewport, ptBeside);
    EXPECT_TRUE(ShowsCursor(pViewport, CMainTableBox::kCursorNoDrop));
    g_bDataModified = false;
    uitest::MouseRelease(pViewport, ptBeside);
    EXPECT_FALSE(pTable->IsDragging());
    EXPECT_TRUE(pTable->m_pasted.empty());
    EXPECT_TRUE(g_bDataModified);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    frame.hide();
}

}  // namespace
