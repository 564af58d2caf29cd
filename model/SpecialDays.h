#pragma once
// The special days of one device: at most 100 periods that each run a day
// routine instead of the week routine. The central object embeds one
// instance and drives it through the data-set phases: the host parameters
// "SpecialDay-n" (up to 10 records of 22 digits each), the data file, the
// text export, the report and the 1100-byte device block at 0x86D0 (100
// slots of 11 bytes, sorted by start, empty slots last with 0xFF first).

#include "model/ListPosition.h"
#include "model/SpecialDay.h"
#include "model/StringLongObject.h"
#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

#include <list>
#include <memory>
#include <string>

class CArchive;
class CBusAccess;
class IChronosetServices;
class CDayRoutine;
class CDownloadProcedure;
class CEtsDataAccess;
class CParamReport;
class CProgressInfo;
class IReportDC;

using SpecialDayPosition = ListPosition<CSpecialDay>;

class CSpecialDays : public CObject {
public:
    DECLARE_RUNTIME_CLASS(CSpecialDays)

    static constexpr int kMaxSpecialDays = 100;
    static constexpr int kDaysPerParameter = 10;
    static constexpr DWORD kBlockAddress = 0x86D0;
    static constexpr int kBlockSize = kMaxSpecialDays * 11;
    static constexpr WORD kNoRoutine = 0xFFFF;  // a special day without routine in the data file

    CSpecialDays() = default;
    ~CSpecialDays() override;
    CSpecialDays(const CSpecialDays&) = delete;
    CSpecialDays& operator=(const CSpecialDays&) = delete;

    // The framework's dynamic creation by class.
    static CObject* CreateObject();

    IChronosetServices* GetChronoset() const { return m_pChronoset; }
    void SetChronoset(IChronosetServices* pChronoset) { m_pChronoset = pChronoset; }

    // ---- the list, in list order (not sorted)
    int GetCount() const { return static_cast<int>(m_lstSpecialDays.size()); }
    static int GetMaxCount() { return kMaxSpecialDays; }
    SpecialDayPosition GetHeadPosition() const { return SpecialDayPosition::Head(m_lstSpecialDays); }
    CSpecialDay* GetNext(SpecialDayPosition& pos) const { return pos.Next(); }
    const std::list<CSpecialDay*>& GetSpecialDays() const { return m_lstSpecialDays; }

    // A new special day (all calendar fields 0, no routine) appended; null
    // when 100 exist.
    CSpecialDay* CreateSpecialDay();
    // Takes the day out of the list without deleting it; false when it was
    // not listed.
    bool RemoveSpecialDay(CSpecialDay* pSpecialDay);
    // Deletes every special day.
    void RemoveAll();

    // ---- host parameters "SpecialDay-n"
    void AddParameter(LONG nId, const std::string& strText, int nIndex);
    const CStringLongObjectArray& GetParameters() const { return m_arrParameters; }
    void CopyParameterObjects(const CSpecialDays& other);
    // 0 / 5: reads every stored text in index order up to the first empty one.
    int CompleteEtsLoad(CProgressInfo* pProgress);
    // Appends the special days of one text (at most 10 records; "ff" records
    // are skipped); false, logged, on a broken text or a full list.
    bool InsertSpecialDayFromString(const std::string& strText);
    // 0 / 5: writes the list into the stored parameters, 10 days each.
    int SaveToEts(CProgressInfo* pProgress, CEtsDataAccess* pAccess);

    // ---- data file. Days beyond 100 are read and dropped (logged), so the
    // records after them stay in step.
    void LoadFromArchive(CArchive& ar, CProgressInfo* pProgress);
    void StoreToArchive(CArchive& ar, CProgressInfo* pProgress) const;

    // ---- text export ("\n" line ends)
    void ExportCsv(CProgressInfo* pProgress, std::string& strFile) const;

    // ---- report: the "Sondertage" section.
    virtual void AddReport(CParamReport* pReport, IReportDC* pDC, int nWidth);
    // The cells of a report row: start, end, routine.
    static std::string GetReportCellText(const CSpecialDay* pSpecialDay, int nColumn);

    // ---- download: the block exists between InitDownload and ExitDownload.
    bool InitDownload(CProgressInfo* pProgress);
    int AddToDownloadProcedure(CProgressInfo* pProgress, CDownloadProcedure* pProcedure);
    int WriteToDevice(CProgressInfo* pProgress, CBusAccess* pBusAccess);
    void ExitDownload() { m_pBlock.reset(); }
    const BYTE* GetDownloadBlock() const { return m_pBlock.get(); }

    // The image order (negative: A first): special days before empty slots,
    // then by start year, month, day, hour and minute.
    static int CompareByStart(const CSpecialDay* pA, const CSpecialDay* pB);

private:
    CDayRoutine* FindDayRoutine(int nNumber) const;

    std::list<CSpecialDay*> m_lstSpecialDays;
    IChronosetServices* m_pChronoset = nullptr;
    CStringLongObjectArray m_arrParameters;
    std::unique_ptr<BYTE[]> m_pBlock;
};
