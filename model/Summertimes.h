#pragma once
// The daylight-saving periods of one device: at most 10 periods and a flag
// that switches the feature on or off. The central object embeds one
// instance and drives it through the data-set phases: the host parameter
// "Summertimes" ("01"/"00", then one 22-digit record per period; the short
// 16-digit form is read too), the data file, the text export, the report and
// the 111-byte device block at 0x8020 (the flag, then 10 slots of 11 bytes
// sorted by start year, empty slots last with 0xFF first).

#include "model/ListPosition.h"
#include "model/Summertime.h"
#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

#include <list>
#include <memory>
#include <string>

class CArchive;
class CBusAccess;
class IChronosetServices;
class CDownloadProcedure;
class CEtsDataAccess;
class CParamReport;
class CProgressInfo;
class IReportDC;

using SummertimePosition = ListPosition<CSummertime>;

class CSummertimes : public CObject {
public:
    DECLARE_RUNTIME_CLASS(CSummertimes)

    static constexpr int kMaxSummertimes = 10;
    static constexpr DWORD kBlockAddress = 0x8020;
    static constexpr int kBlockSize = 1 + kMaxSummertimes * 11;

    CSummertimes() = default;
    ~CSummertimes() override;
    CSummertimes(const CSummertimes&) = delete;
    CSummertimes& operator=(const CSummertimes&) = delete;

    // The framework's dynamic creation by class.
    static CObject* CreateObject();

    IChronosetServices* GetChronoset() const { return m_pChronoset; }
    void SetChronoset(IChronosetServices* pChronoset) { m_pChronoset = pChronoset; }

    BYTE IsEnabled() const { return m_bEnabled; }
    void SetEnabled(BYTE bEnabled) { m_bEnabled = bEnabled ? 1 : 0; }

    // ---- the list, in list order (not sorted)
    int GetCount() const { return static_cast<int>(m_lstSummertimes.size()); }
    static int GetMaxCount() { return kMaxSummertimes; }
    SummertimePosition GetHeadPosition() const { return SummertimePosition::Head(m_lstSummertimes); }
    CSummertime* GetNext(SummertimePosition& pos) const { return pos.Next(); }
    const std::list<CSummertime*>& GetSummertimes() const { return m_lstSummertimes; }

    // A new period appended; null when 10 exist.
    CSummertime* CreateSummertime();
    // Takes every occurrence of the period out of the list without deleting
    // it; false (logged) when it was not listed.
    bool RemoveSummertime(CSummertime* pSummertime);
    // The first period whose start lies in the year (full year), or null.
    CSummertime* FindByYear(int nYear) const;
    // Deletes every period.
    void RemoveAll();

    // ---- host parameter "Summertimes"
    void SetParameterText(LONG nId, const std::string& strText);
    LONG GetParameterId() const { return m_nParameterId; }
    void SetParameterId(LONG nId) { m_nParameterId = nId; }
    const std::string& GetParameterText() const { return m_strParameterText; }
    // The text of the flag and the current periods.
    std::string BuildParameterText() const;
    // 0 / 5: the periods and the flag from the remembered text.
    int CompleteEtsLoad(CProgressInfo* pProgress);
    // 0 / 5: builds the text, remembers it and writes it to the host.
    int SaveToEts(CProgressInfo* pProgress, CEtsDataAccess* pAccess);

    // ---- data file. Periods beyond 10 are read and dropped (logged), so the
    // records after them stay in step.
    void LoadFromArchive(CArchive& ar, CProgressInfo* pProgress);
    void StoreToArchive(CArchive& ar, CProgressInfo* pProgress) const;

    // ---- text export ("\n" line ends)
    void ExportCsv(CProgressInfo* pProgress, std::string& strFile) const;

    // ---- report: the "Sommerzeiten" section.
    virtual void AddReport(CParamReport* pReport, IReportDC* pDC, int nWidth);
    // The cells of a report row: year, start, end, shift.
    static std::string GetReportCellText(const CSummertime* pSummertime, int nColumn);

    // ---- download: the block exists between InitDownload and ExitDownload.
    bool InitDownload(CProgressInfo* pProgress);
    int AddToDownloadProcedure(CProgressInfo* pProgress, CDownloadProcedure* pProcedure);
    int WriteToDevice(CProgressInfo* pProgress, CBusAccess* pBusAccess);
    void ExitDownload() { m_pBlock.reset(); }
    const BYTE* GetDownloadBlock() const { return m_pBlock.get(); }

    // The image order (negative: A first): periods before empty slots, then
    // by start year only.
    static int CompareByYear(const CSummertime* pA, const CSummertime* pB);

private:
    // Start and end of a long record at pos; false (logged) when the text
    // ends early.
    static bool ExtractSummertimeData(const std::string& strText, std::size_t& pos, std::tm& tmStart, std::tm& tmEnd);

    std::list<CSummertime*> m_lstSummertimes;
    BYTE m_bEnabled = 1;
    IChronosetServices* m_pChronoset = nullptr;
    LONG m_nParameterId = -1;
    std::string m_strParameterText;
    std::unique_ptr<BYTE[]> m_pBlock;
};
