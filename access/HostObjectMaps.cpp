#include "access/HostObjectMaps.h"

#include "common/Log.h"
#include "common/ResultCode.h"

CHostObjectMap<IEtsDeviceParameter> g_mapDeviceParameters;
CHostObjectMap<IEtsCommObject> g_mapCommObjects;
CHostObjectMap<IEtsGroupAddress> g_mapGroupAddresses;
CHostObjectMap<IEtsMiddleGroup> g_mapMiddleGroups;
CHostObjectMap<IEtsMainGroup> g_mapMainGroups;
CHostObjectMap<IEtsDevice> g_mapDevices;
CHostObjectMap<IEtsProject> g_mapProjects;

namespace {

void ScanProjects(IEtsProjectDatabase* pDatabase)
{
    CComPtr<IEtsProjects> pProjects;
    HRESULT hr = pDatabase->get_Projects(&pProjects);
    if (FAILED(hr) || !pProjects) {
        LOG_ERROR("Couldnt get projects collection. hr=0x%08X", Hr(hr));
        return;
    }
    LONG nCount = 0;
    hr = pProjects->get_Count(&nCount);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get projects collection count. hr=0x%08X", Hr(hr));
        return;
    }
    for (LONG i = 1; i <= nCount; ++i) {
        CComPtr<IEtsProject> pProject;
        hr = pProjects->Item(MakeIndexVariant(i), &pProject);
        if (FAILED(hr) || !pProject) {
            LOG_ERROR("Couldnt get project item with index %ld. hr=0x%08X", static_cast<long>(i), Hr(hr));
            continue;
        }
        LONG nCookie = -1;
        hr = GetObjectCookie(pProject, nCookie);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get project cookie for item with index %ld. hr=0x%08X", static_cast<long>(i), Hr(hr));
            continue;
        }
        g_mapProjects.SetAt(nCookie, pProject);
    }
}

void ScanDevices(IEtsProjectDatabase* pDatabase)
{
    CComPtr<IEtsDevices> pDevices;
    HRESULT hr = pDatabase->get_Devices(&pDevices);
    if (FAILED(hr) || !pDevices) {
        LOG_ERROR("Couldnt get devices collection. hr=0x%08X", Hr(hr));
        return;
    }
    LONG nCount = 0;
    hr = pDevices->get_Count(&nCount);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get devices collection count. hr=0x%08X", Hr(hr));
        return;
    }
    for (LONG i = 1; i <= nCount; ++i) {
        CComPtr<IEtsDevice> pDevice;
        hr = pDevices->Item(MakeIndexVariant(i), &pDevice);
        if (FAILED(hr) || !pDevice) {
            LOG_ERROR("Couldnt get device item with index %ld. hr=0x%08X", static_cast<long>(i), Hr(hr));
            continue;
        }
        LONG nCookie = -1;
        hr = GetObjectCookie(pDevice, nCookie);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get device cookie for item with index %ld. hr=0x%08X", static_cast<long>(i), Hr(hr));
            continue;
        }
        g_mapDevices.SetAt(nCookie, pDevice);
    }
}

void ScanGroupAddresses(IEtsProjectDatabase* pDatabase)
{
    CComPtr<IEtsGroupAddresses> pGroupAddresses;
    HRESULT hr = pDatabase->get_AllGroupAddresses(&pGroupAddresses);
    if (FAILED(hr) || !pGroupAddresses) {
        LOG_ERROR("Couldnt get all GA interface. hr=0x%08X", Hr(hr));
        return;
    }
    LONG nCount = 0;
    hr = pGroupAddresses->get_Count(&nCount);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get GAs count. hr=0x%08X", Hr(hr));
        return;
    }
    for (LONG i = 1; i <= nCount; ++i) {
        CComPtr<IEtsGroupAddress> pGroupAddress;
        hr = pGroupAddresses->Item(MakeIndexVariant(i), &pGroupAddress);
        if (FAILED(hr) || !pGroupAddress) {
            LOG_ERROR("Couldnt get GA. hr=0x%08X", Hr(hr));
            continue;
        }
        CComPtr<IEtsDomObjectInternal> pInternal;
        hr = pGroupAddress.QueryInterface(&pInternal.p);
        if (FAILED(hr) || !pInternal) {
            LOG_ERROR("Couldnt internal Dom Object. hr=0x%08X", Hr(hr));
            continue;
        }
        LONG nCookie = -1;
        hr = GetPersistInfo(pInternal, nCookie);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get object cookie. hr=0x%08X", Hr(hr));
            continue;
        }
        g_mapGroupAddresses.SetAt(nCookie, pGroupAddress);
    }
}

void ScanMiddleGroups(IEtsMainGroup* pMainGroup)
{
    CComPtr<IEtsMiddleGroups> pMiddleGroups;
    HRESULT hr = pMainGroup->get_MiddleGroups(&pMiddleGroups);
    if (FAILED(hr) || !pMiddleGroups) {
        LOG_ERROR("Couldnt get middle groups from Main Group. hr=0x%08X", Hr(hr));
        return;
    }
    LONG nCount = 0;
    hr = pMiddleGroups->get_Count(&nCount);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get middle group count. hr=0x%08X", Hr(hr));
        return;
    }
    for (LONG i = 1; i <= nCount; ++i) {
        CComPtr<IEtsMiddleGroup> pMiddleGroup;
        hr = pMiddleGroups->Item(MakeIndexVariant(i), &pMiddleGroup);
        if (FAILED(hr) || !pMiddleGroup) {
            LOG_ERROR("Couldnt get middle group item. hr=0x%08X", Hr(hr));
            continue;
        }
        LONG nCookie = -1;
        hr = GetObjectCookie(pMiddleGroup, nCookie);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get middle group cookie. hr=0x%08X", Hr(hr));
            continue;
        }
        g_mapMiddleGroups.SetAt(nCookie, pMiddleGroup);
    }
}

void ScanMainGroups(IEtsProjectDatabase* pDatabase)
{
    CComPtr<IEtsMainGroups> pMainGroups;
    HRESULT hr = pDatabase->get_MainGroups(&pMainGroups);
    if (FAILED(hr) || !pMainGroups) {
        LOG_ERROR("Couldnt get Main Groups. hr=0x%08X", Hr(hr));
        return;
    }
    LONG nCount = 0;
    hr = pMainGroups->get_Count(&nCount);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get Main Group count. hr=0x%08X", Hr(hr));
        return;
    }
    for (LONG i = 1; i <= nCount; ++i) {
        CComPtr<IEtsMainGroup> pMainGroup;
        hr = pMainGroups->Item(MakeIndexVariant(i), &pMainGroup);
        if (FAILED(hr) || !pMainGroup) {
            LOG_ERROR("Couldnt get Main Group item. hr=0x%08X", Hr(hr));
            continue;
        }
        LONG nCookie = -1;
        hr = GetObjectCookie(pMainGroup, nCookie);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get Main Group cookie. hr=0x%08X", Hr(hr));
            continue;
        }
        g_mapMainGroups.SetAt(nCookie, pMainGroup);
        ScanMiddleGroups(pMainGroup);
    }
}

}  // namespace

void ScanEtsProjects(IEtsDevice* pDevice)
{
    if (!pDevice) {
        LOG_ERROR("Couldnt get device parent. hr=0x%08X", Hr(E_POINTER));
        return;
    }
    CComPtr<IEtsProjectDatabase> pDatabase;
    HRESULT hr = pDevice->get_Parent(&pDatabase);
    if (FAILED(hr) || !pDatabase) {
        LOG_ERROR("Couldnt get device parent. hr=0x%08X", Hr(FAILED(hr) ? hr : E_POINTER));
        return;
    }
    ScanProjects(pDatabase);
    ScanDevices(pDatabase);
    ScanGroupAddresses(pDatabase);
    ScanMainGroups(pDatabase);
}

void ReleaseHostObjectMaps()
{
    g_mapDeviceParameters.RemoveAll();
    g_mapCommObjects.RemoveAll();
    g_mapGroupAddresses.RemoveAll();
    g_mapMiddleGroups.RemoveAll();
    g_mapMainGroups.RemoveAll();
    g_mapDevices.RemoveAll();
    g_mapProjects.RemoveAll();
}

HRESULT GetPersistInfo(IEtsDomObjectInternal* pObject, LONG& nCookie)
{
    if (!pObject)
        return E_FAIL;
    LONG nValue = -1;
    HRESULT hr = pObject->GetPersistInfo(&nValue, nullptr);
    if (FAILED(hr)) {
        LOG_ERROR("Calling function GetPersistInfo hr=0x%08X", Hr(hr));
        return hr;
    }
    nCookie = nValue;
    return hr;
}

HRESULT GetObjectCookie(IUnknown* pObject, LONG& nCookie)
{
    if (!pObject)
        return E_FAIL;
    CComPtr<IEtsDomObjectInternal> pInternal;
    HRESULT hr = pObject->QueryInterface(&pInternal.p);
    if (FAILED(hr) || !pInternal)
        return FAILED(hr) ? hr : E_FAIL;
    return GetPersistInfo(pInternal, nCookie);
}
