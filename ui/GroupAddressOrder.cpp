#include "ui/GroupAddressOrder.h"

#include "model/GroupDataAddress.h"
#include "model/Utils.h"

namespace ui {

int CompareGroupAddresses(const AddressedValue& a, const AddressedValue& b, GaColumn column, Missing where) {
    if (const auto missing = OrderMissing(a.pAddress, b.pAddress, where)) {
        return *missing;
    }
    const CGroupDataAddress& gaA = *a.pAddress;
    const CGroupDataAddress& gaB = *b.pAddress;
    switch (column) {
    case GaColumn::Number:
        return Order(static_cast<WORD>(gaA.GetAddress()), static_cast<WORD>(gaB.GetAddress()));
    case GaColumn::Name:
        return CompareText(gaA.GetName(), gaB.GetName());
    case GaColumn::Type:
        return Order(gaA.GetObjectType(), gaB.GetObjectType());
    case GaColumn::Value:
        return Order(DecodeDptValue(static_cast<int>(gaA.GetObjectType()), a.dwValue),
                     DecodeDptValue(static_cast<int>(gaB.GetObjectType()), b.dwValue));
    }
    return 0;
}

}  // namespace ui
