#include "platform/com/Variant.h"

#include "platform/com/SafeArray.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace {

bool IsKnownScalar(VARTYPE vt)
{
    switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I2:
    case VT_I4:
    case VT_R8:
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_ERROR:
    case VT_BOOL:
    case VT_UNKNOWN:
    case VT_I1:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
        return true;
    default:
        return false;
    }
}

bool IsKnown(VARTYPE vt)
{
    if (vt & VT_BYREF)
        return true;
    if (vt & VT_ARRAY)
        return (vt & ~VT_ARRAY) != 0 && !((vt & ~VT_ARRAY) & ~VT_TYPEMASK);
    return IsKnownScalar(vt);
}

bool IsInteger(VARTYPE vt)
{
    switch (vt) {
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_INT:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UINT:
    case VT_BOOL:
        return true;
    default:
        return false;
    }
}

long long IntegerOf(const VARIANT& v)
{
    switch (v.vt) {
    case VT_I1:
        return v.cVal;
    case VT_I2:
        return v.iVal;
    case VT_I4:
        return v.lVal;
    case VT_INT:
        return v.intVal;
    case VT_UI1:
        return v.bVal;
    case VT_UI2:
        return v.uiVal;
    case VT_UI4:
        return v.ulVal;
    case VT_UINT:
        return v.uintVal;
    case VT_BOOL:
        return v.boolVal;
    default:
        return 0;
    }
}

bool RangeOf(VARTYPE vt, long long& lo, long long& hi)
{
    switch (vt) {
    case VT_I1:
        lo = -128, hi = 127;
        return true;
    case VT_I2:
        lo = -32768, hi = 32767;
        return true;
    case VT_I4:
    case VT_INT:
        lo = std::numeric_limits<LONG>::min(), hi = std::numeric_limits<LONG>::max();
        return true;
    case VT_UI1:
        lo = 0, hi = 255;
        return true;
    case VT_UI2:
        lo = 0, hi = 65535;
        return true;
    case VT_UI4:
    case VT_UINT:
        lo = 0, hi = std::numeric_limits<ULONG>::max();
        return true;
    default:
        return false;
    }
}

void StoreInteger(VARIANT& v, VARTYPE vt, long long n)
{
    v.vt = vt;
    switch (vt) {
    case VT_I1:
        v.cVal = static_cast<CHAR>(n);
        break;
    case VT_I2:
        v.iVal = static_cast<SHORT>(n);
        break;
    case VT_I4:
        v.lVal = static_cast<LONG>(n);
        break;
    case VT_INT:
        v.intVal = static_cast<INT>(n);
        break;
    case VT_UI1:
        v.bVal = static_cast<BYTE>(n);
        break;
    case VT_UI2:
        v.uiVal = static_cast<USHORT>(n);
        break;
    case VT_UI4:
        v.ulVal = static_cast<ULONG>(n);
        break;
    case VT_UINT:
        v.uintVal = static_cast<UINT>(n);
        break;
    default:
        break;
    }
}

// Text to number: optional blanks around a decimal integer or real.
bool ParseNumber(const std::string& text, double& out, bool& integral, long long& n)
{
    std::size_t b = text.find_first_not_of(" \t");
    std::size_t e = text.find_last_not_of(" \t");
    if (b == std::string::npos)
        return false;
    std::string t = text.substr(b, e - b + 1);
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(t.c_str(), &end, 10);
    if (end && *end == '\0' && errno == 0) {
        integral = true;
        n = v;
        out = static_cast<double>(v);
        return true;
    }
    errno = 0;
    double d = std::strtod(t.c_str(), &end);
    if (!end || *end != '\0' || errno == ERANGE || !std::isfinite(d))
        return false;
    integral = false;
    out = d;
    return true;
}

bool EqualsNoCase(const std::string& a, const char* b)
{
    std::size_t n = std::strlen(b);
    if (a.size() != n)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        char c = a[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != b[i])
            return false;
    }
    return true;
}

// Reals go to integers rounded half to even, as the platform rounds them.
HRESULT IntegerFromDouble(double d, long long& n)
{
    if (!std::isfinite(d))
        return DISP_E_OVERFLOW;
    // The default rounding mode rounds halves to even.
    double r = std::nearbyint(d);
    if (r < -9.2e18 || r > 9.2e18)
        return DISP_E_OVERFLOW;
    n = static_cast<long long>(r);
    return S_OK;
}

HRESULT ToInteger(const VARIANT& src, VARTYPE vt, VARIANT& out)
{
    long long n = 0;
    if (src.vt == VT_EMPTY) {
        n = 0;
    } else if (IsInteger(src.vt)) {
        n = IntegerOf(src);
    } else if (src.vt == VT_R8) {
        HRESULT hr = IntegerFromDouble(src.dblVal, n);
        if (FAILED(hr))
            return hr;
    } else if (src.vt == VT_BSTR) {
        std::string text = platform::BstrToUtf8(src.bstrVal);
        double d;
        bool integral;
        if (!ParseNumber(text, d, integral, n))
            return DISP_E_TYPEMISMATCH;
        if (!integral) {
            HRESULT hr = IntegerFromDouble(d, n);
            if (FAILED(hr))
                return hr;
        }
    } else {
        return DISP_E_TYPEMISMATCH;
    }
    long long lo, hi;
    RangeOf(vt, lo, hi);
    if (n < lo || n > hi)
        return DISP_E_OVERFLOW;
    StoreInteger(out, vt, n);
    return S_OK;
}

HRESULT ToBool(const VARIANT& src, VARIANT& out)
{
    bool value;
    if (src.vt == VT_EMPTY) {
        value = false;
    } else if (IsInteger(src.vt)) {
        value = IntegerOf(src) != 0;
    } else if (src.vt == VT_R8) {
        value = src.dblVal != 0.0;
    } else if (src.vt == VT_BSTR) {
        std::string text = platform::BstrToUtf8(src.bstrVal);
        double d;
        bool integral;
        long long n;
        if (EqualsNoCase(text, "true"))
            value = true;
        else if (EqualsNoCase(text, "false"))
            value = false;
        else if (ParseNumber(text, d, integral, n))
            value = d != 0.0;
        else
            return DISP_E_TYPEMISMATCH;
    } else {
        return DISP_E_TYPEMISMATCH;
    }
    out.vt = VT_BOOL;
    out.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT ToDouble(const VARIANT& src, VARIANT& out)
{
    double d;
    if (src.vt == VT_EMPTY) {
        d = 0.0;
    } else if (IsInteger(src.vt)) {
        d = static_cast<double>(IntegerOf(src));
    } else if (src.vt == VT_BSTR) {
        bool integral;
        long long n;
        if (!ParseNumber(platform::BstrToUtf8(src.bstrVal), d, integral, n))
            return DISP_E_TYPEMISMATCH;
    } else {
        return DISP_E_TYPEMISMATCH;
    }
    out.vt = VT_R8;
    out.dblVal = d;
    return S_OK;
}

HRESULT ToText(const VARIANT& src, USHORT wFlags, VARIANT& out)
{
    std::string text;
    if (src.vt == VT_EMPTY) {
        text.clear();
    } else if (src.vt == VT_BOOL) {
        if (wFlags & VARIANT_ALPHABOOL)
            text = src.boolVal ? "True" : "False";
        else
            text = src.boolVal ? "-1" : "0";
    } else if (IsInteger(src.vt)) {
        text = std::to_string(IntegerOf(src));
    } else if (src.vt == VT_R8) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.15g", src.dblVal);
        text = buf;
    } else {
        return DISP_E_TYPEMISMATCH;
    }
    BSTR b = platform::BstrFromUtf8(text);
    if (!b)
        return E_OUTOFMEMORY;
    out.vt = VT_BSTR;
    out.bstrVal = b;
    return S_OK;
}

}  // namespace

void VariantInit(VARIANTARG* pvarg)
{
    if (!pvarg)
        return;
    std::memset(pvarg, 0, sizeof *pvarg);
    pvarg->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANTARG* pvarg)
{
    if (!pvarg)
        return E_INVALIDARG;
    VARTYPE vt = pvarg->vt;
    if (!IsKnown(vt))
        return DISP_E_BADVARTYPE;
    if (!(vt & VT_BYREF)) {
        if (vt & VT_ARRAY) {
            HRESULT hr = SafeArrayDestroy(pvarg->parray);
            if (FAILED(hr))
                return hr;
        } else if (vt == VT_BSTR) {
            SysFreeString(pvarg->bstrVal);
        } else if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
            if (pvarg->punkVal)
                pvarg->punkVal->Release();
        }
    }
    VariantInit(pvarg);
    return S_OK;
}

HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc)
{
    if (!pvargDest || !pvargSrc)
        return E_INVALIDARG;
    if (pvargDest == pvargSrc)
        return S_OK;
    VARTYPE vt = pvargSrc->vt;
    if (!IsKnown(vt))
        return DISP_E_BADVARTYPE;
    // Make the copy first: a failure leaves the destination untouched.
    VARIANT copy = *pvargSrc;
    if (!(vt & VT_BYREF)) {
        if (vt & VT_ARRAY) {
            HRESULT hr = SafeArrayCopy(pvargSrc->parray, &copy.parray);
            if (FAILED(hr))
                return hr;
        } else if (vt == VT_BSTR) {
            BSTR src = pvargSrc->bstrVal;
            copy.bstrVal = src ? SysAllocStringLen(src, SysStringLen(src)) : nullptr;
            if (src && !copy.bstrVal)
                return E_OUTOFMEMORY;
        } else if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
            if (copy.punkVal)
                copy.punkVal->AddRef();
        }
    }
    HRESULT hr = VariantClear(pvargDest);
    if (FAILED(hr)) {
        VariantClear(&copy);
        return hr;
    }
    *pvargDest = copy;
    return S_OK;
}

HRESULT VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc, USHORT wFlags, VARTYPE vt)
{
    if (!pvargDest || !pvargSrc)
        return E_INVALIDARG;
    const VARIANT& src = *pvargSrc;
    VARIANT out;
    VariantInit(&out);
    HRESULT hr;
    if (src.vt == vt) {
        hr = VariantCopy(&out, &src);
    } else if (src.vt == VT_NULL || (src.vt & (VT_ARRAY | VT_BYREF))) {
        hr = DISP_E_TYPEMISMATCH;
    } else if (vt == VT_EMPTY) {
        hr = S_OK;
    } else if (vt == VT_NULL) {
        out.vt = VT_NULL;
        hr = S_OK;
    } else if (vt == VT_BOOL) {
        hr = ToBool(src, out);
    } else if (vt == VT_R8) {
        hr = ToDouble(src, out);
    } else if (vt == VT_BSTR) {
        hr = ToText(src, wFlags, out);
    } else if (long long lo, hi; RangeOf(vt, lo, hi)) {
        hr = ToInteger(src, vt, out);
    } else if (!IsKnown(vt)) {
        hr = DISP_E_BADVARTYPE;
    } else {
        hr = DISP_E_TYPEMISMATCH;
    }
    if (FAILED(hr))
        return hr;
    hr = VariantClear(pvargDest);
    if (FAILED(hr)) {
        VariantClear(&out);
        return hr;
    }
    *pvargDest = out;
    return S_OK;
}
