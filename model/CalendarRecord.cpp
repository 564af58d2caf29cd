#include "model/CalendarRecord.h"

#include "model/HexFields.h"
#include "model/Locale.h"
#include "common/Log.h"
#include "common/ResString.h"
#include "platform/archive/Archive.h"

#include <cstdint>

namespace {

BYTE LowByte(int nValue)
{
    return static_cast<BYTE>(static_cast<unsigned>(nValue) & 0xFFu);
}

// The five bytes of one calendar value.
void FillCalendarBytes(BYTE* pBuffer, const std::tm& tm)
{
    pBuffer[0] = LowByte(tm.tm_year - 100);
    pBuffer[1] = LowByte(tm.tm_mon + 1);
    pBuffer[2] = LowByte(tm.tm_mday);
    pBuffer[3] = LowByte(tm.tm_hour);
    pBuffer[4] = LowByte(tm.tm_min);
}

std::int64_t FloorDiv64(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

}  // namespace

void FillCalendarRecord(BYTE* pBuffer, const std::tm& start, const std::tm& end, BYTE nLast)
{
    FillCalendarBytes(pBuffer, start);
    FillCalendarBytes(pBuffer + 5, end);
    pBuffer[10] = nLast;
}

std::string FormatCalendarRecord(const std::tm& start, const std::tm& end, BYTE nLast)
{
    BYTE arrRecord[CALENDAR_RECORD_SIZE];
    FillCalendarRecord(arrRecord, start, end, nLast);
    std::string strText;
    strText.reserve(CALENDAR_RECORD_DIGITS);
    for (BYTE nByte : arrRecord)
        AppendHexField(strText, nByte, 2);
    return strText;
}

bool ExtractCalendarFields(const std::string& strText, std::size_t& pos, std::tm& tm, const char* pszCaller)
{
    DWORD arrFields[5] = {};
    for (DWORD& dwField : arrFields) {
        if (!ParseHexField(strText, pos, 2, dwField)) {
            LOG_ERROR("%s: empty data string", pszCaller);
            return false;
        }
    }
    tm.tm_year = static_cast<int>(arrFields[0]) + 100;
    tm.tm_mon = static_cast<int>(arrFields[1]) - 1;
    tm.tm_mday = static_cast<int>(arrFields[2]);
    tm.tm_hour = static_cast<int>(arrFields[3]);
    tm.tm_min = static_cast<int>(arrFields[4]);
    return true;
}

std::int64_t DaysFromCivil(std::int64_t nYear, int nMonth, int nDay)
{
    nYear -= nMonth <= 2 ? 1 : 0;
    const std::int64_t nEra = FloorDiv64(nYear, 400);
    const std::int64_t nYearOfEra = nYear - nEra * 400;
    const std::int64_t nDayOfYear = (153 * (nMonth + (nMonth > 2 ? -3 : 9)) + 2) / 5 + nDay - 1;
    const std::int64_t nDayOfEra = nYearOfEra * 365 + nYearOfEra / 4 - nYearOfEra / 100 + nDayOfYear;
    return nEra * 146097 + nDayOfEra - 719468;
}

std::tm NormalizeCivilTime(const std::tm& tm)
{
    // Seconds, minutes and hours carry into the day count; months carry into
    // the year before the day is counted from the month's first.
    std::int64_t nSeconds = static_cast<std::int64_t>(tm.tm_hour) * 3600 + static_cast<std::int64_t>(tm.tm_min) * 60 +
                            tm.tm_sec;
    std::int64_t nDayCarry = FloorDiv64(nSeconds, 86400);
    nSeconds -= nDayCarry * 86400;
    std::int64_t nYear = static_cast<std::int64_t>(tm.tm_year) + 1900 + FloorDiv64(tm.tm_mon, 12);
    const int nMonth = static_cast<int>(tm.tm_mon - FloorDiv64(tm.tm_mon, 12) * 12) + 1;
    const std::int64_t nDays = DaysFromCivil(nYear, nMonth, 1) + (tm.tm_mday - 1) + nDayCarry;

    // Back from the day count to a civil date.
    const std::int64_t z = nDays + 719468;
    const std::int64_t nEra = FloorDiv64(z, 146097);
    const std::int64_t nDayOfEra = z - nEra * 146097;
    const std::int64_t nYearOfEra = (nDayOfEra - nDayOfEra / 1460 + nDayOfEra / 36524 - nDayOfEra / 146096) / 365;
    const std::int64_t nDayOfYear = nDayOfEra - (365 * nYearOfEra + nYearOfEra / 4 - nYearOfEra / 100);
    const std::int64_t mp = (5 * nDayOfYear + 2) / 153;
    const int nDay = static_cast<int>(nDayOfYear - (153 * mp + 2) / 5 + 1);
    const int nCivilMonth = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    nYear = nYearOfEra + nEra * 400 + (nCivilMonth <= 2 ? 1 : 0);

    std::tm result {};
    result.tm_year = static_cast<int>(nYear - 1900);
    result.tm_mon = nCivilMonth - 1;
    result.tm_mday = nDay;
    result.tm_hour = static_cast<int>(nSeconds / 3600);
    result.tm_min = static_cast<int>((nSeconds % 3600) / 60);
    result.tm_sec = static_cast<int>(nSeconds % 60);
    // 1970-01-01 was a Thursday.
    result.tm_wday = static_cast<int>(nDays + 4 - 7 * FloorDiv64(nDays + 4, 7));
    result.tm_yday = static_cast<int>(nDays - DaysFromCivil(nYear, 1, 1));
    result.tm_isdst = 0;
    return result;
}

int GetCivilWeekday(const std::tm& tm)
{
    return NormalizeCivilTime(tm).tm_wday;
}

int CompareCalendarTimes(const std::tm& a, const std::tm& b)
{
    const auto seconds = [](const std::tm& tm) {
        const std::tm civil = NormalizeCivilTime(tm);
        return DaysFromCivil(civil.tm_year + 1900, civil.tm_mon + 1, civil.tm_mday) * 86400 +
               civil.tm_hour * 3600 + civil.tm_min * 60 + civil.tm_sec;
    };
    const std::int64_t nA = seconds(a);
    const std::int64_t nB = seconds(b);
    return nA < nB ? -1 : (nA > nB ? 1 : 0);
}

void StoreCalendarWords(CArchive& ar, const std::tm& tm)
{
    ar << static_cast<WORD>(tm.tm_year) << static_cast<WORD>(tm.tm_mon) << static_cast<WORD>(tm.tm_mday)
       << static_cast<WORD>(tm.tm_hour) << static_cast<WORD>(tm.tm_min);
}

void LoadCalendarWords(CArchive& ar, std::tm& tm, bool bWithMinutes)
{
    tm = std::tm {};
    WORD wYear = 0;
    WORD wMonth = 0;
    WORD wDay = 0;
    WORD wHour = 0;
    WORD wMinute = 0;
    ar >> wYear >> wMonth >> wDay >> wHour;
    if (bWithMinutes)
        ar >> wMinute;
    tm.tm_year = wYear;
    tm.tm_mon = wMonth;
    tm.tm_mday = wDay;
    tm.tm_hour = wHour;
    tm.tm_min = wMinute;
}

std::string FormatCalendarText(const std::string& strPrefix, const std::tm& tm, bool bWithClockWord)
{
    std::string strDate;
    std::string strTime;
    TmToDate(strDate, tm);
    TmToDateText(strTime, tm);
    // Appended in place: every special day and period has two of these.
    std::string strText;
    strText.reserve(strPrefix.size() + strDate.size() + strTime.size() + 12);
    strText += strPrefix;
    strText += ' ';
    strText += strDate;
    strText += ", ";
    strText += strTime;
    if (bWithClockWord)
        AppendClockWord(strText);
    return strText;
}

void AppendClockWord(std::string& strTime)
{
    if (Is12HourClock())
        return;
    strTime += ' ';
    strTime += GetResString(817, "Uhr");
}
