#include "app/StartUp.h"

#include "access/HostObjectMaps.h"
#include "app/Chronoset.h"
#include "app/PlugInModule.h"
#include "model/DptManager.h"
#include "model/IniManager.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/HostLogger.h"
#include "common/Log.h"
#include "common/ProgressInfo.h"
#include "platform/base/PathUtil.h"
#include "platform/base/UiServices.h"
#include "platform/com/ComPtr.h"
#include "platform/host/EtsObjectModel.h"

#include <exception>
#include <new>

namespace {

// The window class of the main window, with the product icon.
class CMainWindowClass {
public:
    explicit CMainWindowClass(platform::IUiServices* pUi) : m_pUi(pUi) {}
    ~CMainWindowClass() { Release(); }

    void Register()
    {
        if (!m_pUi || !m_pUi->FindDialogClass())
            return;
        HICON hIcon = nullptr;
        if (g_bStandalone) {
            const std::string strIcon =
                platform::PathJoinSlash(platform::PathDirectory(platform::GetProgramPath()), "Tavik2.ico");
            hIcon = m_pUi->LoadIconFile(strIcon, 16);
            m_bIconOwned = hIcon != nullptr;
        }
        if (!hIcon)
            hIcon = m_pUi->LoadIconResource(131);
        m_hIcon = hIcon;
        m_bRegistered = m_pUi->RegisterWindowClass(kMainWindowClassName, hIcon);
    }

    void Release()
    {
        if (!m_pUi)
            return;
        if (m_bRegistered)
            m_pUi->UnregisterWindowClass(kMainWindowClassName);
        if (m_bIconOwned && m_hIcon)
            m_pUi->DestroyIcon(m_hIcon);
        m_bRegistered = false;
        m_bIconOwned = false;
        m_hIcon = nullptr;
    }

private:
    platform::IUiServices* m_pUi;
    HICON m_hIcon = nullptr;
    bool m_bIconOwned = false;
    bool m_bRegistered = false;
};

// The call point of the central object's host load,
// CChronoset::LoadFromEts (device, parent window, progress, 0, 1). Until the
// central object can load from the host project the editor opens on the
// empty parameter set, as it does after a failed load.
HRESULT LoadChronosetFromEts(CChronoset& chronoset, IEtsDevice* pDevice, HWND hParent, CProgressInfo& progress)
{
    return chronoset.LoadFromEts(pDevice, hParent, &progress, FALSE, TRUE);
}

void LoadDeviceFromHost(IUnknown* pDevice, HWND hParent)
{
    if (!pDevice) {
        LOG_ERROR("Device pointer is NULL");
        return;
    }
    // An object without the host's device interface leaves the pointer
    // empty; the scan and the load then find nothing to read.
    CComPtr<IEtsDevice> pEtsDevice;
    if (FAILED(pDevice->QueryInterface(&pEtsDevice.p)))
        pEtsDevice.Release();
    ScanEtsProjects(pEtsDevice);
    CProgressInfo progress(g_bStandalone ? 1 : 0);
    progress.Show(hParent, 8);
    const HRESULT hr = LoadChronosetFromEts(*g_pChronoset, pEtsDevice, hParent, progress);
    if (hr < 0)
        LOG_ERROR("Calling Chronoset LoadFromEts function. hr=0x%08X", static_cast<unsigned>(hr));
}

}  // namespace

int StartZR(IUnknown* pDevice, HWND hParent, const std::string& strIniPath)
{
    int nResult = IDCANCEL;
    // A logger that the association check made earlier is taken over, and
    // deleted at the end like one made here.
    if (!g_bStandalone && !g_pHostLogger)
        g_pHostLogger = new CHostLogger("Vek_ZR02");

    platform::IUiServices* pUi = platform::GetUiServices();
    const bool bUiSession = pUi && pUi->BeginSession();
    CMainWindowClass windowClass(bUiSession ? pUi : nullptr);
    try {
        LOG_INFO("Module = \"%s\"", g_atlModule.GetModulePath().c_str());
        LOG_INFO("Build version: %s", kBuildVersion);

        g_pChronoset = new (std::nothrow) CChronoset;
        if (!g_pChronoset) {
            LOG_ERROR("Couldnt allocate memory for Chronoset");
        } else {
            if (g_DptManager.Init() == 0)
                LOG_ERROR("Failed to load DPT-description file");
            g_IniManager.SelectProfile(strIniPath.c_str());
            windowClass.Register();

            g_bDataModified = false;
            g_bDebugMode = false;

            if (!g_bStandalone)
                LoadDeviceFromHost(pDevice, hParent);

            if (bUiSession)
                nResult = pUi->RunMainWindow(hParent);
            else
                LOG_ERROR("No window can be shown: %s", pUi ? "no display" : "no window layer");

            ReleaseGlobalObjects();
            delete g_pChronoset;
            g_pChronoset = nullptr;
        }
    } catch (const std::exception& e) {
        LOG_ERROR("%s", e.what());
        ReleaseGlobalObjects();
        delete g_pChronoset;
        g_pChronoset = nullptr;
    }

    windowClass.Release();
    if (bUiSession)
        pUi->EndSession();
    if (!g_bStandalone && g_pHostLogger) {
        delete g_pHostLogger;
        g_pHostLogger = nullptr;
    }
    return nResult;
}
