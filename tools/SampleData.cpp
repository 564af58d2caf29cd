#include "tools/SampleData.h"

#include "app/Chronoset.h"
#include "model/DayRoutine.h"
#include "model/DaySwitchTime.h"
#include "model/Float16Value.h"
#include "model/GroupDataAddress.h"
#include "model/Quantity.h"
#include "model/QuantityMember.h"
#include "platform/base/LocalTime.h"

#include <ctime>
#include <string>
#include <vector>

namespace {

constexpr DptType kSwitch {1, 2};
constexpr DptType kPercent {5, 1};
constexpr DptType kFloat {9, 0};

// A group address appended to one of the lists; standalone sets give each
// address a host id of their own, as the editors do, so that the records
// that refer to it find it again.
CGroupDataAddress* AddAddress(CChronoset& set, bool bInvalid, const std::string& strName, int nMain, int nMiddle,
                              int nSub, DptType type, LONG nReference)
{
    CGroupDataAddress* pAddress = set.GetGroupDataAddresses()->CreateGroupAddress(bInvalid);
    pAddress->SetName(strName);
    pAddress->SetAddress((nMain & 0xF) << 12 | (nMiddle & 0xF) << 8 | (nSub & 0xFF));
    pAddress->SetType(type);
    pAddress->SetReference(nReference);
    return pAddress;
}

// A clock address: owned by the clock, not listed.
CGroupDataAddress* ClockAddress(const std::string& strName, int nMain, int nMiddle, int nSub, DptType type)
{
    auto* pAddress = new CGroupDataAddress;
    pAddress->SetName(strName);
    pAddress->SetAddress((nMain & 0xF) << 12 | (nMiddle & 0xF) << 8 | (nSub & 0xFF));
    pAddress->SetType(type);
    return pAddress;
}

CDaySwitchTime* AddSwitchTime(CDayRoutine* pRoutine, int nHour, int nMinute, CGroupDataAddress* pAddress,
                              DWORD dwValue, bool bSendOnChange = false)
{
    CDaySwitchTime* pTime = pRoutine->AddSwitchTime(nullptr);
    pTime->SetHour(static_cast<WORD>(nHour));
    pTime->SetMinute(static_cast<WORD>(nMinute));
    pTime->SetGroupAddress(pAddress);
    pTime->SetValue({dwValue});
    pTime->SetSendOnChange(bSendOnChange ? 1 : 0);
    return pTime;
}

CQuantityMember* AddMember(CQuantity* pQuantity, CGroupDataAddress* pAddress, WORD wValue, int nRange,
                           bool bSendOnChange = false)
{
    CQuantityMember* pMember = pQuantity->CreateMember();
    pMember->SetGroupAddress(pAddress);
    pMember->SetValues(wValue, bSendOnChange, nRange);
    return pMember;
}

// A 2-byte float as the editors store it: the word and, beside it, the
// exponent its encoding chose, so that the dialogs offer the value as stored.
struct Float16
{
    WORD wValue;
    BYTE nExponent;
};

Float16 Temperature(double dValue)
{
    CFloat16Value value;
    value.SetValue(dValue);
    return {static_cast<WORD>(value.GetHighByte() << 8 | value.GetLowByte()), static_cast<BYTE>(value.GetExponent())};
}

void AddSwitchTime(CDayRoutine* pRoutine, int nHour, int nMinute, CGroupDataAddress* pAddress, Float16 value,
                   bool bSendOnChange = false)
{
    AddSwitchTime(pRoutine, nHour, nMinute, pAddress, value.wValue, bSendOnChange)->SetExponent(value.nExponent);
}

void AddMember(CQuantity* pQuantity, CGroupDataAddress* pAddress, Float16 value, int nRange,
               bool bSendOnChange = false)
{
    AddMember(pQuantity, pAddress, value.wValue, nRange, bSendOnChange)->SetExponent(value.nExponent);
}

// The nth of a run of values that the editors offer for the address's type
// (the largest set uses three): 2-byte floats step by half a degree from
// 15.0 on, each with the exponent its encoding chose, so the dialogs show
// the value as stored; 1-byte ones count up to 100, 1-bit ones alternate.
Float16 ValueFor(const CGroupDataAddress* pAddress, int n)
{
    switch (pAddress->GetObjectType()) {
    case 9:
        return Temperature(15.0 + (n % 20) * 0.5);
    case 5:
        return {static_cast<WORD>(n % 101), 3};
    default:
        return {static_cast<WORD>(n % 2), 3};
    }
}

void AddSpecialDay(CChronoset& set, std::tm start, std::tm end, CDayRoutine* pRoutine)
{
    CSpecialDay* pDay = set.GetSpecialDays()->CreateSpecialDay();
    pDay->SetStartTime(start);
    pDay->SetEndTime(end);
    pDay->SetDayRoutine(pRoutine);
}

void AddSummertime(CChronoset& set, int nYear, int nStartDay, int nEndDay)
{
    CSummertime* pPeriod = set.GetSummertimes()->CreateSummertime();
    pPeriod->SetStartTime(platform::BuildLocalFields(nYear, 3, nStartDay, 2, 0));
    pPeriod->SetEndTime(platform::BuildLocalFields(nYear, 10, nEndDay, 3, 0));
    pPeriod->SetShift(1);
}

}  // namespace

void BuildSampleParameterSet(CChronoset& set)
{
    // The simulated device's own address, so the sample downloads into it.
    set.m_nIndividualAddress = 0x1101;  // 1.1.1
    set.m_strDeviceName = "Zeitschaltuhr Verteiler EG";
    set.m_strDeviceDescription = "Hauptverteilung Erdgeschoss";
    set.m_strManufacturerName = "Vek";
    set.m_strDeviceTitle = "ORV/X Jahreszeitschaltuhr";
    set.m_strApplicationName = "Tavik Zeitschaltuhr 2.1";
    set.m_nManufacturerId = 2;
    set.m_nDeviceType = 0x2101;
    set.m_nApplicationVersion = 0x21;
    set.SetDeviceComment("Musteranlage Büro");
    set.SetSendDelay(2);

    // Group addresses: 1/x lighting, 2/x heating, 3/x building state.
    CGroupDataAddress* pHallway = AddAddress(set, false, "Flur Licht", 1, 0, 1, kSwitch, 1001);
    CGroupDataAddress* pKitchen = AddAddress(set, false, "Küche Licht", 1, 0, 2, kSwitch, 1002);
    CGroupDataAddress* pOutdoor = AddAddress(set, false, "Außenbeleuchtung", 1, 1, 1, kSwitch, 1003);
    CGroupDataAddress* pBlinds = AddAddress(set, false, "Jalousien Süd Position", 1, 2, 1, kPercent, 1004);
    CGroupDataAddress* pSetpoint = AddAddress(set, false, "Wohnzimmer Sollwert", 2, 0, 1, kFloat, 1005);
    CGroupDataAddress* pBathSetpoint = AddAddress(set, false, "Bad Sollwert", 2, 0, 2, kFloat, 1006);
    CGroupDataAddress* pPresence = AddAddress(set, false, "Anwesenheit", 3, 0, 1, kSwitch, 1007);
    CGroupDataAddress* pBrightness = AddAddress(set, false, "Helligkeit außen", 3, 0, 2, kPercent, 1008);
    CGroupDataAddress* pHoliday = AddAddress(set, false, "Feiertagsbetrieb", 3, 0, 3, kSwitch, 1009);
    AddAddress(set, false, "Reserve", 3, 7, 0, kSwitch, 1010);

    // The clock follows the bus time and answers the lock object.
    CInternalClock* pClock = set.GetInternalClock();
    pClock->SetMode(0);
    pClock->SetTimeGroupAddress(ClockAddress("Uhrzeit", 0, 0, 1, {10, 1}));
    pClock->SetDateGroupAddress(ClockAddress("Datum", 0, 0, 2, {11, 1}));
    pClock->SetRequestGroupAddress(ClockAddress("Uhrzeit anfordern", 0, 0, 3, kSwitch));
    pClock->SetLockGroupAddress(ClockAddress("Zeitprogramm sperren", 0, 0, 4, kSwitch));
    pClock->SetInactiveTime(5, 30);
    pClock->SetLockPolarity(1);

    CDayRoutines* pRoutines = set.GetDayRoutines();
    CDayRoutine* pWorkday = pRoutines->CreateDayRoutine();
    pWorkday->SetName("Arbeitstag");
    pWorkday->SetTriggerGroupAddress(pPresence);
    AddSwitchTime(pWorkday, 6, 30, pHallway, 1);
    AddSwitchTime(pWorkday, 6, 45, pSetpoint, Temperature(21.0));
    AddSwitchTime(pWorkday, 7, 0, pBlinds, 0);
    AddSwitchTime(pWorkday, 12, 0, pKitchen, 1, true);
    AddSwitchTime(pWorkday, 18, 15, pOutdoor, 1);
    AddSwitchTime(pWorkday, 22, 0, pHallway, 0);
    AddSwitchTime(pWorkday, 22, 30, pSetpoint, Temperature(18.0));

    CDayRoutine* pWeekend = pRoutines->CreateDayRoutine();
    pWeekend->SetName("Wochenende");
    AddSwitchTime(pWeekend, 8, 0, pSetpoint, Temperature(21.0));
    AddSwitchTime(pWeekend, 8, 0, pBathSetpoint, Temperature(22.0));
    AddSwitchTime(pWeekend, 9, 30, pBlinds, 128);
    AddSwitchTime(pWeekend, 23, 0, pOutdoor, 0);

    CDayRoutine* pHolidayRoutine = pRoutines->CreateDayRoutine();
    pHolidayRoutine->SetName("Feiertag");
    pHolidayRoutine->SetTriggerGroupAddress(pHoliday);
    AddSwitchTime(pHolidayRoutine, 9, 0, pSetpoint, Temperature(21.0));
    AddSwitchTime(pHolidayRoutine, 23, 30, pSetpoint, Temperature(18.0));

    CWeekRoutine* pWeek = set.GetWeekRoutine();
    for (int nDay = 0; nDay < 5; ++nDay)
        pWeek->SetDayRoutine(nDay, pWorkday);
    pWeek->SetDayRoutine(5, pWeekend);
    pWeek->SetDayRoutine(6, pWeekend);

    AddSpecialDay(set, platform::BuildLocalFields(2025, 12, 24, 0, 0), platform::BuildLocalFields(2025, 12, 26, 23, 59), pHolidayRoutine);
    AddSpecialDay(set, platform::BuildLocalFields(2025, 12, 31, 12, 0), platform::BuildLocalFields(2026, 1, 1, 23, 59), pHolidayRoutine);
    AddSpecialDay(set, platform::BuildLocalFields(2026, 4, 3, 0, 0), platform::BuildLocalFields(2026, 4, 6, 23, 59), pWeekend);
    AddSpecialDay(set, platform::BuildLocalFields(2026, 5, 1, 0, 0), platform::BuildLocalFields(2026, 5, 1, 23, 59), pHolidayRoutine);

    set.GetSummertimes()->SetEnabled(1);
    AddSummertime(set, 2025, 30, 26);
    AddSummertime(set, 2026, 29, 25);
    AddSummertime(set, 2027, 28, 31);

    CQuantities* pQuantities = set.GetQuantities();
    CQuantity* pDaylight = pQuantities->CreateQuantity();
    pDaylight->SetName("Dämmerung");
    pDaylight->SetType(kPercent);
    pDaylight->SetRangeA(20);
    pDaylight->SetRangeB(60);
    pDaylight->SetCondition(1);
    pDaylight->AddTriggerGroupAddress(pBrightness, true);
    AddMember(pDaylight, pOutdoor, 1, 0);
    AddMember(pDaylight, pOutdoor, 0, 1);
    AddMember(pDaylight, pBlinds, 200, 0, true);

    CQuantity* pAway = pQuantities->CreateQuantity();
    pAway->SetName("Abwesenheit");
    pAway->SetType(kSwitch);
    pAway->SetRangeA(0);
    pAway->SetRangeB(1);
    pAway->SetColdStart(1);
    pAway->SetInitValue(1);
    CGroupDataAddress* pAwayTrigger = AddAddress(set, false, "Alarmanlage scharf", 3, 1, 1, kSwitch, 1011);
    pAway->AddTriggerGroupAddress(pAwayTrigger, false);
    AddMember(pAway, pHallway, 0, 1);
    AddMember(pAway, pKitchen, 0, 1);
    AddMember(pAway, pBathSetpoint, Temperature(17.0), 1);

    DWORD nCount = 0;
    set.CountAssociations(nCount);
}

void BuildMaximalParameterSet(CChronoset& set)
{
    // Every value one the editors offer; the simulated device's address, so
    // that the set downloads into it as it stands.
    set.m_nIndividualAddress = 0x1101;  // 1.1.1
    set.m_strDeviceName = std::string(200, 'N');
    set.m_strDeviceDescription = std::string(300, 'D');
    set.m_strManufacturerName = "Vek";
    set.m_strDeviceTitle = "ORV/X Jahreszeitschaltuhr";
    set.m_strApplicationName = "Tavik Zeitschaltuhr 2.1";
    set.m_nManufacturerId = 2;
    set.m_nDeviceType = 0x2101;
    set.m_nApplicationVersion = 0x21;
    set.SetDeviceComment(std::string(40, 'K'));
    set.SetSendDelay(5);  // "0,5 s", the longest the clock form offers

    const int nCapacity = CGroupDataAddresses::GetMaxCount();
    std::vector<CGroupDataAddress*> arrValid;
    std::vector<CGroupDataAddress*> arrInvalid;
    for (int i = 0; i < nCapacity; ++i) {
        // 15 day-routine triggers, 30 quantity triggers, the rest switched.
        const DptType type = i < 15 ? kSwitch : i < 45 ? kPercent : (i % 3 == 0 ? kFloat : i % 3 == 1 ? kSwitch : kPercent);
        arrValid.push_back(AddAddress(set, false, "Gruppenadresse " + std::to_string(i) + " mit längerem Namen",
                                      1 + i / 256, (i / 16) % 8, i % 256, type, 10000 + i));
        arrInvalid.push_back(AddAddress(set, true, "Verwaiste Adresse " + std::to_string(i), 9, 7, i % 256,
                                        i % 2 ? kSwitch : kPercent, 20000 + i));
    }
    std::vector<CGroupDataAddress*> arrSwitched(arrValid.begin() + 45, arrValid.end());
    arrSwitched.insert(arrSwitched.end(), arrInvalid.begin(), arrInvalid.end());

    CInternalClock* pClock = set.GetInternalClock();
    pClock->SetMode(4);
    pClock->SetSendHour(3);
    pClock->SetSendMinute(15);
    pClock->SetTimeGroupAddress(ClockAddress("Uhrzeit", 0, 0, 1, {10, 1}));
    pClock->SetDateGroupAddress(ClockAddress("Datum", 0, 0, 2, {11, 1}));
    pClock->SetRequestGroupAddress(ClockAddress("Uhrzeit anfordern", 0, 0, 3, kSwitch));
    pClock->SetLockGroupAddress(ClockAddress("Zeitprogramm sperren", 0, 0, 4, kSwitch));
    pClock->SetInactiveTime(59, 59);

    CDayRoutines* pRoutines = set.GetDayRoutines();
    std::vector<CDayRoutine*> arrRoutines;
    for (int n = 0; n < CDayRoutines::kMaxDayRoutines; ++n) {
        CDayRoutine* pRoutine = pRoutines->CreateDayRoutine();
        pRoutine->SetName("Tagesablauf " + std::to_string(n + 1));
        pRoutine->SetTriggerGroupAddress(arrValid[static_cast<std::size_t>(n)]);
        arrRoutines.push_back(pRoutine);
    }
    for (int i = 0; i < CDayRoutines::kMaxSwitchTimes; ++i) {
        CGroupDataAddress* pAddress = arrSwitched[static_cast<std::size_t>(i) % arrSwitched.size()];
        AddSwitchTime(arrRoutines[static_cast<std::size_t>(i) % arrRoutines.size()], (i / 15) % 24, (i * 7) % 60,
                      pAddress, ValueFor(pAddress, i), i % 5 == 0);
    }
    for (int nDay = 0; nDay < CWeekRoutine::kDays; ++nDay)
        set.GetWeekRoutine()->SetDayRoutine(nDay, arrRoutines[static_cast<std::size_t>(nDay)]);

    // One period of two days a month, so none overlaps another.
    for (int i = 0; i < CSpecialDays::kMaxSpecialDays; ++i)
        AddSpecialDay(set, platform::BuildLocalFields(2025 + i / 12, 1 + i % 12, 1 + i % 27, 0, 0),
                      platform::BuildLocalFields(2025 + i / 12, 1 + i % 12, 2 + i % 27, 23, 59),
                      arrRoutines[static_cast<std::size_t>(i) % arrRoutines.size()]);
    for (int i = 0; i < CSummertimes::kMaxSummertimes; ++i)
        AddSummertime(set, 2025 + i, 25 + i % 7, 25 + i % 7);

    CQuantities* pQuantities = set.GetQuantities();
    for (int n = 0; n < CQuantities::kMaxCount; ++n) {
        CQuantity* pQuantity = pQuantities->CreateQuantity();
        pQuantity->SetName("Menge " + std::to_string(n + 1));
        pQuantity->SetType(kPercent);
        pQuantity->SetRangeA(static_cast<WORD>(10 + n));
        pQuantity->SetRangeB(static_cast<WORD>(60 + n));
        pQuantity->SetCondition(n % 3);
        pQuantity->AddTriggerGroupAddress(arrValid[15 + static_cast<std::size_t>(n)], n % 2 == 0);
        for (int m = 0; m < CQuantities::kMaxMembers / CQuantities::kMaxCount; ++m) {
            CGroupDataAddress* pAddress = arrValid[45 + static_cast<std::size_t>(n * 10 + m) % 205];
            AddMember(pQuantity, pAddress, ValueFor(pAddress, n + m), m % 2, m % 3 == 0);
        }
    }

    DWORD nCount = 0;
    set.CountAssociations(nCount);
}
