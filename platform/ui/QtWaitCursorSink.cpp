#include "platform/ui/QtWaitCursorSink.h"

#include <QApplication>
#include <QCursor>

namespace {
bool HasGuiApplication() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}
}  // namespace

void CQtWaitCursorSink::BeginWaitCursor() {
    ++m_nDepth;
    if (HasGuiApplication()) {
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
}

void CQtWaitCursorSink::EndWaitCursor() {
    if (m_nDepth == 0) {
        return;
    }
    --m_nDepth;
    if (HasGuiApplication()) {
        QApplication::restoreOverrideCursor();
    }
}
