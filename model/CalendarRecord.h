#pragma once
// The calendar records that special days and daylight-saving periods share:
// start and end as broken-down times (year since 1900, month 0..11), their
// 11-byte device and parameter record (year - 2000, month 1..12, day, hour
// and minute of the start, the same five of the end, then one byte of the
// owner's), their data-file words and the civil-calendar arithmetic that
// carries out-of-range values over without asking the machine's time zone.

#include "platform/base/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

class CArchive;

constexpr std::size_t CALENDAR_RECORD_SIZE = 11;
constexpr std::size_t CALENDAR_RECORD_DIGITS = 2 * CALENDAR_RECORD_SIZE;
// The first byte of an empty record.
constexpr BYTE CALENDAR_RECORD_EMPTY = 0xFF;

// The 11 bytes of a record; each field is cut to its low byte.
void FillCalendarRecord(BYTE* pBuffer, const std::tm& start, const std::tm& end, BYTE nLast);
// The same record as 22 lower-case hexadecimal digits.
std::string FormatCalendarRecord(const std::tm& start, const std::tm& end, BYTE nLast);

// Reads the five two-digit fields of one calendar value at pos (year - 2000,
// month 1..12, day, hour, minute) into tm and moves pos on; false, logged
// with the caller's name, when the text ends before a field. The values are
// taken as they stand.
bool ExtractCalendarFields(const std::string& strText, std::size_t& pos, std::tm& tm, const char* pszCaller);

// Days since 1970-01-01 of a proleptic Gregorian date (month 1..12).
std::int64_t DaysFromCivil(std::int64_t nYear, int nMonth, int nDay);
// The value with every field carried into range (day 31 of a 30-day month
// becomes day 1 of the next month, minute 60 the next hour), weekday and day
// of the year filled in and no daylight saving, as the calendar counts it.
std::tm NormalizeCivilTime(const std::tm& tm);
// The weekday of the value's date, 0 Sunday .. 6 Saturday.
int GetCivilWeekday(const std::tm& tm);
// -1, 0 or 1 as a is before, equal to or after b on the civil calendar
// (fields carried into range first; no time zone, no daylight saving).
int CompareCalendarTimes(const std::tm& a, const std::tm& b);

// The data-file words: year since 1900, month 0..11, day, hour and, when
// asked, minute.
void StoreCalendarWords(CArchive& ar, const std::tm& tm);
// Clears tm and reads the words; without minutes they stay 0.
void LoadCalendarWords(CArchive& ar, std::tm& tm, bool bWithMinutes);

// "<prefix> <date>, <time>" with the short date and the time of day without
// seconds; the clock word follows when asked (AppendClockWord).
std::string FormatCalendarText(const std::string& strPrefix, const std::tm& tm, bool bWithClockWord);
// A blank and the clock word ("Uhr") after a time of day; not after a
// 12-hour time, whose AM/PM suffix already ends it.
void AppendClockWord(std::string& strTime);
