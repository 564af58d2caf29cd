// The main window's Online commands in standalone mode: choosing the bus
// interface, downloading the sample data file into the simulated device and
// the clock dialog that follows, and the errors on the way.

#include "access/FalconConnectionParams.h"
#include "app/Chronoset.h"
#include "model/IniManager.h"
#include "common/Globals.h"
#include "platform/base/PrivateProfile.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/WinApp.h"
#include "platform/bus/BusAccessClasses.h"
#include "platform/bus/FalconInterfaces.h"
#include "platform/bus/InterfaceSelectionClass.h"
#include "platform/bus/MachineConnections.h"
#include "platform/bus/SimulatedBus.h"
#include "platform/bus/SimulatedDevice.h"
#include "platform/ui/ConnectionSelectionDlg.h"
#include "platform/ui/QtConnectionChooser.h"
#include "resources/de/BuiltInResources.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/support/ScriptedConnectionChooser.h"
#include "tests/support/ScriptedMessageBoxSink.h"
#include "tests/ui/TestEnvironment.h"
#include "ui/ParameterDlg.h"

#include <QLineEdit>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

class MainWindowDownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pPreviousResources = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
        // The window's profile, in the temporary folder.
        m_app.SetProfileName(m_dir.File("Chronosets2.ini"));
        ASSERT_TRUE(SUCCEEDED(RegisterBusAccessClasses()));
        ASSERT_TRUE(SUCCEEDED(RegisterInterfaceSelectionClass()));
        m_bStandalone = g_bStandalone;
        m_pPrevious = g_pChronoset;
        g_bStandalone = true;
        g_pChronoset = new CChronoset;
        ASSERT_EQ(g_pChronoset->LoadFromFile(CHRONO_SAMPLE_DATA_FILE, nullptr), 1);
        g_bDataModified = false;
        CParameterDlg::SetDownloadFollowUpDelay(0);
        CParameterDlg::SetDateTimeDialogRunner(
            [this](CParameterDlg*, WORD nAddress, const CFalconConnectionParams& params) {
                m_clockRuns.push_back({nAddress, params.GetConnectionParam()});
                return IDOK;
            });
        m_pDevice = std::make_shared<CSimulatedDevice>();
        CSimulatedBus::InstallDevice(StatePath(), m_pDevice);
    }
    void TearDown() override {
        CSimulatedBus::RemoveAll();
        // The selection forgets what it handed out in this test.
        RevokeInterfaceSelectionClass();
        CParameterDlg::SetDateTimeDialogRunner(nullptr);
        delete g_pChronoset;
        g_pChronoset = m_pPrevious;
        g_bStandalone = m_bStandalone;
        platform::SetFrameworkResourceModule(m_pPreviousResources);
    }

    std::string StatePath() const { return m_dir.File("device.state"); }
    std::string Ini(const char* pszKey) const {
        return platform::GetPrivateProfileString("SerialCommunication", pszKey, "", m_dir.File("Chronosets2.ini"));
    }
    void SetIni(const char* pszKey, const std::string& strValue) const {
        ASSERT_TRUE(platform::WritePrivateProfileString("SerialCommunication", pszKey, strValue.c_str(),
                                                        m_dir.File("Chronosets2.ini")));
    }
    void Run(const std::function<void(CParameterDlg&)>& script) {
        CParameterDlg dlg(nullptr, nullptr);
        m_runner.Then([&](QDialog&) {
            script(dlg);
            g_bDataModified = false;
            dlg.SendCommand(CParameterDlg::ID_FILE_EXIT);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
    }

    struct ClockRun {
        WORD nAddress;
        std::string strParameter;
    };

    uitest::CTempDir m_dir;
    CWinApp m_app;
    uitest::CTestModalRunner m_runner;
    CScriptedMessageBoxSink m_boxes;
    CScriptedConnectionChooser m_chooser;
    std::shared_ptr<CSimulatedDevice> m_pDevice;
    std::vector<ClockRun> m_clockRuns;

private:
    const platform::CResourceModule* m_pPreviousResources = nullptr;
    bool m_bStandalone = false;
    CChronoset* m_pPrevious = nullptr;
};

TEST_F(MainWindowDownloadTest, DownloadWithoutInterfaceAsksForOneAndCancelEndsSilently) {
    Run([&](CParameterDlg& dlg) {
        EXPECT_FALSE(dlg.IsConnectionConfigured());
        m_chooser.ThenCancel();
        dlg.SendCommand(CParameterDlg::ID_DEVICE_DOWNLOAD);
        EXPECT_FALSE(dlg.IsConnectionConfigured());
        EXPECT_TRUE(m_boxes.GetShown().empty());
        EXPECT_TRUE(m_clockRuns.empty());
    });
    EXPECT_EQ(Ini("Guid"), "");
    EXPECT_TRUE(m_pDevice->GetTrace().empty());
}

TEST_F(MainWindowDownloadTest, ChosenInterfaceIsKeptAndTheSampleDownloadsIntoTheDevice) {
    Run([&](CParameterDlg& dlg) {
        m_chooser.ThenChoose(0, StatePath());
        dlg.SendCommand(CParameterDlg::ID_DEVICE_INTERFACE);
        EXPECT_TRUE(dlg.IsConnectionConfigured());

        dlg.SendCommand(CParameterDlg::ID_DEVICE_DOWNLOAD);
        EXPECT_TRUE(m_boxes.GetShown().empty());
        // The clock dialog follows for the device with the same interface.
        ASSERT_EQ(m_clockRuns.size(), 1u);
        EXPECT_EQ(m_clockRuns[0].nAddress, g_pChronoset->GetDeviceAddress());
        EXPECT_EQ(m_clockRuns[0].strParameter, StatePath());
    });
    EXPECT_EQ(Ini("Guid"), "{98956E5B-B3A6-44B2-BBCF-7A9B7DD66732}");
    EXPECT_EQ(Ini("ConnectionParam"), StatePath());
    EXPECT_FALSE(Ini("ConnectionName").empty());

    // The device holds the images of the parameter set.
    ASSERT_EQ(g_pChronoset->InitDownload(nullptr, true), 1);
    auto image = [](const BYTE* p, std::size_t n) { return p ? Bytes(p, p + n) : Bytes(); };
    EXPECT_EQ(m_pDevice->PeekMemory(0x8010, 3), image(g_pChronoset->GetInternalClock()->GetDownloadBlock(), 3));
    EXPECT_EQ(m_pDevice->PeekMemory(0x8020, 111), image(g_pChronoset->GetSummertimes()->GetDownloadBlock(), 111));
    EXPECT_EQ(m_pDevice->PeekMemory(0x86D0, 1100), image(g_pChronoset->GetSpecialDays()->GetDownloadBlock(), 1100));
    EXPECT_EQ(m_pDevice->PeekMemory(0x86C0, 8), image(g_pChronoset->GetWeekRoutine()->GetDownloadBlock(), 8));
    EXPECT_EQ(m_pDevice->PeekMemory(0x8BD0, 4000), image(g_pChronoset->GetDayRoutines()->GetSwitchTimeTable(), 4000));
    EXPECT_EQ(m_pDevice->PeekMemory(0x8090, 300), image(g_pChronoset->GetQuantities()->GetQuantityImage(), 300));
    g_pChronoset->ExitDownload();
}

// Online > Port opens on the connection in use, and confirming it untouched,
// by the OK button or by Return, keeps it.
TEST_F(MainWindowDownloadTest, PortOpensOnTheConnectionInUseAndUntouchedOkKeepsIt) {
    const char kUrl[] = "local:/tmp/knx.sock";
    const std::string strGuid = platform::FormatGuid(Falcon::kKnxdInterface);
    SetIni("Guid", strGuid);
    SetIni("ConnectionName", Falcon::kKnxdConnectionName);
    SetIni("ConnectionParam", kUrl);
    CQtConnectionChooser dialogs;
    Falcon::IConnectionChooser* pScripted = Falcon::SetConnectionChooser(&dialogs);
    Run([&](CParameterDlg& dlg) {
        for (bool bReturn : {false, true}) {
            m_runner.Then([&](QDialog& d) {
                auto* pList = qobject_cast<QTreeWidget*>(
                    uitest::FindControl(&d, CConnectionSelectionDlg::IDC_CONNECTION_LIST));
                ASSERT_TRUE(pList != nullptr && pList->topLevelItemCount() == 2);
                EXPECT_EQ(pList->currentItem(), pList->topLevelItem(1));
                EXPECT_EQ(pList->topLevelItem(1)->text(1).toStdString(), kUrl);
                EXPECT_EQ(pList->topLevelItem(0)->text(1).toStdString(), Falcon::GetDefaultDeviceStatePath());
                auto* pEdit =
                    qobject_cast<QLineEdit*>(uitest::FindControl(&d, CConnectionSelectionDlg::IDC_STATE_FILE));
                EXPECT_EQ(pEdit->text().toStdString(), kUrl);
                if (bReturn) {
                    uitest::PressWindowKey(&d, Qt::Key_Return);
                } else {
                    uitest::Click(uitest::FindControl(&d, IDOK));
                }
            });
            dlg.SendCommand(CParameterDlg::ID_DEVICE_INTERFACE);
            EXPECT_EQ(Ini("Guid"), strGuid);
            EXPECT_EQ(Ini("ConnectionName"), Falcon::kKnxdConnectionName);
            EXPECT_EQ(Ini("ConnectionParam"), kUrl);
        }
    });
    Falcon::SetConnectionChooser(pScripted);
}

TEST_F(MainWindowDownloadTest, DeviceThatDoesNotAnswerGivesTheWriteError) {
    g_pChronoset->SetDeviceAddress(0x1205);  // no device there
    platform::WritePrivateProfileString("SerialCommunication", "Guid", "{98956E5B-B3A6-44B2-BBCF-7A9B7DD66732}",
                                        m_dir.File("Chronosets2.ini"));
    platform::WritePrivateProfileString("SerialCommunication", "ConnectionParam", StatePath().c_str(),
                                        m_dir.File("Chronosets2.ini"));
    Run([&](CParameterDlg& dlg) {
        m_boxes.ExpectBox("Fehler während des Schreibvorganges.", "Parameterdaten programmieren", 0x10, IDOK);
        dlg.SendCommand(CParameterDlg::ID_DEVICE_DOWNLOAD);
        EXPECT_TRUE(m_clockRuns.empty());
    });
}

TEST_F(MainWindowDownloadTest, OtherApplicationInTheDeviceIsRefused) {
    m_pDevice->SetApplicationId(CApplicationId(0x0002, 0x2101, 0x10));
    platform::WritePrivateProfileString("SerialCommunication", "Guid", "{98956E5B-B3A6-44B2-BBCF-7A9B7DD66732}",
                                        m_dir.File("Chronosets2.ini"));
    platform::WritePrivateProfileString("SerialCommunication", "ConnectionParam", StatePath().c_str(),
                                        m_dir.File("Chronosets2.ini"));
    Run([&](CParameterDlg& dlg) {
        m_boxes.ExpectBox("Gerätevergleich fehlgeschlagen! Programm nicht kompatibel.", "Parameterdaten programmieren",
                          0x10, IDOK);
        dlg.SendCommand(CParameterDlg::ID_DEVICE_DOWNLOAD);
        EXPECT_TRUE(m_clockRuns.empty());
    });
}

TEST_F(MainWindowDownloadTest, PlugInModeNeitherSelectsNorDownloads) {
    g_bStandalone = false;
    Run([&](CParameterDlg& dlg) {
        dlg.SendCommand(CParameterDlg::ID_DEVICE_INTERFACE);
        dlg.SendCommand(CParameterDlg::ID_DEVICE_DOWNLOAD);
        EXPECT_TRUE(m_clockRuns.empty());
    });
    EXPECT_TRUE(m_pDevice->GetTrace().empty());
}

}  // namespace
