#pragma once
// The small bitmap button beside a date field that drops the month calendar
// below the field. The dialog that owns the button calls ShowCalendar on the
// button's click; the button closes the calendar again when a day is
// chosen, Return or Space is pressed in it, or it loses the focus.

#include "platform/ui/OwnerDrawButton.h"
#include "ui/Calendar.h"

#include <QImage>

#include <ctime>

class CCalendarButton : public COwnerDrawButton {
    Q_OBJECT

public:
    static constexpr UINT kBitmapId = 173;

    explicit CCalendarButton(QWidget* pParent = nullptr);
    ~CCalendarButton() override;

    // Opens the calendar on the time's date below the field, or closes it
    // when it is open.
    void ShowCalendar(const std::tm& time, QWidget* pAnchor);

    CCalendar& GetCalendar() { return m_calendar; }
    bool IsCalendarVisible() const { return m_bCalendarVisible; }
    bool HasBitmap() const { return !m_bitmap.isNull(); }

protected:
    void DrawItem(QPainter& painter, const DrawItemInfo& item) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;

private:
    void OnCalendarClose();
    void OnCalendarKeyDown(int nKey, int nRepeatCount, int nModifiers);
    void OnCalendarKillFocus(QWidget* pNewFocus);
    void HideCalendar();

    bool m_bLButtonDown = false;
    bool m_bLButtonDblClk = false;
    CCalendar m_calendar;
    bool m_bCalendarVisible = false;
    QImage m_bitmap;
};
