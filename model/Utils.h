#pragma once
// Shared functions of the parameter set: the text and byte forms of a value
// by its object type, object-type and value-size names, parameter-text
// holders, date and time input, weekday and priority names, small number and
// time helpers.

#include "model/StringLongObject.h"
#include "platform/base/Object.h"
#include "platform/base/Time.h"
#include "platform/base/WinTypes.h"

#include <ctime>
#include <initializer_list>
#include <list>
#include <memory>
#include <string>
#include <vector>

// Value forms by object type (the main type a group address carries).
std::string FormatValue(int nObjectType, int nSubType, DWORD dwRawValue, bool bWithUnit);
double DecodeDptValue(int nObjectType, DWORD dwRawValue);
// The two value bytes of a download record, low byte first; an unknown type
// leaves the output unchanged.
void EncodeDptValue(DWORD dwRawValue, int nObjectType, BYTE* pOutput);
double GetDptMaxValue(int nObjectType);
double GetDptMinValue(int nObjectType);
int GetKnxValueType(int nObjectType);
int GetDptTypeCode(int nObjectType);
bool IsSupportedKnxValueType(int nValueType);
std::string FormatFloatValue(double dValue, int nDecimals, bool bStripSeparator, bool bGroupThousands);
std::string GetDptTypeName(int nObjectType);
std::string GetDptSizeName(int nValueType);
// The bus form of an internal group address (main group in bits 11..14).
void ConvertGroupAddressToKnx(WORD& wAddress);

// Parameter-text holders.
void AddStringLongObject(CStringLongObjectArray& array, LONG nId, const std::string& strText, int nIndex);
void CopyStringLongObjectArray(CStringLongObjectArray& target, const CStringLongObjectArray& source);

// Date and time input.
bool ParseDateText(const std::string& strText, CTime& date);
bool ParseTimeText(const std::string& strText, CTime& time);
bool IsYearInRange(const CTime& time);
bool IsTmYearInRange(const std::tm& tm);
// A date text that parses to a year in range: what the date fields take.
bool IsDateTextAccepted(const std::string& strText);
void ShowInvalidDateMessage(HWND hParent);
void ShowAssociationLimitMessage(HWND hParent);

// Names.
std::string GetWeekdayName(int nDay);       // 0 = Monday
std::string GetShortWeekdayName(int nDay);  // 1 = Monday
std::string GetPriorityName(int nPriority);
UINT GetHelpStringId(int nTableType);
std::string FormatUsageLine(std::string& strText, bool bTabbed, const std::string& strName, int nSize, int nUsed);

// Small functions.
std::string FormatDecimal(DWORD dwValue, int nDigits, bool bKeepLeadingZeros);
// A number with at least two digits: "07", "12", "123".
std::string FormatTwoDigits(int nNumber);
// A resource text with its "%d" fields filled in order. The text is never
// handed to printf, so a stray field in a translation cannot read past the
// values given.
std::string FormatIntFields(const std::string& strFormat, std::initializer_list<int> values);
std::string FormatDecimalSigned(LONG nValue, int nDigits, bool bKeepLeadingZeros);
void StripTrailingChar(std::string& str, char ch);
int FloorDiv(int a, int b);
std::tm TimeToTm(std::int64_t nTime);
std::int64_t TmToDateTime(const std::tm& tm);
std::string GetExeFileName();

// The data-kind bits of an object by its class: day routine 1, switching
// time 2, daylight-saving period 8, special day 16, quantity 32, quantity
// member 64, group address 256; 0 otherwise.
int GetObjectKindFlag(const CObject* pObject);

// The help context of a table type; the application help for a type
// without a page of its own.
DWORD GetObjectTypeStringId(int nTableType);
constexpr DWORD kApplicationHelpContext = 131185;

enum ObjectKindFlag {
    OKF_DAYROUTINE = 1,
    OKF_DAYSWITCHTIME = 2,
    OKF_SUMMERTIME = 8,
    OKF_SPECIALDAY = 16,
    OKF_QUANTITY = 32,
    OKF_QUANTITYMEMBER = 64,
    OKF_GROUPADDRESS = 256,
};

template <typename T>
void DeleteObArrayItems(std::vector<std::unique_ptr<T>>& array)
{
    array.clear();
}

template <typename T>
void DeleteObListItems(std::list<std::unique_ptr<T>>& list)
{
    list.clear();
}

// Empties the host object maps (releasing the host objects they hold) and the
// datapoint-type table at the end of an editing run.
void ReleaseGlobalObjects();
