// make-sample-data run as a user runs it: the largest set it writes is the
// one the benchmarks build, survives load and store byte for byte, and
// holds only values the editors offer, as does the sample.

#include "app/Chronoset.h"
#include "model/DayRoutine.h"
#include "model/DaySwitchTime.h"
#include "model/Float16Value.h"
#include "model/Quantity.h"
#include "model/QuantityMember.h"
#include "model/Utils.h"
#include "platform/base/AtomicFile.h"
#include "tests/support/StandaloneGlobals.h"
#include "tools/SampleData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

class MakeSampleDataTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const std::string strCommand = std::string(MAKE_SAMPLE_DATA_PATH) + " " + Sample() + " --largest " + Largest();
        std::filesystem::create_directories(Dir());
        s_nStatus = std::system(strCommand.c_str());
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(Dir()); }
    void SetUp() override { ASSERT_TRUE(WIFEXITED(s_nStatus) && WEXITSTATUS(s_nStatus) == 0) << s_nStatus; }

    static std::string Dir() { return "/tmp/make-sample-data-test-" + std::to_string(::getpid()); }
    static std::string Sample() { return Dir() + "/sample.tv2"; }
    static std::string Largest() { return Dir() + "/largest.tv2"; }
    static Bytes Read(const std::string& strPath) { return platform::ReadWholeFile(strPath).value_or(Bytes {}); }
    static Bytes Store(CChronoset& set, const std::string& strPath)
    {
        g_pChronoset = &set;
        EXPECT_EQ(set.SaveToFile(strPath, nullptr), 1);
        return Read(strPath);
    }

    static inline int s_nStatus = -1;
    testsupport::CStandaloneGlobals m_globals;
};

// A calendar value as one number that orders as the calendar does.
long Minutes(const std::tm& tm)
{
    return ((((tm.tm_year * 12L + tm.tm_mon) * 31 + tm.tm_mday) * 24 + tm.tm_hour) * 60) + tm.tm_min;
}

// What the value dialogs keep as it is: a value in its type's range and, for
// a 2-byte float, the encoding that its stored exponent gives.
void ExpectOffered(const CGroupDataAddress* pAddress, WORD wValue, BYTE nExponent, const std::string& strWhat)
{
    ASSERT_NE(pAddress, nullptr) << strWhat;
    const int nType = pAddress->GetObjectType();
    const double dValue = DecodeDptValue(nType, wValue);
    EXPECT_GE(dValue, GetDptMinValue(nType)) << strWhat;
    EXPECT_LE(dValue, GetDptMaxValue(nType)) << strWhat;
    if (nType == 9) {
        CFloat16Value reencoded;
        reencoded.SetExponent(nExponent);
        reencoded.SetFixedExponentMode(1);
        reencoded.SetValue(dValue);
        EXPECT_EQ(reencoded.GetWord(), wValue) << strWhat << " with exponent " << int(nExponent);
    }
}

void ExpectEveryValueOffered(const CChronoset& set)
{
    EXPECT_LE(set.GetSendDelay(), 5);  // "normal" .. "0,5 s"
    for (const CDayRoutine* pRoutine : set.GetDayRoutines()->GetDayRoutines())
        for (const CDaySwitchTime* pTime : pRoutine->GetSwitchTimes())
            ExpectOffered(pTime->GetGroupAddress(), static_cast<WORD>(pTime->GetValue().dwValue),
                          pTime->GetExponent(), pRoutine->GetName());
    for (const CQuantity* pQuantity : set.GetQuantities()->GetQuantityList())
        for (const CQuantityMember* pMember : pQuantity->GetMembers())
            ExpectOffered(pMember->GetGroupAddress(), pMember->GetRawValue(), pMember->GetExponent(),
                          pQuantity->GetName());
    // The special-day dialog takes only periods of positive length that
    // overlap no other; the list keeps them in no order.
    const auto& days = set.GetSpecialDays()->GetSpecialDays();
    for (const CSpecialDay* pDay : days) {
        EXPECT_TRUE(IsTmYearInRange(pDay->GetStartTime()) && IsTmYearInRange(pDay->GetEndTime()));
        EXPECT_LT(Minutes(pDay->GetStartTime()), Minutes(pDay->GetEndTime()));
        for (const CSpecialDay* pOther : days)
            EXPECT_TRUE(pOther == pDay || Minutes(pOther->GetEndTime()) <= Minutes(pDay->GetStartTime()) ||
                        Minutes(pOther->GetStartTime()) >= Minutes(pDay->GetEndTime()));
    }
}

}  // namespace

TEST_F(MakeSampleDataTest, LargestSetIsTheBenchmarksOneAndStoresAgainByteForByte)
{
    const Bytes written = Read(Largest());
    CChronoset built;
    BuildMaximalParameterSet(built);
    EXPECT_EQ(written, Store(built, Dir() + "/built.tv2"));

    CChronoset loaded;
    g_pChronoset = &loaded;
    ASSERT_EQ(loaded.LoadFromFile(Largest(), nullptr), 1);
    EXPECT_EQ(Store(loaded, Dir() + "/again.tv2"), written);
}

TEST_F(MakeSampleDataTest, EveryValueOfBothSetsIsOneTheEditorsOffer)
{
    for (const std::string& strPath : {Largest(), Sample()}) {
        SCOPED_TRACE(strPath);
        CChronoset loaded;
        g_pChronoset = &loaded;
        ASSERT_EQ(loaded.LoadFromFile(strPath, nullptr), 1);
        ExpectEveryValueOffered(loaded);
    }
}
