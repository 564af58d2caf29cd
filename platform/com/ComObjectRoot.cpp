#include "platform/com/ComObjectRoot.h"

HRESULT CComObjectRoot::InternalQueryInterface(void* pThis, const ComInterfaceEntry* pEntries, REFIID riid,
                                               void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (!pThis || !pEntries || !pEntries[0].pfnCast)
        return E_UNEXPECTED;
    if (riid == IID_IUnknown) {
        IUnknown* p = pEntries[0].pfnCast(pThis);
        p->AddRef();
        *ppv = p;
        return S_OK;
    }
    for (const ComInterfaceEntry* e = pEntries; e->pfnCast || e->pfnQuery; ++e) {
        if (e->piid && *e->piid != riid)
            continue;
        if (e->pfnCast) {
            IUnknown* p = e->pfnCast(pThis);
            p->AddRef();
            *ppv = p;
            return S_OK;
        }
        // A delegating entry that does not know the interface lets the
        // search go on.
        if (SUCCEEDED(e->pfnQuery(pThis, riid, ppv)) && *ppv)
            return S_OK;
        *ppv = nullptr;
    }
    return E_NOINTERFACE;
}
