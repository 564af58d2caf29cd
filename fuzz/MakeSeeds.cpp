// Writes the seed corpus of the fuzz targets into <dir>/<target>/: the
// sample, a small and the full parameter set as data files, and their
// parameter texts as each data set writes them for the host; and the seeds
// of the file readers (MakeFileSeeds.cpp).
//
//   fuzz_make_seeds <dir> <samples dir>

#include "app/Chronoset.h"
#include "fuzz/MakeFileSeeds.h"
#include "model/DayRoutine.h"
#include "model/DaySwitchTime.h"
#include "model/Quantity.h"
#include "model/QuantityMember.h"
#include "common/Globals.h"
#include "platform/archive/Archive.h"
#include "tools/SampleData.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

void WriteSeed(const std::filesystem::path& dir, const std::string& strName, const std::string& strBytes)
{
    std::filesystem::create_directories(dir);
    std::ofstream(dir / strName, std::ios::binary) << strBytes;
}

std::string Hex(const char* pszFormat, unsigned n)
{
    char sz[16];
    std::snprintf(sz, sizeof sz, pszFormat, n);
    return sz;
}

void WriteSeeds(const std::filesystem::path& root, const std::string& strName, CChronoset& set)
{
    g_pChronoset = &set;
    CArchive ar;
    set.StoreToArchive(ar, nullptr);
    WriteSeed(root / "data_file", strName, std::string(ar.GetBuffer().begin(), ar.GetBuffer().end()));

    std::string strAddresses;
    for (bool bInvalid : {false, true}) {
        GaPosition pos = set.GetGroupDataAddresses()->GetFirstPosByUsage(GAU_ANY, bInvalid);
        for (int n = 0; pos && n < 2; ++n)
            strAddresses += set.GetGroupDataAddresses()->GetNextItemByUsage(pos, GAU_ANY, bInvalid)->ToHexString();
    }
    WriteSeed(root / "group_addresses", strName, strAddresses);
    WriteSeed(root / "internal_clock", strName, set.GetInternalClock()->BuildParameterText());
    WriteSeed(root / "week_routine", strName, set.GetWeekRoutine()->BuildParameterText());
    WriteSeed(root / "summertimes", strName, set.GetSummertimes()->BuildParameterText());

    std::string strDays;
    int nDays = 0;
    for (const CSpecialDay* pDay : set.GetSpecialDays()->GetSpecialDays())
        if (nDays++ < CSpecialDays::kDaysPerParameter)
            strDays += pDay->GetParameterString();
    WriteSeed(root / "special_days", strName, strDays);

    // "DayRoutines": used flag, trigger reference low and high word,
    // invalid flag per routine; then one switching-time parameter.
    std::string strRoutines(15 * 12, '0');
    std::string strTimes;
    for (const CDayRoutine* pRoutine : set.GetDayRoutines()->GetDayRoutines()) {
        const CGroupDataAddress* pTrigger = pRoutine->GetTriggerGroupAddress();
        const auto nReference = static_cast<unsigned>(pTrigger ? pTrigger->GetReference() : -1);
        strRoutines.replace(static_cast<std::size_t>(pRoutine->GetNumber() - 1) * 12, 12,
                            "01" + Hex("%04x", nReference & 0xFFFF) + Hex("%04x", nReference >> 16) +
                                (pTrigger && pTrigger->IsInvalid() ? "01" : "00"));
        for (const CDaySwitchTime* pTime : pRoutine->GetSwitchTimes())
            if (strTimes.size() < 10 * 20)
                strTimes += pTime->ToHexString(pRoutine->GetNumber());
    }
    WriteSeed(root / "day_routines", strName, strRoutines + "\n" + strTimes);

    std::string strQuantities;
    std::string strMembers;
    for (const CQuantity* pQuantity : set.GetQuantities()->GetQuantityList()) {
        if (strQuantities.size() < 5 * CQuantity::kParameterLength)
            strQuantities += pQuantity->ToParameterString();
        for (const CQuantityMember* pMember : pQuantity->GetMembers())
            if (strMembers.size() < 12 * CQuantityMember::kParameterLength)
                strMembers += pMember->GetParameterString();
    }
    WriteSeed(root / "quantities", strName, strQuantities + "\n\n" + strMembers);
    g_pChronoset = nullptr;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <corpus dir> <samples dir>\n", argv[0]);
        return 2;
    }
    g_bStandalone = true;
    const std::filesystem::path root = argv[1];
    {
        CChronoset set;
        BuildSampleParameterSet(set);
        WriteSeeds(root, "sample", set);
    }
    {
        CChronoset set;
        BuildMaximalParameterSet(set);
        WriteSeeds(root, "full", set);
    }
    {
        CChronoset set;
        WriteSeeds(root, "empty", set);
    }
    WriteFileSeeds(root, argv[2]);
    return 0;
}
