#include "access/AbsFalcon.h"

#include "common/Log.h"
#include "common/ResultCode.h"
#include "platform/com/ComBSTR.h"
#include "platform/com/ComVariant.h"
#include "platform/com/SafeArray.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cxxabi.h>
#include <exception>
#include <memory>
#include <typeinfo>

namespace {

// The class name of an exception, readable.
std::string ClassNameOf(const std::exception& e)
{
    const char* pszMangled = typeid(e).name();
    int nStatus = 0;
    std::unique_ptr<char, void (*)(void*)> pName(abi::__cxa_demangle(pszMangled, nullptr, nullptr, &nStatus),
                                                 std::free);
    return nStatus == 0 && pName ? std::string(pName.get()) : std::string(pszMangled);
}

// The interface's class id as Open2 takes it: braced text, 38 characters.
CComBSTR InterfaceText(const CFalconConnectionParams& params)
{
    char szGuid[39];
    std::snprintf(szGuid, sizeof szGuid, "%s", params.GetGuidText().c_str());
    return CComBSTR(szGuid);
}

// The connection parameter as a text VARIANT, its string null when empty.
void SetParameterVariant(const CFalconConnectionParams& params, CComVariant& vParameter)
{
    vParameter.Clear();
    vParameter.vt = VT_BSTR;
    vParameter.bstrVal =
        params.GetConnectionParam().empty() ? nullptr : platform::BstrFromUtf8(params.GetConnectionParam());
}

// Memory and user memory go through access objects of the same form; what
// names them in the log tells the two apart.
template <class TAccess>
int WriteThrough(TAccess* pAccess, const char* pszWhat, DWORD nAddress, const BYTE* pData, WORD nLength,
                 WORD nFlag)
{
    if (!pAccess) {
        LOG_ERROR("no connection to a device");
        return 3;
    }
    CComVariant vData;
    if (!CAbsFalcon::BytesToVariant(pData, nLength, vData)) {
        LOG_ERROR("failed to convert BYTE array into VARIANT");
        return 5;
    }
    HRESULT hr = pAccess->Write(nAddress, vData, nFlag);
    if (FAILED(hr)) {
        LOG_ERROR("failed to write %s, hr=0x%08X", pszWhat, Hr(hr));
        return 5;
    }
    return 0;
}

template <class TAccess>
int ReadThrough(TAccess* pAccess, const char* pszWhat, DWORD nAddress, BYTE* pBuffer, WORD nLength)
{
    if (!pAccess) {
        LOG_ERROR("no connection to a device");
        return 3;
    }
    CComVariant vData;
    HRESULT hr = pAccess->Read(nLength, nAddress, &vData);
    if (FAILED(hr)) {
        LOG_ERROR("failed to read %s, hr=0x%08X", pszWhat, Hr(hr));
        return 5;
    }
    if (!CAbsFalcon::VariantToBytes(vData, pBuffer, nLength)) {
        LOG_ERROR("failed to convert VARIANT into BYTE array");
        return -1;
    }
    return 0;
}

}  // namespace

CAbsFalcon::~CAbsFalcon()
{
    StopCommunication();
}

int CAbsFalcon::Init(const CFalconConnectionParams& params)
{
    m_oParams = params;
    return 1;
}

// ---------------------------------------------------------------------------
// Connection

int CAbsFalcon::StartCommunication(WORD nIndividualAddress)
{
    if (m_pConnection || m_pConnection2) {
        LOG_ERROR("Connection to a device was already established");
        return 3;
    }
    try {
        if (StartCommunicationSteps(nIndividualAddress) == 0)
            return 0;
    } catch (const std::exception& e) {
        LOG_ERROR("exception starting communication, %s", ClassNameOf(e).c_str());
    } catch (...) {
        LOG_ERROR("exception starting communication, %s", "unknown exception");
    }
    StopCommunication();
    return 3;
}

template <class T>
bool CAbsFalcon::CreateAccessObject(CComPtr<T>& pObject, const char* pszProgId, const char* pszName)
{
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(pszProgId, &clsid);
    if (SUCCEEDED(hr))
        hr = pObject.CoCreateInstance(clsid, nullptr, CLSCTX_ALL);
    if (FAILED(hr)) {
        LOG_ERROR("unable to create %s object, hr=0x%08X", pszName, Hr(hr));
        return false;
    }
    hr = pObject->putref_Connection(m_pConnection);
    if (FAILED(hr)) {
        LOG_ERROR("Calling putref_Connection, hr=0x%08X", Hr(hr));
        return false;
    }
    return true;
}

int CAbsFalcon::StartCommunicationSteps(WORD nIndividualAddress)
{
    HRESULT hr = m_pConnection.CoCreateInstance(Falcon::kProgIdConnection, nullptr, CLSCTX_ALL);
    if (FAILED(hr)) {
        LOG_ERROR("unable to create connection object, hr=0x%08X", Hr(hr));
        return 3;
    }
    if (OpenConnection(m_pConnection, Falcon::kModeDeviceConnection, nIndividualAddress) != 0)
        return 3;
    if (!CreateAccessObject(m_pPropertyAccess, Falcon::kProgIdPropertyAccess, "property access") ||
        !CreateAccessObject(m_pUserMemoryAccess, Falcon::kProgIdUserMemoryAccess, "user memory access") ||
        !CreateAccessObject(m_pMemoryAccess, Falcon::kProgIdMemoryAccess, "memory access"))
        return 3;
    return 0;
}

int CAbsFalcon::StopCommunication()
{
    m_pMemoryAccess.Release();
    m_pUserMemoryAccess.Release();
    m_pPropertyAccess.Release();
    m_pConnection2.Release();
    m_pConnection.Release();
    return 0;
}

int CAbsFalcon::OpenConnection(Falcon::IConnection* pConnection, LONG nMode, WORD nIndividualAddress)
{
    if (!pConnection)
        return -1;
    HRESULT hr = pConnection->put_Mode(nMode);
    if (FAILED(hr)) {
        LOG_ERROR("failed to set mode, hr=0x%08X", Hr(hr));
        return -1;
    }
    CComVariant vAddress(static_cast<int>(nIndividualAddress), VT_I4);
    hr = pConnection->put_TargetAddress(vAddress);
    if (FAILED(hr)) {
        LOG_ERROR("failed to set target address, hr=0x%08X", Hr(hr));
        return -1;
    }
    CComBSTR bstrInterface = InterfaceText(m_oParams);
    CComVariant vParameter;
    SetParameterVariant(m_oParams, vParameter);
    LONG nDeviceOpenError = 0;
    hr = pConnection->Open2(bstrInterface, vParameter, &nDeviceOpenError);
    if (FAILED(hr)) {
        LOG_ERROR("failed to open bus connection, hr=0x%08X", Hr(hr));
        return -1;
    }
    if (nDeviceOpenError != 0) {
        LOG_WARNING("Extended error information opening bus connection, DeviceOpenError = %ld",
                    static_cast<long>(nDeviceOpenError));
        return -1;
    }
    return 0;
}

int CAbsFalcon::TestConnection(const CFalconConnectionParams& params)
{
    CComPtr<Falcon::IConnection> pConnection;
    HRESULT hr = pConnection.CoCreateInstance(Falcon::kProgIdConnection, nullptr, CLSCTX_ALL);
    if (FAILED(hr)) {
        LOG_ERROR("unable to create connection object, hr=0x%08X", Hr(hr));
        return -1;
    }
    hr = pConnection->put_Mode(Falcon::kModeInterfaceCheck);
    if (FAILED(hr)) {
        LOG_ERROR("failed to set mode, hr=0x%08X", Hr(hr));
        return -1;
    }
    CComBSTR bstrInterface = InterfaceText(params);
    CComVariant vParameter;
    SetParameterVariant(params, vParameter);
    LONG nDeviceOpenError = 0;
    hr = pConnection->Open2(bstrInterface, vParameter, &nDeviceOpenError);
    if (FAILED(hr)) {
        LOG_ERROR("Falcon::IConnectionPtr::Open2 failed, hr=0x%08X", Hr(hr));
        return -1;
    }
    // Extended errors 1 to 8 mean that no interface answered; higher values
    // come from an interface that is there. Negative values are not known
    // from any interface and count as no answer.
    if (nDeviceOpenError == 0 || nDeviceOpenError > 8)
        return 0;
    return static_cast<int>(nDeviceOpenError < 0 ? -1 : nDeviceOpenError);
}

// ---------------------------------------------------------------------------
// Accesses

int CAbsFalcon::ReadProperty(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode, WORD nStartIndex, BYTE nCount,
                             BYTE* pBuffer, WORD nBufferLength)
{
    if (!m_pPropertyAccess) {
        LOG_ERROR("no connection to a device");
        return 3;
    }
    CComVariant vData;
    HRESULT hr = m_pPropertyAccess->Read(nObjectIndex, nPropertyId, nTypeCode, nStartIndex, nCount, &vData);
    if (FAILED(hr)) {
        LOG_ERROR("failed to read propertydata, hr=0x%08X", Hr(hr));
        return 5;
    }
    if (!VariantToBytes(vData, pBuffer, nBufferLength)) {
        LOG_ERROR("failed to convert VARIANT into BYTE array");
        return -1;
    }
    return 0;
}

int CAbsFalcon::WriteProperty(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode, WORD nStartIndex, BYTE nCount,
                              const BYTE* pData, WORD nDataLength, WORD nFlag)
{
    if (!m_pPropertyAccess) {
        LOG_ERROR("no connection to a device");
        return 3;
    }
    CComVariant vData;
    if (!PropertyBytesToVariant(nTypeCode, nCount, pData, nDataLength, vData)) {
        LOG_ERROR("failed to convert BYTE array into VARIANT");
        return -1;
    }
    HRESULT hr = m_pPropertyAccess->Write(nObjectIndex, nPropertyId, nTypeCode, nStartIndex, nCount, vData, nFlag);
    if (FAILED(hr)) {
        LOG_ERROR("failed to write property data, hr=0x%08X", Hr(hr));
        return 5;
    }
    return 0;
}

int CAbsFalcon::WriteUserMemory(DWORD nAddress, const BYTE* pData, WORD nLength, WORD nFlag)
{
    return WriteThrough(m_pUserMemoryAccess.p, "user memory", nAddress, pData, nLength, nFlag);
}

int CAbsFalcon::ReadUserMemory(DWORD nAddress, BYTE* pBuffer, WORD nLength)
{
    return ReadThrough(m_pUserMemoryAccess.p, "user memory", nAddress, pBuffer, nLength);
}

int CAbsFalcon::WriteMemory(DWORD nAddress, const BYTE* pData, WORD nLength, WORD nFlag)
{
    return WriteThrough(m_pMemoryAccess.p, "memory", nAddress, pData, nLength, nFlag);
}

int CAbsFalcon::ReadMemory(DWORD nAddress, BYTE* pBuffer, WORD nLength)
{
    return ReadThrough(m_pMemoryAccess.p, "memory", nAddress, pBuffer, nLength);
}

// ---------------------------------------------------------------------------
// VARIANT conversions

bool CAbsFalcon::VariantToBytes(const VARIANT& vData, BYTE* pBuffer, WORD nLength)
{
    if (!pBuffer && nLength > 0)
        return false;
    if (nLength > 0)
        std::memset(pBuffer, 0, nLength);

    if (vData.vt == (VT_ARRAY | VT_UI1) || vData.vt == (VT_ARRAY | VT_I4)) {
        SAFEARRAY* psa = vData.parray;
        void* pvElements = nullptr;
        if (!psa || FAILED(SafeArrayAccessData(psa, &pvElements))) {
            LOG_ERROR("error accessing SAFEARRAY data");
            return false;
        }
        const ULONG nElementSize = SafeArrayGetElemsize(psa);
        const ULONG nCount = std::min<ULONG>(nLength, psa->rgsabound[0].cElements);
        // Only the first byte of each element: the low byte of a long.
        const BYTE* pSource = static_cast<const BYTE*>(pvElements);
        for (ULONG i = 0; i < nCount; ++i)
            pBuffer[i] = pSource[static_cast<std::size_t>(i) * nElementSize];
        SafeArrayUnaccessData(psa);
        return true;
    }
    if (vData.vt == VT_I4) {
        const DWORD nValue = static_cast<DWORD>(vData.lVal);
        for (WORD i = 0; i < std::min<WORD>(nLength, 4); ++i)
            pBuffer[i] = static_cast<BYTE>(nValue >> (8 * i));
        return true;
    }
    LOG_ERROR("invalid VARTYPE = %d", static_cast<int>(vData.vt));
    return false;
}

bool CAbsFalcon::BytesToVariant(const BYTE* pData, int nLength, VARIANT& vData)
{
    VariantClear(&vData);
    if (!pData || nLength <= 0)
        return false;
    SAFEARRAY* psa = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(nLength));
    if (!psa) {
        LOG_ERROR("failed to create SAFEARRAY");
        return false;
    }
    void* pvElements = nullptr;
    if (FAILED(SafeArrayAccessData(psa, &pvElements))) {
        LOG_ERROR("error accessing SAFEARRAY data");
        SafeArrayDestroy(psa);
        return false;
    }
    std::memcpy(pvElements, pData, static_cast<std::size_t>(nLength));
    SafeArrayUnaccessData(psa);
    vData.vt = VT_ARRAY | VT_UI1;
    vData.parray = psa;
    return true;
}

bool CAbsFalcon::PropertyBytesToVariant(BYTE nTypeCode, BYTE nCount, const BYTE* pData, int nLength,
                                        VARIANT& vData)
{
    if (nTypeCode == 0 || nTypeCode > 2 || (nCount > 1 && nLength > 1))
        return BytesToVariant(pData, nLength, vData);
    VariantClear(&vData);
    if (!pData || nLength <= 0)
        return false;
    vData.vt = VT_UI1;
    vData.bVal = pData[0];
    return true;
}
