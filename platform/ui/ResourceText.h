#pragma once
// A resource's text as a widget shows it: resources hold UTF-8, and a
// missing text is empty.

#include <QString>

namespace platform::ui {

inline QString ResourceText(const char* pszText) {
    return QString::fromUtf8(pszText != nullptr ? pszText : "");
}

}  // namespace platform::ui
