#include "platform/host/HostServices.h"

#include "platform/base/PathUtil.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/com/ComObject.h"
#include "platform/com/ComObjectRoot.h"

#include <cstdio>

namespace platform::host {

namespace {

template <class T>
HRESULT CreateService(const std::shared_ptr<CHostState>& pState, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    CComObjectNoLock<T>* p = nullptr;
    HRESULT hr = CComObjectNoLock<T>::CreateInstance(&p);
    if (FAILED(hr))
        return hr;
    p->m_pState = pState;
    p->AddRef();
    hr = p->QueryInterface(riid, ppv);
    p->Release();
    return hr;
}

class CLoggerObject : public IEtsLogger, public IEtsLoggerName, public CComObjectRoot {
public:
    BEGIN_COM_MAP(CLoggerObject)
    COM_INTERFACE_ENTRY(IEtsLogger)
    COM_INTERFACE_ENTRY(IEtsLoggerName)
    END_COM_MAP()

    HRESULT Log(LONG nLevel, const char* pszText) override
    {
        m_pState->AddLoggerLine(m_strComponent, nLevel, pszText ? pszText : "");
        return S_OK;
    }

    HRESULT IsEnabled(LONG nLevel, SHORT* pnEnabled) override
    {
        if (!pnEnabled)
            return E_POINTER;
        *pnEnabled = nLevel <= m_pState->m_nLoggerLevel ? 1 : 0;
        return S_OK;
    }

    HRESULT put_ComponentName(BSTR bstrName) override
    {
        m_strComponent = platform::BstrToUtf8(bstrName);
        return S_OK;
    }

    std::shared_ptr<CHostState> m_pState;
    std::string m_strComponent;
};

class CLocalisationObject : public IEtsLocalisation, public CComObjectRoot {
public:
    BEGIN_COM_MAP(CLocalisationObject)
    COM_INTERFACE_ENTRY(IEtsLocalisation)
    END_COM_MAP()

    HRESULT GetDefaultLCID(LCID* pLcid) override
    {
        HRESULT hr = m_pState->Enter("Localisation", 0, "GetDefaultLCID");
        if (FAILED(hr))
            return hr;
        if (!pLcid)
            return E_POINTER;
        *pLcid = m_pState->m_lcid;
        return S_OK;
    }

    HRESULT GetResourceModule(BSTR bstrModulePath, LCID lcid, const platform::CResourceModule** ppModule) override
    {
        if (ppModule)
            *ppModule = nullptr;
        HRESULT hr = m_pState->Enter("Localisation", 0, "GetResourceModule");
        if (FAILED(hr))
            return hr;
        if (!ppModule)
            return E_POINTER;
        const std::string strModule = platform::BstrToUtf8(bstrModulePath);
        if (strModule.empty())
            return E_INVALIDARG;
        std::string strName = platform::PathFileName(strModule);
        const std::size_t nDot = strName.rfind('.');
        if (nDot != std::string::npos)
            strName.erase(nDot);
        char szLanguage[16];
        std::snprintf(szLanguage, sizeof szLanguage, "%04X.loc", static_cast<unsigned>(lcid & 0xFFFF));
        const std::string strPath = platform::PathJoinSlash(platform::PathDirectory(strModule), strName + szLanguage);
        *ppModule = platform::LoadResourceLibrary(strPath);
        return *ppModule ? S_OK : E_FAIL;
    }

    std::shared_ptr<CHostState> m_pState;
};

class CFormattingObject : public IEtsFormatting, public CComObjectRoot {
public:
    BEGIN_COM_MAP(CFormattingObject)
    COM_INTERFACE_ENTRY(IEtsFormatting)
    END_COM_MAP()

    HRESULT Format(LONG nValue, BSTR bstrFormatName, LONG, BSTR* pbstrText) override
    {
        if (pbstrText)
            *pbstrText = nullptr;
        HRESULT hr = m_pState->Enter("Formatting", 0, "Format");
        if (FAILED(hr))
            return hr;
        if (!pbstrText)
            return E_POINTER;
        if (platform::BstrToUtf8(bstrFormatName) != "eteC.GroupAddress")
            return E_INVALIDARG;
        *pbstrText = platform::BstrFromUtf8(FormatRawGroupAddress(nValue, m_pState->m_data.nGroupAddressLevels));
        return *pbstrText ? S_OK : E_OUTOFMEMORY;
    }

    std::shared_ptr<CHostState> m_pState;
};

}  // namespace

HRESULT CreateLoggerObject(const std::shared_ptr<CHostState>& pState, REFIID riid, void** ppv)
{
    return CreateService<CLoggerObject>(pState, riid, ppv);
}

HRESULT CreateLocalisationObject(const std::shared_ptr<CHostState>& pState, REFIID riid, void** ppv)
{
    return CreateService<CLocalisationObject>(pState, riid, ppv);
}

HRESULT CreateFormattingObject(const std::shared_ptr<CHostState>& pState, REFIID riid, void** ppv)
{
    return CreateService<CFormattingObject>(pState, riid, ppv);
}

std::string FormatRawGroupAddress(LONG nValue, int nLevels)
{
    const unsigned nRaw = static_cast<unsigned>(nValue) & 0xFFFF;
    char szText[32];
    if (nLevels == 2)
        std::snprintf(szText, sizeof szText, "%u/%u", nRaw >> 11, nRaw & 0x7FF);
    else
        std::snprintf(szText, sizeof szText, "%u/%u/%u", nRaw >> 11, (nRaw >> 8) & 7, nRaw & 0xFF);
    return szText;
}

}  // namespace platform::host
