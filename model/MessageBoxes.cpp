#include "model/MessageBoxes.h"

#include "common/Log.h"
#include "platform/base/MessageBoxSink.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

constexpr int NOT_LOGGED = 0;

int ShowFormattedBox(int nLevel, UINT nStyle, const char* format, va_list args) __attribute__((format(printf, 3, 0)));

int ShowFormattedBox(int nLevel, UINT nStyle, const char* format, va_list args) {
    // Built apart first, so that the shared buffer may be an argument.
    char szText[LOG_TEXT_SIZE];
    if (std::vsnprintf(szText, sizeof szText, format, args) < 0) {
        szText[0] = '\0';
    }
    std::memcpy(g_szLogText, szText, sizeof szText);
    if (nLevel != NOT_LOGGED) {
        RouteLogLine(nLevel, g_szLogText);
    }
    return platform::MessageBox(platform::GetActiveWindow(), g_szLogText, "", nStyle);
}

}  // namespace

int ErrorBox(const char* format, ...) {
    va_list args;
    va_start(args, format);
    int nResult = ShowFormattedBox(LOG_LEVEL_ERROR, MB_ICONERROR, format, args);
    va_end(args);
    return nResult;
}

int NoteBox(const char* format, ...) {
    va_list args;
    va_start(args, format);
    int nResult = ShowFormattedBox(LOG_LEVEL_INFO, MB_ICONINFORMATION, format, args);
    va_end(args);
    return nResult;
}

int FatalBox(const char* format, ...) {
    va_list args;
    va_start(args, format);
    int nResult = ShowFormattedBox(LOG_LEVEL_ERROR, MB_ICONERROR, format, args);
    va_end(args);
    return nResult;
}

int WarningBox(const char* format, ...) {
    va_list args;
    va_start(args, format);
    int nResult = ShowFormattedBox(LOG_LEVEL_WARNING, MB_ICONWARNING, format, args);
    va_end(args);
    return nResult;
}

void InfoBox(const char* format, ...) {
    va_list args;
    va_start(args, format);
    ShowFormattedBox(LOG_LEVEL_INFO, MB_ICONINFORMATION, format, args);
    va_end(args);
}

int OkCancelBox(const char* format, ...) {
    va_list args;
    va_start(args, format);
    int nResult = ShowFormattedBox(LOG_LEVEL_INFO, MB_ICONQUESTION | MB_OKCANCEL, format, args);
    va_end(args);
    return nResult;
}

int QuestionBox(const char* format, ...) {
    va_list args;
    va_start(args, format);
    int nResult = ShowFormattedBox(NOT_LOGGED, MB_ICONQUESTION | MB_YESNOCANCEL, format, args);
    va_end(args);
    return nResult;
}

int MemoryFullBox() { return FatalBox("Memory full"); }

int DiskFullBox() { return FatalBox("Disk full"); }
