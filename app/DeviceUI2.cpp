#include "app/DeviceUI2.h"

#include "access/AssociationVeto.h"
#include "access/HostObjectMaps.h"
#include "app/AssociationTable.h"
#include "app/PlugInApp.h"
#include "app/ResourceLanguage.h"
#include "app/StartUp.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/MessageBox.h"
#include "common/ResString.h"
#include "common/ResultCode.h"
#include "platform/base/MessageBoxSink.h"
#include "platform/com/ComBSTR.h"
#include "platform/com/ComVariant.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <new>
#include <strings.h>

CDeviceUI2::CDeviceUI2() : m_hostLogger("Vek_ZR02.DeviceUI2.1") {}

CDeviceUI2::~CDeviceUI2() = default;

HRESULT CDeviceUI2::FinalConstruct()
{
    g_resourceLanguage.SwitchToHostLanguage();
    return S_OK;
}

HRESULT CDeviceUI2::QueryContextMenu(void*, UINT, UINT, UINT, UINT)
{
    return E_NOTIMPL;
}

HRESULT CDeviceUI2::InvokeCommand(void*)
{
    return E_NOTIMPL;
}

HRESULT CDeviceUI2::GetCommandString(std::uintptr_t, UINT, UINT*, char*, UINT)
{
    return E_NOTIMPL;
}

HRESULT CDeviceUI2::SetObjects(LONG nCount, IUnknown** ppObjects)
{
    if (!ppObjects)
        return E_POINTER;
    m_arrObjects.clear();
    if (nCount <= 0)
        return E_INVALIDARG;
    // A null entry is no object: it is skipped rather than held.
    for (LONG i = 0; i < nCount; ++i)
        if (ppObjects[i])
            m_arrObjects.emplace_back(ppObjects[i]);
    return m_arrObjects.empty() ? E_INVALIDARG : S_OK;
}

HRESULT CDeviceUI2::Edit(HWND hParent)
{
    if (m_arrObjects.empty())
        return E_ABORT;
    g_bStandalone = false;
    theApp.DisableDaylightSaving(true);
    const int nResult = StartZR(m_arrObjects.front(), hParent, "");
    theApp.RestoreDaylightSaving(true);
    return nResult == IDOK ? S_OK : E_ABORT;
}

HRESULT CDeviceUI2::OnAddAssociation(IUnknown* pAssociation)
{
    if (g_bOwnAssociationChange)
        return S_OK;
    // The check may come outside an editing run; a logger made for it alone
    // goes again when the check is done.
    std::unique_ptr<CHostLogger> pOwnLogger;
    if (!g_pHostLogger) {
        pOwnLogger = std::make_unique<CHostLogger>("Vek_ZR02");
        g_pHostLogger = pOwnLogger.get();
    }
    struct LoggerRelease {
        std::unique_ptr<CHostLogger>& pLogger;
        ~LoggerRelease()
        {
            if (pLogger && g_pHostLogger == pLogger.get())
                g_pHostLogger = nullptr;
        }
    } loggerRelease {pOwnLogger};

    if (!pAssociation) {
        LOG_ERROR("OnAddAssociation called with NULL pointer");
        return S_OK;
    }

    bool bAccept = true;
    m_pCacheData.Release();
    try {
        do {
            CComPtr<IEtsAssociation> pEtsAssociation;
            HRESULT hr = pAssociation->QueryInterface(&pEtsAssociation.p);
            if (FAILED(hr) || !pEtsAssociation) {
                LOG_ERROR("Couldnt get Association interface hr=0x%08X", Hr(E_POINTER));
                break;
            }
            CComPtr<IEtsDevice> pDevice;
            hr = pEtsAssociation->get_Device(&pDevice);
            if (FAILED(hr) || !pDevice) {
                LOG_ERROR("Couldnt get the Device hr=0x%08X", Hr(FAILED(hr) ? hr : E_POINTER));
                break;
            }
            LONG nDeviceId = -1;
            hr = GetDeviceId(pDevice, nDeviceId);
            if (FAILED(hr)) {
                LOG_ERROR("Couldnt get DeviceId hr=0x%08X", Hr(hr));
                break;
            }
            LONG nObject = -1;
            hr = GetCommObjectNumber(pEtsAssociation, nObject);
            if (FAILED(hr)) {
                LOG_ERROR("Couldnt get DeviceObjectNumber hr=0x%08X", Hr(hr));
                break;
            }

            LONG nFirstObject = -1;
            int bOk = ReadCacheData(pDevice, nFirstObject);
            std::unique_ptr<CAssociationTable> pTable(new (std::nothrow) CAssociationTable);
            if (!pTable)
                break;
            LONG nTotal = 0;
            if (bOk)
                bOk = ReadAssociationTable(pDevice, nTotal, *pTable);

            const std::string strCaption = GetResString(106, "Verbinde Kommunikationsobjekte");
            if (bOk) {
                g_lastAssociationDeviceId = nDeviceId;
                // Objects below the first ordinary one (the quantity trigger
                // objects) may carry several associations; so may the object
                // numbered F itself.
                if ((nFirstObject == -1 || nObject > nFirstObject) && pTable->GetCount(nObject) > 1) {
                    const std::string strFormat =
                        GetResString(105, "Für das Objekt %d ist nur eine Zuordnung zulässig.");
                    char szText[512];
                    std::snprintf(szText, sizeof szText, strFormat.c_str(), static_cast<int>(nObject));
                    CMessageBox().ShowWarning(platform::GetActiveWindow(), szText, strCaption.c_str());
                    bAccept = false;
                }
                if (bAccept && CAssociationTable::IsCounted(nObject) && nTotal > 250) {
                    const std::string strText = GetResString(
                        143, "Die Zuordnung konnte nicht getroffen werden, da die maximal Anzahl von Zuordnungen "
                             "erreicht wurde.");
                    CMessageBox().ShowWarning(platform::GetActiveWindow(), strText.c_str(), strCaption.c_str());
                    bAccept = false;
                }
            } else {
                const std::string strText = GetResString(144, "Fehler beim Ermitteln der Zuordnungsdaten.");
                CMessageBox().ShowError(platform::GetActiveWindow(), strText.c_str(), strCaption.c_str());
                LOG_ERROR("failed to read association data of device %ld", static_cast<long>(nDeviceId));
            }
        } while (false);
    } catch (const std::exception& e) {
        LOG_ERROR("%s", e.what());
    }
    return bAccept ? S_OK : E_ABORT;
}

HRESULT CDeviceUI2::GetDeviceId(IEtsDevice* pDevice, LONG& nId)
{
    nId = -1;
    LONG nCookie = -1;
    HRESULT hr = GetObjectCookie(pDevice, nCookie);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get object cookie. hr=0x%08X", Hr(hr));
        return hr;
    }
    nId = nCookie;
    return hr;
}

HRESULT CDeviceUI2::GetCommObjectNumber(IEtsAssociation* pAssociation, LONG& nNumber)
{
    CComPtr<IEtsCommObject> pObject;
    HRESULT hr = pAssociation->get_Parent(&pObject);
    if (FAILED(hr) || !pObject) {
        hr = FAILED(hr) ? hr : E_POINTER;
        LOG_ERROR("Couldnt get device communication object from association. hr=0x%08X", Hr(hr));
        return hr;
    }
    CComVariant vNumber;
    hr = pObject->GetProperty(CComBSTR("CommunicationObjectNumber"), &vNumber);
    CComVariant vShort;
    if (SUCCEEDED(hr))
        hr = vShort.ChangeType(VT_I2, &vNumber);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get CommunicationObjectNumber. hr=0x%08X", Hr(hr));
        return hr;
    }
    nNumber = vShort.iVal;
    return hr;
}

int CDeviceUI2::ReadCacheData(IEtsDevice* pDevice, LONG& nFirstObject)
{
    CComPtr<IEtsDeviceParameters> pParameters;
    LONG nCount = 0;
    if (!pDevice || FAILED(pDevice->get_DeviceParameters(&pParameters)) || !pParameters ||
        FAILED(pParameters->get_Count(&nCount)))
        return 0;
    for (LONG i = 1; i <= nCount; ++i) {
        CComPtr<IEtsDeviceParameter> pParameter;
        if (FAILED(pParameters->Item(MakeIndexVariant(i), &pParameter)) || !pParameter)
            continue;
        CComBSTR bstrName;
        if (FAILED(pParameter->get_Name(&bstrName)) || !bstrName.m_str)
            continue;
        if (::strcasecmp(bstrName.ToUtf8().c_str(), "CacheData") != 0)
            continue;
        CComVariant vValue;
        HRESULT hr = pParameter->get_Value(&vValue);
        CComVariant vNumber;
        if (SUCCEEDED(hr))
            hr = vNumber.ChangeType(VT_I4, &vValue);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get Parameter value hr=0x%08X", Hr(hr));
            return 0;
        }
        m_pCacheData = pParameter;
        nFirstObject = vNumber.lVal;
        return 1;
    }
    return 0;
}

int CDeviceUI2::ReadAssociationTable(IEtsDevice* pDevice, LONG& nTotal, CAssociationTable& table)
{
    CComPtr<IEtsCommObjects> pObjects;
    HRESULT hr = pDevice->get_VisibleCommunicationObjects(&pObjects);
    if (FAILED(hr) || !pObjects) {
        LOG_ERROR("Couldnt get visible communication objects hr=0x%08X", Hr(FAILED(hr) ? hr : E_POINTER));
        return 0;
    }
    LONG nCount = 0;
    hr = pObjects->get_Count(&nCount);
    if (FAILED(hr)) {
        LOG_ERROR("couldnt get object count hr=0x%08X", Hr(hr));
        return 0;
    }
    // A count read with a call that failed would pass a rule it breaks, so
    // the table counts only when every call succeeded.
    bool bAllRead = true;
    for (LONG i = 1; i <= nCount; ++i) {
        CComPtr<IEtsCommObject> pObject;
        hr = pObjects->Item(MakeIndexVariant(i), &pObject);
        if (FAILED(hr) || !pObject) {
            LOG_ERROR("Couldnt get DeviceCO item for index %d, hr=0x%08X", static_cast<int>(i),
                      Hr(FAILED(hr) ? hr : E_POINTER));
            bAllRead = false;
            continue;
        }
        CComVariant vNumber;
        CComVariant vLong;
        hr = pObject->GetProperty(CComBSTR("CommunicationObjectNumber"), &vNumber);
        if (SUCCEEDED(hr))
            hr = vLong.ChangeType(VT_I4, &vNumber);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get Device Object number hr=0x%08X", Hr(hr));
            bAllRead = false;
            continue;
        }
        const LONG nNumber = vLong.lVal;
        CAssociationTable::Entry* pEntry = table.GetEntry(nNumber);
        if (!pEntry)
            continue;
        LONG nCookie = 0;
        hr = GetObjectCookie(pObject, nCookie);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get object cookie hr=0x%08X", Hr(hr));
            bAllRead = false;
            continue;
        }
        pEntry->nObjectId = nCookie;
        pEntry->nCount = 0;
        CComPtr<IEtsAssociations> pAssociations;
        hr = pObject->get_Associations(&pAssociations);
        if (FAILED(hr) || !pAssociations) {
            LOG_ERROR("Couldnt get Associations hr=0x%08X", Hr(FAILED(hr) ? hr : E_POINTER));
            bAllRead = false;
            continue;
        }
        LONG nAssociations = 0;
        hr = pAssociations->get_Count(&nAssociations);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get associations count hr=0x%08X", Hr(hr));
            bAllRead = false;
            continue;
        }
        pEntry->nCount += nAssociations;
        if (CAssociationTable::IsCounted(nNumber))
            nTotal += nAssociations;
    }
    return bAllRead ? 1 : 0;
}

HRESULT CDeviceUI2::OnRemoveAssociation(IUnknown*)
{
    return S_OK;
}

HRESULT CDeviceUI2::OnObjectChanged(IUnknown*, LONG, LONG)
{
    return S_OK;
}

HRESULT CDeviceUI2::OnParameterChanged(IUnknown*, LONG, LONG)
{
    return S_OK;
}

HRESULT CDeviceUI2::InterfaceSupportsErrorInfo(REFIID)
{
    return S_FALSE;
}
