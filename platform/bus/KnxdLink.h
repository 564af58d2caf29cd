#pragma once
// A real KNX device reached through knxd: one transport connection from a
// client address knxd gives to the device's individual address, opened on
// a knxd server named by its URL ("local:/run/knx", "ip:host[:port]").
// knxd's own connection service sends nothing to the bus (knxd 0.14), so
// the link opens knxd's raw transport service and runs the connection
// itself: T_Connect, numbered data acknowledged both ways, a request sent
// again when its acknowledgement stays away, T_Disconnect.
//
// Every request waits for the device's answer. Memory and user-memory
// requests are split into frames of 12 and 11 bytes. A write counts as done
// only when the device confirms its bytes (those of the load-control
// register, which reads as zeros, and of user memory by their count only):
// a device that offers verify mode (bit 2 of its device control property)
// is switched into it and answers each write with what it stored; for any
// other device each write is read back. A device that does not answer in time, or whose connection knxd
// ends, gives NoAnswer, and the link is closed.

#include "platform/bus/DeviceLink.h"
#include "platform/bus/ApplicationPdu.h"
#include "platform/bus/KnxdSocket.h"

#include <deque>
#include <string>

class CKnxdLink : public IDeviceLink
{
public:
    CKnxdLink() = default;
    ~CKnxdLink() override;
    CKnxdLink(const CKnxdLink&) = delete;
    CKnxdLink& operator=(const CKnxdLink&) = delete;

    // Ok when a knxd server answers at the URL; ConnectionRefused when none
    // does.
    static EDeviceResult TestServer(const std::string& strUrl);

    // Opens the transport connection and asks the device for its descriptor.
    // ConnectionRefused: no knxd server at the URL, or it refused the
    // connection; NoDevice: no device answered to the address.
    EDeviceResult Connect(const std::string& strUrl, WORD nTargetAddress);
    // Whether the device confirms writes itself (verify mode).
    bool IsVerifying() const { return m_bVerifying; }

    bool IsConnected() const override { return m_socket.IsOpen(); }
    EDeviceResult Disconnect() override;

    EDeviceResult ReadProperty(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode, WORD nStartIndex, BYTE nCount,
                               std::vector<BYTE>& arrData) override;
    EDeviceResult WriteProperty(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode, WORD nStartIndex, BYTE nCount,
                                const BYTE* pData, std::size_t nLength, WORD nFlag = 0) override;
    EDeviceResult ReadMemory(DWORD nAddress, std::size_t nLength, std::vector<BYTE>& arrData) override;
    EDeviceResult WriteMemory(DWORD nAddress, const BYTE* pData, std::size_t nLength, WORD nFlag = 0) override;
    EDeviceResult ReadUserMemory(DWORD nAddress, std::size_t nLength, std::vector<BYTE>& arrData) override;
    EDeviceResult WriteUserMemory(DWORD nAddress, const BYTE* pData, std::size_t nLength, WORD nFlag = 0) override;

private:
    // Sends the request and waits for the message that answers it; other
    // messages (late answers of earlier requests) are passed over.
    EDeviceResult Exchange(const CApplicationPdu& request, CApplicationPdu& answer);
    // Sends the request as numbered data and waits for its acknowledgement,
    // sending it again up to three times.
    EDeviceResult Send(const CApplicationPdu& request);
    EDeviceResult Receive(const CApplicationPdu& request, CApplicationPdu& answer);
    // Waits up to the time for one frame of the device and handles it: its
    // data are acknowledged and queued; Acked and Nak tell of the frame sent
    // last.
    enum class EWait { Frame, Acked, Nak, Timeout, Ended };
    EWait WaitForFrame(int nMilliseconds);
    bool SendTpdu(const std::vector<BYTE>& arrTpdu);
    // The link is of no further use: closes it, gives NoAnswer.
    EDeviceResult Break();
    void SwitchOnVerifyMode();

    EDeviceResult ReadFrames(bool bUserMemory, DWORD nAddress, std::size_t nLength, std::vector<BYTE>& arrData);
    EDeviceResult WriteFrames(bool bUserMemory, DWORD nAddress, const BYTE* pData, std::size_t nLength);

    CKnxdSocket m_socket;
    WORD m_nDevice = 0;
    BYTE m_nSendSequence = 0;
    BYTE m_nReceiveSequence = 0;
    // The device's messages received and acknowledged, not yet taken.
    std::deque<CApplicationPdu> m_arrReceived;
    bool m_bVerifying = false;
    // The device ended the connection itself.
    bool m_bRefusedByDevice = false;
};
