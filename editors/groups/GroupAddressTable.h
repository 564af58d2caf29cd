#pragma once
// The table of every group address of the parameter set: the valid list,
// then the invalid list, each address with its four uses. In host mode new
// addresses come in through the insertion dialog and the last row is the
// new-entry row; deleting detaches used addresses from their users after the
// usage dialog. Standalone the table is read-only.

#include "ui/MainTableBox.h"

#include <string>
#include <vector>

class CGroupDataAddress;
class CGroupDataAddresses;

class CGroupAddressTable : public CMainTableBox {
    Q_OBJECT

public:
    static constexpr int kTableType = 3;
    static constexpr int kMaxAddresses = 250;
    // What the insertion dialog may offer: every type but date and time.
    static constexpr DWORD kInsertTypeMask = 127;

    CGroupAddressTable();
    ~CGroupAddressTable() override;

    int EditEntry(int nRow) override;
    bool InitColumns() override;
    bool FillTable() override;
    void GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) override;
    int CompareItems(int nColumn, int nRowA, int nRowB) override;
    void OnPaneCommand(int nCode) override;
    void DeleteEntries() override;
    void NewEntry() override;
    void OnUpdateEditEntry(CCmdUI* pCmdUI) override;

    // Whether the parameter set uses the address anywhere: day-routine
    // trigger, switching time, quantity trigger or quantity member.
    static bool IsUsedAnywhere(const CGroupDataAddress* pAddress);

private:
    // The selected addresses with any use flag.
    std::vector<CGroupDataAddress*> GetSelectedUsedAddresses() const;
    // Takes the address away from every user, then out of its list where
    // that is the table's job.
    void DetachAddress(CGroupDataAddresses& lists, CGroupDataAddress* pAddress);
    void DeleteUnused(CGroupDataAddresses& lists, const std::vector<CGroupDataAddress*>& unused);
    void SendKindsChanged(int nKinds);
};
