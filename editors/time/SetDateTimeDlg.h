#pragma once
// The device clock dialog (140): shows the PC's time ticking once a second,
// reads the device's clock and trim, and writes the fields into the device
// and reads them back to verify. Standalone it talks to the bus itself, as
// a plug-in through the host's live device connection. While it is open the
// process keeps its real daylight-saving rules, so the PC time shown and
// written is the real local time.

#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class CBusAccess;
class CCalendarButton;
class CFalconConnectionParams;
class CTime;
class CIntSpinEdit;
class CParameterDlg;
class CProgressInfo;
class CValueEditEx;
struct IDeviceManagement;

class CSetDateTimeDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr UINT IDD = 140;
    static constexpr UINT IDC_DATE_LABEL = 1080;
    static constexpr UINT IDC_DATE = 1134;
    static constexpr UINT IDC_CALENDAR = 1135;
    static constexpr UINT IDC_TIME_LABEL = 1081;
    static constexpr UINT IDC_HOUR = 1077;
    static constexpr UINT IDC_MINUTE = 1078;
    static constexpr UINT IDC_SECOND = 1079;
    static constexpr UINT IDC_TRIM = 1288;
    static constexpr UINT IDC_READ_PC_TIME = 1070;
    static constexpr UINT IDC_READ_DEVICE_TIME = 1071;
    static constexpr UINT IDC_WRITE_DEVICE_TIME = 1072;
    static constexpr CWndTimers::TimerId kTimerId = 1;
    static constexpr UINT kTimerPeriod = 1000;
    // All bits set: no individual address known.
    static constexpr WORD kNoAddress = 0xFFFF;

    explicit CSetDateTimeDlg(QWidget* pParent);
    ~CSetDateTimeDlg() override;

    // The main window's runner of the clock command.
    static int Run(CParameterDlg* pParent, WORD nIndividualAddress, const CFalconConnectionParams& params);

    void SetIndividualAddress(WORD nAddress) { m_nIndividualAddress = nAddress; }
    void SetConnectionParams(const CFalconConnectionParams& params);

    bool IsTicking() const { return m_bTicking; }

protected:
    BOOL OnInitDialog() override;
    void OnTimer(CWndTimers::TimerId nIDEvent) override;
    void OnDestroy() override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    // The operation proper of a bus exchange; the id of its error text, or 0.
    using BusOperation = std::function<UINT(CBusAccess& bus, CProgressInfo& progress)>;

    void OnReadDeviceTime();
    void OnWriteDeviceTime();
    void OnCalendarButton();
    void OnDateSetFocus();
    // The user took over the fields (typing, focusing a time field, a date
    // from the calendar); the dialog's own filling is no such thing.
    void StopFollowingPc();
    void OnTrimKillFocus();
    void ShowTime(const CTime& time);
    // Date and time of the fields; false when the date does not parse.
    bool ParseFields(CTime& time) const;
    void ConnectLiveDevice();
    // The common frame of reading and writing; false when it failed (an
    // error box was shown).
    bool RunBusExchange(bool bWrite, const BusOperation& operation);
    void ShowError(const std::string& strText);
    std::string GetAddressText() const;

    WORD m_nIndividualAddress = kNoAddress;
    std::unique_ptr<CFalconConnectionParams> m_pParams;
    // Counted reference to the host's live connection; plug-in mode only.
    IDeviceManagement* m_pDeviceConnection = nullptr;
    bool m_bTicking = false;
    bool m_bFilling = false;
    bool m_bInitializing = false;
    bool m_bIncompatible = false;
    bool m_bTimerStarted = false;
    bool m_bInDateFocus = false;
    // Seconds of the last valid date and time of the fields.
    std::int64_t m_nLastValidTime = 0;

    QWidget* m_pDateEdit = nullptr;
    CCalendarButton* m_pCalendarButton = nullptr;
    CValueEditEx* m_pHourEdit = nullptr;
    CValueEditEx* m_pMinuteEdit = nullptr;
    CValueEditEx* m_pSecondEdit = nullptr;
    CIntSpinEdit* m_pTrimEdit = nullptr;
};
