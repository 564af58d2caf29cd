// The plug-in's road inside the host, end to end: the host program opens the
// sample project, creates DeviceUI2 and lets it edit the sample device; the
// main window shows the device, a change is saved through the main window's
// save command into the host project, and the project file written
// afterwards holds it and gives it back to a fresh load.
//
// Inside the host the library keeps its window settings in the ini file
// beside itself, which here is the test program; the tests move that
// profile into their temporary folder before the window opens, and fail
// when a file appears beside the program all the same.

#include "access/HostObjectMaps.h"
#include "app/Chronoset.h"
#include "app/DeviceUI2.h"
#include "app/HostServiceAdapters.h"
#include "app/PlugInModule.h"
#include "model/DayRoutine.h"
#include "model/HostFormatting.h"
#include "model/HostLocalisation.h"
#include "common/Globals.h"
#include "common/HostLogger.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/PathUtil.h"
#include "platform/base/PrivateProfile.h"
#include "platform/base/ProgressSink.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/UiServices.h"
#include "platform/base/WinApp.h"
#include "platform/com/ComPtr.h"
#include "platform/host/EtsHost.h"
#include "platform/host/EtsPlugIn.h"
#include "platform/host/HostTopWindow.h"
#include "resources/de/BuiltInResources.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/support/ScriptedFileDialogService.h"
#include "tests/support/ProfileLockHolder.h"
#include "tests/support/ScriptedMessageBoxSink.h"
#include "tests/ui/TestEnvironment.h"
#include "ui/MainTableBox.h"
#include "ui/MainTableView.h"
#include "ui/NavigationTree.h"
#include "ui/ParameterDlg.h"
#include "ui/ProgressWindow.h"
#include "ui/UiServices.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>

namespace {

constexpr LONG kSampleDevice = 1000;
constexpr UINT kSaveCommand = 40006;
constexpr UINT kExitCommand = 40022;

std::string ReadText(const std::string& strPath) {
    std::ifstream file(strPath, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The value of one device parameter in a project text; null when absent.
nlohmann::json ParameterValue(const std::string& strProject, LONG nDevice, const std::string& strName) {
    const nlohmann::json project = nlohmann::json::parse(strProject, nullptr, false);
    if (project.is_discarded()) {
        return nullptr;
    }
    for (const auto& p : project["projects"]) {
        for (const auto& d : p["devices"]) {
            if (d["id"] != nDevice) {
                continue;
            }
            for (const auto& parameter : d["parameters"]) {
                if (parameter["name"] == strName) {
                    return parameter["value"];
                }
            }
        }
    }
    return nullptr;
}

// A project text without the host's id counter, which its transient objects
// advance.
nlohmann::json ProjectContent(const std::string& strProject) {
    nlohmann::json project = nlohmann::json::parse(strProject, nullptr, false);
    if (project.is_object()) {
        project.erase("nextId");
    }
    return project;
}

CDayRoutine* FirstDayRoutine(CChronoset& set) {
    DayRoutinePosition pos = set.GetDayRoutines()->GetHeadPosition();
    return pos ? set.GetDayRoutines()->GetNext(pos) : nullptr;
}

// The files beside the test program that the library could have made from
// its own path: every name it derives starts with the program's name.
std::set<std::string> FilesBesideTheProgram() {
    const std::string strProgram = platform::GetProgramPath();
    const std::string strName = platform::PathFileName(strProgram);
    const std::string strStem = strName.substr(0, strName.find('.'));
    std::set<std::string> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(platform::PathDirectory(strProgram), ec)) {
        if (entry.path().filename().string().rfind(strStem, 0) == 0) {
            files.insert(entry.path().string());
        }
    }
    return files;
}

// The window layer of the library, except that the profile it chose beside
// itself is moved into the test's folder before the main window opens.
class CTempProfileUiServices : public CUiServices {
public:
    explicit CTempProfileUiServices(std::string strProfile) : m_strProfile(std::move(strProfile)) {}
    int RunMainWindow(HWND hParent) override {
        if (CWinApp* pApp = AfxGetApp()) {
            m_strChosen = pApp->GetProfileName();
            pApp->SetProfileName(m_strProfile);
        }
        return CUiServices::RunMainWindow(hParent);
    }
    // The profile the library chose itself.
    const std::string& GetChosenProfile() const { return m_strChosen; }

private:
    std::string m_strProfile;
    std::string m_strChosen;
};

// What the host program and the plug-in library set up before an edit: the
// host with its service objects, the library's window layer, its German
// resources and the host-service adapters. Everything goes back afterwards.
class PlugInRoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_filesBefore = FilesBesideTheProgram();
        m_bStandaloneBefore = g_bStandalone;
        m_bModifiedBefore = g_bDataModified;
        m_pPreviousResources = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
        m_pPreviousUi = platform::SetUiServices(&m_services);
        platform::SetProgressWindowFactory(&CProgressWindow::Make);
        InstallHostServiceCreators();

        std::string strError;
        ASSERT_TRUE(m_host.LoadFile(CHRONO_SAMPLE_PROJECT_FILE, &strError)) << strError;
        m_host.SetLanguage(1031);
        m_host.RegisterServiceClasses();
    }

    void TearDown() override {
        m_host.RevokeServiceClasses();
        ReleaseHostObjectMaps();
        SetHostLoggerCreator({});
        SetHostLocalisationCreator({});
        SetHostFormattingCreator({});
        platform::SetProgressWindowFactory({});
        platform::SetUiServices(m_pPreviousUi);
        platform::SetFrameworkResourceModule(m_pPreviousResources);
        g_pChronoset = nullptr;
        g_bDataModified = m_bModifiedBefore;
        g_bStandalone = m_bStandaloneBefore;
        // Anything new beside the program is a file the library wrote
        // outside the test's folder; it goes again so as not to mislead
        // later runs.
        for (const std::string& strFile : FilesBesideTheProgram()) {
            if (m_filesBefore.count(strFile) == 0) {
                ADD_FAILURE() << "written beside the test program: " << strFile;
                std::filesystem::remove(strFile);
            }
        }
    }

    // The window's settings went to the test's profile, and the library had
    // chosen the one beside itself.
    void ExpectWindowSettingsInTheTestProfile() const {
        EXPECT_EQ(platform::PathDirectory(m_services.GetChosenProfile()),
                  platform::PathDirectory(platform::GetProgramPath()));
        EXPECT_NE(platform::GetPrivateProfileString("MainWindow", "WindowSize", "", m_strProfile), "");
    }

    // The plug-in's class through the library's class table, as the host
    // reaches it through DllGetClassObject.
    CComPtr<IEtsPlugInUI> CreatePlugIn() {
        CComPtr<IClassFactory> pFactory;
        CComPtr<IEtsPlugInUI> pPlugIn;
        EXPECT_EQ(g_atlModule.GetClassObject(CLSID_DeviceUI2, IID_IClassFactory,
                                             reinterpret_cast<void**>(&pFactory.p)),
                  S_OK);
        if (pFactory) {
            EXPECT_EQ(pFactory->CreateInstance(nullptr, IidOf<IEtsPlugInUI>(), reinterpret_cast<void**>(&pPlugIn.p)),
                      S_OK);
        }
        return pPlugIn;
    }

    // The host program's edit of the device: the plug-in hears of the
    // device's association changes while it runs.
    HRESULT Edit(IEtsPlugInUI* pPlugIn, LONG nDevice) {
        CComPtr<IEtsDevice> pDevice = m_host.FindDevice(nDevice);
        EXPECT_TRUE(pDevice);
        CComPtr<IEtsPlugInEvents> pEvents;
        if (SUCCEEDED(pPlugIn->QueryInterface(IidOf<IEtsPlugInEvents>(), reinterpret_cast<void**>(&pEvents.p)))) {
            m_host.SetPlugInEvents(pEvents, nDevice);
        }
        IUnknown* objects[1] = {pDevice.p};
        HRESULT hr = pPlugIn->SetObjects(1, objects);
        if (SUCCEEDED(hr)) {
            platform::host::CHostTopWindow topWindow;
            hr = pPlugIn->Edit(topWindow.GetHandle());
        }
        m_host.SetPlugInEvents(nullptr, nDevice);
        return hr;
    }

    std::string LoggedLines() const {
        std::string strAll;
        for (const std::string& strLine : m_host.GetLoggerLines()) {
            strAll += strLine;
        }
        return strAll;
    }

    uitest::CTempDir m_dir;
    const std::string m_strProfile = m_dir.File("Vek_ZR02.ini");
    // The application object of the editing run, so that the library's
    // choice of profile ends with the test.
    CWinApp m_app;
    platform::host::CEtsHost m_host;
    CTempProfileUiServices m_services{m_strProfile};
    uitest::CTestModalRunner m_runner;

private:
    std::set<std::string> m_filesBefore;
    bool m_bStandaloneBefore = false;
    bool m_bModifiedBefore = false;
    const platform::CResourceModule* m_pPreviousResources = nullptr;
    platform::IUiServices* m_pPreviousUi = nullptr;
};

TEST_F(PlugInRoadTest, EditSavesAChangeThatTheProjectFileKeeps) {
    // Any message box on the way fails the test.
    CScriptedMessageBoxSink boxes;
    const std::string strNewName = "Frühschicht";
    ASSERT_EQ(ParameterValue(m_host.SaveText(), kSampleDevice, "DayRoutineDisplayName-0"), "Arbeitstag");

    CComPtr<IEtsPlugInUI> pPlugIn = CreatePlugIn();
    ASSERT_TRUE(pPlugIn);
    std::string strTitle;
    bool bLoadedBeforeTheWindow = false;
    bool bSaveHandled = false;
    bool bModifiedAfterSave = true;
    bool bExitHandled = false;
    m_runner.Then([&](QDialog& d) {
        auto* pDlg = dynamic_cast<CParameterDlg*>(&d);
        ASSERT_NE(pDlg, nullptr);
        strTitle = pDlg->GetWindowText();
        ASSERT_NE(g_pChronoset, nullptr);
        // The device's parameter set is loaded when the window opens.
        CDayRoutine* pRoutine = FirstDayRoutine(*g_pChronoset);
        bLoadedBeforeTheWindow = pRoutine && pRoutine->GetName() == "Arbeitstag" && !g_bDataModified;
        ASSERT_NE(pRoutine, nullptr);
        pRoutine->SetName(strNewName);
        g_bDataModified = true;
        bSaveHandled = pDlg->SendCommand(kSaveCommand) != FALSE;
        bModifiedAfterSave = g_bDataModified;
        bExitHandled = pDlg->SendCommand(kExitCommand) != FALSE;
    });
    const HRESULT hr = Edit(pPlugIn, kSampleDevice);
    EXPECT_EQ(m_runner.GetRunCount(), 1);

    EXPECT_EQ(strTitle, "Vek - Tavik/2 - 01.01.005 ORV/X2.1 Applikationsbaustein");
    EXPECT_TRUE(bLoadedBeforeTheWindow) << LoggedLines();
    EXPECT_TRUE(bSaveHandled) << "the main window has no save command";
    EXPECT_FALSE(bModifiedAfterSave) << LoggedLines();
    EXPECT_TRUE(bExitHandled) << "the main window has no exit command";
    EXPECT_EQ(hr, S_OK);
    ExpectWindowSettingsInTheTestProfile();
    // The editing run is over and has taken down its objects.
    EXPECT_EQ(g_pChronoset, nullptr);
    EXPECT_FALSE(g_bStandalone);

    // The host program writes the project when the plug-in changed it.
    ASSERT_TRUE(m_host.IsModified());
    const std::string strPath = m_dir.File("project.json");
    std::string strError;
    ASSERT_TRUE(m_host.SaveFile(strPath, &strError)) << strError;
    const std::string strSaved = ReadText(strPath);
    EXPECT_EQ(ParameterValue(strSaved, kSampleDevice, "DayRoutineDisplayName-0"), strNewName);

    // A fresh host from that file and a fresh load give the change back.
    platform::host::CEtsHost reloaded;
    ASSERT_TRUE(reloaded.LoadFile(strPath, &strError)) << strError;
    CComPtr<IEtsDevice> pDevice = reloaded.FindDevice(kSampleDevice);
    ASSERT_TRUE(pDevice);
    CChronoset set;
    g_pChronoset = &set;
    g_bDataModified = false;
    ScanEtsProjects(pDevice);
    EXPECT_EQ(set.LoadFromEts(pDevice, nullptr, nullptr, TRUE, FALSE), S_OK);
    CDayRoutine* pRoutine = FirstDayRoutine(set);
    ASSERT_NE(pRoutine, nullptr);
    EXPECT_EQ(pRoutine->GetName(), strNewName);
    EXPECT_EQ(set.GetDayRoutines()->GetCount(), 2);
    // Nothing else needed mending on the way back.
    EXPECT_FALSE(g_bDataModified);
    ReleaseHostObjectMaps();
    g_pChronoset = nullptr;
}

// An import over the host device deletes the device's associations only at
// the next save: closing without saving leaves the project as it was.
TEST_F(PlugInRoadTest, ImportTouchesTheProjectOnlyWhenSaved) {
    CScriptedMessageBoxSink boxes;
    CScriptedFileDialogService files;
    const std::string strBefore = m_host.SaveText();
    for (const bool bSave : {false, true}) {
        CComPtr<IEtsPlugInUI> pPlugIn = CreatePlugIn();
        ASSERT_TRUE(pPlugIn);
        std::size_t nDeletesAtImport = 1;
        bool bReplaced = false;
        m_runner.Then([&](QDialog& d) {
            auto* pDlg = dynamic_cast<CParameterDlg*>(&d);
            ASSERT_NE(pDlg, nullptr);
            m_host.ClearCallLog();
            files.ExpectOpen(CHRONO_SAMPLE_DATA_FILE);
            // The sample's group addresses are not in the project.
            boxes.ExpectAny(IDOK);
            pDlg->SendCommand(40002);
            nDeletesAtImport = m_host.CountCalls("Delete");
            bReplaced = g_pChronoset != nullptr && g_pChronoset->AreHostAssociationsReplaced();
            boxes.ExpectText("Sollen die geänderten Daten gespeichert werden?", bSave ? IDYES : IDNO);
            pDlg->SendCommand(kExitCommand);
        });
        ASSERT_EQ(Edit(pPlugIn, kSampleDevice), S_OK) << LoggedLines();
        EXPECT_EQ(nDeletesAtImport, 0u) << bSave;
        EXPECT_TRUE(bReplaced) << bSave;
        if (!bSave) {
            EXPECT_EQ(ProjectContent(m_host.SaveText()), ProjectContent(strBefore));
        }
    }
    ExpectWindowSettingsInTheTestProfile();
    // Saved: the imported routines are in the project.
    EXPECT_NE(m_host.SaveText(), strBefore);
    EXPECT_EQ(ParameterValue(m_host.SaveText(), kSampleDevice, "DayRoutineDisplayName-2"), "Feiertag");
}

// A table whose column settings a visit of its pane writes.
class CColumnsTable : public CMainTableBox {
public:
    using CMainTableBox::CMainTableBox;
    bool InitColumns() override { return AddColumn("Name", 80, LVCFMT_LEFT) >= 0; }
};

// The settings file locked by another program while three panes, whose
// tables write column keys, are visited and the editor is closed.
class PlugInRoadLockTest : public PlugInRoadTest {
protected:
    // beforeClose runs after the visits, just before the close.
    void VisitThreePanesAndClose(const std::function<void()>& beforeClose) {
        for (int nType : {2, 3, 4}) {
            CMainTableView::RegisterTableClass(nType, [](int nType, CObject*) { return new CColumnsTable(nType); });
        }
        m_runner.Then([&](QDialog& d) {
            CNavigationTree* pTree = dynamic_cast<CParameterDlg&>(d).GetTree(0);
            for (const char* pszPane : {"Mengen", "Gruppenadressen", "Auslastung"}) {
                QTreeWidgetItem* pItem = pTree->findItems(QString::fromUtf8(pszPane), Qt::MatchExactly).value(0);
                ASSERT_NE(pItem, nullptr) << pszPane;
                uitest::Click(pTree->viewport(), pTree->visualItemRect(pItem).center());
            }
            beforeClose();
            uitest::PressCloseBox(&d);
        });
        EXPECT_EQ(Edit(CreatePlugIn(), kSampleDevice), S_OK);
        for (int nType : {2, 3, 4}) {
            CMainTableView::RegisterTableClass(nType, nullptr);
        }
    }

    CScriptedMessageBoxSink m_boxes;
    const locktest::CCountedLockWaits m_waits;
    locktest::CLockHolder m_holder{m_strProfile + ".lock"};
};

// Behind another's lock on the settings file, three panes and the close wait
// once, and the host's log says once why the settings were not written, and
// at the end that they are lost.
TEST_F(PlugInRoadLockTest, SettingsBehindAnotherLockWaitOnceAndAreLoggedOnce) {
    VisitThreePanesAndClose([] {});
    const std::string strLogged = LoggedLines();
    const std::string strLocked = "could not be written (the file is locked by another program)";
    EXPECT_NE(strLogged.find(strLocked), std::string::npos) << strLogged;
    EXPECT_EQ(strLogged.find(strLocked), strLogged.rfind(strLocked));
    const std::string strLost = "could not be written before the editor ended (the file is locked by another program)";
    EXPECT_NE(strLogged.find(strLost), std::string::npos) << strLogged;
    EXPECT_NE(strLogged.find("changed settings are lost", strLogged.find(strLost)), std::string::npos) << strLogged;
    EXPECT_EQ(m_waits.nWaited, platform::kProfileLockWaitMilliseconds);
}

// Behind a lock that another program lets go of before the close, the panes'
// settings that could not be written then reach the file with the close's.
TEST_F(PlugInRoadLockTest, SettingsHeldOffByALockReachTheFileOnceItIsFree) {
    VisitThreePanesAndClose([this] { m_holder.Release(); });
    const auto bytes = platform::ReadWholeFile(m_strProfile);
    ASSERT_TRUE(bytes);
    const std::string strFile(bytes->begin(), bytes->end());
    for (const char* pszSection : {"[QuantitiesTable]\nColumn1=45", "[GroupAddressTable]\nColumn1=120",
                                   "[UtilizationTable]\nColumn1=130"})
        EXPECT_NE(strFile.find(pszSection), std::string::npos) << pszSection << "\n" << strFile;
    EXPECT_EQ(m_waits.nWaited, platform::kProfileLockWaitMilliseconds);
}

}  // namespace
