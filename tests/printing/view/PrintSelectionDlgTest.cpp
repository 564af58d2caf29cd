// The print data selection: the tree of the device's sections, the switch
// between all data and a selection as the user picks entries, what OK hands
// the report view and what reopening shows of it.

#include "app/Chronoset.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "common/Globals.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/WinApp.h"
#include "printing/param/ParamPrintItem.h"
#include "printing/param/ParamReportOwner.h"
#include "printing/view/PrintSelectionDlg.h"
#include "printing/view/PrintSelectionListBox.h"
#include "resources/de/BuiltInResources.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/support/RecordingHelpService.h"
#include "tests/ui/TestEnvironment.h"
#include "tools/SampleData.h"
#include "ui/TreeListItem.h"

#include <QCursor>

#include <algorithm>
#include <memory>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using SelectionDlg = CPrintSelectionDlg;
using Texts = std::vector<std::string>;
using Items = std::vector<std::pair<int, int>>;

class CTestReportOwner : public CParamReportOwner {
public:
    BOOL DoPreparePrinting(CPrintInfo* /*pInfo*/) override { return TRUE; }
};

// The sample's tree, two blanks of indent per level.
const Texts kSampleRows = {"Allgemein",       "Zeitschaltprogramm", "  Tagesabläufe",  "    01: Arbeitstag",
                           "    02: Wochenende", "    03: Feiertag",   "  Wochenablauf",  "  Sommerzeiten",
                           "  Sondertage",    "Mengen",             "  01: Dämmerung", "    Auslöser",
                           "    Mitglieder",  "  02: Abwesenheit",  "    Auslöser",     "    Mitglieder",
                           "Gruppenadressen", "Auslastung"};
const Texts kCaptions = {"Zeitschaltprogramm", "  01: Dämmerung", "  02: Abwesenheit"};

class PrintSelectionDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pPreviousModule = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
        m_app.SetProfileName(m_dir.File("Vek_ZR02.ini"));
        m_pPreviousSet = g_pChronoset;
        m_bPreviousStandalone = g_bStandalone;
        BuildSampleParameterSet(m_set);
        g_pChronoset = &m_set;
        g_bStandalone = false;
    }
    void TearDown() override {
        g_pChronoset = m_pPreviousSet;
        g_bStandalone = m_bPreviousStandalone;
        platform::SetFrameworkResourceModule(m_pPreviousModule);
    }

    static CPrintSelectionListBox& List(const SelectionDlg& dlg) { return *dlg.GetListBox(); }
    // The rows' texts, two blanks of indent per level; only the selected ones
    // when asked.
    static Texts Rows(const SelectionDlg& dlg, bool bSelectedOnly = false) {
        Texts rows;
        for (int i = 0; i < List(dlg).count(); ++i) {
            const CTreeListItem* pItem = List(dlg).GetItem(i);
            if (!bSelectedOnly || List(dlg).item(i)->isSelected()) {
                rows.push_back(std::string(2 * static_cast<std::size_t>(pItem->GetLevel()), ' ') + pItem->GetTextRef());
            }
        }
        return rows;
    }
    static Texts Without(Texts rows, const Texts& left) {
        std::erase_if(rows, [&](const std::string& s) { return std::find(left.begin(), left.end(), s) != left.end(); });
        return rows;
    }
    // The row of the nth entry with that text.
    static int RowOf(const SelectionDlg& dlg, const std::string& strRow, int nOccurrence = 0) {
        const Texts rows = Rows(dlg);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i] == strRow && nOccurrence-- == 0) {
                return static_cast<int>(i);
            }
        }
        ADD_FAILURE() << "no row " << strRow;
        return -1;
    }
    static QPoint TextPoint(const SelectionDlg& dlg, int nRow) {
        List(dlg).scrollToItem(List(dlg).item(nRow));
        uitest::ProcessEvents();
        QRect rect;
        List(dlg).GetItemTextRect(nRow, rect);
        return {rect.left() + 4, rect.center().y()};
    }
    static void ClickRow(const SelectionDlg& dlg, const std::string& strRow, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                         int nOccurrence = 0) {
        uitest::Click(List(dlg).viewport(), TextPoint(dlg, RowOf(dlg, strRow, nOccurrence)), Qt::LeftButton, modifiers);
    }
    // The checked radio button.
    static std::string Mode(const SelectionDlg& dlg) {
        return std::string(dlg.IsDlgButtonChecked(SelectionDlg::IDC_ALL) ? "Alles" : "") +
               (dlg.IsDlgButtonChecked(SelectionDlg::IDC_SELECTION) ? "Selektion" : "");
    }
    static bool OkEnabled(const SelectionDlg& dlg) { return dlg.GetDlgItem(IDOK)->isEnabled(); }
    static Items ItemsOf(const CParamReportOwner& owner) {
        Items items;
        for (const auto& pItem : owner.GetPrintItems()) {
            items.emplace_back(pItem->GetType(), pItem->GetIndex());
        }
        return items;
    }
    static Items AllData() { return ItemsOf(CTestReportOwner()); }

    uitest::CTempDir m_dir;
    CWinApp m_app;
    uitest::CTestModalRunner m_runner;
    CChronoset m_set;
    CChronoset* m_pPreviousSet = nullptr;
    bool m_bPreviousStandalone = false;
    const platform::CResourceModule* m_pPreviousModule = nullptr;
};

TEST_F(PrintSelectionDlgTest, AllDataSelectsEverySectionOfTheTreeAndCutTextsGetATip) {
    const std::string strLong = "Arbeitstag mit einem Namen, der nicht in die Liste passt, und noch mehr";
    m_set.GetDayRoutines()->FindDayRoutine(1)->SetName(strLong);
    Texts rows = kSampleRows;
    rows[3] = "    01: " + strLong;
    CTestReportOwner owner;
    SelectionDlg dlg(&owner, nullptr);
    m_runner.Then([&](QDialog&) {
        EXPECT_EQ(Rows(dlg), rows);
        EXPECT_EQ(Rows(dlg, true), Without(rows, kCaptions));
        EXPECT_EQ(Mode(dlg), "Alles");

        // The tip shows the whole text of a cut row, none over a short one.
        dlg.activateWindow();
        uitest::ProcessEvents();
        CToolTipWnd& tip = List(dlg).GetToolTip();
        ASSERT_TRUE(tip.HasWindow());
        for (const auto& [strRow, bTip] : {std::pair<std::string, bool>{rows[3], true}, {"Mengen", false}}) {
            const QPoint pt = TextPoint(dlg, RowOf(dlg, strRow));
            QCursor::setPos(List(dlg).viewport()->mapToGlobal(pt));
            uitest::MouseMove(List(dlg).viewport(), pt);
            uitest::TickTimer(&tip, CToolTipWnd::kTimerId);
            EXPECT_EQ(tip.isVisible(), bTip) << strRow;
            if (bTip) {
                EXPECT_EQ(tip.GetWindowText(), "01: " + strLong);
            }
        }
        uitest::Click(dlg.GetDlgItem(IDCANCEL));
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(PrintSelectionDlgTest, LeavingOneSectionOutMeansSelectionAndNothingSelectedDisablesOk) {
    CTestReportOwner owner;
    owner.SetPrintSelection(PRINT_SELECTION_CHOSEN);
    SelectionDlg dlg(&owner, nullptr);
    m_runner.Then([&](QDialog&) {
        // Nothing chosen before: nothing to confirm until "Alles".
        EXPECT_FALSE(OkEnabled(dlg));
        uitest::PressWindowKey(&dlg, Qt::Key_Return);
        EXPECT_TRUE(dlg.isVisible());
        uitest::Click(dlg.GetDlgItem(SelectionDlg::IDC_ALL));
        EXPECT_TRUE(OkEnabled(dlg));
        ClickRow(dlg, "    02: Wochenende", Qt::ControlModifier);
        EXPECT_EQ(Rows(dlg, true), Without(kSampleRows, Texts{"Zeitschaltprogramm", "    02: Wochenende",
                                                              "  01: Dämmerung", "  02: Abwesenheit"}));
        EXPECT_EQ(Mode(dlg), "Selektion");
        // Captions stand for no section and never stay selected.
        ClickRow(dlg, "Zeitschaltprogramm", Qt::ControlModifier);
        ClickRow(dlg, "  02: Abwesenheit", Qt::ControlModifier);
        EXPECT_EQ(Rows(dlg, true).size(), 14U);
        ClickRow(dlg, "    02: Wochenende", Qt::ControlModifier);
        EXPECT_EQ(Rows(dlg, true), Without(kSampleRows, kCaptions));
        EXPECT_EQ(Mode(dlg), "Alles");
        // A plain click on a caption leaves nothing selected.
        ClickRow(dlg, "Zeitschaltprogramm");
        EXPECT_TRUE(Rows(dlg, true).empty());
        EXPECT_FALSE(OkEnabled(dlg));
        EXPECT_EQ(Mode(dlg), "Selektion");
        ClickRow(dlg, "Mengen", Qt::ShiftModifier);
        EXPECT_EQ(Rows(dlg, true), (Texts{"  Tagesabläufe", "    01: Arbeitstag", "    02: Wochenende",
                                          "    03: Feiertag", "  Wochenablauf", "  Sommerzeiten", "  Sondertage",
                                          "Mengen"}));
        uitest::Click(dlg.GetDlgItem(IDOK));
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(owner.GetPrintSelection(), PRINT_SELECTION_CHOSEN);
    EXPECT_EQ(ItemsOf(owner), (Items{{2, 0}, {3, 1}, {3, 2}, {3, 3}, {4, 0}, {5, 0}, {6, 0}, {8, 0}}));
}

TEST_F(PrintSelectionDlgTest, TheChosenSectionsReachTheViewAndAreChosenAgainWhenReopened) {
    CTestReportOwner owner;
    SelectionDlg dlg(&owner, nullptr);
    m_runner.Then([&](QDialog&) {
        ClickRow(dlg, "  Wochenablauf");
        ClickRow(dlg, "    Auslöser", Qt::ControlModifier, 1);
        ClickRow(dlg, "Auslastung", Qt::ControlModifier);
        EXPECT_EQ(Mode(dlg), "Selektion");
        uitest::Click(dlg.GetDlgItem(IDOK));
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    const Items chosen = {{4, 0}, {9, 2}, {12, 0}};
    EXPECT_EQ(owner.GetPrintSelection(), PRINT_SELECTION_CHOSEN);
    EXPECT_EQ(ItemsOf(owner), chosen);

    // Reopened: exactly those; a change then cancelled leaves the view as it
    // was. Help opens the dialog's page.
    CRecordingHelpService help;
    SelectionDlg again(&owner, nullptr);
    m_runner.Then([&](QDialog&) {
        EXPECT_EQ(Rows(again, true), (Texts{"  Wochenablauf", "    Auslöser", "Auslastung"}));
        EXPECT_TRUE(List(again).item(RowOf(again, "    Auslöser", 1))->isSelected());
        EXPECT_EQ(Mode(again), "Selektion");
        ClickRow(again, "Allgemein", Qt::ControlModifier);
        uitest::Click(again.GetDlgItem(SelectionDlg::IDC_ALL));
        uitest::Click(again.GetDlgItem(SelectionDlg::IDC_HELP_BUTTON));
        uitest::PressWindowKey(&again, Qt::Key_F1);
        uitest::Click(again.GetDlgItem(IDCANCEL));
    });
    EXPECT_EQ(again.DoModal(), IDCANCEL);
    EXPECT_EQ(owner.GetPrintSelection(), PRINT_SELECTION_CHOSEN);
    EXPECT_EQ(ItemsOf(owner), chosen);
    EXPECT_EQ(help.GetContexts(), (std::vector<DWORD>{SelectionDlg::kHelpContext, SelectionDlg::kHelpContext}));
}

TEST_F(PrintSelectionDlgTest, OkWithAllGivesTheWholeDataListWhateverTheListShows) {
    CTestReportOwner owner;
    owner.SetPrintSelection(PRINT_SELECTION_CHOSEN);
    owner.AddPrintItem(std::make_unique<CParamPrintItem>(PRINT_ITEM_GENERAL, 0));
    SelectionDlg dlg(&owner, nullptr);
    m_runner.Then([&](QDialog&) {
        EXPECT_EQ(Rows(dlg, true), Texts{"Allgemein"});
        EXPECT_EQ(Mode(dlg), "Selektion");
        // The day routines folded away: "all" can no longer select them.
        const int nRow = RowOf(dlg, "  Tagesabläufe");
        const QPoint ptText = TextPoint(dlg, nRow);
        int nButton = 0;
        int nIndent = 0;
        int nImage = 0;
        List(dlg).GetItemIndents(List(dlg).GetItem(nRow), nButton, nIndent, nImage);
        const QPoint ptButton(nButton + nIndent - 3 * List(dlg).GetButtonSize().width() / 2, ptText.y());
        uitest::Click(List(dlg).viewport(), ptButton, Qt::LeftButton, Qt::ControlModifier);
        EXPECT_EQ(RowOf(dlg, "  Wochenablauf"), nRow + 1);
        uitest::Click(dlg.GetDlgItem(SelectionDlg::IDC_ALL));
        EXPECT_EQ(Rows(dlg, true).size(), 12U);
        EXPECT_EQ(Mode(dlg), "Alles");
        uitest::Click(dlg.GetDlgItem(IDOK));
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(owner.GetPrintSelection(), PRINT_SELECTION_ALL);
    EXPECT_EQ(ItemsOf(owner), AllData());
}

TEST_F(PrintSelectionDlgTest, ADeviceWithoutQuantitiesShowsQuantitiesWithoutChildren) {
    CChronoset empty;
    g_pChronoset = &empty;
    CTestReportOwner owner;
    SelectionDlg dlg(&owner, nullptr);
    m_runner.Then([&](QDialog&) {
        const Texts rows = {"Allgemein", "Zeitschaltprogramm", "  Tagesabläufe", "  Wochenablauf", "  Sommerzeiten",
                            "  Sondertage", "Mengen", "Gruppenadressen", "Auslastung"};
        EXPECT_EQ(Rows(dlg), rows);
        EXPECT_TRUE(List(dlg).GetItem(RowOf(dlg, "Mengen"))->IsLeaf());
        EXPECT_EQ(Rows(dlg, true), Without(rows, Texts{"Zeitschaltprogramm"}));
        uitest::PressWindowKey(&dlg, Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

}  // namespace
