// The sub-group table and the dialog of a new sub group against the host
// stand-in: rows with the addresses the parametrisation holds marked and
// kept out of the selection, "Übernehmen" handed to the insertion dialog
// that owns the pane, two-level numbering and the refresh after a new sub
// group.

#include "HostGroupsTest.h"

#include "access/EtsDataAccess.h"
#include "access/HostObjectMaps.h"
#include "editors/groups/SubGroupEditDlg.h"
#include "editors/groups/SubGroupEntry.h"
#include "editors/groups/SubGroupTable.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/InternalClock.h"
#include "tests/support/RecordingHelpService.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QColor>
#include <QDialog>
#include <QImage>
#include <QMenu>

namespace {

using grouptest::Json;
using SubGroupDlg = CSubGroupEditDlg;

// Main 1 (10) / middle 2 (11) with sub groups 3 "Uhrzeit" (12), 4 "Licht"
// (13), 5 "Zentral Aus" (14, central, pass-through), 7 "Heizung" (15,
// "Bad"), 9 "Rollo" (16); main 0 (20) / middle 0 (21) with 1 (22) and 2 (23).
Json SubGroupProject() {
    Json project = apptest::ProjectWithGroups({{10, 1, 11, 2, 12, 3},
                                               {10, 1, 11, 2, 13, 4},
                                               {10, 1, 11, 2, 14, 5},
                                               {10, 1, 11, 2, 15, 7},
                                               {10, 1, 11, 2, 16, 9},
                                               {20, 0, 21, 0, 22, 1},
                                               {20, 0, 21, 0, 23, 2}});
    Json& subs = project["projects"][0]["mainGroups"][0]["middleGroups"][0]["groupAddresses"];
    const char* const names[] = {"Uhrzeit", "Licht", "Zentral Aus", "Heizung", "Rollo"};
    for (std::size_t i = 0; i < 5; ++i) {
        subs[i]["name"] = names[i];
    }
    subs[2].update({{"central", true}, {"passThrough", true}});
    subs[3]["description"] = "Bad";
    return project;
}

// The insertion dialog as the table sees it: it takes the selected rows,
// marks them listed and names the first as its result.
class CTestInsertionDialog : public QWidget, public ISubGroupTableOwner {
public:
    SubGroupTableOptions GetSubGroupTableOptions() const override { return m_options; }
    void ApplySubGroups(CSubGroupTable& table) override {
        std::vector<CSubGroupEntry*> taken;
        for (int i = 0; i < table.GetDataRowCount(); ++i) {
            if (table.IsRowSelected(i)) {
                taken.push_back(dynamic_cast<CSubGroupEntry*>(table.GetRowObject(i)));
            }
        }
        for (CSubGroupEntry* pEntry : taken) {
            m_applied.push_back(pEntry->m_nHostId);
            table.MarkEntryListed(pEntry);
        }
        table.SetFirstAddedAddress(&m_added);
    }
    void SetResultAddress(CGroupDataAddress* pAddress) override { m_pResult = pAddress; }

    SubGroupTableOptions m_options;
    std::vector<int> m_applied;
    CGroupDataAddress m_added;
    CGroupDataAddress* m_pResult = nullptr;
};

class SubGroupTableTest : public grouptest::HostGroupsTest {
protected:
    // The clock's time address is 1/2/3, the valid list holds 1/2/4.
    void StartWithListedAddresses() {
        Start(SubGroupProject());
        auto* pTime = new CGroupDataAddress();
        pTime->SetAddress(0x1203);
        Set().GetInternalClock()->SetTimeGroupAddress(pTime);
        Set().GetGroupDataAddresses()->CreateGroupAddress(false)->SetAddress(0x1204);
    }
    static int RowOf(CSubGroupTable& table, const std::string& strName) {
        for (int i = 0; i < table.GetItemCount(); ++i) {
            if (table.GetItemText(i, 1) == strName) {
                return i;
            }
        }
        return -1;
    }
    int Run(SubGroupDlg& dlg, const std::function<void(SubGroupDlg&)>& script) {
        m_runner.Then([&](QDialog&) { script(dlg); });
        return dlg.DoModal();
    }

    CTestInsertionDialog m_owner;
    uitest::CTestPopupMenuRunner m_menus;
};

TEST_F(SubGroupTableTest, RowsOfAMiddleGroupMarkWhatTheParametrisationHolds) {
    StartWithListedAddresses();
    auto* pTable = OpenTable<CSubGroupTable>(18, 11);
    ASSERT_NE(pTable, nullptr);
    // Without an insertion dialog the default options hold.
    EXPECT_EQ(pTable->GetOwner(), nullptr);
    EXPECT_EQ(pTable->GetOptions().nAllowedTypeMask, 127u);
    EXPECT_TRUE(pTable->GetOptions().bCreateInList);
    EXPECT_EQ(pTable->headerItem()->text(4).toStdString(), "ZF");
    EXPECT_EQ(Column(*pTable, 2), (Texts {"3", "4", "5", "7", "9"}));
    EXPECT_EQ(RowTexts(*pTable, 2), (Texts {"", "Zentral Aus", "5", "+", "+", ""}));
    EXPECT_EQ(RowTexts(*pTable, 3), (Texts {"", "Heizung", "7", "-", "-", "Bad"}));
    // Clock and list addresses are listed (image 0), the others not (2).
    std::vector<int> images;
    for (int i = 0; i < pTable->GetItemCount(); ++i) {
        images.push_back(pTable->GetItemImage(i));
    }
    EXPECT_EQ(images, (std::vector<int> {0, 0, 2, 2, 2}));
    // The symbols' black is their mask: the row shows through, never a
    // black square; the listed rows' tag is green.
    const QImage drawn = pTable->viewport()->grab().toImage();
    for (int nRow = 0; nRow < 3; ++nRow) {
        const QRect rcRow = pTable->GetItemRect(nRow);
        int nBlack = 0;
        int nGreen = 0;
        for (int y = rcRow.top(); y <= rcRow.bottom(); ++y) {
            for (int x = 0; x < pTable->GetColumnWidth(0); ++x) {
                const QColor colour = drawn.pixelColor(x, y);
                nBlack += colour.red() < 16 && colour.green() < 16 && colour.blue() < 16 ? 1 : 0;
                nGreen += colour.green() > colour.red() + 40 && colour.green() > colour.blue() + 40 ? 1 : 0;
            }
        }
        EXPECT_EQ(nBlack, 0) << "row " << nRow;
        EXPECT_EQ(nGreen > 0, nRow < 2) << "row " << nRow;
    }
    const auto* pEntry = dynamic_cast<const CSubGroupEntry*>(pTable->GetRowObject(2));
    ASSERT_NE(pEntry, nullptr);
    EXPECT_EQ(pEntry->m_nHostId, 14);
    EXPECT_EQ(pEntry->m_nGroupId, 11);
    EXPECT_EQ(pEntry->m_nHostObjectType, -1);

    // By "ZF": the entries without the central function first.
    ClickHeader(*pTable, 4);
    EXPECT_EQ(Column(*pTable, 1).back(), "Zentral Aus");
    // A sub group whose read fails is left out.
    m_host.AddFault("GroupAddress:15", "get_Description", E_FAIL);
    pTable->RefreshTable();
    EXPECT_EQ(RowOf(*pTable, "Heizung"), -1);
    EXPECT_EQ(pTable->GetItemCount(), 4);
}

TEST_F(SubGroupTableTest, ListedRowsCannotBeSelectedAndApplyGoesToTheInsertionDialog) {
    StartWithListedAddresses();
    auto* pTable = OpenTable<CSubGroupTable>(18, 11, &m_owner);
    ASSERT_NE(pTable, nullptr);
    EXPECT_EQ(pTable->GetOwner(), &m_owner);
    // Row 0 (listed) is not left selected by the start.
    EXPECT_EQ(pTable->GetSelectedCount(), 0);

    uitest::Click(pTable->viewport(), RowPoint(*pTable, 2));
    uitest::Click(pTable->viewport(), RowPoint(*pTable, 0), Qt::LeftButton, Qt::ControlModifier);
    uitest::Click(pTable->viewport(), RowPoint(*pTable, 3), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_FALSE(pTable->IsRowSelected(0));
    EXPECT_EQ(pTable->GetSelectedCount(), 2);

    // The context menu's "Übernehmen" is on and reaches the dialog.
    auto applyAction = [](QMenu& menu) -> QAction* {
        for (QAction* pAction : menu.actions()) {
            if (pAction->text() == "Übernehmen") {
                return pAction;
            }
        }
        return nullptr;
    };
    bool bEnabled = false;
    m_menus.Then([&](QMenu& menu) -> QAction* {
        QAction* pApply = applyAction(menu);
        bEnabled = pApply != nullptr && pApply->isEnabled();
        return pApply;
    });
    uitest::Click(pTable->viewport(), RowPoint(*pTable, 3), Qt::RightButton, Qt::ControlModifier);
    EXPECT_TRUE(bEnabled);
    EXPECT_EQ(m_owner.m_applied, (std::vector<int> {14, 15}));
    EXPECT_EQ(pTable->GetItemImage(2), CSubGroupTable::kListedImage);
    EXPECT_EQ(pTable->GetItemImage(3), CSubGroupTable::kListedImage);
    EXPECT_EQ(m_owner.m_pResult, &m_owner.m_added);
    EXPECT_EQ(pTable->GetSelectedCount(), 0);

    // Only listed rows under the mouse: nothing to take.
    m_menus.Then([&](QMenu& menu) -> QAction* {
        QAction* pApply = applyAction(menu);
        bEnabled = pApply != nullptr && pApply->isEnabled();
        return nullptr;
    });
    uitest::Click(pTable->viewport(), RowPoint(*pTable, 1), Qt::RightButton);
    EXPECT_FALSE(bEnabled);

    // A double click takes the row under it.
    uitest::DoubleClick(pTable->viewport(), RowPoint(*pTable, 4));
    EXPECT_EQ(m_owner.m_applied, (std::vector<int> {14, 15, 16}));

    // The dialog's single selection.
    m_owner.m_options.bSingleSelection = TRUE;
    pTable = OpenTable<CSubGroupTable>(18, 11, &m_owner);
    uitest::Click(pTable->viewport(), RowPoint(*pTable, 2));
    uitest::Click(pTable->viewport(), RowPoint(*pTable, 3), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(pTable->GetSelectedCount(), 1);
}

TEST_F(SubGroupTableTest, ARefreshShowsANewSubGroupAndKeepsTheSelection) {
    StartWithListedAddresses();
    CMainTableBox* pTable = OpenTable<CSubGroupTable>(18, 11);
    ASSERT_NE(pTable, nullptr);
    uitest::Click(pTable->viewport(), pTable->GetItemRect(3).center());
    CEtsDataAccess access;
    ASSERT_GT(access.AddGroupAddress(g_mapProjects.Lookup(1), 1, 2, 6, "Neu", "", "", FALSE), 0);
    pTable->RefreshTable();
    EXPECT_EQ(Column(*pTable, 2), (Texts {"3", "4", "5", "6", "7", "9"}));
    EXPECT_TRUE(pTable->IsRowSelected(4));
    EXPECT_EQ(pTable->GetSelectedCount(), 1);
}

TEST_F(SubGroupTableTest, TheDialogOffersTheLowestFreeNumberAndRefusesOneInUse) {
    Start(SubGroupProject());
    CEtsDataAccess access;
    CRecordingHelpService help;
    // Under 0/0 the numbers start at 1; 1 and 2 are taken.
    SubGroupDlg dlg(&access, 21, 0, 0);
    ExpectRefusal("Untergruppenadresse ist schon vergeben");
    EXPECT_EQ(Run(dlg,
                  [&](SubGroupDlg& d) {
                      EXPECT_EQ(d.GetWindowText(), "Untergruppe bearbeiten");
                      EXPECT_EQ(d.GetDlgItemText(SubGroupDlg::IDC_RANGE), "[1..255]");
                      EXPECT_EQ(d.GetDlgItemText(SubGroupDlg::IDC_NUMBER), "3");
                      EXPECT_EQ(d.GetDlgItemText(SubGroupDlg::IDC_NAME), "Neue Untergruppe");
                      uitest::PressKey(d.GetDlgItem(SubGroupDlg::IDC_NAME), Qt::Key_F1);
                      Retype(d.GetDlgItem(SubGroupDlg::IDC_NUMBER), "2");
                      uitest::Click(d.GetDlgItem(IDOK));
                      EXPECT_TRUE(d.isVisible());
                      EXPECT_TRUE(d.GetDlgItem(SubGroupDlg::IDC_NUMBER)->hasFocus());
                      Retype(d.GetDlgItem(SubGroupDlg::IDC_NUMBER), "200");
                      uitest::Click(d.GetDlgItem(SubGroupDlg::IDC_CENTRAL));
                      uitest::Click(d.GetDlgItem(IDOK));
                  }),
              IDOK);
    EXPECT_EQ(dlg.m_nNumber, 200);
    EXPECT_TRUE(dlg.m_bCentralFunction);
    EXPECT_EQ(help.GetContexts(), (std::vector<DWORD> {SubGroupDlg::kHelpContext}));
}

TEST_F(SubGroupTableTest, TwoLevelAddressesNumberTheSubGroupsWithinTheMainGroup) {
    // Main 3 (30) / middle 0 (31) / sub 1 (32) and middle 2 (33) / sub 1 (34).
    Start(apptest::ProjectWithGroups({{30, 3, 31, 0, 32, 1}, {30, 3, 33, 2, 34, 1}}), 2);
    auto* pTable = OpenTable<CSubGroupTable>(18, 30);
    ASSERT_NE(pTable, nullptr);
    EXPECT_EQ(Column(*pTable, 2), (Texts {"1", "513"}));
    EXPECT_EQ(pTable->GetItemImage(0), -1);

    CEtsDataAccess access;
    SubGroupDlg dlg(&access, 30, 3, 0);
    ExpectRefusal("Untergruppenadresse ist schon vergeben");
    EXPECT_EQ(Run(dlg,
                  [&](SubGroupDlg& d) {
                      EXPECT_EQ(d.GetDlgItemText(SubGroupDlg::IDC_RANGE), "[0..2047]");
                      EXPECT_EQ(d.GetDlgItemText(SubGroupDlg::IDC_NUMBER), "0");
                      Retype(d.GetDlgItem(SubGroupDlg::IDC_NUMBER), "513");
                      uitest::Click(d.GetDlgItem(IDOK));
                      Retype(d.GetDlgItem(SubGroupDlg::IDC_NUMBER), "514");
                      uitest::Click(d.GetDlgItem(IDOK));
                  }),
              IDOK);
    EXPECT_EQ(dlg.m_nNumber, 514);
}

}  // namespace
