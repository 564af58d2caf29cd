#pragma once
// The day routines of one device: at most 15 routines (numbers 1..15) with at
// most 800 switching times in all. The central object embeds one instance and
// drives it through the data-set phases: the host parameters "DayRoutines",
// "DayRoutineDisplayName-n" and "SwitchTime-n", the data file, the text
// export, the report and the download with its two device tables (triggers
// at 0x86A0, switching times at 0x8BD0).
//
// "DayRoutines" text: 15 entries of 12 characters, the entry of routine n at
// (n-1)*12: used flag (2), trigger reference low and high word (4 + 4),
// trigger on the invalid list (2).
// "SwitchTime" texts: 80 parameters of up to 10 switching-time records each.

#include "model/DayRoutine.h"
#include "model/ListPosition.h"
#include "model/StringLongObject.h"
#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

#include <list>
#include <memory>
#include <string>

class CArchive;
class CBusAccess;
class IChronosetServices;
class CDaySwitchTime;
class CDownloadProcedure;
class CEtsDataAccess;
class CGroupDataAddress;
class CGroupDataAddresses;
class CParamReport;
class CProgressInfo;
class IReportDC;

using DayRoutinePosition = ListPosition<CDayRoutine>;

class CDayRoutines : public CObject {
public:
    DECLARE_RUNTIME_CLASS(CDayRoutines)

    static constexpr int kMaxDayRoutines = 15;
    static constexpr int kMaxSwitchTimes = 800;
    static constexpr int kSwitchTimeParameters = 80;
    static constexpr int kSwitchTimesPerParameter = 10;
    static constexpr DWORD kTriggerTableAddress = 0x86A0;
    static constexpr int kTriggerTableSize = 15;
    static constexpr DWORD kSwitchTimeTableAddress = 0x8BD0;
    static constexpr int kSwitchTimeSlotSize = 5;
    static constexpr int kSwitchTimeTableSize = kMaxSwitchTimes * kSwitchTimeSlotSize;

    CDayRoutines() = default;
    // Deletes the routines after giving back the uses they hold.
    ~CDayRoutines() override;
    CDayRoutines(const CDayRoutines&) = delete;
    CDayRoutines& operator=(const CDayRoutines&) = delete;

    // The framework's dynamic creation by class.
    static CObject* CreateObject();

    IChronosetServices* GetChronoset() const { return m_pChronoset; }
    void SetChronoset(IChronosetServices* pChronoset) { m_pChronoset = pChronoset; }
    // The group-address lists of the owner, else of the open device; null
    // when there is neither.
    CGroupDataAddresses* GetGroupDataAddresses() const;

    // ---- the routines, in insertion order (not sorted by number)
    int GetCount() const { return static_cast<int>(m_lstDayRoutines.size()); }
    static int GetMaxCount() { return kMaxDayRoutines; }
    DayRoutinePosition GetHeadPosition() const { return DayRoutinePosition::Head(m_lstDayRoutines); }
    CDayRoutine* GetNext(DayRoutinePosition& pos) const { return pos.Next(); }
    const std::list<CDayRoutine*>& GetDayRoutines() const { return m_lstDayRoutines; }

    // A new routine with the lowest free number, appended; null (logged at
    // detail level) when 15 exist.
    CDayRoutine* CreateDayRoutine();
    // Null for numbers outside 1..15 and numbers no routine has.
    CDayRoutine* FindDayRoutine(int nNumber) const;
    // Takes a listed routine out of the list and gives back its trigger use;
    // an invalid-list trigger left without use is removed from the lists and
    // destroyed, and the routine's trigger cleared. The caller deletes the
    // routine (after removing its switching times).
    void DeleteDayRoutine(CDayRoutine* pDayRoutine);
    void DeleteDayRoutineByNumber(int nNumber);
    // Deletes every routine, giving back the uses of their switching times
    // and triggers first.
    void RemoveAll();

    // The number of the first routine the address triggers, 0 for none.
    int GetTriggeredDayRoutineNumber(const CGroupDataAddress* pAddress) const;
    int GetSwitchTimeCount() const;
    static int GetMaxSwitchTimes() { return kMaxSwitchTimes; }
    // 0 when one routine has a switching time on A and one on B at the same
    // hour and minute; 1 otherwise (also when either address is null or has
    // no switching-time use).
    int CheckSwitchTimeConflict(const CGroupDataAddress* pA, const CGroupDataAddress* pB) const;
    // The text of a column of the day-routine table and the report: 0 name,
    // 1 number, 2 trigger name or "*leer*", 3 trigger address text; "-" for
    // other columns or no routine.
    std::string GetColumnText(const CDayRoutine* pDayRoutine, int nColumn) const;

    // ---- host parameters
    void SetDayRoutineParameter(LONG nId, const std::string& strText);
    void AddDisplayNameParameter(LONG nId, const std::string& strText, int nIndex);
    void AddSwitchTimeParameter(LONG nId, const std::string& strText, int nIndex);
    LONG GetDayRoutineParameterId() const { return m_nDayRoutinesId; }
    const std::string& GetDayRoutineParameterText() const { return m_strDayRoutines; }
    const CStringLongObjectArray& GetDisplayNameParameters() const { return m_arrDisplayNames; }
    const CStringLongObjectArray& GetSwitchTimeParameters() const { return m_arrSwitchTimes; }
    // The host id of "DayRoutines" and copies of both parameter arrays (the
    // "DayRoutines" text stays).
    void CopyParameters(const CDayRoutines& other);

    // 0 / 5: builds the routines and switching times from the parameters;
    // all or nothing. The data access is not needed.
    int LoadFromParameters(CProgressInfo* pProgress, CEtsDataAccess* pAccess = nullptr);
    bool InsertDayRoutineFromString(CProgressInfo* pProgress, const std::string& strText);
    bool LoadSwitchTimeParameters(CProgressInfo* pProgress);
    bool InsertSwitchTimesFromString(const std::string& strText);

    // 0 / 5: "DayRoutines", then the display names, then the switching
    // times; stops at the first failure.
    int SaveToEts(CProgressInfo* pProgress, CEtsDataAccess* pAccess);
    int WriteDayRoutineParameter(CProgressInfo* pProgress, CEtsDataAccess* pAccess);
    int WriteDisplayNames(CProgressInfo* pProgress, CEtsDataAccess* pAccess);
    int WriteSwitchTimes(CProgressInfo* pProgress, CEtsDataAccess* pAccess);
    // 0 / 5: the 80 "SwitchTime" texts from the routines (needs exactly 80
    // parameters).
    int BuildSwitchTimeParameterStrings(CProgressInfo* pProgress);

    // ---- data file. Loading refuses (CArchiveException, logged) more than
    // 15 routines, a number outside 1..15 or seen twice and more than 800
    // switching times; a refused or broken load leaves no routine.
    void LoadFromArchive(CArchive& ar, CProgressInfo* pProgress);
    void StoreToArchive(CArchive& ar, CProgressInfo* pProgress) const;

    // ---- text export ("\n" line ends): the routine block, then one
    // switching-time block per routine.
    void ExportCsv(CProgressInfo* pProgress, std::string& strFile) const;

    // ---- report: the "Tagesabläufe" section.
    virtual void AddReport(CParamReport* pReport, IReportDC* pDC, int nWidth);

    // ---- download: the two tables exist between InitDownload and
    // FreeDownloadBuffers.
    bool InitDownload(CProgressInfo* pProgress);
    bool InitDayRoutinesDownload(CProgressInfo* pProgress);
    bool InitSwitchTimesDownload(CProgressInfo* pProgress);
    // 0 or the first failing bus result (5 without table).
    int WriteToDevice(CProgressInfo* pProgress, CBusAccess* pBusAccess);
    int WriteDayRoutinesToDevice(CProgressInfo* pProgress, CBusAccess* pBusAccess);
    int WriteSwitchTimesToDevice(CProgressInfo* pProgress, CBusAccess* pBusAccess);
    // 0 / 5 (no table): the two tables as memory blocks of a procedure.
    int AddToDownloadProcedure(CProgressInfo* pProgress, CDownloadProcedure* pProcedure);
    int AddDayRoutinesToProcedure(CProgressInfo* pProgress, CDownloadProcedure* pProcedure);
    int AddSwitchTimesToProcedure(CProgressInfo* pProgress, CDownloadProcedure* pProcedure);
    void FreeDownloadBuffers();
    void ExitDownload() { FreeDownloadBuffers(); }
    // The 15-byte trigger table and the 4000-byte switching-time table; null
    // outside a download.
    const BYTE* GetTriggerTable() const { return m_pTriggerTable.get(); }
    const BYTE* GetSwitchTimeTable() const { return m_pSwitchTimeTable.get(); }

    // The order of the switching-time table (negative: A first): entries
    // before empty ones, valid group addresses before invalid ones before
    // none, then by routine number, hour and minute.
    static int CompareSwitchTimes(const CDaySwitchTime* pA, const CDaySwitchTime* pB);

private:
    bool IsListed(const CDayRoutine* pDayRoutine) const;

    std::list<CDayRoutine*> m_lstDayRoutines;
    IChronosetServices* m_pChronoset = nullptr;
    LONG m_nDayRoutinesId = -1;
    std::string m_strDayRoutines;
    CStringLongObjectArray m_arrDisplayNames;
    CStringLongObjectArray m_arrSwitchTimes;
    std::unique_ptr<BYTE[]> m_pTriggerTable;
    std::unique_ptr<BYTE[]> m_pSwitchTimeTable;
};
