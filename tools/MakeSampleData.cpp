// Writes the sample data file, and on request the largest parameter set,
// each built through the data sets and stored by the central object, as the
// editor saves it.
//
//   make-sample-data [<path.tv2>] [--largest <path.tv2>]
//
// The first is the sample installation (samples/sample.tv2); --largest
// writes the set with every list at its capacity that the benchmarks time.
// At least one of the two is asked for.
//
// Exit codes: 0 written, 1 a file could not be written (with the system's
// reason), 2 bad arguments.

#include "app/Chronoset.h"
#include "common/Globals.h"
#include "platform/base/FileSizeLimit.h"
#include "tools/CommandLine.h"
#include "tools/SampleData.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

int Usage(const char* pszProgram)
{
    std::fprintf(stderr, "usage: %s [<data file>] [--largest <data file>]\n", pszProgram);
    return 2;
}

bool Write(void (*pfnBuild)(CChronoset&), const char* pszPath)
{
    CChronoset set;
    g_pChronoset = &set;
    pfnBuild(set);
    // The save leaves errno 0 where no system call failed (the set could not
    // be built into bytes): then there is no reason of the system's to tell.
    errno = 0;
    const int nSaved = set.SaveToFile(pszPath, nullptr);
    const int nErrno = errno;
    g_pChronoset = nullptr;
    if (!nSaved && nErrno != 0)
        std::fprintf(stderr, "could not write %s: %s\n", pszPath, std::strerror(nErrno));
    else if (!nSaved)
        std::fprintf(stderr, "could not write %s\n", pszPath);
    return nSaved != 0;
}

}  // namespace

int main(int argc, char** argv)
{
    platform::FailWritesPastFileSizeLimit();
    const char* pszSample = nullptr;
    const char* pszLargest = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--largest") == 0 && !pszLargest && i + 1 < argc && !IsOptionArgument(argv[i + 1]))
            pszLargest = argv[++i];
        else if (IsOptionArgument(argv[i]) || pszSample)
            return Usage(argv[0]);
        else
            pszSample = argv[i];
    }
    if (!pszSample && !pszLargest)
        return Usage(argv[0]);
    g_bStandalone = true;
    bool bOk = !pszSample || Write(BuildSampleParameterSet, pszSample);
    bOk = (!pszLargest || Write(BuildMaximalParameterSet, pszLargest)) && bOk;
    return bOk ? 0 : 1;
}
