#include "platform/ui/WindowTree.h"

#include <QFont>
#include <QWidget>

namespace {

bool IsTabStop(const QWidget* pChild) {
    return !pChild->isWindow() && !pChild->isHidden() && pChild->isEnabled() &&
           (pChild->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

QList<QWidget*> DirectChildren(const QWidget* pWindow) {
    return pWindow->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
}

}  // namespace

QWidget* GetFirstTabStopChild(const QWidget* pWindow) {
    if (pWindow == nullptr) {
        return nullptr;
    }
    const auto children = DirectChildren(pWindow);
    for (QWidget* pChild : children) {
        if (IsTabStop(pChild)) {
            return pChild;
        }
    }
    return nullptr;
}

QWidget* GetLastTabStopChild(const QWidget* pWindow) {
    if (pWindow == nullptr) {
        return nullptr;
    }
    const auto children = DirectChildren(pWindow);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (IsTabStop(*it)) {
            return *it;
        }
    }
    return nullptr;
}

void ApplyToWindowTree(QWidget* pWindow, const QFont& font, BOOL bRedraw) {
    if (pWindow == nullptr) {
        return;
    }
    pWindow->setFont(font);
    if (bRedraw) {
        pWindow->update();
    }
    const auto children = DirectChildren(pWindow);
    for (QWidget* pChild : children) {
        ApplyToWindowTree(pChild, font, bRedraw);
    }
}
