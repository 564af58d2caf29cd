#pragma once
// A client's connection to a knxd server, on its Unix socket
// ("local:/run/knx") or over TCP ("ip:host[:port]", port 6720 unless
// given). knxd's messages are a 16-bit length (of what follows), a 16-bit
// type and the type's data, both numbers big-endian.

#include "platform/base/WinTypes.h"

#include <string>
#include <vector>

class CKnxdSocket
{
public:
    enum class EReceive { Message, Timeout, Closed };

    static constexpr WORD kDefaultPort = 6720;

    CKnxdSocket() = default;
    ~CKnxdSocket();
    CKnxdSocket(const CKnxdSocket&) = delete;
    CKnxdSocket& operator=(const CKnxdSocket&) = delete;

    // False when the URL is none or no server accepts the connection.
    bool Open(const std::string& strUrl);
    void Close();
    bool IsOpen() const { return m_nSocket >= 0; }

    bool Send(WORD nType, const std::vector<BYTE>& arrData);
    // The next message, waiting at most nMilliseconds for its start. A server
    // that closes the connection, or a broken message, gives Closed; the
    // socket is closed then.
    EReceive Receive(WORD& nType, std::vector<BYTE>& arrData, int nMilliseconds);

private:
    bool ReadExactly(BYTE* pData, std::size_t nLength, int nMilliseconds);

    int m_nSocket = -1;
};
