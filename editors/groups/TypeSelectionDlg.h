#pragma once
// The dialog (126) that asks for the datapoint type of a group address the
// host project gives without a usable one. It offers only the main types the
// requesting editor accepts (its allowed-type mask) that also fit the value
// size the host reports for the address.

#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"

#include <string>

class CTypeSelectionDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr UINT IDD = 126;
    static constexpr UINT IDC_PROMPT = 1263;
    static constexpr UINT IDC_NAME_LABEL = 1264;
    static constexpr UINT IDC_ADDRESS_LABEL = 1265;
    static constexpr UINT IDC_TYPE_LABEL = 1266;
    static constexpr UINT IDC_SUB_TYPE_LABEL = 1267;
    static constexpr UINT IDC_ADDRESS = 1068;
    static constexpr UINT IDC_NAME = 1069;
    static constexpr UINT IDC_MAIN_TYPE = 1015;
    static constexpr UINT IDC_SUB_TYPE = 1032;
    static constexpr UINT IDC_HELP_BUTTON = 1299;
    // Its help is the application's page.
    static constexpr DWORD kHelpContext = 131185;
    // Every main type but date and time.
    static constexpr UINT kDefaultTypeMask = 127;

    explicit CTypeSelectionDlg(QWidget* pParent);
    ~CTypeSelectionDlg() override;

    void SetName(const std::string& strName) { m_strName = strName; }
    void SetAddressText(const std::string& strAddress) { m_strAddress = strAddress; }
    // The bits of the accepted main types; 0 accepts every type.
    void SetAllowedTypeMask(UINT nMask) { m_nAllowedTypeMask = nMask; }
    // The value type the host reports (-1 none, 0 1 bit, 1 2 bit, 7 1 byte,
    // 8 2 bytes, 9 3 bytes).
    void SetHostObjectType(int nHostObjectType) { m_nHostObjectType = nHostObjectType; }
    // The row of the type list selected at the start (row 0 when it has none).
    void SetMainIndex(int nIndex) { m_nMainIndex = nIndex; }

    // Whether the main type is offered under this mask and host object type.
    bool IsTypeAllowed(int nMainType) const;

    // After IDOK; 0 while nothing was chosen.
    WORD GetMainType() const { return m_wMainType; }
    WORD GetSubType() const { return m_wSubType; }
    int GetMainIndex() const { return m_nMainIndex; }
    int GetSubIndex() const { return m_nSubIndex; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;

private:
    void FillSubTypes();

    int m_nMainIndex = 0;
    int m_nSubIndex = -1;
    std::string m_strAddress;
    std::string m_strName;
    UINT m_nAllowedTypeMask = kDefaultTypeMask;
    WORD m_wMainType = 0;
    WORD m_wSubType = 0;
    int m_nHostObjectType = -1;
    bool m_bAccepted = false;
};
