#pragma once
// The device status dialog (141): reads the device's status block and the
// time stamp of the last parameter download over the bus and shows them.
// It reads once when it opens and again on "Status &Lesen".

#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"

#include <array>
#include <memory>
#include <string>

class CBusAccess;
class CFalconConnectionParams;
class CParameterDlg;
class CProgressInfo;
struct IDeviceManagement;

class CDeviceStatusDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr UINT IDD = 141;
    static constexpr UINT IDC_READ_STATUS = 1090;
    static constexpr UINT IDC_DOWNLOAD_STAMP = 1091;
    static constexpr UINT IDC_DAY_ROUTINE = 1092;
    static constexpr UINT IDC_DAY_ROUTINE_TYPE = 1093;
    static constexpr UINT IDC_TIME_MODE = 1094;
    static constexpr UINT IDC_ADDRESS = 1096;
    static constexpr UINT IDC_PROGRAM_RUNNING = 1097;
    static constexpr UINT IDC_APPLICATION_STATUS = 1099;
    static constexpr UINT IDC_DEVICE_CLOCK = 1100;
    static constexpr UINT IDC_ENABLED_BY_OBJECT = 1104;
    static constexpr UINT IDC_CLOCK_SET = 1319;
    static constexpr WORD kNoAddress = 0xFFFF;

    explicit CDeviceStatusDlg(QWidget* pParent);
    ~CDeviceStatusDlg() override;

    // The main window's command: the dialog over pParent for the device at
    // the address, through the bus interface of the settings (standalone) or
    // the host's live connection (plug-in). The modal result.
    static int Run(CParameterDlg* pParent, WORD nIndividualAddress, const CFalconConnectionParams& params);

    void SetIndividualAddress(WORD nAddress) { m_nIndividualAddress = nAddress; }
    void SetConnectionParams(const CFalconConnectionParams& params);

    // "%s %s%c%02u": date, time of day, separator and seconds, from the
    // device's fields as they are: a value that is no valid date is shown as
    // it came, never moved to another day.
    static std::string FormatDateTime(unsigned nYear, unsigned nMonth, unsigned nDay, unsigned nHour,
                                      unsigned nMinute, unsigned nSecond);

protected:
    BOOL OnInitDialog() override;

private:
    void OnReadStatus();
    void GetLiveConnection();
    // Connection and application check; false ends the reading.
    bool ConnectAndCheck(CBusAccess& bus, CProgressInfo& progress);
    void ShowStatusTexts(const BYTE* pStatus);
    // The application program's load state as the field shows it.
    static std::string LoadStateText(BYTE nState);
    void ShowStamp(const std::array<BYTE, 6>& arrStamp);
    void UpdateData();
    void ShowError(UINT nTextId, const char* pszDefault);
    std::string AddressText(const char* pszFormat) const;

    WORD m_nIndividualAddress = kNoAddress;
    std::unique_ptr<CFalconConnectionParams> m_pParams;
    // The host's live connection (plug-in mode), one reference held.
    IDeviceManagement* m_pDeviceManagement = nullptr;
    bool m_bDeviceIncompatible = false;

    std::string m_strAddress;
    std::string m_strDownloadStamp;
    std::string m_strApplicationStatus;
    std::string m_strDeviceClock;
    std::string m_strProgramRunning;
    std::string m_strClockSet;
    std::string m_strEnabledByObject;
    std::string m_strDayRoutine;
    std::string m_strDayRoutineType;
    std::string m_strTimeMode;
};
