// Load from and save to the host project of the largest parameter set the
// device takes (15 routines with 800 switching times, 250 + 250 group
// addresses, 30 quantities with 300 members, 100 special days, 10 periods),
// through the host stand-in as the plug-in meets it inside the host.
//
// The project is the sample project with every group address of the set
// added to its group tree; the set is written into the sample device once by
// a save, and that project is what the load reads. Targets (CPU): load under
// 10 ms, save under 5 ms, printed beside the figures.

#include "access/HostObjectMaps.h"
#include "app/Chronoset.h"
#include "app/HostServiceAdapters.h"
#include "model/DptManager.h"
#include "model/GroupDataAddress.h"
#include "common/Globals.h"
#include "common/HostLogger.h"
#include "platform/base/FileSizeLimit.h"
#include "platform/host/EtsHost.h"
#include "tools/SampleData.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#ifdef CHRONO_WITH_GOOGLE_BENCHMARK
#include <benchmark/benchmark.h>
#endif

namespace {

using Json = nlohmann::json;

constexpr LONG kDevice = 1000;
// Ids of the added group tree, clear of the sample's and of the set's own
// references (10000 + n valid, 20000 + n invalid list).
constexpr LONG kFirstGroupId = 30000;
constexpr LONG kClockAddressId = 31000;

[[noreturn]] void Fail(const std::string& strWhat)
{
    std::fprintf(stderr, "bench_host: %s\n", strWhat.c_str());
    std::exit(1);
}

// The sample project with the set's group addresses: main group 1 with its
// eight middle groups for the valid list (references 10000 + n), main group
// 0 / middle group 0 for the clock's four addresses.
std::string ProjectText()
{
    std::ifstream file(CHRONO_SAMPLE_PROJECT_FILE, std::ios::binary);
    if (!file)
        Fail(std::string("cannot read ") + CHRONO_SAMPLE_PROJECT_FILE);
    std::stringstream text;
    text << file.rdbuf();
    Json project = Json::parse(text.str());

    LONG nId = kFirstGroupId;
    Json main = {{"id", nId++}, {"address", 1}, {"name", "Maximal"}, {"middleGroups", Json::array()}};
    for (int nMiddle = 0; nMiddle < 8; ++nMiddle)
        main["middleGroups"].push_back(
            {{"id", nId++}, {"address", nMiddle}, {"name", ""}, {"groupAddresses", Json::array()}});
    const int nCapacity = CGroupDataAddresses::GetMaxCount();
    for (int i = 0; i < nCapacity; ++i)
        main["middleGroups"][(i / 16) % 8]["groupAddresses"].push_back(
            {{"id", 10000 + i},
             {"address", i % 256},
             {"name", "Gruppenadresse " + std::to_string(i) + " mit längerem Namen"}});
    Json clock = {{"id", nId++},
                  {"address", 0},
                  {"name", "Uhr"},
                  {"middleGroups", Json::array({{{"id", nId++}, {"address", 0}, {"name", ""}}})}};
    Json subs = Json::array();
    const char* names[] = {"Uhrzeit", "Datum", "Uhrzeit anfordern", "Zeitprogramm sperren"};
    for (int n = 0; n < 4; ++n)
        subs.push_back({{"id", kClockAddressId + n}, {"address", n + 1}, {"name", names[n]}});
    clock["middleGroups"][0]["groupAddresses"] = subs;
    project["projects"][0]["mainGroups"].push_back(main);
    project["projects"][0]["mainGroups"].push_back(clock);
    return project.dump();
}

// Plug-in mode inside the host: the host's service objects, its logger, the
// datapoint types of the start-up.
struct PlugInMode {
    PlugInMode()
    {
        g_bStandalone = false;
        host.RegisterServiceClasses();
        InstallHostServiceCreators();
        logger = std::make_unique<CHostLogger>("Vek_ZR02");
        g_pHostLogger = logger.get();
        g_DptManager.Init();
    }
    ~PlugInMode()
    {
        ReleaseHostObjectMaps();
        g_pHostLogger = nullptr;
        logger.reset();
        host.RevokeServiceClasses();
    }
    platform::host::CEtsHost host;
    std::unique_ptr<CHostLogger> logger;
};

PlugInMode& Mode()
{
    static PlugInMode mode;
    return mode;
}

// The start-up's load: scan the project, then the central object's load.
HRESULT LoadDevice(CChronoset& set)
{
    ReleaseHostObjectMaps();
    CComPtr<IEtsDevice> pDevice = Mode().host.FindDevice(kDevice);
    ScanEtsProjects(pDevice);
    g_pChronoset = &set;
    return set.LoadFromEts(pDevice, nullptr, nullptr, TRUE, FALSE);
}

// The sample device with the largest set saved into it, as project text.
std::string MaximalProjectText()
{
    platform::host::CEtsHost& host = Mode().host;
    std::string strError;
    if (!host.LoadText(ProjectText(), &strError))
        Fail(strError);
    CChronoset sample;
    if (LoadDevice(sample) != S_OK)
        Fail("the sample device does not load");
    CChronoset maximal;
    BuildMaximalParameterSet(maximal);
    CInternalClock* pClock = maximal.GetInternalClock();
    LONG nClockId = kClockAddressId;
    for (CGroupDataAddress* pAddress : {pClock->GetTimeGroupAddress(), pClock->GetDateGroupAddress(),
                                        pClock->GetRequestGroupAddress(), pClock->GetLockGroupAddress()})
        pAddress->SetReference(nClockId++);
    // The host parameters' ids are the loaded device's; the data the set's.
    maximal.CopyFrom(sample);
    g_pChronoset = &maximal;
    if (maximal.SaveToEts(kDevice, nullptr) != 0)
        Fail("the largest set cannot be saved into the sample device");
    g_pChronoset = nullptr;
    return host.SaveText();
}

// The host holds the project with the largest set; the object loaded from
// it. Checked once so that the figures are of the whole set.
struct Loaded {
    Loaded()
    {
        std::string strError;
        if (!Mode().host.LoadText(MaximalProjectText(), &strError))
            Fail(strError);
        g_bDataModified = false;
        if (LoadDevice(set) != S_OK)
            Fail("the largest set does not load back");
        // Nothing to reconcile: every load measured is the same steady one.
        if (g_bDataModified)
            Fail("the largest set needed mending on its way back");
        const CGroupDataAddresses& lists = *set.GetGroupDataAddresses();
        if (set.GetDayRoutines()->GetCount() != 15 || set.GetDayRoutines()->GetSwitchTimeCount() != 800 ||
            lists.GetCount(false) != 250 || lists.GetCount(true) != 250 || set.GetQuantities()->GetCount() != 30 ||
            set.GetQuantities()->GetTotalMemberCount() != 300 || set.GetSpecialDays()->GetCount() != 100 ||
            set.GetSummertimes()->GetCount() != 10)
            Fail("the largest set came back incomplete");
        Mode().host.ClearLoggerLines();
    }
    ~Loaded() { g_pChronoset = nullptr; }
    CChronoset set;
};

Loaded& TheLoaded()
{
    static Loaded loaded;
    return loaded;
}

// One load into a new central object, as an editing run starts.
HRESULT LoadOnce()
{
    CChronoset set;
    const HRESULT hr = LoadDevice(set);
    g_pChronoset = &TheLoaded().set;
    return hr;
}

int SaveOnce()
{
    CChronoset& set = TheLoaded().set;
    g_pChronoset = &set;
    return set.SaveToEts(kDevice, nullptr);
}

}  // namespace

#ifdef CHRONO_WITH_GOOGLE_BENCHMARK

static void BM_HostLoad(benchmark::State& state)
{
    TheLoaded();
    state.SetLabel("target: under 10 ms CPU");
    for (auto _ : state) {
        if (LoadOnce() != S_OK)
            state.SkipWithError("load failed");
        // The host's logger and its call log keep every line; they must not
        // grow the figures.
        state.PauseTiming();
        Mode().host.ClearLoggerLines();
        Mode().host.ClearCallLog();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_HostLoad)->Unit(benchmark::kMillisecond);

static void BM_HostSave(benchmark::State& state)
{
    TheLoaded();
    state.SetLabel("target: under 5 ms CPU");
    for (auto _ : state) {
        if (SaveOnce() != 0)
            state.SkipWithError("save failed");
        state.PauseTiming();
        Mode().host.ClearLoggerLines();
        Mode().host.ClearCallLog();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_HostSave)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

#else

namespace {

void Time(const char* pszName, const char* pszTarget, const std::function<void()>& fn)
{
    constexpr int kRuns = 20;
    fn();
    double dWall = 0;
    double dCpu = 0;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t cpuStart = std::clock();
        fn();
        dCpu += 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        dWall += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        Mode().host.ClearLoggerLines();
        Mode().host.ClearCallLog();
    }
    std::printf("%-6s %8.3f ms wall %8.3f ms CPU per operation   (target: under %s ms CPU)\n", pszName, dWall / kRuns,
                dCpu / kRuns, pszTarget);
}

}  // namespace

int main()
{
    platform::FailWritesPastFileSizeLimit();
    TheLoaded();
    Time("load", "10", [] {
        if (LoadOnce() != S_OK)
            Fail("load failed");
    });
    Time("save", "5", [] {
        if (SaveOnce() != 0)
            Fail("save failed");
    });
    return 0;
}

#endif
