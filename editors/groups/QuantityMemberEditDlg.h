#pragma once
// The member dialog (182): creates members of a quantity one OK after
// another, or steps through a list of them one OK at a time. The value
// control follows the datapoint type of the chosen group address: a mode
// choice for 2-bit addresses, otherwise a value edit (with percent or plain
// count for 1-byte addresses and a fixed or automatic exponent for 2-byte
// floats). The dialog owns no data: a member it prepares belongs to the
// quantity at once, and only Cancel takes it away again.

#include "platform/base/WinTypes.h"
#include "ui/TypedValueDlg.h"

#include <vector>

class CGroupDataAddress;
class CQuantity;
class CQuantityMember;

class CQuantityMemberEditDlg : public CTypedValueDlg {
    Q_OBJECT

public:
    static constexpr UINT IDD = 182;
    static constexpr UINT IDC_HELP_BUTTON = 1299;
    static constexpr UINT IDC_ADDRESS_LABEL = 1196;
    static constexpr UINT IDC_ADDRESS = 1197;
    static constexpr UINT IDC_VALUE_LABEL = 1198;
    static constexpr UINT IDC_RANGE = 1199;
    static constexpr UINT IDC_VALUE = 1200;
    static constexpr UINT IDC_UNIT = 1201;
    static constexpr UINT IDC_MODE = 1202;
    static constexpr UINT IDC_PERCENT = 1203;
    static constexpr UINT IDC_STANDARD = 1204;
    static constexpr UINT IDC_EXPONENT_LABEL = 1205;
    static constexpr UINT IDC_EXPONENT = 1206;
    static constexpr UINT IDC_SEND_LABEL = 1126;
    static constexpr UINT IDC_RANGE_A = 1133;
    static constexpr UINT IDC_RANGE_B = 1134;
    static constexpr UINT IDC_SEND_ON_CHANGE = 1135;
    static constexpr UINT IDC_VALUE_SPIN = 5;

    // The list stays the caller's; in edit mode it holds the members to
    // edit, in row order.
    CQuantityMemberEditDlg(QWidget* pParent, bool bInsertMode, std::vector<CQuantityMember*>* pMembers);
    ~CQuantityMemberEditDlg() override;

    void SetQuantity(CQuantity* pQuantity) { m_pQuantity = pQuantity; }
    // Insert mode only.
    void SetTemplateMember(CQuantityMember* pTemplate) { m_pTemplate = pTemplate; }
    CQuantityMember* GetCurrentMember() const { return m_pMember; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void MakeControls();
    // Ends a dialog that has nothing to work on; nothing was changed.
    BOOL FailStart(const char* pszReason);
    // Empties and fills the address chooser, then selects pSelect (when
    // given) or the member's own address.
    void FillAddressList(CGroupDataAddress* pSelect);
    // Whether the quantity has members on the address in range A and in
    // range B already.
    bool HasMembersInBothRanges(const CGroupDataAddress* pAddress) const;
    // Member to controls; pShown stands in for the member's address.
    void ShowMember(CGroupDataAddress* pShown);
    // The chosen address changed: the value controls follow its type; with
    // the offer, the "neue Gruppenadresse" entry runs the insertion.
    void OnCloseUp(bool bOffer);
    void UpdateOkButton();
    bool HasDuplicate(const CGroupDataAddress* pAddress, int nRange) const;
    // Recounts the associations and offers or withdraws the new-address
    // entry, warning once at the limit.
    void AfterStore();
    void FocusCombo();

    CQuantity* m_pQuantity = nullptr;
    CQuantityMember* m_pMember = nullptr;
    CQuantityMember* m_pTemplate = nullptr;
    std::vector<CQuantityMember*>* m_pMembers;
    int m_nModeIndex = 0;
};
