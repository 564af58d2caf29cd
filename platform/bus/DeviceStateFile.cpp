#include "platform/bus/DeviceStateFile.h"

#include "platform/base/AtomicFile.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>

using json = nlohmann::ordered_json;

namespace {

const char* const kFormat = "simulated-knx-device";

// Thrown inside FromText only: the place in the file and what was expected
// there, as "application.manufacturer: expected an integer from 0 to 65535".
struct CBadValue
{
    std::string m_strReason;
};

[[noreturn]] void RefuseValue(const std::string& strPlace, const std::string& strExpected)
{
    throw CBadValue{(strPlace.empty() ? std::string("the file") : strPlace) + ": expected " + strExpected};
}

std::string KeyPlace(const std::string& strParent, const std::string& strKey)
{
    return strParent.empty() ? strKey : strParent + "." + strKey;
}

// The value at the key, null when the key is missing: every reading below
// refuses null where it wants a value, naming what it wanted.
const json& Find(const json& object, const char* pszKey)
{
    static const json s_missing;
    auto it = object.find(pszKey);
    return it == object.end() ? s_missing : *it;
}

const json& ObjectMember(const json& object, const std::string& strParent, const char* pszKey)
{
    const json& v = Find(object, pszKey);
    if (!v.is_object())
        RefuseValue(KeyPlace(strParent, pszKey), "an object");
    return v;
}

template <class T>
T RangedValue(const json& v, const std::string& strPlace, long long nMin, long long nMax)
{
    const auto refuse = [&] {
        RefuseValue(strPlace, "an integer from " + std::to_string(nMin) + " to " + std::to_string(nMax));
    };
    if (!v.is_number_integer())
        refuse();
    // A number above the signed 64-bit range would come out negative.
    if (v.is_number_unsigned() && v.get<unsigned long long>() > static_cast<unsigned long long>(nMax))
        refuse();
    const long long n = v.get<long long>();
    if (n < nMin || n > nMax)
        refuse();
    return static_cast<T>(n);
}

template <class T>
T Ranged(const json& object, const std::string& strParent, const char* pszKey, long long nMin, long long nMax)
{
    return RangedValue<T>(Find(object, pszKey), KeyPlace(strParent, pszKey), nMin, nMax);
}

bool Flag(const json& object, const std::string& strParent, const char* pszKey)
{
    const json& v = Find(object, pszKey);
    if (!v.is_boolean())
        RefuseValue(KeyPlace(strParent, pszKey), "true or false");
    return v.get<bool>();
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

// Exactly nSize bytes, two hex digits each.
std::vector<BYTE> HexMember(const json& object, const std::string& strParent, const std::string& strKey,
                            std::size_t nSize)
{
    const json& v = Find(object, strKey.c_str());
    const auto refuse = [&] {
        RefuseValue(KeyPlace(strParent, strKey), "a text of " + std::to_string(nSize * 2) + " hex digits");
    };
    if (!v.is_string() || v.get_ref<const std::string&>().size() != nSize * 2)
        refuse();
    const std::string& strText = v.get_ref<const std::string&>();
    std::vector<BYTE> arrBytes(nSize);
    for (std::size_t i = 0; i < nSize; ++i) {
        int hi = HexDigit(strText[2 * i]);
        int lo = HexDigit(strText[2 * i + 1]);
        if (hi < 0 || lo < 0)
            refuse();
        arrBytes[i] = static_cast<BYTE>(hi << 4 | lo);
    }
    return arrBytes;
}

json ApplicationToJson(const CApplicationId& oId)
{
    return json{{"manufacturer", oId.GetManufacturer()}, {"deviceType", oId.GetDeviceType()},
                {"version", oId.GetVersion()}};
}

CApplicationId ApplicationFromJson(const json& j, const std::string& strPlace)
{
    // One by one, in the file's order: arguments are read in no set order,
    // and the reason names the first key found wrong.
    const WORD nManufacturer = Ranged<WORD>(j, strPlace, "manufacturer", 0, 0xFFFF);
    const WORD nDeviceType = Ranged<WORD>(j, strPlace, "deviceType", 0, 0xFFFF);
    return CApplicationId(nManufacturer, nDeviceType, Ranged<BYTE>(j, strPlace, "version", 0, 0xFF));
}

json BusTimeToJson(const CBusTimeAccount& oAccount)
{
    return json{{"frames", oAccount.GetFrameCount()},
                {"characters", oAccount.GetCharacterCount()},
                {"bitTimes", oAccount.GetBitTimes()}};
}

void BusTimeFromJson(const json& j, const std::string& strPlace, CBusTimeAccount& oAccount)
{
    const ULONGLONG nFrames = Ranged<ULONGLONG>(j, strPlace, "frames", 0, kMaxLong);
    const ULONGLONG nCharacters = Ranged<ULONGLONG>(j, strPlace, "characters", 0, kMaxLong);
    oAccount.Restore(nFrames, nCharacters, Ranged<ULONGLONG>(j, strPlace, "bitTimes", 0, kMaxLong));
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

bool CDeviceStateFile::FromText(const std::string& strText, CDeviceState& oState, std::string* pstrReason)
{
    try {
        const json j = json::parse(strText);
        if (!j.is_object())
            RefuseValue("", "an object");
        if (Find(j, "format") != kFormat)
            RefuseValue("format", std::string("\"") + kFormat + "\"");
        if (Find(j, "version") != kVersion)
            RefuseValue("version", std::to_string(kVersion));
        CDeviceState state;
        // 0.0.0 is the address of no device: nothing would ever answer there.
        const json& address = Find(j, "individualAddress");
        if (!address.is_string() ||
            !ParseIndividualAddress(address.get_ref<const std::string&>(), state.m_nIndividualAddress) ||
            state.m_nIndividualAddress == 0)
            RefuseValue("individualAddress", "an individual address (area.line.device) from 0.0.1 to 15.15.255");
        state.m_oApplicationId = ApplicationFromJson(ObjectMember(j, "", "application"), "application");

        const json& states = Find(j, "loadStates");
        if (!states.is_array() || states.size() != 3)
            RefuseValue("loadStates", "a list of 3 load states");
        for (std::size_t i = 0; i < 3; ++i) {
            state.m_arrLoadStates[i].SetState(RangedValue<BYTE>(states[i], "loadStates[" + std::to_string(i) + "]",
                                                                0, CLoadStateMachine::Error));
        }

        const json& memory = ObjectMember(j, "", "memory");
        for (CDeviceMemory::ERegion eRegion : kStoredRegions)
            state.m_oMemory.SetRegion(
                eRegion, HexMember(memory, "memory", RegionKey(eRegion), CDeviceMemory::RegionSize(eRegion)));

        const json& properties = ObjectMember(j, "", "properties");
        state.m_arrDownloadTime = HexMember(properties, "properties", "5/201", CDeviceState::kDownloadTimeSize);
        state.m_arrDownloadStamp = HexMember(properties, "properties", "5/202", CDeviceState::kDownloadStampSize);

        // Times beyond the clock's span would overflow when it is read.
        const json& clock = ObjectMember(j, "", "clock");
        const LONGLONG nSpan = CSimulatedClock::kMaxStoredMs;
        const LONGLONG nBaseMs = Ranged<LONGLONG>(clock, "clock", "baseMs", -nSpan, nSpan);
        const BYTE nBaseWeekday = Ranged<BYTE>(clock, "clock", "baseWeekday", 1, 7);
        const LONGLONG nSetAtMs = Ranged<LONGLONG>(clock, "clock", "setAtMs", -nSpan, nSpan);
        const int nTrim = Ranged<int>(clock, "clock", "trim", -255, 255);
        if (!state.m_oClock.Restore(nBaseMs, nBaseWeekday, nSetAtMs, nTrim, Flag(clock, "clock", "set")))
            RefuseValue("clock", "a clock the device can run");

        const json& faults = ObjectMember(j, "", "faults");
        CDeviceFaults& f = state.m_oFaults;
        f.SetConnectionRefused(Flag(faults, "faults", "refuseConnection"));
        f.SetDeviceOpenError(Ranged<LONG>(faults, "faults", "deviceOpenError", -0x80000000LL, 0x7FFFFFFFLL));
        const DWORD nFailCall = Ranged<DWORD>(faults, "faults", "failCall", 0, 0xFFFFFFFFLL);
        f.SetFailCall(nFailCall, Ranged<DWORD>(faults, "faults", "failCallCount", 0, 0xFFFFFFFFLL));
        f.SetCallCount(Ranged<DWORD>(faults, "faults", "callCount", 0, 0xFFFFFFFFLL));
        const json& stuck = Find(faults, "stuckLoadStates");
        if (!stuck.is_array())
            RefuseValue("faults.stuckLoadStates", "a list of machines 1 to 3");
        for (std::size_t i = 0; i < stuck.size(); ++i)
            f.SetLoadStateStuck(RangedValue<int>(stuck[i], "faults.stuckLoadStates[" + std::to_string(i) + "]", 1, 3),
                                true);
        // Null is a value here: a missing key is still refused.
        const json& foreign = Find(faults, "foreignApplication");
        if (!faults.contains("foreignApplication") || !(foreign.is_null() || foreign.is_object()))
            RefuseValue("faults.foreignApplication", "an object or null");
        if (!foreign.is_null())
            f.SetForeignApplication(ApplicationFromJson(foreign, "faults.foreignApplication"));

        const json& busTime = ObjectMember(j, "", "busTime");
        BusTimeFromJson(ObjectMember(busTime, "busTime", "lastSession"), "busTime.lastSession",
                        state.m_oLastSessionBusTime);
        BusTimeFromJson(ObjectMember(busTime, "busTime", "total"), "busTime.total", state.m_oTotalBusTime);

        oState = std::move(state);
        return true;
    } catch (const json::parse_error& e) {
        if (pstrReason)
            *pstrReason = std::string("not a JSON text: ") + e.what();
    } catch (const json::exception& e) {
        if (pstrReason)
            *pstrReason = e.what();
    } catch (const CBadValue& e) {
        if (pstrReason)
            *pstrReason = e.m_strReason;
    }
    return false;
}

bool CDeviceStateFile::Save(const std::string& strPath, const CDeviceState& oState, std::string* pstrReason)
{
    if (platform::WriteFileAtomically(strPath, ToText(oState)))
        return true;
    // Taken at once: nothing after the writer may change errno first.
    if (pstrReason)
        *pstrReason = std::strerror(errno);
    return false;
}

bool CDeviceStateFile::Load(const std::string& strPath, CDeviceState& oState, std::string* pstrReason)
{
    auto oBytes = platform::ReadWholeFile(strPath);
    if (!oBytes) {
        // The reader's EINVAL is a pipe or a device in the file's place.
        if (pstrReason)
            *pstrReason = errno == EINVAL ? "not a regular file" : std::strerror(errno);
        return false;
    }
    return FromText(std::string(oBytes->begin(), oBytes->end()), oState, pstrReason);
}
