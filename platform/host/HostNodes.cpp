#include "platform/host/HostNodes.h"

#include <cstdio>
#include <cstdlib>
#include <strings.h>

namespace platform::host {

namespace {

LONG NumberOf(const HostValue& value)
{
    if (const LONG* pNumber = std::get_if<LONG>(&value))
        return *pNumber;
    return static_cast<LONG>(std::strtol(std::get<std::string>(value).c_str(), nullptr, 10));
}

std::optional<LONG> ParameterNumber(const HostCommObject& object, const std::string& strName)
{
    if (strName.empty())
        return std::nullopt;
    std::shared_ptr<HostDevice> pDevice = object.pDevice.lock();
    if (!pDevice)
        return std::nullopt;
    std::shared_ptr<HostParameter> pParameter = FindParameter(*pDevice, strName);
    if (!pParameter)
        return std::nullopt;
    return NumberOf(pParameter->value);
}

}  // namespace

namespace {

std::string FoldedName(const std::string& strName)
{
    std::string strFolded = strName;
    for (char& ch : strFolded)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    return strFolded;
}

}  // namespace

std::shared_ptr<HostParameter> FindParameter(const HostDevice& device, const std::string& strName)
{
    // The plug-in asks for the type parameter of each object in turn: the
    // names are looked up in an index rather than compared one by one.
    HostDevice::ParameterIndex& index = device.parameterIndex;
    if (index.pData != device.parameters.data() || index.nSize != device.parameters.size()) {
        index.mapFirst.clear();
        for (std::size_t i = 0; i < device.parameters.size(); ++i)
            if (const std::shared_ptr<HostParameter>& pParameter = device.parameters[i]; pParameter->name)
                index.mapFirst.try_emplace(FoldedName(*pParameter->name), i);
        index.pData = device.parameters.data();
        index.nSize = device.parameters.size();
    }
    auto it = index.mapFirst.find(FoldedName(strName));
    if (it == index.mapFirst.end())
        return nullptr;
    const std::shared_ptr<HostParameter>& pParameter = device.parameters[it->second];
    if (pParameter->name && ::strcasecmp(pParameter->name->c_str(), strName.c_str()) == 0)
        return pParameter;
    for (const std::shared_ptr<HostParameter>& pOther : device.parameters)
        if (pOther->name && ::strcasecmp(pOther->name->c_str(), strName.c_str()) == 0)
            return pOther;
    return nullptr;
}

bool IsCommObjectVisible(const HostCommObject& object)
{
    if (std::optional<LONG> type = ParameterNumber(object, object.strTypeParameter))
        return *type != 0;
    if (std::optional<LONG> visible = ParameterNumber(object, object.strVisibilityParameter))
        return *visible != 0;
    return object.bVisible;
}

SHORT GetCommObjectLength(const HostCommObject& object)
{
    std::optional<LONG> type = ParameterNumber(object, object.strTypeParameter);
    std::shared_ptr<HostDevice> pDevice = object.pDevice.lock();
    if (type && *type != 0 && pDevice && pDevice->application) {
        const auto& lengths = pDevice->application->mapTypeLengths;
        auto it = lengths.find(*type);
        if (it != lengths.end())
            return it->second;
    }
    return object.nLength;
}

std::string FormatGroupAddressNumbers(const HostGroupAddress& groupAddress, int nLevels)
{
    LONG nMain = 0;
    LONG nMiddle = 0;
    if (std::shared_ptr<HostMiddleGroup> pMiddle = groupAddress.pParent.lock()) {
        nMiddle = pMiddle->address.value_or(0);
        if (std::shared_ptr<HostMainGroup> pMain = pMiddle->pParent.lock())
            nMain = pMain->address.value_or(0);
    }
    const LONG nSub = groupAddress.address.value_or(0);
    char szText[48];
    if (nLevels == 2)
        std::snprintf(szText, sizeof szText, "%d/%d", static_cast<int>(nMain), static_cast<int>(nMiddle * 256 + nSub));
    else
        std::snprintf(szText, sizeof szText, "%d/%d/%d", static_cast<int>(nMain), static_cast<int>(nMiddle),
                      static_cast<int>(nSub));
    return szText;
}

}  // namespace platform::host
