// The bus time of downloading the largest parameter set into the simulated
// device, against the least bus time the same bytes could take on TP1: every
// payload byte in frames of the largest size the services allow, each frame
// acknowledged, one connection. Prints both and their ratio; then the wall
// time and bus time of the same download over both routes: the simulated
// device reached directly, and through a real knxd (when installed) in
// front of its tunnelling face.

#include "access/BusAccess.h"
#include "app/Chronoset.h"
#include "model/DptManager.h"
#include "common/Globals.h"
#include "common/ProgressInfo.h"
#include "platform/base/FileSizeLimit.h"
#include "platform/base/WinApp.h"
#include "platform/bus/BusAccessClasses.h"
#include "platform/bus/BusTimeAccount.h"
#include "platform/bus/FalconInterfaces.h"
#include "platform/bus/KnxdTestSupport.h"
#include "platform/bus/SimulatedBus.h"
#include "platform/bus/SimulatedDevice.h"
#include "tools/SampleData.h"

#include <chrono>
#include <filesystem>
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

// The largest set downloaded through the parameters given; the wall time in
// seconds, negative when the download failed.
double TimedDownload(CChronoset& set, const CFalconConnectionParams& params)
{
    CBusAccess bus(true);
    bus.Init(params);
    CProgressInfo progress(true);
    int nWrong = 0;
    const auto start = std::chrono::steady_clock::now();
    const int nResult = set.DoDownload(&progress, &bus, nWrong, true, true, 0xFFFF);
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    bus.Close();
    if (nResult != 0 || nWrong != 0) {
        std::fprintf(stderr, "download failed: %d (wrong application %d)\n", nResult, nWrong);
        return -1;
    }
    return wall.count();
}

// The same download through knxd into the tunnelling face; false when knxd
// is missing or the route fails.
bool KnxdRoute(CChronoset& set, double& dWall, CBusTimeAccount& busTime)
{
    if (::access(knxdtest::kKnxdPath, X_OK) != 0) {
        std::printf("knxd route   skipped: %s not installed\n", knxdtest::kKnxdPath);
        return true;
    }
    char szFolder[] = "/tmp/benchknxdXXXXXX";
    if (!::mkdtemp(szFolder))
        return false;
    const std::string strFolder = szFolder;
    bool bOk = false;
    {
        knxdtest::CServerThread server(strFolder + "/device.json");
        knxdtest::CKnxdProcess knxd;
        CKnxdLink probe;
        if (server.IsOpen()) {
            server.Start();
            bOk = knxd.Start(server.GetPort(), strFolder) &&
                  knxdtest::ConnectWhenReady(probe, knxd.Url(), server.Device().GetIndividualAddress()) ==
                      EDeviceResult::Ok;
            probe.Disconnect();
        }
        if (bOk) {
            server.WaitFor(ETunnellingEvent::ConnectionClosed);
            CFalconConnectionParams params;
            params.SetGuid(Falcon::kKnxdInterface);
            params.SetConnectionParam(knxd.Url());
            dWall = TimedDownload(set, params);
            bOk = dWall >= 0;
            server.Stop();
            busTime = server.Device().GetSessionBusTime();
        }
    }
    std::filesystem::remove_all(strFolder);
    return bOk;
}

}  // namespace

int main()
{
    platform::FailWritesPastFileSizeLimit();
    g_bStandalone = true;
    CWinApp app;  // no profile: the settings take their defaults
    g_DptManager.Init();
    RegisterBusAccessClasses();
    auto pDevice = std::make_shared<CSimulatedDevice>();
    CSimulatedBus::InstallDevice("", pDevice);

    CChronoset set;
    g_pChronoset = &set;
    BuildMaximalParameterSet(set);
    // The set as make-sample-data --largest writes it names the simulated
    // device, so it goes down unchanged.
    const CApplicationId& id = pDevice->GetApplicationId();
    if (set.m_nIndividualAddress != pDevice->GetIndividualAddress() || set.m_nManufacturerId != id.GetManufacturer() ||
        set.m_nDeviceType != id.GetDeviceType() || set.m_nApplicationVersion != id.GetVersion()) {
        std::fprintf(stderr, "bench_download: the largest set does not name the simulated device\n");
        return 1;
    }
    DWORD nAssociations = 0;
    set.CountAssociations(nAssociations);

    CFalconConnectionParams params;
    params.SetGuid(Falcon::kSimulatedInterface);
    const double dDirectWall = TimedDownload(set, params);
    if (dDirectWall < 0)
        return 1;
    const CBusTimeAccount direct = pDevice->GetSessionBusTime();
    double dKnxdWall = 0;
    CBusTimeAccount overKnxd;
    const bool bKnxd = KnxdRoute(set, dKnxdWall, overKnxd);
    g_pChronoset = nullptr;

    const CBusTimeAccount& actual = direct;
    const CBusTimeAccount ideal = LowerBound(actual);
    std::printf("Download of the largest parameter set, %u associations (TP1, 9600 bit/s)\n",
                static_cast<unsigned>(nAssociations));
    Print("download", actual);
    Print("lower bound", ideal);
    std::printf("ratio        %.3f\n", static_cast<double>(actual.GetBitTimes()) / static_cast<double>(ideal.GetBitTimes()));
    std::printf("\nRoutes (wall time of this run; bus time as the device counted its frames)\n");
    std::printf("direct       wall %8.3f s\n", dDirectWall);
    Print("  bus", direct);
    if (!bKnxd) {
        std::fprintf(stderr, "download through knxd failed\n");
        return 1;
    }
    if (overKnxd.GetFrameCount() > 0) {
        std::printf("knxd         wall %8.3f s\n", dKnxdWall);
        Print("  bus", overKnxd);
    }
    return 0;
}
