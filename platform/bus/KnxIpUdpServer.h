#pragma once
// The tunnelling server on a UDP socket of the loopback interface: one
// thread serves datagrams and timers until a stop descriptor turns readable
// (a signalfd, a pipe or an eventfd), then disconnects every tunnel and
// drops the device's connection, which saves its state file.

#include "platform/base/WinTypes.h"
#include "platform/bus/TunnellingServer.h"

#include <functional>

class CSimulatedDevice;

class CKnxIpUdpServer
{
public:
    static constexpr DWORD kLoopback = 0x7F000001;  // 127.0.0.1

    // Milliseconds of a steady clock; a test hands in one it moves by hand
    // (and sends a datagram to have the timers run at the new time).
    using ClockSource = std::function<LONGLONG()>;

    explicit CKnxIpUdpServer(CSimulatedDevice& device, ClockSource fnClock = {});
    ~CKnxIpUdpServer();
    CKnxIpUdpServer(const CKnxIpUdpServer&) = delete;
    CKnxIpUdpServer& operator=(const CKnxIpUdpServer&) = delete;

    // Binds 127.0.0.1 at the port, 0 for one the system picks; false with
    // errno's value in nError.
    bool Open(WORD nPort, int& nError);
    WORD GetPort() const { return m_nPort; }
    // Set-up before Run: faults and the event sink.
    CTunnellingServer& GetServer() { return m_oServer; }

    // Serves until nStopFd is readable (true) or the socket fails (false,
    // errno's value in nError).
    bool Run(int nStopFd, int& nError);

private:
    void SendAll(std::vector<CKnxIpDatagram>& arrOut) const;
    LONGLONG NowMs() const;

    CTunnellingServer m_oServer;
    ClockSource m_fnClock;
    int m_nSocket = -1;
    WORD m_nPort = 0;
};
