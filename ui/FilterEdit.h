#pragma once
// A single-line edit that accepts only the characters of its set. A typed
// character outside the set is dropped with the simple beep; a paste keeps
// only the accepted characters of the clipboard text and beeps when it
// dropped any. Text set by the program is not filtered.
//
// It can be made in code or take the place of a plain edit that a dialog
// template put at an id (SubclassDlgItem).

#include "platform/base/WinTypes.h"
#include "ui/CharSet.h"
#include "ui/LeaveCheck.h"

#include <QLineEdit>

#include <string>

class CFilterEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit CFilterEdit(const std::string& strAllowed = std::string(), QWidget* pParent = nullptr);
    explicit CFilterEdit(const CCharSet& allowed, QWidget* pParent = nullptr);

    // Allows (bAllow) or forbids the character, the characters of the text
    // or the whole set.
    void AllowChar(char ch, bool bAllow = true);
    void AllowChars(const std::string& strChars, bool bAllow = true);
    void AllowSet(const CCharSet& chars, bool bAllow = true);
    const CCharSet& GetAllowedSet() const { return m_csAllowed; }

    // Backspace (8) or a character of the set.
    virtual bool IsValidChar(unsigned nChar) const;

    // Takes the place of the edit with the id below the parent: its position,
    // size, text, state, tab order and id; the plain edit goes. FALSE when
    // there is no plain edit with that id.
    BOOL SubclassDlgItem(UINT nId, QWidget* pParent);

    void SetWindowText(const std::string& strText);
    std::string GetWindowText() const;

    // The edit's own paste, filtered.
    virtual void OnPaste();

protected:
    // A character typed (also backspace); before the filter.
    virtual void OnChar(unsigned nChar);
    // A key without a character (arrows, Delete...).
    virtual void OnKeyDown(int nKey);
    // When the user leaves the edit (CLeaveCheck): normalises the text, or
    // refuses it with a message.
    virtual void OnKillFocus();
    // Whether OnKillFocus would take the text without a word to the user.
    virtual bool IsTextAccepted() const { return true; }

    void keyPressEvent(QKeyEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;

private:
    void Init();
    // The character the key types (backspace as 8), or -1 for none.
    static int TypedChar(const QKeyEvent* pEvent);

    CCharSet m_csAllowed;
    CLeaveCheck m_leaveCheck;
    // The key being handled passed the filter.
    bool m_bCharAccepted = false;
};
