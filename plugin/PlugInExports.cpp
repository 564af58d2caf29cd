// The four exports of the plug-in library. The window layer is installed and
// the library's application object initialised on the first call into it,
// as the platform would do when it loads the library.

#include "app/PlugInApp.h"
#include "app/PlugInModule.h"
#include "editors/groups/GroupEditors.h"
#include "editors/time/TimeEditors.h"
#include "printing/view/ReportViews.h"
#include "ui/UiServices.h"

#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct PlugInLifetime {
    PlugInLifetime()
    {
        InstallQtUiServices();
        InstallGroupEditors();
        InstallTimeEditors();
        InstallReportView();
        theApp.InitInstance();
    }
    ~PlugInLifetime() { theApp.ExitInstance(); }
};

void EnsureInitialised()
{
    static PlugInLifetime lifetime;
}

}  // namespace

PLUGIN_EXPORT HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv)
{
    EnsureInitialised();
    return g_atlModule.GetClassObject(rclsid, riid, ppv);
}

PLUGIN_EXPORT HRESULT DllCanUnloadNow()
{
    return g_atlModule.DllCanUnloadNow();
}

PLUGIN_EXPORT HRESULT DllRegisterServer()
{
    EnsureInitialised();
    return g_atlModule.DllRegisterServer();
}

PLUGIN_EXPORT HRESULT DllUnregisterServer()
{
    EnsureInitialised();
    return g_atlModule.DllUnregisterServer();
}
