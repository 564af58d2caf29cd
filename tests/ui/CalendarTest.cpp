// The month calendar and its button: date arithmetic, moving by keys and
// clicks within 2000..2035, the notifications to the owner, and the button
// opening the calendar below its date field and closing it again.

#include "model/Locale.h"
#include "platform/base/SystemLocale.h"
#include "platform/base/WindowStyles.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "ui/Calendar.h"
#include "ui/CalendarButton.h"
#include "ui/CalendarDates.h"

#include <QImage>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using uitest::ProcessEvents;

TEST(CalendarDatesTest, WeekdaysLeapYearsAndSteps) {
    EXPECT_EQ(GetWeekday(2000, 1, 1), 6);  // Saturday
    EXPECT_EQ(GetWeekday(1999, 12, 26), 0);
    EXPECT_EQ(GetWeekday(2004, 3, 1), 1);  // after a leap day
    EXPECT_EQ(GetWeekday(2035, 12, 31), 1);
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(2100));
    EXPECT_TRUE(IsLeapYear(2004));
    EXPECT_EQ(GetDaysInMonth(2005, 2), 28);

    EXPECT_EQ(GetNextDay(PackDate(2004, 12, 31)), PackDate(2005, 1, 1));
    EXPECT_EQ(GetPreviousDay(PackDate(2004, 3, 1)), PackDate(2004, 2, 29));
    EXPECT_EQ(AddDays(PackDate(2004, 2, 26), 7), PackDate(2004, 3, 4));
    EXPECT_EQ(GetNextMonth(PackDate(2004, 1, 31)), PackDate(2004, 2, 29));
    EXPECT_EQ(GetNextMonth(PackDate(2005, 1, 31)), PackDate(2005, 2, 28));
    EXPECT_EQ(GetPreviousMonth(PackDate(2005, 1, 15)), PackDate(2004, 12, 15));
    EXPECT_EQ(GetNextYear(PackDate(2004, 2, 29)), PackDate(2005, 2, 28));
    EXPECT_EQ(GetPreviousYear(PackDate(2004, 2, 10)), PackDate(2003, 2, 10));
    // Packed dates compare in date order.
    EXPECT_LT(PackDate(2004, 12, 31), PackDate(2005, 1, 1));
}

// What the calendar told its owner, in order.
struct Recorder {
    explicit Recorder(CCalendar& calendar) {
        QObject::connect(&calendar, &CCalendar::DateChanged, [this] { events.push_back("changed"); });
        QObject::connect(&calendar, &CCalendar::DayClicked, [this] { events.push_back("click"); });
        QObject::connect(&calendar, &CCalendar::DayDoubleClicked, [this] { events.push_back("dblclick"); });
        QObject::connect(&calendar, &CCalendar::KeyPressed, [this](int nKey, int, int) {
            events.push_back("key");
            keys.push_back(nKey);
        });
        QObject::connect(&calendar, &CCalendar::FocusLost, [this](QWidget*) { events.push_back("focus"); });
    }
    std::vector<std::string> events;
    std::vector<int> keys;
};

class CalendarTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetIntlOverride(platform::IntlValuesForLocale("de_DE"));
        ResetLocaleCache();
        auto* pLayout = new QVBoxLayout(&m_dialog);
        m_pField = new QLineEdit(&m_dialog);
        pLayout->addWidget(m_pField);
        m_dialog.setGeometry(200, 100, 240, 80);
        m_dialog.show();
        ProcessEvents();
    }
    void TearDown() override {
        m_calendar.DestroyWindow();
        platform::SetIntlOverride(std::nullopt);
        ResetLocaleCache();
    }

    void Open(int nYear, int nMonth, int nDay) {
        ASSERT_TRUE(m_calendar.CreatePopup(&m_dialog, m_pField, WS_VISIBLE | WS_BORDER));
        m_calendar.SetDate(nMonth, nDay, nYear);
        ProcessEvents();
    }
    // The open pop-up takes the keys, wherever the focus was.
    void Key(int nKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        uitest::PressWindowKey(&m_calendar, nKey, modifiers);
    }
    void Press(const QPoint& pt, bool bDouble = false) {
        if (bDouble) {
            uitest::DoubleClick(&m_calendar, pt);
        } else {
            uitest::Click(&m_calendar, pt);
        }
    }

    QWidget m_dialog;
    QLineEdit* m_pField = nullptr;
    CCalendar m_calendar;
};

TEST_F(CalendarTest, OpensBelowTheFieldAndWritesEveryDateIntoIt) {
    Open(2004, 6, 15);
    EXPECT_TRUE(m_calendar.isVisible());
    EXPECT_EQ(m_calendar.geometry(),
              QRect(m_pField->mapToGlobal(QPoint(0, m_pField->height())),
                    QSize(CCalendar::kPopupWidth, CCalendar::kPopupHeight)));
    EXPECT_EQ(m_pField->text().toStdString(), "15.06.2004");
    Key(Qt::Key_Right);
    EXPECT_EQ(m_pField->text().toStdString(), "16.06.2004");

    // Moving the field and showing again puts the calendar back below it.
    m_calendar.hide();
    m_dialog.move(300, 150);
    ProcessEvents();
    m_calendar.show();
    EXPECT_EQ(m_calendar.pos(), m_pField->mapToGlobal(QPoint(0, m_pField->height())));
}

TEST_F(CalendarTest, KeysMoveByDayWeekMonthAndYearWithinTheRange) {
    Open(2035, 12, 28);
    Key(Qt::Key_Down);
    EXPECT_EQ(m_calendar.GetDate(), PackDate(2035, 12, 31));
    Key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(m_calendar.GetDate(), PackDate(2035, 12, 31));
    Key(Qt::Key_Up);
    EXPECT_EQ(m_calendar.GetDate(), PackDate(2035, 12, 24));
    EXPECT_TRUE(m_calendar.GetNextArrowRect().isEmpty());
    EXPECT_FALSE(m_calendar.GetPreviousArrowRect().isEmpty());

    m_calendar.SetDate(PackDate(2000, 1, 15), false);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(m_calendar.GetDate(), PackDate(2000, 1, 1));
    EXPECT_TRUE(m_calendar.GetPreviousArrowRect().isEmpty());
    Key(Qt::Key_Left);
    EXPECT_EQ(m_calendar.GetDate(), PackDate(2000, 1, 1));
    Key(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(m_calendar.GetDate(), PackDate(2000, 1, 1));

    m_calendar.SetDate(PackDate(2004, 1, 31), false);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(m_calendar.GetDate(), PackDate(2004, 2, 29));
    Key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(m_calendar.GetDate(), PackDate(2005, 2, 28));
    m_calendar.SetDate(PackDate(2004, 2, 10), false);
    Key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(m_calendar.GetDate(), PackDate(2005, 2, 10));
    Key(Qt::Key_Right);
    Key(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(m_calendar.GetDate(), PackDate(2004, 2, 11));
    EXPECT_EQ(m_pField->text().toStdString(), "11.02.2004");
}

TEST_F(CalendarTest, DatesFromOutsideAreKeptInRangeAndValid) {
    Open(1999, 12, 31);
    EXPECT_EQ(m_calendar.GetDate(), PackDate(2000, 1, 1));
    m_calendar.SetDate(2, 31, 2005);
    EXPECT_EQ(m_calendar.GetDate(), PackDate(2005, 2, 28));
    m_calendar.SetDate(PackDate(2040, 5, 5), false);
    EXPECT_EQ(m_calendar.GetDate(), PackDate(2035, 12, 31));
    EXPECT_EQ(m_pField->text().toStdString(), "31.12.2035");
}

TEST_F(CalendarTest, OwnerHearsKeysBeforeDateChangesAndNothingForSilentSets) {
    Open(2010, 5, 5);
    Recorder recorder(m_calendar);
    m_calendar.SetDate(PackDate(2010, 5, 6), false);
    ProcessEvents();
    EXPECT_TRUE(recorder.events.empty());

    Key(Qt::Key_Right);
    Key(Qt::Key_Return);  // no move, still reported
    ProcessEvents();
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"key", "changed", "key"}));
    EXPECT_EQ(recorder.keys, (std::vector<int>{Qt::Key_Right, Qt::Key_Return}));
    EXPECT_EQ(m_calendar.GetDate(), PackDate(2010, 5, 7));
}

TEST_F(CalendarTest, ClicksChooseDaysOfTheGridAndArrowsTurnMonths) {
    Open(2004, 3, 15);
    Recorder recorder(m_calendar);
    // March 2004 begins on a Monday: the first cell is 29 February, gray.
    const QRect rcLeapDay = m_calendar.GetDayCellRect(PackDate(2004, 2, 29));
    ASSERT_FALSE(rcLeapDay.isEmpty());
    DWORD dwHit = 0;
    EXPECT_EQ(m_calendar.HitTest(rcLeapDay.center(), &dwHit), CCalendar::HitDay);
    EXPECT_EQ(dwHit, PackDate(2004, 2, 29));
    Press(rcLeapDay.center());
    ProcessEvents();
    EXPECT_EQ(m_calendar.GetDate(), PackDate(2004, 2, 29));
    EXPECT_EQ(m_pField->text().toStdString(), "29.02.2004");
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"changed", "click"}));
    // Now February shows: its last cells are days of March.
    const QRect rcMarch = m_calendar.GetDayCellRect(PackDate(2004, 3, 6));
    ASSERT_FALSE(rcMarch.isEmpty());

    recorder.events.clear();
    Press(m_calendar.GetNextArrowRect().center());
    ProcessEvents();
    EXPECT_EQ(m_calendar.GetDate(), PackDate(2004, 3, 29));
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"changed"}));

    recorder.events.clear();
    Press(m_calendar.GetDayCellRect(PackDate(2004, 3, 1)).center(), true);
    ProcessEvents();
    EXPECT_EQ(m_calendar.GetDate(), PackDate(2004, 3, 1));
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"changed", "click", "dblclick"}));

    // A click on the title between the arrows does nothing.
    recorder.events.clear();
    Press(QPoint(CCalendar::kPopupWidth / 2, 5));
    ProcessEvents();
    EXPECT_TRUE(recorder.events.empty());
}

TEST_F(CalendarTest, JanuaryTwoThousandStartsOnBlankDaysBeforeTheMinimum) {
    Open(2000, 1, 20);
    // The grid starts on Sunday 26 December 1999, which lies before the
    // minimum; a click there lands on the minimum.
    const QRect rcFirst = m_calendar.GetDayCellRect(PackDate(1999, 12, 26));
    const QRect rcSecond = m_calendar.GetDayCellRect(PackDate(2000, 1, 2));
    EXPECT_EQ(rcFirst.topLeft(), rcSecond.topLeft() - QPoint(0, rcSecond.height()));
    EXPECT_EQ(m_calendar.GetDayCellRect(PackDate(2000, 1, 1)).left(), rcFirst.left() + 6 * rcFirst.width());
    Press(rcFirst.center());
    EXPECT_EQ(m_calendar.GetDate(), PackDate(2000, 1, 1));

    // Those cells stay blank; January's days are drawn in the text colour,
    // February's in grey.
    const QImage image = m_calendar.grab().toImage();
    auto darkest = [&](DWORD dwDate) {
        const QRect rc = m_calendar.GetDayCellRect(dwDate).adjusted(2, 2, -2, -2);
        int nDarkest = 255;
        for (int y = rc.top(); y <= rc.bottom(); ++y) {
            for (int x = rc.left(); x <= rc.right(); ++x) {
                nDarkest = std::min(nDarkest, qGray(image.pixel(x, y)));
            }
        }
        return nDarkest;
    };
    const int nBackground = qGray(image.pixel(rcFirst.center()));
    for (int nDay = 26; nDay <= 31; ++nDay) {
        EXPECT_EQ(darkest(PackDate(1999, 12, nDay)), nBackground) << nDay << " December";
    }
    EXPECT_LT(darkest(PackDate(2000, 1, 20)), 60);
    EXPECT_NEAR(darkest(PackDate(2000, 2, 3)), 127, 10);
}

}  // namespace
