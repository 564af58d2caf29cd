#pragma once
// The identity of the application program loaded in a device, as property 13
// of interface object 3 reports it: manufacturer code and device type, each
// high byte first, then the version byte.

#include "platform/base/WinTypes.h"

#include <array>

class CApplicationId
{
public:
    static constexpr WORD kDefaultManufacturer = 0x0002;
    static constexpr WORD kDefaultDeviceType = 0x2101;
    static constexpr BYTE kDefaultVersion = 0x21;
    // The manufacturer a device of a foreign application reports unless told
    // otherwise: neither the own one nor the one accepted in its place.
    static constexpr WORD kForeignManufacturer = 0x0003;

    static constexpr std::size_t kSize = 5;

    // The program this system's device type runs.
    CApplicationId() = default;
    CApplicationId(WORD nManufacturer, WORD nDeviceType, BYTE nVersion)
        : m_nManufacturer(nManufacturer), m_nDeviceType(nDeviceType), m_nVersion(nVersion)
    {
    }

    // The same program under the foreign manufacturer code.
    static CApplicationId Foreign();

    WORD GetManufacturer() const { return m_nManufacturer; }
    WORD GetDeviceType() const { return m_nDeviceType; }
    BYTE GetVersion() const { return m_nVersion; }

    std::array<BYTE, kSize> ToBytes() const;
    static CApplicationId FromBytes(const std::array<BYTE, kSize>& arrBytes);

    bool operator==(const CApplicationId&) const = default;

private:
    WORD m_nManufacturer = kDefaultManufacturer;
    WORD m_nDeviceType = kDefaultDeviceType;
    BYTE m_nVersion = kDefaultVersion;
};
