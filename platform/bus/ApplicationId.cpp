#include "platform/bus/ApplicationId.h"

CApplicationId CApplicationId::Foreign()
{
    return CApplicationId(kForeignManufacturer, kDefaultDeviceType, kDefaultVersion);
}

std::array<BYTE, CApplicationId::kSize> CApplicationId::ToBytes() const
{
    return {HIBYTE(m_nManufacturer), LOBYTE(m_nManufacturer), HIBYTE(m_nDeviceType), LOBYTE(m_nDeviceType),
            m_nVersion};
}

CApplicationId CApplicationId::FromBytes(const std::array<BYTE, kSize>& arrBytes)
{
    return CApplicationId(static_cast<WORD>(arrBytes[0] << 8 | arrBytes[1]),
                          static_cast<WORD>(arrBytes[2] << 8 | arrBytes[3]), arrBytes[4]);
}
