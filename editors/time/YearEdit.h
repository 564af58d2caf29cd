#pragma once
// The date field of the daylight-saving dialog. Periods are entered year
// after year, so the arrow keys and the spin below the field move the date
// by whole years (up or the right half: one year on, down or the left half:
// one year back), keeping day and month.

#include "ui/SpinBuddy.h"

#include <QLineEdit>

class QKeyEvent;

class CYearEdit : public QLineEdit, public ISpinBuddy {
    Q_OBJECT

public:
    // Only this much of the text is read as a date.
    static constexpr int kMaxTextRead = 40;

    explicit CYearEdit(QWidget* pParent = nullptr);

    // The field's date moved by nDelta years; a text that is no date
    // becomes today's date.
    void StepYear(int nDelta);

    void OnVScroll(UINT nSBCode, UINT nPos, QWidget* pScrollBar) override;
    void OnHScroll(UINT nSBCode, UINT nPos, QWidget* pScrollBar) override;

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;
};
