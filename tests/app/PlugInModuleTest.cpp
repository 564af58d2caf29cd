#include "app/PlugInApp.h"
#include "app/PlugInModule.h"
#include "interfaces/IStandaloneChron2.h"
#include "platform/base/AtomicFile.h"
#include "platform/com/ComPtr.h"
#include "platform/com/RegistryStore.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class PlugInModuleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("module-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
        ::setenv("CHRONO_REGISTRY_FILE", (m_dir / "registry.json").c_str(), 1);
    }
    void TearDown() override
    {
        g_atlModule.m_strDynCLSIDUI = kDefaultDynCLSIDUI;
        g_atlModule.m_strDynCLSIDSA = kDefaultDynCLSIDSA;
        g_atlModule.m_strManuf = kDefaultManuf;
        ::unsetenv("CHRONO_REGISTRY_FILE");
        fs::remove_all(m_dir);
    }

    void UseOem(const std::string& text)
    {
        const std::string strIni = (m_dir / "Vek_ZR02.ini").string();
        ASSERT_TRUE(platform::WriteFileAtomically(strIni, text));
        g_atlModule.ReadOemSettings(strIni);
    }

    fs::path m_dir;
};

constexpr char kOemClsid[] = "{11111111-2222-3333-4444-555555555555}";

}  // namespace

TEST_F(PlugInModuleTest, MissingOemSettingsGiveTheDefaults)
{
    g_atlModule.ReadOemSettings((m_dir / "missing.ini").string());
    EXPECT_EQ(g_atlModule.m_strManuf, "Vek");
    EXPECT_EQ(g_atlModule.m_strDynCLSIDUI, kDefaultDynCLSIDUI);
    UseOem("[OEM]\nManuf=\nDynCLSIDSA=\n");
    EXPECT_EQ(g_atlModule.m_strManuf, "Vek");
    EXPECT_EQ(g_atlModule.m_strDynCLSIDSA, kDefaultDynCLSIDSA);
}

TEST_F(PlugInModuleTest, OemClassIdsMapToTheBuiltInClasses)
{
    UseOem(std::string("[OEM]\nDynCLSIDUI=") + kOemClsid + "\n");
    CComPtr<IClassFactory> pFactory;
    ASSERT_EQ(g_atlModule.GetClassObject(platform::GuidFromString(kOemClsid), IID_IClassFactory,
                                         reinterpret_cast<void**>(&pFactory.p)),
              S_OK);
    CComPtr<IUnknown> pObject;
    ASSERT_EQ(pFactory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&pObject.p)), S_OK);
    void* pv = nullptr;
    EXPECT_EQ(pObject->QueryInterface(IidOf<IStandaloneChron2>(), &pv), E_NOINTERFACE);

    // The built-in ids are served as well; anything else is not available.
    CComPtr<IClassFactory> pBuiltIn;
    EXPECT_EQ(g_atlModule.GetClassObject(CLSID_StandaloneChron2, IID_IClassFactory,
                                         reinterpret_cast<void**>(&pBuiltIn.p)),
              S_OK);
    void* pNone = nullptr;
    EXPECT_EQ(g_atlModule.GetClassObject(platform::GuidFromString("{22222222-2222-3333-4444-555555555555}"),
                                         IID_IClassFactory, &pNone),
              CLASS_E_CLASSNOTAVAILABLE);
}

TEST_F(PlugInModuleTest, RegistrationWritesProgIdsAndUnregistrationKeepsClsid)
{
    UseOem(std::string("[OEM]\nDynCLSIDUI=") + kOemClsid + "\n");
    ASSERT_EQ(g_atlModule.DllRegisterServer(), S_OK) << g_atlModule.GetRegistrationError();
    platform::CRegistryStore store;
    const std::string strClsidKey = std::string("HKEY_CLASSES_ROOT\\CLSID\\") + kOemClsid;
    EXPECT_EQ(store.GetValue("HKEY_CLASSES_ROOT\\Vek_ZR01.DeviceUI2.1\\CLSID", ""), kOemClsid);
    EXPECT_EQ(store.GetValue(strClsidKey + "\\InprocServer32", ""), g_atlModule.GetModulePath());
    EXPECT_EQ(store.GetValue(strClsidKey + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(store.GetValue(strClsidKey, "ProgID"), std::nullopt);
    EXPECT_EQ(store.GetValue(strClsidKey + "\\ProgID", ""), "Vek_ZR01.DeviceUI2.1");
    EXPECT_EQ(store.GetValue("HKEY_CLASSES_ROOT\\Vek_ZR01.StandaloneChron2\\CurVer", ""),
              "Vek_ZR01.StandaloneChron2.1");
    EXPECT_EQ(store.GetValue(std::string("HKEY_CLASSES_ROOT\\CLSID\\") + kDefaultDynCLSIDSA + "\\InprocServer32",
                             "ThreadingModel"),
              "Free");

    ASSERT_EQ(g_atlModule.DllUnregisterServer(), S_OK);
    EXPECT_FALSE(store.KeyExists("HKEY_CLASSES_ROOT\\Vek_ZR01.DeviceUI2.1"));
    EXPECT_FALSE(store.KeyExists(std::string("HKEY_CLASSES_ROOT\\CLSID\\") + kOemClsid));
    EXPECT_TRUE(store.KeyExists("HKEY_CLASSES_ROOT\\CLSID"));
}

TEST_F(PlugInModuleTest, LiveObjectKeepsTheModuleLoaded)
{
    EXPECT_EQ(g_atlModule.DllCanUnloadNow(), S_OK);
    {
        CComPtr<IClassFactory> pFactory;
        ASSERT_EQ(g_atlModule.GetClassObject(CLSID_DeviceUI2, IID_IClassFactory,
                                             reinterpret_cast<void**>(&pFactory.p)),
                  S_OK);
        CComPtr<IUnknown> pObject;
        ASSERT_EQ(pFactory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&pObject.p)), S_OK);
        EXPECT_EQ(g_atlModule.DllCanUnloadNow(), S_FALSE);
    }
    EXPECT_EQ(g_atlModule.DllCanUnloadNow(), S_OK);
}

TEST(PlugInApp, LauncherIsRecognisedByName)
{
    EXPECT_TRUE(CPlugInApp::IsLauncherProgram("/opt/x/Chronosets2"));
    EXPECT_TRUE(CPlugInApp::IsLauncherProgram("C:\\Prog\\CHRONOSETS2.EXE"));
    EXPECT_FALSE(CPlugInApp::IsLauncherProgram("/opt/x/Chronosets2-old"));
    EXPECT_FALSE(CPlugInApp::IsLauncherProgram("/opt/chronosets2/host"));
}
