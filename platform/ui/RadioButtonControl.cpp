#include "platform/ui/RadioButtonControl.h"

CRadioButtonControl::CRadioButtonControl(const QString& strText, QWidget* pParent) : QRadioButton(strText, pParent) {}

bool CRadioButtonControl::hitButton(const QPoint& pt) const {
    return rect().contains(pt);
}
