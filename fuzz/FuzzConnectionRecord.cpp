// The 1172-byte connection record of the bus interface selection on
// arbitrary bytes (a shorter input is the start of a record, the rest
// zero): its texts read within their fields, the component's check of it,
// a selection that starts from it (cancelled, or confirmed when its state
// file lies in the fuzzing folder), and what the main window does with a
// chosen record: the settings written to the ini file must read back as
// they were chosen.
//
// Home and working folder are the fuzzing folder, so that relative and "~"
// paths stay there; paths into /proc, /sys and /dev are not followed.

#include "access/FalconConnectionParams.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzConnectionParams.h"
#include "fuzz/FuzzFiles.h"
#include "model/IniManager.h"
#include "common/Globals.h"
#include "platform/base/WinApp.h"
#include "platform/bus/ConnectionChooser.h"
#include "platform/bus/InterfaceSelection.h"
#include "platform/bus/InterfaceSelectionClass.h"
#include "platform/bus/MachineConnections.h"
#include "platform/com/ComActivation.h"
#include "platform/com/Bstr.h"
#include "platform/com/ComBSTR.h"
#include "platform/com/ComPtr.h"

#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using Falcon::ConnectionRecord;

bool IsInsideFuzzFolder(const std::string& strPath)
{
    const std::string strFolder = fuzzfiles::Folder().string() + "/";
    return strPath.compare(0, strFolder.size(), strFolder) == 0 && strPath.find("/..") == std::string::npos;
}

bool IsSystemPath(const std::string& strPath)
{
    // The fuzzing folder itself may lie on /dev/shm.
    if (IsInsideFuzzFolder(strPath))
        return false;
    for (const char* pszPrefix : {"/proc", "/sys", "/dev"})
        if (strPath.compare(0, std::strlen(pszPrefix), pszPrefix) == 0)
            return true;
    return false;
}

// Checks what it is offered as the dialog would, and takes it only when the
// state file lies in the fuzzing folder (a confirmed choice makes its
// folder).
class CFuzzChooser : public Falcon::IConnectionChooser {
public:
    bool ChooseConnection(Falcon::ConnectionChoice& choice) override
    {
        FUZZ_CHECK(choice.nSelected >= 0 && static_cast<std::size_t>(choice.nSelected) < choice.vecEntries.size());
        const Falcon::ConnectionEntry& entry = choice.vecEntries[static_cast<std::size_t>(choice.nSelected)];
        const std::string strPath = Falcon::NormalizeStateFilePath(entry.strParameter);
        if (!m_bConfirm || !IsInsideFuzzFolder(strPath))
            return false;
        return choice.fnCheck(entry) == Falcon::EConnectionProblem::None;
    }

    bool m_bConfirm = false;
};

// What the main window keeps of a chosen record, written to its settings and
// read back.
void KeepInSettings(const ConnectionRecord& record)
{
    CFalconConnectionParams params;
    params.SetConnectionName(Falcon::GetConnectionName(record));
    params.SetGuid(record.guidInterface);
    params.SetConnectionParam(Falcon::GetConnectionParameter(record));
    CWinApp app;
    app.SetProfileName(fuzzfiles::PathOf("settings.ini"));
    ::unlink(app.GetProfileName().c_str());
    const bool bStandalone = g_bStandalone;
    g_bStandalone = true;
    if (g_IniManager.SetSerialCommunication(params)) {
        CFalconConnectionParams read;
        g_IniManager.GetSerialCommunication(read);
        if (!(read == params))
            fuzzfiles::PrintMismatch(params, read);
        FUZZ_CHECK(read == params);
    }
    g_bStandalone = bStandalone;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const std::string strFolder = fuzzfiles::Folder().string();
    ::setenv("HOME", strFolder.c_str(), 1);
    ::setenv("CHRONO_DEVICE_STATE", (strFolder + "/device.state").c_str(), 1);
    ::setenv("CHRONO_REGISTRY_FILE", (strFolder + "/registry.json").c_str(), 1);
    FUZZ_CHECK(::chdir(strFolder.c_str()) == 0);
    FUZZ_CHECK(SUCCEEDED(RegisterInterfaceSelectionClass()));
    return 0;
}

// Folders a confirmed selection made go again, so they do not pile up.
static void ClearFuzzFolder()
{
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(fuzzfiles::Folder(), ec))
        std::filesystem::remove_all(entry.path(), ec);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    if (nSize > sizeof(ConnectionRecord))
        return 0;
    ClearFuzzFolder();
    ConnectionRecord record {};
    std::memcpy(&record, pData, nSize);

    // The texts stay within their fields; one that leaves room for its zero
    // writes back unchanged.
    const std::string strName = Falcon::GetConnectionName(record);
    const std::string strParameter = Falcon::GetConnectionParameter(record);
    const std::size_t nNameUnits = platform::Utf8ToOleString(strName).size();
    const std::size_t nParameterUnits = platform::Utf8ToOleString(strParameter).size();
    FUZZ_CHECK(nNameUnits <= ConnectionRecord::kNameLength && nParameterUnits <= ConnectionRecord::kParameterLength);
    ConnectionRecord copy {};
    FUZZ_CHECK(Falcon::SetConnectionName(copy, strName) == (nNameUnits <= Falcon::kMaxConnectionNameUnits));
    FUZZ_CHECK(Falcon::SetConnectionParameter(copy, strParameter) ==
               (nParameterUnits <= Falcon::kMaxConnectionParameterUnits));
    if (nNameUnits <= Falcon::kMaxConnectionNameUnits)
        FUZZ_CHECK(Falcon::GetConnectionName(copy) == strName);
    if (nParameterUnits <= Falcon::kMaxConnectionParameterUnits)
        FUZZ_CHECK(Falcon::GetConnectionParameter(copy) == strParameter);

    CComPtr<Falcon::IInterfaceSelection> pSelection;
    FUZZ_CHECK(SUCCEEDED(pSelection.CoCreateInstance(Falcon::CLSID_InterfaceSelection, nullptr, CLSCTX_ALL)) &&
          pSelection);
    CFuzzChooser chooser;
    Falcon::IConnectionChooser* pPrevious = Falcon::SetConnectionChooser(&chooser);
    const std::string strNormalized = Falcon::NormalizeStateFilePath(strParameter);
    if (!IsSystemPath(strNormalized)) {
        const HRESULT hrCheck = pSelection->CheckConnection(&record);
        FUZZ_CHECK(hrCheck == S_OK || hrCheck == S_FALSE);

        // Cancelled: the record stays as it was.
        ConnectionRecord selected = record;
        CComBSTR bstrEmpty("");
        HRESULT hr = pSelection->SelectConnection(bstrEmpty, -1, &selected);
        FUZZ_CHECK(hr == S_FALSE && std::memcmp(&selected, &record, sizeof record) == 0);

        // Confirmed where the state file may be made.
        chooser.m_bConfirm = true;
        hr = pSelection->SelectConnection(bstrEmpty, -1, &selected);
        if (hr == S_OK) {
            FUZZ_CHECK(!Falcon::GetConnectionName(selected).empty() && !Falcon::GetConnectionParameter(selected).empty());
            FUZZ_CHECK(pSelection->CheckConnection(&selected) == S_OK);
            KeepInSettings(selected);
        } else {
            FUZZ_CHECK(std::memcmp(&selected, &record, sizeof record) == 0);
        }
    }
    Falcon::SetConnectionChooser(pPrevious);

    // The main window keeps any record with a name and a parameter.
    if (!strName.empty() && !strParameter.empty())
        KeepInSettings(record);
    return 0;
}
