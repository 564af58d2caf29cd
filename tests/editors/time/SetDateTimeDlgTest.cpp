// The device clock dialog against the simulated device: the PC time that
// ticks until the device's clock is read, a date and trim written and read
// back, a bus fault during the write, and the years the device cannot hold.

#include "access/FalconConnectionParams.h"
#include "app/Chronoset.h"
#include "app/PlugInApp.h"
#include "editors/time/SetDateTimeDlg.h"
#include "model/Locale.h"
#include "platform/base/LocalTime.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/SystemLocale.h"
#include "platform/bus/BusAccessClasses.h"
#include "platform/bus/FalconInterfaces.h"
#include "platform/bus/FalconStandIn.h"
#include "platform/bus/SimulatedBus.h"
#include "platform/bus/SimulatedDevice.h"
#include "resources/de/BuiltInResources.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/support/DateTexts.h"
#include "ui/CalendarButton.h"
#include "ui/CalendarDates.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace {

using ClockDlg = CSetDateTimeDlg;

constexpr char kTz[] = "CET-1CEST,M3.5.0,M10.5.0/3";
constexpr char kClockCaption[] = "Datum/Uhrzeit einstellen";
constexpr WORD kAddress = 0x1101;
// 2020-06-15 10:00:00 UTC; the simulated clock stands still there.
constexpr LONGLONG kDeviceNowMs = 1592215200000LL;

class SetDateTimeDlgTest : public ::testing::Test, public editortest::CEditorSteps {
protected:
    void SetUp() override {
        m_pPrevious = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
        // Dates as a German PC shows them, whatever this machine's locale.
        platform::SetIntlOverride(platform::IntlValuesForLocale("de_DE"));
        ResetLocaleCache();
        m_oldTz = platform::GetTz();
        platform::SetTz(std::string(kTz));
        CFalconStandIn::Reset();
        CSimulatedBus::RemoveAll();
        ASSERT_TRUE(SUCCEEDED(RegisterBusAccessClasses()));
        m_pDevice = std::make_shared<CSimulatedDevice>([] { return kDeviceNowMs; });
        CSimulatedBus::InstallDevice("", m_pDevice);
        m_params.SetGuid(Falcon::kSimulatedInterface);
        m_params.SetConnectionName("Simulated line");
        ASSERT_EQ(m_run.Chronoset().LoadFromFile(CHRONO_SAMPLE_DATA_FILE, nullptr), 1);
    }
    void TearDown() override {
        RevokeBusAccessClasses();
        CSimulatedBus::RemoveAll();
        CFalconStandIn::Reset();
        platform::SetTz(m_oldTz);
        platform::SetIntlOverride(std::nullopt);
        ResetLocaleCache();
        platform::SetFrameworkResourceModule(m_pPrevious);
    }

    void Run(const std::function<void(ClockDlg&)>& script) {
        ClockDlg dlg(nullptr);
        dlg.SetIndividualAddress(kAddress);
        dlg.SetConnectionParams(m_params);
        m_runner.Then([&](QDialog&) {
            script(dlg);
            uitest::Click(dlg.GetDlgItem(IDCANCEL));
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    }
    static std::string DateText(int nYear, int nMonth, int nDay) { return datetext::Dotted(nYear, nMonth, nDay); }
    std::array<BYTE, 9> ClockBytes() const {
        const auto block = m_pDevice->GetStatusBlock();
        std::array<BYTE, 9> arrBytes{};
        std::copy(block.begin(), block.begin() + 9, arrBytes.begin());
        arrBytes[8] &= 0x80;  // the status bits are the device's own
        return arrBytes;
    }

    const platform::CResourceModule* m_pPrevious = nullptr;
    std::optional<std::string> m_oldTz;
    uitest::CEditingRun m_run{true};
    uitest::CTestModalRunner m_runner;
    CScriptedMessageBoxSink m_boxes;
    std::shared_ptr<CSimulatedDevice> m_pDevice;
    CFalconConnectionParams m_params;
};

}  // namespace

TEST_F(SetDateTimeDlgTest, ShowsThePcTimeUntilTheDeviceIsReadAndKeepsRealLocalTimeWhileOpen) {
    ASSERT_TRUE(m_pDevice->SetClock({14, 5, 9, 7, 30, 3, 8}, -10));
    // The editing run switches the daylight-saving rules off; the dialog
    // brings them back while it is open.
    theApp.DisableDaylightSaving(true);
    ASSERT_NE(platform::GetTz(), std::optional<std::string>(kTz));
    const std::time_t tOpened = std::time(nullptr);
    Run([&](ClockDlg& dlg) {
        EXPECT_EQ(platform::GetTz(), std::optional<std::string>(kTz));
        EXPECT_TRUE(dlg.IsTicking());
        // The trim comes from the device, the date and time from the PC.
        EXPECT_EQ(dlg.GetDlgItemText(ClockDlg::IDC_TRIM), "-10");
        EXPECT_TRUE(datetext::IsLocalDateBetween(dlg.GetDlgItemText(ClockDlg::IDC_DATE), tOpened, std::time(nullptr)))
            << dlg.GetDlgItemText(ClockDlg::IDC_DATE);

        uitest::Click(dlg.GetDlgItem(ClockDlg::IDC_READ_DEVICE_TIME));
        EXPECT_FALSE(dlg.IsTicking());
        EXPECT_EQ(dlg.GetDlgItemText(ClockDlg::IDC_DATE), DateText(2008, 3, 30));
        EXPECT_EQ(dlg.GetDlgItemText(ClockDlg::IDC_HOUR), "14");
        EXPECT_EQ(dlg.GetDlgItemText(ClockDlg::IDC_MINUTE), "05");
        EXPECT_EQ(dlg.GetDlgItemText(ClockDlg::IDC_SECOND), "09");
        EXPECT_TRUE(uitest::TickTimer(&dlg, ClockDlg::kTimerId));
        EXPECT_EQ(dlg.GetDlgItemText(ClockDlg::IDC_DATE), DateText(2008, 3, 30));

        // "PC-Zeit lesen" lets the next tick show the PC time again.
        const std::time_t tBeforeTick = std::time(nullptr);
        uitest::Click(dlg.GetDlgItem(ClockDlg::IDC_READ_PC_TIME));
        EXPECT_TRUE(uitest::TickTimer(&dlg, ClockDlg::kTimerId));
        EXPECT_TRUE(
            datetext::IsLocalDateBetween(dlg.GetDlgItemText(ClockDlg::IDC_DATE), tBeforeTick, std::time(nullptr)))
            << dlg.GetDlgItemText(ClockDlg::IDC_DATE);
        // Typing into a time field stops the ticking.
        Retype(dlg, ClockDlg::IDC_MINUTE, "7");
        EXPECT_FALSE(dlg.IsTicking());
    });
    EXPECT_NE(platform::GetTz(), std::optional<std::string>(kTz));
    theApp.RestoreDaylightSaving(true);
    EXPECT_EQ(platform::GetTz(), std::optional<std::string>(kTz));
}

TEST_F(SetDateTimeDlgTest, WritesTheFieldsAndTheTrimSignAndReadsThemBack) {
    Run([&](ClockDlg& dlg) {
        // A Sunday, written as weekday 7, with a negative trim.
        Retype(dlg, ClockDlg::IDC_DATE, DateText(2008, 3, 30));
        Retype(dlg, ClockDlg::IDC_HOUR, "14");
        Retype(dlg, ClockDlg::IDC_MINUTE, "5");
        Retype(dlg, ClockDlg::IDC_SECOND, "9");
        Retype(dlg, ClockDlg::IDC_TRIM, "-10");
        uitest::Click(dlg.GetDlgItem(ClockDlg::IDC_WRITE_DEVICE_TIME));
        EXPECT_EQ(ClockBytes(), (std::array<BYTE, 9>{14, 5, 9, 7, 30, 3, 8, 10, 0x80}));

        // A positive trim clears the sign; reading shows what was set.
        Retype(dlg, ClockDlg::IDC_TRIM, "+300");  // clamped when leaving the field
        uitest::Click(dlg.GetDlgItem(ClockDlg::IDC_WRITE_DEVICE_TIME));
        EXPECT_EQ(dlg.GetDlgItemText(ClockDlg::IDC_TRIM), "255");
        EXPECT_EQ(ClockBytes(), (std::array<BYTE, 9>{14, 5, 9, 7, 30, 3, 8, 255, 0}));
        Retype(dlg, ClockDlg::IDC_TRIM, "0");
        uitest::Click(dlg.GetDlgItem(ClockDlg::IDC_READ_DEVICE_TIME));
        EXPECT_EQ(dlg.GetDlgItemText(ClockDlg::IDC_TRIM), "255");
        EXPECT_EQ(dlg.GetDlgItemText(ClockDlg::IDC_DATE), DateText(2008, 3, 30));
    });
    EXPECT_EQ(m_boxes.GetShown().size(), 0u);
}

TEST_F(SetDateTimeDlgTest, ABusFaultDuringTheWriteIsReportedAndTheDialogStaysOpen) {
    Run([&](ClockDlg& dlg) {
        Retype(dlg, ClockDlg::IDC_DATE, DateText(2010, 12, 27));
        const auto before = ClockBytes();
        // Connect, application check, then the write fails.
        m_pDevice->GetFaults().SetFailCall(3);
        m_boxes.ExpectBox("Fehler beim Schreiben der Datum/Uhrzeit Information.", kClockCaption, MB_ICONERROR, IDOK);
        uitest::Click(dlg.GetDlgItem(ClockDlg::IDC_WRITE_DEVICE_TIME));
        EXPECT_EQ(m_boxes.GetPendingCount(), 0u);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(ClockBytes(), before);
    });
}

TEST_F(SetDateTimeDlgTest, YearsTheDeviceCannotHoldAreRefusedAndNothingIsWritten) {
    Run([&](ClockDlg& dlg) {
        m_pDevice->ClearTrace();
        m_boxes.ExpectBox("Ungültiges Datumformat", kClockCaption, MB_ICONERROR, IDOK);
        m_boxes.ExpectBox("Ungültiges Datumformat", kClockCaption, MB_ICONERROR, IDOK);
        for (const std::string& strDate : {std::string("15.06.2256"), DateText(1999, 6, 15)}) {
            Retype(dlg, ClockDlg::IDC_DATE, strDate);
            uitest::Click(dlg.GetDlgItem(ClockDlg::IDC_WRITE_DEVICE_TIME));
            EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(ClockDlg::IDC_DATE)) << strDate;
        }
        for (const CDeviceTraceEntry& entry : m_pDevice->GetTrace()) {
            EXPECT_NE(entry.m_eOperation, EDeviceOperation::UserMemoryWrite);
        }
        // The first year the byte holds goes through.
        Retype(dlg, ClockDlg::IDC_DATE, DateText(2000, 1, 1));
        uitest::Click(dlg.GetDlgItem(ClockDlg::IDC_WRITE_DEVICE_TIME));
        EXPECT_EQ(ClockBytes()[6], 0);
        EXPECT_EQ(ClockBytes()[5], 1);
    });
    EXPECT_EQ(m_boxes.GetShown().size(), 2u);
}

// A day picked in the calendar is the user's edit: the ticks leave it.
TEST_F(SetDateTimeDlgTest, ADayPickedInTheCalendarOutlastsTheTicks) {
    Run([&](ClockDlg& dlg) {
        auto* pButton = dynamic_cast<CCalendarButton*>(dlg.GetDlgItem(ClockDlg::IDC_CALENDAR));
        ASSERT_NE(pButton, nullptr);
        uitest::Click(pButton);
        uitest::PressWindowKey(&pButton->GetCalendar(), Qt::Key_Down);  // a week on
        uitest::PressWindowKey(&pButton->GetCalendar(), Qt::Key_Return);
        uitest::ProcessEvents();
        const DWORD dwPicked = pButton->GetCalendar().GetDate();
        for (int nTick = 0; nTick < 2; ++nTick) {
            EXPECT_TRUE(uitest::TickTimer(&dlg, ClockDlg::kTimerId));
            EXPECT_EQ(dlg.GetDlgItemText(ClockDlg::IDC_DATE),
                      DateText(GetPackedYear(dwPicked), GetPackedMonth(dwPicked), GetPackedDay(dwPicked)));
        }
    });
}

// Coming back into the date with fields that are no time brings the message
// once, after the focus change; the window coming to the front again, as it
// does after the message, brings no second one.
TEST_F(SetDateTimeDlgTest, EnteringTheDateWithUnreadableFieldsWarnsOnce) {
    Run([&](ClockDlg& dlg) {
        m_boxes.ExpectText("Zulässig sind Eingaben vom 01.01.2000 bis 31.12.2035.", IDOK);
        Retype(dlg, ClockDlg::IDC_DATE, "xx");
        uitest::Click(dlg.GetDlgItem(ClockDlg::IDC_HOUR));
        uitest::Click(dlg.GetDlgItem(ClockDlg::IDC_DATE));
        uitest::ProcessEvents();
        EXPECT_EQ(m_boxes.GetShown().size(), 1u);
        EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(ClockDlg::IDC_DATE));
        // A window of its own in front (the modal dialog blocks others).
        QWidget front(&dlg, Qt::Window);
        front.show();
        front.activateWindow();
        uitest::ProcessEvents();
        dlg.activateWindow();
        uitest::ProcessEvents();
        uitest::ProcessEvents();
        EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(ClockDlg::IDC_DATE));
    });
    EXPECT_EQ(m_boxes.GetShown().size(), 1u);
}
