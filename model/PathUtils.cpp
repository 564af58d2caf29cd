#include "model/PathUtils.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace {

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

}  // namespace

std::string PathJoin(std::string_view directory, std::string_view name)
{
    if (directory.empty() || name.empty())
        return {};
    std::string path(directory);
    if (!IsSeparator(path.back()))
        path += '/';
    path += name;
    return path;
}

int PathSplit(std::string_view path, std::string& directory, std::string& name, std::string& extension)
{
    if (path.empty())
        return 0;
    const std::size_t separator = path.find_last_of("/\\");
    const std::size_t dot = path.rfind('.');
    if (separator == std::string_view::npos || dot == std::string_view::npos || dot < separator)
        return 0;
    extension = path.substr(dot + 1);
    name = path.substr(separator + 1, dot - separator - 1);
    directory = path.substr(0, separator);
    return 1;
}

LONG ParseNextInt(std::string_view& text, LONG nDefault)
{
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == ','))
        ++pos;
    text.remove_prefix(pos);

    std::size_t digits = 0;
    bool negative = false;
    if (digits < text.size() && (text[digits] == '-' || text[digits] == '+')) {
        negative = text[digits] == '-';
        ++digits;
    }
    const std::size_t firstDigit = digits;
    // Saturate rather than wrap: a runaway number reads as the limit.
    constexpr std::int64_t limit = static_cast<std::int64_t>(std::numeric_limits<LONG>::max()) + 1;
    std::int64_t value = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        value = value * 10 + (text[digits] - '0');
        if (value > limit)
            value = limit;
        ++digits;
    }
    if (digits == firstDigit)
        return nDefault;
    text.remove_prefix(digits);
    if (negative)
        value = -value;
    if (value > std::numeric_limits<LONG>::max())
        value = std::numeric_limits<LONG>::max();
    return static_cast<LONG>(value);
}

std::vector<LONG> ParseIntList(std::string_view text, std::size_t count)
{
    std::vector<LONG> values;
    values.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        values.push_back(ParseNextInt(text, 0));
    return values;
}

std::size_t AppendLong(std::string& buffer, LONG value)
{
    char digits[16];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    buffer.append(digits, result.ptr);
    return buffer.size();
}

std::string FormatIntList(std::span<const LONG> values)
{
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            text += ' ';
        AppendLong(text, values[i]);
    }
    return text;
}

void ReplaceControlChars(std::string& text)
{
    for (char& c : text)
        if (c == '\t' || c == '\b' || c == '\r' || c == '\n' || c == '\f' || c == '\v')
            c = ' ';
}

std::string ReplaceLastChars(std::string_view text, std::size_t count, std::string_view replacement)
{
    const std::size_t keep = text.size() > count ? text.size() - count : 0;
    std::string result(text.substr(0, keep));
    result += replacement;
    return result;
}

std::string ReplaceExtension(std::string_view path, std::string_view extension)
{
    const std::size_t separator = path.find_last_of("/\\");
    const std::size_t nameStart = separator == std::string_view::npos ? 0 : separator + 1;
    const std::size_t dot = path.rfind('.');
    std::string result(dot != std::string_view::npos && dot >= nameStart ? path.substr(0, dot) : path);
    result += '.';
    result += extension;
    return result;
}
