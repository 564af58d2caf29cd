#include "platform/ui/WindowClasses.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>

namespace platform::ui {

namespace {

std::string FoldedClassName(const std::string& strName) {
    std::string strKey = strName;
    std::transform(strKey.begin(), strKey.end(), strKey.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return strKey;
}

struct Classes {
    std::mutex mutex;
    std::map<std::string, HICON> icons{{kStandardDialogClass, nullptr}};
};

Classes& GetClasses() {
    static Classes classes;
    return classes;
}

}  // namespace

bool RegisterWindowClass(const std::string& strName, HICON hIcon) {
    if (strName.empty()) {
        return false;
    }
    Classes& classes = GetClasses();
    std::lock_guard lock(classes.mutex);
    return classes.icons.emplace(FoldedClassName(strName), hIcon).second;
}

bool UnregisterWindowClass(const std::string& strName) {
    const std::string strKey = FoldedClassName(strName);
    if (strKey == kStandardDialogClass) {
        return false;
    }
    Classes& classes = GetClasses();
    std::lock_guard lock(classes.mutex);
    return classes.icons.erase(strKey) != 0;
}

bool IsWindowClassRegistered(const std::string& strName) {
    Classes& classes = GetClasses();
    std::lock_guard lock(classes.mutex);
    return classes.icons.count(FoldedClassName(strName)) != 0;
}

HICON GetWindowClassIcon(const std::string& strName) {
    Classes& classes = GetClasses();
    std::lock_guard lock(classes.mutex);
    const auto it = classes.icons.find(FoldedClassName(strName));
    return it != classes.icons.end() ? it->second : nullptr;
}

}  // namespace platform::ui
