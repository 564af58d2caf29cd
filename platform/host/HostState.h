#pragma once
// What every object of the host stand-in shares: the project data, the
// plug-ins' event sinks, the injected faults, the call log and the service
// settings (language, logger).

#include "platform/com/ComPtr.h"
#include "platform/host/EtsPlugIn.h"
#include "platform/host/HostNodes.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace platform::host {

// One injected fault. The object is "" (any), a kind ("GroupAddress") or a
// kind and id ("GroupAddress:12"); the member is "" (any) or a method name
// ("get_Address"). With nCall 0 every matching call fails; with n > 0 only
// the n-th matching call after the fault was added.
struct HostFault {
    std::string strObject;
    std::string strMember;
    HRESULT hr = E_FAIL;
    int nCall = 0;
    int nSeen = 0;
};

class CHostState {
public:
    // Every call of a project object begins here: it is logged as
    // "Kind:id.Member" and answered with an injected fault when one matches.
    HRESULT Enter(const char* pszKind, LONG nId, const char* pszMember);

    LONG NewId() { return m_data.nNextId++; }
    void SetModified() { m_bModified = true; }

    // The sink for the device's events: the one registered for the device,
    // else the one registered for every device (-1); null when none.
    IEtsPlugInEvents* FindEventSink(LONG nDeviceId) const;

    // Lines the logger object received, "component|level|text".
    void AddLoggerLine(const std::string& strComponent, LONG nLevel, const std::string& strText);

    HostData m_data;
    // Set by every change made through the object model.
    bool m_bModified = false;
    // The project as last loaded or saved, without the id counter
    // (FormatHostProjectContent): a change undone again, or ids handed out
    // for objects that came and went, leave the project unchanged.
    std::string m_strSavedContent;
    LCID m_lcid = 1031;
    int m_nLoggerLevel = 6;  // levels up to this one are wanted
    bool m_bEchoLogger = false;
    std::vector<std::string> m_loggerLines;
    bool m_bCallLog = true;
    std::vector<std::string> m_callLog;
    std::vector<HostFault> m_faults;
    std::map<LONG, CComPtr<IEtsPlugInEvents>> m_sinks;
};

}  // namespace platform::host
