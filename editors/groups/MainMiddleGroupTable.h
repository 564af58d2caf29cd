#pragma once
// The main groups of the host project (table type 16) or the middle groups
// of one of its main groups (type 17), read through the host data access.
// Read-only lists: new groups come from the group tree, which takes drops
// on these tables.

#include "platform/base/WinTypes.h"
#include "ui/MainTableBox.h"

#include <memory>
#include <string>
#include <vector>

class CEtsDataAccess;
class CMainMiddleGroupEntry;
struct GroupData;

class CMainMiddleGroupTable : public CMainTableBox {
    Q_OBJECT

public:
    static constexpr int kMainGroupsType = 16;
    static constexpr int kMiddleGroupsType = 17;
    static constexpr int kMaxRows = 15;
    static constexpr int kColumnCount = 5;

    // nParentId: ignored for type 16, the main group's host id for type 17.
    CMainMiddleGroupTable(int nTableType, int nParentId);
    ~CMainMiddleGroupTable() override;

    bool InitColumns() override;
    bool FillTable() override;
    void RefreshTable() override;
    void GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) override;
    int CompareItems(int nColumn, int nRowA, int nRowB) override;

    int GetParentId() const { return m_nParentId; }
    int GetEntryCount() const { return static_cast<int>(m_entries.size()); }

private:
    // Makes the entry and its row; false ends the fill.
    bool AddEntry(std::unique_ptr<CMainMiddleGroupEntry> pEntry);
    void FillMainGroups();
    void FillMiddleGroups();
    // An entry for each group of a host collection, in its order, up to the
    // row limit; the middle groups keep their host ids.
    template <typename Group, typename Groups>
    void AddGroups(Groups* pGroups, HRESULT (CEtsDataAccess::*pReadGroup)(Group*, GroupData&), bool bHostIds);

    int m_nParentId = -1;
    std::vector<std::unique_ptr<CMainMiddleGroupEntry>> m_entries;
};
