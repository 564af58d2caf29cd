#include "platform/com/ComVariant.h"

#include <cstring>

CComVariant::CComVariant(const CComVariant& other)
{
    VariantInit(this);
    if (FAILED(VariantCopy(this, &other)))
        VariantInit(this);
}

CComVariant::CComVariant(const VARIANT& other)
{
    VariantInit(this);
    if (FAILED(VariantCopy(this, &other)))
        VariantInit(this);
}

CComVariant::CComVariant(CComVariant&& other) noexcept
{
    std::memcpy(static_cast<VARIANT*>(this), static_cast<VARIANT*>(&other), sizeof(VARIANT));
    VariantInit(&other);
}

CComVariant::CComVariant(bool bSrc)
{
    VariantInit(this);
    vt = VT_BOOL;
    boolVal = bSrc ? VARIANT_TRUE : VARIANT_FALSE;
}

CComVariant::CComVariant(int nSrc, VARTYPE vtSrc)
{
    VariantInit(this);
    vt = vtSrc;
    switch (vtSrc) {
    case VT_I2:
        iVal = static_cast<SHORT>(nSrc);
        break;
    case VT_UI1:
        bVal = static_cast<BYTE>(nSrc);
        break;
    case VT_I1:
        cVal = static_cast<CHAR>(nSrc);
        break;
    case VT_UI2:
        uiVal = static_cast<USHORT>(nSrc);
        break;
    case VT_BOOL:
        boolVal = nSrc ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case VT_INT:
        intVal = nSrc;
        break;
    case VT_ERROR:
        scode = nSrc;
        break;
    default:
        vt = VT_I4;
        lVal = nSrc;
        break;
    }
}

CComVariant::CComVariant(SHORT nSrc)
{
    VariantInit(this);
    vt = VT_I2;
    iVal = nSrc;
}

CComVariant::CComVariant(BYTE nSrc)
{
    VariantInit(this);
    vt = VT_UI1;
    bVal = nSrc;
}

CComVariant::CComVariant(unsigned int nSrc)
{
    VariantInit(this);
    vt = VT_UI4;
    ulVal = nSrc;
}

CComVariant::CComVariant(double dblSrc)
{
    VariantInit(this);
    vt = VT_R8;
    dblVal = dblSrc;
}

void CComVariant::SetText(std::string_view utf8)
{
    BSTR b = platform::BstrFromUtf8(utf8);
    // Out of memory leaves an error value, as a failed text always has.
    if (b) {
        vt = VT_BSTR;
        bstrVal = b;
    } else {
        vt = VT_ERROR;
        scode = E_OUTOFMEMORY;
    }
}

CComVariant::CComVariant(const char* pszUtf8)
{
    VariantInit(this);
    SetText(pszUtf8 ? std::string_view(pszUtf8) : std::string_view());
}

CComVariant::CComVariant(std::string_view utf8)
{
    VariantInit(this);
    SetText(utf8);
}

CComVariant::CComVariant(const std::string& utf8)
{
    VariantInit(this);
    SetText(utf8);
}

CComVariant::CComVariant(LPCOLESTR psz)
{
    VariantInit(this);
    vt = VT_BSTR;
    bstrVal = SysAllocString(psz);
    if (psz && !bstrVal) {
        vt = VT_ERROR;
        scode = E_OUTOFMEMORY;
    }
}

CComVariant::CComVariant(IUnknown* pSrc)
{
    VariantInit(this);
    vt = VT_UNKNOWN;
    punkVal = pSrc;
    if (pSrc)
        pSrc->AddRef();
}

CComVariant::CComVariant(const SAFEARRAY* psaSrc)
{
    VariantInit(this);
    if (!psaSrc)
        return;
    SAFEARRAY* copy = nullptr;
    if (FAILED(SafeArrayCopy(const_cast<SAFEARRAY*>(psaSrc), &copy)) || !copy) {
        vt = VT_ERROR;
        scode = E_OUTOFMEMORY;
        return;
    }
    vt = static_cast<VARTYPE>(VT_ARRAY | psaSrc->vt);
    parray = copy;
}

CComVariant& CComVariant::operator=(const CComVariant& other)
{
    if (this != &other)
        VariantCopy(this, &other);
    return *this;
}

CComVariant& CComVariant::operator=(const VARIANT& other)
{
    if (static_cast<const VARIANT*>(this) != &other)
        VariantCopy(this, &other);
    return *this;
}

CComVariant& CComVariant::operator=(CComVariant&& other) noexcept
{
    if (this != &other) {
        Clear();
        std::memcpy(static_cast<VARIANT*>(this), static_cast<VARIANT*>(&other), sizeof(VARIANT));
        VariantInit(&other);
    }
    return *this;
}

HRESULT CComVariant::Attach(VARIANT* pSrc)
{
    if (!pSrc)
        return E_INVALIDARG;
    if (pSrc == static_cast<VARIANT*>(this))
        return S_OK;
    HRESULT hr = Clear();
    if (FAILED(hr))
        return hr;
    std::memcpy(static_cast<VARIANT*>(this), pSrc, sizeof(VARIANT));
    VariantInit(pSrc);
    return S_OK;
}

HRESULT CComVariant::Detach(VARIANT* pDest)
{
    if (!pDest)
        return E_POINTER;
    if (pDest == static_cast<VARIANT*>(this))
        return S_OK;
    HRESULT hr = VariantClear(pDest);
    if (FAILED(hr))
        return hr;
    std::memcpy(pDest, static_cast<VARIANT*>(this), sizeof(VARIANT));
    VariantInit(this);
    return S_OK;
}

HRESULT CComVariant::CopyTo(BSTR* pstrDest) const
{
    if (!pstrDest)
        return E_POINTER;
    *pstrDest = nullptr;
    if (vt != VT_BSTR)
        return DISP_E_TYPEMISMATCH;
    if (!bstrVal)
        return S_OK;
    *pstrDest = SysAllocStringLen(bstrVal, SysStringLen(bstrVal));
    return *pstrDest ? S_OK : E_OUTOFMEMORY;
}

HRESULT CComVariant::ChangeType(VARTYPE vtNew, const VARIANT* pSrc)
{
    const VARIANT* src = pSrc ? pSrc : this;
    return VariantChangeType(this, src, 0, vtNew);
}

bool CComVariant::operator==(const VARIANT& other) const
{
    if (vt != other.vt)
        return false;
    if (vt & (VT_ARRAY | VT_BYREF))
        return vt & VT_ARRAY ? parray == other.parray : byref == other.byref;
    switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
        return true;
    case VT_I1:
        return cVal == other.cVal;
    case VT_UI1:
        return bVal == other.bVal;
    case VT_I2:
        return iVal == other.iVal;
    case VT_UI2:
        return uiVal == other.uiVal;
    case VT_BOOL:
        return boolVal == other.boolVal;
    case VT_I4:
    case VT_INT:
    case VT_ERROR:
        return lVal == other.lVal;
    case VT_UI4:
    case VT_UINT:
        return ulVal == other.ulVal;
    case VT_R8:
        return dblVal == other.dblVal;
    case VT_BSTR: {
        UINT n = SysStringLen(bstrVal);
        return n == SysStringLen(other.bstrVal) && (n == 0 || std::memcmp(bstrVal, other.bstrVal, n * sizeof(OLECHAR)) == 0);
    }
    case VT_UNKNOWN:
    case VT_DISPATCH:
        return punkVal == other.punkVal;
    default:
        return false;
    }
}
