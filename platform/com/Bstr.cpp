#include "platform/com/Bstr.h"

#include "platform/base/Cp1252.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr std::size_t kPrefix = sizeof(UINT);

UINT* PrefixOf(BSTR bstr)
{
    return reinterpret_cast<UINT*>(reinterpret_cast<char*>(bstr) - kPrefix);
}

std::size_t StringLength(LPCOLESTR psz)
{
    std::size_t n = 0;
    while (psz[n] != 0)
        ++n;
    return n;
}

}  // namespace

BSTR SysAllocStringLen(LPCOLESTR pch, UINT cch)
{
    // The byte length must fit the 32-bit prefix.
    if (cch > (std::numeric_limits<UINT>::max() - kPrefix - sizeof(OLECHAR)) / sizeof(OLECHAR))
        return nullptr;
    std::size_t bytes = static_cast<std::size_t>(cch) * sizeof(OLECHAR);
    auto* block = static_cast<char*>(std::malloc(kPrefix + bytes + sizeof(OLECHAR)));
    if (!block)
        return nullptr;
    UINT len = static_cast<UINT>(bytes);
    std::memcpy(block, &len, kPrefix);
    auto* text = reinterpret_cast<OLECHAR*>(block + kPrefix);
    if (pch)
        std::memcpy(text, pch, bytes);
    else
        std::memset(text, 0, bytes);
    text[cch] = 0;
    return text;
}

BSTR SysAllocString(LPCOLESTR psz)
{
    if (!psz)
        return nullptr;
    std::size_t n = StringLength(psz);
    if (n > std::numeric_limits<UINT>::max())
        return nullptr;
    return SysAllocStringLen(psz, static_cast<UINT>(n));
}

BOOL SysReAllocString(BSTR* pbstr, LPCOLESTR psz)
{
    if (!pbstr)
        return FALSE;
    BSTR copy = nullptr;
    if (psz) {
        copy = SysAllocString(psz);
        if (!copy)
            return FALSE;
    }
    SysFreeString(*pbstr);
    *pbstr = copy;
    return TRUE;
}

void SysFreeString(BSTR bstr)
{
    if (bstr)
        std::free(PrefixOf(bstr));
}

UINT SysStringByteLen(BSTR bstr)
{
    if (!bstr)
        return 0;
    UINT len;
    std::memcpy(&len, PrefixOf(bstr), kPrefix);
    return len;
}

UINT SysStringLen(BSTR bstr)
{
    return SysStringByteLen(bstr) / sizeof(OLECHAR);
}

namespace platform {

std::u16string Utf8ToOleString(std::string_view utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        // ASCII, most of every text, needs no decoding.
        if (static_cast<unsigned char>(utf8[pos]) < 0x80) {
            out.push_back(static_cast<char16_t>(utf8[pos++]));
            continue;
        }
        char32_t cp = DecodeUtf8(utf8, pos).value_or(U'\uFFFD');
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string OleStringToUtf8(std::u16string_view text)
{
    return Utf16ToUtf8(text);
}

std::string OleStringToUtf8(LPCOLESTR psz)
{
    if (!psz)
        return {};
    return Utf16ToUtf8(std::u16string_view(psz, StringLength(psz)));
}

BSTR BstrFromUtf8(std::string_view utf8)
{
    std::u16string wide = Utf8ToOleString(utf8);
    if (wide.size() > std::numeric_limits<UINT>::max())
        return nullptr;
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

std::string BstrToUtf8(BSTR bstr)
{
    if (!bstr)
        return {};
    return Utf16ToUtf8(std::u16string_view(bstr, SysStringLen(bstr)));
}

}  // namespace platform
