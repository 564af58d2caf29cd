#include "ui/CalendarButton.h"

#include "common/Log.h"
#include "platform/base/WindowStyles.h"
#include "platform/ui/ResourceImages.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

CCalendarButton::CCalendarButton(QWidget* pParent) : COwnerDrawButton(pParent) {
    m_bitmap = platform::ui::LoadBitmapResource(kBitmapId);
    if (m_bitmap.isNull()) {
        // The button still works; it only has no picture.
        LOG_ERROR("Calendar button bitmap %u not found", kBitmapId);
    }
    setFocusPolicy(Qt::StrongFocus);
    connect(&m_calendar, &CCalendar::DayClicked, this, &CCalendarButton::OnCalendarClose);
    connect(&m_calendar, &CCalendar::DayDoubleClicked, this, &CCalendarButton::OnCalendarClose);
    connect(&m_calendar, &CCalendar::KeyPressed, this, &CCalendarButton::OnCalendarKeyDown);
    connect(&m_calendar, &CCalendar::FocusLost, this, &CCalendarButton::OnCalendarKillFocus);
}

CCalendarButton::~CCalendarButton() {
    m_calendar.DestroyWindow();
}

void CCalendarButton::ShowCalendar(const std::tm& time, QWidget* pAnchor) {
    LOG_TRACE("CCalendarButton::ShowCalendar, m_bCalendarVisible = %d", m_bCalendarVisible ? 1 : 0);
    if (m_bCalendarVisible) {
        m_calendar.hide();
        m_bCalendarVisible = false;
    } else {
        m_calendar.SetDate(time.tm_mon + 1, time.tm_mday, time.tm_year + 1900);
        bool bShown = true;
        if (!m_calendar.HasWindow()) {
            bShown = m_calendar.CreatePopup(this, pAnchor, WS_VISIBLE | WS_BORDER);
        }
        if (bShown) {
            m_calendar.show();
            m_calendar.setFocus(Qt::PopupFocusReason);
        }
        m_bCalendarVisible = bShown;
    }
    update();
}

void CCalendarButton::HideCalendar() {
    m_calendar.hide();
    m_bCalendarVisible = false;
    update();
}

void CCalendarButton::OnCalendarClose() {
    HideCalendar();
}

void CCalendarButton::OnCalendarKeyDown(int nKey, int /*nRepeatCount*/, int /*nModifiers*/) {
    if (nKey == Qt::Key_Return || nKey == Qt::Key_Enter || nKey == Qt::Key_Space) {
        HideCalendar();
    }
}

void CCalendarButton::OnCalendarKillFocus(QWidget* /*pNewFocus*/) {
    LOG_TRACE("CCalendarButton::OnCalendarKillFocus, m_bCalendarVisible = %d, m_bLButtonDown = %d",
              m_bCalendarVisible ? 1 : 0, m_bLButtonDown ? 1 : 0);
    // The calendar is a pop-up: it loses the focus when it closes, also to a
    // press on this button, and that press never reaches the button. So the
    // calendar counts as closed whatever the pointer is over, and the next
    // click opens it again.
    m_bCalendarVisible = false;
    update();
    m_calendar.hide();
}

void CCalendarButton::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton) {
        COwnerDrawButton::mousePressEvent(pEvent);
        return;
    }
    LOG_TRACE("CCalendarButton::OnLButtonDown");
    m_bLButtonDown = true;
    // Qt draws the pushed look, follows the pointer while pressed and
    // captures the mouse until the release.
    COwnerDrawButton::mousePressEvent(pEvent);
    update();
}

void CCalendarButton::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton) {
        COwnerDrawButton::mouseDoubleClickEvent(pEvent);
        return;
    }
    LOG_TRACE("CCalendarButton::OnLButtonDblClk, m_bLButtonDown = %d", m_bLButtonDown ? 1 : 0);
    m_bLButtonDblClk = true;
    COwnerDrawButton::mousePressEvent(pEvent);
    update();
}

void CCalendarButton::mouseReleaseEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton) {
        COwnerDrawButton::mouseReleaseEvent(pEvent);
        return;
    }
    LOG_TRACE("CCalendarButton::OnLButtonUp, m_bLButtonDown = %d, m_bLButtonDblClk = %d", m_bLButtonDown ? 1 : 0,
              m_bLButtonDblClk ? 1 : 0);
    if (m_bLButtonDblClk) {
        // The second press of a double click is no click: the calendar the
        // first one opened stays open.
        setDown(false);
    } else if (m_bLButtonDown && !rect().contains(pEvent->position().toPoint())) {
        HideCalendar();
    }
    m_bLButtonDown = false;
    m_bLButtonDblClk = false;
    COwnerDrawButton::mouseReleaseEvent(pEvent);
    update();
}

void CCalendarButton::DrawItem(QPainter& painter, const DrawItemInfo& item) {
    const QRect rc = item.rcItem;
    if ((item.nItemState & ODS_FOCUS) != 0) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rc.adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
    // One picture serves every state.
    if (!m_bitmap.isNull()) {
        painter.drawImage(rc.adjusted(3, 3, -3, -3), m_bitmap);
    }
}
