#include "model/Utils.h"

#include "access/HostObjectMaps.h"
#include "model/DptManager.h"
#include "model/Float16Value.h"
#include "model/Locale.h"
#include "common/Log.h"
#include "common/MessageBox.h"
#include "common/ResString.h"
#include "platform/base/PathUtil.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace {

// One row of the object-type table.
struct ObjectTypeInfo {
    int nType;
    UINT nNameId;
    const char* pszName;
    int nKnxValueType;
    int nTypeCode;
    double dMax;
    double dMin;
};

constexpr ObjectTypeInfo kObjectTypes[] = {
    {1, 250, "1 Bit", 0, 1, 1, 0},
    {2, 251, "2 Bit Priorität", 1, 2, 3, 0},
    {5, 252, "1 Byte vorzeichenlos", 7, 3, 255, 0},
    {6, 253, "1 Byte vorzeichenbehaftet", 7, 4, 127, -128},
    {7, 254, "2 Byte vorzeichenlos", 8, 5, 65535, 0},
    {8, 255, "2 Byte vorzeichenbehaftet", 8, 6, 32767, -32768},
    {9, 256, "2 Byte Gleitkommazahl", 8, 7, CFloat16Value::kMaxValue, CFloat16Value::kMinValue},
    {10, 257, "3 Byte Zeit", 9, 0, 1, 0},
    {11, 258, "3 Byte Datum", 9, 0, 1, 0},
};
constexpr ObjectTypeInfo kUnknownObjectType = {0, 259, "ungültig", -1, 0, 1, 0};

const ObjectTypeInfo& ObjectType(int nType)
{
    for (const auto& info : kObjectTypes)
        if (info.nType == nType)
            return info;
    return kUnknownObjectType;
}

// Fills the "%s" places of a resource text in order. Resource texts are not
// trusted as printf formats.
std::string FillPlaceholders(std::string strFormat, std::initializer_list<std::string> values)
{
    std::size_t pos = 0;
    for (const std::string& value : values) {
        pos = strFormat.find("%s", pos);
        if (pos == std::string::npos)
            break;
        strFormat.replace(pos, 2, value);
        pos += value.size();
    }
    return strFormat;
}

bool AllDigits(const std::string& str)
{
    for (char c : str)
        if (c < '0' || c > '9')
            return false;
    return !str.empty();
}

}  // namespace

std::string FormatValue(int nObjectType, int nSubType, DWORD dwRawValue, bool bWithUnit)
{
    const CDptSubType* pSubType =
        g_DptManager.GetSubType(static_cast<WORD>(nObjectType), static_cast<WORD>(nSubType));
    if (!pSubType) {
        LOG_ERROR("FormatValue: don't know how to format MainType=%d", nObjectType);
        return {};
    }
    if (nObjectType == 2) {
        switch (dwRawValue & 0xFF) {
        case 0:
            return GetResString(340, "Frei");
        case 2:
            return GetResString(342, "Zwangs-Aus");
        case 3:
            return GetResString(341, "Zwangs-Ein");
        default:
            return {};
        }
    }
    double dScale = 1.0;
    const double dTypeRange = pSubType->GetMax() - pSubType->GetMin();
    const double dObjectRange = GetDptMaxValue(nObjectType) - GetDptMinValue(nObjectType);
    if (dTypeRange != 0.0 && dObjectRange != 0.0 && pSubType->GetScaleFlag())
        dScale = dTypeRange / dObjectRange;

    int nDecimals = 0;
    if (nObjectType == 9 || (nObjectType == 5 && nSubType == 1))
        nDecimals = 2;
    else if (std::fabs(std::fabs(dScale) - 1.0) > 0.00001)
        nDecimals = static_cast<int>(std::ceil(std::fabs(std::log10(dScale))));

    std::string strText = FormatFloatValue(dScale * DecodeDptValue(nObjectType, dwRawValue), nDecimals, true, false);
    if (bWithUnit && nObjectType != 9 && !pSubType->GetUnit().empty())
        strText += " " + pSubType->GetUnit();
    return strText;
}

double DecodeDptValue(int nObjectType, DWORD dwRawValue)
{
    switch (nObjectType) {
    case 1:
        return static_cast<LONG>(dwRawValue);
    case 2:
    case 5:
        return static_cast<BYTE>(dwRawValue);
    case 6:
        return static_cast<std::int8_t>(dwRawValue & 0xFF);
    case 7:
        return static_cast<WORD>(dwRawValue);
    case 8:
        return static_cast<SHORT>(dwRawValue & 0xFFFF);
    case 9: {
        CFloat16Value value;
        value.SetLowByte(static_cast<BYTE>(dwRawValue & 0xFF));
        value.SetHighByte(static_cast<BYTE>((dwRawValue >> 8) & 0xFF));
        return value.GetValue();
    }
    default:
        LOG_ERROR("Trying to access unknown DPT main type = %d", nObjectType);
        return 0;
    }
}

void EncodeDptValue(DWORD dwRawValue, int nObjectType, BYTE* pOutput)
{
    if (!pOutput)
        return;
    switch (nObjectType) {
    case 1:
    case 2:
    case 5:
    case 6:
        pOutput[0] = static_cast<BYTE>(dwRawValue & 0xFF);
        pOutput[1] = 0;
        break;
    case 7:
    case 8:
    case 9:
        pOutput[0] = static_cast<BYTE>(dwRawValue & 0xFF);
        pOutput[1] = static_cast<BYTE>((dwRawValue >> 8) & 0xFF);
        break;
    default:
        break;
    }
}

double GetDptMaxValue(int nObjectType) { return ObjectType(nObjectType).dMax; }
double GetDptMinValue(int nObjectType) { return ObjectType(nObjectType).dMin; }
int GetKnxValueType(int nObjectType) { return ObjectType(nObjectType).nKnxValueType; }
int GetDptTypeCode(int nObjectType) { return ObjectType(nObjectType).nTypeCode; }

bool IsSupportedKnxValueType(int nValueType)
{
    switch (nValueType) {
    case -1:
    case 0:
    case 1:
    case 7:
    case 8:
    case 9:
        return true;
    default:
        return false;
    }
}

std::string FormatFloatValue(double dValue, int nDecimals, bool bStripSeparator, bool bGroupThousands)
{
    char chSeparator = '.';
    std::string strText = FormatNumber(dValue, nDecimals, bGroupThousands, chSeparator);
    if (bStripSeparator && !strText.empty() && strText.back() == chSeparator)
        strText.pop_back();
    if (nDecimals >= 0) {
        std::size_t pos = strText.find(chSeparator);
        if (pos != std::string::npos && pos + 1 + static_cast<std::size_t>(nDecimals) < strText.size())
            strText.resize(pos + 1 + static_cast<std::size_t>(nDecimals));
    }
    return strText;
}

std::string GetDptTypeName(int nObjectType)
{
    const ObjectTypeInfo& info = ObjectType(nObjectType);
    return GetResString(info.nNameId, info.pszName);
}

std::string GetDptSizeName(int nValueType)
{
    switch (nValueType) {
    case 0:
        return GetResString(290, "1 Bit");
    case 1:
        return GetResString(291, "2 Bit");
    case 7:
        return GetResString(292, "1 Byte");
    case 8:
        return GetResString(293, "2 Byte");
    case 9:
        return GetResString(294, "3 Byte");
    default:
        return GetResString(295, "ungültig");
    }
}

void ConvertGroupAddressToKnx(WORD& wAddress)
{
    // Middle group bits 8..10 and the sub group stay; the main group moves
    // down one bit; bit 11 of the internal form has no place on the bus.
    const WORD wMain = static_cast<WORD>((wAddress >> 12) & 0x0F);
    wAddress = static_cast<WORD>((wAddress & 0x07FF) | (wMain << 11));
}

void AddStringLongObject(CStringLongObjectArray& array, LONG nId, const std::string& strText, int nIndex)
{
    if (nIndex < 0) {
        LOG_ERROR("failed to allocate CStringLongObject");
        return;
    }
    const auto nAt = static_cast<std::size_t>(nIndex);
    if (array.size() <= nAt)
        array.resize(nAt + 1);
    // A parameter seen twice at one index replaces the earlier one.
    array[nAt] = std::make_unique<CStringLongObject>(strText, nId);
}

void CopyStringLongObjectArray(CStringLongObjectArray& target, const CStringLongObjectArray& source)
{
    DeleteObArrayItems(target);
    target.resize(source.size());
    for (std::size_t i = 0; i < source.size(); ++i)
        if (source[i])
            target[i] = std::make_unique<CStringLongObject>(source[i]->GetText(), source[i]->GetId());
}

bool ParseDateText(const std::string& strText, CTime& date)
{
    std::string strDate = strText;
    if (strText.size() == 8 && AllDigits(strText))
        strDate = strText.substr(0, 2) + "." + strText.substr(2, 2) + "." + strText.substr(4, 4);
    else if (strText.size() == 6 && AllDigits(strText))
        strDate = strText.substr(0, 2) + "." + strText.substr(2, 2) + "." + strText.substr(4, 2);
    return ParseDate(strDate, date);
}

bool ParseTimeText(const std::string& strText, CTime& time)
{
    std::string strTime = strText;
    if (strTime.size() < 4)
        strTime.insert(0, 4 - strTime.size(), '0');
    if (strTime.size() == 4 && AllDigits(strTime))
        strTime = strTime.substr(0, 2) + GetTimeSeparator() + strTime.substr(2, 2);
    return ParseTime(strTime, time);
}

bool IsYearInRange(const CTime& time)
{
    const int nYear = time.GetYear();
    return nYear >= 2000 && nYear <= 2035;
}

bool IsDateTextAccepted(const std::string& strText)
{
    CTime date;
    return ParseDateText(strText, date) && IsYearInRange(date);
}

bool IsTmYearInRange(const std::tm& tm)
{
    return tm.tm_year >= 100 && tm.tm_year <= 135;
}

void ShowInvalidDateMessage(HWND hParent)
{
    const std::string strText = FillPlaceholders(GetResString(240, "Zulässig sind Eingaben vom %s bis %s."),
                                                 {FormatDate(CTime(2000, 1, 1, 0, 0, 0)),
                                                  FormatDate(CTime(2035, 12, 31, 0, 0, 0))});
    const std::string strCaption = GetResString(241, "Unzulässige Datumseingabe!");
    CMessageBox().ShowWarning(hParent, strText.c_str(), strCaption.c_str());
}

void ShowAssociationLimitMessage(HWND hParent)
{
    const std::string strText = LoadResString(194);
    const std::string strCaption = GetResString(193, "Zuordnungen ausgelastet");
    CMessageBox().ShowWarning(hParent, strText.c_str(), strCaption.c_str());
}

std::string GetWeekdayName(int nDay)
{
    static constexpr const char* kNames[] = {"Montag", "Dienstag", "Mittwoch", "Donnerstag",
                                             "Freitag", "Samstag", "Sonntag"};
    const int nIndex = (nDay >= 0 && nDay <= 5) ? nDay : 6;
    return GetResString(40112 + static_cast<UINT>(nIndex), kNames[nIndex]);
}

std::string GetShortWeekdayName(int nDay)
{
    static constexpr const char* kNames[] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
    const int nIndex = (nDay >= 1 && nDay <= 6) ? nDay - 1 : 6;
    return GetResString(40126 + static_cast<UINT>(nIndex), kNames[nIndex]);
}

std::string GetPriorityName(int nPriority)
{
    switch (nPriority) {
    case 0:
        return GetResString(314, "System");
    case 1:
        return GetResString(316, "Hoch");
    case 2:
        return GetResString(315, "Alarm");
    case 3:
        return GetResString(317, "Niedrig");
    default:
        return "?";
    }
}

UINT GetHelpStringId(int nTableType)
{
    switch (nTableType) {
    case 1: return 921;
    case 2: return 929;
    case 3: return 933;
    case 4: return 934;
    case 5: return 920;
    case 6: return 922;
    case 7: return 924;
    case 8: return 925;
    case 9: return 926;
    case 10: return 927;
    case 11: return 923;
    case 12: return 930;
    case 13: return 931;
    case 14: return 932;
    default: return 131185;
    }
}

std::string FormatUsageLine(std::string& strText, bool bTabbed, const std::string& strName, int nSize, int nUsed)
{
    // A size of 0 has no share; it reads as 0 % rather than dividing by it.
    const unsigned nPercent =
        nSize > 0 ? static_cast<unsigned>(nUsed) * 100u / static_cast<unsigned>(nSize) : 0u;
    const int nFree = nSize - nUsed;
    char szLine[512];
    if (bTabbed) {
        std::snprintf(szLine, sizeof szLine, "%s\t%d\t%d\t(%d%%)\t%d", strName.c_str(), nSize, nUsed,
                      static_cast<int>(nPercent), nFree);
    } else {
        std::snprintf(szLine, sizeof szLine, "%s: %d (%d%%) %s, %d %s %d", strName.c_str(), nUsed,
                      static_cast<int>(nPercent), GetResString(40023, "belegt").c_str(), nFree,
                      GetResString(221, "frei von insgesamt").c_str(), nSize);
    }
    strText = szLine;
    return strText;
}

std::string FormatIntFields(const std::string& strFormat, std::initializer_list<int> values)
{
    std::string strResult;
    auto itValue = values.begin();
    for (std::size_t i = 0; i < strFormat.size(); ++i) {
        if (strFormat[i] == '%' && i + 1 < strFormat.size() && strFormat[i + 1] == 'd' && itValue != values.end()) {
            strResult += std::to_string(*itValue++);
            ++i;
        } else {
            strResult += strFormat[i];
        }
    }
    return strResult;
}

std::string FormatTwoDigits(int nNumber)
{
    char szNumber[16];
    std::snprintf(szNumber, sizeof szNumber, "%02d", nNumber);
    return szNumber;
}

std::string FormatDecimal(DWORD dwValue, int nDigits, bool bKeepLeadingZeros)
{
    if (nDigits <= 0)
        return {};
    std::string strDigits(static_cast<std::size_t>(nDigits), '0');
    for (int i = nDigits - 1; i >= 0; --i) {
        strDigits[static_cast<std::size_t>(i)] = static_cast<char>('0' + dwValue % 10);
        dwValue /= 10;
    }
    if (!bKeepLeadingZeros) {
        std::size_t nFirst = strDigits.find_first_not_of('0');
        strDigits.erase(0, nFirst == std::string::npos ? strDigits.size() - 1 : nFirst);
    }
    return strDigits;
}

std::string FormatDecimalSigned(LONG nValue, int nDigits, bool bKeepLeadingZeros)
{
    if (nValue >= 0)
        return FormatDecimal(static_cast<DWORD>(nValue), nDigits, bKeepLeadingZeros);
    // The magnitude of the most negative value fits only unsigned.
    const DWORD dwMagnitude = 0u - static_cast<DWORD>(nValue);
    return "-" + FormatDecimal(dwMagnitude, nDigits, bKeepLeadingZeros);
}

void StripTrailingChar(std::string& str, char ch)
{
    if (!str.empty() && str.back() == ch)
        str.pop_back();
}

int FloorDiv(int a, int b)
{
    int q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

std::tm TimeToTm(std::int64_t nTime)
{
    std::tm tm {};
    const std::time_t t = static_cast<std::time_t>(nTime);
    if (nTime < 0 || !::localtime_r(&t, &tm)) {
        tm = std::tm {};
        tm.tm_year = 135;
        tm.tm_mon = 11;
        tm.tm_mday = 31;
    }
    return tm;
}

std::int64_t TmToDateTime(const std::tm& tm)
{
    return CTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec).GetTime();
}

std::string GetExeFileName()
{
    return platform::GetProgramPath();
}

int GetObjectKindFlag(const CObject* pObject)
{
    if (!pObject)
        return 0;
    static constexpr struct {
        const char* pszClass;
        int nFlag;
    } kKinds[] = {
        {"CDayRoutine", OKF_DAYROUTINE},   {"CDaySwitchTime", OKF_DAYSWITCHTIME},
        {"CSummertime", OKF_SUMMERTIME},   {"CSpecialDay", OKF_SPECIALDAY},
        {"CQuantity", OKF_QUANTITY},       {"CQuantityMember", OKF_QUANTITYMEMBER},
        {"CGroupDataAddress", OKF_GROUPADDRESS},
    };
    const char* pszClass = pObject->GetRuntimeClassName();
    for (const auto& kind : kKinds)
        if (std::strcmp(kind.pszClass, pszClass) == 0)
            return kind.nFlag;
    return 0;
}

DWORD GetObjectTypeStringId(int nTableType)
{
    static constexpr DWORD kContexts[] = {921, 929, 933, 934, 920, 922, 924, 925, 926, 927, 923, 930, 931, 932};
    if (nTableType >= 1 && nTableType <= static_cast<int>(std::size(kContexts)))
        return kContexts[nTableType - 1];
    return kApplicationHelpContext;
}

void ReleaseGlobalObjects()
{
    ReleaseHostObjectMaps();
    g_DptManager.RemoveAll();
}
