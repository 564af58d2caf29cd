#include "model/IniManager.h"

#include "model/HostFormatting.h"
#include "model/HostLocalisation.h"
#include "model/SettingsBatch.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "platform/base/Guid.h"
#include "platform/base/PathUtil.h"
#include "platform/base/PrivateProfile.h"
#include "platform/base/ProfileText.h"
#include "platform/base/SystemLocale.h"
#include "platform/base/WinApp.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>

CIniManager g_IniManager;

namespace {

// Reading buffers of the stored texts; longer values are cut as these
// buffers always cut them.
constexpr std::size_t LANGUAGE_FILE_NAME_BUFFER = 5;
constexpr std::size_t LANGUAGE_LAST_BUFFER = 10;
constexpr std::size_t PATH_BUFFER = 260;
constexpr std::size_t CONNECTION_BUFFER = 1024;
// The connection texts' buffers hold characters, not bytes: a record's
// parameter of 511 wide characters may take three times as many bytes.
constexpr std::size_t CONNECTION_TEXT_CHARACTERS = 1023;

struct TableSection {
    int nTableType;
    const char* pszSection;
    std::initializer_list<int> widths;  // per column; columns past the list get the common default
};

const std::array<TableSection, 18> kTableSections = {{
    {2, "QuantitiesTable", {45, 100, 120, 70, 70, 55, 55, 55, 70}},
    {3, "GroupAddressTable", {120, 100, 120, 35, 35, 35, 35}},
    {4, "UtilizationTable", {130, 55, 55, 55, 55}},
    {6, "DayRoutineTable", {40, 100, 120, 120}},
    {7, "WeekRoutineTable", {90, 40, 100}},
    {8, "SummertimeTable", {40, 150, 150, 60}},
    {9, "SpecialDaysTable", {170, 170, 100}},
    {10, "OverviewTable", {75, 65, 70, 40, 100}},
    {11, "DaySwitchTimeTable", {60, 120, 100, 70, 120, 40}},
    {12, "QuantityTable", {}},
    {13, "QuantityTriggerTable", {120, 100, 120, 50}},
    {14, "QuantityMemberTable", {120, 100, 120, 70, 50, 40}},
    {16, "MainGroupsTable", {20, 140, 50, 35, 140}},
    {17, "MiddleGroupsTable", {18, 140, 50, 35, 140}},
    {18, "SubGroupsTable", {20, 140, 50, 35, 35, 140}},
    {19, "DeviceObjectsTable", {20, 20, 45, 50, 80, 50, 50, 18, 18, 18, 18, 25, 30, 120}},
    {21, "GroupAddressComboBox", {100, 100, 100}},
    {22, "DayRoutineComboBox", {200, 35}},
}};

const TableSection* FindTableSection(int nTableType)
{
    for (const TableSection& table : kTableSections)
        if (table.nTableType == nTableType)
            return &table;
    return nullptr;
}

// The text up to its nMax-th character (UTF-8).
std::string CutToCharacters(std::string sText, std::size_t nMax)
{
    std::size_t nCharacters = 0;
    for (std::size_t i = 0; i < sText.size(); ++i) {
        if ((static_cast<unsigned char>(sText[i]) & 0xC0) != 0x80 && nCharacters++ == nMax) {
            sText.resize(i);
            break;
        }
    }
    return sText;
}

std::string NumberedKey(const char* pszPrefix, int nIndex)
{
    return pszPrefix + std::to_string(nIndex + 1);
}

// Any function of this library: its address names the module on disk.
void ModuleAnchor() {}

}  // namespace

CIniManager::~CIniManager() = default;

// ---------------------------------------------------------------- profile

void CIniManager::SelectProfile(const char* pszIniPath)
{
    SetProfileName(g_bStandalone ? pszIniPath : nullptr);
}

std::string CIniManager::MakeProfileNameFromModulePath(std::string_view modulePath)
{
    if (modulePath.empty())
        return {};
    std::size_t nameStart = modulePath.find_last_of("/\\");
    nameStart = nameStart == std::string_view::npos ? 0 : nameStart + 1;
    std::size_t dot = modulePath.find('.', nameStart);
    std::string profile(modulePath.substr(0, dot));
    profile += ".ini";
    return profile;
}

std::string CIniManager::GetProfileName()
{
    const CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->GetProfileName() : std::string();
}

void CIniManager::SetProfileName(const char* pszPath)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp) {
        LOG_ERROR("Couldnt set profile name: no application object");
        return;
    }
    std::string sPath;
    if (pszPath) {
        sPath = pszPath;
    } else {
        std::string sModule = platform::GetModulePathOf(reinterpret_cast<const void*>(&ModuleAnchor));
        if (sModule.empty()) {
            LOG_ERROR("Couldnt set profile name: GetModuleFileName failed");
            return;
        }
        sPath = MakeProfileNameFromModulePath(sModule);
    }
    if (sPath == pApp->GetProfileName())
        return;
    pApp->SetProfileName(sPath);
    LOG_INFO("Profile = \"%s\"", sPath.c_str());
}

// ---------------------------------------------------------------- engine

void CIniManager::LogProfileNotices(const std::string& sProfile)
{
    // A settings file far larger than any this system writes is left alone.
    if (platform::TakeOversizedProfileNotice(sProfile))
        LOG_WARNING("Settings file \"%s\" is larger than %zu bytes: it is not read and not written, the defaults hold",
                    sProfile.c_str(), platform::kMaxProfileSize);
    int nErrno = 0;
    if (platform::TakeUnreadableProfileNotice(sProfile, nErrno))
        LOG_ERROR("Settings file \"%s\" could not be read (%s): the defaults hold", sProfile.c_str(),
                  std::strerror(nErrno));
    std::string sReason;
    if (platform::TakeFailedProfileWriteNotice(sProfile, sReason))
        LOG_ERROR("Settings file \"%s\" could not be written (%s): where it can be read, the changed settings are "
                  "kept in memory for a later write of it; those still kept when the editor ends are lost",
                  sProfile.c_str(), sReason.c_str());
    if (platform::TakeUnlockedProfileWriteNotice(sProfile, nErrno))
        LOG_WARNING("%s", platform::DescribeUnlockedProfileWrite(sProfile, nErrno).c_str());
}

void CIniManager::DropKeptSettings()
{
    const std::string sProfile = GetProfileName();
    if (sProfile.empty())
        return;
    std::string sReason;
    const std::size_t nLost = platform::DropKeptProfileWrites(sProfile, sReason);
    if (nLost > 0)
        LOG_ERROR("Settings file \"%s\" could not be written before the editor ended (%s): %zu changed %s lost",
                  sProfile.c_str(), sReason.c_str(), nLost, nLost == 1 ? "setting is" : "settings are");
}

int CIniManager::ReadInt(std::string_view section, std::string_view key, int nDefault)
{
    const std::string sProfile = GetProfileName();
    if (sProfile.empty())
        return nDefault;
    const int nValue = platform::GetPrivateProfileInt(section, key, nDefault, sProfile);
    LogProfileNotices(sProfile);
    return nValue;
}

std::string CIniManager::ReadString(std::string_view section, std::string_view key, std::string_view def,
                                    std::size_t nBufferSize)
{
    const std::string sProfile = GetProfileName();
    if (sProfile.empty()) {
        std::string sDefault(def);
        if (nBufferSize > 0 && sDefault.size() >= nBufferSize)
            sDefault.resize(nBufferSize - 1);
        return sDefault;
    }
    std::string sValue = platform::GetPrivateProfileString(section, key, def, sProfile, nBufferSize);
    LogProfileNotices(sProfile);
    return sValue;
}

BOOL CIniManager::WriteString(std::string_view section, const char* pszKey, const char* pszValue)
{
    const std::string sProfile = GetProfileName();
    if (sProfile.empty())
        return FALSE;
    const bool bWritten = platform::WritePrivateProfileString(section, pszKey, pszValue, sProfile);
    LogProfileNotices(sProfile);
    return bWritten ? TRUE : FALSE;
}

BOOL CIniManager::WriteInt(std::string_view section, const char* pszKey, UINT nValue)
{
    char szValue[16];
    std::snprintf(szValue, sizeof szValue, "%u", nValue);
    return WriteString(section, pszKey, szValue);
}

// ---------------------------------------------------------------- language

LCID CIniManager::GetLanguage()
{
    if (g_bStandalone)
        return platform::GetSystemDefaultLCID() == 1031 ? 1031 : 1033;

    std::unique_ptr<IHostLocalisation> pLocalise = CreateHostLocalisation();
    if (!pLocalise) {
        LOG_ERROR("ILocalise: CoCreateInstance failed");
    } else {
        LCID lcid = 0;
        if (SUCCEEDED(pLocalise->GetDefaultLCID(lcid)))
            return lcid;
        LOG_ERROR("ILocalise: GetDefaultLCID failed");
    }
    const std::string sLast = ReadString("LANGUAGE", "LAST", "0407", LANGUAGE_LAST_BUFFER);
    return static_cast<LCID>(std::strtoul(sLast.c_str(), nullptr, 16));
}

BOOL CIniManager::SetLanguage(LCID lcid)
{
    if (!g_bStandalone)
        return FALSE;
    char szValue[16];
    std::snprintf(szValue, sizeof szValue, "%04x", static_cast<unsigned>(lcid));
    return WriteString("LANGUAGE", "LAST", szValue);
}

std::string CIniManager::GetLanguageFileName()
{
    return ReadString("LANGUAGE", "FILENAME", "", LANGUAGE_FILE_NAME_BUFFER);
}

BOOL CIniManager::SetLanguageFileName(const std::string& sFileName)
{
    return WriteString("LANGUAGE", "FILENAME", sFileName.c_str());
}

int CIniManager::GetMissingStringsFile(std::string& sFileName)
{
    sFileName.clear();
    if (ReadInt("LANGUAGE", "LogMissingStrings", 0) <= 0)
        return 0;
    sFileName = ReadString("LANGUAGE", "MissingStringsFileName", "", PATH_BUFFER);
    return 1;
}

// ---------------------------------------------------------------- common

int CIniManager::GetGroupAddressLevels()
{
    if (g_bStandalone)
        return ReadInt("Common", "GroupAddressLevels", 3);

    std::unique_ptr<IHostFormatting> pFormatting = CreateHostFormatting();
    if (!pFormatting)
        return 3;
    std::string sText;
    if (FAILED(pFormatting->Format(1, kszGroupAddressFormat, 0, sText)))
        return 3;
    return static_cast<int>(std::count(sText.begin(), sText.end(), '/')) + 1;
}

BOOL CIniManager::SetGroupAddressLevels(int nLevels)
{
    if (!g_bStandalone)
        return FALSE;
    return WriteInt("Common", "GroupAddressLevels", static_cast<UINT>(nLevels));
}

bool CIniManager::GetDebugMode()
{
    return ReadInt("Common", "DebugMode", 0) > 0;
}

BOOL CIniManager::SetDebugMode(bool bDebugMode)
{
    return WriteInt("Common", "DebugMode", bDebugMode ? 1u : 0u);
}

BOOL CIniManager::GetToolTips()
{
    return ReadInt("Common", "ToolTips", 1) > 0 ? TRUE : FALSE;
}

BOOL CIniManager::SetToolTips(BOOL bToolTips)
{
    return WriteInt("Common", "ToolTips", static_cast<UINT>(bToolTips));
}

int CIniManager::GetLsmDownloadMode()
{
    return ReadInt("Common", "LSMDownloadMode", 0);
}

// ---------------------------------------------------------------- logging, Cdi

int CIniManager::GetLogLevel()
{
    if (!g_bStandalone)
        return 0;
    return ReadInt("Logging", "Level", 3);
}

BOOL CIniManager::SetLogLevel(int nLevel)
{
    if (!g_bStandalone || nLevel < 0 || nLevel > 5)
        return FALSE;
    return WriteInt("Logging", "Level", static_cast<UINT>(nLevel));
}

int CIniManager::GetLogEnabled()
{
    if (!g_bStandalone)
        return 0;
    return ReadInt("Logging", "Enabled", 0);
}

BOOL CIniManager::SetLogEnabled(int nEnabled)
{
    if (!g_bStandalone)
        return FALSE;
    return WriteInt("Logging", "Enabled", static_cast<UINT>(nEnabled));
}

std::string CIniManager::GetCdiDllName()
{
    if (!g_bStandalone)
        return {};
    return ReadString("Cdi", "DllName", "", PATH_BUFFER);
}

// ---------------------------------------------------------------- bus interface

void CIniManager::GetSerialCommunication(CFalconConnectionParams& params)
{
    CSettingsBatch batch;
    GUID guid = GUID_NULL;
    const std::string sGuid = ReadString("SerialCommunication", "Guid", "", CONNECTION_BUFFER);
    if (!sGuid.empty()) {
        if (auto parsed = platform::ParseGuid(sGuid))
            guid = *parsed;
    }
    params.SetGuid(guid);
    params.SetConnectionName(
        CutToCharacters(ReadString("SerialCommunication", "ConnectionName", "", 0), CONNECTION_TEXT_CHARACTERS));
    params.SetConnectionParam(
        CutToCharacters(ReadString("SerialCommunication", "ConnectionParam", "", 0), CONNECTION_TEXT_CHARACTERS));
}

BOOL CIniManager::SetSerialCommunication(const CFalconConnectionParams& params)
{
    if (!g_bStandalone)
        return FALSE;
    // The three keys go together or not at all: a name or parameter that
    // cannot stand in the file must not leave the new Guid with the old ones.
    const std::string sGuid = params.GetGuidText();
    const std::string sName = params.GetConnectionName();
    const std::string sParam = params.GetConnectionParam();
    for (const std::string* pValue : {&sGuid, &sName, &sParam}) {
        if (!platform::CProfileText::IsRepresentable("SerialCommunication", "Guid", pValue->c_str())) {
            LOG_ERROR("The bus interface settings cannot be stored: a value holds a line end");
            return FALSE;
        }
    }
    CSettingsBatch batch;
    const bool bNoted = WriteString("SerialCommunication", "Guid", sGuid.c_str()) &&
                        WriteString("SerialCommunication", "ConnectionName", sName.c_str()) &&
                        WriteString("SerialCommunication", "ConnectionParam", sParam.c_str());
    return batch.CommitWith(bNoted);
}

// ---------------------------------------------------------------- dates

int CIniManager::GetDaysInFirstWeek()
{
    return ReadInt("Date/Time", "DaysInFirstWeek", 4);
}

int CIniManager::GetFirstDayOfWeek()
{
    return ReadInt("Date/Time", "FirstDayOfWeek", 2);
}

// ---------------------------------------------------------------- main window

BOOL CIniManager::GetShowToolbar()
{
    return ReadInt("ParameterDialog", "Toolbar", 1) != 0 ? TRUE : FALSE;
}

BOOL CIniManager::SetShowToolbar(BOOL bShow)
{
    return WriteInt("ParameterDialog", "Toolbar", static_cast<UINT>(bShow));
}

BOOL CIniManager::GetShowStatusbar()
{
    return ReadInt("ParameterDialog", "Statusbar", 1) != 0 ? TRUE : FALSE;
}

BOOL CIniManager::SetShowStatusbar(BOOL bShow)
{
    return WriteInt("ParameterDialog", "Statusbar", static_cast<UINT>(bShow));
}

int CIniManager::GetSplitterHorzDevided()
{
    return ReadInt("SplitterWindow", "HorzDevided", 0);
}

BOOL CIniManager::SetSplitterHorzDevided(int nHorzDevided)
{
    return WriteInt("SplitterWindow", "HorzDevided", static_cast<UINT>(nHorzDevided));
}

void CIniManager::GetPaneSize(int& nWidth, int& nHeight)
{
    CSettingsBatch batch;
    nWidth = ReadInt("SplitterWindow", "PaneWidth", 200);
    nHeight = ReadInt("SplitterWindow", "PaneHeight", 200);
}

BOOL CIniManager::SetPaneSize(int nWidth, int nHeight)
{
    CSettingsBatch batch;
    const BOOL bWidth = WriteInt("SplitterWindow", "PaneWidth", static_cast<UINT>(nWidth));
    const BOOL bHeight = WriteInt("SplitterWindow", "PaneHeight", static_cast<UINT>(nHeight));
    return batch.CommitWith(bWidth && bHeight);
}

void CIniManager::GetWindowRect(std::string_view section, RECT& rect)
{
    CSettingsBatch batch;
    rect.left = ReadInt(section, "Left", 0);
    rect.top = ReadInt(section, "Top", 0);
    rect.right = ReadInt(section, "Right", 800);
    rect.bottom = ReadInt(section, "Bottom", 600);
}

BOOL CIniManager::SetWindowRect(std::string_view section, const RECT& rect)
{
    CSettingsBatch batch;
    return batch.CommitWith(WriteInt(section, "Left", static_cast<UINT>(rect.left)) &&
                        WriteInt(section, "Top", static_cast<UINT>(rect.top)) &&
                        WriteInt(section, "Right", static_cast<UINT>(rect.right)) &&
                        WriteInt(section, "Bottom", static_cast<UINT>(rect.bottom)));
}

void CIniManager::GetWindowPlacement(std::string_view section, WINDOWPLACEMENT& placement)
{
    CSettingsBatch batch;
    placement.length = sizeof(WINDOWPLACEMENT);
    placement.flags = static_cast<UINT>(ReadInt(section, "wpl.flags", 0));
    placement.showCmd = static_cast<UINT>(ReadInt(section, "wpl.showCmd", 5));
    placement.ptMinPosition.x = ReadInt(section, "wpl.ptMinPosition.x", 0);
    placement.ptMinPosition.y = ReadInt(section, "wpl.ptMinPosition.y", 0);
    placement.ptMaxPosition.x = ReadInt(section, "wpl.ptMaxPosition.x", 0);
    placement.ptMaxPosition.y = ReadInt(section, "wpl.ptMaxPosition.y", 0);
    GetWindowRect(section, placement.rcNormalPosition);
}

BOOL CIniManager::SetWindowPlacement(std::string_view section, const WINDOWPLACEMENT& placement)
{
    CSettingsBatch batch;
    return batch.CommitWith(
        WriteInt(section, "wpl.flags", placement.flags) && WriteInt(section, "wpl.showCmd", placement.showCmd) &&
        WriteInt(section, "wpl.ptMinPosition.x", static_cast<UINT>(placement.ptMinPosition.x)) &&
        WriteInt(section, "wpl.ptMinPosition.y", static_cast<UINT>(placement.ptMinPosition.y)) &&
        WriteInt(section, "wpl.ptMaxPosition.x", static_cast<UINT>(placement.ptMaxPosition.x)) &&
        WriteInt(section, "wpl.ptMaxPosition.y", static_cast<UINT>(placement.ptMaxPosition.y)) &&
        SetWindowRect(section, placement.rcNormalPosition));
}

// ---------------------------------------------------------------- table columns

const char* CIniManager::GetTableSection(int nTableType)
{
    const TableSection* pTable = FindTableSection(nTableType);
    return pTable ? pTable->pszSection : "";
}

int CIniManager::GetDefaultColumnWidth(int nTableType, int nColumn)
{
    const TableSection* pTable = FindTableSection(nTableType);
    if (!pTable || nColumn < 0 || static_cast<std::size_t>(nColumn) >= pTable->widths.size())
        return DEFAULT_COLUMN_WIDTH;
    return *(pTable->widths.begin() + nColumn);
}

void CIniManager::GetColumnWidths(int nTableType, int n, int* pWidths)
{
    CSettingsBatch batch;
    if (!pWidths)
        return;
    const char* pszSection = GetTableSection(nTableType);
    for (int i = 0; i < n; ++i)
        pWidths[i] = ReadInt(pszSection, NumberedKey("Column", i), GetDefaultColumnWidth(nTableType, i));
}

BOOL CIniManager::SetColumnWidths(int nTableType, int n, const int* pWidths)
{
    if (!pWidths)
        return FALSE;
    const char* pszSection = GetTableSection(nTableType);
    CSettingsBatch batch;
    bool bWritten = true;
    for (int i = 0; i < n && bWritten; ++i)
        bWritten = WriteInt(pszSection, NumberedKey("Column", i).c_str(), static_cast<UINT>(pWidths[i]));
    return batch.CommitWith(bWritten);
}

void CIniManager::GetColumnPrefs(int nTableType, std::vector<WORD>& prefs)
{
    CSettingsBatch batch;
    const char* pszSection = GetTableSection(nTableType);
    for (std::size_t i = 0; i < prefs.size(); ++i)
        prefs[i] = static_cast<WORD>(ReadInt(pszSection, NumberedKey("Pref", static_cast<int>(i)), 0));
}

BOOL CIniManager::SetColumnPrefs(int nTableType, const std::vector<WORD>& prefs)
{
    if (prefs.empty() || prefs.size() > MAX_COLUMNS)
        return FALSE;
    const char* pszSection = GetTableSection(nTableType);
    CSettingsBatch batch;
    bool bWritten = true;
    for (std::size_t i = 0; i < prefs.size() && bWritten; ++i)
        bWritten = WriteInt(pszSection, NumberedKey("Pref", static_cast<int>(i)).c_str(), prefs[i]);
    return batch.CommitWith(bWritten);
}

template <class Position>
void CIniManager::ReadColumnPositions(int nTableType, int n, Position* pPositions)
{
    CSettingsBatch batch;
    if (!pPositions || n <= 0)
        return;
    if (n == 1) {
        // A single column has no order to keep.
        pPositions[0] = 0;
        return;
    }
    const char* pszSection = GetTableSection(nTableType);
    for (int i = 0; i < n; ++i)
        pPositions[i] = static_cast<Position>(ReadInt(pszSection, NumberedKey("Pos", i), i));
}

template <class Position>
BOOL CIniManager::WriteColumnPositions(int nTableType, int n, const Position* pPositions)
{
    if (!pPositions || n <= 1)
        return TRUE;
    const char* pszSection = GetTableSection(nTableType);
    CSettingsBatch batch;
    bool bWritten = true;
    for (int i = 0; i < n && bWritten; ++i)
        bWritten = WriteInt(pszSection, NumberedKey("Pos", i).c_str(), static_cast<UINT>(pPositions[i]));
    return batch.CommitWith(bWritten);
}

void CIniManager::GetColumnPositions(int nTableType, int n, int* pPositions)
{
    ReadColumnPositions(nTableType, n, pPositions);
}

void CIniManager::GetColumnPositionsShort(int nTableType, int n, WORD* pPositions)
{
    ReadColumnPositions(nTableType, n, pPositions);
}

BOOL CIniManager::SetColumnPositions(int nTableType, int n, const int* pPositions)
{
    return WriteColumnPositions(nTableType, n, pPositions);
}

BOOL CIniManager::SetColumnPositionsShort(int nTableType, int n, const WORD* pPositions)
{
    return WriteColumnPositions(nTableType, n, pPositions);
}
