// The quantities table: its rows and sort, the limit of 30 before the
// dialog opens, and deleting quantities with their members, driven through
// the window.

#include "app/Chronoset.h"
#include "editors/groups/GroupEditors.h"
#include "editors/groups/QuantitiesTable.h"
#include "model/DptManager.h"
#include "model/Quantities.h"
#include "model/Quantity.h"
#include "model/QuantityMember.h"
#include "tests/editors/EditorTestSupport.h"
#include "platform/base/PrivateProfile.h"
#include "ui/ParameterDlg.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QHeaderView>

#include <string>

namespace {

class QuantitiesTableTest : public editortest::CEditorTest {
protected:
    void SetUp() override {
        g_DptManager.Init();
        InstallGroupEditors();
        m_view.SetDispatcher(&m_dlg);
        m_dlg.SetPanes(nullptr, &m_view, nullptr, nullptr);
    }
    void TearDown() override { m_view.DeleteTableBox(); }

    CQuantities& Quantities() { return *m_run.Chronoset().GetQuantities(); }
    CQuantity* AddQuantity(const std::string& strName, int nMainType, int nSubType, WORD wRangeA) {
        CQuantity* pQuantity = Quantities().CreateQuantity();
        pQuantity->SetName(strName);
        pQuantity->SetType({nMainType, nSubType});
        pQuantity->SetRangeA(wRangeA);
        return pQuantity;
    }
    CQuantitiesTable* Open() {
        return OpenTable<CQuantitiesTable>(m_view, CQuantitiesTable::kTableType, nullptr, 600, 300);
    }

    uitest::CEditingRun m_run{true};
    uitest::CTestModalRunner m_runner;
    CScriptedMessageBoxSink m_boxes;
    CParameterDlg m_dlg{nullptr, nullptr};
    CMainTableView m_view;
};

TEST_F(QuantitiesTableTest, RowsShowTheQuantitiesAndRangesSortByValue) {
    CQuantity* pHundred = AddQuantity("Heizung", 5, 10, 100);
    CQuantity* pTwenty = AddQuantity("Licht", 5, 10, 20);
    CQuantitiesTable* pTable = Open();
    ASSERT_NE(pTable, nullptr);
    ASSERT_EQ(pTable->GetItemCount(), 3);
    EXPECT_EQ(pTable->GetItemText(pTable->GetNewEntryRow(), 0), "*** neue Menge ***");
    const int nRow = pTable->FindRowOfObject(pTwenty);
    EXPECT_EQ(pTable->GetItemText(nRow, 0), "02:");
    EXPECT_EQ(pTable->GetItemText(nRow, 1), "Licht");
    EXPECT_EQ(pTable->GetItemText(nRow, 3).rfind("bis ", 0), 0u);
    EXPECT_EQ(pTable->GetColumnFormat(0) & 3, LVCFMT_RIGHT);
    // Range A by value: 20 before 100, whatever the texts say.
    pTable->SortByColumn(3);
    EXPECT_EQ(pTable->GetItemData(0), pTwenty);
    EXPECT_EQ(pTable->GetItemData(1), pHundred);
    EXPECT_EQ(pTable->GetItemData(2), nullptr);
}

TEST_F(QuantitiesTableTest, TheThirtyFirstIsRefusedBeforeTheDialogOpens) {
    for (int i = 0; i < CQuantitiesTable::kMaxQuantities; ++i) {
        AddQuantity("M", 1, 1, 0);
    }
    CQuantitiesTable* pTable = Open();
    CScriptedMessageBoxSink::Expectation full;
    full.text = "Die maximale Anzahl von Mengen ist erreicht.";
    full.caption = "Mengen ausgelastet";
    m_boxes.Expect(full).Expect(full);
    uitest::PressKey(pTable, Qt::Key_Insert);
    // End scrolls the new-entry row into view.
    uitest::PressWindowKey(&m_view, Qt::Key_End);
    uitest::DoubleClick(pTable->viewport(), pTable->GetItemRect(pTable->GetNewEntryRow()).center());
    EXPECT_EQ(m_boxes.GetShown().size(), 2u);
    EXPECT_EQ(m_runner.GetRunCount(), 0);
    EXPECT_EQ(Quantities().GetCount(), CQuantitiesTable::kMaxQuantities);
}

TEST_F(QuantitiesTableTest, DeletingAsksWithTheMemberCountAndTakesTheMembersAlong) {
    CQuantity* pFull = AddQuantity("Voll", 1, 1, 0);
    for (int i = 0; i < 3; ++i) {
        pFull->CreateMember();
    }
    CQuantity* pEmpty = AddQuantity("Leer", 1, 1, 0);
    CQuantity* pKept = AddQuantity("Bleibt", 1, 1, 0);
    CQuantitiesTable* pTable = Open();
    uitest::Click(pTable->viewport(), pTable->GetItemRect(pTable->FindRowOfObject(pFull)).center());
    uitest::Click(pTable->viewport(), pTable->GetItemRect(pTable->FindRowOfObject(pEmpty)).center(), Qt::LeftButton,
                  Qt::ControlModifier);
    const std::string strQuestion =
        "Wollen Sie die ausgewählten 2 Mengen löschen? Dadurch werden auch 3 Mengenmitglieder gelöscht.";
    m_boxes.ExpectText(strQuestion, IDNO);
    uitest::PressWindowKey(&m_view, Qt::Key_Delete);
    EXPECT_EQ(Quantities().GetCount(), 3);
    EXPECT_FALSE(g_bDataModified);

    m_boxes.ExpectText(strQuestion, IDYES);
    uitest::PressWindowKey(&m_view, Qt::Key_Delete);
    ASSERT_EQ(Quantities().GetCount(), 1);
    EXPECT_EQ(Quantities().GetQuantityList().front(), pKept);
    EXPECT_EQ(Quantities().GetTotalMemberCount(), 0);
    EXPECT_TRUE(g_bDataModified);
    ASSERT_EQ(pTable->GetItemCount(), 2);
    EXPECT_EQ(pTable->GetItemData(0), pKept);
}

TEST_F(QuantitiesTableTest, DefaultWidthsGrowToTheTextsAndTheUsersWidthStays) {
    AddQuantity("Dämmerung", 5, 1, 20);
    CQuantitiesTable* pTable = Open();
    const QFontMetrics metrics(pTable->font());
    auto needs = [&](const std::string& strText) { return metrics.horizontalAdvance(QString::fromStdString(strText)); };
    // "*** neue Menge ***" does not fit the 45 pixels of "ME Nr.", nor
    // "Warmstart" the 55 of its column; "ME Name" keeps its 100.
    EXPECT_GT(pTable->GetColumnWidth(0), needs(pTable->GetItemText(pTable->GetNewEntryRow(), 0)));
    EXPECT_GT(pTable->GetColumnWidth(6), needs(pTable->headerItem()->text(6).toStdString()));
    EXPECT_EQ(pTable->GetColumnWidth(1), 100);

    // The user narrows "ME Nr." on the header's divider; that width is kept,
    // a fitted one is stored as the default it came from.
    QHeaderView* pHeader = pTable->header();
    const int nDivider = pHeader->sectionViewportPosition(0) + pHeader->sectionSize(0) - 1;
    const int y = pHeader->height() / 2;
    uitest::Drag(pHeader->viewport(), QPoint(nDivider, y), pHeader->viewport(), QPoint(nDivider - 40, y));
    const int nUsers = pTable->GetColumnWidth(0);
    EXPECT_LT(nUsers, needs("*** neue Menge ***"));
    m_view.DeleteTableBox();
    const std::string strIni = m_dir.File("Vek_ZR02.ini");
    EXPECT_EQ(platform::GetPrivateProfileString("QuantitiesTable", "Column1", "", strIni), std::to_string(nUsers));
    EXPECT_EQ(platform::GetPrivateProfileString("QuantitiesTable", "Column7", "", strIni), "55");
    pTable = Open();
    EXPECT_EQ(pTable->GetColumnWidth(0), nUsers);
    EXPECT_GT(pTable->GetColumnWidth(6), needs(pTable->headerItem()->text(6).toStdString()));
}

}  // namespace
