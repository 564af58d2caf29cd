#pragma once
// The common ground of the quantity tests: a central object with its
// group-address lists and quantities, the German locale and the datapoint
// types, debug mode off and the log collected.

#include "app/Chronoset.h"
#include "model/ArchiveSchema.h"
#include "model/DptManager.h"
#include "model/GroupDataAddresses.h"
#include "model/Locale.h"
#include "model/Quantities.h"
#include "common/Globals.h"
#include "platform/archive/Archive.h"
#include "platform/base/SystemLocale.h"
#include "tests/model/GroupAddressLogCapture.h"
#include "tests/model/SchemaGuard.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quantitytest {

using Bytes = std::vector<std::uint8_t>;

class QuantityTestBase : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_bDebugMode = false;
        platform::SetIntlOverride(platform::IntlValuesForLocale("de_DE"));
        ResetLocaleCache();
        g_DptManager.Init();
    }
    void TearDown() override
    {
        platform::SetIntlOverride(std::nullopt);
        ResetLocaleCache();
    }

    CGroupDataAddresses& Lists() { return *m_chronoset.GetGroupDataAddresses(); }
    CQuantities& Quantities() { return *m_chronoset.GetQuantities(); }

    // A group address of the central object's lists.
    CGroupDataAddress* AddAddress(LONG nRaw, int nType, int nSubType, LONG nReference, bool bInvalid = false,
                                  const std::string& strName = "")
    {
        CGroupDataAddress* pAddress = Lists().CreateGroupAddress(bInvalid);
        EXPECT_NE(pAddress, nullptr);
        pAddress->SetName(strName.empty() ? "GA" + std::to_string(nRaw) : strName);
        pAddress->SetAddress(nRaw);
        pAddress->SetType({nType, nSubType});
        pAddress->SetReference(nReference);
        return pAddress;
    }

    // A new quantity of the type.
    CQuantity* AddQuantity(int nType, int nSubType = 1, const std::string& strName = "")
    {
        CQuantity* pQuantity = Quantities().CreateQuantity();
        EXPECT_NE(pQuantity, nullptr);
        pQuantity->SetType({nType, nSubType});
        pQuantity->SetName(strName.empty() ? "Q" + std::to_string(pQuantity->GetNumber()) : strName);
        return pQuantity;
    }

    CQuantityMember* AddMember(CQuantity* pQuantity, CGroupDataAddress* pAddress, WORD wValue, int nRange = 0,
                               bool bSendOnChange = false)
    {
        CQuantityMember* pMember = pQuantity->CreateMember();
        EXPECT_NE(pMember, nullptr);
        pMember->SetGroupAddress(pAddress);
        pMember->SetValues(wValue, bSendOnChange, nRange);
        return pMember;
    }

    CGroupAddressLogCapture m_capture;
    CChronoset m_chronoset;
};

inline std::string Hex(const BYTE* pBytes, std::size_t nCount)
{
    static const char* const kDigits = "0123456789ABCDEF";
    std::string strText;
    for (std::size_t i = 0; i < nCount; ++i) {
        if (i)
            strText += ' ';
        strText += kDigits[pBytes[i] >> 4];
        strText += kDigits[pBytes[i] & 0x0F];
    }
    return strText;
}

}  // namespace quantitytest
