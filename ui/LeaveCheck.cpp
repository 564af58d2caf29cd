#include "ui/LeaveCheck.h"

#include "platform/ui/ToolBar.h"
#include "ui/MainFormView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWindow>

namespace {

// Whether an input at the point of the top-level window goes to a widget
// that takes the focus by it (policy) or acts on it without the focus.
bool ReachesOtherControl(QWidget* pTop, const QPoint& ptWindow, const QWidget* pField, Qt::FocusPolicy policy) {
    QWidget* pTarget = pTop->childAt(ptWindow);
    for (QWidget* pWidget = pTarget != nullptr ? pTarget : pTop; pWidget != nullptr;
         pWidget = pWidget->parentWidget()) {
        if (pWidget == pField) {
            return false;
        }
        if (pWidget->isEnabled()) {
            if ((pWidget->focusPolicy() & policy) == policy) {
                return true;
            }
            // Tool buttons, the toolbar's buttons and the menu bar act
            // without taking the focus.
            if (policy == Qt::ClickFocus && (qobject_cast<QAbstractButton*>(pWidget) != nullptr ||
                                             qobject_cast<QMenuBar*>(pWidget) != nullptr ||
                                             qobject_cast<CToolBar*>(pWidget) != nullptr)) {
                return true;
            }
        }
        if (pWidget->isWindow()) {
            break;
        }
    }
    return false;
}

}  // namespace

// Looks at the application's input while the check may have to act on it;
// a second object, so the field's own events are not seen twice.
class CLeaveCheck::CInputFilter : public QObject {
public:
    explicit CInputFilter(CLeaveCheck& owner) : m_owner(owner) {}

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override { return m_owner.OnInput(pWatched, pEvent); }

private:
    CLeaveCheck& m_owner;
};

CLeaveCheck::CLeaveCheck(QObject* pParent) : QObject(pParent), m_pInputFilter(std::make_unique<CInputFilter>(*this)) {}

CLeaveCheck::~CLeaveCheck() {
    if (m_bWatching && qApp != nullptr) {
        qApp->removeEventFilter(m_pInputFilter.get());
    }
}

void CLeaveCheck::Attach(QWidget* pField, Predicate isAccepted, Check check) {
    if (m_pField != nullptr) {
        m_pField->removeEventFilter(this);
    }
    m_pField = pField;
    m_isAccepted = std::move(isAccepted);
    m_check = std::move(check);
    m_bChecked = false;
    if (pField != nullptr) {
        pField->installEventFilter(this);
    }
    UpdateWatching();
}

void CLeaveCheck::MarkChecked() {
    m_bChecked = true;
    m_strChecked = FieldText();
}

QString CLeaveCheck::FieldText() const {
    const auto* pEdit = qobject_cast<const QLineEdit*>(m_pField.data());
    return pEdit != nullptr ? pEdit->text() : QString();
}

bool CLeaveCheck::IsPending() const {
    return !m_bChecked || FieldText() != m_strChecked;
}

void CLeaveCheck::UpdateWatching() {
    const bool bWanted = m_pField != nullptr && (m_pField->hasFocus() || m_bRefusalPosted || m_bSwallowingRelease);
    if (bWanted == m_bWatching || qApp == nullptr) {
        return;
    }
    m_bWatching = bWanted;
    if (bWanted) {
        qApp->installEventFilter(m_pInputFilter.get());
    } else {
        qApp->removeEventFilter(m_pInputFilter.get());
    }
}

bool CLeaveCheck::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pWatched == m_pField && m_pField != nullptr) {
        OnFieldEvent(pEvent);
    }
    return QObject::eventFilter(pWatched, pEvent);
}

void CLeaveCheck::OnFieldEvent(QEvent* pEvent) {
    if (pEvent->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(pEvent)->reason();
        // Back from another window or a popup is still the same visit.
        if (!m_bInCheck && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            m_bChecked = false;
        }
        UpdateWatching();
    } else if (pEvent->type() == QEvent::FocusOut) {
        OnFocusOut(static_cast<QFocusEvent&>(*pEvent));
        UpdateWatching();
    }
}

void CLeaveCheck::OnFocusOut(const QFocusEvent& event) {
    if (m_bInCheck || m_bRefusalPosted) {
        return;
    }
    // Another window in front, the field's own context menu, a window that
    // closes or hides: the user has not left the field.
    const Qt::FocusReason reason = event.reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || !m_pField->isVisible() ||
        !m_pField->window()->isVisible() || !IsPending()) {
        return;
    }
    // The program moved the focus, or a way not looked at before: the check
    // comes after the focus change, not inside it.
    if (m_isAccepted()) {
        RunCheck();
    } else {
        PostRefusal(false);
    }
}

bool CLeaveCheck::IsFieldWindow(const QObject* pWatched) const {
    return pWatched->isWindowType() && m_pField->window()->windowHandle() == pWatched;
}

bool CLeaveCheck::OnInput(QObject* pWatched, QEvent* pEvent) {
    if (m_pField == nullptr) {
        m_bRefusalPosted = false;
        m_bSwallowingRelease = false;
        UpdateWatching();
        return false;
    }
    if (m_bInCheck) {
        return false;  // the refusal's own message box
    }
    // Mouse and keys are taken at the window, before any widget (and the
    // focus change of a click) sees them; shortcuts before their owner acts.
    const bool bActive = m_pField->hasFocus() || m_bRefusalPosted;
    switch (pEvent->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (!IsFieldWindow(pWatched)) {
                return false;
            }
            // A new click: the release of a swallowed one went elsewhere.
            m_bSwallowingRelease = false;
            if (bActive && ReachesOtherControl(m_pField->window(),
                                               static_cast<QMouseEvent*>(pEvent)->position().toPoint(), m_pField,
                                               Qt::ClickFocus)) {
                return OnLeave(true);
            }
            UpdateWatching();
            return false;
        case QEvent::MouseButtonRelease:
            if (m_bSwallowingRelease && IsFieldWindow(pWatched)) {
                m_bSwallowingRelease = false;
                UpdateWatching();
                return true;
            }
            return false;
        case QEvent::MouseMove:
            return m_bSwallowingRelease && IsFieldWindow(pWatched) &&
                   static_cast<QMouseEvent*>(pEvent)->buttons() != Qt::NoButton;
        case QEvent::Wheel:
            if (bActive && IsFieldWindow(pWatched) &&
                ReachesOtherControl(m_pField->window(), static_cast<QWheelEvent*>(pEvent)->position().toPoint(),
                                    m_pField, Qt::WheelFocus)) {
                return OnLeave(false);
            }
            return false;
        case QEvent::KeyPress:
            if (bActive && IsFieldWindow(pWatched) && IsLeavingKey(static_cast<QKeyEvent&>(*pEvent))) {
                return OnLeave(false);
            }
            return false;
        case QEvent::Shortcut:
            if (bActive && IsLeavingShortcut(pWatched)) {
                return OnLeave(false);
            }
            return false;
        default:
            return false;
    }
}

bool CLeaveCheck::IsLeavingKey(const QKeyEvent& event) const {
    switch (event.key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_F1:
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            // In a dialog Return means its default button; a form in the
            // main window does nothing with it.
            for (QWidget* pWidget = m_pField->parentWidget(); pWidget != nullptr; pWidget = pWidget->parentWidget()) {
                if (qobject_cast<QDialog*>(pWidget) != nullptr) {
                    return qobject_cast<CMainFormView*>(pWidget) == nullptr;
                }
            }
            return false;
        }
        default:
            return false;
    }
}

bool CLeaveCheck::IsLeavingShortcut(QObject* pOwner) const {
    auto* pWidget = qobject_cast<QWidget*>(pOwner);
    if (pWidget == nullptr) {
        // An action's key: it acts in the active window.
        return QApplication::activeWindow() == m_pField->window();
    }
    if (pWidget->window() != m_pField->window() || pWidget == m_pField || m_pField->isAncestorOf(pWidget)) {
        return false;
    }
    // The field's own label only gives it the focus it has.
    const auto* pLabel = qobject_cast<QLabel*>(pWidget);
    return pLabel == nullptr || pLabel->buddy() != m_pField;
}

bool CLeaveCheck::OnLeave(bool bPress) {
    if (m_bRefusalPosted) {
        // Nothing acts on the refused text before its message came.
        m_bSwallowingRelease = m_bSwallowingRelease || bPress;
        return true;
    }
    if (!IsPending()) {
        return false;
    }
    if (m_isAccepted()) {
        RunCheck();
        return false;
    }
    PostRefusal(bPress);
    return true;
}

void CLeaveCheck::RunCheck() {
    const QPointer<CLeaveCheck> pSelf(this);
    m_bInCheck = true;
    m_check();
    if (pSelf == nullptr) {
        return;
    }
    m_bInCheck = false;
    MarkChecked();
}

void CLeaveCheck::PostRefusal(bool bPress) {
    m_bRefusalPosted = true;
    m_bSwallowingRelease = m_bSwallowingRelease || bPress;
    UpdateWatching();
    QMetaObject::invokeMethod(this, [this]() { RunRefusal(); }, Qt::QueuedConnection);
}

void CLeaveCheck::RunRefusal() {
    if (!m_bRefusalPosted) {
        return;
    }
    const QPointer<CLeaveCheck> pSelf(this);
    const QPointer<QWidget> pField = m_pField;
    if (pField != nullptr && pField->isVisible()) {
        RunCheck();
        if (pSelf == nullptr) {
            return;
        }
        if (pField != nullptr && pField->isVisible() && !pField->hasFocus()) {
            pField->activateWindow();
            pField->setFocus(Qt::OtherFocusReason);
        }
    }
    m_bRefusalPosted = false;
    // The click's release came while the message was up, to another window.
    if (QGuiApplication::mouseButtons() == Qt::NoButton) {
        m_bSwallowingRelease = false;
    }
    UpdateWatching();
}
