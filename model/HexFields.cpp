#include "model/HexFields.h"

#include <cstdio>
#include <cstdlib>

bool ParseHexField(const std::string& strText, std::size_t& pos, std::size_t nWidth, DWORD& dwValue)
{
    if (pos > strText.size() || strText.size() - pos < nWidth)
        return false;
    const std::string strField = strText.substr(pos, nWidth);
    dwValue = static_cast<DWORD>(std::strtoul(strField.c_str(), nullptr, 16));
    pos += nWidth;
    return true;
}

void AppendHexField(std::string& strText, DWORD dwValue, int nWidth)
{
    char szField[16];
    const DWORD dwMask = nWidth >= 8 ? 0xFFFFFFFFu : ((1u << (4 * nWidth)) - 1);
    std::snprintf(szField, sizeof szField, "%0*x", nWidth, static_cast<unsigned>(dwValue & dwMask));
    strText += szField;
}
