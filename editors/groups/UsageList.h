#pragma once
// The list of the usage dialog: where the parameter set uses one group
// address, as trigger or display of quantities and day routines and as
// member of quantities (members) and day routines (switching times).

#include "ui/TableBox.h"

#include <string>

class CGroupAddressCheck;
class CGroupDataAddress;

class CUsageList : public CTableBox {
    Q_OBJECT

public:
    explicit CUsageList(QWidget* pParent = nullptr);
    ~CUsageList() override;

    // The four columns, their widths parts of the list's width (3:1:3:1).
    void CreateColumns();
    // Fills the rows for the address; with a check record the uses come from
    // the host's associations of the address instead of the parameter set.
    void Fill(CGroupDataAddress* pAddress, const CGroupAddressCheck* pCheck);
    CGroupDataAddress* GetGroupAddress() const { return m_pGroupAddress; }
    // The rows keep the order they are filled in: headings and sections.
    int CompareItems(int nColumn, int nRowA, int nRowB) override;

private:
    bool AddHeading(const std::string& strText);
    bool AddEntry(bool bQuantity, int nNumber, const std::string& strName, int nCount);
    void FillFromParameterSet(const CGroupDataAddress* pAddress);
    void FillFromCheck(const CGroupDataAddress* pAddress, const CGroupAddressCheck& check);

    CGroupDataAddress* m_pGroupAddress = nullptr;
};
