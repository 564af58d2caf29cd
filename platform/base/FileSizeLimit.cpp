#include "platform/base/FileSizeLimit.h"

#include <csignal>

namespace platform {

void FailWritesPastFileSizeLimit()
{
    struct sigaction current {};
    if (::sigaction(SIGXFSZ, nullptr, &current) != 0 || (current.sa_flags & SA_SIGINFO) != 0 ||
        current.sa_handler != SIG_DFL)
        return;
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    (void)::sigaction(SIGXFSZ, &ignore, nullptr);
}

}  // namespace platform
