#pragma once
// The link dialog (202): steps through every use of the given group
// addresses, one OK each, and moves that use to another unused address of
// the same type, to a new one from the host project, or to none. None keeps
// the use on a copy in the invalid list, a placeholder without association.
//
// The uses of one address make its entries: one for its day-routine
// trigger, switching-time and member uses together (numbered with the
// address's communication object), then one per quantity it triggers
// (numbered with that quantity's trigger object). The dialog owns no data;
// the caller reads HasChanged and sends the change notifications.

#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"

#include <cstddef>
#include <string>
#include <vector>

class CGroupDataAddress;
class CQuantity;
class CTableComboBox;
class CTableListHeader;

class CLinkGroupAddressDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr UINT IDD = 202;
    static constexpr UINT IDC_HELP_BUTTON = 1299;
    static constexpr UINT IDC_USAGE = 1292;
    static constexpr UINT IDC_ADDRESS_LABEL = 1291;
    static constexpr UINT IDC_ADDRESS = 1018;

    // An entry: usage flags in the high word, object number in the low one.
    static constexpr DWORD MakeEntry(DWORD dwFlags, WORD wNumber) { return (dwFlags << 16) | wNumber; }
    static constexpr DWORD EntryFlags(DWORD dwEntry) { return dwEntry >> 16; }
    static constexpr WORD EntryNumber(DWORD dwEntry) { return static_cast<WORD>(dwEntry & 0xFFFF); }

    // The addresses stay the caller's; they are taken in the given order.
    CLinkGroupAddressDlg(QWidget* pParent, const std::vector<CGroupDataAddress*>& addresses);
    ~CLinkGroupAddressDlg() override;

    // Whether the user chose in the address list at all (the caller then
    // refreshes), or a use was moved.
    bool HasChanged() const { return m_bChanged; }

    CGroupDataAddress* GetCurrentAddress() const { return m_pCurrent; }
    // The entry shown; (DWORD)-1 when there is none.
    DWORD GetCurrentEntry() const { return m_dwCurrentEntry; }
    // The entries of the current address.
    const std::vector<DWORD>& GetEntries() const { return m_arrEntries; }
    CTableComboBox* GetAddressCombo() const { return m_pCombo; }

    // The allowed-type bit of the insertion for a main type; 0 for a type
    // without one.
    static DWORD AllowedTypeMask(LONG nMainType);
    // The entries of an address as the central object's data sets use it;
    // pQuantities receives the quantity of each entry (null for the first
    // kind).
    static std::vector<DWORD> BuildEntries(const CGroupDataAddress* pAddress, std::vector<CQuantity*>* pQuantities);
    // The usage text of an entry of the address (one line per use kind,
    // each ending with a line break).
    static std::string GetUsageText(const CGroupDataAddress* pAddress, DWORD dwEntry, const CQuantity* pQuantity);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;

private:
    void MakeAddressCombo();
    // On to the next entry, taking the next address when the current one
    // has none left; false when every address is done.
    bool StepToNextEntry();
    // Whether the chooser offers the address for the current entry.
    bool IsGaToInsert(const CGroupDataAddress* pAddress) const;
    void FillCombo();
    // The row of the address (exact match), -1 when not listed.
    int RowOf(const CGroupDataAddress* pAddress) const;
    void OnCloseUp();
    void RunInsertion();
    // Moves the current entry's uses to pTarget (null: none); true when
    // anything moved.
    bool Relink(CGroupDataAddress* pTarget);
    bool RelinkTrigger(CQuantity* pQuantity, CGroupDataAddress* pTarget);
    bool RelinkToNone();
    // Moves the uses of the first entry kind from the current address.
    void MoveOtherUses(DWORD dwFlags, CGroupDataAddress* pTarget);
    // An invalid-list address left without use goes with its last use.
    void DropCurrentIfUnusedInvalid();
    CQuantity* CurrentQuantity() const;
    // Recounts the associations; offers or withdraws the new-address
    // entry, warning once at the limit.
    void AfterStore();

    bool m_bChanged = false;
    int m_nPrevSelection = -1;
    std::vector<CGroupDataAddress*> m_arrAddresses;
    std::size_t m_nNextAddress = 0;
    CGroupDataAddress* m_pCurrent = nullptr;
    DWORD m_dwCurrentEntry = static_cast<DWORD>(-1);
    std::vector<DWORD> m_arrEntries;
    // The quantity of each entry: trigger object numbers change when the
    // associations are recounted, the quantities do not.
    std::vector<CQuantity*> m_arrEntryQuantities;
    int m_nEntryIndex = -1;
    bool m_bLimitShown = false;
    bool m_bNewAddressRunning = false;

    CTableComboBox* m_pCombo = nullptr;
    CTableListHeader* m_pHeader = nullptr;
};
