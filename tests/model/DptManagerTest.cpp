#include "model/DptManager.h"
#include "common/Log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string LastLogLine()
{
    return g_szLogText;
}

void ClearLog()
{
    g_szLogText[0] = '\0';
}

std::vector<WORD> SubTypesOf(const CDptManager& manager, WORD wMainType)
{
    std::vector<WORD> arrSubTypes;
    CDptManager::Position pos = manager.GetFirstSubTypePosition(wMainType);
    while (pos)
        arrSubTypes.push_back(manager.GetNextSubType(pos, wMainType)->GetSubType());
    return arrSubTypes;
}

}  // namespace

TEST(DptManager, InitRegistersTheBuiltInTableOnceEvenWhenCalledTwice)
{
    CDptManager manager;
    EXPECT_EQ(manager.Init(), 1);
    EXPECT_EQ(manager.Init(), 1);
    std::size_t nTotal = 0;
    for (WORD wMain : {1, 2, 5, 6, 7, 8, 9})
        nTotal += manager.GetMainTypeMap(wMain)->GetCount();
    EXPECT_EQ(nTotal, 8u);

    const CDptSubType* pPercent = manager.GetSubType(5, 1);
    ASSERT_NE(pPercent, nullptr);
    EXPECT_EQ(pPercent->GetName(), "1 Byte vorzeichenlos");
    EXPECT_EQ(pPercent->GetUnit(), "%");
    EXPECT_EQ(pPercent->GetMax(), 100.0);
    EXPECT_EQ(pPercent->GetScaleFlag(), 1);

    const CDptSubType* pFloat = manager.GetSubType(9, 0);
    ASSERT_NE(pFloat, nullptr);
    EXPECT_EQ(pFloat->GetMin(), -671088.64);
    EXPECT_EQ(pFloat->GetMax(), 670760.96);
}

TEST(DptManager, UnknownSubTypeFallsBackToTheMainTypesRawEntry)
{
    CDptManager manager;
    manager.Init();
    ASSERT_NE(manager.GetSubType(9, 7), nullptr);
    EXPECT_EQ(manager.GetSubType(9, 7)->GetSubType(), 0);
    // Main type 5 falls back to the unscaled 0..255 entry, not the percentage.
    ASSERT_NE(manager.GetSubType(5, 3), nullptr);
    EXPECT_EQ(manager.GetSubType(5, 3)->GetSubType(), 10);
    EXPECT_EQ(manager.GetSubType(1, 1)->GetSubType(), 2);
    // Registered sub types are found as they are.
    EXPECT_EQ(manager.GetSubType(5, 1)->GetSubType(), 1);
}

TEST(DptManager, FallbackEntryLeadsTheIterationWhateverTheRegistrationOrder)
{
    CDptManager manager;
    EXPECT_EQ(SubTypesOf(manager, 5), std::vector<WORD>{});
    manager.AddSubTypeFromValues(5, 1, "p", 0, 100, "%", 1);
    manager.AddSubTypeFromValues(5, 4, "x", 0, 255, "", 0);
    manager.AddSubTypeFromValues(5, 10, "raw", 0, 255, "", 0);
    EXPECT_EQ(SubTypesOf(manager, 5), (std::vector<WORD>{10, 1, 4}));
    EXPECT_EQ(manager.GetSubType(5, 99)->GetSubType(), 10);

    // Without the preferred entry the first registered one serves.
    CDptManager other;
    other.AddSubTypeFromValues(7, 5, "a", 0, 1, "", 0);
    other.AddSubTypeFromValues(7, 6, "b", 0, 1, "", 0);
    EXPECT_EQ(other.GetSubType(7, 1)->GetSubType(), 5);
}

TEST(DptManager, UnknownMainTypesAndEmptyMapsFailWithTheirLogLines)
{
    CDptManager manager;
    manager.Init();
    ClearLog();
    EXPECT_EQ(manager.GetSubType(4, 0), nullptr);
    EXPECT_NE(LastLogLine().find("Trying to access unknown main data type: 4"), std::string::npos);
    EXPECT_EQ(manager.GetMainTypeMap(3), nullptr);
    EXPECT_EQ(manager.GetMainTypeMap(10), nullptr);

    ClearLog();
    EXPECT_EQ(manager.AddSubTypeFromValues(11, 1, "date", 0, 0, "", 0), nullptr);
    EXPECT_NE(LastLogLine().find("Trying to access unknown main data type: 11"), std::string::npos);

    ClearLog();
    CDptManager::Position pos = manager.GetFirstSubTypePosition(12);
    EXPECT_EQ(pos, 0u);
    EXPECT_NE(LastLogLine().find("Trying to access unknown main data type: 12"), std::string::npos);

    manager.RemoveMainType(9);
    ClearLog();
    EXPECT_EQ(manager.GetSubType(9, 0), nullptr);
    EXPECT_NE(LastLogLine().find("CDptManager::GetObject can't find main type = 9, sub type = 0"),
              std::string::npos);
    EXPECT_EQ(manager.GetFirstSubTypePosition(9), 0u);
}

TEST(DptManager, DuplicateSubTypeIsRefusedAndKeepsTheFirstEntry)
{
    CDptManager manager;
    manager.Init();
    EXPECT_EQ(manager.AddSubTypeFromValues(8, 1, "other", 1, 2, "", 0), nullptr);
    EXPECT_EQ(manager.GetSubType(8, 1)->GetName(), "2 Byte vorzeichenbehaftet");
    EXPECT_EQ(manager.GetMainTypeMap(8)->GetCount(), 1u);
}

TEST(DptManager, GlobalInstanceIsFilledByInitAndEmptiedAtTheEnd)
{
    // The start-up fills it and the end of an editing run empties it.
    ASSERT_EQ(g_DptManager.Init(), 1);
    EXPECT_NE(g_DptManager.GetFirstSubTypePosition(1), 0u);
    g_DptManager.RemoveAll();
    EXPECT_EQ(g_DptManager.GetFirstSubTypePosition(1), 0u);
}
