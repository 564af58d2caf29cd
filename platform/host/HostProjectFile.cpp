#include "platform/host/HostProjectFile.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <set>
#include <stdexcept>

namespace platform::host {

namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

// A fault in the file, with the place it was found.
struct CFormatError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class CReader {
public:
    explicit CReader(HostData& data) : m_data(data) {}

    void ReadRoot(const Json& root)
    {
        Expect(root.is_object(), "", "an object");
        const std::string strFormat = Text(root, "format", "", true);
        if (strFormat != kszProjectFormat)
            Fail("format", std::string("\"") + kszProjectFormat + "\"");
        const LONG nVersion = Integer(root, "version", "", true, 1, 1000);
        if (nVersion > kProjectFormatVersion)
            Fail("version", "a version up to " + std::to_string(kProjectFormatVersion));
        m_data.nGroupAddressLevels = static_cast<int>(Integer(root, "groupAddressLevels", "", false, 2, 3, 3));
        const LONG nNextId = Integer(root, "nextId", "", false, 1, std::numeric_limits<LONG>::max(), 1);
        const Json& projects = Array(root, "projects", "");
        for (std::size_t i = 0; i < projects.size(); ++i)
            m_data.projects.push_back(ReadProject(projects[i], "projects[" + std::to_string(i) + "]"));
        ResolveAssociations();
        // The counter stays a 32-bit id above every id, also after the
        // objects written without an id got theirs: a file whose ids reach
        // the end of the range leaves none to hand out.
        const long long nFirstFree = std::max<long long>(nNextId, static_cast<long long>(m_nMaxId) + 1);
        if (nFirstFree + static_cast<long long>(m_unnamed.size()) > std::numeric_limits<LONG>::max())
            throw CFormatError("nextId: no id is left above " + std::to_string(nFirstFree - 1) + " for " +
                               std::to_string(m_unnamed.size()) + " objects without one and the ones to come");
        m_data.nNextId = static_cast<LONG>(nFirstFree);
        // Objects written without an id get fresh ones.
        for (HostNode* pNode : m_unnamed)
            pNode->nId = m_data.nNextId++;
    }

private:
    [[noreturn]] static void Fail(const std::string& strPlace, const std::string& strExpected)
    {
        throw CFormatError((strPlace.empty() ? std::string("the file") : strPlace) + ": expected " + strExpected);
    }
    static void Expect(bool bOk, const std::string& strPlace, const std::string& strExpected)
    {
        if (!bOk)
            Fail(strPlace, strExpected);
    }
    static std::string Join(const std::string& strPlace, const char* pszKey)
    {
        return strPlace.empty() ? std::string(pszKey) : strPlace + "." + pszKey;
    }

    static std::string Text(const Json& object, const char* pszKey, const std::string& strPlace, bool bRequired = false)
    {
        auto it = object.find(pszKey);
        if (it == object.end()) {
            Expect(!bRequired, Join(strPlace, pszKey), "a text");
            return {};
        }
        Expect(it->is_string(), Join(strPlace, pszKey), "a text");
        return Limited(*it, Join(strPlace, pszKey), kMaxProjectTextLength);
    }
    static std::string Limited(const Json& text, const std::string& strPlace, std::size_t nMaxLength)
    {
        std::string strText = text.get<std::string>();
        Expect(CountCharacters(strText) <= nMaxLength, strPlace,
               "a text of at most " + std::to_string(nMaxLength) + " characters");
        return strText;
    }
    static bool Flag(const Json& object, const char* pszKey, const std::string& strPlace, bool bDefault)
    {
        auto it = object.find(pszKey);
        if (it == object.end())
            return bDefault;
        Expect(it->is_boolean(), Join(strPlace, pszKey), "true or false");
        return it->get<bool>();
    }
    static LONG Integer(const Json& object, const char* pszKey, const std::string& strPlace, bool bRequired,
                        LONG nMin, LONG nMax, LONG nDefault = 0, const char* pszOr = "")
    {
        auto it = object.find(pszKey);
        if (it == object.end()) {
            Expect(!bRequired, Join(strPlace, pszKey), "an integer");
            return nDefault;
        }
        const std::string strRange =
            "an integer from " + std::to_string(nMin) + " to " + std::to_string(nMax) + pszOr;
        Expect(it->is_number_integer(), Join(strPlace, pszKey), strRange);
        // A number above the signed 64-bit range would come out negative.
        Expect(!it->is_number_unsigned() || it->get<unsigned long long>() <= static_cast<unsigned long long>(nMax),
               Join(strPlace, pszKey), strRange);
        const long long nValue = it->get<long long>();
        Expect(nValue >= nMin && nValue <= nMax, Join(strPlace, pszKey), strRange);
        return static_cast<LONG>(nValue);
    }
    // A number 0..nMax or null; required. A group's number is up to 65535;
    // the parts of a device's individual address are as wide as the
    // address gives them (device 255, line and area 15), so that none is
    // cut into another device's.
    static std::optional<LONG> Address(const Json& object, const std::string& strPlace, LONG nMax = 0xFFFF,
                                       const char* pszKey = "address")
    {
        auto it = object.find(pszKey);
        Expect(it != object.end(), Join(strPlace, pszKey), "an integer from 0 to " + std::to_string(nMax) + " or null");
        if (it->is_null())
            return std::nullopt;
        return Integer(object, pszKey, strPlace, true, 0, nMax, 0, " or null");
    }
    static const Json& Array(const Json& object, const char* pszKey, const std::string& strPlace)
    {
        static const Json s_empty = Json::array();
        auto it = object.find(pszKey);
        if (it == object.end())
            return s_empty;
        Expect(it->is_array(), Join(strPlace, pszKey), "a list");
        return *it;
    }

    void Identify(const Json& object, const std::string& strPlace, HostNode& node)
    {
        Expect(object.is_object(), strPlace, "an object");
        if (object.find("id") == object.end()) {
            m_unnamed.push_back(&node);
            return;
        }
        node.nId = Integer(object, "id", strPlace, true, 1, std::numeric_limits<LONG>::max());
        if (!m_ids.insert(node.nId).second)
            throw CFormatError(Join(strPlace, "id") + ": the id " + std::to_string(node.nId) + " is used twice");
        m_nMaxId = std::max(m_nMaxId, node.nId);
    }

    std::shared_ptr<HostProject> ReadProject(const Json& object, const std::string& strPlace)
    {
        auto pProject = std::make_shared<HostProject>();
        Identify(object, strPlace, *pProject);
        pProject->strName = Text(object, "name", strPlace);
        const Json& mainGroups = Array(object, "mainGroups", strPlace);
        for (std::size_t i = 0; i < mainGroups.size(); ++i) {
            const std::string strMain = Join(strPlace, "mainGroups") + "[" + std::to_string(i) + "]";
            auto pMain = std::make_shared<HostMainGroup>();
            ReadGroup(mainGroups[i], strMain, *pMain);
            pMain->pProject = pProject;
            const Json& middleGroups = Array(mainGroups[i], "middleGroups", strMain);
            for (std::size_t j = 0; j < middleGroups.size(); ++j) {
                const std::string strMiddle = Join(strMain, "middleGroups") + "[" + std::to_string(j) + "]";
                auto pMiddle = std::make_shared<HostMiddleGroup>();
                ReadGroup(middleGroups[j], strMiddle, *pMiddle);
                pMiddle->pParent = pMain;
                const Json& groupAddresses = Array(middleGroups[j], "groupAddresses", strMiddle);
                for (std::size_t k = 0; k < groupAddresses.size(); ++k) {
                    const std::string strSub = Join(strMiddle, "groupAddresses") + "[" + std::to_string(k) + "]";
                    auto pSub = std::make_shared<HostGroupAddress>();
                    ReadGroup(groupAddresses[k], strSub, *pSub);
                    pSub->bCentral = Flag(groupAddresses[k], "central", strSub, false);
                    pSub->pParent = pMiddle;
                    m_groupAddresses[pSub.get()] = pProject.get();
                    m_mapGroupAddressById[pSub->nId] = pSub;
                    pMiddle->groupAddresses.push_back(pSub);
                }
                pMain->middleGroups.push_back(pMiddle);
            }
            pProject->mainGroups.push_back(pMain);
        }
        const Json& devices = Array(object, "devices", strPlace);
        for (std::size_t i = 0; i < devices.size(); ++i) {
            auto pDevice = ReadDevice(devices[i], Join(strPlace, "devices") + "[" + std::to_string(i) + "]");
            pDevice->pProject = pProject;
            pProject->devices.push_back(pDevice);
        }
        m_projects.push_back(pProject.get());
        return pProject;
    }

    template <class Group>
    void ReadGroup(const Json& object, const std::string& strPlace, Group& group)
    {
        Identify(object, strPlace, group);
        group.address = Address(object, strPlace);
        group.strName = Text(object, "name", strPlace);
        group.strDescription = Text(object, "description", strPlace);
        group.strUniqueName = Text(object, "uniqueName", strPlace);
        group.bPassThrough = Flag(object, "passThrough", strPlace, false);
    }

    std::shared_ptr<HostDevice> ReadDevice(const Json& object, const std::string& strPlace)
    {
        auto pDevice = std::make_shared<HostDevice>();
        Identify(object, strPlace, *pDevice);
        pDevice->strName = Text(object, "name", strPlace);
        pDevice->strDescription = Text(object, "description", strPlace);
        pDevice->strProductText = Text(object, "productText", strPlace);
        pDevice->address = Address(object, strPlace, 0xFF);
        if (auto it = object.find("line"); it != object.end() && !it->is_null()) {
            const std::string strLine = Join(strPlace, "line");
            Expect(it->is_object(), strLine, "an object or null");
            pDevice->bHasLine = true;
            pDevice->lineAddress = Address(*it, strLine, 0xF);
            pDevice->areaAddress = Address(*it, strLine, 0xF, "area");
        }
        if (auto it = object.find("applicationProgram"); it != object.end() && !it->is_null())
            pDevice->application = ReadApplication(*it, Join(strPlace, "applicationProgram"));
        const Json& parameters = Array(object, "parameters", strPlace);
        for (std::size_t i = 0; i < parameters.size(); ++i) {
            const std::string strParameter = Join(strPlace, "parameters") + "[" + std::to_string(i) + "]";
            const Json& item = parameters[i];
            auto pParameter = std::make_shared<HostParameter>();
            Identify(item, strParameter, *pParameter);
            if (auto name = item.find("name"); name != item.end() && !name->is_null()) {
                Expect(name->is_string(), Join(strParameter, "name"), "a text or null");
                pParameter->name = Limited(*name, Join(strParameter, "name"), kMaxProjectTextLength);
            }
            auto value = item.find("value");
            Expect(value != item.end() && (value->is_string() || value->is_number_integer()),
                   Join(strParameter, "value"), "a text or an integer");
            if (value->is_string())
                pParameter->value = Limited(*value, Join(strParameter, "value"), kMaxParameterTextLength);
            else
                pParameter->value = Integer(item, "value", strParameter, true, std::numeric_limits<LONG>::min(),
                                            std::numeric_limits<LONG>::max());
            pParameter->nUniqueNumber = Integer(item, "uniqueNumber", strParameter, false,
                                                std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::max(),
                                                static_cast<LONG>(i + 1));
            pParameter->pDevice = pDevice;
            pDevice->parameters.push_back(pParameter);
        }
        const Json& objects = Array(object, "commObjects", strPlace);
        for (std::size_t i = 0; i < objects.size(); ++i)
            pDevice->commObjects.push_back(
                ReadCommObject(objects[i], Join(strPlace, "commObjects") + "[" + std::to_string(i) + "]", pDevice));
        return pDevice;
    }

    HostApplicationProgram ReadApplication(const Json& object, const std::string& strPlace)
    {
        Expect(object.is_object(), strPlace, "an object or null");
        HostApplicationProgram program;
        program.strName = Text(object, "name", strPlace);
        program.nVersion = Integer(object, "version", strPlace, false, 0, std::numeric_limits<LONG>::max());
        program.nDeviceType = Integer(object, "deviceType", strPlace, false, 0, std::numeric_limits<LONG>::max());
        if (auto it = object.find("manufacturer"); it != object.end()) {
            const std::string strManufacturer = Join(strPlace, "manufacturer");
            Expect(it->is_object(), strManufacturer, "an object");
            program.strManufacturerName = Text(*it, "name", strManufacturer);
            program.nManufacturerId =
                Integer(*it, "code", strManufacturer, false, 0, std::numeric_limits<LONG>::max());
        }
        if (auto it = object.find("typeLengths"); it != object.end()) {
            const std::string strLengths = Join(strPlace, "typeLengths");
            Expect(it->is_object(), strLengths, "an object of type numbers and lengths");
            for (auto entry = it->begin(); entry != it->end(); ++entry) {
                char* pszEnd = nullptr;
                errno = 0;
                const long nType = std::strtol(entry.key().c_str(), &pszEnd, 10);
                // A number beyond 32 bits would name another type.
                Expect(!entry.key().empty() && *pszEnd == '\0' && errno == 0 &&
                           nType >= std::numeric_limits<LONG>::min() && nType <= std::numeric_limits<LONG>::max(),
                       strLengths + "." + entry.key().substr(0, 40), "a type number as the key");
                program.mapTypeLengths[static_cast<LONG>(nType)] =
                    static_cast<SHORT>(Integer(*it, entry.key().c_str(), strLengths, true, -1, 255));
            }
        }
        return program;
    }

    std::shared_ptr<HostCommObject> ReadCommObject(const Json& object, const std::string& strPlace,
                                                   const std::shared_ptr<HostDevice>& pDevice)
    {
        auto pObject = std::make_shared<HostCommObject>();
        Identify(object, strPlace, *pObject);
        pObject->nNumber = Integer(object, "number", strPlace, true, 0, 0xFFFF);
        pObject->strName = Text(object, "name", strPlace);
        pObject->strFunction = Text(object, "function", strPlace);
        pObject->nLength = static_cast<SHORT>(Integer(object, "length", strPlace, false, -1, 255, 0));
        pObject->nPriority = static_cast<SHORT>(Integer(object, "priority", strPlace, false, 0, 3, 3));
        pObject->bCommunication = Flag(object, "communication", strPlace, true);
        pObject->bRead = Flag(object, "read", strPlace, false);
        pObject->bWrite = Flag(object, "write", strPlace, true);
        pObject->bTransmit = Flag(object, "transmit", strPlace, true);
        pObject->bUpdate = Flag(object, "update", strPlace, false);
        pObject->bVisible = Flag(object, "visible", strPlace, true);
        pObject->strTypeParameter = Text(object, "typeParameter", strPlace);
        pObject->strVisibilityParameter = Text(object, "visibilityParameter", strPlace);
        pObject->pDevice = pDevice;
        const Json& associations = Array(object, "associations", strPlace);
        for (std::size_t i = 0; i < associations.size(); ++i) {
            const std::string strAssociation = Join(strPlace, "associations") + "[" + std::to_string(i) + "]";
            auto pAssociation = std::make_shared<HostAssociation>();
            Identify(associations[i], strAssociation, *pAssociation);
            pAssociation->bSend = Flag(associations[i], "send", strAssociation, false);
            pAssociation->bAcknowledge = Flag(associations[i], "acknowledge", strAssociation, false);
            pAssociation->pObject = pObject;
            m_pending.push_back({pAssociation,
                                 Integer(associations[i], "groupAddress", strAssociation, true, 1,
                                         std::numeric_limits<LONG>::max()),
                                 strAssociation, pDevice.get()});
            pObject->associations.push_back(pAssociation);
        }
        return pObject;
    }

    // Associations name their group address by id, which may come later in
    // the file; it must be one of the same project.
    void ResolveAssociations()
    {
        for (const Pending& pending : m_pending) {
            auto it = m_mapGroupAddressById.find(pending.nGroupAddressId);
            const std::string strPlace = Join(pending.strPlace, "groupAddress");
            if (it == m_mapGroupAddressById.end())
                throw CFormatError(strPlace + ": no group address has the id " +
                                   std::to_string(pending.nGroupAddressId));
            std::shared_ptr<HostProject> pProject = pending.pDevice->pProject.lock();
            if (m_groupAddresses[it->second.get()] != pProject.get())
                throw CFormatError(strPlace + ": the group address " + std::to_string(pending.nGroupAddressId) +
                                   " belongs to another project");
            pending.pAssociation->pGroupAddress = it->second;
        }
    }

    struct Pending {
        std::shared_ptr<HostAssociation> pAssociation;
        LONG nGroupAddressId;
        std::string strPlace;
        HostDevice* pDevice;
    };

    HostData& m_data;
    std::set<LONG> m_ids;
    LONG m_nMaxId = 0;
    std::vector<HostNode*> m_unnamed;
    std::vector<Pending> m_pending;
    std::map<LONG, std::shared_ptr<HostGroupAddress>> m_mapGroupAddressById;
    std::map<const HostGroupAddress*, const HostProject*> m_groupAddresses;
    std::vector<const HostProject*> m_projects;
};

OrderedJson AddressJson(const std::optional<LONG>& address)
{
    return address ? OrderedJson(*address) : OrderedJson(nullptr);
}

template <class Group>
OrderedJson GroupJson(const Group& group)
{
    OrderedJson object;
    object["id"] = group.nId;
    object["address"] = AddressJson(group.address);
    object["name"] = group.strName;
    object["description"] = group.strDescription;
    object["uniqueName"] = group.strUniqueName;
    object["passThrough"] = group.bPassThrough;
    return object;
}

OrderedJson DeviceJson(const HostDevice& device)
{
    OrderedJson object;
    object["id"] = device.nId;
    object["name"] = device.strName;
    object["description"] = device.strDescription;
    object["productText"] = device.strProductText;
    object["address"] = AddressJson(device.address);
    if (device.bHasLine) {
        OrderedJson line;
        line["address"] = AddressJson(device.lineAddress);
        line["area"] = AddressJson(device.areaAddress);
        object["line"] = line;
    } else {
        object["line"] = nullptr;
    }
    if (device.application) {
        const HostApplicationProgram& program = *device.application;
        OrderedJson application;
        application["name"] = program.strName;
        application["version"] = program.nVersion;
        application["deviceType"] = program.nDeviceType;
        application["manufacturer"] = OrderedJson {{"name", program.strManufacturerName},
                                                   {"code", program.nManufacturerId}};
        OrderedJson lengths = OrderedJson::object();
        for (const auto& [nType, nLength] : program.mapTypeLengths)
            lengths[std::to_string(nType)] = nLength;
        application["typeLengths"] = lengths;
        object["applicationProgram"] = application;
    } else {
        object["applicationProgram"] = nullptr;
    }
    OrderedJson parameters = OrderedJson::array();
    for (const auto& pParameter : device.parameters) {
        OrderedJson parameter;
        parameter["id"] = pParameter->nId;
        parameter["name"] = pParameter->name ? OrderedJson(*pParameter->name) : OrderedJson(nullptr);
        if (const LONG* pNumber = std::get_if<LONG>(&pParameter->value))
            parameter["value"] = *pNumber;
        else
            parameter["value"] = std::get<std::string>(pParameter->value);
        parameter["uniqueNumber"] = pParameter->nUniqueNumber;
        parameters.push_back(parameter);
    }
    object["parameters"] = parameters;
    OrderedJson objects = OrderedJson::array();
    for (const auto& pObject : device.commObjects) {
        OrderedJson item;
        item["id"] = pObject->nId;
        item["number"] = pObject->nNumber;
        item["name"] = pObject->strName;
        item["function"] = pObject->strFunction;
        item["length"] = pObject->nLength;
        item["priority"] = pObject->nPriority;
        item["communication"] = pObject->bCommunication;
        item["read"] = pObject->bRead;
        item["write"] = pObject->bWrite;
        item["transmit"] = pObject->bTransmit;
        item["update"] = pObject->bUpdate;
        item["visible"] = pObject->bVisible;
        if (!pObject->strTypeParameter.empty())
            item["typeParameter"] = pObject->strTypeParameter;
        if (!pObject->strVisibilityParameter.empty())
            item["visibilityParameter"] = pObject->strVisibilityParameter;
        OrderedJson associations = OrderedJson::array();
        for (const auto& pAssociation : pObject->associations) {
            OrderedJson association;
            association["id"] = pAssociation->nId;
            association["groupAddress"] = pAssociation->pGroupAddress ? pAssociation->pGroupAddress->nId : 0;
            association["send"] = pAssociation->bSend;
            association["acknowledge"] = pAssociation->bAcknowledge;
            associations.push_back(association);
        }
        item["associations"] = associations;
        objects.push_back(item);
    }
    object["commObjects"] = objects;
    return object;
}

}  // namespace

std::size_t CountCharacters(std::string_view text)
{
    // Every byte but the continuation bytes begins a character.
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

bool ParseHostProject(std::string_view text, HostData& data, std::string& strError)
{
    if (text.size() > kMaxProjectFileSize) {
        strError = kszProjectFileTooLarge;
        return false;
    }
    try {
        const Json root = Json::parse(text.begin(), text.end());
        HostData parsed;
        CReader(parsed).ReadRoot(root);
        data = std::move(parsed);
        return true;
    } catch (const Json::parse_error& e) {
        strError = std::string("not a JSON text: ") + e.what();
    } catch (const CFormatError& e) {
        strError = e.what();
    } catch (const std::exception& e) {
        strError = e.what();
    }
    return false;
}

namespace {

std::string FormatProject(const HostData& data, bool bWithNextId)
{
    OrderedJson root;
    root["format"] = kszProjectFormat;
    root["version"] = kProjectFormatVersion;
    if (bWithNextId)
        root["nextId"] = data.nNextId;
    root["groupAddressLevels"] = data.nGroupAddressLevels;
    OrderedJson projects = OrderedJson::array();
    for (const auto& pProject : data.projects) {
        OrderedJson project;
        project["id"] = pProject->nId;
        project["name"] = pProject->strName;
        OrderedJson mainGroups = OrderedJson::array();
        for (const auto& pMain : pProject->mainGroups) {
            OrderedJson main = GroupJson(*pMain);
            OrderedJson middleGroups = OrderedJson::array();
            for (const auto& pMiddle : pMain->middleGroups) {
                OrderedJson middle = GroupJson(*pMiddle);
                OrderedJson groupAddresses = OrderedJson::array();
                for (const auto& pSub : pMiddle->groupAddresses) {
                    OrderedJson sub = GroupJson(*pSub);
                    sub["central"] = pSub->bCentral;
                    groupAddresses.push_back(sub);
                }
                middle["groupAddresses"] = groupAddresses;
                middleGroups.push_back(middle);
            }
            main["middleGroups"] = middleGroups;
            mainGroups.push_back(main);
        }
        project["mainGroups"] = mainGroups;
        OrderedJson devices = OrderedJson::array();
        for (const auto& pDevice : pProject->devices)
            devices.push_back(DeviceJson(*pDevice));
        project["devices"] = devices;
        projects.push_back(project);
    }
    root["projects"] = projects;
    return root.dump(2) + "\n";
}

}  // namespace

std::string FormatHostProject(const HostData& data)
{
    return FormatProject(data, true);
}

std::string FormatHostProjectContent(const HostData& data)
{
    return FormatProject(data, false);
}

}  // namespace platform::host
