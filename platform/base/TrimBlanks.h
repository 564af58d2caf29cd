#pragma once
// A text without the spaces and tabs at either end, as ini lines and the
// patterns of a file filter are read.

#include <string_view>

namespace platform {

inline std::string_view TrimBlanks(std::string_view text) {
    const std::size_t nFirst = text.find_first_not_of(" \t");
    if (nFirst == std::string_view::npos) {
        return {};
    }
    return text.substr(nFirst, text.find_last_not_of(" \t") - nFirst + 1);
}

}  // namespace platform
