#pragma once
// The help service on the desktop: a request opens the application's help
// file (beside the library) with the program the desktop has for it, when
// that file exists; otherwise the request is logged and the user told which
// help file could not be opened. The window layer
// keeps no log of its own: the owner passes the logging function, and may
// pass another way to open the file (tests do).

#include "platform/base/HelpService.h"
#include "platform/base/WinTypes.h"

#include <functional>
#include <string>

class CQtHelpService : public platform::IHelpService {
public:
    // Log levels handed to the logging function.
    static constexpr int kLevelWarning = 3;
    static constexpr int kLevelInfo = 4;

    using Logger = std::function<void(int nLevel, const std::string& strLine)>;
    using Opener = std::function<bool(const std::string& strHelpFile, DWORD dwContext)>;

    explicit CQtHelpService(Logger logger = {}, Opener opener = {});

    void ShowHelp(const std::string& strHelpFile, DWORD dwContext, UINT nCmd) override;

    // Opens the file with the desktop's program for it.
    static bool OpenWithDesktop(const std::string& strHelpFile, DWORD dwContext);

private:
    void Log(int nLevel, const std::string& strLine) const;
    static void TellUser(const std::string& strHelpFile);

    Logger m_logger;
    Opener m_opener;
};
