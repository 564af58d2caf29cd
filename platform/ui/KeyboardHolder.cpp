#include "platform/ui/KeyboardHolder.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace platform::ui {

namespace {

struct FreeReply {
    void operator()(void* pReply) const { std::free(pReply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

xcb_window_t RootWindow(xcb_connection_t* pConnection) {
    const xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(pConnection));
    return it.rem > 0 ? it.data->root : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
}

// The window manager's active window; XCB_WINDOW_NONE also when there is no
// window manager that says so (bActiveKnown false then).
xcb_window_t ActiveWindow(xcb_connection_t* pConnection, xcb_window_t root, bool& bActiveKnown) {
    bActiveKnown = false;
    static constexpr char kName[] = "_NET_ACTIVE_WINDOW";
    const Reply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        pConnection, xcb_intern_atom(pConnection, 1, sizeof kName - 1, kName), nullptr));
    if (atom == nullptr || atom->atom == XCB_ATOM_NONE) {
        return XCB_WINDOW_NONE;
    }
    const Reply<xcb_get_property_reply_t> property(xcb_get_property_reply(
        pConnection, xcb_get_property(pConnection, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr));
    if (property == nullptr || property->type != XCB_ATOM_WINDOW || property->format != 32 ||
        xcb_get_property_value_length(property.get()) < static_cast<int>(sizeof(xcb_window_t))) {
        return XCB_WINDOW_NONE;
    }
    bActiveKnown = true;
    return *static_cast<const xcb_window_t*>(xcb_get_property_value(property.get()));
}

xcb_window_t InputFocus(xcb_connection_t* pConnection) {
    const Reply<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(pConnection, xcb_get_input_focus(pConnection), nullptr));
    return focus != nullptr ? focus->focus : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
}

// A window this connection made, by the id range the X server gave it: also
// a dialog that has just closed (its window may be gone in Qt already while
// the window manager still names it active) and a popup.
bool IsOurWindow(xcb_connection_t* pConnection, xcb_window_t window) {
    const xcb_setup_t* pSetup = xcb_get_setup(pConnection);
    return (window & ~pSetup->resource_id_mask) == pSetup->resource_id_base;
}

xcb_connection_t* XConnection() {
    auto* pApp = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    const auto* pX11 = pApp != nullptr ? pApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return pX11 != nullptr ? pX11->connection() : nullptr;
}

// Where X has the keyboard on the window and Qt counts another window (or
// none) as focused: the focus event again, as X sent it, through Qt's own
// handling. False when X has it elsewhere.
bool TellQtOfTheFocus(xcb_connection_t* pConnection, QWidget& window) {
    const QWindow* pHandle = window.windowHandle();
    if (pHandle == nullptr || pHandle->handle() == nullptr) {
        return false;
    }
    const auto id = static_cast<xcb_window_t>(pHandle->winId());
    if (InputFocus(pConnection) != id || QGuiApplication::focusWindow() == pHandle) {
        return false;
    }
    xcb_focus_in_event_t focusIn{};
    focusIn.response_type = XCB_FOCUS_IN;
    focusIn.detail = XCB_NOTIFY_DETAIL_NONLINEAR;
    focusIn.event = id;
    focusIn.mode = XCB_NOTIFY_MODE_NORMAL;
    // The server sends on events of 32 bytes.
    char event[32] = {};
    static_assert(sizeof focusIn <= sizeof event);
    std::memcpy(event, &focusIn, sizeof focusIn);
    xcb_send_event(pConnection, 0, id, XCB_EVENT_MASK_FOCUS_CHANGE, event);
    xcb_flush(pConnection);
    return true;
}

}  // namespace

KeyboardHolder WhoHasTheKeyboard() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return KeyboardHolder::Nobody;
    }
    xcb_connection_t* pConnection = XConnection();
    if (pConnection == nullptr) {
        if (QGuiApplication::focusWindow() != nullptr) {
            return KeyboardHolder::Ours;
        }
        return QGuiApplication::applicationState() == Qt::ApplicationActive ? KeyboardHolder::Nobody
                                                                            : KeyboardHolder::AnotherProgram;
    }
    const xcb_window_t root = RootWindow(pConnection);
    bool bActiveKnown = false;
    xcb_window_t holder = ActiveWindow(pConnection, root, bActiveKnown);
    if (!bActiveKnown) {
        holder = InputFocus(pConnection);
    }
    if (holder == XCB_WINDOW_NONE || holder == XCB_INPUT_FOCUS_POINTER_ROOT || holder == root) {
        return KeyboardHolder::Nobody;
    }
    return IsOurWindow(pConnection, holder) ? KeyboardHolder::Ours : KeyboardHolder::AnotherProgram;
}

void GiveKeyboardBack(QWidget& window) {
    const KeyboardHolder holder = WhoHasTheKeyboard();
    if (holder == KeyboardHolder::AnotherProgram) {
        return;
    }
    xcb_connection_t* pConnection = XConnection();
    if (holder == KeyboardHolder::Ours && pConnection != nullptr && TellQtOfTheFocus(pConnection, window)) {
        return;
    }
    window.activateWindow();
}

}  // namespace platform::ui
