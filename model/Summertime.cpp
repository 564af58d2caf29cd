#include "model/Summertime.h"

#include "model/CalendarRecord.h"
#include "model/CsvField.h"
#include "model/Utils.h"
#include "common/Log.h"
#include "common/ResString.h"

#include <cstdio>

namespace {

std::tm StartOfTime()
{
    std::tm tm = TimeToTm(0);
    tm.tm_sec = 0;
    return tm;
}

BYTE ShiftByte(int nShift)
{
    return static_cast<BYTE>(static_cast<unsigned>(nShift) & 0xFFu);
}

}  // namespace

CSummertime::CSummertime() : m_tmStart(StartOfTime()), m_tmEnd(StartOfTime()) {}

CSummertime::CSummertime(CSummertimes* pOwner) : CSummertime()
{
    m_pOwner = pOwner;
}

CObject* CSummertime::CreateObject()
{
    return new CSummertime;
}

std::string CSummertime::GetParameterString() const
{
    return FormatCalendarRecord(m_tmStart, m_tmEnd, ShiftByte(m_nShift));
}

bool CSummertime::FillDataBuffer(BYTE* pBuffer, std::size_t nLength) const
{
    if (!pBuffer || nLength < CALENDAR_RECORD_SIZE) {
        LOG_ERROR("invalid buffer");
        return false;
    }
    FillCalendarRecord(pBuffer, m_tmStart, m_tmEnd, ShiftByte(m_nShift));
    return true;
}

std::string CSummertime::GetExportText() const
{
    char szYear[32];
    std::snprintf(szYear, sizeof szYear, "\"%04d\"%s", m_tmStart.tm_year + 1900, ",");
    std::string strText = szYear;
    strText += CsvField(FormatCalendarText(GetResString(40134, "vom"), m_tmStart, true)) + ",";
    strText += CsvField(FormatCalendarText(GetResString(40135, "bis"), m_tmEnd, true)) + ",";
    if (m_nShift != 0) {
        char szShift[32];
        std::snprintf(szShift, sizeof szShift, "\"%+dh\"", m_nShift);
        strText += szShift;
    } else {
        // The table text carries its own quotes.
        strText += GetResString(220, "\"keine\"");
    }
    return strText;
}
