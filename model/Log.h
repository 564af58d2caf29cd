#pragma once
// The five logging levels. Every call site records its source file and line
// first, so use the LOG_* macros rather than the functions.

#include <cstdint>

extern const char* g_pszLogSourceFile;
extern std::uint32_t g_nLogSourceLine;

void LogError(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogWarning(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogInfo(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogDetail(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));

#define LOG_AT_SOURCE_(fn, ...) \
    (g_pszLogSourceFile = __FILE__, g_nLogSourceLine = static_cast<std::uint32_t>(__LINE__), fn(__VA_ARGS__))
#define LOG_ERROR(...) LOG_AT_SOURCE_(LogError, __VA_ARGS__)
#define LOG_WARNING(...) LOG_AT_SOURCE_(LogWarning, __VA_ARGS__)
#define LOG_INFO(...) LOG_AT_SOURCE_(LogInfo, __VA_ARGS__)
#define LOG_DETAIL(...) LOG_AT_SOURCE_(LogDetail, __VA_ARGS__)
#define LOG_TRACE(...) LOG_AT_SOURCE_(LogTrace, __VA_ARGS__)
