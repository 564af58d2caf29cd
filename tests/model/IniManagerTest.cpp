#include "model/IniManager.h"

#include "model/HostFormatting.h"
#include "model/HostLocalisation.h"
#include "model/SettingsBatch.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/Guid.h"
#include "platform/base/PathUtil.h"
#include "platform/base/PrivateProfile.h"
#include "platform/base/WinApp.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using ::testing::EndsWith;

// The last line logged, whatever its target.
std::string TakeLastLogLine()
{
    std::string line = g_szLogText;
    g_szLogText[0] = '\0';
    return line;
}

class FakeLocalisation : public IHostLocalisation {
public:
    FakeLocalisation(HRESULT hr, LCID lcid) : m_hr(hr), m_lcid(lcid) {}
    HRESULT GetDefaultLCID(LCID& lcid) override
    {
        if (SUCCEEDED(m_hr))
            lcid = m_lcid;
        return m_hr;
    }

private:
    HRESULT m_hr;
    LCID m_lcid;
};

class FakeFormatting : public IHostFormatting {
public:
    FakeFormatting(HRESULT hr, std::string text) : m_hr(hr), m_sText(std::move(text)) {}
    HRESULT Format(LONG value, std::string_view formatName, LONG flags, std::string& text) override
    {
        m_nValue = value;
        m_sFormatName = formatName;
        m_nFlags = flags;
        if (SUCCEEDED(m_hr))
            text = m_sText;
        return m_hr;
    }

    static inline LONG m_nValue = -1;
    static inline std::string m_sFormatName;
    static inline LONG m_nFlags = -1;

private:
    HRESULT m_hr;
    std::string m_sText;
};

// A settings file of its own in a fresh folder, the application object that
// names it and the mode; everything is put back afterwards.
class IniManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "inimgrXXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        m_sIni = (m_dir / "settings.ini").string();
        m_app.SetProfileName(m_sIni);
        m_bWasStandalone = g_bStandalone;
    }

    void TearDown() override
    {
        g_bStandalone = m_bWasStandalone;
        SetHostLocalisationCreator({});
        SetHostFormattingCreator({});
        std::filesystem::remove_all(m_dir);
    }

    void Put(const char* section, const char* key, const char* value)
    {
        ASSERT_TRUE(platform::WritePrivateProfileString(section, key, value, m_sIni));
    }

    std::string Raw(const char* section, const char* key)
    {
        return platform::GetPrivateProfileString(section, key, "<missing>", m_sIni);
    }

    std::filesystem::path m_dir;
    std::string m_sIni;
    CWinApp m_app;
    CIniManager m_ini;
    bool m_bWasStandalone = false;
};

TEST(IniManagerProfileName, CutsTheFileNameAtItsFirstDot)
{
    EXPECT_EQ(CIniManager::MakeProfileNameFromModulePath("/opt/ets/Vek_ZR02.second.so"), "/opt/ets/Vek_ZR02.ini");
    EXPECT_EQ(CIniManager::MakeProfileNameFromModulePath("/opt/ets/Vek_ZR02.so"), "/opt/ets/Vek_ZR02.ini");
    // Dots in folder names do not count, with either separator.
    EXPECT_EQ(CIniManager::MakeProfileNameFromModulePath("/opt/v1.2/Vek_ZR02"), "/opt/v1.2/Vek_ZR02.ini");
    EXPECT_EQ(CIniManager::MakeProfileNameFromModulePath("C:\\a.b\\Vek.x.dll"), "C:\\a.b\\Vek.ini");
    EXPECT_EQ(CIniManager::MakeProfileNameFromModulePath(""), "");
}

TEST_F(IniManagerTest, PlugInModeSelectsTheIniBesideTheModule)
{
    g_bStandalone = false;
    m_ini.SelectProfile("/somewhere/else.ini");
    // The test program is the module that holds the settings code here.
    const std::string sExpected = CIniManager::MakeProfileNameFromModulePath(platform::GetProgramPath());
    EXPECT_EQ(m_app.GetProfileName(), sExpected);
    EXPECT_THAT(TakeLastLogLine(), EndsWith("Profile = \"" + sExpected + "\""));
    m_ini.SelectProfile(nullptr);  // the same profile again: nothing to say
    EXPECT_EQ(TakeLastLogLine(), "");

    g_bStandalone = true;
    m_ini.SelectProfile(m_sIni.c_str());
    EXPECT_EQ(CIniManager::GetProfileName(), m_sIni);
}

TEST_F(IniManagerTest, ColumnWidthsFallBackPerTableTypeAndNeverPastTheirList)
{
    int widths[CIniManager::MAX_COLUMNS];

    m_ini.GetColumnWidths(12, CIniManager::MAX_COLUMNS, widths);  // QuantityTable
    for (int w : widths)
        EXPECT_EQ(w, 80);

    // The combo box lists two widths; the columns beyond get the common default.
    m_ini.GetColumnWidths(22, 5, widths);
    EXPECT_EQ(std::vector<int>(widths, widths + 5), (std::vector<int> {200, 35, 80, 80, 80}));

    m_ini.GetColumnWidths(19, CIniManager::MAX_COLUMNS, widths);
    EXPECT_EQ(widths[0], 20);
    EXPECT_EQ(widths[13], 120);

    Put("DaySwitchTimeTable", "Column2", "77");
    m_ini.GetColumnWidths(11, 3, widths);
    EXPECT_EQ(std::vector<int>(widths, widths + 3), (std::vector<int> {60, 77, 100}));

    // An unknown table type has no section and no list.
    EXPECT_STREQ(CIniManager::GetTableSection(5), "");
    m_ini.GetColumnWidths(5, 2, widths);
    EXPECT_EQ(widths[1], 80);

    m_ini.GetColumnWidths(2, 2, nullptr);  // nothing to fill, nothing happens
}

TEST_F(IniManagerTest, ColumnWidthsRoundTrip)
{
    const int written[3] = {11, 22, 33};
    ASSERT_TRUE(m_ini.SetColumnWidths(21, 3, written));
    EXPECT_EQ(Raw("GroupAddressComboBox", "Column3"), "33");
    int read[3] = {};
    m_ini.GetColumnWidths(21, 3, read);
    EXPECT_EQ(std::vector<int>(read, read + 3), (std::vector<int> {11, 22, 33}));
}

TEST_F(IniManagerTest, ColumnPrefsAreRefusedBeyondFourteenEntries)
{
    EXPECT_FALSE(m_ini.SetColumnPrefs(2, std::vector<WORD>(15, 1)));
    EXPECT_FALSE(m_ini.SetColumnPrefs(2, {}));
    EXPECT_FALSE(platform::FileExists(m_sIni));

    std::vector<WORD> prefs(14);
    for (std::size_t i = 0; i < prefs.size(); ++i)
        prefs[i] = static_cast<WORD>(0xFFF0 + i);
    ASSERT_TRUE(m_ini.SetColumnPrefs(2, prefs));

    std::vector<WORD> read(14, 7);
    m_ini.GetColumnPrefs(2, read);
    EXPECT_EQ(read, prefs);
    std::vector<WORD> unset(3, 7);
    m_ini.GetColumnPrefs(3, unset);
    EXPECT_EQ(unset, (std::vector<WORD> {0, 0, 0}));
}

TEST_F(IniManagerTest, ColumnPositionsOfOneColumnAreNotRead)
{
    Put("QuantitiesTable", "Pos1", "5");
    int one = -1;
    m_ini.GetColumnPositions(2, 1, &one);
    EXPECT_EQ(one, 0);
    WORD oneShort = 9;
    m_ini.GetColumnPositionsShort(2, 1, &oneShort);
    EXPECT_EQ(oneShort, 0);

    int two[2] = {-1, -1};
    m_ini.GetColumnPositions(2, 2, two);
    EXPECT_EQ(two[0], 5);
    EXPECT_EQ(two[1], 1);  // default: the column's own index
}

TEST_F(IniManagerTest, ColumnPositionsWriteOnlyForTwoOrMoreColumns)
{
    const int one[1] = {3};
    EXPECT_TRUE(m_ini.SetColumnPositions(3, 1, one));
    EXPECT_TRUE(m_ini.SetColumnPositions(3, 4, nullptr));
    EXPECT_FALSE(platform::FileExists(m_sIni));

    const WORD order[3] = {2, 0, 1};
    ASSERT_TRUE(m_ini.SetColumnPositionsShort(22, 3, order));
    int read[3] = {};
    m_ini.GetColumnPositions(22, 3, read);
    EXPECT_EQ(std::vector<int>(read, read + 3), (std::vector<int> {2, 0, 1}));
}

TEST_F(IniManagerTest, ColumnPositionsOfBothWidthsShareTheirKeysAndFailures)
{
    const int order[3] = {2, 0, 1};
    ASSERT_TRUE(m_ini.SetColumnPositions(16, 3, order));
    WORD read[3] = {};
    m_ini.GetColumnPositionsShort(16, 3, read);
    EXPECT_EQ(std::vector<WORD>(read, read + 3), (std::vector<WORD> {2, 0, 1}));

    m_app.SetProfileName((m_dir / "missing" / "x.ini").string());
    EXPECT_FALSE(m_ini.SetColumnPositions(16, 3, order));
    const WORD orderShort[2] = {1, 0};
    EXPECT_FALSE(m_ini.SetColumnPositionsShort(16, 2, orderShort));
}

TEST_F(IniManagerTest, PlugInModeWritesNothingStandaloneOnly)
{
    g_bStandalone = false;
    Put("Logging", "Level", "4");
    Put("Logging", "Enabled", "1");
    Put("Cdi", "DllName", "cdi.so");
    Put("Common", "GroupAddressLevels", "2");
    const auto before = platform::ReadWholeFile(m_sIni);

    EXPECT_EQ(m_ini.GetLogLevel(), 0);
    EXPECT_EQ(m_ini.GetLogEnabled(), 0);
    EXPECT_EQ(m_ini.GetCdiDllName(), "");

    CFalconConnectionParams params;
    params.SetGuid(platform::GuidFromString("{12345678-9ABC-DEF0-1234-56789ABCDEF0}"));
    EXPECT_FALSE(m_ini.SetSerialCommunication(params));
    EXPECT_FALSE(m_ini.SetLogLevel(2));
    EXPECT_FALSE(m_ini.SetLogEnabled(1));
    EXPECT_FALSE(m_ini.SetLanguage(1033));
    EXPECT_FALSE(m_ini.SetGroupAddressLevels(3));
    EXPECT_EQ(platform::ReadWholeFile(m_sIni), before);

    g_bStandalone = true;
    EXPECT_EQ(m_ini.GetLogLevel(), 4);
    EXPECT_EQ(m_ini.GetCdiDllName(), "cdi.so");
    EXPECT_EQ(m_ini.GetGroupAddressLevels(), 2);
    EXPECT_FALSE(m_ini.SetLogLevel(6));
    EXPECT_TRUE(m_ini.SetLogLevel(5));
    EXPECT_EQ(m_ini.GetLogLevel(), 5);
    EXPECT_TRUE(m_ini.SetLanguage(1033));
    EXPECT_EQ(Raw("LANGUAGE", "LAST"), "0409");
}

TEST_F(IniManagerTest, LanguageFallsBackToTheLastOneWhenTheHostCannotTell)
{
    g_bStandalone = false;
    TakeLastLogLine();
    EXPECT_EQ(m_ini.GetLanguage(), 1031u);  // no host object: default "0407"
    EXPECT_THAT(TakeLastLogLine(), EndsWith("ILocalise: CoCreateInstance failed"));

    Put("LANGUAGE", "LAST", "0409");
    SetHostLocalisationCreator([] { return std::make_unique<FakeLocalisation>(E_FAIL, 0); });
    EXPECT_EQ(m_ini.GetLanguage(), 1033u);
    EXPECT_THAT(TakeLastLogLine(), EndsWith("ILocalise: GetDefaultLCID failed"));

    SetHostLocalisationCreator([] { return std::make_unique<FakeLocalisation>(S_OK, 1036); });
    EXPECT_EQ(m_ini.GetLanguage(), 1036u);

    SetHostLocalisationCreator([] { return std::unique_ptr<IHostLocalisation>(); });
    EXPECT_EQ(m_ini.GetLanguage(), 1033u);
}

TEST_F(IniManagerTest, GroupAddressLevelsFollowTheHostsAddressText)
{
    g_bStandalone = false;
    EXPECT_EQ(m_ini.GetGroupAddressLevels(), 3);  // no host object

    SetHostFormattingCreator([] { return std::make_unique<FakeFormatting>(S_OK, "0/0/1"); });
    EXPECT_EQ(m_ini.GetGroupAddressLevels(), 3);
    EXPECT_EQ(FakeFormatting::m_nValue, 1);
    EXPECT_EQ(FakeFormatting::m_sFormatName, "eteC.GroupAddress");
    EXPECT_EQ(FakeFormatting::m_nFlags, 0);

    SetHostFormattingCreator([] { return std::make_unique<FakeFormatting>(S_OK, "0/1"); });
    EXPECT_EQ(m_ini.GetGroupAddressLevels(), 2);

    SetHostFormattingCreator([] { return std::make_unique<FakeFormatting>(E_FAIL, "0/1"); });
    EXPECT_EQ(m_ini.GetGroupAddressLevels(), 3);
}

TEST_F(IniManagerTest, SerialCommunicationRoundTripInStandaloneMode)
{
    g_bStandalone = true;
    CFalconConnectionParams written;
    written.SetGuid(platform::GuidFromString("{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9}"));
    written.SetConnectionName("USB-Schnittstelle 1");
    written.SetConnectionParam("port=ttyUSB0; speed=9600");
    ASSERT_TRUE(m_ini.SetSerialCommunication(written));
    EXPECT_EQ(Raw("SerialCommunication", "Guid"), "{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9}");

    CFalconConnectionParams read;
    m_ini.GetSerialCommunication(read);
    EXPECT_EQ(read, written);

    // A malformed class id leaves the null id; the texts are still read.
    Put("SerialCommunication", "Guid", "{0A1B2C3D-4E5F}");
    read.SetGuid(written.GetGuid());
    m_ini.GetSerialCommunication(read);
    EXPECT_TRUE(platform::IsNullGuid(read.GetGuid()));
    EXPECT_EQ(read.GetConnectionName(), "USB-Schnittstelle 1");
}

// Found by fuzzing the connection record: a name or state-file path with a
// blank at its end came back without it, so the download would open
// another file than the one chosen.
TEST_F(IniManagerTest, SerialCommunicationKeepsBlanksAndQuotesOfTheChoice)
{
    g_bStandalone = true;
    CFalconConnectionParams written;
    written.SetGuid(platform::GuidFromString("{98956E5B-B3A6-44B2-BBCF-7A9B7DD66732}"));
    written.SetConnectionName("Simulated KNX device ");
    written.SetConnectionParam(" /tmp/\"device\".state ");
    ASSERT_TRUE(m_ini.SetSerialCommunication(written));
    CFalconConnectionParams read;
    m_ini.GetSerialCommunication(read);
    EXPECT_EQ(read, written);

    // A name or path with a line end cannot be kept; the three settings stay
    // as they were, the new interface's Guid among them.
    for (bool bName : {true, false}) {
        CFalconConnectionParams broken = written;
        broken.SetGuid(platform::GuidFromString("{11111111-2222-3333-4444-555555555555}"));
        (bName ? broken.SetConnectionName("KNX\nline") : broken.SetConnectionParam("/tmp/a\nGuid=x"));
        EXPECT_FALSE(m_ini.SetSerialCommunication(broken));
        m_ini.GetSerialCommunication(read);
        EXPECT_EQ(read, written);
    }
}

// A settings file that cannot be written: the writer says so, inside a
// window's batch the batch does, and the log tells it once with its reason.
TEST_F(IniManagerTest, AFailedWriteIsReportedAndLoggedOnce)
{
    Put("ParameterDialog", "Toolbar", "1");
    ASSERT_EQ(::chmod(m_sIni.c_str(), 0444), 0);
    TakeLastLogLine();
    EXPECT_FALSE(m_ini.SetShowToolbar(FALSE));
    const std::string strLine = TakeLastLogLine();
    EXPECT_NE(strLine.find("could not be written (Permission denied)"), std::string::npos) << strLine;
    EXPECT_FALSE(m_ini.SetShowStatusbar(FALSE));
    EXPECT_EQ(TakeLastLogLine(), "");
    ::chmod(m_sIni.c_str(), 0644);
    EXPECT_TRUE(m_ini.SetShowToolbar(FALSE));
    ::chmod(m_sIni.c_str(), 0444);
    {
        CSettingsBatch batch;
        EXPECT_TRUE(m_ini.SetShowToolbar(TRUE));  // handed on to the batch
        EXPECT_FALSE(batch.Commit());
    }
    EXPECT_NE(TakeLastLogLine().find("could not be written"), std::string::npos);
    // Kept in memory: read as set, and in the file with the next write that
    // succeeds.
    EXPECT_EQ(m_ini.GetShowToolbar(), TRUE);
    ::chmod(m_sIni.c_str(), 0644);
    EXPECT_TRUE(m_ini.SetShowStatusbar(FALSE));
    const auto bytes = platform::ReadWholeFile(m_sIni);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "[ParameterDialog]\nToolbar=1\nStatusbar=0\n");
}

// Settings still kept at the editor's end are lost: each end that loses
// some says so, with the file and their count, and a later write of the
// file does not bring them back.
TEST_F(IniManagerTest, KeptSettingsLostAtTheEndAreLoggedAtEachEnd)
{
    Put("ParameterDialog", "Toolbar", "1");
    ASSERT_EQ(::chmod(m_sIni.c_str(), 0444), 0);
    for (const char* pszLost : {"2 changed settings are lost", "1 changed setting is lost"}) {
        EXPECT_FALSE(m_ini.SetShowToolbar(FALSE));
        if (pszLost[0] == '2') {
            EXPECT_FALSE(m_ini.SetShowStatusbar(FALSE));
        }
        TakeLastLogLine();
        CIniManager::DropKeptSettings();
        const std::string strLine = TakeLastLogLine();
        EXPECT_NE(strLine.find("\"" + m_sIni + "\" could not be written before the editor ended (Permission denied)"),
                  std::string::npos)
            << strLine;
        EXPECT_NE(strLine.find(pszLost), std::string::npos) << strLine;
    }
    CIniManager::DropKeptSettings();
    EXPECT_EQ(TakeLastLogLine(), "");
    ::chmod(m_sIni.c_str(), 0644);
    EXPECT_EQ(m_ini.GetShowToolbar(), TRUE);
}

// A settings file that is there but cannot be read is said once, with its
// reason; the defaults hold.
TEST_F(IniManagerTest, AnUnreadableFileIsLoggedOnce)
{
    std::filesystem::create_directory(m_sIni);
    TakeLastLogLine();
    EXPECT_EQ(m_ini.GetShowToolbar(), TRUE);
    const std::string strLine = TakeLastLogLine();
    EXPECT_NE(strLine.find("could not be read (Is a directory): the defaults hold"), std::string::npos) << strLine;
    EXPECT_EQ(m_ini.GetSplitterHorzDevided(), 0);
    EXPECT_EQ(TakeLastLogLine(), "");
}

// Found by fuzzing the connection record: a state-file path of 400 wide
// characters fits the record, but its 1200 UTF-8 bytes were cut to the
// 1024-byte buffer when read back. The buffers count characters.
TEST_F(IniManagerTest, SerialCommunicationTextsAreCutAtCharactersNotBytes)
{
    g_bStandalone = true;
    std::string strLong = "/tmp/";
    for (int i = 0; i < 400; ++i)
        strLong += "\xe4\xb9\x8e";  // U+4E4E
    CFalconConnectionParams written;
    written.SetGuid(platform::GuidFromString("{98956E5B-B3A6-44B2-BBCF-7A9B7DD66732}"));
    written.SetConnectionName("Simulated KNX device");
    written.SetConnectionParam(strLong);
    ASSERT_TRUE(m_ini.SetSerialCommunication(written));
    CFalconConnectionParams read;
    m_ini.GetSerialCommunication(read);
    EXPECT_EQ(read, written);

    // Beyond 1023 characters the text is cut, never inside a character.
    Put("SerialCommunication", "ConnectionName", (std::string(1020, 'a') + "\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4").c_str());
    m_ini.GetSerialCommunication(read);
    EXPECT_EQ(read.GetConnectionName(), std::string(1020, 'a') + "\xc3\xa4\xc3\xa4\xc3\xa4");
}

TEST_F(IniManagerTest, WindowPlacementRoundTripKeepsNegativeCoordinates)
{
    WINDOWPLACEMENT placement;
    m_ini.GetWindowPlacement("ParameterDialog", placement);
    EXPECT_EQ(placement.length, 44u);
    EXPECT_EQ(placement.showCmd, 5u);
    EXPECT_EQ(placement.rcNormalPosition, (RECT {0, 0, 800, 600}));

    placement.flags = 2;
    placement.showCmd = SW_SHOWMAXIMIZED;
    placement.ptMinPosition = {-32000, -32000};
    placement.ptMaxPosition = {-8, -8};
    placement.rcNormalPosition = {-10, 20, 1014, 788};
    ASSERT_TRUE(m_ini.SetWindowPlacement("ParameterDialog", placement));
    // Unsigned text, as older files hold it.
    EXPECT_EQ(Raw("ParameterDialog", "wpl.ptMaxPosition.x"), "4294967288");

    WINDOWPLACEMENT read;
    m_ini.GetWindowPlacement("ParameterDialog", read);
    EXPECT_EQ(read, placement);
}

TEST_F(IniManagerTest, FlagsAndTextsReadAsStored)
{
    EXPECT_TRUE(m_ini.GetShowToolbar());
    EXPECT_TRUE(m_ini.GetToolTips());
    EXPECT_FALSE(m_ini.GetDebugMode());
    Put("ParameterDialog", "Toolbar", "7");
    Put("Common", "ToolTips", "0");
    Put("Common", "DebugMode", "-1");
    EXPECT_EQ(m_ini.GetShowToolbar(), TRUE);
    EXPECT_FALSE(m_ini.GetToolTips());
    EXPECT_FALSE(m_ini.GetDebugMode());

    // At most four characters of the language file name are read.
    ASSERT_TRUE(m_ini.SetLanguageFileName("abcdefg"));
    EXPECT_EQ(m_ini.GetLanguageFileName(), "abcd");

    std::string sFile = "stale";
    Put("LANGUAGE", "MissingStringsFileName", "/tmp/missing.txt");
    EXPECT_EQ(m_ini.GetMissingStringsFile(sFile), 0);
    EXPECT_EQ(sFile, "");
    Put("LANGUAGE", "LogMissingStrings", "1");
    EXPECT_EQ(m_ini.GetMissingStringsFile(sFile), 1);
    EXPECT_EQ(sFile, "/tmp/missing.txt");

    int w = 0, h = 0;
    m_ini.GetPaneSize(w, h);
    EXPECT_EQ(w, 200);
    EXPECT_EQ(h, 200);
    ASSERT_TRUE(m_ini.SetPaneSize(320, 240));
    m_ini.GetPaneSize(w, h);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);
}

TEST_F(IniManagerTest, WritersFailAndReadersGiveDefaultsWithoutProfile)
{
    m_app.SetProfileName("");
    EXPECT_FALSE(m_ini.SetShowToolbar(FALSE));
    EXPECT_TRUE(m_ini.GetShowToolbar());
    EXPECT_EQ(m_ini.GetDaysInFirstWeek(), 4);
    EXPECT_EQ(m_ini.GetFirstDayOfWeek(), 2);

    // A folder that cannot hold the file: the sequence stops at the failure.
    m_app.SetProfileName((m_dir / "missing" / "x.ini").string());
    EXPECT_FALSE(m_ini.SetWindowRect("ParameterDialog", RECT {1, 2, 3, 4}));
    EXPECT_FALSE(m_ini.SetPaneSize(1, 2));
}

}  // namespace
