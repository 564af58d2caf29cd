#pragma once
// The COM module of the plug-in library: it serves DeviceUI2 and
// StandaloneChron2, and a manufacturer may ship them under class ids of its
// own (section OEM of the library's ini file), which registration writes and
// the class lookup maps back to the built-in classes.

#include "platform/com/ComDllModule.h"

#include <string>

class CPlugInModule : public CComDllModule {
public:
    CPlugInModule();

    // Reads DynCLSIDUI, DynCLSIDSA and Manuf from section OEM of the
    // library's ini file; an empty or missing value gives the default.
    void ReadOemSettings();
    void ReadOemSettings(const std::string& strIniPath);
    // The library's ini file: its path with the extension replaced by "ini".
    std::string GetOemIniPath() const;

    // The class object of a built-in class, also when asked under an OEM id.
    HRESULT GetClassObject(REFCLSID rclsid, REFIID riid, void** ppv);

    HRESULT AddCommonRGSReplacements(platform::CRegistrar& registrar) override;
    // The scripts are part of the library itself, whatever resource module
    // is active.
    HRESULT LoadRegistryScript(UINT nResourceId, std::string& strScript) override;

    std::string m_strDynCLSIDUI;
    std::string m_strDynCLSIDSA;
    std::string m_strManuf;
};

extern CPlugInModule g_atlModule;

inline constexpr char kDefaultDynCLSIDUI[] = "{712CC3F3-3BAB-4646-9EC4-0725857FDF6F}";
inline constexpr char kDefaultDynCLSIDSA[] = "{6D6A4DFC-4D63-4ea7-8FAE-893D8BB6E22F}";
inline constexpr char kDefaultManuf[] = "Vek";
inline constexpr UINT IDR_DEVICEUI2 = 11;
inline constexpr UINT IDR_STANDALONECHRON2 = 149;
