#pragma once
// The week routine: which day routine the device runs on each weekday,
// Monday (index 0) to Sunday (index 6). The central object embeds the one
// instance and drives it through the data-set phases: the host parameter
// "Weekroutine" ("FF" and seven "%02x" routine numbers, 00 none), the data
// file (seven WORDs, 0xFFFF none), the text export, the report and the
// 8-byte device block at 0x86C0 (0xFF, then the seven numbers).

#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

#include <array>
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

class CWeekRoutine : public CObject {
public:
    DECLARE_RUNTIME_CLASS(CWeekRoutine)

    static constexpr int kDays = 7;
    static constexpr DWORD kBlockAddress = 0x86C0;
    static constexpr int kBlockSize = 8;

    CWeekRoutine() = default;
    ~CWeekRoutine() override = default;
    CWeekRoutine(const CWeekRoutine&) = delete;
    CWeekRoutine& operator=(const CWeekRoutine&) = delete;

    // The framework's dynamic creation by class.
    static CObject* CreateObject();

    IChronosetServices* GetChronoset() const { return m_pChronoset; }
    void SetChronoset(IChronosetServices* pChronoset) { m_pChronoset = pChronoset; }

    // The routine of a weekday (0 Monday .. 6 Sunday) or null; a day outside
    // the week has none and takes none.
    CDayRoutine* GetDayRoutine(int nDay) const { return IsDay(nDay) ? m_arrDayRoutines[nDay] : nullptr; }
    void SetDayRoutine(int nDay, CDayRoutine* pDayRoutine)
    {
        if (IsDay(nDay))
            m_arrDayRoutines[nDay] = pDayRoutine;
    }

    // The text of a column of the week-routine table and the report: 0
    // weekday name, 1 routine name or "\"kein\"", 2 routine number "%02d" or
    // "-".
    std::string GetColumnText(int nDay, int nColumn) const;

    // ---- host parameter "Weekroutine"
    void SetParameterText(LONG nId, const std::string& strText);
    LONG GetParameterId() const { return m_nParameterId; }
    void SetParameterId(LONG nId) { m_nParameterId = nId; }
    const std::string& GetParameterText() const { return m_strParameterText; }
    // The parameter text of the current references: 16 characters.
    std::string BuildParameterText() const;
    // 0 / 5: parses the remembered text; a short text leaves the days it does
    // not reach as they are. 5 without owner.
    int CompleteEtsLoad(CProgressInfo* pProgress);
    // 0 / 5: builds the text, remembers it and writes it to the host.
    int SaveToEts(CProgressInfo* pProgress, CEtsDataAccess* pAccess);

    // ---- data file
    void LoadFromArchive(CArchive& ar, CProgressInfo* pProgress);
    void StoreToArchive(CArchive& ar, CProgressInfo* pProgress) const;

    // ---- text export ("\n" line ends)
    void ExportCsv(CProgressInfo* pProgress, std::string& strFile) const;

    // ---- report: the "Wochenablauf" section.
    virtual void AddReport(CParamReport* pReport, IReportDC* pDC, int nWidth);

    // ---- download: the block exists between InitDownload and ExitDownload.
    bool InitDownload(CProgressInfo* pProgress);
    // 0 / 5 (no block).
    int AddToDownloadProcedure(CProgressInfo* pProgress, CDownloadProcedure* pProcedure);
    // The bus result, 5 without block.
    int WriteToDevice(CProgressInfo* pProgress, CBusAccess* pBusAccess);
    void ExitDownload() { m_pBlock.reset(); }
    const BYTE* GetDownloadBlock() const { return m_pBlock.get(); }

private:
    static bool IsDay(int nDay) { return nDay >= 0 && nDay < kDays; }
    // The owner's routine with the number, null for none.
    CDayRoutine* FindDayRoutine(int nNumber) const;

    std::array<CDayRoutine*, kDays> m_arrDayRoutines {};
    IChronosetServices* m_pChronoset = nullptr;
    LONG m_nParameterId = -1;
    std::string m_strParameterText;
    std::unique_ptr<BYTE[]> m_pBlock;
};
