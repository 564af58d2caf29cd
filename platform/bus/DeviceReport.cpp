#include "platform/bus/DeviceReport.h"

#include "platform/bus/DeviceStateFile.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace platform {

namespace {

std::string Hex(const BYTE* pBytes, std::size_t nCount)
{
    std::string strText;
    char szByte[4];
    for (std::size_t i = 0; i < nCount; ++i) {
        std::snprintf(szByte, sizeof szByte, i == 0 ? "%02x" : " %02x", unsigned{pBytes[i]});
        strText += szByte;
    }
    return strText;
}

std::string Format(const char* pszFormat, auto... args)
{
    char szLine[256];
    std::snprintf(szLine, sizeof szLine, pszFormat, args...);
    return szLine;
}

void WriteRegion(std::ostringstream& out, const char* pszName, const CSimulatedDevice& device,
                 CDeviceMemory::ERegion eRegion)
{
    const DWORD nStart = CDeviceMemory::RegionStart(eRegion);
    const DWORD nSize = CDeviceMemory::RegionSize(eRegion);
    const std::vector<BYTE> arrBytes = device.PeekMemory(nStart, nSize);
    out << Format("%s 0x%04x..0x%04x:\n", pszName, unsigned{nStart}, unsigned{nStart + nSize - 1});
    std::size_t nShown = 0;
    for (DWORD nRow = 0; nRow < nSize; nRow += 16) {
        const std::size_t nCount = std::min<std::size_t>(16, nSize - nRow);
        const BYTE* pRow = arrBytes.data() + nRow;
        if (std::all_of(pRow, pRow + nCount, [](BYTE b) { return b == 0; }))
            continue;
        out << Format("  %04x| ", unsigned{nStart + nRow}) << Hex(pRow, nCount) << "\n";
        ++nShown;
    }
    if (nShown == 0)
        out << "  (all zero)\n";
}

bool IsErased(const std::vector<BYTE>& arrBytes)
{
    return std::all_of(arrBytes.begin(), arrBytes.end(), [](BYTE b) { return b == 0xFF; });
}

const char* WeekdayName(BYTE nWeekday)
{
    static const char* const s_names[] = {"?", "Monday", "Tuesday", "Wednesday", "Thursday",
                                          "Friday", "Saturday", "Sunday"};
    return nWeekday <= 7 ? s_names[nWeekday] : "?";
}

const char* RoutineSourceName(BYTE nSource)
{
    switch (nSource) {
    case 0: return "week routine";
    case 1: return "special day";
    case 2: return "activated via object";
    default: return "none";
    }
}

std::string BusTimeText(const CBusTimeAccount& account)
{
    return Format("%llu frames, %llu characters, %llu bit times, %.3f s",
                  static_cast<unsigned long long>(account.GetFrameCount()),
                  static_cast<unsigned long long>(account.GetCharacterCount()),
                  static_cast<unsigned long long>(account.GetBitTimes()),
                  static_cast<double>(account.GetMicroseconds()) / 1e6);
}

}  // namespace

const char* LoadStateName(BYTE nState)
{
    switch (nState) {
    case CLoadStateMachine::Unloaded: return "Unloaded";
    case CLoadStateMachine::Loaded: return "Loaded";
    case CLoadStateMachine::Loading: return "Loading";
    case CLoadStateMachine::Error: return "Error";
    default: return "?";
    }
}

std::string FormatDeviceReport(const CSimulatedDevice& device, const CDeviceReportOptions& options)
{
    std::ostringstream out;
    if (!device.GetStatePath().empty())
        out << "State file: " << device.GetStatePath() << "\n";
    out << "Individual address: " << CDeviceStateFile::FormatIndividualAddress(device.GetIndividualAddress())
        << "\n";
    const CApplicationId& oId = device.GetApplicationId();
    out << Format("Application: manufacturer 0x%04x, device type 0x%04x, version 0x%02x\n",
                  unsigned{oId.GetManufacturer()}, unsigned{oId.GetDeviceType()}, unsigned{oId.GetVersion()});

    static const char* const s_machines[] = {"address table", "association table", "application program"};
    out << "Load states:\n";
    for (int nMachine = 1; nMachine <= 3; ++nMachine) {
        const BYTE nState = device.GetLoadState(nMachine);
        out << Format("  %d %-19s %s (%u)\n", nMachine, s_machines[nMachine - 1], LoadStateName(nState),
                      unsigned{nState});
    }

    out << Format("Tables: address table count %u, associations %u, objects %u\n",
                  unsigned{device.PeekMemory(CDeviceMemory::kAddressTable, 1)[0]},
                  unsigned{device.PeekMemory(CDeviceMemory::kAssociationTable, 1)[0]},
                  unsigned{device.PeekMemory(CDeviceMemory::kObjectTable, 1)[0]});
    if (options.m_bMemory) {
        using ERegion = CDeviceMemory::ERegion;
        WriteRegion(out, "Address table", device, ERegion::AddressTable);
        WriteRegion(out, "Association table", device, ERegion::AssociationTable);
        WriteRegion(out, "Object table", device, ERegion::ObjectTable);
        WriteRegion(out, "Parameters", device, ERegion::Parameters);
    }

    out << "Properties:\n";
    const std::vector<BYTE>& arrTime = device.GetDownloadTime();
    if (IsErased(arrTime) || arrTime.size() < 6)
        out << "  5/201 download time: never written\n";
    else
        out << Format("  5/201 download time: %02u:%02u:%02u %02u.%02u.%04u\n", unsigned{arrTime[0]},
                      unsigned{arrTime[1]}, unsigned{arrTime[2]}, unsigned{arrTime[3]}, unsigned{arrTime[4]},
                      2000u + arrTime[5]);
    const std::vector<BYTE>& arrStamp = device.GetDownloadStamp();
    if (IsErased(arrStamp))
        out << "  5/202 download stamp: never written\n";
    else
        out << "  5/202 download stamp: " << Hex(arrStamp.data(), arrStamp.size()) << "\n";

    if (options.m_bStatus) {
        const auto arrBlock = device.GetStatusBlock();
        out << "Status block 0xF0000: " << Hex(arrBlock.data(), arrBlock.size()) << "\n";
        out << Format("  clock: %s %02u.%02u.%04u %02u:%02u:%02u, %s\n", WeekdayName(arrBlock[3]),
                      unsigned{arrBlock[4]}, unsigned{arrBlock[5]}, 2000u + arrBlock[6], unsigned{arrBlock[0]},
                      unsigned{arrBlock[1]}, unsigned{arrBlock[2]}, (arrBlock[8] & 0x01) ? "set" : "not set");
        const int nTrim = (arrBlock[8] & 0x80) ? -static_cast<int>(arrBlock[7]) : arrBlock[7];
        out << Format("  trim: %+d s per month\n", nTrim);
        out << Format("  switching program: %s\n", (arrBlock[8] & 0x08) ? "running" : "stopped");
        out << Format("  day routine: %u (%s)\n", unsigned{arrBlock[9]}, RoutineSourceName(arrBlock[10]));
    }

    const CDeviceFaults& faults = device.GetFaults();
    if (faults.IsEmpty()) {
        out << "Faults: none\n";
    } else {
        out << "Faults:";
        if (faults.IsConnectionRefused())
            out << " connection refused;";
        if (faults.GetDeviceOpenError() != 0)
            out << " DeviceOpenError " << faults.GetDeviceOpenError() << ";";
        if (faults.GetFailCall() != 0)
            out << " calls from " << faults.GetFailCall() << " fail (" << faults.GetFailCallCount() << ");";
        for (int nMachine = 1; nMachine <= 3; ++nMachine) {
            if (faults.IsLoadStateStuck(nMachine))
                out << " machine " << nMachine << " stuck;";
        }
        if (faults.GetForeignApplication())
            out << Format(" foreign application manufacturer 0x%04x;",
                          unsigned{faults.GetForeignApplication()->GetManufacturer()});
        out << "\n";
    }
    out << "Bus time, last connection: " << BusTimeText(device.GetLastSessionBusTime()) << "\n";
    out << "Bus time, all connections: " << BusTimeText(device.GetTotalBusTime()) << "\n";
    return out.str();
}

}  // namespace platform
