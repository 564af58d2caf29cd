#include "app/Chronoset.h"
#include "app/DeviceUI2.h"
#include "app/PlugInModule.h"
#include "app/StandaloneChron2.h"
#include "model/IniManager.h"
#include "common/Globals.h"
#include "common/LogFile.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/UiServices.h"
#include "platform/base/WinApp.h"
#include "platform/com/Bstr.h"
#include "platform/com/ComObject.h"
#include "platform/com/ComPtr.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A window layer that records the run instead of showing anything.
class FakeUi : public platform::IUiServices {
public:
    bool BeginSession() override { ++nSessions; return true; }
    void EndSession() override { --nSessions; }
    bool FindDialogClass() override { return true; }
    HICON LoadIconFile(const std::string& path, int) override
    {
        strIconFile = path;
        return nullptr;
    }
    HICON LoadIconResource(UINT nId) override
    {
        nIconResource = nId;
        return reinterpret_cast<HICON>(0x131);
    }
    void DestroyIcon(HICON) override { ++nDestroyedIcons; }
    bool RegisterWindowClass(const std::string& strName, HICON) override
    {
        strRegistered = strName;
        return true;
    }
    void UnregisterWindowClass(const std::string& strName) override { strUnregistered = strName; }
    int RunMainWindow(HWND) override
    {
        ++nRuns;
        bChronosetDuringRun = g_pChronoset != nullptr;
        strProfileDuringRun = AfxGetApp() ? AfxGetApp()->GetProfileName() : std::string();
        return nAnswer;
    }

    int nSessions = 0, nRuns = 0, nDestroyedIcons = 0, nAnswer = IDOK;
    UINT nIconResource = 0;
    bool bChronosetDuringRun = false;
    std::string strIconFile, strRegistered, strUnregistered, strProfileDuringRun;
};

class EntryObjectsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("entry-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        m_pOld = platform::SetUiServices(&m_ui);
    }
    void TearDown() override
    {
        platform::SetUiServices(m_pOld);
        fs::remove_all(m_dir);
    }

    FakeUi m_ui;
    platform::IUiServices* m_pOld = nullptr;
    fs::path m_dir;
    CWinApp m_app;
};

template <class T, class I>
CComPtr<I> Create()
{
    CComPtr<I> p;
    EXPECT_EQ(CComCreator<T>::CreateInstance(nullptr, IidOf<I>(), reinterpret_cast<void**>(&p.p)), S_OK);
    return p;
}

}  // namespace

TEST_F(EntryObjectsTest, EditNeedsObjects)
{
    CComPtr<IEtsPlugInUI> pUi = Create<CDeviceUI2, IEtsPlugInUI>();
    EXPECT_EQ(pUi->Edit(nullptr), E_ABORT);
    EXPECT_EQ(pUi->SetObjects(0, nullptr), E_POINTER);
    IUnknown* none[1] = {nullptr};
    EXPECT_EQ(pUi->SetObjects(0, none), E_INVALIDARG);
    EXPECT_EQ(pUi->Edit(nullptr), E_ABORT);
    // Null entries are skipped, never AddRef'd.
    EXPECT_EQ(pUi->SetObjects(1, none), E_INVALIDARG);
    EXPECT_EQ(m_ui.nRuns, 0);
}

TEST_F(EntryObjectsTest, SetObjectsWithNullArrayKeepsTheHeldObjects)
{
    CComPtr<IEtsPlugInUI> pUi = Create<CDeviceUI2, IEtsPlugInUI>();
    CComPtr<IUnknown> pDevice = Create<CStandaloneChron2, IUnknown>();
    IUnknown* objects[1] = {pDevice};
    ASSERT_EQ(pUi->SetObjects(1, objects), S_OK);
    EXPECT_EQ(pUi->SetObjects(1, nullptr), E_POINTER);
    // Edit runs on the held object; the window's OK becomes S_OK, Cancel E_ABORT.
    EXPECT_EQ(pUi->Edit(nullptr), S_OK);
    EXPECT_EQ(m_ui.nRuns, 1);
    EXPECT_FALSE(g_bStandalone);
    m_ui.nAnswer = IDCANCEL;
    EXPECT_EQ(pUi->Edit(nullptr), E_ABORT);
    EXPECT_EQ(m_ui.nIconResource, 131u);  // plug-in mode: always the resource icon
    EXPECT_EQ(m_ui.strRegistered, "Vek-DialogClass-SAT");
    EXPECT_EQ(m_ui.strUnregistered, "Vek-DialogClass-SAT");
    EXPECT_EQ(m_ui.nSessions, 0);
    EXPECT_EQ(m_ui.nDestroyedIcons, 0);  // the resource icon is not owned
}

TEST_F(EntryObjectsTest, StartDerivesTheIniPathAndLogs)
{
    CComPtr<IStandaloneChron2> pStart = Create<CStandaloneChron2, IStandaloneChron2>();
    const std::string strLog = (m_dir / "Chronosets2.log").string();
    BSTR bstr = platform::BstrFromUtf8(strLog);
    m_ui.nAnswer = IDOK;
    EXPECT_EQ(pStart->Start(bstr), 1);
    SysFreeString(bstr);
    EXPECT_TRUE(g_bStandalone);
    EXPECT_TRUE(m_ui.bChronosetDuringRun);
    EXPECT_EQ(g_pChronoset, nullptr);
    EXPECT_EQ(g_pLogFile, nullptr);
    EXPECT_EQ(m_ui.strProfileDuringRun, (m_dir / "Chronosets2.ini").string());
    // Standalone: the icon file beside the program is tried first.
    EXPECT_EQ(fs::path(m_ui.strIconFile).filename(), "Tavik2.ico");

    auto bytes = platform::ReadWholeFile(strLog);
    ASSERT_TRUE(bytes.has_value());
    const std::string strText(bytes->begin(), bytes->end());
    EXPECT_EQ(strText.rfind("Start logging date: ", 0), 0u);
    EXPECT_NE(strText.find("Starting Dialog in standalone mode"), std::string::npos);
    EXPECT_NE(strText.find("Build version: R1.00.0431.0000"), std::string::npos);
}

TEST_F(EntryObjectsTest, StartRefusesUnusableLogPaths)
{
    CComPtr<IStandaloneChron2> pStart = Create<CStandaloneChron2, IStandaloneChron2>();
    EXPECT_EQ(pStart->Start(nullptr), E_INVALIDARG);
    BSTR bstr = platform::BstrFromUtf8("ab");
    EXPECT_EQ(pStart->Start(bstr), E_INVALIDARG);
    SysFreeString(bstr);
    EXPECT_EQ(m_ui.nRuns, 0);
}

TEST_F(EntryObjectsTest, CancelledWindowGivesTwo)
{
    CComPtr<IStandaloneChron2> pStart = Create<CStandaloneChron2, IStandaloneChron2>();
    m_ui.nAnswer = IDCANCEL;
    BSTR bstr = platform::BstrFromUtf8((m_dir / "x.log").string());
    EXPECT_EQ(pStart->Start(bstr), 2);
    SysFreeString(bstr);
}

TEST_F(EntryObjectsTest, WithoutWindowLayerNothingRuns)
{
    platform::SetUiServices(nullptr);
    CComPtr<IStandaloneChron2> pStart = Create<CStandaloneChron2, IStandaloneChron2>();
    BSTR bstr = platform::BstrFromUtf8((m_dir / "x.log").string());
    EXPECT_EQ(pStart->Start(bstr), 2);
    SysFreeString(bstr);
    auto bytes = platform::ReadWholeFile((m_dir / "x.log").string());
    ASSERT_TRUE(bytes.has_value());
    EXPECT_NE(std::string(bytes->begin(), bytes->end()).find("no window layer"), std::string::npos);
}

TEST_F(EntryObjectsTest, InterfacesAndAggregation)
{
    CComPtr<IUnknown> pUnk = Create<CDeviceUI2, IUnknown>();
    CComPtr<ISupportErrorInfo> pInfo;
    ASSERT_EQ(pUnk->QueryInterface(&pInfo.p), S_OK);
    EXPECT_EQ(pInfo->InterfaceSupportsErrorInfo(IidOf<IEtsPlugInUI>()), S_FALSE);
    CComPtr<IContextMenu> pMenu;
    ASSERT_EQ(pUnk->QueryInterface(&pMenu.p), S_OK);
    EXPECT_EQ(pMenu->InvokeCommand(nullptr), E_NOTIMPL);
    CComPtr<IEtsPlugInEvents> pEvents;
    ASSERT_EQ(pUnk->QueryInterface(&pEvents.p), S_OK);

    // The standalone object refuses to be aggregated; DeviceUI2 allows it.
    void* pv = nullptr;
    EXPECT_EQ(CComCreator<CStandaloneChron2>::CreateInstance(pUnk, IID_IUnknown, &pv), CLASS_E_NOAGGREGATION);
}
