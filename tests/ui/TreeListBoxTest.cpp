#include "tests/platform/ui/UiTestHarness.h"
#include "ui/ListItem.h"
#include "ui/MaskedBitmap.h"
#include "ui/TreeListBox.h"
#include "ui/TreeListItem.h"

#include <QFrame>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Rows(const CTreeListBox& box) {
    std::vector<std::string> rows;
    for (int i = 0; i < box.GetRowCount(); ++i) {
        rows.push_back(box.GetItem(i)->GetTextRef());
    }
    return rows;
}

void PressKeypad(CTreeListBox& box, int nKey) {
    uitest::PressKey(&box, nKey, Qt::KeypadModifier);
}

// A: A1 (with A1a, A1b), A2; B: leaf.
class TreeListBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pA = m_box.InsertItem(nullptr, nullptr, new CTreeListItem("A", -1, nullptr), 0);
        m_pB = m_box.InsertItem(nullptr, m_pA, new CTreeListItem("B", -1, nullptr), 1);
        m_pA1 = m_box.InsertItem(m_pA, nullptr, new CTreeListItem("A1", -1, nullptr), 0);
        m_pA2 = m_box.InsertItem(m_pA, m_pA1, new CTreeListItem("A2", -1, nullptr), 0);
        m_pA1a = m_box.InsertItem(m_pA1, nullptr, new CTreeListItem("A1a", -1, nullptr), 0);
        m_box.InsertItem(m_pA1, m_pA1a, new CTreeListItem("A1b", -1, nullptr), 0);
        // A thick frame puts the viewport well inside the box.
        m_box.setFrameStyle(QFrame::Box | QFrame::Plain);
        m_box.setLineWidth(4);
        m_box.setGeometry(100, 100, 200, 200);
        m_box.show();
        uitest::ProcessEvents();
    }

    // The expand button of a shown item, in viewport coordinates.
    QRect ButtonRect(CTreeListItem* pItem) {
        const QRect rcRow = m_box.visualItemRect(m_box.item(m_box.FindItemIndex(pItem)));
        int nButton = 0;
        int nIndent = 0;
        int nImage = 0;
        m_box.GetItemIndents(pItem, nButton, nIndent, nImage);
        const QSize size = m_box.GetButtonSize();
        const int nRight = rcRow.left() + nButton + nIndent - size.width();
        return {QPoint(nRight - size.width(), rcRow.top() + (rcRow.height() - size.height()) / 2), size};
    }

    CTreeListBox m_box;
    CTreeListItem* m_pA = nullptr;
    CTreeListItem* m_pB = nullptr;
    CTreeListItem* m_pA1 = nullptr;
    CTreeListItem* m_pA2 = nullptr;
    CTreeListItem* m_pA1a = nullptr;
};

TEST_F(TreeListBoxTest, OnlyTopLevelItemsGetRowsUntilTheirParentsExpand) {
    EXPECT_EQ(Rows(m_box), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(m_pA1->GetLevel(), 1);
    EXPECT_EQ(m_pA1a->GetLevel(), 2);
    m_box.Expand(m_pA, 1);
    EXPECT_EQ(Rows(m_box), (std::vector<std::string>{"A", "A1", "A2", "B"}));
    // A child inserted under an expanded parent waits for the next expand.
    m_box.InsertItem(m_pA, m_pA2, new CTreeListItem("A3", -1, nullptr), 0);
    EXPECT_EQ(Rows(m_box), (std::vector<std::string>{"A", "A1", "A2", "B"}));
    m_box.Collapse(m_pA);
    m_box.Expand(m_pA, 1);
    EXPECT_EQ(Rows(m_box), (std::vector<std::string>{"A", "A1", "A2", "A3", "B"}));
    EXPECT_EQ(m_box.FindItemIndex(m_pB), 4);
    EXPECT_EQ(m_box.FindItemIndex(m_pA1a), -1);
    EXPECT_EQ(m_pA->GetChildCount(true, false), 5);
    EXPECT_EQ(m_pA1->GetChildCount(false, true), 0);
}

TEST_F(TreeListBoxTest, KeypadKeysExpandOneLevelAllLevelsOrCollapse) {
    m_box.setCurrentRow(0);
    PressKeypad(m_box, Qt::Key_Plus);
    EXPECT_EQ(Rows(m_box), (std::vector<std::string>{"A", "A1", "A2", "B"}));
    PressKeypad(m_box, Qt::Key_Minus);
    EXPECT_EQ(Rows(m_box), (std::vector<std::string>{"A", "B"}));
    m_box.setCurrentRow(0);
    PressKeypad(m_box, Qt::Key_Asterisk);
    EXPECT_EQ(Rows(m_box), (std::vector<std::string>{"A", "A1", "A1a", "A1b", "A2", "B"}));
    // A leaf does not expand.
    m_box.setCurrentRow(5);
    PressKeypad(m_box, Qt::Key_Asterisk);
    EXPECT_EQ(m_box.GetRowCount(), 6);
    EXPECT_FALSE(m_pB->IsExpanded());
}

TEST_F(TreeListBoxTest, ClicksOnTheButtonAndDoubleClicksOnTheTextToggleANode) {
    m_box.Expand(m_pA, 1);
    ASSERT_EQ(Rows(m_box), (std::vector<std::string>{"A", "A1", "A2", "B"}));
    // The button's corners, as the viewport gets them.
    const QRect rcButton = ButtonRect(m_pA1);
    uitest::Click(m_box.viewport(), rcButton.topLeft());
    EXPECT_EQ(Rows(m_box), (std::vector<std::string>{"A", "A1", "A1a", "A1b", "A2", "B"}));
    uitest::Click(m_box.viewport(), rcButton.bottomRight());
    EXPECT_EQ(Rows(m_box), (std::vector<std::string>{"A", "A1", "A2", "B"}));
    EXPECT_EQ(m_box.currentRow(), 1);

    QRect rcText;
    m_box.GetItemTextRect(1, rcText);
    uitest::DoubleClick(m_box.viewport(), rcText.topLeft() + QPoint(2, 2));
    EXPECT_TRUE(m_pA1->IsExpanded());
    EXPECT_EQ(m_box.GetRowCount(), 6);
    // A leaf stays as it is.
    m_box.GetItemTextRect(5, rcText);
    uitest::DoubleClick(m_box.viewport(), rcText.center());
    EXPECT_EQ(m_box.GetRowCount(), 6);
}

TEST_F(TreeListBoxTest, DeletingAnExpandedNodeRemovesItsVisibleSubtree) {
    m_box.Expand(m_pA, 0);
    ASSERT_EQ(m_box.GetRowCount(), 6);
    m_box.DeleteItem(m_pA1);
    EXPECT_EQ(Rows(m_box), (std::vector<std::string>{"A", "A2", "B"}));
    EXPECT_EQ(m_pA->GetFirstChild(), m_pA2);
    EXPECT_EQ(m_pA2->GetPrevSibling(), nullptr);
    m_box.DeleteItem(m_pA);
    EXPECT_EQ(Rows(m_box), (std::vector<std::string>{"B"}));
    EXPECT_EQ(m_box.GetFirstRootItem(), m_pB);
    m_box.DeleteAllItems();
    EXPECT_EQ(m_box.GetRowCount(), 0);
    EXPECT_EQ(m_box.GetItem(-1), nullptr);
}

TEST_F(TreeListBoxTest, DisplayOrderPutsAncestorsFirstAndFollowsSiblings) {
    EXPECT_TRUE(m_pA->IsBefore(m_pA1a));
    EXPECT_FALSE(m_pA1a->IsBefore(m_pA));
    EXPECT_TRUE(m_pA1a->IsBefore(m_pA2));
    EXPECT_TRUE(m_pA2->IsBefore(m_pB));
    EXPECT_FALSE(m_pB->IsBefore(m_pA1));
}

TEST_F(TreeListBoxTest, ImageStripSetsIndentAndRowHeight) {
    CMaskedBitmap strip;
    QImage images(64, 16, QImage::Format_RGB32);
    images.fill(Qt::white);
    QImage mask(64, 16, QImage::Format_RGB32);
    mask.fill(Qt::black);
    ASSERT_TRUE(strip.LoadImages(images, mask, 16));
    EXPECT_EQ(m_box.GetIndent(), 18);
    m_box.SetImageStrip(&strip);
    EXPECT_EQ(m_box.GetIndent(), 21);
    EXPECT_GE(m_box.GetItemHeight(), 20);
    int nButton = 0;
    int nIndent = 0;
    int nImage = 0;
    m_box.GetItemIndents(m_pA1a, nButton, nIndent, nImage);
    EXPECT_EQ(nButton, 0);
    EXPECT_EQ(nIndent, 42);
    EXPECT_EQ(nImage, 16);
    m_box.SetImageStrip(nullptr);
    EXPECT_EQ(m_box.GetIndent(), 18);
}

TEST(ListItemTest, GroupNodesShowTheMarkedImageForAMarkedDescendant) {
    CTreeListBox box;
    auto* pGroup = new CListItem("G", 1, 2, nullptr, 2);
    pGroup->SetNodeKind(6);
    auto* pPlain = new CListItem("P", 1, 2, nullptr, 2);
    box.InsertItem(nullptr, nullptr, pGroup, 0);
    box.InsertItem(nullptr, pGroup, pPlain, 0);
    auto* pChild = new CListItem("C", 3, 4, nullptr, 2);
    box.InsertItem(pGroup, nullptr, pChild, 0);
    auto* pGrand = new CListItem("GC", 3, 4, std::malloc(8), LIDO_MEMORY);
    box.InsertItem(pChild, nullptr, pGrand, 1);
    auto* pPlainChild = new CListItem("PC", 3, 4, nullptr, 2);
    box.InsertItem(pPlain, nullptr, pPlainChild, 1);

    EXPECT_EQ(pGroup->GetImage(), 1);
    pGrand->SetState(static_cast<WORD>(pGrand->GetState() | TLIS_MARKED));
    EXPECT_EQ(pGroup->GetImage(), 2);
    pPlainChild->SetState(static_cast<WORD>(pPlainChild->GetState() | TLIS_MARKED));
    EXPECT_EQ(pPlain->GetImage(), 1);  // not a group node
    EXPECT_EQ(pPlainChild->GetImage(), 4);
    // The box frees the owned memory block with its item.
}

}  // namespace
