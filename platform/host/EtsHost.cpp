#include "platform/host/EtsHost.h"

#include "platform/base/AtomicFile.h"
#include "platform/com/ComActivation.h"
#include "platform/host/HostObjects.h"
#include "platform/host/HostProjectFile.h"
#include "platform/host/HostServices.h"
#include "platform/host/HostState.h"

#include <cerrno>
#include <cstring>

namespace platform::host {

namespace {

// A new view of the node as IUnknown.
template <class Itf, class Node>
CComPtr<IUnknown> AsUnknown(HRESULT (*create)(const HostStatePtr&, const std::shared_ptr<Node>&, Itf**),
                            const HostStatePtr& pState, const std::shared_ptr<Node>& pNode)
{
    CComPtr<Itf> pView;
    CComPtr<IUnknown> pUnknown;
    if (SUCCEEDED(create(pState, pNode, &pView.p)) && pView)
        pUnknown = static_cast<IUnknown*>(pView.p);
    return pUnknown;
}

}  // namespace

CEtsHost::CEtsHost() : m_pState(std::make_shared<CHostState>()) {}

CEtsHost::~CEtsHost()
{
    RevokeServiceClasses();
    // The sinks are plug-in objects; let them go while the plug-in is alive.
    m_pState->m_sinks.clear();
}

namespace {

// Why a file could not be read or written, for the user.
std::string Reason(int nErrno)
{
    return nErrno == EINVAL ? std::string("not a regular file") : std::string(std::strerror(nErrno));
}

}  // namespace

bool CEtsHost::LoadFile(const std::string& strPath, std::string* pError)
{
    // Refused before it is read: the parser needs many times a file's size.
    auto bytes = platform::ReadWholeFile(strPath, kMaxProjectFileSize);
    if (!bytes) {
        const int nErrno = errno;
        if (pError)
            *pError = "cannot read " + strPath + ": " + (nErrno == EFBIG ? kszProjectFileTooLarge : Reason(nErrno));
        return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        // Said plainly: the parser's words for it are about its input.
        if (pError)
            *pError = strPath + ": the file is empty";
        return false;
    }
    std::string strError;
    if (!LoadText(text, &strError)) {
        if (pError)
            *pError = strPath + ": " + strError;
        return false;
    }
    return true;
}

bool CEtsHost::LoadText(std::string_view text, std::string* pError)
{
    std::string strError;
    if (!ParseHostProject(text, m_pState->m_data, strError)) {
        if (pError)
            *pError = strError;
        return false;
    }
    m_pState->m_bModified = false;
    m_pState->m_strSavedContent = FormatHostProjectContent(m_pState->m_data);
    return true;
}

bool CEtsHost::SaveFile(const std::string& strPath, std::string* pError)
{
    if (!platform::WriteFileAtomically(strPath, SaveText())) {
        const int nErrno = errno;
        if (pError)
            *pError = "cannot write " + strPath + ": " + Reason(nErrno);
        return false;
    }
    m_pState->m_bModified = false;
    m_pState->m_strSavedContent = FormatHostProjectContent(m_pState->m_data);
    return true;
}

std::string CEtsHost::SaveText() const
{
    return FormatHostProject(m_pState->m_data);
}

bool CEtsHost::IsModified() const
{
    return m_pState->m_bModified && FormatHostProjectContent(m_pState->m_data) != m_pState->m_strSavedContent;
}

CComPtr<IEtsProjectDatabase> CEtsHost::GetDatabase()
{
    CComPtr<IEtsProjectDatabase> pDatabase;
    CreateDatabaseView(m_pState, &pDatabase.p);
    return pDatabase;
}

CComPtr<IUnknown> CEtsHost::FindObject(LONG nId)
{
    for (const auto& pProject : m_pState->m_data.projects) {
        if (pProject->nId == nId)
            return AsUnknown(&CreateProjectView, m_pState, pProject);
        for (const auto& pMain : pProject->mainGroups) {
            if (pMain->nId == nId)
                return AsUnknown(&CreateMainGroupView, m_pState, pMain);
            for (const auto& pMiddle : pMain->middleGroups) {
                if (pMiddle->nId == nId)
                    return AsUnknown(&CreateMiddleGroupView, m_pState, pMiddle);
                for (const auto& pSub : pMiddle->groupAddresses)
                    if (pSub->nId == nId)
                        return AsUnknown(&CreateGroupAddressView, m_pState, pSub);
            }
        }
        for (const auto& pDevice : pProject->devices) {
            if (pDevice->nId == nId)
                return AsUnknown(&CreateDeviceView, m_pState, pDevice);
            for (const auto& pParameter : pDevice->parameters)
                if (pParameter->nId == nId)
                    return AsUnknown(&CreateParameterView, m_pState, pParameter);
            for (const auto& pObject : pDevice->commObjects) {
                if (pObject->nId == nId)
                    return AsUnknown(&CreateCommObjectView, m_pState, pObject);
                for (const auto& pAssociation : pObject->associations)
                    if (pAssociation->nId == nId)
                        return AsUnknown(&CreateAssociationView, m_pState, pAssociation);
            }
        }
    }
    return nullptr;
}

CComPtr<IEtsDevice> CEtsHost::FindDevice(LONG nId)
{
    CComPtr<IEtsDevice> pDevice;
    if (CComPtr<IUnknown> pObject = FindObject(nId))
        pObject->QueryInterface(&pDevice.p);
    return pDevice;
}

std::vector<LONG> CEtsHost::GetDeviceIds() const
{
    std::vector<LONG> ids;
    for (const auto& pProject : m_pState->m_data.projects)
        for (const auto& pDevice : pProject->devices)
            ids.push_back(pDevice->nId);
    return ids;
}

CComPtr<IEtsCommObject> CEtsHost::FindCommObject(LONG nDeviceId, LONG nNumber)
{
    CComPtr<IEtsCommObject> pView;
    for (const auto& pProject : m_pState->m_data.projects)
        for (const auto& pDevice : pProject->devices)
            if (pDevice->nId == nDeviceId)
                for (const auto& pObject : pDevice->commObjects)
                    if (pObject->nNumber == nNumber) {
                        CreateCommObjectView(m_pState, pObject, &pView.p);
                        return pView;
                    }
    return pView;
}

void CEtsHost::SetPlugInEvents(IEtsPlugInEvents* pEvents, LONG nDeviceId)
{
    if (pEvents)
        m_pState->m_sinks[nDeviceId] = pEvents;
    else
        m_pState->m_sinks.erase(nDeviceId);
}

void CEtsHost::AddFault(const std::string& strObject, const std::string& strMember, HRESULT hr, int nCall)
{
    HostFault fault;
    fault.strObject = strObject;
    fault.strMember = strMember;
    fault.hr = hr;
    fault.nCall = nCall;
    m_pState->m_faults.push_back(fault);
}

void CEtsHost::ClearFaults()
{
    m_pState->m_faults.clear();
}

const std::vector<std::string>& CEtsHost::GetCallLog() const
{
    return m_pState->m_callLog;
}

void CEtsHost::ClearCallLog()
{
    m_pState->m_callLog.clear();
}

std::size_t CEtsHost::CountCalls(const std::string& strMember) const
{
    std::size_t nCount = 0;
    const bool bWhole = strMember.find('.') != std::string::npos;
    const std::string strSuffix = "." + strMember;
    for (const std::string& strCall : m_pState->m_callLog) {
        if (bWhole ? strCall == strMember
                   : strCall.size() >= strSuffix.size() &&
                         strCall.compare(strCall.size() - strSuffix.size(), strSuffix.size(), strSuffix) == 0)
            ++nCount;
    }
    return nCount;
}

void CEtsHost::SetLanguage(LCID lcid)
{
    m_pState->m_lcid = lcid;
}

LCID CEtsHost::GetLanguage() const
{
    return m_pState->m_lcid;
}

int CEtsHost::GetGroupAddressLevels() const
{
    return m_pState->m_data.nGroupAddressLevels;
}

void CEtsHost::SetGroupAddressLevels(int nLevels)
{
    m_pState->m_data.nGroupAddressLevels = nLevels == 2 ? 2 : 3;
}

void CEtsHost::SetLoggerLevel(int nLevel)
{
    m_pState->m_nLoggerLevel = nLevel;
}

const std::vector<std::string>& CEtsHost::GetLoggerLines() const
{
    return m_pState->m_loggerLines;
}

void CEtsHost::ClearLoggerLines()
{
    m_pState->m_loggerLines.clear();
}

void CEtsHost::SetEchoLogger(bool bEcho)
{
    m_pState->m_bEchoLogger = bEcho;
}

void CEtsHost::RegisterServiceClasses()
{
    RevokeServiceClasses();
    std::shared_ptr<CHostState> pState = m_pState;
    auto serve = [pState](HRESULT (*create)(const std::shared_ptr<CHostState>&, REFIID, void**)) {
        return [pState, create](IUnknown* pOuter, REFIID riid, void** ppv) -> HRESULT {
            if (ppv)
                *ppv = nullptr;
            if (pOuter)
                return CLASS_E_NOAGGREGATION;
            return create(pState, riid, ppv);
        };
    };
    m_serviceCookies.push_back(CoRegisterInprocClass(CLSID_EtsLogger, "ETS.Logger", serve(&CreateLoggerObject)));
    m_serviceCookies.push_back(
        CoRegisterInprocClass(CLSID_EtsLocalisation, "ETS.Localisation", serve(&CreateLocalisationObject)));
    m_serviceCookies.push_back(
        CoRegisterInprocClass(CLSID_EtsFormatting, "ETS.Formatting", serve(&CreateFormattingObject)));
}

void CEtsHost::RevokeServiceClasses()
{
    for (DWORD dwCookie : m_serviceCookies)
        CoRevokeInprocClass(dwCookie);
    m_serviceCookies.clear();
}

}  // namespace platform::host
