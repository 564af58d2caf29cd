#include "common/Log.h"

#include "common/Globals.h"
#include "common/HostLogger.h"
#include "common/LogFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <type_traits>

const char* g_pszLogSourceFile = nullptr;
std::uint32_t g_nLogSourceLine = 0;
char g_szLogText[LOG_TEXT_SIZE];

namespace {

// The file name after the last '/', '\' or ':'.
std::string_view SourceBaseName(const char* pszPath) {
    // Lines come in runs from one source file: its name is found once.
    thread_local const char* s_pszLastPath = nullptr;
    thread_local std::string_view s_lastName;
    if (pszPath == s_pszLastPath) {
        return s_lastName;
    }
    const char* pszName = pszPath;
    for (const char* p = pszPath; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\' || *p == ':') {
            pszName = p + 1;
        }
    }
    s_pszLastPath = pszPath;
    s_lastName = pszName;
    return s_lastName;
}

// Appends to a buffer, cutting what does not fit before its last byte (kept
// for the terminator), as snprintf does.
class CBoundedWriter {
public:
    CBoundedWriter(char* pszBuffer, std::size_t nSize) : m_p(pszBuffer), m_pEnd(pszBuffer + nSize - 1) {}

    void Put(char ch) {
        if (m_p < m_pEnd) {
            *m_p++ = ch;
        }
    }
    void Put(const char* psz, std::size_t n) {
        const std::size_t nRoom = static_cast<std::size_t>(m_pEnd - m_p);
        if (n > nRoom) {
            n = nRoom;
        }
        std::memcpy(m_p, psz, n);
        m_p += n;
    }
    void Pad(char ch, std::size_t n) {
        const std::size_t nRoom = static_cast<std::size_t>(m_pEnd - m_p);
        if (n > nRoom) {
            n = nRoom;
        }
        std::memset(m_p, ch, n);
        m_p += n;
    }
    char* Current() const { return m_p; }

private:
    char* m_p;
    char* m_pEnd;
};

// Writes a field of n characters padded to the width as printf does.
void PutPadded(CBoundedWriter& out, const char* psz, std::size_t n, std::size_t nWidth, bool bLeft) {
    if (!bLeft && nWidth > n) {
        out.Pad(' ', nWidth - n);
    }
    out.Put(psz, n);
    if (bLeft && nWidth > n) {
        out.Pad(' ', nWidth - n);
    }
}

// Writes the format byte for byte as vsnprintf would, without its cost per
// call, as long as each conversion is one of %%, %s, %c, and %d %i %u %x %X
// with the flags '-' and '0', a width and the lengths l, ll and z. Meeting
// any other conversion it stops before taking its argument and gives false:
// the caller then leaves the whole text to vsnprintf.
bool FormatSimple(CBoundedWriter& out, const char* format, va_list args) {
    const char* p = format;
    for (;;) {
        const std::size_t nRun = std::strcspn(p, "%");
        out.Put(p, nRun);
        p += nRun;
        if (*p == '\0') {
            return true;
        }
        ++p;
        if (*p == '%') {
            out.Put('%');
            ++p;
            continue;
        }
        bool bLeft = false;
        bool bZero = false;
        for (; *p == '-' || *p == '0'; ++p) {
            (*p == '-' ? bLeft : bZero) = true;
        }
        std::size_t nWidth = 0;
        for (; *p >= '0' && *p <= '9'; ++p) {
            nWidth = nWidth * 10 + static_cast<std::size_t>(*p - '0');
        }
        int nLength = 0;  // 1 long, 2 long long, 3 size_t
        if (*p == 'l') {
            nLength = 1;
            if (p[1] == 'l') {
                nLength = 2;
                ++p;
            }
            ++p;
        } else if (*p == 'z') {
            nLength = 3;
            ++p;
        }
        const char chConversion = *p++;
        if (chConversion == 's' || chConversion == 'c') {
            if (nLength != 0) {
                return false;  // wide characters
            }
            if (chConversion == 's') {
                const char* psz = va_arg(args, const char*);
                if (psz == nullptr) {
                    psz = "(null)";
                }
                PutPadded(out, psz, std::strlen(psz), nWidth, bLeft);
            } else {
                const char ch = static_cast<char>(va_arg(args, int));
                PutPadded(out, &ch, 1, nWidth, bLeft);
            }
            continue;
        }
        unsigned long long nMagnitude = 0;
        bool bNegative = false;
        if (chConversion == 'd' || chConversion == 'i') {
            long long nValue = 0;
            switch (nLength) {
                case 0: nValue = va_arg(args, int); break;
                case 1: nValue = va_arg(args, long); break;
                case 2: nValue = va_arg(args, long long); break;
                default: nValue = va_arg(args, std::make_signed_t<std::size_t>); break;
            }
            bNegative = nValue < 0;
            nMagnitude =
                bNegative ? 0ULL - static_cast<unsigned long long>(nValue) : static_cast<unsigned long long>(nValue);
        } else if (chConversion == 'u' || chConversion == 'x' || chConversion == 'X') {
            switch (nLength) {
                case 0: nMagnitude = va_arg(args, unsigned int); break;
                case 1: nMagnitude = va_arg(args, unsigned long); break;
                case 2: nMagnitude = va_arg(args, unsigned long long); break;
                default: nMagnitude = va_arg(args, std::size_t); break;
            }
        } else {
            return false;
        }
        char szDigits[24];
        char* pDigits = szDigits + sizeof szDigits;
        const unsigned nBase = chConversion == 'x' || chConversion == 'X' ? 16 : 10;
        const char* pszDigitSet = chConversion == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
        do {
            *--pDigits = pszDigitSet[nMagnitude % nBase];
            nMagnitude /= nBase;
        } while (nMagnitude != 0);
        const std::size_t nDigits = static_cast<std::size_t>(szDigits + sizeof szDigits - pDigits);
        const std::size_t nField = nDigits + (bNegative ? 1 : 0);
        if (bLeft || !bZero) {
            if (!bLeft && nWidth > nField) {
                out.Pad(' ', nWidth - nField);
            }
            if (bNegative) {
                out.Put('-');
            }
            out.Put(pDigits, nDigits);
            if (bLeft && nWidth > nField) {
                out.Pad(' ', nWidth - nField);
            }
        } else {
            if (bNegative) {
                out.Put('-');
            }
            if (nWidth > nField) {
                out.Pad('0', nWidth - nField);
            }
            out.Put(pDigits, nDigits);
        }
    }
}

// Formats the line of one level function into the shared buffer and routes
// it. The line is built in a buffer of its own first, so that a caller may
// pass the shared buffer itself as an argument.
void LogAtLevel(int nLevel, const char* format, va_list args) __attribute__((format(printf, 2, 0)));

void LogAtLevel(int nLevel, const char* format, va_list args) {
    // A failure is logged before it is returned: its errno must outlive the
    // log file's own calls, so that the caller can still say why.
    const int nErrno = errno;
    char szLine[LOG_TEXT_SIZE];
    FormatLogPrefix(szLine, sizeof szLine, format, args);
    std::memcpy(g_szLogText, szLine, std::strlen(szLine) + 1);
    RouteLogLine(nLevel, g_szLogText);
    errno = nErrno;
}

}  // namespace

void FormatLogPrefix(char* pszBuffer, std::size_t nSize, const char* format, va_list args) {
    if (pszBuffer == nullptr || nSize == 0) {
        return;
    }
    pszBuffer[0] = '\0';
    // Written by hand: the same bytes as "\"%s\"(%u): " and the format
    // through snprintf, at a fraction of the cost for the usual formats.
    CBoundedWriter out(pszBuffer, nSize);
    if (g_pszLogSourceFile != nullptr) {
        const std::string_view name = SourceBaseName(g_pszLogSourceFile);
        out.Put('"');
        out.Put(name.data(), name.size());
        out.Put("\"(", 2);
        char szDigits[12];
        char* pDigits = szDigits + sizeof szDigits;
        unsigned nLine = g_nLogSourceLine;
        do {
            *--pDigits = static_cast<char>('0' + nLine % 10);
            nLine /= 10;
        } while (nLine != 0);
        out.Put(pDigits, static_cast<std::size_t>(szDigits + sizeof szDigits - pDigits));
        out.Put("): ", 3);
    }
    char* pszText = out.Current();
    *pszText = '\0';
    if (format != nullptr && pszText < pszBuffer + nSize - 1) {
        va_list argsAgain;
        va_copy(argsAgain, args);
        if (FormatSimple(out, format, args)) {
            *out.Current() = '\0';
        } else if (std::vsnprintf(pszText, nSize - static_cast<std::size_t>(pszText - pszBuffer), format,
                                  argsAgain) < 0) {
            *pszText = '\0';
        }
        va_end(argsAgain);
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
        case LOG_LEVEL_ERROR: HostLogLine(g_pHostLogger, nLevel, "?? ", pszLine); break;
        case LOG_LEVEL_WARNING: HostLogLine(g_pHostLogger, nLevel, "!! ", pszLine); break;
        default: HostLogLine(g_pHostLogger, nLevel, "", pszLine); break;
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
