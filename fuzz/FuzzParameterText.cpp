// One data set's reader of its host parameter texts on arbitrary text; the
// reader is chosen when the target is built (FUZZ_READER_...). The central
// object holds a few group addresses and day routines, so that references
// in the text can meet something. A reader may refuse a text; it must not
// crash, hang or read outside the text.

#include "app/Chronoset.h"
#include "model/DayRoutine.h"
#include "common/Globals.h"
#include "platform/archive/Archive.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void Populate(CChronoset& set)
{
    const DptType types[] = {{1, 2}, {5, 1}, {9, 0}, {7, 1}};
    for (LONG n = 1; n <= 4; ++n) {
        CGroupDataAddress* p = set.GetGroupDataAddresses()->CreateGroupAddress(n == 4);
        p->SetReference(n);
        p->SetAddress(0x1000 + n);
        p->SetType(types[n - 1]);
    }
    for (int n = 0; n < 3; ++n)
        set.GetDayRoutines()->CreateDayRoutine();
    // The quantity readers name each quantity after its display-name
    // parameter.
    for (int n = 0; n < CQuantities::kDisplayNameParameters; ++n)
        set.GetQuantities()->AddDisplayNameParameter(100 + n, "Menge", n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    g_bStandalone = true;
    const std::string strText(reinterpret_cast<const char*>(pData), nSize);
    CChronoset set;
    g_pChronoset = &set;
    Populate(set);
#if defined(FUZZ_READER_GROUP_ADDRESSES)
    set.GetGroupDataAddresses()->InsertGroupAddressFromString(strText, false);
    set.GetGroupDataAddresses()->InsertGroupAddressFromString(strText, true);
    set.GetGroupDataAddresses()->AddGroupAddressParameter(1, strText, 0);
    set.GetGroupDataAddresses()->AddInvalidGroupAddressParameter(2, strText, 0);
    set.GetGroupDataAddresses()->LoadGroupAddressesFromEts(nullptr, nullptr);
#elif defined(FUZZ_READER_INTERNAL_CLOCK)
    set.GetInternalClock()->SetParameterText(1, strText);
    set.GetInternalClock()->CompleteEtsLoad(nullptr, nullptr);
#elif defined(FUZZ_READER_DAY_ROUTINES)
    set.GetDayRoutines()->RemoveAll();
    // The first line is the "DayRoutines" text, the rest one switching-time
    // parameter.
    const std::size_t nBreak = strText.find('\n');
    set.GetDayRoutines()->SetDayRoutineParameter(1, strText.substr(0, nBreak));
    set.GetDayRoutines()->AddSwitchTimeParameter(2, nBreak == std::string::npos ? "" : strText.substr(nBreak + 1), 0);
    set.GetDayRoutines()->LoadFromParameters(nullptr, nullptr);
    set.GetDayRoutines()->InsertSwitchTimesFromString(strText);
#elif defined(FUZZ_READER_WEEK_ROUTINE)
    set.GetWeekRoutine()->SetParameterText(1, strText);
    set.GetWeekRoutine()->CompleteEtsLoad(nullptr);
#elif defined(FUZZ_READER_SUMMERTIMES)
    set.GetSummertimes()->SetParameterText(1, strText);
    set.GetSummertimes()->CompleteEtsLoad(nullptr);
#elif defined(FUZZ_READER_SPECIAL_DAYS)
    set.GetSpecialDays()->InsertSpecialDayFromString(strText);
    set.GetSpecialDays()->AddParameter(1, strText, 0);
    set.GetSpecialDays()->CompleteEtsLoad(nullptr);
#elif defined(FUZZ_READER_QUANTITIES)
    // Lines: quantities, links, members.
    std::string arrParts[3];
    std::size_t nPart = 0;
    for (char ch : strText) {
        if (ch == '\n' && nPart < 2)
            ++nPart;
        else
            arrParts[nPart] += ch;
    }
    CQuantities* pQuantities = set.GetQuantities();
    pQuantities->InsertQuantitiesFromString(arrParts[0]);
    pQuantities->SetQuantityLinksFromString(arrParts[1]);
    pQuantities->InsertQuantityMembersFromString(arrParts[2]);
    CChronoset other;
    Populate(other);
    other.GetQuantities()->AddQuantityParameter(1, arrParts[0], 0);
    other.GetQuantities()->AddLinksParameter(2, arrParts[1], 0);
    other.GetQuantities()->AddMemberParameter(3, arrParts[2], 0);
    other.GetQuantities()->CompleteEtsLoad(nullptr);
#else
#error "no reader chosen"
#endif
    // Whatever was read must count and store cleanly.
    DWORD nCount = 0;
    set.CountAssociations(nCount);
    CArchive out;
    set.StoreToArchive(out, nullptr);
    g_pChronoset = nullptr;
    return 0;
}
