// devinspect: prints what a simulated device's state file holds: identity,
// load states, memory regions, properties, the status block as the device
// would answer now, faults and bus time.
//
//   devinspect [--no-memory] [--no-status] [--new ADDRESS] [STATEFILE]
//
// Without STATEFILE it takes the default state file, the one the standalone
// editor's simulated device uses: $CHRONO_DEVICE_STATE, else
// $XDG_DATA_HOME/chronosets2/device.state, else
// ~/.local/share/chronosets2/device.state.
//
// --new ADDRESS first writes STATEFILE as a new device, never downloaded,
// that answers at the individual address ADDRESS (area.line.device, e.g.
// 1.1.5), and then prints the file as written; the default state file's
// folder is made when missing, as the editor makes it. It writes only where
// nothing is yet, also when something comes there while it writes: a state
// file holds a device's downloads, which a slip of the keyboard must not
// wipe out.
//
// Exit codes: 0 printed, 1 the file cannot be read or is not a device state
// (the reason follows the path: the system's, as "No such file or
// directory", or the key found wrong in the file; with --new: something is
// there already, or the file could not be written), 2 bad arguments (among
// them an address that is no individual address: a number out of its
// range, or 0.0.0, which no device has).

#include "platform/base/AtomicFile.h"
#include "platform/base/FileSizeLimit.h"
#include "platform/bus/DeviceReport.h"
#include "platform/bus/DeviceStateFile.h"
#include "platform/bus/MachineConnections.h"
#include "platform/bus/SimulatedDevice.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: devinspect [--no-memory] [--no-status] [--new ADDRESS] [STATEFILE]\n");
    return 2;
}

// Writes a fresh device at the address into a path where nothing is yet.
bool WriteNewDevice(WORD nAddress, const std::string& strPath)
{
    CSimulatedDevice device;
    device.SetIndividualAddress(nAddress);
    if (!platform::CreateFileAtomically(strPath, CDeviceStateFile::ToText(device.GetState()))) {
        if (errno == EEXIST)
            std::fprintf(stderr, "devinspect: %s: exists already; not overwritten\n", strPath.c_str());
        else
            std::fprintf(stderr, "devinspect: %s: cannot write: %s\n", strPath.c_str(), std::strerror(errno));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    platform::FailWritesPastFileSizeLimit();
    platform::CDeviceReportOptions options;
    std::string strPath;
    const char* pszNewAddress = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-memory") == 0)
            options.m_bMemory = false;
        else if (std::strcmp(argv[i], "--no-status") == 0)
            options.m_bStatus = false;
        else if (std::strcmp(argv[i], "--new") == 0 && i + 1 < argc && argv[i + 1][0] != '-' && !pszNewAddress)
            pszNewAddress = argv[++i];
        else if (argv[i][0] == '-' || !strPath.empty())
            return Usage();
        else
            strPath = argv[i];
    }
    const bool bDefault = strPath.empty();
    if (bDefault)
        strPath = Falcon::GetDefaultDeviceStatePath();

    if (pszNewAddress) {
        WORD nAddress = 0;
        if (!CDeviceStateFile::ParseIndividualAddress(pszNewAddress, nAddress)) {
            std::fprintf(stderr,
                         "devinspect: %s: not an individual address (area.line.device: 0-15.0-15.0-255, "
                         "e.g. 1.1.5)\n",
                         pszNewAddress);
            return 2;
        }
        // 0.0.0 is the address of no device: nothing would ever answer there.
        // A bad argument as much as 16.0.0 is.
        if (nAddress == 0) {
            std::fprintf(stderr, "devinspect: %s: no device has this individual address\n", pszNewAddress);
            return 2;
        }
        // A failure here shows as the write's own.
        if (bDefault)
            (void)Falcon::MakeStateFileFolder(strPath);
        if (!WriteNewDevice(nAddress, strPath))
            return 1;
    }

    // Opening a missing file would create a fresh device there, so only a
    // path that is there goes to the device, which tells why it cannot take
    // anything else (a folder, a file it may not read, not a state).
    struct stat st {};
    if (::stat(strPath.c_str(), &st) != 0) {
        std::fprintf(stderr, "devinspect: %s: %s\n", strPath.c_str(), std::strerror(errno));
        return 1;
    }
    CSimulatedDevice device;
    if (device.Open(strPath) != EDeviceResult::Ok) {
        std::fprintf(stderr, "devinspect: %s: %s\n", strPath.c_str(), device.GetStateFileError().c_str());
        return 1;
    }
    std::fputs(platform::FormatDeviceReport(device, options).c_str(), stdout);
    return 0;
}
