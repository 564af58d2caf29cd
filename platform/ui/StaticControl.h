#pragma once
// A static text as the platform's static control. Its mnemonic moves the
// focus to the control after it and never acts on it: a label before a
// check box or a push button must not toggle or press it. Only an auto
// radio button that takes the focus this way is selected, as a radio button
// reached by the keyboard is. A buddy that cannot take the focus now
// (hidden or disabled) passes it on to the next control that can.

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
