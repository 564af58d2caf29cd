#pragma once
// The group-address columns that several tables sort by, whatever row
// object carries the address (and the value it sends on it).

#include "platform/base/WinTypes.h"
#include "ui/ItemOrder.h"

class CGroupDataAddress;

namespace ui {

enum class GaColumn { Number, Name, Type, Value };

// A row's group address and the raw value it sends on it.
struct AddressedValue {
    const CGroupDataAddress* pAddress = nullptr;
    DWORD dwValue = 0;
};

// -1, 0 or 1: rows without an address where `where` puts them; then the raw
// 16-bit addresses as unsigned numbers, the names byte by byte, the object
// types, or the values decoded to numbers for each address's type.
int CompareGroupAddresses(const AddressedValue& a, const AddressedValue& b, GaColumn column, Missing where);

}  // namespace ui
