#include "platform/com/Registrar.h"
#include "platform/base/AtomicFile.h"
#include "platform/com/ComTypes.h"
#include "tests/platform/com/TempRegistry.h"

#include <gtest/gtest.h>

namespace {

using platform::CRegistrar;
using platform::CRegistryStore;

// The shape of the plug-in's class script.
constexpr const char* kDeviceScript = R"(HKCR
{
	%Manuf%_ZR01.DeviceUI2.1 = s 'DeviceUI2 Class'
	{
		CLSID = s '%DynCLSIDUI%'
	}
	%Manuf%_ZR01.DeviceUI2 = s 'DeviceUI2 Class'
	{
		CLSID = s '%DynCLSIDUI%'
		CurVer = s '%Manuf%_ZR01.DeviceUI2.1'
	}
	NoRemove CLSID
	{
		ForceRemove %DynCLSIDUI% = s 'DeviceUI2 Class'
		{
			ProgID = s '%Manuf%_ZR01.DeviceUI2.1'
			VersionIndependentProgID = s '%Manuf%_ZR01.DeviceUI2'
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Apartment'
			}
			'TypeLib' = s '{A713B3DD-CB32-40bd-95DF-DAE448762C51}'
		}
	}
}
)";

class RegistrarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_registrar.AddReplacement("MODULE", "/opt/vek/Vek_ZR02.so");
        m_registrar.AddReplacement("Manuf", "Vek");
        m_registrar.AddReplacement("DynCLSIDUI", "{712CC3F3-3BAB-4646-9EC4-0725857FDF6F}");
    }
    CTempRegistry m_temp;
    CRegistrar m_registrar;
    CRegistryStore m_store;
};

TEST_F(RegistrarTest, RegisterWritesKeysValuesAndReplacements)
{
    ASSERT_EQ(S_OK, m_registrar.StringRegister(kDeviceScript)) << m_registrar.GetErrorText();
    const std::string cls = "HKCR\\CLSID\\{712CC3F3-3BAB-4646-9EC4-0725857FDF6F}";
    EXPECT_EQ("DeviceUI2 Class", m_store.GetValue(cls, ""));
    EXPECT_EQ("/opt/vek/Vek_ZR02.so", m_store.GetValue(cls + "\\InprocServer32", ""));
    EXPECT_EQ("Apartment", m_store.GetValue(cls + "\\InprocServer32", "ThreadingModel"));
    EXPECT_EQ("Vek_ZR01.DeviceUI2.1", m_store.GetValue(cls + "\\ProgID", ""));
    EXPECT_EQ("{A713B3DD-CB32-40bd-95DF-DAE448762C51}", m_store.GetValue(cls + "\\TypeLib", ""));
    EXPECT_EQ("{712CC3F3-3BAB-4646-9EC4-0725857FDF6F}", m_store.GetValue("HKCR\\Vek_ZR01.DeviceUI2.1\\CLSID", ""));
    EXPECT_EQ("Vek_ZR01.DeviceUI2.1", m_store.GetValue("HKCR\\Vek_ZR01.DeviceUI2\\CurVer", ""));
    // Registering again changes nothing.
    auto before = platform::ReadWholeFile(m_temp.GetFilePath());
    ASSERT_EQ(S_OK, m_registrar.StringRegister(kDeviceScript));
    EXPECT_EQ(before, platform::ReadWholeFile(m_temp.GetFilePath()));
}

TEST_F(RegistrarTest, ForceRemoveReplacesTheWholeKeyOnRegister)
{
    const std::string cls = "HKCR\\CLSID\\{712CC3F3-3BAB-4646-9EC4-0725857FDF6F}";
    ASSERT_TRUE(m_store.SetValue(cls + "\\LocalServer32", "", "stale.exe"));
    ASSERT_TRUE(m_store.SetValue("HKCR\\Vek_ZR01.DeviceUI2.1", "Extra", "kept"));
    ASSERT_EQ(S_OK, m_registrar.StringRegister(kDeviceScript));
    EXPECT_FALSE(m_store.KeyExists(cls + "\\LocalServer32"));
    // A plain key is only added to.
    EXPECT_EQ("kept", m_store.GetValue("HKCR\\Vek_ZR01.DeviceUI2.1", "Extra"));
}

TEST_F(RegistrarTest, UnregisterRemovesWhatTheScriptMadeButNoRemoveKeys)
{
    ASSERT_TRUE(m_store.SetValue("HKCR\\CLSID\\{00000000-1111-2222-3333-444444444444}", "", "Other Class"));
    ASSERT_EQ(S_OK, m_registrar.StringRegister(kDeviceScript));
    ASSERT_EQ(S_OK, m_registrar.StringUnregister(kDeviceScript)) << m_registrar.GetErrorText();
    EXPECT_FALSE(m_store.KeyExists("HKCR\\CLSID\\{712CC3F3-3BAB-4646-9EC4-0725857FDF6F}"));
    EXPECT_FALSE(m_store.KeyExists("HKCR\\Vek_ZR01.DeviceUI2.1"));
    EXPECT_FALSE(m_store.KeyExists("HKCR\\Vek_ZR01.DeviceUI2"));
    // CLSID itself and another class under it stay.
    EXPECT_TRUE(m_store.KeyExists("HKCR\\CLSID"));
    EXPECT_EQ("Other Class", m_store.GetValue("HKCR\\CLSID\\{00000000-1111-2222-3333-444444444444}", ""));
    // Unregistering what is not there is no failure.
    EXPECT_EQ(S_OK, m_registrar.StringUnregister(kDeviceScript));
}

TEST_F(RegistrarTest, PlainKeyWithForeignSubkeysStaysOnUnregister)
{
    ASSERT_EQ(S_OK, m_registrar.StringRegister(kDeviceScript));
    ASSERT_TRUE(m_store.CreateKey("HKCR\\Vek_ZR01.DeviceUI2\\Shell"));
    ASSERT_EQ(S_OK, m_registrar.StringUnregister(kDeviceScript));
    EXPECT_TRUE(m_store.KeyExists("HKCR\\Vek_ZR01.DeviceUI2\\Shell"));
    EXPECT_FALSE(m_store.KeyExists("HKCR\\Vek_ZR01.DeviceUI2\\CLSID"));
    EXPECT_EQ(std::nullopt, m_store.GetValue("HKCR\\Vek_ZR01.DeviceUI2", ""));
}

TEST_F(RegistrarTest, QuotingDeleteAndNumbers)
{
    m_registrar.AddReplacement("PATH", "/home/o'neil/{lib} 100%.so");
    ASSERT_EQ(S_OK, m_registrar.StringRegister(R"(
HKCU { NoRemove Software { 'Vek Test' = s 'It''s %% done'
  { val 'Path' = s '%PATH%'
    val Count = d '0x10'
    val Plain = s %Path%
    Old } } }
)")) << m_registrar.GetErrorText();
    EXPECT_EQ("It's % done", m_store.GetValue("HKCU\\Software\\Vek Test", ""));
    // Replaced text is taken as it is, quotes and braces included.
    EXPECT_EQ("/home/o'neil/{lib} 100%.so", m_store.GetValue("HKCU\\Software\\Vek Test", "Path"));
    EXPECT_EQ("/home/o'neil/{lib} 100%.so", m_store.GetValue("HKCU\\Software\\Vek Test", "Plain"));
    EXPECT_EQ("16", m_store.GetValue("HKCU\\Software\\Vek Test", "Count"));
    EXPECT_TRUE(m_store.KeyExists("HKCU\\Software\\Vek Test\\Old"));

    ASSERT_EQ(S_OK, m_registrar.StringRegister("HKCU { NoRemove Software { NoRemove 'Vek Test' { Delete Old } } }"));
    EXPECT_FALSE(m_store.KeyExists("HKCU\\Software\\Vek Test\\Old"));
    EXPECT_TRUE(m_store.KeyExists("HKCU\\Software\\Vek Test"));
}

TEST_F(RegistrarTest, MalformedScriptsFailCleanlyAndChangeNothing)
{
    ASSERT_TRUE(m_store.SetValue("HKCR\\Before", "", "x"));
    const auto before = platform::ReadWholeFile(m_temp.GetFilePath());
    const char* broken[] = {
        "HKCR { Key = s 'unterminated }",
        "HKCR { Key = s 'a' ",                     // missing '}'
        "HKCR { Key = s 'a' } }",                  // one '}' too many
        "HKXX { Key }",                            // no root key
        "HKCR { Key = s '%UNKNOWN%' }",            // no such replacement
        "HKCR { Key = s '%MODULE }",               // '%' without its end
        "HKCR { Key = b '0102' }",                 // kind not supported
        "HKCR { Key = d 'zwölf' }",
        "HKCR { val Name = s 'a' }",               // value under a root key
        "HKCR { NoRemove ForceRemove Key }",
        "HKCR { 'A\\B' }",                         // no key name
        "HKCR { New = s 'ok' } HKCR { Bad = }",    // fails late: the first part is not written either
        "{",
        "",
    };
    for (const char* script : broken) {
        HRESULT hr = m_registrar.StringRegister(script);
        if (std::string_view(script).empty()) {
            EXPECT_EQ(S_OK, hr);  // an empty script registers nothing
            continue;
        }
        EXPECT_EQ(DISP_E_EXCEPTION, hr) << script;
        EXPECT_FALSE(m_registrar.GetErrorText().empty()) << script;
        EXPECT_EQ(DISP_E_EXCEPTION, m_registrar.StringUnregister(script)) << script;
    }
    EXPECT_EQ(before, platform::ReadWholeFile(m_temp.GetFilePath()));
    EXPECT_EQ("line 3: value kind 'x' is not supported",
              (m_registrar.StringRegister("HKCR\n{\n  A = x 'y'\n}"), m_registrar.GetErrorText()));

    std::string deep = "HKCR {";
    for (int i = 0; i < 200; ++i)
        deep += " K {";
    EXPECT_EQ(DISP_E_EXCEPTION, m_registrar.StringRegister(deep));
}

TEST_F(RegistrarTest, ReplacementNamesIgnoreCase)
{
    ASSERT_EQ(S_OK, m_registrar.StringRegister("HKCR { %manuf%.X = s '%module%' }"));
    EXPECT_EQ("/opt/vek/Vek_ZR02.so", m_store.GetValue("HKCR\\Vek.X", ""));
    EXPECT_EQ(E_INVALIDARG, m_registrar.AddReplacement("A%B", "x"));
    m_registrar.ClearReplacements();
    EXPECT_EQ(DISP_E_EXCEPTION, m_registrar.StringRegister("HKCR { %manuf%.X }"));
}

}  // namespace
