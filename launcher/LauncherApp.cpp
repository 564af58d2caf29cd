#include "launcher/LauncherApp.h"

#include "interfaces/IStandaloneChron2.h"
#include "platform/base/Guid.h"
#include "platform/base/MessageBoxSink.h"
#include "platform/base/PathUtil.h"
#include "platform/base/PrivateProfile.h"
#include "platform/base/SingleInstance.h"
#include "platform/com/Bstr.h"
#include "platform/com/ComActivation.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ComRuntime.h"

#include <cstdio>
#include <exception>
#include <iostream>

CLauncherApp theLauncherApp;

namespace {

std::string FormatHr(const char* pszFormat, HRESULT hr)
{
    char szText[512];
    std::snprintf(szText, sizeof szText, pszFormat, static_cast<unsigned>(hr));
    return szText;
}

}  // namespace

std::string CLauncherApp::GetDirectory(const std::string& strPath)
{
    const std::size_t nPos = strPath.find_last_of("/\\");
    if (nPos == std::string::npos || nPos == 0)
        return {};
    return strPath.substr(0, nPos);
}

std::string CLauncherApp::GetStandaloneClsid(const std::string& strDirectory)
{
    const std::string strIni = platform::PathJoinSlash(strDirectory, kLauncherIniName);
    std::string strClsid = platform::GetPrivateProfileString("OEM", "DynCLSIDSA", kDefaultStandaloneClsid, strIni, 256);
    return strClsid.empty() ? std::string(kDefaultStandaloneClsid) : strClsid;
}

void CLauncherApp::ShowMessage(const std::string& strText)
{
    std::cerr << kLauncherTitle << ": " << strText << std::endl;
    platform::MessageBox(nullptr, strText.c_str(), kLauncherTitle, MB_OK);
}

BOOL CLauncherApp::InitInstance()
{
    return Run(platform::GetProgramPath());
}

BOOL CLauncherApp::Run(const std::string& strProgramPath)
{
    // A running editor is brought to the front instead of starting another.
    if (platform::AskRunningEditorToActivate())
        return FALSE;

    try {
        HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (FAILED(hr)) {
            ShowMessage(FormatHr("Error calling CoInitialize hr=0x%08X", hr));
            return FALSE;
        }

        const std::string strDirectory = GetDirectory(strProgramPath);
        if (strDirectory.empty()) {
            ShowMessage("Output Path is empty");
            return FALSE;
        }

        const std::string strClsid = GetStandaloneClsid(strDirectory);
        // A text that is no class id names no class, so creation fails with
        // the creation message below.
        const CLSID clsid = platform::ParseGuid(strClsid).value_or(GUID_NULL);

        CComPtr<IUnknown> pUnknown;
        CComPtr<IStandaloneChron2> pStandalone;
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(&pUnknown.p));
        if (SUCCEEDED(hr))
            hr = OleRun(pUnknown);
        if (SUCCEEDED(hr))
            hr = pUnknown->QueryInterface(&pStandalone.p);
        if (FAILED(hr)) {
            char szText[512];
            std::snprintf(szText, sizeof szText, "Couldnt create IStandaloneChron2 instance for CLSID=%s hr=0x%08X",
                          strClsid.c_str(), static_cast<unsigned>(hr));
            ShowMessage(szText);
            return FALSE;
        }

        const std::string strLogPath = platform::PathJoinSlash(strDirectory, kLauncherLogName);
        BSTR bstrLogFile = platform::BstrFromUtf8(strLogPath);
        hr = pStandalone->Start(bstrLogFile);
        SysFreeString(bstrLogFile);
        if (FAILED(hr))
            ShowMessage(FormatHr("Error calling Start hr=0x%08X", hr));
    } catch (const std::exception& e) {
        ShowMessage(e.what());
    }
    return FALSE;
}
