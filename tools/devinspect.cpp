// devinspect: prints what a simulated device's state file holds: identity,
// load states, memory regions, properties, the status block as the device
// would answer now, faults and bus time.
//
//   devinspect [--no-memory] [--no-status] STATEFILE
//
// Exit codes: 0 printed, 1 the file is missing or not a device state,
// 2 bad arguments.

#include "platform/base/AtomicFile.h"
#include "platform/base/FileSizeLimit.h"
#include "platform/bus/DeviceReport.h"
#include "platform/bus/SimulatedDevice.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: devinspect [--no-memory] [--no-status] STATEFILE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    platform::FailWritesPastFileSizeLimit();
    platform::CDeviceReportOptions options;
    std::string strPath;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-memory") == 0)
            options.m_bMemory = false;
        else if (std::strcmp(argv[i], "--no-status") == 0)
            options.m_bStatus = false;
        else if (argv[i][0] == '-' || !strPath.empty())
            return Usage();
        else
            strPath = argv[i];
    }
    if (strPath.empty())
        return Usage();
    // Opening a missing file would create a fresh device there.
    if (!platform::FileExists(strPath)) {
        std::fprintf(stderr, "devinspect: %s: no such file\n", strPath.c_str());
        return 1;
    }
    CSimulatedDevice device;
    if (device.Open(strPath) != EDeviceResult::Ok) {
        std::fprintf(stderr, "devinspect: %s: not a device state file\n", strPath.c_str());
        return 1;
    }
    std::fputs(platform::FormatDeviceReport(device, options).c_str(), stdout);
    return 0;
}
