#pragma once
// A radio button as the platform's button control: a click anywhere in the
// control's rectangle selects it. Which buttons exclude each other is set by
// the dialog from the template's groups, not by their common parent.

#include <QRadioButton>

class CRadioButtonControl : public QRadioButton {
    Q_OBJECT

public:
    CRadioButtonControl(const QString& strText, QWidget* pParent);

protected:
    bool hitButton(const QPoint& pt) const override;
};
