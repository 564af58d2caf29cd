#include "platform/bus/FalconValues.h"

#include "platform/bus/FalconInterfaces.h"
#include "platform/bus/FalconStandIn.h"
#include "platform/com/SafeArray.h"

#include <algorithm>
#include <cstring>

namespace platform {

HRESULT FalconResultOf(EDeviceResult eResult)
{
    if (eResult == EDeviceResult::Ok)
        return S_OK;
    return static_cast<HRESULT>(static_cast<std::uint32_t>(Falcon::kDeviceErrorBase) +
                                static_cast<std::uint32_t>(eResult));
}

HRESULT MakeFalconReply(const std::vector<BYTE>& arrBytes, VARIANT* pvData)
{
    if (!pvData)
        return E_POINTER;
    VariantClear(pvData);
    std::size_t nCount = arrBytes.size();
    if (std::size_t nLimit = CFalconStandIn::GetReplyLimit(); nLimit != 0)
        nCount = std::min(nCount, nLimit);

    EFalconReplyForm eForm = CFalconStandIn::GetReplyForm();
    if (eForm == EFalconReplyForm::Long) {
        DWORD nValue = 0;
        for (std::size_t i = 0; i < std::min<std::size_t>(nCount, 4); ++i)
            nValue |= static_cast<DWORD>(arrBytes[i]) << (8 * i);
        pvData->vt = VT_I4;
        pvData->lVal = static_cast<LONG>(nValue);
        return S_OK;
    }

    const VARTYPE vtElement = eForm == EFalconReplyForm::LongArray ? VT_I4 : VT_UI1;
    SAFEARRAY* psa = SafeArrayCreateVector(vtElement, 0, static_cast<ULONG>(nCount));
    if (!psa)
        return E_OUTOFMEMORY;
    void* pvElements = nullptr;
    if (FAILED(SafeArrayAccessData(psa, &pvElements))) {
        SafeArrayDestroy(psa);
        return E_UNEXPECTED;
    }
    for (std::size_t i = 0; i < nCount; ++i) {
        if (vtElement == VT_I4)
            static_cast<LONG*>(pvElements)[i] = arrBytes[i];
        else
            static_cast<BYTE*>(pvElements)[i] = arrBytes[i];
    }
    SafeArrayUnaccessData(psa);
    pvData->vt = static_cast<VARTYPE>(VT_ARRAY | vtElement);
    pvData->parray = psa;
    return S_OK;
}

HRESULT FalconValueBytes(const VARIANT& vData, std::vector<BYTE>& arrBytes)
{
    arrBytes.clear();
    if (vData.vt == VT_UI1) {
        arrBytes.push_back(vData.bVal);
        return S_OK;
    }
    if (vData.vt != (VT_ARRAY | VT_UI1) || !vData.parray)
        return DISP_E_TYPEMISMATCH;
    SAFEARRAY* psa = vData.parray;
    if (SafeArrayGetDim(psa) != 1 || SafeArrayGetElemsize(psa) != 1)
        return DISP_E_TYPEMISMATCH;
    const ULONG nCount = psa->rgsabound[0].cElements;
    if (nCount == 0)
        return E_INVALIDARG;
    void* pvElements = nullptr;
    HRESULT hr = SafeArrayAccessData(psa, &pvElements);
    if (FAILED(hr))
        return hr;
    const BYTE* pElements = static_cast<const BYTE*>(pvElements);
    arrBytes.assign(pElements, pElements + nCount);
    SafeArrayUnaccessData(psa);
    return S_OK;
}

}  // namespace platform
