#pragma once
// Shared pieces of the value-control tests: a counter of the simple beep,
// regional settings fixed for the test, and a shown window that holds the
// controls with their spins.

#include "model/Locale.h"
#include "platform/base/SystemLocale.h"
#include "platform/ui/Beep.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "ui/SpinControl.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace controlstest {

class CBeepCounter {
public:
    CBeepCounter() {
        m_previous = platform::ui::SetBeepHook([this](UINT) { ++m_nBeeps; });
    }
    ~CBeepCounter() { platform::ui::SetBeepHook(m_previous); }
    CBeepCounter(const CBeepCounter&) = delete;
    CBeepCounter& operator=(const CBeepCounter&) = delete;

    int Count() const { return m_nBeeps; }

private:
    platform::ui::BeepHook m_previous;
    int m_nBeeps = 0;
};

// The US values with leading zeros and the 24-hour clock, unless changed.
inline platform::IntlValues UsIntl() {
    platform::IntlValues intl;
    intl.sDecimal = ".";
    intl.sThousand = ",";
    intl.iLZero = 1;
    intl.sShortDate = "M/d/yyyy";
    intl.sTime = ":";
    intl.iTLZero = 1;
    intl.iTime = 1;
    return intl;
}

inline platform::IntlValues GermanIntl() {
    platform::IntlValues intl = UsIntl();
    intl.sDecimal = ",";
    intl.sThousand = ".";
    intl.sShortDate = "dd.MM.yyyy";
    return intl;
}

class CScopedIntl {
public:
    explicit CScopedIntl(const platform::IntlValues& intl) {
        platform::SetIntlOverride(intl);
        ResetLocaleCache();
    }
    ~CScopedIntl() {
        platform::SetIntlOverride(std::nullopt);
        ResetLocaleCache();
    }
    CScopedIntl(const CScopedIntl&) = delete;
    CScopedIntl& operator=(const CScopedIntl&) = delete;
};

// A shown dialog-like window for the controls of a test: each control goes
// one row below the last, and a plain edit at the bottom is where the focus
// goes when a control is left with Tab. Keys and clicks reach the controls
// through this window, as a user's would.
class CControlWindow {
public:
    CControlWindow() {
        m_window.resize(320, 60);
        m_pElsewhere = new QLineEdit(&m_window);
        m_pElsewhere->setGeometry(10, 10, 120, 22);
    }
    CControlWindow(const CControlWindow&) = delete;
    CControlWindow& operator=(const CControlWindow&) = delete;

    // Makes the control in the next row and shows the window.
    template <class T, class... Args>
    T& Add(Args&&... args) {
        auto* pControl = new T(std::forward<Args>(args)...);
        pControl->setParent(&m_window);
        pControl->setGeometry(10, m_nNextTop, 120, 22);
        m_nNextTop += kRowHeight;
        m_window.resize(320, m_nNextTop + kRowHeight);
        m_pElsewhere->move(10, m_nNextTop);
        // Tab from the last control leads to the plain edit.
        QWidget::setTabOrder(pControl, m_pElsewhere);
        pControl->show();
        Show();
        return *pControl;
    }
    // A spin beside the edit: vertical, with its upper half stepping up.
    CSpinControl& AddSpinBeside(QWidget& edit, UINT nId) {
        auto* pSpin = new CSpinControl();
        pSpin->SetBuddy(&edit);
        const QRect rect = edit.geometry();
        EXPECT_TRUE(
            pSpin->Create(SPS_VERTICAL, QRect(rect.right() + 3, rect.top(), 12, rect.height()), &m_window, nId));
        uitest::ProcessEvents();
        return *pSpin;
    }
    // A spin under the edit, as wide as it: horizontal, its right half
    // stepping up.
    CSpinControl& AddSpinBelow(QWidget& edit, UINT nId) {
        auto* pSpin = new CSpinControl();
        EXPECT_TRUE(pSpin->CreateBelow(&edit, nId));
        uitest::ProcessEvents();
        return *pSpin;
    }

    void Show() {
        if (!m_window.isVisible()) {
            m_window.show();
        }
        m_window.activateWindow();
        uitest::ProcessEvents();
    }
    QWidget& Window() { return m_window; }

private:
    static constexpr int kRowHeight = 44;

    QWidget m_window;
    QLineEdit* m_pElsewhere = nullptr;
    int m_nNextTop = kRowHeight;
};

// Leaves the control with Tab, as a user leaves a dialog field; it is given
// the focus first when it has not got it.
inline void LoseFocus(QWidget* pControl) {
    uitest::PressKey(pControl, Qt::Key_Tab);
    uitest::ProcessEvents();
    EXPECT_FALSE(pControl->hasFocus()) << "Tab did not leave the control";
}

// One click on the upper (vertical) or left (horizontal) half of the spin,
// or on the other half.
inline void ClickSpin(CSpinControl& spin, bool bUpperOrLeft) {
    const QRect rect = spin.rect();
    const bool bVertical = (spin.GetStyle() & SPS_HORIZONTAL) == 0;
    QPoint pt = rect.center();
    if (bVertical) {
        pt.setY(bUpperOrLeft ? 2 : rect.height() - 3);
    } else {
        pt.setX(bUpperOrLeft ? 2 : rect.width() - 3);
    }
    uitest::Click(&spin, pt);
    uitest::ProcessEvents();
}

inline void SetClipboardText(const std::string& strText) {
    QApplication::clipboard()->setText(QString::fromStdString(strText));
}

}  // namespace controlstest
