#pragma once
// The form above the switching-time overview (139): the group address and
// the period whose switching times the table lists. "&Zeigen" computes the
// rows anew; for a 1-byte address it first stores the chosen form of the
// value ("in %" or "Standard") as the address's sub type.

#include "ui/LeaveCheck.h"
#include "ui/MainFormView.h"

#include <cstdint>

class CCalendarButton;
class CGroupDataAddress;
class CObject;
class CTableComboBox;
class CTableListHeader;
class CTime;
class QLineEdit;
class QMouseEvent;

class COverviewEditWnd : public CMainFormView {
    Q_OBJECT

public:
    static constexpr UINT IDD = 139;
    static constexpr UINT IDC_SHOW = 1167;
    static constexpr UINT IDC_ADDRESS_LABEL = 1168;
    static constexpr UINT IDC_ADDRESS = 1169;
    static constexpr UINT IDC_PERCENT = 1171;
    static constexpr UINT IDC_STANDARD = 1172;
    static constexpr UINT IDC_PERIOD_LABEL = 1173;
    static constexpr UINT IDC_FROM_LABEL = 1174;
    static constexpr UINT IDC_START = 1175;
    static constexpr UINT IDC_TO_LABEL = 1176;
    static constexpr UINT IDC_END = 1177;
    static constexpr UINT IDC_START_CALENDAR = 1139;
    static constexpr UINT IDC_END_CALENDAR = 1141;
    static constexpr UINT kContextPopup = 6;

    explicit COverviewEditWnd(CMainTableBox* pOwnerTable);
    ~COverviewEditWnd() override;

    // The base creation, then today's date in both edits and the addresses
    // used by switching times, the first one selected.
    BOOL Create(QWidget* pParent, const QRect& rect) override;
    using CMainFormView::Create;

    // The selected entry's item data: the raw address (negated for the
    // invalid list), 0 without a selection.
    std::intptr_t GetSelectedAddressData() const;
    // Looked up in the central object's lists by the item data, so a
    // destroyed address is never returned.
    CGroupDataAddress* GetSelectedAddress() const;
    // The dates of the two edits (noon of each day); the edits are put in
    // order first. False when one does not parse.
    bool ReadInterval(CTime& start, CTime& end);
    // Lists the addresses used by switching times anew, leaving pGone out
    // (it is about to be destroyed), and keeps the selected one where it is
    // still listed, else takes the first. True when the selection changed.
    bool FillAddressList(const CObject* pGone = nullptr);

    CTableComboBox* GetAddressCombo() const { return m_pCombo; }

protected:
    int OnCreate() override;
    void OnDestroy() override;
    // Enter and Escape end nothing: the form is a pane, not a dialog.
    void OnOK() override;
    void OnCancel() override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    bool focusNextPrevChild(bool bNext) override;

private:
    void OnSelChangeAddress();
    void OnShow();
    void OnCalendar(bool bEnd);
    void OnDateSetFocus(QLineEdit* pEdit);
    // Whether the edit's text is a date the check takes.
    static bool IsDateAccepted(const QLineEdit& edit);
    // False when the date was refused.
    bool OnDateKillFocus(QLineEdit* pEdit);
    // Before "Zeigen" computes: a refused date in either edit gets its
    // message instead.
    bool CheckDatesForShow();
    void OnHelpOnTable();
    void NotifyDataChanged();
    QLineEdit* DateEdit(bool bEnd) const;

    CTableComboBox* m_pCombo = nullptr;
    CTableListHeader* m_pHeader = nullptr;
    CCalendarButton* m_pStartCalendar = nullptr;
    CCalendarButton* m_pEndCalendar = nullptr;
    // The date of the edit that has the focus when it got it, given back
    // when what was typed there is refused.
    std::int64_t m_nLastValidDate = 0;
    // The message box of a refused date takes the focus; that must not
    // start the check again.
    bool m_bInDateCheck = false;
    // The dates are checked whichever way the user leaves them; what left a
    // refused one never acts.
    CLeaveCheck m_arrDateChecks[2];
};
