#include "editors/time/SetSwitchTimeDlg.h"

#include "platform/ui/DialogTemplate.h"
#include "ui/SpinControl.h"
#include "ui/TimeEditEx.h"

CSetSwitchTimeDlg::CSetSwitchTimeDlg(QWidget* pParent) : CDialog(IDD, pParent) {
    SetHelpID(kHelpContext - 0x20000);
}

CSetSwitchTimeDlg::~CSetSwitchTimeDlg() = default;

void CSetSwitchTimeDlg::SetTime(int nHour, int nMinute) {
    m_nHour = nHour;
    m_nMinute = nMinute;
    if (m_pTimeEdit != nullptr) {
        m_pTimeEdit->SetTime(CTime(2000, 1, 1, m_nHour, m_nMinute, 0));
    }
}

BOOL CSetSwitchTimeDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();
    SetDlgItemText(IDC_MESSAGE, m_strMessage);
    if (QWidget* pPlace = GetDlgItem(IDC_TIME)) {
        m_pTimeEdit = new CTimeEditEx(pPlace->parentWidget());
        platform::ui::ReplaceDlgControl(pPlace, m_pTimeEdit);
        m_pTimeEdit->CreateHourMinuteSpins(m_pHourSpin, m_pMinuteSpin);
        SetTime(m_nHour, m_nMinute);
    }
    return TRUE;
}

void CSetSwitchTimeDlg::OnOK() {
    if (m_pTimeEdit != nullptr) {
        const CTime time = m_pTimeEdit->GetTime();
        m_nHour = time.GetHour();
        m_nMinute = time.GetMinute();
    }
    EndDialog(IDOK);
}
