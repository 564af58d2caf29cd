#include "editors/time/SetDateTimeDlg.h"

#include "access/BusAccess.h"
#include "access/DeviceStatus.h"
#include "access/FalconConnectionParams.h"
#include "access/HostObjectMaps.h"
#include "app/Chronoset.h"
#include "app/HostConnection.h"
#include "app/PlugInApp.h"
#include "model/Locale.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/HostLogger.h"
#include "common/Log.h"
#include "common/MessageBox.h"
#include "common/ProgressInfo.h"
#include "common/ResString.h"
#include "platform/host/EtsDeviceManagement.h"
#include "platform/host/WindowMessages.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Posting.h"
#include "ui/CalendarButton.h"
#include "ui/IntSpinEdit.h"
#include "ui/ParameterDlg.h"
#include "ui/SpinControl.h"
#include "ui/ValueEditEx.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kProgressKindWrite = 15;
constexpr int kProgressKindRead = 16;
// The device holds the year as year - 2000 in one byte.
constexpr int kFirstDeviceYear = 2000;
constexpr int kLastDeviceYear = 2000 + 255;

// Fills the "%u" fields of a resource text in order; the text never goes to
// printf, so a translation cannot read past the values.
std::string FormatUnsignedFields(const std::string& strFormat, std::initializer_list<unsigned> values) {
    std::string strResult;
    auto it = values.begin();
    for (std::size_t i = 0; i < strFormat.size(); ++i) {
        if (strFormat[i] == '%' && i + 1 < strFormat.size() && strFormat[i + 1] == 'u' && it != values.end()) {
            strResult += std::to_string(*it++);
            ++i;
        } else {
            strResult += strFormat[i];
        }
    }
    return strResult;
}

// Monday 1 .. Sunday 7 from the calendar's Sunday 1 .. Saturday 7.
BYTE DeviceWeekday(const CTime& time) {
    return static_cast<BYTE>((time.GetDayOfWeek() + 5) % 7 + 1);
}

}  // namespace

CSetDateTimeDlg::CSetDateTimeDlg(QWidget* pParent)
    : CDialog(IDD, pParent), m_pParams(std::make_unique<CFalconConnectionParams>()) {
    MapCommand(IDC_READ_DEVICE_TIME, [this] { OnReadDeviceTime(); });
    MapCommand(IDC_READ_PC_TIME, [this] { m_bTicking = true; });
    MapCommand(IDC_WRITE_DEVICE_TIME, [this] { OnWriteDeviceTime(); });
    MapCommand(IDC_CALENDAR, [this] { OnCalendarButton(); });
}

CSetDateTimeDlg::~CSetDateTimeDlg() {
    if (m_pDeviceConnection != nullptr) {
        m_pDeviceConnection->Release();
    }
}

void CSetDateTimeDlg::SetConnectionParams(const CFalconConnectionParams& params) {
    *m_pParams = params;
}

int CSetDateTimeDlg::Run(CParameterDlg* pParent, WORD nIndividualAddress, const CFalconConnectionParams& params) {
    CSetDateTimeDlg dlg(pParent);
    dlg.SetIndividualAddress(nIndividualAddress);
    dlg.SetConnectionParams(params);
    return dlg.DoModal();
}

BOOL CSetDateTimeDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_bInitializing = true;
    // The PC time shown and written is the real local time.
    theApp.RestoreDaylightSaving(false);
    CenterWindow();

    m_pDateEdit = GetDlgItem(IDC_DATE);
    if (m_pDateEdit != nullptr) {
        m_pDateEdit->installEventFilter(this);
    }
    // A date written by the calendar is the user's edit as much as a typed
    // one: the clock must not overwrite it.
    if (auto* pDateEdit = qobject_cast<QLineEdit*>(m_pDateEdit)) {
        connect(pDateEdit, &QLineEdit::textChanged, this, [this] { StopFollowingPc(); });
    }
    if (QWidget* pPlace = GetDlgItem(IDC_CALENDAR)) {
        m_pCalendarButton = new CCalendarButton(pPlace->parentWidget());
        platform::ui::ReplaceDlgControl(pPlace, m_pCalendarButton);
        SetDlgCtrlID(m_pCalendarButton, IDC_CALENDAR);
        RouteButtonCommand(m_pCalendarButton);
    }

    struct TimeField {
        CValueEditEx*& pEdit;
        UINT nId;
        DWORD dwMax;
        UINT nSpinId;
    };
    TimeField fields[] = {{m_pHourEdit, IDC_HOUR, 23, 0}, {m_pMinuteEdit, IDC_MINUTE, 59, 1},
                          {m_pSecondEdit, IDC_SECOND, 59, 2}};
    for (TimeField& field : fields) {
        auto* pEdit = new CValueEditEx();
        if (!pEdit->SubclassDlgItem(field.nId, this)) {
            delete pEdit;
            continue;
        }
        field.pEdit = pEdit;
        pEdit->SetRange(0, field.dwMax);
        pEdit->SetDigitCount(2);
        pEdit->installEventFilter(this);
        // Typing or stepping a time field stops the clock following the PC.
        connect(pEdit, &QLineEdit::textChanged, this, [this] { StopFollowingPc(); });
        auto* pSpin = new CSpinControl();
        pSpin->CreateBelow(pEdit, field.nSpinId);
        connect(pSpin, &CSpinControl::Stepped, this, [this] { m_bTicking = false; });
        pSpin->show();
    }
    auto* pTrim = new CIntSpinEdit();
    if (pTrim->SubclassDlgItem(IDC_TRIM, this)) {
        m_pTrimEdit = pTrim;
        m_pTrimEdit->SetRange(-255, 255);
        m_pTrimEdit->SetStepSize(1);
        m_pTrimEdit->SetWindowText("0");
        m_pTrimEdit->installEventFilter(this);
        auto* pSpin = new CSpinControl();
        pSpin->CreateBelow(m_pTrimEdit, 3);
        pSpin->show();
    } else {
        delete pTrim;
    }

    if (!g_bStandalone) {
        ConnectLiveDevice();
    }

    OnReadDeviceTime();
    if (m_bIncompatible) {
        platform::ui::PostCommand(this, IDCANCEL);
        m_bIncompatible = false;
    }

    ShowTime(CTime::GetCurrentTime());
    if (QWidget* pWrite = GetDlgItem(IDC_WRITE_DEVICE_TIME)) {
        pWrite->setFocus(Qt::OtherFocusReason);
    }
    m_bTicking = true;
    m_bTimerStarted = SetTimer(kTimerId, kTimerPeriod) != 0;
    m_bInitializing = false;
    return FALSE;
}

void CSetDateTimeDlg::ConnectLiveDevice() {
    const LONG nDeviceId = g_pChronoset != nullptr ? g_pChronoset->GetDeviceId() : -1;
    IEtsDevice* pDevice = g_mapDevices.Lookup(nDeviceId);
    if (pDevice == nullptr) {
        LOG_ERROR("Device with id=%ld not found.", static_cast<long>(nDeviceId));
        return;
    }
    const HWND hHost = platform::host::GetTopLevelWindow(GetSafeHwnd());
    if (hHost == nullptr) {
        LOG_ERROR("ETS main window not found.");
        return;
    }
    const HRESULT hr =
        GetLifeDeviceConnection(hHost, static_cast<IUnknown*>(pDevice), 0, 0, -1, IidOf<IDeviceManagement>(),
                                reinterpret_cast<void**>(&m_pDeviceConnection), g_pHostLogger);
    if (FAILED(hr)) {
        m_pDeviceConnection = nullptr;
        LOG_ERROR("Calling GetLifeDeviceConnection. hr=0x%08X", static_cast<unsigned>(hr));
    }
}

void CSetDateTimeDlg::OnTimer(CWndTimers::TimerId nIDEvent) {
    if (nIDEvent == kTimerId) {
        if (m_bTicking) {
            ShowTime(CTime::GetCurrentTime());
        }
        return;
    }
    CDialog::OnTimer(nIDEvent);
}

void CSetDateTimeDlg::OnDestroy() {
    if (m_bTimerStarted) {
        KillTimer(kTimerId);
        m_bTimerStarted = false;
    }
    theApp.DisableDaylightSaving(false);
    CDialog::OnDestroy();
}

bool CSetDateTimeDlg::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pEvent->type() == QEvent::FocusIn) {
        // The window coming back to the front (after the message, say) or a
        // popup closing is no entering of the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(pEvent)->reason();
        if (pWatched == m_pDateEdit && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            OnDateSetFocus();
        } else if (pWatched == m_pHourEdit || pWatched == m_pMinuteEdit || pWatched == m_pSecondEdit) {
            StopFollowingPc();
        }
    } else if (pEvent->type() == QEvent::FocusOut && pWatched == m_pTrimEdit) {
        // After the edit's own handling, so the clamped text stays.
        const bool bResult = CDialog::eventFilter(pWatched, pEvent);
        OnTrimKillFocus();
        return bResult;
    }
    return CDialog::eventFilter(pWatched, pEvent);
}

void CSetDateTimeDlg::StopFollowingPc() {
    if (!m_bFilling) {
        m_bTicking = false;
    }
}

void CSetDateTimeDlg::OnTrimKillFocus() {
    const std::string strText = m_pTrimEdit->GetWindowText();
    long nTrim = std::strtol(strText.c_str(), nullptr, 10);
    nTrim = std::clamp(nTrim, -255L, 255L);
    m_pTrimEdit->SetWindowText(std::to_string(nTrim));
}

void CSetDateTimeDlg::OnDateSetFocus() {
    if (m_bFilling || m_bInitializing || m_bInDateFocus) {
        return;
    }
    m_bTicking = false;
    CTime time;
    if (ParseFields(time)) {
        m_nLastValidTime = time.GetTime();
        return;
    }
    m_nLastValidTime = CTime::GetCurrentTime().GetTime();
    // The message comes right after the focus change, not inside it, where
    // its modal loop would run under the widget that is moving the focus.
    m_bInDateFocus = true;
    const QPointer<CSetDateTimeDlg> pThis(this);
    QMetaObject::invokeMethod(
        this,
        [pThis]() {
            if (pThis == nullptr) {
                return;
            }
            if (pThis->isVisible()) {
                ShowInvalidDateMessage(pThis->GetSafeHwnd());
            }
            if (pThis != nullptr && pThis->m_pDateEdit != nullptr && pThis->isVisible()) {
                pThis->m_pDateEdit->setFocus(Qt::OtherFocusReason);
            }
            if (pThis != nullptr) {
                pThis->m_bInDateFocus = false;
            }
        },
        Qt::QueuedConnection);
}

void CSetDateTimeDlg::OnCalendarButton() {
    if (m_pCalendarButton == nullptr) {
        return;
    }
    CTime time;
    if (!ParseFields(time)) {
        time = CTime::GetCurrentTime();
    }
    std::tm tm{};
    if (!time.GetLocalTm(tm)) {
        CTime::GetCurrentTime().GetLocalTm(tm);
    }
    m_pCalendarButton->ShowCalendar(tm, m_pDateEdit);
}

bool CSetDateTimeDlg::ParseFields(CTime& time) const {
    CTime date;
    if (!ParseDateText(GetDlgItemText(IDC_DATE), date)) {
        return false;
    }
    const int nHour = m_pHourEdit != nullptr ? static_cast<int>(m_pHourEdit->GetValue()) : 0;
    const int nMinute = m_pMinuteEdit != nullptr ? static_cast<int>(m_pMinuteEdit->GetValue()) : 0;
    const int nSecond = m_pSecondEdit != nullptr ? static_cast<int>(m_pSecondEdit->GetValue()) : 0;
    time = CTime(date.GetYear(), date.GetMonth(), date.GetDay(), nHour, nMinute, nSecond);
    return true;
}

void CSetDateTimeDlg::ShowTime(const CTime& time) {
    m_bFilling = true;
    SetDlgItemText(IDC_DATE, FormatDate(time));
    if (m_pHourEdit != nullptr) {
        m_pHourEdit->SetValue(static_cast<DWORD>(time.GetHour()));
    }
    if (m_pMinuteEdit != nullptr) {
        m_pMinuteEdit->SetValue(static_cast<DWORD>(time.GetMinute()));
    }
    if (m_pSecondEdit != nullptr) {
        m_pSecondEdit->SetValue(static_cast<DWORD>(time.GetSecond()));
    }
    m_bFilling = false;
}

std::string CSetDateTimeDlg::GetAddressText() const {
    char szText[32];
    std::snprintf(szText, sizeof szText, "%02u.%02u.%03u", static_cast<unsigned>((m_nIndividualAddress >> 12) & 15),
                  static_cast<unsigned>((m_nIndividualAddress >> 8) & 15),
                  static_cast<unsigned>(m_nIndividualAddress & 255));
    return szText;
}

void CSetDateTimeDlg::ShowError(const std::string& strText) {
    CMessageBox box(g_bStandalone);
    box.ShowError(GetSafeHwnd(), strText.c_str(), GetWindowText().c_str());
}

bool CSetDateTimeDlg::RunBusExchange(bool bWrite, const BusOperation& operation) {
    std::string strError;
    {
        CProgressInfo progress(g_bStandalone);
        progress.Show(GetSafeHwnd(), bWrite ? kProgressKindWrite : kProgressKindRead);
        progress.SetCaption(GetResString(809, "Gerätestatus lesen"));
        if (g_pChronoset != nullptr) {
            g_pChronoset->ShowDeviceInfo(&progress);
        }
        progress.SetMiddleText((bWrite ? GetResString(130, "Lade Gerät") : GetResString(140, "Lese Gerät")) + " " +
                               GetAddressText());
        progress.SetBottomText(GetResString(141, "Aufbau der Verbindung"));
        progress.SetRange(0, bWrite ? 5 : 4);

        IDeviceManagement* pConnection = m_pDeviceConnection;
        CBusAccess bus(g_bStandalone);
        if (bus.Init(*m_pParams) == 0) {
            strError = GetResString(122, "Externe physikalische Schnittstelle konnte nicht installiert werden.");
        } else if (bus.Connect(m_nIndividualAddress, pConnection) != 0) {
            strError = FormatUnsignedFields(GetResString(121, "Fehler beim Aufbau der Verbindung zu Gerät %u.%u.%u."),
                                            {static_cast<unsigned>((m_nIndividualAddress >> 12) & 15),
                                             static_cast<unsigned>((m_nIndividualAddress >> 8) & 15),
                                             static_cast<unsigned>(m_nIndividualAddress & 255)});
            if (!bWrite) {
                LOG_ERROR("%s", strError.c_str());
            }
        } else {
            progress.Step();
            progress.SetBottomText(GetResString(115, "Lese Gerätedaten..."));
            bool bWrongApplication = true;
            const int nStatus = g_pChronoset != nullptr
                                    ? g_pChronoset->CheckApplicationProgram(&progress, &bus, bWrongApplication,
                                                                            pConnection)
                                    : -1;
            if (nStatus != 0 || bWrongApplication) {
                bus.Disconnect(pConnection);
                strError = GetResString(219, "Gerätevergleich fehlgeschlagen! Programm nicht kompatibel.");
                m_bIncompatible = true;
                if (!bWrite) {
                    LOG_ERROR("%s", strError.c_str());
                }
            } else {
                progress.SetBottomText(GetResString(142, "Datum/Uhrzeit Information"));
                const UINT nError = operation(bus, progress);
                bus.Disconnect(pConnection);
                if (nError != 0) {
                    strError = GetResString(nError, "");
                }
            }
        }
        bus.Close();
        progress.Step();
    }
    if (!strError.empty()) {
        ShowError(strError);
        return false;
    }
    return true;
}

void CSetDateTimeDlg::OnReadDeviceTime() {
    m_bIncompatible = false;
    if (m_nIndividualAddress == kNoAddress) {
        return;
    }
    CDeviceStatus status;
    const bool bRead = RunBusExchange(false, [&](CBusAccess& bus, CProgressInfo& progress) -> UINT {
        const int nResult = bus.ReadMem(CDeviceStatus::kAddress, status.GetData(), status.GetSize(true),
                                        m_pDeviceConnection);
        progress.Step();
        if (nResult != 0) {
            LOG_ERROR("%s", GetResString(123, "Fehler beim Lesen der Datum/Uhrzeit Information.").c_str());
            return 123;
        }
        return 0;
    });
    if (!bRead) {
        return;
    }
    m_bTicking = false;
    const CDeviceClock clock = status.GetClock();
    std::tm tm{};
    tm.tm_year = clock.Get(CDeviceClock::Year) + kFirstDeviceYear - 1900;
    tm.tm_mon = clock.Get(CDeviceClock::Month) - 1;
    tm.tm_mday = clock.Get(CDeviceClock::Day);
    tm.tm_hour = 12;
    tm.tm_isdst = -1;
    m_bFilling = true;
    SetDlgItemText(IDC_DATE, TmToDate(tm));
    if (m_pHourEdit != nullptr) {
        m_pHourEdit->SetValue(clock.Get(CDeviceClock::Hour));
    }
    if (m_pMinuteEdit != nullptr) {
        m_pMinuteEdit->SetValue(clock.Get(CDeviceClock::Minute));
    }
    if (m_pSecondEdit != nullptr) {
        m_pSecondEdit->SetValue(clock.Get(CDeviceClock::Second));
    }
    if (m_pTrimEdit != nullptr) {
        m_pTrimEdit->SetWindowText(std::to_string(status.GetTrim()));
    }
    m_bFilling = false;
}

void CSetDateTimeDlg::OnWriteDeviceTime() {
    if (m_nIndividualAddress == kNoAddress) {
        return;
    }
    const bool bWasTicking = m_bTicking;
    m_bTicking = false;

    CTime date;
    const bool bParsed = ParseDateText(GetDlgItemText(IDC_DATE), date);
    // A year the device's year byte cannot hold would wrap into another one.
    if (!bParsed || date.GetYear() < kFirstDeviceYear || date.GetYear() > kLastDeviceYear) {
        ShowError(GetResString(354, "Ungültiges Datumformat"));
        if (m_pDateEdit != nullptr) {
            // The user was just told; the field's own check would repeat it.
            m_bFilling = true;
            m_pDateEdit->setFocus(Qt::OtherFocusReason);
            m_bFilling = false;
        }
        return;
    }
    CDeviceClock clock;
    clock.Set(CDeviceClock::Hour, static_cast<BYTE>(m_pHourEdit != nullptr ? m_pHourEdit->GetValue() : 0));
    clock.Set(CDeviceClock::Minute, static_cast<BYTE>(m_pMinuteEdit != nullptr ? m_pMinuteEdit->GetValue() : 0));
    clock.Set(CDeviceClock::Second, static_cast<BYTE>(m_pSecondEdit != nullptr ? m_pSecondEdit->GetValue() : 0));
    clock.Set(CDeviceClock::Weekday, DeviceWeekday(date));
    clock.Set(CDeviceClock::Day, static_cast<BYTE>(date.GetDay()));
    clock.Set(CDeviceClock::Month, static_cast<BYTE>(date.GetMonth()));
    clock.Set(CDeviceClock::Year, static_cast<BYTE>((date.GetYear() - kFirstDeviceYear) & 0xFF));
    LOG_INFO("Uhrzeit %d:%d:%d", clock.Get(CDeviceClock::Hour), clock.Get(CDeviceClock::Minute),
             clock.Get(CDeviceClock::Second));

    const int nTrim = m_pTrimEdit != nullptr ? static_cast<int>(std::strtol(m_pTrimEdit->GetWindowText().c_str(),
                                                                            nullptr, 10))
                                             : 0;

    RunBusExchange(true, [&](CBusAccess& bus, CProgressInfo& progress) -> UINT {
        if (bWasTicking) {
            // The device gets the time of the write, not of the last tick.
            const CTime now = CTime::GetCurrentTime();
            clock.SetTime(now);
            LOG_INFO("Uhrzeit %d:%d:%d", clock.Get(CDeviceClock::Hour), clock.Get(CDeviceClock::Minute),
                     clock.Get(CDeviceClock::Second));
        }
        CDeviceStatus written;
        written.SetClock(clock);
        written.SetTrim(nTrim);
        const WORD nSize = written.GetSize(false);
        if (bus.WriteMem(CDeviceStatus::kAddress, written.GetData(), nSize, 0, m_pDeviceConnection) != 0) {
            return 124;
        }
        progress.Step();
        CDeviceStatus readBack;
        const int nRead = bus.ReadMem(CDeviceStatus::kAddress, readBack.GetData(), nSize, m_pDeviceConnection);
        progress.Step();
        const BYTE* pOut = written.GetData();
        const BYTE* pIn = readBack.GetData();
        const bool bSameClock = pOut[0] == pIn[0] && pOut[1] == pIn[1] && pOut[2] == pIn[2] && pOut[4] == pIn[4] &&
                                pOut[5] == pIn[5] && pOut[6] == pIn[6];
        if (nRead != 0 || !bSameClock || readBack.GetTrim() != written.GetTrim()) {
            return 124;
        }
        return 0;
    });
}
