// Load, store and text export of the largest parameter set the device
// takes: 15 routines with 800 switching times, 250 + 250 group addresses,
// 30 quantities with 300 members, 100 special days and 10 periods. Each
// operation goes through the data file as the editor does it, without the
// flushes to the disk. Target for each: under 1 ms CPU, printed beside its
// figure.

#include "app/Chronoset.h"
#include "model/DptManager.h"
#include "common/Globals.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/FileSizeLimit.h"
#include "tools/SampleData.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>

#ifdef CHRONO_WITH_GOOGLE_BENCHMARK
#include <benchmark/benchmark.h>
#endif

namespace {

struct Files {
    Files()
    {
        dir = std::filesystem::temp_directory_path() / ("chronoset-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        data = (dir / "full.tv2").string();
        g_bStandalone = true;
        // Values formatted with their types, as after the start-up.
        g_DptManager.Init();
        // The figures leave out the flushes to the disk: their time is the
        // disk's, not the program's.
        platform::AtomicWriteHooks hooks;
        hooks.sync = [](int) { return 0; };
        platform::SetAtomicWriteHooks(hooks);
        CChronoset set;
        g_pChronoset = &set;
        BuildMaximalParameterSet(set);
        set.SaveToFile(data, nullptr);
        g_pChronoset = nullptr;
    }
    ~Files() { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
    std::string data;
};

Files& TheFiles()
{
    static Files files;
    return files;
}

// One load into a new central object, as the file commands do.
bool Load()
{
    CChronoset set;
    g_pChronoset = &set;
    const int nLoaded = set.LoadFromFile(TheFiles().data, nullptr);
    g_pChronoset = nullptr;
    return nLoaded == 1;
}

struct Loaded {
    Loaded()
    {
        g_pChronoset = &set;
        set.LoadFromFile(TheFiles().data, nullptr);
    }
    ~Loaded() { g_pChronoset = nullptr; }
    CChronoset set;
};

}  // namespace

#ifdef CHRONO_WITH_GOOGLE_BENCHMARK

static void BM_Load(benchmark::State& state)
{
    state.SetLabel("target: under 1 ms CPU");
    for (auto _ : state)
        benchmark::DoNotOptimize(Load());
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

static void BM_Store(benchmark::State& state)
{
    Loaded loaded;
    const std::string strPath = (TheFiles().dir / "stored.tv2").string();
    state.SetLabel("target: under 1 ms CPU");
    for (auto _ : state)
        benchmark::DoNotOptimize(loaded.set.SaveToFile(strPath, nullptr));
}
BENCHMARK(BM_Store)->Unit(benchmark::kMillisecond);

static void BM_Export(benchmark::State& state)
{
    Loaded loaded;
    const std::string strPath = (TheFiles().dir / "export.csv").string();
    state.SetLabel("target: under 1 ms CPU");
    for (auto _ : state)
        benchmark::DoNotOptimize(loaded.set.ExportToFile(strPath, nullptr));
}
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

#else

namespace {

void Time(const char* pszName, const std::function<void()>& fn)
{
    constexpr int kRuns = 50;
    fn();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRuns; ++i)
        fn();
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%-8s %8.3f ms per operation   (target: under 1 ms)\n", pszName, elapsed.count() / kRuns);
}

}  // namespace

int main()
{
    platform::FailWritesPastFileSizeLimit();
    Time("load", [] { Load(); });
    Loaded loaded;
    const std::string strStored = (TheFiles().dir / "stored.tv2").string();
    const std::string strExport = (TheFiles().dir / "export.csv").string();
    Time("store", [&] { loaded.set.SaveToFile(strStored, nullptr); });
    Time("export", [&] { loaded.set.ExportToFile(strExport, nullptr); });
    return 0;
}

#endif
