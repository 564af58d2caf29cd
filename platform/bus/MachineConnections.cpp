#include "platform/bus/MachineConnections.h"

#include "platform/base/PathUtil.h"
#include "platform/bus/DeviceStateFile.h"
#include "platform/bus/FalconInterfaces.h"
#include "platform/bus/InterfaceSelection.h"
#include "platform/com/Bstr.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace Falcon {

namespace {

namespace fs = std::filesystem;


bool IsWritableFolder(const fs::path& folder)
{
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

EConnectionProblem CheckStateFile(const std::string& strParameter)
{
    if (strParameter.empty())
        return EConnectionProblem::EmptyParameter;
    const std::string strPath = NormalizeStateFilePath(strParameter);
    if (platform::Utf8ToOleString(strPath).size() > kMaxConnectionParameterUnits)
        return EConnectionProblem::ParameterTooLong;

    if (strPath.back() == '/')
        return EConnectionProblem::StateFileIsFolder;
    const fs::path path(strPath);
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (fs::exists(status)) {
        if (fs::is_directory(status))
            return EConnectionProblem::StateFileIsFolder;
        // A file it may not read is refused as such, not called someone's file.
        if (fs::is_regular_file(status) && ::access(path.c_str(), R_OK) != 0)
            return EConnectionProblem::StateFileUnreadable;
        CDeviceState oState;
        if (!fs::is_regular_file(status) || !CDeviceStateFile::Load(strPath, oState))
            return EConnectionProblem::NotAStateFile;
        // The device writes its state back through a file beside it.
        if (::access(path.c_str(), W_OK) != 0 || !IsWritableFolder(path.parent_path()))
            return EConnectionProblem::FolderNotUsable;
        return EConnectionProblem::None;
    }
    // The nearest folder that is there must take the missing ones.
    fs::path folder = path.parent_path();
    while (!folder.empty() && !fs::exists(fs::status(folder, ec)) && folder != folder.root_path())
        folder = folder.parent_path();
    if (folder.empty() || !fs::is_directory(fs::status(folder, ec)) || !IsWritableFolder(folder))
        return EConnectionProblem::FolderNotUsable;
    return EConnectionProblem::None;
}

}  // namespace

std::string GetDefaultDeviceStatePath()
{
    if (const char* file = std::getenv("CHRONO_DEVICE_STATE"); file && *file)
        return NormalizeStateFilePath(file);
    std::string strData;
    // A relative XDG folder is to be ignored.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
        strData = xdg;
    else if (std::string strHome = platform::GetHomeDirectory(); !strHome.empty())
        strData = platform::PathJoinSlash(strHome, ".local/share");
    else
        strData = ".";
    return NormalizeStateFilePath(platform::PathJoinSlash(strData, "chronosets2/device.state"));
}

std::vector<ConnectionEntry> GetMachineConnections()
{
    return {ConnectionEntry {kSimulatedConnectionName, kSimulatedInterface, GetDefaultDeviceStatePath(), true},
            ConnectionEntry {kKnxdConnectionName, kKnxdInterface, kDefaultKnxdUrl, false, true}};
}

bool IsKnxdUrl(std::string_view url)
{
    if (url.starts_with("local:"))
        return url.size() > 7 && url[6] == '/';
    if (!url.starts_with("ip:"))
        return false;
    url.remove_prefix(3);
    const std::size_t nColon = url.find(':');
    const std::string_view host = url.substr(0, nColon);
    if (host.empty() || host.find_first_of(" \t/") != std::string_view::npos)
        return false;
    if (nColon == std::string_view::npos)
        return true;
    const std::string_view port = url.substr(nColon + 1);
    if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    const int nPort = std::stoi(std::string(port));
    return nPort >= 1 && nPort <= 65535;
}

std::string NormalizeStateFilePath(std::string_view path)
{
    if (path.empty())
        return {};
    std::string strPath(path);
    if (strPath == "~" || strPath.starts_with("~/")) {
        if (std::string strHome = platform::GetHomeDirectory(); !strHome.empty())
            strPath = strHome + strPath.substr(1);
    }
    std::error_code ec;
    fs::path absolute = fs::absolute(fs::path(strPath), ec);
    if (ec)
        absolute = fs::path(strPath);
    // A trailing '/' stays: it says the user named a folder.
    return absolute.lexically_normal().string();
}

EConnectionProblem CheckConnectionEntry(const ConnectionEntry& entry)
{
    for (const ConnectionEntry& known : GetMachineConnections()) {
        if (known.guidInterface != entry.guidInterface)
            continue;
        if (known.bParameterIsStateFile)
            return CheckStateFile(entry.strParameter);
        if (known.bParameterIsKnxdUrl) {
            if (platform::Utf8ToOleString(entry.strParameter).size() > kMaxConnectionParameterUnits)
                return EConnectionProblem::ParameterTooLong;
            return IsKnxdUrl(entry.strParameter) ? EConnectionProblem::None : EConnectionProblem::BadKnxdUrl;
        }
        return entry.strParameter.empty() ? EConnectionProblem::EmptyParameter : EConnectionProblem::None;
    }
    return EConnectionProblem::UnknownInterface;
}

bool MakeStateFileFolder(const std::string& strNormalizedPath)
{
    const fs::path folder = fs::path(strNormalizedPath).parent_path();
    if (folder.empty())
        return true;
    std::error_code ec;
    fs::create_directories(folder, ec);
    return !ec && fs::is_directory(fs::status(folder, ec));
}

}  // namespace Falcon
