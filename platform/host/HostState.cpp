#include "platform/host/HostState.h"

#include <cstdio>
#include <cstring>

namespace platform::host {

HRESULT CHostState::Enter(const char* pszKind, LONG nId, const char* pszMember)
{
    // Every call of the plug-in passes here: the texts are built once each,
    // and those for the faults only when there are faults.
    if (m_bCallLog) {
        std::string strCall;
        strCall.reserve(std::strlen(pszKind) + std::strlen(pszMember) + 13);
        strCall += pszKind;
        strCall += ':';
        strCall += std::to_string(nId);
        strCall += '.';
        strCall += pszMember;
        m_callLog.push_back(std::move(strCall));
    }
    if (m_faults.empty())
        return S_OK;
    const std::string strKind(pszKind);
    const std::string strObject = strKind + ":" + std::to_string(nId);
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
    // Built in one string: the plug-in logs thousands of lines per load.
    const std::string strLevel = std::to_string(nLevel);
    std::string strLine;
    strLine.reserve(strComponent.size() + strLevel.size() + strText.size() + 2);
    strLine += strComponent;
    strLine += '|';
    strLine += strLevel;
    strLine += '|';
    strLine += strText;
    if (m_bEchoLogger)
        std::fprintf(stderr, "%s%s", strLine.c_str(), strText.empty() || strText.back() != '\n' ? "\n" : "");
    m_loggerLines.push_back(std::move(strLine));
}

}  // namespace platform::host
