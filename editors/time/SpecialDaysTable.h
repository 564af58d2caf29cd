#pragma once
// The table of the special days of the open device (at most 100), with the
// new-entry row after them. New and changed periods go through the
// special-day dialog, which keeps the periods free of overlaps.

#include "ui/MainTableBox.h"

#include <ctime>
#include <string>
#include <vector>

class CSpecialDay;

class CSpecialDaysTable : public CMainTableBox {
    Q_OBJECT

public:
    static constexpr int kTableType = 9;
    static constexpr int kMaxSpecialDays = 100;

    CSpecialDaysTable();
    ~CSpecialDaysTable() override;

    int CompareItems(int nColumn, int nRowA, int nRowB) override;
    int EditEntry(int nRow) override;
    bool InitColumns() override;
    bool FillTable() override;
    void GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) override;
    int OnViewNotify(VIEWNOTIFY* pNotify) override;
    void DeleteEntries() override;

    // "<prefix> <weekday>, <date>, <time> Uhr", as the rows show a start
    // ("von") or an end ("bis").
    static std::string FormatPeriodEdge(const std::string& strPrefix, const std::tm& tm);
};
