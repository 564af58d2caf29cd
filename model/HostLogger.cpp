#include "model/HostLogger.h"

#include <cstdarg>
#include <cstdio>
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

void HostLogPrintf(CHostLogger* pLogger, int nLevel, const char* format, ...) {
    if (pLogger == nullptr || pLogger->GetLogger() == nullptr) {
        return;
    }
    IHostLogger* pObject = pLogger->GetLogger();
    SHORT nEnabled = 0;
    if (FAILED(pObject->IsEnabled(nLevel, nEnabled)) || nEnabled == 0) {
        return;
    }
    char szText[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(szText, sizeof szText, format, args);
    va_end(args);
    pObject->Log(nLevel, szText);
}
