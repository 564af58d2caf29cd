#include "model/CsvField.h"

std::string CsvField(const std::string& strText)
{
    std::string strField = "\"";
    for (char ch : strText) {
        if (ch == '"')
            strField += '"';
        strField += ch;
    }
    strField += '"';
    return strField;
}
