#include "common/MessageBox.h"

int CMessageBox::Show(HWND hOwner, const char* pszText, const char* pszCaption, UINT nStyle) {
    if (pszText == nullptr) {
        return IDCANCEL;
    }
    int nResult = platform::MessageBox(hOwner, pszText, pszCaption, nStyle);
    if (hOwner != nullptr) {
        platform::SetFocus(hOwner);
    }
    return nResult;
}

int CMessageBox::ShowWarning(HWND hOwner, const char* pszText, const char* pszCaption) {
    return Show(hOwner, pszText, pszCaption, MB_ICONWARNING);
}

int CMessageBox::ShowError(HWND hOwner, const char* pszText, const char* pszCaption) {
    return Show(hOwner, pszText, pszCaption, MB_ICONERROR);
}

int CMessageBox::AskOkCancel(HWND hOwner, const char* pszText, const char* pszCaption) {
    return Show(hOwner, pszText, pszCaption, MB_ICONQUESTION | MB_OKCANCEL);
}

int CMessageBox::AskYesNoCancel(HWND hOwner, const char* pszText, const char* pszCaption) {
    return Show(hOwner, pszText, pszCaption, MB_ICONQUESTION | MB_YESNOCANCEL);
}

int CMessageBox::AskYesNo(HWND hOwner, const char* pszText, const char* pszCaption) {
    return Show(hOwner, pszText, pszCaption, MB_ICONQUESTION | MB_YESNO);
}

int CMessageBox::ShowInfo(HWND hOwner, const char* pszText, const char* pszCaption) {
    return Show(hOwner, pszText, pszCaption, MB_ICONINFORMATION);
}
