#pragma once
// The trigger dialog (181): adds trigger group addresses to a quantity one
// OK after another, or steps through a list of its triggers one OK at a
// time, exchanging the address. "sendend setzen" makes the chosen address
// the quantity's request address, taking the mark from the previous one.
// Only addresses of the quantity's main type are offered that are neither
// its members nor already its triggers.

#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"

#include <cstddef>
#include <vector>

class CGroupDataAddress;
class CObject;
class CQuantity;
class CQuantityTriggerTable;
class CTableComboBox;
class CTableListHeader;

class CQuantityTriggerEditDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr UINT IDD = 181;
    static constexpr UINT IDC_HELP_BUTTON = 1299;
    static constexpr UINT IDC_OPTIONS_LABEL = 1192;
    static constexpr UINT IDC_SET_SENDING = 1193;
    static constexpr UINT IDC_ADDRESS_LABEL = 1194;
    static constexpr UINT IDC_ADDRESS = 1195;

    // The list stays the caller's; in edit mode it holds the triggers to
    // edit, in row order; null in insert mode.
    CQuantityTriggerEditDlg(QWidget* pParent, bool bInsertMode, std::vector<CGroupDataAddress*>* pTriggers);
    ~CQuantityTriggerEditDlg() override;

    // Null: no notifications.
    void SetTable(CQuantityTriggerTable* pTable) { m_pTable = pTable; }
    void SetQuantity(CQuantity* pQuantity) { m_pQuantity = pQuantity; }
    void SetPreselection(CGroupDataAddress* pAddress) { m_pPreselection = pAddress; }

    CGroupDataAddress* GetCurrentTrigger() const { return m_pTrigger; }
    CTableComboBox* GetAddressCombo() const { return m_pCombo; }

    // The allowed-type mask of the group-address insertion for a main type;
    // 0 for a type no trigger can have.
    static DWORD AllowedTypeMask(int nMainType);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;

private:
    void MakeAddressCombo();
    // Empties and fills the chooser; selects the address, else the current
    // trigger, else (insert mode) the last inserted one.
    void FillCombo(CGroupDataAddress* pSelect);
    void UpdateOkButton();
    void OnCloseUp();
    CGroupDataAddress* GetSelectedAddress() const;
    bool IsSendingChecked() const;
    void SetSendingChecked(bool bChecked);
    void SendToTable(int nType, CObject* pObject, CObject* pParent, int nKind);
    void SendKindsChangedInDebug();

    CQuantity* m_pQuantity = nullptr;
    CGroupDataAddress* m_pTrigger = nullptr;
    CGroupDataAddress* m_pLastInserted = nullptr;
    CGroupDataAddress* m_pPreselection = nullptr;
    bool m_bInsertMode;
    int m_nLastValid = -1;
    std::vector<CGroupDataAddress*>* m_pTriggers;
    std::size_t m_nPosition = 0;
    CQuantityTriggerTable* m_pTable = nullptr;
    bool m_bLimitShown = false;
    bool m_bNewAddressRunning = false;

    CTableComboBox* m_pCombo = nullptr;
    CTableListHeader* m_pHeader = nullptr;
};
