// Writes the sample data file: the sample installation built through the
// data sets and stored by the central object, as the editor saves it.
//
//   make-sample-data <path.tv2>
//
// Exit codes: 0 written, 1 the file could not be written, 2 bad arguments
// (an option among them: the program knows none).

#include "app/Chronoset.h"
#include "common/Globals.h"
#include "platform/base/FileSizeLimit.h"
#include "tools/CommandLine.h"
#include "tools/SampleData.h"

#include <cstdio>

int main(int argc, char** argv)
{
    platform::FailWritesPastFileSizeLimit();
    if (argc != 2 || IsOptionArgument(argv[1])) {
        std::fprintf(stderr, "usage: %s <data file>\n", argv[0]);
        return 2;
    }
    g_bStandalone = true;
    CChronoset set;
    g_pChronoset = &set;
    BuildSampleParameterSet(set);
    const int nSaved = set.SaveToFile(argv[1], nullptr);
    g_pChronoset = nullptr;
    if (!nSaved) {
        std::fprintf(stderr, "could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
