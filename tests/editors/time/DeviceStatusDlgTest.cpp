// The device status dialog against the simulated device (standalone) and a
// scripted live connection of the host (plug-in mode).

#include "editors/time/DeviceStatusDlg.h"

#include "access/BusAccess.h"
#include "access/FalconConnectionParams.h"
#include "access/HostObjectMaps.h"
#include "app/Chronoset.h"
#include "model/Locale.h"
#include "common/Globals.h"
#include "common/HostLogger.h"
#include "platform/base/Guid.h"
#include "platform/base/LocalTime.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/SystemLocale.h"
#include "platform/bus/ApplicationId.h"
#include "platform/bus/BusAccessClasses.h"
#include "platform/bus/SimulatedBus.h"
#include "platform/bus/SimulatedDevice.h"
#include "platform/com/ComObject.h"
#include "platform/host/EtsDeviceManagement.h"
#include "platform/host/HostTopWindow.h"
#include "platform/host/WindowMessages.h"
#include "platform/ui/Handles.h"
#include "resources/de/BuiltInResources.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/support/ScriptedMessageBoxSink.h"
#include "tests/ui/TestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr LONGLONG kDeviceNow = 1'206'885'909'000;  // some moment of 2008; the device clock is set anyway
constexpr char kStatusCaption[] = "Gerätestatus";

std::string Text(QDialog& dlg, UINT nId) {
    return static_cast<CDialog&>(dlg).GetDlgItemText(nId);
}

void Press(QDialog& dlg, UINT nId) {
    uitest::Click(static_cast<CDialog&>(dlg).GetDlgItem(nId));
}

class DeviceStatusDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pPreviousResources = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
        platform::SetIntlOverride(platform::IntlValuesForLocale("de_DE"));
        ResetLocaleCache();
        m_oldTz = platform::GetTz();
        platform::SetTz(std::string("CET-1CEST,M3.5.0,M10.5.0/3"));
        ASSERT_TRUE(SUCCEEDED(RegisterBusAccessClasses()));
        m_bStandalone = g_bStandalone;
        m_pPrevious = g_pChronoset;
        g_bStandalone = true;
        g_pChronoset = new CChronoset;
        ASSERT_EQ(g_pChronoset->LoadFromFile(CHRONO_SAMPLE_DATA_FILE, nullptr), 1);
        m_pDevice = std::make_shared<CSimulatedDevice>([] { return kDeviceNow; });
        CSimulatedBus::InstallDevice(StatePath(), m_pDevice);
        m_params.SetGuid(platform::GuidFromString("{98956E5B-B3A6-44B2-BBCF-7A9B7DD66732}"));
        m_params.SetConnectionParam(StatePath());
    }
    void TearDown() override {
        CSimulatedBus::RemoveAll();
        delete g_pChronoset;
        g_pChronoset = m_pPrevious;
        g_bStandalone = m_bStandalone;
        platform::SetTz(m_oldTz);
        platform::SetIntlOverride(std::nullopt);
        ResetLocaleCache();
        platform::SetFrameworkResourceModule(m_pPreviousResources);
    }

    std::string StatePath() const { return m_dir.File("device.state"); }
    WORD Address() const { return static_cast<WORD>(g_pChronoset->GetDeviceAddress()); }

    void Download() {
        CBusAccess bus(true);
        bus.Init(m_params);
        int nWrongApplication = 0;
        ASSERT_EQ(g_pChronoset->DoDownload(nullptr, &bus, nWrongApplication, true, true), 0);
        bus.Close();
        ASSERT_EQ(nWrongApplication, 0);
    }

    // Runs the dialog with the script and closes it through its button.
    void Run(const std::function<void(QDialog&)>& script) {
        m_runner.Then([&](QDialog& dlg) {
            script(dlg);
            Press(dlg, IDCANCEL);
        });
        EXPECT_EQ(CDeviceStatusDlg::Run(nullptr, Address(), m_params), IDCANCEL);
    }

    uitest::CTempDir m_dir;
    uitest::CTestModalRunner m_runner;
    CScriptedMessageBoxSink m_boxes;
    std::shared_ptr<CSimulatedDevice> m_pDevice;
    CFalconConnectionParams m_params;

private:
    const platform::CResourceModule* m_pPreviousResources = nullptr;
    std::optional<std::string> m_oldTz;
    bool m_bStandalone = false;
    CChronoset* m_pPrevious = nullptr;
};

TEST_F(DeviceStatusDlgTest, NeverDownloadedDeviceShowsItsClockAndNoDownload) {
    ASSERT_TRUE(m_pDevice->SetClock({14, 5, 9, 7, 30, 3, 8}));
    Run([&](QDialog& dlg) {
        EXPECT_EQ(dlg.windowTitle().toStdString(), kStatusCaption);
        EXPECT_EQ(Text(dlg, 1096), "1.1.1");
        EXPECT_EQ(Text(dlg, 1091), "kein Download durchgeführt");
        EXPECT_EQ(Text(dlg, 1100), "30.03.2008 14:05:09");
        EXPECT_EQ(Text(dlg, 1099), "nicht geladen");
        EXPECT_EQ(Text(dlg, 1319), "Ja");
        EXPECT_EQ(Text(dlg, 1097), "Nein");
        EXPECT_EQ(Text(dlg, 1104), "Nein");
    });
    EXPECT_TRUE(m_boxes.GetShown().empty());
}

// With US settings (12-hour clock, no leading zero on the hour) the seconds
// still keep two digits.
TEST_F(DeviceStatusDlgTest, UsSettingsShowTheSecondsWithTwoDigits) {
    platform::SetIntlOverride(platform::IntlValuesForLocale("en_US"));
    ResetLocaleCache();
    ASSERT_TRUE(m_pDevice->SetClock({23, 39, 5, 3, 9, 12, 26}));
    Run([&](QDialog& dlg) { EXPECT_EQ(Text(dlg, 1100), "12/9/2026 11:39:05 PM"); });
}

TEST_F(DeviceStatusDlgTest, AfterADownloadTheStampAndTheRunningProgramShowAndReadingAgainRefreshes) {
    Download();
    const std::vector<BYTE>& stamp = m_pDevice->GetDownloadTime();
    ASSERT_EQ(stamp.size(), 6u);
    char szStamp[64];
    std::snprintf(szStamp, sizeof szStamp, "%02u.%02u.%04u %02u:%02u:%02u", stamp[3], stamp[4], stamp[5] + 2000u,
                  stamp[0], stamp[1], stamp[2]);
    ASSERT_TRUE(m_pDevice->SetClock({23, 59, 58, 1, 31, 12, 12}));
    Run([&](QDialog& dlg) {
        EXPECT_EQ(Text(dlg, 1091), szStamp);
        EXPECT_EQ(Text(dlg, 1100), "31.12.2012 23:59:58");
        EXPECT_EQ(Text(dlg, 1097), "Ja");
        EXPECT_EQ(Text(dlg, 1093), "Wochenablauf");
        EXPECT_EQ(Text(dlg, 1094), "Normalzeit");
        EXPECT_EQ(Text(dlg, 1099), "geladen");

        // The application program's load state is read afresh too.
        ASSERT_TRUE(m_pDevice->SetClock({8, 0, 1, 3, 4, 7, 12}));
        m_pDevice->SetLoadState(3, CLoadStateMachine::Error);
        Press(dlg, CDeviceStatusDlg::IDC_READ_STATUS);
        EXPECT_EQ(Text(dlg, 1100), "04.07.2012 08:00:01");
        EXPECT_EQ(Text(dlg, 1091), szStamp);
        EXPECT_EQ(Text(dlg, 1099), "Fehler");
    });
    EXPECT_TRUE(m_boxes.GetShown().empty());
}

TEST_F(DeviceStatusDlgTest, FailedStatusReadGivesItsErrorAndNoDateFromTheUnfilledBuffer) {
    ASSERT_TRUE(m_pDevice->SetClock({14, 5, 9, 7, 30, 3, 8}));
    // One clean read to learn how many calls a read makes; the last is the
    // status block.
    Run([](QDialog&) {});
    const DWORD nCalls = m_pDevice->GetFaults().GetCallCount();
    ASSERT_GE(nCalls, 3u);

    m_pDevice->GetFaults().SetFailCall(nCalls);
    m_boxes.ExpectBox("Fehler beim Lesen der Datum/Uhrzeit Information.", kStatusCaption, 0x10, IDOK);
    Run([&](QDialog& dlg) {
        // The dialog stays open with nothing made up.
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(Text(dlg, 1100), "");
        EXPECT_EQ(Text(dlg, 1097), "");
        EXPECT_EQ(Text(dlg, 1091), "kein Download durchgeführt");

        m_pDevice->GetFaults().SetFailCall(0);
        Press(dlg, CDeviceStatusDlg::IDC_READ_STATUS);
        EXPECT_EQ(Text(dlg, 1100), "30.03.2008 14:05:09");

        // A failing read again keeps what the last good one showed.
        ASSERT_TRUE(m_pDevice->SetClock({1, 2, 3, 1, 5, 5, 9}));
        m_pDevice->GetFaults().SetFailCall(nCalls);
        m_boxes.ExpectBox("Fehler beim Lesen der Datum/Uhrzeit Information.", kStatusCaption, 0x10, IDOK);
        Press(dlg, CDeviceStatusDlg::IDC_READ_STATUS);
        EXPECT_EQ(Text(dlg, 1100), "30.03.2008 14:05:09");
        EXPECT_EQ(Text(dlg, 1319), "Ja");
    });
    EXPECT_EQ(m_boxes.GetShown().size(), 2u);
}

// The host's live connection, answering with the bytes the test gives.
class CScriptedDeviceManagement : public IDeviceManagement, public CComObjectRoot {
public:
    BEGIN_COM_MAP(CScriptedDeviceManagement)
    COM_INTERFACE_ENTRY(IDeviceManagement)
    END_COM_MAP()
    HRESULT Connect() override { return S_OK; }
    HRESULT Disconnect() override { return S_OK; }
    HRESULT ReadProp(BYTE nObject, BYTE nProperty, BYTE, WORD, BYTE, WORD nLength, BYTE* pData) override {
        if (nObject == 3 && nProperty == 13) {
            const std::array<BYTE, CApplicationId::kSize> arrId = CApplicationId().ToBytes();
            std::memcpy(pData, arrId.data(), std::min<std::size_t>(nLength, arrId.size()));
            return S_OK;
        }
        if (nObject == 5 && nProperty == 201) {
            std::memcpy(pData, s_arrStamp.data(), std::min<std::size_t>(nLength, 6));
            return S_OK;
        }
        if (nObject == 3 && nProperty == 5 && nLength >= 1) {
            pData[0] = CLoadStateMachine::Loading;
            return S_OK;
        }
        return E_FAIL;
    }
    HRESULT WriteMem(LONG, DWORD, WORD, const BYTE*, LONG, BOOL) override { return E_FAIL; }
    HRESULT ReadMem(LONG, DWORD nAddress, WORD nLength, BYTE* pData) override {
        if (nAddress != 0xF0000)
            return E_FAIL;
        std::memcpy(pData, s_arrStatus.data(), std::min<std::size_t>(nLength, 11));
        return S_OK;
    }
    static std::array<BYTE, 6> s_arrStamp;
    static std::array<BYTE, 11> s_arrStatus;
};
std::array<BYTE, 6> CScriptedDeviceManagement::s_arrStamp {};
std::array<BYTE, 11> CScriptedDeviceManagement::s_arrStatus {};

// Just a host device to be found by its id.
class CHostDevice : public IEtsDevice, public CComObjectRoot {
public:
    BEGIN_COM_MAP(CHostDevice)
    COM_INTERFACE_ENTRY(IEtsDevice)
    END_COM_MAP()
    HRESULT get_Parent(IEtsProjectDatabase**) override { return E_NOTIMPL; }
    HRESULT get_Project(IEtsProject**) override { return E_NOTIMPL; }
    HRESULT get_Name(BSTR*) override { return E_NOTIMPL; }
    HRESULT get_Description(BSTR*) override { return E_NOTIMPL; }
    HRESULT get_Product(IEtsProduct**) override { return E_NOTIMPL; }
    HRESULT get_Address(VARIANT*) override { return E_NOTIMPL; }
    HRESULT get_Line(IEtsLine**) override { return E_NOTIMPL; }
    HRESULT get_ApplicationProgram(IEtsApplicationProgram**) override { return E_NOTIMPL; }
    HRESULT get_DeviceParameters(IEtsDeviceParameters**) override { return E_NOTIMPL; }
    HRESULT get_CommunicationObjects(IEtsCommObjects**) override { return E_NOTIMPL; }
    HRESULT get_VisibleCommunicationObjects(IEtsCommObjects**) override { return E_NOTIMPL; }
};

TEST_F(DeviceStatusDlgTest, PlugInRoadShowsImpossibleDatesAsTheyCame) {
    // Month 13, day 0 in the clock; 31 February in the stamp.
    CScriptedDeviceManagement::s_arrStatus = {10, 20, 30, 1, 0, 13, 8, 0, 0x1F, 7, 3};
    CScriptedDeviceManagement::s_arrStamp = {1, 2, 3, 31, 2, 24};

    g_bStandalone = false;
    CHostLogger logger("Vek_ZR02");
    CHostLogger* pPreviousLogger = g_pHostLogger;
    g_pHostLogger = &logger;
    CComObject<CHostDevice>* pDevice = nullptr;
    ASSERT_EQ(CComObject<CHostDevice>::CreateInstance(&pDevice), S_OK);
    g_mapDevices.SetAt(4711, pDevice);
    g_pChronoset->SetDeviceId(4711);
    // The plug-in's windows are owned by the host's window.
    platform::host::CHostTopWindow hostWindow;
    const HWND hHost = hostWindow.GetHandle();
    const DWORD dwRelations = platform::host::AddWindowRelations({
        [](HWND h, bool& bChild) {
            bChild = false;
            return platform::ui::WidgetFromHwnd(h) != nullptr;
        },
        [](HWND h, HWND& hParent) {
            hParent = nullptr;
            return platform::ui::WidgetFromHwnd(h) != nullptr;
        },
        [hHost](HWND h, HWND& hOwner) {
            hOwner = hHost;
            return platform::ui::WidgetFromHwnd(h) != nullptr;
        },
    });
    auto previousFactory = platform::host::SetDeviceManagementFactory(
        [](IEtsDevice*, LONG, LONG, LONG, REFIID riid, void** ppv) {
            return CComCreator<CScriptedDeviceManagement>::CreateInstance(nullptr, riid, ppv);
        });

    m_params = CFalconConnectionParams();
    Run([&](QDialog& dlg) {
        EXPECT_EQ(Text(dlg, 1100), "00.13.2008 10:20:30");
        EXPECT_EQ(Text(dlg, 1091), "31.02.2024 01:02:03");
        EXPECT_EQ(Text(dlg, 1092), "7");
        EXPECT_EQ(Text(dlg, 1093), "kein Tagesablauf");
        EXPECT_EQ(Text(dlg, 1094), "nicht definiert");
        EXPECT_EQ(Text(dlg, 1319), "Ja");
        EXPECT_EQ(Text(dlg, 1104), "Ja");
        EXPECT_EQ(Text(dlg, 1099), "wird geladen");
    });
    EXPECT_TRUE(m_boxes.GetShown().empty());
    // Nothing reached the simulated device.
    EXPECT_TRUE(m_pDevice->GetTrace().empty());

    platform::host::SetDeviceManagementFactory(previousFactory);
    platform::host::RemoveWindowRelations(dwRelations);
    g_mapDevices.RemoveAll();
    g_pHostLogger = pPreviousLogger;
}

}  // namespace
