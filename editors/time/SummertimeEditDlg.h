#pragma once
// The daylight-saving dialog (175): creates periods one OK after another,
// each OK presenting the next year, or steps through a list of periods one
// OK at a time. It can compute a year's period by the rule (last Sunday of
// March 02:00 to last Sunday of October 03:00, one hour). The dialog owns no
// data: a period it creates belongs to the list at once, and only Cancel
// takes the period still being prepared away again.

#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"
#include "ui/LeaveCheck.h"

#include <cstddef>
#include <string>
#include <vector>

class CCalendarButton;
class CObject;
class CSpinControl;
class CSummertime;
class CSummertimeTable;
class CTime;
class CTimeEditEx;
class CValueEditEx;
class CYearEdit;

class CSummertimeEditDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr UINT IDD = 175;
    static constexpr UINT IDC_START_DATE = 1138;
    static constexpr UINT IDC_START_CALENDAR = 1139;
    static constexpr UINT IDC_END_DATE = 1140;
    static constexpr UINT IDC_END_CALENDAR = 1141;
    static constexpr UINT IDC_START_LABEL = 1143;
    static constexpr UINT IDC_END_LABEL = 1144;
    static constexpr UINT IDC_SHIFT_LABEL = 1145;
    static constexpr UINT IDC_SHIFT = 1146;
    static constexpr UINT IDC_CALCULATE = 1147;
    static constexpr UINT IDC_START_ON = 1149;
    static constexpr UINT IDC_END_ON = 1150;
    static constexpr UINT IDC_START_AT = 1151;
    static constexpr UINT IDC_END_AT = 1152;
    static constexpr UINT IDC_START_TIME = 1153;
    static constexpr UINT IDC_END_TIME = 1154;
    static constexpr UINT IDC_SHIFT_UNIT = 1214;
    static constexpr UINT IDC_AUTO_CALCULATE = 1320;
    static constexpr UINT IDC_SPIN_START_DATE = 1;
    static constexpr UINT IDC_SPIN_START_TIME = 2;
    static constexpr UINT IDC_SPIN_END_DATE = 3;
    static constexpr UINT IDC_SPIN_END_TIME = 4;
    static constexpr UINT IDC_SPIN_SHIFT = 5;
    static constexpr int kMaxShift = 12;

    // The list stays the caller's; in edit mode it holds the periods to
    // edit, in row order.
    CSummertimeEditDlg(QWidget* pParent, bool bInsertMode, std::vector<CSummertime*>* pPeriods);
    ~CSummertimeEditDlg() override;

    void SetTable(CSummertimeTable* pTable) { m_pTable = pTable; }
    void SetTemplatePeriod(CSummertime* pTemplate) { m_pTemplatePeriod = pTemplate; }

    CSummertime* GetCurrentPeriod() const { return m_pSummertime; }
    bool IsInsertMode() const { return m_bInsertMode; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnDestroy() override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void MakeControls();
    void FillControls();
    // The date field and time edit of the start (true) or end pair read as
    // one calendar time; false when the date is no date of 2000..2035.
    // Both fields are rewritten in their normal form.
    bool ReadPair(bool bStart, CTime& time);
    void OnCalendar(bool bStart);
    void OnCalculate();
    void OnDateSetFocus(bool bStart);
    // What leaving a date field does: a valid date moves the other date
    // along when the period would end before it starts; any other date is
    // refused. False when it was refused.
    bool CheckDate(bool bStart);
    // Not while the dialog reverts, stores or closes.
    bool IsDateCheckOff() const;
    // The invalid-date message; the field gets its last accepted date back
    // and the focus.
    void RefuseDate(bool bStart);
    void RememberDates();
    // One period per year: another period of the start's year, or one of
    // the end's year that starts before the end, is replaced only after Yes.
    // False when the user keeps it.
    bool ReplaceOtherPeriodOfYear(const CTime& start, const CTime& end);
    void ForgetSelected(CSummertime* pPeriod);
    void SendToTable(int nType, CObject* pObject, CObject* pParent, int nKind);
    CYearEdit* DateField(bool bStart) const { return bStart ? m_pStartDate : m_pEndDate; }
    CTimeEditEx* TimeField(bool bStart) const { return bStart ? m_pStartTime : m_pEndTime; }

    CSummertime* m_pSummertime = nullptr;
    bool m_bInsertMode;
    std::vector<CSummertime*>* m_pPeriods;
    std::size_t m_nPosition = 0;
    CSummertime* m_pTemplatePeriod = nullptr;
    CSummertimeTable* m_pTable = nullptr;
    bool m_bFilling = false;
    bool m_bReverting = false;
    bool m_bInOk = false;
    bool m_bEnding = false;
    // The last date each field held that was accepted.
    std::string m_strLastStartDate;
    std::string m_strLastEndDate;
    // The dates are checked whichever way the user leaves them; what left a
    // refused one never acts.
    CLeaveCheck m_arrDateChecks[2];

    CYearEdit* m_pStartDate = nullptr;
    CYearEdit* m_pEndDate = nullptr;
    CCalendarButton* m_pStartCalendar = nullptr;
    CCalendarButton* m_pEndCalendar = nullptr;
    CTimeEditEx* m_pStartTime = nullptr;
    CTimeEditEx* m_pEndTime = nullptr;
    CValueEditEx* m_pShift = nullptr;
    CSpinControl* m_arrSpins[5] = {};
};
