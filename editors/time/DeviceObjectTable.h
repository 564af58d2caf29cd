#pragma once
// The communication objects of every device associated with one group
// address of the host project, read through the host data access. Read-only:
// no edit dialog, no new-entry row, no deletion, and it tells no other pane
// anything.

#include "ui/MainTableBox.h"

#include <array>
#include <string>
#include <vector>

class CDeviceObjectRow;

class CDeviceObjectTable : public CMainTableBox {
    Q_OBJECT

public:
    static constexpr int kTableType = 19;
    static constexpr int kMaxRows = 100;
    static constexpr int kColumnCount = 14;

    // The group address by its host id (the host's sub-group id).
    explicit CDeviceObjectTable(LONG nSubGroupId);
    ~CDeviceObjectTable() override;

    bool InitColumns() override;
    bool FillTable() override;
    void GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) override;
    int CompareItems(int nColumn, int nRowA, int nRowB) override;

    LONG GetSubGroupId() const { return m_nSubGroupId; }
    int GetRowRecordCount() const { return m_nRowCount; }

private:
    void DeleteRowRecords();

    std::array<CDeviceObjectRow*, kMaxRows> m_apRows{};
    int m_nRowCount = 0;
    LONG m_nSubGroupId = -1;
};
