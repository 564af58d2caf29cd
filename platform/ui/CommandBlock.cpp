#include "platform/ui/CommandBlock.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace platform::ui {

namespace {

struct Block {
    QPointer<QWidget> pFront;
    std::vector<QPointer<QWidget>> behind;
};

std::vector<Block>& Blocks() {
    static std::vector<Block> blocks;
    return blocks;
}

void DropEndedBlocks() {
    auto& blocks = Blocks();
    blocks.erase(std::remove_if(blocks.begin(), blocks.end(), [](const Block& block) { return block.pFront.isNull(); }),
                 blocks.end());
}

}  // namespace

void BeginCommandBlock(QWidget* pFront) {
    if (pFront == nullptr) {
        return;
    }
    Block block;
    block.pFront = pFront;
    QWidget* pFrontWindow = pFront->window();
    for (QWidget* pOwner = pFrontWindow->parentWidget(); pOwner != nullptr; pOwner = pOwner->window()->parentWidget()) {
        block.behind.emplace_back(pOwner->window());
    }
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        const auto windows = QApplication::topLevelWidgets();
        for (QWidget* pWindow : windows) {
            if (pWindow != pFrontWindow && pWindow->isVisible()) {
                block.behind.emplace_back(pWindow);
            }
        }
    }
    Blocks().push_back(std::move(block));
}

void EndCommandBlock(QWidget* pFront) {
    auto& blocks = Blocks();
    for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) {
        if (it->pFront == pFront) {
            blocks.erase(std::next(it).base());
            break;
        }
    }
    DropEndedBlocks();
}

bool IsCommandBlocked(const QWidget* pTarget) {
    if (pTarget == nullptr) {
        return false;
    }
    DropEndedBlocks();
    const QWidget* pWindow = pTarget->window();
    for (const Block& block : Blocks()) {
        for (const QPointer<QWidget>& pBehind : block.behind) {
            if (pBehind == pWindow) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace platform::ui
