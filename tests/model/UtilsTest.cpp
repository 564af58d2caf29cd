#include "model/DptManager.h"
#include "model/HexFields.h"
#include "model/Locale.h"
#include "model/Utils.h"
#include "common/Log.h"
#include "platform/base/LocalTime.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/SystemLocale.h"
#include "resources/de/BuiltInResources.h"
#include "tests/support/ScriptedMessageBoxSink.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class UtilsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetIntlOverride(platform::IntlValuesForLocale("de_DE"));
        ResetLocaleCache();
        g_DptManager.Init();
        m_pOldModule = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
        m_savedTz = platform::GetTz();
        platform::SetTz(std::string("CET-1CEST,M3.5.0,M10.5.0/3"));
    }
    void TearDown() override
    {
        platform::SetFrameworkResourceModule(m_pOldModule);
        platform::SetIntlOverride(std::nullopt);
        ResetLocaleCache();
        platform::SetTz(m_savedTz);
    }

    const platform::CResourceModule* m_pOldModule = nullptr;
    std::optional<std::string> m_savedTz;
};

class DummyObject : public CObject {
public:
    DECLARE_RUNTIME_CLASS(CQuantityMember)
};

}  // namespace

TEST_F(UtilsTest, FormatValueScalesAndAddsUnits)
{
    EXPECT_EQ(FormatValue(5, 1, 255, true), "100,00 %");
    EXPECT_EQ(FormatValue(5, 1, 0, false), "0,00");
    EXPECT_EQ(FormatValue(1, 1, 1, true), "1");
    EXPECT_EQ(FormatValue(2, 1, 1, true), "");
    EXPECT_EQ(FormatValue(2, 1, 0, true), "Frei");
    EXPECT_EQ(FormatValue(2, 1, 3, true), "Zwangs-Ein");
    EXPECT_EQ(FormatValue(2, 1, 0x102, true), "Zwangs-Aus");
    EXPECT_EQ(FormatValue(6, 10, 0xFF, false), "-1");
    EXPECT_EQ(FormatValue(8, 1, 0x8000, false), "-32768");
    // The 2-byte float never shows a unit.
    const CDptSubType* pFloat = g_DptManager.GetSubType(9, 1);
    ASSERT_NE(pFloat, nullptr);
    EXPECT_EQ(FormatValue(9, 1, 0x0C1A, true), "21,00");
    g_pszLogSourceFile = nullptr;
    EXPECT_EQ(FormatValue(10, 1, 1, true), "");
}

TEST_F(UtilsTest, DecodeAndEncodeByObjectType)
{
    EXPECT_EQ(DecodeDptValue(6, 0xFF), -1);
    EXPECT_EQ(DecodeDptValue(5, 0xFF), 255);
    EXPECT_EQ(DecodeDptValue(8, 0x8000), -32768);
    EXPECT_EQ(DecodeDptValue(7, 0x18000), 0x8000);
    EXPECT_EQ(DecodeDptValue(1, 0xFFFFFFFF), -1);
    EXPECT_DOUBLE_EQ(DecodeDptValue(9, 0x8000), -20.48);
    EXPECT_EQ(DecodeDptValue(12, 5), 0);

    BYTE out[2] = {0xAA, 0xBB};
    EncodeDptValue(0x1234, 7, out);
    EXPECT_EQ(out[0], 0x34);
    EXPECT_EQ(out[1], 0x12);
    EncodeDptValue(0x1234, 5, out);
    EXPECT_EQ(out[0], 0x34);
    EXPECT_EQ(out[1], 0x00);
    EncodeDptValue(0x5678, 10, out);  // unknown: untouched
    EXPECT_EQ(out[0], 0x34);
    EXPECT_EQ(out[1], 0x00);
}

TEST_F(UtilsTest, ObjectTypeTables)
{
    EXPECT_EQ(GetDptTypeName(6), "1 Byte vorzeichenbehaftet");
    EXPECT_EQ(GetDptTypeName(3), "ungültig");
    EXPECT_EQ(GetKnxValueType(9), 8);
    EXPECT_EQ(GetKnxValueType(4), -1);
    EXPECT_EQ(GetDptTypeCode(9), 7);
    EXPECT_DOUBLE_EQ(GetDptMaxValue(9), 670760.96);
    EXPECT_DOUBLE_EQ(GetDptMinValue(9), -671088.64);
    EXPECT_DOUBLE_EQ(GetDptMinValue(6), -128);
    EXPECT_DOUBLE_EQ(GetDptMaxValue(42), 1);
    EXPECT_EQ(GetDptSizeName(9), "3 Byte");
    EXPECT_EQ(GetDptSizeName(3), "ungültig");
    for (int t : {-1, 0, 1, 7, 8, 9})
        EXPECT_TRUE(IsSupportedKnxValueType(t)) << t;
    for (int t : {2, 3, 4, 5, 6, 10, 11})
        EXPECT_FALSE(IsSupportedKnxValueType(t)) << t;
}

TEST_F(UtilsTest, GroupAddressBusForm)
{
    WORD w = 0x1203;  // 1/2/3
    ConvertGroupAddressToKnx(w);
    EXPECT_EQ(w, 0x0A03);
    w = 0xFFFF;  // 15/15/255: bit 11 is lost
    ConvertGroupAddressToKnx(w);
    EXPECT_EQ(w, 0x7FFF);
    w = 0x0800;  // 0/8/0
    ConvertGroupAddressToKnx(w);
    EXPECT_EQ(w, 0x0000);
}

TEST_F(UtilsTest, StringLongObjectArrays)
{
    CStringLongObjectArray array;
    AddStringLongObject(array, 7, "ff00", 2);
    ASSERT_EQ(array.size(), 3u);
    EXPECT_EQ(array[0], nullptr);
    EXPECT_EQ(array[2]->GetText(), "ff00");
    EXPECT_EQ(array[2]->GetId(), 7);
    AddStringLongObject(array, 8, "0101", 2);
    EXPECT_EQ(array[2]->GetId(), 8);

    CStringLongObjectArray copy;
    AddStringLongObject(copy, 1, "old", 5);
    CopyStringLongObjectArray(copy, array);
    ASSERT_EQ(copy.size(), 3u);
    EXPECT_EQ(copy[1], nullptr);
    EXPECT_EQ(copy[2]->GetText(), "0101");
    EXPECT_NE(copy[2].get(), array[2].get());
    EXPECT_EQ(CStringLongObject().GetId(), -1);
}

TEST_F(UtilsTest, DateAndTimeTextInput)
{
    CTime date;
    ASSERT_TRUE(ParseDateText("010203", date));
    EXPECT_EQ(date.GetDay(), 1);
    EXPECT_EQ(date.GetMonth(), 2);
    EXPECT_EQ(date.GetYear(), 2003);
    ASSERT_TRUE(ParseDateText("24122005", date));
    EXPECT_EQ(date.GetYear(), 2005);
    ASSERT_TRUE(ParseDateText("24.12.2005", date));
    EXPECT_FALSE(ParseDateText("31022005", date));

    CTime time;
    ASSERT_TRUE(ParseTimeText("930", time));
    EXPECT_EQ(time.GetHour(), 9);
    EXPECT_EQ(time.GetMinute(), 30);
    ASSERT_TRUE(ParseTimeText("1305", time));
    EXPECT_EQ(time.GetHour(), 13);
    ASSERT_TRUE(ParseTimeText("7", time));
    EXPECT_EQ(time.GetHour(), 0);
    EXPECT_EQ(time.GetMinute(), 7);

    EXPECT_TRUE(IsYearInRange(CTime(2035, 12, 31, 23, 59, 0)));
    EXPECT_FALSE(IsYearInRange(CTime(1999, 12, 31, 0, 0, 0)));
    std::tm tm {};
    tm.tm_year = 135;
    EXPECT_TRUE(IsTmYearInRange(tm));
    tm.tm_year = 136;
    EXPECT_FALSE(IsTmYearInRange(tm));
}

TEST_F(UtilsTest, MessagesUseTheLocaleAndResources)
{
    CScriptedMessageBoxSink sink;
    sink.ExpectBox("Zulässig sind Eingaben vom 01.01.2000 bis 31.12.2035.", "Unzulässige Datumseingabe!",
                   0x30, IDOK);
    ShowInvalidDateMessage(nullptr);
    CScriptedMessageBoxSink::Expectation limit;
    limit.textPart = "Zuordnungen";
    limit.caption = "Zuordnungen ausgelastet";
    limit.style = 0x30u;
    sink.Expect(limit);
    ShowAssociationLimitMessage(nullptr);
}

TEST_F(UtilsTest, Names)
{
    EXPECT_EQ(GetWeekdayName(0), "Montag");
    EXPECT_EQ(GetWeekdayName(7), "Sonntag");
    EXPECT_EQ(GetWeekdayName(-1), "Sonntag");
    EXPECT_EQ(GetShortWeekdayName(1), "Mo");
    EXPECT_EQ(GetShortWeekdayName(0), "So");
    EXPECT_EQ(GetPriorityName(2), "Alarm");
    EXPECT_EQ(GetPriorityName(9), "?");
    EXPECT_EQ(GetHelpStringId(11), 923u);
    EXPECT_EQ(GetHelpStringId(99), 131185u);
}

TEST_F(UtilsTest, UsageLines)
{
    std::string text;
    EXPECT_EQ(FormatUsageLine(text, true, "Schaltzeiten", 800, 200), "Schaltzeiten\t800\t200\t(25%)\t600");
    EXPECT_EQ(text, "Schaltzeiten\t800\t200\t(25%)\t600");
    EXPECT_EQ(FormatUsageLine(text, false, "Mengen", 50, 5), "Mengen: 5 (10%) belegt, 45 frei von insgesamt 50");
    EXPECT_EQ(FormatUsageLine(text, true, "Leer", 0, 0), "Leer\t0\t0\t(0%)\t0");
}

TEST_F(UtilsTest, SmallNumberFunctions)
{
    EXPECT_EQ(FormatDecimal(7, 3, true), "007");
    EXPECT_EQ(FormatDecimal(7, 3, false), "7");
    EXPECT_EQ(FormatDecimal(0, 3, false), "0");
    EXPECT_EQ(FormatDecimal(12345, 3, true), "345");
    EXPECT_EQ(FormatDecimalSigned(-42, 4, true), "-0042");
    EXPECT_EQ(FormatDecimalSigned(-42, 4, false), "-42");
    EXPECT_EQ(FormatDecimalSigned(INT32_MIN, 10, false), "-2147483648");
    std::string s = "12,";
    StripTrailingChar(s, ',');
    EXPECT_EQ(s, "12");
    StripTrailingChar(s, ',');
    EXPECT_EQ(s, "12");
    EXPECT_EQ(FloorDiv(-7, 2), -4);
    EXPECT_EQ(FloorDiv(7, 2), 3);
    EXPECT_EQ(FloorDiv(-6, 2), -3);
    EXPECT_EQ(FormatFloatValue(12.0, 0, true, false), "12");
    EXPECT_EQ(FormatFloatValue(1234.567, 1, false, true), "1.234,6");
}

TEST_F(UtilsTest, TimeConversions)
{
    std::tm tm {};
    tm.tm_year = 108;
    tm.tm_mon = 6;
    tm.tm_mday = 1;
    tm.tm_hour = 12;
    const std::int64_t t = TmToDateTime(tm);
    std::tm back = TimeToTm(t);
    EXPECT_EQ(back.tm_year, 108);
    EXPECT_EQ(back.tm_hour, 12);
    EXPECT_EQ(back.tm_isdst, 1);
    std::tm fallback = TimeToTm(-5);
    EXPECT_EQ(fallback.tm_year, 135);
    EXPECT_EQ(fallback.tm_mon, 11);
    EXPECT_EQ(fallback.tm_mday, 31);
}

TEST_F(UtilsTest, KindFlagsByClass)
{
    DummyObject member;
    EXPECT_EQ(GetObjectKindFlag(&member), OKF_QUANTITYMEMBER);
    CStringLongObject other;
    EXPECT_EQ(GetObjectKindFlag(&other), 0);
    EXPECT_EQ(GetObjectKindFlag(nullptr), 0);
    EXPECT_FALSE(GetExeFileName().empty());
}

TEST(UtilsTextTest, FormatIntFieldsFillsOnlyNumberFieldsInOrder)
{
    EXPECT_EQ(FormatIntFields("%d der %d Elemente", {2, 5}), "2 der 5 Elemente");
    // Fields beyond the values, and other conversions, stay as text.
    EXPECT_EQ(FormatIntFields("%d: %s %d %d%%", {7}), "7: %s %d %d%%");
    EXPECT_EQ(FormatIntFields("ohne", {1, 2}), "ohne");
    EXPECT_EQ(FormatIntFields("100%", {}), "100%");
}

TEST(HexFieldsTest, FieldsReadAsStrtoulReadsThemAndWriteAsPrintfWrites)
{
    for (const char* pszField : {"0000", "00ff", "ABcd", "ffff", "12", "7fffffff", "ffffffff", " 1f", "-1", "0x1f",
                                 "1g", "g1", "+a", ""}) {
        const std::string strField = pszField;
        EXPECT_EQ(HexFieldValue(strField.data(), strField.size()),
                  static_cast<DWORD>(std::strtoul(strField.c_str(), nullptr, 16)))
            << strField;
    }
    const std::string strCut("1\0" "2", 3);  // a field with a NUL reads up to it
    EXPECT_EQ(HexFieldValue(strCut.data(), strCut.size()), 1u);

    for (unsigned nValue : {0u, 1u, 0xFu, 0xABu, 0x1FFu, 0xBEEFu, 0x12345u, 0xFFFFFFFFu}) {
        for (int nWidth : {0, 1, 2, 4, 8, 10}) {
            char szExpected[32];
            std::snprintf(szExpected, sizeof szExpected, "%0*x", nWidth, nValue);
            std::string strText = "x";
            AppendHexPadded(strText, nValue, nWidth);
            EXPECT_EQ(strText, std::string("x") + szExpected) << nValue << " " << nWidth;
        }
    }
    std::string strField;
    AppendHexField(strField, 0x1FF, 2);
    EXPECT_EQ(strField, "ff");
}
