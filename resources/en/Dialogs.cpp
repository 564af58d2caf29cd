// English dialog templates.

#include "platform/base/WindowStyles.h"
#include "resources/en/Tables.h"

namespace resources::en {

namespace {

using platform::ResDialog;
using platform::ResDialogControl;
using platform::ResList;

constexpr DWORD kMainWindowStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_SETFONT;

const ResDialog kDialogs[] = {
    // The main window; its caption is replaced as soon as it initialises.
    {207, "Dialog", 0, 0, 340, 191, "MS Shell Dlg", 8, kMainWindowStyle, 0, ResList<ResDialogControl>{}},
};

}  // namespace

const platform::ResList<platform::ResDialog> g_dialogs{kDialogs, sizeof(kDialogs) / sizeof(kDialogs[0])};

}  // namespace resources::en
