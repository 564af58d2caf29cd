#pragma once
// The table of the quantities of the open device (at most 30), with the
// new-entry row after them. Creating and editing run the quantity dialog;
// deleting takes the quantities' members along.

#include "ui/MainTableBox.h"

#include <string>
#include <vector>

class CQuantity;

class CQuantitiesTable : public CMainTableBox {
    Q_OBJECT

public:
    static constexpr int kTableType = 2;
    static constexpr int kMaxQuantities = 30;

    CQuantitiesTable();
    ~CQuantitiesTable() override;

    int EditEntry(int nRow) override;
    bool InitColumns() override;
    bool FillTable() override;
    void GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) override;
    int CompareItems(int nColumn, int nRowA, int nRowB) override;
    void DeleteEntries() override;

    // The number as column 0 shows it: two digits and a colon.
    static std::string FormatNumber(int nNumber);
};
