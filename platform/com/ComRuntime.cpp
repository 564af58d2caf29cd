#include "platform/com/ComRuntime.h"

#include "platform/com/ComProcessState.h"

#include <cstdlib>
#include <random>

HRESULT CoInitializeEx(void*, DWORD dwCoInit)
{
    DWORD model = dwCoInit & COINIT_APARTMENTTHREADED;
    CComProcessState& state = GetComProcessState();
    std::lock_guard lock(state.mutex);
    auto [it, added] = state.mapApartments.try_emplace(std::this_thread::get_id(), CComApartment {model, 0});
    if (!added && it->second.dwCoInit != model)
        return RPC_E_CHANGED_MODE;
    return it->second.nInits++ == 0 ? S_OK : S_FALSE;
}

HRESULT CoInitialize(void* pvReserved)
{
    return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED);
}

void CoUninitialize()
{
    CComProcessState& state = GetComProcessState();
    std::lock_guard lock(state.mutex);
    auto it = state.mapApartments.find(std::this_thread::get_id());
    if (it != state.mapApartments.end() && --it->second.nInits == 0)
        state.mapApartments.erase(it);
}

HRESULT CoGetApartmentType(APTTYPE* pAptType)
{
    if (!pAptType)
        return E_INVALIDARG;
    CComProcessState& state = GetComProcessState();
    std::lock_guard lock(state.mutex);
    auto it = state.mapApartments.find(std::this_thread::get_id());
    if (it == state.mapApartments.end())
        return CO_E_NOTINITIALIZED;
    *pAptType = it->second.dwCoInit == COINIT_APARTMENTTHREADED ? APTTYPE_STA : APTTYPE_MTA;
    return S_OK;
}

void* CoTaskMemAlloc(std::size_t cb)
{
    return std::malloc(cb ? cb : 1);
}

void* CoTaskMemRealloc(void* pv, std::size_t cb)
{
    if (cb == 0) {
        std::free(pv);
        return nullptr;
    }
    return std::realloc(pv, cb);
}

void CoTaskMemFree(void* pv)
{
    std::free(pv);
}

HRESULT CoCreateGuid(GUID* pguid)
{
    if (!pguid)
        return E_INVALIDARG;
    try {
        std::random_device rd;
        BYTE bytes[16];
        for (int i = 0; i < 16; i += 4) {
            unsigned v = rd();
            for (int k = 0; k < 4; ++k)
                bytes[i + k] = static_cast<BYTE>(v >> (8 * k));
        }
        bytes[6] = static_cast<BYTE>((bytes[6] & 0x0F) | 0x40);
        bytes[8] = static_cast<BYTE>((bytes[8] & 0x3F) | 0x80);
        GUID g;
        g.Data1 = static_cast<DWORD>(bytes[0]) << 24 | static_cast<DWORD>(bytes[1]) << 16 |
                  static_cast<DWORD>(bytes[2]) << 8 | bytes[3];
        g.Data2 = static_cast<WORD>(bytes[4] << 8 | bytes[5]);
        g.Data3 = static_cast<WORD>(bytes[6] << 8 | bytes[7]);
        for (int i = 0; i < 8; ++i)
            g.Data4[i] = bytes[8 + i];
        *pguid = g;
        return S_OK;
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT OleRun(IUnknown* pUnknown)
{
    return pUnknown ? S_OK : E_INVALIDARG;
}
