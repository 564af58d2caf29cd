#pragma once
// A font as the Qt-free layers describe it: the logical-font record of the
// platform and a font object made from it. The window layer maps the record
// to its own fonts when it measures or draws.

#include "platform/base/WinTypes.h"

#include <string>

struct LOGFONT
{
    LONG lfHeight = 0;  // negative: character height in logical units
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = 0;  // 400 regular, 700 bold
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 0;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    std::string lfFaceName;

    bool operator==(const LOGFONT&) const = default;
};

constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;

class CFont
{
public:
    CFont() = default;

    // Makes the font from the record; FALSE when a font exists already.
    BOOL CreateFontIndirect(const LOGFONT* pLogFont);
    // Drops the font; FALSE when there was none.
    BOOL DeleteObject();
    bool IsCreated() const { return m_bCreated; }
    // Copies the record; 0 when there is no font.
    int GetLogFont(LOGFONT* pLogFont) const;
    const LOGFONT& GetLogFontRef() const { return m_logFont; }

private:
    LOGFONT m_logFont;
    bool m_bCreated = false;
};
