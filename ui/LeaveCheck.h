#pragma once
// The check a field runs when the user leaves it, whichever way: Tab or
// Shift+Tab, a click on anything else of its window that takes the focus or
// acts (a control, the tree, a table, a button, the toolbar, the menu bar),
// a mnemonic of a control or of the menu, F1, Return in a dialog. Escape,
// another window coming to the front and the field's own context menu are no
// leaving.
//
// The key, click or mnemonic is looked at before any window sees it: an
// accepted text is checked at once and the input goes on; a refused one
// swallows the input (a click with its release), and the check with its
// message runs from the event loop right after, never inside a focus change
// or a menu's or button's handling of the input, so a message box's modal
// loop cannot pull state from under them. The field keeps the focus.
//
// A field is checked once per visit: again only when its text changed since.
// A focus change that comes another way (by the program) checks the same,
// after the change.

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QFocusEvent;
class QKeyEvent;
class QWidget;

class CLeaveCheck : public QObject {
    Q_OBJECT

public:
    // Says, without a word to the user, whether the check would take the
    // field's text (perhaps normalised).
    using Predicate = std::function<bool()>;
    // The field's check: normalises an accepted text, or shows the message
    // and puts the last accepted value back.
    using Check = std::function<void()>;

    explicit CLeaveCheck(QObject* pParent = nullptr);
    ~CLeaveCheck() override;

    CLeaveCheck(const CLeaveCheck&) = delete;
    CLeaveCheck& operator=(const CLeaveCheck&) = delete;

    void Attach(QWidget* pField, Predicate isAccepted, Check check);
    QWidget* GetField() const { return m_pField; }

    // The field's text as it stands counts as checked (the program filled
    // it, or checked it itself).
    void MarkChecked();

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    class CInputFilter;

    bool IsPending() const;
    QString FieldText() const;
    // While the field has the focus, or a refusal is still to come or a
    // swallowed click still to end, every input of the application is
    // looked at.
    void UpdateWatching();
    void OnFieldEvent(QEvent* pEvent);
    void OnFocusOut(const QFocusEvent& event);
    bool OnInput(QObject* pWatched, QEvent* pEvent);
    bool IsFieldWindow(const QObject* pWatched) const;
    bool IsLeavingShortcut(QObject* pOwner) const;
    bool IsLeavingKey(const QKeyEvent& event) const;
    // The input that leaves the field: true when it is swallowed.
    bool OnLeave(bool bPress);
    void RunCheck();
    void PostRefusal(bool bPress);
    void RunRefusal();

    std::unique_ptr<CInputFilter> m_pInputFilter;
    QPointer<QWidget> m_pField;
    Predicate m_isAccepted;
    Check m_check;
    bool m_bWatching = false;
    bool m_bChecked = false;
    QString m_strChecked;
    bool m_bInCheck = false;
    bool m_bRefusalPosted = false;
    bool m_bSwallowingRelease = false;
};
