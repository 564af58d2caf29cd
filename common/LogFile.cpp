#include "common/LogFile.h"

#include "platform/base/LocalTime.h"

#include <fcntl.h>
#include <sys/stat.h>
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

// True when the file exists, is not empty and its last byte is no line feed:
// a run was killed in the middle of a line (a write cut short at a page
// boundary, or a power cut).
bool EndsInsideALine(const std::string& strPath) {
    int fd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    char cLast = '\n';
    const off_t nSize = ::lseek(fd, 0, SEEK_END);
    if (nSize > 0 && ::pread(fd, &cLast, 1, nSize - 1) != 1) {
        cLast = '\n';
    }
    ::close(fd);
    return cLast != '\n';
}

}  // namespace

void CLogFile::Start(const std::string& strPath) {
    m_strPath = strPath;
    platform::SYSTEMTIME st = platform::GetLocalTime();
    char szLine[64];
    std::snprintf(szLine, sizeof szLine, "Start logging date: %04u-%02u-%02u", unsigned{st.wYear},
                  unsigned{st.wMonth}, unsigned{st.wDay});
    // The cut line of a killed run is ended, so this run's lines stay whole.
    m_bLineCut = false;
    Append(EndsInsideALine(strPath) ? std::string("\r\n") + szLine : std::string(szLine));
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
    // not replaced atomically like the data files: rewriting the whole log
    // per line would cost its length each time. Each line goes to the end in
    // a single write with O_APPEND, so a killed run leaves all earlier lines
    // whole, even with another process appending too; at worst the line being
    // written is cut, and Start ends it. Lines are not flushed one by one
    // (a flush per line would slow every logging call): a power cut may lose
    // the last lines.
    // 0666: the umask decides a new file's mode.
    int fd = ::open(m_strPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) {
        return;
    }
    // A line that could not be ended (a full disk, a size limit) is taken
    // back, so that no cut line stands between whole ones; when another
    // writer appended after it, the next line ends it instead.
    std::string strData = m_bLineCut ? "\r\n" : "";
    strData += strLine;
    strData += "\r\n";
    const char* p = strData.data();
    std::size_t nLeft = strData.size();
    while (nLeft > 0) {
        ssize_t n = ::write(fd, p, nLeft);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        p += n;
        nLeft -= static_cast<std::size_t>(n);
    }
    m_bLineCut = false;
    const auto nWritten = static_cast<off_t>(strData.size() - nLeft);
    if (nLeft > 0 && nWritten > 0) {
        const off_t nEnd = ::lseek(fd, 0, SEEK_CUR);
        struct stat st {};
        m_bLineCut = nEnd < nWritten || ::fstat(fd, &st) != 0 || st.st_size != nEnd ||
                     ::ftruncate(fd, nEnd - nWritten) != 0;
    }
    ::close(fd);
}
