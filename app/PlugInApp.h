#pragma once
// The library's application object: it chooses the resource module at load
// and holds the process-wide daylight-saving switch that both entries turn
// off around an editing run, so local-time conversions meanwhile carry no
// daylight-saving correction.

#include "platform/base/WinApp.h"

#include <optional>
#include <string>

namespace platform {
class CResourceModule;
}

class CPlugInApp : public CWinApp {
public:
    CPlugInApp() = default;

    // Reads the OEM settings and, under the launcher on a non-German system,
    // makes the English resource library beside this one the resource module.
    BOOL InitInstance();
    int ExitInstance();

    void DisableDaylightSaving(bool bFirst);
    void RestoreDaylightSaving(bool bFreeCopy);

    // The launcher is the program "Chronosets2" (".exe" optional, any case).
    static bool IsLauncherProgram(const std::string& strProgramPath);

private:
    bool m_bDaylightSavingOff = false;
    bool m_bDaylightSavingFound = false;
    std::optional<std::string> m_savedTz;
    const platform::CResourceModule* m_pEnglishResources = nullptr;
};

extern CPlugInApp theApp;
