#pragma once
// The log of a connection record that did not read back as it was written.

#include "access/FalconConnectionParams.h"

#include <cstdio>

namespace fuzzfiles {

// Both sides of a mismatch, for the finding's log.
inline void PrintMismatch(const CFalconConnectionParams& written, const CFalconConnectionParams& read)
{
    auto show = [](const char* pszWhat, const CFalconConnectionParams& params) {
        std::fprintf(stderr, "%s: guid %s name [%s] parameter [%s]\n", pszWhat, params.GetGuidText().c_str(),
                     params.GetConnectionName().c_str(), params.GetConnectionParam().c_str());
    };
    show("written", written);
    show("read", read);
}

}  // namespace fuzzfiles
