#pragma once
// Shared pieces of the value-control tests: a counter of the simple beep
// and regional settings fixed for the test.

#include "model/Locale.h"
#include "platform/base/SystemLocale.h"
#include "platform/ui/Beep.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>

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

// What leaving the control does, without a real focus change.
inline void LoseFocus(QWidget* pControl) {
    QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(pControl, &event);
}

inline void SetClipboardText(const std::string& strText) {
    QApplication::clipboard()->setText(QString::fromStdString(strText));
}

}  // namespace controlstest
