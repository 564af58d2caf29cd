#include "platform/bus/InterfaceSelector.h"

#include "platform/base/MessageBoxSink.h"
#include "platform/base/WinApp.h"
#include "platform/bus/MachineConnections.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace {

// A text that the record cannot hold.
constexpr HRESULT E_NOT_SUFFICIENT_BUFFER = MakeHResult(0x8007007Au);

// The connection the component last handed out in this process.
std::mutex s_lastMutex;
std::optional<Falcon::ConnectionEntry> s_oLastReturned;

Falcon::ConnectionEntry LastReturned()
{
    std::lock_guard lock(s_lastMutex);
    return s_oLastReturned.value_or(Falcon::ConnectionEntry {{}, GUID {}, {}});
}

// The connection the editor's settings name (the application's profile,
// where the editor keeps the connection it uses); nothing without one.
Falcon::ConnectionEntry ConnectionInSettings()
{
    Falcon::ConnectionEntry entry {{}, GUID {}, {}};
    const CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return entry;
    if (const std::optional<GUID> oGuid = platform::ParseGuid(pApp->GetProfileString("SerialCommunication", "Guid")))
        entry.guidInterface = *oGuid;
    entry.strParameter = pApp->GetProfileString("SerialCommunication", "ConnectionParam");
    return entry;
}

}  // namespace

void CInterfaceSelector::ForgetLastConnection()
{
    std::lock_guard lock(s_lastMutex);
    s_oLastReturned.reset();
}

bool CInterfaceSelector::FillRecord(const Falcon::ConnectionEntry& entry, Falcon::ConnectionRecord& record)
{
    Falcon::ConnectionRecord filled {};
    if (!Falcon::SetConnectionName(filled, entry.strName) ||
        !Falcon::SetConnectionParameter(filled, entry.strParameter))
        return false;
    filled.guidInterface = entry.guidInterface;
    record = filled;
    return true;
}

HRESULT CInterfaceSelector::GetConnectionCount(LONG* pnCount)
{
    if (!pnCount)
        return E_POINTER;
    try {
        *pnCount = static_cast<LONG>(Falcon::GetMachineConnections().size());
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CInterfaceSelector::GetConnection(LONG nIndex, Falcon::ConnectionRecord* pRecord)
{
    if (!pRecord)
        return E_POINTER;
    try {
        const std::vector<Falcon::ConnectionEntry> vecEntries = Falcon::GetMachineConnections();
        if (nIndex < 0 || static_cast<std::size_t>(nIndex) >= vecEntries.size())
            return E_INVALIDARG;
        return FillRecord(vecEntries[static_cast<std::size_t>(nIndex)], *pRecord) ? S_OK : E_NOT_SUFFICIENT_BUFFER;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CInterfaceSelector::CheckConnection(const Falcon::ConnectionRecord* pRecord)
{
    if (!pRecord)
        return E_POINTER;
    try {
        const Falcon::ConnectionEntry entry {Falcon::GetConnectionName(*pRecord), pRecord->guidInterface,
                                             Falcon::GetConnectionParameter(*pRecord), false};
        return Falcon::CheckConnectionEntry(entry) == Falcon::EConnectionProblem::None ? S_OK : S_FALSE;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CInterfaceSelector::put_OwnerWindow(HWND hOwner)
{
    m_hOwner = hOwner;
    return S_OK;
}

HRESULT CInterfaceSelector::get_OwnerWindow(HWND* phOwner)
{
    if (!phOwner)
        return E_POINTER;
    *phOwner = m_hOwner;
    return S_OK;
}

HRESULT CInterfaceSelector::put_Caption(BSTR bstrCaption)
{
    try {
        m_strCaption = platform::BstrToUtf8(bstrCaption);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CInterfaceSelector::get_Caption(BSTR* pbstrCaption)
{
    if (!pbstrCaption)
        return E_POINTER;
    *pbstrCaption = platform::BstrFromUtf8(m_strCaption);
    return *pbstrCaption ? S_OK : E_OUTOFMEMORY;
}

HRESULT CInterfaceSelector::SelectConnection(BSTR bstrInterface, LONG nPreselect, Falcon::ConnectionRecord* pRecord)
{
    if (!pRecord)
        return E_POINTER;
    // The chooser is foreign code: nothing it throws may cross the interface.
    try {
        return DoSelectConnection(bstrInterface, nPreselect, *pRecord);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT CInterfaceSelector::DoSelectConnection(BSTR bstrInterface, LONG nPreselect, Falcon::ConnectionRecord& record)
{
    std::vector<Falcon::ConnectionEntry> vecEntries = Falcon::GetMachineConnections();
    if (const std::string strFilter = platform::BstrToUtf8(bstrInterface); !strFilter.empty()) {
        const std::optional<GUID> oFilter = platform::ParseGuid(strFilter);
        if (!oFilter)
            return E_INVALIDARG;
        std::erase_if(vecEntries,
                      [&](const Falcon::ConnectionEntry& entry) { return entry.guidInterface != *oFilter; });
    }
    if (vecEntries.empty())
        return Falcon::E_NO_CONNECTION;

    std::size_t nSelected = 0;
    if (nPreselect == -1) {
        // The connection the record names, with the record's parameter. A
        // record that names none stands for the connection in use: the one
        // handed out last, else the one the settings name, so that looking
        // at the choice and confirming it changes nothing.
        for (const Falcon::ConnectionEntry& named : {Falcon::ConnectionEntry {Falcon::GetConnectionName(record),
                                                                              record.guidInterface,
                                                                              Falcon::GetConnectionParameter(record)},
                                                     LastReturned(), ConnectionInSettings()}) {
            if (platform::IsNullGuid(named.guidInterface))
                continue;
            const auto it = std::find_if(vecEntries.begin(), vecEntries.end(), [&](const Falcon::ConnectionEntry& e) {
                return e.guidInterface == named.guidInterface;
            });
            if (it == vecEntries.end())
                break;
            nSelected = static_cast<std::size_t>(it - vecEntries.begin());
            if (!named.strParameter.empty() && (it->bParameterIsStateFile || it->bParameterIsKnxdUrl))
                it->strParameter = named.strParameter;
            break;
        }
    } else if (nPreselect >= 0 && static_cast<std::size_t>(nPreselect) < vecEntries.size()) {
        nSelected = static_cast<std::size_t>(nPreselect);
    } else {
        return E_INVALIDARG;
    }

    Falcon::IConnectionChooser* pChooser = Falcon::GetConnectionChooser();
    if (!pChooser)
        return E_UNEXPECTED;
    Falcon::ConnectionChoice choice;
    choice.hOwner = m_hOwner ? m_hOwner : platform::GetActiveWindow();
    choice.strCaption = m_strCaption;
    choice.vecEntries = vecEntries;
    choice.nSelected = static_cast<int>(nSelected);
    choice.fnCheck = &Falcon::CheckConnectionEntry;
    if (!pChooser->ChooseConnection(choice))
        return S_FALSE;

    if (choice.nSelected < 0 || static_cast<std::size_t>(choice.nSelected) >= vecEntries.size() ||
        choice.vecEntries.size() != vecEntries.size())
        return E_UNEXPECTED;
    // Only a state file's path and a knxd URL are the user's to change; name
    // and interface stay as offered.
    Falcon::ConnectionEntry chosen = vecEntries[static_cast<std::size_t>(choice.nSelected)];
    const std::string& strEdited = choice.vecEntries[static_cast<std::size_t>(choice.nSelected)].strParameter;
    if (chosen.bParameterIsStateFile)
        chosen.strParameter = Falcon::NormalizeStateFilePath(strEdited);
    else if (chosen.bParameterIsKnxdUrl)
        chosen.strParameter = strEdited;
    if (Falcon::CheckConnectionEntry(chosen) != Falcon::EConnectionProblem::None)
        return E_INVALIDARG;
    Falcon::ConnectionRecord filled {};
    if (!FillRecord(chosen, filled))
        return E_NOT_SUFFICIENT_BUFFER;
    if (chosen.bParameterIsStateFile && !Falcon::MakeStateFileFolder(chosen.strParameter))
        return Falcon::E_STATE_FOLDER;
    record = filled;
    std::lock_guard lock(s_lastMutex);
    s_oLastReturned = chosen;
    return S_OK;
}
