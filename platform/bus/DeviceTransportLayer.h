#pragma once
// The device's side of the connection-oriented transport layer, for the
// TPDUs addressed individually to the simulated device.
//
// - T_Connect opens the connection (and the device's own Connect) when none
//   is open; the partner's T_Connect on an open connection starts it afresh.
//   A device that refuses the connection answers T_Disconnect.
// - T_Data_Connected with the expected 4-bit sequence number is acked with
//   T_ACK and served; the previous number again is acked again and not served
//   twice; any other number gets T_NAK.
// - The device's own T_Data_Connected waits 3 s for its T_ACK, is sent again
//   on T_NAK or that timeout up to 3 times, and then the device gives up
//   with T_Disconnect; a T_ACK or T_NAK with a wrong number ends the
//   connection the same way.
// - 6 s without a frame of the partner (or a send of the device) end it
//   with T_Disconnect too.
// - A stranger's T_Connect or connection-oriented frame while the device is
//   taken, and T_Data_Connected without a connection, get T_Disconnect.
// - Closing, whichever way, is the device's Disconnect, which saves its
//   state file.
//
// For tests, the application frames (new T_Data_Connected, counted from 1
// over the layer's life) from a given one on can be left unanswered: no
// T_ACK, no service, as from a device that hung.
//
// Time comes in as milliseconds of a steady clock; nothing here waits.

#include "platform/base/WinTypes.h"
#include "platform/bus/CemiFrame.h"
#include "platform/bus/DeviceApplicationLayer.h"
#include "platform/bus/TransportPdu.h"
#include "platform/bus/TunnellingEvent.h"

#include <deque>
#include <optional>
#include <vector>

class CSimulatedDevice;

class CDeviceTransportLayer
{
public:
    static constexpr LONGLONG kConnectionTimeoutMs = 6000;
    static constexpr LONGLONG kAckTimeoutMs = 3000;
    static constexpr int kMaxRepetitions = 3;

    explicit CDeviceTransportLayer(CSimulatedDevice& device);

    // 0 answers everything.
    void SetSilentFrom(DWORD nFrame) { m_nSilentFrom = nFrame; }
    void SetVerifyModeOffered(bool bOffered) { m_oApplication.SetVerifyModeOffered(bOffered); }
    DWORD GetApplicationFrameCount() const { return m_nFrameCount; }
    void SetEventSink(TunnellingEventSink fnSink) { m_fnEvents = std::move(fnSink); }

    // A TPDU from the source to the device; the device's frames (L_Data.ind
    // to their destinations) are added to arrOut.
    void Receive(WORD nSource, const std::vector<BYTE>& arrTpdu, LONGLONG nNowMs, std::vector<CCemiFrame>& arrOut);
    // Runs the timeouts due by then.
    void Tick(LONGLONG nNowMs, std::vector<CCemiFrame>& arrOut);
    // When Tick has something to do next; none without a connection.
    std::optional<LONGLONG> GetDeadline() const;
    // Ends an open connection without a frame, as a device switched off.
    void Drop();

    bool IsOpen() const { return m_bOpen; }
    WORD GetPartner() const { return m_nPartner; }

private:
    void Send(WORD nDestination, const CTransportPdu& oPdu, std::vector<CCemiFrame>& arrOut) const;
    void ServeData(const CTransportPdu& oPdu, std::vector<CCemiFrame>& arrOut);
    void SendNext(std::vector<CCemiFrame>& arrOut);
    void Repeat(std::vector<CCemiFrame>& arrOut);
    // Ends the connection, with T_Disconnect to the partner when asked.
    void Close(bool bNotify, std::vector<CCemiFrame>& arrOut);
    void Report(ETunnellingEvent eEvent, DWORD nValue) const;

    CSimulatedDevice& m_device;
    CDeviceApplicationLayer m_oApplication;
    TunnellingEventSink m_fnEvents;
    DWORD m_nSilentFrom = 0;
    DWORD m_nFrameCount = 0;

    bool m_bOpen = false;
    WORD m_nPartner = 0;
    BYTE m_nSendSequence = 0;
    BYTE m_nReceiveSequence = 0;
    LONGLONG m_nNowMs = 0;
    LONGLONG m_nConnectionDeadline = 0;
    // The APDU sent and not yet acked, and those waiting behind it.
    bool m_bAwaitingAck = false;
    std::vector<BYTE> m_arrSent;
    int m_nRepetitions = 0;
    LONGLONG m_nAckDeadline = 0;
    std::deque<std::vector<BYTE>> m_arrWaiting;
};
