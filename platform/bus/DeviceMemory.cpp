#include "platform/bus/DeviceMemory.h"

CDeviceMemory::CDeviceMemory(WORD nIndividualAddress)
    : m_arrAddressTable(kTableSize, 0),
      m_arrAssociationTable(kTableSize, 0),
      m_arrObjectTable(kObjectTableSize, 0),
      m_arrParameters(kParametersEnd - kParameters, 0)
{
    // A device fresh from the factory knows only its own address.
    m_arrAddressTable[0] = 1;
    ApplyProductData(nIndividualAddress);
}

CDeviceMemory::ERegion CDeviceMemory::RegionOf(DWORD nAddress)
{
    if (nAddress >= kLoadControl && nAddress < kLoadControl + kLoadControlSize)
        return ERegion::LoadControl;
    if (nAddress >= kAddressTable && nAddress < kAddressTable + kTableSize)
        return ERegion::AddressTable;
    if (nAddress >= kAssociationTable && nAddress < kAssociationTable + kTableSize)
        return ERegion::AssociationTable;
    if (nAddress >= kObjectTable && nAddress < kObjectTable + kObjectTableSize)
        return ERegion::ObjectTable;
    if (nAddress >= kParameters && nAddress < kParametersEnd)
        return ERegion::Parameters;
    if (nAddress >= kLoadStates && nAddress < kLoadStates + 3)
        return ERegion::LoadState;
    return ERegion::None;
}

bool CDeviceMemory::IsStored(ERegion eRegion)
{
    return eRegion == ERegion::AddressTable || eRegion == ERegion::AssociationTable ||
           eRegion == ERegion::ObjectTable || eRegion == ERegion::Parameters;
}

DWORD CDeviceMemory::RegionStart(ERegion eRegion)
{
    switch (eRegion) {
    case ERegion::LoadControl: return kLoadControl;
    case ERegion::AddressTable: return kAddressTable;
    case ERegion::AssociationTable: return kAssociationTable;
    case ERegion::ObjectTable: return kObjectTable;
    case ERegion::Parameters: return kParameters;
    case ERegion::LoadState: return kLoadStates;
    case ERegion::None: break;
    }
    return 0;
}

DWORD CDeviceMemory::RegionSize(ERegion eRegion)
{
    switch (eRegion) {
    case ERegion::LoadControl: return kLoadControlSize;
    case ERegion::AddressTable: return kTableSize;
    case ERegion::AssociationTable: return kTableSize;
    case ERegion::ObjectTable: return kObjectTableSize;
    case ERegion::Parameters: return kParametersEnd - kParameters;
    case ERegion::LoadState: return 3;
    case ERegion::None: break;
    }
    return 0;
}

int CDeviceMemory::LoadStateMachineOf(ERegion eRegion)
{
    switch (eRegion) {
    case ERegion::AddressTable: return 1;
    case ERegion::AssociationTable: return 2;
    case ERegion::ObjectTable:
    case ERegion::Parameters: return 3;
    default: return 0;
    }
}

std::optional<BYTE> CDeviceMemory::ProductByte(DWORD nAddress, WORD nIndividualAddress)
{
    if (nAddress == kAddressTable + 1)
        return HIBYTE(nIndividualAddress);
    if (nAddress == kAddressTable + 2)
        return LOBYTE(nIndividualAddress);
    if (nAddress == kObjectTable + 1)
        return HIBYTE(kRamFlagsTable);
    if (nAddress == kObjectTable + 2)
        return LOBYTE(kRamFlagsTable);
    if (nAddress >= kObjectEntries && nAddress < kObjectEntries + kObjectCount * kObjectEntrySize) {
        DWORD nOffset = nAddress - kObjectEntries;
        DWORD nObject = nOffset / kObjectEntrySize;
        WORD nPointer = static_cast<WORD>(kObjectValues + kObjectEntrySize * nObject);
        switch (nOffset % kObjectEntrySize) {
        case 0: return HIBYTE(nPointer);
        case 1: return LOBYTE(nPointer);
        default: break;
        }
    }
    return std::nullopt;
}

void CDeviceMemory::ApplyProductData(WORD nIndividualAddress)
{
    for (ERegion eRegion : {ERegion::AddressTable, ERegion::ObjectTable}) {
        DWORD nStart = RegionStart(eRegion);
        for (DWORD a = nStart; a < nStart + RegionSize(eRegion); ++a) {
            if (auto oByte = ProductByte(a, nIndividualAddress))
                SetByte(a, *oByte);
        }
    }
}

std::vector<BYTE>* CDeviceMemory::RegionBytes(ERegion eRegion)
{
    switch (eRegion) {
    case ERegion::AddressTable: return &m_arrAddressTable;
    case ERegion::AssociationTable: return &m_arrAssociationTable;
    case ERegion::ObjectTable: return &m_arrObjectTable;
    case ERegion::Parameters: return &m_arrParameters;
    default: return nullptr;
    }
}

const std::vector<BYTE>* CDeviceMemory::RegionBytes(ERegion eRegion) const
{
    return const_cast<CDeviceMemory*>(this)->RegionBytes(eRegion);
}

BYTE CDeviceMemory::GetByte(DWORD nAddress) const
{
    ERegion eRegion = RegionOf(nAddress);
    const std::vector<BYTE>* pBytes = RegionBytes(eRegion);
    return pBytes ? (*pBytes)[nAddress - RegionStart(eRegion)] : 0;
}

bool CDeviceMemory::SetByte(DWORD nAddress, BYTE nValue)
{
    ERegion eRegion = RegionOf(nAddress);
    std::vector<BYTE>* pBytes = RegionBytes(eRegion);
    if (!pBytes)
        return false;
    (*pBytes)[nAddress - RegionStart(eRegion)] = nValue;
    return true;
}

std::vector<BYTE> CDeviceMemory::GetRegion(ERegion eRegion) const
{
    const std::vector<BYTE>* pBytes = RegionBytes(eRegion);
    return pBytes ? *pBytes : std::vector<BYTE>();
}

bool CDeviceMemory::SetRegion(ERegion eRegion, const std::vector<BYTE>& arrBytes)
{
    std::vector<BYTE>* pBytes = RegionBytes(eRegion);
    if (!pBytes || arrBytes.size() != pBytes->size())
        return false;
    *pBytes = arrBytes;
    return true;
}
