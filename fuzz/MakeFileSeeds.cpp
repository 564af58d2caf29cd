// The seeds of the file readers' targets: the product icon and the test
// icons of every depth, the settings as the program writes them, shortened
// copies of the sample host project, device state files (fresh, and after a
// download of the sample parameter set), the registry as the plug-in's
// registration writes it, and connection records as the selection fills
// them.

#include "fuzz/MakeFileSeeds.h"

#include "access/BusAccess.h"
#include "app/Chronoset.h"
#include "app/PlugInModule.h"
#include "model/IniManager.h"
#include "common/Globals.h"
#include "common/ProgressInfo.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/PrivateProfile.h"
#include "platform/base/WinApp.h"
#include "platform/bus/BusAccessClasses.h"
#include "platform/bus/CemiFrame.h"
#include "platform/bus/DeviceStateFile.h"
#include "platform/bus/FalconInterfaces.h"
#include "platform/bus/FalconStandIn.h"
#include "platform/bus/InterfaceSelection.h"
#include "platform/bus/KnxIpFrame.h"
#include "platform/bus/MachineConnections.h"
#include "platform/bus/SimulatedBus.h"
#include "platform/bus/SimulatedDevice.h"
#include "platform/com/RegistryStore.h"
#include "resources/icon/ProductIconData.h"
#include "tests/ui/IconFileBuilder.h"
#include "tools/SampleData.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

namespace fs = std::filesystem;

void WriteBytes(const fs::path& dir, const std::string& strName, const void* pData, std::size_t nSize)
{
    fs::create_directories(dir);
    std::ofstream(dir / strName, std::ios::binary).write(static_cast<const char*>(pData),
                                                           static_cast<std::streamsize>(nSize));
}

void WriteText(const fs::path& dir, const std::string& strName, const std::string& strText)
{
    WriteBytes(dir, strName, strText.data(), strText.size());
}

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteIconSeeds(const fs::path& dir)
{
    WriteBytes(dir, "product.ico", resources::kProductIcon, sizeof resources::kProductIcon);
    std::vector<std::vector<BYTE>> images;
    for (int nBits : {1, 4, 8, 24, 32}) {
        icontest::ImageSpec spec;
        spec.nWidth = nBits == 1 ? 13 : 16;
        spec.nHeight = spec.nWidth;
        spec.nBits = nBits;
        if (nBits <= 8)
            spec.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
        spec.value = [](int x, int y) { return static_cast<DWORD>((x + y) % 4) * 0x40302010u; };
        spec.masked = [](int x, int y) { return x == y; };
        images.push_back(icontest::MakeImage(spec));
        const std::vector<BYTE> file = icontest::MakeIconFile({images.back()});
        WriteBytes(dir, "depth" + std::to_string(nBits) + ".ico", file.data(), file.size());
    }
    const std::vector<BYTE> all = icontest::MakeIconFile(images);
    WriteBytes(dir, "all-depths.ico", all.data(), all.size());
}

// Every setting as the program writes it.
void WriteIniSeeds(const fs::path& dir)
{
    fs::create_directories(dir);
    CWinApp app;
    app.SetProfileName((dir / "settings.ini").string());
    CIniManager& ini = g_IniManager;
    ini.SetLanguage(0x0407);
    ini.SetLanguageFileName("DEU");
    ini.SetGroupAddressLevels(2);
    ini.SetLogLevel(4);
    ini.SetLogEnabled(1);
    ini.SetDebugMode(true);
    ini.SetToolTips(FALSE);
    ini.SetShowToolbar(TRUE);
    ini.SetShowStatusbar(FALSE);
    ini.SetSplitterHorzDevided(1);
    ini.SetPaneSize(240, 180);
    ini.WriteInt("Common", "LSMDownloadMode", 1);
    ini.WriteInt("Date/Time", "DaysInFirstWeek", 4);
    ini.WriteInt("Date/Time", "FirstDayOfWeek", 2);
    ini.WriteInt("LANGUAGE", "LogMissingStrings", 1);
    platform::WritePrivateProfileString("LANGUAGE", "MissingStringsFileName", "missing.txt",
                                        app.GetProfileName());
    platform::WritePrivateProfileString("MainWindow", "WindowSize", "1024, 768", app.GetProfileName());
    CFalconConnectionParams params;
    params.SetGuid(Falcon::kSimulatedInterface);
    params.SetConnectionName(Falcon::kSimulatedConnectionName);
    params.SetConnectionParam("/home/user/.local/share/chronosets2/device.state");
    ini.SetSerialCommunication(params);
    WINDOWPLACEMENT placement;
    placement.flags = 2;
    placement.showCmd = 3;
    placement.ptMinPosition = {-1, -1};
    placement.rcNormalPosition = {10, 20, 810, 620};
    ini.SetWindowPlacement("ParameterDialog", placement);
    for (int nTableType : {2, 3, 6, 11, 19, 21}) {
        std::vector<int> widths;
        std::vector<WORD> prefs;
        std::vector<int> positions;
        for (int i = 0; i < 6; ++i) {
            widths.push_back(CIniManager::GetDefaultColumnWidth(nTableType, i) + i);
            prefs.push_back(static_cast<WORD>(i % 3));
            positions.push_back(5 - i);
        }
        ini.SetColumnWidths(nTableType, 6, widths.data());
        ini.SetColumnPrefs(nTableType, prefs);
        ini.SetColumnPositions(nTableType, 6, positions.data());
    }
    // The same with Windows line ends, a comment and a quoted value.
    std::string strText = ReadText(dir / "settings.ini");
    std::string strCrLf = "; written by hand\r\n";
    for (char c : strText)
        strCrLf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    strCrLf += "[Cdi]\r\nDllName = \"cdi.so\"\r\n";
    WriteText(dir, "settings-crlf.ini", strCrLf);
}

// The sample project cut to fit the fuzzer's input size: the first few
// parameters and communication objects of each device, and those with
// associations; and the group tree alone.
void WriteHostProjectSeeds(const fs::path& dir, const fs::path& samples)
{
    const std::string strSample = ReadText(samples / "sample-project.json");
    nlohmann::ordered_json project = nlohmann::ordered_json::parse(strSample, nullptr, false);
    if (project.is_discarded()) {
        std::fprintf(stderr, "fuzz_make_seeds: the sample project does not parse\n");
        std::exit(1);
    }
    nlohmann::ordered_json shortened = project;
    for (auto& item : shortened["projects"]) {
        for (auto& device : item["devices"]) {
            auto& parameters = device["parameters"];
            if (parameters.size() > 24)
                parameters.erase(parameters.begin() + 24, parameters.end());
            nlohmann::ordered_json objects = nlohmann::ordered_json::array();
            for (std::size_t i = 0; i < device["commObjects"].size(); ++i) {
                const auto& object = device["commObjects"][i];
                if (i < 8 || !object["associations"].empty())
                    objects.push_back(object);
            }
            device["commObjects"] = objects;
        }
    }
    WriteText(dir, "sample-shortened.json", shortened.dump(1));
    nlohmann::ordered_json groups = project;
    for (auto& item : groups["projects"])
        item["devices"] = nlohmann::ordered_json::array();
    groups.erase("nextId");
    WriteText(dir, "sample-groups.json", groups.dump());
}

// A fresh device, one with faults and a set clock, and one that took the
// sample parameter set's download.
void WriteDeviceStateSeeds(const fs::path& dir)
{
    fs::create_directories(dir);
    CDeviceState fresh;
    fresh.Reset(1'200'000'000'000LL);
    WriteText(dir, "fresh.state", CDeviceStateFile::ToText(fresh));

    CDeviceState faulty = fresh;
    faulty.m_oFaults.SetConnectionRefused(true);
    faulty.m_oFaults.SetDeviceOpenError(-7);
    faulty.m_oFaults.SetFailCall(3, 2);
    faulty.m_oFaults.SetLoadStateStuck(2, true);
    faulty.m_oFaults.SetForeignApplication(CApplicationId(1, 2, 3));
    faulty.m_oClock.Set({13, 45, 30, 7, 29, 2, 4}, 1'200'000'000'000LL);
    faulty.m_oClock.SetTrim(-12, 1'200'000'100'000LL);
    faulty.m_oTotalBusTime.Restore(12, 300, 40000);
    WriteText(dir, "faults.state", CDeviceStateFile::ToText(faulty));

    // The download of the sample set, as the launcher makes it.
    CSimulatedBus::RemoveAll();
    if (FAILED(RegisterBusAccessClasses())) {
        std::fprintf(stderr, "fuzz_make_seeds: no bus access classes\n");
        std::exit(1);
    }
    const std::string strStatePath = (dir / "downloaded.state").string();
    fs::remove(strStatePath);
    {
        CWinApp app;
        app.SetProfileName((dir / "download.ini").string());
        CFalconConnectionParams params;
        params.SetGuid(Falcon::kSimulatedInterface);
        params.SetConnectionName(Falcon::kSimulatedConnectionName);
        params.SetConnectionParam(strStatePath);
        CBusAccess bus {true};
        bus.Init(params);
        CChronoset set;
        BuildSampleParameterSet(set);
        g_pChronoset = &set;
        const CApplicationId id;
        set.m_nManufacturerId = id.GetManufacturer();
        set.m_nDeviceType = id.GetDeviceType();
        set.m_nApplicationVersion = id.GetVersion();
        set.m_nIndividualAddress = CDeviceState::kDefaultIndividualAddress;
        set.m_fnDownloadWait = [](DWORD) {};
        CProgressInfo progress {1};
        int nWrong = 0;
        DWORD nCount = 0;
        set.CountAssociations(nCount);
        if (set.DoDownload(&progress, &bus, nWrong, true, true, 0xFFFF) != 0)
            std::fprintf(stderr, "fuzz_make_seeds: the sample download failed (%d)\n", nWrong);
        bus.Close();
        g_pChronoset = nullptr;
    }
    fs::remove(dir / "download.ini");
    RevokeBusAccessClasses();
    CSimulatedBus::RemoveAll();
    CFalconStandIn::Reset();
}

// The registry after the plug-in's registration.
void WriteRegistrySeeds(const fs::path& dir)
{
    fs::create_directories(dir);
    const std::string strPath = (dir / "registered.json").string();
    fs::remove(strPath);
    ::setenv("CHRONO_REGISTRY_FILE", strPath.c_str(), 1);
    if (FAILED(g_atlModule.DllRegisterServer())) {
        std::fprintf(stderr, "fuzz_make_seeds: the registration failed\n");
        std::exit(1);
    }
    platform::CRegistryStore store(strPath);
    store.SetValue("HKCR\\Falcon.InterfaceSelection.1\\CLSID", "", platform::FormatGuid(Falcon::CLSID_InterfaceSelection));
    ::unsetenv("CHRONO_REGISTRY_FILE");
    fs::remove(strPath + ".lock");
    WriteText(dir, "empty.json", "{}\n");
}

void WriteConnectionRecordSeeds(const fs::path& dir)
{
    auto write = [&dir](const std::string& strName, const std::string& strConnection, const GUID& guid,
                        const std::string& strParameter) {
        Falcon::ConnectionRecord record {};
        Falcon::SetConnectionName(record, strConnection);
        record.guidInterface = guid;
        Falcon::SetConnectionParameter(record, strParameter);
        WriteBytes(dir, strName, &record, sizeof record);
    };
    write("simulated.rec", Falcon::kSimulatedConnectionName, Falcon::kSimulatedInterface, "states/device.state");
    write("home.rec", Falcon::kSimulatedConnectionName, Falcon::kSimulatedInterface, "~/device.state");
    write("other.rec", "USB-Schnittstelle", Falcon::CLSID_InterfaceSelection, "COM3");
    write("empty.rec", "", GUID {}, "");
}

// Chunks for the tunnelling target: a length byte, a byte of time, the
// bytes. Datagrams: a tunnel opened and a transport connection made
// through it; TPDUs: a connection, a descriptor read, verify mode, memory
// and user-memory reads and a write, a property read, a disconnect.
void WriteTunnellingSeeds(const fs::path& dir)
{
    auto chunks = [](BYTE nMode, const std::vector<std::vector<BYTE>>& arrChunks) {
        std::vector<BYTE> arr = {nMode};
        for (const auto& c : arrChunks) {
            arr.push_back(static_cast<BYTE>(c.size()));
            arr.push_back(1);
            arr.insert(arr.end(), c.begin(), c.end());
        }
        return arr;
    };
    const std::vector<BYTE> arrHpai = {0x08, 0x01, 0x7F, 0x00, 0x00, 0x01, 0x9E, 0x3C};
    std::vector<BYTE> arrBody = arrHpai;
    arrBody.insert(arrBody.end(), arrHpai.begin(), arrHpai.end());
    arrBody.insert(arrBody.end(), {0x04, 0x04, 0x02, 0x00});
    const std::vector<BYTE> arrConnect = CKnxIpFrame(CKnxIpFrame::kConnectRequest, arrBody).Encode();
    CCemiFrame frame;
    frame.m_nMessageCode = CCemiFrame::kDataRequest;
    frame.m_nSource = 0x0002;
    frame.m_nDestination = CDeviceState::kDefaultIndividualAddress;
    frame.m_arrTpdu = {0x80};
    std::vector<BYTE> arrTunnelled = {0x04, 0x01, 0x00, 0x00};
    const std::vector<BYTE> arrCemi = frame.Encode();
    arrTunnelled.insert(arrTunnelled.end(), arrCemi.begin(), arrCemi.end());
    const std::vector<BYTE> arrTConnect = CKnxIpFrame(CKnxIpFrame::kTunnelingRequest, arrTunnelled).Encode();
    const auto datagrams = chunks(0, {arrConnect, arrTConnect});
    WriteBytes(dir, "datagrams", datagrams.data(), datagrams.size());
    const auto tpdus = chunks(1, {{0x80},
                                  {0x43, 0x00},
                                  {0xC2},
                                  {0x47, 0xD7, 0, 14, 0x10, 0x01, 0x04},
                                  {0xC6},
                                  {0x4A, 0x01, 0xB6, 0xEA},
                                  {0x4E, 0xC0, 0xF7, 0x00, 0x00},
                                  {0x52, 0x83, 0x80, 0x00, 1, 2, 3},
                                  {0x57, 0xD5, 5, 201, 0x10, 0x01},
                                  {0x81}});
    WriteBytes(dir, "tpdus", tpdus.data(), tpdus.size());
}

}  // namespace

void WriteFileSeeds(const fs::path& root, const fs::path& samples)
{
    WriteIconSeeds(root / "icon_file");
    WriteIniSeeds(root / "ini_file");
    WriteHostProjectSeeds(root / "host_project", samples);
    WriteDeviceStateSeeds(root / "device_state");
    WriteRegistrySeeds(root / "com_registry");
    WriteConnectionRecordSeeds(root / "connection_record");
    WriteTunnellingSeeds(root / "tunnelling");
}
