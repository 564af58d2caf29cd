#include "platform/ui/QtHelpService.h"

#include "platform/base/MessageBoxSink.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/ResourceModule.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include <cstdio>
#include <filesystem>
#include <utility>

CQtHelpService::CQtHelpService(Logger logger, Opener opener)
    : m_logger(std::move(logger)), m_opener(opener ? std::move(opener) : Opener(&CQtHelpService::OpenWithDesktop)) {}

bool CQtHelpService::OpenWithDesktop(const std::string& strHelpFile, DWORD /*dwContext*/) {
    // The desktop opens a file, not a topic: the context id goes to the log.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(strHelpFile)));
}

void CQtHelpService::ShowHelp(const std::string& strHelpFile, DWORD dwContext, UINT nCmd) {
    if (nCmd == platform::HELP_QUIT) {
        return;
    }
    char szContext[32];
    std::snprintf(szContext, sizeof szContext, "%lu (0x%lX)", static_cast<unsigned long>(dwContext),
                  static_cast<unsigned long>(dwContext));
    std::error_code ec;
    if (strHelpFile.empty() || !std::filesystem::is_regular_file(strHelpFile, ec)) {
        Log(kLevelInfo, std::string("Help requested for context ") + szContext + ", no help file \"" + strHelpFile +
                            "\"");
        if (!strHelpFile.empty()) {
            TellUser(strHelpFile);
        }
        return;
    }
    if (m_opener(strHelpFile, dwContext)) {
        Log(kLevelInfo, std::string("Help opened for context ") + szContext + ": \"" + strHelpFile + "\"");
    } else {
        Log(kLevelWarning, std::string("Help file could not be opened for context ") + szContext + ": \"" +
                               strHelpFile + "\"");
        TellUser(strHelpFile);
    }
}

void CQtHelpService::TellUser(const std::string& strHelpFile) {
    // The help viewer's own message: in the language of the user interface.
    const platform::CResourceModule* pModule = platform::GetFrameworkResourceModule();
    const bool bGerman = pModule != nullptr && (pModule->GetLanguage() & 0x3FF) == 0x07;
    const std::string strText = bGerman ? "Die Hilfedatei \"" + strHelpFile + "\" konnte nicht geöffnet werden."
                                        : "The help file \"" + strHelpFile + "\" could not be opened.";
    const char* pszCaption = bGerman ? "Hilfe" : "Help";
    platform::IMessageBoxSink* pSink = platform::GetMessageBoxSink();
    const HWND hOwner = pSink != nullptr ? pSink->GetActiveWindow() : nullptr;
    platform::MessageBox(hOwner, strText.c_str(), pszCaption, MB_OK | MB_ICONERROR);
}

void CQtHelpService::Log(int nLevel, const std::string& strLine) const {
    if (m_logger) {
        m_logger(nLevel, strLine);
    }
}
