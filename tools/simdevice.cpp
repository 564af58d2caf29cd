// simdevice: serves a simulated device over KNXnet/IP tunnelling on the
// loopback interface, so that knxd (driver "ipt") and the tools on it reach
// it as they reach an installation behind an IP interface.
//
//   simdevice --state FILE [--port N] [--silent-after N] [--no-verify-mode]
//
// FILE is the device's state file, created with a fresh device when missing.
// Without --port (or with 0) the system picks the port. --silent-after N
// makes the device stop answering from its Nth application frame on;
// --no-verify-mode gives it no verify mode, so a tool reads its writes back. Once it
// listens the program prints "KNXnet/IP tunnelling on 127.0.0.1:PORT"; it
// runs until SIGTERM or SIGINT and then writes the state file.
//
// Exit codes: 0 stopped by a signal with the state written, 1 the state file
// (with the reason: the system's, or the key found wrong in the file) or the
// socket failed, 2 bad arguments.

#include "platform/base/FileSizeLimit.h"
#include "platform/bus/KnxIpUdpServer.h"
#include "platform/bus/SimulatedDevice.h"
#include "tools/CommandLine.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: simdevice --state FILE [--port N] [--silent-after N] [--no-verify-mode]\n");
    return 2;
}

// A decimal number no larger than nMax.
bool ParseNumber(const char* psz, unsigned long nMax, unsigned long& nValue)
{
    if (!psz || *psz < '0' || *psz > '9')
        return false;
    char* pEnd = nullptr;
    errno = 0;
    nValue = std::strtoul(psz, &pEnd, 10);
    return errno == 0 && *pEnd == '\0' && nValue <= nMax;
}

}  // namespace

int main(int argc, char** argv)
{
    platform::FailWritesPastFileSizeLimit();
    std::string strState;
    unsigned long nPort = 0;
    unsigned long nSilentFrom = 0;
    bool bVerifyMode = true;
    for (int i = 1; i < argc; ++i) {
        const char* pszValue = i + 1 < argc ? argv[i + 1] : nullptr;
        if (std::strcmp(argv[i], "--no-verify-mode") == 0) {
            bVerifyMode = false;
            continue;
        }
        if (std::strcmp(argv[i], "--state") == 0 && pszValue && *pszValue && !IsOptionArgument(pszValue))
            strState = pszValue;
        else if (std::strcmp(argv[i], "--port") == 0 && ParseNumber(pszValue, 65535, nPort))
            ;
        else if (std::strcmp(argv[i], "--silent-after") == 0 && ParseNumber(pszValue, 0xFFFFFFFFul, nSilentFrom))
            ;
        else
            return Usage();
        ++i;
    }
    if (strState.empty())
        return Usage();

    // The signals arrive as reads on a descriptor the server watches, so the
    // serving loop ends where it stands, with nothing in a handler.
    sigset_t oSignals;
    sigemptyset(&oSignals);
    sigaddset(&oSignals, SIGTERM);
    sigaddset(&oSignals, SIGINT);
    if (sigprocmask(SIG_BLOCK, &oSignals, nullptr) != 0) {
        std::perror("simdevice: sigprocmask");
        return 1;
    }
    const int nSignalFd = signalfd(-1, &oSignals, SFD_CLOEXEC);
    if (nSignalFd < 0) {
        std::perror("simdevice: signalfd");
        return 1;
    }

    CSimulatedDevice device;
    // Whatever is at the path is read (as the device does), else created.
    struct stat st {};
    const bool bThere = ::stat(strState.c_str(), &st) == 0;
    if (device.Open(strState) != EDeviceResult::Ok) {
        std::fprintf(stderr, "simdevice: %s: cannot %s the device state: %s\n", strState.c_str(),
                     bThere ? "read" : "create", device.GetStateFileError().c_str());
        return 1;
    }
    CKnxIpUdpServer server(device);
    int nError = 0;
    if (!server.Open(static_cast<WORD>(nPort), nError)) {
        std::fprintf(stderr, "simdevice: cannot listen on 127.0.0.1:%lu: %s\n", nPort, std::strerror(nError));
        return 1;
    }
    server.GetServer().SetSilentFrom(static_cast<DWORD>(nSilentFrom));
    server.GetServer().SetVerifyModeOffered(bVerifyMode);
    std::printf("KNXnet/IP tunnelling on 127.0.0.1:%u\n", static_cast<unsigned>(server.GetPort()));
    std::fflush(stdout);

    const bool bStopped = server.Run(nSignalFd, nError);
    if (!bStopped)
        std::fprintf(stderr, "simdevice: socket failed: %s\n", std::strerror(nError));
    ::close(nSignalFd);
    if (device.Save() != EDeviceResult::Ok) {
        std::fprintf(stderr, "simdevice: %s: cannot write the device state: %s\n", strState.c_str(),
                     device.GetStateFileError().c_str());
        return 1;
    }
    return bStopped ? 0 : 1;
}
