// The simulated device's tunnelling face on arbitrary datagrams: anything on
// the loopback interface may send to its port. The input is a series of
// chunks, each a length byte, a byte of time passing (in 100 ms steps) and
// that many bytes. The first byte of the input picks what the chunks are:
// even, whole datagrams; odd, TPDUs to the device, carried in well-formed
// tunnelling requests of an open tunnel, so the device's transport and
// application layers see them. Whatever comes, the server answers only with
// datagrams that parse.

#include "fuzz/FuzzCheck.h"
#include "platform/bus/CemiFrame.h"
#include "platform/bus/KnxIpFrame.h"
#include "platform/bus/SimulatedDevice.h"
#include "platform/bus/TunnellingServer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

const CKnxIpEndpoint kClient(0x7F000001, 0x9E3C);
const Bytes kClientHpai = {0x08, 0x01, 0x7F, 0x00, 0x00, 0x01, 0x9E, 0x3C};

struct CHarness
{
    LONGLONG nNowMs = 1'000'000;
    CSimulatedDevice device{[this] { return nNowMs; }};
    CTunnellingServer server{device};
    BYTE nChannel = 0;
    BYTE nSequence = 0;

    void Check(const std::vector<CKnxIpDatagram>& arrOut)
    {
        for (const CKnxIpDatagram& d : arrOut) {
            CKnxIpFrame frame;
            FUZZ_CHECK(CKnxIpFrame::Parse(d.m_arrBytes.data(), d.m_arrBytes.size(), frame));
            // The server's own tunnelling requests are acked, as a client would.
            if (frame.m_nServiceType == CKnxIpFrame::kTunnelingRequest && frame.m_arrBody.size() >= 4) {
                Feed(CKnxIpFrame(CKnxIpFrame::kTunnelingAck,
                                 {0x04, frame.m_arrBody[1], frame.m_arrBody[2], 0x00})
                         .Encode());
            }
        }
    }
    void Feed(const Bytes& arrDatagram)
    {
        std::vector<CKnxIpDatagram> arrOut;
        server.Receive(arrDatagram.data(), arrDatagram.size(), kClient, nNowMs, arrOut);
        Check(arrOut);
    }
    void Pass(LONGLONG nMs)
    {
        nNowMs += nMs;
        std::vector<CKnxIpDatagram> arrOut;
        server.Tick(nNowMs, arrOut);
        Check(arrOut);
    }
    void Open()
    {
        Bytes arrBody = kClientHpai;
        arrBody.insert(arrBody.end(), kClientHpai.begin(), kClientHpai.end());
        arrBody.insert(arrBody.end(), {0x04, 0x04, 0x02, 0x00});
        std::vector<CKnxIpDatagram> arrOut;
        const Bytes arrRequest = CKnxIpFrame(CKnxIpFrame::kConnectRequest, arrBody).Encode();
        server.Receive(arrRequest.data(), arrRequest.size(), kClient, nNowMs, arrOut);
        FUZZ_CHECK(arrOut.size() == 1 && arrOut[0].m_arrBytes.size() > 7);
        nChannel = arrOut[0].m_arrBytes[6];
    }
    void SendTpdu(const Bytes& arrTpdu)
    {
        CCemiFrame frame;
        frame.m_nMessageCode = CCemiFrame::kDataRequest;
        frame.m_nSource = 0x0002;
        frame.m_nDestination = device.GetIndividualAddress();
        frame.m_arrTpdu = arrTpdu;
        Bytes arrBody = {0x04, nChannel, nSequence++, 0x00};
        const Bytes arrCemi = frame.Encode();
        arrBody.insert(arrBody.end(), arrCemi.begin(), arrCemi.end());
        Feed(CKnxIpFrame(CKnxIpFrame::kTunnelingRequest, arrBody).Encode());
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    if (nSize == 0)
        return 0;
    CHarness harness;
    const bool bTpdus = (pData[0] & 1) != 0;
    if (bTpdus)
        harness.Open();
    std::size_t nAt = 1;
    while (nAt + 2 <= nSize) {
        const std::size_t nLength = pData[nAt];
        const LONGLONG nPassMs = static_cast<LONGLONG>(pData[nAt + 1]) * 100;
        nAt += 2;
        const Bytes arrChunk(pData + nAt, pData + std::min(nSize, nAt + nLength));
        nAt += arrChunk.size();
        if (bTpdus)
            harness.SendTpdu(arrChunk);
        else
            harness.Feed(arrChunk);
        harness.Pass(nPassMs);
    }
    std::vector<CKnxIpDatagram> arrOut;
    harness.server.Shutdown(arrOut);
    return 0;
}
