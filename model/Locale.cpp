#include "model/Locale.h"

#include "model/CalendarRecord.h"
#include "platform/base/Cp1252.h"
#include "platform/base/SystemLocale.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string_view>
#include <system_error>

namespace {

enum class DateField { None, Day, Month, Year };

struct NumberValues
{
    char cDecimal = '.';
    char cThousand = ',';
    int nLeadingZero = 0;
};

struct DateValues
{
    std::string strPicture;
    DateField order[3] = {DateField::None, DateField::None, DateField::None};
};

struct TimeValues
{
    char cSeparator = ':';
    int nLeadingZero = 0;
    bool b12Hour = false;
    std::string strMorning;    // s1159
    std::string strAfternoon;  // s2359
};

// The cached regional values; the functions run on the window thread, the
// lock only keeps a test's reset from racing a reader.
std::mutex g_mutexLocale;
std::optional<NumberValues> g_numberValues;
std::optional<DateValues> g_dateValues;
std::optional<TimeValues> g_timeValues;

// One character of a profile value; an empty value, or one whose first
// character is not a single byte, gives the default.
char SingleChar(const std::string& strValue, char cDefault)
{
    if (strValue.empty() || static_cast<unsigned char>(strValue[0]) >= 0x80)
        return cDefault;
    return strValue[0];
}

// The first nMax characters (code points) of a UTF-8 text.
std::string FirstChars(const std::string& strValue, std::size_t nMax)
{
    std::size_t pos = 0;
    for (std::size_t n = 0; n < nMax && pos < strValue.size(); ++n)
        platform::DecodeUtf8(strValue, pos);
    return strValue.substr(0, pos);
}

NumberValues ReadNumberValues()
{
    const platform::IntlValues intl = platform::GetIntlValues();
    NumberValues values;
    values.cDecimal = SingleChar(intl.sDecimal, '.');
    values.cThousand = SingleChar(intl.sThousand, ',');
    values.nLeadingZero = intl.iLZero;
    return values;
}

DateValues ReadDateValues()
{
    const platform::IntlValues intl = platform::GetIntlValues();
    DateValues values;
    values.strPicture = FirstChars(intl.sShortDate.empty() ? std::string("M/d/yy") : intl.sShortDate, 19);
    bool bDay = false, bMonth = false, bYear = false;
    int nPlace = 0;
    for (char c : values.strPicture) {
        if (nPlace >= 3)
            break;
        if (c == 'd' && !bDay) {
            bDay = true;
            values.order[nPlace++] = DateField::Day;
        } else if (c == 'M' && !bMonth) {
            bMonth = true;
            values.order[nPlace++] = DateField::Month;
        } else if (c == 'y' && !bYear) {
            bYear = true;
            values.order[nPlace++] = DateField::Year;
        }
    }
    return values;
}

TimeValues ReadTimeValues()
{
    const platform::IntlValues intl = platform::GetIntlValues();
    TimeValues values;
    values.cSeparator = SingleChar(intl.sTime, ':');
    values.nLeadingZero = intl.iTLZero;
    const bool bLocale12Hour = intl.iTime == 0;
    if (bLocale12Hour)
        values.strMorning = FirstChars(intl.s1159, 9);
    values.strAfternoon = FirstChars(intl.s2359, 9);
    // Without any suffix a 12-hour text cannot tell 1:05 from 13:05.
    values.b12Hour = bLocale12Hour && !(values.strMorning.empty() && values.strAfternoon.empty());
    if (!values.b12Hour) {
        values.strMorning.clear();
        values.strAfternoon.clear();
    }
    return values;
}

NumberValues Numbers()
{
    std::lock_guard<std::mutex> lock(g_mutexLocale);
    if (!g_numberValues)
        g_numberValues = ReadNumberValues();
    return *g_numberValues;
}

DateValues Dates()
{
    std::lock_guard<std::mutex> lock(g_mutexLocale);
    if (!g_dateValues)
        g_dateValues = ReadDateValues();
    return *g_dateValues;
}

TimeValues Times()
{
    std::lock_guard<std::mutex> lock(g_mutexLocale);
    if (!g_timeValues)
        g_timeValues = ReadTimeValues();
    return *g_timeValues;
}

// Character classes of the C locale, whatever the process locale says.
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsPunct(char c)
{
    return (c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') || (c >= '{' && c <= '~');
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

void SkipBlanks(const std::string& strText, std::size_t& pos)
{
    while (pos < strText.size() && IsBlank(strText[pos]))
        ++pos;
}

// An unsigned decimal number of at least one digit; values above nLimit are
// reported as nLimit + 1 (the digits are still consumed).
bool ReadNumber(const std::string& strText, std::size_t& pos, int nLimit, int& nValue)
{
    if (pos >= strText.size() || !IsDigit(strText[pos]))
        return false;
    nValue = 0;
    while (pos < strText.size() && IsDigit(strText[pos])) {
        if (nValue <= nLimit)
            nValue = nValue * 10 + (strText[pos] - '0');
        ++pos;
    }
    if (nValue > nLimit)
        nValue = nLimit + 1;
    return true;
}

// Skips one punctuation or blank character, when one stands at pos.
void SkipSeparator(const std::string& strText, std::size_t& pos)
{
    if (pos < strText.size() && (IsPunct(strText[pos]) || IsBlank(strText[pos])))
        ++pos;
}

bool StartsWithSuffix(const std::string& strText, std::size_t pos, const std::string& strSuffix)
{
    if (strSuffix.empty() || strText.size() - pos < strSuffix.size())
        return false;
    for (std::size_t i = 0; i < strSuffix.size(); ++i)
        if (LowerAscii(strText[pos + i]) != LowerAscii(strSuffix[i]))
            return false;
    return true;
}

// A morning or afternoon suffix at pos adjusts the hours; false when neither
// stands there.
bool ApplySuffix(const std::string& strText, std::size_t& pos, const TimeValues& values, int& nHours)
{
    if (StartsWithSuffix(strText, pos, values.strAfternoon)) {
        if (nHours < 12)
            nHours += 12;
        pos += values.strAfternoon.size();
        return true;
    }
    if (StartsWithSuffix(strText, pos, values.strMorning)) {
        if (nHours == 12)
            nHours = 0;
        pos += values.strMorning.size();
        return true;
    }
    return false;
}

// nValue as "%0<nWidth>d" writes it (the sign counts to the width and the
// zeros follow it), without printf's cost: every date and time of a table
// or an export passes here.
std::string ZeroPadded(int nValue, int nWidth)
{
    char szDigits[16];
    const auto result = std::to_chars(szDigits, szDigits + sizeof szDigits, nValue);
    const char* pDigits = szDigits;
    std::string strResult;
    if (*pDigits == '-') {
        strResult += '-';
        ++pDigits;
        --nWidth;
    }
    const int nDigits = static_cast<int>(result.ptr - pDigits);
    if (nWidth > nDigits)
        strResult.append(static_cast<std::size_t>(nWidth - nDigits), '0');
    strResult.append(pDigits, static_cast<std::size_t>(result.ptr - pDigits));
    return strResult;
}

std::string Decimal(int nValue, bool bTwoDigits)
{
    return ZeroPadded(nValue, bTwoDigits ? 2 : 0);
}

// A calendar record whose date the runtime can represent.
// The record's date carried into range by the calendar alone: a date needs
// no time zone, and asking the runtime costs a look at the zone file on
// every call.
std::tm CivilDate(const std::tm& tm)
{
    std::tm day = tm;
    day.tm_hour = 0;
    day.tm_min = 0;
    day.tm_sec = 0;
    return NormalizeCivilTime(day);
}

// Dates from 1970 to 3000 have a calendar time.
bool IsRepresentableDate(const std::tm& date)
{
    return date.tm_year >= 70 && date.tm_year <= 1100;
}

bool IsRepresentable(const std::tm& tm)
{
    return IsRepresentableDate(CivilDate(tm));
}

}  // namespace

std::string FormatDateFields(int nYear, int nMonth, int nDay)
{
    const std::string strPicture = Dates().strPicture;
    std::string strResult;
    for (std::size_t i = 0; i < strPicture.size();) {
        const char c = strPicture[i];
        if (c != 'd' && c != 'M' && c != 'y') {
            strResult += c;
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < strPicture.size() && strPicture[j] == c)
            ++j;
        const std::size_t nRun = j - i;
        i = j;
        if (c == 'y') {
            if (nRun == 2)
                strResult += Decimal(nYear >= 2000 ? nYear - 2000 : nYear - 1900, true);
            else if (nRun == 4)
                strResult += ZeroPadded(nYear, 4);
        } else if (nRun <= 2) {
            strResult += Decimal(c == 'd' ? nDay : nMonth, nRun == 2);
        }
    }
    return strResult;
}

std::string FormatTimeFields(int nHour, int nMinute, int nSecond, bool bWithSeconds)
{
    const TimeValues values = Times();
    const bool bLeadingZero = values.nLeadingZero == 1;
    int nShownHour = nHour;
    if (values.b12Hour) {
        if (nShownHour > 12)
            nShownHour -= 12;
        else if (nShownHour == 0)
            nShownHour = 12;
    }
    std::string strResult = Decimal(nShownHour, bLeadingZero);
    strResult += values.cSeparator;
    strResult += Decimal(nMinute, true);
    if (bWithSeconds) {
        strResult += values.cSeparator;
        // Only the hour goes without its leading zero: "11:39:5" reads as
        // fifty seconds.
        strResult += Decimal(nSecond, true);
    }
    if (values.b12Hour) {
        const std::string& strSuffix = nHour >= 12 ? values.strAfternoon : values.strMorning;
        if (!strSuffix.empty())
            strResult += " " + strSuffix;
    }
    return strResult;
}

char GetDecimalSeparator()
{
    return Numbers().cDecimal;
}

char GetThousandsSeparator()
{
    return Numbers().cThousand;
}

int GetLeadingZeroFlag()
{
    return Numbers().nLeadingZero;
}

std::string GetShortDatePicture()
{
    return Dates().strPicture;
}

char GetTimeSeparator()
{
    return Times().cSeparator;
}

int GetTimeLeadingZeroFlag()
{
    return Times().nLeadingZero;
}

bool Is12HourClock()
{
    return Times().b12Hour;
}

std::string GetTimeSuffix(bool bAfternoon)
{
    const TimeValues values = Times();
    return bAfternoon ? values.strAfternoon : values.strMorning;
}

void ResetLocaleCache()
{
    std::lock_guard<std::mutex> lock(g_mutexLocale);
    g_numberValues.reset();
    g_dateValues.reset();
    g_timeValues.reset();
}

std::string FormatNumber(double dValue, int nDecimals, bool bThousands)
{
    char cDecimal = '.';
    return FormatNumber(dValue, nDecimals, bThousands, cDecimal);
}

std::string FormatNumber(double dValue, int nDecimals, bool bThousands, char& cDecimal)
{
    const NumberValues values = Numbers();
    cDecimal = values.cDecimal;
    const bool bTrim = nDecimals < 0;
    const int nDigits = bTrim ? 15 : std::min(nDecimals, 100);

    char szBuffer[512];
    std::to_chars_result result {};
    const double dMagnitude = std::fabs(dValue);
    if (dMagnitude < 1e15 && dMagnitude == std::trunc(dMagnitude)) {
        // A whole number (most values are) has these very digits and a zero
        // fraction; written without the costlier decimal conversion.
        result = std::to_chars(szBuffer, szBuffer + 32, static_cast<unsigned long long>(dMagnitude));
        if (nDigits > 0) {
            *result.ptr++ = '.';
            result.ptr = std::fill_n(result.ptr, nDigits, '0');
        }
    } else {
        result = std::to_chars(szBuffer, szBuffer + sizeof(szBuffer), dMagnitude, std::chars_format::fixed, nDigits);
    }
    if (result.ec != std::errc())
        return std::string();
    // Views into the buffer rather than strings: every value of a table or
    // an export passes here.
    const std::string_view strDigits(szBuffer, static_cast<std::size_t>(result.ptr - szBuffer));
    if (!std::isfinite(dValue))
        return (dValue < 0 ? "-" : "") + std::string(strDigits);

    const std::size_t nPoint = strDigits.find('.');
    const std::string_view strInteger = strDigits.substr(0, nPoint);
    const std::string_view strFraction =
        nPoint == std::string_view::npos ? std::string_view() : strDigits.substr(nPoint + 1);

    std::string strResult;
    strResult.reserve(strDigits.size() + strInteger.size() / 3 + 2);
    if (dValue < 0)
        strResult += '-';
    if (strInteger == "0") {
        if (values.nLeadingZero == 1)
            strResult += '0';
    } else {
        for (std::size_t i = 0; i < strInteger.size(); ++i) {
            if (bThousands && i > 0 && (strInteger.size() - i) % 3 == 0)
                strResult += values.cThousand;
            strResult += strInteger[i];
        }
    }
    strResult += values.cDecimal;
    strResult += strFraction;
    if (bTrim) {
        const std::size_t nKeep = strResult.size() - strFraction.size();
        while (strResult.size() > nKeep && strResult.back() == '0')
            strResult.pop_back();
    }
    return strResult;
}

std::string FormatDate(const CTime& time)
{
    std::tm tm{};
    if (time.GetTime() == 0 || !time.GetLocalTm(tm))
        return std::string();
    return FormatDateFields(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

std::string FormatTime(const CTime& time, bool bWithSeconds)
{
    std::tm tm{};
    if (time.GetTime() == 0 || !time.GetLocalTm(tm))
        return std::string();
    return FormatTimeFields(tm.tm_hour, tm.tm_min, tm.tm_sec, bWithSeconds);
}

bool ParseDouble(const std::string& strText, double& dValue)
{
    std::size_t pos = 0;
    SkipBlanks(strText, pos);
    std::string strNumber = strText.substr(pos);
    const char cDecimal = GetDecimalSeparator();
    if (cDecimal != '.') {
        const std::size_t nSeparator = strNumber.find(cDecimal);
        if (nSeparator != std::string::npos)
            strNumber[nSeparator] = '.';
    }

    const char* pBegin = strNumber.data();
    const char* pEnd = pBegin + strNumber.size();
    if (pBegin != pEnd && *pBegin == '+') {
        ++pBegin;
        if (pBegin != pEnd && (*pBegin == '-' || *pBegin == '+'))
            return false;
    }
    // Plain decimal or exponent notation only, read the same in every locale.
    double dResult = 0.0;
    const auto result = std::from_chars(pBegin, pEnd, dResult, std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(dResult))
        return false;
    for (const char* p = result.ptr; p != pEnd; ++p)
        if (!IsBlank(*p))
            return false;
    dValue = dResult;
    return true;
}

bool ParseDate(const std::string& strText, CTime& time)
{
    const DateValues dates = Dates();
    std::size_t pos = 0;
    SkipBlanks(strText, pos);

    int nNumbers[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        if (!ReadNumber(strText, pos, 9999, nNumbers[i]) || nNumbers[i] > 9999)
            return false;
        if (i < 2) {
            if (pos >= strText.size() || !IsPunct(strText[pos]))
                return false;
            ++pos;
        } else {
            // A closing dot ("24.12.2005.") may follow, a letter may not.
            SkipSeparator(strText, pos);
        }
    }
    SkipBlanks(strText, pos);
    if (pos != strText.size())
        return false;

    int nDay = 0, nMonth = 0, nYear = 0;
    for (int i = 0; i < 3; ++i) {
        switch (dates.order[i]) {
        case DateField::Day: nDay = nNumbers[i]; break;
        case DateField::Month: nMonth = nNumbers[i]; break;
        case DateField::Year: nYear = nNumbers[i]; break;
        case DateField::None: break;
        }
    }
    if (nYear < 100)
        nYear += nYear < 50 ? 2000 : 1900;
    if (nYear < 1970 || nYear > 2035 || nMonth < 1 || nMonth > 12)
        return false;
    static const int kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool bLeap = (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
    const int nMaxDay = kDaysInMonth[nMonth - 1] + ((nMonth == 2 && bLeap) ? 1 : 0);
    if (nDay < 1 || nDay > nMaxDay)
        return false;

    const CTime result(nYear, nMonth, nDay, 12, 0, 0);
    if (result.GetTime() < 0)
        return false;
    time = result;
    return true;
}

bool ParseTime(const std::string& strText, CTime& time)
{
    const TimeValues values = Times();
    std::size_t pos = 0;
    SkipBlanks(strText, pos);

    int nHours = 0, nMinutes = 0, nSeconds = 0;
    if (!ReadNumber(strText, pos, 100, nHours))
        return false;
    if (pos >= strText.size() || !IsPunct(strText[pos]))
        return false;
    ++pos;
    if (nHours > 100)
        return false;

    if (!ReadNumber(strText, pos, 100, nMinutes))
        return false;
    bool bSuffix = false;
    if (values.b12Hour && pos < strText.size() && !IsPunct(strText[pos]) && !IsBlank(strText[pos])) {
        if (!ApplySuffix(strText, pos, values, nHours))
            return false;
        bSuffix = true;
    }
    // Only a separator may stand between minutes and seconds or suffix.
    SkipSeparator(strText, pos);
    if (nMinutes > 100)
        return false;

    if (pos < strText.size() && IsDigit(strText[pos])) {
        ReadNumber(strText, pos, 100, nSeconds);
        if (nSeconds > 100)
            return false;
    }

    SkipBlanks(strText, pos);
    if (values.b12Hour && !bSuffix && pos < strText.size())
        ApplySuffix(strText, pos, values, nHours);
    SkipBlanks(strText, pos);
    if (pos != strText.size())
        return false;

    if (nHours > 23 || nMinutes > 59 || nSeconds > 59)
        return false;
    time = CTime(2000, 1, 1, nHours, nMinutes, nSeconds);
    return true;
}

void TmToDate(std::string& strText, const std::tm& tm)
{
    // A day past the month's end reads as the day it stands for.
    const std::tm date = CivilDate(tm);
    if (!IsRepresentableDate(date)) {
        strText.clear();
        return;
    }
    strText = FormatDateFields(date.tm_year + 1900, date.tm_mon + 1, date.tm_mday);
}

std::string TmToDate(const std::tm& tm)
{
    std::string strText;
    TmToDate(strText, tm);
    return strText;
}

void TmToDateText(std::string& strText, const std::tm& tm)
{
    if (!IsRepresentable(tm) || tm.tm_hour < 0 || tm.tm_hour > 23 || tm.tm_min < 0 || tm.tm_min > 59) {
        strText.clear();
        return;
    }
    strText = FormatTimeFields(tm.tm_hour, tm.tm_min, 0, false);
}
