#include "platform/base/PrivateProfile.h"

#include "platform/base/AtomicFile.h"

#include <optional>
#include <vector>

namespace platform {

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

std::string_view Trim(std::string_view s)
{
    std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos)
        return {};
    std::size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

// One line of an ini file as read, with what it means.
struct Line {
    enum Kind { other, section, entry } kind = other;
    std::string text;        // without the line end
    std::string name;        // section name or key
    std::string value;       // entry value
};

struct Profile {
    std::vector<Line> lines;
    std::string eol = "\n";
    bool finalEol = true;
};

void Classify(Line& line)
{
    // A line ends at a NUL byte, as it would in the caller's text buffer; the
    // bytes after it are kept but never read.
    std::string_view t = line.text;
    t = Trim(t.substr(0, t.find('\0')));
    if (t.empty() || t.front() == ';' || t.front() == '#')
        return;
    if (t.front() == '[') {
        std::size_t close = t.find(']');
        if (close == std::string_view::npos)
            return;  // malformed header: kept, never matched
        line.kind = Line::section;
        line.name = std::string(Trim(t.substr(1, close - 1)));
        return;
    }
    std::size_t eq = t.find('=');
    if (eq == std::string_view::npos)
        return;  // malformed entry: kept, never matched
    line.kind = Line::entry;
    line.name = std::string(Trim(t.substr(0, eq)));
    line.value = std::string(Trim(t.substr(eq + 1)));
}

Profile Parse(const std::vector<std::uint8_t>& bytes)
{
    Profile p;
    std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    // Skip a UTF-8 byte-order mark that an editor may have added.
    if (all.substr(0, 3) == "\xEF\xBB\xBF")
        all.remove_prefix(3);
    bool eolSeen = false;
    std::size_t pos = 0;
    while (pos < all.size()) {
        std::size_t nl = all.find('\n', pos);
        std::size_t end = nl == std::string_view::npos ? all.size() : nl;
        std::size_t textEnd = end;
        if (textEnd > pos && all[textEnd - 1] == '\r')
            --textEnd;
        if (!eolSeen && nl != std::string_view::npos) {
            p.eol = textEnd < end ? "\r\n" : "\n";
            eolSeen = true;
        }
        p.lines.push_back(Line {Line::other, std::string(all.substr(pos, textEnd - pos)), {}, {}});
        p.finalEol = nl != std::string_view::npos;
        pos = nl == std::string_view::npos ? all.size() : nl + 1;
    }
    for (Line& line : p.lines)
        Classify(line);
    return p;
}

std::optional<Profile> Load(const std::string& path)
{
    auto bytes = ReadWholeFile(path);
    if (!bytes)
        return std::nullopt;
    return Parse(*bytes);
}

// Index of the header line of the first section with that name.
std::optional<std::size_t> FindSection(const Profile& p, std::string_view section)
{
    for (std::size_t i = 0; i < p.lines.size(); ++i)
        if (p.lines[i].kind == Line::section && EqualsNoCase(p.lines[i].name, section))
            return i;
    return std::nullopt;
}

// One past the last line that belongs to the section starting at header.
std::size_t SectionEnd(const Profile& p, std::size_t header)
{
    std::size_t i = header + 1;
    while (i < p.lines.size() && p.lines[i].kind != Line::section)
        ++i;
    return i;
}

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Index of the key's line inside the section, kNone when missing.
std::size_t FindKey(const Profile& p, std::size_t header, std::string_view key)
{
    std::size_t end = SectionEnd(p, header);
    for (std::size_t i = header + 1; i < end; ++i)
        if (p.lines[i].kind == Line::entry && EqualsNoCase(p.lines[i].name, key))
            return i;
    return kNone;
}

std::optional<std::string> LookUp(std::string_view section, std::string_view key, const std::string& path)
{
    auto p = Load(path);
    if (!p)
        return std::nullopt;
    auto header = FindSection(*p, section);
    if (!header)
        return std::nullopt;
    std::size_t at = FindKey(*p, *header, key);
    if (at == kNone)
        return std::nullopt;
    std::string_view v = p->lines[at].value;
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

std::string CutToBuffer(std::string s, std::size_t bufferSize)
{
    if (bufferSize == 0 || s.size() < bufferSize)
        return s;
    std::size_t n = bufferSize - 1;
    // Never leave half a UTF-8 character at the end.
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
        --n;
    s.resize(n);
    return s;
}

// The value as an entry stores it so that a lookup gives it back: blanks
// at either end and a pair of enclosing quotes would otherwise be taken off
// by the lookup, so such a value goes inside one more pair of quotes.
std::string StoredValue(std::string_view value)
{
    const bool blankAtEnd = !value.empty() && (value.front() == ' ' || value.front() == '\t' ||
                                               value.back() == ' ' || value.back() == '\t');
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    if (blankAtEnd || quoted)
        return "\"" + std::string(value) + "\"";
    return std::string(value);
}

// Whether the names and the value can stand in a line of their own that
// reads back as them: no line ends anywhere, no ']' or NUL in a section
// name, and a key that cannot be taken for a comment, a section or part of
// its value.
bool Representable(std::string_view section, const char* key, const char* value)
{
    auto hasLineEnd = [](std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; };
    if (hasLineEnd(section) || section.find_first_of(std::string_view("]\0", 2)) != std::string_view::npos ||
        Trim(section) != section)
        return false;
    if (key) {
        std::string_view k = key;
        if (hasLineEnd(k) || k.find('=') != std::string_view::npos || Trim(k) != k ||
            (!k.empty() && (k.front() == ';' || k.front() == '#' || k.front() == '[')))
            return false;
    }
    return !value || !hasLineEnd(value);
}

bool Store(const Profile& p, const std::string& path)
{
    std::string out;
    for (std::size_t i = 0; i < p.lines.size(); ++i) {
        out += p.lines[i].text;
        if (i + 1 < p.lines.size() || p.finalEol)
            out += p.eol;
    }
    return WriteFileAtomically(path, out);
}

}  // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view def,
                                    const std::string& path, std::size_t bufferSize)
{
    auto v = LookUp(section, key, path);
    return CutToBuffer(v ? std::move(*v) : std::string(def), bufferSize);
}

std::int32_t GetPrivateProfileInt(std::string_view section, std::string_view key, std::int32_t def,
                                  const std::string& path)
{
    auto v = LookUp(section, key, path);
    if (!v)
        return def;
    std::string_view s = *v;
    bool negative = false;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    // Digits wrap at 32 bits, so "%u" of a negative value reads back as it.
    std::uint32_t n = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        n = n * 10u + static_cast<std::uint32_t>(s[i] - '0');
    if (negative)
        n = 0u - n;
    return static_cast<std::int32_t>(n);
}

bool WritePrivateProfileString(std::string_view section, const char* key, const char* value,
                               const std::string& path)
{
    if (path.empty() || !Representable(section, key, value))
        return false;
    Profile p;
    if (auto loaded = Load(path))
        p = std::move(*loaded);
    else if (FileExists(path))
        return false;  // there but unreadable: never overwrite it blindly

    auto header = FindSection(p, section);
    if (!key) {
        if (!header)
            return true;
        std::size_t end = SectionEnd(p, *header);
        p.lines.erase(p.lines.begin() + static_cast<std::ptrdiff_t>(*header),
                      p.lines.begin() + static_cast<std::ptrdiff_t>(end));
        return Store(p, path);
    }
    std::size_t at = header ? FindKey(p, *header, key) : kNone;
    if (!value) {
        if (at == kNone)
            return true;
        p.lines.erase(p.lines.begin() + static_cast<std::ptrdiff_t>(at));
        return Store(p, path);
    }
    std::string entry = std::string(key) + "=" + StoredValue(value);
    if (at != kNone) {
        p.lines[at].text = entry;
    } else if (header) {
        // After the section's last entry, so blank lines before the next
        // section stay where they are.
        std::size_t end = SectionEnd(p, *header);
        std::size_t insert = end;
        while (insert > *header + 1 && Trim(p.lines[insert - 1].text).empty())
            --insert;
        p.lines.insert(p.lines.begin() + static_cast<std::ptrdiff_t>(insert), Line {Line::other, entry, {}, {}});
    } else {
        if (!p.lines.empty() && !p.finalEol)
            p.finalEol = true;
        p.lines.push_back(Line {Line::other, "[" + std::string(section) + "]", {}, {}});
        p.lines.push_back(Line {Line::other, entry, {}, {}});
        p.finalEol = true;
    }
    return Store(p, path);
}

}  // namespace platform
