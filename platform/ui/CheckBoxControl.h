#pragma once
// A check box as the platform's button control: a click anywhere in the
// control's rectangle toggles it, not only on the box and its text (a
// template gives check boxes far wider than their text).

#include <QCheckBox>

class CCheckBoxControl : public QCheckBox {
    Q_OBJECT

public:
    CCheckBoxControl(const QString& strText, QWidget* pParent);

protected:
    bool hitButton(const QPoint& pt) const override;
};
