#pragma once
// One section of the parameter report chosen for printing: a data set, or
// one day routine's or one quantity's part of it, by type and number.

#include "platform/base/WinTypes.h"

class CParamReport;
class CPrintInfo;
class IReportDC;

// Section types.
constexpr int PRINT_ITEM_GENERAL = 1;
constexpr int PRINT_ITEM_DAY_ROUTINES = 2;
constexpr int PRINT_ITEM_DAY_ROUTINE = 3;  // index: the routine's number
constexpr int PRINT_ITEM_WEEK_ROUTINE = 4;
constexpr int PRINT_ITEM_SUMMERTIMES = 5;
constexpr int PRINT_ITEM_SPECIAL_DAYS = 6;
constexpr int PRINT_ITEM_QUANTITIES = 8;
constexpr int PRINT_ITEM_QUANTITY_TRIGGERS = 9;  // index: the quantity's number
constexpr int PRINT_ITEM_QUANTITY_MEMBERS = 10;  // index: the quantity's number
constexpr int PRINT_ITEM_GROUP_ADDRESSES = 11;
constexpr int PRINT_ITEM_USAGE = 12;

class CParamPrintItem
{
public:
    CParamPrintItem(int nType, int nIndex) : m_nType(nType), m_nIndex(nIndex) {}
    virtual ~CParamPrintItem() = default;

    int GetType() const { return m_nType; }
    int GetIndex() const { return m_nIndex; }
    bool operator==(const CParamPrintItem& other) const
    {
        return m_nType == other.m_nType && m_nIndex == other.m_nIndex;
    }

    // Adds the section to the report's body; sizes in HIMETRIC. Nothing
    // without an open device or when the numbered routine or quantity is
    // missing.
    virtual void AddToReport(CParamReport* pReport, IReportDC* pDC, CPrintInfo* pInfo, int nPageWidth,
                             int nPageHeight);

    // The title ("Tavik 2.1" standalone, else "Allgemein"), the send delay and
    // the internal clock's section.
    void AddGeneralPage(CParamReport* pReport, IReportDC* pDC, CPrintInfo* pInfo, int nPageWidth, int nPageHeight);
    // The usage of every data set against its maximum.
    void AddUsagePage(CParamReport* pReport, IReportDC* pDC, CPrintInfo* pInfo, int nPageWidth, int nPageHeight);

private:
    int m_nType;
    int m_nIndex;
};
