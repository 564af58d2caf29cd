#include "platform/base/Guid.h"

#include <cstdio>
#include <stdexcept>

namespace platform {

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool ReadHex(std::string_view s, std::size_t pos, int digits, std::uint64_t& out)
{
    out = 0;
    for (int i = 0; i < digits; ++i) {
        int d = HexDigit(s[pos + static_cast<std::size_t>(i)]);
        if (d < 0)
            return false;
        out = (out << 4) | static_cast<std::uint64_t>(d);
    }
    return true;
}

std::optional<GUID> ParseBare(std::string_view s)
{
    // XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX
    if (s.size() != 36 || s[8] != '-' || s[13] != '-' || s[18] != '-' || s[23] != '-')
        return std::nullopt;
    GUID g;
    std::uint64_t v;
    if (!ReadHex(s, 0, 8, v))
        return std::nullopt;
    g.Data1 = static_cast<DWORD>(v);
    if (!ReadHex(s, 9, 4, v))
        return std::nullopt;
    g.Data2 = static_cast<WORD>(v);
    if (!ReadHex(s, 14, 4, v))
        return std::nullopt;
    g.Data3 = static_cast<WORD>(v);
    static constexpr std::size_t kBytePos[8] = {19, 21, 24, 26, 28, 30, 32, 34};
    for (int i = 0; i < 8; ++i) {
        if (!ReadHex(s, kBytePos[i], 2, v))
            return std::nullopt;
        g.Data4[i] = static_cast<BYTE>(v);
    }
    return g;
}

}  // namespace

std::optional<GUID> ParseGuid(std::string_view text)
{
    if (text.size() != 38 || text.front() != '{' || text.back() != '}')
        return std::nullopt;
    return ParseBare(text.substr(1, 36));
}

std::string FormatGuid(const GUID& g)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", static_cast<unsigned>(g.Data1),
                  static_cast<unsigned>(g.Data2), static_cast<unsigned>(g.Data3), g.Data4[0], g.Data4[1], g.Data4[2],
                  g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return buf;
}

GUID GuidFromString(std::string_view text)
{
    auto g = text.size() == 36 ? ParseBare(text) : ParseGuid(text);
    if (!g)
        throw std::invalid_argument("malformed class id in code: " + std::string(text));
    return *g;
}

bool IsNullGuid(const GUID& guid)
{
    return guid == GUID_NULL;
}

}  // namespace platform
