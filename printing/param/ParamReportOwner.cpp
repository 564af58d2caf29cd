#include "printing/param/ParamReportOwner.h"

#include "app/Chronoset.h"
#include "model/DayRoutines.h"
#include "model/Locale.h"
#include "model/Quantities.h"
#include "common/Globals.h"
#include "platform/base/Time.h"

CParamReportOwner::CParamReportOwner()
{
    SetPrintSelection(PRINT_SELECTION_ALL);
}

void CParamReportOwner::SetPrintSelection(int nMode)
{
    m_nPrintMode = nMode;
    m_arrPrintItems.clear();
    if (nMode == PRINT_SELECTION_ALL && g_pChronoset)
        AddAllDataItems();
}

void CParamReportOwner::AddAllDataItems()
{
    const CDayRoutines* pRoutines = g_pChronoset->GetDayRoutines();
    const CQuantities* pQuantities = g_pChronoset->GetQuantities();
    auto add = [this](int nType, int nIndex) { m_arrPrintItems.push_back(std::make_unique<CParamPrintItem>(nType, nIndex)); };

    add(PRINT_ITEM_GENERAL, 0);
    add(PRINT_ITEM_DAY_ROUTINES, 0);
    int nFound = 0;
    for (int nNumber = 1; nNumber <= CDayRoutines::GetMaxCount() && nFound < pRoutines->GetCount(); ++nNumber) {
        if (pRoutines->FindDayRoutine(nNumber)) {
            add(PRINT_ITEM_DAY_ROUTINE, nNumber);
            ++nFound;
        }
    }
    add(PRINT_ITEM_WEEK_ROUTINE, 0);
    add(PRINT_ITEM_SUMMERTIMES, 0);
    add(PRINT_ITEM_SPECIAL_DAYS, 0);
    add(PRINT_ITEM_QUANTITIES, 0);
    nFound = 0;
    for (int nNumber = 1; nNumber <= CQuantities::GetMaxCount() && nFound < pQuantities->GetCount(); ++nNumber) {
        if (pQuantities->GetQuantity(nNumber)) {
            add(PRINT_ITEM_QUANTITY_TRIGGERS, nNumber);
            add(PRINT_ITEM_QUANTITY_MEMBERS, nNumber);
            ++nFound;
        }
    }
    add(PRINT_ITEM_GROUP_ADDRESSES, 0);
    add(PRINT_ITEM_USAGE, 0);
}

void CParamReportOwner::AddPrintItem(std::unique_ptr<CParamPrintItem> pItem)
{
    if (pItem)
        m_arrPrintItems.push_back(std::move(pItem));
}

CParamPrintItem* CParamReportOwner::FindPrintItem(const CParamPrintItem& item) const
{
    for (const auto& pItem : m_arrPrintItems)
        if (*pItem == item)
            return pItem.get();
    return nullptr;
}

void CParamReportOwner::AddPrintItemToReport(int nIndex, CParamReport* pReport, IReportDC* pDC, CPrintInfo* pInfo,
                                             int nPageWidth, int nPageHeight)
{
    if (nIndex >= 0 && nIndex < GetPrintItemCount())
        m_arrPrintItems[static_cast<std::size_t>(nIndex)]->AddToReport(pReport, pDC, pInfo, nPageWidth, nPageHeight);
}

std::string CParamReportOwner::GetDeviceText() const
{
    if (!g_pChronoset)
        return std::string();
    return g_pChronoset->GetManufacturerText() + " - " + g_pChronoset->GetProductText() + " - " +
           g_pChronoset->GetApplicationText();
}

std::string CParamReportOwner::GetIndividualAddressText() const
{
    return g_pChronoset ? g_pChronoset->GetIndividualAddressText() : std::string("--.--.---");
}

std::string CParamReportOwner::GetFilePath() const
{
    return g_pChronoset ? g_pChronoset->GetFilePath() : std::string();
}

std::string CParamReportOwner::GetDateText() const
{
    return FormatDate(CTime::GetCurrentTime());
}
