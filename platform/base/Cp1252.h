#pragma once
// Windows-1252 is the byte form of every stored text (data files, host
// parameter texts, the text export); inside the program text is UTF-8.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Each byte becomes its UTF-8 form. The five bytes that Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same
// value, as the platform's own conversion does, so no byte is ever lost.
std::string Cp1252ToUtf8(std::string_view bytes);

// The Windows-1252 bytes of a UTF-8 text, or nothing when a character has no
// Windows-1252 form or the UTF-8 is malformed.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);

// As above, but every character without a Windows-1252 form (and every
// malformed sequence) becomes '?'; `lossy` tells whether that happened.
std::string Utf8ToCp1252Lossy(std::string_view utf8, bool* lossy = nullptr);
// The same, appended to `out`; true when a character became '?'.
bool AppendUtf8AsCp1252Lossy(std::string& out, std::string_view utf8);
// The same, in place: `text` becomes its own Windows-1252 bytes (never
// longer); true when a character became '?'.
bool ConvertUtf8ToCp1252LossyInPlace(std::string& text);

// True when every character of the text has a Windows-1252 form.
bool IsCp1252Representable(std::string_view utf8);

// UTF-16 code units (as read from a wide archive string) to UTF-8; unpaired
// surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// One code point of a UTF-8 text at `pos`, advancing it; nothing when the
// sequence is malformed (pos then advances by one byte).
std::optional<char32_t> DecodeUtf8(std::string_view utf8, std::size_t& pos);
void AppendUtf8(std::string& out, char32_t cp);

}  // namespace platform
