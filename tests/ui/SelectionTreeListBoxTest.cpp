#include "tests/platform/ui/UiTestHarness.h"
#include "ui/SelectionTreeListBox.h"
#include "ui/TreeListItem.h"

#include <QStyleOptionViewItem>

#include <gtest/gtest.h>

#include <set>

namespace {

// Draws its rows plainly and notes what passes through it.
class CNotingSelectionBox : public CSelectionTreeListBox {
public:
    CNotingSelectionBox() : CSelectionTreeListBox(nullptr) {}

    void DrawSelectionRow(QPainter& painter, const QStyleOptionViewItem& option, int nRow) override {
        m_drawnRows.insert(nRow);
        DrawRow(painter, option.rect, nRow, (option.state & QStyle::State_Selected) != 0, false);
    }

    std::set<int> m_drawnRows;
    int m_nToggles = 0;

protected:
    void Toggle(CTreeListItem* pItem) override {
        ++m_nToggles;
        CSelectionTreeListBox::Toggle(pItem);
    }
};

// R, expanded, with A (which holds the leaf A1) and the leaf B.
class SelectionTreeListBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        CTreeListItem* pRoot = m_box.InsertItem(nullptr, nullptr, new CTreeListItem("R", -1, nullptr), 0);
        m_pA = m_box.InsertItem(pRoot, nullptr, new CTreeListItem("A", -1, nullptr), 0);
        m_box.InsertItem(m_pA, nullptr, new CTreeListItem("A1", -1, nullptr), 1);
        m_box.InsertItem(pRoot, m_pA, new CTreeListItem("B", -1, nullptr), 1);
        m_box.Expand(pRoot, 1);
        m_box.setGeometry(100, 100, 200, 200);
        m_box.show();
        uitest::ProcessEvents();
    }

    QPoint TextPoint(int nRow) const {
        QRect rcText;
        m_box.GetItemTextRect(nRow, rcText);
        return rcText.topLeft() + QPoint(2, 2);
    }
    // The middle of A's expand button.
    QPoint ButtonPoint() const {
        int nButton = 0;
        int nIndent = 0;
        int nImage = 0;
        m_box.GetItemIndents(m_pA, nButton, nIndent, nImage);
        const QRect rcRow = m_box.visualItemRect(m_box.item(1));
        return {rcRow.left() + nButton + nIndent - m_box.GetButtonSize().width() * 3 / 2, rcRow.center().y()};
    }

    CNotingSelectionBox m_box;
    CTreeListItem* m_pA = nullptr;
};

TEST_F(SelectionTreeListBoxTest, OnlyTheLeftButtonSelectsAndTheDerivedBoxDrawsEveryRow) {
    m_box.setCurrentRow(0);
    uitest::Click(m_box.viewport(), TextPoint(2), Qt::RightButton);
    uitest::Click(m_box.viewport(), TextPoint(2), Qt::MiddleButton);
    EXPECT_EQ(m_box.currentRow(), 0);
    uitest::Click(m_box.viewport(), TextPoint(2));
    EXPECT_EQ(m_box.currentRow(), 2);

    m_box.m_drawnRows.clear();
    m_box.viewport()->grab();
    EXPECT_EQ(m_box.m_drawnRows, (std::set<int>{0, 1, 2}));
}

TEST_F(SelectionTreeListBoxTest, TheButtonAndADoubleClickOnTheTextToggleThroughTheDerivedBox) {
    uitest::Click(m_box.viewport(), ButtonPoint());
    EXPECT_EQ(m_box.m_nToggles, 1);
    EXPECT_TRUE(m_pA->IsExpanded());
    EXPECT_EQ(m_box.GetRowCount(), 4);
    uitest::DoubleClick(m_box.viewport(), TextPoint(1));
    EXPECT_EQ(m_box.m_nToggles, 2);
    EXPECT_FALSE(m_pA->IsExpanded());
    EXPECT_EQ(m_box.GetRowCount(), 3);
    // A press of another button on the expand button does nothing.
    uitest::Click(m_box.viewport(), ButtonPoint(), Qt::RightButton);
    EXPECT_EQ(m_box.m_nToggles, 2);
    EXPECT_FALSE(m_pA->IsExpanded());
}

}  // namespace
