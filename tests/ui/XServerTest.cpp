#include "tests/ui/XServerTest.h"

#include <QApplication>

#include <xcb/xtest.h>

#include <cstdlib>
#include <memory>

namespace xtest {

namespace {

std::string& Reason() {
    static std::string strReason = "the test main started no X server";
    return strReason;
}

std::string& Display() {
    static std::string strName;
    return strName;
}

}  // namespace

const std::string& NoServerReason() {
    return Reason();
}

void SetNoServerReason(std::string strReason) {
    Reason() = std::move(strReason);
}

const std::string& DisplayName() {
    return Display();
}

void SetDisplayName(std::string strName) {
    Display() = std::move(strName);
}

void CXServerTest::SetUp() {
    if (!NoServerReason().empty()) {
        GTEST_SKIP() << "no X server: " << NoServerReason();
    }
    m_pOther = xcb_connect(DisplayName().c_str(), nullptr);
    ASSERT_EQ(xcb_connection_has_error(m_pOther), 0);
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_pOther)).data->root;
}

void CXServerTest::TearDown() {
    if (m_pOther != nullptr) {
        xcb_disconnect(m_pOther);
        m_pOther = nullptr;
    }
}

void CXServerTest::Sync() {
    std::free(xcb_get_input_focus_reply(m_pOther, xcb_get_input_focus(m_pOther), nullptr));
}

void CXServerTest::MovePointer(const QPoint& ptScreen) {
    xcb_test_fake_input(m_pOther, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, m_root, static_cast<int16_t>(ptScreen.x()),
                        static_cast<int16_t>(ptScreen.y()), 0);
    Sync();
}

void CXServerTest::Click(const QPoint& ptScreen) {
    MovePointer(ptScreen);
    xcb_test_fake_input(m_pOther, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, m_root, 0, 0, 0);
    xcb_test_fake_input(m_pOther, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, m_root, 0, 0, 0);
    Sync();
}

xcb_window_t CXServerTest::MakeOtherProgramsWindow() {
    const xcb_window_t window = xcb_generate_id(m_pOther);
    const xcb_screen_t* pScreen = xcb_setup_roots_iterator(xcb_get_setup(m_pOther)).data;
    xcb_create_window(m_pOther, XCB_COPY_FROM_PARENT, window, m_root, 600, 500, 100, 100, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, pScreen->root_visual, 0, nullptr);
    xcb_map_window(m_pOther, window);
    Sync();
    return window;
}

void CXServerTest::GiveKeyboardTo(xcb_window_t window) {
    xcb_set_input_focus(m_pOther, XCB_INPUT_FOCUS_NONE, window, XCB_CURRENT_TIME);
    Sync();
}

xcb_window_t CXServerTest::KeyboardHolder() {
    std::unique_ptr<xcb_get_input_focus_reply_t, decltype(&std::free)> focus(
        xcb_get_input_focus_reply(m_pOther, xcb_get_input_focus(m_pOther), nullptr), &std::free);
    return focus != nullptr ? focus->focus : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
}

}  // namespace xtest
