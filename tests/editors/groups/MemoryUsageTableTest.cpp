// The utilisation table: its rows and figures, when it brings them up to
// date, and that it offers nothing to edit.

#include "app/Chronoset.h"
#include "editors/groups/GroupEditors.h"
#include "editors/groups/MemoryUsageTable.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/DaySwitchTime.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/Quantities.h"
#include "model/Quantity.h"
#include "model/QuantityMember.h"
#include "model/SpecialDays.h"
#include "model/Summertimes.h"
#include "platform/base/PrivateProfile.h"
#include "platform/ui/CmdUI.h"
#include "tests/editors/EditorTestSupport.h"
#include "ui/ViewNotify.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

#include <string>
#include <vector>

namespace {

class CEnableRecorder : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        m_nEnabled = bOn ? 1 : 0;
        CCmdUI::Enable(bOn);
    }
    int m_nEnabled = -1;
};

class MemoryUsageTableTest : public editortest::CEditorTest {
protected:
    using Row = Texts;
    using Rows = std::vector<Texts>;

    void SetUp() override { InstallGroupEditors(); }
    void TearDown() override { CMainTableView::RegisterTableClass(CMemoryUsageTable::kTableType, nullptr); }
    // The row whose first column is the name.
    static Row RowNamed(const CMainTableBox& table, const std::string& strName) {
        for (const Row& row : AllRows(table)) {
            if (!row.empty() && row[0] == strName) {
                return row;
            }
        }
        return {};
    }

    CChronoset& Set() { return m_run.Chronoset(); }

    CMemoryUsageTable* Open(CMainTableView& view) {
        view.resize(400, 300);
        view.CreateTableBox(CMemoryUsageTable::kTableType, nullptr);
        return dynamic_cast<CMemoryUsageTable*>(view.GetTableBox());
    }

    static VIEWNOTIFY Record(int nType, int nKind, int nFlag, CObject* pObject) {
        VIEWNOTIFY notify;
        notify.nType = nType;
        notify.nKind = nKind;
        notify.nFlag = nFlag;
        notify.pObject = pObject;
        return notify;
    }

    uitest::CEditingRun m_run{true};
};

TEST_F(MemoryUsageTableTest, EmptySetShowsEveryTableWithItsSizeInOrder) {
    CMainTableView view;
    CMemoryUsageTable* pTable = Open(view);
    ASSERT_NE(pTable, nullptr);
    ASSERT_EQ(pTable->GetColumnCount(), 5);
    const QTreeWidgetItem* pHeader = pTable->headerItem();
    EXPECT_EQ(pHeader->text(0).toStdString(), "Feldname");
    EXPECT_EQ(pHeader->text(1).toStdString(), "Größe");
    EXPECT_EQ(pHeader->text(2).toStdString(), "belegt");
    EXPECT_EQ(pHeader->text(3).toStdString(), "(%)");
    EXPECT_EQ(pHeader->text(4).toStdString(), "frei");
    EXPECT_EQ(pTable->GetColumnFormat(0) & 3, LVCFMT_LEFT);
    EXPECT_EQ(pTable->GetColumnFormat(1) & 3, LVCFMT_RIGHT);
    EXPECT_EQ(pTable->GetColumnFormat(2) & 3, LVCFMT_RIGHT);
    EXPECT_EQ(pTable->GetColumnFormat(3) & 3, LVCFMT_CENTER);
    EXPECT_EQ(pTable->GetColumnFormat(4) & 3, LVCFMT_RIGHT);
    // The stored widths of the section, defaults on a fresh ini: widened
    // where the texts need it.
    EXPECT_GT(pTable->GetColumnWidth(0), QFontMetrics(pTable->font()).horizontalAdvance("Adressen und Objekte"));
    EXPECT_EQ(pTable->GetColumnWidth(4), 55);

    EXPECT_EQ(AllRows(*pTable), (Rows{
                                   {"Adressen und Objekte", "", "", "", ""},
                                   {"   Gruppenadressen", "250", "0", "(0%)", "250"},
                                   {"   Objekte", "250", "0", "(0%)", "250"},
                                   {"   Zuordnungen", "250", "0", "(0%)", "250"},
                                   {"", "", "", "", ""},
                                   {"Zeiten", "", "", "", ""},
                                   {"   Tagesabläufe", "15", "0", "(0%)", "15"},
                                   {"   Schaltzeiten", "800", "0", "(0%)", "800"},
                                   {"   Sondertage", "100", "0", "(0%)", "100"},
                                   {"   Sommerzeiten", "10", "0", "(0%)", "10"},
                                   {"", "", "", "", ""},
                                   {"Mengen", "", "", "", ""},
                                   {"   Mengen", "30", "0", "(0%)", "30"},
                                   {"   Mengenmitglieder", "300", "0", "(0%)", "300"},
                               }));
    for (int r = 0; r < pTable->GetItemCount(); ++r) {
        EXPECT_EQ(pTable->GetRowObject(r), nullptr) << r;
    }
}

TEST_F(MemoryUsageTableTest, CountsComeFromTheDataAndTheShareIsTruncated) {
    CChronoset& set = Set();
    for (int i = 0; i < 30; ++i) {
        set.GetQuantities()->CreateQuantity();
    }
    CQuantity* pFirst = set.GetQuantities()->GetQuantity(1);
    ASSERT_NE(pFirst, nullptr);
    for (int i = 0; i < 7; ++i) {
        pFirst->CreateMember();
    }
    // Two addresses, one invalid; the valid one is switched by a routine.
    CGroupDataAddress* pValid = set.GetGroupDataAddresses()->CreateGroupAddress(false);
    pValid->SetAddress(0x0801);
    set.GetGroupDataAddresses()->CreateGroupAddress(true)->SetAddress(0x0802);
    CDayRoutine* pRoutine = set.GetDayRoutines()->CreateDayRoutine();
    for (int i = 0; i < 3; ++i) {
        pRoutine->AddSwitchTime(nullptr)->SetGroupAddress(pValid);
    }
    set.GetSpecialDays()->CreateSpecialDay();
    set.GetSummertimes()->CreateSummertime();
    set.GetSummertimes()->CreateSummertime();
    set.GetSummertimes()->CreateSummertime();

    CMainTableView view;
    CMemoryUsageTable* pTable = Open(view);
    ASSERT_NE(pTable, nullptr);
    EXPECT_EQ(RowNamed(*pTable, "   Mengen"), (Row{"   Mengen", "30", "30", "(100%)", "0"}));
    EXPECT_EQ(RowNamed(*pTable, "   Mengenmitglieder"), (Row{"   Mengenmitglieder", "300", "7", "(2%)", "293"}));
    // 1 of 15 is 6.67 per cent: the share is cut, never rounded.
    EXPECT_EQ(RowNamed(*pTable, "   Tagesabläufe"), (Row{"   Tagesabläufe", "15", "1", "(6%)", "14"}));
    EXPECT_EQ(RowNamed(*pTable, "   Schaltzeiten"), (Row{"   Schaltzeiten", "800", "3", "(0%)", "797"}));
    EXPECT_EQ(RowNamed(*pTable, "   Sondertage"), (Row{"   Sondertage", "100", "1", "(1%)", "99"}));
    EXPECT_EQ(RowNamed(*pTable, "   Sommerzeiten"), (Row{"   Sommerzeiten", "10", "3", "(30%)", "7"}));
    // Only the valid list counts as group addresses in use.
    EXPECT_EQ(RowNamed(*pTable, "   Gruppenadressen"), (Row{"   Gruppenadressen", "250", "1", "(0%)", "249"}));
    // The switched address takes one object with its association.
    EXPECT_EQ(RowNamed(*pTable, "   Objekte"), (Row{"   Objekte", "250", "1", "(0%)", "249"}));
    EXPECT_EQ(RowNamed(*pTable, "   Zuordnungen"), (Row{"   Zuordnungen", "250", "1", "(0%)", "249"}));
    EXPECT_EQ(set.GetObjectCount(), 1);
}

TEST_F(MemoryUsageTableTest, RefreshesOnSingleChangesButNotPerMemberOfABatch) {
    CMainTableView view;
    CMemoryUsageTable* pTable = Open(view);
    ASSERT_NE(pTable, nullptr);
    CChronoset& set = Set();

    // A quantity added through its dialog: one plain record.
    CQuantity* pQuantity = set.GetQuantities()->CreateQuantity();
    VIEWNOTIFY added = Record(VN_ADDED, VOK_QUANTITY, 0, pQuantity);
    view.OnViewNotify(&added);
    EXPECT_EQ(added.nHandled, VNH_HANDLED);
    EXPECT_EQ(RowNamed(*pTable, "   Mengen")[2], "1");

    // Members added one by one in a batch carry the flag: no refresh each
    // time; the closing kind-change brings the figures up to date once.
    pQuantity->CreateMember();
    pQuantity->CreateMember();
    VIEWNOTIFY batch = Record(VN_ADDED, VOK_QUANTITYMEMBER, 1, nullptr);
    view.OnViewNotify(&batch);
    EXPECT_EQ(batch.nHandled, 0);
    VIEWNOTIFY removedInBatch = Record(VN_REMOVED, VOK_QUANTITYMEMBER, 1, nullptr);
    view.OnViewNotify(&removedInBatch);
    VIEWNOTIFY changedInBatch = Record(VN_CHANGED, VOK_QUANTITYMEMBER, 1, nullptr);
    view.OnViewNotify(&changedInBatch);
    EXPECT_EQ(RowNamed(*pTable, "   Mengenmitglieder")[2], "0");
    VIEWNOTIFY kinds = Record(VN_KINDS_CHANGED, VOK_ALL, 0, nullptr);
    view.OnViewNotify(&kinds);
    EXPECT_EQ(RowNamed(*pTable, "   Mengenmitglieder")[2], "2");

    // A removed and a changed object refresh as well.
    set.GetDayRoutines()->CreateDayRoutine();
    VIEWNOTIFY changed = Record(VN_CHANGED, VOK_DAYROUTINE, 0, nullptr);
    view.OnViewNotify(&changed);
    EXPECT_EQ(changed.nHandled, VNH_HANDLED);
    EXPECT_EQ(RowNamed(*pTable, "   Tagesabläufe")[2], "1");
    set.GetSpecialDays()->CreateSpecialDay();
    VIEWNOTIFY removed = Record(VN_REMOVED, VOK_SPECIALDAY, 0, nullptr);
    view.OnViewNotify(&removed);
    EXPECT_EQ(RowNamed(*pTable, "   Sondertage")[2], "1");

    // A record another pane has already handled changes nothing; nor do
    // records of other types. The rows stay the same fourteen throughout.
    set.GetSummertimes()->CreateSummertime();
    VIEWNOTIFY handled = Record(VN_ADDED, VOK_SUMMERTIME, 0, nullptr);
    handled.nHandled = VNH_HANDLED;
    view.OnViewNotify(&handled);
    VIEWNOTIFY activate = Record(VN_ACTIVATE, 0, 0, nullptr);
    view.OnViewNotify(&activate);
    EXPECT_EQ(RowNamed(*pTable, "   Sommerzeiten")[2], "0");
    EXPECT_EQ(pTable->GetItemCount(), 14);
}

TEST_F(MemoryUsageTableTest, OffersNoEditDeleteNewOrUsageAndKeepsOnlyItsWidths) {
    {
        CMainTableView view;
        CMemoryUsageTable* pTable = Open(view);
        ASSERT_NE(pTable, nullptr);
        pTable->OnSelectAll();
        std::vector<CObject*> objects;
        EXPECT_EQ(pTable->GetSelectedObjects(objects), 0);
        for (UINT nId : {ID_TABLE_EDIT, ID_TABLE_DELETE, ID_TABLE_USAGE, ID_TABLE_NEW}) {
            CEnableRecorder cmdUI;
            cmdUI.m_nID = nId;
            cmdUI.DoUpdate(pTable, FALSE);
            EXPECT_EQ(cmdUI.m_nEnabled, 0) << nId;
        }
        pTable->setColumnWidth(0, 170);
    }
    const std::string strIni = m_dir.File("Vek_ZR02.ini");
    EXPECT_EQ(platform::GetPrivateProfileInt("UtilizationTable", "Column1", -1, strIni), 170);
    EXPECT_EQ(platform::GetPrivateProfileString("UtilizationTable", "Pos1", "<none>", strIni), "<none>");
    EXPECT_EQ(platform::GetPrivateProfileString("UtilizationTable", "Pref1", "<none>", strIni), "<none>");
}

// The row writer on its own, for counts the data cannot produce.
class CRowProbe : public CMemoryUsageTable {
public:
    using CMemoryUsageTable::AddDataRow;
};

TEST_F(MemoryUsageTableTest, DataRowsStaySaneForFailedCountsEmptySizesAndOverfullTables) {
    CRowProbe table;
    table.InitColumns();
    // A failed count shows neither a number nor a share nor a free count.
    table.AddDataRow("Objekte", 250, -1);
    // A table of size 0 has no share to divide out.
    table.AddDataRow("Leer", 0, 0);
    // More entries than the device holds (an old file): over 100 per cent
    // and a negative free count, both visible as such.
    table.AddDataRow("Voll", 250, 260);
    EXPECT_EQ(AllRows(table), (Rows{
                                 {"   Objekte", "250", "", "", ""},
                                 {"   Leer", "0", "0", "(0%)", "0"},
                                 {"   Voll", "250", "260", "(104%)", "-10"},
                             }));
}

}  // namespace
