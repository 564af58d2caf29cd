#pragma once
// The small dialog (143) that asks for a new time of day when a pasted
// switching time would collide with one the routine has, or brings none.

#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"

#include <string>

class CSpinControl;
class CTimeEditEx;

class CSetSwitchTimeDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr UINT IDD = 143;
    static constexpr UINT IDC_MESSAGE = 1099;
    static constexpr UINT IDC_TIME_LABEL = 1100;
    static constexpr UINT IDC_TIME = 1244;
    static constexpr UINT IDC_HELP_BUTTON = 1299;
    // Its help is the application's page.
    static constexpr DWORD kHelpContext = 131185;

    explicit CSetSwitchTimeDlg(QWidget* pParent);
    ~CSetSwitchTimeDlg() override;

    void SetMessage(const std::string& strText) { m_strMessage = strText; }
    void SetTime(int nHour, int nMinute);
    // After IDOK.
    int GetHour() const { return m_nHour; }
    int GetMinute() const { return m_nMinute; }

    CTimeEditEx* GetTimeEdit() const { return m_pTimeEdit; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    std::string m_strMessage;
    int m_nHour = 0;
    int m_nMinute = 0;
    CTimeEditEx* m_pTimeEdit = nullptr;
    CSpinControl* m_pHourSpin = nullptr;
    CSpinControl* m_pMinuteSpin = nullptr;
};
