#pragma once
// The month calendar that drops below a date field: one month as 7 x 6 day
// cells under a header with the month's title, arrows to the neighbouring
// months and the weekday names. Keys and clicks move the date by day, week,
// month and year within 2000-01-01 .. 2035-12-31; every date set is written
// into the date field as its short-date text. What the user did reaches the
// owner (the calendar button) as posted signals.

#include "platform/base/WinTypes.h"

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <functional>

class CCalendar : public QWidget {
    Q_OBJECT

public:
    static constexpr char kClassName[] = "CALENDAR_CONTROL_CLASS";
    static constexpr int kPopupWidth = 175;
    static constexpr int kPopupHeight = 150;

    // View state bits.
    static constexpr UINT kStateDisabled = 1;
    static constexpr UINT kStateFocus = 2;

    // What a client point lies on.
    enum HitPart { HitNothing, HitDay, HitPreviousArrow, HitNextArrow };

    CCalendar();
    ~CCalendar() override;

    CCalendar(const CCalendar&) = delete;
    CCalendar& operator=(const CCalendar&) = delete;

    static bool RegisterCalendarClass();

    // The calendar as a pop-up of the owner at the anchor's lower-left
    // corner (the anchor is the date field). WS_VISIBLE shows it, WS_BORDER
    // frames it, WS_DISABLED starts it disabled. False when the window
    // exists or its fonts cannot be made.
    bool CreatePopup(QWidget* pOwner, QWidget* pAnchor, DWORD dwStyle);
    void DestroyWindow();
    bool HasWindow() const { return m_bCreated; }

    // Without notifying the owner.
    void SetDate(int nMonth, int nDay, int nYear);
    // Kept within the minimum and maximum date; with bNotify the owner
    // hears of a change (DateChanged).
    void SetDate(DWORD dwDate, bool bNotify);
    DWORD GetDate() const { return m_dwDate; }
    DWORD GetMinDate() const { return m_dwMinDate; }
    DWORD GetMaxDate() const { return m_dwMaxDate; }
    // Writes the date's short-date text into the date field.
    void SetEditDate();

    QWidget* GetOwner() const { return m_pOwner; }
    QWidget* GetDateField() const { return m_pDateField; }
    UINT GetViewState() const { return m_nViewState; }

    // Hit testing of a client point; the date the part stands for in
    // *pdwDate (a day, or the neighbouring month with the day kept).
    HitPart HitTest(const QPoint& ptClient, DWORD* pdwDate) const;
    // The areas of the shown month: the day cell of a date (empty when the
    // date is not in the grid) and the arrows (empty when not shown).
    QRect GetDayCellRect(DWORD dwDate) const;
    QRect GetPreviousArrowRect() const;
    QRect GetNextArrowRect() const;

signals:
    // The date changed by keyboard or mouse.
    void DateChanged();
    void DayDoubleClicked();
    // The calendar lost the focus to pNewFocus (may be null).
    void FocusLost(QWidget* pNewFocus);
    // A key was pressed in the calendar; sent before the key is handled.
    void KeyPressed(int nKey, int nRepeatCount, int nModifiers);
    void DayClicked();

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;

private:
    struct Layout {
        QRect rcClient;
        QRect rcTitle;     // first half of the header
        QRect rcWeekdays;  // second half of the header
        QRect rcGrid;
        QRect rcPrevious;  // empty without the arrow
        QRect rcNext;
        int nCellWidth = 0;
        int nCellHeight = 0;
    };

    // The pop-up's creation: header height and fonts; -1 fails it.
    int OnCreate(int nHeight);
    Layout CalcLayout() const;
    // The first date of the grid: the Sunday on or before the 1st.
    DWORD GetGridStart() const;
    void OnButtonDown(const QPoint& ptClient, bool bDoubleClick);
    void MoveToAnchor();
    void Post(std::function<void()> fn);

    QPointer<QWidget> m_pOwner;
    QPointer<QWidget> m_pDateField;
    DWORD m_dwDate = 0;
    DWORD m_dwMinDate;
    DWORD m_dwMaxDate;
    QFont m_fontNormal;
    QFont m_fontBold;
    UINT m_nViewState = 0;
    int m_nHeaderHeight = 0;
    QColor m_colorText;
    QColor m_colorGray{127, 127, 127};
    bool m_bCreated = false;
    bool m_bBorder = false;
};
