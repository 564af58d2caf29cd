// The tooltip window: shown for the tip under a resting pointer, placed
// below it and kept inside the owner, hidden by buttons, and absent when
// [Common] ToolTips is 0.

#include "platform/base/PrivateProfile.h"
#include "platform/base/WinApp.h"
#include "platform/base/WindowStyles.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/ui/TestEnvironment.h"
#include "ui/ToolTipOwner.h"
#include "ui/ToolTipWnd.h"

#include <QListWidget>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// An owner with one tip over its left half (or everywhere).
class CTipOwner : public QWidget, public IToolTipOwner {
public:
    CTipOwner() {
        setGeometry(100, 100, 300, 200);
    }
    int OnToolTipHitTest(const QPoint& ptClient) override {
        ++m_nHitTests;
        return (m_bEverywhere || ptClient.x() < width() / 2) ? m_nTip : 0;
    }
    std::string OnToolTipGetText(int nId) override {
        m_arrAsked.push_back(nId);
        return m_strText;
    }

    int m_nTip = 40020;
    bool m_bEverywhere = false;
    std::string m_strText = "Kopieren";
    int m_nHitTests = 0;
    std::vector<int> m_arrAsked;
};

// The pointer and the activation as the test sets them.
class CTestToolTip : public CToolTipWnd {
public:
    using CToolTipWnd::CToolTipWnd;
    QPoint m_ptCursor;
    bool m_bActive = true;

protected:
    QPoint GetCursorScreenPos() const override { return m_ptCursor; }
    bool IsOwnerActive() const override { return m_bActive; }
};

QMouseEvent Mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons) {
    return QMouseEvent(type, QPointF(5, 5), QPointF(5, 5), button, buttons, Qt::NoModifier);
}

class ToolTipWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_app.SetProfileName(m_dir.File("Vek_ZR02.ini"));
        m_owner.show();
        m_origin = m_owner.mapToGlobal(QPoint(0, 0));
    }
    void TearDown() override { m_owner.hide(); }

    bool TimerSet(CToolTipWnd& tip) {
        CWndTimers* pTimers = CWndTimers::Of(&tip, false);
        return pTimers != nullptr && pTimers->IsTimerSet(CToolTipWnd::kTimerId);
    }

    uitest::CTempDir m_dir;
    CWinApp m_app;
    CTipOwner m_owner;
    QPoint m_origin;
};

TEST_F(ToolTipWndTest, RestingPointerShowsTheTipBelowItAndMovesWithIt) {
    CTestToolTip tip(0);
    ASSERT_TRUE(tip.Create(&m_owner, WS_BORDER));
    EXPECT_FALSE(tip.Create(&m_owner, WS_BORDER));
    EXPECT_FALSE(tip.isVisible());
    tip.m_ptCursor = m_origin + QPoint(20, 30);

    const QMouseEvent move = Mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
    tip.RelayEvent(&move);
    EXPECT_TRUE(TimerSet(tip));
    EXPECT_FALSE(tip.isVisible());
    EXPECT_EQ(CWndTimers::Of(&tip, false)->GetElapse(CToolTipWnd::kTimerId), 200u);
    ASSERT_TRUE(uitest::TickTimer(&tip, CToolTipWnd::kTimerId));
    EXPECT_TRUE(tip.isVisible());
    EXPECT_EQ(tip.GetCurrentTip(), 40020);
    EXPECT_EQ(tip.GetWindowText(), "Kopieren");
    EXPECT_EQ(tip.pos(), m_origin + QPoint(20, 30 + 32 * 6 / 10));
    // Text extent plus twice the margin, plus the border.
    const QFontMetrics metrics(tip.font());
    EXPECT_EQ(tip.size(), QSize(metrics.horizontalAdvance("Kopieren") + 4 + 2, metrics.height() + 4 + 2));

    // The same tip again: not asked for its text again, not moved.
    tip.m_ptCursor += QPoint(3, 0);
    tip.RelayEvent(&move);
    EXPECT_EQ(m_owner.m_arrAsked.size(), 1u);
    EXPECT_EQ(tip.pos(), m_origin + QPoint(20, 30 + 19));

    // Off the tip area, out of the owner, or the owner inactive: hidden.
    tip.m_ptCursor = m_origin + QPoint(250, 30);
    uitest::TickTimer(&tip, CToolTipWnd::kTimerId);
    EXPECT_FALSE(tip.isVisible());
    EXPECT_EQ(tip.GetCurrentTip(), 0);
    EXPECT_FALSE(TimerSet(tip));
    tip.m_ptCursor = m_origin + QPoint(20, 30);
    tip.UpdateTip();
    EXPECT_TRUE(tip.isVisible());
    tip.m_ptCursor = m_origin + QPoint(-5, 30);
    tip.UpdateTip();
    EXPECT_FALSE(tip.isVisible());
    tip.m_ptCursor = m_origin + QPoint(20, 30);
    tip.m_bActive = false;
    tip.UpdateTip();
    EXPECT_FALSE(tip.isVisible());
}

TEST_F(ToolTipWndTest, NearTheOwnersEdgesTheTipStaysInsideAndFlipsAbove) {
    m_owner.m_bEverywhere = true;
    CTestToolTip tip(0);
    ASSERT_TRUE(tip.Create(&m_owner, WS_BORDER));

    // Right edge: moved left by the excess.
    tip.m_ptCursor = m_origin + QPoint(295, 30);
    tip.UpdateTip();
    ASSERT_TRUE(tip.isVisible());
    EXPECT_EQ(tip.pos().x() + tip.width(), m_origin.x() + 300);
    EXPECT_EQ(tip.pos().y(), m_origin.y() + 30 + 19);

    // Bottom edge: above the pointer.
    tip.UpdateTip();
    m_owner.m_nTip = 40009;
    tip.m_ptCursor = m_origin + QPoint(20, 195);
    tip.UpdateTip();
    ASSERT_TRUE(tip.isVisible());
    EXPECT_EQ(tip.pos(), m_origin + QPoint(20, 195 + 19 - 38));

    // Placement 5: at the pointer.
    CTestToolTip atPointer(5);
    ASSERT_TRUE(atPointer.Create(&m_owner, 0));
    atPointer.m_ptCursor = m_origin + QPoint(295, 195);
    atPointer.UpdateTip();
    EXPECT_EQ(atPointer.pos(), m_origin + QPoint(295, 195));
}

TEST_F(ToolTipWndTest, ButtonsHideTheTipAndItComesBackAfterTheRelease) {
    CTestToolTip tip(0);
    ASSERT_TRUE(tip.Create(&m_owner, WS_BORDER));
    tip.m_ptCursor = m_origin + QPoint(20, 30);
    tip.UpdateTip();
    ASSERT_TRUE(tip.isVisible());

    const QMouseEvent press = Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    tip.RelayEvent(&press);
    EXPECT_FALSE(tip.isVisible());
    EXPECT_FALSE(TimerSet(tip));
    // Moving with a button down does nothing.
    const QMouseEvent drag = Mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);
    tip.RelayEvent(&drag);
    EXPECT_FALSE(TimerSet(tip));
    const QMouseEvent release = Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    tip.RelayEvent(&release);
    EXPECT_FALSE(tip.isVisible());
    EXPECT_TRUE(TimerSet(tip));
    uitest::TickTimer(&tip, CToolTipWnd::kTimerId);
    EXPECT_TRUE(tip.isVisible());

    const QMouseEvent right = Mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton);
    tip.RelayEvent(&right);
    EXPECT_FALSE(tip.isVisible());
}

TEST_F(ToolTipWndTest, TextsAreCutToTheBufferAndAnEmptyTextShowsNothing) {
    CTestToolTip tip(0);
    ASSERT_TRUE(tip.Create(&m_owner, 0));
    tip.m_ptCursor = m_origin + QPoint(20, 30);
    m_owner.m_strText = std::string(100, 'x');
    tip.UpdateTip();
    EXPECT_EQ(tip.GetWindowText(), std::string(79, 'x'));

    // Never half a character.
    tip.UpdateTip();
    m_owner.m_nTip = 2;
    std::string strUmlauts;
    for (int i = 0; i < 50; ++i) {
        strUmlauts += "ä";
    }
    m_owner.m_strText = strUmlauts;
    tip.UpdateTip();
    EXPECT_EQ(tip.GetWindowText(), strUmlauts.substr(0, 78));

    m_owner.m_nTip = 3;
    m_owner.m_strText.clear();
    tip.UpdateTip();
    EXPECT_FALSE(tip.isVisible());
    EXPECT_EQ(tip.GetCurrentTip(), 0);
}

TEST_F(ToolTipWndTest, AnOwnerThatGoesFirstLeavesTheTipWithoutWindow) {
    CTestToolTip tip(0);
    {
        CTipOwner owner;
        owner.show();
        ASSERT_TRUE(tip.Create(&owner, 0));
        tip.m_ptCursor = owner.mapToGlobal(QPoint(10, 10));
        tip.UpdateTip();
        EXPECT_TRUE(tip.isVisible());
    }
    EXPECT_FALSE(tip.HasWindow());
    EXPECT_FALSE(tip.isVisible());
    const QMouseEvent move = Mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
    tip.RelayEvent(&move);
    tip.UpdateTip();
    EXPECT_FALSE(tip.isVisible());
}

// A list as owner: a tip per row, found by the list's own hit test of a
// viewport point; it relays the moves that reach it.
class CTipList : public QListWidget, public IToolTipOwner {
public:
    CTipList() {
        setGeometry(100, 100, 200, 150);
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(3);
        viewport()->setMouseTracking(true);
        for (int i = 0; i < 5; ++i) {
            addItem(QString::number(i));
        }
    }
    int OnToolTipHitTest(const QPoint& ptClient) override {
        const QListWidgetItem* pItem = itemAt(ptClient);
        return pItem != nullptr ? row(pItem) + 1 : 0;
    }
    std::string OnToolTipGetText(int nId) override { return "Zeile " + std::to_string(nId); }

    CToolTipWnd* m_pTip = nullptr;

protected:
    void mouseMoveEvent(QMouseEvent* pEvent) override {
        m_pTip->RelayEvent(pEvent);
        QListWidget::mouseMoveEvent(pEvent);
    }
};

TEST_F(ToolTipWndTest, AListsTipsAreFoundInItsViewport) {
    CTipList list;
    CTestToolTip tip(0);
    list.m_pTip = &tip;
    list.show();
    ASSERT_TRUE(tip.Create(&list, 0));
    QWidget* pViewport = list.viewport();
    // The last pixel line of the first row.
    const QPoint pt(5, list.visualItemRect(list.item(0)).bottom());
    uitest::MouseMove(pViewport, pt);
    EXPECT_TRUE(TimerSet(tip));
    tip.m_ptCursor = pViewport->mapToGlobal(pt);
    uitest::TickTimer(&tip, CToolTipWnd::kTimerId);
    ASSERT_TRUE(tip.isVisible());
    EXPECT_EQ(tip.GetCurrentTip(), 1);
    EXPECT_EQ(tip.GetWindowText(), "Zeile 1");
    // Over the list's frame, outside its client area: no tip.
    tip.m_ptCursor = list.mapToGlobal(QPoint(1, 1));
    tip.UpdateTip();
    EXPECT_FALSE(tip.isVisible());
}

TEST_F(ToolTipWndTest, SwitchedOffInTheIniThereIsNoTooltipWindow) {
    ASSERT_TRUE(platform::WritePrivateProfileString("Common", "ToolTips", "0", m_app.GetProfileName()));
    CTestToolTip tip(0);
    EXPECT_FALSE(tip.Create(&m_owner, WS_BORDER));
    EXPECT_FALSE(tip.HasWindow());
    const QMouseEvent move = Mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
    tip.RelayEvent(&move);
    EXPECT_FALSE(TimerSet(tip));
    tip.UpdateTip();
    EXPECT_FALSE(tip.isVisible());
    EXPECT_EQ(m_owner.m_nHitTests, 0);
}

}  // namespace
