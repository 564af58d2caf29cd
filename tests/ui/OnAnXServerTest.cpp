// What only a real X server shows: the toolbar's tip lets the click through
// to the button under it, and a closing dialog gives the keyboard back to
// its window only when no other program took it.

#include "platform/base/ResourceLibrary.h"
#include "platform/base/WinApp.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ModalRunner.h"
#include "resources/de/BuiltInResources.h"
#include "tests/ui/TestEnvironment.h"
#include "tests/ui/XServerTest.h"
#include "ui/DialogToolBar.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <iterator>
#include <vector>

namespace {

constexpr UINT kHelp = 869;
constexpr UINT kPrint = 40007;
constexpr UINT kButtons[] = {40020, 40009, ID_SEPARATOR, kPrint, ID_SEPARATOR, 40006, ID_SEPARATOR, kHelp,
                             ID_SEPARATOR, 40022};

class CHostDialog : public CDialog {
public:
    CHostDialog() {
        resize(500, 300);
        for (UINT nId : {kHelp, kPrint}) {
            MapCommand(nId, [this, nId]() { m_arrCommands.push_back(nId); });
        }
    }
    std::vector<UINT> m_arrCommands;
};

// Notes that a window got a click (its release: a second press soon after
// the first is a double click).
class CClickSeen : public QObject {
public:
    explicit CClickSeen(QWidget& window) : m_window(window) { m_window.installEventFilter(this); }
    ~CClickSeen() override { m_window.removeEventFilter(this); }
    bool m_bSeen = false;

protected:
    bool eventFilter(QObject* /*pWatched*/, QEvent* pEvent) override {
        m_bSeen = m_bSeen || pEvent->type() == QEvent::MouseButtonRelease;
        return false;
    }

private:
    QWidget& m_window;
};

class OnAnXServerTest : public xtest::CXServerTest {
protected:
    void SetUp() override {
        xtest::CXServerTest::SetUp();
        m_pPrevious = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
        m_app.SetProfileName(m_dir.File("Vek_ZR02.ini"));
    }
    void TearDown() override {
        platform::SetFrameworkResourceModule(m_pPrevious);
        xtest::CXServerTest::TearDown();
    }

    // X takes a request for the keyboard only when it is no older than the
    // last change of the focus, and Qt asks with the time of the last event
    // it saw: a click on the window first, as a user's, gives it a fresh one.
    bool ActivateAndWait(QWidget& window) {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) {
            return false;
        }
        CClickSeen seen(window);
        Click(window.mapToGlobal(QPoint(window.width() / 2, window.height() - 5)));
        if (!QTest::qWaitFor([&seen]() { return seen.m_bSeen; })) {
            return false;
        }
        window.activateWindow();
        return QTest::qWaitFor([&window]() { return QApplication::activeWindow() == &window; });
    }

    uitest::CTempDir m_dir;
    CWinApp m_app;

private:
    const platform::CResourceModule* m_pPrevious = nullptr;
};

// The tip flips above a pointer near the bar's bottom and covers the
// pointer's row; the window system must still give the press to the button.
TEST_F(OnAnXServerTest, AToolbarTipLetsTheClickThroughToTheButtonUnderIt) {
    CHostDialog dlg;
    CDialogToolBar bar;
    bar.SetSizes(QSize(40, 40), QSize(20, 20));
    ASSERT_TRUE(bar.CreateEx(&dlg, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    ASSERT_TRUE(bar.LoadBitmap(106));
    ASSERT_TRUE(bar.SetButtons(kButtons, static_cast<int>(std::size(kButtons))));
    dlg.RepositionBars();
    ASSERT_TRUE(ActivateAndWait(dlg));
    CToolTipWnd& tip = bar.GetToolTip();
    const QPoint ptAway = dlg.mapToGlobal(QPoint(250, 200));

    // A click before any tip shows reaches the button.
    std::vector<UINT> expected{kHelp};
    Click(bar.mapToGlobal(bar.GetItemRect(bar.CommandToIndex(kHelp)).center()));
    ASSERT_TRUE(QTest::qWaitFor([&]() { return dlg.m_arrCommands == expected; }));
    for (UINT nId : {kHelp, kPrint}) {
        const QRect rcButton = bar.GetItemRect(bar.CommandToIndex(nId));
        for (int y = rcButton.top() + 3; y < rcButton.bottom(); y += 6) {
            MovePointer(ptAway);
            ASSERT_TRUE(QTest::qWaitFor([&tip]() { return !tip.isVisible(); }));
            const QPoint pt = bar.mapToGlobal(QPoint(rcButton.center().x(), y));
            MovePointer(pt);
            ASSERT_TRUE(QTest::qWaitFor([&tip]() { return tip.isVisible(); })) << "no tip at height " << y;
            Click(pt);
            expected.push_back(nId);
            EXPECT_TRUE(QTest::qWaitFor([&]() { return dlg.m_arrCommands == expected; }))
                << "the click at height " << y << " of " << nId << " was lost; tip at y "
                << tip.geometry().top() << " to " << tip.geometry().bottom() << ", pointer at " << pt.y();
            dlg.m_arrCommands = expected;
        }
    }
    // The lowest rows did put the tip under the pointer.
    const QRect rcHelp = bar.GetItemRect(bar.CommandToIndex(kHelp));
    MovePointer(bar.mapToGlobal(QPoint(rcHelp.center().x(), rcHelp.bottom() - 1)));
    ASSERT_TRUE(QTest::qWaitFor([&tip]() { return tip.isVisible(); }));
    EXPECT_TRUE(tip.geometry().contains(QCursor::pos()));
    MovePointer(ptAway);
}

// Closing a dialog gives the keyboard back to the window behind it, at once
// and again after a delay when nobody has it then; a program the user went
// on to keeps it, whether it took the keyboard before or after the close.
TEST_F(OnAnXServerTest, AClosingDialogLeavesTheKeyboardWithAnotherProgram) {
    QWidget owner;
    owner.setGeometry(50, 50, 300, 200);
    const xcb_window_t other = MakeOtherProgramsWindow();
    // Runs a dialog over the active owner; another program (or no one)
    // takes the keyboard before the dialog closes or right after.
    auto runDialog = [&](xcb_window_t holder, bool bBeforeClose) {
        ASSERT_TRUE(ActivateAndWait(owner));
        QDialog front(&owner);
        QTimer::singleShot(0, &front, [&]() {
            if (bBeforeClose) {
                GiveKeyboardTo(holder);
            }
            front.reject();
        });
        platform::ui::RunModal(front);
        if (!bBeforeClose) {
            GiveKeyboardTo(holder);
        }
    };

    constexpr int kShortDelayMs = 100;
    const int nOldDelay = platform::ui::SetReactivateDelay(kShortDelayMs);
    runDialog(other, true);
    QTest::qWait(kShortDelayMs * 3);
    EXPECT_EQ(KeyboardHolder(), other) << "taken before the close";
    runDialog(other, false);
    QTest::qWait(kShortDelayMs * 3);
    EXPECT_EQ(KeyboardHolder(), other) << "taken right after the close";

    // The second request asks with the time of an event after the change
    // to nobody (see ActivateAndWait): the pointer moving onto the owner,
    // as a user's would.
    platform::ui::SetReactivateDelay(500);
    MovePointer(QPoint(700, 550));
    runDialog(XCB_WINDOW_NONE, false);
    MovePointer(owner.mapToGlobal(owner.rect().center()));
    EXPECT_TRUE(QTest::qWaitFor([&owner]() { return owner.underMouse(); }));
    const auto ownerId = static_cast<xcb_window_t>(owner.winId());
    EXPECT_TRUE(QTest::qWaitFor([&]() { return KeyboardHolder() == ownerId; })) << "left with nobody";
    EXPECT_TRUE(QTest::qWaitFor([&owner]() { return QApplication::activeWindow() == &owner; }));
    platform::ui::SetReactivateDelay(nOldDelay);
}

}  // namespace
