#pragma once
// The lines of an ini file as the profile engine reads and writes them,
// parsed from bytes with no file behind them. Sections and keys are matched
// without regard to case; every line, comments and malformed ones included,
// is kept as it was and written back unchanged.

#include <cstddef>
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

    // Sets section/key to value, adding the section when missing; a null
    // value removes the key, a null key the whole section. True when the
    // text changed. The caller has checked that the names and the value can
    // stand in a line (IsRepresentable).
    bool Set(std::string_view section, const char* key, const char* value);

    // Whether the names and the value can stand in a line of their own that
    // reads back as them.
    static bool IsRepresentable(std::string_view section, const char* key, const char* value);

    std::string Serialize() const;

private:
    struct Line {
        enum Kind { other, section, entry } kind = other;
        std::string text;   // without the line end
        std::string name;   // section name or key
        std::string value;  // entry value
    };

    static Line MakeLine(std::string text);
    std::optional<std::size_t> FindSection(std::string_view section) const;
    std::size_t SectionEnd(std::size_t header) const;
    // The key's line inside the section, kNone when missing.
    std::size_t FindKey(std::size_t header, std::string_view key) const;
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    std::vector<Line> m_lines;
    std::string m_strEol = "\n";
    bool m_bFinalEol = true;
};

}  // namespace platform
