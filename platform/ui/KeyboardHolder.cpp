#include "platform/ui/KeyboardHolder.h"

#include <QGuiApplication>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
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

bool IsOurWindow(xcb_window_t window) {
    for (const QWindow* pWindow : QGuiApplication::allWindows()) {
        if (pWindow->handle() != nullptr && static_cast<xcb_window_t>(pWindow->winId()) == window) {
            return true;
        }
    }
    return false;
}

}  // namespace

KeyboardHolder WhoHasTheKeyboard() {
    auto* pApp = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (pApp == nullptr) {
        return KeyboardHolder::Nobody;
    }
    const auto* pX11 = pApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* pConnection = pX11 != nullptr ? pX11->connection() : nullptr;
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
    return IsOurWindow(holder) ? KeyboardHolder::Ours : KeyboardHolder::AnotherProgram;
}

}  // namespace platform::ui
