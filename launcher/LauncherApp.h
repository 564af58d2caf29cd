#pragma once
// The standalone launcher: it lets one editor run at a time, finds the class
// id of the plug-in's standalone object in the ini file beside itself,
// creates that object and starts it with the log file beside itself. It has
// no window of its own.

#include "platform/base/WinApp.h"

#include <string>

class CLauncherApp : public CWinApp {
public:
    CLauncherApp() = default;

    // Does all the work; always FALSE, so the program ends afterwards.
    BOOL InitInstance();
    // The same for a launcher at the given path.
    BOOL Run(const std::string& strProgramPath);

    // The text before the last separator; empty when there is none or it is
    // the first character.
    static std::string GetDirectory(const std::string& strPath);
    // [OEM] DynCLSIDSA of "ZR02DLL.ini" in the directory, or the default.
    static std::string GetStandaloneClsid(const std::string& strDirectory);

    // Shows a message box with the application title; the text also goes to
    // standard error, where it is seen when no display is there.
    static void ShowMessage(const std::string& strText);
};

extern CLauncherApp theLauncherApp;

inline constexpr char kLauncherTitle[] = "Chronosets";
inline constexpr char kLauncherIniName[] = "ZR02DLL.ini";
inline constexpr char kLauncherLogName[] = "Chronosets2.log";
inline constexpr char kDefaultStandaloneClsid[] = "{6D6A4DFC-4D63-4ea7-8FAE-893D8BB6E22F}";
