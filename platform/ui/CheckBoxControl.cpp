#include "platform/ui/CheckBoxControl.h"

CCheckBoxControl::CCheckBoxControl(const QString& strText, QWidget* pParent) : QCheckBox(strText, pParent) {}

bool CCheckBoxControl::hitButton(const QPoint& pt) const {
    return rect().contains(pt);
}
