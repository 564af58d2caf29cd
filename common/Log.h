#pragma once
// The five logging levels. Every call site records its source file and line
// first, so use the LOG_* macros rather than the functions.

#include <cstdarg>
#include <cstddef>
#include <cstdint>

// Levels as the log file and the host's logger know them.
constexpr int LOG_LEVEL_ERROR = 2;
constexpr int LOG_LEVEL_WARNING = 3;
constexpr int LOG_LEVEL_INFO = 4;
constexpr int LOG_LEVEL_DETAIL = 5;
constexpr int LOG_LEVEL_TRACE = 6;

// The source file is a text that stays as it is while the program runs
// (the macros give __FILE__): its base name is looked up once per text.
extern const char* g_pszLogSourceFile;
extern std::uint32_t g_nLogSourceLine;

void LogError(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogWarning(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogInfo(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogDetail(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The line being logged, shared with the free message-box functions.
constexpr std::size_t LOG_TEXT_SIZE = 2048;
extern char g_szLogText[LOG_TEXT_SIZE];

// Writes "\"<file>\"(<line>): " for the source location set by the caller
// (only the file's base name) and then the formatted text into the buffer;
// without a source file, the text alone. The result is cut to fit the
// buffer and always terminated.
void FormatLogPrefix(char* pszBuffer, std::size_t nSize, const char* format, va_list args)
    __attribute__((format(printf, 3, 0)));

// Hands a finished line to the target of the run: the log file in standalone
// mode, the host's logger in plug-in mode. Nothing when there is no target.
void RouteLogLine(int nLevel, const char* pszLine);

#define LOG_AT_SOURCE_(fn, ...) \
    (g_pszLogSourceFile = __FILE__, g_nLogSourceLine = static_cast<std::uint32_t>(__LINE__), fn(__VA_ARGS__))
#define LOG_ERROR(...) LOG_AT_SOURCE_(LogError, __VA_ARGS__)
#define LOG_WARNING(...) LOG_AT_SOURCE_(LogWarning, __VA_ARGS__)
#define LOG_INFO(...) LOG_AT_SOURCE_(LogInfo, __VA_ARGS__)
#define LOG_DETAIL(...) LOG_AT_SOURCE_(LogDetail, __VA_ARGS__)
#define LOG_TRACE(...) LOG_AT_SOURCE_(LogTrace, __VA_ARGS__)
