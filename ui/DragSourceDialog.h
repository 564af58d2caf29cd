#pragma once
// A borderless strip across the top of its parent with one row of
// draggable items, each an image of a bitmap strip and a text. Pressing on
// an item and moving the mouse drags it: the parent (IDragSourceParent) is
// asked at every position whether a drop would be accepted and the cursor
// follows its answer; on release the parent hears where the item was
// dropped. Clicking the strip never takes the activation or the focus.

#include "platform/base/WinTypes.h"

#include <QCursor>
#include <QImage>
#include <QRect>
#include <QWidget>

#include <memory>
#include <optional>
#include <string>

struct DragSourceItem {
    std::string strText;
    int nImage = -1;  // negative: no image
    int nItemData = 0;
    UINT nDropCursorId = 0;
    QRect rect;  // where the item was last painted; empty until then
};

class CDragSourceDialog : public QWidget {
    Q_OBJECT

public:
    // The cursor shown while no drop is possible.
    static constexpr UINT kNoDropCursorId = 142;

    CDragSourceDialog();
    ~CDragSourceDialog() override;

    CDragSourceDialog(const CDragSourceDialog&) = delete;
    CDragSourceDialog& operator=(const CDragSourceDialog&) = delete;

    // Images of nImageWidth x nImageHeight from bitmap nBitmapId, room for
    // nCapacity items (earlier items are dropped); the strip becomes a child
    // of the parent with the control id and fits itself to the parent.
    // False without a parent.
    bool Create(UINT nBitmapId, int nImageWidth, int nImageHeight, int nCapacity, QWidget* pParent, DWORD dwStyle,
                UINT nID);
    // Null when the strip is full.
    DragSourceItem* AddItem(const std::string& strText, int nImage, int nItemData, UINT nDropCursorId);

    // The parent's full width at its top, one row high.
    void FitToParent();

    int GetRowHeight() const { return m_nRowHeight; }
    int GetCapacity() const { return m_nCapacity; }
    int GetItemCount() const { return m_nItemCount; }
    const DragSourceItem* GetItem(int nIndex) const;
    bool IsDragging() const { return m_bDragging; }
    const DragSourceItem* GetDraggedItem() const { return m_pDragItem; }

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;

private:
    void EndDrag();

    int m_nRowHeight = 0;
    QImage m_bitmap;
    int m_nImageWidth = 0;
    int m_nImageHeight = 0;
    int m_nCapacity = 0;
    int m_nItemCount = 0;
    std::unique_ptr<DragSourceItem[]> m_pItems;
    bool m_bDragging = false;
    // The cursor of the drag goes over whatever the application showed and
    // is taken off again at its end.
    bool m_bCursorOverridden = false;
    std::optional<QCursor> m_dropCursor;
    std::optional<QCursor> m_noDropCursor;
    DragSourceItem* m_pDragItem = nullptr;
};
