#pragma once
// Message boxes by kind, each over an owner window with a text and a
// caption. A null text shows nothing and answers IDCANCEL, which every
// question treats as a cancel. The keyboard focus goes back to the owner
// after the box.

#include "platform/base/MessageBoxSink.h"
#include "platform/base/WinTypes.h"

class CMessageBox {
public:
    CMessageBox() = default;
    // The boxes look the same in both modes; the flag is taken for the
    // callers that hand it over.
    explicit CMessageBox(bool /*bStandalone*/) {}
    virtual ~CMessageBox() = default;

    // Returns the button that closed the box.
    int Show(HWND hOwner, const char* pszText, const char* pszCaption, UINT nStyle);

    int ShowWarning(HWND hOwner, const char* pszText, const char* pszCaption);     // MB_ICONWARNING
    int ShowError(HWND hOwner, const char* pszText, const char* pszCaption);       // MB_ICONERROR
    int AskOkCancel(HWND hOwner, const char* pszText, const char* pszCaption);     // IDOK / IDCANCEL
    int AskYesNoCancel(HWND hOwner, const char* pszText, const char* pszCaption);  // IDYES / IDNO / IDCANCEL
    int AskYesNo(HWND hOwner, const char* pszText, const char* pszCaption);        // IDYES / IDNO
    int ShowInfo(HWND hOwner, const char* pszText, const char* pszCaption);        // MB_ICONINFORMATION
};
