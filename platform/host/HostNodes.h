#pragma once
// The in-memory project of the host stand-in: plain data, one node per
// object of the project, each with its persistence id. The COM objects that
// plug-ins see (HostObjects.h) are thin views on these nodes; a node that is
// deleted stays alive while a view holds it, marked as deleted.

#include "platform/base/WinTypes.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

namespace platform::host {

struct HostProject;
struct HostDevice;
struct HostMainGroup;
struct HostMiddleGroup;
struct HostCommObject;

struct HostNode {
    LONG nId = 0;
    bool bDeleted = false;
};

struct HostGroupAddress : HostNode {
    std::string strName;
    std::string strDescription;
    std::string strUniqueName;
    std::optional<LONG> address;
    bool bPassThrough = false;
    bool bCentral = false;
    std::weak_ptr<HostMiddleGroup> pParent;
};

struct HostMiddleGroup : HostNode {
    std::string strName;
    std::string strDescription;
    std::string strUniqueName;
    std::optional<LONG> address;
    bool bPassThrough = false;
    std::weak_ptr<HostMainGroup> pParent;
    std::vector<std::shared_ptr<HostGroupAddress>> groupAddresses;
};

struct HostMainGroup : HostNode {
    std::string strName;
    std::string strDescription;
    std::string strUniqueName;
    std::optional<LONG> address;
    bool bPassThrough = false;
    std::weak_ptr<HostProject> pProject;
    std::vector<std::shared_ptr<HostMiddleGroup>> middleGroups;
};

// A parameter value is a text or a number.
using HostValue = std::variant<std::string, LONG>;

struct HostParameter : HostNode {
    std::optional<std::string> name;  // a parameter may have none
    HostValue value = std::string();
    LONG nUniqueNumber = 0;
    std::weak_ptr<HostDevice> pDevice;
};

struct HostAssociation : HostNode {
    std::weak_ptr<HostCommObject> pObject;
    std::shared_ptr<HostGroupAddress> pGroupAddress;
    bool bSend = false;
    bool bAcknowledge = false;
};

struct HostCommObject : HostNode {
    LONG nNumber = 0;
    std::string strName;
    std::string strFunction;
    SHORT nLength = 0;  // value-type code: 0 1 bit, 1 2 bit, 7 1 byte, 8 2 bytes, 9 3 bytes
    SHORT nPriority = 3;  // 0 system, 1 high, 2 alarm, 3 low
    bool bCommunication = true;
    bool bRead = false;
    bool bWrite = true;
    bool bTransmit = true;
    bool bUpdate = false;
    bool bVisible = true;
    // A device parameter whose number is the object's type: 0 hides the
    // object, any other number shows it with the length the application
    // program gives that type.
    std::string strTypeParameter;
    // A device parameter whose number shows (non-zero) or hides (0) it.
    std::string strVisibilityParameter;
    std::vector<std::shared_ptr<HostAssociation>> associations;
    std::weak_ptr<HostDevice> pDevice;
};

struct HostApplicationProgram {
    std::string strName;
    LONG nVersion = 0;
    LONG nDeviceType = 0;
    std::string strManufacturerName;
    LONG nManufacturerId = 0;
    // Object type (the number of a type parameter) -> value-type code.
    std::map<LONG, SHORT> mapTypeLengths;
};

struct HostDevice : HostNode {
    std::string strName;
    std::string strDescription;
    std::string strProductText;
    std::optional<LONG> address;
    // The line the device sits in; none for a device outside any line.
    bool bHasLine = false;
    std::optional<LONG> lineAddress;
    std::optional<LONG> areaAddress;
    std::optional<HostApplicationProgram> application;
    std::vector<std::shared_ptr<HostParameter>> parameters;
    std::vector<std::shared_ptr<HostCommObject>> commObjects;
    std::weak_ptr<HostProject> pProject;

    // FindParameter's index: the first place of each name (ASCII letters
    // folded), for the list as it was when built. A parameter keeps its
    // name once the project is read.
    struct ParameterIndex {
        const void* pData = nullptr;
        std::size_t nSize = 0;
        std::unordered_map<std::string, std::size_t> mapFirst;
    };
    mutable ParameterIndex parameterIndex;
};

struct HostProject : HostNode {
    std::string strName;
    std::vector<std::shared_ptr<HostMainGroup>> mainGroups;
    std::vector<std::shared_ptr<HostDevice>> devices;
};

struct HostData {
    std::vector<std::shared_ptr<HostProject>> projects;
    // The next persistence id to hand out; ids are never reused.
    LONG nNextId = 1;
    // How the project shows group addresses: 3 (main/middle/sub) or 2
    // (main/sub).
    int nGroupAddressLevels = 3;
};

// The parameter of the device with that name (case-insensitive), or null.
std::shared_ptr<HostParameter> FindParameter(const HostDevice& device, const std::string& strName);

// Whether the object is visible and its length, after its type or
// visibility parameter.
bool IsCommObjectVisible(const HostCommObject& object);
SHORT GetCommObjectLength(const HostCommObject& object);

// "1/2/3" (three levels) or "1/515" (two levels) of the tree position.
std::string FormatGroupAddressNumbers(const HostGroupAddress& groupAddress, int nLevels);

}  // namespace platform::host
