#pragma once
// VARIANT: a tagged value as it crosses object interfaces. The kinds held
// here are those the host and bus interfaces exchange: empty, null, small
// integers, booleans, doubles, texts, interfaces and one-dimensional arrays.
// A VT_DISPATCH value is an interface pointer like VT_UNKNOWN (in punkVal).

#include "platform/com/Bstr.h"
#include "platform/com/ComTypes.h"

using VARTYPE = USHORT;
using VARIANT_BOOL = SHORT;
using DOUBLE = double;
using CHAR = char;

constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R8 = 5,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_INT = 22,
    VT_UINT = 23,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
    VT_TYPEMASK = 0x0FFF,
};

struct SAFEARRAY;

struct VARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONG lVal;
        BYTE bVal;
        SHORT iVal;
        CHAR cVal;
        USHORT uiVal;
        ULONG ulVal;
        INT intVal;
        UINT uintVal;
        DOUBLE dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        BSTR bstrVal;
        IUnknown* punkVal;
        SAFEARRAY* parray;
        void* byref;
    };
};

using VARIANTARG = VARIANT;

// VariantChangeType flag: booleans become "True"/"False" instead of "-1"/"0".
constexpr USHORT VARIANT_ALPHABOOL = 0x2;

void VariantInit(VARIANTARG* pvarg);
// Frees what the value owns (text, interface reference, array) and leaves
// VT_EMPTY. DISP_E_BADVARTYPE for a kind this layer does not know,
// DISP_E_ARRAYISLOCKED for a locked array; the value is then left as it was.
HRESULT VariantClear(VARIANTARG* pvarg);
// A deep copy: texts and arrays are copied, interfaces AddRef'd.
HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc);
// Converts between the scalar kinds and text; pvargDest may be pvargSrc.
// DISP_E_TYPEMISMATCH when no conversion exists (null, interfaces, arrays,
// unreadable text), DISP_E_OVERFLOW when the value does not fit.
HRESULT VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc, USHORT wFlags, VARTYPE vt);
