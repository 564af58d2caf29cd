#include "platform/ui/Posting.h"

#include "platform/ui/CmdTarget.h"

#include <QMetaObject>
#include <QPointer>
#include <QWidget>

#include <utility>

namespace platform::ui {

void PostCall(QObject* pReceiver, std::function<void()> fn) {
    if (pReceiver == nullptr || !fn) {
        return;
    }
    // Queued on the receiver: Qt drops the call when it is destroyed.
    QMetaObject::invokeMethod(pReceiver, std::move(fn), Qt::QueuedConnection);
}

void PostCommand(QWidget* pWindow, UINT nID) {
    PostCall(pWindow, [pTarget = QPointer<QWidget>(pWindow), nID]() {
        if (auto* pCmdTarget = dynamic_cast<CCmdTarget*>(pTarget.data())) {
            pCmdTarget->SendCommand(nID);
        }
    });
}

}  // namespace platform::ui
