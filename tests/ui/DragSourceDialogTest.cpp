// The drag strip: items packed left to right, a drag only from an item,
// the parent asked at every move and told of the drop wherever it happens,
// the cursor following the answers, and no focus taken from the parent.

#include "platform/base/ResourceLibrary.h"
#include "platform/base/WindowStyles.h"
#include "resources/de/BuiltInResources.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "ui/DragSourceDialog.h"
#include "ui/DragSourceParent.h"

#include <QApplication>
#include <QLineEdit>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace {

using uitest::ProcessEvents;

struct Call {
    int nItemData;
    QPoint ptScreen;
    bool operator==(const Call&) const = default;
};

class CDropParent : public QWidget, public IDragSourceParent {
public:
    int OnDragSourceQuery(int nItemData, const QPoint& ptScreen) override {
        m_queries.push_back({nItemData, ptScreen});
        return m_nAnswer;
    }
    void OnDragSourceDrop(int nItemData, const QPoint& ptScreen) override { m_drops.push_back({nItemData, ptScreen}); }

    int m_nAnswer = 0;
    std::vector<Call> m_queries;
    std::vector<Call> m_drops;
};

class DragSourceDialogTest : public ::testing::Test {
protected:
    static constexpr UINT kStripId = 1234;

    void SetUp() override {
        m_pPreviousModule = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
        m_parent.setGeometry(50, 50, 400, 200);
        m_pEdit = new QLineEdit(&m_parent);
        m_pEdit->setGeometry(10, 100, 100, 20);
        m_parent.show();
        m_parent.activateWindow();
        m_pEdit->setFocus();
        ASSERT_TRUE(m_strip.Create(208, 16, 16, 3, &m_parent, WS_VISIBLE, kStripId));
        ASSERT_NE(m_strip.AddItem("Hauptgruppe", 0, 1, 118), nullptr);
        ASSERT_NE(m_strip.AddItem("Mittelgruppe", 1, 2, 118), nullptr);
        ASSERT_NE(m_strip.AddItem("Untergruppe", -1, 3, 118), nullptr);
        ProcessEvents();
        // The items learn their places when painted.
        m_strip.grab();
    }
    void TearDown() override {
        platform::SetFrameworkResourceModule(m_pPreviousModule);
        while (QApplication::overrideCursor() != nullptr) {
            QApplication::restoreOverrideCursor();
        }
    }

    // The mouse through the window, at points of the strip.
    void Press(const QPoint& pt) { uitest::MousePress(&m_strip, pt); }
    void Move(const QPoint& pt) { uitest::MouseMove(&m_strip, pt); }
    void Release(const QPoint& pt) { uitest::MouseRelease(&m_strip, pt); }

    const platform::CResourceModule* m_pPreviousModule = nullptr;
    CDropParent m_parent;
    QLineEdit* m_pEdit = nullptr;
    CDragSourceDialog m_strip;
};

TEST_F(DragSourceDialogTest, StripSpansTheParentTopAndPacksItsItems) {
    EXPECT_EQ(m_strip.geometry(), QRect(0, 0, 400, 18));
    EXPECT_EQ(m_strip.GetRowHeight(), 18);
    EXPECT_EQ(uitest::FindControl(&m_parent, kStripId), &m_strip);
    const DragSourceItem* pFirst = m_strip.GetItem(0);
    const DragSourceItem* pSecond = m_strip.GetItem(1);
    const DragSourceItem* pThird = m_strip.GetItem(2);
    ASSERT_TRUE(pFirst && pSecond && pThird);
    EXPECT_EQ(pFirst->rect.left(), 1);
    EXPECT_EQ(pSecond->rect.left(), pFirst->rect.left() + pFirst->rect.width());
    EXPECT_EQ(pThird->rect.left(), pSecond->rect.left() + pSecond->rect.width());
    EXPECT_EQ(pFirst->rect.height(), 18);
    // An item with an image is wider by the image than the same text alone.
    EXPECT_GT(pFirst->rect.width(), 16 + 20);

    // The strip is full; earlier items stay as they are.
    EXPECT_EQ(m_strip.AddItem("zuviel", 0, 4, 118), nullptr);
    EXPECT_EQ(m_strip.GetItemCount(), 3);

    // Creating again starts empty.
    ASSERT_TRUE(m_strip.Create(208, 16, 16, 1, &m_parent, WS_VISIBLE, kStripId));
    EXPECT_EQ(m_strip.GetItemCount(), 0);
    EXPECT_NE(m_strip.AddItem("eins", 0, 1, 118), nullptr);
    EXPECT_EQ(m_strip.AddItem("zwei", 0, 2, 118), nullptr);
}

TEST_F(DragSourceDialogTest, PressBesideTheItemsStartsNoDrag) {
    const DragSourceItem* pLast = m_strip.GetItem(2);
    const QPoint ptEmpty(pLast->rect.left() + pLast->rect.width() + 5, 5);
    Press(ptEmpty);
    EXPECT_FALSE(m_strip.IsDragging());
    Move(ptEmpty + QPoint(10, 60));
    Release(ptEmpty + QPoint(10, 60));
    EXPECT_TRUE(m_parent.m_queries.empty());
    EXPECT_TRUE(m_parent.m_drops.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(DragSourceDialogTest, DragAsksTheParentAtEveryMoveAndReportsTheDrop) {
    const QPoint ptItem = m_strip.GetItem(1)->rect.center();
    Press(ptItem);
    ASSERT_TRUE(m_strip.IsDragging());
    EXPECT_EQ(m_strip.GetDraggedItem(), m_strip.GetItem(1));
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    const QCursor noDrop = *QApplication::overrideCursor();

    m_parent.m_nAnswer = 1;
    Move(QPoint(50, 80));
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    const QCursor drop = *QApplication::overrideCursor();
    EXPECT_NE(drop.pixmap().cacheKey(), noDrop.pixmap().cacheKey());
    // The parent answers 0 at the release point, over the edit: the strip
    // keeps the mouse, and the drop is still reported there for the parent
    // to judge.
    m_parent.m_nAnswer = 0;
    Move(QPoint(60, 110));
    EXPECT_EQ(QApplication::overrideCursor()->pixmap().cacheKey(), noDrop.pixmap().cacheKey());
    Release(QPoint(60, 110));

    const std::vector<Call> queries{{2, m_strip.mapToGlobal(QPoint(50, 80))}, {2, m_strip.mapToGlobal(QPoint(60, 110))}};
    EXPECT_EQ(m_parent.m_queries, queries);
    EXPECT_EQ(m_parent.m_drops, (std::vector<Call>{{2, m_strip.mapToGlobal(QPoint(60, 110))}}));
    EXPECT_FALSE(m_strip.IsDragging());
    EXPECT_EQ(m_strip.GetDraggedItem(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Without a drag, moves and releases say nothing to the parent.
    Move(QPoint(70, 90));
    Release(QPoint(70, 90));
    EXPECT_EQ(m_parent.m_queries.size(), 2u);
    EXPECT_EQ(m_parent.m_drops.size(), 1u);
}

TEST_F(DragSourceDialogTest, ClickingTheStripLeavesTheFocusAndTheActivationWithTheParent) {
    ProcessEvents();
    ASSERT_TRUE(m_pEdit->hasFocus());
    const QPoint ptItem = m_strip.GetItem(0)->rect.center();
    uitest::Click(&m_strip, ptItem);
    const DragSourceItem* pLast = m_strip.GetItem(2);
    uitest::Click(&m_strip, QPoint(pLast->rect.left() + pLast->rect.width() + 5, 5));
    ProcessEvents();
    EXPECT_TRUE(m_pEdit->hasFocus());
    EXPECT_TRUE(m_parent.isActiveWindow());
    EXPECT_EQ(m_parent.m_drops, (std::vector<Call>{{1, m_strip.mapToGlobal(ptItem)}}));
}

}  // namespace
