#pragma once
// The utilisation table: for every fixed-size table of the device its size,
// the entries in use, the share taken and the entries still free. Its rows
// carry no data objects, so the edit, delete, new and usage commands stay
// off; it rebuilds itself whenever another pane adds, removes or changes an
// object.

#include "ui/MainTableBox.h"

#include <string>

class CMemoryUsageTable : public CMainTableBox {
    Q_OBJECT

public:
    static constexpr int kTableType = 4;

    CMemoryUsageTable();

    bool InitColumns() override;
    bool FillTable() override;
    int OnViewNotify(VIEWNOTIFY* pNotify) override;

protected:
    // One line of a table: the name indented, size, used, share and free.
    // A negative count means it could not be had; the row then shows only
    // the name and the size.
    void AddDataRow(const std::string& strName, int nSize, int nUsed);
    void AddHeadingRow(const std::string& strTitle);
    void AddSeparatorRow();
};
