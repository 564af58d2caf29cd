#pragma once
// Help by context id as the Qt-free layers see it. The window layer installs
// a service that opens the help file; tests install one that records the
// requests. Without a service a request does nothing.
//
// The help file is the application's: the main window sets its path when it
// initialises (the library's name with the language's "%04x.chm").

#include "platform/base/WinTypes.h"

#include <string>

namespace platform {

// Help commands.
constexpr UINT HELP_CONTEXT = 0x0001;  // show the topic of a context id
constexpr UINT HELP_QUIT = 0x0002;     // close the help window
constexpr UINT HELP_FINDER = 0x000B;   // the help file's contents

// The context id of a dialog's help: this base plus the dialog's id.
constexpr DWORD HID_BASE_RESOURCE = 0x20000;

class IHelpService {
public:
    virtual ~IHelpService() = default;

    // Shows help for the context id in the help file at strHelpFile (may be
    // empty when the application has none).
    virtual void ShowHelp(const std::string& strHelpFile, DWORD dwContext, UINT nCmd) = 0;
};

// Installs the service (null removes it); gives back the one installed before.
IHelpService* SetHelpService(IHelpService* pService);
IHelpService* GetHelpService();

// The application's help file; empty until it is set.
const std::string& GetHelpFilePath();
void SetHelpFilePath(std::string strPath);

// Asks the installed service for help with the application's help file.
void WinHelp(DWORD dwContext, UINT nCmd = HELP_CONTEXT);

}  // namespace platform
