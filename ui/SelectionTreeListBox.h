#pragma once
// A tree list box the user picks entries from, as the group tree of the
// insertion window and the print data selection are: the derived box builds
// the tree and draws its rows, this one shows a row's text whole in a
// tooltip where the list cuts it off, and lets only the left mouse button
// press and release on the rows (the others only hide the tip).

#include "platform/base/WinTypes.h"
#include "ui/MaskedBitmap.h"
#include "ui/ToolTipOwner.h"
#include "ui/ToolTipWnd.h"
#include "ui/TreeListBox.h"

#include <string>

class QStyleOptionViewItem;

class CSelectionTreeListBox : public CTreeListBox, public IToolTipOwner {
    Q_OBJECT

public:
    // The width of one picture of the image strip.
    static constexpr int kImageWidth = 20;

    ~CSelectionTreeListBox() override;

    CToolTipWnd& GetToolTip() { return m_toolTip; }

    // The right end of the texts of rows nFirst to nLast (client x), 0
    // without rows.
    int GetTextExtent(int nFirst, int nLast) const;

    int OnToolTipHitTest(const QPoint& ptClient) override;
    std::string OnToolTipGetText(int nId) override;

    // Draws one row; every row is drawn through this.
    virtual void DrawSelectionRow(QPainter& painter, const QStyleOptionViewItem& option, int nRow) = 0;

protected:
    explicit CSelectionTreeListBox(QWidget* pParent);

    // The tree's pictures from the strip resource; none when it does not
    // load.
    void LoadImageStrip(UINT nStripId);
    // The tooltip window, unless it exists already.
    void CreateToolTip();

    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;

private:
    CMaskedBitmap m_images;
    CToolTipWnd m_toolTip;
};
