#include "app/DeviceUI2.h"

#include "app/PlugInApp.h"
#include "app/ResourceLanguage.h"
#include "app/StartUp.h"
#include "model/Globals.h"

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

HRESULT CDeviceUI2::OnAddAssociation(IUnknown*)
{
    // Every association is accepted until the project's association data
    // can be read through the host connection.
    m_pCacheData.Release();
    return S_OK;
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
