#pragma once
// The table of the daylight-saving periods of the open device (at most 10,
// one per year), with the new-entry row after them. New and changed periods
// go through the daylight-saving dialog.

#include "ui/MainTableBox.h"

#include <string>
#include <vector>

class CSummertime;

class CSummertimeTable : public CMainTableBox {
    Q_OBJECT

public:
    static constexpr int kTableType = 8;
    static constexpr int kMaxPeriods = 10;

    CSummertimeTable();
    ~CSummertimeTable() override;

    int CompareItems(int nColumn, int nRowA, int nRowB) override;
    int EditEntry(int nRow) override;
    bool InitColumns() override;
    bool FillTable() override;
    void GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) override;
    void DeleteEntries() override;

    // The shift as the table shows it: "+1h", or "keine" in quotes for 0.
    static std::string FormatShift(int nShift);
};
