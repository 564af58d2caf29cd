#include "model/Locale.h"

#include "platform/base/LocalTime.h"
#include "platform/base/SystemLocale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <optional>
#include <string>

namespace {

const platform::IntlValues kGerman{",", ".", 1, "dd.MM.yyyy", ":", 1, 1, "", ""};
const platform::IntlValues kUs{".", ",", 0, "M/d/yy", ":", 0, 0, "AM", "PM"};

class LocaleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_oldTz = platform::GetTz();
        platform::SetTz(std::string("CET-1CEST,M3.5.0,M10.5.0/3"));
        Use(kGerman);
    }

    void TearDown() override
    {
        platform::SetIntlOverride(std::nullopt);
        ResetLocaleCache();
        platform::SetTz(m_oldTz);
    }

    static void Use(const platform::IntlValues& values)
    {
        platform::SetIntlOverride(values);
        ResetLocaleCache();
    }

    static std::string Date(const char* pszText)
    {
        CTime time;
        if (!ParseDate(pszText, time))
            return "fails";
        char szBuffer[32];
        std::snprintf(szBuffer, sizeof szBuffer, "%04d-%02d-%02d %02d:%02d:%02d", time.GetYear(), time.GetMonth(),
                      time.GetDay(), time.GetHour(), time.GetMinute(), time.GetSecond());
        return szBuffer;
    }

    static std::string Time(const char* pszText)
    {
        CTime time;
        if (!ParseTime(pszText, time))
            return "fails";
        char szBuffer[32];
        std::snprintf(szBuffer, sizeof szBuffer, "%02d:%02d:%02d", time.GetHour(), time.GetMinute(),
                      time.GetSecond());
        EXPECT_EQ(time.GetYear(), 2000);
        return szBuffer;
    }

    std::optional<std::string> m_oldTz;
};

}  // namespace

TEST_F(LocaleTest, CachedValuesFollowTheOverrideAfterAReset)
{
    EXPECT_EQ(GetDecimalSeparator(), ',');
    EXPECT_EQ(GetThousandsSeparator(), '.');
    EXPECT_EQ(GetTimeSeparator(), ':');
    EXPECT_FALSE(Is12HourClock());

    // Read once: a changed override shows only after the reset.
    platform::SetIntlOverride(kUs);
    EXPECT_EQ(GetDecimalSeparator(), ',');
    ResetLocaleCache();
    EXPECT_EQ(GetDecimalSeparator(), '.');
    EXPECT_TRUE(Is12HourClock());
    EXPECT_EQ(GetTimeSuffix(true), "PM");
    EXPECT_EQ(GetTimeSuffix(false), "AM");
}

TEST_F(LocaleTest, EmptySeparatorsTakeTheirDefaults)
{
    platform::IntlValues values = kGerman;
    values.sDecimal.clear();
    values.sThousand.clear();
    values.sTime.clear();
    Use(values);
    EXPECT_EQ(GetDecimalSeparator(), '.');
    EXPECT_EQ(GetThousandsSeparator(), ',');
    EXPECT_EQ(GetTimeSeparator(), ':');
}

TEST_F(LocaleTest, FormatNumber)
{
    Use(kUs);
    EXPECT_EQ(FormatNumber(1234.5, 2, true), "1,234.50");
    EXPECT_EQ(FormatNumber(1234.5, 2, false), "1234.50");
    EXPECT_EQ(FormatNumber(12, 0, false), "12.");
    EXPECT_EQ(FormatNumber(0.25, 2, false), ".25");
    EXPECT_EQ(FormatNumber(-1234567.891, 1, true), "-1,234,567.9");
    EXPECT_EQ(FormatNumber(100000, 0, true), "100,000.");
    EXPECT_EQ(FormatNumber(0.05, 2, false), ".05");
    EXPECT_EQ(FormatNumber(2.5, -1, false), "2.5");
    EXPECT_EQ(FormatNumber(3.0, -1, false), "3.");
    EXPECT_EQ(FormatNumber(0.1, -1, false), ".1");
    // Whole numbers of every size keep their digits and zero fraction.
    EXPECT_EQ(FormatNumber(-42, 2, false), "-42.00");
    EXPECT_EQ(FormatNumber(0, 2, false), ".00");
    EXPECT_EQ(FormatNumber(-0.0, 2, false), ".00");
    EXPECT_EQ(FormatNumber(65535, -1, false), "65535.");
    EXPECT_EQ(FormatNumber(1e14, 0, true), "100,000,000,000,000.");
    EXPECT_EQ(FormatNumber(1e15, 0, false), "1000000000000000.");
    EXPECT_EQ(FormatNumber(123456789012.0, 3, false), "123456789012.000");

    Use(kGerman);
    EXPECT_EQ(FormatNumber(0.25, 2, false), "0,25");
    EXPECT_EQ(FormatNumber(1234.5, 2, true), "1.234,50");
    EXPECT_EQ(FormatNumber(-0.004, 2, false), "-0,00");
}

TEST_F(LocaleTest, FormatNumberIgnoresTheProcessLocale)
{
    const std::string strOld = std::setlocale(LC_NUMERIC, nullptr);
    // scripts/install-deps.sh generates the locale; without it this test
    // would prove nothing, so it fails rather than skip.
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr) << "the locale de_DE.UTF-8 is not installed";
    char szProcess[8];
    std::snprintf(szProcess, sizeof szProcess, "%.1f", 1.5);
    EXPECT_STREQ(szProcess, "1,5") << "the C library formats with the German comma now";
    Use(kUs);
    EXPECT_EQ(FormatNumber(1.5, 1, false), "1.5");
    double dValue = 0;
    EXPECT_TRUE(ParseDouble("2.25", dValue));
    EXPECT_EQ(dValue, 2.25);
    std::setlocale(LC_NUMERIC, strOld.c_str());
}

TEST_F(LocaleTest, ParseDouble)
{
    double dValue = 0;
    EXPECT_TRUE(ParseDouble("  12,5 ", dValue));
    EXPECT_EQ(dValue, 12.5);
    EXPECT_TRUE(ParseDouble("-3", dValue));
    EXPECT_EQ(dValue, -3.0);
    EXPECT_TRUE(ParseDouble("+7,25", dValue));
    EXPECT_EQ(dValue, 7.25);
    EXPECT_FALSE(ParseDouble("", dValue));
    EXPECT_FALSE(ParseDouble("-", dValue));
    EXPECT_FALSE(ParseDouble("12,5x", dValue));
    EXPECT_FALSE(ParseDouble("1.234,5", dValue));
    EXPECT_FALSE(ParseDouble("+-1", dValue));
    EXPECT_FALSE(ParseDouble("inf", dValue));
    EXPECT_FALSE(ParseDouble("1e999", dValue));
}

TEST_F(LocaleTest, ParseDoubleReadsZerosWithoutALeadingDigit)
{
    double dValue = 1;
    for (const char* pszZero : {"0", "-0", ",0", "-,00", "0,00"}) {
        dValue = 1;
        EXPECT_TRUE(ParseDouble(pszZero, dValue)) << pszZero;
        EXPECT_EQ(dValue, 0.0) << pszZero;
    }
    // What FormatNumber writes reads back.
    Use(kUs);
    for (double d : {-0.004, 0.0, 0.25, -1234.5}) {
        const std::string strText = FormatNumber(d, 2, false);
        EXPECT_TRUE(ParseDouble(strText, dValue)) << strText;
        EXPECT_NEAR(dValue, d, 0.005) << strText;
    }
}

TEST_F(LocaleTest, ParseDateFollowsThePicture)
{
    EXPECT_EQ(Date("24.12.05"), "2005-12-24 12:00:00");
    EXPECT_EQ(Date(" 24.12.2005 "), "2005-12-24 12:00:00");
    EXPECT_EQ(Date("1/2/70"), "1970-02-01 12:00:00");
    EXPECT_EQ(Date("29.02.2004"), "2004-02-29 12:00:00");
    EXPECT_EQ(Date("31.02.2005"), "fails");
    EXPECT_EQ(Date("29.02.2100"), "fails");
    EXPECT_EQ(Date("1.1.1969"), "fails");
    EXPECT_EQ(Date("1.1.2036"), "fails");
    EXPECT_EQ(Date("24 12.2005"), "fails");
    EXPECT_EQ(Date("24.12.10000"), "fails");
    EXPECT_EQ(Date("24.12."), "fails");
    EXPECT_EQ(Date("24.12.2005x"), "fails");
    EXPECT_EQ(Date("24.12.2005."), "2005-12-24 12:00:00");

    Use(kUs);
    EXPECT_EQ(Date("12/24/05"), "2005-12-24 12:00:00");
    EXPECT_EQ(Date("24/12/05"), "fails");
}

TEST_F(LocaleTest, FormatDate)
{
    EXPECT_EQ(FormatDate(CTime(2005, 12, 24, 12, 0, 0)), "24.12.2005");
    EXPECT_EQ(FormatDate(CTime(2005, 1, 2, 0, 0, 0)), "02.01.2005");
    EXPECT_EQ(FormatDate(CTime()), "");
    EXPECT_EQ(FormatDate(CTime(1900, 1, 1, 0, 0, 0)), "");

    Use(kUs);
    EXPECT_EQ(FormatDate(CTime(2005, 1, 2, 0, 0, 0)), "1/2/05");
    EXPECT_EQ(FormatDate(CTime(1999, 11, 30, 0, 0, 0)), "11/30/99");

    platform::IntlValues values = kGerman;
    values.sShortDate = "ddd d.MMMM yyy 'y'";
    Use(values);
    EXPECT_EQ(FormatDate(CTime(2005, 3, 4, 0, 0, 0)), " 4.  ''");
}

TEST_F(LocaleTest, TwentyFourHourTimes)
{
    EXPECT_EQ(FormatTime(CTime(2000, 1, 1, 13, 5, 7), false), "13:05");
    EXPECT_EQ(FormatTime(CTime(2000, 1, 1, 3, 5, 7), true), "03:05:07");
    EXPECT_EQ(Time("13:05"), "13:05:00");
    EXPECT_EQ(Time(" 7.5.9 "), "07:05:09");
    EXPECT_EQ(Time("23:59:59"), "23:59:59");
    EXPECT_EQ(Time("24:00"), "fails");
    EXPECT_EQ(Time("12:60"), "fails");
    EXPECT_EQ(Time("1305"), "fails");
    EXPECT_EQ(Time("13:05x"), "fails");
    EXPECT_EQ(Time("13:"), "fails");
    EXPECT_EQ(Time("13:05 pm"), "fails");
}

TEST_F(LocaleTest, TwelveHourTimes)
{
    Use(kUs);
    EXPECT_EQ(FormatTime(CTime(2000, 1, 1, 13, 5, 7), false), "1:05 PM");
    EXPECT_EQ(FormatTime(CTime(2000, 1, 1, 0, 5, 7), true), "12:05:07 AM");
    EXPECT_EQ(FormatTime(CTime(2000, 1, 1, 12, 0, 0), false), "12:00 PM");
    EXPECT_EQ(Time("1:05 pm"), "13:05:00");
    EXPECT_EQ(Time("1:05pm"), "13:05:00");
    EXPECT_EQ(Time("12:00 AM"), "00:00:00");
    EXPECT_EQ(Time("12:30:15 PM"), "12:30:15");
    EXPECT_EQ(Time("9:15"), "09:15:00");
    EXPECT_EQ(Time("1:05 xm"), "fails");
    EXPECT_EQ(Time("1:05 pm pm"), "fails");
    // What is written reads back.
    for (int nHour : {0, 1, 11, 12, 13, 23}) {
        const std::string strText = FormatTime(CTime(2000, 1, 1, nHour, 42, 0), false);
        CTime time;
        ASSERT_TRUE(ParseTime(strText, time)) << strText;
        EXPECT_EQ(time.GetHour(), nHour) << strText;
    }
}

TEST_F(LocaleTest, AClockWithoutSuffixesIsTwentyFourHour)
{
    platform::IntlValues values = kUs;
    values.s1159.clear();
    values.s2359.clear();
    Use(values);
    EXPECT_FALSE(Is12HourClock());
    EXPECT_EQ(FormatTime(CTime(2000, 1, 1, 13, 5, 0), false), "13:05");
    EXPECT_EQ(Time("13:05"), "13:05:00");
}

TEST_F(LocaleTest, TmToDateAndTmToDateText)
{
    std::tm tm{};
    tm.tm_year = 105;
    tm.tm_mon = 11;
    tm.tm_mday = 24;
    tm.tm_hour = 18;
    tm.tm_min = 7;
    tm.tm_sec = 30;
    std::string strText = "x";
    TmToDate(strText, tm);
    EXPECT_EQ(strText, "24.12.2005");
    TmToDateText(strText, tm);
    EXPECT_EQ(strText, "18:07");

    // A day past the month's end stands for the next month's day.
    tm.tm_mon = 3;
    tm.tm_mday = 31;
    EXPECT_EQ(TmToDate(tm), "01.05.2005");

    // A time in the spring-forward gap keeps the record's own hour.
    tm.tm_mon = 2;
    tm.tm_mday = 27;
    tm.tm_hour = 2;
    tm.tm_min = 30;
    TmToDateText(strText, tm);
    EXPECT_EQ(strText, "02:30");

    const std::tm zero{};
    TmToDate(strText, zero);
    EXPECT_EQ(strText, "");
    strText = "x";
    TmToDateText(strText, zero);
    EXPECT_EQ(strText, "");
}
