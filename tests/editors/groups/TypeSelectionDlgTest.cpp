// The type-selection dialog: the main types the mask and the host's value
// size leave, the chosen main and sub type the caller reads, Cancel and help.

#include "editors/groups/TypeSelectionDlg.h"
#include "model/DptManager.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/support/RecordingHelpService.h"

#include <QComboBox>

#include <gtest/gtest.h>

#include <vector>

namespace {

using TypeDlg = CTypeSelectionDlg;

class TypeSelectionDlgTest : public editortest::CEditorTest {
protected:
    void SetUp() override { g_DptManager.Init(); }

    // The item data of every row of a list.
    static std::vector<int> Rows(const TypeDlg& dlg, UINT nId) {
        auto* pList = dynamic_cast<QComboBox*>(dlg.GetDlgItem(nId));
        std::vector<int> rows;
        for (int i = 0; i < pList->count(); ++i) {
            rows.push_back(static_cast<int>(GetComboItemData(pList, i)));
        }
        return rows;
    }
    static std::vector<int> SubTypesOf(WORD wMainType) {
        std::vector<int> subTypes;
        for (auto pos = g_DptManager.GetFirstSubTypePosition(wMainType); pos != 0;) {
            subTypes.push_back(g_DptManager.GetNextSubType(pos, wMainType)->GetSubType());
        }
        return subTypes;
    }

    uitest::CTestModalRunner m_runner;
};

TEST_F(TypeSelectionDlgTest, OffersOnlyTheTypesOfTheMaskThatFitTheHostSize) {
    struct Case {
        UINT nMask;
        int nHostType;
        std::vector<int> offered;
    };
    const Case cases[] = {{127, 8, {7, 8, 9}},        {0, -1, {1, 2, 5, 6, 7, 8, 9, 10, 11}},
                          {127, -1, {1, 2, 5, 6, 7, 8, 9}}, {4 | 64 | 128, -1, {5, 9, 11}},
                          {127, 9, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mask " << c.nMask << ", host type " << c.nHostType);
        TypeDlg dlg(nullptr);
        dlg.SetName("Licht Flur");
        dlg.SetAddressText("1/2/3");
        dlg.SetAllowedTypeMask(c.nMask);
        dlg.SetHostObjectType(c.nHostType);
        m_runner.Then([&](QDialog&) {
            EXPECT_EQ(Rows(dlg, TypeDlg::IDC_MAIN_TYPE), c.offered);
            EXPECT_EQ(dlg.GetDlgItemText(TypeDlg::IDC_NAME), "Licht Flur");
            EXPECT_EQ(dlg.GetDlgItemText(TypeDlg::IDC_ADDRESS), "1/2/3");
            EXPECT_FALSE(dlg.GetDlgItem(TypeDlg::IDC_SUB_TYPE)->isVisible());
            uitest::Click(dlg.GetDlgItem(IDCANCEL));
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    }
}

TEST_F(TypeSelectionDlgTest, TheChosenMainTypeAndItsFirstSubTypeReachTheCaller) {
    TypeDlg dlg(nullptr);
    dlg.SetHostObjectType(8);
    m_runner.Then([&](QDialog&) {
        EXPECT_EQ(dynamic_cast<QComboBox*>(dlg.GetDlgItem(TypeDlg::IDC_MAIN_TYPE))->currentText(),
                  "2 Byte vorzeichenlos");
        EXPECT_EQ(Rows(dlg, TypeDlg::IDC_SUB_TYPE), SubTypesOf(7));
        uitest::PressKey(dlg.GetDlgItem(TypeDlg::IDC_MAIN_TYPE), Qt::Key_End);
        // The sub types follow the chosen main type, in the table's order.
        EXPECT_EQ(Rows(dlg, TypeDlg::IDC_SUB_TYPE), SubTypesOf(9));
        uitest::Click(dlg.GetDlgItem(IDOK));
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_FALSE(SubTypesOf(9).empty());
    EXPECT_EQ(dlg.GetMainType(), 9);
    EXPECT_EQ(dlg.GetSubType(), SubTypesOf(9).front());

    // Date has no sub types; the preselected row is taken.
    TypeDlg date(nullptr);
    date.SetAllowedTypeMask(128 | 256);
    date.SetHostObjectType(9);
    date.SetMainIndex(1);
    m_runner.Then([&](QDialog&) { uitest::PressWindowKey(&date, Qt::Key_Return); });
    EXPECT_EQ(date.DoModal(), IDOK);
    EXPECT_EQ(date.GetMainType(), 11);
    EXPECT_EQ(date.GetSubType(), 0);
}

TEST_F(TypeSelectionDlgTest, CancelLeavesTheTypeUnsetAndHelpOpensTheApplicationPage) {
    CRecordingHelpService help;
    TypeDlg dlg(nullptr);
    dlg.SetHostObjectType(7);
    m_runner.Then([&](QDialog&) {
        uitest::PressKey(dlg.GetDlgItem(TypeDlg::IDC_MAIN_TYPE), Qt::Key_Down);
        uitest::Click(dlg.GetDlgItem(TypeDlg::IDC_HELP_BUTTON));
        uitest::PressWindowKey(&dlg, Qt::Key_F1);
        uitest::PressWindowKey(&dlg, Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.GetMainType(), 0);
    EXPECT_EQ(dlg.GetSubType(), 0);
    EXPECT_EQ(help.GetContexts(), (std::vector<DWORD>{TypeDlg::kHelpContext, TypeDlg::kHelpContext}));
}

}  // namespace
