#include "model/CsvField.h"

std::string CsvField(const std::string& strText)
{
    std::string strField;
    AppendCsvField(strField, strText);
    return strField;
}

void AppendCsvField(std::string& strOut, const std::string& strText)
{
    // Copied in runs up to each double quote rather than byte by byte.
    strOut += '"';
    std::size_t nStart = 0;
    for (std::size_t nQuote; (nQuote = strText.find('"', nStart)) != std::string::npos; nStart = nQuote + 1) {
        strOut.append(strText, nStart, nQuote + 1 - nStart);
        strOut += '"';
    }
    strOut.append(strText, nStart, std::string::npos);
    strOut += '"';
}
