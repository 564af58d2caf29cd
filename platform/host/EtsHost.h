#pragma once
// The host tool stand-in: one project database in memory, loaded from and
// saved to a JSON project file (PROJECT_FORMAT.md), reached by plug-ins
// through the object model of EtsObjectModel.h. For tests it injects faults
// into any call of the object model, keeps a log of the calls, and calls the
// device's plug-in synchronously when an association is added, as the real
// host does.
//
// One host serves the program it lives in; RegisterServiceClasses makes its
// logger, localisation and formatting objects creatable by class id.

#include "platform/com/ComPtr.h"
#include "platform/host/EtsObjectModel.h"
#include "platform/host/EtsPlugIn.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform::host {

class CHostState;

class CEtsHost {
public:
    // An empty database (no projects).
    CEtsHost();
    ~CEtsHost();
    CEtsHost(const CEtsHost&) = delete;
    CEtsHost& operator=(const CEtsHost&) = delete;

    // ---- the project file --------------------------------------------------------

    // Replaces the database by the file's; false (database unchanged) with a
    // message when the file cannot be read or is not a project file.
    bool LoadFile(const std::string& strPath, std::string* pError = nullptr);
    bool LoadText(std::string_view text, std::string* pError = nullptr);
    // Writes the database atomically and clears the changed flag.
    bool SaveFile(const std::string& strPath, std::string* pError = nullptr);
    std::string SaveText() const;
    // Whether the project differs from what was last loaded or saved. The
    // id counter alone is no difference: ids handed out for objects that
    // did not stay do not make the project worth writing.
    bool IsModified() const;

    // ---- objects -------------------------------------------------------------------------

    CComPtr<IEtsProjectDatabase> GetDatabase();
    // Any object of the database by its persistence id; null when none.
    CComPtr<IUnknown> FindObject(LONG nId);
    CComPtr<IEtsDevice> FindDevice(LONG nId);
    // The ids of every device, in project and device order.
    std::vector<LONG> GetDeviceIds() const;
    // The device's communication object with that number; null when none.
    CComPtr<IEtsCommObject> FindCommObject(LONG nDeviceId, LONG nNumber);

    // ---- plug-in events ------------------------------------------------------------------

    // The plug-in that hears of association changes of a device (-1: of
    // every device without one of its own); null removes it.
    void SetPlugInEvents(IEtsPlugInEvents* pEvents, LONG nDeviceId = -1);

    // ---- faults and the call log -----------------------------------------------------------

    // Makes calls fail with `hr`. `strObject` is "" (any object), a kind
    // ("Device", "GroupAddress", "Associations", ...) or a kind and id
    // ("CommObject:1234"); collections carry their owner's id. `strMember`
    // is "" (any) or the method ("get_Address", "Item", "GetProperty(Visible)").
    // nCall 0 fails every matching call, n > 0 only the n-th matching one.
    void AddFault(const std::string& strObject, const std::string& strMember, HRESULT hr, int nCall = 0);
    void ClearFaults();
    // Every call as "Kind:id.Member", in order; association events as
    // "Event:deviceId.OnAddAssociation".
    const std::vector<std::string>& GetCallLog() const;
    void ClearCallLog();
    // Counts the calls whose log entry ends with ".Member" (or equals the
    // whole text when it holds a '.').
    std::size_t CountCalls(const std::string& strMember) const;

    // ---- services -------------------------------------------------------------------------------

    // The host's user-interface language (1031 at start).
    void SetLanguage(LCID lcid);
    LCID GetLanguage() const;
    int GetGroupAddressLevels() const;
    void SetGroupAddressLevels(int nLevels);
    // The logger object wants the levels up to this one (6 at start).
    void SetLoggerLevel(int nLevel);
    // Lines the logger received, "component|level|text"; copied to the
    // standard error stream too when asked.
    const std::vector<std::string>& GetLoggerLines() const;
    void ClearLoggerLines();
    void SetEchoLogger(bool bEcho);

    // Serves the logger, localisation and formatting classes from this host
    // in the process's class table until RevokeServiceClasses or the end.
    void RegisterServiceClasses();
    void RevokeServiceClasses();

    std::shared_ptr<CHostState> GetState() const { return m_pState; }

private:
    std::shared_ptr<CHostState> m_pState;
    std::vector<DWORD> m_serviceCookies;
};

}  // namespace platform::host
