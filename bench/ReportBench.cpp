// Pagination and drawing of the parameter report of the largest parameter
// set (every list at its capacity) into a PDF document held in memory, as
// File > Print does when no printer is installed. Target: under 200 ms.

#include "app/Chronoset.h"
#include "common/Globals.h"
#include "platform/base/FileSizeLimit.h"
#include "platform/base/PrintInfo.h"
#include "report/ParamReport.h"
#include "printing/param/ParamReportOwner.h"
#include "printing/qt/ReportPageWriter.h"
#include "tools/SampleData.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#ifdef CHRONO_WITH_GOOGLE_BENCHMARK
#include <benchmark/benchmark.h>
#endif

namespace {

class CBenchOwner : public CParamReportOwner
{
public:
    BOOL DoPreparePrinting(CPrintInfo*) override { return TRUE; }
};

// The pages written.
int PrintToPdf()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(600);
    CBenchOwner owner;
    CParamReport report(&owner);
    CPrintInfo info;
    return CReportPageWriter::Print(report, writer, info);
}

}  // namespace

int main(int argc, char** argv)
{
    platform::FailWritesPastFileSizeLimit();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    CChronoset set;
    BuildMaximalParameterSet(set);
    g_pChronoset = &set;
    std::printf("report of the largest set: %d pages (target: under 200 ms)\n", PrintToPdf());

#ifdef CHRONO_WITH_GOOGLE_BENCHMARK
    benchmark::RegisterBenchmark("BM_ReportToPdf",
                                 [](benchmark::State& state) {
                                     for (auto _ : state)
                                         benchmark::DoNotOptimize(PrintToPdf());
                                 })
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
#else
    constexpr int kRuns = 10;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRuns; ++i)
        PrintToPdf();
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("report   %8.3f ms per report\n", elapsed.count() / kRuns);
#endif
    g_pChronoset = nullptr;
    return 0;
}
