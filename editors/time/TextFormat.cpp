#include "editors/time/TextFormat.h"

std::string FormatIntFields(const std::string& strFormat, std::initializer_list<int> values) {
    std::string strResult;
    auto itValue = values.begin();
    for (std::size_t i = 0; i < strFormat.size(); ++i) {
        if (strFormat[i] == '%' && i + 1 < strFormat.size() && strFormat[i + 1] == 'd' && itValue != values.end()) {
            strResult += std::to_string(*itValue++);
            ++i;
        } else {
            strResult += strFormat[i];
        }
    }
    return strResult;
}
