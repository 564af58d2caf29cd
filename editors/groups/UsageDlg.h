#pragma once
// The usage dialog (194): for one group address at a time, where the
// parameter set uses it. It steps through a list of objects (group
// addresses, or switching times and quantity members standing for theirs)
// one OK at a time. In delete mode OK reads "Löschen" and the caller deletes
// when it ends with OK; the reconciliation shows it with a warning line and
// an association check, and one OK ends it.

#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"

#include <vector>

class CGroupAddressCheck;
class CGroupDataAddress;
class CObject;
class CUsageList;

class CUsageDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr UINT IDD = 194;
    static constexpr UINT IDC_USAGE_LIST = 1257;
    static constexpr UINT IDC_ADDRESS = 1259;
    static constexpr UINT IDC_NAME = 1260;
    static constexpr UINT IDC_WARNING = 1261;

    // The objects stay the caller's.
    CUsageDlg(QWidget* pParent, bool bDeleteMode, const std::vector<CObject*>& objects);
    ~CUsageDlg() override;

    // The warning line's show state (0 hidden); applied at once when the
    // window exists.
    void ShowWarning(int nShowState);
    // The reconciliation's association check; the uses then come from it.
    void SetAssociationCheck(const CGroupAddressCheck* pCheck) { m_pCheck = pCheck; }

    CGroupDataAddress* GetCurrentGroupAddress() const { return m_pGroupAddress; }
    CUsageList* GetUsageList() const { return m_pList; }

    // The group address an object of the list stands for; null for other
    // classes.
    static CGroupDataAddress* GroupAddressOf(CObject* pObject);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void ApplyWarning();
    void ShowCurrent();

    bool m_bDeleteMode;
    int m_nShowWarning = 0;
    std::vector<CObject*> m_arrObjects;
    std::size_t m_nPosition = 0;
    CGroupDataAddress* m_pGroupAddress = nullptr;
    const CGroupAddressCheck* m_pCheck = nullptr;
    CUsageList* m_pList = nullptr;
};
