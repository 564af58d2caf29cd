#pragma once
// The trigger group addresses of one quantity, with the new-entry row after
// them; the quantity's request address is marked "+" in the "sendend"
// column. Adding and changing run the trigger dialog; a quantity holds at
// most 250 triggers.

#include "ui/MainTableBox.h"

#include <string>
#include <vector>

class CQuantity;

class CQuantityTriggerTable : public CMainTableBox {
    Q_OBJECT

public:
    static constexpr int kTableType = 13;
    static constexpr int kMaxTriggers = 250;

    explicit CQuantityTriggerTable(CQuantity* pQuantity);
    ~CQuantityTriggerTable() override;

    int EditEntry(int nRow) override;
    bool InitColumns() override;
    bool FillTable() override;
    void GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) override;
    int CompareItems(int nColumn, int nRowA, int nRowB) override;
    void DeleteEntries() override;

    CQuantity* GetQuantity() const { return m_pQuantity; }

private:
    CQuantity* m_pQuantity;
};
