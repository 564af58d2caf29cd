#pragma once
// SAFEARRAY: a one-dimensional array with bounds and a lock count, as the
// bus interfaces pass byte and long blocks. Element kinds: UI1, I1, I2, UI2,
// I4, UI4, INT, UINT, BOOL, R8, BSTR, VARIANT, UNKNOWN, DISPATCH. Elements
// start zeroed; the array owns its texts, values and interface references.

#include "platform/com/Variant.h"

struct SAFEARRAYBOUND {
    ULONG cElements;
    LONG lLbound;
};

constexpr USHORT FADF_HAVEVARTYPE = 0x0080;
constexpr USHORT FADF_BSTR = 0x0100;
constexpr USHORT FADF_UNKNOWN = 0x0200;
constexpr USHORT FADF_DISPATCH = 0x0400;
constexpr USHORT FADF_VARIANT = 0x0800;

struct SAFEARRAY {
    USHORT cDims;
    USHORT fFeatures;
    ULONG cbElements;
    ULONG cLocks;
    void* pvData;
    VARTYPE vt;
    SAFEARRAYBOUND rgsabound[1];
};

// Null for an element kind this layer does not hold, for more than one
// dimension, or when memory runs out.
SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT cDims, const SAFEARRAYBOUND* rgsabound);
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements);
// Frees the elements' texts, values and references, then the array.
HRESULT SafeArrayDestroy(SAFEARRAY* psa);
HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut);

UINT SafeArrayGetDim(SAFEARRAY* psa);
UINT SafeArrayGetElemsize(SAFEARRAY* psa);
HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt);
// nDim counts from 1.
HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound);
HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound);

HRESULT SafeArrayLock(SAFEARRAY* psa);
HRESULT SafeArrayUnlock(SAFEARRAY* psa);
// Locks the array and hands out its element block.
HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData);
HRESULT SafeArrayUnaccessData(SAFEARRAY* psa);

// One element by index (one index per dimension). Get copies out into *pv
// (a new BSTR, a copied VARIANT, an AddRef'd interface). Put copies in and
// frees what the element held before; as callers have always written it, pv
// is the BSTR itself for VT_BSTR arrays and the interface pointer itself for
// interface arrays, and points to the value for every other kind.
HRESULT SafeArrayGetElement(SAFEARRAY* psa, const LONG* rgIndices, void* pv);
HRESULT SafeArrayPutElement(SAFEARRAY* psa, const LONG* rgIndices, const void* pv);
