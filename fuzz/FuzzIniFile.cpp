// The settings' ini file on arbitrary bytes. First the parser itself, on
// the bytes with no file: what it writes back reads back as written, every
// other key as it was, and a parsed text serialises to a fixed point. Then,
// for every fourth input length (the file costs some hundred lookups and
// three atomic writes, the parser alone a fraction of that, so the parser is
// explored at its own pace and the file's path still by every kind of
// input), the file through the settings object: every getter (those that depend on
// the mode in both modes; the columns of one table type, chosen by the
// input's size, for all), and the main window's own reading of its size;
// then what the program writes back on closing (window placement, one
// table's columns, the bus connection) must read back as written, whatever
// else the file holds.

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzConnectionParams.h"
#include "fuzz/FuzzFiles.h"
#include "model/IniManager.h"
#include "model/PathUtils.h"
#include "model/SettingsBatch.h"
#include "common/Globals.h"
#include "platform/base/Guid.h"
#include "platform/base/PrivateProfile.h"
#include "platform/base/ProfileText.h"
#include "platform/base/WinApp.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr int kTableTypes[] = {0, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18, 19, 21, 22};
constexpr int kColumns = CIniManager::MAX_COLUMNS;

std::size_t Characters(const std::string& strText)
{
    std::size_t n = 0;
    for (char c : strText)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

struct Columns {
    std::vector<int> widths = std::vector<int>(kColumns);
    std::vector<WORD> prefs = std::vector<WORD>(kColumns);
    std::vector<int> positions = std::vector<int>(kColumns);
    std::vector<WORD> shortPositions = std::vector<WORD>(kColumns);

    bool operator==(const Columns&) const = default;
};

Columns ReadColumns(CIniManager& ini, int nTableType)
{
    Columns columns;
    ini.GetColumnWidths(nTableType, kColumns, columns.widths.data());
    ini.GetColumnPrefs(nTableType, columns.prefs);
    ini.GetColumnPositions(nTableType, kColumns, columns.positions.data());
    ini.GetColumnPositionsShort(nTableType, kColumns, columns.shortPositions.data());
    for (int i = 0; i < kColumns; ++i)
        FUZZ_CHECK(columns.shortPositions[i] == static_cast<WORD>(columns.positions[i]));
    return columns;
}

// The getters whose answer depends on the mode.
void ReadModeSettings(CIniManager& ini)
{
    (void)ini.GetLanguage();
    (void)ini.GetGroupAddressLevels();
    (void)ini.GetLogLevel();
    (void)ini.GetLogEnabled();
    FUZZ_CHECK(ini.GetCdiDllName().size() < 260);
}

// One table's columns stand for all tables: the one the input's size
// chooses.
Columns ReadEverything(CIniManager& ini, int nTableType)
{
    ReadModeSettings(ini);
    FUZZ_CHECK(ini.GetLanguageFileName().size() < 5);
    std::string strMissing;
    FUZZ_CHECK(ini.GetMissingStringsFile(strMissing) == 1 || strMissing.empty());
    FUZZ_CHECK(strMissing.size() < 260);
    (void)ini.GetDebugMode();
    (void)ini.GetDaysInFirstWeek();
    (void)ini.GetFirstDayOfWeek();
    const BOOL bToolbar = ini.GetShowToolbar();
    const BOOL bStatusbar = ini.GetShowStatusbar();
    const BOOL bToolTips = ini.GetToolTips();
    FUZZ_CHECK((bToolbar == TRUE || bToolbar == FALSE) && (bStatusbar == TRUE || bStatusbar == FALSE) &&
          (bToolTips == TRUE || bToolTips == FALSE));
    (void)ini.GetSplitterHorzDevided();
    int nWidth = 0, nHeight = 0;
    ini.GetPaneSize(nWidth, nHeight);
    (void)ini.GetLsmDownloadMode();
    CFalconConnectionParams params;
    ini.GetSerialCommunication(params);
    FUZZ_CHECK(Characters(params.GetConnectionName()) <= 1023 && Characters(params.GetConnectionParam()) <= 1023);
    RECT rect;
    ini.GetWindowRect("ParameterDialog", rect);
    WINDOWPLACEMENT placement;
    ini.GetWindowPlacement("ParameterDialog", placement);
    FUZZ_CHECK(placement.rcNormalPosition == rect);
    const Columns columns = ReadColumns(ini, nTableType);

    // The main window's size, read through the application object.
    std::string strSize = AfxGetApp()->GetProfileString("MainWindow", "WindowSize", "");
    std::string_view text = strSize;
    (void)ParseNextInt(text, -1);
    (void)ParseNextInt(text, -1);
    (void)AfxGetApp()->GetProfileInt("SplitterWindow", "HorzDevided", 0);
    return columns;
}

// Names the program reads and writes, and what the input itself offers.
void CheckParser(std::string_view bytes)
{
    using platform::CProfileText;
    CProfileText text = CProfileText::Parse(bytes);
    const std::string strOnce = text.Serialize();
    FUZZ_CHECK(CProfileText::Parse(strOnce).Serialize() == strOnce);

    const std::pair<const char*, const char*> probes[] = {
        {"MainWindow", "WindowSize"}, {"ParameterDialog", "Left"}, {"GroupAddressTable", "Column1"},
        {"SerialCommunication", "ConnectionParam"}, {"Common", "DebugMode"}};
    std::vector<std::optional<std::string>> before;
    for (const auto& [pszSection, pszKey] : probes)
        before.push_back(text.Find(pszSection, pszKey));
    // A value taken from the input, so that its odd bytes are written too.
    std::string strValue(bytes.substr(0, std::min<std::size_t>(bytes.size(), 24)));
    strValue.resize(std::min(strValue.size(), strValue.find('\0')));
    const std::size_t nChanged = bytes.size() % std::size(probes);
    const auto& [pszSection, pszKey] = probes[nChanged];
    if (!CProfileText::IsRepresentable(pszSection, pszKey, strValue.c_str()))
        return;
    const bool bChanged = text.Set(pszSection, pszKey, strValue.c_str());
    FUZZ_CHECK(bChanged != (before[nChanged] == strValue));
    const CProfileText again = CProfileText::Parse(text.Serialize());
    for (std::size_t i = 0; i < std::size(probes); ++i) {
        const std::optional<std::string> now = again.Find(probes[i].first, probes[i].second);
        FUZZ_CHECK(i == nChanged ? now == strValue : now == before[i]);
    }
}

// The input as the settings file. Its time is set to one of its own, far in
// the past: the engine then tells each input from the last by its time and
// reads it once, as it reads a user's file that changed, rather than again
// for every key as it reads a file changed within the last clock tick.
std::string WriteSettingsFile(const std::uint8_t* pData, std::size_t nSize)
{
    static long s_nInputs = 0;
    const std::string strPath = fuzzfiles::WriteInput("settings.ini", pData, nSize);
    const timespec times[2] = {{0, UTIME_OMIT}, {1'000'000'000L + ++s_nInputs, 0}};
    if (::utimensat(AT_FDCWD, strPath.c_str(), times, 0) != 0)
        std::abort();
    return strPath;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Plug-in mode asks the host through the registry: never the user's.
    ::setenv("CHRONO_REGISTRY_FILE", fuzzfiles::PathOf("no-registry.json").c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    CheckParser(std::string_view(reinterpret_cast<const char*>(pData), nSize));
    if (nSize % 4 != 0)
        return 0;

    CWinApp app;
    app.SetProfileName(WriteSettingsFile(pData, nSize));
    CIniManager& ini = g_IniManager;

    const int nTableType = kTableTypes[nSize % std::size(kTableTypes)];
    Columns columns;
    WINDOWPLACEMENT placement;
    {
        // As a window reads its settings: one look at the file for them all.
        CSettingsBatch settings;
        g_bStandalone = false;
        ReadModeSettings(ini);
        g_bStandalone = true;
        columns = ReadEverything(ini, nTableType);
        ini.GetWindowPlacement("ParameterDialog", placement);
    }

    // Written back as the windows write them when they close: each window's
    // keys in one change of the file.
    {
        CSettingsBatch batch;
        FUZZ_CHECK(ini.SetWindowPlacement("ParameterDialog", placement) == TRUE);
        FUZZ_CHECK(batch.Commit());
    }
    WINDOWPLACEMENT again;
    ini.GetWindowPlacement("ParameterDialog", again);
    FUZZ_CHECK(again == placement);

    {
        CSettingsBatch batch;
        FUZZ_CHECK(ini.SetColumnWidths(nTableType, kColumns, columns.widths.data()) == TRUE);
        FUZZ_CHECK(ini.SetColumnPrefs(nTableType, columns.prefs) == TRUE);
        FUZZ_CHECK(ini.SetColumnPositions(nTableType, kColumns, columns.positions.data()) == TRUE);
        FUZZ_CHECK(batch.Commit());
    }
    FUZZ_CHECK(ReadColumns(ini, nTableType) == columns);

    CFalconConnectionParams params;
    ini.GetSerialCommunication(params);
    if (ini.SetSerialCommunication(params)) {
        CFalconConnectionParams read;
        ini.GetSerialCommunication(read);
        if (!(read == params))
            fuzzfiles::PrintMismatch(params, read);
        FUZZ_CHECK(read == params);
    }
    g_bStandalone = true;
    return 0;
}
