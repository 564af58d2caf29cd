#include "model/SpecialDay.h"

#include "model/CalendarRecord.h"
#include "model/CsvField.h"
#include "model/DayRoutine.h"
#include "common/Log.h"
#include "common/ResString.h"

#include <cstdio>

CObject* CSpecialDay::CreateObject()
{
    return new CSpecialDay;
}

BYTE CSpecialDay::GetDayRoutineNumber() const
{
    return m_pDayRoutine ? static_cast<BYTE>(m_pDayRoutine->GetNumber() & 0xFF) : 0;
}

std::string CSpecialDay::GetParameterString() const
{
    return FormatCalendarRecord(m_tmStart, m_tmEnd, GetDayRoutineNumber());
}

bool CSpecialDay::FillDataBuffer(BYTE* pBuffer, std::size_t nLength) const
{
    if (!pBuffer || nLength < CALENDAR_RECORD_SIZE) {
        LOG_ERROR("invalid buffer");
        return false;
    }
    FillCalendarRecord(pBuffer, m_tmStart, m_tmEnd, GetDayRoutineNumber());
    return true;
}

std::string CSpecialDay::GetExportText() const
{
    std::string strText;
    AppendCsvField(strText, FormatCalendarText(GetResString(40134, "vom"), m_tmStart, true));
    strText += ',';
    AppendCsvField(strText, FormatCalendarText(GetResString(40135, "bis"), m_tmEnd, true));
    strText += ',';
    if (m_pDayRoutine) {
        char szNumber[16];
        std::snprintf(szNumber, sizeof szNumber, "%02d: ", static_cast<int>(m_pDayRoutine->GetNumber()));
        AppendCsvField(strText, szNumber + m_pDayRoutine->GetName());
    } else {
        // The table text carries its own quotes.
        strText += GetResString(40119, "\"kein\"");
    }
    return strText;
}
