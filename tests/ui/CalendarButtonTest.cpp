// The calendar button: a click opens the calendar below the date field on
// the field's date; a chosen day, Return, Escape or a click anywhere else
// closes it, and a click on the button while it is open closes it instead
// of opening it again.

#include "model/Locale.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/SystemLocale.h"
#include "platform/ui/ResourceImages.h"
#include "resources/de/BuiltInResources.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/ui/PixelChecks.h"
#include "ui/CalendarButton.h"
#include "ui/CalendarDates.h"

#include <QCursor>
#include <QHBoxLayout>
#include <QImage>
#include <QLineEdit>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
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
    // A user's click: the pointer goes there first, then the button is
    // pressed and released through the window system.
    void ClickAt(QWidget* pControl, const QPoint& pt) {
        QCursor::setPos(pControl->mapToGlobal(pt));
        uitest::Click(pControl, pt);
        ProcessEvents();
    }
    void ClickButton() { ClickAt(m_pButton, m_pButton->rect().center()); }
    void ClickDay(DWORD dwDate, bool bDouble = false) {
        const QPoint pt = Calendar().GetDayCellRect(dwDate).center();
        if (bDouble) {
            uitest::DoubleClick(&Calendar(), pt);
        } else {
            uitest::Click(&Calendar(), pt);
        }
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
    ClickButton();
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

TEST_F(CalendarButtonTest, ClickOnAnotherControlClosesTheCalendarWithItsDateInTheField) {
    ClickButton();
    ASSERT_TRUE(Calendar().hasFocus());
    uitest::PressWindowKey(&Calendar(), Qt::Key_Right);
    ClickAt(m_pField, QPoint(5, 5));
    // The lost focus reaches the button posted.
    ProcessEvents();
    EXPECT_FALSE(Calendar().isVisible());
    EXPECT_FALSE(m_pButton->IsCalendarVisible());
    EXPECT_EQ(Calendar().GetViewState() & CCalendar::kStateFocus, 0u);
    EXPECT_EQ(m_pField->text().toStdString(), "25.12.2010");

    // A click on the dialog away from any control closes it the same way.
    ClickButton();
    ASSERT_TRUE(Calendar().isVisible());
    ClickAt(&m_dialog, QPoint(m_dialog.width() - 2, m_dialog.height() - 2));
    ProcessEvents();
    EXPECT_FALSE(Calendar().isVisible());
    EXPECT_FALSE(m_pButton->IsCalendarVisible());
    ClickButton();
    EXPECT_TRUE(Calendar().isVisible()) << "one click opens it again";
}

TEST_F(CalendarButtonTest, ReturnClosesTheCalendarAndLeavesTheDateInTheField) {
    ClickButton();
    uitest::PressWindowKey(&Calendar(), Qt::Key_Down);
    uitest::PressWindowKey(&Calendar(), Qt::Key_Right);
    ProcessEvents();
    EXPECT_TRUE(m_pButton->IsCalendarVisible());
    uitest::PressWindowKey(&Calendar(), Qt::Key_Return);
    ProcessEvents();
    EXPECT_FALSE(m_pButton->IsCalendarVisible());
    EXPECT_FALSE(Calendar().isVisible());
    EXPECT_EQ(m_pField->text().toStdString(), "01.01.2011");

    // Reopened, it starts from the field's date again.
    m_pField->setText(QStringLiteral("03.03.2003"));
    ClickButton();
    EXPECT_EQ(Calendar().GetDate(), PackDate(2003, 3, 3));
    uitest::PressWindowKey(&Calendar(), Qt::Key_Space);
    ProcessEvents();
    EXPECT_FALSE(Calendar().isVisible());
    // Escape closes the pop-up as well; the button hears of the lost focus.
    ClickButton();
    uitest::PressWindowKey(&Calendar(), Qt::Key_Escape);
    ProcessEvents();
    EXPECT_FALSE(Calendar().isVisible());
    EXPECT_FALSE(m_pButton->IsCalendarVisible());
}

TEST_F(CalendarButtonTest, ChoosingADayClosesTheCalendar) {
    ClickButton();
    ClickDay(PackDate(2010, 12, 3));
    EXPECT_FALSE(m_pButton->IsCalendarVisible());
    EXPECT_FALSE(Calendar().isVisible());
    EXPECT_EQ(m_pField->text().toStdString(), "03.12.2010");

    ClickButton();
    ClickDay(PackDate(2010, 12, 9), true);
    EXPECT_FALSE(Calendar().isVisible());
    EXPECT_EQ(m_pField->text().toStdString(), "09.12.2010");
}

TEST_F(CalendarButtonTest, ClickWhileOpenClosesItAndTheNextClickOpensIt) {
    ClickButton();
    ASSERT_TRUE(Calendar().isVisible());
    ClickButton();
    EXPECT_FALSE(m_pButton->IsCalendarVisible());
    EXPECT_FALSE(Calendar().isVisible());
    ClickButton();
    EXPECT_TRUE(Calendar().isVisible());
    EXPECT_TRUE(m_pButton->IsCalendarVisible());
}

TEST_F(CalendarButtonTest, PressOnTheButtonOfTheOpenCalendarClosesItAndOpensNothing) {
    ClickButton();
    ASSERT_TRUE(Calendar().isVisible());
    const QPoint ptIn(5, 5);
    const QPoint ptOut(-60, 5);  // over the field
    QCursor::setPos(m_pButton->mapToGlobal(ptIn));
    uitest::MousePress(m_pButton, ptIn);
    uitest::MouseMove(m_pButton, ptOut);
    uitest::MouseRelease(m_pButton, ptOut);
    ProcessEvents();
    EXPECT_EQ(m_nClicks, 1);
    EXPECT_FALSE(m_pButton->isDown());
    EXPECT_FALSE(Calendar().isVisible());
    EXPECT_FALSE(m_pButton->IsCalendarVisible());

    // With the calendar closed, a press released away from the button is no
    // click either.
    uitest::MousePress(m_pButton, ptIn);
    EXPECT_TRUE(m_pButton->isDown());
    uitest::MouseMove(m_pButton, ptOut);
    uitest::MouseRelease(m_pButton, ptOut);
    ProcessEvents();
    EXPECT_EQ(m_nClicks, 1);
    EXPECT_FALSE(m_pButton->isDown());
    EXPECT_FALSE(Calendar().isVisible());
}

TEST_F(CalendarButtonTest, DoubleClickOpensAndClosesTheCalendarLikeTwoClicks) {
    QCursor::setPos(m_pButton->mapToGlobal(QPoint(5, 5)));
    uitest::DoubleClick(m_pButton, QPoint(5, 5));
    ProcessEvents();
    EXPECT_EQ(m_nClicks, 1);
    EXPECT_FALSE(Calendar().isVisible());
    EXPECT_FALSE(m_pButton->IsCalendarVisible());
    EXPECT_FALSE(m_pButton->isDown());
    ClickButton();
    EXPECT_TRUE(Calendar().isVisible());
}

using uitest::Darkest;

TEST_F(CalendarButtonTest, CalendarTakesTheDisabledLookAndTheButtonShowsItsPicture) {
    ClickButton();
    // The day numbers of the month turn from the text colour to grey.
    const QRect rcDays = Calendar().GetDayCellRect(PackDate(2010, 12, 1)).united(
        Calendar().GetDayCellRect(PackDate(2010, 12, 31)));
    EXPECT_LT(Darkest(Calendar().grab().toImage(), rcDays), 60);
    Calendar().setEnabled(false);
    EXPECT_NE(Calendar().GetViewState() & CCalendar::kStateDisabled, 0u);
    EXPECT_NEAR(Darkest(Calendar().grab().toImage(), rcDays), 127, 10);
    Calendar().setEnabled(true);
    EXPECT_EQ(Calendar().GetViewState() & CCalendar::kStateDisabled, 0u);
    EXPECT_LT(Darkest(Calendar().grab().toImage(), rcDays), 60);

    // The picture fills the button 3 pixels in from its edges; with no
    // picture of its own for the disabled state the button keeps it.
    const QImage picture = platform::ui::LoadBitmapResource(CCalendarButton::kBitmapId);
    ASSERT_FALSE(picture.isNull());
    const QRect rcPicture = m_pButton->rect().adjusted(3, 3, -3, -3);
    const QImage expected = picture.scaled(rcPicture.size()).convertToFormat(QImage::Format_RGB32);
    auto matches = [&](const QImage& drawn) {
        int nSame = 0;
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x) {
                const QRgb a = drawn.pixel(rcPicture.left() + x, rcPicture.top() + y);
                const QRgb b = expected.pixel(x, y);
                nSame += std::abs(qGray(a) - qGray(b)) < 40 ? 1 : 0;
            }
        }
        return nSame * 10 >= expected.width() * expected.height() * 9;
    };
    EXPECT_TRUE(matches(m_pButton->grab().toImage()));
    m_pButton->setEnabled(false);
    EXPECT_TRUE(matches(m_pButton->grab().toImage()));
}

}  // namespace
