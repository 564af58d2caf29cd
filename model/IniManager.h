#pragma once
// The user-side settings of the editor, kept in one ini file: the profile of
// the application object. In standalone mode that is the ini file beside the
// launcher's log file, in plug-in mode the one beside this library. A few
// values come from the host instead of the file in plug-in mode, and a few
// are never read or written there.
//
// Integers are written as unsigned decimal text and read with the profile
// engine's integer reading; a missing key or file gives the default. Writers
// return nonzero on success; inside an outer CSettingsBatch they only hand
// their keys on, and the batch's commit tells. A write that fails is logged
// once per file, with its reason, and its keys are kept for a later write of
// the file (the close's included), as the profile engine keeps them; those
// still kept when the editor ends are logged as lost.

#include "access/FalconConnectionParams.h"
#include "platform/base/WinGeometry.h"
#include "platform/base/WinTypes.h"

#include <string>
#include <string_view>
#include <vector>

class CIniManager {
public:
    // A table has at most this many columns with settings of their own.
    static constexpr int MAX_COLUMNS = 14;
    // The width of a column that its table type lists no default for.
    static constexpr int DEFAULT_COLUMN_WIDTH = 80;

    CIniManager() = default;
    virtual ~CIniManager();

    CIniManager(const CIniManager&) = delete;
    CIniManager& operator=(const CIniManager&) = delete;

    // Standalone mode: the given ini path; plug-in mode: the ini file beside
    // this library.
    void SelectProfile(const char* pszIniPath);
    // Null: the ini file beside this library.
    void SetProfileName(const char* pszPath);
    // The library's ini file for a library at `modulePath`: its file name cut
    // at the first '.' and ".ini" appended, in the same folder. Empty for an
    // empty path.
    static std::string MakeProfileNameFromModulePath(std::string_view modulePath);
    // The current profile path, empty when none is chosen.
    static std::string GetProfileName();

    // Language of the user interface.
    LCID GetLanguage();
    BOOL SetLanguage(LCID lcid);

    // 2 or 3 as the project shows its group addresses.
    int GetGroupAddressLevels();
    BOOL SetGroupAddressLevels(int nLevels);

    int GetLogLevel();
    BOOL SetLogLevel(int nLevel);
    int GetLogEnabled();
    BOOL SetLogEnabled(int nEnabled);
    std::string GetCdiDllName();
    std::string GetLanguageFileName();
    BOOL SetLanguageFileName(const std::string& sFileName);
    // 1 and the file name when missing strings are to be logged, else 0 and
    // an empty name.
    int GetMissingStringsFile(std::string& sFileName);
    bool GetDebugMode();
    BOOL SetDebugMode(bool bDebugMode);
    int GetDaysInFirstWeek();
    int GetFirstDayOfWeek();
    BOOL GetShowToolbar();
    BOOL SetShowToolbar(BOOL bShow);
    BOOL GetShowStatusbar();
    BOOL SetShowStatusbar(BOOL bShow);
    int GetSplitterHorzDevided();
    BOOL SetSplitterHorzDevided(int nHorzDevided);
    void GetPaneSize(int& nWidth, int& nHeight);
    BOOL SetPaneSize(int nWidth, int nHeight);
    BOOL GetToolTips();
    BOOL SetToolTips(BOOL bToolTips);
    int GetLsmDownloadMode();

    // The bus-interface settings; writing happens in standalone mode only.
    void GetSerialCommunication(CFalconConnectionParams& params);
    BOOL SetSerialCommunication(const CFalconConnectionParams& params);

    void GetWindowRect(std::string_view section, RECT& rect);
    BOOL SetWindowRect(std::string_view section, const RECT& rect);
    void GetWindowPlacement(std::string_view section, WINDOWPLACEMENT& placement);
    BOOL SetWindowPlacement(std::string_view section, const WINDOWPLACEMENT& placement);

    // Column settings of a table type's section. Arrays hold n entries; a
    // null array is left alone.
    void GetColumnWidths(int nTableType, int n, int* pWidths);
    BOOL SetColumnWidths(int nTableType, int n, const int* pWidths);
    void GetColumnPrefs(int nTableType, std::vector<WORD>& prefs);
    BOOL SetColumnPrefs(int nTableType, const std::vector<WORD>& prefs);
    void GetColumnPositions(int nTableType, int n, int* pPositions);
    void GetColumnPositionsShort(int nTableType, int n, WORD* pPositions);
    BOOL SetColumnPositions(int nTableType, int n, const int* pPositions);
    BOOL SetColumnPositionsShort(int nTableType, int n, const WORD* pPositions);

    // The section of a table type, empty for a type without one.
    static const char* GetTableSection(int nTableType);
    // The default width of column nColumn (0-based) of a table type.
    static int GetDefaultColumnWidth(int nTableType, int nColumn);

    BOOL WriteInt(std::string_view section, const char* pszKey, UINT nValue);

    // What the engine noted of the file since the last call: that it is too
    // large to be a settings file, that it cannot be read, that a write
    // failed, that writes go without a lock; each once, in the log.
    static void LogProfileNotices(const std::string& sProfile);
    // At the editor's end: the settings kept after a failed write that no
    // write took on are lost; logged with their count, each end.
    static void DropKeptSettings();

private:
    // The column order of a table type, of int or WORD entries.
    template <class Position>
    void ReadColumnPositions(int nTableType, int n, Position* pPositions);
    template <class Position>
    BOOL WriteColumnPositions(int nTableType, int n, const Position* pPositions);

    int ReadInt(std::string_view section, std::string_view key, int nDefault);
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def,
                           std::size_t nBufferSize);
    BOOL WriteString(std::string_view section, const char* pszKey, const char* pszValue);
};

extern CIniManager g_IniManager;
