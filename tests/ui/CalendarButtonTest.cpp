// The calendar button: a click opens the calendar below the date field on
// the field's date, a chosen day, Return or a lost focus closes it, and a
// click while it is open closes it instead of opening it again.

#include "model/Locale.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/SystemLocale.h"
#include "resources/de/BuiltInResources.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "ui/CalendarButton.h"
#include "ui/CalendarDates.h"

#include <QApplication>
#include <QCursor>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <ctime>

namespace {

using uitest::ProcessEvents;

class CalendarButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pPreviousModule = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
        platform::SetIntlOverride(platform::IntlValuesForLocale("de_DE"));
        ResetLocaleCache();
        auto* pLayout = new QHBoxLayout(&m_dialog);
        m_pField = new QLineEdit(QStringLiteral("24.12.2010"), &m_dialog);
        m_pButton = new CCalendarButton(&m_dialog);
        m_pButton->setFixedSize(24, 24);
        pLayout->addWidget(m_pField);
        pLayout->addWidget(m_pButton);
        // What the owning dialogs do on the button's click.
        QObject::connect(m_pButton, &QAbstractButton::clicked, [this] {
            ++m_nClicks;
            std::tm tm{};
            CTime time;
            if (ParseDate(m_pField->text().toStdString(), time)) {
                time.GetLocalTm(tm);
            }
            m_pButton->ShowCalendar(tm, m_pField);
        });
        m_dialog.setGeometry(100, 100, 260, 60);
        m_dialog.show();
        m_dialog.activateWindow();
        ProcessEvents();
        MovePointerAway();
    }
    void TearDown() override {
        platform::SetFrameworkResourceModule(m_pPreviousModule);
        platform::SetIntlOverride(std::nullopt);
        ResetLocaleCache();
    }

    void MovePointerAway() { QCursor::setPos(QPoint(900, 900)); }
    CCalendar& Calendar() { return m_pButton->GetCalendar(); }
    void ClickDay(DWORD dwDate, bool bDouble = false) {
        const QPoint pt = Calendar().GetDayCellRect(dwDate).center();
        QMouseEvent press(bDouble ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress, QPointF(pt),
                          Calendar().mapToGlobal(QPointF(pt)), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&Calendar(), &press);
        ProcessEvents();
    }

    const platform::CResourceModule* m_pPreviousModule = nullptr;
    QWidget m_dialog;
    QLineEdit* m_pField = nullptr;
    CCalendarButton* m_pButton = nullptr;
    int m_nClicks = 0;
};

TEST_F(CalendarButtonTest, ClickOpensTheCalendarBelowTheFieldOnItsDate) {
    EXPECT_TRUE(m_pButton->HasBitmap());
    uitest::Click(m_pButton);
    ProcessEvents();
    EXPECT_EQ(m_nClicks, 1);
    ASSERT_TRUE(m_pButton->IsCalendarVisible());
    EXPECT_TRUE(Calendar().isVisible());
    EXPECT_EQ(Calendar().GetDate(), PackDate(2010, 12, 24));
    EXPECT_EQ(Calendar().pos(), m_pField->mapToGlobal(QPoint(0, m_pField->height())));
    EXPECT_EQ(Calendar().GetOwner(), m_pButton);
    EXPECT_EQ(Calendar().GetDateField(), m_pField);
    EXPECT_TRUE(Calendar().hasFocus());
    EXPECT_NE(Calendar().GetViewState() & CCalendar::kStateFocus, 0u);
}

TEST_F(CalendarButtonTest, ActivatingTheDialogClosesTheCalendar) {
    uitest::Click(m_pButton);
    ProcessEvents();
    ASSERT_TRUE(Calendar().hasFocus());
    m_dialog.activateWindow();
    m_pField->setFocus();
    ProcessEvents();
    // The lost focus reaches the button posted.
    ProcessEvents();
    EXPECT_FALSE(Calendar().isVisible());
    EXPECT_FALSE(m_pButton->IsCalendarVisible());
    EXPECT_EQ(Calendar().GetViewState() & CCalendar::kStateFocus, 0u);
}

TEST_F(CalendarButtonTest, ReturnClosesTheCalendarAndLeavesTheDateInTheField) {
    uitest::Click(m_pButton);
    ProcessEvents();
    uitest::PressKey(&Calendar(), Qt::Key_Down);
    uitest::PressKey(&Calendar(), Qt::Key_Right);
    ProcessEvents();
    EXPECT_TRUE(m_pButton->IsCalendarVisible());
    uitest::PressKey(&Calendar(), Qt::Key_Return);
    ProcessEvents();
    EXPECT_FALSE(m_pButton->IsCalendarVisible());
    EXPECT_FALSE(Calendar().isVisible());
    EXPECT_EQ(m_pField->text().toStdString(), "01.01.2011");

    // Reopened, it starts from the field's date again.
    m_pField->setText(QStringLiteral("03.03.2003"));
    uitest::Click(m_pButton);
    ProcessEvents();
    EXPECT_EQ(Calendar().GetDate(), PackDate(2003, 3, 3));
    uitest::PressKey(&Calendar(), Qt::Key_Space);
    ProcessEvents();
    EXPECT_FALSE(Calendar().isVisible());
}

TEST_F(CalendarButtonTest, ChoosingADayClosesTheCalendar) {
    uitest::Click(m_pButton);
    ProcessEvents();
    ClickDay(PackDate(2010, 12, 3));
    EXPECT_FALSE(m_pButton->IsCalendarVisible());
    EXPECT_FALSE(Calendar().isVisible());
    EXPECT_EQ(m_pField->text().toStdString(), "03.12.2010");

    uitest::Click(m_pButton);
    ProcessEvents();
    ClickDay(PackDate(2010, 12, 9), true);
    EXPECT_FALSE(Calendar().isVisible());
    EXPECT_EQ(m_pField->text().toStdString(), "09.12.2010");
}

TEST_F(CalendarButtonTest, ClickWhileOpenClosesIt) {
    uitest::Click(m_pButton);
    ProcessEvents();
    ASSERT_TRUE(Calendar().isVisible());
    uitest::Click(m_pButton);
    ProcessEvents();
    EXPECT_FALSE(m_pButton->IsCalendarVisible());
    EXPECT_FALSE(Calendar().isVisible());
}

TEST_F(CalendarButtonTest, LostFocusClosesTheCalendarAndAPressOnTheButtonDoesNotReopenIt) {
    uitest::Click(m_pButton);
    ProcessEvents();
    ASSERT_TRUE(Calendar().isVisible());

    // The focus goes elsewhere while the pointer is away from the button.
    emit Calendar().FocusLost(m_pField);
    ProcessEvents();
    EXPECT_FALSE(Calendar().isVisible());
    EXPECT_FALSE(m_pButton->IsCalendarVisible());

    // The focus goes because the button is being pressed: the click that
    // follows must not open the calendar again.
    uitest::Click(m_pButton);
    ProcessEvents();
    ASSERT_TRUE(Calendar().isVisible());
    QCursor::setPos(m_pButton->mapToGlobal(m_pButton->rect().center()));
    emit Calendar().FocusLost(m_pButton);
    ProcessEvents();
    EXPECT_FALSE(Calendar().isVisible());
    EXPECT_TRUE(m_pButton->IsCalendarVisible());
    uitest::Click(m_pButton);
    ProcessEvents();
    EXPECT_FALSE(Calendar().isVisible());
    EXPECT_FALSE(m_pButton->IsCalendarVisible());
}

TEST_F(CalendarButtonTest, ReleaseAwayFromTheButtonIsNoClickAndClosesTheCalendar) {
    uitest::Click(m_pButton);
    ProcessEvents();
    ASSERT_TRUE(Calendar().isVisible());
    const QPointF ptIn(5, 5);
    const QPointF ptOut(200, 5);
    QMouseEvent press(QEvent::MouseButtonPress, ptIn, m_pButton->mapToGlobal(ptIn), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(m_pButton, &press);
    EXPECT_TRUE(m_pButton->isDown());
    QMouseEvent release(QEvent::MouseButtonRelease, ptOut, m_pButton->mapToGlobal(ptOut), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(m_pButton, &release);
    ProcessEvents();
    EXPECT_EQ(m_nClicks, 1);
    EXPECT_FALSE(m_pButton->isDown());
    EXPECT_FALSE(Calendar().isVisible());
    EXPECT_FALSE(m_pButton->IsCalendarVisible());
}

TEST_F(CalendarButtonTest, SecondPressOfADoubleClickLeavesTheCalendarOpen) {
    const QPointF pt(5, 5);
    auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
        QMouseEvent event(type, pt, m_pButton->mapToGlobal(pt), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(m_pButton, &event);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    ProcessEvents();
    EXPECT_EQ(m_nClicks, 1);
    EXPECT_TRUE(Calendar().isVisible());
    EXPECT_TRUE(m_pButton->IsCalendarVisible());
}

TEST_F(CalendarButtonTest, CalendarTakesTheDisabledLook) {
    uitest::Click(m_pButton);
    ProcessEvents();
    Calendar().setEnabled(false);
    EXPECT_NE(Calendar().GetViewState() & CCalendar::kStateDisabled, 0u);
    EXPECT_FALSE(Calendar().grab().isNull());
    Calendar().setEnabled(true);
    EXPECT_EQ(Calendar().GetViewState() & CCalendar::kStateDisabled, 0u);
    EXPECT_FALSE(m_pButton->grab().isNull());
}

}  // namespace
