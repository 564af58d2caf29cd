#include "platform/ui/Handles.h"

#include <QPointer>
#include <QVariant>
#include <QWidget>

#include <cstdint>
#include <mutex>
#include <unordered_map>

namespace platform::ui {

namespace {

// The widget property that carries its handle number.
constexpr char kHandleProperty[] = "chrono.hwnd";

struct IconEntry {
    QIcon icon;
    bool bShared = false;
};

struct Registry {
    std::mutex mutex;
    std::uintptr_t nNextWindow = 0x10000;
    std::uintptr_t nNextIcon = 0x20000;
    std::unordered_map<std::uintptr_t, QPointer<QWidget>> windows;
    std::unordered_map<std::uintptr_t, IconEntry> icons;
};

Registry& GetRegistry() {
    static Registry registry;
    return registry;
}

}  // namespace

HWND HwndFromWidget(const QWidget* pWidget) {
    if (pWidget == nullptr) {
        return nullptr;
    }
    const QVariant value = pWidget->property(kHandleProperty);
    if (value.isValid()) {
        return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(value.toULongLong()));
    }
    QWidget* pMutable = const_cast<QWidget*>(pWidget);
    Registry& registry = GetRegistry();
    std::uintptr_t nHandle;
    {
        std::lock_guard lock(registry.mutex);
        nHandle = registry.nNextWindow;
        registry.nNextWindow += 4;
        registry.windows.emplace(nHandle, QPointer<QWidget>(pMutable));
    }
    pMutable->setProperty(kHandleProperty, QVariant::fromValue<qulonglong>(nHandle));
    QObject::connect(pMutable, &QObject::destroyed, [nHandle]() {
        Registry& reg = GetRegistry();
        std::lock_guard lock(reg.mutex);
        reg.windows.erase(nHandle);
    });
    return reinterpret_cast<HWND>(nHandle);
}

QWidget* WidgetFromHwnd(HWND hWnd) {
    if (hWnd == nullptr) {
        return nullptr;
    }
    Registry& registry = GetRegistry();
    std::lock_guard lock(registry.mutex);
    const auto it = registry.windows.find(reinterpret_cast<std::uintptr_t>(hWnd));
    return it != registry.windows.end() ? it->second.data() : nullptr;
}

HICON CreateIconHandle(const QIcon& icon, bool bShared) {
    Registry& registry = GetRegistry();
    std::lock_guard lock(registry.mutex);
    const std::uintptr_t nHandle = registry.nNextIcon;
    registry.nNextIcon += 4;
    registry.icons.emplace(nHandle, IconEntry{icon, bShared});
    return reinterpret_cast<HICON>(nHandle);
}

QIcon IconFromHandle(HICON hIcon) {
    if (hIcon == nullptr) {
        return {};
    }
    Registry& registry = GetRegistry();
    std::lock_guard lock(registry.mutex);
    const auto it = registry.icons.find(reinterpret_cast<std::uintptr_t>(hIcon));
    return it != registry.icons.end() ? it->second.icon : QIcon();
}

bool IsIconHandle(HICON hIcon) {
    if (hIcon == nullptr) {
        return false;
    }
    Registry& registry = GetRegistry();
    std::lock_guard lock(registry.mutex);
    return registry.icons.count(reinterpret_cast<std::uintptr_t>(hIcon)) != 0;
}

bool DestroyIconHandle(HICON hIcon) {
    if (hIcon == nullptr) {
        return false;
    }
    Registry& registry = GetRegistry();
    std::lock_guard lock(registry.mutex);
    const auto it = registry.icons.find(reinterpret_cast<std::uintptr_t>(hIcon));
    if (it == registry.icons.end() || it->second.bShared) {
        return false;
    }
    registry.icons.erase(it);
    return true;
}

void ReleaseIconHandle(HICON hIcon) {
    if (hIcon == nullptr) {
        return;
    }
    Registry& registry = GetRegistry();
    std::lock_guard lock(registry.mutex);
    registry.icons.erase(reinterpret_cast<std::uintptr_t>(hIcon));
}

}  // namespace platform::ui
