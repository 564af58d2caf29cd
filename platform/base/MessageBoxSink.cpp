#include "platform/base/MessageBoxSink.h"

#include <atomic>

namespace platform {

namespace {

std::atomic<IMessageBoxSink*> g_pSink{nullptr};

}  // namespace

IMessageBoxSink* SetMessageBoxSink(IMessageBoxSink* pSink) { return g_pSink.exchange(pSink); }

IMessageBoxSink* GetMessageBoxSink() { return g_pSink.load(); }

int MessageBox(HWND hOwner, const char* pszText, const char* pszCaption, UINT nStyle) {
    IMessageBoxSink* pSink = g_pSink.load();
    if (pSink == nullptr) {
        return IDCANCEL;
    }
    return pSink->ShowMessageBox(hOwner, pszText != nullptr ? pszText : "", pszCaption != nullptr ? pszCaption : "",
                                 nStyle);
}

void SetFocus(HWND hWnd) {
    if (IMessageBoxSink* pSink = g_pSink.load()) {
        pSink->SetFocus(hWnd);
    }
}

HWND GetActiveWindow() {
    IMessageBoxSink* pSink = g_pSink.load();
    return pSink != nullptr ? pSink->GetActiveWindow() : nullptr;
}

}  // namespace platform
