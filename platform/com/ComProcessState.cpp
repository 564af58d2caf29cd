#include "platform/com/ComProcessState.h"

#include <dlfcn.h>

namespace {

constexpr DWORD kLayout = 0x434F4D02;  // changes whenever the structure does

// This module's own instance.
CComProcessState& LocalProcessState()
{
    static CComProcessState s_state {kLayout, sizeof(CComProcessState), {}, {}, 1, {}, {}};
    return s_state;
}

}  // namespace

// Found by name from every module of the process; the first one in the
// global scope (the program, when it links this library) wins.
extern "C" __attribute__((visibility("default"))) void* ChronoComProcessState()
{
    return &LocalProcessState();
}

CComProcessState& GetComProcessState()
{
    static CComProcessState* s_pState = [] {
        using Getter = void* (*)();
        auto getter = reinterpret_cast<Getter>(::dlsym(RTLD_DEFAULT, "ChronoComProcessState"));
        auto* state = static_cast<CComProcessState*>(getter ? getter() : nullptr);
        if (!state || state->dwLayout != kLayout || state->cbSize != sizeof(CComProcessState))
            state = &LocalProcessState();
        return state;
    }();
    return *s_pState;
}
