#include "platform/base/ProfileText.h"

#include "platform/base/TrimBlanks.h"

#include <algorithm>

namespace platform {

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    // From the end: the numbered keys of a section (Column1, Column2, ...)
    // differ there.
    for (std::size_t i = a.size(); i-- > 0;) {
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

std::string_view Unquote(std::string_view v)
{
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
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

}  // namespace

bool CProfileText::NamesEqual(std::string_view a, std::string_view b)
{
    return EqualsNoCase(a, b);
}

CProfileText::Line CProfileText::MakeLine(std::string text)
{
    Line line;
    line.text = std::move(text);
    const std::string_view all = line.text;
    const auto place = [&all](std::string_view part, std::uint32_t& nStart, std::uint32_t& nSize) {
        nStart = part.empty() ? 0 : static_cast<std::uint32_t>(part.data() - all.data());
        nSize = static_cast<std::uint32_t>(part.size());
    };
    // A line ends at a NUL byte, as it would in the caller's text buffer; the
    // bytes after it are kept but never read.
    std::string_view t = TrimBlanks(all.substr(0, all.find('\0')));
    if (t.empty() || t.front() == ';' || t.front() == '#')
        return line;
    if (t.front() == '[') {
        std::size_t close = t.find(']');
        if (close == std::string_view::npos)
            return line;  // malformed header: kept, never matched
        line.kind = Line::section;
        place(TrimBlanks(t.substr(1, close - 1)), line.nNameStart, line.nNameSize);
        return line;
    }
    std::size_t eq = t.find('=');
    if (eq == std::string_view::npos)
        return line;  // malformed entry: kept, never matched
    line.kind = Line::entry;
    place(TrimBlanks(t.substr(0, eq)), line.nNameStart, line.nNameSize);
    place(TrimBlanks(t.substr(eq + 1)), line.nValueStart, line.nValueSize);
    return line;
}

CProfileText CProfileText::Parse(std::string_view all)
{
    CProfileText p;
    // A UTF-8 byte-order mark that an editor may have added is no part of
    // the first line; it is written back as it was.
    if (all.substr(0, 3) == "\xEF\xBB\xBF") {
        all.remove_prefix(3);
        p.m_bByteOrderMark = true;
    }
    bool eolSeen = false;
    std::size_t pos = 0;
    while (pos < all.size()) {
        std::size_t nl = all.find('\n', pos);
        std::size_t end = nl == std::string_view::npos ? all.size() : nl;
        std::size_t textEnd = end;
        // Every carriage return before the line feed belongs to the line end:
        // one kept in the text would be read back as the end of the line once
        // the file is written with the line feed alone.
        while (textEnd > pos && all[textEnd - 1] == '\r')
            --textEnd;
        if (!eolSeen && nl != std::string_view::npos) {
            p.m_strEol = textEnd < end ? "\r\n" : "\n";
            eolSeen = true;
        }
        p.m_lines.push_back(MakeLine(std::string(all.substr(pos, textEnd - pos))));
        if (p.m_lines.back().kind == Line::section)
            p.m_headers.push_back(p.m_lines.size() - 1);
        p.m_bFinalEol = nl != std::string_view::npos;
        pos = nl == std::string_view::npos ? all.size() : nl + 1;
    }
    return p;
}

// Index of the header line of the first section with that name.
std::optional<std::size_t> CProfileText::FindSection(std::string_view section) const
{
    for (std::size_t header : m_headers)
        if (EqualsNoCase(m_lines[header].Name(), section))
            return header;
    return std::nullopt;
}

// One past the last line that belongs to the section starting at header.
std::size_t CProfileText::SectionEnd(std::size_t header) const
{
    auto next = std::upper_bound(m_headers.begin(), m_headers.end(), header);
    return next == m_headers.end() ? m_lines.size() : *next;
}

void CProfileText::ShiftHeaders(std::size_t nFrom, std::ptrdiff_t nBy)
{
    for (std::size_t& header : m_headers)
        if (header >= nFrom)
            header = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(header) + nBy);
}

std::size_t CProfileText::FindKey(std::size_t header, std::string_view key) const
{
    std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i)
        if (m_lines[i].kind == Line::entry && EqualsNoCase(m_lines[i].Name(), key))
            return i;
    return kNone;
}

std::optional<std::string> CProfileText::Find(std::string_view section, std::string_view key) const
{
    auto header = FindSection(section);
    if (!header)
        return std::nullopt;
    const std::size_t at = FindKey(*header, key);
    if (at == kNone)
        return std::nullopt;
    return std::string(Unquote(m_lines[at].Value()));
}

std::optional<std::string> CProfileText::SectionEntries(std::string_view section) const
{
    auto header = FindSection(section);
    if (!header)
        return std::nullopt;
    std::string entries;
    const std::size_t end = SectionEnd(*header);
    for (std::size_t i = *header + 1; i < end; ++i) {
        if (m_lines[i].kind == Line::entry)
            entries.append(m_lines[i].text).push_back('\n');
    }
    return entries;
}

bool CProfileText::Set(std::string_view section, const char* key, const char* value)
{
    auto header = FindSection(section);
    if (!key) {
        if (!header)
            return false;
        std::size_t end = SectionEnd(*header);
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(*header),
                      m_lines.begin() + static_cast<std::ptrdiff_t>(end));
        m_headers.erase(std::find(m_headers.begin(), m_headers.end(), *header));
        ShiftHeaders(end, -static_cast<std::ptrdiff_t>(end - *header));
        return true;
    }
    const std::size_t at = header ? FindKey(*header, key) : kNone;
    if (!value) {
        if (at == kNone)
            return false;
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(at));
        ShiftHeaders(at, -1);
        return true;
    }
    std::string entry = std::string(key) + "=" + StoredValue(value);
    if (at != kNone) {
        // A value that reads back as it stands is left in its own spelling.
        if (Unquote(m_lines[at].Value()) == value)
            return false;
        m_lines[at] = MakeLine(std::move(entry));
    } else if (header) {
        // After the section's last entry, so blank lines before the next
        // section stay where they are.
        std::size_t insert = SectionEnd(*header);
        while (insert > *header + 1 && TrimBlanks(m_lines[insert - 1].text).empty())
            --insert;
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insert), MakeLine(std::move(entry)));
        ShiftHeaders(insert, 1);
    } else {
        m_lines.push_back(MakeLine("[" + std::string(section) + "]"));
        m_headers.push_back(m_lines.size() - 1);
        m_lines.push_back(MakeLine(std::move(entry)));
        m_bFinalEol = true;
    }
    return true;
}

bool CProfileText::IsRepresentable(std::string_view section, const char* key, const char* value)
{
    auto hasLineEnd = [](std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; };
    if (hasLineEnd(section) || section.find_first_of(std::string_view("]\0", 2)) != std::string_view::npos ||
        TrimBlanks(section) != section)
        return false;
    if (key) {
        std::string_view k = key;
        if (hasLineEnd(k) || k.find('=') != std::string_view::npos || TrimBlanks(k) != k ||
            (!k.empty() && (k.front() == ';' || k.front() == '#' || k.front() == '[')))
            return false;
    }
    return !value || !hasLineEnd(value);
}

std::string CProfileText::Serialize() const
{
    std::string out = m_bByteOrderMark ? "\xEF\xBB\xBF" : "";
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        out += m_lines[i].text;
        if (i + 1 < m_lines.size() || m_bFinalEol)
            out += m_strEol;
    }
    return out;
}

}  // namespace platform
