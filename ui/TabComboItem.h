#pragma once
// One column of a tab-stop combo box: alignment and kind flags, width in
// pixels and the title its header shows.

#include "platform/base/WinTypes.h"

#include <cstdint>
#include <string>

// Column flags: bits 0 and 1 alignment, bit 2 hidden, bit 3 picture cell.
constexpr DWORD TCI_ALIGN_MASK = 0x3;
constexpr DWORD TCI_LEFT = 0x0;
constexpr DWORD TCI_RIGHT = 0x1;
constexpr DWORD TCI_CENTER = 0x2;
constexpr DWORD TCI_HIDDEN = 0x4;
constexpr DWORD TCI_PICTURE = 0x8;

class CTabComboItem {
public:
    CTabComboItem() = default;
    CTabComboItem(DWORD dwFlags, LONG nWidth, std::string strTitle)
        : m_dwFlags(dwFlags), m_nWidth(nWidth), m_strTitle(std::move(strTitle)) {}
    CTabComboItem(const CTabComboItem& other) = default;
    CTabComboItem& operator=(const CTabComboItem& other) = default;
    virtual ~CTabComboItem() = default;

    // The text of a cell for boxes that keep no strings; none here.
    virtual std::string GetCellText(int nItem, int nColumn, std::intptr_t nItemData) const;

    bool IsHidden() const { return (m_dwFlags & TCI_HIDDEN) != 0; }
    bool IsPicture() const { return (m_dwFlags & TCI_PICTURE) != 0; }
    DWORD GetAlignment() const { return m_dwFlags & TCI_ALIGN_MASK; }

    DWORD m_dwFlags = TCI_LEFT;
    LONG m_nWidth = 0;
    std::string m_strTitle;
};
