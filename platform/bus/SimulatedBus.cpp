#include "platform/bus/SimulatedBus.h"

#include <map>
#include <mutex>

namespace {

struct CBusRegistry
{
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<CSimulatedDevice>> mapInstalled;
    std::map<std::string, std::weak_ptr<CSimulatedDevice>> mapOpen;
    CSimulatedDevice::ClockSource fnClock;
};

CBusRegistry& Registry()
{
    static CBusRegistry s_registry;
    return s_registry;
}

}  // namespace

std::shared_ptr<CSimulatedDevice> CSimulatedBus::AttachDevice(const std::string& strConnectionParam,
                                                              EDeviceResult& eResult)
{
    eResult = EDeviceResult::Ok;
    CBusRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    if (auto it = registry.mapInstalled.find(strConnectionParam); it != registry.mapInstalled.end())
        return it->second;
    if (strConnectionParam.empty()) {
        auto pDevice = std::make_shared<CSimulatedDevice>(registry.fnClock);
        registry.mapInstalled.emplace(strConnectionParam, pDevice);
        return pDevice;
    }
    if (auto pOpen = registry.mapOpen[strConnectionParam].lock())
        return pOpen;
    auto pDevice = std::make_shared<CSimulatedDevice>(registry.fnClock);
    eResult = pDevice->Open(strConnectionParam);
    if (eResult != EDeviceResult::Ok) {
        registry.mapOpen.erase(strConnectionParam);
        return nullptr;
    }
    registry.mapOpen[strConnectionParam] = pDevice;
    return pDevice;
}

void CSimulatedBus::InstallDevice(const std::string& strConnectionParam, std::shared_ptr<CSimulatedDevice> pDevice)
{
    CBusRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    if (pDevice)
        registry.mapInstalled[strConnectionParam] = std::move(pDevice);
    else
        registry.mapInstalled.erase(strConnectionParam);
}

void CSimulatedBus::RemoveAll()
{
    // The devices may save their state files as they go: not under the lock.
    std::map<std::string, std::shared_ptr<CSimulatedDevice>> mapGone;
    {
        CBusRegistry& registry = Registry();
        std::lock_guard lock(registry.mutex);
        mapGone.swap(registry.mapInstalled);
    }
}

void CSimulatedBus::SetClockSource(CSimulatedDevice::ClockSource fnClock)
{
    CBusRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    registry.fnClock = std::move(fnClock);
}
