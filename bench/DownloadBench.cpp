// The bus time of downloading the largest parameter set into the simulated
// device, against the least bus time the same bytes could take on TP1: every
// payload byte in frames of the largest size the services allow, each frame
// acknowledged, one connection. Prints both and their ratio.

#include "app/BusAccess.h"
#include "app/Chronoset.h"
#include "model/DptManager.h"
#include "model/Globals.h"
#include "model/ProgressInfo.h"
#include "platform/base/WinApp.h"
#include "platform/bus/BusAccessClasses.h"
#include "platform/bus/BusTimeAccount.h"
#include "platform/bus/FalconInterfaces.h"
#include "platform/bus/SimulatedBus.h"
#include "platform/bus/SimulatedDevice.h"
#include "tools/SampleData.h"

#include <cstdio>
#include <map>
#include <memory>

namespace {

struct KindInfo {
    const char* pszName;
    std::size_t nMaxBytes;   // payload of one frame; 0 for frames without payload
    EBusFrameKind eRequest;  // for responses: the request that asks for them
};

const std::map<EBusFrameKind, KindInfo>& Kinds()
{
    static const std::map<EBusFrameKind, KindInfo> kinds = {
        {EBusFrameKind::MemoryWrite, {"memory write", 12, EBusFrameKind::MemoryWrite}},
        {EBusFrameKind::MemoryResponse, {"memory read", 12, EBusFrameKind::MemoryRead}},
        {EBusFrameKind::PropertyWrite, {"property write", 10, EBusFrameKind::PropertyWrite}},
        {EBusFrameKind::PropertyResponse, {"property read", 10, EBusFrameKind::PropertyRead}},
        {EBusFrameKind::UserMemoryWrite, {"user memory write", 11, EBusFrameKind::UserMemoryWrite}},
        {EBusFrameKind::UserMemoryResponse, {"user memory read", 11, EBusFrameKind::UserMemoryRead}},
    };
    return kinds;
}

// The same payload packed into the fewest frames.
CBusTimeAccount LowerBound(const CBusTimeAccount& actual)
{
    std::map<EBusFrameKind, std::size_t> bytes;
    for (const CBusFrame& frame : actual.GetFrames())
        if (Kinds().count(frame.m_eKind))
            bytes[frame.m_eKind] += frame.m_nDataBytes;
    CBusTimeAccount ideal;
    ideal.AddFrame(EBusFrameKind::Connect);
    for (const auto& [eKind, nBytes] : bytes) {
        const KindInfo& info = Kinds().at(eKind);
        for (std::size_t nLeft = nBytes; nLeft > 0;) {
            const std::size_t nFrame = std::min(nLeft, info.nMaxBytes);
            if (info.eRequest != eKind) {  // a read: request, ack, response, ack
                ideal.AddFrame(info.eRequest);
                ideal.AddFrame(EBusFrameKind::TransportAck);
            }
            ideal.AddFrame(eKind, nFrame);
            ideal.AddFrame(EBusFrameKind::TransportAck);
            nLeft -= nFrame;
        }
    }
    ideal.AddFrame(EBusFrameKind::Disconnect);
    return ideal;
}

void Print(const char* pszWhat, const CBusTimeAccount& account)
{
    std::printf("%-12s %6llu frames %7llu characters %9llu bit times %8.2f s\n", pszWhat,
                static_cast<unsigned long long>(account.GetFrameCount()),
                static_cast<unsigned long long>(account.GetCharacterCount()),
                static_cast<unsigned long long>(account.GetBitTimes()), account.GetMicroseconds() / 1e6);
}

}  // namespace

int main()
{
    g_bStandalone = true;
    CWinApp app;  // no profile: the settings take their defaults
    g_DptManager.Init();
    RegisterBusAccessClasses();
    auto pDevice = std::make_shared<CSimulatedDevice>();
    CSimulatedBus::InstallDevice("", pDevice);

    CChronoset set;
    g_pChronoset = &set;
    BuildMaximalParameterSet(set);
    const CApplicationId& id = pDevice->GetApplicationId();
    set.m_nManufacturerId = id.GetManufacturer();
    set.m_nDeviceType = id.GetDeviceType();
    set.m_nApplicationVersion = id.GetVersion();
    set.m_nIndividualAddress = pDevice->GetIndividualAddress();
    DWORD nAssociations = 0;
    set.CountAssociations(nAssociations);

    CFalconConnectionParams params;
    params.SetGuid(Falcon::kSimulatedInterface);
    CBusAccess bus(true);
    bus.Init(params);
    CProgressInfo progress(true);
    int nWrong = 0;
    const int nResult = set.DoDownload(&progress, &bus, nWrong, true, true, 0xFFFF);
    bus.Close();
    g_pChronoset = nullptr;
    if (nResult != 0 || nWrong != 0) {
        std::fprintf(stderr, "download failed: %d (wrong application %d)\n", nResult, nWrong);
        return 1;
    }

    const CBusTimeAccount& actual = pDevice->GetSessionBusTime();
    const CBusTimeAccount ideal = LowerBound(actual);
    std::printf("Download of the largest parameter set, %u associations (TP1, 9600 bit/s)\n",
                static_cast<unsigned>(nAssociations));
    Print("download", actual);
    Print("lower bound", ideal);
    std::printf("ratio        %.3f\n", static_cast<double>(actual.GetBitTimes()) / static_cast<double>(ideal.GetBitTimes()));
    return 0;
}
