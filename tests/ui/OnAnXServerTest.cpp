// What only a real X server shows. Clicks and keys go through X's test
// extension, and the tests stand in for another program and for the window
// manager (the input focus, the active window on the root) where one is
// needed:
// - the toolbar's tip lets the click through to the button under it;
// - a closing dialog gives the keyboard back to its window only when no
//   other program took it, before the close or after;
// - it gives it back at once: the window's menu opens by Alt+D right after
//   a dialog closed by Escape, long before the second request;
// - a window of ours that has gone counts as ours while the window manager
//   still names it active;
// - after the file dialog closed by Return, four times in a row with a
//   modal window of ours up for a moment after it, the menus answer.

#include "platform/base/ResourceLibrary.h"
#include "platform/base/WinApp.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Handles.h"
#include "platform/ui/KeyboardHolder.h"
#include "platform/ui/ModalRunner.h"
#include "platform/ui/QtFileDialogService.h"
#include "resources/de/BuiltInResources.h"
#include "tests/ui/TestEnvironment.h"
#include "tests/ui/XServerTest.h"
#include "ui/DialogToolBar.h"
#include "ui/ProgressWindow.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace {

// X key symbols.
constexpr xcb_keysym_t kAlt = 0xffe9;
constexpr xcb_keysym_t kReturn = 0xff0d;
constexpr xcb_keysym_t kEscape = 0xff1b;

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

// The delay of the second request for the keyboard after a dialog, for one
// test.
class CReactivateDelay {
public:
    explicit CReactivateDelay(int nDelayMs) : m_nOld(platform::ui::SetReactivateDelay(nDelayMs)) {}
    ~CReactivateDelay() { platform::ui::SetReactivateDelay(m_nOld); }
    CReactivateDelay(const CReactivateDelay&) = delete;
    CReactivateDelay& operator=(const CReactivateDelay&) = delete;

private:
    int m_nOld;
};

// A window with a menu bar whose File menu opens by Alt+D, as the main
// window's does.
class CWindowWithMenu : public QWidget {
public:
    CWindowWithMenu() : m_bar(this) {
        setGeometry(50, 50, 500, 400);
        m_bar.setNativeMenuBar(false);
        m_pFile = m_bar.addMenu(QStringLiteral("&Datei"));
        m_pFile->addAction(QStringLiteral("Öffnen"));
        m_bar.setGeometry(0, 0, width(), m_bar.sizeHint().height());
    }
    QMenu& FileMenu() { return *m_pFile; }

private:
    QMenuBar m_bar;
    QMenu* m_pFile = nullptr;
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

    // A dialog that has just come up takes the keyboard, as from a window
    // manager: its request goes with the time of the pointer moving onto it.
    bool DialogTakesKeyboard(QWidget& dlg) {
        if (!QTest::qWaitForWindowExposed(&dlg)) {
            return false;
        }
        MovePointer(dlg.mapToGlobal(QPoint(dlg.width() / 2, 5)));
        QTest::qWait(50);
        dlg.activateWindow();
        return QTest::qWaitFor([&dlg]() { return QApplication::activeWindow() == &dlg; });
    }

    // Alt+D through X opens the window's File menu, and Escape closes it.
    void ExpectMenuAnswers(CWindowWithMenu& window, const char* pszWhen) {
        QMenu& file = window.FileMenu();
        PressKeys({kAlt, 'd'});
        EXPECT_TRUE(QTest::qWaitFor([&file]() { return file.isVisible(); })) << "no menu " << pszWhen;
        PressKeys({kEscape});
        EXPECT_TRUE(QTest::qWaitFor([&file]() { return !file.isVisible(); })) << pszWhen;
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
                EXPECT_TRUE(QTest::qWaitFor([&]() { return QApplication::activeWindow() == &front; }));
                GiveKeyboardTo(holder);
                // A time newer than the change for Qt's request at the
                // close, so that X would take it.
                MovePointer(owner.mapToGlobal(QPoint(5, 5)));
                QTest::qWait(50);
            }
            front.reject();
        });
        platform::ui::RunModal(front);
        if (!bBeforeClose) {
            GiveKeyboardTo(holder);
        }
    };

    constexpr int kShortDelayMs = 100;
    const CReactivateDelay delay(kShortDelayMs);
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
}

// A dialog closed by a key gives the keyboard back to the window behind it
// at once, with no window manager to do it: the second request is far off
// here, and the window's menus answer right after the close, each time.
TEST_F(OnAnXServerTest, AWindowAnswersKeysRightAfterItsDialogClosed) {
    // Longer than any wait below.
    constexpr int kFarOffMs = 10 * 60 * 1000;
    const CReactivateDelay delay(kFarOffMs);
    CWindowWithMenu owner;
    const auto ownerId = static_cast<xcb_window_t>(owner.winId());
    ASSERT_TRUE(ActivateAndWait(owner));
    for (int nRun = 0; nRun < 3; ++nRun) {
        QDialog dlg(&owner);
        dlg.setGeometry(150, 150, 200, 100);
        QTimer::singleShot(0, &dlg, [&]() {
            if (!DialogTakesKeyboard(dlg)) {
                ADD_FAILURE() << "the dialog did not take the keyboard";
                dlg.reject();
                return;
            }
            PressKeys({kEscape});
        });
        EXPECT_EQ(platform::ui::RunModal(dlg), QDialog::Rejected) << "run " << nRun;
        EXPECT_TRUE(QTest::qWaitFor([&]() { return KeyboardHolder() == ownerId; })) << "run " << nRun;
        // Without it the runs after would start from a window without the
        // keyboard.
        ASSERT_TRUE(QTest::qWaitFor([&]() { return QApplication::activeWindow() == &owner; })) << "run " << nRun;
        ExpectMenuAnswers(owner, ("after run " + std::to_string(nRun)).c_str());
    }
}

// A window manager names the dialog that has just closed as active for a
// moment: that window is ours still, not another program's, and the window
// behind it gets the keyboard back.
TEST_F(OnAnXServerTest, AWindowOfOursThatHasGoneCountsAsOurs) {
    using platform::ui::WhoHasTheKeyboard;
    xcb_window_t gone = XCB_WINDOW_NONE;
    {
        QWidget window;
        window.setGeometry(50, 50, 100, 100);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        gone = static_cast<xcb_window_t>(window.winId());
    }
    SetActiveWindowProperty(gone);
    EXPECT_EQ(WhoHasTheKeyboard(), platform::ui::KeyboardHolder::Ours);
    SetActiveWindowProperty(MakeOtherProgramsWindow());
    EXPECT_EQ(WhoHasTheKeyboard(), platform::ui::KeyboardHolder::AnotherProgram);
    SetActiveWindowProperty(XCB_WINDOW_NONE);
}

// File > Open: the file dialog closed by Return, then a modal window of ours
// up for a moment while the window manager gives the keyboard back to the
// window behind (Qt passes that on to the modal window, which goes before
// taking it): the load's progress window, gone before or after the second
// request, or another modal window that X never shows; then the window's
// menus answer their mnemonics, each time.
TEST_F(OnAnXServerTest, AfterAFileDialogClosedByReturnTheMenusAnswer) {
    // Long enough that a modal window up for a moment goes before the
    // second request, also on a busy machine.
    constexpr int kDelayMs = 300;
    CWindowWithMenu owner;
    QFile file(QString::fromStdString(m_dir.File("a.tv2")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    platform::FileDialogRequest request;
    request.hOwner = platform::ui::HwndFromWidget(&owner);
    request.strInitialDir = m_dir.Path();
    request.strFileName = "a.tv2";
    CQtFileDialogService service;
    const CReactivateDelay delay(kDelayMs);
    const auto ownerId = static_cast<xcb_window_t>(owner.winId());
    // What comes up right after the dialog, and for how long.
    enum class After { ShortLoad, LongLoad, OtherModalWindow };
    for (After after : {After::ShortLoad, After::LongLoad, After::OtherModalWindow, After::ShortLoad}) {
        const int nRun = static_cast<int>(after);
        ASSERT_TRUE(ActivateAndWait(owner)) << "run " << nRun;
        // The name is there already; Return goes through X.
        QTimer::singleShot(0, [&]() {
            auto* pDlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(pDlg, nullptr);
            if (!DialogTakesKeyboard(*pDlg) ||
                !QTest::qWaitFor([&]() { return qobject_cast<QLineEdit*>(QApplication::focusWidget()); })) {
                ADD_FAILURE() << "the file dialog did not take the keyboard";
                pDlg->reject();
                return;
            }
            PressKeys({kReturn});
        });
        std::string strPath;
        ASSERT_EQ(service.ShowFileDialog(request, strPath), IDOK) << "run " << nRun;
        if (after == After::OtherModalWindow) {
            // Gone before X ever shows it, as a window of a quick step is.
            QWidget modal;
            modal.setWindowModality(Qt::ApplicationModal);
            modal.setAttribute(Qt::WA_DontShowOnScreen);
            modal.show();
            GiveKeyboardTo(ownerId);
            QTest::qWait(30);
        } else {
            CProgressWindow progress(request.hOwner, 0);
            ASSERT_NE(progress.Create(), nullptr);
            progress.Activate();
            GiveKeyboardTo(ownerId);
            QTest::qWait(after == After::LongLoad ? kDelayMs * 2 : 20);
            progress.Destroy();
        }
        EXPECT_TRUE(QTest::qWaitFor([&]() { return QApplication::activeWindow() == &owner; })) << "run " << nRun;
        ExpectMenuAnswers(owner, ("after run " + std::to_string(nRun)).c_str());
    }
}

}  // namespace
