#include "platform/ui/QtHelpService.h"

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
        return;
    }
    if (m_opener(strHelpFile, dwContext)) {
        Log(kLevelInfo, std::string("Help opened for context ") + szContext + ": \"" + strHelpFile + "\"");
    } else {
        Log(kLevelWarning, std::string("Help file could not be opened for context ") + szContext + ": \"" +
                               strHelpFile + "\"");
    }
}

void CQtHelpService::Log(int nLevel, const std::string& strLine) const {
    if (m_logger) {
        m_logger(nLevel, strLine);
    }
}
