#pragma once
// The week-routine dialog (174): picks the day routine of one weekday after
// another from a list the caller gives. Each OK assigns the routine of the
// weekday shown and moves on to the next weekday of the list; after the
// last one the dialog closes.

#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"

#include <string>
#include <vector>

class CDayRoutine;
class CMainTableBox;
class CTableComboBox;
class CTableListHeader;

class CWeekRoutineEditDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr UINT IDD = 174;
    static constexpr UINT IDC_DAY_ROUTINE = 1136;
    static constexpr UINT IDC_DAY_ROUTINE_LABEL = 1137;
    // A list entry of this value or more stands for no weekday.
    static constexpr WORD kNoWeekday = 7;

    // The weekday list stays the caller's; unused entries hold -1.
    CWeekRoutineEditDlg(QWidget* pParent, std::vector<WORD>* pWeekdays);
    ~CWeekRoutineEditDlg() override;

    // The table that hears of each assignment.
    void SetTableToNotify(CMainTableBox* pTable) { m_pTable = pTable; }

    WORD GetWeekday() const { return m_nWeekday; }
    CTableComboBox* GetDayRoutineCombo() const { return m_pDayRoutineCombo; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;

private:
    // The routine behind the combo's selection; null for the none entry.
    CDayRoutine* GetSelectedDayRoutine() const;
    // Caption and selection for the current weekday.
    void ShowWeekday();

    CTableComboBox* m_pDayRoutineCombo = nullptr;
    CTableListHeader* m_pHeader = nullptr;
    WORD m_nWeekday = kNoWeekday;
    std::string m_strCaption;
    std::vector<WORD>* m_pWeekdays;
    int m_nPosition = 0;
    CMainTableBox* m_pTable = nullptr;
};
