#pragma once
// Item data of combo boxes: each entry may carry one integer (an address, a
// number, a pointer value), kept under the framework's data role.

#include <Qt>

#include <cstdint>

class QComboBox;
class QString;

// The role the integer is kept under.
constexpr int kComboItemDataRole = Qt::UserRole;

// Appends an entry with its data; its index.
int AddComboItem(QComboBox* pCombo, const QString& text, std::intptr_t nData);
void SetComboItemData(QComboBox* pCombo, int nIndex, std::intptr_t nData);
// 0 for an entry without data or an index out of range.
std::intptr_t GetComboItemData(const QComboBox* pCombo, int nIndex);

// The data of the selected entry; 0 when the box does not exist or nothing
// is selected.
std::intptr_t GetComboSelData(const QComboBox* pCombo);
// Selects the first entry whose data equals nData, else the entry at
// nDefaultIndex (-1: none).
void SelectComboByData(QComboBox* pCombo, std::intptr_t nData, int nDefaultIndex);
