#include "platform/com/SafeArray.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace {

ULONG ElementSize(VARTYPE vt)
{
    switch (vt) {
    case VT_UI1:
    case VT_I1:
        return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
        return 2;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
        return 4;
    case VT_R8:
        return 8;
    case VT_BSTR:
        return sizeof(BSTR);
    case VT_UNKNOWN:
    case VT_DISPATCH:
        return sizeof(IUnknown*);
    case VT_VARIANT:
        return sizeof(VARIANT);
    default:
        return 0;
    }
}

USHORT FeaturesOf(VARTYPE vt)
{
    switch (vt) {
    case VT_BSTR:
        return FADF_HAVEVARTYPE | FADF_BSTR;
    case VT_UNKNOWN:
        return FADF_HAVEVARTYPE | FADF_UNKNOWN;
    case VT_DISPATCH:
        return FADF_HAVEVARTYPE | FADF_DISPATCH;
    case VT_VARIANT:
        return FADF_HAVEVARTYPE | FADF_VARIANT;
    default:
        return FADF_HAVEVARTYPE;
    }
}

void* ElementAt(SAFEARRAY* psa, ULONG index)
{
    return static_cast<char*>(psa->pvData) + static_cast<std::size_t>(index) * psa->cbElements;
}

// Frees what one element owns and zeroes it.
void ClearElement(SAFEARRAY* psa, void* p)
{
    switch (psa->vt) {
    case VT_BSTR: {
        BSTR b;
        std::memcpy(&b, p, sizeof b);
        SysFreeString(b);
        break;
    }
    case VT_UNKNOWN:
    case VT_DISPATCH: {
        IUnknown* u;
        std::memcpy(&u, p, sizeof u);
        if (u)
            u->Release();
        break;
    }
    case VT_VARIANT:
        VariantClear(static_cast<VARIANT*>(p));
        break;
    default:
        break;
    }
    std::memset(p, 0, psa->cbElements);
}

// Copies one element value into a zeroed element slot.
HRESULT CopyElementIn(SAFEARRAY* psa, void* slot, const void* pv)
{
    switch (psa->vt) {
    case VT_BSTR: {
        auto src = static_cast<BSTR>(const_cast<void*>(pv));
        BSTR copy = src ? SysAllocStringLen(src, SysStringLen(src)) : nullptr;
        if (src && !copy)
            return E_OUTOFMEMORY;
        std::memcpy(slot, &copy, sizeof copy);
        return S_OK;
    }
    case VT_UNKNOWN:
    case VT_DISPATCH: {
        auto* u = static_cast<IUnknown*>(const_cast<void*>(pv));
        if (u)
            u->AddRef();
        std::memcpy(slot, &u, sizeof u);
        return S_OK;
    }
    case VT_VARIANT:
        VariantInit(static_cast<VARIANT*>(slot));
        return VariantCopy(static_cast<VARIANT*>(slot), static_cast<const VARIANT*>(pv));
    default:
        std::memcpy(slot, pv, psa->cbElements);
        return S_OK;
    }
}

HRESULT ElementIndex(SAFEARRAY* psa, const LONG* rgIndices, ULONG& index)
{
    if (!psa || !rgIndices)
        return E_INVALIDARG;
    const SAFEARRAYBOUND& b = psa->rgsabound[0];
    long long offset = static_cast<long long>(rgIndices[0]) - b.lLbound;
    if (offset < 0 || offset >= static_cast<long long>(b.cElements))
        return DISP_E_BADINDEX;
    index = static_cast<ULONG>(offset);
    return S_OK;
}

}  // namespace

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT cDims, const SAFEARRAYBOUND* rgsabound)
{
    if (cDims != 1 || !rgsabound)
        return nullptr;
    ULONG size = ElementSize(vt);
    if (size == 0)
        return nullptr;
    ULONG count = rgsabound[0].cElements;
    if (count > std::numeric_limits<std::size_t>::max() / size)
        return nullptr;
    auto* psa = new (std::nothrow) SAFEARRAY {};
    if (!psa)
        return nullptr;
    psa->cDims = 1;
    psa->fFeatures = FeaturesOf(vt);
    psa->cbElements = size;
    psa->cLocks = 0;
    psa->vt = vt;
    psa->rgsabound[0] = rgsabound[0];
    psa->pvData = nullptr;
    if (count > 0) {
        psa->pvData = std::calloc(count, size);
        if (!psa->pvData) {
            delete psa;
            return nullptr;
        }
    }
    return psa;
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements)
{
    SAFEARRAYBOUND bound {cElements, lLbound};
    return SafeArrayCreate(vt, 1, &bound);
}

HRESULT SafeArrayDestroy(SAFEARRAY* psa)
{
    if (!psa)
        return S_OK;
    if (psa->cLocks > 0)
        return DISP_E_ARRAYISLOCKED;
    if (psa->vt == VT_BSTR || psa->vt == VT_UNKNOWN || psa->vt == VT_DISPATCH || psa->vt == VT_VARIANT) {
        for (ULONG i = 0; i < psa->rgsabound[0].cElements; ++i)
            ClearElement(psa, ElementAt(psa, i));
    }
    std::free(psa->pvData);
    delete psa;
    return S_OK;
}

HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut)
{
    if (!ppsaOut)
        return E_INVALIDARG;
    *ppsaOut = nullptr;
    if (!psa)
        return S_OK;
    SAFEARRAY* copy = SafeArrayCreate(psa->vt, 1, psa->rgsabound);
    if (!copy)
        return E_OUTOFMEMORY;
    for (ULONG i = 0; i < psa->rgsabound[0].cElements; ++i) {
        void* src = ElementAt(psa, i);
        HRESULT hr;
        if (psa->vt == VT_BSTR || psa->vt == VT_UNKNOWN || psa->vt == VT_DISPATCH) {
            void* value;
            std::memcpy(&value, src, sizeof value);
            hr = CopyElementIn(copy, ElementAt(copy, i), value);
        } else {
            hr = CopyElementIn(copy, ElementAt(copy, i), src);
        }
        if (FAILED(hr)) {
            SafeArrayDestroy(copy);
            return hr;
        }
    }
    *ppsaOut = copy;
    return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* psa)
{
    return psa ? psa->cDims : 0;
}

UINT SafeArrayGetElemsize(SAFEARRAY* psa)
{
    return psa ? psa->cbElements : 0;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt)
{
    if (!psa || !pvt)
        return E_INVALIDARG;
    *pvt = psa->vt;
    return S_OK;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound)
{
    if (!psa || !plLbound)
        return E_INVALIDARG;
    if (nDim < 1 || nDim > psa->cDims)
        return DISP_E_BADINDEX;
    *plLbound = psa->rgsabound[0].lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound)
{
    if (!psa || !plUbound)
        return E_INVALIDARG;
    if (nDim < 1 || nDim > psa->cDims)
        return DISP_E_BADINDEX;
    const SAFEARRAYBOUND& b = psa->rgsabound[0];
    *plUbound = static_cast<LONG>(static_cast<long long>(b.lLbound) + b.cElements - 1);
    return S_OK;
}

HRESULT SafeArrayLock(SAFEARRAY* psa)
{
    if (!psa)
        return E_INVALIDARG;
    ++psa->cLocks;
    return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* psa)
{
    if (!psa)
        return E_INVALIDARG;
    if (psa->cLocks == 0)
        return E_UNEXPECTED;
    --psa->cLocks;
    return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData)
{
    if (!psa || !ppvData)
        return E_INVALIDARG;
    ++psa->cLocks;
    *ppvData = psa->pvData;
    return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* psa)
{
    return SafeArrayUnlock(psa);
}

HRESULT SafeArrayGetElement(SAFEARRAY* psa, const LONG* rgIndices, void* pv)
{
    ULONG index = 0;
    HRESULT hr = ElementIndex(psa, rgIndices, index);
    if (FAILED(hr))
        return hr;
    if (!pv)
        return E_INVALIDARG;
    void* src = ElementAt(psa, index);
    switch (psa->vt) {
    case VT_BSTR: {
        BSTR b;
        std::memcpy(&b, src, sizeof b);
        BSTR copy = b ? SysAllocStringLen(b, SysStringLen(b)) : nullptr;
        if (b && !copy)
            return E_OUTOFMEMORY;
        *static_cast<BSTR*>(pv) = copy;
        return S_OK;
    }
    case VT_UNKNOWN:
    case VT_DISPATCH: {
        IUnknown* u;
        std::memcpy(&u, src, sizeof u);
        if (u)
            u->AddRef();
        *static_cast<IUnknown**>(pv) = u;
        return S_OK;
    }
    case VT_VARIANT:
        VariantInit(static_cast<VARIANT*>(pv));
        return VariantCopy(static_cast<VARIANT*>(pv), static_cast<const VARIANT*>(src));
    default:
        std::memcpy(pv, src, psa->cbElements);
        return S_OK;
    }
}

HRESULT SafeArrayPutElement(SAFEARRAY* psa, const LONG* rgIndices, const void* pv)
{
    ULONG index = 0;
    HRESULT hr = ElementIndex(psa, rgIndices, index);
    if (FAILED(hr))
        return hr;
    // A null text or interface is a valid element; every other kind needs a value.
    if (!pv && psa->vt != VT_BSTR && psa->vt != VT_UNKNOWN && psa->vt != VT_DISPATCH)
        return E_INVALIDARG;
    // Build the new element aside first, so a failed copy leaves the old one.
    alignas(VARIANT) unsigned char fresh[sizeof(VARIANT)] = {};
    hr = CopyElementIn(psa, fresh, pv);
    if (FAILED(hr))
        return hr;
    void* slot = ElementAt(psa, index);
    ClearElement(psa, slot);
    std::memcpy(slot, fresh, psa->cbElements);
    return S_OK;
}
