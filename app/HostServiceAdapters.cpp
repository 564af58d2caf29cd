#include "app/HostServiceAdapters.h"

#include "app/PlugInModule.h"
#include "model/HostFormatting.h"
#include "model/HostLocalisation.h"
#include "common/HostLogger.h"
#include "platform/com/ComBSTR.h"
#include "platform/com/ComPtr.h"
#include "platform/host/EtsHostServices.h"

#include <memory>

namespace {

class CHostLoggerAdapter : public IHostLogger {
public:
    explicit CHostLoggerAdapter(CComPtr<IEtsLogger> pLogger) : m_pLogger(std::move(pLogger)) {}

    HRESULT Log(LONG nLevel, const char* pszText) override { return m_pLogger->Log(nLevel, pszText); }
    HRESULT IsEnabled(LONG nLevel, SHORT& nEnabled) override { return m_pLogger->IsEnabled(nLevel, &nEnabled); }
    HRESULT SetName(const std::string& strName) override
    {
        CComPtr<IEtsLoggerName> pName;
        HRESULT hr = m_pLogger.QueryInterface(&pName.p);
        if (FAILED(hr) || !pName)
            return E_NOINTERFACE;
        return pName->put_ComponentName(CComBSTR(strName));
    }

private:
    CComPtr<IEtsLogger> m_pLogger;
};

class CHostLocalisationAdapter : public IHostLocalisation {
public:
    explicit CHostLocalisationAdapter(CComPtr<IEtsLocalisation> pLocalisation)
        : m_pLocalisation(std::move(pLocalisation))
    {
    }

    HRESULT GetDefaultLCID(LCID& lcid) override { return m_pLocalisation->GetDefaultLCID(&lcid); }
    // The library's own path stands for its instance: the host finds the
    // language's satellite beside it.
    HRESULT GetResourceModule(LCID lcid, const platform::CResourceModule*& pModule) override
    {
        pModule = nullptr;
        return m_pLocalisation->GetResourceModule(CComBSTR(g_atlModule.GetModulePath()), lcid, &pModule);
    }

private:
    CComPtr<IEtsLocalisation> m_pLocalisation;
};

class CHostFormattingAdapter : public IHostFormatting {
public:
    explicit CHostFormattingAdapter(CComPtr<IEtsFormatting> pFormatting) : m_pFormatting(std::move(pFormatting)) {}

    HRESULT Format(LONG value, std::string_view formatName, LONG flags, std::string& text) override
    {
        CComBSTR bstrText;
        HRESULT hr = m_pFormatting->Format(value, CComBSTR(formatName), flags, &bstrText);
        if (SUCCEEDED(hr))
            text = bstrText.ToUtf8();
        return hr;
    }

private:
    CComPtr<IEtsFormatting> m_pFormatting;
};

}  // namespace

void InstallHostServiceCreators()
{
    SetHostLoggerCreator([]() -> std::shared_ptr<IHostLogger> {
        CComPtr<IEtsLogger> pLogger;
        if (FAILED(pLogger.CoCreateInstance(CLSID_EtsLogger)) || !pLogger)
            return nullptr;
        return std::make_shared<CHostLoggerAdapter>(pLogger);
    });
    SetHostLocalisationCreator([]() -> std::unique_ptr<IHostLocalisation> {
        CComPtr<IEtsLocalisation> pLocalisation;
        if (FAILED(pLocalisation.CoCreateInstance(CLSID_EtsLocalisation)) || !pLocalisation)
            return nullptr;
        return std::make_unique<CHostLocalisationAdapter>(pLocalisation);
    });
    SetHostFormattingCreator([]() -> std::unique_ptr<IHostFormatting> {
        CComPtr<IEtsFormatting> pFormatting;
        if (FAILED(pFormatting.CoCreateInstance(CLSID_EtsFormatting)) || !pFormatting)
            return nullptr;
        return std::make_unique<CHostFormattingAdapter>(pFormatting);
    });
}
