#pragma once
// One special day: a period (start and end to the minute) during which the
// device runs a given day routine instead of the week routine. It belongs to
// the list of CSpecialDays; the day routine belongs to the day routines.

#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

#include <cstddef>
#include <ctime>
#include <string>

class CDayRoutine;
class CSpecialDays;

class CSpecialDay : public CObject {
public:
    DECLARE_RUNTIME_CLASS(CSpecialDay)

    CSpecialDay() = default;
    explicit CSpecialDay(CSpecialDays* pOwner) : m_pOwner(pOwner) {}
    ~CSpecialDay() override = default;
    CSpecialDay(const CSpecialDay&) = delete;
    CSpecialDay& operator=(const CSpecialDay&) = delete;

    // The framework's dynamic creation by class.
    static CObject* CreateObject();

    std::tm GetStartTime() const { return m_tmStart; }
    std::tm GetEndTime() const { return m_tmEnd; }
    void SetStartTime(const std::tm& tm) { m_tmStart = tm; }
    void SetEndTime(const std::tm& tm) { m_tmEnd = tm; }
    CDayRoutine* GetDayRoutine() const { return m_pDayRoutine; }
    void SetDayRoutine(CDayRoutine* pDayRoutine) { m_pDayRoutine = pDayRoutine; }
    CSpecialDays* GetOwner() const { return m_pOwner; }
    void SetOwner(CSpecialDays* pOwner) { m_pOwner = pOwner; }

    // The routine's number for the records, 0 without routine.
    BYTE GetDayRoutineNumber() const;
    // The 22-digit parameter record.
    std::string GetParameterString() const;
    // The 11-byte device record; false ("invalid buffer") for a buffer
    // shorter than 11 bytes.
    bool FillDataBuffer(BYTE* pBuffer, std::size_t nLength) const;
    // The export line without line end: the start cell, the end cell and
    // the routine cell.
    std::string GetExportText() const;

private:
    std::tm m_tmStart {};
    std::tm m_tmEnd {};
    CDayRoutine* m_pDayRoutine = nullptr;
    CSpecialDays* m_pOwner = nullptr;
};
