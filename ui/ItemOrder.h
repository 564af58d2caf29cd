#pragma once
// The three-way results the tables' sort rules are made of.

#include <cstring>
#include <optional>
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

// Where rows without an object go: after the others (the new-entry row) or
// before them.
enum class Missing { Last, First };

// The order of two objects when one or both are missing (two missing ones
// are equal); no value when both are there.
template <typename T>
std::optional<int> OrderMissing(const T* a, const T* b, Missing where = Missing::Last) {
    if (a != nullptr && b != nullptr) {
        return std::nullopt;
    }
    if (a == b) {
        return 0;
    }
    const int nMissingA = where == Missing::Last ? 1 : -1;
    return a == nullptr ? nMissingA : -nMissingA;
}

}  // namespace ui
