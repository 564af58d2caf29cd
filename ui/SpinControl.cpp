#include "ui/SpinControl.h"

#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Posting.h"
#include "ui/SpinBuddy.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

namespace {

constexpr int kArrowWidth = 7;
constexpr int kSpinArrowHeight = 4;

}  // namespace

CSpinControl::CSpinControl(QWidget* pParent) : QWidget(pParent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CSpinControl::~CSpinControl() = default;

BOOL CSpinControl::Create(DWORD dwStyle, const QRect& rect, QWidget* pParent, UINT nId) {
    if (pParent == nullptr) {
        return FALSE;
    }
    m_dwStyle = dwStyle;
    if ((m_dwStyle & SPS_HORIZONTAL) == 0) {
        m_dwStyle |= SPS_VERTICAL;
    }
    setParent(pParent);
    setGeometry(rect);
    platform::ui::SetDlgCtrlID(this, nId);
    if (m_pBuddy == nullptr) {
        m_pBuddy = pParent;
    }
    show();
    return TRUE;
}

BOOL CSpinControl::CreateBelow(QWidget* pEdit, UINT nId) {
    if (pEdit == nullptr || pEdit->parentWidget() == nullptr) {
        return FALSE;
    }
    SetBuddy(pEdit);
    const QRect rectEdit = pEdit->geometry();
    return Create(SPS_HORIZONTAL, QRect(rectEdit.left(), rectEdit.bottom() + 1 + 2, rectEdit.width(), 12),
                  pEdit->parentWidget(), nId);
}

void CSpinControl::SetBuddy(QWidget* pBuddy) {
    m_pBuddy = pBuddy;
}

QSize CSpinControl::sizeHint() const {
    return IsVertical() ? QSize(12, 20) : QSize(40, 12);
}

QRect CSpinControl::HalfRect(bool bUpper) const {
    const QRect rectClient = rect();
    if (IsVertical()) {
        const int nHalf = rectClient.height() / 2;
        return bUpper ? QRect(0, 0, rectClient.width(), nHalf + 1)
                      : QRect(0, nHalf, rectClient.width(), rectClient.height() - nHalf);
    }
    const int nHalf = rectClient.width() / 2;
    return bUpper ? QRect(0, 0, nHalf + 1, rectClient.height())
                  : QRect(nHalf, 0, rectClient.width() - nHalf, rectClient.height());
}

void CSpinControl::OnLButtonDown(const QPoint& pt) {
    if ((m_wState & kStateDisabled) != 0) {
        return;
    }
    if (m_pBuddy != nullptr && !m_pBuddy->hasFocus() && m_pBuddy != parentWidget()) {
        QPointer<QWidget> pBuddy = m_pBuddy;
        platform::ui::PostCall(this, [pBuddy]() {
            if (pBuddy != nullptr) {
                pBuddy->setFocus(Qt::TabFocusReason);
            }
        });
    }
    const bool bLower = IsVertical() ? pt.y() >= height() / 2 : pt.x() >= width() / 2;
    m_wState &= static_cast<WORD>(~(kStateOutside | kStateUpperPressed | kStateLowerPressed));
    m_wState |= bLower ? kStateLowerPressed : kStateUpperPressed;
    update();
    Step();
    CWndTimers::Of(this, true)->SetTimer(kTimerFirst, kFirstDelay, [this](CWndTimers::TimerId nId) { OnTimer(nId); });
}

void CSpinControl::OnTimer(CWndTimers::TimerId nId) {
    if (nId == kTimerFirst) {
        CWndTimers* pTimers = CWndTimers::Of(this, true);
        pTimers->KillTimer(kTimerFirst);
        pTimers->SetTimer(kTimerRepeat, kRepeatDelay, [this](CWndTimers::TimerId nTimer) { OnTimer(nTimer); });
    }
    if ((m_wState & (kStateUpperPressed | kStateLowerPressed)) != 0 && (m_wState & kStateOutside) == 0) {
        Step();
    }
}

void CSpinControl::OnMouseMove(const QPoint& pt) {
    const WORD wPressed = m_wState & (kStateUpperPressed | kStateLowerPressed);
    if (wPressed == 0) {
        return;
    }
    const bool bInside = HalfRect(wPressed == kStateUpperPressed).contains(pt);
    const WORD wOld = m_wState;
    if (bInside) {
        m_wState &= static_cast<WORD>(~kStateOutside);
    } else {
        m_wState |= kStateOutside;
    }
    if (wOld != m_wState) {
        update();
    }
}

void CSpinControl::StopTimers() {
    if (CWndTimers* pTimers = CWndTimers::Of(this, false)) {
        pTimers->KillTimer(kTimerFirst);
        pTimers->KillTimer(kTimerRepeat);
    }
}

void CSpinControl::OnLButtonUp() {
    StopTimers();
    m_wState &= static_cast<WORD>(~(kStateOutside | kStateUpperPressed | kStateLowerPressed));
    update();
}

void CSpinControl::OnCancelMode() {
    StopTimers();
    m_wState &= static_cast<WORD>(~(kStateOutside | kStateUpperPressed | kStateLowerPressed));
}

void CSpinControl::Step() {
    const bool bUpperHalf = (m_wState & kStateUpperPressed) != 0;
    bool bUp = !bUpperHalf;
    if ((m_dwStyle & SPS_REVERSED) != 0) {
        bUp = !bUp;
    }
    const LONG nOld = m_nPos;
    if (bUp) {
        if (m_nPos < m_nMax) {
            ++m_nPos;
        }
    } else if (m_nPos > m_nMin) {
        --m_nPos;
    }
    if (m_nPos == nOld && (m_dwStyle & SPS_NOTIFYONCHANGE) != 0) {
        return;
    }
    const UINT nCode = bUpperHalf ? SB_LINEUP : SB_LINEDOWN;
    const UINT nPos = static_cast<UINT>(m_nPos) & 0xFFFF;
    QPointer<CSpinControl> pSelf = this;
    if (auto* pBuddy = dynamic_cast<ISpinBuddy*>(m_pBuddy.data())) {
        if (IsVertical()) {
            pBuddy->OnVScroll(nCode, nPos, this);
        } else {
            pBuddy->OnHScroll(nCode, nPos, this);
        }
    }
    if (pSelf != nullptr) {
        emit Stepped(nCode, nPos, IsVertical());
    }
}

void CSpinControl::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton) {
        OnLButtonDown(pEvent->position().toPoint());
    }
}

void CSpinControl::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    // A double click is a second press.
    mousePressEvent(pEvent);
}

void CSpinControl::mouseMoveEvent(QMouseEvent* pEvent) {
    OnMouseMove(pEvent->position().toPoint());
}

void CSpinControl::mouseReleaseEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton) {
        OnLButtonUp();
    }
}

void CSpinControl::changeEvent(QEvent* pEvent) {
    if (pEvent->type() == QEvent::EnabledChange) {
        if (isEnabled()) {
            m_wState &= static_cast<WORD>(~kStateDisabled);
        } else {
            m_wState |= kStateDisabled;
            OnCancelMode();
        }
        repaint();
    }
    QWidget::changeEvent(pEvent);
}

void CSpinControl::showEvent(QShowEvent* pEvent) {
    m_wState &= static_cast<WORD>(~kStateHidden);
    QWidget::showEvent(pEvent);
}

void CSpinControl::hideEvent(QHideEvent* pEvent) {
    m_wState |= kStateHidden;
    OnCancelMode();
    QWidget::hideEvent(pEvent);
}

void CSpinControl::paintEvent(QPaintEvent* /*pEvent*/) {
    QPainter painter(this);
    const QPalette& pal = palette();
    const QRect rectClient = rect();
    const QColor colFrame = pal.color(QPalette::WindowText);
    painter.fillRect(rectClient, pal.color(QPalette::Button));
    painter.setPen(colFrame);
    painter.drawRect(rectClient.adjusted(0, 0, -1, -1));
    if (IsVertical()) {
        painter.drawLine(0, rectClient.height() / 2, rectClient.width() - 1, rectClient.height() / 2);
    } else {
        painter.drawLine(rectClient.width() / 2, 0, rectClient.width() / 2, rectClient.height() - 1);
    }
    DrawHalf(painter, true);
    DrawHalf(painter, false);
}

void CSpinControl::DrawHalf(QPainter& painter, bool bUpper) const {
    const QPalette& pal = palette();
    const QRect rectHalf = HalfRect(bUpper).adjusted(1, 1, -2, -2);
    if (rectHalf.width() < 2 || rectHalf.height() < 2) {
        return;
    }
    const WORD wMine = bUpper ? kStateUpperPressed : kStateLowerPressed;
    const bool bSunken = (m_wState & wMine) != 0 && (m_wState & kStateOutside) == 0;
    const QColor colShadow = pal.color(QPalette::Dark);
    const QColor colLight = pal.color(QPalette::Light);
    if (bSunken) {
        painter.setPen(colShadow);
        painter.drawLine(rectHalf.topLeft(), rectHalf.topRight());
        painter.drawLine(rectHalf.topLeft(), rectHalf.bottomLeft());
    } else {
        painter.setPen(colLight);
        painter.drawLine(rectHalf.topLeft(), rectHalf.topRight());
        painter.drawLine(rectHalf.topLeft(), rectHalf.bottomLeft());
        painter.setPen(colShadow);
        painter.drawLine(rectHalf.bottomLeft(), rectHalf.bottomRight());
        painter.drawLine(rectHalf.bottomLeft() + QPoint(1, -1), rectHalf.bottomRight() + QPoint(0, -1));
        painter.drawLine(rectHalf.topRight(), rectHalf.bottomRight());
        painter.drawLine(rectHalf.topRight() + QPoint(-1, 1), rectHalf.bottomRight() + QPoint(-1, 0));
    }
    // The arrow: 7 wide and 4 high, centred, pointing away from the middle.
    QPointF ptCentre = QRectF(rectHalf).center();
    if (bSunken) {
        ptCentre += QPointF(1, 1);
    }
    const double w = kArrowWidth / 2.0;
    const double h = kSpinArrowHeight / 2.0;
    QPolygonF arrow;
    if (IsVertical()) {
        const double dir = bUpper ? -1.0 : 1.0;
        arrow << QPointF(ptCentre.x() - w, ptCentre.y() - dir * h) << QPointF(ptCentre.x() + w, ptCentre.y() - dir * h)
              << QPointF(ptCentre.x(), ptCentre.y() + dir * h);
    } else {
        const double dir = bUpper ? -1.0 : 1.0;
        arrow << QPointF(ptCentre.x() - dir * h, ptCentre.y() - w) << QPointF(ptCentre.x() - dir * h, ptCentre.y() + w)
              << QPointF(ptCentre.x() + dir * h, ptCentre.y());
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    if ((m_wState & kStateDisabled) != 0) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(colLight);
        painter.drawPolygon(arrow.translated(1, 1));
        painter.setPen(colShadow);
        painter.drawPolygon(arrow);
    } else {
        painter.setPen(pal.color(QPalette::ButtonText));
        painter.setBrush(pal.color(QPalette::ButtonText));
        painter.drawPolygon(arrow);
    }
}
