#include "platform/bus/KnxdSocket.h"

#include "platform/bus/MachineConnections.h"

#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

int ConnectLocal(const std::string& strPath)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (strPath.size() >= sizeof address.sun_path)
        return -1;
    std::memcpy(address.sun_path, strPath.c_str(), strPath.size() + 1);
    const int nSocket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (nSocket >= 0 && ::connect(nSocket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(nSocket);
        return -1;
    }
    return nSocket;
}

int ConnectTcp(const std::string& strHost, const std::string& strPort)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* pList = nullptr;
    if (::getaddrinfo(strHost.c_str(), strPort.c_str(), &hints, &pList) != 0)
        return -1;
    int nSocket = -1;
    for (addrinfo* p = pList; p != nullptr && nSocket < 0; p = p->ai_next) {
        nSocket = ::socket(p->ai_family, p->ai_socktype | SOCK_CLOEXEC, p->ai_protocol);
        if (nSocket >= 0 && ::connect(nSocket, p->ai_addr, p->ai_addrlen) != 0) {
            ::close(nSocket);
            nSocket = -1;
        }
    }
    ::freeaddrinfo(pList);
    return nSocket;
}

}  // namespace

CKnxdSocket::~CKnxdSocket()
{
    Close();
}

bool CKnxdSocket::Open(const std::string& strUrl)
{
    Close();
    if (!Falcon::IsKnxdUrl(strUrl))
        return false;
    if (strUrl.starts_with("local:")) {
        m_nSocket = ConnectLocal(strUrl.substr(6));
    } else {
        const std::string strRest = strUrl.substr(3);
        const std::size_t nColon = strRest.find(':');
        m_nSocket = ConnectTcp(strRest.substr(0, nColon),
                               nColon == std::string::npos ? std::to_string(kDefaultPort) : strRest.substr(nColon + 1));
    }
    return m_nSocket >= 0;
}

void CKnxdSocket::Close()
{
    if (m_nSocket >= 0)
        ::close(m_nSocket);
    m_nSocket = -1;
}

bool CKnxdSocket::Send(WORD nType, const std::vector<BYTE>& arrData)
{
    if (m_nSocket < 0 || arrData.size() > 0xFFFD)
        return false;
    const auto nLength = static_cast<WORD>(arrData.size() + 2);
    std::vector<BYTE> arrMessage = {HIBYTE(nLength), LOBYTE(nLength), HIBYTE(nType), LOBYTE(nType)};
    arrMessage.insert(arrMessage.end(), arrData.begin(), arrData.end());
    for (std::size_t nSent = 0; nSent < arrMessage.size();) {
        const ssize_t n = ::send(m_nSocket, arrMessage.data() + nSent, arrMessage.size() - nSent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            Close();
            return false;
        }
        nSent += static_cast<std::size_t>(n);
    }
    return true;
}

CKnxdSocket::EReceive CKnxdSocket::Receive(WORD& nType, std::vector<BYTE>& arrData, int nMilliseconds)
{
    if (m_nSocket < 0)
        return EReceive::Closed;
    pollfd fd{m_nSocket, POLLIN, 0};
    int nReady = 0;
    do {
        nReady = ::poll(&fd, 1, nMilliseconds);
    } while (nReady < 0 && errno == EINTR);
    if (nReady == 0)
        return EReceive::Timeout;
    // Once a message has begun, the rest follows at once; a server that
    // stops in the middle of one is broken.
    constexpr int kRestOfMessageMs = 2000;
    BYTE arrHead[4];
    if (nReady < 0 || !ReadExactly(arrHead, 2, kRestOfMessageMs)) {
        Close();
        return EReceive::Closed;
    }
    const std::size_t nLength = static_cast<std::size_t>(arrHead[0] << 8 | arrHead[1]);
    if (nLength < 2 || !ReadExactly(arrHead + 2, 2, kRestOfMessageMs)) {
        Close();
        return EReceive::Closed;
    }
    nType = static_cast<WORD>(arrHead[2] << 8 | arrHead[3]);
    arrData.assign(nLength - 2, 0);
    if (!ReadExactly(arrData.data(), arrData.size(), kRestOfMessageMs)) {
        Close();
        return EReceive::Closed;
    }
    return EReceive::Message;
}

bool CKnxdSocket::ReadExactly(BYTE* pData, std::size_t nLength, int nMilliseconds)
{
    while (nLength > 0) {
        pollfd fd{m_nSocket, POLLIN, 0};
        const int nReady = ::poll(&fd, 1, nMilliseconds);
        if (nReady < 0 && errno == EINTR)
            continue;
        if (nReady <= 0)
            return false;
        const ssize_t n = ::recv(m_nSocket, pData, nLength, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        pData += n;
        nLength -= static_cast<std::size_t>(n);
    }
    return true;
}
