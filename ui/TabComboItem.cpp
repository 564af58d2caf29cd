#include "ui/TabComboItem.h"

std::string CTabComboItem::GetCellText(int /*nItem*/, int /*nColumn*/, std::intptr_t /*nItemData*/) const {
    return {};
}
