#pragma once
// Shared by the switch-program tests (switching times, day routines, week
// routine): a central object with German texts and the datapoint table, the
// log collected, and a quick way to put group addresses into its lists.

#include "app/Chronoset.h"
#include "model/ArchiveSchema.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/DaySwitchTime.h"
#include "model/DptManager.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/Locale.h"
#include "model/WeekRoutine.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/SystemLocale.h"
#include "resources/de/BuiltInResources.h"
#include "tests/model/GroupAddressLogCapture.h"
#include "tests/model/SchemaGuard.h"
#include "tests/support/LocalTime.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace switchtest {

using ::CSchemaGuard;

using Bytes = std::vector<std::uint8_t>;

using testtime::At;

class SwitchProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_bDebugMode = false;
        platform::SetIntlOverride(platform::IntlValuesForLocale("de_DE"));
        ResetLocaleCache();
        g_DptManager.Init();
        m_pOldModule = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
    }
    void TearDown() override
    {
        platform::SetFrameworkResourceModule(m_pOldModule);
        platform::SetIntlOverride(std::nullopt);
        ResetLocaleCache();
    }

    CGroupDataAddresses& Lists() { return *m_chronoset.GetGroupDataAddresses(); }
    CDayRoutines& Routines() { return *m_chronoset.GetDayRoutines(); }
    CWeekRoutine& Week() { return *m_chronoset.GetWeekRoutine(); }

    // A group address of the list of that kind: reference, raw address, type
    // and object number as given, the name "GA<reference>" unless named.
    CGroupDataAddress* AddAddress(LONG nReference, LONG nAddress, int nType, int nSubType, SHORT nObject = -1,
                                  bool bInvalid = false, const std::string& strName = std::string())
    {
        CGroupDataAddress* pAddress = Lists().CreateGroupAddress(bInvalid);
        EXPECT_NE(pAddress, nullptr);
        if (!pAddress)
            return nullptr;
        pAddress->SetReference(nReference);
        pAddress->SetAddress(nAddress);
        pAddress->SetType({nType, nSubType});
        pAddress->SetObjectNumber(nObject);
        pAddress->SetName(strName.empty() ? "GA" + std::to_string(nReference) : strName);
        return pAddress;
    }

    // A switching time appended to the routine with the given fields.
    static CDaySwitchTime* AddTime(CDayRoutine* pRoutine, WORD nHour, WORD nMinute, CGroupDataAddress* pAddress,
                                   DWORD dwValue = 0, BYTE bSendOnChange = 0)
    {
        CDaySwitchTime* pTime = pRoutine->AddSwitchTime(nullptr);
        EXPECT_NE(pTime, nullptr);
        if (!pTime)
            return nullptr;
        pTime->SetHour(nHour);
        pTime->SetMinute(nMinute);
        pTime->SetGroupAddress(pAddress);
        pTime->SetValue(SwitchTimeValue {dwValue});
        pTime->SetSendOnChange(bSendOnChange);
        return pTime;
    }

    // Whether any address of either list still carries a use.
    bool AnyAddressUsed()
    {
        for (bool bInvalid : {false, true}) {
            GaPosition pos = Lists().GetFirstPosByUsage(GAU_ANY, bInvalid);
            if (pos)
                return true;
        }
        return false;
    }

    CGroupAddressLogCapture m_log;
    CChronoset m_chronoset;
    const platform::CResourceModule* m_pOldModule = nullptr;
};

}  // namespace switchtest
