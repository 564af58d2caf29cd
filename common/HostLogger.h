#pragma once
// The host's logger as a log target of a plug-in run. The host decides per
// level whether it wants lines; lines reach it cut to 255 characters.
//
// The host object itself lies outside the system. IHostLogger is what this
// system uses of it; the COM layer adapts the real object (class
// kClsidHostLogger, interface kIidHostLogger, naming interface
// kIidHostLoggerName) and installs a creator, so that a CHostLogger made by
// name alone can create it. Without a creator, or when it gives nothing, the
// logger stays empty and drops every line.

#include "platform/base/WinTypes.h"

#include <functional>
#include <memory>
#include <string>

inline constexpr char kClsidHostLogger[] = "{7525BFB6-F4C1-11D3-B29A-00104B091E6B}";
inline constexpr char kIidHostLogger[] = "{C95E37E8-F4E3-11D3-B29A-00104B091E6B}";
inline constexpr char kIidHostLoggerName[] = "{7525BFB5-F4C1-11D3-B29A-00104B091E6B}";

class IHostLogger {
public:
    virtual ~IHostLogger() = default;

    // Hands one line (narrow text) to the host at the level.
    virtual HRESULT Log(LONG nLevel, const char* pszText) = 0;
    // Whether the host wants lines of the level: nonzero = wanted.
    virtual HRESULT IsEnabled(LONG nLevel, SHORT& nEnabled) = 0;
    // Names the component the lines come from; E_NOINTERFACE when the
    // object has no naming interface.
    virtual HRESULT SetName(const std::string& strName) = 0;
};

// The object is shared: the creator decides how it is released (the COM
// layer releases its reference when the last holder lets go).
using HostLoggerCreator = std::function<std::shared_ptr<IHostLogger>()>;

// Installs the creator (an empty one removes it); gives back the one before.
HostLoggerCreator SetHostLoggerCreator(HostLoggerCreator creator);

class CHostLogger {
public:
    // Creates the host's logger object through the installed creator and,
    // with a name, names it. Failures leave the logger empty or unnamed and
    // are not reported.
    explicit CHostLogger(const char* pszName);
    // Uses the given object (may be null) and names it when a name is given.
    CHostLogger(std::shared_ptr<IHostLogger> pLogger, const char* pszName);
    ~CHostLogger();

    CHostLogger(const CHostLogger&) = delete;
    CHostLogger& operator=(const CHostLogger&) = delete;

    // The host's object, null when it could not be created.
    IHostLogger* GetLogger() const { return m_pLogger.get(); }

private:
    std::shared_ptr<IHostLogger> m_pLogger;
};

// The host logger of the plug-in run in progress, null otherwise.
extern CHostLogger* g_pHostLogger;

// Asks the host whether it wants the level and, only then, formats the line
// into 256 characters (cut at 255) and hands it over. Nothing when the
// logger or its object is null or the level is not wanted.
void HostLogPrintf(CHostLogger* pLogger, int nLevel, const char* format, ...) __attribute__((format(printf, 3, 4)));

// The same for the line "<marker><text>\n", copied rather than formatted.
void HostLogLine(CHostLogger* pLogger, int nLevel, const char* pszMarker, const char* pszText);
