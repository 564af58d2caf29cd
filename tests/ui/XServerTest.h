#pragma once
// The tests that only a real X server shows: what the window system does
// with the mouse over a window, and who has the keyboard. The test main
// starts its own Xvfb (no window manager) and runs Qt on it; the fixture
// skips, saying why, where no server could be started. Input goes through
// the X server's test extension, from a connection of its own, which also
// stands for another program.

#include <QPoint>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <initializer_list>
#include <string>

namespace xtest {

// Why no X server runs for the tests; empty when one does.
const std::string& NoServerReason();
void SetNoServerReason(std::string strReason);
// The display the server answers on (":N").
const std::string& DisplayName();
void SetDisplayName(std::string strName);

class CXServerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The pointer to a point of the screen, as a user moves it.
    void MovePointer(const QPoint& ptScreen);
    // A left click there.
    void Click(const QPoint& ptScreen);
    // Keys pressed in the order given, then let go in the other order, as a
    // user types a combination (X key symbols: XK_Alt_L 0xffe9, 'd').
    void PressKeys(std::initializer_list<xcb_keysym_t> keys);
    // A window of another program on the screen.
    xcb_window_t MakeOtherProgramsWindow();
    // Another program gives the keyboard to that window (or to nobody).
    void GiveKeyboardTo(xcb_window_t window);
    // The window that has the keyboard.
    xcb_window_t KeyboardHolder();
    // A window manager's word on the active window, as it sets it on the
    // root window; XCB_WINDOW_NONE takes the word away.
    void SetActiveWindowProperty(xcb_window_t window);

private:
    // Waits until the server has done what was sent.
    void Sync();
    // The key that gives the symbol without a modifier, or 0.
    xcb_keycode_t KeyCode(xcb_keysym_t keysym);

    xcb_connection_t* m_pOther = nullptr;
    xcb_window_t m_root = 0;
};

}  // namespace xtest
