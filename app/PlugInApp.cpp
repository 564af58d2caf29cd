#include "app/PlugInApp.h"

#include "app/HostServiceAdapters.h"
#include "app/PlugInModule.h"
#include "common/Log.h"
#include "platform/base/FileSizeLimit.h"
#include "platform/base/LocalTime.h"
#include "platform/base/PathUtil.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/SystemLocale.h"
#include "platform/bus/BusAccessClasses.h"
#include "platform/bus/InterfaceSelectionClass.h"
#include "resources/de/BuiltInResources.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <strings.h>

CPlugInApp theApp;

bool CPlugInApp::IsLauncherProgram(const std::string& strProgramPath)
{
    const std::string strName = platform::PathFileName(strProgramPath);
    return ::strcasecmp(strName.c_str(), "chronosets2") == 0 || ::strcasecmp(strName.c_str(), "chronosets2.exe") == 0;
}

BOOL CPlugInApp::InitInstance()
{
    // A host that left SIGXFSZ at its default would lose the editor, and the
    // user's edits, to a save or a log line past its file-size limit.
    platform::FailWritesPastFileSizeLimit();
    g_atlModule.ReadOemSettings();
    // Inside the host the logger, the language and the group-address style
    // come from the host's own objects.
    InstallHostServiceCreators();
    // The bus-access library's classes, found by ProgID in standalone mode.
    RegisterBusAccessClasses();
    // The bus interface selection, which the interface command creates.
    RegisterInterfaceSelectionClass();

    // The library's own resources are German; they are active until a
    // language switch says otherwise.
    const platform::CResourceModule* pBuiltIn = &resources::GetBuiltInResourceModule();
    platform::SetFrameworkResourceModule(pBuiltIn);
    platform::SetComResourceInstance(pBuiltIn);

    if (IsLauncherProgram(platform::GetProgramPath()) && platform::GetSystemDefaultLCID() != 1031) {
        const std::string strPath =
            platform::PathJoinSlash(platform::PathDirectory(g_atlModule.GetModulePath()), "Vek_ZR020409.loc");
        if (const platform::CResourceModule* pEnglish = platform::LoadResourceLibrary(strPath)) {
            m_pEnglishResources = pEnglish;
            platform::SetFrameworkResourceModule(pEnglish);
        }
    }
    return TRUE;
}

int CPlugInApp::ExitInstance()
{
    // The satellite stays loaded (modules are never unloaded); only its use
    // as the resource module ends.
    if (m_pEnglishResources && platform::GetFrameworkResourceModule() == m_pEnglishResources)
        platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
    m_pEnglishResources = nullptr;
    return 0;
}

void CPlugInApp::DisableDaylightSaving(bool bFirst)
{
    if (m_bDaylightSavingOff || (!bFirst && !m_bDaylightSavingFound))
        return;
    if (bFirst) {
        ::tzset();
        m_bDaylightSavingFound = ::daylight != 0;
        if (m_bDaylightSavingFound)
            m_savedTz = platform::GetTz();
    }
    if (m_bDaylightSavingFound) {
        // A fixed zone with the standard offset; the sign is written apart so
        // that zones less than an hour east of UTC keep it.
        const long nWest = ::timezone;
        const long nAbs = nWest < 0 ? -nWest : nWest;
        char szTz[64];
        std::snprintf(szTz, sizeof szTz, "XST%s%ld:%02ld:%02ld", nWest < 0 ? "-" : "", nAbs / 3600,
                      (nAbs % 3600) / 60, nAbs % 60);
        if (::setenv("TZ", szTz, 1) != 0)
            LOG_ERROR("Couldnt turn off daylight saving time");
        else
            ::tzset();
    }
    m_bDaylightSavingOff = true;
}

void CPlugInApp::RestoreDaylightSaving(bool bFreeCopy)
{
    if (m_bDaylightSavingOff) {
        m_bDaylightSavingOff = false;
        if (m_bDaylightSavingFound) {
            const int nResult = m_savedTz ? ::setenv("TZ", m_savedTz->c_str(), 1) : ::unsetenv("TZ");
            if (nResult != 0)
                LOG_ERROR("Couldnt turn on daylight saving time");
            else
                ::tzset();
        }
    }
    if (bFreeCopy)
        m_savedTz.reset();
}
