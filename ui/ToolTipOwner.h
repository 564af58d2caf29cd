#pragma once
// The owner's side of the tooltip window's one request (message 0x1773):
// which tip lies under a point of the owner's client area, and the text of
// a tip. Windows that relay their mouse messages to a CToolTipWnd answer it.

#include <QPoint>

#include <string>

class IToolTipOwner {
public:
    // The requests' codes.
    static constexpr int kHitTest = 1;
    static constexpr int kGetText = 2;

    virtual ~IToolTipOwner() = default;

    // The id of the tip under the client point; 0 for none.
    virtual int OnToolTipHitTest(const QPoint& ptClient) = 0;
    // The text of tip nId; empty when there is no tip. The tooltip window
    // cuts it to its buffer.
    virtual std::string OnToolTipGetText(int nId) = 0;
};
