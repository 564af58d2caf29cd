#include "editors/time/DeviceStatusDlg.h"

#include "access/BusAccess.h"
#include "access/DeviceStatus.h"
#include "access/FalconConnectionParams.h"
#include "access/HostObjectMaps.h"
#include "app/Chronoset.h"
#include "app/HostConnection.h"
#include "model/Locale.h"
#include "common/Globals.h"
#include "common/HostLogger.h"
#include "common/Log.h"
#include "common/MessageBox.h"
#include "common/ProgressInfo.h"
#include "common/ResString.h"
#include "platform/host/EtsDeviceManagement.h"
#include "platform/host/WindowMessages.h"
#include "ui/ParameterDlg.h"

#include <QMetaObject>

#include <algorithm>
#include <cstdio>

namespace {

constexpr BYTE kStampObject = 5;
constexpr BYTE kStampProperty = 201;
constexpr BYTE kStampTypeCode = 1;
// The application program's load-state machine: interface object 3, whose
// load-state property reads on both roads.
constexpr BYTE kApplicationObject = 3;
constexpr BYTE kLoadStateProperty = 5;
constexpr int kProgressKindStatusRead = 16;

std::string Decimal(unsigned nValue, bool bTwoDigits) {
    char szBuffer[16];
    std::snprintf(szBuffer, sizeof szBuffer, bTwoDigits ? "%02u" : "%u", nValue);
    return szBuffer;
}

std::string YesNo(bool bYes) {
    return bYes ? GetResString(808, "Ja") : GetResString(807, "Nein");
}

}  // namespace

CDeviceStatusDlg::CDeviceStatusDlg(QWidget* pParent)
    : CDialog(IDD, pParent), m_pParams(std::make_unique<CFalconConnectionParams>()) {
    MapCommand(IDC_READ_STATUS, [this]() { OnReadStatus(); });
}

CDeviceStatusDlg::~CDeviceStatusDlg() {
    if (m_pDeviceManagement)
        m_pDeviceManagement->Release();
}

void CDeviceStatusDlg::SetConnectionParams(const CFalconConnectionParams& params) {
    *m_pParams = params;
}

int CDeviceStatusDlg::Run(CParameterDlg* pParent, WORD nIndividualAddress, const CFalconConnectionParams& params) {
    CDeviceStatusDlg dlg(pParent);
    dlg.SetIndividualAddress(nIndividualAddress);
    dlg.SetConnectionParams(params);
    return dlg.DoModal();
}

std::string CDeviceStatusDlg::FormatDateTime(unsigned nYear, unsigned nMonth, unsigned nDay, unsigned nHour,
                                             unsigned nMinute, unsigned nSecond) {
    // From the fields as they came: an impossible date stays as it is.
    return FormatDateFields(static_cast<int>(nYear), static_cast<int>(nMonth), static_cast<int>(nDay)) + ' ' +
           FormatTimeFields(static_cast<int>(nHour), static_cast<int>(nMinute), static_cast<int>(nSecond), true);
}

std::string CDeviceStatusDlg::AddressText(const char* pszFormat) const {
    char szText[32];
    std::snprintf(szText, sizeof szText, pszFormat, static_cast<unsigned>((m_nIndividualAddress >> 12) & 15),
                  static_cast<unsigned>((m_nIndividualAddress >> 8) & 15),
                  static_cast<unsigned>(m_nIndividualAddress & 255));
    return szText;
}

BOOL CDeviceStatusDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();
    m_strAddress = AddressText("%u.%u.%u");
    if (!g_bStandalone)
        GetLiveConnection();
    OnReadStatus();
    if (m_bDeviceIncompatible) {
        // Closed once it has opened: the device is not one this editor knows.
        QMetaObject::invokeMethod(
            this, [this]() { OnCommand(IDCANCEL); }, Qt::QueuedConnection);
    }
    return TRUE;
}

void CDeviceStatusDlg::GetLiveConnection() {
    const LONG nDeviceId = g_pChronoset ? g_pChronoset->GetDeviceId() : -1;
    IEtsDevice* pDevice = g_mapDevices.Lookup(nDeviceId);
    if (!pDevice) {
        LOG_ERROR("Device with id=%ld not found.", static_cast<long>(nDeviceId));
        return;
    }
    const HWND hTop = platform::host::GetTopLevelWindow(GetSafeHwnd());
    if (!hTop)
        LOG_ERROR("ETS main window not found.");
    if (m_pDeviceManagement) {
        m_pDeviceManagement->Release();
        m_pDeviceManagement = nullptr;
    }
    const HRESULT hr = GetLifeDeviceConnection(hTop, pDevice, 0, 0, -1, IidOf<IDeviceManagement>(),
                                               reinterpret_cast<void**>(&m_pDeviceManagement), g_pHostLogger);
    if (FAILED(hr))
        LOG_ERROR("Calling GetLifeDeviceConnection. hr=0x%08X", static_cast<unsigned>(hr));
}

void CDeviceStatusDlg::ShowError(UINT nTextId, const char* pszDefault) {
    const std::string strText = GetResString(nTextId, pszDefault);
    const std::string strCaption = GetWindowText();
    CMessageBox().ShowError(GetSafeHwnd(), strText.c_str(), strCaption.c_str());
}

bool CDeviceStatusDlg::ConnectAndCheck(CBusAccess& bus, CProgressInfo& progress) {
    if (bus.Init(*m_pParams) != 1) {
        ShowError(122, "Externe physikalische Schnittstelle konnte nicht installiert werden.");
        return false;
    }
    if (bus.Connect(m_nIndividualAddress, m_pDeviceManagement) != 0) {
        char szText[256];
        std::snprintf(szText, sizeof szText,
                      GetResString(121, "Fehler beim Aufbau der Verbindung zu Gerät %u.%u.%u.").c_str(),
                      static_cast<unsigned>((m_nIndividualAddress >> 12) & 15),
                      static_cast<unsigned>((m_nIndividualAddress >> 8) & 15),
                      static_cast<unsigned>(m_nIndividualAddress & 255));
        LOG_ERROR("%s", szText);
        CMessageBox().ShowError(GetSafeHwnd(), szText, GetWindowText().c_str());
        return false;
    }
    progress.Step();
    progress.SetBottomText(GetResString(115, "Lese Gerätedaten..."));
    bool bWrongApplication = true;
    const int nCheck = g_pChronoset
                           ? g_pChronoset->CheckApplicationProgram(&progress, &bus, bWrongApplication,
                                                                   m_pDeviceManagement)
                           : -1;
    if (nCheck != 0 || bWrongApplication) {
        bus.Disconnect(m_pDeviceManagement);
        LOG_ERROR("Gerätevergleich fehlgeschlagen! Programm nicht kompatibel.");
        ShowError(219, "Gerätevergleich fehlgeschlagen! Programm nicht kompatibel.");
        m_bDeviceIncompatible = true;
        return false;
    }
    return true;
}

void CDeviceStatusDlg::OnReadStatus() {
    m_bDeviceIncompatible = false;
    if (m_nIndividualAddress == kNoAddress) {
        UpdateData();
        return;
    }

    CProgressInfo progress(g_bStandalone);
    progress.Show(GetSafeHwnd(), kProgressKindStatusRead);
    progress.SetCaption(GetResString(809, "Gerätestatus lesen"));
    if (g_pChronoset)
        g_pChronoset->ShowDeviceInfo(&progress);
    progress.SetMiddleText(GetResString(140, "Lese Gerät") + " " + AddressText("%02u.%02u.%03u"));
    progress.SetBottomText(GetResString(141, "Aufbau der Verbindung"));
    progress.SetRange(0, 6);

    CBusAccess bus(g_bStandalone);
    if (ConnectAndCheck(bus, progress)) {
        progress.SetBottomText(GetResString(502, "Anwenderprogramm Status"));
        BYTE nLoadState = 0;
        if (bus.ReadPropertyData(kApplicationObject, kLoadStateProperty, 0, 1, 1, &nLoadState, 1,
                                 m_pDeviceManagement) == 0)
            m_strApplicationStatus = LoadStateText(nLoadState);
        else
            LOG_ERROR("failed to read the load state of the application program");
        progress.Step();
        progress.SetBottomText(GetResString(138, "Applikationsinformationen"));
        // Any byte left at 0xFF means that no download wrote the stamp.
        std::array<BYTE, 6> arrStamp;
        arrStamp.fill(0xFF);
        const int nStampResult = bus.ReadPropertyData(kStampObject, kStampProperty, kStampTypeCode, 1, 1,
                                                      arrStamp.data(), static_cast<WORD>(arrStamp.size()),
                                                      m_pDeviceManagement);
        progress.Step();

        progress.SetBottomText(GetResString(142, "Datum/Uhrzeit Information"));
        CDeviceStatus status;
        const int nStatusResult = bus.ReadMem(CDeviceStatus::kAddress, status.GetData(), status.GetSize(true),
                                              m_pDeviceManagement);
        progress.Step();
        bus.Disconnect(m_pDeviceManagement);

        // A failed read leaves the buffer unfilled; nothing made of it is shown.
        if (nStatusResult == 0)
            ShowStatusTexts(status.GetData());
        if (nStampResult == 0)
            ShowStamp(arrStamp);
        else
            m_strDownloadStamp = GetResString(811, "kein Download durchgeführt");

        if (nStampResult != 0)
            ShowError(810, "Fehler beim Lesen des Zeitstempels der Applikationsinformation.");
        if (nStatusResult != 0) {
            LOG_ERROR("Fehler beim Lesen der Datum/Uhrzeit Information.");
            ShowError(123, "Fehler beim Lesen der Datum/Uhrzeit Information.");
        }
    }
    bus.Close();
    progress.Step();
    progress.Hide();
    UpdateData();
}

void CDeviceStatusDlg::ShowStatusTexts(const BYTE* pStatus) {
    CDeviceStatus status;
    std::copy(pStatus, pStatus + CDeviceStatus::kSize, status.GetData());
    m_strProgramRunning = YesNo(status.IsSwitchProgramRunning());
    m_strClockSet = YesNo(status.IsClockSet());
    m_strEnabledByObject = YesNo(status.IsEnabledByObject());
    m_strDayRoutine = Decimal(status.GetCurrentDayRoutine(), false);
    m_strDayRoutineType = status.GetDayRoutineTypeText();
    m_strTimeMode = status.GetTimeModeText();
    m_strDeviceClock = FormatDateTime(pStatus[6] + 2000u, pStatus[5], pStatus[4], pStatus[0], pStatus[1], pStatus[2]);
}

std::string CDeviceStatusDlg::LoadStateText(BYTE nState) {
    switch (nState) {
    case 0:
        return GetResString(820, "nicht geladen");
    case 1:
        return GetResString(821, "geladen");
    case 2:
        return GetResString(822, "wird geladen");
    case 3:
        return GetResString(823, "Fehler");
    default:
        return GetResString(804, "nicht definiert");
    }
}

void CDeviceStatusDlg::ShowStamp(const std::array<BYTE, 6>& arrStamp) {
    if (std::find(arrStamp.begin(), arrStamp.end(), 0xFF) != arrStamp.end()) {
        m_strDownloadStamp = GetResString(811, "kein Download durchgeführt");
        return;
    }
    m_strDownloadStamp = FormatDateTime(arrStamp[5] + 2000u, arrStamp[4], arrStamp[3], arrStamp[0], arrStamp[1],
                                        arrStamp[2]);
}

void CDeviceStatusDlg::UpdateData() {
    SetDlgItemText(IDC_ADDRESS, m_strAddress);
    SetDlgItemText(IDC_DOWNLOAD_STAMP, m_strDownloadStamp);
    SetDlgItemText(IDC_APPLICATION_STATUS, m_strApplicationStatus);
    SetDlgItemText(IDC_DEVICE_CLOCK, m_strDeviceClock);
    SetDlgItemText(IDC_PROGRAM_RUNNING, m_strProgramRunning);
    SetDlgItemText(IDC_CLOCK_SET, m_strClockSet);
    SetDlgItemText(IDC_ENABLED_BY_OBJECT, m_strEnabledByObject);
    SetDlgItemText(IDC_DAY_ROUTINE, m_strDayRoutine);
    SetDlgItemText(IDC_DAY_ROUTINE_TYPE, m_strDayRoutineType);
    SetDlgItemText(IDC_TIME_MODE, m_strTimeMode);
}
