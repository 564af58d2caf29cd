#include "model/HexFields.h"

#include <cstdio>
#include <cstdlib>
#include <string>

DWORD HexFieldValue(const char* p, std::size_t nWidth)
{
    // Digits alone, as every record holds them, are read here; anything
    // else (signs, blanks, a "0x", a cut field) is left to strtoul.
    if (nWidth <= 8) {
        DWORD dwValue = 0;
        std::size_t i = 0;
        for (; i < nWidth; ++i) {
            const char ch = p[i];
            unsigned nDigit;
            if (ch >= '0' && ch <= '9')
                nDigit = static_cast<unsigned>(ch - '0');
            else if (ch >= 'a' && ch <= 'f')
                nDigit = static_cast<unsigned>(ch - 'a' + 10);
            else if (ch >= 'A' && ch <= 'F')
                nDigit = static_cast<unsigned>(ch - 'A' + 10);
            else
                break;
            dwValue = (dwValue << 4) | nDigit;
        }
        if (i == nWidth && nWidth > 0)
            return dwValue;
    }
    const std::string strField(p, nWidth);
    return static_cast<DWORD>(std::strtoul(strField.c_str(), nullptr, 16));
}

bool ParseHexField(const std::string& strText, std::size_t& pos, std::size_t nWidth, DWORD& dwValue)
{
    if (pos > strText.size() || strText.size() - pos < nWidth)
        return false;
    dwValue = HexFieldValue(strText.data() + pos, nWidth);
    pos += nWidth;
    return true;
}

void AppendHexField(std::string& strText, DWORD dwValue, int nWidth)
{
    const DWORD dwMask = nWidth >= 8 ? 0xFFFFFFFFu : ((1u << (4 * nWidth)) - 1);
    AppendHexPadded(strText, static_cast<unsigned>(dwValue & dwMask), nWidth);
}

void AppendHexPadded(std::string& strText, unsigned nValue, int nWidth)
{
    // Written by hand: every parameter record is made of such fields.
    char szDigits[8];
    int nDigits = 0;
    do {
        szDigits[nDigits++] = "0123456789abcdef"[nValue & 0xF];
        nValue >>= 4;
    } while (nValue != 0);
    if (nWidth > nDigits)
        strText.append(static_cast<std::size_t>(nWidth - nDigits), '0');
    while (nDigits > 0)
        strText += szDigits[--nDigits];
}
