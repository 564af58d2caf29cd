#include "app/ResourceLanguage.h"

#include "model/HostLocalisation.h"
#include "platform/base/ResourceLibrary.h"
#include "resources/de/BuiltInResources.h"

CResourceLanguage g_resourceLanguage;

void CResourceLanguage::SwitchToHostLanguage()
{
    std::unique_ptr<IHostLocalisation> pHost = CreateHostLocalisation();
    if (!pHost)
        return;
    LCID lcid = 0;
    if (FAILED(pHost->GetDefaultLCID(lcid)))
        lcid = 0;
    if (lcid == m_lcid)
        return;

    const platform::CResourceModule* pModule = nullptr;
    if (lcid == 1031) {
        pModule = &resources::GetBuiltInResourceModule();
    } else if (FAILED(pHost->GetResourceModule(lcid, pModule)) || !pModule) {
        pModule = nullptr;
        lcid = 1033;
        if (FAILED(pHost->GetResourceModule(lcid, pModule)))
            pModule = nullptr;
    }
    if (pModule && pModule != platform::GetFrameworkResourceModule()) {
        platform::SetComResourceInstance(pModule);
        platform::SetFrameworkResourceModule(pModule);
    }
    m_lcid = lcid;
}
