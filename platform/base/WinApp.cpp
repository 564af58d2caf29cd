#include "platform/base/WinApp.h"

#include "platform/base/PrivateProfile.h"

#include <string>

namespace {

CWinApp* g_pCurrentApp = nullptr;

}  // namespace

CWinApp::CWinApp()
    : m_pPreviousApp(g_pCurrentApp)
{
    g_pCurrentApp = this;
}

CWinApp::~CWinApp()
{
    // Unlink this object wherever it sits, so that objects may end in any
    // order without leaving a dangling application behind.
    if (g_pCurrentApp == this) {
        g_pCurrentApp = m_pPreviousApp;
        return;
    }
    for (CWinApp* app = g_pCurrentApp; app; app = app->m_pPreviousApp) {
        if (app->m_pPreviousApp == this) {
            app->m_pPreviousApp = m_pPreviousApp;
            return;
        }
    }
}

std::string CWinApp::GetProfileString(std::string_view section, std::string_view entry, std::string_view def) const
{
    if (m_pszProfileName.empty())
        return std::string(def);
    return platform::GetPrivateProfileString(section, entry, def, m_pszProfileName);
}

UINT CWinApp::GetProfileInt(std::string_view section, std::string_view entry, int def) const
{
    if (m_pszProfileName.empty())
        return static_cast<UINT>(def);
    return static_cast<UINT>(platform::GetPrivateProfileInt(section, entry, def, m_pszProfileName));
}

BOOL CWinApp::WriteProfileString(std::string_view section, const char* entry, const char* value) const
{
    if (m_pszProfileName.empty())
        return FALSE;
    return platform::WritePrivateProfileString(section, entry, value, m_pszProfileName) ? TRUE : FALSE;
}

BOOL CWinApp::WriteProfileInt(std::string_view section, const char* entry, int value) const
{
    const std::string text = std::to_string(value);
    return WriteProfileString(section, entry, text.c_str());
}

CWinApp* AfxGetApp()
{
    return g_pCurrentApp;
}
