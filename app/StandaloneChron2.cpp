#include "app/StandaloneChron2.h"

#include "app/PlugInApp.h"
#include "app/StartUp.h"
#include "model/PathUtils.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/LogFile.h"
#include "platform/com/Bstr.h"

#include <memory>

HRESULT CStandaloneChron2::Start(BSTR bstrLogFile)
{
    const std::string strLogPath = platform::BstrToUtf8(bstrLogFile);
    // The ini file is the log path with its last three characters replaced,
    // so anything shorter than "x.log" names no usable pair of files.
    if (strLogPath.size() < 3)
        return E_INVALIDARG;

    g_bStandalone = true;
    theApp.DisableDaylightSaving(true);

    auto pLogFile = std::make_unique<CLogFile>();
    g_pLogFile = pLogFile.get();
    g_pLogFile->Start(strLogPath);

    const std::string strIniPath = ReplaceLastChars(strLogPath, 3, "ini");
    LOG_INFO("Starting Dialog in standalone mode");
    const HRESULT hr = StartZR(nullptr, nullptr, strIniPath);

    g_pLogFile = nullptr;
    return hr;
}
