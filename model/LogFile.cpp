#include "model/LogFile.h"

#include "platform/base/LocalTime.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

CLogFile* g_pLogFile = nullptr;

namespace {

const char* LevelTag(int nLevel) {
    switch (nLevel) {
        case 2: return "E ";
        case 3: return "W ";
        case 4: return "I ";
        case 5: return "1 ";
        case 6: return "2 ";
        default: return "";
    }
}

}  // namespace

void CLogFile::Start(const std::string& strPath) {
    m_strPath = strPath;
    platform::SYSTEMTIME st = platform::GetLocalTime();
    char szLine[64];
    std::snprintf(szLine, sizeof szLine, "Start logging date: %04u-%02u-%02u", unsigned{st.wYear},
                  unsigned{st.wMonth}, unsigned{st.wDay});
    Append(szLine);
}

void CLogFile::WriteLine(int nLevel, const char* pszText) {
    platform::SYSTEMTIME st = platform::GetLocalTime();
    char szTime[32];
    std::snprintf(szTime, sizeof szTime, "%02u:%02u:%02u.%03u  ", unsigned{st.wHour}, unsigned{st.wMinute},
                  unsigned{st.wSecond}, unsigned{st.wMilliseconds});
    std::string strLine(szTime);
    strLine += LevelTag(nLevel);
    if (pszText != nullptr) {
        strLine += pszText;
    }
    Append(strLine);
}

void CLogFile::Append(const std::string& strLine) {
    if (m_strPath.empty()) {
        return;
    }
    // Appending (never truncating) is the whole point of this file, so it is
    // not replaced atomically like the data files; O_APPEND puts each line
    // at the end in one piece even if another process appends too.
    int fd = ::open(m_strPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        return;
    }
    std::string strData = strLine;
    strData += "\r\n";
    const char* p = strData.data();
    std::size_t nLeft = strData.size();
    while (nLeft > 0) {
        ssize_t n = ::write(fd, p, nLeft);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        p += n;
        nLeft -= static_cast<std::size_t>(n);
    }
    ::close(fd);
}
