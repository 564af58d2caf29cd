#pragma once
// The application object of the process, as far as the Qt-free layers need
// it: the profile (ini file) that the settings and the main window read and
// write, and the framework's profile functions over it. The window layer
// builds its application class on this one; the plug-in defines the one
// instance of the process.
//
// An object registers itself as the application of the process when it is
// constructed and gives the place back to the one before it when destroyed,
// so a test can make a local instance around its cases.

#include "platform/base/WinTypes.h"

#include <string>
#include <string_view>
#include <utility>

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();

    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The full path of the profile; empty while none is chosen.
    const std::string& GetProfileName() const { return m_pszProfileName; }
    void SetProfileName(std::string profileName) { m_pszProfileName = std::move(profileName); }

    // Section/entry of the profile, or the default when there is no profile,
    // no such entry or no such file.
    std::string GetProfileString(std::string_view section, std::string_view entry,
                                 std::string_view def = {}) const;
    UINT GetProfileInt(std::string_view section, std::string_view entry, int def) const;

    // FALSE when there is no profile or it cannot be written. A null value
    // removes the entry.
    BOOL WriteProfileString(std::string_view section, const char* entry, const char* value) const;
    // Written as signed decimal text.
    BOOL WriteProfileInt(std::string_view section, const char* entry, int value) const;

private:
    std::string m_pszProfileName;  // owned copy of the profile path
    CWinApp* m_pPreviousApp = nullptr;
};

// The application object of the process, null when none exists.
CWinApp* AfxGetApp();
