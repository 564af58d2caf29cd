#pragma once
// The memory map of the simulated device, laid out as a System 7 device's:
//
//   0x0104..0x010D  load-control register: a 10-byte record whose first byte
//                   is event | machine << 4; reads give zeros
//   0x4000..0x41FF  address table: count (entries + 1), the device's own
//                   individual address (product data), group addresses
//   0x4200..0x43FF  association table: count, then 2 bytes per association
//   0x4400..0x47FF  object table: count, 2 bytes of product data (the RAM
//                   flags table), then 4 bytes per object of which bytes 0-1
//                   (the value pointer) are product data
//   0x8000..0x9B6F  parameter area
//   0xB6EA..0xB6EC  load states of machines 1..3, read-only
//
// Everything else is unmapped. Product data can be written only with its own
// value, so a download that reads the object table and writes it back passes
// while one that would change it is refused. This class holds the bytes and
// the layout; who may write when is the device's rule.

#include "platform/base/WinTypes.h"

#include <cstddef>
#include <optional>
#include <vector>

class CDeviceMemory
{
public:
    enum class ERegion { None, LoadControl, AddressTable, AssociationTable, ObjectTable, Parameters, LoadState };

    static constexpr DWORD kLoadControl = 0x0104;
    static constexpr DWORD kLoadControlSize = 10;
    static constexpr DWORD kAddressTable = 0x4000;
    static constexpr DWORD kAssociationTable = 0x4200;
    static constexpr DWORD kObjectTable = 0x4400;
    static constexpr DWORD kTableSize = 0x200;
    static constexpr DWORD kObjectTableSize = 0x400;
    static constexpr DWORD kObjectEntries = kObjectTable + 3;
    static constexpr DWORD kObjectEntrySize = 4;
    static constexpr DWORD kObjectCount = 254;
    static constexpr DWORD kParameters = 0x8000;
    static constexpr DWORD kParametersEnd = 0x9B70;  // first address after the area
    static constexpr DWORD kLoadStates = 0xB6EA;     // machine n at kLoadStates + n - 1

    // Product data: where the RAM flags table and the object values lie.
    static constexpr WORD kRamFlagsTable = 0x1000;
    static constexpr WORD kObjectValues = 0x1100;  // object k at kObjectValues + 4 * k

    // A fresh device's memory with the product data of that address.
    explicit CDeviceMemory(WORD nIndividualAddress = 0x1101);

    static ERegion RegionOf(DWORD nAddress);
    // The stored regions: the tables and the parameter area.
    static bool IsStored(ERegion eRegion);
    static DWORD RegionStart(ERegion eRegion);
    static DWORD RegionSize(ERegion eRegion);
    // The load-state machine (1..3) whose loading a write into the region
    // needs; 0 for none.
    static int LoadStateMachineOf(ERegion eRegion);

    // The fixed value of a product-data byte at the address, if it is one.
    static std::optional<BYTE> ProductByte(DWORD nAddress, WORD nIndividualAddress);
    // Puts every product-data byte in place (the address table's own address
    // follows the device's individual address).
    void ApplyProductData(WORD nIndividualAddress);

    // Stored bytes; 0 for an address outside the stored regions.
    BYTE GetByte(DWORD nAddress) const;
    // False (and nothing changed) outside the stored regions.
    bool SetByte(DWORD nAddress, BYTE nValue);

    // A stored region's bytes; empty for any other region.
    std::vector<BYTE> GetRegion(ERegion eRegion) const;
    // Replaces a stored region's bytes; false when the size is not the region's.
    bool SetRegion(ERegion eRegion, const std::vector<BYTE>& arrBytes);

private:
    std::vector<BYTE>* RegionBytes(ERegion eRegion);
    const std::vector<BYTE>* RegionBytes(ERegion eRegion) const;

    std::vector<BYTE> m_arrAddressTable;
    std::vector<BYTE> m_arrAssociationTable;
    std::vector<BYTE> m_arrObjectTable;
    std::vector<BYTE> m_arrParameters;
};
