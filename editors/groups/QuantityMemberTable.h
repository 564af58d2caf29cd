#pragma once
// The members of one quantity, with the new-entry row after them: group
// addresses with the value the device sends on them when the quantity's
// trigger value falls into range A or B. All quantities together hold at
// most 300 members; members are copied, pasted and dragged between
// quantities (and onto switching-time tables).

#include "ui/MainTableBox.h"

#include <string>
#include <vector>

class CQuantity;
class CQuantityMember;

class CQuantityMemberTable : public CMainTableBox {
    Q_OBJECT

public:
    static constexpr int kTableType = 14;
    static constexpr int kMaxMembers = 300;

    explicit CQuantityMemberTable(CQuantity* pQuantity);
    ~CQuantityMemberTable() override;

    int EditEntry(int nRow) override;
    bool InitColumns() override;
    bool FillTable() override;
    void GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) override;
    int CompareItems(int nColumn, int nRowA, int nRowB) override;
    int PasteObject(CObject* pObject) override;
    CObject* GetParentObject() override;
    void DeleteEntries() override;

    CQuantity* GetQuantity() const { return m_pQuantity; }

private:
    void ShowCapacityError();

    CQuantity* m_pQuantity;
};
