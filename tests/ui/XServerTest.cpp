#include "tests/ui/XServerTest.h"

#include <QApplication>

#include <xcb/xtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

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

xcb_keycode_t CXServerTest::KeyCode(xcb_keysym_t keysym) {
    const xcb_setup_t* pSetup = xcb_get_setup(m_pOther);
    const int nCount = pSetup->max_keycode - pSetup->min_keycode + 1;
    std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> mapping(
        xcb_get_keyboard_mapping_reply(
            m_pOther, xcb_get_keyboard_mapping(m_pOther, pSetup->min_keycode, static_cast<uint8_t>(nCount)), nullptr),
        &std::free);
    if (mapping == nullptr) {
        return 0;
    }
    const xcb_keysym_t* pSymbols = xcb_get_keyboard_mapping_keysyms(mapping.get());
    const int nPerKey = mapping->keysyms_per_keycode;
    for (int i = 0; i < nCount; ++i) {
        if (nPerKey > 0 && pSymbols[i * nPerKey] == keysym) {
            return static_cast<xcb_keycode_t>(pSetup->min_keycode + i);
        }
    }
    return 0;
}

void CXServerTest::PressKeys(std::initializer_list<xcb_keysym_t> keys) {
    std::vector<xcb_keycode_t> codes;
    for (xcb_keysym_t keysym : keys) {
        codes.push_back(KeyCode(keysym));
        ASSERT_NE(codes.back(), 0) << "no key gives the symbol " << keysym;
    }
    for (xcb_keycode_t code : codes) {
        xcb_test_fake_input(m_pOther, XCB_KEY_PRESS, code, XCB_CURRENT_TIME, m_root, 0, 0, 0);
    }
    for (auto it = codes.rbegin(); it != codes.rend(); ++it) {
        xcb_test_fake_input(m_pOther, XCB_KEY_RELEASE, *it, XCB_CURRENT_TIME, m_root, 0, 0, 0);
    }
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

void CXServerTest::SetActiveWindowProperty(xcb_window_t window) {
    static constexpr char kName[] = "_NET_ACTIVE_WINDOW";
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(m_pOther, xcb_intern_atom(m_pOther, 0, sizeof kName - 1, kName), nullptr), &std::free);
    ASSERT_NE(atom, nullptr);
    if (window == XCB_WINDOW_NONE) {
        xcb_delete_property(m_pOther, m_root, atom->atom);
    } else {
        xcb_change_property(m_pOther, XCB_PROP_MODE_REPLACE, m_root, atom->atom, XCB_ATOM_WINDOW, 32, 1, &window);
    }
    Sync();
}

}  // namespace xtest
