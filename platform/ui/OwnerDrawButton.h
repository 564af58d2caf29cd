#pragma once
// An owner-drawn button: it paints nothing itself but asks DrawItem, whose
// default hands the painting to the dialog it sits in (CDialog::OnDrawItem).
// Subclasses that draw themselves override DrawItem. Clicks work as on any
// button.

#include "platform/base/WinTypes.h"

#include <QAbstractButton>
#include <QRect>

class QPainter;

// Item states of a drawing request.
constexpr UINT ODS_SELECTED = 0x0001;
constexpr UINT ODS_DISABLED = 0x0004;
constexpr UINT ODS_FOCUS = 0x0010;

// One drawing request.
struct DrawItemInfo {
    UINT nCtlID = 0;
    QWidget* pItem = nullptr;
    QRect rcItem;
    UINT nItemState = 0;  // ODS_*
};

class COwnerDrawButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit COwnerDrawButton(QWidget* pParent = nullptr);

    // Repaints the button now, not when the event loop gets to it.
    void RedrawNow();

protected:
    virtual void DrawItem(QPainter& painter, const DrawItemInfo& item);
    void paintEvent(QPaintEvent* pEvent) override;
};
