#include "platform/host/WindowMessages.h"

#include <dlfcn.h>

#include <cctype>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct CWindowState {
    // First, so that a module can check a found instance before using it.
    DWORD dwLayout;
    std::size_t cbSize;
    std::mutex mutex;
    std::map<std::string, UINT> mapMessages;
    UINT nNextMessage = 0xC000;
    std::map<DWORD, platform::host::WindowRelations> mapRelations;
    DWORD dwNextCookie = 1;
    std::map<HWND, platform::host::WindowMessageHandler> mapHandlers;
};

constexpr DWORD kLayout = 0x574D5301;  // changes whenever the structure does

CWindowState& LocalState()
{
    static CWindowState s_state {kLayout, sizeof(CWindowState), {}, {}, 0xC000, {}, 1, {}};
    return s_state;
}

}  // namespace

// Found by name from every module of the process; the program's wins.
extern "C" __attribute__((visibility("default"))) void* ChronoHostWindowState()
{
    return &LocalState();
}

namespace {

CWindowState& State()
{
    static CWindowState* s_pState = [] {
        using Getter = void* (*)();
        auto getter = reinterpret_cast<Getter>(::dlsym(RTLD_DEFAULT, "ChronoHostWindowState"));
        auto* state = static_cast<CWindowState*>(getter ? getter() : nullptr);
        if (!state || state->dwLayout != kLayout || state->cbSize != sizeof(CWindowState))
            state = &LocalState();
        return state;
    }();
    return *s_pState;
}

std::vector<platform::host::WindowRelations> RelationsCopy()
{
    CWindowState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    std::vector<platform::host::WindowRelations> all;
    for (const auto& [cookie, relations] : state.mapRelations)
        all.push_back(relations);
    return all;
}

}  // namespace

namespace platform::host {

UINT RegisterWindowMessage(const char* pszName)
{
    if (!pszName || !*pszName)
        return 0;
    std::string strKey(pszName);
    for (char& c : strKey)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    CWindowState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    auto it = state.mapMessages.find(strKey);
    if (it != state.mapMessages.end())
        return it->second;
    const UINT nId = state.nNextMessage++;
    state.mapMessages.emplace(strKey, nId);
    return nId;
}

DWORD AddWindowRelations(WindowRelations relations)
{
    CWindowState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    const DWORD dwCookie = state.dwNextCookie++;
    state.mapRelations.emplace(dwCookie, std::move(relations));
    return dwCookie;
}

void RemoveWindowRelations(DWORD dwCookie)
{
    CWindowState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.mapRelations.erase(dwCookie);
}

bool IsChildWindow(HWND hWnd)
{
    if (!hWnd)
        return false;
    for (const WindowRelations& relations : RelationsCopy()) {
        bool bChild = false;
        if (relations.isChild && relations.isChild(hWnd, bChild))
            return bChild;
    }
    return false;
}

HWND GetParentWindow(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    for (const WindowRelations& relations : RelationsCopy()) {
        HWND hParent = nullptr;
        if (relations.getParent && relations.getParent(hWnd, hParent))
            return hParent;
    }
    return nullptr;
}

HWND GetOwnerWindow(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    for (const WindowRelations& relations : RelationsCopy()) {
        HWND hOwner = nullptr;
        if (relations.getOwner && relations.getOwner(hWnd, hOwner))
            return hOwner;
    }
    return nullptr;
}

HWND GetTopLevelWindow(HWND hWnd)
{
    // A chain longer than any real window tree is a loop in the relations.
    for (int nDepth = 0; hWnd && nDepth < 256; ++nDepth) {
        HWND hNext = IsChildWindow(hWnd) ? GetParentWindow(hWnd) : GetOwnerWindow(hWnd);
        if (!hNext)
            return hWnd;
        hWnd = hNext;
    }
    return hWnd;
}

void SetWindowMessageHandler(HWND hWnd, WindowMessageHandler handler)
{
    if (!hWnd)
        return;
    CWindowState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (handler)
        state.mapHandlers[hWnd] = std::move(handler);
    else
        state.mapHandlers.erase(hWnd);
}

LRESULT SendMessage(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    WindowMessageHandler handler;
    {
        CWindowState& state = State();
        std::lock_guard<std::mutex> lock(state.mutex);
        auto it = state.mapHandlers.find(hWnd);
        if (it == state.mapHandlers.end())
            return 0;
        handler = it->second;
    }
    return handler(nMessage, wParam, lParam);
}

}  // namespace platform::host
