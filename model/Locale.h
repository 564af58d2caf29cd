#pragma once
// Locale texts of numbers, dates and times. Every decimal value, date and
// time of day that the user sees or types goes through these functions. The
// regional values ("Intl": separators, leading zeros, date picture, clock)
// are read once per process, in three groups each on first use.

#include "platform/base/Time.h"

#include <ctime>
#include <string>

char GetDecimalSeparator();
char GetThousandsSeparator();
int GetLeadingZeroFlag();
std::string GetShortDatePicture();
char GetTimeSeparator();
int GetTimeLeadingZeroFlag();
// True for a 12-hour clock: the locale asks for one and names at least one
// of the two suffixes (without any, a 12-hour time could not be read back).
bool Is12HourClock();
// The suffix of times from noon on (true) or before noon (false); empty with
// the 24-hour clock.
std::string GetTimeSuffix(bool bAfternoon);

// Forgets the cached values, so the next call reads them again (tests).
void ResetLocaleCache();

// Sign, integer digits (grouped by the thousands separator when asked), the
// decimal separator (also with 0 decimals) and the fraction rounded to the
// given digits; a negative count gives up to 15 digits without trailing
// zeros.
std::string FormatNumber(double dValue, int nDecimals, bool bThousands);
// The same; cDecimal receives the decimal separator it used.
std::string FormatNumber(double dValue, int nDecimals, bool bThousands, char& cDecimal);
// The short-date text; empty for the zero time or a time without local form.
std::string FormatDate(const CTime& time);
// The time of day, with or without seconds; empty as FormatDate.
std::string FormatTime(const CTime& time, bool bWithSeconds);
// The same texts of fields as they are, without a calendar time, which
// would move an impossible date (month 13, day 0) elsewhere.
std::string FormatDateFields(int nYear, int nMonth, int nDay);
std::string FormatTimeFields(int nHour, int nMinute, int nSecond, bool bWithSeconds);

// A number with the locale's decimal separator (or "."), surrounded only by
// white space.
bool ParseDouble(const std::string& strText, double& dValue);
// A date of three numbers in the picture's order; the result is that day at
// 12:00:00. Years 1970..2035 (two digits: below 50 -> 20xx, else 19xx).
bool ParseDate(const std::string& strText, CTime& time);
// Hours, minutes and optional seconds (with a suffix on a 12-hour clock);
// the result is that time on 2000-01-01.
bool ParseTime(const std::string& strText, CTime& time);

// The short-date text of the record's date (tm_year + 1900, tm_mon + 1,
// tm_mday); empty when the date cannot be represented.
void TmToDate(std::string& strText, const std::tm& tm);
std::string TmToDate(const std::tm& tm);
// The record's time of day (hour and minute) in the locale's time format;
// empty when its date cannot be represented.
void TmToDateText(std::string& strText, const std::tm& tm);
