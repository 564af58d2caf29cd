#pragma once
// The special-day dialog (176): creates special days one OK after another,
// or steps through the selected ones one OK at a time, editing the period
// (start and end, each a date with a calendar button and a time of day) and
// the day routine. A period that overlaps others is resolved as the user
// chooses in dialog 144, so that no two special days ever overlap. The
// dialog owns no data: a special day it prepares belongs to the list at
// once, and only Cancel takes the one still being prepared away again.

#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"
#include "ui/LeaveCheck.h"

#include <cstddef>
#include <ctime>
#include <vector>

class CCalendarButton;
class CDayRoutine;
class CObject;
class CSpecialDay;
class CSpecialDaysTable;
class CSpinControl;
class CTableComboBox;
class CTableListHeader;
class CTimeEditEx;
class QLineEdit;

class CSpecialDayEditDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr UINT IDD = 176;
    static constexpr UINT IDC_START_LABEL = 1155;
    static constexpr UINT IDC_START_ON = 1157;
    static constexpr UINT IDC_START_AT = 1161;
    static constexpr UINT IDC_START_DATE = 1159;
    static constexpr UINT IDC_START_CALENDAR = 1139;
    static constexpr UINT IDC_START_TIME = 1164;
    static constexpr UINT IDC_END_LABEL = 1156;
    static constexpr UINT IDC_END_ON = 1158;
    static constexpr UINT IDC_END_AT = 1162;
    static constexpr UINT IDC_END_DATE = 1160;
    static constexpr UINT IDC_END_CALENDAR = 1141;
    static constexpr UINT IDC_END_TIME = 1163;
    static constexpr UINT IDC_DAY_ROUTINE_LABEL = 1165;
    static constexpr UINT IDC_DAY_ROUTINE = 1166;
    static constexpr UINT IDC_SPIN_START_HOUR = 3;
    static constexpr UINT IDC_SPIN_START_MINUTE = 4;
    static constexpr UINT IDC_SPIN_END_HOUR = 5;
    static constexpr UINT IDC_SPIN_END_MINUTE = 6;

    // The list stays the caller's; in edit mode it holds the special days
    // to edit, in row order. Edit mode with nothing to edit inserts.
    CSpecialDayEditDlg(QWidget* pParent, bool bNewEntry, std::vector<CSpecialDay*>* pSelected);
    ~CSpecialDayEditDlg() override;

    void SetTable(CSpecialDaysTable* pTable) { m_pTable = pTable; }
    // A new special day starts as a copy of it (period and routine).
    void SetTemplateSpecialDay(CSpecialDay* pTemplate) { m_pTemplate = pTemplate; }

    bool IsNewEntry() const { return m_bNewEntry; }
    CSpecialDay* GetCurrentSpecialDay() const { return m_pSpecialDay; }
    CTableComboBox* GetDayRoutineCombo() const { return m_pCombo; }
    CCalendarButton* GetCalendarButton(bool bEnd) const { return m_arrCalendars[bEnd ? 1 : 0]; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnDestroy() override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    // Index 0 is the start, 1 the end.
    static constexpr int kStart = 0;
    static constexpr int kEnd = 1;

    void MakeControls();
    void FillDayRoutines();
    void ShowCurrentSpecialDay();
    void UpdateOkButton();
    CDayRoutine* GetSelectedDayRoutine() const;

    // The date field and time edit of one side as a calendar time; false
    // when the date does not parse (today's date stands in). An unparsable
    // time becomes the edit's last good time. With bRewrite both controls
    // show the normalised texts.
    bool ReadFieldPair(int nSide, std::tm& tm, bool bRewrite);
    void OnDateSetFocus(int nSide);
    // False when the date was refused.
    bool OnDateKillFocus(int nSide);
    // Not while the dialog reverts, fills or ends, or is hidden.
    bool IsDateCheckOff() const;
    // Whether the side's date parses and lies in 2000..2035.
    bool IsDateAccepted(int nSide, std::tm& tm);
    // Tells the user, puts the last accepted date back and the focus on it.
    void RevertDateField(int nSide);
    void OnCalendarButton(int nSide);

    // The overlap test of a period against another special day; touching
    // periods do not overlap.
    static bool Overlaps(const CSpecialDay* pOther, const std::tm& start, const std::tm& end);
    bool OverlapsAny(const std::tm& start, const std::tm& end) const;
    // The new period fills only the gaps between the existing days.
    void OldOverridesNew(std::tm start, std::tm end, CDayRoutine* pRoutine);
    // The new period stays whole and the existing days give way; false,
    // after telling the user, when a split needs a special day beyond the
    // limit (then nothing has changed).
    bool NewOverridesOld(const std::tm& start, const std::tm& end, CDayRoutine* pRoutine);
    void TrimStart(std::tm& start, const CSpecialDay* pExcept) const;
    void TrimEnd(const std::tm& start, std::tm& end, const CSpecialDay* pExcept) const;
    void RemoveSpecialDay(CSpecialDay* pSpecialDay);
    // A further special day from today 00:00 to today 00:00; null at 100.
    CSpecialDay* CreateFreshSpecialDay();
    void ShowFullMessage(bool bAlways);
    void SendToTable(int nType, CObject* pObject, CObject* pParent);
    void Finish(int nResult);

    CSpecialDay* m_pSpecialDay = nullptr;
    bool m_bNewEntry;
    std::vector<CSpecialDay*>* m_pSelected;
    // The position of the next special day to edit in the selected list.
    std::size_t m_nNext = 0;
    CSpecialDay* m_pTemplate = nullptr;
    CSpecialDaysTable* m_pTable = nullptr;
    bool m_bFullMessageShown = false;
    bool m_bFilling = false;
    bool m_bReverting = false;
    bool m_bEnding = false;
    std::tm m_arrLastAccepted[2] = {};
    // The dates are checked whichever way the user leaves them; what left a
    // refused one never acts.
    CLeaveCheck m_arrDateChecks[2];

    QLineEdit* m_arrDateEdits[2] = {};
    CCalendarButton* m_arrCalendars[2] = {};
    CTimeEditEx* m_arrTimeEdits[2] = {};
    CSpinControl* m_arrSpins[4] = {};
    CTableComboBox* m_pCombo = nullptr;
    CTableListHeader* m_pHeader = nullptr;
};
