#include "platform/ui/AcceleratorTable.h"

#include "platform/base/ResourceLibrary.h"
#include "platform/base/VirtualKeys.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/CmdUI.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace {

// The Qt key of a virtual-key code; 0 for none.
int QtKeyOf(WORD wKey) {
    if ((wKey >= 'A' && wKey <= 'Z') || (wKey >= '0' && wKey <= '9')) {
        return wKey;  // Qt's letter and digit keys are the same codes
    }
    if (wKey >= VK_F1 && wKey <= VK_F12) {
        return Qt::Key_F1 + (wKey - VK_F1);
    }
    switch (wKey) {
        case VK_BACK:
            return Qt::Key_Backspace;
        case VK_TAB:
            return Qt::Key_Tab;
        case VK_RETURN:
            return Qt::Key_Return;
        case VK_ESCAPE:
            return Qt::Key_Escape;
        case VK_SPACE:
            return Qt::Key_Space;
        case VK_PRIOR:
            return Qt::Key_PageUp;
        case VK_NEXT:
            return Qt::Key_PageDown;
        case VK_END:
            return Qt::Key_End;
        case VK_HOME:
            return Qt::Key_Home;
        case VK_LEFT:
            return Qt::Key_Left;
        case VK_UP:
            return Qt::Key_Up;
        case VK_RIGHT:
            return Qt::Key_Right;
        case VK_DOWN:
            return Qt::Key_Down;
        case VK_INSERT:
            return Qt::Key_Insert;
        case VK_DELETE:
            return Qt::Key_Delete;
        default:
            return 0;
    }
}

Qt::KeyboardModifiers ModifiersOf(BYTE fFlags) {
    Qt::KeyboardModifiers modifiers;
    if ((fFlags & platform::RESACCEL_SHIFT) != 0) {
        modifiers |= Qt::ShiftModifier;
    }
    if ((fFlags & platform::RESACCEL_CONTROL) != 0) {
        modifiers |= Qt::ControlModifier;
    }
    if ((fFlags & platform::RESACCEL_ALT) != 0) {
        modifiers |= Qt::AltModifier;
    }
    return modifiers;
}

// The state an update handler gives a command; enabled when none answers.
class CEnableQuery : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        m_bEnabled = bOn;
        CCmdUI::Enable(bOn);
    }
    BOOL m_bEnabled = TRUE;
};

// Translates key presses on the watched widgets; one per attachment.
class CAcceleratorFilter : public QObject {
public:
    CAcceleratorFilter(const CAcceleratorTable& table, QWidget* pWidget, CCmdTarget* pTarget)
        : QObject(pWidget), m_table(table), m_pTarget(pTarget) {}

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override {
        if (pEvent->type() == QEvent::ShortcutOverride) {
            // Keep Qt's own shortcuts (a line edit's Ctrl+C) from taking the key.
            if (m_table.FindCommand(static_cast<QKeyEvent&>(*pEvent)) != 0) {
                pEvent->accept();
                return true;
            }
        } else if (pEvent->type() == QEvent::KeyPress) {
            if (m_table.Translate(m_pTarget, static_cast<QKeyEvent&>(*pEvent))) {
                return true;
            }
        }
        return QObject::eventFilter(pWatched, pEvent);
    }

private:
    const CAcceleratorTable& m_table;
    CCmdTarget* m_pTarget;
};

}  // namespace

CAcceleratorTable::~CAcceleratorTable() {
    for (const QPointer<QObject>& pFilter : m_arrFilters) {
        delete pFilter.data();
    }
}

BOOL CAcceleratorTable::Load(UINT nIDResource) {
    const platform::CResourceModule* pModule = platform::GetFrameworkResourceModule();
    const platform::ResAcceleratorTable* pTable = pModule != nullptr ? pModule->FindAccelerators(nIDResource) : nullptr;
    m_arrEntries.clear();
    m_bLoaded = pTable != nullptr;
    if (pTable == nullptr) {
        return FALSE;
    }
    for (const platform::ResAccelerator& accel : pTable->entries) {
        m_arrEntries.push_back({accel.fFlags, accel.wKey, accel.nCommand});
    }
    return TRUE;
}

QKeySequence CAcceleratorTable::KeySequenceOf(BYTE fFlags, WORD wKey) {
    if ((fFlags & platform::RESACCEL_VIRTKEY) == 0) {
        return {};
    }
    const int nKey = QtKeyOf(wKey);
    if (nKey == 0) {
        return {};
    }
    return QKeySequence(QKeyCombination(ModifiersOf(fFlags), static_cast<Qt::Key>(nKey)));
}

UINT CAcceleratorTable::FindCommand(const QKeyEvent& event) const {
    const Qt::KeyboardModifiers modifiers =
        event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    for (const Entry& entry : m_arrEntries) {
        if ((entry.fFlags & platform::RESACCEL_VIRTKEY) != 0) {
            const int nKey = QtKeyOf(entry.wKey);
            // Enter on the keypad is the same key as Return.
            const int nEventKey = event.key() == Qt::Key_Enter ? Qt::Key_Return : event.key();
            if (nKey != 0 && nKey == nEventKey && ModifiersOf(entry.fFlags) == modifiers) {
                return entry.nCommand;
            }
        } else {
            const QString text = event.text();
            if (text.size() == 1 && text.at(0).unicode() == entry.wKey) {
                return entry.nCommand;
            }
        }
    }
    return 0;
}

BOOL CAcceleratorTable::Translate(CCmdTarget* pTarget, const QKeyEvent& event) const {
    const UINT nCommand = FindCommand(event);
    if (nCommand == 0 || pTarget == nullptr) {
        return FALSE;
    }
    // A command that has become disabled is not run; its key is used up all
    // the same, as a menu's disabled item takes its click.
    CEnableQuery query;
    query.m_nID = nCommand;
    pTarget->OnCmdMsg(nCommand, CN_UPDATE_COMMAND_UI, &query);
    if (query.m_bEnabled) {
        pTarget->SendCommand(nCommand);
    }
    return TRUE;
}

void CAcceleratorTable::Attach(QWidget* pWidget, CCmdTarget* pTarget) {
    if (pWidget == nullptr) {
        return;
    }
    auto* pFilter = new CAcceleratorFilter(*this, pWidget, pTarget);
    pWidget->installEventFilter(pFilter);
    const auto children = pWidget->findChildren<QWidget*>();
    for (QWidget* pChild : children) {
        pChild->installEventFilter(pFilter);
    }
    // A widget that goes first takes its filter with it.
    m_arrFilters.emplace_back(pFilter);
}
