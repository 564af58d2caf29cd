#pragma once
// An accelerator table of the active resource module: keys with their
// command ids. A window translates its key presses through it, so a matching
// key sends the command to the window's command target instead of reaching
// the window as a key. Attach does that for a widget and its children.

#include "platform/base/ResourceTables.h"
#include "platform/base/WinTypes.h"

#include <QKeySequence>
#include <QPointer>

#include <vector>

class CCmdTarget;
class QKeyEvent;
class QWidget;

class CAcceleratorTable {
public:
    struct Entry {
        BYTE fFlags;  // RESACCEL_*
        WORD wKey;
        UINT nCommand;
    };

    CAcceleratorTable() = default;
    ~CAcceleratorTable();

    CAcceleratorTable(const CAcceleratorTable&) = delete;
    CAcceleratorTable& operator=(const CAcceleratorTable&) = delete;

    // From accelerator resource nIDResource; FALSE when it is missing.
    BOOL Load(UINT nIDResource);
    BOOL IsLoaded() const { return m_bLoaded; }
    const std::vector<Entry>& GetEntries() const { return m_arrEntries; }

    // The command of the first entry that matches the key press; 0 for none.
    UINT FindCommand(const QKeyEvent& event) const;
    // Sends the matching command to the target unless its update handler
    // disables it; TRUE when a key matched.
    BOOL Translate(CCmdTarget* pTarget, const QKeyEvent& event) const;
    // Translates the key presses that reach the widget or the children it
    // has now, for the target. The table must outlive the widget or be
    // destroyed first (which ends the translation).
    void Attach(QWidget* pWidget, CCmdTarget* pTarget);

    // The key sequence of a virtual-key entry, empty for a character entry
    // or a key without a Qt counterpart.
    static QKeySequence KeySequenceOf(BYTE fFlags, WORD wKey);

private:
    bool m_bLoaded = false;
    std::vector<Entry> m_arrEntries;
    std::vector<QPointer<QObject>> m_arrFilters;
};
