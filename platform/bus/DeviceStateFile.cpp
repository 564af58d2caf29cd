#include "platform/bus/DeviceStateFile.h"

#include "platform/base/AtomicFile.h"

#include <nlohmann/json.hpp>

#include <cstdio>

using json = nlohmann::ordered_json;

namespace {

const char* const kFormat = "simulated-knx-device";

// Thrown by Ranged inside FromText only, for a value of the wrong kind or
// out of range.
struct CBadValue
{
};

template <class T>
T Ranged(const json& v, long long nMin, long long nMax)
{
    if (!v.is_number_integer())
        throw CBadValue();
    long long n = v.get<long long>();
    if (v.is_number_unsigned() && v.get<unsigned long long>() > static_cast<unsigned long long>(nMax))
        throw CBadValue();
    if (n < nMin || n > nMax)
        throw CBadValue();
    return static_cast<T>(n);
}

constexpr long long kMaxLong = 0x7FFFFFFFFFFFFFFFLL;

std::string ToHex(const std::vector<BYTE>& arrBytes)
{
    static constexpr char s_szDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(arrBytes.size() * 2);
    for (BYTE b : arrBytes) {
        text += s_szDigits[b >> 4];
        text += s_szDigits[b & 0xF];
    }
    return text;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool FromHex(const std::string& strText, std::size_t nSize, std::vector<BYTE>& arrBytes)
{
    if (strText.size() != nSize * 2)
        return false;
    std::vector<BYTE> arrOut(nSize);
    for (std::size_t i = 0; i < nSize; ++i) {
        int hi = HexDigit(strText[2 * i]);
        int lo = HexDigit(strText[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        arrOut[i] = static_cast<BYTE>(hi << 4 | lo);
    }
    arrBytes = std::move(arrOut);
    return true;
}

json ApplicationToJson(const CApplicationId& oId)
{
    return json{{"manufacturer", oId.GetManufacturer()}, {"deviceType", oId.GetDeviceType()},
                {"version", oId.GetVersion()}};
}

CApplicationId ApplicationFromJson(const json& j)
{
    return CApplicationId(Ranged<WORD>(j.at("manufacturer"), 0, 0xFFFF),
                          Ranged<WORD>(j.at("deviceType"), 0, 0xFFFF), Ranged<BYTE>(j.at("version"), 0, 0xFF));
}

json BusTimeToJson(const CBusTimeAccount& oAccount)
{
    return json{{"frames", oAccount.GetFrameCount()},
                {"characters", oAccount.GetCharacterCount()},
                {"bitTimes", oAccount.GetBitTimes()}};
}

void BusTimeFromJson(const json& j, CBusTimeAccount& oAccount)
{
    oAccount.Restore(Ranged<ULONGLONG>(j.at("frames"), 0, kMaxLong),
                     Ranged<ULONGLONG>(j.at("characters"), 0, kMaxLong),
                     Ranged<ULONGLONG>(j.at("bitTimes"), 0, kMaxLong));
}

const CDeviceMemory::ERegion kStoredRegions[] = {
    CDeviceMemory::ERegion::AddressTable, CDeviceMemory::ERegion::AssociationTable,
    CDeviceMemory::ERegion::ObjectTable, CDeviceMemory::ERegion::Parameters};

std::string RegionKey(CDeviceMemory::ERegion eRegion)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04x", CDeviceMemory::RegionStart(eRegion));
    return buf;
}

}  // namespace

std::string CDeviceStateFile::FormatIndividualAddress(WORD nAddress)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%u.%u.%u", (nAddress >> 12) & 0xFu, (nAddress >> 8) & 0xFu, nAddress & 0xFFu);
    return buf;
}

bool CDeviceStateFile::ParseIndividualAddress(const std::string& strText, WORD& nAddress)
{
    // Digits and dots only, each number checked as it grows: a number past
    // the range is refused, never wrapped into another device's address.
    static constexpr unsigned s_nMax[] = {15, 15, 255};
    unsigned nParts[3] = {};
    std::size_t i = 0;
    for (int nPart = 0; nPart < 3; ++nPart) {
        if (nPart > 0 && (i >= strText.size() || strText[i++] != '.'))
            return false;
        const std::size_t nStart = i;
        for (; i < strText.size() && strText[i] >= '0' && strText[i] <= '9'; ++i) {
            nParts[nPart] = nParts[nPart] * 10 + static_cast<unsigned>(strText[i] - '0');
            if (nParts[nPart] > s_nMax[nPart])
                return false;
        }
        if (i == nStart)
            return false;
    }
    if (i != strText.size())
        return false;
    nAddress = static_cast<WORD>(nParts[0] << 12 | nParts[1] << 8 | nParts[2]);
    return true;
}

std::string CDeviceStateFile::ToText(const CDeviceState& oState)
{
    json j;
    j["format"] = kFormat;
    j["version"] = kVersion;
    j["individualAddress"] = FormatIndividualAddress(oState.m_nIndividualAddress);
    j["application"] = ApplicationToJson(oState.m_oApplicationId);
    json states = json::array();
    for (const CLoadStateMachine& lsm : oState.m_arrLoadStates)
        states.push_back(lsm.GetState());
    j["loadStates"] = states;
    json memory = json::object();
    for (CDeviceMemory::ERegion eRegion : kStoredRegions)
        memory[RegionKey(eRegion)] = ToHex(oState.m_oMemory.GetRegion(eRegion));
    j["memory"] = memory;
    j["properties"] = json{{"5/201", ToHex(oState.m_arrDownloadTime)}, {"5/202", ToHex(oState.m_arrDownloadStamp)}};
    const CSimulatedClock& clock = oState.m_oClock;
    j["clock"] = json{{"baseMs", clock.GetBaseMs()},
                      {"baseWeekday", clock.GetBaseWeekday()},
                      {"setAtMs", clock.GetSetAtMs()},
                      {"trim", clock.GetTrim()},
                      {"set", clock.IsSet()}};
    const CDeviceFaults& faults = oState.m_oFaults;
    json stuck = json::array();
    for (int m = 1; m <= 3; ++m) {
        if (faults.IsLoadStateStuck(m))
            stuck.push_back(m);
    }
    j["faults"] = json{{"refuseConnection", faults.IsConnectionRefused()},
                       {"deviceOpenError", faults.GetDeviceOpenError()},
                       {"failCall", faults.GetFailCall()},
                       {"failCallCount", faults.GetFailCallCount()},
                       {"callCount", faults.GetCallCount()},
                       {"stuckLoadStates", stuck},
                       {"foreignApplication", faults.GetForeignApplication()
                                                  ? ApplicationToJson(*faults.GetForeignApplication())
                                                  : json(nullptr)}};
    j["busTime"] = json{{"lastSession", BusTimeToJson(oState.m_oLastSessionBusTime)},
                        {"total", BusTimeToJson(oState.m_oTotalBusTime)}};
    return j.dump(2) + "\n";
}

bool CDeviceStateFile::FromText(const std::string& strText, CDeviceState& oState)
{
    json j = json::parse(strText, nullptr, false);
    if (j.is_discarded() || !j.is_object())
        return false;
    try {
        if (j.at("format").get<std::string>() != kFormat || j.at("version").get<int>() != kVersion)
            return false;
        CDeviceState state;
        if (!ParseIndividualAddress(j.at("individualAddress").get<std::string>(), state.m_nIndividualAddress))
            return false;
        state.m_oApplicationId = ApplicationFromJson(j.at("application"));

        const json& states = j.at("loadStates");
        if (!states.is_array() || states.size() != 3)
            return false;
        for (std::size_t i = 0; i < 3; ++i) {
            state.m_arrLoadStates[i].SetState(Ranged<BYTE>(states[i], 0, CLoadStateMachine::Error));
        }

        const json& memory = j.at("memory");
        for (CDeviceMemory::ERegion eRegion : kStoredRegions) {
            std::vector<BYTE> arrBytes;
            if (!FromHex(memory.at(RegionKey(eRegion)).get<std::string>(), CDeviceMemory::RegionSize(eRegion),
                         arrBytes))
                return false;
            state.m_oMemory.SetRegion(eRegion, arrBytes);
        }

        const json& properties = j.at("properties");
        if (!FromHex(properties.at("5/201").get<std::string>(), CDeviceState::kDownloadTimeSize,
                     state.m_arrDownloadTime) ||
            !FromHex(properties.at("5/202").get<std::string>(), CDeviceState::kDownloadStampSize,
                     state.m_arrDownloadStamp))
            return false;

        const json& clock = j.at("clock");
        if (!state.m_oClock.Restore(Ranged<LONGLONG>(clock.at("baseMs"), -kMaxLong, kMaxLong),
                                    Ranged<BYTE>(clock.at("baseWeekday"), 1, 7),
                                    Ranged<LONGLONG>(clock.at("setAtMs"), -kMaxLong, kMaxLong),
                                    Ranged<int>(clock.at("trim"), -255, 255), clock.at("set").get<bool>()))
            return false;

        const json& faults = j.at("faults");
        CDeviceFaults& f = state.m_oFaults;
        f.SetConnectionRefused(faults.at("refuseConnection").get<bool>());
        f.SetDeviceOpenError(Ranged<LONG>(faults.at("deviceOpenError"), -0x80000000LL, 0x7FFFFFFFLL));
        f.SetFailCall(Ranged<DWORD>(faults.at("failCall"), 0, 0xFFFFFFFFLL),
                      Ranged<DWORD>(faults.at("failCallCount"), 0, 0xFFFFFFFFLL));
        f.SetCallCount(Ranged<DWORD>(faults.at("callCount"), 0, 0xFFFFFFFFLL));
        const json& stuck = faults.at("stuckLoadStates");
        if (!stuck.is_array())
            return false;
        for (const json& m : stuck)
            f.SetLoadStateStuck(Ranged<int>(m, 1, 3), true);
        const json& foreign = faults.at("foreignApplication");
        if (!foreign.is_null())
            f.SetForeignApplication(ApplicationFromJson(foreign));

        const json& busTime = j.at("busTime");
        BusTimeFromJson(busTime.at("lastSession"), state.m_oLastSessionBusTime);
        BusTimeFromJson(busTime.at("total"), state.m_oTotalBusTime);

        oState = std::move(state);
        return true;
    } catch (const json::exception&) {
        return false;
    } catch (const CBadValue&) {
        return false;
    }
}

bool CDeviceStateFile::Save(const std::string& strPath, const CDeviceState& oState)
{
    return platform::WriteFileAtomically(strPath, ToText(oState));
}

bool CDeviceStateFile::Load(const std::string& strPath, CDeviceState& oState)
{
    auto oBytes = platform::ReadWholeFile(strPath);
    if (!oBytes)
        return false;
    return FromText(std::string(oBytes->begin(), oBytes->end()), oState);
}
