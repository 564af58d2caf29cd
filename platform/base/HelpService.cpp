#include "platform/base/HelpService.h"

#include <utility>

namespace platform {

namespace {

IHelpService* g_pHelpService = nullptr;

std::string& HelpFilePath() {
    static std::string strPath;
    return strPath;
}

}  // namespace

IHelpService* SetHelpService(IHelpService* pService) {
    IHelpService* pOld = g_pHelpService;
    g_pHelpService = pService;
    return pOld;
}

IHelpService* GetHelpService() {
    return g_pHelpService;
}

const std::string& GetHelpFilePath() {
    return HelpFilePath();
}

void SetHelpFilePath(std::string strPath) {
    HelpFilePath() = std::move(strPath);
}

void WinHelp(DWORD dwContext, UINT nCmd) {
    if (g_pHelpService != nullptr) {
        g_pHelpService->ShowHelp(HelpFilePath(), dwContext, nCmd);
    }
}

}  // namespace platform
