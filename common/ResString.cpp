#include "common/ResString.h"

#include "platform/base/ResourceLibrary.h"

namespace {

const char* FindActiveString(UINT nId) {
    const platform::CResourceModule* pModule = platform::GetFrameworkResourceModule();
    return pModule != nullptr ? pModule->FindString(nId) : nullptr;
}

}  // namespace

std::string GetResString(UINT nId, const char* pszDefault) {
    if (const char* pszText = FindActiveString(nId)) {
        return pszText;
    }
    return pszDefault != nullptr ? pszDefault : "";
}

void AppendResString(std::string& strOut, UINT nId, const char* pszDefault) {
    if (const char* pszText = FindActiveString(nId)) {
        strOut += pszText;
    } else if (pszDefault != nullptr) {
        strOut += pszDefault;
    }
}

std::string GetResString(UINT nId, const std::string& strDefault) {
    if (const char* pszText = FindActiveString(nId)) {
        return pszText;
    }
    return strDefault;
}

std::string LoadResString(UINT nId) {
    const char* pszText = FindActiveString(nId);
    return pszText != nullptr ? pszText : "";
}
