#pragma once
// A static text as the platform's static control. Its mnemonic moves the
// focus to the control after it and never acts on it: a label before a
// check box, a push button or a radio group must not toggle, press or
// select anything. A radio group takes the focus on its checked button (its
// tab stop; the first shown one when none is checked). A buddy that cannot
// take the focus now (hidden or disabled) passes it on to the next control
// that can.

#include <QLabel>

class CStaticControl : public QLabel {
    Q_OBJECT

public:
    explicit CStaticControl(QWidget* pParent);

protected:
    bool event(QEvent* pEvent) override;

private:
    QWidget* FocusTarget() const;
};
