#pragma once
// Helpers shared by the simulated-device tests: a clock the test moves by
// hand, the load-state control steps as the download runs them, a
// temporary folder, a file's text and state files that cannot be read.

#include "platform/base/AtomicFile.h"
#include "platform/bus/DeviceStateFile.h"
#include "platform/bus/SimulatedDevice.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace bustest {

struct CManualClock
{
    LONGLONG m_nNowMs = 1'200'000'000'000LL;  // some moment of 2008

    CSimulatedDevice::ClockSource Source()
    {
        return [this] { return m_nNowMs; };
    }
    void Advance(LONGLONG nMs) { m_nNowMs += nMs; }
};

// The download's expected state after an event: loading after start, loaded
// after completion.
inline BYTE ExpectedState(BYTE nEvent)
{
    return nEvent == 1 ? 2 : 1;
}

// Read, skip when already there, write the 10-byte load event, read back;
// 53 when the machine did not move, 5 for a failed access.
inline int LoadStateControlByProperty(CSimulatedDevice& device, BYTE nMachine, BYTE nEvent)
{
    std::vector<BYTE> arrState;
    if (device.ReadProperty(nMachine, 5, 0, 1, 1, arrState) != EDeviceResult::Ok)
        return 5;
    if (arrState.at(0) == ExpectedState(nEvent))
        return 0;
    BYTE arrRecord[10] = {nEvent};
    if (device.WriteProperty(nMachine, 5, 0, 1, 1, arrRecord, sizeof arrRecord, 0) != EDeviceResult::Ok)
        return 5;
    if (device.ReadProperty(nMachine, 5, 0, 1, 1, arrState) != EDeviceResult::Ok)
        return 5;
    return arrState.at(0) == ExpectedState(nEvent) ? 0 : 53;
}

inline int LoadStateControlByMemory(CSimulatedDevice& device, BYTE nMachine, BYTE nEvent)
{
    const DWORD nStateAddress = 0xB6EA + nMachine - 1u;
    std::vector<BYTE> arrState;
    if (device.ReadMemory(nStateAddress, 1, arrState) != EDeviceResult::Ok)
        return 5;
    if (arrState.at(0) == ExpectedState(nEvent))
        return 0;
    BYTE arrRecord[10] = {static_cast<BYTE>(nEvent | nMachine << 4)};
    if (device.WriteMemory(0x0104, arrRecord, sizeof arrRecord, 0) != EDeviceResult::Ok)
        return 5;
    if (device.ReadMemory(nStateAddress, 1, arrState) != EDeviceResult::Ok)
        return 5;
    return arrState.at(0) == ExpectedState(nEvent) ? 0 : 53;
}

// A fresh folder under the system's temporary folder, removed at the end.
class CTempDir
{
public:
    CTempDir()
    {
        std::string strTemplate = (std::filesystem::temp_directory_path() / "busdevXXXXXX").string();
        if (::mkdtemp(strTemplate.data()))
            m_path = strTemplate;
    }
    ~CTempDir()
    {
        std::error_code ec;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ec);
    }
    std::string File(const char* pszName) const { return (m_path / pszName).string(); }

private:
    std::filesystem::path m_path;
};

// The file's text, empty when it cannot be read.
inline std::string ReadText(const std::string& strPath)
{
    auto oBytes = platform::ReadWholeFile(strPath);
    return oBytes ? std::string(oBytes->begin(), oBytes->end()) : std::string();
}

// A path where no state can be read, and the reason a reader gives.
struct CUnreadableState
{
    std::string m_strPath;
    std::string m_strReason;
};

// Beside a good state file in the folder: a folder, a missing file, a path
// through a file, files with a key wrong and one nobody may read (skipped
// for root, who reads any file).
inline std::vector<CUnreadableState> MakeUnreadableStates(const CTempDir& dir)
{
    CDeviceState state;
    state.Reset(0);
    const std::string strGood = CDeviceStateFile::ToText(state);
    auto writeWith = [&](const char* pszName, const std::string& strFrom, const std::string& strTo) {
        std::string strText = strGood;
        strText.replace(strText.find(strFrom), strFrom.size(), strTo);
        platform::WriteFileAtomically(dir.File(pszName), strText);
        return dir.File(pszName);
    };
    platform::WriteFileAtomically(dir.File("device.state"), strGood);
    std::vector<CUnreadableState> arrStates = {
        {dir.File(""), "Is a directory"},
        {dir.File("missing.state"), "No such file or directory"},
        {dir.File("device.state") + "/device.state", "Not a directory"},
        {writeWith("maker.state", "\"manufacturer\": 2,", "\"manufacturer\": 4294967296,"),
         "application.manufacturer: expected an integer from 0 to 65535"},
        {writeWith("nobody.state", "\"1.1.1\"", "\"0.0.0\""),
         "individualAddress: expected an individual address (area.line.device) from 0.0.1 to 15.15.255"},
    };
    const std::string strPipe = dir.File("pipe.state");
    if (::mkfifo(strPipe.c_str(), 0600) == 0)
        arrStates.push_back({strPipe, "not a regular file"});
    const std::string strLocked = dir.File("locked.state");
    platform::WriteFileAtomically(strLocked, strGood);
    ::chmod(strLocked.c_str(), 0);
    if (::geteuid() != 0)
        arrStates.push_back({strLocked, "Permission denied"});
    return arrStates;
}

}  // namespace bustest
