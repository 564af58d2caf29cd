#pragma once
// The day-routine dialog (168): creates routines one OK after another, or
// steps through a list of routines one OK at a time, editing the name and
// the group address that triggers the routine over the bus. The dialog owns
// no data: a routine it creates belongs to the day routines at once, and
// only Cancel takes the routine still being prepared away again.

#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"
#include "ui/LeaveCheck.h"

#include <cstddef>
#include <string>
#include <vector>

class CDayRoutine;
class CDayRoutineTable;
class CGroupDataAddress;
class CObject;
class CTableComboBox;
class CTableListHeader;
class QCheckBox;
class QLineEdit;

class CDayRoutineEditDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr UINT IDD = 168;
    static constexpr UINT IDC_HELP_BUTTON = 1299;
    static constexpr UINT IDC_NUMBER = 1268;
    static constexpr UINT IDC_BUS_NOTE = 1121;
    static constexpr UINT IDC_ADDRESS_LABEL = 1117;
    static constexpr UINT IDC_NAME_LABEL = 1119;
    static constexpr UINT IDC_OPTIONS_LABEL = 1118;
    static constexpr UINT IDC_NUMBER_LABEL = 1120;
    static constexpr UINT IDC_TRIGGER_CHECK = 1116;
    static constexpr UINT IDC_NAME = 1005;
    static constexpr UINT IDC_TRIGGER_COMBO = 1007;
    static constexpr int kMaxNameLength = 50;

    // The list stays the caller's; in edit mode it holds the routines to
    // edit, in list order.
    CDayRoutineEditDlg(QWidget* pParent, bool bInsertMode, std::vector<CDayRoutine*>* pRoutines);
    ~CDayRoutineEditDlg() override;

    void SetTable(CDayRoutineTable* pTable) { m_pTable = pTable; }
    void SetTemplateRoutine(CDayRoutine* pTemplate) { m_pTemplateRoutine = pTemplate; }

    CDayRoutine* GetCurrentRoutine() const { return m_pDayRoutine; }
    CTableComboBox* GetTriggerCombo() const { return m_pCombo; }
    CTableListHeader* GetTriggerHeader() const { return m_pHeader; }

    // Empties and fills the trigger chooser for the current routine; the
    // preselected address (else the routine's trigger) is selected when it
    // is offered.
    void FillGdaSelection(CGroupDataAddress* pPreselect);
    // The name check of the edit: too long a name is reported and cut.
    void CheckNameLength();
    bool IsNameLengthAccepted() const;

    // The number of characters of a UTF-8 text, and its first characters.
    static std::size_t CharacterCount(const std::string& strText);
    static std::string FirstCharacters(const std::string& strText, std::size_t nCount);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnDestroy() override;

private:
    void MakeTriggerCombo();
    void OnTriggerCheck();
    void OnComboSelection();
    void ShowTriggerControls();
    bool IsTriggerChecked() const;
    void SetTriggerChecked(bool bChecked);
    // The address of the selected entry, or null.
    CGroupDataAddress* GetSelectedAddress() const;
    // Selects the address's entry only when it is offered; whether it was.
    bool SelectListedAddress(const CGroupDataAddress* pAddress);
    void ShowCurrentRoutine();
    void SendToTable(int nType, CObject* pObject, CObject* pParent, int nKind);
    void SendKindsChangedInDebug();
    void AfterStore();

    std::string m_strName;
    int m_nPrevSelection = -1;
    CDayRoutine* m_pDayRoutine = nullptr;
    CDayRoutine* m_pTemplateRoutine = nullptr;
    bool m_bInsertMode;
    std::vector<CDayRoutine*>* m_pRoutines;
    std::size_t m_nPosition = 0;
    CDayRoutineTable* m_pTable = nullptr;
    int m_nAssociationsAtOpen = 0;
    bool m_bLimitShown = false;

    CTableComboBox* m_pCombo = nullptr;
    CTableListHeader* m_pHeader = nullptr;
    // The name is checked whichever way the user leaves it.
    CLeaveCheck m_nameCheck;
};
