#include "ui/FilterEdit.h"

#include "platform/ui/Beep.h"
#include "platform/ui/DialogTemplate.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include <memory>

namespace {

constexpr unsigned kBackspace = 8;
constexpr UINT kSimpleBeep = 0xFFFFFFFF;

}  // namespace

CFilterEdit::CFilterEdit(const std::string& strAllowed, QWidget* pParent)
    : QLineEdit(pParent), m_csAllowed(strAllowed) {
    Init();
}

CFilterEdit::CFilterEdit(const CCharSet& allowed, QWidget* pParent) : QLineEdit(pParent), m_csAllowed(allowed) {
    Init();
}

void CFilterEdit::Init() {
    // A drop would bypass the filter.
    setAcceptDrops(false);
    m_leaveCheck.Attach(
        this, [this]() { return IsTextAccepted(); }, [this]() { OnKillFocus(); });
}

void CFilterEdit::AllowChar(char ch, bool bAllow) {
    m_csAllowed.Set(static_cast<unsigned char>(ch), bAllow);
}

void CFilterEdit::AllowChars(const std::string& strChars, bool bAllow) {
    for (char ch : strChars) {
        AllowChar(ch, bAllow);
    }
}

void CFilterEdit::AllowSet(const CCharSet& chars, bool bAllow) {
    m_csAllowed = bAllow ? m_csAllowed + chars : m_csAllowed - chars;
}

bool CFilterEdit::IsValidChar(unsigned nChar) const {
    return nChar == kBackspace || m_csAllowed.ContainsCode(nChar);
}

void CFilterEdit::SetWindowText(const std::string& strText) {
    setText(QString::fromStdString(strText));
}

std::string CFilterEdit::GetWindowText() const {
    return text().toStdString();
}

BOOL CFilterEdit::SubclassDlgItem(UINT nId, QWidget* pParent) {
    auto* pOld = qobject_cast<QLineEdit*>(platform::ui::FindDlgItem(pParent, nId));
    if (pOld == nullptr || qobject_cast<CFilterEdit*>(pOld) != nullptr) {
        return FALSE;
    }
    setText(pOld->text());
    setReadOnly(pOld->isReadOnly());
    setMaxLength(pOld->maxLength());
    setEchoMode(pOld->echoMode());
    setToolTip(pOld->toolTip());
    platform::ui::ReplaceDlgControl(pOld, this);
    return TRUE;
}

int CFilterEdit::TypedChar(const QKeyEvent* pEvent) {
    if (pEvent->key() == Qt::Key_Backspace) {
        return static_cast<int>(kBackspace);
    }
    // Delete edits the text without typing a character.
    if (pEvent->key() == Qt::Key_Delete) {
        return -1;
    }
    const QString strText = pEvent->text();
    if (strText.isEmpty()) {
        return -1;
    }
    const char16_t ch = strText.at(0).unicode();
    // Beyond the 8-bit codes nothing can be in the set; a code that no set
    // holds makes the filter reject it.
    return ch < 256 ? static_cast<int>(ch) : 0x7FFFFFFF;
}

void CFilterEdit::keyPressEvent(QKeyEvent* pEvent) {
    if (pEvent == QKeySequence::Paste) {
        OnPaste();
        pEvent->accept();
        return;
    }
    // Clipboard, undo and selection keys and the keys of the dialog (Enter,
    // Escape, Tab) are no characters of the text.
    if (pEvent == QKeySequence::Copy || pEvent == QKeySequence::Cut || pEvent == QKeySequence::Undo ||
        pEvent == QKeySequence::Redo || pEvent == QKeySequence::SelectAll) {
        QLineEdit::keyPressEvent(pEvent);
        return;
    }
    // Alt with a letter is a mnemonic of the dialog, no character.
    if ((pEvent->modifiers() & Qt::AltModifier) != 0 && (pEvent->modifiers() & Qt::ControlModifier) == 0) {
        QLineEdit::keyPressEvent(pEvent);
        return;
    }
    switch (pEvent->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        QLineEdit::keyPressEvent(pEvent);
        return;
    default:
        break;
    }
    const int nChar = TypedChar(pEvent);
    if (nChar < 0) {
        OnKeyDown(pEvent->key());
        QLineEdit::keyPressEvent(pEvent);
        return;
    }
    m_bCharAccepted = false;
    OnChar(static_cast<unsigned>(nChar));
    if (m_bCharAccepted) {
        QLineEdit::keyPressEvent(pEvent);
    } else {
        pEvent->accept();
    }
}

void CFilterEdit::OnChar(unsigned nChar) {
    if (IsValidChar(nChar)) {
        m_bCharAccepted = true;
        return;
    }
    platform::ui::MessageBeep(kSimpleBeep);
}

void CFilterEdit::OnKeyDown(int /*nKey*/) {}

void CFilterEdit::OnPaste() {
    const QClipboard* pClipboard = QApplication::clipboard();
    if (pClipboard == nullptr || isReadOnly()) {
        return;
    }
    const QString strClip = pClipboard->text();
    QString strKept;
    bool bDropped = false;
    for (const QChar ch : strClip) {
        const unsigned nCode = ch.unicode();
        if (nCode < 256 && nCode != kBackspace && IsValidChar(nCode)) {
            strKept.append(ch);
        } else {
            bDropped = true;
        }
    }
    if (!strKept.isEmpty()) {
        insert(strKept);
    }
    if (bDropped) {
        platform::ui::MessageBeep(kSimpleBeep);
    }
}

void CFilterEdit::OnKillFocus() {}

void CFilterEdit::contextMenuEvent(QContextMenuEvent* pEvent) {
    std::unique_ptr<QMenu> pMenu(createStandardContextMenu());
    // The menu's paste goes through the filter too.
    for (QAction* pAction : pMenu->actions()) {
        if (pAction->objectName() == QLatin1String("edit-paste")) {
            pAction->disconnect();
            connect(pAction, &QAction::triggered, this, [this]() { OnPaste(); });
        }
    }
    pMenu->exec(pEvent->globalPos());
}
