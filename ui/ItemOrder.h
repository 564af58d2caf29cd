#pragma once
// The three-way results the tables' sort rules are made of.

#include <cstring>
#include <string>

namespace ui {

// -1, 0 or 1 as a is before, equal to or after b.
template <typename T>
int Order(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// Texts compared byte by byte: -1, 0 or 1.
inline int CompareText(const std::string& a, const std::string& b) {
    const int n = std::strcmp(a.c_str(), b.c_str());
    return n < 0 ? -1 : (n > 0 ? 1 : 0);
}

}  // namespace ui
