#include "platform/bus/KnxIpUdpServer.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace {

// Larger than any KNXnet/IP datagram; a bigger one arrives cut and is dropped.
constexpr std::size_t kReceiveBuffer = 1024;

LONGLONG SteadyNowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

CKnxIpUdpServer::CKnxIpUdpServer(CSimulatedDevice& device, ClockSource fnClock)
    : m_oServer(device), m_fnClock(std::move(fnClock))
{
}

LONGLONG CKnxIpUdpServer::NowMs() const
{
    return m_fnClock ? m_fnClock() : SteadyNowMs();
}

CKnxIpUdpServer::~CKnxIpUdpServer()
{
    if (m_nSocket >= 0)
        ::close(m_nSocket);
}

bool CKnxIpUdpServer::Open(WORD nPort, int& nError)
{
    nError = 0;
    if (m_nSocket >= 0) {
        nError = EALREADY;
        return false;
    }
    const int nSocket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (nSocket < 0) {
        nError = errno;
        return false;
    }
    sockaddr_in oAddress{};
    oAddress.sin_family = AF_INET;
    oAddress.sin_addr.s_addr = htonl(kLoopback);
    oAddress.sin_port = htons(nPort);
    socklen_t nSize = sizeof oAddress;
    if (::bind(nSocket, reinterpret_cast<const sockaddr*>(&oAddress), sizeof oAddress) != 0 ||
        ::getsockname(nSocket, reinterpret_cast<sockaddr*>(&oAddress), &nSize) != 0) {
        nError = errno;
        ::close(nSocket);
        return false;
    }
    m_nSocket = nSocket;
    m_nPort = ntohs(oAddress.sin_port);
    m_oServer.SetLocalEndpoint(CKnxIpEndpoint(kLoopback, m_nPort));
    return true;
}

bool CKnxIpUdpServer::Run(int nStopFd, int& nError)
{
    nError = 0;
    if (m_nSocket < 0) {
        nError = EBADF;
        return false;
    }
    std::array<BYTE, kReceiveBuffer> arrBuffer;
    std::vector<CKnxIpDatagram> arrOut;
    for (;;) {
        int nTimeout = -1;
        if (const auto oDeadline = m_oServer.GetDeadline())
            nTimeout = static_cast<int>(std::max<LONGLONG>(0, std::min<LONGLONG>(*oDeadline - NowMs(), 60000)));
        std::array<pollfd, 2> arrPoll = {pollfd{m_nSocket, POLLIN, 0}, pollfd{nStopFd, POLLIN, 0}};
        if (::poll(arrPoll.data(), arrPoll.size(), nTimeout) < 0) {
            if (errno == EINTR)
                continue;
            nError = errno;
            break;
        }
        if (arrPoll[1].revents != 0) {
            m_oServer.Shutdown(arrOut);
            SendAll(arrOut);
            return true;
        }
        if (arrPoll[0].revents & (POLLERR | POLLNVAL)) {
            nError = EIO;
            break;
        }
        for (;;) {
            sockaddr_in oFrom{};
            socklen_t nFromSize = sizeof oFrom;
            const ssize_t nRead = ::recvfrom(m_nSocket, arrBuffer.data(), arrBuffer.size(), MSG_TRUNC,
                                             reinterpret_cast<sockaddr*>(&oFrom), &nFromSize);
            if (nRead < 0) {
                // A refused earlier send (nobody at a client's port any more)
                // comes back here; it is no reason to stop.
                if (errno == EAGAIN || errno == EWOULDBLOCK)
                    break;
                if (errno == EINTR || errno == ECONNREFUSED)
                    continue;
                nError = errno;
                m_oServer.Shutdown(arrOut);
                SendAll(arrOut);
                return false;
            }
            if (static_cast<std::size_t>(nRead) > arrBuffer.size() || oFrom.sin_family != AF_INET)
                continue;
            const CKnxIpEndpoint oSender(ntohl(oFrom.sin_addr.s_addr), ntohs(oFrom.sin_port));
            m_oServer.Receive(arrBuffer.data(), static_cast<std::size_t>(nRead), oSender, NowMs(), arrOut);
            SendAll(arrOut);
            // One datagram a round, then the timers: a client that sends the
            // next datagram as soon as it has its answer must not hold the
            // device's timeouts off.
            break;
        }
        m_oServer.Tick(NowMs(), arrOut);
        SendAll(arrOut);
    }
    m_oServer.Shutdown(arrOut);
    SendAll(arrOut);
    return false;
}

void CKnxIpUdpServer::SendAll(std::vector<CKnxIpDatagram>& arrOut) const
{
    for (const CKnxIpDatagram& oDatagram : arrOut) {
        sockaddr_in oTo{};
        oTo.sin_family = AF_INET;
        oTo.sin_addr.s_addr = htonl(oDatagram.m_oTo.m_nAddress);
        oTo.sin_port = htons(oDatagram.m_oTo.m_nPort);
        // UDP: a datagram that cannot go is as good as lost on the way, and
        // the protocol's repetitions deal with it.
        (void)::sendto(m_nSocket, oDatagram.m_arrBytes.data(), oDatagram.m_arrBytes.size(), MSG_NOSIGNAL,
                       reinterpret_cast<const sockaddr*>(&oTo), sizeof oTo);
    }
    arrOut.clear();
}
