#pragma once
// Message boxes as the Qt-free layers see them. The window layer installs a
// sink at start-up that shows real boxes; tests install a scripted one. With
// no sink installed nothing is shown and every box answers IDCANCEL, which
// all callers treat as a cancel.

#include "platform/base/WinTypes.h"

#include <string>

// Box styles: buttons in the low nibble, the icon in the next one, the
// default button in the third.
constexpr UINT MB_OK = 0x00;
constexpr UINT MB_OKCANCEL = 0x01;
constexpr UINT MB_YESNOCANCEL = 0x03;
constexpr UINT MB_YESNO = 0x04;
constexpr UINT MB_ICONERROR = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONWARNING = 0x30;
constexpr UINT MB_ICONINFORMATION = 0x40;
constexpr UINT MB_TYPEMASK = 0x0F;
constexpr UINT MB_ICONMASK = 0xF0;
// Which button of a box's button set is the default one.
constexpr UINT MB_DEFBUTTON1 = 0x000;
constexpr UINT MB_DEFBUTTON2 = 0x100;
constexpr UINT MB_DEFBUTTON3 = 0x200;
constexpr UINT MB_DEFMASK = 0xF00;

namespace platform {

class IMessageBoxSink {
public:
    virtual ~IMessageBoxSink() = default;

    // Shows a modal box over `hOwner` (may be null) and gives back the id of
    // the button that closed it (IDOK, IDCANCEL, IDYES, IDNO ...).
    virtual int ShowMessageBox(HWND hOwner, const std::string& strText, const std::string& strCaption,
                               UINT nStyle) = 0;
    // Gives the keyboard focus to the window.
    virtual void SetFocus(HWND hWnd) = 0;
    // The active window of the process, null when none is active.
    virtual HWND GetActiveWindow() = 0;
};

// Installs the sink (null removes it); gives back the one installed before.
IMessageBoxSink* SetMessageBoxSink(IMessageBoxSink* pSink);
IMessageBoxSink* GetMessageBoxSink();

// Through the installed sink. A null text or caption counts as empty.
// Without a sink: IDCANCEL, nothing shown.
int MessageBox(HWND hOwner, const char* pszText, const char* pszCaption, UINT nStyle);
// Without a sink: nothing.
void SetFocus(HWND hWnd);
// Without a sink: null.
HWND GetActiveWindow();

}  // namespace platform
