#include "model/Log.h"

#include "model/Globals.h"
#include "model/HostLogger.h"
#include "model/LogFile.h"

#include <cstdio>
#include <cstring>

const char* g_pszLogSourceFile = nullptr;
std::uint32_t g_nLogSourceLine = 0;
char g_szLogText[LOG_TEXT_SIZE];

namespace {

// The file name after the last '/', '\' or ':'.
const char* SourceBaseName(const char* pszPath) {
    const char* pszName = pszPath;
    for (const char* p = pszPath; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\' || *p == ':') {
            pszName = p + 1;
        }
    }
    return pszName;
}

// Formats the line of one level function into the shared buffer and routes
// it. The line is built in a buffer of its own first, so that a caller may
// pass the shared buffer itself as an argument.
void LogAtLevel(int nLevel, const char* format, va_list args) __attribute__((format(printf, 2, 0)));

void LogAtLevel(int nLevel, const char* format, va_list args) {
    char szLine[LOG_TEXT_SIZE];
    FormatLogPrefix(szLine, sizeof szLine, format, args);
    std::memcpy(g_szLogText, szLine, sizeof szLine);
    RouteLogLine(nLevel, g_szLogText);
}

}  // namespace

void FormatLogPrefix(char* pszBuffer, std::size_t nSize, const char* format, va_list args) {
    if (pszBuffer == nullptr || nSize == 0) {
        return;
    }
    pszBuffer[0] = '\0';
    std::size_t nUsed = 0;
    if (g_pszLogSourceFile != nullptr) {
        int n = std::snprintf(pszBuffer, nSize, "\"%s\"(%u): ", SourceBaseName(g_pszLogSourceFile),
                              unsigned{g_nLogSourceLine});
        if (n < 0) {
            pszBuffer[0] = '\0';
            n = 0;
        }
        nUsed = static_cast<std::size_t>(n) < nSize ? static_cast<std::size_t>(n) : nSize - 1;
    }
    if (format != nullptr && nUsed < nSize - 1) {
        if (std::vsnprintf(pszBuffer + nUsed, nSize - nUsed, format, args) < 0) {
            pszBuffer[nUsed] = '\0';
        }
    }
}

void RouteLogLine(int nLevel, const char* pszLine) {
    if (pszLine == nullptr) {
        return;
    }
    if (g_bStandalone) {
        if (g_pLogFile != nullptr) {
            g_pLogFile->WriteLine(nLevel, pszLine);
        }
        return;
    }
    switch (nLevel) {
        case LOG_LEVEL_ERROR: HostLogPrintf(g_pHostLogger, nLevel, "?? %s\n", pszLine); break;
        case LOG_LEVEL_WARNING: HostLogPrintf(g_pHostLogger, nLevel, "!! %s\n", pszLine); break;
        default: HostLogPrintf(g_pHostLogger, nLevel, "%s\n", pszLine); break;
    }
}

void LogError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    LogAtLevel(LOG_LEVEL_ERROR, format, args);
    va_end(args);
}

void LogWarning(const char* format, ...) {
    va_list args;
    va_start(args, format);
    LogAtLevel(LOG_LEVEL_WARNING, format, args);
    va_end(args);
}

void LogInfo(const char* format, ...) {
    va_list args;
    va_start(args, format);
    LogAtLevel(LOG_LEVEL_INFO, format, args);
    va_end(args);
}

void LogDetail(const char* format, ...) {
    va_list args;
    va_start(args, format);
    LogAtLevel(LOG_LEVEL_DETAIL, format, args);
    va_end(args);
}

void LogTrace(const char* format, ...) {
    va_list args;
    va_start(args, format);
    LogAtLevel(LOG_LEVEL_TRACE, format, args);
    va_end(args);
}
