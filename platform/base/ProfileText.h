#pragma once
// The lines of an ini file as the profile engine reads and writes them,
// parsed from bytes with no file behind them. Sections and keys are matched
// without regard to case; every line, comments and malformed ones included,
// is kept as it was and written back unchanged.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class CProfileText {
public:
    static CProfileText Parse(std::string_view bytes);

    // The value of section/key: blanks around it dropped, and one pair of
    // enclosing double or single quotes; nothing when missing.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    bool HasSection(std::string_view section) const { return FindSection(section).has_value(); }
    // The section's entries as they stand, one line each, so that two looks
    // at it tell whether any of them changed between; nothing when missing.
    std::optional<std::string> SectionEntries(std::string_view section) const;

    // Sets section/key to value, adding the section when missing; a null
    // value removes the key, a null key the whole section. True when the
    // text changed. The caller has checked that the names and the value can
    // stand in a line (IsRepresentable).
    bool Set(std::string_view section, const char* key, const char* value);

    // Whether the names and the value can stand in a line of their own that
    // reads back as them.
    static bool IsRepresentable(std::string_view section, const char* key, const char* value);

    std::string Serialize() const;

    // Whether two section or key names are the same name (case aside).
    static bool NamesEqual(std::string_view a, std::string_view b);

private:
    struct Line {
        enum Kind { other, section, entry } kind = other;
        std::string text;  // without the line end
        // Where the section name or key, and an entry's value, stand in the
        // text (kept as places, so that a line costs one string).
        std::uint32_t nNameStart = 0, nNameSize = 0, nValueStart = 0, nValueSize = 0;

        std::string_view Name() const { return std::string_view(text).substr(nNameStart, nNameSize); }
        std::string_view Value() const { return std::string_view(text).substr(nValueStart, nValueSize); }
    };

    static Line MakeLine(std::string text);
    std::optional<std::size_t> FindSection(std::string_view section) const;
    std::size_t SectionEnd(std::size_t header) const;
    // The key's line inside the section, kNone when missing.
    std::size_t FindKey(std::size_t header, std::string_view key) const;
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    // Moves the indexes of the section headers at or after nFrom by nBy.
    void ShiftHeaders(std::size_t nFrom, std::ptrdiff_t nBy);

    std::vector<Line> m_lines;
    // The lines that open a section, in order, so that a lookup walks the
    // sections rather than every line.
    std::vector<std::size_t> m_headers;
    std::string m_strEol = "\n";
    bool m_bFinalEol = true;
    bool m_bByteOrderMark = false;
};

}  // namespace platform
