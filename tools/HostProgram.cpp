// The host tool's stand-in as a program: it opens a project file, creates the
// device plug-in (DeviceUI2) through the object layer and lets it edit one
// device of the project, as the host's user would start it; or it adds an
// association to a device's communication object the way the host's user
// does, which the plug-in may refuse.
//
//   etshost [options] PROJECT edit [DEVICE-ID]
//   etshost [options] PROJECT associate DEVICE-ID OBJECT-NUMBER GROUP-ADDRESS
//   etshost [options] PROJECT list
//
// GROUP-ADDRESS is a group address's id or its "main/middle/sub" numbers.
// The project file is saved when the plug-in changed anything. When that
// fails after an editing run, the user is asked for another file, so that
// the edits are not lost (without a display standard error alone tells).

#include "platform/base/FileDialogService.h"
#include "platform/base/FileSizeLimit.h"
#include "platform/base/MessageBoxSink.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/ResourceModule.h"
#include "platform/base/WinTypes.h"
#include "platform/com/ComActivation.h"
#include "platform/com/ComBSTR.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ComRuntime.h"
#include "platform/com/ComVariant.h"
#include "platform/host/EtsHost.h"
#include "platform/host/EtsObjectModel.h"
#include "platform/host/EtsPlugIn.h"
#include "platform/host/HostTopWindow.h"
#include "platform/ui/ApplicationGuard.h"
#include "platform/ui/QtFileDialogService.h"
#include "platform/ui/QtMessageBoxSink.h"
#include "tools/CommandLine.h"
#include "tools/HostProjectSaver.h"
#include "tools/ModuleRegistration.h"

#ifdef CHRONO_HOST_WITH_BUS
#include "platform/bus/DeviceManagementHook.h"
#endif

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

// The plug-in's class: by its ProgID when registered so, else the built-in id.
constexpr char kDefaultProgId[] = "Vek_ZR01.DeviceUI2";
constexpr CLSID kDefaultClsid = platform::MakeGuid("{712CC3F3-3BAB-4646-9EC4-0725857FDF6F}");

// The device type the plug-in edits.
constexpr LONG kPlugInManufacturer = 2;
constexpr LONG kPlugInDeviceType = 0x2101;

constexpr int kExitOk = 0;
constexpr int kExitError = 1;
constexpr int kExitUsage = 2;
constexpr int kExitRefused = 4;

struct Options {
    std::string strModule;      // register this plug-in library first
    std::string strClassId;     // a class id or ProgID instead of the default
    std::string strDeviceState; // the simulated device's state file
    LCID lcid = 1031;
    bool bEchoLog = false;
    std::string strProject;
    std::string strCommand;
    std::vector<std::string> args;
};

int Usage()
{
    std::fprintf(stderr,
                 "usage: etshost [options] PROJECT edit [DEVICE-ID]\n"
                 "       etshost [options] PROJECT associate DEVICE-ID OBJECT-NUMBER GROUP-ADDRESS\n"
                 "       etshost [options] PROJECT list\n"
                 "options:\n"
                 "  --module PATH        register the plug-in library at PATH before creating it\n"
                 "  --class ID|PROGID    the plug-in's class (default %s)\n"
                 "  --language LCID      the host's user-interface language (default 1031)\n"
                 "  --device-state FILE  the simulated device behind live connections\n"
                 "  --log                copy the plug-in's log lines to standard error\n",
                 kDefaultProgId);
    return kExitUsage;
}

bool ParseOptions(int argc, char** argv, Options& options)
{
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string strArg = argv[i];
        // A path that is an option is one left out.
        auto value = [&](std::string& strTarget) {
            if (i + 1 >= argc || IsOptionArgument(argv[i + 1]))
                return false;
            strTarget = argv[++i];
            return true;
        };
        if (strArg == "--module") {
            if (!value(options.strModule))
                return false;
        } else if (strArg == "--class") {
            if (!value(options.strClassId))
                return false;
        } else if (strArg == "--device-state") {
            if (!value(options.strDeviceState))
                return false;
        } else if (strArg == "--language") {
            std::string strLcid;
            if (!value(strLcid))
                return false;
            options.lcid = static_cast<LCID>(std::strtoul(strLcid.c_str(), nullptr, 0));
        } else if (strArg == "--log") {
            options.bEchoLog = true;
        } else if (IsOptionArgument(argv[i]) && !std::isdigit(static_cast<unsigned char>(argv[i][1]))) {
            // Unknown; a negative number is an argument.
            return false;
        } else {
            positional.push_back(strArg);
        }
    }
    if (positional.size() < 2)
        return false;
    options.strProject = positional[0];
    options.strCommand = positional[1];
    options.args.assign(positional.begin() + 2, positional.end());
    return true;
}

std::optional<LONG> ParseNumber(const std::string& strText)
{
    if (strText.empty())
        return std::nullopt;
    char* pszEnd = nullptr;
    const long nValue = std::strtol(strText.c_str(), &pszEnd, 0);
    if (*pszEnd != '\0')
        return std::nullopt;
    return static_cast<LONG>(nValue);
}

std::string Text(BSTR bstr)
{
    std::string strText = platform::BstrToUtf8(bstr);
    SysFreeString(bstr);
    return strText;
}

// Calls the library's own registration, as the registration program does.
bool RegisterModule(const std::string& strModule)
{
    return SUCCEEDED(CallModuleRegistration("etshost", strModule, "DllRegisterServer"));
}

HRESULT CreatePlugIn(const Options& options, CComPtr<IEtsPlugInUI>& pPlugIn)
{
    CLSID clsid = kDefaultClsid;
    if (!options.strClassId.empty()) {
        if (FAILED(CLSIDFromString(options.strClassId, &clsid)) &&
            FAILED(CLSIDFromProgID(options.strClassId, &clsid))) {
            std::fprintf(stderr, "etshost: %s names no class\n", options.strClassId.c_str());
            return CO_E_CLASSSTRING;
        }
    } else if (FAILED(CLSIDFromProgID(kDefaultProgId, &clsid))) {
        clsid = kDefaultClsid;
    }
    HRESULT hr = pPlugIn.CoCreateInstance(clsid);
    if (FAILED(hr)) {
        std::fprintf(stderr, "etshost: cannot create the plug-in hr=0x%08X%s%s\n", static_cast<unsigned>(hr),
                     CoGetLastLoadError().empty() ? "" : ": ", CoGetLastLoadError().c_str());
        if (hr == REGDB_E_CLASSNOTREG)
            std::fprintf(stderr, "etshost: register it with regsvr or give --module PATH\n");
    }
    return hr;
}

// The device to edit: the one asked for, else the first of the plug-in's
// device type, else the first device.
LONG ChooseDevice(platform::host::CEtsHost& host, const std::vector<std::string>& args)
{
    if (!args.empty())
        return ParseNumber(args[0]).value_or(-1);
    const std::vector<LONG> ids = host.GetDeviceIds();
    for (LONG nId : ids) {
        CComPtr<IEtsDevice> pDevice = host.FindDevice(nId);
        CComPtr<IEtsApplicationProgram> pProgram;
        CComPtr<IEtsManufacturer> pManufacturer;
        LONG nType = -1;
        LONG nManufacturer = -1;
        if (pDevice && SUCCEEDED(pDevice->get_ApplicationProgram(&pProgram)) && pProgram &&
            SUCCEEDED(pProgram->get_DeviceType(&nType)) && SUCCEEDED(pProgram->get_Manufacturer(&pManufacturer)) &&
            pManufacturer && SUCCEEDED(pManufacturer->get_ID(&nManufacturer)) && nType == kPlugInDeviceType &&
            nManufacturer == kPlugInManufacturer)
            return nId;
    }
    return ids.empty() ? -1 : ids.front();
}

// A group address of the device's project by id or by its numbers.
CComPtr<IEtsGroupAddress> FindGroupAddress(platform::host::CEtsHost& host, IEtsDevice* pDevice,
                                           const std::string& strAddress)
{
    CComPtr<IEtsGroupAddress> pFound;
    if (std::optional<LONG> id = ParseNumber(strAddress)) {
        if (CComPtr<IUnknown> pObject = host.FindObject(*id))
            pObject->QueryInterface(&pFound.p);
        return pFound;
    }
    LONG nLevels[3] = {0, 0, 0};
    if (std::sscanf(strAddress.c_str(), "%d/%d/%d", &nLevels[0], &nLevels[1], &nLevels[2]) != 3)
        return pFound;
    CComPtr<IEtsProject> pProject;
    CComPtr<IEtsMainGroups> pMainGroups;
    LONG nMainCount = 0;
    if (FAILED(pDevice->get_Project(&pProject)) || !pProject || FAILED(pProject->get_MainGroups(&pMainGroups)) ||
        FAILED(pMainGroups->get_Count(&nMainCount)))
        return pFound;
    auto number = [](auto* pGroup) {
        CComVariant vAddress;
        CComVariant vNumber;
        if (FAILED(pGroup->get_Address(&vAddress)) || FAILED(vNumber.ChangeType(VT_I4, &vAddress)))
            return LONG(-1);
        return vNumber.lVal;
    };
    for (LONG i = 1; i <= nMainCount; ++i) {
        CComPtr<IEtsMainGroup> pMain;
        if (FAILED(pMainGroups->Item(MakeIndexVariant(i), &pMain)) || number(pMain.p) != nLevels[0])
            continue;
        CComPtr<IEtsMiddleGroups> pMiddleGroups;
        LONG nMiddleCount = 0;
        if (FAILED(pMain->get_MiddleGroups(&pMiddleGroups)) || FAILED(pMiddleGroups->get_Count(&nMiddleCount)))
            continue;
        for (LONG j = 1; j <= nMiddleCount; ++j) {
            CComPtr<IEtsMiddleGroup> pMiddle;
            if (FAILED(pMiddleGroups->Item(MakeIndexVariant(j), &pMiddle)) || number(pMiddle.p) != nLevels[1])
                continue;
            CComPtr<IEtsGroupAddresses> pSubs;
            LONG nSubCount = 0;
            if (FAILED(pMiddle->get_GroupAddresses(&pSubs)) || FAILED(pSubs->get_Count(&nSubCount)))
                continue;
            for (LONG k = 1; k <= nSubCount; ++k) {
                CComPtr<IEtsGroupAddress> pSub;
                if (SUCCEEDED(pSubs->Item(MakeIndexVariant(k), &pSub)) && number(pSub.p) == nLevels[2])
                    return pSub;
            }
        }
    }
    return pFound;
}

int List(platform::host::CEtsHost& host)
{
    for (LONG nId : host.GetDeviceIds()) {
        CComPtr<IEtsDevice> pDevice = host.FindDevice(nId);
        BSTR bstrName = nullptr;
        pDevice->get_Name(&bstrName);
        CComPtr<IEtsProduct> pProduct;
        BSTR bstrProduct = nullptr;
        if (SUCCEEDED(pDevice->get_Product(&pProduct)) && pProduct)
            pProduct->get_Text(&bstrProduct);
        std::printf("%ld\t%s\t%s\n", static_cast<long>(nId), Text(bstrName).c_str(), Text(bstrProduct).c_str());
    }
    return kExitOk;
}

// Asks the user through the program's own windows where the project shall
// go; false without a display.
bool AskWhereToSave(CHostProjectSaver& saver, const std::string& strPath)
{
    CApplicationGuard guard;
    if (!guard.Begin())
        return false;
    // The program has no resources; its windows speak English, as its other
    // messages do, and the boxes' buttons follow that.
    static const platform::ResourceTables s_english{platform::RESOURCE_TABLES_VERSION, 0x0409, {}, {}, {}, {}, {},
                                                    {}, {}};
    platform::CResourceModule english(s_english);
    const platform::CResourceModule* pPreviousModule = platform::SetFrameworkResourceModule(&english);
    CQtMessageBoxSink boxes;
    CQtFileDialogService dialogs;
    platform::IMessageBoxSink* pPreviousSink = platform::SetMessageBoxSink(&boxes);
    platform::IFileDialogService* pPreviousService = platform::SetFileDialogService(&dialogs);
    const bool bSaved = saver.SaveElsewhere(strPath);
    platform::SetFileDialogService(pPreviousService);
    platform::SetMessageBoxSink(pPreviousSink);
    platform::SetFrameworkResourceModule(pPreviousModule);
    guard.End();
    return bSaved;
}

// bAsk: a failed write asks for another file rather than losing the changes.
bool SaveWhenChanged(platform::host::CEtsHost& host, const std::string& strPath, bool bAsk)
{
    if (!host.IsModified())
        return true;
    CHostProjectSaver saver(host);
    return saver.Write(strPath) || (bAsk && AskWhereToSave(saver, strPath));
}

int Edit(platform::host::CEtsHost& host, const Options& options)
{
    const LONG nDeviceId = ChooseDevice(host, options.args);
    CComPtr<IEtsDevice> pDevice = host.FindDevice(nDeviceId);
    if (!pDevice) {
        std::fprintf(stderr, "etshost: the project has no device %ld\n", static_cast<long>(nDeviceId));
        return kExitError;
    }
    CComPtr<IEtsPlugInUI> pPlugIn;
    if (FAILED(CreatePlugIn(options, pPlugIn)))
        return kExitError;
    CComPtr<IEtsPlugInEvents> pEvents;
    if (SUCCEEDED(pPlugIn.QueryInterface(&pEvents.p)))
        host.SetPlugInEvents(pEvents, nDeviceId);

    IUnknown* objects[1] = {pDevice.p};
    HRESULT hr = pPlugIn->SetObjects(1, objects);
    if (FAILED(hr)) {
        std::fprintf(stderr, "etshost: SetObjects failed hr=0x%08X\n", static_cast<unsigned>(hr));
        host.SetPlugInEvents(nullptr, nDeviceId);
        return kExitError;
    }
    platform::host::CHostTopWindow topWindow;
    hr = pPlugIn->Edit(topWindow.GetHandle());
    std::printf("Edit returned 0x%08X (%s)\n", static_cast<unsigned>(hr), hr == S_OK ? "OK" : "cancelled");
    host.SetPlugInEvents(nullptr, nDeviceId);
    return SaveWhenChanged(host, options.strProject, true) ? kExitOk : kExitError;
}

int Associate(platform::host::CEtsHost& host, const Options& options)
{
    if (options.args.size() != 3)
        return Usage();
    const std::optional<LONG> nDeviceId = ParseNumber(options.args[0]);
    const std::optional<LONG> nNumber = ParseNumber(options.args[1]);
    CComPtr<IEtsDevice> pDevice = nDeviceId ? host.FindDevice(*nDeviceId) : nullptr;
    if (!pDevice || !nNumber) {
        std::fprintf(stderr, "etshost: no device %s\n", options.args[0].c_str());
        return kExitError;
    }
    CComPtr<IEtsCommObject> pObject = host.FindCommObject(*nDeviceId, *nNumber);
    if (!pObject) {
        std::fprintf(stderr, "etshost: the device has no object %s\n", options.args[1].c_str());
        return kExitError;
    }
    CComPtr<IEtsGroupAddress> pGroupAddress = FindGroupAddress(host, pDevice, options.args[2]);
    if (!pGroupAddress) {
        std::fprintf(stderr, "etshost: the project has no group address %s\n", options.args[2].c_str());
        return kExitError;
    }
    // The device's plug-in hears of the change, as in the host.
    CComPtr<IEtsPlugInUI> pPlugIn;
    if (FAILED(CreatePlugIn(options, pPlugIn)))
        return kExitError;
    CComPtr<IEtsPlugInEvents> pEvents;
    if (SUCCEEDED(pPlugIn.QueryInterface(&pEvents.p)))
        host.SetPlugInEvents(pEvents, *nDeviceId);

    CComPtr<IEtsAssociations> pAssociations;
    CComPtr<IEtsAssociation> pAssociation;
    HRESULT hr = pObject->get_Associations(&pAssociations);
    if (SUCCEEDED(hr))
        hr = pAssociations->Add(pGroupAddress, &pAssociation);
    host.SetPlugInEvents(nullptr, *nDeviceId);
    if (hr == E_ABORT) {
        std::printf("the device's plug-in refused the association\n");
        return kExitRefused;
    }
    if (hr == ETS_E_ASSOCIATION_EXISTS) {
        std::printf("the association exists already\n");
        return kExitOk;
    }
    if (FAILED(hr)) {
        std::fprintf(stderr, "etshost: adding the association failed hr=0x%08X\n", static_cast<unsigned>(hr));
        return kExitError;
    }
    // Added only once the project file keeps it; a failed write says why.
    if (!SaveWhenChanged(host, options.strProject, false))
        return kExitError;
    std::printf("association added\n");
    return kExitOk;
}

int Run(const Options& options)
{
    platform::host::CEtsHost host;
    std::string strError;
    if (!host.LoadFile(options.strProject, &strError)) {
        std::fprintf(stderr, "etshost: %s\n", strError.c_str());
        return kExitError;
    }
    if (options.strCommand == "list")
        return List(host);

    host.SetLanguage(options.lcid);
    host.SetEchoLogger(options.bEchoLog);
    host.RegisterServiceClasses();
#ifdef CHRONO_HOST_WITH_BUS
    InstallSimulatedDeviceManagement(options.strDeviceState);
#endif
    if (!options.strModule.empty() && !RegisterModule(options.strModule))
        return kExitError;
    if (options.strCommand == "edit")
        return Edit(host, options);
    if (options.strCommand == "associate")
        return Associate(host, options);
    return Usage();
}

}  // namespace

int main(int argc, char** argv)
{
    platform::FailWritesPastFileSizeLimit();
    Options options;
    if (!ParseOptions(argc, argv, options))
        return Usage();
    // The plug-in runs on the host's apartment thread.
    const HRESULT hrInit = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int nResult = Run(options);
    if (SUCCEEDED(hrInit))
        CoUninitialize();
    return nResult;
}
