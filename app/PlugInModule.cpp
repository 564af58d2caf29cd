#include "app/PlugInModule.h"

#include "app/DeviceUI2.h"
#include "app/StandaloneChron2.h"
#include "interfaces/IStandaloneChron2.h"
#include "model/PathUtils.h"
#include "platform/base/Guid.h"
#include "platform/base/PrivateProfile.h"

CPlugInModule g_atlModule;

namespace {

// Registry scripts of the two classes. The manufacturer and the class ids
// come from the OEM settings, the module path from the registrar.
constexpr char kDeviceUI2Script[] = R"(HKCR
{
    %Manuf%_ZR01.DeviceUI2.1 = s 'DeviceUI2 Class'
    {
        CLSID = s '%DynCLSIDUI%'
    }
    %Manuf%_ZR01.DeviceUI2 = s 'DeviceUI2 Class'
    {
        CLSID = s '%DynCLSIDUI%'
        CurVer = s '%Manuf%_ZR01.DeviceUI2.1'
    }
    NoRemove CLSID
    {
        ForceRemove %DynCLSIDUI% = s 'DeviceUI2 Class'
        {
            ProgID = s '%Manuf%_ZR01.DeviceUI2.1'
            VersionIndependentProgID = s '%Manuf%_ZR01.DeviceUI2'
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Apartment'
            }
            'TypeLib' = s '{A713B3DD-CB32-40bd-95DF-DAE448762C51}'
        }
    }
}
)";

constexpr char kStandaloneChron2Script[] = R"(HKCR
{
    %Manuf%_ZR01.StandaloneChron2.1 = s 'StandaloneChron2 Class'
    {
        CLSID = s '%DynCLSIDSA%'
    }
    %Manuf%_ZR01.StandaloneChron2 = s 'StandaloneChron2 Class'
    {
        CLSID = s '%DynCLSIDSA%'
        CurVer = s '%Manuf%_ZR01.StandaloneChron2.1'
    }
    NoRemove CLSID
    {
        ForceRemove %DynCLSIDSA% = s 'StandaloneChron2 Class'
        {
            ProgID = s '%Manuf%_ZR01.StandaloneChron2.1'
            VersionIndependentProgID = s '%Manuf%_ZR01.StandaloneChron2'
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Free'
            }
            'TypeLib' = s '{A713B3DD-CB32-40bd-95DF-DAE448762C51}'
        }
    }
}
)";

std::string ReadOemKey(const std::string& strIni, const char* pszKey, const char* pszDefault)
{
    std::string strValue = platform::GetPrivateProfileString("OEM", pszKey, "", strIni, 256);
    return strValue.empty() ? std::string(pszDefault) : strValue;
}

}  // namespace

CPlugInModule::CPlugInModule()
    : CComDllModule({MakeObjectMapEntry<CDeviceUI2>(), MakeObjectMapEntry<CStandaloneChron2>()}),
      m_strDynCLSIDUI(kDefaultDynCLSIDUI),
      m_strDynCLSIDSA(kDefaultDynCLSIDSA),
      m_strManuf(kDefaultManuf)
{
}

std::string CPlugInModule::GetOemIniPath() const
{
    return ReplaceExtension(GetModulePath(), "ini");
}

void CPlugInModule::ReadOemSettings()
{
    ReadOemSettings(GetOemIniPath());
}

void CPlugInModule::ReadOemSettings(const std::string& strIni)
{
    m_strDynCLSIDUI = ReadOemKey(strIni, "DynCLSIDUI", kDefaultDynCLSIDUI);
    m_strDynCLSIDSA = ReadOemKey(strIni, "DynCLSIDSA", kDefaultDynCLSIDSA);
    m_strManuf = ReadOemKey(strIni, "Manuf", kDefaultManuf);
}

HRESULT CPlugInModule::GetClassObject(REFCLSID rclsid, REFIID riid, void** ppv)
{
    CLSID clsid = rclsid;
    // A text that is no class id maps nothing.
    if (auto ui = platform::ParseGuid(m_strDynCLSIDUI); ui && *ui == clsid)
        clsid = CLSID_DeviceUI2;
    else if (auto sa = platform::ParseGuid(m_strDynCLSIDSA); sa && *sa == clsid)
        clsid = CLSID_StandaloneChron2;
    return DllGetClassObject(clsid, riid, ppv);
}

HRESULT CPlugInModule::AddCommonRGSReplacements(platform::CRegistrar& registrar)
{
    HRESULT hr = CComDllModule::AddCommonRGSReplacements(registrar);
    if (FAILED(hr))
        return hr;
    registrar.AddReplacement("DynCLSIDUI", m_strDynCLSIDUI);
    registrar.AddReplacement("DynCLSIDSA", m_strDynCLSIDSA);
    registrar.AddReplacement("Manuf", m_strManuf);
    return S_OK;
}

HRESULT CPlugInModule::LoadRegistryScript(UINT nResourceId, std::string& strScript)
{
    switch (nResourceId) {
    case IDR_DEVICEUI2:
        strScript = kDeviceUI2Script;
        return S_OK;
    case IDR_STANDALONECHRON2:
        strScript = kStandaloneChron2Script;
        return S_OK;
    default:
        return CComDllModule::LoadRegistryScript(nResourceId, strScript);
    }
}
