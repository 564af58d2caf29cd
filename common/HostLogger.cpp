#include "common/HostLogger.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <utility>

CHostLogger* g_pHostLogger = nullptr;

namespace {

HostLoggerCreator& Creator() {
    static HostLoggerCreator creator;
    return creator;
}

}  // namespace

HostLoggerCreator SetHostLoggerCreator(HostLoggerCreator creator) {
    return std::exchange(Creator(), std::move(creator));
}

CHostLogger::CHostLogger(const char* pszName)
    : CHostLogger(Creator() ? Creator()() : std::shared_ptr<IHostLogger>(), pszName) {}

CHostLogger::CHostLogger(std::shared_ptr<IHostLogger> pLogger, const char* pszName) : m_pLogger(std::move(pLogger)) {
    if (m_pLogger && pszName != nullptr) {
        m_pLogger->SetName(pszName);  // an unnamed logger still logs
    }
}

CHostLogger::~CHostLogger() = default;

namespace {

// The host's logger when it takes lines of the level, null otherwise.
IHostLogger* EnabledLogger(CHostLogger* pLogger, int nLevel) {
    IHostLogger* pObject = pLogger != nullptr ? pLogger->GetLogger() : nullptr;
    SHORT nEnabled = 0;
    if (pObject == nullptr || FAILED(pObject->IsEnabled(nLevel, nEnabled)) || nEnabled == 0) {
        return nullptr;
    }
    return pObject;
}

}  // namespace

void HostLogPrintf(CHostLogger* pLogger, int nLevel, const char* format, ...) {
    IHostLogger* pObject = EnabledLogger(pLogger, nLevel);
    if (pObject == nullptr) {
        return;
    }
    char szText[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(szText, sizeof szText, format, args);
    va_end(args);
    pObject->Log(nLevel, szText);
}

void HostLogLine(CHostLogger* pLogger, int nLevel, const char* pszMarker, const char* pszText) {
    IHostLogger* pObject = EnabledLogger(pLogger, nLevel);
    if (pObject == nullptr) {
        return;
    }
    char szText[256];
    std::size_t nUsed = 0;
    for (const char* psz : {pszMarker, pszText, "\n"}) {
        const std::size_t n = std::min(std::strlen(psz), sizeof szText - 1 - nUsed);
        std::memcpy(szText + nUsed, psz, n);
        nUsed += n;
    }
    szText[nUsed] = '\0';
    pObject->Log(nLevel, szText);
}
