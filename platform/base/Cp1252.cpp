#include "platform/base/Cp1252.h"

#include <cstdint>
#include <cstring>

namespace platform {

namespace {

// Code points of the bytes 0x80..0x9F; the undefined ones keep their value.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t ByteToCodePoint(unsigned char b)
{
    if (b >= 0x80 && b <= 0x9F)
        return kHigh[b - 0x80];
    return b;
}

std::optional<unsigned char> CodePointToByte(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<unsigned char>(cp);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == cp)
            return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

// The end of the run of ASCII bytes from pos on, looked for eight bytes at a
// time.
std::size_t AsciiRunEnd(std::string_view text, std::size_t pos)
{
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    while (pos + 8 <= text.size()) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + pos, sizeof word);
        if ((word & kHighBits) != 0)
            break;
        pos += 8;
    }
    while (pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80)
        ++pos;
    return pos;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::optional<char32_t> DecodeUtf8(std::string_view s, std::size_t& pos)
{
    const auto b0 = static_cast<unsigned char>(s[pos]);
    if (b0 < 0x80) {
        ++pos;
        return b0;
    }
    int len;
    char32_t cp;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        cp = b0 & 0x07;
    } else {
        ++pos;
        return std::nullopt;
    }
    if (pos + len > s.size()) {
        ++pos;
        return std::nullopt;
    }
    for (int i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80) {
            ++pos;
            return std::nullopt;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are malformed.
    static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return std::nullopt;
    }
    pos += len;
    return cp;
}

std::string Cp1252ToUtf8(std::string_view bytes)
{
    // Stored texts are mostly ASCII, which stays as it is: copied in runs.
    std::string out;
    out.reserve(bytes.size());
    std::size_t run = 0;
    while (run < bytes.size()) {
        const std::size_t end = AsciiRunEnd(bytes, run);
        out.append(bytes.data() + run, end - run);
        if (end == bytes.size())
            break;
        AppendUtf8(out, ByteToCodePoint(static_cast<unsigned char>(bytes[end])));
        run = end + 1;
    }
    return out;
}

std::optional<std::string> Utf8ToCp1252(std::string_view utf8)
{
    bool lossy = false;
    std::string out = Utf8ToCp1252Lossy(utf8, &lossy);
    if (lossy)
        return std::nullopt;
    return out;
}

std::string Utf8ToCp1252Lossy(std::string_view utf8, bool* lossy)
{
    std::string out;
    out.reserve(utf8.size());
    const bool lost = AppendUtf8AsCp1252Lossy(out, utf8);
    if (lossy)
        *lossy = lost;
    return out;
}

namespace {

// Converts UTF-8 to Windows-1252, '?' for what it lacks, handing runs of
// ASCII to putRun(pos, count) without decoding them and every other
// character to putByte(byte). True when a character was lost.
template <class PutRun, class PutByte>
bool ConvertLossy(std::string_view utf8, PutRun putRun, PutByte putByte)
{
    bool lost = false;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t end = AsciiRunEnd(utf8, pos);
        if (end != pos) {
            putRun(pos, end - pos);
            pos = end;
            continue;
        }
        auto cp = DecodeUtf8(utf8, pos);
        std::optional<unsigned char> b = cp ? CodePointToByte(*cp) : std::nullopt;
        lost = lost || !b;
        putByte(b ? static_cast<char>(*b) : '?');
    }
    return lost;
}

}  // namespace

bool AppendUtf8AsCp1252Lossy(std::string& out, std::string_view utf8)
{
    return ConvertLossy(
        utf8, [&](std::size_t pos, std::size_t n) { out.append(utf8.data() + pos, n); },
        [&](char c) { out += c; });
}

bool ConvertUtf8ToCp1252LossyInPlace(std::string& text)
{
    // Each character takes at least the one byte it becomes, so the bytes
    // written never overtake those still to be read.
    const std::string_view utf8(text);
    char* out = text.data();
    const bool lost = ConvertLossy(
        utf8,
        [&](std::size_t pos, std::size_t n) {
            std::memmove(out, utf8.data() + pos, n);
            out += n;
        },
        [&](char c) { *out++ = c; });
    text.resize(static_cast<std::size_t>(out - text.data()));
    return lost;
}

bool IsCp1252Representable(std::string_view utf8)
{
    return Utf8ToCp1252(utf8).has_value();
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

}  // namespace platform
