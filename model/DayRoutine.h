#pragma once
// One day routine: a numbered (1..15), named list of switching times that the
// device runs on a day, with an optional trigger group address through which
// the bus starts it. The routine owns its switching times; the collection
// CDayRoutines owns the routine.

#include "model/ListPosition.h"
#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

#include <list>
#include <string>

class CArchive;
class CDayRoutines;
class CDaySwitchTime;
class CGroupDataAddress;
class CGroupDataAddresses;
class CParamReport;
class CProgressInfo;
class IReportDC;

using SwitchTimePosition = ListPosition<CDaySwitchTime>;

class CDayRoutine : public CObject {
public:
    DECLARE_RUNTIME_CLASS(CDayRoutine)

    CDayRoutine() = default;
    // Deletes the switching times without giving back their uses: whoever
    // deletes a listed routine releases them first (CDayRoutines does, the
    // editors remove the switching times one by one).
    ~CDayRoutine() override;
    CDayRoutine(const CDayRoutine&) = delete;
    CDayRoutine& operator=(const CDayRoutine&) = delete;

    // The framework's dynamic creation by class.
    static CObject* CreateObject();

    SHORT GetNumber() const { return m_nNumber; }
    void SetNumber(SHORT nNumber) { m_nNumber = nNumber; }
    std::string GetName() const { return m_strName; }
    void SetName(const std::string& strName) { m_strName = strName; }
    CDayRoutines* GetDayRoutines() const { return m_pDayRoutines; }
    void SetDayRoutines(CDayRoutines* pDayRoutines) { m_pDayRoutines = pDayRoutines; }

    CGroupDataAddress* GetTriggerGroupAddress() const { return m_pTriggerGroupAddress; }
    // Moves the day-routine-trigger use (kind 1) from the previous trigger to
    // the new one, then stores it.
    void SetTriggerGroupAddress(CGroupDataAddress* pAddress);
    // Forgets the trigger without touching its uses (the address itself is
    // being deleted).
    void ClearTriggerGroupAddress();
    // Whether this routine holds the trigger use of its trigger address.
    bool HoldsTriggerUse() const { return m_bHoldsTriggerUse; }
    // Gives back the trigger use it holds, to an address the lists still
    // hold; the pointer stays.
    void ReleaseTriggerUse();

    // Whether one of the switching times has the address (only asked when the
    // address has switching-time uses at all).
    bool UsesGroupAddress(const CGroupDataAddress* pAddress) const;

    // ---- switching times, in insertion order
    int GetSwitchTimeCount() const { return static_cast<int>(m_lstSwitchTimes.size()); }
    SwitchTimePosition GetFirstSwitchTimePosition() const { return SwitchTimePosition::Head(m_lstSwitchTimes); }
    CDaySwitchTime* GetNextSwitchTime(SwitchTimePosition& pos) const { return pos.Next(); }
    const std::list<CDaySwitchTime*>& GetSwitchTimes() const { return m_lstSwitchTimes; }

    // A new switching time of this routine, appended; with a template, a copy
    // of its group address (with a use of its own), value, exponent, time and
    // flag. Null when all routines together hold the maximum.
    CDaySwitchTime* AddSwitchTime(const CDaySwitchTime* pTemplate);
    // Takes a switching time of this routine out of the list and gives back
    // its group address's use; an invalid-list address left without any use
    // is removed from the lists and destroyed. The caller deletes the
    // switching time. Nothing for a switching time of another routine.
    void RemoveSwitchTime(CDaySwitchTime* pSwitchTime);

    // Gives back the uses of the switching times and the trigger (the
    // pointers stay). Run before the routine is deleted as part of a whole
    // parameter set.
    void ReleaseUses();

    // The text of a column of the switching-time table and the report: 0
    // time, 1 address name, 2 type name, 3 address text, 4 value with unit,
    // 5 "Ja"/"Nein". "-" for columns 1..4 without address, an unknown
    // column or no switching time.
    static std::string GetSwitchTimeText(const CDaySwitchTime* pSwitchTime, int nColumn);

    // The data-file record: name, number, trigger, switching times. Loading
    // refuses (CArchiveException, logged) a number outside 1..15, a number
    // another routine has and more switching times than the set may hold.
    void LoadFromArchive(CArchive& ar);
    void StoreToArchive(CArchive& ar) const;

    // The text export: the routine's line, and its switching-time block.
    void ExportCsvLine(std::string& strFile) const;
    void ExportCsvSwitchTimes(CProgressInfo* pProgress, std::string& strFile) const;

    // The report section of this routine's switching times.
    virtual void AddReport(CParamReport* pReport, IReportDC* pDC, int nWidth);

private:
    CGroupDataAddresses* GetGroupDataAddresses() const;

    std::string m_strName;
    SHORT m_nNumber = 0;
    CGroupDataAddress* m_pTriggerGroupAddress = nullptr;
    std::list<CDaySwitchTime*> m_lstSwitchTimes;
    CDayRoutines* m_pDayRoutines = nullptr;
    bool m_bHoldsTriggerUse = false;
};
