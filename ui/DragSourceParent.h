#pragma once
// The parent's side of the drag strip (CDragSourceDialog): during a drag
// the strip asks at every mouse position whether a drop would be accepted
// there, and tells where the item was dropped. Points are in screen
// coordinates; the item data is what the item was added with.

#include <QPoint>

class IDragSourceParent {
public:
    virtual ~IDragSourceParent() = default;

    // Non-zero when a drop at the point would be accepted.
    virtual int OnDragSourceQuery(int nItemData, const QPoint& ptScreen) = 0;
    // The mouse button was released at the point; the parent decides again
    // whether that is a drop.
    virtual void OnDragSourceDrop(int nItemData, const QPoint& ptScreen) = 0;
};
