#pragma once
// The device's application layer behind its transport connection: each APDU
// becomes one frame call of the simulated device, and the device's answer
// the response APDU.
//
// The device answers every read and every property write, and in verify
// mode (bit 2 of the device object's control property, which a tool sets)
// every memory and user-memory write too, so that a caller tells a failed
// write from a good one: such a write is answered with the bytes stored
// there afterwards, a property write with the property's elements as they
// stand afterwards (the load state's one byte for a load event). Outside
// verify mode memory writes go unanswered, as on most devices. The control
// property can be left out, for a device that has no verify mode.
// Whatever the device refuses (not loading, read-only,
// unmapped, a missing property, an injected failure, a request whose count
// does not match its data) is answered with count 0. The device descriptor
// is type 0 only: mask version 0705, a System 7 device. An authorization
// gets access level 0 for any key, as a device without keys gives. A
// restart ends the connection without an answer.

#include "platform/base/WinTypes.h"
#include "platform/bus/ApplicationPdu.h"

#include <vector>

class CSimulatedDevice;

class CDeviceApplicationLayer
{
public:
    static constexpr WORD kMaskVersion = 0x0705;
    static constexpr BYTE kAccessLevel = 0;
    // The descriptor type that answers a type the device lacks.
    static constexpr BYTE kUnknownDescriptor = 0x3F;

    enum class EEffect { None, Restart };

    static constexpr BYTE kDeviceObject = 0;
    static constexpr BYTE kDeviceControlProperty = 14;
    static constexpr BYTE kVerifyModeBit = 0x04;

    explicit CDeviceApplicationLayer(CSimulatedDevice& device) : m_device(device) {}

    void SetVerifyModeOffered(bool bOffered) { m_bVerifyModeOffered = bOffered; }
    bool IsVerifying() const { return (m_nDeviceControl & kVerifyModeBit) != 0; }

    // Serves one APDU; arrAnswer receives the response APDU, empty for none.
    EEffect Serve(const std::vector<BYTE>& arrApdu, std::vector<BYTE>& arrAnswer);

private:
    std::vector<BYTE> ReadMemory(const CApplicationPdu& oRequest);
    std::vector<BYTE> WriteMemory(const CApplicationPdu& oRequest);
    std::vector<BYTE> ReadUserMemory(const CApplicationPdu& oRequest);
    std::vector<BYTE> WriteUserMemory(const CApplicationPdu& oRequest);
    std::vector<BYTE> ReadProperty(const CApplicationPdu& oRequest);
    std::vector<BYTE> WriteProperty(const CApplicationPdu& oRequest);
    // The written elements as they stand now, for the write's response.
    std::vector<BYTE> StoredPropertyBytes(BYTE nObjectIndex, BYTE nPropertyId, WORD nStartIndex,
                                          std::size_t nLength, BYTE& nCount) const;
    std::vector<BYTE> StatusBlockBytes(DWORD nAddress, std::size_t nLength) const;
    bool IsDeviceControl(const CApplicationPdu& oRequest) const;
    std::vector<BYTE> ServeDeviceControl(const CApplicationPdu& oRequest);

    CSimulatedDevice& m_device;
    bool m_bVerifyModeOffered = true;
    BYTE m_nDeviceControl = 0;
};
