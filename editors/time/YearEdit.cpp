#include "editors/time/YearEdit.h"

#include "model/Locale.h"
#include "platform/base/Time.h"
#include "ui/CalendarDates.h"

#include <QKeyEvent>

#include <algorithm>
#include <string>

CYearEdit::CYearEdit(QWidget* pParent) : QLineEdit(pParent) {}

void CYearEdit::StepYear(int nDelta) {
    const std::string strText = text().toStdString().substr(0, kMaxTextRead);
    CTime date;
    if (ParseDate(strText, date)) {
        const int nYear = date.GetYear() + nDelta;
        // 29 February becomes the 28th in a common year rather than 1 March.
        const int nDay = std::min(date.GetDay(), GetDaysInMonth(nYear, date.GetMonth()));
        date = CTime(nYear, date.GetMonth(), nDay, date.GetHour(), date.GetMinute(), date.GetSecond());
    } else {
        date = CTime::GetCurrentTime();
    }
    setText(QString::fromStdString(FormatDate(date)));
}

void CYearEdit::OnVScroll(UINT nSBCode, UINT /*nPos*/, QWidget* /*pScrollBar*/) {
    if (nSBCode == SB_LINEUP) {
        StepYear(1);
    } else if (nSBCode == SB_LINEDOWN) {
        StepYear(-1);
    }
}

void CYearEdit::OnHScroll(UINT nSBCode, UINT /*nPos*/, QWidget* /*pScrollBar*/) {
    // A horizontal spin reports its left half as SB_LINEUP (one year back)
    // and its right half as SB_LINEDOWN (one year on).
    if (nSBCode == SB_LINEUP) {
        StepYear(-1);
    } else if (nSBCode == SB_LINEDOWN) {
        StepYear(1);
    }
}

void CYearEdit::keyPressEvent(QKeyEvent* pEvent) {
    if (pEvent->key() == Qt::Key_Up || pEvent->key() == Qt::Key_Down) {
        StepYear(pEvent->key() == Qt::Key_Up ? 1 : -1);
        pEvent->accept();
        return;
    }
    QLineEdit::keyPressEvent(pEvent);
}
