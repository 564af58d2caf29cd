#include "ui/ToolTipWnd.h"

#include "model/IniManager.h"
#include "platform/base/WindowStyles.h"
#include "ui/ToolTipOwner.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace {

const QColor kBackground(255, 255, 192);

// At most nMax bytes of the UTF-8 text, never half a character.
std::string CutText(const std::string& strText, std::size_t nMax) {
    if (strText.size() <= nMax) {
        return strText;
    }
    std::size_t nEnd = nMax;
    while (nEnd > 0 && (static_cast<unsigned char>(strText[nEnd]) & 0xC0) == 0x80) {
        --nEnd;
    }
    return strText.substr(0, nEnd);
}

}  // namespace

CToolTipWnd::CToolTipWnd(int nPlacement) : QWidget(nullptr), m_nPlacement(nPlacement) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

CToolTipWnd::~CToolTipWnd() = default;

bool CToolTipWnd::Create(QWidget* pOwner, DWORD dwStyle) {
    if (!g_IniManager.GetToolTips() || pOwner == nullptr || m_bCreated) {
        return false;
    }
    // A pop-up window of its own, never a child inside the owner. It is not
    // made the owner's child object either: whoever holds the tip destroys
    // it, and it lets go of an owner that goes first. The window system
    // passes the mouse through it to what lies below: a tip flipped above
    // the pointer covers the pointer's row, and Qt's own attribute alone
    // would not keep the press from the tip's window.
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                   Qt::WindowTransparentForInput);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_pOwner = pOwner;
    m_ownerGone = connect(pOwner, &QObject::destroyed, this, [this]() { DestroyWindow(); });
    m_bBorder = (dwStyle & WS_BORDER) != 0;
    // The variable-pitch font of the system.
    m_font = QApplication::font();
    setFont(m_font);
    resize(0, 0);
    hide();
    m_bCreated = true;
    return true;
}

void CToolTipWnd::DestroyWindow() {
    if (!m_bCreated) {
        return;
    }
    HideTip();
    disconnect(m_ownerGone);
    m_bCreated = false;
    m_pOwner = nullptr;
}

void CToolTipWnd::RelayEvent(const QEvent* pEvent) {
    if (!m_bCreated || pEvent == nullptr) {
        return;
    }
    switch (pEvent->type()) {
        case QEvent::MouseMove: {
            const auto* pMouse = static_cast<const QMouseEvent*>(pEvent);
            if (pMouse->buttons() != Qt::NoButton) {
                return;
            }
            if (m_nCurrentTip != 0) {
                UpdateTip();
            } else {
                StartTimer();
            }
            return;
        }
        case QEvent::MouseButtonPress:
            HideTip();
            return;
        case QEvent::MouseButtonRelease:
            HideTip();
            StartTimer();
            return;
        default:
            return;
    }
}

QPoint CToolTipWnd::GetCursorScreenPos() const {
    return QCursor::pos();
}

bool CToolTipWnd::IsOwnerActive() const {
    // The owner's top-level window must be the window the user works in (not
    // one behind a dialog it opened).
    return m_pOwner != nullptr && QApplication::activeWindow() == m_pOwner->window();
}

void CToolTipWnd::UpdateTip() {
    if (!m_bCreated || m_pOwner == nullptr) {
        return;
    }
    auto* pOwner = dynamic_cast<IToolTipOwner*>(m_pOwner.data());
    if (pOwner == nullptr || !IsOwnerActive()) {
        HideTip();
        return;
    }
    // A scroll area's client area is its viewport: its hit tests and edges
    // are the viewport's, inside the frame and the scroll bars.
    QWidget* pClient = m_pOwner;
    if (auto* pScrollArea = qobject_cast<QAbstractScrollArea*>(m_pOwner.data())) {
        pClient = pScrollArea->viewport();
    }
    const QPoint ptScreen = GetCursorScreenPos();
    const QPoint ptClient = pClient->mapFromGlobal(ptScreen);
    if (!pClient->rect().contains(ptClient)) {
        HideTip();
        return;
    }
    const int nTip = pOwner->OnToolTipHitTest(ptClient);
    if (nTip == 0) {
        HideTip();
        return;
    }
    if (nTip == m_nCurrentTip) {
        ShowTip();
        return;
    }
    HideTip();
    const std::string strText = CutText(pOwner->OnToolTipGetText(nTip), kTextBufferSize - 1);
    if (strText.empty()) {
        return;
    }
    SetWindowText(strText);

    QPoint pt = ptScreen;
    if (m_nPlacement == 0) {
        pt.ry() += kCursorHeight * 6 / 10;
        const QRect rcOwner(pClient->mapToGlobal(QPoint(0, 0)), pClient->size());
        if (pt.x() + width() > rcOwner.right() + 1) {
            pt.rx() -= pt.x() + width() - (rcOwner.right() + 1);
        }
        if (pt.y() + height() > rcOwner.bottom() + 1) {
            pt.ry() -= kCursorHeight * 12 / 10;
        }
    }
    move(pt);
    m_nCurrentTip = nTip;
    ShowTip();
}

void CToolTipWnd::SetWindowText(const std::string& strText) {
    m_strText = strText;
    const QFontMetrics metrics(m_font);
    const QSize text(metrics.horizontalAdvance(QString::fromStdString(strText)), metrics.height());
    const int nBorder = m_bBorder ? 2 : 0;
    resize(text.width() + 2 * m_sizeMargin.width() + nBorder, text.height() + 2 * m_sizeMargin.height() + nBorder);
    update();
}

void CToolTipWnd::ShowTip() {
    if (!isVisible()) {
        show();
        // Qt can make the shown tip a native window anew and then skips
        // telling the window system to pass the mouse through (it thinks it
        // did); asking twice makes it tell the window of now.
        if (QWindow* pWindow = windowHandle()) {
            const Qt::WindowFlags flags = pWindow->flags();
            pWindow->setFlags(flags & ~Qt::WindowTransparentForInput);
            pWindow->setFlags(flags);
        }
    }
    StartTimer();
}

void CToolTipWnd::HideTip() {
    hide();
    if (CWndTimers* pTimers = CWndTimers::Of(this, false)) {
        pTimers->KillTimer(kTimerId);
    }
    m_nCurrentTip = 0;
}

void CToolTipWnd::StartTimer() {
    CWndTimers::Of(this, true)->SetTimer(kTimerId, kTimerElapse, [this](CWndTimers::TimerId) { UpdateTip(); });
}

void CToolTipWnd::paintEvent(QPaintEvent* /*pEvent*/) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    if (m_bBorder) {
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    painter.setFont(m_font);
    painter.setPen(Qt::black);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, QString::fromStdString(m_strText));
}
