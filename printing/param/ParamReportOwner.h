#pragma once
// The print selection of the parameter report and what the report reads of
// the opened device: the ordered print items (all data, or the ones chosen
// in the print data selection) and the texts of the page header and footer.
// The report view derives from it and adds the print dialog.

#include "report/IParamReportOwner.h"
#include "printing/param/ParamPrintItem.h"

#include <memory>
#include <vector>

constexpr int PRINT_SELECTION_ALL = 0;
constexpr int PRINT_SELECTION_CHOSEN = 1;

class CParamReportOwner : public IParamReportOwner
{
public:
    CParamReportOwner();

    // Drops every item; mode 0 then lists all data of the opened device,
    // mode 1 leaves the list for the caller to fill.
    void SetPrintSelection(int nMode);
    int GetPrintSelection() const { return m_nPrintMode; }
    void AddPrintItem(std::unique_ptr<CParamPrintItem> pItem);
    // The first held item of the same type and index, null when none.
    CParamPrintItem* FindPrintItem(const CParamPrintItem& item) const;
    const std::vector<std::unique_ptr<CParamPrintItem>>& GetPrintItems() const { return m_arrPrintItems; }

    int GetPrintItemCount() const override { return static_cast<int>(m_arrPrintItems.size()); }
    void AddPrintItemToReport(int nIndex, CParamReport* pReport, IReportDC* pDC, CPrintInfo* pInfo, int nPageWidth,
                              int nPageHeight) override;
    std::string GetDeviceText() const override;
    std::string GetIndividualAddressText() const override;
    std::string GetFilePath() const override;
    std::string GetDateText() const override;

private:
    void AddAllDataItems();

    std::vector<std::unique_ptr<CParamPrintItem>> m_arrPrintItems;
    int m_nPrintMode = PRINT_SELECTION_ALL;
};
