#pragma once
// A drop-down list that opens again when it loses the focus while its list
// was open and the pointer is still over the box.

#include "platform/base/WinTypes.h"

#include <QComboBox>

class CKeepOpenComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit CKeepOpenComboBox(QWidget* pParent = nullptr);

    // The list is open.
    bool IsDroppedDown() const;

    // What losing the focus does after the default handling, with the list
    // open before it or not and the pointer at the global point.
    void OnKillFocus(bool bWasDroppedDown, const QPoint& ptCursor);

protected:
    void focusOutEvent(QFocusEvent* pEvent) override;
};
