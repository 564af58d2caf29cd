#include "platform/host/HostState.h"

#include <cstdio>

namespace platform::host {

HRESULT CHostState::Enter(const char* pszKind, LONG nId, const char* pszMember)
{
    const std::string strKind(pszKind);
    const std::string strObject = strKind + ":" + std::to_string(nId);
    if (m_bCallLog)
        m_callLog.push_back(strObject + "." + pszMember);
    for (HostFault& fault : m_faults) {
        if (!fault.strObject.empty() && fault.strObject != strKind && fault.strObject != strObject)
            continue;
        if (!fault.strMember.empty() && fault.strMember != pszMember)
            continue;
        ++fault.nSeen;
        if (fault.nCall == 0 || fault.nSeen == fault.nCall)
            return fault.hr;
    }
    return S_OK;
}

IEtsPlugInEvents* CHostState::FindEventSink(LONG nDeviceId) const
{
    auto it = m_sinks.find(nDeviceId);
    if (it == m_sinks.end())
        it = m_sinks.find(-1);
    return it == m_sinks.end() ? nullptr : it->second.p;
}

void CHostState::AddLoggerLine(const std::string& strComponent, LONG nLevel, const std::string& strText)
{
    std::string strLine = strComponent + "|" + std::to_string(nLevel) + "|" + strText;
    if (m_bEchoLogger)
        std::fprintf(stderr, "%s%s", strLine.c_str(), strText.empty() || strText.back() != '\n' ? "\n" : "");
    m_loggerLines.push_back(std::move(strLine));
}

}  // namespace platform::host
