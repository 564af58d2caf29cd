#pragma once
// An APDU: the 10-bit service code and the octets after it. Services with a
// 4-bit code (memory, device descriptor, restart) carry six bits of their own
// in the code's low bits: the memory services' byte count, the descriptor
// type. The APDU's first octet holds only the code's upper two bits (see
// CTransportPdu).
//
// The layouts of the services the device serves:
//
//   A_Memory_*          count (6 bits), address (2 octets), data
//   A_UserMemory_*      extension (high nibble, address bits 16-19) | count,
//                       address bits 0-15 (2 octets), data
//   A_PropertyValue_*   object index, property id, count (high nibble) |
//                       start index bits 8-11, start index bits 0-7, data
//   A_Authorize_Request reserved octet, 4-octet key; the response one level octet

#include "platform/base/WinTypes.h"

#include <vector>

class CApplicationPdu
{
public:
    static constexpr WORD kMemoryRead = 0x200;
    static constexpr WORD kMemoryResponse = 0x240;
    static constexpr WORD kMemoryWrite = 0x280;
    static constexpr WORD kDeviceDescriptorRead = 0x300;
    static constexpr WORD kDeviceDescriptorResponse = 0x340;
    static constexpr WORD kRestart = 0x380;
    static constexpr WORD kUserMemoryRead = 0x2C0;
    static constexpr WORD kUserMemoryResponse = 0x2C1;
    static constexpr WORD kUserMemoryWrite = 0x2C2;
    static constexpr WORD kAuthorizeRequest = 0x3D1;
    static constexpr WORD kAuthorizeResponse = 0x3D2;
    static constexpr WORD kPropertyValueRead = 0x3D5;
    static constexpr WORD kPropertyValueResponse = 0x3D6;
    static constexpr WORD kPropertyValueWrite = 0x3D7;

    static constexpr BYTE kShortDataMask = 0x3F;

    CApplicationPdu() = default;
    CApplicationPdu(WORD nService, BYTE nShortData = 0, std::vector<BYTE> arrData = {})
        : m_nService(nService), m_nShortData(static_cast<BYTE>(nShortData & kShortDataMask)),
          m_arrData(std::move(arrData))
    {
    }

    // Whether the service's code is 4 bits long and leaves six for data.
    static bool HasShortData(WORD nService);

    // False for fewer than the two octets of the service code.
    static bool Parse(const std::vector<BYTE>& arrApdu, CApplicationPdu& oPdu);
    std::vector<BYTE> Encode() const;

    static CApplicationPdu Memory(WORD nService, BYTE nCount, WORD nAddress, const std::vector<BYTE>& arrData = {});
    static CApplicationPdu UserMemory(WORD nService, BYTE nCount, DWORD nAddress,
                                      const std::vector<BYTE>& arrData = {});
    static CApplicationPdu Property(WORD nService, BYTE nObjectIndex, BYTE nPropertyId, BYTE nCount,
                                    WORD nStartIndex, const std::vector<BYTE>& arrData = {});

    // The fields of the layouts above; false when the octets are too few for
    // them. What follows the fields is the data.
    bool GetMemory(BYTE& nCount, WORD& nAddress, std::vector<BYTE>& arrData) const;
    bool GetUserMemory(BYTE& nCount, DWORD& nAddress, std::vector<BYTE>& arrData) const;
    bool GetProperty(BYTE& nObjectIndex, BYTE& nPropertyId, BYTE& nCount, WORD& nStartIndex,
                     std::vector<BYTE>& arrData) const;

    WORD m_nService = 0;
    BYTE m_nShortData = 0;
    std::vector<BYTE> m_arrData;
};
